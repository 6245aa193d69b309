#include "DICOMFile.h"
#include "PlaneIntersection.h"
#include "Zephlin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

// The call as the viewer makes it: the second spacing value first.
int CallReferenceLine(const DicomGeometry& s, const DicomGeometry& t, int* buffer1, int* buffer2)
{
    return ReferenceLine(s.columns, s.rows, s.columnSpacing, s.rowSpacing, s.rowDirection.x,
                         s.rowDirection.y, s.rowDirection.z, s.columnDirection.x,
                         s.columnDirection.y, s.columnDirection.z, s.position.x, s.position.y,
                         s.position.z, t.columns, t.rows, t.columnSpacing, t.rowSpacing,
                         t.rowDirection.x, t.rowDirection.y, t.rowDirection.z, t.columnDirection.x,
                         t.columnDirection.y, t.columnDirection.z, t.position.x, t.position.y,
                         t.position.z, buffer1, buffer2);
}

bool Near(double expected, int actual)
{
    return std::fabs(expected - actual) <= 0.5 + 1e-6;
}

// The buffer (y1, x1, y2, x2) holds the expected line, its ends in either
// order, each within half a pixel.
bool HoldsLine(const int* buffer, const ExpectedLine& line)
{
    const auto at = [&](const PixelPoint& p, int y, int x) { return Near(p.y, y) && Near(p.x, x); };
    return (at(line.first, buffer[0], buffer[1]) && at(line.second, buffer[2], buffer[3])) ||
           (at(line.second, buffer[0], buffer[1]) && at(line.first, buffer[2], buffer[3]));
}

std::string Describe(const int* buffer)
{
    return "(y " + std::to_string(buffer[0]) + ", x " + std::to_string(buffer[1]) + ") - (y " +
           std::to_string(buffer[2]) + ", x " + std::to_string(buffer[3]) + ")";
}

std::string Describe(const ExpectedLine& line)
{
    return "(y " + std::to_string(line.first.y) + ", x " + std::to_string(line.first.x) +
           ") - (y " + std::to_string(line.second.y) + ", x " + std::to_string(line.second.x) + ")";
}

// The library's answer for a pair agrees with the plain intersection.
void ExpectSameLine(const DicomGeometry& source, const DicomGeometry& target,
                    const std::string& name)
{
    int onSource[4] = {-7, -7, -7, -7};
    int onTarget[4] = {-7, -7, -7, -7};
    const int result = CallReferenceLine(source, target, onSource, onTarget);
    const std::optional<ExpectedLine> expected = IntersectPlanes(source, target);
    ASSERT_EQ((result & ZephlinLineOnTarget) != 0, expected.has_value()) << name;
    if (expected)
    {
        EXPECT_TRUE(onTarget[1] < onTarget[3] ||
                    (onTarget[1] == onTarget[3] && onTarget[0] <= onTarget[2]))
            << name << ": the left or upper end first, " << Describe(onTarget);
        EXPECT_TRUE(HoldsLine(onTarget, *expected))
            << name << ": " << Describe(onTarget) << ", expected " << Describe(*expected);
        const std::optional<ExpectedLine> back = IntersectPlanes(target, source);
        ASSERT_TRUE(back.has_value()) << name;
        EXPECT_TRUE(HoldsLine(onSource, *back)) << name << " on the source";
    }
    else
    {
        EXPECT_EQ(onTarget[0], -7) << name << ": no line leaves the buffer alone";
    }
}

struct CorpusImage
{
    std::string name;
    std::string study;
    std::string frame;
    DicomGeometry geometry;
};

bool ReadImage(const fs::path& path, CorpusImage& image)
{
    DICOMFile file;
    if (file.ReadFileNoImage(path.c_str()) == 0 || !ReadDicomGeometry(file, image.geometry))
    {
        return false;
    }
    image.name = path.parent_path().filename().string() + "/" + path.filename().string();
    image.study = std::string(file.GetLettra(0x0020, 0x000D));
    image.frame = std::string(file.GetLettra(0x0020, 0x0052));
    return true;
}

std::vector<CorpusImage> ReadCorpusTree()
{
    const fs::path tree = fs::path(SUITE_CORPUS_DIR) / "pydicom" / "test_files" / "dicomdirtests";
    std::vector<CorpusImage> images;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(tree))
    {
        CorpusImage image;
        if (entry.is_regular_file() && ReadImage(entry.path(), image))
        {
            images.push_back(image);
        }
    }
    return images;
}

