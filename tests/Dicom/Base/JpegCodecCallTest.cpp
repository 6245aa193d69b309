#include "JpegCodecCall.h"
#include "FakeCodecLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;
constexpr enFakeLibrary Quorex = enFakeLibrary::Quorex;
constexpr enFakeLibrary Quoral = enFakeLibrary::Quoral;

struct EntryCase
{
    enJpegProcess process;
    enCodecLayout layout;
    const char* encodeName;
    const char* decodeName;
};

// Every entry of "Quorex.dll" the library calls.
const EntryCase EntryCases[] = {
    {enJpegProcess::Baseline, enCodecLayout::Bits8, "JPEGBaseline_8BitEncode",
     "JPEGBaseline_8BitDecode"},
    {enJpegProcess::Baseline, enCodecLayout::RGB, "JPEGBaseline_RGBEncode",
     "JPEGBaseline_RGBDecode"},
    {enJpegProcess::Proc14, enCodecLayout::Bits8, "JPEGProc14_8BitEncode", "JPEGProc14_8BitDecode"},
    {enJpegProcess::Proc14, enCodecLayout::Bits16, "JPEGProc14_16BitEncode", nullptr},
    {enJpegProcess::Proc14, enCodecLayout::RGB, "JPEGProc14_RGBEncode", "JPEGProc14_RGBDecode"},
    {enJpegProcess::Proc14SV1, enCodecLayout::Bits8, "JPEGProc14SV1_8BitEncode",
     "JPEGProc14SV1_8BitDecode"},
    {enJpegProcess::Proc14SV1, enCodecLayout::Bits16, "JPEGProc14SV1_16BitEncode",
     "JPEGProc14SV1_16BitDecode"},
    {enJpegProcess::Proc14SV1, enCodecLayout::RGB, "JPEGProc14SV1_RGBEncode",
     "JPEGProc14SV1_RGBDecode"},
    {enJpegProcess::ExtendedProc, enCodecLayout::Bits8, "JPEGExtendedProc_8BitEncode",
     "JPEGExtendedProc_8BitDecode"},
    {enJpegProcess::ExtendedProc, enCodecLayout::Bits12, "JPEGExtendedProc_12BitEncode",
     "JPEGExtendedProc_12BitDecode"},
    {enJpegProcess::ExtendedProc, enCodecLayout::RGB, "JPEGExtendedProc_RGBEncode",
     "JPEGExtendedProc_RGBDecode"},
    {enJpegProcess::SpectralProc, enCodecLayout::Bits8, "JPEGSpectralProc_8BitEncode",
     "JPEGSpectralProc_8BitDecode"},
    {enJpegProcess::SpectralProc, enCodecLayout::Bits12, "JPEGSpectralProc_12BitEncode",
     "JPEGSpectralProc_12BitDecode"},
    {enJpegProcess::SpectralProc, enCodecLayout::RGB, "JPEGSpectralProc_RGBEncode",
     "JPEGSpectralProc_RGBDecode"},
    {enJpegProcess::FullProgress, enCodecLayout::Bits8, "JPEGFullProgress_8BitEncode",
     "JPEGFullProgress_8BitDecode"},
    {enJpegProcess::FullProgress, enCodecLayout::Bits12, "JPEGFullProgress_12BitEncode",
     "JPEGFullProgress_12BitDecode"},
    {enJpegProcess::FullProgress, enCodecLayout::RGB, "JPEGFullProgress_RGBEncode",
     "JPEGFullProgress_RGBDecode"},
};

void RegisterQuorexWith(const char* entryName, FakeModuleEntry entry)
{
    entry.name = entryName;
    const FakeModuleEntry entries[] = {entry, MakeFakeModuleEntry("jpgdel", &FakeFree<Quorex>)};
    RegisterFakeModule("Quorex.dll", entries);
}

void RegisterDecoder(const char* fileName, const char* entryName, FakeModuleEntry decode,
                     FakeModuleEntry free)
{
    decode.name = entryName;
    free.name = "jpgdel";
    const FakeModuleEntry entries[] = {decode, free};
    RegisterFakeModule(fileName, entries);
}

