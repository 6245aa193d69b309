// Shared vocabulary of the JPEG codec libraries "Quorex.dll" and "Quoral.dll".
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace quorex
{

// How the entries lay samples out in their pixel buffers: 8-bit grey (1 byte),
// 12- or 16-bit grey (2 bytes, little endian), 8-bit colour (R, G, B) or
// 8-bit colour as coded (three components, without a colour transform).
enum class enSampleLayout
{
    Grey8,
    Grey12,
    Grey16,
    Rgb,
    Coded
};

// The lossy DCT processes, in the order a stream gets more elaborate.
enum class enLossyProcess
{
    Baseline,
    Extended,
    SpectralSelection,
    FullProgression
};

// Buffers handed to the caller are released by "jpgdel" with delete[].
using ResultBuffer = std::unique_ptr<uint8_t[]>;

struct DecodedImage
{
    ResultBuffer pixels;
    int32_t nRows = 0;
    int32_t nColumns = 0;

    bool IsValid() const { return pixels != nullptr; }
};

// What our own decoders produce and our own encoders take: samples of up to
// 16 bits, the components of a pixel next to each other.
struct SampleImage
{
    int32_t nRows = 0;
    int32_t nColumns = 0;
    int32_t nComponents = 0;
    int32_t nPrecision = 0;
    std::vector<uint16_t> samples;
};

struct EncodedStream
{
    ResultBuffer data;
    size_t nLength = 0;

    bool IsValid() const { return data != nullptr; }
};

// Thrown by our own codecs on malformed input; the entries turn it into null.
class JpegFormatError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// No real image comes near this; it keeps a hostile stream from asking for
// more memory than a frame can need and keeps every length within an int.
constexpr size_t kMaxOutputBytes = size_t{1} << 30;

// Every entropy-coded 8x8 block costs at least one bit in its first scan and a
// block covers at most 256 pixels of the frame, so a DCT stream of n bytes can
// describe at most 2048 n pixels. Lossless samples cost at least one bit each.
constexpr size_t kMaxPixelsPerDctByte = 2048;
constexpr size_t kMaxSamplesPerLosslessByte = 8;

// The frame header stores dimensions in 16 bits.
constexpr int32_t kMaxDimension = 65535;

size_t GetBytesPerSample(enSampleLayout enLayout);
size_t GetComponentCount(enSampleLayout enLayout);

// Allocates a result buffer, or returns null when the size is out of bounds.
ResultBuffer AllocateResult(size_t nBytes);
// The stream in a result buffer; invalid when it cannot be allocated.
EncodedStream CopyToResult(const std::vector<uint8_t>& stream);

} // namespace quorex
