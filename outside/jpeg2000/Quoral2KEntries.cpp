// The exported entries of "Quoral2K.dll". No exception leaves an entry: the
// caller is plain C.
#include "J2kDecoder.h"
#include "J2kEncoder.h"
#include "Quoral2K.h"
#include "ShimEntryGuard.h"

#include <cstring>

namespace
{
unsigned char* DoEncode(enJ2kLayout layout, bool bLossless, const unsigned char* pRaw, int nRows,
                        int nColumns, int* pOutLength, int nSigned)
{
    return shim::GuardLength(pOutLength,
                             [&]() -> unsigned char*
                             {
                                 if (nRows <= 0 || nColumns <= 0)
                                 {
                                     return nullptr;
                                 }
                                 J2kEncoder encoder(layout, bLossless, nSigned != 0);
                                 if (!encoder.DoEncode(pRaw, static_cast<uint32_t>(nRows),
                                                       static_cast<uint32_t>(nColumns)))
                                 {
                                     return nullptr;
                                 }
                                 const std::vector<uint8_t>& codestream = encoder.GetCodestream();
                                 auto* pOut = new unsigned char[codestream.size()];
                                 std::memcpy(pOut, codestream.data(), codestream.size());
                                 *pOutLength = static_cast<int>(codestream.size());
                                 return pOut;
                             });
}

unsigned char* DoDecode(enJ2kLayout layout, const unsigned char* pData, int* pRows, int* pColumns,
                        int nLength)
{
    return shim::GuardDecode(pData, nLength, pRows, pColumns,
                             [&]() -> unsigned char*
                             {
                                 J2kDecoder decoder(layout);
                                 if (!decoder.DoDecode(pData, static_cast<size_t>(nLength)))
                                 {
                                     return nullptr;
                                 }
                                 *pRows = static_cast<int>(decoder.GetRows());
                                 *pColumns = static_cast<int>(decoder.GetColumns());
                                 return decoder.DetachPixels();
                             });
}
} // namespace

// Each entry pair codes one sample layout, reversibly ("JP2_") or
// irreversibly ("JPC_").
#define QUORAL2K_ENTRIES(name, layout, lossless)                                                   \
    unsigned char* name##Encode(const unsigned char* pRaw, int nRows, int nColumns,                \
                                int* pOutLength, int nSigned)                                      \
    {                                                                                              \
        return DoEncode(enJ2kLayout::layout, lossless, pRaw, nRows, nColumns, pOutLength,          \
                        nSigned);                                                                  \
    }                                                                                              \
    unsigned char* name##Decode(const unsigned char* pData, int* pRows, int* pColumns,             \
                                int nLength)                                                       \
    {                                                                                              \
        return DoDecode(enJ2kLayout::layout, pData, pRows, pColumns, nLength);                     \
    }

QUORAL2K_ENTRIES(JP2_8Bit, Grey8, true)
QUORAL2K_ENTRIES(JP2_16Bit, Grey16, true)
QUORAL2K_ENTRIES(JP2_RGB, Rgb24, true)
QUORAL2K_ENTRIES(JPC_8Bit, Grey8, false)
QUORAL2K_ENTRIES(JPC_16Bit, Grey16, false)
QUORAL2K_ENTRIES(JPC_RGB, Rgb24, false)

#undef QUORAL2K_ENTRIES

void JPGDEL(unsigned char* pBuffer)
{
    delete[] pBuffer;
}
