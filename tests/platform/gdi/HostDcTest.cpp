#include "GdiRecorder.h"
#include "GdiSurfaceHost.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// A window surface of 20 x 20 pixels whose DC starts at (5, 4) and may touch
// a 10 x 8 area.
class FakeWindowHost : public GdiSurfaceHost
{
public:
    FakeWindowHost() : m_pixels(20 * 20, 0x00FFFFFF) {}

    GdiSurfaceInfo GetSurface() override
    {
        return GdiSurfaceInfo{reinterpret_cast<std::uint8_t*>(m_pixels.data()), 20, 20, 20 * 4};
    }
    POINT GetOrigin() override { return POINT{5, 4}; }
    std::vector<RECT> GetVisibleRects() override { return {RECT{0, 0, 10, 8}}; }
    HWND GetWindow() override { return reinterpret_cast<HWND>(0x40000001); }
    void OnDrawn(const RECT& bounds) override { m_drawn.push_back(bounds); }
    void OnReleaseDC() override { ++m_released; }

    std::uint32_t At(int x, int y) const { return m_pixels[std::size_t(y * 20 + x)]; }

    std::vector<std::uint32_t> m_pixels;
    std::vector<RECT> m_drawn;
    int m_released = 0;
};
} // namespace

TEST(HostDc, DrawsAtTheOriginInsideTheVisibleArea)
{
    FakeWindowHost host;
    HDC dc = GdiCreateHostDC(&host);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(WindowFromDC(dc), host.GetWindow());
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 4);
    BITMAP bm{};
    GetObject(bitmap, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    DeleteObject(bitmap);

    RECT all{-100, -100, 100, 100};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(host.At(5, 4), 0u);
    EXPECT_EQ(host.At(14, 11), 0u);
    EXPECT_EQ(host.At(4, 4), 0x00FFFFFFu);
    EXPECT_EQ(host.At(15, 11), 0x00FFFFFFu);
    EXPECT_EQ(host.At(5, 12), 0x00FFFFFFu);
    ASSERT_EQ(host.m_drawn.size(), 1u);
    EXPECT_EQ(host.m_drawn[0].left, 0);
    EXPECT_EQ(host.m_drawn[0].right, 10);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 10, 0), CLR_INVALID);

    RECT box;
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(box.bottom, 8);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(host.m_released, 1);
}

TEST(HostDc, DrawingCallsCanBeRecorded)
{
    FakeWindowHost host;
    HDC dc = GdiCreateHostDC(&host);
    RECT r{1, 2, 3, 4};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    GdiRecordCalls(dc, true);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 5, 6);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    TextOutA(dc, 1, 1, "ab", 2);
    const std::vector<std::string> expected{"LineTo(5,6)", "FillRect(1,2,3,4)", "TextOutA(1,1,2)"};
    EXPECT_EQ(GdiGetRecordedCalls(dc), expected);
    GdiRecordCalls(dc, false);
    EXPECT_TRUE(GdiGetRecordedCalls(dc).empty());
    DeleteDC(dc);
}
