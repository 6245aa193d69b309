// ColorQuantizer: counting colours in the grid, the palette of the most
// frequent cells ordered by class onto the display levels, mapping to the
// nearest entry, a given palette, planar sources and the failure results.
#include "../../../Dicom/High/src/ColorQuantizer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace
{

struct ColorRun
{
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    int count;
};

using Pixels = std::vector<std::uint8_t>;

// Interleaved R, G, B pixels: each run's colour repeated.
Pixels MakeInterleaved(const std::vector<ColorRun>& runs)
{
    Pixels pixels;
    for (const ColorRun& run : runs)
    {
        for (int index = 0; index < run.count; ++index)
        {
            pixels.insert(pixels.end(), {run.red, run.green, run.blue});
        }
    }
    return pixels;
}

Pixels ToPlanar(const Pixels& interleaved)
{
    const std::size_t count = interleaved.size() / 3;
    Pixels planar(interleaved.size());
    for (std::size_t pixel = 0; pixel < count; ++pixel)
    {
        for (std::size_t plane = 0; plane < 3; ++plane)
        {
            planar[plane * count + pixel] = interleaved[3 * pixel + plane];
        }
    }
    return planar;
}

void ExpectColor(const RGBQUAD& entry, int red, int green, int blue, const char* what)
{
    EXPECT_EQ(entry.rgbRed, red) << what;
    EXPECT_EQ(entry.rgbGreen, green) << what;
    EXPECT_EQ(entry.rgbBlue, blue) << what;
}

// What a quantiser building its own palette makes of the pixels. Every
// index starts as 99, so that one left unwritten shows.
struct BuiltPalette
{
    int colorCount = 0; // counted when the source is set
    int result = 0;
    std::vector<std::uint8_t> indices;
    RGBQUAD palette[ColorQuantizer::PaletteSize] = {};
};

BuiltPalette BuildPalette(const Pixels& pixels, int width, int height,
                          ColorQuantizer::enLayout layout = ColorQuantizer::Interleaved)
{
    BuiltPalette built;
    built.indices.assign(static_cast<std::size_t>(width * height), 99);
    ColorQuantizer quantizer;
    quantizer.SetSource(pixels.data(), width, height, layout);
    built.colorCount = quantizer.GetColorCount();
    built.result =
        quantizer.Quantize(built.indices.data(), built.palette, ColorQuantizer::BuildPalette);
    return built;
}

// Red, green, blue and grey in falling frequency, and one colour seen once.
const std::vector<ColorRun> ClassRuns = {
    {252, 0, 0, 5}, {0, 252, 0, 4}, {0, 0, 252, 3}, {128, 128, 128, 6}, {10, 200, 30, 1}};

TEST(ColorQuantizerTest, MissingSizeOutputOrPaletteGivesMinusOne)
{
    const Pixels pixels = MakeInterleaved({{1, 2, 3, 4}});
    std::uint8_t indices[4] = {};
    RGBQUAD palette[ColorQuantizer::PaletteSize] = {};
    ColorQuantizer quantizer;
    EXPECT_EQ(quantizer.Quantize(indices, palette, ColorQuantizer::BuildPalette), -1);
    quantizer.SetSource(pixels.data(), 0, 1);
    EXPECT_EQ(quantizer.Quantize(indices, palette, ColorQuantizer::BuildPalette), -1);
    quantizer.SetSource(pixels.data(), 2, 2);
    EXPECT_EQ(quantizer.Quantize(nullptr, palette, ColorQuantizer::BuildPalette), -1);
    EXPECT_EQ(quantizer.Quantize(indices, nullptr, ColorQuantizer::BuildPalette), -1);
}

TEST(ColorQuantizerTest, NoSourceGivesMinusTwo)
{
    std::uint8_t indices[4] = {};
    RGBQUAD palette[ColorQuantizer::PaletteSize] = {};
    ColorQuantizer quantizer;
    quantizer.SetSource(nullptr, 2, 2);
    EXPECT_EQ(quantizer.GetColorCount(), 0);
    EXPECT_EQ(quantizer.Quantize(indices, palette, ColorQuantizer::BuildPalette), -2);
    EXPECT_EQ(quantizer.Quantize(indices, palette, ColorQuantizer::GivenPalette), -2);
}

TEST(ColorQuantizerTest, OneColourTakesTheFirstDisplayLevel)
{
    const BuiltPalette built = BuildPalette(MakeInterleaved({{201, 102, 43, 16}}), 4, 4);
    EXPECT_EQ(built.colorCount, 1);
    ASSERT_EQ(built.result, 0);
    ExpectColor(built.palette[0], 0, 0, 0, "entry 0");
    ExpectColor(built.palette[1], 200, 100, 40, "entry 1");
    ExpectColor(built.palette[2], 0, 0, 0, "entry 2");
    EXPECT_EQ(built.indices, std::vector<std::uint8_t>(16, 1));
}

TEST(ColorQuantizerTest, GivenPaletteIsKeptAndNearestEntriesTaken)
{
    const Pixels pixels =
        MakeInterleaved({{201, 102, 43, 3}, {255, 255, 255, 1}, {12, 0, 4, 1}, {200, 20, 20, 1}});
    RGBQUAD palette[ColorQuantizer::PaletteSize] = {};
    palette[0] = RGBQUAD{40, 100, 200, 0};
    palette[1] = RGBQUAD{255, 255, 255, 0};
    palette[2] = RGBQUAD{0, 0, 255, 0};
    for (int entry = 3; entry < ColorQuantizer::PaletteSize; ++entry)
    {
        palette[entry] = palette[1];
    }
    std::vector<std::uint8_t> indices(6, 99);
    ColorQuantizer quantizer;
    quantizer.SetSource(pixels.data(), 6, 1, ColorQuantizer::Interleaved, 0);
    ASSERT_EQ(quantizer.Quantize(indices.data(), palette, ColorQuantizer::GivenPalette), 0);
    EXPECT_EQ(indices, (std::vector<std::uint8_t>{0, 0, 0, 255, 0, 2}));
    ExpectColor(palette[0], 200, 100, 40, "given entry 0");
    ExpectColor(palette[2], 255, 0, 0, "given entry 2");
}

TEST(ColorQuantizerTest, ClassesFollowRedGreenBlueGrey)
{
    const BuiltPalette built = BuildPalette(MakeInterleaved(ClassRuns), 19, 1);
    EXPECT_EQ(built.colorCount, 5);
    ASSERT_EQ(built.result, 0);
    ExpectColor(built.palette[1], 252, 0, 0, "red");
    ExpectColor(built.palette[2], 0, 252, 0, "green");
    ExpectColor(built.palette[3], 0, 0, 252, "blue");
    ExpectColor(built.palette[4], 128, 128, 128, "grey");
    ExpectColor(built.palette[5], 0, 0, 0, "unused");
    // The colour seen once never enters the palette and takes the nearest.
    const std::vector<std::uint8_t> expected = {1, 1, 1, 1, 1, 2, 2, 2, 2, 3,
                                                3, 3, 4, 4, 4, 4, 4, 4, 2};
    EXPECT_EQ(built.indices, expected);
}

TEST(ColorQuantizerTest, StrongerKeysComeFirstWithinAClass)
{
    const BuiltPalette built =
        BuildPalette(MakeInterleaved({{100, 0, 0, 3}, {200, 0, 0, 3}}), 3, 2);
    ASSERT_EQ(built.result, 0);
    ExpectColor(built.palette[1], 200, 0, 0, "stronger red");
    ExpectColor(built.palette[2], 100, 0, 0, "weaker red");
    EXPECT_EQ(built.indices, (std::vector<std::uint8_t>{2, 2, 2, 1, 1, 1}));
}

TEST(ColorQuantizerTest, PlanarSourceQuantisesAsInterleaved)
{
    const Pixels interleaved = MakeInterleaved(ClassRuns);
    const Pixels planar = ToPlanar(interleaved);
    std::vector<std::uint8_t> fromInterleaved(19);
    std::vector<std::uint8_t> fromPlanar(19);
    RGBQUAD interleavedPalette[ColorQuantizer::PaletteSize] = {};
    RGBQUAD planarPalette[ColorQuantizer::PaletteSize] = {};
    ColorQuantizer quantizer;
    quantizer.SetSource(interleaved.data(), 19, 1);
    ASSERT_EQ(quantizer.Quantize(fromInterleaved.data(), interleavedPalette,
                                 ColorQuantizer::BuildPalette),
              0);
    quantizer.SetSource(planar.data(), 19, 1, ColorQuantizer::Planar);
    ASSERT_EQ(quantizer.Quantize(fromPlanar.data(), planarPalette, ColorQuantizer::BuildPalette),
              0);
    EXPECT_EQ(fromPlanar, fromInterleaved);
    for (int entry = 0; entry < ColorQuantizer::PaletteSize; ++entry)
    {
        ExpectColor(planarPalette[entry], interleavedPalette[entry].rgbRed,
                    interleavedPalette[entry].rgbGreen, interleavedPalette[entry].rgbBlue,
                    "planar palette");
    }
}

TEST(ColorQuantizerTest, CountsAboveTheLimitStayInRange)
{
    const BuiltPalette built = BuildPalette(ToPlanar(MakeInterleaved({{8, 16, 32, 200 * 200}})),
                                            200, 200, ColorQuantizer::Planar);
    EXPECT_EQ(built.colorCount, 1);
    ASSERT_EQ(built.result, 0);
    EXPECT_EQ(built.indices, std::vector<std::uint8_t>(200 * 200, 1));
}

TEST(ColorQuantizerTest, ManyColoursEachTakeANearestEntry)
{
    std::vector<ColorRun> runs;
    for (int red = 0; red < 256; red += 16)
    {
        for (int green = 0; green < 256; green += 32)
        {
            for (int blue = 0; blue < 256; blue += 64)
            {
                runs.push_back({static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                                static_cast<std::uint8_t>(blue), 2});
            }
        }
    }
    const Pixels pixels = MakeInterleaved(runs);
    const int count = static_cast<int>(pixels.size() / 3);
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(count));
    RGBQUAD palette[ColorQuantizer::PaletteSize] = {};
    ColorQuantizer quantizer;
    quantizer.SetSource(pixels.data(), count, 1);
    EXPECT_EQ(quantizer.GetColorCount(), 16 * 8 * 4);
    ASSERT_EQ(quantizer.Quantize(indices.data(), palette, ColorQuantizer::BuildPalette), 0);
    for (int pixel = 0; pixel < count; ++pixel)
    {
        auto distance = [&](const RGBQUAD& entry)
        {
            const int red = (pixels[3 * pixel] >> 2) - (entry.rgbRed >> 2);
            const int green = (pixels[3 * pixel + 1] >> 2) - (entry.rgbGreen >> 2);
            const int blue = (pixels[3 * pixel + 2] >> 2) - (entry.rgbBlue >> 2);
            return red * red + green * green + blue * blue;
        };
        const int chosen = distance(palette[indices[pixel]]);
        for (const RGBQUAD& entry : palette)
        {
            ASSERT_LE(chosen, distance(entry)) << "pixel " << pixel;
        }
    }
}

} // namespace
