// Text on the painter: a run of characters in one realised font, its cell
// filled in opaque mode, underlines and strike-outs, each glyph's coverage
// blended in the text colour (never through the mix mode).
#pragma once

#include "FontEngine.h"
#include "GdiPainter.h"

#include <optional>
#include <string>

struct GlyphRun
{
    RealFont* pFont = nullptr;
    std::u32string text;
    int nUnderlineIndex = -1; // the prefix-underlined character
    // The reference point in device pixels and how the run aligns to it
    // (TA_LEFT, TA_CENTER, TA_RIGHT with TA_TOP, TA_BASELINE, TA_BOTTOM).
    POINT origin{0, 0};
    UINT nAlign = TA_LEFT | TA_TOP;
    std::uint32_t textColor = 0;
    // The text cell takes the background colour when opaque.
    bool bOpaque = false;
    std::uint32_t bkColor = 0;
    // Filled with the background colour instead of the cell (device pixels).
    std::optional<RECT> opaqueRect;
};

// The advances of a run's characters in 26.6 pixels, and their sum in
// whole pixels.
std::vector<std::int64_t> GetAdvances(RealFont& font, const std::u32string& text);
int GetTextWidth(RealFont& font, const std::u32string& text);
