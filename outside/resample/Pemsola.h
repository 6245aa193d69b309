// Entries of the resampling library "Pemsola.dll" (libPemsola.so), which the
// DICOM and matrix libraries load by file name. Plain C entries; nothing else
// is exported.
//
// Each entry scales the rectangle (nSrcX, nSrcY, nSrcW, nSrcH) of a source
// image of nSrcWidth x nSrcHeight pixels onto the rectangle (nDstX, nDstY,
// nDstW, nDstH) of a destination image of nDstWidth x nDstHeight pixels. Images
// are rows of pixels without padding, top row first; ResampleColor24 pixels are
// three interleaved 8-bit samples, each filtered on its own. Destination pixels
// outside the rectangle are left as they are. Pixel centres are aligned (the
// corners of the rectangles meet), and samples beyond the edge of the source
// rectangle repeat its edge.
//
// nMode 1 is for display: a Lanczos filter of three lobes, widened by the
// scale factor when shrinking so that fine detail averages out instead of
// aliasing. Any other mode (the callers pass 0) is bilinear interpolation of
// the four nearest source pixels. Results are rounded to the nearest value
// and clamped to the range of the sample type.
//
// Returns 1, or 0 without touching the destination when a buffer is null, a
// size is not positive or a rectangle does not lie within its image.
#pragma once

#define PEMSOLA_ENTRY extern "C" __attribute__((visibility("default")))

PEMSOLA_ENTRY int ResampleU8(const unsigned char* pSrc, int nSrcWidth, int nSrcHeight, int nSrcX,
                             int nSrcY, int nSrcW, int nSrcH, unsigned char* pDst, int nDstWidth,
                             int nDstHeight, int nDstX, int nDstY, int nDstW, int nDstH, int nMode);
PEMSOLA_ENTRY int ResampleS8(const signed char* pSrc, int nSrcWidth, int nSrcHeight, int nSrcX,
                             int nSrcY, int nSrcW, int nSrcH, signed char* pDst, int nDstWidth,
                             int nDstHeight, int nDstX, int nDstY, int nDstW, int nDstH, int nMode);
PEMSOLA_ENTRY int ResampleU16(const unsigned short* pSrc, int nSrcWidth, int nSrcHeight, int nSrcX,
                              int nSrcY, int nSrcW, int nSrcH, unsigned short* pDst, int nDstWidth,
                              int nDstHeight, int nDstX, int nDstY, int nDstW, int nDstH,
                              int nMode);
PEMSOLA_ENTRY int ResampleS16(const short* pSrc, int nSrcWidth, int nSrcHeight, int nSrcX,
                              int nSrcY, int nSrcW, int nSrcH, short* pDst, int nDstWidth,
                              int nDstHeight, int nDstX, int nDstY, int nDstW, int nDstH,
                              int nMode);
PEMSOLA_ENTRY int ResampleColor24(const unsigned char* pSrc, int nSrcWidth, int nSrcHeight,
                                  int nSrcX, int nSrcY, int nSrcW, int nSrcH, unsigned char* pDst,
                                  int nDstWidth, int nDstHeight, int nDstX, int nDstY, int nDstW,
                                  int nDstH, int nMode);

template <typename Sample>
using PFN_Resample = int (*)(const Sample*, int, int, int, int, int, int, Sample*, int, int, int,
                             int, int, int, int);
