// The display level tables of ImageProcess: 0..255 into the levels 8..243
// and back.
#include "ImageProcess.h"

#include <gtest/gtest.h>

namespace
{

// Reaches the protected builder; never constructed.
class LevelTables : public ImageProcess
{
public:
    using ImageProcess::Init256_244LUT;
};

class LookupTableLevelsTest : public ::testing::Test
{
protected:
    void SetUp() override { LevelTables::Init256_244LUT(); }
};

TEST_F(LookupTableLevelsTest, SqueezesIntoTheDisplayLevels)
{
    EXPECT_EQ(ImageProcess::LUT256To244[0], 8);
    EXPECT_EQ(ImageProcess::LUT256To244[1], 8);
    EXPECT_EQ(ImageProcess::LUT256To244[2], 9);
    EXPECT_EQ(ImageProcess::LUT256To244[128], 125);
    EXPECT_EQ(ImageProcess::LUT256To244[254], 242);
    EXPECT_EQ(ImageProcess::LUT256To244[255], 243);
    for (int value = 1; value < 256; ++value)
    {
        ASSERT_GE(ImageProcess::LUT256To244[value], ImageProcess::LUT256To244[value - 1]);
        ASSERT_LE(ImageProcess::LUT256To244[value] - ImageProcess::LUT256To244[value - 1], 1);
    }
}

TEST_F(LookupTableLevelsTest, MapsBackToTheLargestValueOfEachLevel)
{
    EXPECT_EQ(ImageProcess::LUT244To256[0], 0);
    EXPECT_EQ(ImageProcess::LUT244To256[7], 0);
    EXPECT_EQ(ImageProcess::LUT244To256[8], 1);
    EXPECT_EQ(ImageProcess::LUT244To256[9], 2);
    EXPECT_EQ(ImageProcess::LUT244To256[243], 255);
    EXPECT_EQ(ImageProcess::LUT244To256[244], 255);
    EXPECT_EQ(ImageProcess::LUT244To256[250], 255);
    for (int level = 8; level <= 243; ++level)
    {
        const int value = ImageProcess::LUT244To256[level];
        EXPECT_EQ(ImageProcess::LUT256To244[value], level) << level;
        if (value < 255)
        {
            EXPECT_GT(ImageProcess::LUT256To244[value + 1], level) << level;
        }
    }
}

} // namespace
