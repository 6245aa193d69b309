// The annotation classes without a pane: points and values through flips,
// turns and moves on an image, copies, context commands, the measurement
// documents they write and read back, labels and styles.
#include "RoiTestSupport.h"

#include "ORoiAngle.h"
#include "ORoiArrow.h"
#include "ORoiCOBBAngle.h"
#include "ORoiCalliper.h"
#include "ORoiRefLine.h"
#include "ORoiShortLine.h"
#include "ORoiShutter.h"
#include "ORoiTextLabel.h"
#include "OverlayConfig.h"
#include "RoiFont.h"
#include "RoiXMLUnknown.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

class ORoiTest : public ImageShowTest
{
protected:
    void SetUp() override
    {
        ImageShowTest::SetUp();
        // 80 columns, 64 rows, decoded.
        m_Show.AttachCorvane(
            Corvane(MakeImage(64, 80, 8, "MONOCHROME2", std::vector<std::uint8_t>(80 * 64, 50))),
            0);
        m_Show.BuildFullViewDIB();
    }

    template <class Roi> Roi* Add(Roi* roi)
    {
        m_Show.AddAnnotation(roi);
        roi->PlaceLabel();
        roi->Update();
        return roi;
    }

    ImageShow m_Show;
};

TEST_F(ORoiTest, PointsFollowFlipsAndTurnsOfTheImage)
{
    auto* angle = Add(new ORoiAngle(&m_Show));
    angle->SetPoints(20, 10, 40, 10, 20, 50);
    angle->Update();
    auto* cobb = Add(new ORoiCOBBAngle(&m_Show));
    cobb->SetPoints({0, 0}, {10, 0}, {0, 20}, {10, 30});
    cobb->Update();
    const float cobbAngle = cobb->GetAngle();

    m_Show.FlipHorizontal();
    EXPECT_EQ(Text(HandlePoints(*angle)), "(60,10)(40,10)(60,50)");
    m_Show.FlipVertical();
    EXPECT_EQ(Text(HandlePoints(*angle)), "(60,54)(40,54)(60,14)");
    // A quarter turn counter-clockwise: the image becomes 64 x 80 and
    // (x, y) goes to (y, 80 - x).
    m_Show.Rotate(1);
    EXPECT_EQ(Text(HandlePoints(*angle)), "(54,20)(54,40)(14,20)");
    m_Show.Rotate(-1);
    EXPECT_EQ(Text(HandlePoints(*angle)), "(60,54)(40,54)(60,14)");
    EXPECT_FLOAT_EQ(angle->GetAngle(), 90.0f);
    EXPECT_FLOAT_EQ(cobb->GetAngle(), cobbAngle);
    RECT rect;
    angle->GetRect(&rect);
    EXPECT_TRUE(rect.left == 40 && rect.top == 14 && rect.right == 60 && rect.bottom == 54);
    // The label kept to its vertex.
    EXPECT_EQ(angle->GetLinkedLabel()->GetAnchor().x, 60);
    EXPECT_EQ(angle->GetLinkedLabel()->GetAnchor().y, 54);
}

TEST_F(ORoiTest, TheCalliperSwapsItsSpacingWithTheImageTurned)
{
    std::unique_ptr<ImageShow> show(
        LoadMeasuredImage(WriteMeasuredImage("anisotropic.dcm", {}, 64, 80, "0.5\\0.25")));
    auto* calliper = new ORoiCalliper(show.get());
    show->AddAnnotation(calliper);
    // Rows 0.5 mm apart, columns 0.25 mm: 40 columns are 10 mm.
    calliper->SetLine({10, 10}, {50, 10});
    calliper->PlaceLabel();
    calliper->Update();
    EXPECT_DOUBLE_EQ(calliper->GetLength(), 10.0);
    show->Rotate(1);
    EXPECT_EQ(calliper->GetP1().x, calliper->GetP2().x);
    EXPECT_DOUBLE_EQ(calliper->GetLength(), 10.0);
    EXPECT_EQ(std::string(calliper->GetLinkedLabel()->GetDisplayText()), "10.0 mm");
}

