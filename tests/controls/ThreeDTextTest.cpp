// 3-D captions: scaled to fill the control, in their layers of colour,
// raised on a button and engraved on a static.
#include "ThreeDText.h"
#include "ControlTestSupport.h"
#include "DibTestHelpers.h"

namespace
{
// The box round the pixels of one colour.
CRect BoundsOf(const WindowPicture& picture, COLORREF colour)
{
    CRect bounds(picture.nWidth, picture.nHeight, -1, -1);
    for (int y = 0; y < picture.nHeight; ++y)
        for (int x = 0; x < picture.nWidth; ++x)
            if (picture.GetPixel(x, y) == PixelOf(colour))
                bounds =
                    CRect(std::min<int>(bounds.left, x), std::min<int>(bounds.top, y),
                          std::max<int>(bounds.right, x + 1), std::max<int>(bounds.bottom, y + 1));
    return bounds;
}

class ThreeDTextTest : public testing::Test
{
protected:
    ThreeDTextTest()
    {
        m_button.Create("Scan", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 210, 70),
                        &m_parent, 21);
        m_static.Create("Scan", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(10, 100, 210, 160),
                        &m_parent, 22);
        m_harness.PumpPending();
    }

    WindowPicture DrawButton(UINT nState)
    {
        MemorySurface surface(200, 60, RGB(255, 0, 255));
        m_button.Draw(CDC::FromHandle(surface.Dc()), CRect(0, 0, 200, 60), nState);
        return PictureOfDC(surface.Dc(), 200, 60);
    }

    WindowPicture DrawStatic()
    {
        MemorySurface surface(200, 60, RGB(255, 0, 255));
        m_static.Draw(CDC::FromHandle(surface.Dc()), CRect(0, 0, 200, 60));
        return PictureOfDC(surface.Dc(), 200, 60);
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_parent;
    CThreeDTextButton m_button;
    CThreeDStaticText m_static;
};

TEST_F(ThreeDTextTest, ButtonIsOwnerDrawnAndKeepsItsBackground)
{
    EXPECT_EQ(m_button.GetStyle() & BS_TYPEMASK, DWORD(BS_OWNERDRAW));
    EXPECT_TRUE(m_button.SendMessage(WM_ERASEBKGND));
    EXPECT_TRUE(m_static.SendMessage(WM_ERASEBKGND));
}

TEST_F(ThreeDTextTest, CaptionFillsTheControlInItsLayers)
{
    const WindowPicture picture = DrawButton(0);
    const CRect text = BoundsOf(picture, GetSysColor(COLOR_BTNTEXT));
    // Scaled from a font of height 0 (taken as 20) to the tighter side.
    EXPECT_TRUE(text.Width() > 120 || text.Height() > 30) << text.Width() << "x" << text.Height();
    EXPECT_GE(text.left, 0);
    EXPECT_LE(text.right, 200);
    // Raised: the dark shadow reaches further down and right than the text,
    // the highlight further up and left.
    const CRect dark = BoundsOf(picture, GetSysColor(COLOR_3DDKSHADOW));
    const CRect light = BoundsOf(picture, GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_GT(dark.right, text.right);
    EXPECT_GT(dark.bottom, text.bottom);
    EXPECT_LT(light.left, text.left);
    EXPECT_LT(light.top, text.top);
    EXPECT_EQ(picture.GetPixel(0, 0), PixelOf(RGB(255, 0, 255))) << "no background drawn";
}

TEST_F(ThreeDTextTest, PressedButtonAndStaticShowTheEngravedLayout)
{
    for (const WindowPicture& picture : {DrawButton(ODS_SELECTED), DrawStatic()})
    {
        const CRect text = BoundsOf(picture, GetSysColor(COLOR_BTNTEXT));
        const CRect dark = BoundsOf(picture, GetSysColor(COLOR_3DDKSHADOW));
        const CRect light = BoundsOf(picture, GetSysColor(COLOR_BTNHIGHLIGHT));
        EXPECT_LT(dark.left, text.left);
        EXPECT_LT(dark.top, text.top);
        EXPECT_GT(light.right, text.right);
        EXPECT_GT(light.bottom, text.bottom);
    }
}

TEST_F(ThreeDTextTest, FocusedButtonWritesGreyAndFlatTextHasNoLayers)
{
    const WindowPicture focused = DrawButton(ODS_FOCUS);
    EXPECT_GT(CountPixels(focused, CRect(0, 0, 200, 60), GetSysColor(COLOR_GRAYTEXT)), 50);
    m_button.Use3D(false);
    const WindowPicture flat = DrawButton(0);
    EXPECT_GT(CountPixels(flat, CRect(0, 0, 200, 60), GetSysColor(COLOR_BTNTEXT)), 50);
    EXPECT_EQ(CountPixels(flat, CRect(0, 0, 200, 60), GetSysColor(COLOR_3DDKSHADOW)), 0);
    EXPECT_EQ(CountPixels(flat, CRect(0, 0, 200, 60), GetSysColor(COLOR_BTNHIGHLIGHT)), 0);
}

TEST_F(ThreeDTextTest, StaticPaintsItselfInItsWindow)
{
    m_static.Invalidate();
    m_static.UpdateWindow();
    m_harness.PumpPending();
    const WindowPicture picture = ClientPictureOf(m_static.m_hWnd);
    EXPECT_GT(CountPixels(picture, CRect(0, 0, 200, 60), GetSysColor(COLOR_BTNTEXT)), 50);
    EXPECT_GT(CountPixelsNear(picture, CRect(0, 0, 200, 60), GetSysColor(COLOR_3DDKSHADOW), 24),
              50);
}
} // namespace
