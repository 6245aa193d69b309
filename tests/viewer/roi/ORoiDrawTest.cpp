// Annotations on a real pane: what they draw over a corpus CT and where,
// through flips, turns, zoom and pan; and what a window point hits on each
// kind (body, handle, label, edge). With SUITE_PICTURE_DIR set the pictures
// are written there.
#include "../window/PictureDump.h"
#include "RoiPaneTestSupport.h"

#include "MetaView.h"
#include "ORoiAngle.h"
#include "ORoiArrow.h"
#include "ORoiCOBBAngle.h"
#include "ORoiCalliper.h"
#include "ORoiRefLine.h"
#include "ORoiShutter.h"
#include "ORoiTextLabel.h"
#include "OverlayConfig.h"
#include "RoiXMLUnknown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

POINT Middle(POINT a, POINT b)
{
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

POINT Centre(const RECT& rect)
{
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class ORoiDrawTest : public PaneWindowTest
{
protected:
    template <class Roi> Roi* Add(ImageShow& show, Roi* roi)
    {
        show.AddAnnotation(roi);
        roi->PlaceLabel();
        roi->Update();
        return roi;
    }

    // The segments each annotation is drawn with, in image pixels, checked
    // at their middles on the window picture.
    void ExpectSegmentsPainted(MetaView* view, const WindowPicture& picture,
                               const std::vector<std::pair<POINT, POINT>>& segments,
                               const std::string& state)
    {
        CRect client;
        view->GetClientRect(&client);
        client.DeflateRect(2, 2);
        int checked = 0;
        for (const auto& [a, b] : segments)
        {
            const POINT image = Middle(a, b);
            const POINT screen = view->ImageToScreen(image.x, image.y);
            if (!client.PtInRect(screen))
            {
                continue;
            }
            ++checked;
            EXPECT_TRUE(IsPaintedNear(picture, screen, OverlayConfig::Get().crRoi))
                << state << ": segment middle (" << image.x << "," << image.y << ") at ("
                << screen.x << "," << screen.y << ")";
        }
        EXPECT_GE(checked, 3) << state;
    }

    // The label's text stands where the label says, in the text colour.
    void ExpectLabelPainted(const WindowPicture& picture, const ORoiTextLabel& label,
                            const std::string& state)
    {
        const RECT rect = label.GetScreenRect();
        ASSERT_LT(rect.left, rect.right) << state;
        if (rect.left < 0 || rect.top < 0 || rect.right > picture.nWidth ||
            rect.bottom > picture.nHeight)
        {
            return;
        }
        // The text is smoothed: its strokes are near white on the black box.
        const auto isText = [](std::uint32_t pixel) {
            return (pixel & 0xFF) > 0xC0 && (pixel >> 8 & 0xFF) > 0xC0 &&
                   (pixel >> 16 & 0xFF) > 0xC0;
        };
        int lit = 0;
        for (int y = std::max<LONG>(0, rect.top); y < std::min<LONG>(rect.bottom, picture.nHeight);
             ++y)
        {
            for (int x = std::max<LONG>(0, rect.left);
                 x < std::min<LONG>(rect.right, picture.nWidth); ++x)
            {
                lit += isText(picture.GetPixel(x, y)) ? 1 : 0;
            }
        }
        EXPECT_GT(lit, 0) << state << ": label " << label.GetDisplayText() << " at " << rect.left
                          << "," << rect.top << "," << rect.right << "," << rect.bottom;
    }
};

} // namespace

TEST_F(ORoiDrawTest, MeasurementsOnACorpusCTFollowFlipsTurnsZoomAndPan)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    ScopedLabelOffset offset(12);
    auto* view = MakePane<AnnotatedView>(CRect(0, 0, 300, 240));
    auto show = CorpusShow("pydicom/test_files/CT_small.dcm");
    ASSERT_TRUE(view->AttachShow(show.get()));
    view->SetLabelsVisible(false);
    view->ShowRuler(false);

    auto* calliper = new ORoiCalliper(show.get());
    calliper->SetLine({20, 30}, {100, 30});
    Add(*show, calliper);
    auto* angle = new ORoiAngle(show.get());
    angle->SetPoints(20, 70, 80, 40, 30, 115);
    Add(*show, angle);
    auto* arrow = new ORoiArrow(show.get());
    arrow->SetLine({110, 50}, {80, 80});
    Add(*show, arrow);
    auto* cobb = new ORoiCOBBAngle(show.get());
    cobb->SetPoints({60, 110}, {120, 110}, {60, 60}, {120, 75});
    Add(*show, cobb);

    // 80 pixels of 0.661468 mm.
    EXPECT_EQ(std::string(calliper->GetLinkedLabel()->GetDisplayText()), "52.9 mm");
    EXPECT_EQ(std::string(angle->GetLinkedLabel()->GetDisplayText()), "104.0 degree");
    EXPECT_EQ(std::string(cobb->GetLinkedLabel()->GetDisplayText()), "14.0 degree");

    const auto check = [&](const std::string& state)
    {
        const WindowPicture picture = Paint(view);
        DumpPicture(view->m_hWnd, "roi_ct_small_" + state);
        ExpectSegmentsPainted(view, picture,
                              {{calliper->GetP1(), calliper->GetP2()},
                               {angle->GetP1(), angle->GetP2()},
                               {angle->GetP1(), angle->GetP3()},
                               {arrow->GetP1(), arrow->GetP2()},
                               {cobb->GetPoint(0), cobb->GetPoint(1)},
                               {cobb->GetPoint(2), cobb->GetPoint(3)}},
                              state);
        for (ORoi* roi :
             {static_cast<ORoi*>(calliper), static_cast<ORoi*>(angle), static_cast<ORoi*>(cobb)})
        {
            ExpectLabelPainted(picture, *roi->GetLinkedLabel(), state);
        }
    };
    check("fit");
    view->FlipHorizontal();
    EXPECT_EQ(calliper->GetP1().x, 128 - 20);
    check("flipped");
    view->Rotate(1);
    check("turned");
    view->ZoomAt(2.5, {150, 120});
    view->PanBy(-20, 10);
    check("zoomed");
    EXPECT_EQ(std::string(calliper->GetLinkedLabel()->GetDisplayText()), "52.9 mm");
    EXPECT_EQ(std::string(angle->GetLinkedLabel()->GetDisplayText()), "104.0 degree");
}

