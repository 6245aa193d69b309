#include "J2kCodecCall.h"
#include "FakeCodecLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;
constexpr enFakeLibrary Quoral2K = enFakeLibrary::Quoral2K;

struct EntryCase
{
    enJ2kCoding coding;
    enCodecLayout layout;
    const char* encodeName;
    const char* decodeName;
    const char* encodeRoutine;
    const char* decodeRoutine;
};

const EntryCase EntryCases[] = {
    {enJ2kCoding::Lossless, enCodecLayout::Bits8, "JP2_8BitEncode", "JP2_8BitDecode",
     "JP2KLossless_8BitEncode", "JP2KLossless_8BitDecode"},
    {enJ2kCoding::Lossless, enCodecLayout::Bits16, "JP2_16BitEncode", "JP2_16BitDecode",
     "JP2KLossless_16BitEncode", "JP2KLossless_16BitDecode"},
    {enJ2kCoding::Lossless, enCodecLayout::RGB, "JP2_RGBEncode", "JP2_RGBDecode",
     "JP2KLossless_RGBEncode", "JP2KLossless_RGBDecode"},
    {enJ2kCoding::Lossy, enCodecLayout::Bits8, "JPC_8BitEncode", "JPC_8BitDecode",
     "JP2KLossy_8BitEncode", "JP2KLossy_8BitDecode"},
    {enJ2kCoding::Lossy, enCodecLayout::Bits16, "JPC_16BitEncode", "JPC_16BitDecode",
     "JP2KLossy_16BitEncode", "JP2KLossy_16BitDecode"},
    {enJ2kCoding::Lossy, enCodecLayout::RGB, "JPC_RGBEncode", "JPC_RGBDecode",
     "JP2KLossy_RGBEncode", "JP2KLossy_RGBDecode"},
};

void RegisterQuoral2K(const char* entryName, FakeModuleEntry entry, bool withFree = true)
{
    entry.name = entryName;
    std::vector<FakeModuleEntry> entries = {entry};
    if (withFree)
    {
        entries.push_back(MakeFakeModuleEntry("JPGDEL", &FakeFree<Quoral2K>));
    }
    RegisterFakeModule("Quoral2K.dll", entries);
}

class J2kCodecCallTest : public FakeCodecTest
{
};

TEST_F(J2kCodecCallTest, EveryEntryIsCalledByItsExactName)
{
    const Bytes raw(3 * 2 * 3, 0x40);
    for (const EntryCase& c : EntryCases)
    {
        EXPECT_EQ(J2kCodecCall::GetEntryName(c.coding, c.layout, true), c.encodeName);
        EXPECT_EQ(J2kCodecCall::GetRoutineName(c.coding, c.layout, true), c.encodeRoutine);
        EXPECT_EQ(J2kCodecCall::GetRoutineName(c.coding, c.layout, false), c.decodeRoutine);

        ResetFakes();
        RegisterQuoral2K(c.encodeName, MakeFakeModuleEntry("", &FakeJ2kEncode<Quoral2K>));
        CollectedOutput encoded;
        ASSERT_TRUE(J2kCodecCall::Encode(c.coding, c.layout, raw, encoded.GetSink(), 3, 2, true))
            << c.encodeName;
        EXPECT_EQ(GetFakeState().rows, 3);
        EXPECT_EQ(GetFakeState().columns, 2);
        EXPECT_EQ(GetFakeState().isSigned, 1);
        EXPECT_EQ(encoded.bytes.size(), 5u);
        EXPECT_EQ(GetFakeState().frees, std::vector<enFakeLibrary>{Quoral2K});

        ResetFakes();
        RegisterQuoral2K(c.decodeName, MakeFakeModuleEntry("", &FakeDecode<Quoral2K>));
        const DecodedFrame decoded = DecodeFrame<J2kCodecCall>(c.coding, c.layout, raw);
        ASSERT_TRUE(decoded.isDecoded) << c.decodeName;
        EXPECT_EQ(GetFakeState().input, raw);
        EXPECT_EQ(decoded.output.bytes.size(),
                  6u * static_cast<unsigned>(GetCodecLayoutBytes(c.layout)));
        EXPECT_TRUE(decoded.output.IsAll(GetFakeMarker(Quoral2K)));
        EXPECT_EQ(GetFakeState().frees, std::vector<enFakeLibrary>{Quoral2K});
        EXPECT_EQ(GetFakeModuleLoadCount("Quoral2K.dll"), 0);
    }
}

TEST_F(J2kCodecCallTest, UnsignedSamplesPassZero)
{
    RegisterQuoral2K("JP2_16BitEncode", MakeFakeModuleEntry("", &FakeJ2kEncode<Quoral2K>));
    CollectedOutput output;
    ASSERT_TRUE(J2kCodecCall::Encode(enJ2kCoding::Lossless, enCodecLayout::Bits16, Bytes(8, 0),
                                     output.GetSink(), 2, 2, false));
    EXPECT_EQ(GetFakeState().isSigned, 0);
}

