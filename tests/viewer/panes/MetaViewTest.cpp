// MetaView: attaching an image in each display mode, the zoom bounds, the
// window/level step and read-outs, the orientation commands, the window
// styles, the shutter layer and the overlay plane drawn through the view.
#include "MetaView.h"
#include "DataConfig.h"
#include "ORoi.h"
#include "ORoiDicomBinaryOverlay.h"
#include "OverlayConfig.h"
#include "PaneTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

// The zoom bounds depend on the fit factor alone.
class FitMetaView : public MetaView
{
public:
    void SetFit(double fit) { m_dFitFactor = fit; }
};

// A shutter whose opening is a circle in window pixels.
class CircleShutter : public ORoi
{
public:
    CircleShutter(ImageShow* owner, CRect circle) : ORoi(9999, owner), m_circle(circle) {}
    bool GetScreenRegion(CRgn* region) const override
    {
        return region->CreateEllipticRgnIndirect(&m_circle) != FALSE;
    }
    void Draw(CDC* pDC) override
    {
        ++draws;
        pDC->SetPixel(0, 0, RGB(0, 0, 255));
    }
    void FlipVertical() override {}
    void FlipHorizontal() override {}
    void Rotate(int) override {}
    ORoi* Clone(ImageShow* owner) const override { return new CircleShutter(owner, m_circle); }

    int draws = 0;

private:
    CRect m_circle;
};

// Puts the shutter alpha back when the test ends.
class ScopedShutterAlpha
{
public:
    explicit ScopedShutterAlpha(int alpha) : m_nOld(DataConfig::Get().nAlphaOfShutter)
    {
        DataConfig::Get().nAlphaOfShutter = alpha;
    }
    ~ScopedShutterAlpha() { DataConfig::Get().nAlphaOfShutter = m_nOld; }

private:
    int m_nOld;
};

DICOMImage* PatternImage(int rows, int columns)
{
    return MakeImage(rows, columns, 8, "MONOCHROME2", PatternPixels(rows, columns));
}

class MetaViewTest : public PaneWindowTest
{
};

} // namespace

TEST_F(MetaViewTest, ClampZoomKeepsWithinTenthAndTenUnlessTheFitLiesBeyond)
{
    struct Case
    {
        double fit;
        double zoom;
        double expected;
    };
    const Case cases[] = {{0.05, 0.01, 0.05}, {1.0, 0.01, 0.1},   {1.0, 20.0, 10.0},
                          {12.0, 20.0, 12.0}, {12.0, 11.0, 11.0}, {1.0, 3.5, 3.5},
                          {0.05, 0.07, 0.07}};
    FitMetaView view;
    for (const Case& c : cases)
    {
        view.SetFit(c.fit);
        EXPECT_DOUBLE_EQ(view.ClampZoom(c.zoom), c.expected) << c.fit << " " << c.zoom;
    }
}

TEST_F(MetaViewTest, TheWindowLevelStepFollowsModalityAndBits)
{
    struct Case
    {
        const char* modality;
        int bits;
        int step;
    };
    const Case cases[] = {{"CT", 16, 2}, {"MR", 12, 2},  {"CR", 12, 5}, {"OT", 8, 1},
                          {"DX", 10, 2}, {"OT", 14, 10}, {"OT", 16, 5}, {"XA", 13, 5}};
    MetaView* view = MakePane<MetaView>(CRect(0, 0, 100, 100));
    EXPECT_EQ(view->GetWindowLevelStep(), 1) << "no image";
    for (const Case& c : cases)
    {
        const int depth = c.bits > 8 ? 16 : 8;
        DICOMImage* image =
            MakeImage(2, 2, depth, "MONOCHROME2",
                      depth == 16 ? Words({1, 2, 3, 4}) : std::vector<std::uint8_t>{1, 2, 3, 4});
        image->Add(0x0008, 0x0060, c.modality);
        image->Add(0x0028, 0x0101, static_cast<unsigned short>(c.bits));
        image->Add(0x0028, 0x0102, static_cast<unsigned short>(c.bits - 1));
        auto show = ShowOf(image);
        view->AttachShow(show.get());
        EXPECT_EQ(view->GetWindowLevelStep(), c.step) << c.modality << " " << c.bits;
        view->DetachShow();
    }
}

