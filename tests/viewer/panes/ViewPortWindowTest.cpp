// The view port as a window: the layout of the first and later sizes, the
// label font chosen for the size (the one it replaced deleted), the corner
// mark, the raster modes of the client DC, the label lists and their layout,
// and the painting frame.
#include "PaneTestSupport.h"
#include "UiHarness.h"
#include "WinProcessInfo.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

class ViewPortWindowTest : public PaneWindowTest
{
protected:
    // The image size is set before the window is made, as the first layout
    // reads it.
    TestViewPort* MakeView(const CRect& rect, SIZE image)
    {
        auto* view = new TestViewPort;
        view->m_ImageSize = image;
        EXPECT_TRUE(view->Create(nullptr, "View", WS_CHILD | WS_VISIBLE, rect, m_pHost, 1));
        m_panes.emplace_back(view);
        return view;
    }
    WindowPicture Picture(CWnd* window) { return Paint(window); }
};

// Counts paint events and keeps the DC each carried.
class PaintCounter
{
public:
    int count = 0;
    CDC* dc = nullptr;
    void OnPaint(const void*, DelegateArgs* args)
    {
        ++count;
        dc = static_cast<CDC*>(static_cast<PointerDelegateArgs*>(args)->m_pPointer);
    }
};

} // namespace

TEST_F(ViewPortWindowTest, TheFirstLayoutFitsAndCentres)
{
    TestViewPort* view = MakeView(CRect(0, 0, 400, 300), {127, 63});
    EXPECT_DOUBLE_EQ(view->GetZoom(), 400.0 / 127);
    EXPECT_DOUBLE_EQ(view->GetFitFactor(), view->GetZoom());
    EXPECT_EQ(view->GetDisplayRect(), CRect(0, 0, 400, 300));
    CRect image;
    view->GetImageScreenRect(&image);
    EXPECT_EQ(image.left, 0);
    EXPECT_EQ(image.right, 400);
    EXPECT_LE(std::abs(image.CenterPoint().y - 150), 1);
}

// A resize scales the zoom by the change of the fit factor and keeps the
// image centre where it stood relative to the pane centre, scaled.
TEST_F(ViewPortWindowTest, AResizeKeepsTheImageCentreInPlace)
{
    TestViewPort* view = MakeView(CRect(0, 0, 200, 200), {100, 100});
    ASSERT_DOUBLE_EQ(view->GetZoom(), 2.0);
    view->SetGeometry(2.0, {30, -20}, {0, 0, 200, 200});
    view->MoveWindow(0, 0, 400, 400);
    EXPECT_DOUBLE_EQ(view->GetFitFactor(), 4.0);
    EXPECT_DOUBLE_EQ(view->GetZoom(), 4.0);
    EXPECT_EQ(view->GetPan(), CPoint(60, -40));

    view->MoveWindow(0, 0, 300, 400);
    EXPECT_DOUBLE_EQ(view->GetZoom(), 3.0);
    CRect image;
    view->GetImageScreenRect(&image);
    EXPECT_NEAR(image.CenterPoint().x - 150, 45, 1);
    EXPECT_NEAR(image.CenterPoint().y - 200, -30, 1);

    // No size: nothing moves.
    view->MoveWindow(0, 0, 0, 400);
    EXPECT_DOUBLE_EQ(view->GetZoom(), 3.0);
    EXPECT_EQ(view->GetDisplayRect(), CRect(0, 0, 300, 400));
}

TEST_F(ViewPortWindowTest, TheLabelFontFollowsTheSmallerSide)
{
    struct Case
    {
        CSize client;
        int size;
    };
    const Case cases[] = {{{500, 400}, 11}, {{31, 500}, 1}, {{640, 640}, 13}, {{1000, 79}, 4}};
    TestViewPort* view = MakeView(CRect(0, 0, 100, 100), {10, 10});
    for (const Case& c : cases)
    {
        const HGDIOBJ hPrevious = view->GetLabelFont()->GetSafeHandle();
        view->MoveWindow(0, 0, c.client.cx, c.client.cy);
        EXPECT_EQ(view->GetFontSize(), c.size) << c.client.cx << " x " << c.client.cy;
        // The font it replaced, though selected into the client DC, is gone.
        EXPECT_EQ(::GetObjectType(hPrevious), 0u);
        LOGFONTA font;
        ASSERT_NE(view->GetLabelFont()->GetObject(sizeof font, &font), 0);
        EXPECT_EQ(font.lfHeight, -MulDiv(c.size, 96, 72));
        EXPECT_EQ(std::string(font.lfFaceName), "Arial");
    }
}