TEST_F(ORoiTest, MovesTakeTheLabelAlongAndALabelMovesAlone)
{
    ScopedLabelOffset offset(10);
    auto* calliper = Add(new ORoiCalliper(&m_Show));
    calliper->SetLine({5, 5}, {20, 5});
    calliper->PlaceLabel();
    calliper->Update();
    ORoiTextLabel* label = calliper->GetLinkedLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetPosition().x, 30);
    calliper->Offset(3, 4);
    EXPECT_EQ(Text(HandlePoints(*calliper)), "(8,9)(23,9)");
    EXPECT_EQ(label->GetAnchor().x, 23);
    EXPECT_EQ(label->GetPosition().x, 33);
    EXPECT_EQ(label->GetPosition().y, 9);
    label->Offset(-10, 20);
    EXPECT_EQ(label->GetAnchor().x, 23);
    EXPECT_EQ(label->GetPosition().y, 29);
    // A handle moved alone, the measurement follows.
    ASSERT_TRUE(calliper->SetHandlePoint(1, {8, 29}));
    EXPECT_DOUBLE_EQ(calliper->GetLength(), 20.0);
    EXPECT_FALSE(calliper->SetHandlePoint(2, {0, 0}));
}

TEST_F(ORoiTest, NewLabelsStandTheDefaultOffsetAwayInsideTheImage)
{
    ScopedLabelOffset offset(100);
    auto* near = Add(new ORoiAngle(&m_Show));
    near->SetPoints(-20, 30, 0, 30, -20, 10);
    near->PlaceLabel();
    EXPECT_EQ(near->GetLinkedLabel()->GetPosition().x, 79);
    auto* inside = Add(new ORoiAngle(&m_Show));
    ORoiTextLabel::SetDefaultOffset(10);
    inside->SetPoints(20, 30, 40, 30, 20, 10);
    inside->PlaceLabel();
    EXPECT_EQ(inside->GetLinkedLabel()->GetPosition().x, 30);
    EXPECT_EQ(inside->GetLinkedLabel()->GetPosition().y, 30);
}

TEST_F(ORoiTest, DegenerateAnglesGiveZeroAndNoNumberIsLost)
{
    auto* angle = Add(new ORoiAngle(&m_Show));
    angle->SetPoints(10, 10, 10, 10, 30, 40);
    angle->Update();
    EXPECT_EQ(angle->GetAngle(), 0.0f);
    EXPECT_EQ(std::string(angle->GetLinkedLabel()->GetText()), "  0.0");
    EXPECT_EQ(std::string(angle->GetLinkedLabel()->GetUnit()), "degree");
    angle->SetPoints(10, 10, 30, 40, 10, 10);
    angle->Update();
    EXPECT_EQ(angle->GetAngle(), 0.0f);
    angle->SetPoints(10, 10, 0, 10, 30, 10);
    angle->Update();
    EXPECT_EQ(std::string(angle->GetLinkedLabel()->GetDisplayText()), "180.0 degree");
    // Without an owner there is no measurement text.
    ORoiAngle loose(nullptr);
    EXPECT_TRUE(loose.GetMeasureText().IsEmpty());
}

TEST_F(ORoiTest, TheCobbAngleIsTheAcuteAngleOfTheLines)
{
    auto* cobb = Add(new ORoiCOBBAngle(&m_Show));
    const struct
    {
        POINT p[4];
        float degrees;
    } cases[] = {
        {{{0, 0}, {10, 0}, {0, 10}, {10, 20}}, 45.0f},
        // The second line drawn the other way round.
        {{{0, 0}, {10, 0}, {10, 20}, {0, 10}}, 45.0f},
        {{{0, 0}, {10, 0}, {0, 5}, {10, 5}}, 0.0f},
        {{{0, 0}, {10, 0}, {5, 0}, {5, 10}}, 90.0f},
        {{{0, 0}, {0, 0}, {5, 0}, {5, 10}}, 0.0f},
    };
    for (const auto& c : cases)
    {
        cobb->SetPoints(c.p[0], c.p[1], c.p[2], c.p[3]);
        cobb->Update();
        EXPECT_NEAR(cobb->GetAngle(), c.degrees, 1e-4f);
    }
}

