#include "ControlTestSupport.h"
#include "DibTestHelpers.h"
#include "WinSysColors.h"

#include <gtest/gtest.h>

namespace
{
struct DibPixels
{
    int nWidth = 0;
    int nHeight = 0;
    int nBitCount = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, top row first
    std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * nWidth + x]; }
};

// The pixels of a 24-bit packed DIB; the DIB is freed.
DibPixels ReadDib(HDIB hdib)
{
    DibPixels out;
    if (char* dib = static_cast<char*>(GlobalLock(hdib)))
    {
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
        out.nWidth = header->biWidth;
        out.nHeight = header->biHeight;
        out.nBitCount = header->biBitCount;
        if (out.nBitCount == 24)
        {
            const int rowBytes = ((24 * out.nWidth + 31) / 32) * 4;
            const auto* bits = reinterpret_cast<const BYTE*>(FindDIBBits(dib));
            for (int y = 0; y < out.nHeight; ++y)
                for (int x = 0; x < out.nWidth; ++x)
                {
                    const BYTE* p = bits + (out.nHeight - 1 - y) * rowBytes + 3 * x;
                    out.pixels.push_back(std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 |
                                         p[0]);
                }
        }
        GlobalUnlock(hdib);
    }
    DestroyDIB(hdib);
    return out;
}

bool SamePixels(const DibPixels& dib, const WindowPicture& picture)
{
    return dib.nWidth == picture.nWidth && dib.nHeight == picture.nHeight &&
           dib.pixels == picture.pixels;
}

class DibCapture : public testing::Test
{
protected:
    CFailOnBlockHarness m_harness;
};
} // namespace

TEST_F(DibCapture, CapturedWindowEqualsItsPicture)
{
    CTestParent parent(CRect(300, 200, 520, 330));
    {
        CClientDC dc(&parent);
        dc.FillSolidRect(CRect(10, 10, 90, 70), RGB(200, 30, 60));
        dc.FillSolidRect(CRect(100, 40, 210, 120), RGB(0, 90, 200));
    }
    WindowPicture whole;
    ASSERT_TRUE(UserGetWindowPicture(parent.m_hWnd, false, whole));
    const DibPixels window = ReadDib(CopyWindowToDIB(parent.m_hWnd, PW_WINDOW));
    EXPECT_EQ(window.nBitCount, 24);
    EXPECT_TRUE(SamePixels(window, whole));
    EXPECT_TRUE(SamePixels(ReadDib(CopyWindowToDIB(parent.m_hWnd, PW_CLIENT)),
                           ClientPictureOf(parent.m_hWnd)));
    DumpPicture(parent.m_hWnd, "captured-window");
}

TEST_F(DibCapture, ScreenShowsTheWindowsInTheirOrderOverTheDesktop)
{
    CTestParent lower(CRect(100, 100, 200, 200));
    CTestParent upper(CRect(150, 150, 250, 250));
    {
        CClientDC dc(&lower);
        dc.FillSolidRect(CRect(0, 0, 100, 100), RGB(255, 0, 0));
    }
    {
        CClientDC dc(&upper);
        dc.FillSolidRect(CRect(0, 0, 100, 100), RGB(0, 0, 255));
    }
    RECT rect{90, 90, 260, 260};
    const DibPixels screen = ReadDib(CopyScreenToDIB(&rect));
    ASSERT_EQ(screen.nWidth, 170);
    ASSERT_EQ(screen.nHeight, 170);
    const std::uint32_t desktop = PixelOf(GetSysColor(COLOR_DESKTOP));
    EXPECT_EQ(screen.At(5, 5), desktop);
    EXPECT_EQ(screen.At(20, 20), 0xFF0000u);
    EXPECT_EQ(screen.At(70, 70), 0x0000FFu);
    EXPECT_EQ(screen.At(100, 30), 0xFF0000u);
    EXPECT_EQ(screen.At(165, 165), desktop);
    EXPECT_EQ(screen.At(130, 20), desktop);
}

TEST_F(DibCapture, HiddenWindowsAreNotOnTheScreen)
{
    CTestParent parent(CRect(400, 400, 450, 450));
    {
        CClientDC dc(&parent);
        dc.FillSolidRect(CRect(0, 0, 50, 50), RGB(255, 0, 0));
    }
    parent.ShowWindow(SW_HIDE);
    RECT rect{400, 400, 450, 450};
    const DibPixels screen = ReadDib(CopyScreenToDIB(&rect));
    EXPECT_EQ(screen.At(25, 25), PixelOf(GetSysColor(COLOR_DESKTOP)));
}

TEST_F(DibCapture, RectanglesAreClippedToTheScreen)
{
    RECT partly{1900, 1060, 1950, 1100};
    HBITMAP bitmap = CopyScreenToBitmap(&partly);
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    GetObjectA(bitmap, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 20);
    EXPECT_EQ(bm.bmHeight, 20);
    DeleteObject(bitmap);

    RECT empty{10, 10, 10, 50};
    RECT offScreen{-300, -300, -100, -100};
    EXPECT_EQ(CopyScreenToBitmap(&empty), nullptr);
    EXPECT_EQ(CopyScreenToBitmap(&offScreen), nullptr);
    EXPECT_EQ(CopyScreenToDIB(&offScreen), nullptr);
    EXPECT_EQ(CopyScreenToBitmap(nullptr), nullptr);
}

TEST_F(DibCapture, WindowAreaMustBeWindowOrClient)
{
    CTestParent parent(CRect(10, 10, 60, 60));
    EXPECT_EQ(CopyWindowToBitmap(parent.m_hWnd, 0), nullptr);
    EXPECT_EQ(CopyWindowToDIB(parent.m_hWnd, 3), nullptr);
    EXPECT_EQ(CopyWindowToBitmap(nullptr, PW_WINDOW), nullptr);
    HBITMAP bitmap = CopyWindowToBitmap(parent.m_hWnd, PW_CLIENT);
    EXPECT_NE(bitmap, nullptr);
    DeleteObject(bitmap);
}
