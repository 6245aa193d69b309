// The drawing calls of the windowing layer on memory DCs: the focus
// rectangle, icons through their masks and drawing in a state.
#include "WinUser.h"

#include <gtest/gtest.h>

#include <set>

namespace
{
// A 32-bit memory DC filled with one colour.
class Canvas
{
public:
    Canvas(int nWidth, int nHeight, COLORREF fill) : m_nWidth(nWidth), m_nHeight(nHeight)
    {
        HDC hdcScreen = GetDC(nullptr);
        m_hBitmap = CreateCompatibleBitmap(hdcScreen, nWidth, nHeight);
        ReleaseDC(nullptr, hdcScreen);
        m_hdc = CreateCompatibleDC(nullptr);
        m_hOld = SelectObject(m_hdc, m_hBitmap);
        const RECT all{0, 0, nWidth, nHeight};
        HBRUSH hBrush = CreateSolidBrush(fill);
        FillRect(m_hdc, &all, hBrush);
        DeleteObject(hBrush);
    }
    ~Canvas()
    {
        SelectObject(m_hdc, m_hOld);
        DeleteDC(m_hdc);
        DeleteObject(m_hBitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC DC() const { return m_hdc; }
    std::vector<COLORREF> Pixels() const
    {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < m_nHeight; ++y)
        {
            for (int x = 0; x < m_nWidth; ++x)
                pixels.push_back(GetPixel(m_hdc, x, y));
        }
        return pixels;
    }

private:
    int m_nWidth;
    int m_nHeight;
    HBITMAP m_hBitmap = nullptr;
    HDC m_hdc = nullptr;
    HGDIOBJ m_hOld = nullptr;
};

TEST(DrawingTest, FocusRectangleDrawnTwiceLeavesNothing)
{
    Canvas canvas(40, 30, RGB(30, 120, 200));
    const std::vector<COLORREF> before = canvas.Pixels();
    const RECT rect{5, 5, 35, 25};
    ASSERT_TRUE(DrawFocusRect(canvas.DC(), &rect));
    const std::vector<COLORREF> once = canvas.Pixels();
    EXPECT_NE(once, before);
    // A dotted frame: neighbours on the top edge differ, the inside is untouched.
    EXPECT_NE(GetPixel(canvas.DC(), 10, 5), GetPixel(canvas.DC(), 11, 5));
    EXPECT_EQ(GetPixel(canvas.DC(), 20, 15), RGB(30, 120, 200));
    DrawFocusRect(canvas.DC(), &rect);
    EXPECT_EQ(canvas.Pixels(), before);
}

// A 4 x 4 bitmap of two colours, left half and right half.
HBITMAP TwoHalves(COLORREF left, COLORREF right)
{
    HDC hdcScreen = GetDC(nullptr);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcScreen, 4, 4);
    ReleaseDC(nullptr, hdcScreen);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hBitmap);
    for (int y = 0; y < 4; ++y)
    {
        for (int x = 0; x < 4; ++x)
            SetPixel(hdc, x, y, x < 2 ? left : right);
    }
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    return hBitmap;
}

TEST(DrawingTest, IconFromBitmapsDrawsThroughItsMask)
{
    // The right half of the mask is transparent.
    ICONINFO info{TRUE, 0, 0, TwoHalves(RGB(0, 0, 0), RGB(255, 255, 255)),
                  TwoHalves(RGB(200, 0, 0), RGB(200, 0, 0))};
    const HICON hIcon = CreateIconIndirect(&info);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    ASSERT_NE(hIcon, nullptr);

    Canvas target(8, 8, RGB(0, 255, 0));
    ASSERT_TRUE(DrawIconEx(target.DC(), 2, 2, hIcon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(GetPixel(target.DC(), 2, 2), RGB(200, 0, 0));
    EXPECT_EQ(GetPixel(target.DC(), 4, 2), RGB(0, 255, 0)) << "transparent pixels stay";
    EXPECT_EQ(GetPixel(target.DC(), 1, 1), RGB(0, 255, 0));
    // Stretched to twice its size.
    ASSERT_TRUE(DrawIconEx(target.DC(), 0, 0, hIcon, 8, 8, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(GetPixel(target.DC(), 3, 7), RGB(200, 0, 0));
    EXPECT_EQ(GetPixel(target.DC(), 4, 7), RGB(0, 255, 0));
    EXPECT_TRUE(DestroyIcon(hIcon));
}

TEST(DrawingTest, SystemIconsHaveAPictureAndTransparentCorners)
{
    for (LPCSTR lpIcon : {IDI_APPLICATION, IDI_ERROR, IDI_QUESTION, IDI_WARNING, IDI_INFORMATION})
    {
        Canvas target(32, 32, RGB(1, 2, 3));
        ASSERT_TRUE(DrawIcon(target.DC(), 0, 0, LoadIconA(nullptr, lpIcon)));
        const std::vector<COLORREF> pixels = target.Pixels();
        EXPECT_EQ(pixels.front(), RGB(1, 2, 3));
        const std::set<COLORREF> colours(pixels.begin(), pixels.end());
        EXPECT_GE(colours.size(), 3u);
    }
}

TEST(DrawingTest, DisabledTextIsEmbossedInTheThreeDimensionalColours)
{
    Canvas canvas(80, 24, GetSysColor(COLOR_3DFACE));
    SelectObject(canvas.DC(), GetStockObject(DEFAULT_GUI_FONT));
    const char* text = "Grid";
    ASSERT_TRUE(DrawStateA(canvas.DC(), nullptr, nullptr, reinterpret_cast<LPARAM>(text), 0, 2, 2,
                           0, 0, DST_TEXT | DSS_DISABLED));
    const std::vector<COLORREF> pixels = canvas.Pixels();
    const std::set<COLORREF> colours(pixels.begin(), pixels.end());
    EXPECT_TRUE(colours.count(GetSysColor(COLOR_3DSHADOW)));
    EXPECT_TRUE(colours.count(GetSysColor(COLOR_3DHILIGHT)));
    EXPECT_EQ(colours.size(), 3u) << "face, shadow and highlight only";
}
} // namespace