TEST_F(ORoiTest, ClonesAreEqualAndOwnTheirLabel)
{
    std::vector<ORoi*> rois;
    auto* calliper = Add(new ORoiCalliper(&m_Show));
    calliper->SetLine({1, 2}, {30, 40});
    auto* angle = Add(new ORoiAngle(&m_Show));
    angle->SetPoints(5, 6, 7, 8, 9, 1);
    angle->SetArcRadius(12);
    auto* cobb = Add(new ORoiCOBBAngle(&m_Show));
    cobb->SetPoints({1, 1}, {9, 1}, {1, 9}, {9, 12});
    auto* arrow = Add(new ORoiArrow(&m_Show));
    arrow->SetLine({3, 3}, {40, 20});
    for (ORoi* roi : {static_cast<ORoi*>(calliper), static_cast<ORoi*>(angle),
                      static_cast<ORoi*>(cobb), static_cast<ORoi*>(arrow)})
    {
        roi->PlaceLabel();
        roi->Update();
        roi->GetStyle().SetColors(RGB(1, 2, 3));
        std::unique_ptr<ORoi> copy(roi->Clone(&m_Show));
        EXPECT_TRUE(copy->IsEqual(*roi)) << roi->GetClassTag();
        EXPECT_EQ(copy->GetRuntimeClass(), roi->GetRuntimeClass());
        EXPECT_EQ(copy->GetStyle().GetCurrentColor(), RGB(1, 2, 3));
        EXPECT_NE(copy->GetSerialNumber(), roi->GetSerialNumber());
        if (roi->GetLinkedLabel() != nullptr)
        {
            ASSERT_NE(copy->GetLinkedLabel(), nullptr);
            EXPECT_NE(copy->GetLinkedLabel(), roi->GetLinkedLabel());
            EXPECT_TRUE(copy->GetLinkedLabel()->IsEqual(*roi->GetLinkedLabel()));
        }
        copy->Offset(1, 0);
        EXPECT_FALSE(copy->IsEqual(*roi)) << roi->GetClassTag();
    }
    std::unique_ptr<ORoi> angleCopy(angle->Clone(&m_Show));
    EXPECT_EQ(static_cast<ORoiAngle*>(angleCopy.get())->GetArcRadius(), 12);
}

TEST_F(ORoiTest, DocumentsReadBackIntoEqualAnnotations)
{
    auto* calliper = Add(new ORoiCalliper(&m_Show));
    calliper->SetLine({1, 2}, {30, 40});
    auto* angle = Add(new ORoiAngle(&m_Show));
    angle->SetPoints(5, 6, 70, 8, 9, 60);
    auto* cobb = Add(new ORoiCOBBAngle(&m_Show));
    cobb->SetPoints({1, 1}, {9, 1}, {1, 9}, {9, 12});
    auto* arrow = Add(new ORoiArrow(&m_Show));
    arrow->SetLine({3, 3}, {40, 20});
    angle->GetStyle().SetColors(RGB(10, 20, 30));
    angle->GetStyle().SetShadow(true);
    angle->GetStyle().SetFontHeight(14);
    angle->GetStyle().SetFontWeight(FW_BOLD);
    angle->GetStyle().SetItalic(true);
    for (ORoi* roi : {static_cast<ORoi*>(calliper), static_cast<ORoi*>(angle),
                      static_cast<ORoi*>(cobb), static_cast<ORoi*>(arrow)})
    {
        roi->Update();
        const Lettra document = roi->XmlSerialize();
        std::unique_ptr<ORoi> read(roi->Clone(&m_Show));
        read->Offset(7, 7);
        read->GetStyle().SetColors(RGB(0, 0, 0));
        ASSERT_TRUE(read->XmlDeserialize(document)) << document.constBuffer();
        EXPECT_TRUE(read->IsEqual(*roi)) << document.constBuffer();
        EXPECT_EQ(read->GetStyle().GetNormalColor(), roi->GetStyle().GetNormalColor());
    }
    std::unique_ptr<ORoi> read(angle->Clone(&m_Show));
    ASSERT_TRUE(read->XmlDeserialize(angle->XmlSerialize()));
    const LOGFONT* font = read->GetStyle().GetFont();
    ASSERT_NE(font, nullptr);
    EXPECT_STREQ(font->lfFaceName, "Arial");
    EXPECT_EQ(font->lfHeight, 14);
    EXPECT_EQ(font->lfWeight, FW_BOLD);
    EXPECT_EQ(font->lfItalic, 1);
    EXPECT_TRUE(read->GetStyle().IsShadow());
}

