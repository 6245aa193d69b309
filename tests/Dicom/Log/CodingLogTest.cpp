// The coders' failures leave their reason in the library log.
#include "../Base/CodingTestSupport.h"
#include "../Base/ElementTestSupport.h"
#include "LoggedTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace
{

namespace fs = std::filesystem;

class CodingLog : public LoggedTest<DictionaryTest>
{
protected:
    // The text a decoding appends to the log, and the decoder's result.
    std::string Logged(const Bytes& bytes, enSyntax syntax, int& result) const
    {
        return Appended(
            [&]
            {
                DICOMDataSet set;
                result = DecodeBytes(bytes, syntax, &set);
            });
    }
};

struct LoggedCase
{
    const char* name;
    std::function<void(StreamBuilder&)> build;
    const char* message;
};

TEST_F(CodingLog, EveryFailureSaysWhy)
{
    const LoggedCase cases[] = {
        {"value past the end", [](StreamBuilder& s) { s.Header(0x0010, 0x0010, "PN", 100); },
         "The value of (0010, 0010) of length 100 runs past the end of the data (0 bytes left)"},
        {"length limit", [](StreamBuilder& s) { s.Header(0x0010, 0x0010, "OB", 0x8000000); },
         "The value of length 134217728 is crazy (great then 134217728) !"},
        {"item never ends",
         [](StreamBuilder& s) { s.Header(0x0008, 0x1140, "SQ", 0xFFFFFFFF).Item(); },
         "The data ended inside an item or a sequence of undefined length"},
        {"fragments never end",
         [](StreamBuilder& s) { s.Header(0x7FE0, 0x0010, "OB", 0xFFFFFFFF).Item(0); },
         "The data ended inside the fragments of the pixel data"},
        {"endless nesting",
         [](StreamBuilder& s)
         {
             for (int i = 0; i < 200; ++i)
             {
                 s.Header(0x0040, 0xA730, "SQ", 0xFFFFFFFF).Item();
             }
         },
         "Items and sequences nest deeper than 128 levels"},
        {"invalid item tag", [](StreamBuilder& s) { s.U16(0xFFFE).U16(0xE001).U32(0); },
         "Invalid VR: (fffe, e001)"},
        {"item before any element", [](StreamBuilder& s) { s.Item(0); },
         "Enter DICOMVRSet::Push (SQDO), LastVR == NULL!"},
    };
    for (const LoggedCase& c : cases)
    {
        StreamBuilder stream(enSyntax::ExplicitLittle);
        c.build(stream);
        int result = -1;
        const std::string text = Logged(stream.GetBytes(), enSyntax::ExplicitLittle, result);
        EXPECT_EQ(result, 0) << c.name;
        EXPECT_NE(text.find(c.message), std::string::npos) << c.name << ": " << text;
    }
}

TEST_F(CodingLog, ACrazyLengthShowsTheSetReadSoFar)
{
    StreamBuilder stream(enSyntax::ExplicitLittle);
    stream.TextElement(0x0008, 0x0060, "CS", "MR").Header(0x0010, 0x0010, "OB", 0x9000000);
    int result = -1;
    const std::string text = Logged(stream.GetBytes(), enSyntax::ExplicitLittle, result);
    EXPECT_EQ(result, 0);
    const std::size_t dump = text.find("(0008, 0060),    2, CS, Modality");
    EXPECT_NE(dump, std::string::npos) << text;
    EXPECT_GT(text.find("The value of length 150994944 is crazy"), dump) << text;
}

TEST_F(CodingLog, HugePixelDataWarnsBeforeItFails)
{
    StreamBuilder stream(enSyntax::ImplicitLittle);
    stream.Header(0x7FE0, 0x0010, "OW", 0xF0000000).Raw(Bytes(16, 0));
    int result = -1;
    const std::string text = Logged(stream.GetBytes(), enSyntax::ImplicitLittle, result);
    EXPECT_EQ(result, 0);
    const std::size_t warning = text.find("Get a huge Pixeldata of -268435456 (0xf0000000)");
    EXPECT_NE(warning, std::string::npos) << text;
    EXPECT_GT(text.find("runs past the end of the data (16 bytes left)"), warning) << text;
}

TEST_F(CodingLog, BrokenCorpusFilesLeaveALine)
{
    for (const char* name : {"MR_truncated.dcm", "rtplan_truncated.dcm", "no_meta.dcm"})
    {
        std::ifstream in(fs::path(SUITE_CORPUS_DIR) / "pydicom" / "test_files" / name,
                         std::ios::binary);
        const Bytes file{std::istreambuf_iterator<char>(in), {}};
        ASSERT_FALSE(file.empty()) << name;
        const DataSetPlace place = LocateDataSet(file);
        int result = -1;
        const std::string text =
            Logged(Bytes(file.begin() + static_cast<std::ptrdiff_t>(place.offset), file.end()),
                   place.syntax, result);
        EXPECT_EQ(result, 0) << name;
        EXPECT_NE(text.find("\r\n"), std::string::npos) << name;
    }
}

} // namespace
