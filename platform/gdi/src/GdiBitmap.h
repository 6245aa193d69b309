// Bitmap objects: device-dependent bitmaps (monochrome or 32-bit) and DIB
// sections, all drawn through a 32-bit surface.
#pragma once

#include "DibFormat.h"
#include "GdiObject.h"
#include "GdiSurfaceHost.h"

#include <cstdint>
#include <memory>
#include <vector>

// A view of 32-bit pixels; row 0 is the top row.
struct Surface
{
    std::uint8_t* pTop = nullptr;
    int nWidth = 0;
    int nHeight = 0;
    std::ptrdiff_t nStride = 0;
    // Drawing onto a monochrome surface keeps pixels black or white.
    bool bMonochrome = false;

    std::uint32_t* Row(int y) const { return reinterpret_cast<std::uint32_t*>(pTop + y * nStride); }
    bool IsValid() const { return pTop != nullptr && nWidth > 0 && nHeight > 0; }
};

class GdiBitmap : public GdiObject
{
public:
    static constexpr enGdiKind kKind = enGdiKind::Bitmap;

    // A DDB: monochrome when bitCount is 1, else 32 bits per pixel.
    GdiBitmap(int width, int height, bool monochrome);
    // A DIB section of that layout (its colour table included).
    explicit GdiBitmap(const DibLayout& layout);

    int GetWidth() const { return m_surface.nWidth; }
    int GetHeight() const { return m_surface.nHeight; }
    bool IsMonochrome() const { return m_surface.bMonochrome; }
    bool IsDibSection() const { return m_bits != nullptr; }
    void* GetBits() { return m_bits.get(); }
    unsigned GetBitsPixel() const;
    DibLayout& GetLayout() { return m_layout; }

    // The pixels, brought up to date with the DIB section's bits first.
    Surface& BeginAccess();
    // Writes the surface back into the DIB section's bits after drawing,
    // rows [top, bottom) only when given.
    void EndWrite(int top = 0, int bottom = INT32_MAX);

    void FillBitmapInfo(BITMAP& bm);

    // The DC the bitmap is selected into (a bitmap lives in one DC at a time).
    void* m_pSelectedIn = nullptr;

private:
    Surface m_surface;
    std::vector<std::uint32_t> m_pixels; // DDB pixels or the DIB section's shadow
    std::unique_ptr<std::uint8_t[]> m_bits;
    DibLayout m_layout;
    bool m_bDirect = false; // the DIB section's bits are the surface itself
};

// Colour to monochrome for drawing: nearer to white than to black.
std::uint32_t ToMonochrome(std::uint32_t pixel);
