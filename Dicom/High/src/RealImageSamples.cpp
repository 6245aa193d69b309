// The class templates of the real-valued images, and their instances for the
// library's three classes.
#include "RealImage.h"

#include "RealImageBitmap.h"
#include "RealImagePixels.h"
#include "VeltaroLog.h"

#include <limits>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace
{

template <class TSample> TSample* AsSamples(std::uint8_t* bytes)
{
    return reinterpret_cast<TSample*>(bytes);
}

// A new pixmap of count levels, level i being levelOf(i); null when there
// is nothing to map or no memory.
template <class TLevel> std::uint8_t* MakePixmap(bool canMap, std::uint64_t count, TLevel levelOf)
{
    std::uint8_t* pixmap = canMap ? realimage::NewBuffer(count) : nullptr;
    if (pixmap == nullptr)
        return nullptr;
    for (std::uint64_t i = 0; i < count; ++i)
        pixmap[i] = levelOf(i);
    return pixmap;
}

// The resampling entries of a sample type, and the library a failed load
// names.
template <class TSample> struct ResampleEntries;

template <> struct ResampleEntries<std::uint8_t>
{
    static constexpr const char* Library = ResampleCall::EmsolaFile;
    static constexpr const char* UnsignedName = "ResampleU8";
    static constexpr const char* SignedName = "ResampleS8";
    static constexpr auto Unsigned = &ResampleCall::ResampleU8;
    static constexpr auto Signed = &ResampleCall::ResampleS8;
};

template <> struct ResampleEntries<std::uint16_t>
{
    static constexpr const char* Library = ResampleCall::PemsolaFile;
    static constexpr const char* UnsignedName = "ResampleU16";
    static constexpr const char* SignedName = "ResampleS16";
    static constexpr auto Unsigned = &ResampleCall::ResampleU16;
    static constexpr auto Signed = &ResampleCall::ResampleS16;
};

// The bitmap form of an image of byte pixels; one byte a pixel shows
// through the image's palette.
realimage::DibSource GetDibSource(const RealImage& image, int bytesPerPixel)
{
    return {static_cast<const std::uint8_t*>(image.GetImage()), image.GetWidth(), image.GetHeight(),
            8 * bytesPerPixel, bytesPerPixel == 1 ? image.GetPalette() : nullptr};
}

// What draw makes of the image's bitmap form. Samples wider than a byte
// have none: they are drawn as the 8-bit image of their display levels.
template <class TSample, class TDraw>
std::invoke_result_t<TDraw, const realimage::DibSource&> DrawPixels(RealImage& image,
                                                                    int bytesPerPixel, TDraw draw)
{
    if constexpr (sizeof(TSample) == 1)
    {
        return draw(GetDibSource(image, bytesPerPixel));
    }
    else
    {
        std::unique_ptr<RealImage8> levels(image.Remap());
        if (levels == nullptr)
            return {};
        return draw(GetDibSource(*levels, 1));
    }
}

} // namespace

template <class TImage, class TSample, int SamplesPerPixel>
RealImageSamples<TImage, TSample, SamplesPerPixel>::RealImageSamples(TSample* pixels, int width,
                                                                     int height, int depth,
                                                                     int minImage, int maxImage,
                                                                     int minSet, int maxSet,
                                                                     float intercept, float slope)
    : RealImage(width, height, depth, minImage, maxImage, minSet, maxSet, intercept, slope),
      m_pPixels(pixels)
{
}

template <class TImage, class TSample, int SamplesPerPixel>
RealImageSamples<TImage, TSample, SamplesPerPixel>::RealImageSamples(const RealImageSamples& other)
    : RealImage(other),
      m_pPixels(AsSamples<TSample>(realimage::CopyBuffer(other.m_pPixels, other.GetImageLength())))
{
}

