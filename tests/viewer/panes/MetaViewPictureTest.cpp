// What a MetaView paints: the field of view the image renders is painted
// 1:1 where the mapping puts it, so the window picture equals the chain's
// DIB in the image region; panning and zooming by a step move the picture
// without seams or drift. Corpus CTs at fit and at 1:1, with labels, ruler
// and zoom text. With SUITE_PICTURE_DIR set the pictures are written there.
#include "../window/PictureDump.h"
#include "MetaView.h"
#include "PaneTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

// The corner mark, painted over everything at the bottom-right.
CRect CornerMark(const WindowPicture& picture)
{
    return CRect(picture.nWidth - CViewPort::CornerMarkSize,
                 picture.nHeight - CViewPort::CornerMarkSize, picture.nWidth, picture.nHeight);
}

class MetaViewPictureTest : public PaneWindowTest
{
protected:
    // Every pixel of the client where the field of view's DIB lies equals
    // the DIB's grey level, outside the rectangles given; the DIB covers
    // exactly the image's part of the client.
    void ExpectPictureIsTheDIB(MetaView* view, const WindowPicture& picture,
                               const std::vector<CRect>& excluded = {})
    {
        const DIBPixels dib = ReadDIB(view->GetShow()->GetDIB());
        const CRect fov = view->GetFieldOfViewScreenRect();
        ASSERT_EQ(fov.Width(), dib.width);
        ASSERT_EQ(fov.Height(), dib.height);
        CRect image;
        view->GetImageScreenRect(&image);
        CRect shown;
        shown.IntersectRect(&image, CRect(0, 0, picture.nWidth, picture.nHeight));
        ASSERT_TRUE(CRect().IntersectRect(&fov, &shown) && (fov & shown) == shown)
            << "the DIB covers what shows";
        int mismatches = 0;
        for (int y = shown.top; y < shown.bottom; ++y)
        {
            for (int x = shown.left; x < shown.right; ++x)
            {
                bool skip = CornerMark(picture).PtInRect(CPoint(x, y));
                for (const CRect& rect : excluded)
                {
                    skip = skip || rect.PtInRect(CPoint(x, y));
                }
                const int expected = dib.At(x - fov.left, y - fov.top);
                if (!skip && picture.GetPixel(x, y) != std::uint32_t(expected) * 0x010101u)
                {
                    ++mismatches;
                }
            }
        }
        EXPECT_EQ(mismatches, 0);
    }

    // The picture outside the image's screen rectangle is black and inside
    // it has no black column or row: no seam between picture and mapping.
    void ExpectImageFillsItsRectangle(MetaView* view, const WindowPicture& picture)
    {
        CRect image;
        view->GetImageScreenRect(&image);
        CRect shown;
        shown.IntersectRect(&image, CRect(0, 0, picture.nWidth, picture.nHeight));
        CRect painted(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (int y = 0; y < picture.nHeight; ++y)
        {
            for (int x = 0; x < picture.nWidth; ++x)
            {
                if (picture.GetPixel(x, y) != 0 && !CornerMark(picture).PtInRect(CPoint(x, y)))
                {
                    painted.UnionRect(&painted, CRect(x, y, x + 1, y + 1));
                }
            }
        }
        EXPECT_EQ(painted, shown);
    }

    // Black everywhere outside the image's screen rectangle but the corner
    // mark.
    void ExpectBlackOutsideTheImage(MetaView* view, const WindowPicture& picture)
    {
        CRect image;
        view->GetImageScreenRect(&image);
        const CRect mark = CornerMark(picture);
        int lit = 0;
        for (int y = 0; y < picture.nHeight; ++y)
        {
            for (int x = 0; x < picture.nWidth; ++x)
            {
                const CPoint point(x, y);
                lit +=
                    !image.PtInRect(point) && !mark.PtInRect(point) && picture.GetPixel(x, y) != 0
                        ? 1
                        : 0;
            }
        }
        EXPECT_EQ(lit, 0);
    }

    // A pattern image windowed so that no pixel shows black.
    std::unique_ptr<ImageShow> AttachPattern(MetaView* view)
    {
        auto show = ShowOf(MakeImage(61, 97, 8, "MONOCHROME2", PatternPixels(61, 97)));
        EXPECT_TRUE(view->AttachShow(show.get()));
        view->SetWindowLevel(512, 128);
        return show;
    }

    MetaView* MakePictureView(const CRect& rect)
    {
        MetaView* view = MakePane<MetaView>(rect);
        view->ShowRuler(false);
        return view;
    }
};

// The picture moved by one pixel: equal where both show the image.
int ShiftMismatches(const WindowPicture& before, const WindowPicture& after, int dx, int dy,
                    const CRect& image)
{
    int mismatches = 0;
    for (int y = std::max<int>(0, image.top); y < std::min<int>(before.nHeight, image.bottom); ++y)
    {
        for (int x = std::max<int>(0, image.left); x < std::min<int>(before.nWidth, image.right);
             ++x)
        {
            const int xs = x + dx;
            const int ys = y + dy;
            if (xs < 0 || ys < 0 || xs >= after.nWidth || ys >= after.nHeight ||
                CornerMark(before).PtInRect(CPoint(x, y)) ||
                CornerMark(after).PtInRect(CPoint(xs, ys)))
            {
                continue;
            }
            mismatches += before.GetPixel(x, y) != after.GetPixel(xs, ys) ? 1 : 0;
        }
    }
    return mismatches;
}

} // namespace

