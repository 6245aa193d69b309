// The exported entries of "Wexalo.dll". No exception leaves an entry: the
// caller is plain C.
#include "SampleHistogram.h"
#include "SigmoidWindowFit.h"
#include "Wexalo.h"

#include <algorithm>
#include <new>

namespace
{

bool IsValidFractions(float border, float low, float high)
{
    // Written so that a NaN fails every test.
    return border >= 0.0f && border < 0.5f && low >= 0.0f && high >= 0.0f && low + high < 1.0f;
}

template <typename Sample>
int DoEntry(float border, float low, float high, const Sample* pPixels, int nWidth, int nHeight,
            int* pWindowWidth, int* pWindowCentre)
{
    if (pPixels == nullptr || pWindowWidth == nullptr || pWindowCentre == nullptr || nWidth <= 0 ||
        nHeight <= 0 || !IsValidFractions(border, low, high))
    {
        return 0;
    }
    const int nMargin = static_cast<int>(border * static_cast<float>(std::min(nWidth, nHeight)));
    try
    {
        const std::optional<SigmoidWindow> window =
            DoFitSigmoidWindow(CountInterior(pPixels, nWidth, nHeight, nMargin), low, high);
        if (!window)
        {
            return 0;
        }
        *pWindowWidth = window->nWidth;
        *pWindowCentre = window->nCentre;
        return 1;
    }
    catch (const std::bad_alloc&)
    {
        return 0;
    }
}

} // namespace

int AutoWindowLevel_UINT8(float border, float low, float high, const unsigned char* pPixels,
                          int nWidth, int nHeight, int /*nBits*/, int* pWindowWidth,
                          int* pWindowCentre)
{
    return DoEntry(border, low, high, pPixels, nWidth, nHeight, pWindowWidth, pWindowCentre);
}

int AutoWindowLevel_INT16(float border, float low, float high, const short* pPixels, int nWidth,
                          int nHeight, int /*nBits*/, int* pWindowWidth, int* pWindowCentre)
{
    return DoEntry(border, low, high, pPixels, nWidth, nHeight, pWindowWidth, pWindowCentre);
}

int AutoWindowLevel_UINT16(float border, float low, float high, const unsigned short* pPixels,
                           int nWidth, int nHeight, int /*nBits*/, int* pWindowWidth,
                           int* pWindowCentre)
{
    return DoEntry(border, low, high, pPixels, nWidth, nHeight, pWindowWidth, pWindowCentre);
}
