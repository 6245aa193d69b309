// The configuration reader and the viewer settings it gives ImageShow.
#include "XmlSetting.h"
#include "ImageShowConfig.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace
{

const char* const Config = R"(<?xml version="1.0"?>
<AppSetting>
  <Define>
    <Zoom value="zoom-in"/>
  </Define>
  <Config>
    <Overlay><Shadow value="1"/></Overlay>
    <ModalityLUT2VOILUT value="false"/>
    <HideIfMemoryBelowMB value="250"/>
    <MaxSizeOfBriefImage value="256"/>
    <NoValue/>
  </Config>
</AppSetting>)";

} // namespace

TEST(XmlSetting, ReadsValuesOfTheLevelAPathReached)
{
    XmlSetting setting;
    EXPECT_EQ(setting.GetValue("HideIfMemoryBelowMB", "7"), Lettra(""));
    ASSERT_TRUE(setting.SetDoc(Config));
    ASSERT_TRUE(setting.GotoPath("/AppSetting/Config"));
    EXPECT_EQ(setting.GetValue("HideIfMemoryBelowMB", "100"), Lettra("250"));
    // Each search starts over at the first element of the level.
    EXPECT_EQ(setting.GetValue("ModalityLUT2VOILUT", "true"), Lettra("false"));
    EXPECT_EQ(setting.GetValue("Missing", "dflt"), Lettra("dflt"));
    EXPECT_EQ(setting.GetValue("", "dflt"), Lettra("dflt"));
    EXPECT_EQ(setting.GetValue("NoValue", "dflt"), Lettra(""));
    // Children of children are not of the level.
    EXPECT_EQ(setting.GetValue("Shadow", "0"), Lettra("0"));
    EXPECT_EQ(setting.GetDefineValue("Zoom"), Lettra("zoom-in"));
    EXPECT_EQ(setting.GetDefineValue("Pan"), Lettra(""));
    EXPECT_FALSE(setting.GotoPath("/AppSetting/Nothing"));
}

TEST(XmlSetting, LoadKeepsTheFirstDocument)
{
    const std::string path = ::testing::TempDir() + "quillon_setting.xml";
    std::ofstream(path) << Config;
    XmlSetting setting;
    EXPECT_FALSE(setting.Load((path + ".missing").c_str()));
    EXPECT_TRUE(setting.HasDoc());
    EXPECT_TRUE(setting.Load(path.c_str()));
    EXPECT_FALSE(setting.GotoPath("/AppSetting/Config"));
    XmlSetting fresh;
    EXPECT_TRUE(fresh.Load(path.c_str()));
    EXPECT_TRUE(fresh.GotoPath("/AppSetting/Config"));
    std::remove(path.c_str());
}

TEST(ImageShowConfig, ReadsItsKeysAndKeepsTheDefaultsOfMissingOnes)
{
    ImageShowConfig config;
    EXPECT_TRUE(config.LoadXml(Config));
    EXPECT_FALSE(config.bModalityLUT2VOILUT);
    EXPECT_EQ(config.nHideIfMemoryBelowMB, 250);
    EXPECT_EQ(config.nShowPatientOrientationLabel, 1);
    EXPECT_EQ(config.nMaxSizeOfBriefImage, 256);

    ImageShowConfig defaults;
    EXPECT_FALSE(defaults.Load("/nonexistent/Brevant.Config.xml"));
    EXPECT_TRUE(defaults.bModalityLUT2VOILUT);
    EXPECT_EQ(defaults.nHideIfMemoryBelowMB, 100);
    EXPECT_EQ(defaults.nMaxSizeOfBriefImage, 512);
    const Lettra path = ImageShowConfig::GetDefaultPath();
    EXPECT_EQ(path.Right(25), Lettra("Config/Brevant.Config.xml"));
    EXPECT_EQ(path.Left(1), Lettra("/"));
}
