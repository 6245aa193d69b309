// Encode and decode through "Quoral2K.dll": lossless round trips for every
// layout and sign, lossy quality and ratio, and the stream kinds accepted.
#include "Quoral2KFixture.h"

#include <openjpeg.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
// Smooth gradients with a little noise, over the whole range of the samples.
ByteVector MakePixels(size_t nRows, size_t nColumns, size_t nBytesPerPixel)
{
    ByteVector pixels(nRows * nColumns * nBytesPerPixel);
    uint32_t nState = 2024;
    for (size_t i = 0; i < pixels.size(); ++i)
    {
        nState = nState * 1664525u + 1013904223u;
        const size_t nPixel = i / nBytesPerPixel;
        const size_t nRow = nPixel / nColumns;
        const size_t nColumn = nPixel % nColumns;
        pixels[i] =
            static_cast<uint8_t>(nRow * 3 + nColumn * 5 + i % nBytesPerPixel * 40 + (nState >> 29));
    }
    return pixels;
}

// A smooth picture with a little noise, as photographs and scans are.
ByteVector MakeSmoothPixels(size_t nRows, size_t nColumns, size_t nSamples)
{
    ByteVector pixels(nRows * nColumns * nSamples);
    uint32_t nState = 77;
    for (size_t i = 0; i < pixels.size(); ++i)
    {
        nState = nState * 1664525u + 1013904223u;
        const double row = static_cast<double>(i / nSamples / nColumns);
        const double column = static_cast<double>(i / nSamples % nColumns);
        const double phase = static_cast<double>(i % nSamples);
        const double value = 120.0 + 90.0 * std::sin(row / 23.0 + phase) * std::cos(column / 17.0);
        pixels[i] = static_cast<uint8_t>(value + (nState >> 30));
    }
    return pixels;
}

// Peak signal to noise ratio of 8-bit samples.
double GetPsnr(const ByteVector& a, const ByteVector& b)
{
    double sum = 0.0;
    for (size_t i = 0; i < a.size(); ++i)
    {
        const double d = static_cast<double>(a[i]) - static_cast<double>(b[i]);
        sum += d * d;
    }
    const double mse = sum / static_cast<double>(a.size());
    return mse == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

struct LosslessCase
{
    const char* pLayout; // "8Bit", "16Bit" or "RGB"
    int nSigned;
    int nRows;
    int nColumns;
};

std::string GetLosslessName(const ::testing::TestParamInfo<LosslessCase>& info)
{
    return std::string(info.param.pLayout) + (info.param.nSigned ? "_signed_" : "_unsigned_") +
           std::to_string(info.param.nRows) + "x" + std::to_string(info.param.nColumns);
}
} // namespace

class J2kLossless : public Quoral2KFixture, public ::testing::WithParamInterface<LosslessCase>
{
};

