#include "GdiTestSurface.h"
#include "WinFrameControls.h"

#include <gtest/gtest.h>

namespace
{
const COLORREF kBackground = RGB(1, 2, 3);

COLORREF Sys(int index)
{
    return GetSysColor(index);
}
} // namespace

TEST(FrameControls, EdgesTakeTheirColoursPerBorderAndSide)
{
    struct Case
    {
        UINT edge;
        UINT flags;
        COLORREF outerTopLeft;
        COLORREF outerBottomRight;
        COLORREF innerTopLeft;
        COLORREF innerBottomRight;
    };
    const Case cases[] = {
        {EDGE_RAISED, BF_RECT, Sys(COLOR_3DLIGHT), Sys(COLOR_3DDKSHADOW), Sys(COLOR_3DHIGHLIGHT),
         Sys(COLOR_3DSHADOW)},
        {EDGE_SUNKEN, BF_RECT, Sys(COLOR_3DSHADOW), Sys(COLOR_3DHIGHLIGHT), Sys(COLOR_3DDKSHADOW),
         Sys(COLOR_3DLIGHT)},
        {EDGE_ETCHED, BF_RECT, Sys(COLOR_3DSHADOW), Sys(COLOR_3DHIGHLIGHT), Sys(COLOR_3DHIGHLIGHT),
         Sys(COLOR_3DSHADOW)},
        {EDGE_RAISED, BF_RECT | BF_SOFT, Sys(COLOR_3DHIGHLIGHT), Sys(COLOR_3DDKSHADOW),
         Sys(COLOR_3DLIGHT), Sys(COLOR_3DSHADOW)},
        {BDR_SUNKENOUTER | BDR_RAISEDINNER, BF_RECT | BF_MONO, Sys(COLOR_WINDOWFRAME),
         Sys(COLOR_WINDOWFRAME), Sys(COLOR_WINDOW), Sys(COLOR_WINDOW)},
    };
    for (const Case& c : cases)
    {
        GdiTestSurface s(12, 12, kBackground);
        RECT rect{1, 1, 11, 11};
        ASSERT_TRUE(DrawEdge(s.Dc(), &rect, c.edge, c.flags));
        EXPECT_EQ(s.At(1, 5), c.outerTopLeft) << c.edge << " " << c.flags;
        EXPECT_EQ(s.At(5, 1), c.outerTopLeft);
        EXPECT_EQ(s.At(10, 5), c.outerBottomRight);
        EXPECT_EQ(s.At(5, 10), c.outerBottomRight);
        // The bottom and right lines own the corners they share with the
        // top and left ones.
        EXPECT_EQ(s.At(10, 1), c.outerBottomRight);
        EXPECT_EQ(s.At(1, 10), c.outerBottomRight);
        EXPECT_EQ(s.At(2, 5), c.innerTopLeft);
        EXPECT_EQ(s.At(9, 5), c.innerBottomRight);
        EXPECT_EQ(s.At(5, 5), kBackground) << "no BF_MIDDLE, no fill";
        EXPECT_EQ(rect.left, 1) << "no BF_ADJUST, no change";
    }
}

TEST(FrameControls, EdgeSidesMiddleAndAdjust)
{
    GdiTestSurface s(12, 12, kBackground);
    RECT rect{1, 1, 11, 11};
    DrawEdge(s.Dc(), &rect, EDGE_ETCHED, BF_TOP | BF_MIDDLE | BF_ADJUST);
    // Only the top side: two lines across the whole width.
    EXPECT_EQ(s.At(10, 1), Sys(COLOR_3DSHADOW));
    EXPECT_EQ(s.At(10, 2), Sys(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(s.At(1, 5), Sys(COLOR_3DFACE));
    EXPECT_EQ(s.At(10, 10), Sys(COLOR_3DFACE));
    EXPECT_EQ(rect.top, 3);
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.right, 11);
    EXPECT_EQ(rect.bottom, 11);
    EXPECT_EQ(s.At(0, 0), kBackground);
    EXPECT_FALSE(DrawEdge(s.Dc(), nullptr, EDGE_RAISED, BF_RECT));
}

TEST(FrameControls, PushButtonSinksWhenPushedAndAdjustsToItsFace)
{
    for (const bool pushed : {false, true})
    {
        GdiTestSurface s(20, 20, kBackground);
        RECT rect{0, 0, 20, 20};
        const UINT state = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pushed ? DFCS_PUSHED : 0);
        ASSERT_TRUE(DrawFrameControl(s.Dc(), &rect, DFC_BUTTON, state));
        EXPECT_EQ(s.At(0, 5), pushed ? Sys(COLOR_3DDKSHADOW) : Sys(COLOR_3DHIGHLIGHT));
        EXPECT_EQ(s.At(19, 5), pushed ? Sys(COLOR_3DHIGHLIGHT) : Sys(COLOR_3DDKSHADOW));
        EXPECT_EQ(s.At(10, 10), Sys(COLOR_3DFACE));
        EXPECT_EQ(rect.left, 2);
        EXPECT_EQ(rect.bottom, 18);
    }
}