TEST_F(MetaViewTest, PanesClipTheirChildrenAndSiblings)
{
    MetaView* view = MakePane<MetaView>(CRect(0, 0, 100, 100));
    EXPECT_EQ(view->GetStyle() & (WS_CLIPCHILDREN | WS_CLIPSIBLINGS),
              DWORD(WS_CLIPCHILDREN | WS_CLIPSIBLINGS));
    EXPECT_EQ(view->GetStyle() & (WS_HSCROLL | WS_VSCROLL), 0u);
}

// Display mode 16 (a fresh image) fits and centres; any mode but the fit
// and field-of-view ones keeps the stored zoom and pan; 2 zooms onto the
// stored field of view. Attaching leaves mode 1.
TEST_F(MetaViewTest, AttachingFollowsTheImageDisplayMode)
{
    MetaView* view = MakePane<MetaView>(CRect(0, 0, 300, 200));
    auto show = ShowOf(PatternImage(50, 100));
    ASSERT_EQ(show->GetDisplayMode(), 16);
    ASSERT_TRUE(view->AttachShow(show.get()));
    EXPECT_EQ(show->GetView(), view);
    EXPECT_DOUBLE_EQ(view->GetZoom(), 3.0);
    CRect image;
    view->GetImageScreenRect(&image);
    EXPECT_EQ(image, CRect(0, 25, 300, 175));
    EXPECT_EQ(show->GetDisplayMode(), 1);
    EXPECT_DOUBLE_EQ(show->GetZoom(), 3.0);

    view->DetachShow();
    EXPECT_EQ(show->GetView(), nullptr);
    EXPECT_EQ(view->GetZoom(), -1.0);
    show->SetZoom(2.5);
    show->SetPan(7, -3);
    ASSERT_TRUE(view->AttachShow(show.get()));
    EXPECT_DOUBLE_EQ(view->GetZoom(), 2.5);
    EXPECT_EQ(view->GetPan(), CPoint(7, -3));

    view->DetachShow();
    show->SetDisplayMode(2);
    show->SetViewRect(RECT{10, 10, 40, 30});
    ASSERT_TRUE(view->AttachShow(show.get()));
    EXPECT_DOUBLE_EQ(view->GetZoom(), 10.0);
    POINT centre;
    const POINT middle = {150, 100};
    view->ScreenToImage(&centre, &middle);
    EXPECT_EQ(centre.x, 25);
    EXPECT_EQ(centre.y, 20);

    EXPECT_FALSE(view->AttachShow(nullptr));
}