// The arc of an automatic angle: a chord below 15 degrees, an arc from 15
// on, three quarters of the shorter arm when the arm is short, none at
// radius 0.
TEST_F(ORoiDrawTest, AngleArcs)
{
    auto* view = MakePane<AnnotatedView>(CRect(0, 0, 200, 200));
    auto show = ShowOf(MakeImage(200, 200, 8, "MONOCHROME2", PatternPixels(200, 200)));
    ASSERT_TRUE(view->AttachShow(show.get()));
    view->SetZoom(1.0);
    view->SetPan(0, 0);
    auto* angle = Add(*show, new ORoiAngle(show.get()));
    const struct
    {
        const char* name;
        POINT first, second;
        bool chord;
        int radius;
    } cases[] = {
        {"ten degrees", {190, 100}, {189, 116}, true, 84},
        {"sixteen degrees", {190, 100}, {187, 125}, false, 53},
        {"right angle", {190, 100}, {100, 10}, false, 15},
        {"short arm", {108, 100}, {100, 190}, false, 6},
    };
    for (const auto& c : cases)
    {
        angle->SetPoints(100, 100, c.first.x, c.first.y, c.second.x, c.second.y);
        angle->Update();
        const ORoiAngle::Arc arc = angle->GetArc();
        EXPECT_TRUE(arc.bShown) << c.name;
        EXPECT_EQ(arc.bChord, c.chord) << c.name << " " << angle->GetAngle();
        EXPECT_EQ(arc.nRadius, c.radius) << c.name;
        EXPECT_FALSE(std::isnan(arc.fSweep)) << c.name;
    }
    angle->SetArcRadius(20);
    EXPECT_EQ(angle->GetArc().nRadius, 20);
    view->SetZoom(2.0);
    EXPECT_EQ(angle->GetArc().nRadius, 40);
    angle->SetArcRadius(0);
    EXPECT_FALSE(angle->GetArc().bShown);
    angle->SetArcRadius(-1);
    // Arms of no length: no division by zero reaches the radius.
    angle->SetPoints(100, 100, 100, 100, 100, 100);
    angle->Update();
    EXPECT_EQ(std::string(angle->GetLinkedLabel()->GetDisplayText()), "0.0 degree");
    EXPECT_EQ(angle->GetArc().nRadius, int(ORoiAngle::MinArcRadius));
}

