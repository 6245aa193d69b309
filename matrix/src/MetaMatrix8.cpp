// MetaMatrix8: pixel operations, DIBs and resampling of 8-bit matrices.
#include "MetaMatrix8.h"

#include "MatrixDib.h"
#include "MatrixResample.h"
#include "MatrixSizes.h"
#include "MetaMatrix16.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>

namespace
{

constexpr int kBytes = 1;

int ReadSample(std::uint8_t byte, bool isSigned)
{
    return isSigned ? int(std::int8_t(byte)) : int(byte);
}

} // namespace

MetaMatrix8::MetaMatrix8(int bitsAllocated, int bitsStored, int highBit, int rows, int columns,
                         int min, int max, int isSigned, int samplesPerPixel)
    : MetaMatrix(bitsAllocated, bitsStored, highBit, rows, columns, min, max, isSigned,
                 samplesPerPixel)
{
}

MetaMatrix* MetaMatrix8::Clone() const
{
    auto* copy = new MetaMatrix8;
    CopyTo(*copy);
    return copy;
}

MetaMatrix* MetaMatrix8::Shadow() const
{
    return new MetaMatrix8(*this);
}

void MetaMatrix8::Invert()
{
    if (!HoldsPixels(kBytes) || !CopyBeforeWrite())
        return;
    const bool isSigned = m_pBlock->nSigned != 0;
    const int sum = m_pBlock->nMin + m_pBlock->nMax;
    std::array<std::uint8_t, 256> inverted{};
    for (int byte = 0; byte < 256; ++byte)
        inverted[std::size_t(byte)] = std::uint8_t(sum - ReadSample(std::uint8_t(byte), isSigned));
    auto* pixels = reinterpret_cast<std::uint8_t*>(m_pPixels);
    const std::size_t count = std::size_t(m_pBlock->nRows) * std::size_t(m_pBlock->nColumns);
    for (std::size_t i = 0; i < count; ++i)
        pixels[i] = inverted[pixels[i]];
}

void MetaMatrix8::FlipVertical()
{
    FlipPixelsVertically(kBytes);
}

void MetaMatrix8::FlipHorizontal()
{
    FlipPixelsHorizontally(kBytes);
}

void MetaMatrix8::Rotate(RotateAngle angle)
{
    RotatePixels(angle, kBytes);
}

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

MetaMatrix* MetaMatrix8::GetImagePart(const CRect* rect) const
{
    auto* part = new MetaMatrix8;
    if (CopyPartTo(*part, rect, kBytes))
        return part;
    delete part;
    return nullptr;
}

void MetaMatrix8::SetImagePart(const MetaMatrix* source, const CRect* rect)
{
    PastePart(source, rect, kBytes);
}

void MetaMatrix8::JoinAtLeft(const MetaMatrix*) {}

void MetaMatrix8::JoinAtRight(const MetaMatrix*) {}

void MetaMatrix8::JoinAtTop(const MetaMatrix*) {}

void MetaMatrix8::JoinAtBottom(const MetaMatrix*) {}

bool MetaMatrix8::LoadAsRaw(const char* path, int offset, int width, int height)
{
    return LoadRawPixels(path, offset, matrix::FitProduct({width, height}), 8, 8, 7, height, width,
                         0, 255, 0, 1);
}

bool MetaMatrix8::SaveAsRaw(const char* path) const
{
    return SaveRawPixels(path, matrix::FitProduct({m_pBlock->nColumns, m_pBlock->nRows}));
}

void MetaMatrix8::Scale(unsigned width, unsigned height)
{
    ScalePixelsNearest(width, height, kBytes);
}

void MetaMatrix8::ScaleOptimize(unsigned width, unsigned height)
{
    const int length = GetResizedLength(width, height, kBytes);
    if (length <= 0)
        return;
    const MetaMatrixData& data = *m_pBlock;
    char* scaled = nullptr;
    if (data.nSigned != 0)
        scaled = reinterpret_cast<char*>(
            matrix::Resample("ResampleS8", reinterpret_cast<const signed char*>(m_pPixels),
                             data.nColumns, data.nRows, int(width), int(height), 1));
    else
        scaled = reinterpret_cast<char*>(
            matrix::Resample("ResampleU8", reinterpret_cast<const unsigned char*>(m_pPixels),
                             data.nColumns, data.nRows, int(width), int(height), 1));
    if (scaled != nullptr)
        AdoptPixels(scaled, int(height), int(width), length);
}

void* MetaMatrix8::CreateDIB(RGBQUAD* const palette) const
{
    if (!HoldsPixels(kBytes))
        return nullptr;
    const int columns = m_pBlock->nColumns;
    const auto* pixels = reinterpret_cast<const std::uint8_t*>(m_pPixels);
    return matrix::BuildPackedDib(
        m_pBlock->nRows, columns, 8, palette != nullptr ? palette : matrix::GetGreyPalette(),
        [=](int row, std::uint8_t* target) {
            std::memcpy(target, pixels + std::size_t(row) * std::size_t(columns),
                        std::size_t(columns));
        });
}

void* MetaMatrix8::CreateDIB() const
{
    return CreateDIB(const_cast<RGBQUAD*>(matrix::GetGreyPalette()));
}

HBITMAP MetaMatrix8::CreateBitmap() const
{
    if (!HoldsPixels(kBytes))
        return nullptr;
    const int columns = m_pBlock->nColumns;
    const auto* pixels = reinterpret_cast<const std::uint8_t*>(m_pPixels);
    return matrix::BuildScreenBitmap(
        m_pBlock->nRows, columns, 8, matrix::GetGreyPalette(),
        [=](int row, std::uint8_t* target) {
            std::memcpy(target, pixels + std::size_t(row) * std::size_t(columns),
                        std::size_t(columns));
        });
}

bool MetaMatrix8::FromDIB(void* const dib)
{
    const matrix::CLockedDib locked(dib, "MetaMatrix8::FromDIB");
    if (!locked.IsValid())
        return false;
    const matrix::PackedDibLayout& layout = locked.GetLayout();
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

bool MetaMatrix8::FromBitmap(HBITMAP const bitmap)
{
    return FromBitmapThroughDib(bitmap);
}

int MetaMatrix8::GetPixelValue(int x, int y) const
{
    if (!HoldsPixels(kBytes))
        return 0;
    x = std::clamp(x, 0, m_pBlock->nColumns - 1);
    y = std::clamp(y, 0, m_pBlock->nRows - 1);
    const auto byte =
        std::uint8_t(m_pPixels[std::size_t(y) * std::size_t(m_pBlock->nColumns) + std::size_t(x)]);
    return ReadSample(byte, m_pBlock->nSigned != 0);
}

void MetaMatrix8::SetPixelValue(int x, int y, short value)
{
    if (!HoldsPixels(kBytes) || !CopyBeforeWrite())
        return;
    x = std::clamp(x, 0, m_pBlock->nColumns - 1);
    y = std::clamp(y, 0, m_pBlock->nRows - 1);
    m_pPixels[std::size_t(y) * std::size_t(m_pBlock->nColumns) + std::size_t(x)] =
        char(value & 0xFF);
    WidenRange(value);
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

bool MetaMatrix8::AutoWindowLevelEllipseShutter(int*, int*, RECT*) const
{
    return false;
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
