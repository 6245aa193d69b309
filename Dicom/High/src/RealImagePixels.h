// Pixel work the real-valued image classes share: buffers, geometry on
// pixels of a given byte size, parts, display levels and the conversions of
// calibrated values. Buffers are new[] of bytes, rows from the top, no
// padding.
#pragma once

#include "DRect.h"
#include "ResampleCall.h"

#include <cstdint>
#include <limits>

namespace realimage
{

// A zeroed buffer of length bytes, or null (0 bytes or out of memory).
std::uint8_t* NewBuffer(std::uint64_t length);
// A copy of length bytes of source, or null.
std::uint8_t* CopyBuffer(const void* source, std::uint64_t length);
void FreeBuffer(void* buffer);

// Pixels of unit bytes each.
void FlipRows(std::uint8_t* pixels, int width, int height, int unit);
void MirrorRows(std::uint8_t* pixels, int width, int height, int unit);
void ReversePixels(std::uint8_t* pixels, std::uint64_t count, int unit);
// A new buffer of the pixels turned a quarter (counter-clockwise when
// clockwise is false), height x width; null when out of memory.
std::uint8_t* TurnQuarter(const std::uint8_t* pixels, int width, int height, int unit,
                          bool clockwise);

// The part of a width x height image the rectangle covers: normalised,
// negative edges moved to 0, right and bottom limited to the image. False
// when it is empty.
bool ClipPart(const DRect* rect, int width, int height, DRect& part);
// A new buffer holding the part's pixels, or null.
std::uint8_t* CopyPart(const std::uint8_t* pixels, int width, const DRect& part, int unit);

// Whether a source of sourceWidth x sourceHeight fits at (x, y) of the
// target (negative x and y are moved to 0 first).
bool FitsAt(int& x, int& y, int sourceWidth, int sourceHeight, int width, int height);

// Grey samples of source written into target at (x, y): mode bit 0 skips
// zero source samples, (mode >> 1) & 3 == 2 XORs instead of copying.
template <class Sample>
void PasteSamples(Sample* target, int width, const Sample* source, int sourceWidth,
                  int sourceHeight, int x, int y, int mode)
{
    const bool skipZero = (mode & 1) != 0;
    const bool exclusiveOr = ((mode >> 1) & 3) == 2;
    for (int row = 0; row < sourceHeight; ++row)
    {
        const Sample* from = source + std::int64_t(row) * sourceWidth;
        Sample* to = target + (std::int64_t(y) + row) * width + x;
        for (int column = 0; column < sourceWidth; ++column)
        {
            const Sample value = from[column];
            if (skipZero && value == 0)
                continue;
            to[column] = exclusiveOr ? Sample(to[column] ^ value) : value;
        }
    }
}

// Display level 8..243 of value within lo..hi (value limited to the range;
// 8 when the range is empty).
inline std::uint8_t DisplayLevel(int value, int lo, int hi)
{
    if (hi <= lo || value <= lo)
        return 8;
    if (value > hi)
        value = hi;
    return std::uint8_t(std::int64_t(value - lo) * 235 / (std::int64_t(hi) - lo) + 8);
}

// trunc(value), limited to the int range.
int TruncToInt(double value);
// trunc((value - intercept) / slope) limited to lo..hi; a slope of 0 is
// taken as 1.
int CalibratedToSample(int value, float intercept, float slope, int lo, int hi);

bool EqualsNoCase(const char* left, const char* right);

// Number of halvings that bring value to 0.
int CountBits(int value);
// The power-of-two edges enclosing a sample: 2^(bits - 1) below a positive
// value (0 for 0, -2^bits below a negative one) and 2^bits - 1 above.
int PowerOfTwoBelow(int value);
int PowerOfTwoAbove(int value);

// True when the resampling call was done; otherwise logs why not, naming
// the library (when none loaded) or the entry.
bool IsResampled(enResampleOutcome outcome, const char* library, const char* entry);

// Writes length bytes to a new file; false (logged) when it cannot be
// created or written.
bool WriteWholeFile(const char* path, const void* bytes, std::uint64_t length);

} // namespace realimage
