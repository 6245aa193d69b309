// Entries of the automatic window/level library "Wexalo.dll" (libWexalo.so),
// which the viewer loads by file name. Plain C entries; nothing else is
// exported.
//
// Each entry estimates, from the histogram of one frame, the window centre
// and width of a sigmoid VOI function
//     y = 1 / (1 + exp(-4 (x - centre) / width))
// that spreads the frame's samples evenly over the display range:
//  1. The samples of rows and columns m .. size - m - 1 are counted, with
//     m = trunc(border x min(width, height)): the frame's edge, often a
//     collimator shadow or a label, stays out.
//  2. The fraction `low` of the counted samples at the dark end and `high`
//     at the bright end are set aside, so that a few extreme samples cannot
//     stretch the window.
//  3. A logistic curve, the shape of the sigmoid itself, is fitted to the
//     cumulative histogram over the samples kept: for each sample value x
//     the share P of counted samples below it (its own counted half)
//     gives the point (x, ln(P / (1 - P))), which lies on the straight
//     line 4 (x - centre) / width when the curve fits; the least-squares
//     line through the points, each weighted by its value's count, gives
//     the centre (where the line crosses 0) and the width (4 / slope).
// Mapping a frame through the sigmoid so found flattens its histogram: the
// curve follows the frame's own distribution of values. When every kept
// sample has one value the width is 1 and the centre that value.
//
// Arguments: the three fractions, the samples (rows x columns, row after
// row, no padding), width = columns, height = rows, the bits stored (taken
// for the callers' sake: every sample counts at its full value), and the
// two results. The results are rounded to the nearest integer, the width is
// at least 1.
//
// Returns 1, or 0 with both results untouched when a pointer is null, a size
// is not positive, border is not in [0, 0.5), low or high is negative or
// their sum is 1 or more.
#pragma once

#define WEXALO_ENTRY extern "C" __attribute__((visibility("default")))

// Unsigned 8-bit samples.
WEXALO_ENTRY int AutoWindowLevel_UINT8(float border, float low, float high,
                                       const unsigned char* pPixels, int nWidth, int nHeight,
                                       int nBits, int* pWindowWidth, int* pWindowCentre);
// Signed (two's complement) 16-bit samples.
WEXALO_ENTRY int AutoWindowLevel_INT16(float border, float low, float high, const short* pPixels,
                                       int nWidth, int nHeight, int nBits, int* pWindowWidth,
                                       int* pWindowCentre);
// Unsigned 16-bit samples.
WEXALO_ENTRY int AutoWindowLevel_UINT16(float border, float low, float high,
                                        const unsigned short* pPixels, int nWidth, int nHeight,
                                        int nBits, int* pWindowWidth, int* pWindowCentre);

template <typename Sample>
using PFN_AutoWindowLevel = int (*)(float, float, float, const Sample*, int, int, int, int*, int*);