// Both libraries of the lossless 16-bit decode, each with its own entry and
// free function.
void RegisterBothLossless16()
{
    RegisterDecoder("Quorex.dll", "JPEGProc14_16BitDecode",
                    MakeFakeModuleEntry("", &FakeDecode<Quorex>),
                    MakeFakeModuleEntry("", &FakeFree<Quorex>));
    RegisterDecoder("Quoral.dll", "JPEGProc14_16BitDecode",
                    MakeFakeModuleEntry("", &FakeDecode<Quoral>),
                    MakeFakeModuleEntry("", &FakeFree<Quoral>));
}

// A lossless frame: start of image, an application segment, the frame
// header with the given precision (or a baseline header), padding segments
// up to at least 64 bytes.
Bytes MakeFrame(std::uint8_t precision, std::uint8_t frameMarker = 0xC3)
{
    Bytes frame = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10};
    frame.insert(frame.end(), 14, 0x4A);
    const Bytes header = {0xFF, frameMarker, 0x00, 0x0B, precision, 0x00, 0x04,
                          0x00, 0x04,        0x01, 0x01, 0x11,      0x00};
    frame.insert(frame.end(), header.begin(), header.end());
    const Bytes comment = {0xFF, 0xFE, 0x00, 0x22};
    frame.insert(frame.end(), comment.begin(), comment.end());
    frame.insert(frame.end(), 0x20, 0x43);
    frame.insert(frame.end(), {0xFF, 0xD9});
    return frame;
}

class JpegCodecCallTest : public FakeCodecTest
{
};

// A decode-into entry: fills the whole target with the library's marker
// and reports the state's geometry, or refuses when the state says so.
int FakeDecodeInto(const unsigned char* pData, int nLength, unsigned char* pOut, int nOutLength,
                   int* pRows, int* pColumns)
{
    FakeCodecState& state = GetFakeState();
    state.calls.push_back(Quorex);
    state.input.assign(pData, pData + nLength);
    if (state.answer != enFakeAnswer::Buffer)
    {
        *pRows = 0;
        *pColumns = 0;
        return 0;
    }
    std::fill_n(pOut, nOutLength, GetFakeMarker(Quorex));
    *pRows = state.reportedRows;
    *pColumns = state.reportedColumns;
    return 1;
}

TEST_F(JpegCodecCallTest, EveryEncodeEntryIsCalledByItsExactName)
{
    const Bytes raw(4 * 5 * 3, 0x31);
    for (const EntryCase& c : EntryCases)
    {
        ResetFakes();
        const bool isLossless = JpegCodecCall::IsLossless(c.process);
        RegisterQuorexWith(c.encodeName, isLossless
                                             ? MakeFakeModuleEntry("", &FakeLosslessEncode<Quorex>)
                                             : MakeFakeModuleEntry("", &FakeLossyEncode<Quorex>));
        CollectedOutput output;
        EXPECT_EQ(JpegCodecCall::GetEntryName(c.process, c.layout, true), c.encodeName);
        ASSERT_TRUE(JpegCodecCall::Encode(c.process, c.layout, raw, output.GetSink(), 4, 5, 77))
            << c.encodeName;
        const FakeCodecState& state = GetFakeState();
        EXPECT_EQ(state.rows, 4) << c.encodeName;
        EXPECT_EQ(state.columns, 5) << c.encodeName;
        EXPECT_EQ(state.quality, isLossless ? -1 : 77) << c.encodeName;
        EXPECT_EQ(output.bytes.size(), 5u) << c.encodeName;
        EXPECT_EQ(output.appends, 1);
        EXPECT_TRUE(output.IsAll(GetFakeMarker(Quorex)));
        EXPECT_EQ(state.frees, std::vector<enFakeLibrary>{Quorex}) << c.encodeName;
        EXPECT_TRUE(state.outstanding.empty());
        EXPECT_EQ(GetFakeModuleLoadCount("Quorex.dll"), 0);
    }
}

