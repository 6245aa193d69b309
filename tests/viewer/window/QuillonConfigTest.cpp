#include "QuillonConfig.h"
#include "DMarkup.h"
#include "LogTestSupport.h"
#include "ORoiTextLabel.h"
#include "ViewPortFonts.h"

#include <filesystem>
#include <vector>

namespace
{
namespace fs = std::filesystem;

std::vector<std::pair<int, int>> GetTable()
{
    std::vector<std::pair<int, int>> table;
    for (const ViewPortFont& entry : GetViewPortFonts())
    {
        table.emplace_back(entry.nPaneSize, entry.nFontSize);
    }
    return table;
}

std::string ConfigWithFonts(const std::string& elements)
{
    return "<?xml version=\"1.0\"?>\r\n<AppSetting><Config><Other value=\"1\"/>"
           "<ViewPortFont>" +
           elements + "</ViewPortFont></Config></AppSetting>\r\n";
}

class QuillonConfig : public QuillonLogTest
{
protected:
    ConfigurationTexts Read(const std::string& resource, const std::string& config)
    {
        return ReadConfigurationFiles(m_folder.GetPath(resource).c_str(),
                                      m_folder.GetPath(config).c_str());
    }
};

TEST_F(QuillonConfig, ReadsBothFilesWhole)
{
    OpenLog();
    const std::string resource = "<AppSetting><PopupMenu/></AppSetting>";
    const std::string config = ConfigWithFonts("");
    m_folder.WriteFile("Resource.xml", resource);
    m_folder.WriteFile("Config.xml", config);
    ConfigurationTexts texts;
    const std::string lines = Appended([&] { texts = Read("Resource.xml", "Config.xml"); });
    EXPECT_EQ(std::string(texts.resourceXml), resource);
    EXPECT_EQ(std::string(texts.configXml), config);
    EXPECT_EQ(lines.rfind("09:05:07  Enter CWebWindow::SystemInit\r\n\r\n\r\n"
                          "09:05:07  Current Directory : ",
                          0),
              0u)
        << lines;
}

TEST_F(QuillonConfig, MissingAndEmptyFilesAreSkipped)
{
    m_folder.WriteFile("Empty.xml", "");
    const auto before = GetTable();
    const ConfigurationTexts texts = Read("Empty.xml", "Missing.xml");
    EXPECT_TRUE(texts.resourceXml.IsEmpty());
    EXPECT_TRUE(texts.configXml.IsEmpty());
    EXPECT_EQ(GetTable(), before);
}

TEST_F(QuillonConfig, TheFontListEndsAtTheFirstOtherElement)
{
    m_folder.WriteFile("Config.xml", ConfigWithFonts("<ViewPort size=\"100\" font=\"7\"/>"
                                                     "<viewport b=\"200\" a=\"x9\"/>"
                                                     "<Font size=\"300\" font=\"9\"/>"
                                                     "<ViewPort size=\"400\" font=\"11\"/>"));
    auto expected = GetTable();
    expected[0] = {100, 7};
    expected[1] = {200, 0};
    Read("Missing.xml", "Config.xml");
    EXPECT_EQ(GetTable(), expected);
}

TEST_F(QuillonConfig, AtMost64FontsAreRead)
{
    std::string elements;
    for (int i = 0; i < 70; ++i)
    {
        elements +=
            "<ViewPort s=\"" + std::to_string(i + 1) + "\" f=\"" + std::to_string(i) + "\"/>";
    }
    DMarkup config(ConfigWithFonts(elements).c_str());
    EXPECT_EQ(ReadViewPortFonts(config), 64);
    const auto table = GetTable();
    EXPECT_EQ(table[0], std::make_pair(1, 0));
    EXPECT_EQ(table[63], std::make_pair(64, 63));
}

TEST_F(QuillonConfig, WithoutAFontListNothingChanges)
{
    const auto before = GetTable();
    DMarkup config("<AppSetting><Config/></AppSetting>");
    EXPECT_EQ(ReadViewPortFonts(config), 0);
    EXPECT_EQ(GetTable(), before);
}

TEST_F(QuillonConfig, PushedTextsAreKeptInTheirFiles)
{
    OpenLog();
    const std::string folder = m_folder.GetPath() + "/";
    struct Case
    {
        short type;
        const char* name;
    };
    const Case cases[] = {
        {1, "__ImageTag.save.xml"}, {10, "__Resource.save.xml"}, {20, "__Config.save.xml"}};
    for (const Case& c : cases)
    {
        m_folder.WriteFile(c.name, "an older and longer text");
        EXPECT_TRUE(SavePushedConfigXml(folder.c_str(), c.type, "<a/>")) << c.type;
        EXPECT_EQ(m_folder.ReadFile(c.name), "<a/>") << c.type;
    }
}

TEST_F(QuillonConfig, AnUnknownTypeWritesNoFile)
{
    const std::string folder = m_folder.GetPath() + "/";
    for (const short type : {0, 5, 2, 21, -1})
    {
        EXPECT_FALSE(SavePushedConfigXml(folder.c_str(), type, "<a/>")) << type;
    }
    EXPECT_FALSE(SavePushedConfigXml(folder.c_str(), 10, nullptr));
    EXPECT_TRUE(fs::is_empty(m_folder.GetPath()));
}

TEST_F(QuillonConfig, AFileThatCannotBeWrittenOnlyCostsALogLine)
{
    OpenLog();
    const std::string folder = m_folder.GetPath("missing") + "/";
    std::string lines;
    lines = Appended([&] { EXPECT_TRUE(SavePushedConfigXml(folder.c_str(), 20, "<a/>")); });
    EXPECT_NE(lines.find("cannot write " + folder + "__Config.save.xml"), std::string::npos)
        << lines;
}
} // namespace

TEST_F(QuillonConfig, NewMeasurementLabelsArePlacedAHundredPixelsAway)
{
    const int before = ORoiTextLabel::GetDefaultOffset();
    ORoiTextLabel::SetDefaultOffset(10);
    Read("Missing.xml", "Missing.xml");
    EXPECT_EQ(ORoiTextLabel::GetDefaultOffset(), 100);
    ORoiTextLabel::SetDefaultOffset(before);
}
