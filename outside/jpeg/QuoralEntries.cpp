// The exported entries of "Quoral.dll". No exception leaves an entry: the
// caller is plain C.
#include "EntryGlue.h"
#include "Quoral.h"

unsigned char* JPEGProc14_16BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                      int nLength)
{
    return quorex::DoDecodeEntry(pData, pRows, pColumns, nLength, quorex::enSampleLayout::Grey16);
}

void jpgdel(unsigned char* pBuffer)
{
    quorex::DoReleaseResult(pBuffer);
}