TEST_F(ViewPortWindowTest, TheCornerMarkNeedsAWidePane)
{
    TestViewPort* narrow = MakeView(CRect(0, 0, 119, 80), {10, 10});
    RECT mark;
    narrow->GetCornerMarkRect(&mark);
    EXPECT_EQ(CRect(mark), CRect(0, 0, 0, 0));
    TestViewPort* wide = MakeView(CRect(200, 0, 320, 80), {10, 10});
    wide->GetCornerMarkRect(&mark);
    EXPECT_EQ(CRect(mark), CRect(108, 68, 120, 80));
    const WindowPicture picture = Picture(wide);
    EXPECT_EQ(picture.GetPixel(115, 75), 0xFF8000u) << "the corner mark's orange";
    EXPECT_EQ(picture.GetPixel(100, 75), 0u);
}

// Drawing modes 0..6 select the raster operations of the client DC; R2_NOT
// and R2_NOTXORPEN drawn twice leave the window as it was.
TEST_F(ViewPortWindowTest, RasterModesDriveTheClientDC)
{
    TestViewPort* view = MakeView(CRect(0, 0, 200, 100), {10, 10});
    const int rasters[] = {R2_NOT,      R2_NOTXORPEN,   R2_COPYPEN,    R2_NOTCOPYPEN,
                           R2_MERGEPEN, R2_MERGENOTPEN, R2_MERGEPENNOT};
    for (int mode = 0; mode < 7; ++mode)
    {
        view->SetRasterMode(mode);
        EXPECT_EQ(view->GetClientDC()->GetROP2(), rasters[mode]) << mode;
    }
    EXPECT_EQ(view->SetRasterMode(7), 7);
    EXPECT_EQ(view->GetClientDC()->GetROP2(), R2_MERGEPENNOT);

    const WindowPicture before = Picture(view);
    for (int mode : {0, 1})
    {
        view->SetRasterMode(mode);
        view->DrawLineOnClientDC(10, 50, 190, 50);
        WindowPicture once;
        UserGetWindowPicture(view->m_hWnd, true, once);
        EXPECT_NE(once.pixels, before.pixels) << mode;
        view->DrawLineOnClientDC(10, 50, 190, 50);
        WindowPicture twice;
        UserGetWindowPicture(view->m_hWnd, true, twice);
        EXPECT_EQ(twice.pixels, before.pixels) << mode;
    }
}

TEST_F(ViewPortWindowTest, ClientDCFormsDrawOnTheWindowAtOnce)
{
    TestViewPort* view = MakeView(CRect(0, 0, 200, 100), {10, 10});
    Picture(view);
    view->SetRasterMode(2);
    view->SetPenColor(RGB(255, 0, 0));
    view->DrawCrossOnClientDC(50, 50, 5);
    const RECT oval = {100, 20, 160, 80};
    view->DrawEllipseOnClientDC(&oval);
    view->DrawColorLineOnClientDC(0, 90, 100, 90, RGB(0, 255, 0));
    view->DrawHandleOnClientDC(180, 20, 3);
    WindowPicture picture;
    UserGetWindowPicture(view->m_hWnd, true, picture);
    EXPECT_EQ(picture.GetPixel(45, 50), 0xFF0000u);
    EXPECT_EQ(picture.GetPixel(100, 50), 0xFF0000u);
    EXPECT_EQ(picture.GetPixel(50, 90), 0x00FF00u);
    EXPECT_EQ(picture.GetPixel(180, 20), 0xFFFFFFu);
}