TEST_F(MetaViewPictureTest, ACorpusCTAtFitAndAtOneToOne)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    MetaView* view = MakePane<MetaView>(CRect(0, 0, 300, 240));
    auto show = CorpusShow("pydicom/test_files/CT_small.dcm");
    ASSERT_TRUE(view->AttachShow(show.get()));
    view->BuildOverlayText();
    view->UpdateOrientationLabels(show.get());
    EXPECT_DOUBLE_EQ(view->GetZoom(), 240.0 / 128);
    view->SetLabelsVisible(false);
    view->ShowRuler(false);
    const WindowPicture bare = Paint(view);
    ExpectPictureIsTheDIB(view, bare);
    ExpectBlackOutsideTheImage(view, bare);
    EXPECT_EQ(ReadDIB(show->GetDIB()).width, 240);

    view->SetLabelsVisible(true);
    view->ShowRuler(true);
    const WindowPicture labelled = Paint(view);
    DumpPicture(view->m_hWnd, "metaview_ct_small_fit");
    EXPECT_EQ(std::string(view->GetSpecialLabel(CViewPort::enRatioLabel)->GetText()), "Mag:1.88x");
    EXPECT_EQ(std::string(view->GetSpecialLabel(CViewPort::enSizeLabel)->GetText()), "128 x 128");
    // The image's left is the patient's right: side letters on all sides.
    for (int side : {ViewLabel::enLeft, ViewLabel::enRight, ViewLabel::enTop, ViewLabel::enBottom})
    {
        EXPECT_EQ(view->GetLabels(side).GetCount(), 1) << side;
    }
    std::vector<CRect> covered;
    for (int position = 0; position < ViewLabel::enPositionCount; ++position)
    {
        for (auto* node = view->GetLabels(position).GetHead(); node != nullptr; node = node->next)
        {
            CRect rect;
            node->item->GetRect(&rect);
            rect.InflateRect(0, 0, 1, 1);
            covered.push_back(rect);
        }
    }
    // The ruler: 0.66 mm pixels at 1.875 make 2 cm the longest bar within a
    // third of the height, at the right edge, with its caption below.
    const CRect ruler(300 - 16 - 40, 0, 300, 240);
    covered.push_back(ruler);
    ExpectPictureIsTheDIB(view, labelled, covered);
    int barPixels = 0;
    for (int y = 0; y < 240; ++y)
    {
        barPixels += labelled.GetPixel(300 - 16, y) == 0xFFFFFFu ? 1 : 0;
    }
    EXPECT_NEAR(barPixels, 20 / 0.661468 * 1.875, 6);
    EXPECT_NE(labelled.pixels, bare.pixels);

    view->SetZoom(1.0);
    view->SetPan(86, 56);
    const WindowPicture one = Paint(view);
    DumpPicture(view->m_hWnd, "metaview_ct_small_1to1");
    EXPECT_EQ(std::string(view->GetSpecialLabel(CViewPort::enRatioLabel)->GetText()), "Mag:1.00x");
    ExpectPictureIsTheDIB(view, one, covered);
    EXPECT_EQ(ReadDIB(show->GetDIB()).width, 128);
}

// At 1:1 a 512 x 512 CT in a smaller pane renders only the visible part
// (and a margin for the display filter), painted where it belongs.
TEST_F(MetaViewPictureTest, OnlyTheVisiblePartIsRendered)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    MetaView* view = MakePictureView(CRect(0, 0, 300, 240));
    auto show = CorpusShow("octave-dicom/CT-MONO2-16-ankle.dcm");
    ASSERT_TRUE(view->AttachShow(show.get()));
    view->BuildOverlayText();
    view->SetZoom(1.0);
    view->SetPan(-150, -100);
    const WindowPicture picture = Paint(view);
    DumpPicture(view->m_hWnd, "metaview_ankle_1to1");
    const RECT& fov = show->GetViewRect();
    EXPECT_EQ(CRect(fov), CRect(146, 96, 454, 344));
    view->SetLabelsVisible(false);
    const WindowPicture bare = Paint(view);
    ExpectPictureIsTheDIB(view, bare);
}

