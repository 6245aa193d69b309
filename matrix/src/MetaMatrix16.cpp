// MetaMatrix16: pixel operations, joins, DIBs, resampling and automatic
// window/level of 16-bit matrices.
#include "MetaMatrix16.h"

#include "MatrixDib.h"
#include "MatrixResample.h"
#include "MatrixSizes.h"
#include "MatrixWindowLevel.h"
#include "MetaMatrix8.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace
{

constexpr int kBytes = 2;

int ReadSample(std::uint16_t sample, bool isSigned)
{
    return isSigned ? int(std::int16_t(sample)) : int(sample);
}

// True when other is a matrix whose buffer holds its rows x columns 16-bit
// samples.
bool Holds16BitPixels(const MetaMatrix& other)
{
    const MetaMatrixData& data = *other.GetData();
    if (data.nRows <= 0 || data.nColumns <= 0)
        return false;
    const std::int64_t needed = matrix::FitProduct({data.nRows, data.nColumns, kBytes});
    return needed >= 0 && needed <= data.nDataLength;
}

const std::uint16_t* SamplesOf(const MetaMatrix& matrix)
{
    return reinterpret_cast<const std::uint16_t*>(matrix.GetPixelData());
}

} // namespace

MetaMatrix16::MetaMatrix16(int bitsAllocated, int bitsStored, int highBit, int rows, int columns,
                           int min, int max, int isSigned, int samplesPerPixel)
    : MetaMatrix(bitsAllocated, bitsStored, highBit, rows, columns, min, max, isSigned,
                 samplesPerPixel)
{
}

MetaMatrix* MetaMatrix16::Clone() const
{
    auto* copy = new MetaMatrix16;
    CopyTo(*copy);
    return copy;
}

MetaMatrix* MetaMatrix16::Shadow() const
{
    return new MetaMatrix16(*this);
}

void MetaMatrix16::Invert()
{
    if (!HoldsPixels(kBytes) || !CopyBeforeWrite())
        return;
    const bool isSigned = m_pBlock->nSigned != 0;
    const int sum = m_pBlock->nMin + m_pBlock->nMax;
    auto* samples = reinterpret_cast<std::uint16_t*>(m_pPixels);
    const std::size_t count = std::size_t(m_pBlock->nRows) * std::size_t(m_pBlock->nColumns);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = std::uint16_t(sum - ReadSample(samples[i], isSigned));
}

void MetaMatrix16::FlipVertical()
{
    FlipPixelsVertically(kBytes);
}

void MetaMatrix16::FlipHorizontal()
{
    FlipPixelsHorizontally(kBytes);
}

void MetaMatrix16::Rotate(RotateAngle angle)
{
    RotatePixels(angle, kBytes);
}

MetaMatrix* MetaMatrix16::GetPixmap(unsigned char* lut) const
{
    if (lut == nullptr || !HoldsPixels(kBytes))
        return nullptr;
    const MetaMatrixData& data = *m_pBlock;
    auto* map = new MetaMatrix8(8, 8, 7, data.nRows, data.nColumns, 0, 255, 0, 1);
    if (map->IsEmpty())
    {
        delete map;
        return nullptr;
    }
    const std::uint16_t* source = SamplesOf(*this);
    auto* target = reinterpret_cast<std::uint8_t*>(map->GetPixelData());
    const std::size_t count = std::size_t(data.nRows) * std::size_t(data.nColumns);
    if (data.nSigned != 0)
    {
        for (std::size_t i = 0; i < count; ++i)
            target[i] = lut[std::int16_t(source[i])];
    }
    else
    {
        for (std::size_t i = 0; i < count; ++i)
            target[i] = lut[source[i]];
    }
    return map;
}

MetaMatrix* MetaMatrix16::GetImagePart(const CRect* rect) const
{
    auto* part = new MetaMatrix16;
    if (CopyPartTo(*part, rect, kBytes))
        return part;
    delete part;
    return nullptr;
}