// Corner lists stack from their corners, side lists stand centred on
// their sides, hidden labels take no room, and the texts are drawn.
TEST_F(ViewPortWindowTest, LabelsAreLaidOutFromTheirCornersAndSides)
{
    TestViewPort* view = MakeView(CRect(0, 0, 400, 300), {10, 10});
    ViewLabel* first = view->AddLabel(ViewLabel::enTopLeft, "Ex: 1");
    ViewLabel* hidden = view->AddLabel(ViewLabel::enTopLeft, "hidden");
    hidden->SetVisible(false);
    ViewLabel* second = view->AddLabel(ViewLabel::enTopLeft, "Se: 2");
    ViewLabel* bottomRight = view->AddLabel(ViewLabel::enBottomRight, "W:400 L:40");
    ViewLabel* lastBottomRight = view->AddLabel(ViewLabel::enBottomRight, "Mag:1.00x");
    ViewLabel* left = view->AddLabel(ViewLabel::enLeft, "R");
    ViewLabel* top = view->AddLabel(ViewLabel::enTop, "A");
    const WindowPicture picture = Picture(view);

    CRect r1, r2, rb, rl, rs, rt;
    first->GetRect(&r1);
    second->GetRect(&r2);
    bottomRight->GetRect(&rb);
    lastBottomRight->GetRect(&rl);
    left->GetRect(&rs);
    top->GetRect(&rt);
    EXPECT_EQ(r1.TopLeft(), CPoint(2, 2));
    EXPECT_EQ(r2.top, r1.bottom) << "the hidden label takes no room";
    EXPECT_EQ(r2.left, 2);
    EXPECT_EQ(rl.bottom, 300 - CViewPort::CornerMarkSize) << "clear of the corner mark";
    EXPECT_EQ(rl.right, 398);
    EXPECT_EQ(rb.bottom, rl.top);
    EXPECT_EQ(rb.right, 398);
    EXPECT_EQ(rs.left, 2);
    EXPECT_NEAR(rs.CenterPoint().y, 150, 1);
    EXPECT_NEAR(rt.CenterPoint().x, 200, 1);
    EXPECT_EQ(rt.top, 2);
    // Light text (its edges smoothed) in each laid-out rectangle.
    for (const CRect& rect : {r1, r2, rb, rl, rs, rt})
    {
        int light = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
        {
            for (int x = rect.left; x < rect.right; ++x)
            {
                light += GreyOf(picture.GetPixel(x, y)) > 160 ? 1 : 0;
            }
        }
        EXPECT_GT(light, 3);
    }
    view->SetLabelsVisible(false);
    const WindowPicture bare = Picture(view);
    EXPECT_EQ(bare.GetPixel(r1.left + 1, r1.top + 1), 0u);
    int light = 0;
    for (std::uint32_t pixel : bare.pixels)
    {
        light += GreyOf(pixel) > 160 ? 1 : 0;
    }
    EXPECT_EQ(light, 0);
}

TEST_F(ViewPortWindowTest, CopiedLabelsAreClonesWithTheirSpecialSlots)
{
    TestViewPort* source = MakeView(CRect(0, 0, 200, 200), {10, 10});
    TestViewPort* target = MakeView(CRect(200, 0, 400, 200), {10, 10});
    target->AddLabel(ViewLabel::enBottom, "old");
    ViewLabel* ratio = source->AddLabel(ViewLabel::enBottomLeft, "Mag:");
    source->AddLabel(ViewLabel::enBottomLeft, "W:1 L:2");
    source->AddLabel(ViewLabel::enTopRight, "Im: 3");
    source->SetSpecialLabel(CViewPort::enRatioLabel, ratio);
    source->CopyLabels(target);
    EXPECT_EQ(target->GetLabels(ViewLabel::enBottom).GetCount(), 0);
    ASSERT_EQ(target->GetLabels(ViewLabel::enBottomLeft).GetCount(), 2);
    EXPECT_EQ(target->GetLabels(ViewLabel::enTopRight).GetCount(), 1);
    ViewLabel* copied = target->GetSpecialLabel(CViewPort::enRatioLabel);
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, ratio);
    EXPECT_EQ(copied, target->GetLabels(ViewLabel::enBottomLeft).GetAt(0));
    EXPECT_EQ(std::string(copied->GetText()), "Mag:");
    EXPECT_EQ(target->GetSpecialLabel(CViewPort::enWindowLevelLabel), nullptr);
}

