// MetaMatrix8: lookup, DIBs, bitmaps and automatic window/level of 8-bit
// matrices, and their widening to 16 bits.
#include "MetaMatrix8.h"

#include "MatrixDib.h"
#include "MatrixSizes.h"
#include "MetaMatrix16.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace
{

constexpr int kBytes = 1;

} // namespace

MetaMatrix* MetaMatrix8::GetPixmap(unsigned char* lut) const
{
    if (lut == nullptr || !HoldsPixels(kBytes))
        return nullptr;
    const MetaMatrixData& data = *m_pBlock;
    auto* map = new MetaMatrix8(8, 8, 7, data.nRows, data.nColumns, data.nMin, data.nMax, 0, 1);
    if (map->IsEmpty())
    {
        delete map;
        return nullptr;
    }
    const auto* source = reinterpret_cast<const std::uint8_t*>(m_pPixels);
    auto* target = reinterpret_cast<std::uint8_t*>(map->GetPixelData());
    const std::size_t count = std::size_t(data.nRows) * std::size_t(data.nColumns);
    for (std::size_t i = 0; i < count; ++i)
        target[i] = lut[source[i]];
    return map;
}

void* MetaMatrix8::CreateDIB(RGBQUAD* const palette) const
{
    if (!HoldsPixels(kBytes))
        return nullptr;
    return matrix::BuildPackedDib(m_pBlock->nRows, m_pBlock->nColumns, 8,
                                  palette != nullptr ? palette : matrix::GetGreyPalette(),
                                  matrix::CopyRowsOf(m_pPixels, std::size_t(m_pBlock->nColumns)));
}

HBITMAP MetaMatrix8::CreateBitmap() const
{
    if (!HoldsPixels(kBytes))
        return nullptr;
    return matrix::BuildScreenBitmap(
        m_pBlock->nRows, m_pBlock->nColumns, 8, matrix::GetGreyPalette(),
        matrix::CopyRowsOf(m_pPixels, std::size_t(m_pBlock->nColumns)));
}

bool MetaMatrix8::FromDIB(void* const dib)
{
    const matrix::CLockedDib locked(dib, "MetaMatrix8::FromDIB");
    if (!locked.IsValid())
        return false;
    const PackedDibLayout& layout = locked.GetLayout();
    if (layout.nBitCount != 8 || layout.nColors != 256)
        return false;
    const int length = layout.nWidth * layout.nHeight;
    char* pixels = new (std::nothrow) char[std::size_t(length)];
    if (pixels == nullptr)
        return false;
    locked.CopyRows(std::size_t(layout.nWidth), reinterpret_cast<std::uint8_t*>(pixels));
    if (!AdoptBuffer(pixels, length))
        return false;
    SetDescription(8, 8, 7, layout.nHeight, layout.nWidth, 0, 255, 0, 1);
    return true;
}

bool MetaMatrix8::AutoWindowLevel(int* width, int* center) const
{
    if (width == nullptr || center == nullptr || !HoldsPixels(kBytes))
        return false;
    const auto* pixels = reinterpret_cast<const std::uint8_t*>(m_pPixels);
    const std::size_t count = std::size_t(m_pBlock->nRows) * std::size_t(m_pBlock->nColumns);
    const auto [min, max] = std::minmax_element(pixels, pixels + count);
    *width = *max - *min;
    *center = (*min + *max) / 2;
    return true;
}

MetaMatrix16* MetaMatrix8::ToMatrix16(int factor)
{
    const MetaMatrixData& data = *m_pBlock;
    auto* wide = new MetaMatrix16(16, 16, 15, data.nRows, data.nColumns, 0, 65535, 0, 1);
    if (!HoldsPixels(kBytes) || wide->IsEmpty())
        return wide;
    const auto* source = reinterpret_cast<const std::uint8_t*>(m_pPixels);
    auto* target = reinterpret_cast<std::uint16_t*>(wide->GetPixelData());
    const std::size_t count = std::size_t(data.nRows) * std::size_t(data.nColumns);
    for (std::size_t i = 0; i < count; ++i)
        target[i] = std::uint16_t(unsigned(factor) * source[i]);
    return wide;
}