void MetaMatrix16::SetImagePart(const MetaMatrix* source, const CRect* rect)
{
    PastePart(source, rect, kBytes);
}

void MetaMatrix16::JoinAtLeft(const MetaMatrix* other)
{
    if (other != nullptr && other->GetHeight() == GetHeight() && HoldsPixels(kBytes) &&
        Holds16BitPixels(*other))
        JoinBeside(*other, *this);
}

void MetaMatrix16::JoinAtRight(const MetaMatrix* other)
{
    if (other != nullptr && other->GetHeight() == GetHeight() && HoldsPixels(kBytes) &&
        Holds16BitPixels(*other))
        JoinBeside(*this, *other);
}

void MetaMatrix16::JoinBeside(const MetaMatrix& left, const MetaMatrix& right)
{
    const int rows = GetHeight();
    const int columns = left.GetWidth() + right.GetWidth();
    const std::int64_t length = matrix::FitProduct({rows, columns, kBytes});
    auto* joined =
        length > 0 ? new (std::nothrow) std::uint16_t[std::size_t(length) / kBytes] : nullptr;
    if (joined == nullptr)
        return;
    const std::size_t leftColumns = std::size_t(left.GetWidth());
    const std::size_t rightColumns = std::size_t(right.GetWidth());
    for (int y = 0; y < rows; ++y)
    {
        std::uint16_t* row = joined + std::size_t(y) * std::size_t(columns);
        std::copy_n(SamplesOf(left) + std::size_t(y) * leftColumns, leftColumns, row);
        std::copy_n(SamplesOf(right) + std::size_t(y) * rightColumns, rightColumns,
                    row + leftColumns);
    }
    AdoptPixels(reinterpret_cast<char*>(joined), rows, columns, int(length));
}

void MetaMatrix16::JoinAtTop(const MetaMatrix*) {}

void MetaMatrix16::JoinAtBottom(const MetaMatrix* other)
{
    if (other == nullptr || other->GetMatrixType() != GetMatrixType() || other->IsEmpty())
        return;
    if (IsEmpty())
    {
        other->CopyTo(*this);
        return;
    }
    if (!HoldsPixels(kBytes) || !Holds16BitPixels(*other))
        return;
    const int topRows = GetHeight();
    const int rows = topRows + other->GetHeight();
    const int columns = std::max(GetWidth(), other->GetWidth());
    const std::int64_t length = matrix::FitProduct({rows, columns, kBytes});
    auto* joined =
        length > 0 ? new (std::nothrow) std::uint16_t[std::size_t(length) / kBytes]() : nullptr;
    if (joined == nullptr)
        return;
    for (const MetaMatrix* part : {static_cast<const MetaMatrix*>(this), other})
    {
        const std::size_t partColumns = std::size_t(part->GetWidth());
        const int firstRow = part == this ? 0 : topRows;
        for (int y = 0; y < part->GetHeight(); ++y)
            std::copy_n(SamplesOf(*part) + std::size_t(y) * partColumns, partColumns,
                        joined + std::size_t(firstRow + y) * std::size_t(columns));
    }
    if (AdoptBuffer(reinterpret_cast<char*>(joined), int(length)))
        SetDescription(16, 16, 15, rows, columns, 0, 65535, 0, 1);
}

bool MetaMatrix16::LoadAsRaw(const char* path, int offset, int width, int height)
{
    return LoadRawPixels(path, offset, matrix::FitProduct({width, height, kBytes}), 16, 16, 15,
                         height, width, 0, 65535, 0, 1);
}

bool MetaMatrix16::SaveAsRaw(const char* path) const
{
    return SaveRawPixels(path, matrix::FitProduct({m_pBlock->nColumns, m_pBlock->nRows, kBytes}));
}

void MetaMatrix16::Scale(unsigned width, unsigned height)
{
    ScalePixelsNearest(width, height, kBytes);
}

