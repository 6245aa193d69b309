// "Quoral2K.dll" refuses bad arguments and damaged, truncated, oversized or
// mismatched streams with null, and exports only its entries.
#include "CorpusFrames.h"
#include "J2kSizeSegment.h"
#include "Quoral2KFixture.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace
{
ByteVector MakeGreyPixels(size_t nCount, size_t nBytesPerPixel)
{
    ByteVector pixels(nCount * nBytesPerPixel);
    for (size_t i = 0; i < pixels.size(); ++i)
    {
        pixels[i] = static_cast<uint8_t>((i * 7) ^ (i >> 5));
    }
    return pixels;
}

ByteVector MakeNoise(size_t nLength, uint32_t nSeed)
{
    ByteVector bytes(nLength);
    for (uint8_t& byte : bytes)
    {
        nSeed = nSeed * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(nSeed >> 24);
    }
    return bytes;
}

void WriteBigEndian32(ByteVector& bytes, size_t nPos, uint32_t nValue)
{
    for (size_t i = 0; i < 4; ++i)
    {
        bytes[nPos + i] = static_cast<uint8_t>(nValue >> (24 - 8 * i));
    }
}
} // namespace

class J2kMalformed : public Quoral2KFixture
{
protected:
    ByteVector EncodeOrFail(const std::string& entry, size_t nRows, size_t nColumns,
                            size_t nBytesPerPixel)
    {
        const auto codestream = Encode(entry, MakeGreyPixels(nRows * nColumns, nBytesPerPixel),
                                       static_cast<int>(nRows), static_cast<int>(nColumns), 0);
        EXPECT_TRUE(codestream.has_value());
        return codestream.value_or(ByteVector{});
    }
};

TEST_F(J2kMalformed, ExportsEveryEntryAndNothingElse)
{
    for (const char* pPrefix : {"JP2_", "JPC_"})
    {
        for (const char* pLayout : {"8Bit", "16Bit", "RGB"})
        {
            EXPECT_NE(GetEncoder(std::string(pPrefix) + pLayout + "Encode"), nullptr);
            EXPECT_NE(GetDecoder(std::string(pPrefix) + pLayout + "Decode"), nullptr);
        }
    }
    EXPECT_EQ(m_library.GetEntry<void*>("_ZN10J2kDecoder8DoDecodeEPKhm"), nullptr);
    m_pDelete(nullptr);
}

TEST_F(J2kMalformed, RefusesBadDecodeArguments)
{
    const ByteVector codestream = EncodeOrFail("JP2_8BitEncode", 8, 8, 1);
    const PFN_J2kDecode pDecode = GetDecoder("JP2_8BitDecode");
    int nRows = -1;
    int nColumns = -1;
    EXPECT_EQ(pDecode(codestream.data(), nullptr, &nColumns, static_cast<int>(codestream.size())),
              nullptr);
    EXPECT_EQ(pDecode(codestream.data(), &nRows, nullptr, static_cast<int>(codestream.size())),
              nullptr);
    EXPECT_EQ(pDecode(nullptr, &nRows, &nColumns, static_cast<int>(codestream.size())), nullptr);
    EXPECT_EQ(nRows, 0);
    EXPECT_EQ(nColumns, 0);
    EXPECT_EQ(Decode("JP2_8BitDecode", codestream.data(), 0, 1), std::nullopt);
    EXPECT_EQ(Decode("JP2_8BitDecode", codestream.data(), -5, 1), std::nullopt);
}

TEST_F(J2kMalformed, RefusesBadEncodeArguments)
{
    const ByteVector raw = MakeGreyPixels(16, 2);
    const PFN_J2kEncode pEncode = GetEncoder("JP2_16BitEncode");
    int nOutLength = -1;
    EXPECT_EQ(pEncode(raw.data(), 4, 4, nullptr, 0), nullptr);
    EXPECT_EQ(pEncode(nullptr, 4, 4, &nOutLength, 0), nullptr);
    EXPECT_EQ(nOutLength, 0);
    EXPECT_EQ(Encode("JP2_16BitEncode", raw, 0, 4, 0), std::nullopt);
    EXPECT_EQ(Encode("JP2_16BitEncode", raw, 4, -4, 0), std::nullopt);
    EXPECT_EQ(Encode("JP2_16BitEncode", raw, 70000, 1, 0), std::nullopt);
}