// Distances measured by the pane's right and bottom edges keep their
// labels whole inside the pane, moved just enough, still hit where they
// stand and joined to their ends when those are out from under them; a
// label that fits stays where it was placed, and one whose measurement is
// panned out of sight is not pulled in.
TEST_F(ORoiDrawTest, LabelsNearTheEdgesStayInsideThePane)
{
    auto* view = MakePane<AnnotatedView>(CRect(0, 0, 200, 200));
    auto show = ShowOf(MakeImage(200, 200, 8, "MONOCHROME2", PatternPixels(200, 200)));
    ASSERT_TRUE(view->AttachShow(show.get()));
    view->SetLabelsVisible(false);
    view->ShowRuler(false);
    view->SetZoom(1.0);
    view->SetPan(0, 0);
    const auto placedAt = [&](ORoiTextLabel& label)
    { return view->ImageToScreen(label.GetPosition().x, label.GetPosition().y); };
    auto* right = new ORoiCalliper(show.get());
    right->SetLine({60, 100}, {190, 100});
    Add(*show, right);
    auto* bottom = new ORoiCalliper(show.get());
    bottom->SetLine({20, 198}, {80, 198});
    Add(*show, bottom);
    auto* inner = new ORoiCalliper(show.get());
    inner->SetLine({20, 40}, {60, 40});
    Add(*show, inner);
    CRect client;
    view->GetClientRect(&client);
    const WindowPicture picture = Paint(view);
    DumpPicture(view->m_hWnd, "roi_labels_at_the_edges");

    for (ORoiCalliper* calliper : {right, bottom})
    {
        ORoiTextLabel& label = *calliper->GetLinkedLabel();
        const RECT rect = label.GetScreenRect();
        const POINT placed = placedAt(label);
        const std::string name(label.GetDisplayText());
        EXPECT_TRUE(placed.x + (rect.right - rect.left) > client.right ||
                    placed.y + (rect.bottom - rect.top) / 2 > client.bottom)
            << name << " was not placed over the edge";
        EXPECT_GE(rect.left, client.left) << name;
        EXPECT_GE(rect.top, client.top) << name;
        EXPECT_LE(rect.right, client.right) << name;
        EXPECT_LE(rect.bottom, client.bottom) << name;
        EXPECT_TRUE(rect.right == client.right || rect.bottom == client.bottom) << name;
        EXPECT_EQ(label.HitTest(Centre(rect).x, Centre(rect).y, 2, 0), int(enHitLabel)) << name;
        ExpectLabelPainted(picture, label, name);
    }
    // The bottom label moved up from the end it measures: the dotted leader
    // still joins them.
    const RECT raised = bottom->GetLinkedLabel()->GetScreenRect();
    EXPECT_EQ(raised.left, placedAt(*bottom->GetLinkedLabel()).x);
    EXPECT_TRUE(IsPaintedNear(picture,
                              Middle(view->ImageToScreen(80, 198), {raised.left, Centre(raised).y}),
                              OverlayConfig::Get().crRoi));

    const RECT fits = inner->GetLinkedLabel()->GetScreenRect();
    EXPECT_EQ(fits.left, placedAt(*inner->GetLinkedLabel()).x);
    EXPECT_EQ(Centre(fits).y, placedAt(*inner->GetLinkedLabel()).y);

    view->PanBy(100, 0);
    ASSERT_FALSE(client.PtInRect(view->ImageToScreen(190, 100)));
    EXPECT_EQ(right->GetLinkedLabel()->GetScreenRect().left, placedAt(*right->GetLinkedLabel()).x);
}

