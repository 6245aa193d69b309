// The exported entries of "Vennet.dll". No exception leaves an entry: the
// caller is plain C.
#include "RleFrameDecoder.h"
#include "ShimEntryGuard.h"
#include "Vennet.h"

unsigned char* RLE_Dec(const unsigned char* pData, int nLength, int* pOutLength)
{
    return shim::GuardLength(pOutLength,
                             [&]() -> unsigned char*
                             {
                                 if (pData == nullptr || nLength <= 0)
                                 {
                                     return nullptr;
                                 }
                                 RleFrameDecoder decoder(pData, static_cast<size_t>(nLength));
                                 if (!decoder.DoParse())
                                 {
                                     return nullptr;
                                 }
                                 const size_t nOutLength = decoder.GetOutputLength();
                                 auto* pOut = new unsigned char[nOutLength];
                                 decoder.DoDecode(pOut);
                                 *pOutLength = static_cast<int>(nOutLength);
                                 return pOut;
                             });
}

void Vennet_DEL(unsigned char* pBuffer)
{
    delete[] pBuffer;
}
