// Block transfers on the painter: destination pixels mapped to source pixels
// by one nearest-neighbour rule per axis, combined through a ternary raster
// operation or a constant alpha.
#pragma once

#include "GdiPainter.h"

#include <cstdint>
#include <vector>

// One axis of a transfer in device units. A negative extent covers
// [start + extent, start) and mirrors.
struct TransferAxis
{
    int dstStart;
    int dstExtent;
    int srcStart;
    int srcExtent;

    // The lower destination edge.
    int GetDstLow() const { return dstExtent < 0 ? dstStart + dstExtent : dstStart; }
};

// Destination offset i (from .. to) -> source coordinate:
// floor(i * |srcExtent| / |dstExtent|), mirrored when one extent is negative;
// -1 where the coordinate falls outside [0, srcLimit).
std::vector<int> MapAxis(const TransferAxis& axis, int from, int to, int srcLimit);

// The destination rectangle of two axes.
RECT TransferRect(const TransferAxis& h, const TransferAxis& v);

// Whether a ternary operation reads its source, or its pattern.
bool Rop3NeedsSource(std::uint8_t code);
bool Rop3NeedsPattern(std::uint8_t code);

// Converts source pixels between monochrome and colour as the DCs require.
struct ColorConversion
{
    enum class enMode
    {
        None,
        MonoToColor,
        ColorToMono,
    } mode = enMode::None;
    std::uint32_t zeroColor = 0; // monochrome 0 -> destination text colour
    std::uint32_t oneColor = 0;  // monochrome 1 -> destination background colour
    std::uint32_t srcBackground = 0;

    std::uint32_t operator()(std::uint32_t pixel) const
    {
        pixel &= 0xFFFFFF;
        switch (mode)
        {
        case enMode::MonoToColor:
            return pixel ? oneColor : zeroColor;
        case enMode::ColorToMono:
            return pixel == srcBackground ? 0xFFFFFF : 0;
        case enMode::None:
            break;
        }
        return pixel;
    }
};

// One transfer in the destination's device coordinates.
struct BlockTransfer
{
    RECT dst{};            // the destination pixels to visit
    std::vector<int> xmap; // source column of each destination column, -1 for none
    std::vector<int> ymap; // source row of each destination row, -1 for none
    // The source pixels (null for none) and where the map's source (0, 0)
    // lies on them.
    const PixelSurface* pSource = nullptr;
    POINT srcOrigin{0, 0};
    std::uint8_t code = 0xCC;
    PaintSource pattern = PaintSource::Solid(0);
    ColorConversion convert;
    // A constant-alpha blend instead of the raster operation.
    bool bBlend = false;
    std::uint8_t alpha = 255;
};
