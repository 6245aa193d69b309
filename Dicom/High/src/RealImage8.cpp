#include "RealImage.h"

#include "RealImageBitmap.h"
#include "RealImagePixels.h"

#include <memory>
#include <new>

namespace
{

constexpr const char* PaletteColor = "PALETTE COLOR";

} // namespace

RealImage8::RealImage8(std::uint8_t* pixels, int width, int height, int depth, int minImage,
                       int maxImage, int minSet, int maxSet, float intercept, float slope)
    : RealImage(width, height, depth, minImage, maxImage, minSet, maxSet, intercept, slope),
      m_pPixels(pixels)
{
}

RealImage8::RealImage8(const RealImage8& other)
    : RealImage(other), m_pPixels(realimage::CopyBuffer(other.m_pPixels, other.GetImageLength()))
{
}

RealImage8& RealImage8::operator=(const RealImage8& other)
{
    if (this != &other)
    {
        std::uint8_t* copy = realimage::CopyBuffer(other.m_pPixels, other.GetImageLength());
        RealImage::operator=(other);
        realimage::FreeBuffer(m_pPixels);
        m_pPixels = copy;
    }
    return *this;
}

RealImage8::~RealImage8()
{
    realimage::FreeBuffer(m_pPixels);
}

// Palette indices are shown through the palette, not a window.
std::uint8_t* RealImage8::GetPixmap()
{
    if (realimage::EqualsNoCase(m_szPhotometric, PaletteColor))
        return realimage::CopyBuffer(m_pPixels, GetImageLength());
    unsigned char* table = m_lut.CreateLookupTable(m_nDepth);
    if (table == nullptr)
        return nullptr;
    std::uint8_t* pixmap = GetPixmap(table);
    delete[] table;
    return pixmap;
}

std::uint8_t* RealImage8::GetPixmap(const std::uint8_t* table)
{
    std::uint8_t* pixmap =
        m_pPixels != nullptr && table != nullptr ? realimage::NewBuffer(GetPixelCount()) : nullptr;
    if (pixmap == nullptr)
        return nullptr;
    for (std::uint64_t i = 0, count = GetPixelCount(); i < count; ++i)
        pixmap[i] = table[m_pPixels[i]];
    return pixmap;
}

std::uint8_t* RealImage8::GetPixmap(int useImageRange)
{
    std::uint8_t* pixmap = m_pPixels != nullptr ? realimage::NewBuffer(GetPixelCount()) : nullptr;
    if (pixmap == nullptr)
        return nullptr;
    const int lo = useImageRange != 0 ? m_nMinImage : m_nMinSet;
    const int hi = useImageRange != 0 ? m_nMaxImage : m_nMaxSet;
    for (std::uint64_t i = 0, count = GetPixelCount(); i < count; ++i)
        pixmap[i] = realimage::DisplayLevel(m_pPixels[i], lo, hi);
    return pixmap;
}

std::uint8_t* RealImage8::GetPixmapEx(const std::uint8_t* table)
{
    return GetPixmap(table);
}

void RealImage8::Invert()
{
    if (m_pPixels != nullptr)
    {
        const int sum = m_nMinSet + m_nMaxSet;
        for (std::uint64_t i = 0, count = GetPixelCount(); i < count; ++i)
            m_pPixels[i] = std::uint8_t(sum - m_pPixels[i]);
    }
    RealImage::Invert();
}

void RealImage8::FlipVertical()
{
    DoFlipVertical(1);
}

void RealImage8::FlipHorizontal()
{
    DoFlipHorizontal(1);
}

void RealImage8::Rotate(RotateAngle angle)
{
    DoRotate(angle, 1);
}

int RealImage8::GetPixelValue(int x, int y) const
{
    if (!IsInside(x, y))
        return 0;
    const float sample = float(m_pPixels[std::uint64_t(y) * m_nWidth + x]);
    return realimage::TruncToInt(double(sample * m_fSlope + m_fIntercept));
}

void RealImage8::SetPixelValue(int x, int y, short value)
{
    if (!IsInside(x, y))
        return;
    m_pPixels[std::uint64_t(y) * m_nWidth + x] =
        std::uint8_t(realimage::CalibratedToSample(value, m_fIntercept, m_fSlope, 0, 255));
}

