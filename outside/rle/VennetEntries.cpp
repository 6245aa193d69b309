// The exported entries of "Vennet.dll". No exception leaves an entry: the
// caller is plain C.
#include "RleFrameDecoder.h"
#include "Vennet.h"

#include <new>

unsigned char* RLE_Dec(const unsigned char* pData, int nLength, int* pOutLength)
{
    if (pOutLength == nullptr)
    {
        return nullptr;
    }
    *pOutLength = 0;
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
    unsigned char* pOut = new (std::nothrow) unsigned char[nOutLength];
    if (pOut == nullptr)
    {
        return nullptr;
    }
    decoder.DoDecode(pOut);
    *pOutLength = static_cast<int>(nOutLength);
    return pOut;
}

void Vennet_DEL(unsigned char* pBuffer)
{
    delete[] pBuffer;
}
