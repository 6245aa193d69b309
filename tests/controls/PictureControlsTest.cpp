// CDIBStatic and CScrollPict: where the picture goes in the window (fitted
// keeping its aspect, stretched, pushed to the edges), the cross and the
// prompt without a picture, scrolling steps and clamps, and drag panning.
#include "DIBStatic.h"
#include "ScrollPict.h"

#include "ControlPictures.h"
#include "DibTestHelpers.h"
#include "ResourceRegistry.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>

namespace
{
// A cursor file with one 32 x 32 entry: the drag cursor the host supplies.
std::array<BYTE, 30> MakeCursorFile()
{
    std::array<BYTE, 30> bytes{};
    const WORD header[3] = {0, 2, 1};
    std::memcpy(bytes.data(), header, sizeof(header));
    bytes[6] = 32;
    bytes[7] = 32;
    const DWORD size = 8;
    const DWORD offset = 22;
    std::memcpy(bytes.data() + 14, &size, 4);
    std::memcpy(bytes.data() + 18, &offset, 4);
    return bytes;
}

const std::array<BYTE, 30> kDragCursor = MakeCursorFile();
const ResourceDataEntry kResources[] = {
    {RT_GROUP_CURSOR, MAKEINTRESOURCE(101), kDragCursor.data(), DWORD(kDragCursor.size())}};
const ResourceRegistrar kRegistrar(ResourceTables{.data = kResources});

constexpr COLORREF kWhite = RGB(255, 255, 255);

class PictureControlsTest : public ::testing::Test
{
protected:
    // A bitmap file of MakeIndexedDib's picture.
    void WriteDibFile(int width, int height)
    {
        HDIB hdib = MakeIndexedDib(width, height);
        ASSERT_EQ(SaveDIB(hdib, m_file.c_str()), 0);
        DestroyDIB(hdib);
    }

    void CreateStatic(int width, int height)
    {
        ASSERT_TRUE(m_static.Create("", WS_CHILD | WS_VISIBLE,
                                    CRect(10, 10, 10 + width, 10 + height), &m_host, 1000));
    }

    void CreateScrollPict(int width, int height)
    {
        ASSERT_TRUE(m_pict.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE,
                                    CRect(10, 10, 10 + width, 10 + height), &m_host, 1001));
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_host{CRect(0, 0, 300, 200)};
    CDIBStatic m_static;
    CScrollPict m_pict;
    TempPath m_file{"picture.bmp"};
};

TEST_F(PictureControlsTest, StaticWithoutPictureOrPromptShowsACross)
{
    CreateStatic(101, 61);
    m_static.UpdateWindow();
    const CClientPixels pixels(m_static.GetSafeHwnd());
    DumpPicture(m_host.GetSafeHwnd(), "dibstatic-cross");
    // The diagonals of the area inside the one-pixel margin.
    for (int x : {10, 50, 90})
    {
        const int down = 1 + (x - 1) * 59 / 99;
        const int up = 60 - (x - 1) * 59 / 99;
        EXPECT_NE(pixels.At(x, down), kWhite) << x;
        EXPECT_NE(pixels.At(x, up), kWhite) << x;
        EXPECT_EQ(pixels.At(x, 30 + (x < 50 ? 12 : -12)), kWhite) << x;
    }
}

TEST_F(PictureControlsTest, StaticPromptIsEmbossedOnTheButtonFace)
{
    CreateStatic(200, 80);
    m_static.SetPrompt("No picture");
    m_static.SetPromptFont(40, 14);
    m_static.UpdateWindow();
    const CClientPixels pixels(m_static.GetSafeHwnd());
    DumpPicture(m_host.GetSafeHwnd(), "dibstatic-prompt");
    EXPECT_EQ(pixels.At(3, 3), GetSysColor(COLOR_BTNFACE));
    int shadow = 0;
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = 0; x < pixels.Width(); ++x)
            shadow += pixels.At(x, y) == GetSysColor(COLOR_BTNSHADOW) ? 1 : 0;
    EXPECT_GT(shadow, 50);
}

TEST_F(PictureControlsTest, StaticFitsThePictureKeepingItsAspect)
{
    WriteDibFile(20, 10);
    CreateStatic(102, 102);
    ASSERT_TRUE(m_static.LoadDib(m_file.c_str()));
    m_static.UpdateWindow();
    DumpPicture(m_host.GetSafeHwnd(), "dibstatic-fitted");
    {
        // 100 x 50 centred in the 100 x 100 area inside the margin.
        const CClientPixels pixels(m_static.GetSafeHwnd());
        EXPECT_EQ(pixels.At(50, 25), kWhite);
        EXPECT_EQ(pixels.At(1, 26), IndexedColor(0, 0));
        EXPECT_EQ(pixels.At(100, 75), IndexedColor(19, 9));
        EXPECT_EQ(pixels.At(50, 76), kWhite);
    }
    m_static.SetAlign(FALSE, TRUE);
    m_static.UpdateWindow();
    {
        const CClientPixels pixels(m_static.GetSafeHwnd());
        EXPECT_EQ(pixels.At(1, 0), IndexedColor(0, 0));
        EXPECT_EQ(pixels.At(50, 60), kWhite);
    }
    m_static.SetAlign(FALSE, FALSE);
    m_static.SetFitWindow(TRUE);
    const CClientPixels stretched(m_static.GetSafeHwnd());
    EXPECT_EQ(stretched.At(1, 1), IndexedColor(0, 0));
    EXPECT_EQ(stretched.At(100, 100), IndexedColor(19, 9));
}

