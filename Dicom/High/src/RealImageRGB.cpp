#include "RealImage.h"

#include "ColorQuantizer.h"
#include "RealImageBitmap.h"
#include "RealImagePixels.h"
#include "VeltaroLog.h"

#include <cstring>
#include <new>

namespace
{

constexpr int PixelBytes = 3;

} // namespace

RealImageRGB::RealImageRGB(std::uint8_t* pixels, int width, int height, int depth, int minImage,
                           int maxImage, int minSet, int maxSet, float intercept, float slope)
    : RealImage(width, height, depth, minImage, maxImage, minSet, maxSet, intercept, slope),
      m_pPixels(pixels)
{
}

RealImageRGB::RealImageRGB(const RealImageRGB& other)
    : RealImage(other), m_pPixels(realimage::CopyBuffer(other.m_pPixels, other.GetImageLength()))
{
}

RealImageRGB& RealImageRGB::operator=(const RealImageRGB& other)
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

RealImageRGB::~RealImageRGB()
{
    realimage::FreeBuffer(m_pPixels);
}

std::uint8_t* RealImageRGB::GetPixmap()
{
    return Quantize(m_palette);
}

std::uint8_t* RealImageRGB::GetPixmap(const std::uint8_t* table)
{
    if (table == nullptr)
        return nullptr;
    RGBQUAD palette[PaletteSize];
    std::uint8_t* pixmap = Quantize(palette);
    if (pixmap == nullptr)
        return nullptr;
    for (std::uint64_t i = 0, count = GetPixelCount(); i < count; ++i)
        pixmap[i] = table[pixmap[i]];
    return pixmap;
}

// The grey levels of the first width x height bytes.
std::uint8_t* RealImageRGB::GetPixmap(int useImageRange)
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

std::uint8_t* RealImageRGB::GetPixmapEx(const std::uint8_t* table)
{
    return GetPixmap(table);
}

RealImage8* RealImageRGB::Remap()
{
    RealImage8* image = RealImage::Remap();
    if (image != nullptr)
        image->SetPhotometric("PALETTE COLOR");
    return image;
}

void RealImageRGB::Invert()
{
    _error("Enter RealImageRGB::Invert, cannot invert RGB image");
}

void RealImageRGB::FlipVertical()
{
    DoFlipVertical(PixelBytes);
}

void RealImageRGB::FlipHorizontal()
{
    DoFlipHorizontal(PixelBytes);
}

void RealImageRGB::Rotate(RotateAngle angle)
{
    DoRotate(angle, PixelBytes);
}

// The grey accessors read and write the first width x height bytes.
int RealImageRGB::GetPixelValue(int x, int y) const
{
    if (!IsInside(x, y))
        return 0;
    const float sample = float(m_pPixels[std::uint64_t(y) * m_nWidth + x]);
    return realimage::TruncToInt(double(sample * m_fSlope + m_fIntercept));
}

void RealImageRGB::SetPixelValue(int x, int y, short value)
{
    if (!IsInside(x, y))
        return;
    m_pPixels[std::uint64_t(y) * m_nWidth + x] =
        std::uint8_t(realimage::CalibratedToSample(value, m_fIntercept, m_fSlope, 0, 255));
}

int RealImageRGB::GetInternalPixel(int x, int y) const
{
    return IsInside(x, y) ? m_pPixels[std::uint64_t(y) * m_nWidth + x] : 0;
}

void RealImageRGB::SetInternalPixel(int x, int y, int value)
{
    if (!IsInside(x, y))
        return;
    const std::uint64_t index = std::uint64_t(y) * m_nWidth + x;
    m_pPixels[index] = std::uint8_t(value);
    WidenRange(m_pPixels[index]);
}

std::uint32_t RealImageRGB::GetImageLength() const
{
    return m_pPixels != nullptr ? std::uint32_t(GetPixelCount() * PixelBytes) : 0;
}

void* RealImageRGB::Attach(void* pixels)
{
    void* previous = m_pPixels;
    m_pPixels = static_cast<std::uint8_t*>(pixels);
    return previous;
}

void* RealImageRGB::Detach()
{
    return Attach(nullptr);
}

RealImage* RealImageRGB::GetImagePart(const DRect* rect) const
{
    DRect part;
    if (m_pPixels == nullptr || !realimage::ClipPart(rect, m_nWidth, m_nHeight, part))
        return nullptr;
    std::uint8_t* pixels = realimage::CopyPart(m_pPixels, m_nWidth, part, PixelBytes);
    if (pixels == nullptr)
        return nullptr;
    auto* image =
        new (std::nothrow) RealImageRGB(pixels, part.Width(), part.Height(), m_nDepth, m_nMinImage,
                                        m_nMaxImage, m_nMinSet, m_nMaxSet, m_fIntercept, m_fSlope);
    if (image == nullptr)
    {
        realimage::FreeBuffer(pixels);
        return nullptr;
    }
    InitPart(*image);
    return image;
}

// Colour pixels are copied whatever the mode.
int RealImageRGB::SetImagePart(int x, int y, const RealImage* source, int /*mode*/)
{
    const auto* other = dynamic_cast<const RealImageRGB*>(source);
    if (other == nullptr || other->m_nDepth != m_nDepth || m_pPixels == nullptr ||
        other->m_pPixels == nullptr ||
        !realimage::FitsAt(x, y, other->m_nWidth, other->m_nHeight, m_nWidth, m_nHeight))
        return 0;
    const std::size_t rowBytes = std::size_t(other->m_nWidth) * PixelBytes;
    for (int row = 0; row < other->m_nHeight; ++row)
    {
        const std::uint64_t target = (std::uint64_t(y) + row) * m_nWidth + x;
        std::memcpy(m_pPixels + target * PixelBytes, other->m_pPixels + row * rowBytes, rowBytes);
    }
    return 1;
}

int RealImageRGB::SaveAsWindowsBitmap(const char* path)
{
    return realimage::SaveBitmapFile({m_pPixels, m_nWidth, m_nHeight, 24, nullptr}, path);
}

int RealImageRGB::SaveAsRaw(const char* path)
{
    return DoSaveAsRaw(path);
}

int RealImageRGB::Scale(int width, int height)
{
    return width == m_nWidth && height == m_nHeight ? 1 : 0;
}

HGLOBAL RealImageRGB::CreateDIB()
{
    return realimage::BuildPackedDib({m_pPixels, m_nWidth, m_nHeight, 24, nullptr});
}

HBITMAP RealImageRGB::CreateBitmap()
{
    return realimage::BuildScreenBitmap({m_pPixels, m_nWidth, m_nHeight, 24, nullptr});
}

std::uint8_t* RealImageRGB::Quantize(RGBQUAD* palette) const
{
    std::uint8_t* indices = m_pPixels != nullptr ? realimage::NewBuffer(GetPixelCount()) : nullptr;
    if (indices == nullptr)
        return nullptr;
    ColorQuantizer quantizer;
    quantizer.SetSource(m_pPixels, m_nWidth, m_nHeight);
    if (quantizer.Quantize(indices, palette, ColorQuantizer::BuildPalette) != 0)
    {
        _error("Enter RealImageRGB::GetPixmap, the colours of %d x %d pixels cannot be quantised",
               m_nWidth, m_nHeight);
        realimage::FreeBuffer(indices);
        return nullptr;
    }
    return indices;
}