TEST_F(ORoiTest, TheAngleDocumentHasItsFrameAndPrimitives)
{
    ScopedLabelOffset offset(10);
    auto* angle = Add(new ORoiAngle(&m_Show));
    angle->SetPoints(5, 6, 70, 8, 9, 60);
    angle->PlaceLabel();
    angle->Update();
    const std::string document = angle->XmlSerialize().constBuffer();
    EXPECT_EQ(document.rfind("<Measurement value=\"ORoiAngle\">\r\n<DocAttribute>\r\n"
                             "<Version value=\"1.0\"/>\r\n<Created Date=\"",
                             0),
              0u)
        << document;
    const char* parts[] = {
        "</DocAttribute>\r\n<Private>\r\n<P1 X=\"5\" Y=\"6\" />\r\n<P2 X=\"70\" Y=\"8\" />\r\n"
        "<P3 X=\"9\" Y=\"60\" />\r\n</Private>\r\n<Internal>\r\n",
        "<Line>\r\n<Begin X=\"5\" Y=\"6\" />\r\n<End   X=\"70\" Y=\"8\" />\r\n</Line>\r\n"
        "<Line>\r\n<Begin X=\"5\" Y=\"6\" />\r\n<End   X=\"9\" Y=\"60\" />\r\n</Line>\r\n"
        "<TextLabel X=\"15\" Y=\"6\" Text=\"",
        "</Internal>\r\n<Context>\r\n<Private>\r\n",
        "</Private>\r\n</Context>\r\n</Measurement>\r\n"};
    for (const char* part : parts)
    {
        EXPECT_NE(document.find(part), std::string::npos) << part << "\nin\n" << document;
    }
    // Hidden, it writes no primitives.
    angle->SetShown(false);
    EXPECT_TRUE(angle->XmlSerializeInternal().IsEmpty());
}

TEST_F(ORoiTest, ContextCommandsOrderLockShowAndLabel)
{
    std::vector<ORoi*> rois;
    for (int i = 0; i < 3; ++i)
    {
        auto* line = Add(new ORoiCalliper(&m_Show));
        line->SetLine({i, i}, {i + 10, i});
        rois.push_back(line);
    }
    auto order = [this]
    {
        std::string text;
        for (ORoi* roi : Annotations(m_Show))
        {
            text += std::to_string(HandlePoints(*roi)[0].x);
        }
        return text;
    };
    m_Show.SetModified(false);
    EXPECT_TRUE(rois[2]->OnCommand(enCmdToTail));
    EXPECT_EQ(order(), "012");
    EXPECT_FALSE(m_Show.IsModified());
    EXPECT_TRUE(rois[0]->OnCommand(enCmdToTail));
    EXPECT_EQ(order(), "120");
    EXPECT_TRUE(m_Show.IsModified());
    EXPECT_TRUE(rois[0]->OnCommand(enCmdTowardHead));
    EXPECT_EQ(order(), "102");
    EXPECT_TRUE(rois[2]->OnCommand(enCmdToHead));
    EXPECT_EQ(order(), "210");
    EXPECT_TRUE(rois[1]->OnCommand(enCmdTowardTail));
    EXPECT_EQ(order(), "201");
    ORoiCalliper stranger(&m_Show);
    EXPECT_FALSE(stranger.OnCommand(enCmdToTail));

    EXPECT_TRUE(rois[0]->OnCommand(enCmdLockToggle));
    EXPECT_TRUE(rois[0]->IsLocked());
    EXPECT_TRUE(rois[0]->OnCommand(enCmdLockOff));
    EXPECT_FALSE(rois[0]->IsLocked());
    int shownEvents = 0;
    struct Counter
    {
        int* count;
        void OnShown(const void*, DelegateArgs*) { ++*count; }
    } counter{&shownEvents};
    rois[0]->GetShownEvent().Add(MakeHandler(&counter, &Counter::OnShown, "Counter::OnShown"));
    EXPECT_TRUE(rois[0]->OnCommand(enCmdShowOff));
    EXPECT_TRUE(rois[0]->OnCommand(enCmdShowOff));
    EXPECT_FALSE(rois[0]->IsShown());
    EXPECT_EQ(shownEvents, 1);
    EXPECT_TRUE(rois[0]->OnCommand(enCmdShowToggle));
    EXPECT_TRUE(rois[0]->IsShown());

    // No label yet: handled all the same; a label made later is hidden.
    ORoiCalliper fresh(&m_Show);
    fresh.SetLine({1, 1}, {9, 9});
    EXPECT_EQ(fresh.GetLinkedLabel(), nullptr);
    EXPECT_TRUE(fresh.OnCommand(enCmdLabelOff));
    fresh.PlaceLabel();
    EXPECT_FALSE(fresh.GetLinkedLabel()->IsShown());
    EXPECT_TRUE(fresh.OnCommand(enCmdLabelToggle));
    EXPECT_TRUE(fresh.GetLinkedLabel()->IsShown());
    EXPECT_FALSE(fresh.OnCommand(726));
}

