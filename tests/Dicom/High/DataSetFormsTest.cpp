// The XML and text forms of element sets.
#include "DataSetForms.h"

#include "DICOMDataSet.h"
#include "DICOMVRSet.h"
#include "DMarkup.h"
#include "DataDictionary.h"
#include "DicomDictionary.h"
#include "VR.h"
#include "VRCode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace
{

std::string Str(const Lettra& text)
{
    return std::string(text.constBuffer(), text.GetLength());
}

class DataSetFormsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (DataDictionary::GetLibraryDictionary().IsEmpty())
            DataDictionary::GetLibraryDictionary().Build();
    }

    // The data of the child name of the first Veltaro element.
    static std::string FirstRecordField(const Lettra& xml, const char* name)
    {
        DMarkup markup(xml);
        if (!markup.GotoPath("/DataSet/Veltaro"))
            return "<missing>";
        return Str(markup.GetData(name));
    }

    static std::vector<std::int64_t> Numbers(const DICOMVRSet& set, unsigned short group,
                                             unsigned short element, int size, bool bSigned)
    {
        std::vector<std::int64_t> numbers;
        const VR* vr = set.GetVR(group, element);
        if (!vr)
            return numbers;
        const auto* data = static_cast<const std::uint8_t*>(vr->GetData());
        for (unsigned int at = 0; at + size <= vr->GetLength(); at += size)
        {
            if (size == 2)
            {
                std::uint16_t v = 0;
                std::memcpy(&v, data + at, 2);
                numbers.push_back(bSigned ? std::int64_t{static_cast<std::int16_t>(v)}
                                          : std::int64_t{v});
            }
            else
            {
                std::uint32_t v = 0;
                std::memcpy(&v, data + at, 4);
                numbers.push_back(bSigned ? std::int64_t{static_cast<std::int32_t>(v)}
                                          : std::int64_t{v});
            }
        }
        return numbers;
    }

    static DICOMDataSet RoundTrip(const DICOMVRSet& set)
    {
        DICOMDataSet back;
        EXPECT_EQ(DataSetForms::XmlDeserialize(back, DataSetForms::XmlSerialize(set)), 1);
        return back;
    }
};

TEST_F(DataSetFormsTest, OneTextElement)
{
    DICOMDataSet set;
    set.Add(0x0010, 0x0010, "ABCD^EFG");
    const Lettra xml = DataSetForms::XmlSerialize(set);
    const std::string text = Str(xml);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                         "<!-- <?xml:stylesheet type=\"text/xsl\" href=\"DICOMDataSet.xsl\" ?> "
                         "-->\r\n<!-- Date:",
                         0),
              0u);
    EXPECT_NE(text.find(" -->\r\n<!-- Version: 1.0 -->\r\n<DataSet>\r\n<Veltaro>\r\n"
                        "<Group>0x0010</Group>\r\n<Element>0x0010</Element>\r\n"
                        "<Length>   8</Length>\r\n<VR>PN</VR>\r\n<Description>"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("<Value>ABCD^EFG</Value>\r\n</Veltaro>\r\n</DataSet>\r\n"),
              std::string::npos);
    EXPECT_EQ(FirstRecordField(xml, "Description"),
              Str(DicomDictionary::GetDescription(0x0010, 0x0010)));
    EXPECT_FALSE(DicomDictionary::GetDescription(0x0010, 0x0010).IsEmpty());
    DICOMDataSet back = RoundTrip(set);
    EXPECT_TRUE(back == set);
    EXPECT_EQ(Str(back.GetLettra(0x0010, 0x0010)), "ABCD^EFG");
}

TEST_F(DataSetFormsTest, UnsignedShortValue)
{
    DICOMDataSet set;
    set.Add(0x0028, 0x0010, static_cast<unsigned short>(512));
    const Lettra xml = DataSetForms::XmlSerialize(set);
    EXPECT_EQ(FirstRecordField(xml, "Value"), " 512");
    EXPECT_EQ(FirstRecordField(xml, "VR"), "US");
    EXPECT_EQ(RoundTrip(set).GetUINT16(0x0028, 0x0010), 512);
}

