// The XML form carries text values in the repertoire their data set's
// Specific Character Set (0008,0005) names: written as UTF-8, read back into
// the same bytes. Texts of a repertoire the form cannot convert pass through
// the process code page as before.
#include "DataSetForms.h"

#include "DICOMDataSet.h"
#include "DMarkup.h"
#include "DataDictionary.h"
#include "VR.h"
#include "WinCodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

constexpr unsigned int kNoConversion = 0xFFFFFFFF;

class DataSetFormsCharset : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (DataDictionary::GetLibraryDictionary().IsEmpty())
            DataDictionary::GetLibraryDictionary().Build();
    }
};

// The value bytes without the blank padding at the end.
std::string Text(const DICOMVRSet& set, unsigned short group, unsigned short element)
{
    const VR* vr = set.GetVR(group, element);
    if (vr == nullptr)
        return "<missing>";
    std::string text(static_cast<const char*>(vr->GetData()), vr->GetLength());
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// The Value of the record of a tag at the document's top level, as it
// stands in the document but for the padding of the value.
std::string RecordValue(const Lettra& xml, unsigned short group, unsigned short element)
{
    Lettra utf8 = xml;
    utf8.ToCharacterSet(CP_UTF8);
    DMarkup markup(utf8);
    markup.SetCodePage(kNoConversion);
    if (!markup.GotoPath("/DataSet/Veltaro"))
        return "<missing>";
    markup.OutOfElem(); // the path leaves the cursor inside the first record
    do
    {
        markup.IntoElem();
        const bool found =
            markup.GetData("Group").Int() == group && markup.GetData("Element").Int() == element;
        const Lettra value = markup.GetData("Value");
        markup.OutOfElem();
        if (found)
            return std::string(value.constBuffer(), value.GetLength())
                .substr(0,
                        value.GetLength() -
                            (value.GetLength() > 0 && value[value.GetLength() - 1] == ' ' ? 1 : 0));
    } while (markup.Next());
    return "<missing>";
}

// Whether the process code page, in which the document is handed back,
// holds the text.
bool CodePageHolds(const char* utf8)
{
    Lettra text(utf8);
    text.FromCharacterSet(CP_UTF8);
    text.ToCharacterSet(CP_UTF8);
    return std::string(text.constBuffer(), text.GetLength()) == utf8;
}

DICOMDataSet RoundTrip(DICOMDataSet& set)
{
    DICOMDataSet back;
    EXPECT_EQ(back.XmlDeserialize(set.XmlSerialize()), 1);
    return back;
}

struct RepertoireCase
{
    const char* term;
    const char* coded;
    const char* utf8;
};

} // namespace

TEST_F(DataSetFormsCharset, EveryConvertedRepertoireRoundTripsByteExact)
{
    const RepertoireCase cases[] = {
        {"ISO_IR 100", "Buc^J\xe9r\xf4me", "Buc^J\xc3\xa9r\xc3\xb4me"},
        {"ISO_IR 101", "Dvo\xf8\xe1k^\xa3ukasz", "Dvo\xc5\x99\xc3\xa1k^\xc5\x81ukasz"},
        {"ISO_IR 109",
         "\xa1"
         "a\xf5"
         "ar^\xd5u\xbf\xe8",
         "\xc4\xa6"
         "a\xc4\xa1"
         "ar^\xc4\xa0u\xc5\xbc\xc3\xa8"},
        {"ISO_IR 110", "\xabirts^\xd3\xbani\xf1\xb9",
         "\xc4\xa2irts^\xc4\xb6\xc4\x93ni\xc5\x86\xc5\xa1"},
        {"ISO_IR 144",
         "\xbb\xee\xda"
         "ce\xdc\xd1yp\xd3",
         "\xd0\x9b\xd1\x8e\xd0\xba"
         "ce\xd0\xbc\xd0\xb1yp\xd0\xb3"},
        {"ISO_IR 127", "\xe2\xc8\xc7\xe6\xea^\xe4\xe6\xd2\xc7\xd1",
         "\xd9\x82\xd8\xa8\xd8\xa7\xd9\x86\xd9\x8a^\xd9\x84\xd9\x86\xd8\xb2\xd8\xa7\xd8\xb1"},
        {"ISO_IR 126", "\xc4\xe9\xef\xed\xf5\xf3\xe9\xef\xf2",
         "\xce\x94\xce\xb9\xce\xbf\xce\xbd\xcf\x85\xcf\x83\xce\xb9\xce\xbf\xcf\x82"},
        {"ISO_IR 138", "\xf9\xf8\xe5\xef^\xe3\xe1\xe5\xf8\xe4",
         "\xd7\xa9\xd7\xa8\xd7\x95\xd7\x9f^\xd7\x93\xd7\x91\xd7\x95\xd7\xa8\xd7\x94"},
        {"ISO_IR 148",
         "\xc7"
         "a\xf0r\xfd^\xde\xfckr\xfc",
         "\xc3\x87"
         "a\xc4\x9fr\xc4\xb1^\xc5\x9e\xc3\xbckr\xc3\xbc"},
        {"ISO_IR 192", "Wang^XiaoDong=\xe7\x8e\x8b^\xe5\xb0\x8f\xe6\x9d\xb1=",
         "Wang^XiaoDong=\xe7\x8e\x8b^\xe5\xb0\x8f\xe6\x9d\xb1="},
    };
    for (const RepertoireCase& c : cases)
    {
        SCOPED_TRACE(c.term);
        DICOMDataSet set;
        set.Add(0x0008, 0x0005, c.term);
        set.Add(0x0008, 0x0080, c.coded);
        set.Add(0x0010, 0x0010, c.coded);
        const Lettra xml = set.XmlSerialize();
        if (!CodePageHolds(c.utf8))
            continue;
        EXPECT_EQ(RecordValue(xml, 0x0010, 0x0010), c.utf8);
        EXPECT_EQ(RecordValue(xml, 0x0008, 0x0080), c.utf8);
        DICOMDataSet back;
        ASSERT_EQ(back.XmlDeserialize(xml), 1);
        EXPECT_EQ(Text(back, 0x0010, 0x0010), c.coded);
        EXPECT_EQ(Text(back, 0x0008, 0x0080), c.coded);
        EXPECT_EQ(Text(back, 0x0008, 0x0005), c.term);
    }
}