TEST_F(ORoiTest, ReferenceLinesAreDottedOrangeAndCopiesKeepTheirFlag)
{
    int source = 0;
    ORoiRefLine line(&m_Show, &source, 0, 10, 80, 30);
    line.SetLabelText("12");
    EXPECT_TRUE(line.IsRefLine());
    EXPECT_FALSE(line.IsMeasurement());
    EXPECT_EQ(line.GetStyle().GetCurrentColor(), RGB(255, 140, 0));
    EXPECT_EQ(line.GetLineStyle(), ORoiShortLine::enDot);
    EXPECT_EQ(line.GetP1().y, 10);
    std::unique_ptr<ORoi> copy(line.Clone(&m_Show));
    auto* copied = dynamic_cast<ORoiRefLine*>(copy.get());
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->IsRefLine());
    EXPECT_EQ(copied->GetIdentifier(), &source);
    EXPECT_EQ(std::string(copied->GetLabelText()), "12");
    copied->SetRefLine(false);
    EXPECT_FALSE(copied->IsRefLine());
    m_Show.FlipVertical();
    line.FlipVertical();
    EXPECT_EQ(line.GetP2().y, 34);
}

TEST_F(ORoiTest, ShuttersKeepTheirShapeThroughTurns)
{
    const POINT corners[] = {{10, 5}, {50, 45}};
    ORoiShutter box(&m_Show, ORoiShutter::enEllipse, corners, 2);
    EXPECT_TRUE(box.IsValid());
    const POINT line[] = {{10, 5}, {50, 5}};
    EXPECT_FALSE(ORoiShutter(&m_Show, ORoiShutter::enRectangle, line, 2).IsValid());
    EXPECT_FALSE(ORoiShutter(&m_Show, ORoiShutter::enPolygon, corners, 2).IsValid());
    m_Show.SetMask(new ORoiShutter(&m_Show, ORoiShutter::enRectangle, corners, 2));
    m_Show.Rotate(1);
    RECT rect;
    m_Show.GetMask()->GetRect(&rect);
    // (10, 5)-(50, 45) turned: x from y, y from 80 - x.
    EXPECT_TRUE(rect.left == 5 && rect.top == 30 && rect.right == 45 && rect.bottom == 70)
        << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
}

TEST_F(ORoiTest, StylesReadTheirBlockInAnyOrderAndKeepWhatIsMissing)
{
    RoiFont style;
    style.SetColors(RGB(9, 9, 9));
    EXPECT_TRUE(style.XmlDeserialize("<Private><Shadow value=\"1\" />"
                                     "<FontHeight value=\"20\" /><FontWeight value=\"NORMAL\" />"
                                     "<FontFaceName value=\"Courier\" /></Private>"));
    EXPECT_TRUE(style.IsShadow());
    EXPECT_EQ(style.GetNormalColor(), RGB(9, 9, 9));
    ASSERT_NE(style.GetFont(), nullptr);
    EXPECT_STREQ(style.GetFont()->lfFaceName, "Courier");
    EXPECT_EQ(style.GetFont()->lfWeight, FW_NORMAL);
    EXPECT_FALSE(style.XmlDeserialize("not xml <"));
    style.SetFontHeight(0);
    EXPECT_EQ(style.GetFont(), nullptr);
    EXPECT_EQ(std::string(style.XmlSerialize()),
              "<Private>\r\n<Color R=\"9\" G=\"9\" B=\"9\" />\r\n<Shadow value=\"1\" />\r\n"
              "</Private>\r\n");
}

TEST_F(ORoiTest, OverlaySettingsComeFromTheConfiguration)
{
    OverlayConfig config;
    EXPECT_TRUE(config.LoadXml("<AppSetting><Config><Overlay>"
                               "<Color><ROIColor R=\"0\" G=\"128\" B=\"255\"/>"
                               "<ROIHilitedColor R=\"1\" G=\"2\" B=\"3\"/></Color>"
                               "<Shadow value=\"1\"/><FontHeight value=\"18\"/>"
                               "</Overlay></Config></AppSetting>"));
    EXPECT_EQ(config.crRoi, RGB(0, 128, 255));
    EXPECT_EQ(config.crRoiHilited, RGB(1, 2, 3));
    EXPECT_EQ(config.crText, RGB(255, 255, 255));
    EXPECT_TRUE(config.bShadow);
    EXPECT_TRUE(config.bTextBackground);
    EXPECT_EQ(config.nFontHeight, 18);
}

