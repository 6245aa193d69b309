#include "MetaInfo.h"

#include "FileTestSupport.h"
#include "InBuffer.h"
#include "OutBuffer.h"
#include "VeltaroLibrary.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

void Append(Bytes& bytes, const Bytes& more)
{
    bytes.insert(bytes.end(), more.begin(), more.end());
}

void Append16(Bytes& bytes, std::uint16_t value, bool bigEndian = false)
{
    if (bigEndian)
    {
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        bytes.push_back(static_cast<std::uint8_t>(value));
        return;
    }
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Append32(Bytes& bytes, std::uint32_t value)
{
    Append16(bytes, static_cast<std::uint16_t>(value));
    Append16(bytes, static_cast<std::uint16_t>(value >> 16));
}

Bytes TextBytes(const std::string& text)
{
    Bytes bytes(text.begin(), text.end());
    if (bytes.size() % 2 != 0)
    {
        bytes.push_back(0);
    }
    return bytes;
}

// One explicit VR element with a short length.
Bytes Explicit(std::uint16_t group, std::uint16_t element, const char* vr, const Bytes& value,
               bool bigEndian = false)
{
    Bytes bytes;
    Append16(bytes, group, bigEndian);
    Append16(bytes, element, bigEndian);
    bytes.push_back(static_cast<std::uint8_t>(vr[0]));
    bytes.push_back(static_cast<std::uint8_t>(vr[1]));
    Append16(bytes, static_cast<std::uint16_t>(value.size()), bigEndian);
    Append(bytes, value);
    return bytes;
}

Bytes Implicit(std::uint16_t group, std::uint16_t element, const Bytes& value)
{
    Bytes bytes;
    Append16(bytes, group);
    Append16(bytes, element);
    Append32(bytes, static_cast<std::uint32_t>(value.size()));
    Append(bytes, value);
    return bytes;
}

Bytes Prefix()
{
    Bytes bytes(MetaInfo::PreambleSize, 0);
    Append(bytes, {'D', 'I', 'C', 'M'});
    return bytes;
}

// Group 0002 with a group length and, when given, a transfer syntax.
Bytes MetaGroup(const char* syntax)
{
    Bytes body = Explicit(0x0002, 0x0003, "UI", TextBytes("1.2.3.4.5"));
    if (syntax != nullptr)
    {
        Append(body, Explicit(0x0002, 0x0010, "UI", TextBytes(syntax)));
    }
    Bytes group;
    Bytes length;
    Append32(length, static_cast<std::uint32_t>(body.size()));
    Append(group, Explicit(0x0002, 0x0000, "UL", length));
    Append(group, body);
    return group;
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes bytes;
    for (const Bytes& part : parts)
    {
        Append(bytes, part);
    }
    return bytes;
}

const Bytes ImplicitModality = Implicit(0x0008, 0x0060, TextBytes("MR"));
const Bytes ExplicitModality = Explicit(0x0008, 0x0060, "CS", TextBytes("MR"));
const Bytes ExplicitCharset = Explicit(0x0008, 0x0005, "CS", TextBytes("ISO_IR 100"));

struct LoadCase
{
    const char* name;
    Bytes bytes;
    int result;
    const char* syntax;
    std::uint32_t consumed; // where the stream stands afterwards
};

std::vector<LoadCase> LoadCases()
{
    const Bytes explicitMeta = MetaGroup("1.2.840.10008.1.2.1");
    const Bytes bigMeta = MetaGroup("1.2.840.10008.1.2.2");
    const Bytes noSyntaxMeta = MetaGroup(nullptr);
    const Bytes unknownMeta = MetaGroup("1.2.3.4");
    const Bytes implicitMeta = MetaGroup("1.2.840.10008.1.2");
    const std::uint32_t prefix = MetaInfo::PrefixSize;
    const auto size = [](const Bytes& bytes) { return static_cast<std::uint32_t>(bytes.size()); };
    Bytes longRaw = ImplicitModality;
    for (int i = 0; i < 20; ++i)
    {
        Append(longRaw, Implicit(0x0010, static_cast<std::uint16_t>(0x1000 + i), TextBytes("x")));
    }
    return {
        {"Part10", Concat({Prefix(), explicitMeta, ExplicitModality}), 1, "1.2.840.10008.1.2.1",
         prefix + size(explicitMeta)},
        {"Part10BigEndian",
         Concat({Prefix(), bigMeta, Explicit(0x0008, 0x0060, "CS", TextBytes("MR"), true)}), 1,
         "1.2.840.10008.1.2.2", prefix + size(bigMeta)},
        {"Part10WithoutSyntax", Concat({Prefix(), noSyntaxMeta, ImplicitModality}), 1,
         "1.2.840.10008.1.2", prefix + size(noSyntaxMeta)},
        {"Part10UnknownSyntax", Concat({Prefix(), unknownMeta, ExplicitModality}), 1, "1.2.3.4",
         prefix + size(unknownMeta)},
        {"Part10DataSetBelowGroup2",
         Concat({Prefix(), implicitMeta, Implicit(0x0001, 0x0001, TextBytes("odd")),
                 ImplicitModality}),
         1, "1.2.840.10008.1.2", prefix + size(implicitMeta)},
        {"MetaWithoutPreamble", Concat({explicitMeta, ExplicitModality}), 1, "1.2.840.10008.1.2.1",
         size(explicitMeta)},
        {"Group2WithoutSyntaxIsRawData", Concat({noSyntaxMeta, ExplicitModality}), 1,
         "1.2.840.10008.1.2.1", 0},
        {"RawImplicit", longRaw, 1, "1.2.840.10008.1.2", 0},
        {"RawExplicit", Concat({ExplicitCharset, ExplicitModality}), 1, "1.2.840.10008.1.2.1", 0},
        {"RawBigEndian", Explicit(0x0008, 0x0005, "CS", TextBytes("ISO_IR 100"), true), 1,
         "1.2.840.10008.1.2.2", 0},
        {"RawShorterThanPreamble", ImplicitModality, 1, "1.2.840.10008.1.2", 0},
        {"Empty", {}, 0, "", 0},
        {"ShorterThanOneElement", Bytes(7, 0x08), 0, "", 0},
        {"Zeros", Bytes(1000, 0), 0, "", 0},
        {"PreambleOfZerosOnly", Bytes(MetaInfo::PrefixSize, 0), 0, "", 0},
        {"ItemTagFirst", Implicit(0xFFFE, 0xE000, TextBytes("ab")), 0, "", 0},
        {"MetaValueCutShort",
         Concat({Prefix(), Bytes(explicitMeta.begin(), explicitMeta.end() - 4)}), 0, "", 0},
    };
}

class MetaInfoLoad : public ::testing::TestWithParam<LoadCase>
{
};

TEST_P(MetaInfoLoad, SettlesTheTransferSyntaxAndStopsAtTheDataSet)
{
    const LoadCase& test = GetParam();
    MemInBuffer stream(test.bytes.data(), static_cast<std::uint32_t>(test.bytes.size()));
    MetaInfo meta;
    ASSERT_EQ(meta.LoadMetaInfo(stream), test.result);
    if (test.result == 0)
    {
        return;
    }
    UID syntax;
    meta.GetTransferSyntax(syntax);
    EXPECT_STREQ(syntax, test.syntax);
    EXPECT_EQ(stream.GetConsumed(), test.consumed);
    EXPECT_EQ(meta.GetVR(0x0002, 0x0000), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Streams, MetaInfoLoad, ::testing::ValuesIn(LoadCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MetaInfo, MissingTransferSyntaxMeansImplicitLittleEndian)
{
    const Bytes bytes = Concat({Prefix(), MetaGroup(nullptr), ImplicitModality});
    MemInBuffer stream(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    MetaInfo meta;
    ASSERT_EQ(meta.LoadMetaInfo(stream), 1);
    EXPECT_EQ(meta.GetEndianType(), enImplicitLittle);
    EXPECT_EQ(meta.GetMetaTransferSyntax().Index, 0);
    EXPECT_EQ(meta.GetVR(0x0002, 0x0010), nullptr);
    EXPECT_NE(meta.GetVR(0x0002, 0x0003), nullptr);
}

TEST(MetaInfo, ReadsThePreamble)
{
    Bytes bytes = Concat({Prefix(), MetaGroup("1.2.840.10008.1.2.1"), ExplicitModality});
    bytes[5] = 0x5A;
    MemInBuffer stream(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    MetaInfo meta;
    ASSERT_EQ(meta.LoadMetaInfo(stream), 1);
    EXPECT_EQ(meta.GetPreamble()[5], 0x5A);
}

struct SyntaxCase
{
    const char* uid;
    int index;
    int endianType;
    std::uint16_t pixelVR;
};

class TransferSyntaxRecord : public ::testing::TestWithParam<SyntaxCase>
{
};

TEST_P(TransferSyntaxRecord, ComesFromTheTable)
{
    const SyntaxCase& test = GetParam();
    MetaInfo meta;
    meta.SetTransferSyntax(UID(test.uid));
    const MetaTransferSyntax& record = meta.GetMetaTransferSyntax();
    EXPECT_EQ(record.Index, test.index);
    EXPECT_EQ(record.EndianType, test.endianType);
    EXPECT_EQ(record.PixelVR, test.pixelVR);
    EXPECT_STREQ(record.TransferSyntaxName, test.uid);
    EXPECT_STREQ(meta.GetLettra(0x0002, 0x0010), test.uid);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TransferSyntaxRecord,
    ::testing::Values(SyntaxCase{"1.2.840.10008.1.2", 0, enImplicitLittle, VRCode::OW},
                      SyntaxCase{"1.2.840.10008.1.2.1", 1, enExplicitLittle, VRCode::OW},
                      SyntaxCase{"1.2.840.10008.1.2.2", 2, enExplicitBig, VRCode::OW},
                      SyntaxCase{"1.2.840.10008.1.2.5", 3, enExplicitLittle, VRCode::OB},
                      SyntaxCase{"1.2.840.10008.1.2.4.50", 4, enExplicitLittle, VRCode::OB},
                      SyntaxCase{"1.2.840.10008.1.2.4.66", 20, enExplicitLittle, VRCode::OB},
                      SyntaxCase{"1.2.840.10008.1.2.4.70", 21, enExplicitLittle, VRCode::OB},
                      SyntaxCase{"1.2.840.10008.1.2.4.91", 25, enExplicitLittle, VRCode::OB},
                      SyntaxCase{"1.2.840.10008.1.20", 28, enImplicitLittle, VRCode::OW},
                      SyntaxCase{"1.2.84658685.219.55.99", 33, enExplicitLittle, VRCode::OB},
                      SyntaxCase{"1.2.840.10008.1.2.4.100", -1, enEndianUnknown, 0}));

TEST(MetaInfo, TableHasThirtyFourRows)
{
    EXPECT_EQ(MetaInfo::GetTransferSyntaxCount(), 34);
}

TEST(MetaInfo, SettingTheSyntaxAgainReplacesTheElement)
{
    MetaInfo meta;
    meta.SetTransferSyntax(UidTransferLittleEndian);
    meta.SetTransferSyntax(UidTransferBigEndianExplicit);
    EXPECT_STREQ(meta.GetLettra(0x0002, 0x0010), "1.2.840.10008.1.2.2");
    EXPECT_EQ(meta.GetVRCount(), 2); // the group length and the syntax
}

class MetaHeader : public LibraryTest
{
protected:
    // The header written for a file of this SOP class and instance.
    Bytes WriteHeader(MetaInfo& meta)
    {
        meta.SetTransferSyntax(UidTransferLittleEndianExplicit);
        meta.BuildMetaGroup(UID("1.2.840.10008.5.1.4.1.1.7"), UID("1.2.3.4.5.6"));
        MemOutBuffer out;
        meta.WriteHeader(out);
        Bytes bytes(out.GetTotal());
        out.CopyOut(bytes.data());
        return bytes;
    }
};

TEST_F(MetaHeader, HoldsTheGroupLengthAndSevenElementsInOrder)
{
    MetaInfo meta;
    const Bytes bytes = WriteHeader(meta);
    ASSERT_EQ(bytes.size(), meta.GetHeaderSize());
    EXPECT_EQ(std::string(bytes.begin() + 128, bytes.begin() + 132), "DICM");
    const std::vector<ElementAt> elements = WalkExplicitGroup(bytes, MetaInfo::PrefixSize, 0x0002);
    std::vector<std::uint32_t> tags;
    for (const ElementAt& element : elements)
    {
        tags.push_back(element.Tag);
    }
    EXPECT_EQ(tags, (std::vector<std::uint32_t>{0x00020000, 0x00020001, 0x00020002, 0x00020003,
                                                0x00020010, 0x00020012, 0x00020013, 0x00020016}));
    ASSERT_EQ(elements.back().ValueOffset + elements.back().Length, bytes.size());
    const std::uint32_t groupLength = ReadLittle32(bytes, elements[0].ValueOffset);
    EXPECT_EQ(groupLength, bytes.size() - elements[1].Offset);
}

TEST_F(MetaHeader, CarriesTheLibraryDefaultsAndItsPreamble)
{
    MetaInfo meta;
    const Bytes bytes = WriteHeader(meta);
    EXPECT_EQ(std::string(bytes.begin() + 16, bytes.begin() + 28), "TQELM20001.0");
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 16), Bytes(16, 0));
    EXPECT_EQ(Bytes(bytes.begin() + 28, bytes.begin() + 128), Bytes(100, 0));
    EXPECT_STREQ(meta.GetLettra(0x0002, 0x0012), "1.2.840.84658685.1.0");
    EXPECT_STREQ(meta.GetLettra(0x0002, 0x0013), "TQELM20001.0");
    EXPECT_STREQ(meta.GetLettra(0x0002, 0x0016), "TAVUQELM       "); // less its last blank
    EXPECT_EQ(meta.GetVR(0x0002, 0x0016)->GetLength(), 16u);
    EXPECT_EQ(meta.GetUINT16(0x0002, 0x0001), 0x0100);
    EXPECT_STREQ(meta.GetLettra(0x0002, 0x0002), "1.2.840.10008.5.1.4.1.1.7");
}

TEST_F(MetaHeader, OwnTextsReplaceTheDefaults)
{
    MetaInfo meta;
    EXPECT_EQ(meta.SetSourceApplicationAE("STATION7"), 1);
    EXPECT_EQ(meta.SetImplementationClassUID("1.2.3.9"), 1);
    EXPECT_EQ(meta.SetImplementationVersionName("OTHER_1"), 1);
    EXPECT_EQ(meta.SetSourceApplicationAE(nullptr), 0);
    WriteHeader(meta);
    EXPECT_STREQ(meta.GetLettra(0x0002, 0x0016), "STATION7");
    EXPECT_STREQ(meta.GetLettra(0x0002, 0x0012), "1.2.3.9");
    EXPECT_STREQ(meta.GetLettra(0x0002, 0x0013), "OTHER_1");
    EXPECT_EQ(meta.GetVRCount(), 8);
}

TEST_F(MetaHeader, ReadsBackAsItWasWritten)
{
    MetaInfo written;
    const Bytes bytes = Concat({WriteHeader(written), ExplicitModality});
    MemInBuffer stream(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    MetaInfo read;
    ASSERT_EQ(read.LoadMetaInfo(stream), 1);
    EXPECT_TRUE(read == written);
    EXPECT_EQ(read.GetEndianType(), enExplicitLittle);
    EXPECT_EQ(stream.GetConsumed(), written.GetHeaderSize());
}

} // namespace
