// Test helper: makes DICOM RLE frames from known pixels, so that the decoder
// can be checked against the layout it must give back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using ByteVector = std::vector<uint8_t>;

// PackBits coding of one segment: repeats of three or more bytes become
// replicate runs, the rest literal runs, each at most 128 bytes long.
ByteVector EncodeRleSegment(const ByteVector& bytes);

// A whole frame: the 64-byte header and the given segments in order; each
// segment may be followed by the pad byte given (none when nPad is negative).
ByteVector BuildRleFrame(const std::vector<ByteVector>& segments, int nPad = -1);

// Splits interleaved little-endian pixels into the standard's segments (most
// significant byte first, one sample after the other) and codes them.
ByteVector EncodeRleFrame(const ByteVector& pixels, size_t nSamples, size_t nBytesPerSample,
                          int nPad = -1);