TEST_F(ORoiTest, SerialNumbersCountUp)
{
    ORoiShortLine first(nullptr);
    ORoiShortLine second(nullptr);
    EXPECT_EQ(second.GetSerialNumber(), first.GetSerialNumber() + 1);
}

namespace
{

// Records the state changes it is told of.
class NotedCalliper : public ORoiCalliper
{
public:
    using ORoiCalliper::ORoiCalliper;
    std::vector<int> codes;
    void OnNotify(int code) override { codes.push_back(code); }
};

} // namespace

// The values every annotation carries: category, link, user and state
// values, the users' flags copied with the others, and the notices of the
// highlight.
TEST_F(ORoiTest, EveryAnnotationCarriesItsCategoryLinkValuesAndFlags)
{
    auto* calliper = Add(new NotedCalliper(&m_Show));
    EXPECT_STREQ(calliper->GetCategoryName(), "GENERAL");
    EXPECT_EQ(calliper->GetCategoryId(), 0x474E524C);
    EXPECT_STREQ(calliper->GetCategoryText(), "ROI");
    EXPECT_EQ(calliper->GetLinkIndex(), -1);
    EXPECT_EQ(calliper->GetUserValue(), 0);
    EXPECT_EQ(Overlay::IndexResult(3, 0), 0);
    EXPECT_EQ(Overlay::IndexResult(0, 5), -1);
    calliper->SetLinkIndex(4);
    calliper->SetUserValue(9);
    calliper->SetStateValue(2);
    calliper->ResetState();
    EXPECT_EQ(calliper->GetStateValue(), 0);
    EXPECT_EQ(calliper->GetLinkIndex(), 4);
    EXPECT_EQ(calliper->GetUserValue(), 9);

    calliper->SetFlagA(true);
    calliper->SetFlagE(false);
    calliper->SetFlagF(true);
    calliper->SetSnap(false);
    ORoiCalliper copy(&m_Show);
    calliper->CopyAttributes(copy);
    EXPECT_TRUE(copy.GetFlagA());
    EXPECT_FALSE(copy.GetFlagE());
    EXPECT_TRUE(copy.GetFlagF());
    EXPECT_FALSE(copy.IsSnapEnabled());

    calliper->SetHighlighted(true, false);
    calliper->SetHighlighted(false, false);
    EXPECT_EQ(calliper->codes, (std::vector<int>{10, 11}));
}

// The 2x3 transform multiplies as affine matrices whose rows are points.
TEST_F(ORoiTest, TheTransformMultipliesAsAnAffineMatrix)
{
    ORoiCalliper calliper(&m_Show);
    const float identity[6] = {1, 0, 0, 1, 0, 0};
    EXPECT_TRUE(
        std::equal(std::begin(identity), std::end(identity), std::begin(calliper.GetTransform())));
    calliper.SetTransform({2, 0, 0, 3, 5, 7});
    calliper.MultiplyTransform({0, 1, -1, 0, 10, 20});
    const float expected[6] = {0, 2, -3, 0, 3, 25};
    for (int i = 0; i < 6; ++i)
    {
        EXPECT_FLOAT_EQ(calliper.GetTransform()[i], expected[i]) << i;
    }
    calliper.ResetTransform();
    EXPECT_TRUE(
        std::equal(std::begin(identity), std::end(identity), std::begin(calliper.GetTransform())));
}

// Snapping takes the first handle point nearer than 16 pixels, of this
// annotation or another, and nothing while switched off.
TEST_F(ORoiTest, APointSnapsToANearHandle)
{
    auto* calliper = Add(new ORoiCalliper(&m_Show));
    calliper->SetLine({10, 10}, {60, 40});
    POINT near = {20, 18};
    int index = -1;
    EXPECT_TRUE(calliper->SnapPoint(&near, &index));
    EXPECT_EQ(near.x, 10);
    EXPECT_EQ(near.y, 10);
    EXPECT_EQ(index, 0);
    POINT far = {30, 30};
    EXPECT_FALSE(calliper->SnapPoint(&far));
    EXPECT_EQ(far.x, 30);
    ORoiCalliper other(&m_Show);
    other.SetLine({0, 0}, {70, 50});
    POINT toOther = {65, 45};
    EXPECT_TRUE(calliper->SnapToOther(other, &toOther, &index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(toOther.x, 70);
    calliper->ToggleSnap();
    POINT off = {11, 11};
    EXPECT_FALSE(calliper->SnapPoint(&off));
    EXPECT_EQ(off.x, 11);
}
