// The parts of OpenJPEG the JPEG 2000 coders share: owning handles, streams
// over memory, message handlers that record failure instead of printing, and
// the sample layouts of the library's entries.
#pragma once

#include <openjpeg.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Sample layout of an entry: 8Bit, 16Bit or RGB.
enum class enJ2kLayout
{
    Grey8,
    Grey16,
    Rgb24
};

uint32_t GetComponentCount(enJ2kLayout layout);
uint32_t GetBytesPerSample(enJ2kLayout layout);
uint32_t GetMaxPrecision(enJ2kLayout layout);

// Rows and columns of DICOM images are 16-bit values, and no frame needs more
// than this many bytes; larger claims in a stream are refused before decoding.
constexpr uint32_t kMaxDimension = 65535;
constexpr size_t kMaxPixelBytes = size_t{1} << 30;

struct J2kCodecDeleter
{
    void operator()(opj_codec_t* pCodec) const { opj_destroy_codec(pCodec); }
};
struct J2kStreamDeleter
{
    void operator()(opj_stream_t* pStream) const { opj_stream_destroy(pStream); }
};
struct J2kImageDeleter
{
    void operator()(opj_image_t* pImage) const { opj_image_destroy(pImage); }
};
using J2kCodecPtr = std::unique_ptr<opj_codec_t, J2kCodecDeleter>;
using J2kStreamPtr = std::unique_ptr<opj_stream_t, J2kStreamDeleter>;
using J2kImagePtr = std::unique_ptr<opj_image_t, J2kImageDeleter>;

// Routes the codec's messages away from the console; an error sets *pFailed.
void SetQuietHandlers(opj_codec_t* pCodec, bool* pFailed);

// Compressed bytes being read; must outlive the stream made on it.
struct J2kReadSource
{
    const uint8_t* pData = nullptr;
    size_t nLength = 0;
    size_t nPos = 0;
};

// Compressed bytes being written; must outlive the stream made on it.
struct J2kWriteTarget
{
    std::vector<uint8_t> bytes;
    size_t nPos = 0;
};

J2kStreamPtr CreateReadStream(J2kReadSource& source);
J2kStreamPtr CreateWriteStream(J2kWriteTarget& target);