TEST_F(J2kMalformed, RefusesStreamsThatDoNotFitTheEntry)
{
    const ByteVector colour = EncodeOrFail("JP2_RGBEncode", 8, 8, 3);
    const ByteVector wide = EncodeOrFail("JP2_16BitEncode", 8, 8, 2);
    const ByteVector grey = EncodeOrFail("JP2_8BitEncode", 8, 8, 1);
    EXPECT_EQ(Decode("JP2_8BitDecode", colour, 1), std::nullopt);
    EXPECT_EQ(Decode("JP2_16BitDecode", colour, 2), std::nullopt);
    EXPECT_EQ(Decode("JP2_8BitDecode", wide, 1), std::nullopt);
    EXPECT_EQ(Decode("JP2_RGBDecode", wide, 3), std::nullopt);
    EXPECT_EQ(Decode("JP2_RGBDecode", grey, 3), std::nullopt);
}

TEST_F(J2kMalformed, EveryTruncationIsRefused)
{
    const ByteVector codestream = EncodeOrFail("JP2_16BitEncode", 48, 40, 2);
    ASSERT_TRUE(Decode("JP2_16BitDecode", codestream, 2).has_value());
    for (size_t nLength = 0; nLength < codestream.size(); ++nLength)
    {
        ASSERT_EQ(Decode("JP2_16BitDecode", codestream.data(), static_cast<int>(nLength), 2),
                  std::nullopt)
            << nLength << " of " << codestream.size();
    }
}

TEST_F(J2kMalformed, RefusesGarbage)
{
    const ByteVector noise = MakeNoise(4000, 7);
    EXPECT_EQ(Decode("JPC_8BitDecode", noise, 1), std::nullopt);

    ByteVector fakeCodestream = noise;
    fakeCodestream[0] = 0xFF;
    fakeCodestream[1] = 0x4F;
    fakeCodestream[2] = 0xFF;
    fakeCodestream[3] = 0x51;
    EXPECT_EQ(Decode("JPC_8BitDecode", fakeCodestream, 1), std::nullopt);

    ByteVector fakeJp2 = noise;
    const uint8_t signature[] = {0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50,
                                 0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A};
    std::copy(std::begin(signature), std::end(signature), fakeJp2.begin());
    EXPECT_EQ(Decode("JPC_8BitDecode", fakeJp2, 1), std::nullopt);
}

TEST_F(J2kMalformed, RefusesImagesLargerThanAFrameCanBe)
{
    ByteVector codestream = EncodeOrFail("JP2_8BitEncode", 8, 8, 1);
    // SIZ: Xsiz, Ysiz at bytes 8 and 12, XTsiz, YTsiz at 24 and 28.
    for (size_t nPos : {8u, 12u, 24u, 28u})
    {
        WriteBigEndian32(codestream, nPos, 70000);
    }
    EXPECT_EQ(Decode("JP2_8BitDecode", codestream, 1), std::nullopt);
}

TEST_F(J2kMalformed, SurvivesDamagedCodeBlocks)
{
    const ByteVector codestream = EncodeOrFail("JP2_8BitEncode", 64, 64, 1);
    for (uint32_t nSeed = 1; nSeed <= 200; ++nSeed)
    {
        ByteVector damaged = codestream;
        const ByteVector noise = MakeNoise(8, nSeed);
        const size_t nPos = 60 + (nSeed * 37) % (damaged.size() - 70);
        std::copy(noise.begin(), noise.end(), damaged.begin() + static_cast<std::ptrdiff_t>(nPos));
        const auto decoded = Decode("JP2_8BitDecode", damaged, 1);
        if (decoded.has_value())
        {
            EXPECT_EQ(decoded->nRows, 64);
            EXPECT_EQ(decoded->nColumns, 64);
        }
    }
}

