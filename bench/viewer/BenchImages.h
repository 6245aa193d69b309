// Images the viewer's benchmarks make in memory.
#pragma once

#include "DICOMImage.h"

// The pixel description of a square monochrome image of 16-bit samples
// with 12 bits stored.
inline void AddMonochrome12(DICOMImage& image, int side)
{
    image.Add(0x0028, 0x0002, static_cast<unsigned short>(1));
    image.Add(0x0028, 0x0004, "MONOCHROME2");
    image.Add(0x0028, 0x0010, static_cast<unsigned short>(side));
    image.Add(0x0028, 0x0011, static_cast<unsigned short>(side));
    image.Add(0x0028, 0x0100, static_cast<unsigned short>(16));
    image.Add(0x0028, 0x0101, static_cast<unsigned short>(12));
    image.Add(0x0028, 0x0102, static_cast<unsigned short>(11));
    image.Add(0x0028, 0x0103, static_cast<unsigned short>(0));
}
