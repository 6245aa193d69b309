// Pens on the painter: the pixels of a path stroked with a pen (one-pixel
// lines with their dash patterns, wide lines with round caps, geometric
// dashes), arcs, and closed shapes with an outline and a fill.
#pragma once

#include "GdiPainter.h"

#include <optional>

// A pen as the painter strokes it, in device pixels.
struct PenStroke
{
    int nStyle = PS_SOLID;
    int nWidth = 0; // 0 and 1 are one-pixel pens
    bool bGeometric = false;
    std::uint32_t color = 0;
    // The gaps of a styled one-pixel pen take this colour when opaque.
    bool bOpaqueGaps = false;
    std::uint32_t gapColor = 0;

    bool IsNull() const { return nStyle == PS_NULL; }
    // A one-pixel pen without a dash pattern.
    bool IsSolidThin() const;
};

// The pixels of a stroke: the pen's own and the gaps of a styled pen.
struct StrokeCoverage
{
    Region on;
    Region gaps;
};

// A closed shape for the painter: its pixels, the outline the pen follows
// (device points, closed), and the pen and brush to paint it with.
struct ShapeFill
{
    Region shape;
    std::vector<POINT> outline;
    // The outline is the shape's own boundary, so a solid one-pixel pen
    // takes the boundary pixels; an empty outline takes a frame inside.
    bool bOutlineIsBoundary = false;
    // The pen's pixels, when the caller knows them (wide rectangle frames).
    std::optional<Region> frame;
    const PenStroke* pPen = nullptr;     // null: no outline
    const PaintSource* pBrush = nullptr; // null: no fill
    int nRop2 = R2_COPYPEN;
};
