#include "CodingTestSupport.h"
#include "ElementTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>

namespace
{

struct HostileCase
{
    const char* name;
    std::function<void(StreamBuilder&)> build;
};

class HostileInput : public DictionaryTest,
                     public ::testing::WithParamInterface<std::tuple<HostileCase, enSyntax>>
{
protected:
    Bytes Build() const
    {
        StreamBuilder stream(std::get<1>(GetParam()));
        stream.TextElement(0x0008, 0x0060, "CS", "MR");
        std::get<0>(GetParam()).build(stream);
        return stream.GetBytes();
    }
};

StreamBuilder& Nest(StreamBuilder& stream, int levels)
{
    for (int i = 0; i < levels; ++i)
    {
        stream.Header(0x0040, 0xA730, "SQ", 0xFFFFFFFF).Item();
    }
    stream.TextElement(0x0040, 0xA160, "UT", "DEEP");
    for (int i = 0; i < levels; ++i)
    {
        stream.ItemEnd().SequenceEnd();
    }
    return stream;
}

const HostileCase HostileCases[] = {
    {"ValuePastTheEnd",
     [](StreamBuilder& s) { s.Header(0x0010, 0x0010, "PN", 100).Text("SHORT"); }},
    {"ItemPastTheEnd",
     [](StreamBuilder& s) { s.Header(0x0008, 0x1140, "SQ", 0xFFFFFFFF).Item(100).Text("AB"); }},
    {"SequenceBodyPastTheEnd",
     [](StreamBuilder& s) { s.Header(0x0008, 0x1140, "SQ", 100).Item(0); }},
    {"ItemNeverEnds",
     [](StreamBuilder& s) {
         s.Header(0x0008, 0x1140, "SQ", 0xFFFFFFFF)
             .Item()
             .TextElement(0x0008, 0x1150, "UI", "1.2 ");
     }},
    {"SequenceNeverEnds",
     [](StreamBuilder& s) { s.Header(0x0008, 0x1140, "SQ", 0xFFFFFFFF).Item().ItemEnd(); }},
    {"FragmentsNeverEnd",
     [](StreamBuilder& s) { s.Header(0x7FE0, 0x0010, "OB", 0xFFFFFFFF).Item(0); }},
    {"FragmentPastTheEnd",
     [](StreamBuilder& s) { s.Header(0x7FE0, 0x0010, "OB", 0xFFFFFFFF).Item(1000).Text("AB"); }},
    {"ValueOfTheLengthLimit",
     [](StreamBuilder& s) { s.Header(0x0010, 0x0010, "OB", 0x8000000).Raw(Bytes(64, 0)); }},
    {"HugePixelDataPastTheEnd",
     [](StreamBuilder& s) { s.Header(0x7FE0, 0x0010, "OW", 0xFFFFFFF0).Raw(Bytes(64, 0)); }},
    {"EndlessNesting", [](StreamBuilder& s) { Nest(s, 300); }},
    {"InvalidItemTag", [](StreamBuilder& s) { s.U16(0xFFFE).U16(0xE001).U32(0); }},
    {"CutInsideAHeader", [](StreamBuilder& s) { s.U16(0x0010).U16(0x0010).U16(4); }},
};

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileInput,
    ::testing::Combine(::testing::ValuesIn(HostileCases),
                       ::testing::Values(enSyntax::ImplicitLittle, enSyntax::ExplicitLittle,
                                         enSyntax::ExplicitBig)),
    [](const auto& info)
    { return std::string(std::get<0>(info.param).name) + "_" + NameOf(std::get<1>(info.param)); });

TEST_P(HostileInput, FailsAndKeepsWhatWasRead)
{
    const Bytes bytes = Build();
    DICOMDataSet set;
    const enSyntax syntax = std::get<1>(GetParam());
    EXPECT_EQ(DecodeBytes(bytes, syntax, &set), 0);
    EXPECT_EQ(std::string(set.GetLettra(0x0008, 0x0060)), "MR");
}