// Hit codes on each kind at window points: its label 512, a handle 96, its
// body 6, far away 0; a box shutter's edges 32 and 64; a reference line
// nothing.
TEST_F(ORoiDrawTest, HitCodesOnEachKind)
{
    auto* view = MakePane<AnnotatedView>(CRect(0, 0, 400, 400));
    auto show = ShowOf(MakeImage(200, 200, 8, "MONOCHROME2", PatternPixels(200, 200)));
    ASSERT_TRUE(view->AttachShow(show.get()));
    view->SetZoom(2.0);
    view->SetPan(0, 0);
    const auto at = [&](POINT image) { return view->ImageToScreen(image.x, image.y); };

    auto* calliper = new ORoiCalliper(show.get());
    calliper->SetLine({10, 10}, {60, 10});
    Add(*show, calliper);
    auto* arrow = new ORoiArrow(show.get());
    arrow->SetLine({10, 40}, {60, 40});
    Add(*show, arrow);
    auto* angle = new ORoiAngle(show.get());
    angle->SetPoints(100, 100, 150, 100, 100, 60);
    Add(*show, angle);
    auto* cobb = new ORoiCOBBAngle(show.get());
    cobb->SetPoints({10, 150}, {60, 150}, {10, 180}, {60, 170});
    Add(*show, cobb);
    const POINT box[] = {{120, 130}, {180, 190}};
    auto* shutter = new ORoiShutter(show.get(), ORoiShutter::enRectangle, box, 2);
    show->AddAnnotation(shutter);
    auto* ref = new ORoiRefLine(show.get(), this, 0, 70, 199, 70);
    show->AddAnnotation(ref);

    const auto labelOf = [](ORoi* roi) { return Centre(roi->GetLinkedLabel()->GetScreenRect()); };
    const struct
    {
        const char* name;
        ORoi* roi;
        POINT window;
        int code;
    } cases[] = {
        {"calliper label", calliper, labelOf(calliper), enHitLabel},
        {"calliper end", calliper, at({60, 10}), enHitHandle},
        {"calliper body", calliper, at({35, 10}), enHitBody},
        {"calliper off", calliper, at({35, 20}), enHitNone},
        {"arrow tip", arrow, at({10, 40}), enHitHandle},
        {"arrow shaft", arrow, at({30, 40}), enHitBody},
        {"angle label", angle, labelOf(angle), enHitLabel},
        {"angle vertex", angle, at({100, 100}), enHitHandle},
        {"angle second arm", angle, at({100, 80}), enHitBody},
        {"angle inside", angle, at({125, 80}), enHitNone},
        {"cobb label", cobb, labelOf(cobb), enHitLabel},
        {"cobb second line end", cobb, at({60, 170}), enHitHandle},
        {"cobb first line", cobb, at({35, 150}), enHitBody},
        {"cobb between", cobb, at({35, 160}), enHitNone},
        {"shutter corner", shutter, at({180, 190}), enHitHandle},
        {"shutter left edge", shutter, at({120, 160}), enHitEdgeX},
        {"shutter top edge", shutter, at({150, 130}), enHitEdgeY},
        {"shutter inside", shutter, at({150, 160}), enHitBody},
        {"shutter outside", shutter, at({100, 160}), enHitNone},
        {"reference line", ref, at({100, 70}), enHitNone},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.roi->HitTestDefault(c.window.x, c.window.y, 0), c.code) << c.name;
    }
    // Hidden or hit-disabled annotations answer nothing.
    calliper->SetShown(false);
    EXPECT_EQ(calliper->HitTestDefault(at({35, 10}).x, at({35, 10}).y, 0), enHitNone);
    calliper->SetShown(true);
    calliper->SetHitEnabled(false);
    EXPECT_EQ(calliper->HitTestDefault(at({35, 10}).x, at({35, 10}).y, 0), enHitNone);
}

// An unknown kind draws its lines and texts from its "<Internal>" content
// and is hit on them.
TEST_F(ORoiDrawTest, UnknownKindsDrawTheirPrimitives)
{
    auto* view = MakePane<AnnotatedView>(CRect(0, 0, 200, 200));
    auto show = ShowOf(MakeImage(100, 100, 8, "MONOCHROME2", std::vector<std::uint8_t>(10000, 40)));
    ASSERT_TRUE(view->AttachShow(show.get()));
    view->SetLabelsVisible(false);
    view->ShowRuler(false);
    const std::string internal = "<Internal>\r\n<Line>\r\n<Begin X=\"10\" Y=\"20\" />\r\n"
                                 "<End   X=\"90\" Y=\"20\" />\r\n</Line>\r\n"
                                 "<TextLabel X=\"30\" Y=\"60\" Text=\"Ratio 1.7\" />\r\n"
                                 "</Internal>\r\n";
    auto* unknown = new RoiXMLUnknown(
        show.get(), "ORoiRatio",
        Frame("Ratio", PointElement("P1", 10, 20), internal, StyleBlock(0, 255, 0, 0)).c_str());
    ASSERT_TRUE(unknown->XmlDeserialize(unknown->XmlSerialize()));
    show->AddAnnotation(unknown);
    unknown->SetHitEnabled(true);
    const WindowPicture picture = Paint(view);
    DumpPicture(view->m_hWnd, "roi_unknown_kind");
    const POINT middle = view->ImageToScreen(50, 20);
    EXPECT_TRUE(IsPaintedNear(picture, middle, RGB(0, 255, 0)));
    const POINT text = view->ImageToScreen(30, 60);
    EXPECT_EQ(unknown->HitTestDefault(middle.x, middle.y, 0), enHitBody);
    EXPECT_EQ(unknown->HitTestDefault(text.x + 4, text.y, 0), enHitBody);
    EXPECT_EQ(unknown->HitTestDefault(middle.x, middle.y + 30, 0), enHitNone);
}