TEST_F(JpegCodecCallTest, EveryDecodeEntryIsCalledByItsExactName)
{
    const Bytes stream = {1, 2, 3, 4, 5, 6, 7};
    for (const EntryCase& c : EntryCases)
    {
        if (c.decodeName == nullptr)
        {
            continue;
        }
        ResetFakes();
        RegisterQuorexWith(c.decodeName, MakeFakeModuleEntry("", &FakeDecode<Quorex>));
        const DecodedFrame frame = DecodeFrame<JpegCodecCall>(c.process, c.layout, stream);
        ASSERT_TRUE(frame.isDecoded) << c.decodeName;
        EXPECT_EQ(frame.rows, 2);
        EXPECT_EQ(frame.columns, 3);
        EXPECT_EQ(GetFakeState().input, stream);
        EXPECT_EQ(frame.output.bytes.size(),
                  6u * static_cast<unsigned>(GetCodecLayoutBytes(c.layout)))
            << c.decodeName;
        EXPECT_EQ(GetFakeState().frees, std::vector<enFakeLibrary>{Quorex});
        EXPECT_EQ(GetFakeModuleLoadCount("Quorex.dll"), 0);
    }
}

TEST_F(JpegCodecCallTest, DecodeIntoCallsItsEntryByNameAndWritesOnlyTheTarget)
{
    struct Case
    {
        enJpegProcess process;
        enCodecLayout layout;
        const char* entryName;
    };
    const Case cases[] = {
        {enJpegProcess::Baseline, enCodecLayout::Bits8, "JPEGBaseline_8BitDecodeInto"},
        {enJpegProcess::ExtendedProc, enCodecLayout::RGB, "JPEGExtendedProc_RGBDecodeInto"},
        {enJpegProcess::FullProgress, enCodecLayout::YBR, "JPEGFullProgress_YBRDecodeInto"}};
    const Bytes stream = {1, 2, 3, 4, 5};
    for (const Case& c : cases)
    {
        ResetFakes();
        RegisterQuorexWith(c.entryName, MakeFakeModuleEntry("", &FakeDecodeInto));
        Bytes target(8, 0);
        int rows = -1;
        int columns = -1;
        EXPECT_TRUE(JpegCodecCall::DecodeInto(
            c.process, c.layout, stream, std::span<std::uint8_t>(target.data(), 6), rows, columns))
            << c.entryName;
        EXPECT_EQ(rows, 2);
        EXPECT_EQ(columns, 3);
        EXPECT_EQ(GetFakeState().input, stream);
        EXPECT_EQ(target, Bytes({0xA0, 0xA0, 0xA0, 0xA0, 0xA0, 0xA0, 0, 0})) << c.entryName;
        EXPECT_TRUE(GetFakeState().frees.empty());
        EXPECT_EQ(GetFakeModuleLoadCount("Quorex.dll"), 0);
    }
}

TEST_F(JpegCodecCallTest, DecodeIntoGivesFalseWhereTheDecodeCallMustAnswer)
{
    Bytes target(6, 0);
    const Bytes stream(8, 1);
    int rows = -1;
    int columns = -1;
    const auto decodeInto = [&](enJpegProcess process, enCodecLayout layout)
    { return JpegCodecCall::DecodeInto(process, layout, stream, target, rows, columns); };
    // Processes and layouts without such an entry are not tried.
    RegisterQuorexWith("JPEGProc14_8BitDecodeInto", MakeFakeModuleEntry("", &FakeDecodeInto));
    EXPECT_FALSE(decodeInto(enJpegProcess::Proc14, enCodecLayout::Bits8));
    EXPECT_FALSE(decodeInto(enJpegProcess::ExtendedProc, enCodecLayout::Bits12));
    EXPECT_TRUE(GetFakeState().calls.empty());
    // A library without the entry, and an entry that refuses.
    RegisterQuorexWith("JPEGBaseline_8BitDecode", MakeFakeModuleEntry("", &FakeDecode<Quorex>));
    EXPECT_FALSE(decodeInto(enJpegProcess::Baseline, enCodecLayout::Bits8));
    EXPECT_TRUE(GetFakeState().calls.empty());
    RegisterQuorexWith("JPEGBaseline_8BitDecodeInto", MakeFakeModuleEntry("", &FakeDecodeInto));
    GetFakeState().answer = enFakeAnswer::Null;
    EXPECT_FALSE(decodeInto(enJpegProcess::Baseline, enCodecLayout::Bits8));
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(GetFakeState().calls.size(), 1u);
    EXPECT_EQ(GetFakeModuleLoadCount("Quorex.dll"), 0);
}