TEST_P(J2kLossless, RoundTripGivesTheInputBack)
{
    const LosslessCase& c = GetParam();
    const std::string layout = c.pLayout;
    const size_t nBytes = GetEntryPixelBytes(layout);
    ByteVector raw =
        MakePixels(static_cast<size_t>(c.nRows), static_cast<size_t>(c.nColumns), nBytes);
    // The extremes of the sample range must survive too.
    std::memset(raw.data(), 0xFF, nBytes);
    std::memset(raw.data() + raw.size() - nBytes, 0x00, nBytes);
    raw[raw.size() - 1] = 0x80;

    const auto codestream = Encode("JP2_" + layout + "Encode", raw, c.nRows, c.nColumns, c.nSigned);
    ASSERT_TRUE(codestream.has_value());
    for (const char* pPrefix : {"JP2_", "JPC_"})
    {
        const auto decoded = Decode(pPrefix + layout + "Decode", *codestream, nBytes);
        ASSERT_TRUE(decoded.has_value()) << pPrefix;
        EXPECT_EQ(decoded->nRows, c.nRows);
        EXPECT_EQ(decoded->nColumns, c.nColumns);
        EXPECT_EQ(decoded->pixels, raw) << pPrefix;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, J2kLossless,
    ::testing::Values(LosslessCase{"8Bit", 0, 1, 1}, LosslessCase{"8Bit", 0, 64, 64},
                      LosslessCase{"8Bit", 1, 37, 91}, LosslessCase{"16Bit", 0, 3, 7},
                      LosslessCase{"16Bit", 0, 512, 512}, LosslessCase{"16Bit", 1, 130, 257},
                      LosslessCase{"RGB", 0, 1, 2}, LosslessCase{"RGB", 0, 100, 100},
                      LosslessCase{"RGB", 1, 33, 17}),
    GetLosslessName);

class J2kEncode : public Quoral2KFixture
{
};

TEST_F(J2kEncode, WritesABareCodestream)
{
    const ByteVector raw = MakePixels(16, 16, 1);
    const auto codestream = Encode("JP2_8BitEncode", raw, 16, 16, 0);
    ASSERT_TRUE(codestream.has_value());
    ASSERT_GE(codestream->size(), 6u);
    EXPECT_EQ(ByteVector(codestream->begin(), codestream->begin() + 4),
              (ByteVector{0xFF, 0x4F, 0xFF, 0x51}));
    EXPECT_EQ(ByteVector(codestream->end() - 2, codestream->end()), (ByteVector{0xFF, 0xD9}));
}

struct LossyCase
{
    const char* pLayout;
    size_t nBytesPerPixel;
};

class J2kLossy : public Quoral2KFixture, public ::testing::WithParamInterface<LossyCase>
{
};

TEST_P(J2kLossy, KeepsDisplayQualityAtTheCompressionRatio)
{
    const std::string layout = GetParam().pLayout;
    const ByteVector raw = MakeSmoothPixels(256, 256, GetParam().nBytesPerPixel);
    const auto codestream = Encode("JPC_" + layout + "Encode", raw, 256, 256, 0);
    ASSERT_TRUE(codestream.has_value());
    EXPECT_LE(codestream->size(), raw.size() / 8);

    const auto decoded = Decode("JPC_" + layout + "Decode", *codestream, GetParam().nBytesPerPixel);
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->pixels.size(), raw.size());
    EXPECT_GE(GetPsnr(decoded->pixels, raw), 38.0);
}

INSTANTIATE_TEST_SUITE_P(Layouts, J2kLossy,
                         ::testing::Values(LossyCase{"8Bit", 1}, LossyCase{"RGB", 3}),
                         [](const ::testing::TestParamInfo<LossyCase>& info)
                         { return std::string(info.param.pLayout); });

TEST_F(J2kLossy, SixteenBitStaysCloseAndInRange)
{
    // Unsigned 12-bit values in 16-bit samples, as CT images store them.
    ByteVector raw(128 * 128 * 2);
    for (size_t i = 0; i < raw.size() / 2; ++i)
    {
        const uint16_t nValue = static_cast<uint16_t>((i % 128) * 32 + (i / 128) % 3);
        raw[2 * i] = static_cast<uint8_t>(nValue);
        raw[2 * i + 1] = static_cast<uint8_t>(nValue >> 8);
    }
    const auto codestream = Encode("JPC_16BitEncode", raw, 128, 128, 0);
    ASSERT_TRUE(codestream.has_value());
    const auto decoded = Decode("JPC_16BitDecode", *codestream, 2);
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->pixels.size(), raw.size());
    int nWorst = 0;
    for (size_t i = 0; i < raw.size() / 2; ++i)
    {
        const int nIn = raw[2 * i] | raw[2 * i + 1] << 8;
        const int nOut = decoded->pixels[2 * i] | decoded->pixels[2 * i + 1] << 8;
        nWorst = std::max(nWorst, std::abs(nIn - nOut));
    }
    EXPECT_LE(nWorst, 64);
}

