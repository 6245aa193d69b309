// Stored measurements: images written with measurement documents of every
// kind in their group 6001 are decoded, and the annotations that come out
// are checked for class, points, values, style and label texts; items of
// other overlay types, unknown class tags and broken documents are checked
// for what they give and what the log says.
#include "RoiTestSupport.h"

#include "ORoiAngle.h"
#include "ORoiArrow.h"
#include "ORoiCOBBAngle.h"
#include "ORoiCalliper.h"
#include "ORoiTextLabel.h"
#include "OverlayConfig.h"
#include "RoiDocument.h"
#include "RoiFactory.h"
#include "RoiXMLUnknown.h"
#include "model/LogCapture.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace
{

const std::string Red = StyleBlock(255, 0, 0, 0);
const std::string GreenShadowed = StyleBlock(0, 255, 0, 1);

const POINT CobbPoints[4] = {{10, 40}, {60, 40}, {10, 50}, {60, 0}};

const std::string UnknownInternal =
    "<Internal>\r\n"
    "<Line>\r\n<Begin X=\"5\" Y=\"6\" />\r\n<End   X=\"30\" Y=\"6\" />\r\n</Line>\r\n"
    "<Line>\r\n<Begin X=\"30\" Y=\"6\" />\r\n<End   X=\"30\" Y=\"26\" />\r\n</Line>\r\n"
    "<TextLabel X=\"32\" Y=\"28\" Text=\"Area &lt; 4 cm\" />\r\n"
    "</Internal>\r\n";

std::vector<StoredMeasurement> EveryKind()
{
    return {
        {"XML", "ORoiCalliper", LineDocument("Calliper", {10, 20}, {40, 60}, Red)},
        {"XML", "ORoiAngle", AngleDocument({50, 50}, {70, 50}, {50, 10}, GreenShadowed)},
        {"XML", "ORoiCOBBAngle", CobbDocument(CobbPoints, Red)},
        {"XML", "ORoiArrow", LineDocument("Arrow", {5, 5}, {25, 25}, Red)},
        {"XML", "ORoiEllipseArea",
         Frame("Ellipse Area", PointElement("P1", 5, 6), UnknownInternal, Red)},
    };
}

std::string LabelText(const ORoi& roi)
{
    const ORoiTextLabel* label = roi.GetLinkedLabel();
    return label != nullptr ? std::string(label->GetDisplayText()) : std::string("<none>");
}

} // namespace

class RoiFactoryTest : public ImageShowTest
{
};

TEST_F(RoiFactoryTest, EveryKindLoadsIntoItsClassWithValuesStylesAndLabels)
{
    std::unique_ptr<ImageShow> show(
        LoadMeasuredImage(WriteMeasuredImage("every_kind.dcm", EveryKind())));
    const std::vector<ORoi*> rois = Annotations(*show);
    ASSERT_EQ(rois.size(), 5u);

    auto* calliper = dynamic_cast<ORoiCalliper*>(rois[0]);
    ASSERT_NE(calliper, nullptr);
    EXPECT_EQ(calliper->GetP1().x, 10);
    EXPECT_EQ(calliper->GetP2().y, 60);
    // 30 x 40 pixels of 0.5 mm.
    EXPECT_DOUBLE_EQ(calliper->GetLength(), 25.0);
    EXPECT_STREQ(calliper->GetUnit(), "mm");
    EXPECT_EQ(LabelText(*calliper), "25.0 mm");
    EXPECT_EQ(std::string(calliper->GetLinkedLabel()->GetValue()), " 25.0   ");
    EXPECT_EQ(calliper->GetStyle().GetNormalColor(), RGB(255, 0, 0));

    auto* angle = dynamic_cast<ORoiAngle*>(rois[1]);
    ASSERT_NE(angle, nullptr);
    EXPECT_FLOAT_EQ(angle->GetAngle(), 90.0f);
    EXPECT_EQ(std::string(angle->GetLinkedLabel()->GetText()), " 90.0");
    EXPECT_EQ(std::string(angle->GetLinkedLabel()->GetUnit()), "degree");
    EXPECT_EQ(std::string(angle->GetMeasureText()), " 90.0   ");
    EXPECT_EQ(angle->GetStyle().GetNormalColor(), RGB(0, 255, 0));
    EXPECT_TRUE(angle->GetStyle().IsShadow());
    // The label belongs to the vertex.
    EXPECT_EQ(angle->GetLinkedLabel()->GetAnchor().x, 50);
    EXPECT_EQ(angle->GetLinkedLabel()->GetAnchor().y, 50);

    auto* cobb = dynamic_cast<ORoiCOBBAngle*>(rois[2]);
    ASSERT_NE(cobb, nullptr);
    EXPECT_NEAR(cobb->GetAngle(), 45.0f, 1e-4f);
    EXPECT_EQ(LabelText(*cobb), "45.0 degree");

    auto* arrow = dynamic_cast<ORoiArrow*>(rois[3]);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(arrow->GetP2().x, 25);
    EXPECT_EQ(arrow->GetLinkedLabel(), nullptr);

    auto* unknown = dynamic_cast<RoiXMLUnknown*>(rois[4]);
    ASSERT_NE(unknown, nullptr);
    EXPECT_STREQ(unknown->GetClassTag(), "ORoiEllipseArea");
    EXPECT_TRUE(unknown->IsHitEnabled());
    EXPECT_EQ(std::string(unknown->XmlSerialize()), EveryKind()[4].document);
    ASSERT_EQ(unknown->GetLineCount(), 2);
    POINT begin;
    POINT end;
    unknown->GetLine(1, begin, end);
    EXPECT_TRUE(begin.x == 30 && begin.y == 6 && end.x == 30 && end.y == 26);
    ASSERT_EQ(unknown->GetTextCount(), 1);
    EXPECT_EQ(std::string(unknown->GetText(0)), "Area < 4 cm");
    EXPECT_EQ(unknown->GetTextPosition(0).x, 32);

    // Loading stored measurements is no change of the image.
    EXPECT_FALSE(show->IsModified());
}