void MetaMatrix16::ScaleOptimize(unsigned width, unsigned height)
{
    const int length = GetResizedLength(width, height, kBytes);
    if (length <= 0)
        return;
    const MetaMatrixData& data = *m_pBlock;
    char* scaled = nullptr;
    if (data.nSigned != 0)
        scaled = reinterpret_cast<char*>(
            matrix::Resample("ResampleS16", reinterpret_cast<const short*>(m_pPixels),
                             data.nColumns, data.nRows, int(width), int(height), 1));
    else
        scaled = reinterpret_cast<char*>(
            matrix::Resample("ResampleU16", reinterpret_cast<const unsigned short*>(m_pPixels),
                             data.nColumns, data.nRows, int(width), int(height), 1));
    if (scaled != nullptr)
        AdoptPixels(scaled, int(height), int(width), length);
}

void* MetaMatrix16::CreateDIB(RGBQUAD* const palette) const
{
    const int max = m_pBlock->nMax;
    if (!HoldsPixels(kBytes) || max >= 65535)
        return nullptr;
    // Shift the samples so that the largest one takes 8 bits.
    const int shift = matrix::BitLength(max) - 8;
    if (shift <= 0)
        return nullptr;
    const int columns = m_pBlock->nColumns;
    const std::uint16_t* samples = SamplesOf(*this);
    return matrix::BuildPackedDib(
        m_pBlock->nRows, columns, 8, palette != nullptr ? palette : matrix::GetGreyPalette(),
        [=](int row, std::uint8_t* target)
        {
            const std::uint16_t* source = samples + std::size_t(row) * std::size_t(columns);
            for (int x = 0; x < columns; ++x)
                target[x] = std::uint8_t(source[x] >> shift);
        });
}

void* MetaMatrix16::CreateDIB() const
{
    return CreateDIB(const_cast<RGBQUAD*>(matrix::GetGreyPalette()));
}

HBITMAP MetaMatrix16::CreateBitmap() const
{
    return nullptr;
}

bool MetaMatrix16::FromDIB(void* const)
{
    return false;
}

bool MetaMatrix16::FromBitmap(HBITMAP const)
{
    return false;
}

int MetaMatrix16::GetPixelValue(int x, int y) const
{
    if (!HoldsPixels(kBytes))
        return 0;
    x = std::clamp(x, 0, m_pBlock->nColumns - 1);
    y = std::clamp(y, 0, m_pBlock->nRows - 1);
    const std::uint16_t sample =
        SamplesOf(*this)[std::size_t(y) * std::size_t(m_pBlock->nColumns) + std::size_t(x)];
    return ReadSample(sample, m_pBlock->nSigned != 0);
}

void MetaMatrix16::SetPixelValue(int x, int y, short value)
{
    if (!HoldsPixels(kBytes) || !CopyBeforeWrite())
        return;
    x = std::clamp(x, 0, m_pBlock->nColumns - 1);
    y = std::clamp(y, 0, m_pBlock->nRows - 1);
    reinterpret_cast<std::uint16_t*>(
        m_pPixels)[std::size_t(y) * std::size_t(m_pBlock->nColumns) + std::size_t(x)] =
        std::uint16_t(value);
    WidenRange(value);
}

bool MetaMatrix16::AutoWindowLevel(int* width, int* center) const
{
    return HoldsPixels(kBytes) &&
           matrix::EstimateWindow16(SamplesOf(*this), m_pBlock->nRows, m_pBlock->nColumns,
                                    m_pBlock->nSigned != 0, nullptr, width, center);
}

bool MetaMatrix16::AutoWindowLevelEllipseShutter(int* width, int* center, RECT* rect) const
{
    return rect != nullptr && HoldsPixels(kBytes) &&
           matrix::EstimateWindow16(SamplesOf(*this), m_pBlock->nRows, m_pBlock->nColumns,
                                    m_pBlock->nSigned != 0, rect, width, center);
}