int RealImage8::GetInternalPixel(int x, int y) const
{
    return IsInside(x, y) ? m_pPixels[std::uint64_t(y) * m_nWidth + x] : 0;
}

void RealImage8::SetInternalPixel(int x, int y, int value)
{
    if (!IsInside(x, y))
        return;
    const std::uint64_t index = std::uint64_t(y) * m_nWidth + x;
    m_pPixels[index] = std::uint8_t(value);
    WidenRange(m_pPixels[index]);
}

std::uint32_t RealImage8::GetImageLength() const
{
    return m_pPixels != nullptr ? std::uint32_t(GetPixelCount()) : 0;
}

void* RealImage8::Attach(void* pixels)
{
    void* previous = m_pPixels;
    m_pPixels = static_cast<std::uint8_t*>(pixels);
    return previous;
}

void* RealImage8::Detach()
{
    return Attach(nullptr);
}

RealImage* RealImage8::GetImagePart(const DRect* rect) const
{
    DRect part;
    if (m_pPixels == nullptr || !realimage::ClipPart(rect, m_nWidth, m_nHeight, part))
        return nullptr;
    std::uint8_t* pixels = realimage::CopyPart(m_pPixels, m_nWidth, part, 1);
    if (pixels == nullptr)
        return nullptr;
    auto* image =
        new (std::nothrow) RealImage8(pixels, part.Width(), part.Height(), m_nDepth, m_nMinImage,
                                      m_nMaxImage, m_nMinSet, m_nMaxSet, m_fIntercept, m_fSlope);
    if (image == nullptr)
    {
        realimage::FreeBuffer(pixels);
        return nullptr;
    }
    InitPart(*image);
    return image;
}

int RealImage8::SetImagePart(int x, int y, const RealImage* source, int mode)
{
    const auto* other = dynamic_cast<const RealImage8*>(source);
    if (other == nullptr || other->m_nDepth != m_nDepth || m_pPixels == nullptr ||
        other->m_pPixels == nullptr ||
        !realimage::FitsAt(x, y, other->m_nWidth, other->m_nHeight, m_nWidth, m_nHeight))
        return 0;
    realimage::PasteSamples(m_pPixels, m_nWidth, other->m_pPixels, other->m_nWidth,
                            other->m_nHeight, x, y, mode);
    return 1;
}

int RealImage8::SaveAsWindowsBitmap(const char* path)
{
    return realimage::SaveBitmapFile({m_pPixels, m_nWidth, m_nHeight, 8, m_palette}, path);
}

int RealImage8::SaveAsRaw(const char* path)
{
    return DoSaveAsRaw(path);
}

int RealImage8::Scale(int width, int height)
{
    if (width == m_nWidth && height == m_nHeight)
        return 1;
    std::unique_ptr<std::uint8_t[]> scaled;
    const char* entry = m_nSigned == 1 ? "ResampleS8" : "ResampleU8";
    enResampleOutcome outcome;
    if (m_nSigned == 1)
    {
        std::unique_ptr<std::int8_t[]> signedScaled;
        outcome = ResampleCall::ResampleS8(reinterpret_cast<const std::int8_t*>(m_pPixels),
                                           m_nWidth, m_nHeight, width, height, 0, signedScaled);
        scaled.reset(reinterpret_cast<std::uint8_t*>(signedScaled.release()));
    }
    else
    {
        outcome =
            ResampleCall::ResampleU8(m_pPixels, m_nWidth, m_nHeight, width, height, 0, scaled);
    }
    if (!realimage::IsResampled(outcome, ResampleCall::EmsolaFile, entry))
        return 0;
    realimage::FreeBuffer(Attach(scaled.release()));
    m_nWidth = width;
    m_nHeight = height;
    return 1;
}

HGLOBAL RealImage8::CreateDIB()
{
    return realimage::BuildPackedDib({m_pPixels, m_nWidth, m_nHeight, 8, m_palette});
}

HBITMAP RealImage8::CreateBitmap()
{
    return realimage::BuildScreenBitmap({m_pPixels, m_nWidth, m_nHeight, 8, m_palette});
}
