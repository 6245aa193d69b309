#include "RealImage.h"

RealImage16::RealImage16(std::uint16_t* pixels, int width, int height, int depth, int minImage,
                         int maxImage, int minSet, int maxSet, float intercept, float slope)
    : RealImageGrey(pixels, width, height, depth, minImage, maxImage, minSet, maxSet, intercept,
                    slope)
{
}

std::uint8_t* RealImage16::GetPixmap()
{
    unsigned char* table = m_lut.CreateLookupTableEx(m_nDepth);
    if (table == nullptr)
        return nullptr;
    std::uint8_t* pixmap = GetPixmapEx(table + LookupTable::SignedTableOffset);
    delete[] table;
    return pixmap;
}