TEST_F(PictureControlsTest, StaticRefusesMissingAndBrokenFiles)
{
    CreateStatic(50, 50);
    EXPECT_FALSE(m_static.LoadDib((std::string(m_file.c_str()) + ".missing").c_str()));
    std::ofstream(m_file.c_str()) << "BM not a bitmap";
    EXPECT_FALSE(m_static.LoadDib(m_file.c_str()));
    EXPECT_FALSE(m_static.IsValidDib());
    WriteDibFile(4, 4);
    EXPECT_TRUE(m_static.LoadDib(m_file.c_str()));
    m_static.RemoveDib();
    EXPECT_FALSE(m_static.IsValidDib());
}

TEST_F(PictureControlsTest, ScrollPictRefusesAPictureWithoutPixels)
{
    CreateScrollPict(100, 100);
    EXPECT_FALSE(m_pict.SetImage(nullptr, nullptr));
    HDIB hDib = MakeIndexedDib(4, 4);
    HPALETTE hPalette = CreateDIBPalette(hDib);
    EXPECT_TRUE(m_pict.SetImage(hDib, hPalette));
    HDIB shown = nullptr;
    HPALETTE palette = nullptr;
    EXPECT_TRUE(m_pict.GetImage(shown, palette));
    EXPECT_EQ(shown, hDib);
    EXPECT_EQ(palette, hPalette);
}

TEST_F(PictureControlsTest, ScrollPictStepsAndClampsAndPaintsWhereItScrolled)
{
    CreateScrollPict(102, 52);
    m_pict.EnableScroll(TRUE);
    ASSERT_TRUE(m_pict.SetImage(MakeIndexedDib(200, 100), nullptr));
    int nMin = 0;
    int nMax = 0;
    m_pict.GetScrollRange(SB_HORZ, &nMin, &nMax);
    CRect client;
    m_pict.GetClientRect(&client);
    ASSERT_GT(nMax, 0);
    const int span = nMax;
    m_pict.SendMessage(WM_HSCROLL, SB_LINEDOWN);
    EXPECT_EQ(m_pict.GetScrollPosition(SB_HORZ), span / 16 + 1);
    m_pict.SendMessage(WM_HSCROLL, SB_PAGEUP);
    EXPECT_EQ(m_pict.GetScrollPosition(SB_HORZ), 0);
    m_pict.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, nMax + 50));
    EXPECT_EQ(m_pict.GetScrollPosition(SB_HORZ), nMax);
    m_pict.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 7));
    EXPECT_EQ(m_pict.GetScrollPosition(SB_VERT), 7);
    m_pict.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 30));
    m_pict.UpdateWindow();
    DumpPicture(m_host.GetSafeHwnd(), "scrollpict-scrolled");
    const CClientPixels pixels(m_pict.GetSafeHwnd());
    EXPECT_EQ(pixels.At(1, 1), IndexedColor(30, 7));
    EXPECT_EQ(pixels.At(11, 21), IndexedColor(40, 27));
}

TEST_F(PictureControlsTest, ScrollPictPansAgainstTheDragOnlyWhenThePictureIsLarger)
{
    CreateScrollPict(102, 52);
    m_pict.EnableScroll(TRUE);
    ASSERT_TRUE(m_pict.SetImage(MakeIndexedDib(200, 100), nullptr));
    m_pict.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40));
    m_pict.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 20));
    m_pict.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 25));
    m_pict.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 30));
    EXPECT_EQ(m_pict.GetScrollPosition(SB_HORZ), 50);
    EXPECT_EQ(m_pict.GetScrollPosition(SB_VERT), 15);
    m_pict.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 45));
    EXPECT_EQ(m_pict.GetScrollPosition(SB_HORZ), 0) << "clamped at the start";
    EXPECT_EQ(m_pict.GetScrollPosition(SB_VERT), 0);
    m_pict.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(100, 45));
    EXPECT_EQ(GetCapture(), nullptr);

    CScrollPict large;
    ASSERT_TRUE(large.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 150, 150),
                               &m_host, 1002));
    large.EnableScroll(TRUE);
    ASSERT_TRUE(large.SetImage(MakeIndexedDib(40, 40), nullptr));
    large.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    large.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 10));
    EXPECT_EQ(large.GetScrollPosition(SB_HORZ), 0);
    EXPECT_EQ(large.GetScrollPosition(SB_VERT), 0);
    large.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
}
} // namespace
