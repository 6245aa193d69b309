#include "RealImage.h"

#include "RealImagePixels.h"

namespace
{

constexpr const char* PaletteColor = "PALETTE COLOR";

} // namespace

RealImage8::RealImage8(std::uint8_t* pixels, int width, int height, int depth, int minImage,
                       int maxImage, int minSet, int maxSet, float intercept, float slope)
    : RealImageGrey(pixels, width, height, depth, minImage, maxImage, minSet, maxSet, intercept,
                    slope)
{
}

// Palette indices are shown through the palette, not a window.
std::uint8_t* RealImage8::GetPixmap()
{
    if (realimage::EqualsNoCase(m_szPhotometric, PaletteColor))
        return realimage::CopyBuffer(m_pPixels, GetImageLength());
    unsigned char* table = m_lut.CreateLookupTable(m_nDepth);
    if (table == nullptr)
        return nullptr;
    std::uint8_t* pixmap = GetPixmap(table);
    delete[] table;
    return pixmap;
}
