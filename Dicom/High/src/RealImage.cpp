#include "RealImage.h"

#include "RealImagePixels.h"
#include "VeltaroLog.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace
{

constexpr int HistogramBins = 256;
constexpr const char* Monochrome1 = "MONOCHROME1";
constexpr const char* Monochrome2 = "MONOCHROME2";
// The border left out of the sample statistics, as a fraction of the
// smaller side.
constexpr double BorderFraction = 0.01;

int GetBorder(int width, int height)
{
    return int(BorderFraction * std::min(width, height));
}

} // namespace

RealImage::RealImage(int width, int height, int depth, int minImage, int maxImage, int minSet,
                     int maxSet, float intercept, float slope)
    : m_szPhotometric{}, m_byFlag(0), m_nNumberOfFrames(1), m_nFrameIndex(0),
      m_nSigned(0), m_palette{}, m_nReserved{}, m_nWidth(width), m_nHeight(height), m_nDepth(depth),
      m_fIntercept(intercept), m_fSlope(slope), m_nMinImage(minImage), m_nMaxImage(maxImage),
      m_nMinSet(minSet), m_nMaxSet(maxSet)
{
    for (int i = 0; i < PaletteSize; ++i)
        m_palette[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
}

RealImage::RealImage(const RealImage& other) = default;

RealImage& RealImage::operator=(const RealImage& other) = default;

RealImage::~RealImage() = default;

RealImage8* RealImage::Remap()
{
    std::uint8_t* levels = GetPixmap();
    if (levels == nullptr)
        return nullptr;
    auto* image =
        new (std::nothrow) RealImage8(levels, m_nWidth, m_nHeight, 8, 0, 255, 0, 255, 0.0f, 1.0f);
    if (image == nullptr)
    {
        realimage::FreeBuffer(levels);
        return nullptr;
    }
    image->m_lut.Init(image->m_nMinImage, image->m_nMaxImage, image->m_fIntercept, image->m_fSlope,
                      255, 127);
    std::memcpy(image->m_palette, m_palette, sizeof m_palette);
    std::memcpy(image->m_szPhotometric, m_szPhotometric, sizeof m_szPhotometric);
    image->m_byFlag = m_byFlag;
    return image;
}

// The samples were mirrored about the middle of the set range; the window,
// the window's stored range and the image range follow them, so that the
// inverted image shows the negative of the same picture and a second
// Invert restores everything; the window's presentation stays. The display
// function puts the window's
// middle at centre - 0.5, so the mirrored centre is sum - centre + 1.
void RealImage::Invert()
{
    if (realimage::EqualsNoCase(m_szPhotometric, Monochrome1))
        SetPhotometric(Monochrome2);
    else if (realimage::EqualsNoCase(m_szPhotometric, Monochrome2))
        SetPhotometric(Monochrome1);
    const int sum = m_nMinSet + m_nMaxSet;
    const double calibratedSum =
        2.0 * double(m_lut.GetIntercept()) + double(m_lut.GetSlope()) * double(sum);
    const double width = m_lut.GetWindowWidth();
    const double center = calibratedSum - m_lut.GetWindowCenter() + 1.0;
    const int minRaw = m_lut.GetMinSpaceRaw();
    const int maxRaw = m_lut.GetMaxSpaceRaw();
    const int inverted = m_lut.GetInverted();
    m_lut.Init(sum - maxRaw, sum - minRaw, m_lut.GetIntercept(), m_lut.GetSlope(),
               realimage::TruncToInt(width), realimage::TruncToInt(center));
    m_lut.SetWindow(width, center);
    m_lut.SetInverted(inverted);
    const int minImage = m_nMinImage;
    m_nMinImage = sum - m_nMaxImage;
    m_nMaxImage = sum - minImage;
    _debug("Leave RealImage::Invert, LUT.MinForkCalib : %d, LUT.MaxForkCalib : %d",
           m_lut.GetMinForkCalib(), m_lut.GetMaxForkCalib());
}

void RealImage::CalcHistogram(std::uint32_t* counts)
{
    if (counts == nullptr)
        return;
    std::fill(counts, counts + HistogramBins, 0u);
    CalcMinMaxPixelValue();
    if (GetImage() == nullptr || GetPixelCount() == 0)
        return;
    if (m_nDepth <= 8)
    {
        const auto* bytes = static_cast<const std::uint8_t*>(GetImage());
        for (std::uint32_t i = 0, length = GetImageLength(); i < length; ++i)
            ++counts[bytes[i]];
        return;
    }
    const int binWidth = std::max((m_nMaxImage - m_nMinImage) / HistogramBins + 1, 1);
    const int border = GetBorder(m_nWidth, m_nHeight);
    bool logged = false;
    for (int y = border; y < m_nHeight - border; ++y)
    {
        for (int x = border; x < m_nWidth - border; ++x)
        {
            const std::int64_t offset = std::int64_t(GetInternalPixel(x, y)) - m_nMinImage;
            if (offset < 0)
                continue;
            const std::int64_t bin = offset / binWidth;
            if (bin < HistogramBins)
                ++counts[bin];
            else if (!logged)
            {
                _error("Get invalid data at RealImage::CalcHistogram");
                logged = true;
            }
        }
    }
}

void RealImage::CalcMinMaxPixelValue()
{
    if (m_nMaxImage == 0 && GetImage() != nullptr && GetPixelCount() != 0)
    {
        int lowest = m_nDepth <= 8 ? 255 : m_nSigned != 0 ? 32767 : 65535;
        int highest = m_nDepth <= 8 || m_nSigned == 0 ? 0 : -32768;
        const auto take = [&](int x, int y)
        {
            const int sample = GetInternalPixel(x, y);
            lowest = std::min(lowest, sample);
            highest = std::max(highest, sample);
        };
        // Every other row and column inside the border; an image too small
        // for that grid is taken whole.
        const int border = GetBorder(m_nWidth, m_nHeight);
        if (border < m_nHeight - border - 1 && border < m_nWidth - border - 1)
        {
            for (int y = border; y < m_nHeight - border - 1; y += 2)
                for (int x = border; x < m_nWidth - border - 1; x += 2)
                    take(x, y);
        }
        else
        {
            for (int y = 0; y < m_nHeight; ++y)
                for (int x = 0; x < m_nWidth; ++x)
                    take(x, y);
        }
        m_nMinImage = lowest;
        m_nMaxImage = highest;
    }
    if (m_nMaxSet == 0)
    {
        m_nMinSet = realimage::PowerOfTwoBelow(m_nMinImage);
        m_nMaxSet = realimage::PowerOfTwoAbove(m_nMaxImage);
    }
}

void RealImage::SetRescale(float intercept, float slope)
{
    m_fIntercept = intercept;
    m_fSlope = slope;
}

void RealImage::SetPhotometric(const char* photometric)
{
    std::memset(m_szPhotometric, 0, sizeof m_szPhotometric);
    if (photometric != nullptr)
        std::strncpy(m_szPhotometric, photometric, PhotometricSize - 1);
}

std::uint64_t RealImage::GetPixelCount() const
{
    if (m_nWidth <= 0 || m_nHeight <= 0)
        return 0;
    return std::uint64_t(m_nWidth) * std::uint64_t(m_nHeight);
}

bool RealImage::IsInside(int x, int y) const
{
    return GetImage() != nullptr && x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight;
}

void RealImage::WidenRange(int value)
{
    m_nMinImage = std::min(m_nMinImage, value);
    m_nMaxImage = std::max(m_nMaxImage, value);
    if (m_nMinImage < m_nMinSet)
        m_nMinSet = realimage::PowerOfTwoBelow(m_nMinImage);
    if (m_nMaxImage > m_nMaxSet)
        m_nMaxSet = realimage::PowerOfTwoAbove(m_nMaxImage);
}

// The part keeps this image's window as given.
void RealImage::InitPart(RealImage& part) const
{
    std::memcpy(part.m_palette, m_palette, sizeof m_palette);
    std::memcpy(part.m_szPhotometric, m_szPhotometric, sizeof m_szPhotometric);
    part.m_byFlag = m_byFlag;
    part.m_nSigned = m_nSigned;
    part.CalcMinMaxPixelValue();
    const double width = m_lut.GetWindowWidth();
    const double center = m_lut.GetWindowCenter();
    part.m_lut.Init(part.m_nMinImage, part.m_nMaxImage, part.m_fIntercept, part.m_fSlope,
                    realimage::TruncToInt(width), realimage::TruncToInt(center));
    part.m_lut.SetWindow(width, center);
    part.m_lut.SetOwner(&part);
}
