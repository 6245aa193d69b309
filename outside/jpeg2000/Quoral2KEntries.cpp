// The exported entries of "Quoral2K.dll". No exception leaves an entry: the
// caller is plain C.
#include "J2kDecoder.h"
#include "J2kEncoder.h"
#include "Quoral2K.h"

#include <cstring>
#include <new>

namespace
{
unsigned char* DoEncode(enJ2kLayout layout, bool bLossless, const unsigned char* pRaw, int nRows,
                        int nColumns, int* pOutLength, int nSigned)
{
    if (pOutLength == nullptr)
    {
        return nullptr;
    }
    *pOutLength = 0;
    if (nRows <= 0 || nColumns <= 0)
    {
        return nullptr;
    }
    try
    {
        J2kEncoder encoder(layout, bLossless, nSigned != 0);
        if (!encoder.DoEncode(pRaw, static_cast<uint32_t>(nRows), static_cast<uint32_t>(nColumns)))
        {
            return nullptr;
        }
        const std::vector<uint8_t>& codestream = encoder.GetCodestream();
        auto* pOut = new unsigned char[codestream.size()];
        std::memcpy(pOut, codestream.data(), codestream.size());
        *pOutLength = static_cast<int>(codestream.size());
        return pOut;
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

unsigned char* DoDecode(enJ2kLayout layout, const unsigned char* pData, int* pRows, int* pColumns,
                        int nLength)
{
    if (pRows == nullptr || pColumns == nullptr)
    {
        return nullptr;
    }
    *pRows = 0;
    *pColumns = 0;
    if (pData == nullptr || nLength <= 0)
    {
        return nullptr;
    }
    try
    {
        J2kDecoder decoder(layout);
        if (!decoder.DoDecode(pData, static_cast<size_t>(nLength)))
        {
            return nullptr;
        }
        *pRows = static_cast<int>(decoder.GetRows());
        *pColumns = static_cast<int>(decoder.GetColumns());
        return decoder.DetachPixels();
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}
} // namespace

unsigned char* JP2_8BitEncode(const unsigned char* pRaw, int nRows, int nColumns, int* pOutLength,
                              int nSigned)
{
    return DoEncode(enJ2kLayout::Grey8, true, pRaw, nRows, nColumns, pOutLength, nSigned);
}

unsigned char* JP2_16BitEncode(const unsigned char* pRaw, int nRows, int nColumns, int* pOutLength,
                               int nSigned)
{
    return DoEncode(enJ2kLayout::Grey16, true, pRaw, nRows, nColumns, pOutLength, nSigned);
}

unsigned char* JP2_RGBEncode(const unsigned char* pRaw, int nRows, int nColumns, int* pOutLength,
                             int nSigned)
{
    return DoEncode(enJ2kLayout::Rgb24, true, pRaw, nRows, nColumns, pOutLength, nSigned);
}

unsigned char* JPC_8BitEncode(const unsigned char* pRaw, int nRows, int nColumns, int* pOutLength,
                              int nSigned)
{
    return DoEncode(enJ2kLayout::Grey8, false, pRaw, nRows, nColumns, pOutLength, nSigned);
}

unsigned char* JPC_16BitEncode(const unsigned char* pRaw, int nRows, int nColumns, int* pOutLength,
                               int nSigned)
{
    return DoEncode(enJ2kLayout::Grey16, false, pRaw, nRows, nColumns, pOutLength, nSigned);
}

unsigned char* JPC_RGBEncode(const unsigned char* pRaw, int nRows, int nColumns, int* pOutLength,
                             int nSigned)
{
    return DoEncode(enJ2kLayout::Rgb24, false, pRaw, nRows, nColumns, pOutLength, nSigned);
}

unsigned char* JP2_8BitDecode(const unsigned char* pData, int* pRows, int* pColumns, int nLength)
{
    return DoDecode(enJ2kLayout::Grey8, pData, pRows, pColumns, nLength);
}

unsigned char* JP2_16BitDecode(const unsigned char* pData, int* pRows, int* pColumns, int nLength)
{
    return DoDecode(enJ2kLayout::Grey16, pData, pRows, pColumns, nLength);
}

unsigned char* JP2_RGBDecode(const unsigned char* pData, int* pRows, int* pColumns, int nLength)
{
    return DoDecode(enJ2kLayout::Rgb24, pData, pRows, pColumns, nLength);
}

unsigned char* JPC_8BitDecode(const unsigned char* pData, int* pRows, int* pColumns, int nLength)
{
    return DoDecode(enJ2kLayout::Grey8, pData, pRows, pColumns, nLength);
}

unsigned char* JPC_16BitDecode(const unsigned char* pData, int* pRows, int* pColumns, int nLength)
{
    return DoDecode(enJ2kLayout::Grey16, pData, pRows, pColumns, nLength);
}

unsigned char* JPC_RGBDecode(const unsigned char* pData, int* pRows, int* pColumns, int nLength)
{
    return DoDecode(enJ2kLayout::Rgb24, pData, pRows, pColumns, nLength);
}

void JPGDEL(unsigned char* pBuffer)
{
    delete[] pBuffer;
}
