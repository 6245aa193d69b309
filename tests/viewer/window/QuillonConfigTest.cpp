#include "QuillonConfig.h"
#include "ConfigXmlText.h"
#include "DMarkup.h"
#include "DataConfig.h"
#include "ImageShowConfig.h"
#include "ImageTag.h"
#include "LogTestSupport.h"
#include "ORoiTextLabel.h"
#include "OverlayConfig.h"
#include "ViewPortFonts.h"
#include "XmlSetting.h"

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

const char* const TagsXml = "<ImageShowConfig><Modality name=\"CT\"><TopLeft>"
                            "<tag group=\"0010\" element=\"0010\"/></TopLeft></Modality>"
                            "</ImageShowConfig>";

// The holders, settings and label configuration a test changes, back as
// they were when it ends.
class KeptConfiguration
{
public:
    KeptConfiguration()
        : m_Data(DataConfig::Get()), m_Overlay(OverlayConfig::Get()), m_Resource(GetResourceXml()),
          m_Text(GetConfigXmlText())
    {
    }
    ~KeptConfiguration()
    {
        DataConfig::Get() = m_Data;
        OverlayConfig::Get() = m_Overlay;
        SetResourceXml(m_Resource);
        SetConfigXmlText(m_Text);
        ImageTag::Get().Clear();
    }
    KeptConfiguration(const KeptConfiguration&) = delete;
    KeptConfiguration& operator=(const KeptConfiguration&) = delete;

private:
    DataConfig m_Data;
    OverlayConfig m_Overlay;
    Lettra m_Resource;
    Lettra m_Text;
};

class QuillonConfig : public QuillonLogTest
{
protected:
    // The pane-font table belongs to the process: back as it was, for the
    // panes of the tests that follow.
    void TearDown() override
    {
        std::string elements;
        for (const auto& [pane, font] : m_fonts)
        {
            elements += "<ViewPort size=\"" + std::to_string(pane) + "\" font=\"" +
                        std::to_string(font) + "\"/>";
        }
        DMarkup config(ConfigWithFonts(elements).c_str());
        ReadViewPortFonts(config);
        QuillonLogTest::TearDown();
    }

    ConfigurationTexts Read(const std::string& resource, const std::string& config)
    {
        return ReadConfigurationFiles(m_folder.GetPath(resource).c_str(),
                                      m_folder.GetPath(config).c_str());
    }