TEST_F(JpegCodecCallTest, PairsWithoutAnEntryFailWithoutLoading)
{
    struct Case
    {
        enJpegProcess process;
        enCodecLayout layout;
    };
    const Case cases[] = {{enJpegProcess::Baseline, enCodecLayout::Bits12},
                          {enJpegProcess::Baseline, enCodecLayout::Bits16},
                          {enJpegProcess::Proc14, enCodecLayout::Bits12},
                          {enJpegProcess::ExtendedProc, enCodecLayout::Bits16},
                          {enJpegProcess::FullProgress, enCodecLayout::Bits16}};
    RegisterQuorexWith("unused", MakeFakeModuleEntry("", &FakeDecode<Quorex>));
    const Bytes data(64, 0);
    for (const Case& c : cases)
    {
        CollectedOutput output;
        int rows = 0;
        int columns = 0;
        EXPECT_FALSE(JpegCodecCall::HasEntry(c.process, c.layout));
        EXPECT_FALSE(JpegCodecCall::Encode(c.process, c.layout, data, output.GetSink(), 1, 1, 90));
        EXPECT_FALSE(
            JpegCodecCall::Decode(c.process, c.layout, data, output.GetSink(), rows, columns));
    }
    EXPECT_TRUE(GetFakeState().calls.empty());
}

TEST_F(JpegCodecCallTest, AnAbsentLibraryOrEntryGivesFalse)
{
    const Bytes data(8, 1);
    CollectedOutput output;
    int rows = 0;
    int columns = 0;
    RegisterAbsentModule("Quorex.dll");
    EXPECT_FALSE(JpegCodecCall::Decode(enJpegProcess::Baseline, enCodecLayout::Bits8, data,
                                       output.GetSink(), rows, columns));
    RegisterQuorexWith("JPEGBaseline_RGBDecode", MakeFakeModuleEntry("", &FakeDecode<Quorex>));
    EXPECT_FALSE(JpegCodecCall::Decode(enJpegProcess::Baseline, enCodecLayout::Bits8, data,
                                       output.GetSink(), rows, columns));
    EXPECT_TRUE(GetFakeState().calls.empty());
    EXPECT_TRUE(output.bytes.empty());
    EXPECT_EQ(GetFakeModuleLoadCount("Quorex.dll"), 0);
}

TEST_F(JpegCodecCallTest, ANullResultLeavesTheOutputUntouched)
{
    RegisterQuorexWith("JPEGBaseline_8BitEncode",
                       MakeFakeModuleEntry("", &FakeLossyEncode<Quorex>));
    GetFakeState().answer = enFakeAnswer::Null;
    CollectedOutput output;
    const Bytes raw(6, 9);
    EXPECT_FALSE(JpegCodecCall::Encode(enJpegProcess::Baseline, enCodecLayout::Bits8, raw,
                                       output.GetSink(), 2, 3, 90));
    EXPECT_EQ(GetFakeState().calls.size(), 1u);
    EXPECT_EQ(output.appends, 0);
    EXPECT_TRUE(GetFakeState().frees.empty());
    EXPECT_EQ(GetFakeModuleLoadCount("Quorex.dll"), 0);
}

TEST_F(JpegCodecCallTest, WithoutTheFreeFunctionTheCallStillGoesAhead)
{
    const FakeModuleEntry entries[] = {
        MakeFakeModuleEntry("JPEGProc14_8BitDecode", &FakeDecode<Quorex>)};
    RegisterFakeModule("Quorex.dll", entries);
    const DecodedFrame frame =
        DecodeFrame<JpegCodecCall>(enJpegProcess::Proc14, enCodecLayout::Bits8, Bytes(4, 0));
    EXPECT_TRUE(frame.isDecoded);
    EXPECT_EQ(frame.output.bytes.size(), 6u);
    EXPECT_EQ(GetFakeState().outstanding.size(), 1u); // only the library could release it
    EXPECT_EQ(GetFakeModuleLoadCount("Quorex.dll"), 0);
}

