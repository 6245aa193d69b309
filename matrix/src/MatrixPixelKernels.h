// Pixel loops of the matrices, for one pixel type: a byte, a 16-bit sample or
// a three-byte colour pixel. Rows are top row first with no padding.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace matrix
{

struct Pixel24
{
    std::uint8_t bytes[3];
};
static_assert(sizeof(Pixel24) == 3);

template <class Pixel> void ReverseEachRow(Pixel* pixels, int rows, int columns)
{
    for (int y = 0; y < rows; ++y)
    {
        Pixel* row = pixels + std::ptrdiff_t(y) * columns;
        std::reverse(row, row + columns);
    }
}

inline void SwapRowOrder(char* pixels, int rows, std::size_t rowBytes)
{
    for (int y = 0; y < rows / 2; ++y)
    {
        char* top = pixels + std::size_t(y) * rowBytes;
        char* bottom = pixels + std::size_t(rows - 1 - y) * rowBytes;
        std::swap_ranges(top, top + rowBytes, bottom);
    }
}

// Quarter turn of a rows x columns image into columns x rows. Counter-clockwise
// (x, y) goes to (y, columns - 1 - x); clockwise to (rows - 1 - y, x). Worked
// in square tiles so that both images stay in the cache.
template <class Pixel>
void RotateQuarter(const Pixel* source, int rows, int columns, Pixel* target, bool clockwise)
{
    constexpr int kTile = 16;
    const std::ptrdiff_t targetColumns = rows;
    for (int top = 0; top < rows; top += kTile)
    {
        const int bottom = std::min(rows, top + kTile);
        for (int left = 0; left < columns; left += kTile)
        {
            const int right = std::min(columns, left + kTile);
            for (int y = top; y < bottom; ++y)
            {
                const Pixel* row = source + std::ptrdiff_t(y) * columns;
                Pixel* out = clockwise ? target + (rows - 1 - y) : target + y;
                for (int x = left; x < right; ++x)
                {
                    const std::ptrdiff_t targetRow = clockwise ? x : columns - 1 - x;
                    out[targetRow * targetColumns] = row[x];
                }
            }
        }
    }
}

// Nearest neighbour: the source step of each axis is rounded to single
// precision and summed up from 0 along the output.
template <class Pixel>
void ScaleNearest(const Pixel* source, int rows, int columns, Pixel* target, int newRows,
                  int newColumns)
{
    const float stepX = float(double(columns) / newColumns);
    const float stepY = float(double(rows) / newRows);
    std::vector<int> sourceColumn(static_cast<std::size_t>(newColumns));
    float x = 0.0F;
    for (int j = 0; j < newColumns; ++j, x += stepX)
        sourceColumn[std::size_t(j)] = std::min(int(x), columns - 1);
    float y = 0.0F;
    for (int i = 0; i < newRows; ++i, y += stepY)
    {
        const Pixel* row = source + std::ptrdiff_t(std::min(int(y), rows - 1)) * columns;
        Pixel* out = target + std::ptrdiff_t(i) * newColumns;
        for (int j = 0; j < newColumns; ++j)
            out[j] = row[sourceColumn[std::size_t(j)]];
    }
}

inline void CopyRows(const char* source, std::size_t sourceStride, char* target,
                     std::size_t targetStride, std::size_t rowBytes, int rows)
{
    for (int y = 0; y < rows; ++y)
        std::memcpy(target + std::size_t(y) * targetStride, source + std::size_t(y) * sourceStride,
                    rowBytes);
}

} // namespace matrix
