// Entries of the RLE codec library "Vennet.dll" (libVennet.so), which the DICOM
// library loads by file name. Plain C entries; nothing else is exported.
#pragma once

#define VENNET_ENTRY extern "C" __attribute__((visibility("default")))

// Decodes one frame of DICOM RLE: the 64-byte header (segment count, then the
// offsets of up to 15 segments, little endian) followed by the PackBits segments.
//
// The segments are taken in the standard's order, the most significant byte of a
// sample first and, for colour, one sample (plane) after the other. The segment
// count gives the layout: 1 = 8-bit grey, 2 = 16-bit grey, 3 = 8-bit colour,
// 4 = 32-bit grey, 6 = 16-bit colour, 12 = 32-bit colour. The result holds the
// pixels in the layout of uncompressed little-endian pixel data: pixel after
// pixel, the samples of a pixel interleaved (R, G, B), each sample least
// significant byte first. Every segment must expand to the same number of bytes,
// which is the pixel count.
//
// Returns a buffer of *pOutLength bytes, freed with Vennet_DEL, or null (and
// *pOutLength 0) for malformed, truncated or inconsistent input.
VENNET_ENTRY unsigned char* RLE_Dec(const unsigned char* pData, int nLength, int* pOutLength);

// Releases a buffer returned by RLE_Dec; null is ignored.
VENNET_ENTRY void Vennet_DEL(unsigned char* pBuffer);

using PFN_RLE_Dec = unsigned char* (*)(const unsigned char*, int, int*);
using PFN_Vennet_DEL = void (*)(unsigned char*);
