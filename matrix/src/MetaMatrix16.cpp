// MetaMatrix16: lookup, joins, DIBs and automatic window/level of 16-bit
// matrices.
#include "MetaMatrix16.h"

#include "MatrixDib.h"
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

HBITMAP MetaMatrix16::CreateBitmap() const
{
    return nullptr;
}

bool MetaMatrix16::FromDIB(void* const)
{
    return false;
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