TEST_F(DataSetFormsTest, SignedValuesSurvive)
{
    DICOMDataSet set;
    const short pair[] = {3, 7};
    const short negative[] = {-3, 7, -1234, -5678, -32768};
    const int longs[] = {-100000, 5, 2147483647, -2147483647 - 1};
    set.Add(0x0018, 0x9440, pair, 2);
    set.Add(0x0018, 0x9442, negative, 5);
    set.Add(0x0018, 0x6020, longs, 4);
    ASSERT_EQ(DicomDictionary::Lookup(0x0018, 0x9440), VRCode::SS);
    ASSERT_EQ(DicomDictionary::Lookup(0x0018, 0x9442), VRCode::SS);
    ASSERT_EQ(DicomDictionary::Lookup(0x0018, 0x6020), VRCode::SL);
    const DICOMDataSet back = RoundTrip(set);
    EXPECT_EQ(Numbers(back, 0x0018, 0x9440, 2, true), (std::vector<std::int64_t>{3, 7}));
    EXPECT_EQ(Numbers(back, 0x0018, 0x9442, 2, true),
              (std::vector<std::int64_t>{-3, 7, -1234, -5678, -32768}));
    EXPECT_EQ(Numbers(back, 0x0018, 0x6020, 4, true),
              (std::vector<std::int64_t>{-100000, 5, 2147483647, -2147483647LL - 1}));
    EXPECT_TRUE(back == set);
}

TEST_F(DataSetFormsTest, WideNumbersStayApart)
{
    DICOMDataSet set;
    const unsigned short wide[] = {1024, 2048, 65535};
    set.Add(0x0018, 0x1310, wide, 3); // US
    const Lettra xml = DataSetForms::XmlSerialize(set);
    EXPECT_EQ(FirstRecordField(xml, "Value"), "1024 2048 65535");
    EXPECT_TRUE(RoundTrip(set) == set);
}

TEST_F(DataSetFormsTest, AtMostElevenNumbersAreWritten)
{
    DICOMDataSet set;
    std::vector<unsigned short> values(20);
    for (int i = 0; i < 20; ++i)
        values[i] = static_cast<unsigned short>(i + 1);
    set.Add(0x0018, 0x1310, values.data(), 20);
    const DICOMDataSet back = RoundTrip(set);
    const std::vector<std::int64_t> expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    EXPECT_EQ(Numbers(back, 0x0018, 0x1310, 2, false), expected);
}

TEST_F(DataSetFormsTest, GroupAndElementTextsReadDecimalFirst)
{
    const char* xml = "<DataSet>"
                      "<Veltaro><Group>16</Group><Element>0x0020</Element>"
                      "<Value>ID1</Value></Veltaro>"
                      "<Veltaro><Group>0010</Group><Element>0x0001</Element>"
                      "<Value>x</Value></Veltaro>"
                      "</DataSet>";
    DICOMDataSet set;
    EXPECT_EQ(DataSetForms::XmlDeserialize(set, xml), 1);
    EXPECT_NE(set.GetVR(0x0010, 0x0020), nullptr);
    EXPECT_NE(set.GetVR(0x000A, 0x0001), nullptr);
    // An unknown tag is read as UN: a two- or four-character text as a number.
    EXPECT_EQ(set.GetVR(0x000A, 0x0001)->GetTypeCode(), VRCode::UN);
}

TEST_F(DataSetFormsTest, UnknownTagValues)
{
    const char* xml = "<DataSet>"
                      "<Veltaro><Group>0x0009</Group><Element>0x0010</Element>"
                      "<Value>12</Value></Veltaro>"
                      "<Veltaro><Group>0x0009</Group><Element>0x0011</Element>"
                      "<Value>1000</Value></Veltaro>"
                      "<Veltaro><Group>0x0009</Group><Element>0x0012</Element>"
                      "<Value>abc</Value></Veltaro>"
                      "</DataSet>";
    DICOMDataSet set;
    ASSERT_EQ(DataSetForms::XmlDeserialize(set, xml), 1);
    EXPECT_EQ(set.GetVR(0x0009, 0x0010)->GetLength(), 2u);
    EXPECT_EQ(set.GetUINT16(0x0009, 0x0010), 12);
    EXPECT_EQ(set.GetVR(0x0009, 0x0011)->GetLength(), 4u);
    EXPECT_EQ(set.GetUINT32(0x0009, 0x0011), 1000u);
    EXPECT_EQ(Str(set.GetLettra(0x0009, 0x0012)), "abc");
}

TEST_F(DataSetFormsTest, TextIsEscapedAndWrittenWhole)
{
    DICOMDataSet set;
    set.Add(0x0008, 0x103E, "a<b & c>d");
    const std::string comment(600, 'c');
    set.Add(0x0020, 0x4000, comment.c_str()); // LT, longer than its display text
    const Lettra xml = DataSetForms::XmlSerialize(set);
    EXPECT_NE(Str(xml).find("a&lt;b &amp; c&gt;d"), std::string::npos);
    const DICOMDataSet back = RoundTrip(set);
    EXPECT_TRUE(back == set);
    EXPECT_EQ(Str(back.GetLettra(0x0020, 0x4000)), comment);
}

