#include "ORoiBitmap.h"
#include "DICOMVRSet.h"
#include "FakeRoiOwner.h"
#include "VR.h"
#include "WinGeometry.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace pelivo;

namespace
{

struct OverlayFixture
{
    int rows;
    int columns;
    int overlayRows;
    int overlayColumns;
    int bitsAllocated;
    // Overlay bits in order (row by row), as set pixels.
    std::vector<std::pair<int, int>> setPixels;
    // Bytes of overlay data; 0 for exactly the bits the plane needs.
    unsigned bytes = 0;
    unsigned short group = 0x6000;
};

void AddOverlay(DICOMVRSet& set, const OverlayFixture& fixture)
{
    set.Add(0x0028, 0x0010, static_cast<unsigned short>(fixture.rows));
    set.Add(0x0028, 0x0011, static_cast<unsigned short>(fixture.columns));
    set.Add(fixture.group, 0x0010, static_cast<unsigned short>(fixture.overlayRows));
    set.Add(fixture.group, 0x0011, static_cast<unsigned short>(fixture.overlayColumns));
    set.Add(fixture.group, 0x0100, static_cast<unsigned short>(fixture.bitsAllocated));
    const unsigned needed = unsigned(fixture.overlayRows * fixture.overlayColumns + 7) / 8;
    const unsigned bytes = fixture.bytes != 0 ? fixture.bytes : needed;
    std::vector<std::uint8_t> bits(std::max(bytes, needed), 0);
    for (const auto& [x, y] : fixture.setPixels)
    {
        const int index = y * fixture.overlayColumns + x;
        bits[std::size_t(index / 8)] |= std::uint8_t(1 << (index % 8));
    }
    auto* element = new VR(fixture.group, 0x3000);
    auto* buffer = new std::uint8_t[bytes];
    std::memcpy(buffer, bits.data(), bytes);
    element->Attach(buffer, bytes);
    set.Push(element);
}

std::uint8_t MaskAt(const ORoiBitmap& bitmap, int x, int y)
{
    const MetaMatrix8& mask = bitmap.GetMask();
    return reinterpret_cast<const std::uint8_t*>(mask.GetPixelData())[y * mask.GetWidth() + x];
}

} // namespace

struct LoadCase
{
    const char* name;
    OverlayFixture fixture;
    bool loads;
    RECT bounds;
};

class OverlayLoad : public testing::TestWithParam<LoadCase>
{
};

TEST_P(OverlayLoad, LoadsOnlyAWholeSingleBitPlaneOfTheImageSize)
{
    FakeRoiOwner owner(64, 64);
    DICOMVRSet set;
    AddOverlay(set, GetParam().fixture);
    ORoiBitmap bitmap(&owner, set);
    EXPECT_EQ(!bitmap.GetMask().IsEmpty(), GetParam().loads);
    EXPECT_TRUE(EqualRect(&bitmap.GetBounds(), &GetParam().bounds))
        << bitmap.GetBounds().left << "," << bitmap.GetBounds().top << ","
        << bitmap.GetBounds().right << "," << bitmap.GetBounds().bottom;
    EXPECT_EQ(bitmap.HitTest(bitmap.GetBounds().left + 1, bitmap.GetBounds().top + 1),
              enRoiHitNone);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, OverlayLoad,
    testing::Values(
        LoadCase{"Cut", {16, 16, 16, 16, 1, {{4, 5}, {9, 11}}}, true, {3, 4, 10, 12}},
        // A set pixel on the first column and row: the cut starts at the
        // matrix, never outside it.
        LoadCase{"AtOrigin", {8, 8, 8, 8, 1, {{0, 0}, {5, 6}}}, true, {0, 0, 6, 7}},
        // 3 x 7 = 21 bits need 3 bytes; 2 bytes leave the last row without
        // data.
        LoadCase{"Short", {3, 7, 3, 7, 1, {{1, 1}, {5, 2}}, 2}, false, {0, 0, 0, 0}},
        LoadCase{"OddSized", {3, 7, 3, 7, 1, {{1, 0}, {6, 2}}}, true, {0, 0, 7, 3}},
        LoadCase{"OneSetPixelKeepsTheWholePlane", {5, 6, 5, 6, 1, {{2, 2}}}, true, {0, 0, 6, 5}},
        LoadCase{"OtherSize", {16, 16, 16, 8, 1, {{4, 5}, {6, 7}}}, false, {0, 0, 0, 0}},
        LoadCase{"TwoBitsAllocated", {16, 16, 16, 16, 2, {{4, 5}, {6, 7}}}, false, {0, 0, 0, 0}},
        LoadCase{
            "LaterGroupOnly", {8, 8, 8, 8, 1, {{1, 1}, {3, 3}}, 0, 0x6002}, false, {0, 0, 0, 0}}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST(ORoiBitmap, UnpacksBitsFromTheLeastSignificantUp)
{
    FakeRoiOwner owner(64, 64);
    DICOMVRSet set;
    AddOverlay(set, {3, 7, 3, 7, 1, {{1, 0}, {6, 2}}});
    ORoiBitmap bitmap(&owner, set);
    ASSERT_EQ(bitmap.GetMask().GetWidth(), 7);
    ASSERT_EQ(bitmap.GetMask().GetHeight(), 3);
    for (int y = 0; y < 3; ++y)
    {
        for (int x = 0; x < 7; ++x)
        {
            const bool set = (x == 1 && y == 0) || (x == 6 && y == 2);
            EXPECT_EQ(MaskAt(bitmap, x, y), set ? 255 : 0) << x << "," << y;
        }
    }
}

TEST(ORoiBitmap, CutKeepsTheSetPixelsAtTheirImagePlace)
{
    FakeRoiOwner owner(64, 64);
    DICOMVRSet set;
    AddOverlay(set, {16, 16, 16, 16, 1, {{4, 5}, {9, 11}}});
    ORoiBitmap bitmap(&owner, set);
    const RECT& bounds = bitmap.GetBounds();
    EXPECT_EQ(MaskAt(bitmap, 4 - bounds.left, 5 - bounds.top), 255);
    EXPECT_EQ(MaskAt(bitmap, 9 - bounds.left, 11 - bounds.top), 255);
    std::unique_ptr<ORoiItem> copy(bitmap.Clone(&owner));
    EXPECT_TRUE(copy->IsEqual(bitmap));
    EXPECT_EQ(MaskAt(static_cast<ORoiBitmap&>(*copy), 4 - bounds.left, 5 - bounds.top), 255);
}