TEST_F(JpegCodecCallTest, AnRgbDecodeOf512By512Appends786432Bytes)
{
    RegisterQuorexWith("JPEGBaseline_RGBDecode", MakeFakeModuleEntry("", &FakeDecode<Quorex>));
    GetFakeState().reportedRows = 512;
    GetFakeState().reportedColumns = 512;
    const DecodedFrame frame =
        DecodeFrame<JpegCodecCall>(enJpegProcess::Baseline, enCodecLayout::RGB, Bytes(10, 0));
    ASSERT_TRUE(frame.isDecoded);
    EXPECT_EQ(frame.output.bytes.size(), 786432u);
    EXPECT_EQ(frame.rows, 512);
    EXPECT_EQ(frame.columns, 512);
}

TEST_F(JpegCodecCallTest, ExceptionsGiveFalseAndReleaseEverything)
{
    RegisterQuorexWith("JPEGExtendedProc_12BitDecode",
                       MakeFakeModuleEntry("", &FakeDecode<Quorex>));
    int rows = 0;
    int columns = 0;
    // thrown by the sink: the returned buffer still goes back to the library
    EXPECT_FALSE(JpegCodecCall::Decode(enJpegProcess::ExtendedProc, enCodecLayout::Bits12,
                                       Bytes(4, 0), GetThrowingSink(), rows, columns));
    EXPECT_EQ(GetFakeState().frees, std::vector<enFakeLibrary>{Quorex});
    EXPECT_TRUE(GetFakeState().outstanding.empty());
    // thrown by the entry
    GetFakeState().answer = enFakeAnswer::Throw;
    CollectedOutput output;
    EXPECT_FALSE(JpegCodecCall::Decode(enJpegProcess::ExtendedProc, enCodecLayout::Bits12,
                                       Bytes(4, 0), output.GetSink(), rows, columns));
    EXPECT_EQ(output.appends, 0);
    EXPECT_EQ(GetFakeModuleLoadCount("Quorex.dll"), 0);
}

TEST_F(JpegCodecCallTest, AReportedNegativeSizeIsAFailure)
{
    RegisterQuorexWith("JPEGBaseline_8BitDecode", MakeFakeModuleEntry("", &FakeDecode<Quorex>));
    GetFakeState().reportedRows = -4;
    const DecodedFrame frame =
        DecodeFrame<JpegCodecCall>(enJpegProcess::Baseline, enCodecLayout::Bits8, Bytes(4, 0));
    EXPECT_FALSE(frame.isDecoded);
    EXPECT_EQ(frame.output.appends, 0);
    EXPECT_TRUE(GetFakeState().outstanding.empty());
}

TEST_F(JpegCodecCallTest, RawInputShorterThanTheImageIsRefused)
{
    RegisterQuorexWith("JPEGProc14_16BitEncode",
                       MakeFakeModuleEntry("", &FakeLosslessEncode<Quorex>));
    CollectedOutput output;
    EXPECT_FALSE(JpegCodecCall::Encode(enJpegProcess::Proc14, enCodecLayout::Bits16,
                                       Bytes(2 * 3 * 2 - 1, 0), output.GetSink(), 2, 3, 0));
    EXPECT_FALSE(JpegCodecCall::Encode(enJpegProcess::Proc14, enCodecLayout::Bits16, Bytes(12, 0),
                                       output.GetSink(), -2, 3, 0));
    EXPECT_TRUE(GetFakeState().calls.empty());
    EXPECT_TRUE(JpegCodecCall::Encode(enJpegProcess::Proc14, enCodecLayout::Bits16, Bytes(12, 0),
                                      output.GetSink(), 2, 3, 0));
}

struct RoutingCase
{
    const char* name;
    Bytes frame;
    enFakeLibrary expected;
};

