// What the packed-DIB painters and the DIB object share: the palette
// selection around a paint, the 1:1 or stretched transfer of rows, and the
// logical palette of a colour table.
#pragma once

#include "WinGdi.h"

#include <cstddef>

// Selects a palette (when given) and realises it on request; the destructor
// selects the previous one back in the background.
class PaletteScope
{
public:
    PaletteScope(HDC hdc, HPALETTE palette, BOOL background, bool realise);
    ~PaletteScope();
    PaletteScope(const PaletteScope&) = delete;
    PaletteScope& operator=(const PaletteScope&) = delete;

private:
    HDC m_hdc;
    HPALETTE m_old = nullptr;
};

// Sets COLORONCOLOR and draws the source rectangle (top-down coordinates)
// of the rows onto the destination: 1:1 through SetDIBitsToDevice, else
// stretched through StretchDIBits. The GDI call's result.
int PaintDibRows(HDC hdc, const RECT& dst, const RECT& src, const BITMAPINFO* info,
                 const void* bits, int height, bool allowStretch);

// A logical palette (version 0x300) of count table entries entrySize bytes
// apart, each blue, green, red; null when count is 0 or creation fails.
HPALETTE CreateTablePalette(const void* table, unsigned count, std::size_t entrySize);