TEST_F(J2kEncode, EightBitStreamDecodesThroughTheSixteenBitEntry)
{
    const ByteVector raw = MakePixels(9, 11, 1);
    const auto codestream = Encode("JP2_8BitEncode", raw, 9, 11, 1);
    ASSERT_TRUE(codestream.has_value());
    const auto decoded = Decode("JP2_16BitDecode", *codestream, 2);
    ASSERT_TRUE(decoded.has_value());
    for (size_t i = 0; i < raw.size(); ++i)
    {
        const auto nWide =
            static_cast<int16_t>(decoded->pixels[2 * i] | decoded->pixels[2 * i + 1] << 8);
        ASSERT_EQ(nWide, static_cast<int8_t>(raw[i])) << i;
    }
}

namespace
{
// The JP2 writer seeks back to fill in box lengths.
struct WriteBuffer
{
    ByteVector bytes;
    size_t nPos = 0;
};

OPJ_SIZE_T WriteToBuffer(void* pData, OPJ_SIZE_T nBytes, void* pUser)
{
    auto* pBuffer = static_cast<WriteBuffer*>(pUser);
    pBuffer->bytes.resize(std::max(pBuffer->bytes.size(), pBuffer->nPos + nBytes));
    std::memcpy(pBuffer->bytes.data() + pBuffer->nPos, pData, nBytes);
    pBuffer->nPos += nBytes;
    return nBytes;
}

OPJ_OFF_T SkipInBuffer(OPJ_OFF_T nBytes, void* pUser)
{
    static_cast<WriteBuffer*>(pUser)->nPos += static_cast<size_t>(nBytes);
    return nBytes;
}

OPJ_BOOL SeekInBuffer(OPJ_OFF_T nPos, void* pUser)
{
    static_cast<WriteBuffer*>(pUser)->nPos = static_cast<size_t>(nPos);
    return OPJ_TRUE;
}

// A JP2 file (boxes around the codestream) of 8-bit grey pixels, written by
// OpenJPEG directly.
ByteVector MakeJp2File(const ByteVector& raw, uint32_t nRows, uint32_t nColumns)
{
    opj_image_cmptparm_t component{};
    component.dx = component.dy = 1;
    component.w = nColumns;
    component.h = nRows;
    component.prec = 8;
    opj_image_t* pImage = opj_image_create(1, &component, OPJ_CLRSPC_GRAY);
    pImage->x1 = nColumns;
    pImage->y1 = nRows;
    for (size_t i = 0; i < raw.size(); ++i)
    {
        pImage->comps[0].data[i] = raw[i];
    }
    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.numresolution = 3;
    opj_codec_t* pCodec = opj_create_compress(OPJ_CODEC_JP2);
    WriteBuffer buffer;
    opj_stream_t* pStream = opj_stream_create(0x10000, OPJ_FALSE);
    opj_stream_set_user_data(pStream, &buffer, nullptr);
    opj_stream_set_write_function(pStream, WriteToBuffer);
    opj_stream_set_skip_function(pStream, SkipInBuffer);
    opj_stream_set_seek_function(pStream, SeekInBuffer);
    const bool bDone = opj_setup_encoder(pCodec, &parameters, pImage) &&
                       opj_start_compress(pCodec, pImage, pStream) && opj_encode(pCodec, pStream) &&
                       opj_end_compress(pCodec, pStream);
    opj_stream_destroy(pStream);
    opj_destroy_codec(pCodec);
    opj_image_destroy(pImage);
    return bDone ? buffer.bytes : ByteVector{};
}
} // namespace

TEST_F(J2kEncode, Jp2FileDecodesLikeACodestream)
{
    const ByteVector raw = MakePixels(40, 24, 1);
    const ByteVector file = MakeJp2File(raw, 40, 24);
    ASSERT_FALSE(file.empty());
    ASSERT_EQ(file[4], 'j');
    const auto decoded = Decode("JP2_8BitDecode", file, 1);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->nRows, 40);
    EXPECT_EQ(decoded->nColumns, 24);
    EXPECT_EQ(decoded->pixels, raw);
}