TEST_F(DataSetFormsTest, SequencesNestInSequenceElements)
{
    DICOMDataSet inner;
    inner.Add(0x0008, 0x1150, "1.2.840.10008.5.1.4.1.1.2");
    inner.Add(0x0008, 0x1155, "1.2.3.4");
    DICOMDataSet deeper;
    deeper.Add(0x0008, 0x0100, "CODE");
    inner.Add(0x0040, 0xA043, deeper);
    DICOMDataSet second;
    second.Add(0x0008, 0x1155, "1.2.3.5");
    DICOMDataSet set;
    set.Add(0x0010, 0x0020, "ID");
    set.Add(0x0008, 0x1140, inner);
    set.Add(0x0008, 0x1140, second);
    ASSERT_EQ(set.GetVR(0x0008, 0x1140)->GetItemCount(), 2);
    const Lettra xml = DataSetForms::XmlSerialize(set);
    EXPECT_NE(Str(xml).find("<Sequence>\r\n<Veltaro>\r\n<Group>0x0008</Group>\r\n"
                            "<Element>0x0100</Element>"),
              std::string::npos);
    const DICOMDataSet back = RoundTrip(set);
    EXPECT_TRUE(back == set);
    ASSERT_NE(back.GetSequence(0x0008, 0x1140, 0), nullptr);
    EXPECT_NE(back.GetSequence(0x0008, 0x1140, 0)->GetSequence(0x0040, 0xA043, 0), nullptr);
}

TEST_F(DataSetFormsTest, ElementWithoutCodeIsWrittenAsUnknownAndGetsTheDictionaryCode)
{
    DICOMDataSet set;
    set.Add(0x0010, 0x0010, "DOE^J");
    set.GetVR(0x0010, 0x0010)->SetTypeCode(VRCode::Unknown);
    const Lettra xml = DataSetForms::XmlSerialize(set);
    EXPECT_EQ(FirstRecordField(xml, "VR"), "UN");
    EXPECT_EQ(FirstRecordField(xml, "Description"), "?");
    EXPECT_EQ(set.GetVR(0x0010, 0x0010)->GetTypeCode(), VRCode::PN);
}

TEST_F(DataSetFormsTest, ReadingAddsToTheSet)
{
    DICOMDataSet set;
    set.Add(0x0010, 0x0010, "OLD");
    set.Add(0x0010, 0x0020, "KEEP");
    DICOMDataSet source;
    source.Add(0x0010, 0x0010, "NEW");
    ASSERT_EQ(DataSetForms::XmlDeserialize(set, DataSetForms::XmlSerialize(source)), 1);
    EXPECT_EQ(Str(set.GetLettra(0x0010, 0x0010)), "NEW");
    EXPECT_EQ(Str(set.GetLettra(0x0010, 0x0020)), "KEEP");
}

TEST_F(DataSetFormsTest, TextWithoutElementsReadsNothing)
{
    DICOMDataSet set;
    EXPECT_EQ(DataSetForms::XmlDeserialize(set, "<DataSet><Other/></DataSet>"), 0);
    EXPECT_EQ(DataSetForms::XmlDeserialize(set, "not xml"), 0);
    EXPECT_EQ(DataSetForms::XmlDeserialize(set, static_cast<const char*>(nullptr)), 0);
    EXPECT_TRUE(set.IsEmpty());
    const Lettra empty = DataSetForms::XmlSerialize(set);
    EXPECT_NE(Str(empty).find("<DataSet/>"), std::string::npos);
    EXPECT_EQ(DataSetForms::XmlDeserialize(set, empty), 0);
}

