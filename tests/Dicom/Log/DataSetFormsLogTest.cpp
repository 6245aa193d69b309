// What the XML form of data sets writes to the library log about texts it
// cannot carry in their own repertoire.
#include "DICOMDataSet.h"
#include "LoggedTest.h"
#include "WinCodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

class DataSetFormsLog : public LoggedLibraryTest
{
};

// A set declaring the repertoire, with the name in the set and in one item.
void FillNames(DICOMDataSet& set, const char* term, const char* name)
{
    set.Add(0x0008, 0x0005, term);
    set.Add(0x0010, 0x0010, name);
    DICOMDataSet item;
    item.Add(0x0040, 0xA075, name);
    set.Add(0x0040, 0xA073, item);
}

} // namespace

TEST_F(DataSetFormsLog, ConvertedTextsWriteNothing)
{
    DICOMDataSet set;
    FillNames(set, "ISO_IR 100", "Buc^J\xe9r\xf4me");
    Lettra xml;
    EXPECT_EQ(Appended([&] { xml = set.XmlSerialize(); }), "");
    DICOMDataSet back;
    EXPECT_EQ(Appended([&] { back.XmlDeserialize(xml); }), "");
}

TEST_F(DataSetFormsLog, ARepertoireThatCannotBeConvertedIsReportedOnceEachWay)
{
    DICOMDataSet set;
    FillNames(set, "\\ISO 2022 IR 87", "Yamada^Tarou");
    const std::string warning =
        "00:00:00  DataSetForms: Specific Character Set '\\ISO 2022 IR 87' "
        "is not converted, its texts pass through the process code page\r\n";
    Lettra xml;
    EXPECT_EQ(Appended([&] { xml = set.XmlSerialize(); }), warning);
    DICOMDataSet back;
    EXPECT_EQ(Appended([&] { back.XmlDeserialize(xml); }), warning);
}

TEST_F(DataSetFormsLog, AValueThatDoesNotFitItsRepertoireIsNamed)
{
    DICOMDataSet set;
    set.Add(0x0008, 0x0005, "ISO_IR 192");
    set.Add(0x0010, 0x0010, "Bad\xff\xfeName");
    EXPECT_EQ(Appended([&] { set.XmlSerialize(); }),
              "00:00:00  DataSetForms: the value of (0010,0010) does not fit 'ISO_IR 192', it "
              "passes through the process code page\r\n");
}

TEST_F(DataSetFormsLog, AnEditedValueThatDoesNotFitIsNamedWhenRead)
{
    DICOMDataSet set;
    set.Add(0x0008, 0x0005, "ISO_IR 100");
    set.Add(0x0010, 0x0010, "PLACEHOLDER");
    std::string doc(set.XmlSerialize().constBuffer());
    doc.replace(doc.find("PLACEHOLDER"), 11, "\xe7\x8e\x8b"); // a name Latin-1 cannot hold
    DICOMDataSet back;
    EXPECT_EQ(Appended([&] { back.XmlDeserialize(doc.c_str()); }),
              "00:00:00  DataSetForms: the value of (0010,0010) does not fit 'ISO_IR 100', it "
              "passes through the process code page\r\n");
}

TEST_F(DataSetFormsLog, AValueTheCodePageCannotHoldIsNamed)
{
    ASSERT_TRUE(PlatformSetACP(1252));
    DICOMDataSet set;
    set.Add(0x0008, 0x0005, "ISO_IR 126");
    set.Add(0x0010, 0x0010, "\xc4\xe9\xef\xed\xf5\xf3\xe9\xef\xf2"); // Greek letters
    const std::string appended = Appended([&] { set.XmlSerialize(); });
    PlatformSetACP(CP_UTF8);
    EXPECT_EQ(appended, "00:00:00  DataSetForms: the value of (0010,0010) in 'ISO_IR 126' does "
                        "not fit the process code page, it passes through it unconverted\r\n");
}
