// DMarkup driven the way the viewer reads its configuration, resource,
// label and measurement documents.
#include "DMarkup.h"
#include "DMarkupTestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace
{

std::string Str(const Lettra& text)
{
    return std::string(text.constBuffer(), text.GetLength());
}

// A setting: the "value" attribute of the first element of that name on the
// level the last path reached, searched from the first element of the level.
std::string GetValue(DMarkup& markup, const char* name, const char* fallback)
{
    markup.ResetMainPos();
    if (!markup.FindElem(name))
        return fallback;
    return Str(markup.GetAttrib("value"));
}

class DMarkupConfigTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_config.SetDoc(ReadConfigText().c_str())); }

    DMarkup m_config;
};

TEST_F(DMarkupConfigTest, SettingsUnderConfig)
{
    ASSERT_TRUE(m_config.GotoPath("/AppSetting/Config"));
    EXPECT_EQ(GetValue(m_config, "ModalityLUT2VOILUT", "true"), "true");
    EXPECT_EQ(GetValue(m_config, "HideIfMemoryBelowMB", "100"), "100");
    EXPECT_EQ(GetValue(m_config, "MaxSizeOfBriefImage", "1024"), "512");
    EXPECT_EQ(GetValue(m_config, "AlphaOfShutter", "0"), "-1");
    EXPECT_EQ(GetValue(m_config, "DrawByMemoryDC", "1"), "1");
    // Searching again from the first element finds settings before the last.
    EXPECT_EQ(GetValue(m_config, "ShowPatientOrientationLabel", "0"), "1");
    EXPECT_EQ(GetValue(m_config, "Overlay", "x"), "");
}

TEST_F(DMarkupConfigTest, OverlayColours)
{
    const std::vector<std::pair<const char*, std::string>> expected = {
        {"TextColor", "255,255,255"},  {"LabelColor", "255,255,0"},    {"ROIColor", "0,255,0"},
        {"ROITextColor", "0,255,255"}, {"ROIHilitedColor", "255,0,0"}, {"ROIShadowColor", "0,0,0"}};
    ASSERT_TRUE(m_config.GotoPath("/AppSetting/Config/Overlay/Color"));
    for (const auto& [name, rgb] : expected)
    {
        m_config.ResetMainPos();
        ASSERT_TRUE(m_config.FindElem(name)) << name;
        EXPECT_EQ(Str(m_config.GetAttrib("R")) + "," + Str(m_config.GetAttrib("G")) + "," +
                      Str(m_config.GetAttrib("B")),
                  rgb)
            << name;
    }
    ASSERT_TRUE(m_config.GotoPath("/AppSetting/Config/Overlay"));
    EXPECT_EQ(GetValue(m_config, "TextBackground", "1"), "1");
    EXPECT_EQ(GetValue(m_config, "Shadow", "1"), "0");
    EXPECT_EQ(GetValue(m_config, "FontHeight", "0"), "-1");
}

TEST_F(DMarkupConfigTest, PaneFontsStopAtTheFirstOtherTag)
{
    ASSERT_TRUE(m_config.GotoPath("/AppSetting/Config/ViewPortFont"));
    std::vector<std::pair<int, int>> fonts;
    for (int i = 0; i < 64; ++i)
    {
        std::string tag = Str(m_config.GetTagName());
        for (char& ch : tag)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (tag != "VIEWPORT")
            break;
        const Lettra first = m_config.GetAttrib(m_config.GetAttribName(0));
        const Lettra second = m_config.GetAttrib(m_config.GetAttribName(1));
        fonts.emplace_back(std::atoi(first), std::atoi(second));
        m_config.Next();
    }
    const std::vector<std::pair<int, int>> expected = {{1, 16}, {2, 14}, {4, 12}};
    EXPECT_EQ(fonts, expected);
}

TEST_F(DMarkupConfigTest, CommandDefines)
{
    auto define = [this](const char* name)
    {
        if (!m_config.GotoPath("/AppSetting/Define/"))
            return std::string();
        return GetValue(m_config, name, "");
    };
    EXPECT_EQ(define("ID_ZOOM"), "9502");
    EXPECT_EQ(define("ID_WINDOW_LEVEL"), "9501");
    EXPECT_EQ(define("ID_UNKNOWN"), "");
}

TEST_F(DMarkupConfigTest, PopupMenusByModality)
{
    EXPECT_TRUE(m_config.GotoPath("/AppSetting/PopupMenu/Modality/CT"));
    EXPECT_FALSE(m_config.GotoPath("/AppSetting/PopupMenu/Modality/MR"));
    ASSERT_TRUE(m_config.GotoPath("/AppSetting/PopupMenu/Modality/DEFAULT"));
    std::vector<std::string> items;
    for (int i = 0; i < 1000 && !m_config.GetTagName().IsEmpty(); ++i, m_config.Next())
    {
        const std::string tag = Str(m_config.GetTagName());
        if (tag == "MENUITEM")
            items.push_back(Str(m_config.GetAttrib("name")));
        if (tag != "POPUP")
            continue;
        items.push_back("[" + Str(m_config.GetAttrib(m_config.GetAttribName(0))));
        ASSERT_TRUE(m_config.IntoElem());
        for (bool more = m_config.Next(); more; more = m_config.Next())
            items.push_back(Str(m_config.GetAttrib("name")) + ":" +
                            Str(m_config.GetAttrib("command")));
        ASSERT_TRUE(m_config.OutOfElem());
        items.push_back("]");
    }
    const std::vector<std::string> expected = {
        "Window & Level", "[Tools", "Zoom:ID_ZOOM", "SEPARATOR:", "Labels:ID_SHOW_LABELS", "]"};
    EXPECT_EQ(items, expected);

    ASSERT_TRUE(m_config.GotoPath("/AppSetting/PopupMenu/Property/"));
    ASSERT_EQ(Str(m_config.GetTagName()), "PROPERTY");
    ASSERT_TRUE(m_config.IntoElem());
    EXPECT_EQ(GetValue(m_config, "IconWidth", "20"), "24");
    EXPECT_EQ(GetValue(m_config, "Font", "12"), "9");
}