TEST_F(DataSetFormsCharset, ItemsInheritTheRepertoireUnlessTheyDeclareTheirOwn)
{
    DICOMDataSet set;
    set.Add(0x0008, 0x0005, "ISO_IR 100");
    DICOMDataSet latin;
    latin.Add(0x0040, 0xA075, "Riesmeier^J\xf6rg");
    set.Add(0x0040, 0xA073, latin);
    DICOMDataSet utf8;
    utf8.Add(0x0008, 0x0005, "ISO_IR 192");
    utf8.Add(0x0040, 0xA075, "Riesmeier^J\xc3\xb6rg");
    set.Add(0x0040, 0xA073, utf8);

    if (!CodePageHolds("J\xc3\xb6rg"))
        GTEST_SKIP() << "the process code page cannot hold the name";
    const Lettra xml = set.XmlSerialize();
    Lettra utf8Xml = xml;
    utf8Xml.ToCharacterSet(CP_UTF8);
    const std::string doc(utf8Xml.constBuffer(), utf8Xml.GetLength());
    const std::string value = "<Value>Riesmeier^J\xc3\xb6rg"; // and the padding
    const std::size_t first = doc.find(value);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(doc.find(value, first + 1), std::string::npos);
    DICOMDataSet back;
    ASSERT_EQ(back.XmlDeserialize(xml), 1);
    ASSERT_NE(back.GetSequence(0x0040, 0xA073, 1), nullptr);
    EXPECT_EQ(Text(*back.GetSequence(0x0040, 0xA073, 0), 0x0040, 0xA075), "Riesmeier^J\xf6rg");
    EXPECT_EQ(Text(*back.GetSequence(0x0040, 0xA073, 1), 0x0040, 0xA075), "Riesmeier^J\xc3\xb6rg");
}

TEST_F(DataSetFormsCharset, ADocumentWithoutTheElementReadsInTheRepertoireOfTheTarget)
{
    DICOMDataSet latin;
    latin.Add(0x0008, 0x0005, "ISO_IR 100");
    latin.Add(0x0010, 0x0010, "Buc^J\xe9r\xf4me");
    Lettra xml = latin.XmlSerialize();
    xml.ToCharacterSet(CP_UTF8);
    DMarkup markup(xml);
    ASSERT_TRUE(markup.GotoPath("/DataSet/Veltaro"));
    ASSERT_TRUE(markup.RemoveElem()); // the (0008,0005) record
    Lettra names = markup.GetDoc();
    names.FromCharacterSet(CP_UTF8);

    DICOMDataSet target;
    target.Add(0x0008, 0x0005, "ISO_IR 100");
    ASSERT_EQ(target.XmlDeserialize(names), 1);
    EXPECT_EQ(Text(target, 0x0010, 0x0010), "Buc^J\xe9r\xf4me");
}

