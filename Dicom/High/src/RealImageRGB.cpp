#include "RealImage.h"

#include "ColorQuantizer.h"
#include "RealImagePixels.h"
#include "VeltaroLog.h"

#include <cstring>

RealImageRGB::RealImageRGB(std::uint8_t* pixels, int width, int height, int depth, int minImage,
                           int maxImage, int minSet, int maxSet, float intercept, float slope)
    : RealImageSamples(pixels, width, height, depth, minImage, maxImage, minSet, maxSet, intercept,
                       slope)
{
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

int RealImageRGB::SetImagePart(int x, int y, const RealImage* source, int /*mode*/)
{
    const auto* other = dynamic_cast<const RealImageRGB*>(source);
    if (other == nullptr || other->m_nDepth != m_nDepth || m_pPixels == nullptr ||
        other->m_pPixels == nullptr ||
        !realimage::FitsAt(x, y, other->m_nWidth, other->m_nHeight, m_nWidth, m_nHeight))
        return 0;
    const std::size_t rowBytes = std::size_t(other->m_nWidth) * BytesPerPixel;
    for (int row = 0; row < other->m_nHeight; ++row)
    {
        const std::uint64_t target = (std::uint64_t(y) + row) * m_nWidth + x;
        std::memcpy(m_pPixels + target * BytesPerPixel, other->m_pPixels + row * rowBytes,
                    rowBytes);
    }
    return 1;
}

int RealImageRGB::Scale(int width, int height)
{
    return width == m_nWidth && height == m_nHeight ? 1 : 0;
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