TEST_F(J2kCodecCallTest, TwelveBitsHaveNoEntry)
{
    RegisterQuoral2K("JP2_12BitDecode", MakeFakeModuleEntry("", &FakeDecode<Quoral2K>));
    CollectedOutput output;
    int rows = 0;
    int columns = 0;
    EXPECT_FALSE(J2kCodecCall::HasEntry(enCodecLayout::Bits12));
    EXPECT_FALSE(J2kCodecCall::Decode(enJ2kCoding::Lossless, enCodecLayout::Bits12, Bytes(4, 0),
                                      output.GetSink(), rows, columns));
    EXPECT_FALSE(J2kCodecCall::Encode(enJ2kCoding::Lossless, enCodecLayout::Bits12, Bytes(4, 0),
                                      output.GetSink(), 1, 1, false));
    EXPECT_TRUE(GetFakeState().calls.empty());
}

TEST_F(J2kCodecCallTest, AMissingLibraryEntryOrFreeFunctionStopsTheCallBeforeTheEntry)
{
    struct Case
    {
        const char* name;
        void (*stage)();
    };
    const Case cases[] = {
        {"absent library", [] { RegisterAbsentModule("Quoral2K.dll"); }},
        {"absent entry", []
         { RegisterQuoral2K("JPC_8BitDecode", MakeFakeModuleEntry("", &FakeDecode<Quoral2K>)); }},
        {"absent free function",
         [] {
             RegisterQuoral2K("JP2_8BitDecode", MakeFakeModuleEntry("", &FakeDecode<Quoral2K>),
                              false);
         }},
    };
    for (const Case& c : cases)
    {
        ResetFakes();
        c.stage();
        const DecodedFrame frame =
            DecodeFrame<J2kCodecCall>(enJ2kCoding::Lossless, enCodecLayout::Bits8, Bytes(4, 0));
        EXPECT_FALSE(frame.isDecoded) << c.name;
        EXPECT_TRUE(GetFakeState().calls.empty()) << c.name;
        EXPECT_EQ(frame.output.appends, 0) << c.name;
        EXPECT_LE(GetFakeModuleLoadCount("Quoral2K.dll"), 0) << c.name;
    }
}

TEST_F(J2kCodecCallTest, ANullResultGivesFalse)
{
    RegisterQuoral2K("JPC_RGBEncode", MakeFakeModuleEntry("", &FakeJ2kEncode<Quoral2K>));
    GetFakeState().answer = enFakeAnswer::Null;
    CollectedOutput output;
    EXPECT_FALSE(J2kCodecCall::Encode(enJ2kCoding::Lossy, enCodecLayout::RGB, Bytes(12, 0),
                                      output.GetSink(), 2, 2, false));
    EXPECT_EQ(GetFakeState().calls.size(), 1u);
    EXPECT_EQ(output.appends, 0);
    EXPECT_EQ(GetFakeModuleLoadCount("Quoral2K.dll"), 0);
}

TEST_F(J2kCodecCallTest, AnExceptionGivesFalseAndReleasesTheResult)
{
    RegisterQuoral2K("JP2_RGBDecode", MakeFakeModuleEntry("", &FakeDecode<Quoral2K>));
    int rows = 0;
    int columns = 0;
    EXPECT_FALSE(J2kCodecCall::Decode(enJ2kCoding::Lossless, enCodecLayout::RGB, Bytes(4, 0),
                                      GetThrowingSink(), rows, columns));
    EXPECT_EQ(GetFakeState().frees, std::vector<enFakeLibrary>{Quoral2K});
    EXPECT_TRUE(GetFakeState().outstanding.empty());
    EXPECT_EQ(GetFakeModuleLoadCount("Quoral2K.dll"), 0);
}

TEST_F(J2kCodecCallTest, ColourFramesGoToTheRgbEntries)
{
    struct Case
    {
        const char* photometric;
        int bitsAllocated;
        enCodecLayout expected;
    };
    const Case cases[] = {
        {"RGB", 8, enCodecLayout::RGB},
        {"YBR_ICT", 8, enCodecLayout::RGB},
        {"YBR_RCT", 8, enCodecLayout::RGB},
        {"ybr_rct", 8, enCodecLayout::RGB},
        {"MONOCHROME2", 16, enCodecLayout::Bits16},
        {"MONOCHROME1", 12, enCodecLayout::Bits16},
        {"MONOCHROME2", 8, enCodecLayout::Bits8},
        {"PALETTE COLOR", 8, enCodecLayout::Bits8},
        {"YBR_FULL", 8, enCodecLayout::Bits8},
        {nullptr, 16, enCodecLayout::Bits16},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(J2kCodecCall::SelectLayout(c.photometric, c.bitsAllocated), c.expected)
            << (c.photometric != nullptr ? c.photometric : "null") << " " << c.bitsAllocated;
    }
}

} // namespace