// Panning by one pixel moves the whole picture by one pixel, at whole
// zooms pixel for pixel; no black seam opens between the picture and where
// the mapping puts the image, and panning back restores the picture.
TEST_F(MetaViewPictureTest, PanStepsLeaveNoSeamAndNoDrift)
{
    MetaView* view = MakePictureView(CRect(0, 0, 200, 150));
    auto show = AttachPattern(view);
    // A second image of the same pixels gives the picture at 1:1.
    auto reference = ShowOf(MakeImage(61, 97, 8, "MONOCHROME2", PatternPixels(61, 97)));
    reference->EnsureLoaded();
    reference->SetWindowLevel(512, 128);
    reference->BuildFullViewDIB();
    const DIBPixels full = ReadDIB(reference->GetDIB());
    for (double zoom : {1.0, 2.0, 3.0, 1.37, 0.71})
    {
        SCOPED_TRACE(::testing::Message() << "zoom " << zoom);
        view->SetZoom(zoom);
        view->SetPan(-23, -11);
        const WindowPicture start = Paint(view);
        ExpectImageFillsItsRectangle(view, start);
        ExpectBlackOutsideTheImage(view, start);
        ExpectPictureIsTheDIB(view, start);
        if (zoom == 1.0)
        {
            int mismatches = 0;
            for (int y = 0; y < 61 - 11; ++y)
            {
                for (int x = 0; x < 97 - 23; ++x)
                {
                    mismatches +=
                        start.GetPixel(x, y) != std::uint32_t(full.At(x + 23, y + 11)) * 0x010101u
                            ? 1
                            : 0;
                }
            }
            EXPECT_EQ(mismatches, 0) << "the image pixel the mapping names";
        }
        for (const POINT& step : {POINT{1, 0}, POINT{0, 1}, POINT{-1, 0}, POINT{0, -1}})
        {
            const CPoint pan = view->GetPan();
            CRect image;
            view->GetImageScreenRect(&image);
            const WindowPicture before = Paint(view);
            view->SetPan(pan.x + step.x, pan.y + step.y);
            const WindowPicture after = Paint(view);
            ExpectImageFillsItsRectangle(view, after);
            ExpectPictureIsTheDIB(view, after);
            if (zoom == 1.0 || zoom == 2.0 || zoom == 3.0)
            {
                EXPECT_EQ(ShiftMismatches(before, after, step.x, step.y, image), 0);
            }
        }
        // Ten steps out and ten back.
        for (int i = 0; i < 10; ++i)
        {
            view->SetPan(view->GetPan().x + 1, view->GetPan().y);
            Paint(view);
        }
        for (int i = 0; i < 10; ++i)
        {
            view->SetPan(view->GetPan().x - 1, view->GetPan().y);
            Paint(view);
        }
        EXPECT_EQ(Paint(view).pixels, start.pixels);
    }
}

// A zoom step about a window point keeps the image point under it within
// a pixel, leaves no seam, and the step back paints the same picture.
TEST_F(MetaViewPictureTest, ZoomStepsKeepTheirAnchor)
{
    MetaView* view = MakePictureView(CRect(0, 0, 200, 150));
    auto show = AttachPattern(view);
    view->SetZoom(1.6);
    view->SetPan(-10, 4);
    const WindowPicture start = Paint(view);
    const POINT anchor = {100, 75};
    const FloatPoint screen = {100.0f, 75.0f};
    for (double zoom : {2.0, 2.5, 2.0, 1.6})
    {
        FloatPoint under;
        view->ScreenToImageF(&under, &screen);
        view->ZoomAt(zoom, anchor);
        // The point that was under the anchor is within half a pixel of it.
        FloatPoint moved;
        view->ImageToScreenF(&moved, &under);
        EXPECT_NEAR(moved.x, screen.x, 0.5 + 1e-4);
        EXPECT_NEAR(moved.y, screen.y, 0.5 + 1e-4);
        const WindowPicture picture = Paint(view);
        ExpectImageFillsItsRectangle(view, picture);
        ExpectPictureIsTheDIB(view, picture);
    }
    EXPECT_EQ(Paint(view).pixels, start.pixels);
}

// The image's field-of-view copy maps to the very DIB the pane shows.
TEST_F(MetaViewPictureTest, TheFieldOfViewCopyRendersThePaneDIB)
{
    MetaView* view = MakePictureView(CRect(0, 0, 200, 150));
    auto show = AttachPattern(view);
    view->SetZoom(2.3);
    view->SetPan(-31, -17);
    Paint(view);
    const DIBPixels shown = ReadDIB(show->GetDIB());
    std::unique_ptr<ImageShow> copy(show->SetupFOV());
    ASSERT_NE(copy, nullptr);
    copy->InvokeChain();
    const DIBPixels copied = ReadDIB(copy->GetDIB());
    EXPECT_EQ(copied.width, shown.width);
    EXPECT_EQ(copied.height, shown.height);
    EXPECT_EQ(copied.samples, shown.samples);
    // The copy keeps its pixels through releases.
    copy->ReleaseImageData();
    EXPECT_EQ(copy->GetImageSize().cx, shown.width);
}