template <class TImage, class TSample, int SamplesPerPixel>
RealImageSamples<TImage, TSample, SamplesPerPixel>&
RealImageSamples<TImage, TSample, SamplesPerPixel>::operator=(const RealImageSamples& other)
{
    if (this != &other)
    {
        std::uint8_t* copy = realimage::CopyBuffer(other.m_pPixels, other.GetImageLength());
        RealImage::operator=(other);
        realimage::FreeBuffer(m_pPixels);
        m_pPixels = AsSamples<TSample>(copy);
    }
    return *this;
}

template <class TImage, class TSample, int SamplesPerPixel>
RealImageSamples<TImage, TSample, SamplesPerPixel>::~RealImageSamples()
{
    realimage::FreeBuffer(m_pPixels);
}

template <class TImage, class TSample, int SamplesPerPixel>
std::uint8_t* RealImageSamples<TImage, TSample, SamplesPerPixel>::GetPixmap(int useImageRange)
{
    const int lo = useImageRange != 0 ? m_nMinImage : m_nMinSet;
    const int hi = useImageRange != 0 ? m_nMaxImage : m_nMaxSet;
    return MakePixmap(m_pPixels != nullptr, GetPixelCount(),
                      [&](std::uint64_t i)
                      { return realimage::DisplayLevel(GetSample(i), lo, hi); });
}

template <class TImage, class TSample, int SamplesPerPixel>
void RealImageSamples<TImage, TSample, SamplesPerPixel>::FlipVertical()
{
    realimage::FlipRows(reinterpret_cast<std::uint8_t*>(m_pPixels), m_nWidth, m_nHeight,
                        BytesPerPixel);
}

template <class TImage, class TSample, int SamplesPerPixel>
void RealImageSamples<TImage, TSample, SamplesPerPixel>::FlipHorizontal()
{
    realimage::MirrorRows(reinterpret_cast<std::uint8_t*>(m_pPixels), m_nWidth, m_nHeight,
                          BytesPerPixel);
}

template <class TImage, class TSample, int SamplesPerPixel>
void RealImageSamples<TImage, TSample, SamplesPerPixel>::Rotate(RotateAngle angle)
{
    auto* pixels = reinterpret_cast<std::uint8_t*>(m_pPixels);
    if (pixels == nullptr || GetPixelCount() == 0)
        return;
    if (angle == RotateHalf)
    {
        realimage::ReversePixels(pixels, GetPixelCount(), BytesPerPixel);
        return;
    }
    if (angle != RotateCounterClockwise && angle != RotateClockwise)
        return;
    std::uint8_t* turned = realimage::TurnQuarter(pixels, m_nWidth, m_nHeight, BytesPerPixel,
                                                  angle == RotateClockwise);
    if (turned == nullptr)
    {
        _error("Enter RealImage::Rotate, cannot allocate the turned image of %d x %d", m_nHeight,
               m_nWidth);
        return;
    }
    realimage::FreeBuffer(Attach(turned));
    std::swap(m_nWidth, m_nHeight);
}

template <class TImage, class TSample, int SamplesPerPixel>
int RealImageSamples<TImage, TSample, SamplesPerPixel>::GetPixelValue(int x, int y) const
{
    if (!IsInside(x, y))
        return 0;
    const float sample = float(GetSample(std::uint64_t(y) * m_nWidth + x));
    return realimage::TruncToInt(double(sample * m_fSlope + m_fIntercept));
}

template <class TImage, class TSample, int SamplesPerPixel>
void RealImageSamples<TImage, TSample, SamplesPerPixel>::SetPixelValue(int x, int y, short value)
{
    if (!IsInside(x, y))
        return;
    using TSigned = std::make_signed_t<TSample>;
    const int lo = IsReadSigned() ? std::numeric_limits<TSigned>::min() : 0;
    const int hi =
        IsReadSigned() ? std::numeric_limits<TSigned>::max() : std::numeric_limits<TSample>::max();
    m_pPixels[std::uint64_t(y) * m_nWidth + x] =
        TSample(realimage::CalibratedToSample(value, m_fIntercept, m_fSlope, lo, hi));
}