// Every pair of images of one study and frame of reference, each image as
// its own source.
template <typename Visit> void ForEachPair(const std::vector<CorpusImage>& images, Visit visit)
{
    for (const CorpusImage& source : images)
    {
        for (const CorpusImage& target : images)
        {
            if (source.study == target.study && source.frame == target.frame)
            {
                visit(source, target);
            }
        }
    }
}

// The images of the tree were reduced to 16 x 16 pixels, their geometry
// kept: as stored, their small corners of the acquired field never meet.
TEST(ReferenceLine, CorpusImagesAsStoredDoNotMeet)
{
    const std::vector<CorpusImage> images = ReadCorpusTree();
    ASSERT_GT(images.size(), 20u);
    ForEachPair(
        images, [](const CorpusImage& source, const CorpusImage& target)
        { ExpectSameLine(source.geometry, target.geometry, source.name + " on " + target.name); });
}

// Taken at a 256 x 256 grid, the field their geometry describes, the
// orthogonal and the radial (oblique) series of the tree cut each other.
TEST(ReferenceLine, CorpusSeriesAtTheirFieldAgreeWithThePlainIntersection)
{
    std::vector<CorpusImage> images = ReadCorpusTree();
    for (CorpusImage& image : images)
    {
        image.geometry.columns = 256;
        image.geometry.rows = 256;
    }
    int orthogonal = 0;
    int oblique = 0;
    int parallel = 0;
    ForEachPair(images,
                [&](const CorpusImage& source, const CorpusImage& target)
                {
                    ExpectSameLine(source.geometry, target.geometry,
                                   source.name + " on " + target.name);
                    const double cosine = std::fabs(NormalCosine(source.geometry, target.geometry));
                    const bool line = IntersectPlanes(source.geometry, target.geometry).has_value();
                    parallel += cosine > 1.0 - 1e-12 ? 1 : 0;
                    orthogonal += line && cosine < 1e-3 ? 1 : 0;
                    oblique += line && cosine >= 1e-3 ? 1 : 0;
                });
    EXPECT_GT(orthogonal, 0) << "the tree gives orthogonal lines";
    EXPECT_GT(oblique, 0) << "the tree gives oblique lines";
    EXPECT_GT(parallel, 0) << "the tree gives parallel planes";
}

// A coronal localizer of rows 0.8 mm and columns 0.6 mm apart, and axial
// slices of 256 x 256 pixels of 0.7 mm from z = -100 to 150.
const DicomGeometry Localizer = {512, 400, 0.8, 0.6, {1, 0, 0}, {0, 0, -1}, {-250, 0, 200}};

DicomGeometry AxialSlice(double z)
{
    return {256, 256, 0.7, 0.7, {1, 0, 0}, {0, 1, 0}, {-90, -90, z}};
}

TEST(ReferenceLine, AxialSlicesCrossTheLocalizer)
{
    for (double z = -100; z <= 150; z += 25)
    {
        ExpectSameLine(AxialSlice(z), Localizer, "axial at " + std::to_string(z));
        ExpectSameLine(Localizer, AxialSlice(z), "localizer on axial at " + std::to_string(z));
    }
    // The line of z = 0 across the localizer, as y1, x1, y2, x2: row
    // 200 / 0.8, from x = -90 to the localizer's right edge.
    int onSource[4] = {};
    int onTarget[4] = {};
    ASSERT_EQ(CallReferenceLine(AxialSlice(0), Localizer, onSource, onTarget),
              ZephlinPlanesCross | ZephlinLineOnTarget);
    EXPECT_EQ(onTarget[0], 250);
    EXPECT_EQ(onTarget[1], 267); // 160 / 0.6
    EXPECT_EQ(onTarget[2], 250);
    EXPECT_EQ(onTarget[3], 511);
    // On the slice, the same stretch in the same order: the row of y = 0,
    // from its left edge to x = 56.6.
    EXPECT_EQ(onSource[0], 129); // 90 / 0.7
    EXPECT_EQ(onSource[1], 0);
    EXPECT_EQ(onSource[2], 129);
    EXPECT_EQ(onSource[3], 209); // 146.6 / 0.7
}