// A selected annotation is drawn in the highlight colour with a handle at
// each point and tells its subscribers; deselected it goes back to its
// colour unless it is still highlighted. The arrow keys move it by an
// image pixel unless it is locked; window rectangles find it whole or in
// part.
TEST_F(ORoiDrawTest, SelectionHandlesKeysAndAreas)
{
    auto* view = MakePane<AnnotatedView>(CRect(0, 0, 200, 200));
    auto show = ShowOf(MakeImage(100, 100, 8, "MONOCHROME2", std::vector<std::uint8_t>(10000, 40)));
    ASSERT_TRUE(view->AttachShow(show.get()));
    view->SetLabelsVisible(false);
    view->ShowRuler(false);
    auto* calliper = new ORoiCalliper(show.get());
    calliper->SetLine({20, 30}, {80, 30});
    show->AddAnnotation(calliper);
    int selected = 0;
    int deselected = 0;
    struct Counter
    {
        int* count;
        void On(const void*, DelegateArgs*) { ++*count; }
    } onSelect{&selected}, onDeselect{&deselected};
    calliper->GetSelectedEvent().Add(MakeHandler(&onSelect, &Counter::On, "Counter::On"));
    calliper->GetDeselectedEvent().Add(MakeHandler(&onDeselect, &Counter::On, "Counter::On"));

    const OverlayConfig& colours = OverlayConfig::Get();
    const POINT middle = view->ImageToScreen(50, 30);
    const POINT end = view->ImageToScreen(80, 30);
    const WindowPicture plain = Paint(view);
    EXPECT_TRUE(IsPaintedNear(plain, middle, colours.crRoi));
    calliper->Select(false);
    EXPECT_EQ(selected, 1);
    const WindowPicture chosen = Paint(view);
    DumpPicture(view->m_hWnd, "roi_selected");
    EXPECT_TRUE(IsPaintedNear(chosen, middle, colours.crRoiHilited));
    // A white handle square around the end: its inside is white.
    const int half = 4;
    EXPECT_EQ(chosen.GetPixel(end.x + half - 1, end.y - half + 1), 0xFFFFFFu);
    EXPECT_NE(plain.GetPixel(end.x + half - 1, end.y - half + 1), 0xFFFFFFu);
    calliper->Deselect(false);
    EXPECT_EQ(deselected, 1);
    EXPECT_EQ(calliper->GetStyle().GetCurrentColor(), colours.crRoi);
    calliper->SetHighlighted(true, false);
    calliper->Select(false);
    calliper->Deselect(false);
    EXPECT_EQ(calliper->GetStyle().GetCurrentColor(), colours.crRoiHilited);
    calliper->SetHighlighted(false, false);
    EXPECT_EQ(calliper->GetStyle().GetCurrentColor(), colours.crRoi);

    EXPECT_TRUE(calliper->OnKeyDown(VK_RIGHT, 1, 0));
    EXPECT_TRUE(calliper->OnKeyDown(VK_UP, 1, 0));
    EXPECT_EQ(Text(HandlePoints(*calliper)), "(21,29)(81,29)");
    EXPECT_FALSE(calliper->OnKeyDown(VK_F2, 1, 0));
    calliper->OnCommand(720);
    EXPECT_TRUE(calliper->OnKeyDown(VK_LEFT, 1, 0));
    EXPECT_EQ(Text(HandlePoints(*calliper)), "(21,29)(81,29)");

    const POINT a = view->ImageToScreen(10, 20);
    const POINT b = view->ImageToScreen(90, 40);
    const POINT c = view->ImageToScreen(50, 40);
    EXPECT_TRUE(calliper->IsInRect(a.x, a.y, b.x, b.y, false));
    EXPECT_FALSE(calliper->IsInRect(a.x, a.y, c.x, c.y, false));
    EXPECT_TRUE(calliper->IsInRect(a.x, a.y, c.x, c.y, true));
    ORoiCalliper loose(nullptr);
    EXPECT_FALSE(loose.IsInRect(a.x, a.y, b.x, b.y, true));
}
