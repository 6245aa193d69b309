// The exported entries of "Pemsola.dll". No exception leaves an entry: the
// caller is plain C.
#include "Pemsola.h"
#include "Resampler.h"

#include <new>

namespace
{
constexpr int kDisplayMode = 1;

template <typename Sample>
int DoEntry(const Sample* pSrc, int nSrcWidth, int nSrcHeight, int nSrcX, int nSrcY, int nSrcW,
            int nSrcH, Sample* pDst, int nDstWidth, int nDstHeight, int nDstX, int nDstY, int nDstW,
            int nDstH, int nMode, size_t nChannels)
{
    const ResampleGeometry geometry{nSrcWidth, nSrcHeight, {nSrcX, nSrcY, nSrcW, nSrcH},
                                    nDstWidth, nDstHeight, {nDstX, nDstY, nDstW, nDstH}};
    if (pSrc == nullptr || pDst == nullptr || !geometry.IsValid())
    {
        return 0;
    }
    const enResampleFilter filter =
        nMode == kDisplayMode ? enResampleFilter::Lanczos3 : enResampleFilter::Bilinear;
    try
    {
        DoResample(geometry, pSrc, pDst, nChannels, filter);
        return 1;
    }
    catch (const std::bad_alloc&)
    {
        return 0;
    }
}
} // namespace

int ResampleU8(const unsigned char* pSrc, int nSrcWidth, int nSrcHeight, int nSrcX, int nSrcY,
               int nSrcW, int nSrcH, unsigned char* pDst, int nDstWidth, int nDstHeight, int nDstX,
               int nDstY, int nDstW, int nDstH, int nMode)
{
    return DoEntry<uint8_t>(pSrc, nSrcWidth, nSrcHeight, nSrcX, nSrcY, nSrcW, nSrcH, pDst,
                            nDstWidth, nDstHeight, nDstX, nDstY, nDstW, nDstH, nMode, 1);
}

int ResampleS8(const signed char* pSrc, int nSrcWidth, int nSrcHeight, int nSrcX, int nSrcY,
               int nSrcW, int nSrcH, signed char* pDst, int nDstWidth, int nDstHeight, int nDstX,
               int nDstY, int nDstW, int nDstH, int nMode)
{
    return DoEntry<int8_t>(pSrc, nSrcWidth, nSrcHeight, nSrcX, nSrcY, nSrcW, nSrcH, pDst, nDstWidth,
                           nDstHeight, nDstX, nDstY, nDstW, nDstH, nMode, 1);
}

int ResampleU16(const unsigned short* pSrc, int nSrcWidth, int nSrcHeight, int nSrcX, int nSrcY,
                int nSrcW, int nSrcH, unsigned short* pDst, int nDstWidth, int nDstHeight,
                int nDstX, int nDstY, int nDstW, int nDstH, int nMode)
{
    return DoEntry<uint16_t>(pSrc, nSrcWidth, nSrcHeight, nSrcX, nSrcY, nSrcW, nSrcH, pDst,
                             nDstWidth, nDstHeight, nDstX, nDstY, nDstW, nDstH, nMode, 1);
}

int ResampleS16(const short* pSrc, int nSrcWidth, int nSrcHeight, int nSrcX, int nSrcY, int nSrcW,
                int nSrcH, short* pDst, int nDstWidth, int nDstHeight, int nDstX, int nDstY,
                int nDstW, int nDstH, int nMode)
{
    return DoEntry<int16_t>(pSrc, nSrcWidth, nSrcHeight, nSrcX, nSrcY, nSrcW, nSrcH, pDst,
                            nDstWidth, nDstHeight, nDstX, nDstY, nDstW, nDstH, nMode, 1);
}

int ResampleColor24(const unsigned char* pSrc, int nSrcWidth, int nSrcHeight, int nSrcX, int nSrcY,
                    int nSrcW, int nSrcH, unsigned char* pDst, int nDstWidth, int nDstHeight,
                    int nDstX, int nDstY, int nDstW, int nDstH, int nMode)
{
    return DoEntry<uint8_t>(pSrc, nSrcWidth, nSrcHeight, nSrcX, nSrcY, nSrcW, nSrcH, pDst,
                            nDstWidth, nDstHeight, nDstX, nDstY, nDstW, nDstH, nMode, 3);
}