TEST_F(ViewPortWindowTest, ResetViewReturnsToTheUnsetState)
{
    TestViewPort* view = MakeView(CRect(0, 0, 200, 200), {100, 100});
    view->SetSpecialLabel(CViewPort::enRatioLabel, view->AddLabel(ViewLabel::enTopLeft, "x"));
    view->SetPenWidth(4);
    view->SetGeometry(2.0, {5, 6}, {0, 0, 200, 200});
    view->ResetView();
    EXPECT_EQ(view->GetZoom(), -1.0);
    EXPECT_EQ(view->GetFitFactor(), -1.0);
    EXPECT_EQ(view->GetPan(), CPoint(0, 0));
    EXPECT_EQ(view->GetPenWidth(), 1);
    EXPECT_EQ(view->GetSpecialLabel(CViewPort::enRatioLabel), nullptr);
    EXPECT_EQ(view->GetLabels(ViewLabel::enTopLeft).GetCount(), 1) << "the lists stay";
    // The next layout fits again.
    view->MoveWindow(0, 0, 300, 300);
    EXPECT_DOUBLE_EQ(view->GetZoom(), 3.0);
}

TEST_F(ViewPortWindowTest, EachFrameFiresThePaintEventOnce)
{
    TestViewPort* view = MakeView(CRect(0, 0, 200, 200), {100, 100});
    m_harness.PumpPending();
    PaintCounter counter;
    view->GetPaintEvent().Add(MakeHandler(&counter, &PaintCounter::OnPaint, "counter"));
    view->Invalidate(TRUE);
    m_harness.PumpPending();
    EXPECT_EQ(counter.count, 1);
    EXPECT_NE(counter.dc, nullptr);
    view->Refresh();
    EXPECT_EQ(counter.count, 2);
}

TEST_F(ViewPortWindowTest, ADIBPaintsAtItsOriginOrScaledByTheZoom)
{
    TestViewPort* view = MakeView(CRect(0, 0, 100, 100), {10, 10});
    EXPECT_EQ(view->SetDIB(DIBHolder()), -1);
    // A 4 x 2 grey DIB, bottom-up as the chain makes them: levels 10, 20,
    // ... left to right, top row first.
    HDIB dib = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + 8);
    auto* bytes = static_cast<std::uint8_t*>(GlobalLock(dib));
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(bytes);
    *header = {sizeof(BITMAPINFOHEADER), 4, 2, 1, 8, BI_RGB, 8, 0, 0, 256, 0};
    auto* table = reinterpret_cast<RGBQUAD*>(bytes + sizeof(BITMAPINFOHEADER));
    for (int level = 0; level < 256; ++level)
    {
        table[level] = {BYTE(level), BYTE(level), BYTE(level), 0};
    }
    std::uint8_t* bits = bytes + sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);
    for (int i = 0; i < 8; ++i)
    {
        bits[(1 - i / 4) * 4 + i % 4] = std::uint8_t(10 * (i + 1));
    }
    GlobalUnlock(dib);
    DIBHolder holder;
    holder.AttachDIB(dib);
    const POINT origin = {30, 40};
    EXPECT_EQ(view->SetDIB(holder, &origin), 1);
    EXPECT_NE(view->GetPalette(), nullptr);
    WindowPicture picture = Picture(view);
    EXPECT_EQ(GreyOf(picture.GetPixel(30, 40)), 10);
    EXPECT_EQ(GreyOf(picture.GetPixel(33, 41)), 80);
    EXPECT_EQ(picture.GetPixel(34, 41), 0u);

    view->SetPixelByPixel(false);
    view->SetGeometry(3.0, {5, 0}, {0, 0, 100, 100});
    picture = Picture(view);
    EXPECT_EQ(GreyOf(picture.GetPixel(5, 0)), 10);
    EXPECT_EQ(GreyOf(picture.GetPixel(16, 5)), 80);
    EXPECT_EQ(picture.GetPixel(17, 5), 0u);
}
