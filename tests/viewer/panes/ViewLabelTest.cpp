// ViewLabel: its extent, its clone and its drawing with a shadow.
#include "ViewLabel.h"
#include "OverlayConfig.h"
#include "PaneFont.h"
#include "PaneTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

TEST(ViewLabelTest, AnEmptyLabelKeepsTheHeightOfASpace)
{
    PaneSurface surface(100, 40);
    const LOGFONTA logFont = MakeLogFont(12, "Arial");
    CFont font;
    font.CreateFontIndirect(&logFont);
    CFont* old = surface.SelectObject(&font);
    ViewLabel empty(ViewLabel::enTopLeft);
    ViewLabel text(ViewLabel::enTopLeft, "Se: 3");
    EXPECT_GT(empty.GetTextExtent(&surface).cy, 0);
    EXPECT_EQ(empty.GetTextExtent(&surface), surface.GetTextExtent(" "));
    EXPECT_EQ(text.GetTextExtent(&surface).cy, empty.GetTextExtent(&surface).cy);
    EXPECT_GT(text.GetTextExtent(&surface).cx, empty.GetTextExtent(&surface).cx);
    surface.SelectObject(old);
}

TEST(ViewLabelTest, AFreshLabelTakesTheConfiguredColourAndDefaults)
{
    const ViewLabel label(ViewLabel::enBottomRight, "Mag:");
    EXPECT_EQ(label.GetColor(), OverlayConfig::Get().crText);
    EXPECT_EQ(label.GetStyle(), 3);
    EXPECT_TRUE(label.IsVisible());
    EXPECT_TRUE(label.IsShadow());
    EXPECT_EQ(label.GetFormat(), UINT(DT_SINGLELINE));
    EXPECT_EQ(label.GetPosition(), ViewLabel::enBottomRight);
}

TEST(ViewLabelTest, ACloneKeepsAttributesButNotTheRectangle)
{
    ViewLabel label(ViewLabel::enTopRight, "Im: 12");
    label.SetColor(RGB(1, 2, 3));
    label.SetStyle(7);
    label.SetTag(42);
    label.SetShadow(false);
    label.SetVisible(false);
    label.SetFormat(DT_SINGLELINE | DT_RIGHT);
    label.SetRect(10, 20, 30, 40);
    std::unique_ptr<ViewLabel> clone(label.Clone(nullptr));
    EXPECT_EQ(clone->GetPosition(), ViewLabel::enTopRight);
    EXPECT_EQ(std::string(clone->GetText()), "Im: 12");
    EXPECT_EQ(clone->GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(clone->GetStyle(), 7);
    EXPECT_EQ(clone->GetTag(), 42);
    EXPECT_FALSE(clone->IsShadow());
    EXPECT_FALSE(clone->IsVisible());
    RECT rect;
    clone->GetRect(&rect);
    EXPECT_EQ(CRect(rect), CRect(0, 0, 0, 0));
    EXPECT_EQ(clone->GetFormat(), UINT(DT_SINGLELINE)) << "the format is not copied";
}

TEST(ViewLabelTest, TheShadowFallsOnePixelDownAndRight)
{
    PaneSurface surface(120, 40, RGB(0, 0, 255));
    const LOGFONTA logFont = MakeLogFont(14, "Arial");
    CFont font;
    font.CreateFontIndirect(&logFont);
    CFont* old = surface.SelectObject(&font);
    surface.SetBkMode(TRANSPARENT);
    ViewLabel label(ViewLabel::enTopLeft, "Label");
    label.SetColor(RGB(255, 255, 255));
    label.Draw(&surface, CRect(10, 10, 110, 35));
    const CRect white = surface.BoundsOfOther(RGB(0, 0, 255));
    EXPECT_GT(surface.Count(RGB(255, 255, 255)), 20);
    EXPECT_GT(surface.Count(RGB(0, 0, 0)), 4);
    // The black copy lies under and right of the white text.
    const CRect black = surface.BoundsOf(RGB(0, 0, 0));
    // Edges are smoothed, so pure black shows only where the white text
    // leaves the shadow uncovered: within the text moved by (+1, +1).
    EXPECT_GE(black.left, white.left + 1);
    EXPECT_GE(black.top, white.top + 1);
    EXPECT_LE(black.right, white.right + 1);
    EXPECT_LE(black.bottom, white.bottom + 1);
    surface.SelectObject(old);

    PaneSurface plain(120, 40, RGB(0, 0, 255));
    plain.SelectObject(&font);
    plain.SetBkMode(TRANSPARENT);
    label.SetShadow(false);
    label.Draw(&plain, CRect(10, 10, 110, 35));
    EXPECT_EQ(plain.Count(RGB(0, 0, 0)), 0);
    plain.SelectStockObject(SYSTEM_FONT);
}
