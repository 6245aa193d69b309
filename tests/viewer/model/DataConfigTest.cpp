// The panes' settings read from the configuration XML.
#include "DataConfig.h"

#include <gtest/gtest.h>

TEST(DataConfigTest, ReadsTheShutterAlphaAndKeepsWhatIsMissing)
{
    DataConfig config;
    ASSERT_TRUE(config.LoadXml(R"(<AppSetting><Config>
        <AlphaOfShutter value="128"/><Overlay><Shadow value="1"/></Overlay>
        </Config></AppSetting>)"));
    EXPECT_EQ(config.nAlphaOfShutter, 128);
    EXPECT_EQ(config.nShowImageViewScrollBar, 1);
    ASSERT_TRUE(config.LoadXml(
        R"(<AppSetting><Config><ShowImageViewScrollBar value="0"/></Config></AppSetting>)"));
    EXPECT_EQ(config.nAlphaOfShutter, 128);
    EXPECT_EQ(config.nShowImageViewScrollBar, 0);
}

TEST(DataConfigTest, AnUnreadableDocumentKeepsTheDefaults)
{
    DataConfig config;
    EXPECT_FALSE(config.LoadXml("<AppSetting><Config>"));
    EXPECT_EQ(config.nAlphaOfShutter, -1);
    EXPECT_EQ(config.nShowImageViewScrollBar, 1);
}