template <class TImage, class TSample, int SamplesPerPixel>
int RealImageSamples<TImage, TSample, SamplesPerPixel>::GetInternalPixel(int x, int y) const
{
    return IsInside(x, y) ? GetSample(std::uint64_t(y) * m_nWidth + x) : 0;
}

template <class TImage, class TSample, int SamplesPerPixel>
void RealImageSamples<TImage, TSample, SamplesPerPixel>::SetInternalPixel(int x, int y, int value)
{
    if (!IsInside(x, y))
        return;
    const std::uint64_t index = std::uint64_t(y) * m_nWidth + x;
    m_pPixels[index] = TSample(value);
    WidenRange(GetSample(index));
}

template <class TImage, class TSample, int SamplesPerPixel>
void* RealImageSamples<TImage, TSample, SamplesPerPixel>::GetImage() const
{
    return m_pPixels;
}

template <class TImage, class TSample, int SamplesPerPixel>
std::uint32_t RealImageSamples<TImage, TSample, SamplesPerPixel>::GetImageLength() const
{
    return m_pPixels != nullptr ? std::uint32_t(GetPixelCount() * BytesPerPixel) : 0;
}

template <class TImage, class TSample, int SamplesPerPixel>
void* RealImageSamples<TImage, TSample, SamplesPerPixel>::Attach(void* pixels)
{
    void* previous = m_pPixels;
    m_pPixels = static_cast<TSample*>(pixels);
    return previous;
}

template <class TImage, class TSample, int SamplesPerPixel>
void* RealImageSamples<TImage, TSample, SamplesPerPixel>::Detach()
{
    return Attach(nullptr);
}

template <class TImage, class TSample, int SamplesPerPixel>
RealImage* RealImageSamples<TImage, TSample, SamplesPerPixel>::GetImagePart(const DRect* rect) const
{
    DRect part;
    if (m_pPixels == nullptr || !realimage::ClipPart(rect, m_nWidth, m_nHeight, part))
        return nullptr;
    std::uint8_t* pixels = realimage::CopyPart(reinterpret_cast<const std::uint8_t*>(m_pPixels),
                                               m_nWidth, part, BytesPerPixel);
    if (pixels == nullptr)
        return nullptr;
    auto* image = new (std::nothrow)
        TImage(AsSamples<TSample>(pixels), part.Width(), part.Height(), m_nDepth, m_nMinImage,
               m_nMaxImage, m_nMinSet, m_nMaxSet, m_fIntercept, m_fSlope);
    if (image == nullptr)
    {
        realimage::FreeBuffer(pixels);
        return nullptr;
    }
    InitPart(*image);
    return image;
}

template <class TImage, class TSample, int SamplesPerPixel>
int RealImageSamples<TImage, TSample, SamplesPerPixel>::SaveAsWindowsBitmap(const char* path)
{
    return DrawPixels<TSample>(*this, BytesPerPixel,
                               [path](const realimage::DibSource& source)
                               { return realimage::SaveBitmapFile(source, path); });
}

template <class TImage, class TSample, int SamplesPerPixel>
int RealImageSamples<TImage, TSample, SamplesPerPixel>::SaveAsRaw(const char* path)
{
    if (m_pPixels == nullptr)
    {
        _error("Enter RealImage::SaveAsRaw, no pixels to save in %s", path != nullptr ? path : "");
        return 0;
    }
    return realimage::WriteWholeFile(path, m_pPixels, GetImageLength()) ? 1 : 0;
}

template <class TImage, class TSample, int SamplesPerPixel>
HGLOBAL RealImageSamples<TImage, TSample, SamplesPerPixel>::CreateDIB()
{
    return DrawPixels<TSample>(*this, BytesPerPixel, realimage::BuildPackedDib);
}

template <class TImage, class TSample, int SamplesPerPixel>
HBITMAP RealImageSamples<TImage, TSample, SamplesPerPixel>::CreateBitmap()
{
    return DrawPixels<TSample>(*this, BytesPerPixel, realimage::BuildScreenBitmap);
}