TEST_F(RoiFactoryTest, MeasurementsLoadOnceHoweverOftenTheImageIsDecoded)
{
    std::unique_ptr<ImageShow> show(LoadMeasuredImage(WriteMeasuredImage("once.dcm", EveryKind())));
    ASSERT_EQ(show->GetAnnotations().GetCount(), 5);
    for (int round = 0; round < 3; ++round)
    {
        show->ReleaseImageData();
        show->BuildFullViewDIB();
        ASSERT_FALSE(show->GetDIB().IsEmpty());
        show->Reset();
        show->BuildFullViewDIB();
    }
    EXPECT_EQ(show->GetAnnotations().GetCount(), 5);
}

TEST_F(RoiFactoryTest, AnImageTurnedBeforeItsFirstDecodeTurnsItsMeasurements)
{
    const std::string path = WriteMeasuredImage("turned.dcm", EveryKind());
    Corvane holder;
    ASSERT_TRUE(holder.LoadDicomFile(path.c_str()));
    ImageShow show;
    show.AttachCorvane(holder, 0);
    // 80 x 64 pixels: a horizontal flip, then a quarter turn counter-
    // clockwise (the image becomes 64 x 80).
    show.FlipHorizontal();
    show.Rotate(1);
    show.BuildFullViewDIB();
    const std::vector<ORoi*> rois = Annotations(show);
    ASSERT_EQ(rois.size(), 5u);
    auto* calliper = dynamic_cast<ORoiCalliper*>(rois[0]);
    ASSERT_NE(calliper, nullptr);
    // (10, 20): mirrored to (70, 20), turned to (20, 80 - 70).
    EXPECT_EQ(calliper->GetP1().x, 20);
    EXPECT_EQ(calliper->GetP1().y, 10);
    EXPECT_DOUBLE_EQ(calliper->GetLength(), 25.0);
    auto* angle = dynamic_cast<ORoiAngle*>(rois[1]);
    EXPECT_FLOAT_EQ(angle->GetAngle(), 90.0f);
    EXPECT_EQ(angle->GetLinkedLabel()->GetAnchor().x, angle->GetP1().x);
    EXPECT_EQ(angle->GetLinkedLabel()->GetAnchor().y, angle->GetP1().y);
}

TEST_F(RoiFactoryTest, OnlyDocumentsOfTypeXmlLoadAndTagsIgnoreCase)
{
    const std::string calliper = LineDocument("Calliper", {1, 1}, {4, 5}, Red);
    LogCapture log;
    std::unique_ptr<ImageShow> show(
        LoadMeasuredImage(WriteMeasuredImage("types.dcm", {{" XML ", "oroicalliper", calliper},
                                                           {"xml", "ORoiCalliper", calliper},
                                                           {"Bitmap", "ORoiCalliper", calliper}})));
    const std::vector<ORoi*> rois = Annotations(*show);
    ASSERT_EQ(rois.size(), 1u);
    EXPECT_NE(dynamic_cast<ORoiCalliper*>(rois[0]), nullptr);
    EXPECT_TRUE(log.Contains("TryLoadOverlays, skip old Overlay type of xml"));
    EXPECT_TRUE(log.Contains("TryLoadOverlays, skip old Overlay type of Bitmap"));
}