TEST_F(DataSetFormsTest, ArrayFormRoundTrip)
{
    DICOMDataSet first;
    first.Add(0x0010, 0x0010, "ONE");
    DICOMDataSet second;
    second.Add(0x0010, 0x0010, "TWO");
    second.Add(0x0028, 0x0010, static_cast<unsigned short>(256));
    Array<const DICOMVRSet*> sets;
    sets.AddTail(&first);
    sets.AddTail(&second);
    Lettra xml("prefix");
    ASSERT_EQ(DataSetForms::VRSetArrayToXML(&sets, &xml), 1);
    const std::string text = Str(xml);
    EXPECT_EQ(text.rfind("prefix<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<!-- <?xml:", 0),
              0u);
    EXPECT_NE(text.find("-->\r\n<!--Date:"), std::string::npos);
    EXPECT_NE(text.find("-->\r\n<DataSet>\n<Array>\n<Veltaro>\r\n<Group>"), std::string::npos);
    EXPECT_NE(text.find("</Veltaro>\n</Array>\n<Array>\n<Veltaro>"), std::string::npos);
    EXPECT_TRUE(text.ends_with("</Veltaro>\n</Array>\n</DataSet>\n"));

    const Lettra body(text.c_str() + 6);
    Array<DICOMVRSet*> back;
    ASSERT_EQ(DataSetForms::XMLToVRSetArray(&body, &back), 1);
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_TRUE(*back.GetHead()->item == first);
    EXPECT_TRUE(*back.GetHead()->next->item == second);
    for (auto* node = back.GetHead(); node; node = node->next)
        delete node->item;

    Array<DICOMDataSet*> dataSets;
    ASSERT_EQ(DataSetForms::XMLToADDS(&body, &dataSets), 1);
    EXPECT_EQ(dataSets.GetCount(), 2);
    Lettra again;
    ASSERT_EQ(DataSetForms::ADDSToXML(&dataSets, &again), 1);
    EXPECT_EQ(Str(again).substr(Str(again).find("<DataSet>")), text.substr(text.find("<DataSet>")));
    for (auto* node = dataSets.GetHead(); node; node = node->next)
        delete node->item;
}

TEST_F(DataSetFormsTest, ArrayFormSkipsEmptyArraysAndNeedsArrayElements)
{
    const Lettra xml("<DataSet>\n<Array>\n</Array>\n<Array>\n<Veltaro><Group>0x0010</Group>"
                     "<Element>0x0010</Element><Value>X</Value></Veltaro>\n</Array>\n</DataSet>");
    Array<DICOMVRSet*> sets;
    ASSERT_EQ(DataSetForms::XMLToVRSetArray(&xml, &sets), 1);
    ASSERT_EQ(sets.GetCount(), 1);
    delete sets.GetHead()->item;

    const Lettra none("<DataSet><Veltaro/></DataSet>");
    Array<DICOMVRSet*> nothing;
    EXPECT_EQ(DataSetForms::XMLToVRSetArray(&none, &nothing), 1);
    EXPECT_EQ(nothing.GetCount(), 0);
}

TEST_F(DataSetFormsTest, DumpLinesAndItems)
{
    DICOMDataSet item;
    item.Add(0x0008, 0x1155, "1.2.3");
    DICOMDataSet set;
    set.Add(0x0008, 0x0060, "CT");
    set.Add(0x0010, 0x0010, "LONGER^NAME");
    set.Add(0x0008, 0x1140, item);
    const std::string dump = Str(DataSetForms::ToStringOfTabStop(set, 0, 0));
    EXPECT_EQ(dump.rfind("\r\n", 0), 0u);
    const std::string modality = Str(set.GetVR(0x0008, 0x0060)->ToString());
    EXPECT_NE(dump.find("\r\n" + modality + "\r\n"), std::string::npos);
    EXPECT_NE(dump.find("SQ <<< 1 of 1 Items\r\n\t"), std::string::npos);
    EXPECT_NE(dump.find("SQ >>>\r\n"), std::string::npos);
    EXPECT_EQ(dump.find("(0008, 0000)"), std::string::npos);

    const std::string brief = Str(DataSetForms::ToStringOfTabStop(set, 0, 8));
    EXPECT_EQ(brief.find(modality), std::string::npos);
    EXPECT_NE(brief.find("LONGER^NAME"), std::string::npos);
    EXPECT_NE(brief.find("SQ <<< 1 of 1 Items"), std::string::npos);
    EXPECT_EQ(brief.find("1.2.3"), std::string::npos);
}

TEST_F(DataSetFormsTest, DumpIndentationStopsAtFortyTabs)
{
    DICOMDataSet set;
    set.Add(0x0010, 0x0010, "X");
    for (int level = 0; level < 45; ++level)
    {
        DICOMDataSet outer;
        outer.Add(0x0008, 0x1140, set);
        set = outer;
    }
    const std::string dump = Str(DataSetForms::ToStringOfTabStop(set, 0, 0));
    EXPECT_NE(dump.find(std::string(40, '\t') + "(0010, 0010)"), std::string::npos);
    EXPECT_EQ(dump.find(std::string(41, '\t')), std::string::npos);
}

} // namespace
