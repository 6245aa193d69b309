// Decode-into entries: the same pixels as the decode entries, written into
// the caller's buffer, and a plain refusal for everything they do not take,
// so that the caller can fall back to the decode entry.
#include "QuorexCaller.h"
#include "TestImages.h"

#include "Quorex.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
constexpr int kRows = 37;
constexpr int kColumns = 53;
constexpr int kQuality = 90;

const char* const kProcesses[] = {"JPEGBaseline", "JPEGExtendedProc", "JPEGSpectralProc",
                                  "JPEGFullProgress"};

// The stream an entry of the layout decodes: grey for "8Bit", colour for the others.
ByteVector Encode(const QuorexCaller& caller, const std::string& process, const char* pLayout)
{
    const bool bGrey = std::string(pLayout) == "8Bit";
    const ByteVector image =
        bGrey ? MakeGreyImage8(kRows, kColumns) : MakeRgbImage(kRows, kColumns);
    return caller
        .EncodeLossy(process + (bGrey ? "_8BitEncode" : "_RGBEncode"), image, kRows, kColumns,
                     kQuality)
        .value_or(ByteVector());
}

size_t ImageBytes(const char* pLayout)
{
    return size_t{kRows} * kColumns * (std::string(pLayout) == "8Bit" ? 1 : 3);
}

void ExpectRefused(const DecodeResult& result, const std::string& what)
{
    EXPECT_FALSE(result.bReturned) << what;
    EXPECT_EQ(result.nRows, 0) << what;
    EXPECT_EQ(result.nColumns, 0) << what;
}

TEST(JpegDecodeIntoTest, GivesWhatTheDecodeEntryGives)
{
    const QuorexCaller caller;
    ASSERT_TRUE(caller.IsLoaded());
    for (const std::string process : kProcesses)
    {
        for (const char* pLayout : {"8Bit", "RGB", "YBR"})
        {
            const std::string decode = process + "_" + pLayout + "Decode";
            const ByteVector stream = Encode(caller, process, pLayout);
            ASSERT_FALSE(stream.empty()) << decode;
            const DecodeResult expected = caller.Decode(decode, stream);
            ASSERT_TRUE(expected.bReturned) << decode;
            const DecodeResult into =
                caller.DecodeInto(decode + "Into", stream, ImageBytes(pLayout));
            ASSERT_TRUE(into.bReturned) << decode;
            EXPECT_EQ(into.nRows, kRows);
            EXPECT_EQ(into.nColumns, kColumns);
            EXPECT_EQ(into.pixels, expected.pixels) << decode;
        }
    }
}

TEST(JpegDecodeIntoTest, RefusesWhatItCannotFillExactly)
{
    const QuorexCaller caller;
    const ByteVector grey = Encode(caller, "JPEGBaseline", "8Bit");
    const size_t nBytes = ImageBytes("8Bit");
    ByteVector truncated(grey.begin(), grey.begin() + static_cast<long>(grey.size() / 2));
    const ByteVector lossless =
        caller
            .EncodeLossless("JPEGProc14_8BitEncode", MakeGreyImage8(kRows, kColumns), kRows,
                            kColumns)
            .value_or(ByteVector());
    ASSERT_FALSE(lossless.empty());
    const std::string entry = "JPEGBaseline_8BitDecodeInto";
    ExpectRefused(caller.DecodeInto(entry, grey, nBytes - 1), "one byte short");
    ExpectRefused(caller.DecodeInto(entry, grey, nBytes + 1), "one byte long");
    ExpectRefused(caller.DecodeInto(entry, truncated, nBytes), "half a stream");
    ExpectRefused(caller.DecodeInto(entry, lossless, nBytes), "a lossless stream");
    ExpectRefused(caller.DecodeInto("JPEGBaseline_RGBDecodeInto", grey, nBytes * 3),
                  "a grey stream into RGB");
    // The lossless stream still decodes through the decode entry.
    EXPECT_TRUE(caller.Decode("JPEGBaseline_8BitDecode", lossless).bReturned);
}

TEST(JpegDecodeIntoTest, RefusesMissingArguments)
{
    const QuorexCaller caller;
    const ByteVector grey = Encode(caller, "JPEGBaseline", "8Bit");
    const ShimLibrary library("Quorex");
    const auto pEntry = library.GetEntry<PFN_JpegDecodeInto>("JPEGBaseline_8BitDecodeInto");
    ASSERT_NE(pEntry, nullptr);
    ByteVector target(ImageBytes("8Bit"));
    const int nLength = static_cast<int>(grey.size());
    const int nTarget = static_cast<int>(target.size());
    int nRows = -1;
    int nColumns = -1;
    EXPECT_EQ(pEntry(grey.data(), nLength, nullptr, nTarget, &nRows, &nColumns), 0);
    EXPECT_EQ(nRows, 0);
    EXPECT_EQ(nColumns, 0);
    EXPECT_EQ(pEntry(grey.data(), nLength, target.data(), 0, &nRows, &nColumns), 0);
    EXPECT_EQ(pEntry(nullptr, nLength, target.data(), nTarget, &nRows, &nColumns), 0);
    EXPECT_EQ(pEntry(grey.data(), nLength, target.data(), nTarget, nullptr, &nColumns), 0);
    EXPECT_EQ(pEntry(grey.data(), nLength, target.data(), nTarget, &nRows, &nColumns), 1);
    EXPECT_EQ(nRows, kRows);
}

} // namespace
