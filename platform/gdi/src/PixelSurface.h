// The pixels a drawing call reads and writes: rows of 32-bit pixels (DDBs,
// the screen, window surfaces, 32-bit DIB sections), or the bits of a DIB in
// its own format, of which a call converts only the pixels it touches.
#pragma once

#include "DibFormat.h"

#include <cstddef>
#include <cstdint>

class PixelSurface
{
public:
    PixelSurface() = default;
    // Rows of 0x00RRGGBB pixels; row 0 is the top row. Drawing onto a
    // monochrome surface keeps its pixels black or white.
    static PixelSurface Rows32(std::uint8_t* top, int width, int height, std::ptrdiff_t stride,
                               bool monochrome);
    // The stored rows of a DIB; nearest turns colours into table entries
    // (null for a DIB only read).
    static PixelSurface OfDib(std::uint8_t* bits, const DibLayout& layout, NearestColor* nearest);

    bool IsValid() const { return m_pTop != nullptr && m_nWidth > 0 && m_nHeight > 0; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    bool IsMonochrome() const { return m_bMonochrome; }
    // 32-bit rows that drawing edits in place.
    bool IsDirect() const { return m_pLayout == nullptr; }
    // An 8-bit DIB without compression, whose bytes are table entries.
    bool IsIndexed8() const;
    const DibLayout* GetLayout() const { return m_pLayout; }
    NearestColor* GetNearest() const { return m_pNearest; }
    // Whether two surfaces share their pixels.
    bool SharesPixelsWith(const PixelSurface& other) const { return m_pTop == other.m_pTop; }

    // Row y of a direct surface.
    std::uint32_t* Row(int y) const
    {
        return reinterpret_cast<std::uint32_t*>(m_pTop + y * m_nStride);
    }
    // The bytes of image row y (top row 0) of a DIB surface.
    std::uint8_t* DibRow(int y) const { return m_pTop + y * m_nStride; }

    // Pixels [x0, x1) of row y as 0x00RRGGBB.
    void Read(int y, int x0, int x1, std::uint32_t* out) const;
    // Writes pixels [x0, x1) of row y.
    void Write(int y, int x0, int x1, const std::uint32_t* in) const;
    // Sets pixels [x0, x1) of row y to one colour.
    void Fill(int y, int x0, int x1, std::uint32_t pixel) const;

private:
    std::uint8_t* m_pTop = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::ptrdiff_t m_nStride = 0;
    bool m_bMonochrome = false;
    const DibLayout* m_pLayout = nullptr;
    NearestColor* m_pNearest = nullptr;
};

// Colour to monochrome for drawing: nearer to white than to black.
std::uint32_t ToMonochrome(std::uint32_t pixel);