TEST_P(HostileInput, TillTagFailsToo)
{
    const Bytes bytes = Build();
    const enSyntax syntax = std::get<1>(GetParam());
    MemInBuffer in(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    DICOMDataSet set;
    const std::uint32_t result =
        syntax == enSyntax::ExplicitBig
            ? BigEndianDecoder(in).DecodeTillTag(&set, 0xFFFFFFFF)
            : FixDecoder(in).DecodeTillTag(&set, 0xFFFFFFFF,
                                           syntax == enSyntax::ImplicitLittle ? 1 : 0);
    EXPECT_EQ(result, 0xFFFFFFFFu);
}

TEST_F(DictionaryTest, AnItemBeforeAnyElementFails)
{
    for (const enSyntax syntax :
         {enSyntax::ImplicitLittle, enSyntax::ExplicitLittle, enSyntax::ExplicitBig})
    {
        StreamBuilder stream(syntax);
        stream.Item(0).TextElement(0x0008, 0x0060, "CS", "MR");
        DICOMDataSet set;
        EXPECT_EQ(DecodeBytes(stream.GetBytes(), syntax, &set), 0) << NameOf(syntax);
    }
}

TEST_F(DictionaryTest, NestingWithinTheCapDecodes)
{
    for (const enSyntax syntax :
         {enSyntax::ImplicitLittle, enSyntax::ExplicitLittle, enSyntax::ExplicitBig})
    {
        StreamBuilder stream(syntax);
        Nest(stream, 40);
        DICOMDataSet set;
        ASSERT_EQ(DecodeBytes(stream.GetBytes(), syntax, &set), 1) << NameOf(syntax);
        const DICOMVRSet* level = &set;
        for (int i = 0; i < 40; ++i)
        {
            level = level->GetSequence(0x0040, 0xA730, 0);
            ASSERT_NE(level, nullptr);
        }
        EXPECT_EQ(std::string(level->GetLettra(0x0040, 0xA160)), "DEEP");
    }
}

// Every prefix of a stream decodes cleanly when it ends between two
// top-level elements (fewer than 4 bytes after them count as the end of the
// data), and fails when it ends anywhere else.
TEST_F(DictionaryTest, EveryTruncationEndsCleanly)
{
    for (const enSyntax syntax :
         {enSyntax::ImplicitLittle, enSyntax::ExplicitLittle, enSyntax::ExplicitBig})
    {
        StreamBuilder stream(syntax);
        std::set<std::size_t> boundaries = {0};
        stream.TextElement(0x0008, 0x0060, "CS", "MR");
        boundaries.insert(stream.GetSize());
        stream.Header(0x0008, 0x1140, "SQ", 0xFFFFFFFF)
            .Item()
            .TextElement(0x0008, 0x1150, "UI", "1.2 ")
            .Header(0x0008, 0x1199, "SQ", 20)
            .Item(12)
            .TextElement(0x0008, 0x1155, "UI", "1.3 ")
            .ItemEnd()
            .SequenceEnd();
        boundaries.insert(stream.GetSize());
        stream.Header(0x7FE0, 0x0010, "OB", 0xFFFFFFFF)
            .Item(0)
            .Item(6)
            .Text("PIXELS")
            .SequenceEnd();
        boundaries.insert(stream.GetSize());
        const Bytes& bytes = stream.GetBytes();
        for (std::size_t size = 0; size <= bytes.size(); ++size)
        {
            const bool clean =
                std::any_of(boundaries.begin(), boundaries.end(),
                            [size](std::size_t b) { return b <= size && size < b + 4; });
            DICOMDataSet set;
            EXPECT_EQ(DecodeBytes(Bytes(bytes.begin(), bytes.begin() + size), syntax, &set),
                      clean ? 1 : 0)
                << NameOf(syntax) << " cut at " << size;
        }
    }
}

} // namespace