TEST_F(J2kMalformed, CorpusStreamWithOverwrittenBytesIsRefused)
{
    if (!IsCorpusPresent())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    // Four bytes of this codestream were replaced by a sequence delimiter.
    const std::vector<ByteVector> frames = ReadEncapsulatedFrames(
        GetCorpusPath("pydicom/test_files/JPEG2000-embedded-sequence-delimiter.dcm"), 1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(Decode("JPC_16BitDecode", frames[0], 2), std::nullopt);
}

// A fuzzing find: 155 bytes that declare a 16,711,936 x 1,024 image in 65,281
// tiles. The seed's first byte picks the fuzz target's entry.
TEST_F(J2kMalformed, TileFloodIsRefusedFromItsSizeSegment)
{
    const std::ifstream file(std::string(SUITE_SOURCE_DIR) +
                                 "/fuzz/jpeg2000/seeds/j2k-tile-flood.j2k",
                             std::ios::binary);
    const ByteVector seed((std::istreambuf_iterator<char>(file.rdbuf())),
                          std::istreambuf_iterator<char>());
    ASSERT_EQ(seed.size(), 155u);
    const ByteVector stream(seed.begin() + 1, seed.end());
    J2kSizeSegment size;
    ASSERT_TRUE(ReadSizeSegment(stream.data(), stream.size(), size));
    EXPECT_EQ(size.nWidth, 16711936u);
    EXPECT_EQ(size.nHeight, 1024u);
    EXPECT_EQ(size.nTileCount, 65281u);
    for (const auto& [entry, nBytes] :
         {std::pair{"JPC_8BitDecode", 1}, std::pair{"JPC_16BitDecode", 2},
          std::pair{"JP2_RGBDecode", 3}})
    {
        EXPECT_FALSE(IsInProportion(size, nBytes == 3 ? enJ2kLayout::Rgb24 : enJ2kLayout::Grey8,
                                    stream.size()));
        EXPECT_EQ(Decode(entry, stream, nBytes), std::nullopt) << entry;
    }
}

TEST_F(J2kMalformed, RefusesSizeSegmentsOutOfProportion)
{
    const ByteVector good = EncodeOrFail("JP2_8BitEncode", 64, 64, 1);
    J2kSizeSegment size;
    ASSERT_TRUE(ReadSizeSegment(good.data(), good.size(), size));
    EXPECT_EQ(size.nTileCount, 1u);
    EXPECT_TRUE(IsInProportion(size, enJ2kLayout::Grey8, good.size()));
    ASSERT_TRUE(Decode("JP2_8BitDecode", good, 1).has_value());
    // SIZ after SOC: Xsiz at byte 8, XTsiz and YTsiz at 24 and 28, Csiz at
    // 40, the first component's Ssiz, XRsiz, YRsiz at 42 to 44.
    struct Patch
    {
        size_t nPos;
        uint32_t nValue;
        int nBytes;
    };
    struct Case
    {
        const char* name;
        std::vector<Patch> patches;
    };
    const Case cases[] = {
        {"one tile a pixel", {{24, 1, 4}, {28, 1, 4}}},
        {"tiles of 2 x 2 pixels", {{24, 2, 4}, {28, 2, 4}}},
        {"more components than the segment holds", {{40, 300, 2}}},
        {"half-resolution component", {{43, 2, 1}}},
        {"precision above the entry's", {{42, 11, 1}}},
        {"wider than a frame can be", {{8, 70000, 4}}},
    };
    ASSERT_LT(good.size(), 1024u * 14u);
    for (const Case& item : cases)
    {
        ByteVector bytes = good;
        for (const Patch& patch : item.patches)
        {
            for (int i = 0; i < patch.nBytes; ++i)
            {
                bytes[patch.nPos + i] =
                    static_cast<uint8_t>(patch.nValue >> (8 * (patch.nBytes - 1 - i)));
            }
        }
        J2kSizeSegment patched;
        const bool bRead = ReadSizeSegment(bytes.data(), bytes.size(), patched);
        EXPECT_FALSE(bRead && IsInProportion(patched, enJ2kLayout::Grey8, bytes.size()))
            << item.name;
        EXPECT_EQ(Decode("JP2_8BitDecode", bytes, 1), std::nullopt) << item.name;
    }
}