TEST_F(JpegCodecCallTest, TheLossless16BitDecodeChoosesItsLibraryByTheFrame)
{
    Bytes short40 = MakeFrame(16);
    short40.resize(40);
    Bytes zeroLength = MakeFrame(15);
    zeroLength[4] = 0;
    zeroLength[5] = 0;
    // 64 bytes ending with the lossless frame marker and its length: no precision
    Bytes cutBeforePrecision = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x38};
    cutBeforePrecision.insert(cutBeforePrecision.end(), 54, 0x4A);
    cutBeforePrecision.insert(cutBeforePrecision.end(), {0xFF, 0xC3, 0x00, 0x0B});
    const RoutingCase cases[] = {
        {"precision 15", MakeFrame(15), Quoral},
        {"precision 16", MakeFrame(16), Quorex},
        {"precision 12", MakeFrame(12), Quorex},
        {"40 bytes", short40, Quoral},
        {"no lossless frame header", MakeFrame(15, 0xC0), Quorex},
        {"segment length 0", zeroLength, Quorex},
        {"cut before the precision", cutBeforePrecision, Quorex},
    };
    for (const RoutingCase& c : cases)
    {
        ResetFakes();
        RegisterBothLossless16();
        const std::string expectedFile = c.expected == Quoral ? "Quoral.dll" : "Quorex.dll";
        EXPECT_EQ(JpegCodecCall::SelectLossless16Library(c.frame), expectedFile) << c.name;
        const DecodedFrame frame =
            DecodeFrame<JpegCodecCall>(enJpegProcess::Proc14, enCodecLayout::Bits16, c.frame);
        ASSERT_TRUE(frame.isDecoded) << c.name;
        const FakeCodecState& state = GetFakeState();
        EXPECT_EQ(state.calls, std::vector<enFakeLibrary>{c.expected}) << c.name;
        EXPECT_EQ(state.frees, std::vector<enFakeLibrary>{c.expected}) << c.name;
        EXPECT_EQ(state.wrongFrees, 0) << c.name;
        EXPECT_EQ(frame.output.bytes.size(), 2u * 3u * 2u) << c.name;
        EXPECT_TRUE(frame.output.IsAll(GetFakeMarker(c.expected))) << c.name;
        EXPECT_EQ(GetFakeModuleLoadCount("Quorex.dll"), 0) << c.name;
        EXPECT_EQ(GetFakeModuleLoadCount("Quoral.dll"), 0) << c.name;
    }
}

TEST_F(JpegCodecCallTest, TheLossless16BitDecodeNeedsBothLibraries)
{
    for (const char* absent : {"Quorex.dll", "Quoral.dll"})
    {
        ResetFakes();
        RegisterBothLossless16();
        RegisterAbsentModule(absent);
        EXPECT_FALSE(
            DecodeFrame<JpegCodecCall>(enJpegProcess::Proc14, enCodecLayout::Bits16, MakeFrame(16))
                .isDecoded)
            << absent;
        EXPECT_TRUE(GetFakeState().calls.empty()) << absent;
    }
    EXPECT_EQ(GetFakeModuleLoadCount("Quorex.dll"), 0);
}

TEST_F(JpegCodecCallTest, TheChosenLibraryMustHaveTheEntry)
{
    RegisterBothLossless16();
    const FakeModuleEntry onlyFree[] = {MakeFakeModuleEntry("jpgdel", &FakeFree<Quoral>)};
    RegisterFakeModule("Quoral.dll", onlyFree);
    CollectedOutput output;
    int rows = 0;
    int columns = 0;
    EXPECT_FALSE(JpegCodecCall::Decode(enJpegProcess::Proc14, enCodecLayout::Bits16, MakeFrame(15),
                                       output.GetSink(), rows, columns));
    EXPECT_TRUE(GetFakeState().calls.empty());
    EXPECT_TRUE(JpegCodecCall::Decode(enJpegProcess::Proc14, enCodecLayout::Bits16, MakeFrame(16),
                                      output.GetSink(), rows, columns));
    EXPECT_EQ(GetFakeState().calls, std::vector<enFakeLibrary>{Quorex});
}

} // namespace