template <class TImage, class TSample, int SamplesPerPixel>
int RealImageSamples<TImage, TSample, SamplesPerPixel>::GetSample(std::uint64_t index) const
{
    return IsReadSigned() ? int(std::make_signed_t<TSample>(m_pPixels[index]))
                          : int(m_pPixels[index]);
}

template <class TImage, class TSample, int SamplesPerPixel>
bool RealImageSamples<TImage, TSample, SamplesPerPixel>::IsReadSigned() const
{
    return sizeof(TSample) > 1 && m_nSigned != 0;
}

template <class TImage, class TSample>
std::uint8_t* RealImageGrey<TImage, TSample>::GetPixmap(const std::uint8_t* table)
{
    return MakePixmap(this->m_pPixels != nullptr && table != nullptr, this->GetPixelCount(),
                      [&](std::uint64_t i) { return table[this->m_pPixels[i]]; });
}

template <class TImage, class TSample>
std::uint8_t* RealImageGrey<TImage, TSample>::GetPixmapEx(const std::uint8_t* table)
{
    return MakePixmap(this->m_pPixels != nullptr && table != nullptr, this->GetPixelCount(),
                      [&](std::uint64_t i) { return table[this->GetSample(i)]; });
}

template <class TImage, class TSample> void RealImageGrey<TImage, TSample>::Invert()
{
    if (this->m_pPixels != nullptr)
    {
        const int sum = this->m_nMinSet + this->m_nMaxSet;
        for (std::uint64_t i = 0, count = this->GetPixelCount(); i < count; ++i)
            this->m_pPixels[i] = TSample(sum - this->GetSample(i));
    }
    RealImage::Invert();
}

template <class TImage, class TSample>
int RealImageGrey<TImage, TSample>::SetImagePart(int x, int y, const RealImage* source, int mode)
{
    const auto* other = dynamic_cast<const TImage*>(source);
    if (other == nullptr || other->m_nDepth != this->m_nDepth || this->m_pPixels == nullptr ||
        other->m_pPixels == nullptr ||
        !realimage::FitsAt(x, y, other->m_nWidth, other->m_nHeight, this->m_nWidth,
                           this->m_nHeight))
        return 0;
    realimage::PasteSamples(this->m_pPixels, this->m_nWidth, other->m_pPixels, other->m_nWidth,
                            other->m_nHeight, x, y, mode);
    return 1;
}

template <class TImage, class TSample>
int RealImageGrey<TImage, TSample>::Scale(int width, int height)
{
    if (width == this->m_nWidth && height == this->m_nHeight)
        return 1;
    using Entries = ResampleEntries<TSample>;
    using TSigned = std::make_signed_t<TSample>;
    const bool isSigned = this->m_nSigned == 1;
    std::unique_ptr<TSample[]> scaled;
    enResampleOutcome outcome;
    if (isSigned)
    {
        std::unique_ptr<TSigned[]> signedScaled;
        outcome = Entries::Signed(reinterpret_cast<const TSigned*>(this->m_pPixels), this->m_nWidth,
                                  this->m_nHeight, width, height, 0, signedScaled);
        scaled.reset(reinterpret_cast<TSample*>(signedScaled.release()));
    }
    else
    {
        outcome = Entries::Unsigned(this->m_pPixels, this->m_nWidth, this->m_nHeight, width, height,
                                    0, scaled);
    }
    const char* entry = isSigned ? Entries::SignedName : Entries::UnsignedName;
    if (!realimage::IsResampled(outcome, Entries::Library, entry))
        return 0;
    realimage::FreeBuffer(this->Attach(scaled.release()));
    this->m_nWidth = width;
    this->m_nHeight = height;
    return 1;
}

template class RealImageSamples<RealImage16, std::uint16_t, 1>;
template class RealImageGrey<RealImage16, std::uint16_t>;
template class RealImageSamples<RealImage8, std::uint8_t, 1>;
template class RealImageGrey<RealImage8, std::uint8_t>;
template class RealImageSamples<RealImageRGB, std::uint8_t, 3>;