// Each case: the XML of a value the form cannot convert equals the XML of the
// same value in a set without Specific Character Set, and both read back
// alike (where the code page is UTF-8: elsewhere a value that is not valid
// UTF-8 reads back as the UTF-8 of its code page characters).
TEST_F(DataSetFormsCharset, TextsTheRepertoireCannotHoldPassThroughTheCodePage)
{
    struct Case
    {
        const char* name;
        const char* term;
        const char* value;
    };
    const Case cases[] = {
        {"code extensions", "\\ISO 2022 IR 87", "Yamada^Tarou"},
        {"two values", "ISO_IR 100\\ISO_IR 101", "Buc^J\xc3\xa9r\xc3\xb4me"},
        {"unknown term", "ISO_IR 999", "Name"},
        {"not UTF-8", "ISO_IR 192", "Bad\xff\xfeName"},
        {"unassigned in Arabic", "ISO_IR 127", "\xa1\xa2"},
        {"default", "ISO_IR 6", "Plain^Name"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        DICOMDataSet declared;
        declared.Add(0x0008, 0x0005, c.term);
        declared.Add(0x0010, 0x0010, c.value);
        DICOMDataSet plain;
        plain.Add(0x0010, 0x0010, c.value);
        EXPECT_EQ(RecordValue(declared.XmlSerialize(), 0x0010, 0x0010),
                  RecordValue(plain.XmlSerialize(), 0x0010, 0x0010));
        if (GetACP() == CP_UTF8)
        {
            EXPECT_EQ(Text(RoundTrip(declared), 0x0010, 0x0010),
                      Text(RoundTrip(plain), 0x0010, 0x0010));
        }
    }
}

TEST_F(DataSetFormsCharset, AnEditedValueOutsideTheRepertoireReadsThroughTheCodePage)
{
    DICOMDataSet set;
    set.Add(0x0008, 0x0005, "ISO_IR 100");
    set.Add(0x0010, 0x0010, "PLACEHOLDER");
    Lettra xml = set.XmlSerialize();
    const std::string wang = "\xe7\x8e\x8b";
    if (!CodePageHolds(wang.c_str()))
        GTEST_SKIP() << "the process code page cannot hold the edited name";
    Lettra edited = xml;
    edited.ToCharacterSet(CP_UTF8);
    std::string doc(edited.constBuffer(), edited.GetLength());
    doc.replace(doc.find("PLACEHOLDER"), 11, wang);
    Lettra ansi(doc.c_str(), static_cast<int>(doc.size()));
    ansi.FromCharacterSet(CP_UTF8);

    DICOMDataSet back;
    ASSERT_EQ(back.XmlDeserialize(ansi), 1);
    Lettra inCodePage(wang.c_str());
    inCodePage.FromCharacterSet(CP_UTF8);
    EXPECT_EQ(Text(back, 0x0010, 0x0010), std::string(inCodePage.constBuffer()));
}

// Damaged documents break nothing: a cut document in a converted repertoire
// with items reads nothing, and records whose character-set entries are odd
// leave the other records readable.
TEST_F(DataSetFormsCharset, DamagedDocumentsReadSafely)
{
    DICOMDataSet set;
    set.Add(0x0008, 0x0005, "ISO_IR 100");
    set.Add(0x0010, 0x0010, "Buc^J\xe9r\xf4me");
    DICOMDataSet item;
    item.Add(0x0008, 0x0005, "ISO_IR 192");
    item.Add(0x0040, 0xA075, "Riesmeier^J\xc3\xb6rg");
    set.Add(0x0040, 0xA073, item);
    const Lettra xml = set.XmlSerialize();
    const int whole = xml.Find("</DataSet>") + 10;
    for (int length = 0; length < whole; ++length) // a cut document does not parse
    {
        DICOMDataSet back;
        EXPECT_EQ(back.XmlDeserialize(Lettra(xml.constBuffer(), length)), 0) << length;
        EXPECT_NE(back.IsEmpty(), 0) << length;
    }

    const char* const records[] = {
        "<Veltaro><Group>0x0008</Group><Element>0x0005</Element></Veltaro>",
        "<Veltaro><Group>0x0008</Group><Element>0x0005</Element><Value></Value></Veltaro>",
        "<Veltaro><Group>8</Group><Element>5</Element><Value>ISO_IR 999</Value></Veltaro>",
        "<Veltaro><Element>0x0005</Element><Value>ISO_IR 100</Value></Veltaro>",
        "<Veltaro><Group>0x0008</Group><Element>0x0005</Element><Value><Group/></Value></Veltaro>",
        "<Veltaro/>",
    };
    for (const char* record : records)
    {
        SCOPED_TRACE(record);
        const std::string doc = std::string("<DataSet>") + record +
                                "<Veltaro><Group>0x0010</Group><Element>0x0010</Element>"
                                "<Value>Name</Value></Veltaro></DataSet>";
        DICOMDataSet back;
        EXPECT_EQ(back.XmlDeserialize(doc.c_str()), 1);
        EXPECT_EQ(Text(back, 0x0010, 0x0010), "Name");
    }
}