TEST(ReferenceLine, TheSecondSpacingValueComesFirst)
{
    // Swapped, the localizer's spacings put the line elsewhere.
    const DicomGeometry source = AxialSlice(50);
    int right[4] = {};
    int swapped[4] = {};
    CallReferenceLine(source, Localizer, nullptr, right);
    const DicomGeometry& t = Localizer;
    ReferenceLine(source.columns, source.rows, source.columnSpacing, source.rowSpacing, 1, 0, 0, 0,
                  1, 0, source.position.x, source.position.y, source.position.z, t.columns, t.rows,
                  t.rowSpacing, t.columnSpacing, 1, 0, 0, 0, 0, -1, t.position.x, t.position.y,
                  t.position.z, nullptr, swapped);
    EXPECT_EQ(right[0], 188); // 150 / 0.8
    EXPECT_NE(swapped[0], right[0]);
}

TEST(ReferenceLine, TiltedSlicesCrossASagittalLocalizerAslant)
{
    const DicomGeometry sagittal = {400, 300, 1.0, 0.75, {0, 1, 0}, {0, 0, -1}, {0, -150, 150}};
    for (const double degrees : {10.0, 20.0, -35.0})
    {
        const double radians = degrees * M_PI / 180.0;
        for (double z = -50; z <= 50; z += 50)
        {
            const DicomGeometry tilted = {
                256,
                256,
                0.9,
                0.6,
                {1, 0, 0},
                {0, std::cos(radians), std::sin(radians)},
                {-115, -115 * std::cos(radians), z - 115 * std::sin(radians)}};
            ExpectSameLine(tilted, sagittal,
                           "tilt " + std::to_string(degrees) + " at " + std::to_string(z));
            int line[4] = {};
            ASSERT_NE(CallReferenceLine(tilted, sagittal, nullptr, line) & ZephlinLineOnTarget, 0);
            EXPECT_NE(line[0], line[2]) << "a tilted slice crosses the localizer aslant";
        }
    }
}

TEST(ReferenceLine, ParallelPlanesGiveNoLine)
{
    int buffer[4] = {-7, -7, -7, -7};
    EXPECT_EQ(CallReferenceLine(AxialSlice(0), AxialSlice(10), nullptr, buffer), 0);
    EXPECT_EQ(CallReferenceLine(AxialSlice(0), AxialSlice(0), nullptr, buffer), 0);
    const DicomGeometry flipped = {256, 256, 0.7, 0.7, {0, 1, 0}, {1, 0, 0}, {-90, -90, 0}};
    EXPECT_EQ(CallReferenceLine(AxialSlice(0), flipped, nullptr, buffer), 0);
    EXPECT_EQ(buffer[0], -7);
}

TEST(ReferenceLine, ACutOutsideEitherImageGivesNoLine)
{
    int buffer[4] = {-7, -7, -7, -7};
    // Above the localizer's top edge, and a slice too far to the left.
    EXPECT_EQ(CallReferenceLine(AxialSlice(250), Localizer, nullptr, buffer), ZephlinPlanesCross);
    DicomGeometry aside = AxialSlice(0);
    aside.position = {-90, 10, 0};
    EXPECT_EQ(CallReferenceLine(aside, Localizer, nullptr, buffer), ZephlinPlanesCross);
    EXPECT_EQ(buffer[0], -7);
}

TEST(ReferenceLine, ImagesWithoutAPlaneAreRefused)
{
    const DicomGeometry good = AxialSlice(0);
    std::vector<std::pair<std::string, DicomGeometry>> cases;
    DicomGeometry bad = good;
    bad.columnSpacing = 0;
    cases.emplace_back("no spacing", bad);
    bad = good;
    bad.rowSpacing = -0.5;
    cases.emplace_back("negative spacing", bad);
    bad = good;
    bad.rows = 0;
    cases.emplace_back("no rows", bad);
    bad = good;
    bad.columnDirection = {1, 0, 0};
    cases.emplace_back("one direction twice", bad);
    bad = good;
    bad.rowDirection = {0, 0, 0};
    cases.emplace_back("no direction", bad);
    bad = good;
    bad.position.x = NAN;
    cases.emplace_back("no position", bad);
    for (const auto& [name, geometry] : cases)
    {
        int buffer[4] = {-7, -7, -7, -7};
        EXPECT_EQ(CallReferenceLine(geometry, Localizer, nullptr, buffer), 0) << name;
        EXPECT_EQ(CallReferenceLine(Localizer, geometry, nullptr, buffer), 0) << name;
        EXPECT_EQ(buffer[0], -7) << name;
    }
    EXPECT_EQ(CallReferenceLine(good, Localizer, nullptr, nullptr), 0) << "no buffer";
}
} // namespace