    const std::vector<std::pair<int, int>> m_fonts = GetTable();
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

TEST_F(QuillonConfig, LoadingTheConfigurationFillsTheHoldersSettingsAndLabels)
{
    KeptConfiguration kept;
    const std::string resource = "<AppSetting><PopupMenu><EMPTY/></PopupMenu></AppSetting>";
    const std::string config =
        "<AppSetting><Config><AlphaOfShutter value=\"77\"/><Overlay><Shadow value=\"1\"/>"
        "<Color><ROIColor R=\"1\" G=\"2\" B=\"3\"/><TextColor R=\"300\" G=\"7\"/></Color>"
        "</Overlay></Config></AppSetting>";
    m_folder.WriteFile("Resource.xml", resource);
    m_folder.WriteFile("Config.xml", config);
    m_folder.WriteFile("Tags.xml", TagsXml);
    const OverlayConfig overlay = OverlayConfig::Get();
    LoadConfiguration(m_folder.GetPath("Resource.xml").c_str(),
                      m_folder.GetPath("Config.xml").c_str(), m_folder.GetPath("Tags.xml").c_str());
    EXPECT_EQ(std::string(GetResourceXml()), resource);
    EXPECT_EQ(std::string(GetConfigXmlText()), config);
    EXPECT_EQ(DataConfig::Get().nAlphaOfShutter, 77);
    EXPECT_EQ(OverlayConfig::Get().crRoi, RGB(1, 2, 3));
    EXPECT_EQ(OverlayConfig::Get().crText, RGB(300 & 0xFF, 7, 0));
    EXPECT_TRUE(OverlayConfig::Get().bShadow);
    EXPECT_EQ(OverlayConfig::Get().crLabel, overlay.crLabel) << "missing settings keep theirs";
    EXPECT_NE(ImageTag::Get().GetModalityItems("CT"), nullptr);

    // Files that are missing leave what was taken before.
    EXPECT_EQ(Data_LoadConfig(m_folder.GetPath("none2.xml").c_str()), 0);
    EXPECT_EQ(Data_LoadConfig(nullptr), 0);
    LoadConfiguration(m_folder.GetPath("none1.xml").c_str(), m_folder.GetPath("none2.xml").c_str(),
                      m_folder.GetPath("none3.xml").c_str());
    EXPECT_EQ(std::string(GetResourceXml()), resource);
    EXPECT_EQ(std::string(GetConfigXmlText()), config);
    EXPECT_EQ(DataConfig::Get().nAlphaOfShutter, 77);
    EXPECT_EQ(OverlayConfig::Get().crRoi, RGB(1, 2, 3));
    EXPECT_NE(ImageTag::Get().GetModalityItems("CT"), nullptr);
}

TEST_F(QuillonConfig, PushedTextsGoWhereTheirTypeSays)
{
    KeptConfiguration kept;
    ImageTag::Get().Clear();
    const std::string folder = m_folder.GetPath() + "/";
    EXPECT_FALSE(TakePushedConfigXml(folder.c_str(), 1, "<ImageShowConfig"));
    EXPECT_EQ(ImageTag::Get().GetModalityItems("CT"), nullptr);
    EXPECT_EQ(m_folder.ReadFile("__ImageTag.save.xml"), "<ImageShowConfig");
    EXPECT_TRUE(TakePushedConfigXml(folder.c_str(), 1, TagsXml));
    EXPECT_NE(ImageTag::Get().GetModalityItems("CT"), nullptr);
    EXPECT_TRUE(TakePushedConfigXml(folder.c_str(), 10, "<AppSetting/>"));
    EXPECT_EQ(std::string(GetResourceXml()), "<AppSetting/>");
    const int alpha = DataConfig::Get().nAlphaOfShutter;
    const std::string pushed =
        "<AppSetting><Config><AlphaOfShutter value=\"5\"/></Config></AppSetting>";
    EXPECT_TRUE(TakePushedConfigXml(folder.c_str(), 20, pushed.c_str()));
    EXPECT_EQ(std::string(GetConfigXmlText()), pushed);
    EXPECT_EQ(DataConfig::Get().nAlphaOfShutter, alpha) << "settings are read at start only";
    EXPECT_FALSE(TakePushedConfigXml(folder.c_str(), 5, "<AppSetting/>"));
    EXPECT_FALSE(TakePushedConfigXml(folder.c_str(), 10, nullptr));
    EXPECT_EQ(std::string(GetResourceXml()), "<AppSetting/>");
}

TEST_F(QuillonConfig, TheShippedConfigurationGivesTheBuiltInSettings)
{
    KeptConfiguration kept;
    DataConfig::Get() = DataConfig();
    OverlayConfig::Get() = OverlayConfig();
    const std::string config = std::string(ImageShowConfig::GetDefaultPath());
    ASSERT_EQ(Data_LoadConfig(config.c_str()), 1);
    const OverlayConfig builtIn;
    EXPECT_EQ(OverlayConfig::Get().crRoi, builtIn.crRoi);
    EXPECT_EQ(OverlayConfig::Get().crRoiText, builtIn.crRoiText);
    EXPECT_EQ(OverlayConfig::Get().crText, builtIn.crText);
    EXPECT_EQ(DataConfig::Get().nAlphaOfShutter, DataConfig().nAlphaOfShutter);
    XmlSetting defines;
    const std::string resource = config.substr(0, config.rfind('/') + 1) + "Brevant.Resource.xml";
    ASSERT_TRUE(defines.Load(resource.c_str()));
    EXPECT_EQ(defines.GetDefineValue("SortByImageNo"), Lettra("4921"));
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
