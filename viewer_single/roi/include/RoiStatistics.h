// Region statistics of a rectangle or an ellipse: the cells of the region
// (its mask) and the sum, mean, deviation and area of the pixels under it.
#pragma once

#include "Lettra.h"
#include "RoiOwner.h"

#include <cstdint>
#include <vector>

namespace pelivo
{

struct RoiMask
{
    int kind = 0;
    // Column-major: cell (row, column) at column x height + row. Empty for a
    // rectangle, whose every cell is inside.
    std::vector<std::uint8_t> cells;
    int width = 0;
    int height = 0;

    bool IsInside(int column, int row) const;
};

struct RoiStatistics
{
    double sum = 0.0;
    int mean = 0;
    int deviation = 0;
    double count = 0.0;
    double area = 0.0;
    double spacingAcross = 0.0;
    double spacingDown = 0.0;
    Lettra unit;
    RECT region{};

    Lettra GetText() const;
};

RoiMask BuildRoiMask(int kind, const RECT& bounds);
// Nothing happens without an owner that holds an image and shows it.
bool ComputeRoiStatistics(const RoiMask& mask, const RECT& bounds, RoiOwner* owner,
                          RoiStatistics& statistics);

} // namespace pelivo
