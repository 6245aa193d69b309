// The drawing tools and other objects a DC selects: pens, brushes, fonts,
// palettes and regions.
#pragma once

#include "GdiBitmap.h"
#include "GdiObject.h"
#include "Region.h"

#include <vector>

class GdiPen : public GdiObject
{
public:
    static constexpr enGdiKind kKind = enGdiKind::Pen;
    GdiPen(int style, int width, COLORREF color, bool geometric)
        : GdiObject(kKind), m_nStyle(style), m_nWidth(width), m_color(color),
          m_bGeometric(geometric)
    {
    }

    int m_nStyle; // PS_SOLID ... PS_NULL
    int m_nWidth; // 0 and 1 are one-pixel pens
    COLORREF m_color;
    bool m_bGeometric;
};

class GdiBrush : public GdiObject
{
public:
    static constexpr enGdiKind kKind = enGdiKind::Brush;
    GdiBrush(UINT style, COLORREF color, int hatch)
        : GdiObject(kKind), m_nStyle(style), m_color(color), m_nHatch(hatch)
    {
    }

    UINT m_nStyle; // BS_SOLID, BS_NULL, BS_HATCHED, BS_PATTERN
    COLORREF m_color;
    int m_nHatch;
    // BS_PATTERN: a copy of the bitmap's pixels, taken at creation.
    std::vector<std::uint32_t> m_pattern;
    int m_nPatternWidth = 0;
    int m_nPatternHeight = 0;
    bool m_bPatternMonochrome = false;
};

class GdiFont : public GdiObject
{
public:
    static constexpr enGdiKind kKind = enGdiKind::Font;
    explicit GdiFont(const LOGFONTA& font) : GdiObject(kKind), m_logFont(font) {}

    LOGFONTA m_logFont;
};

class GdiPalette : public GdiObject
{
public:
    static constexpr enGdiKind kKind = enGdiKind::Palette;
    explicit GdiPalette(std::vector<PALETTEENTRY> entries)
        : GdiObject(kKind), m_entries(std::move(entries))
    {
    }

    std::vector<PALETTEENTRY> m_entries;
};

class GdiRegion : public GdiObject
{
public:
    static constexpr enGdiKind kKind = enGdiKind::Region;
    explicit GdiRegion(Region region) : GdiObject(kKind), m_region(std::move(region)) {}

    Region m_region;
};