TEST(FrameControls, CheckAndRadioMarksFollowTheirState)
{
    for (const UINT kind : {UINT(DFCS_BUTTONCHECK), UINT(DFCS_BUTTONRADIO)})
    {
        GdiTestSurface plain(13, 13, kBackground);
        GdiTestSurface checked(13, 13, kBackground);
        GdiTestSurface inactive(13, 13, kBackground);
        RECT rect{0, 0, 13, 13};
        DrawFrameControl(plain.Dc(), &rect, DFC_BUTTON, kind);
        DrawFrameControl(checked.Dc(), &rect, DFC_BUTTON, kind | DFCS_CHECKED);
        DrawFrameControl(inactive.Dc(), &rect, DFC_BUTTON, kind | DFCS_CHECKED | DFCS_INACTIVE);
        EXPECT_EQ(plain.At(6, 6), Sys(COLOR_WINDOW)) << kind;
        EXPECT_EQ(checked.At(6, 6), Sys(COLOR_WINDOWTEXT)) << kind;
        EXPECT_EQ(inactive.At(6, 6), Sys(COLOR_GRAYTEXT)) << kind;
        EXPECT_EQ(plain.Count(Sys(COLOR_WINDOWTEXT)), 0);
        EXPECT_EQ(plain.Count(Sys(COLOR_3DDKSHADOW)), checked.Count(Sys(COLOR_3DDKSHADOW)))
            << "the frame does not change with the mark";
    }
}

TEST(FrameControls, ScrollAndCaptionGlyphsSitInARaisedButton)
{
    struct Case
    {
        UINT type;
        UINT state;
    };
    const Case cases[] = {{DFC_SCROLL, DFCS_SCROLLUP},        {DFC_SCROLL, DFCS_SCROLLDOWN},
                          {DFC_SCROLL, DFCS_SCROLLLEFT},      {DFC_SCROLL, DFCS_SCROLLRIGHT},
                          {DFC_SCROLL, DFCS_SCROLLCOMBOBOX},  {DFC_CAPTION, DFCS_CAPTIONCLOSE},
                          {DFC_CAPTION, DFCS_CAPTIONMIN},     {DFC_CAPTION, DFCS_CAPTIONMAX},
                          {DFC_CAPTION, DFCS_CAPTIONRESTORE}, {DFC_CAPTION, DFCS_CAPTIONHELP}};
    for (const Case& c : cases)
    {
        GdiTestSurface active(18, 18, kBackground);
        GdiTestSurface inactive(18, 18, kBackground);
        RECT rect{0, 0, 18, 18};
        ASSERT_TRUE(DrawFrameControl(active.Dc(), &rect, c.type, c.state));
        DrawFrameControl(inactive.Dc(), &rect, c.type, c.state | DFCS_INACTIVE);
        EXPECT_EQ(active.At(0, 5), Sys(COLOR_3DLIGHT));
        const int glyph = active.Count(Sys(COLOR_BTNTEXT));
        EXPECT_GT(glyph, 0) << c.type << " " << c.state;
        // The grey text colour is also the shadow colour of the edge.
        EXPECT_EQ(inactive.Count(Sys(COLOR_GRAYTEXT)), glyph + active.Count(Sys(COLOR_3DSHADOW)));
        EXPECT_EQ(active.Count(kBackground), 0);
    }
    // Each glyph has its own shape.
    GdiTestSurface close(18, 18);
    GdiTestSurface help(18, 18);
    RECT rect{0, 0, 18, 18};
    DrawFrameControl(close.Dc(), &rect, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    DrawFrameControl(help.Dc(), &rect, DFC_CAPTION, DFCS_CAPTIONHELP);
    EXPECT_NE(close.Snapshot(), help.Snapshot());
}

TEST(FrameControls, UnknownTypeFails)
{
    GdiTestSurface s(4, 4);
    RECT rect{0, 0, 4, 4};
    EXPECT_FALSE(DrawFrameControl(s.Dc(), &rect, 99, 0));
}