TEST_F(MetaViewTest, ReadOutsShowZoomWindowAndSize)
{
    MetaView* view = MakePane<MetaView>(CRect(0, 0, 300, 200));
    auto show = ShowOf(PatternImage(50, 100));
    view->AttachShow(show.get());
    view->BuildOverlayText();
    ViewLabel* ratio = view->GetSpecialLabel(CViewPort::enRatioLabel);
    ViewLabel* window = view->GetSpecialLabel(CViewPort::enWindowLevelLabel);
    ViewLabel* size = view->GetSpecialLabel(CViewPort::enSizeLabel);
    ASSERT_NE(ratio, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(std::string(ratio->GetText()), "Mag:3.00x");
    EXPECT_EQ(std::string(size->GetText()), "100 x 50");
    const MetaImage* image = show->GetMetaImage();
    EXPECT_EQ(std::string(window->GetText()), "W:" + std::to_string(image->GetWindowWidth()) +
                                                  " L:" + std::to_string(image->GetWindowCenter()));

    struct Case
    {
        double zoom;
        const char* text;
    };
    const Case cases[] = {{0.1, "Mag:0.1"},
                          {0.2, "Mag:0.2"},
                          {0.25, "Mag:0.25"},
                          {0.83, "Mag:0.83x"},
                          {12.0, "Mag:12.0"}};
    for (const Case& c : cases)
    {
        view->SetZoom(c.zoom);
        EXPECT_EQ(std::string(ratio->GetText()), c.text);
    }

    view->SetWindowLevelText(60, 70);
    EXPECT_EQ(std::string(window->GetText()), "W:60 L:70");
    int width = 0;
    int center = 0;
    view->OnWindowLevelStart(&width, &center);
    EXPECT_EQ(width, 60);
    EXPECT_EQ(center, 70);

    view->RemoveInfoLabels();
    EXPECT_EQ(view->GetSpecialLabel(CViewPort::enRatioLabel), nullptr);
    EXPECT_EQ(view->GetLabels(ViewLabel::enBottomLeft).GetCount(), 0);
}

namespace
{

// Counts the pictures it is handed.
class CountingView : public MetaView
{
public:
    int updates = 0;
    void UpdateImage() override
    {
        ++updates;
        MetaView::UpdateImage();
    }
};

} // namespace

// The full-view and brief builds hand a view given the new picture; their
// forms without a view build the same DIB.
TEST_F(MetaViewTest, TheFullViewAndBriefBuildsHandAViewTheirPicture)
{
    auto* view = MakePane<CountingView>(CRect(0, 0, 100, 100));
    auto show = ShowOf(PatternImage(50, 100));
    show->BuildChainForFullViewToDIB(view);
    EXPECT_EQ(view->updates, 1);
    EXPECT_EQ(show->GetDIB().GetWidth(), 100);
    EXPECT_DOUBLE_EQ(show->BuildChainForBriefImage(view), 1.0);
    EXPECT_EQ(view->updates, 2);
    EXPECT_EQ(show->GetDIB().GetWidth(), 100);
    show->BuildFullViewDIB();
    EXPECT_DOUBLE_EQ(show->BuildBriefImage(), 1.0);
    EXPECT_EQ(view->updates, 2) << "no view, nobody handed anything";
    EXPECT_EQ(show->GetDIB().GetHeight(), 50);
}

// While the zoom is unset (an image that did not decode) the read-out
// shows no magnification rather than a negative one.
TEST_F(MetaViewTest, AnUnsetZoomShowsNoMagnification)
{
    MetaView* view = MakePane<MetaView>(CRect(0, 0, 300, 200));
    auto show = ShowOf(PatternImage(50, 100));
    view->AttachShow(show.get());
    view->ResetView();
    ASSERT_LE(view->GetZoom(), 0.0);
    view->BuildOverlayText();
    view->UpdateZoomText();
    ViewLabel* ratio = view->GetSpecialLabel(CViewPort::enRatioLabel);
    ASSERT_NE(ratio, nullptr);
    EXPECT_EQ(std::string(ratio->GetText()), "");
}

TEST_F(MetaViewTest, WindowLevelStartWithoutAnImageGivesMinusOne)
{
    MetaView* view = MakePane<MetaView>(CRect(0, 0, 100, 100));
    int width = 5;
    int center = 5;
    view->OnWindowLevelStart(&width, &center);
    EXPECT_EQ(width, -1);
    EXPECT_EQ(center, -1);
    view->OnWindowLevelStart(nullptr, &center);
    EXPECT_FALSE(view->AutoWindowLevel());
}

TEST_F(MetaViewTest, RotatingKeepsTheImageCentreOnScreen)
{
    MetaView* view = MakePane<MetaView>(CRect(0, 0, 300, 200));
    auto show = ShowOf(PatternImage(40, 90));
    view->AttachShow(show.get());
    view->SetZoom(2.0);
    view->SetPan(-20, 13);
    CRect before;
    view->GetImageScreenRect(&before);
    view->Rotate(1);
    CRect after;
    view->GetImageScreenRect(&after);
    EXPECT_EQ(after.Width(), before.Height());
    EXPECT_EQ(after.Height(), before.Width());
    EXPECT_LE(std::abs(after.CenterPoint().x - before.CenterPoint().x), 1);
    EXPECT_LE(std::abs(after.CenterPoint().y - before.CenterPoint().y), 1);
    EXPECT_EQ(show->GetImageSize().cx, 40);
}

TEST_F(MetaViewTest, FitsInRectAndTheInnerRectangle)
{
    MetaView* view = MakePane<MetaView>(CRect(0, 0, 300, 240));
    auto show = ShowOf(PatternImage(50, 100));
    view->AttachShow(show.get());
    EXPECT_TRUE(view->FitsInRect(RECT{0, 0, 99, 49}));
    EXPECT_TRUE(view->FitsInRect(RECT{1, 1, 100, 50})) << "a left or top of 1 counts as 0";
    EXPECT_FALSE(view->FitsInRect(RECT{2, 0, 100, 50}));
    RECT inner;
    view->GetInnerRect(&inner);
    EXPECT_EQ(CRect(inner), CRect(50, 40, 250, 200));
}

// With an alpha outside 0..255 the image shows only through the shutter's
// opening; with one inside, the rest of the image is veiled in grey.
TEST_F(MetaViewTest, TheShutterLayerClipsOrVeils)
{
    MetaView* view = MakePane<MetaView>(CRect(0, 0, 200, 200));
    // White but for a black first column, which sets the window.
    std::vector<std::uint8_t> white(100 * 100, 255);
    for (int row = 0; row < 100; ++row)
    {
        white[std::size_t(row) * 100] = 0;
    }
    auto show = ShowOf(MakeImage(100, 100, 8, "MONOCHROME2", white));
    view->AttachShow(show.get());
    view->ShowRuler(false);
    auto* shutter = new CircleShutter(show.get(), CRect(50, 50, 150, 150));
    show->SetMask(shutter);
    {
        ScopedShutterAlpha clip(300);
        const WindowPicture picture = Paint(view);
        EXPECT_EQ(picture.GetPixel(100, 100), 0xFFFFFFu);
        EXPECT_EQ(picture.GetPixel(20, 100), 0u);
        EXPECT_EQ(picture.GetPixel(0, 0), 0x0000FFu) << "the shutter draws itself";
    }
    {
        ScopedShutterAlpha veil(128);
        const WindowPicture picture = Paint(view);
        EXPECT_EQ(picture.GetPixel(100, 100), 0xFFFFFFu);
        const int veiled = (0x7F * 128 + 255 * 127 + 127) / 255;
        const std::uint32_t grey = std::uint32_t(veiled) * 0x010101u;
        EXPECT_EQ(picture.GetPixel(20, 100), grey);
        EXPECT_EQ(picture.GetPixel(100, 20), grey);
    }
    const int drawn = shutter->draws;
    view->SetShutterLayer(false);
    Paint(view);
    EXPECT_EQ(shutter->draws, drawn);
}

TEST_F(MetaViewTest, TheOverlayPlaneIsDrawnThroughTheView)
{
    // An overlay of 4 x 2 bits at origin (row 3, column 5), bits (0, 0) and
    // (3, 1) set.
    DICOMImage* image = PatternImage(20, 30);
    image->Add(0x6000, 0x0010, static_cast<unsigned short>(2));
    image->Add(0x6000, 0x0011, static_cast<unsigned short>(4));
    image->Add(0x6000, 0x0040, "G ");
    const short origin[2] = {3, 5};
    image->Add(0x6000, 0x0050, origin, 2);
    image->Add(0x6000, 0x0100, static_cast<unsigned short>(1));
    image->Add(0x6000, 0x0102, static_cast<unsigned short>(0));
    const unsigned short bits[1] = {0x81};
    image->Add(0x6000, 0x3000, bits, 1);
    auto show = ShowOf(image);
    MetaView* view = MakePane<MetaView>(CRect(0, 0, 300, 200));
    view->AttachShow(show.get());
    ASSERT_EQ(show->GetAnnotations().GetCount(), 1);
    ORoi* overlay = show->GetAnnotations().GetHead()->item.get();
    view->SetZoom(4.0);
    view->SetPan(10, 20);
    PaneSurface surface(300, 200);
    overlay->Draw(&surface);
    const COLORREF color = OverlayConfig::Get().crText;
    // Image pixel (4, 2) covers window (26..30, 28..32).
    EXPECT_EQ(surface.BoundsOf(color, CRect(0, 0, 34, 40)), CRect(26, 28, 30, 32));
    // Image pixel (7, 3).
    EXPECT_EQ(surface.BoundsOf(color, CRect(34, 30, 60, 60)), CRect(38, 32, 42, 36));
    EXPECT_EQ(surface.Count(color), 32);
    overlay->SetShown(false);
    PaneSurface hidden(300, 200);
    overlay->Draw(&hidden);
    EXPECT_EQ(hidden.Count(color), 0);
}