TEST_F(DMarkupConfigTest, MissingPathsLeaveTheDefaults)
{
    EXPECT_FALSE(m_config.GotoPath("/ImageShowConfig"));
    EXPECT_EQ(GetValue(m_config, "SortWhenLoadCompleted", "0"), "0");
    EXPECT_FALSE(m_config.GotoPath("/AppSetting/Config/Nothing/Here"));
    EXPECT_EQ(Str(m_config.GetParentTagName()), "Config");
}

TEST_F(DMarkupConfigTest, PushedTextReplacesTheDocument)
{
    ASSERT_TRUE(m_config.GotoPath("/AppSetting/Config"));
    ASSERT_TRUE(m_config.SetDoc("<AppSetting><Config><AlphaOfShutter value=\"128\"/></Config>"
                                "</AppSetting>"));
    EXPECT_EQ(Str(m_config.GetTagName()), "");
    ASSERT_TRUE(m_config.GotoPath("/AppSetting/Config"));
    EXPECT_EQ(GetValue(m_config, "AlphaOfShutter", "-1"), "128");
    EXPECT_FALSE(m_config.SetDoc("<AppSetting><Config>"));
    EXPECT_FALSE(m_config.GotoPath("/AppSetting/Config"));
}

TEST(DMarkupLabels, LabelItemsPerModality)
{
    DMarkup labels("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                   "<ImageShowConfig>\r\n"
                   "  <Modality name=\"CT\">\r\n"
                   "    <TopLeft>\r\n"
                   "      <tag group=\"0x0010\" element=\"0x0010\" format=\"%s\"/>\r\n"
                   "      <tag group=\"0x0010\" element=\"0x0020\" format=\"ID: %s\"/>\r\n"
                   "    </TopLeft>\r\n"
                   "    <BottomRight><tag key=\"WL\" format=\"W:%d L:%d\"/></BottomRight>\r\n"
                   "  </Modality>\r\n"
                   "  <Modality name=\"Other\"><TopLeft/></Modality>\r\n"
                   "</ImageShowConfig>\r\n");
    ASSERT_TRUE(labels.GotoPath("/ImageShowConfig"));
    std::vector<std::string> seen;
    for (; !labels.GetTagName().IsEmpty(); labels.Next())
    {
        seen.push_back(Str(labels.GetAttrib("name")));
        ASSERT_TRUE(labels.IntoElem());
        while (labels.Next())
        {
            seen.push_back(Str(labels.GetTagName()));
            ASSERT_TRUE(labels.IntoElem());
            while (labels.FindElem("tag"))
                seen.push_back(Str(labels.GetAttrib("format")));
            ASSERT_TRUE(labels.OutOfElem());
        }
        ASSERT_TRUE(labels.OutOfElem());
    }
    const std::vector<std::string> expected = {"CT",          "TopLeft",   "%s",    "ID: %s",
                                               "BottomRight", "W:%d L:%d", "Other", "TopLeft"};
    EXPECT_EQ(seen, expected);
}

TEST(DMarkupMeasurement, PrivatePartOfAMeasurement)
{
    DMarkup measurement("<Measurement>\r\n"
                        "<Class>ORoiAngle</Class>\r\n"
                        "<Private>\r\n"
                        "<Point X=\"10.5\" Y=\"20\"/>\r\n"
                        "<Point X=\"30\" Y=\"40\"/>\r\n"
                        "<Point X=\"50\" Y=\"60.25\"/>\r\n"
                        "</Private>\r\n"
                        "<Internal><Text>45.0 &#176;</Text></Internal>\r\n"
                        "</Measurement>\r\n");
    ASSERT_TRUE(measurement.GotoPath("/Measurement/Private"));
    std::vector<std::string> points;
    for (; !measurement.GetTagName().IsEmpty(); measurement.Next())
        points.push_back(Str(measurement.GetAttrib("X")) + "," + Str(measurement.GetAttrib("Y")));
    EXPECT_EQ(points, (std::vector<std::string>{"10.5,20", "30,40", "50,60.25"}));
    ASSERT_TRUE(measurement.GotoPath("/Measurement/Internal"));
    EXPECT_EQ(Str(measurement.GetData("Text")), "45.0 &#176;");
    measurement.ResetPos();
    EXPECT_FALSE(measurement.GotoPath("/Measurement/Missing"));
}

} // namespace