TEST_F(RoiFactoryTest, MalformedDocumentsLoadNothingAndSayWhy)
{
    const struct
    {
        const char* tag;
        std::string document;
        const char* logged;
    } cases[] = {
        {"ORoiAngle", "<Measurement value=\"ORoiAngle\"><Private>",
         "ORoiAngle::XmlDeserialize, not a document"},
        {"ORoiAngle",
         "<Measurement value=\"ORoiAngle\">\r\n<Context>\r\n</Context>\r\n</Measurement>\r\n",
         "Enter ORoiAngle::XmlDeserialize, cannot find /Measurement/Private"},
        {"ORoiCalliper", Frame("Calliper", PointElement("P1", 1, 2), "", Red),
         "ORoiCalliper::XmlDeserialize, /Measurement/Private holds 1 points, not 2"},
        {"ORoiArrow",
         Frame("Arrow", PointElement("P1", 1, 2) + "<Point name=\"P2\" X=\"7\" />\r\n", "", Red),
         "ORoiArrow::XmlDeserialize, point 2 has no integer X and Y"},
        {"ORoiCOBBAngle",
         Frame("COBB Angle",
               PointElement("P1", 1, 2) + PointElement("P2", 3, 4) +
                   "<Point name=\"P3\" X=\"a5\" Y=\"6\" />\r\n" + PointElement("P4", 7, 8),
               "", Red),
         "ORoiCOBBAngle::XmlDeserialize, point 3 has no integer X and Y"},
        {"ORoiTriangle",
         Frame("Triangle", "",
               "<Internal>\r\n<Line>\r\n<Begin X=\"1\" Y=\"1\" />\r\n</Line>\r\n</Internal>\r\n",
               Red),
         "RoiXMLUnknown::XmlDeserialize, a <Line> of ORoiTriangle has no points"},
        {"ORoiCalliper", "", "ORoiCalliper::XmlDeserialize, not a document"},
        // Points beyond reach would overflow the geometry of the panes.
        {"ORoiCalliper", LineDocument("Calliper", {INT_MIN, 0}, {INT_MAX, INT_MAX}, Red),
         "ORoiCalliper::XmlDeserialize, point 1 has no integer X and Y within 1048576"},
        {"ORoiAngle", AngleDocument({1, 1}, {1, RoiDocument::MaxCoordinate + 1}, {2, 2}, Red),
         "ORoiAngle::XmlDeserialize, point 2 has no integer X and Y within 1048576"},
        {"ORoiEllipseArea",
         Frame("Ellipse Area", "",
               "<Internal>\r\n<TextLabel X=\"2147483647\" Y=\"0\" Text=\"x\" />\r\n</Internal>\r\n",
               Red),
         "RoiXMLUnknown::XmlDeserialize, a <TextLabel> of ORoiEllipseArea has no points"},
    };
    std::vector<StoredMeasurement> items;
    for (const auto& c : cases)
    {
        items.push_back({"XML", c.tag, c.document});
    }
    LogCapture log;
    std::unique_ptr<ImageShow> show(LoadMeasuredImage(WriteMeasuredImage("malformed.dcm", items)));
    EXPECT_EQ(show->GetAnnotations().GetCount(), 0);
    for (const auto& c : cases)
    {
        EXPECT_TRUE(log.Contains(c.logged)) << c.logged;
    }
}

TEST_F(RoiFactoryTest, PointsAtTheEdgeOfReachLoad)
{
    const int edge = RoiDocument::MaxCoordinate;
    std::unique_ptr<ImageShow> show(LoadMeasuredImage(WriteMeasuredImage(
        "edge.dcm",
        {{"XML", "ORoiCalliper", LineDocument("Calliper", {-edge, -edge}, {edge, edge}, Red)}})));
    const std::vector<ORoi*> rois = Annotations(*show);
    ASSERT_EQ(rois.size(), 1u);
    auto* calliper = dynamic_cast<ORoiCalliper*>(rois[0]);
    ASSERT_NE(calliper, nullptr);
    EXPECT_EQ(calliper->GetP1().x, -edge);
    EXPECT_EQ(calliper->GetP2().y, edge);
}

TEST_F(RoiFactoryTest, ADocumentWithoutContextKeepsTheDefaultStyle)
{
    std::unique_ptr<ImageShow> show(LoadMeasuredImage(WriteMeasuredImage(
        "no_context.dcm",
        {{"XML", "ORoiCalliper", LineDocument("Calliper", {1, 1}, {4, 5}, "")}})));
    const std::vector<ORoi*> rois = Annotations(*show);
    ASSERT_EQ(rois.size(), 1u);
    EXPECT_EQ(rois[0]->GetStyle().GetNormalColor(), OverlayConfig::Get().crRoi);
    EXPECT_EQ(rois[0]->GetStyle().IsShadow(), OverlayConfig::Get().bShadow);
}

TEST_F(RoiFactoryTest, ImagesWithoutMeasurementsLoadNone)
{
    std::unique_ptr<ImageShow> show(LoadMeasuredImage(WriteMeasuredImage("plain.dcm", {})));
    EXPECT_EQ(show->GetAnnotations().GetCount(), 0);
    DICOMVRSet empty;
    EXPECT_TRUE(LoadStoredMeasurements(show.get(), &empty));
    EXPECT_FALSE(LoadStoredMeasurements(show.get(), nullptr));
    EXPECT_FALSE(LoadStoredMeasurements(nullptr, &empty));
}

TEST_F(RoiFactoryTest, WithoutPixelSpacingACalliperMeasuresPixels)
{
    std::unique_ptr<ImageShow> show(LoadMeasuredImage(WriteMeasuredImage(
        "no_spacing.dcm", {{"XML", "ORoiCalliper", LineDocument("Calliper", {0, 0}, {6, 8}, Red)}},
        64, 80, nullptr)));
    const std::vector<ORoi*> rois = Annotations(*show);
    ASSERT_EQ(rois.size(), 1u);
    EXPECT_EQ(LabelText(*rois[0]), "10.0 pixel");
}
