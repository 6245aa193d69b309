// The image and tile sizes a JPEG 2000 stream declares in its SIZ segment,
// read without OpenJPEG: reading the main header makes OpenJPEG set up every
// tile and component the segment declares, so a small stream can cost
// seconds and hundreds of megabytes before any size it declares is seen.
#pragma once

#include "J2kOpenJpeg.h"

#include <cstddef>
#include <cstdint>

struct J2kSizeSegment
{
    uint32_t nWidth = 0;
    uint32_t nHeight = 0;
    uint64_t nTileCount = 0;
    uint32_t nComponents = 0;
    // The largest precision of any component, and whether every component
    // covers the image at full resolution.
    uint32_t nMaxPrecision = 0;
    bool bFullResolution = true;
};

// Reads the SIZ segment of a bare codestream or of the codestream box of a JP2
// file; false when there is none or it is cut short or inconsistent.
bool ReadSizeSegment(const uint8_t* pData, size_t nLength, J2kSizeSegment& size);

// Whether a stream of nLength bytes with that SIZ segment can hold a frame of
// the layout: the layout's component count, at full resolution and within its
// precision, an image within the limits of a frame, and no more tiles than
// the stream has room for (every tile needs a tile-part header of its own).
bool IsInProportion(const J2kSizeSegment& size, enJ2kLayout layout, size_t nLength);
