// Bitmap objects: device-dependent bitmaps (monochrome or 32-bit rows) and
// DIB sections, which drawing reads and writes in their own format.
#pragma once

#include "GdiObject.h"
#include "PixelSurface.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class GdiBitmap : public GdiObject
{
public:
    static constexpr enGdiKind kKind = enGdiKind::Bitmap;

    // A DDB: monochrome when bitCount is 1, else 32 bits per pixel.
    GdiBitmap(int width, int height, bool monochrome);
    // A DIB section of that layout (its colour table included).
    explicit GdiBitmap(const DibLayout& layout);

    int GetWidth() const { return m_surface.GetWidth(); }
    int GetHeight() const { return m_surface.GetHeight(); }
    bool IsMonochrome() const { return m_surface.IsMonochrome(); }
    bool IsDibSection() const { return m_bits != nullptr; }
    void* GetBits() { return m_bits.get(); }
    unsigned GetBitsPixel() const;
    const DibLayout& GetLayout() const { return m_layout; }
    // Replaces colour table entries [start, start + count) of a DIB section.
    void SetColors(unsigned start, unsigned count, const RGBQUAD* colors);

    // The pixels as drawing sees them; a DIB section's bits themselves.
    const PixelSurface& GetSurface() const { return m_surface; }

    void FillBitmapInfo(BITMAP& bm);

    // The DC the bitmap is selected into (a bitmap lives in one DC at a time).
    void* m_pSelectedIn = nullptr;

private:
    PixelSurface m_surface;
    std::vector<std::uint32_t> m_pixels; // DDB pixels
    std::unique_ptr<std::uint8_t[]> m_bits;
    DibLayout m_layout;
    // Colours to table entries for drawing on a DIB section with a table.
    std::optional<NearestColor> m_nearest;
};
