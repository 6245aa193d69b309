// MetaImage: maps through its tables, turns, and its field-of-view scale.
#include "MetaImage.h"
#include "MetaMatrix16.h"
#include "MetaMatrix8.h"
#include "MetaMatrixRGB.h"
#include "TDWLookupTable.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

MetaMatrix8* MakeMatrix8(int rows, int columns)
{
    auto* matrix = new MetaMatrix8(8, 8, 7, rows, columns, 0, 255, 0, 1);
    for (int i = 0; i < rows * columns; ++i)
    {
        matrix->GetPixelData()[i] = static_cast<char>(i);
    }
    return matrix;
}

} // namespace

TEST(MetaImage, MapsGreyThroughTheTableAndKeepsColour)
{
    MetaImage image;
    EXPECT_EQ(image.Map(false), nullptr);
    image.SetMatrix(MakeMatrix8(1, 4));
    EXPECT_EQ(image.Map(false), nullptr); // no table yet
    auto* window = new TDWLookupTable;
    window->Init(0.0f, 1.0f, 4, 2);
    image.GetLUTs().Add(window);
    std::unique_ptr<MetaMatrix> straight(image.Map(false));
    std::unique_ptr<MetaMatrix> inverted(image.Map(true));
    ASSERT_NE(straight, nullptr);
    for (int x = 0; x < 4; ++x)
    {
        EXPECT_EQ(inverted->GetPixelValue(x, 0), 255 - straight->GetPixelValue(x, 0)) << x;
    }
    EXPECT_EQ(straight->GetPixelValue(0, 0), 0);
    EXPECT_EQ(straight->GetPixelValue(3, 0), 255);
    EXPECT_EQ(image.GetWindowWidth(), 4);
    EXPECT_EQ(image.GetWindowCenter(), 2);

    MetaImage colour;
    auto* rgb = new MetaMatrixRGB(8, 8, 7, 1, 1, 0, 255, 0, 3);
    rgb->GetPixelData()[0] = 10;
    colour.SetMatrix(rgb);
    std::unique_ptr<MetaMatrix> complemented(colour.Map(true));
    ASSERT_NE(complemented, nullptr);
    EXPECT_EQ(static_cast<unsigned char>(complemented->GetPixelData()[0]), 245);
    EXPECT_EQ(rgb->GetPixelData()[0], 10);
}

TEST(MetaImage, TurnsByQuarterTurnsModuloFour)
{
    MetaImage image;
    image.SetMatrix(MakeMatrix8(2, 3));
    image.Rotate(-3); // one turn counter-clockwise
    EXPECT_EQ(image.GetMatrix()->GetWidth(), 2);
    EXPECT_EQ(image.GetMatrix()->GetPixelValue(0, 0), 2);
    image.Rotate(4);
    EXPECT_EQ(image.GetMatrix()->GetPixelValue(0, 0), 2);
    image.FlipVertical();
    EXPECT_EQ(image.GetMatrix()->GetPixelValue(0, 0), 0);
}

TEST(MetaImage, ScalesTheFieldOfViewUnderABox)
{
    MetaImage empty;
    EXPECT_DOUBLE_EQ(empty.ScaleFieldOfViewUnder(1024, 1024), 1.0);
    MetaImage small;
    small.SetMatrix(MakeMatrix8(100, 50));
    EXPECT_DOUBLE_EQ(small.ScaleFieldOfViewUnder(1024, 1024), 1.0);
    EXPECT_EQ(small.GetMatrix()->GetWidth(), 50);
    MetaImage large;
    large.SetMatrix(new MetaMatrix16(16, 12, 11, 2048, 1024, 0, 4095, 0, 1));
    EXPECT_DOUBLE_EQ(large.ScaleFieldOfViewUnder(1024, 1024), 0.5);
    EXPECT_EQ(large.GetMatrix()->GetWidth(), 512);
    EXPECT_EQ(large.GetMatrix()->GetHeight(), 1024);
}
