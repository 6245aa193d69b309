#include "FakeRoiOwner.h"
#include "ORoiProtractor.h"
#include "ORoiRegion.h"
#include "ORoiRuler.h"
#include "WinGeometry.h"

#include <gtest/gtest.h>

using namespace pelivo;

struct RulerLabelCase
{
    double spacing;
    const char* label;
};

class RulerLabel : public testing::TestWithParam<RulerLabelCase>
{
};

TEST_P(RulerLabel, ShowsNameLengthAndUnit)
{
    FakeRoiOwner owner(100, 100, GetParam().spacing);
    ORoiRuler ruler(&owner, 0, 0, 30, 40);
    EXPECT_STREQ(ruler.GetLabelText(), GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(Spacings, RulerLabel,
                         testing::Values(RulerLabelCase{0.5, "DT1= 25.0 mm"},
                                         RulerLabelCase{0.0, "DT1= 50.0 Pixel"},
                                         RulerLabelCase{2.0, "DT1=100.0 mm"}));

TEST(ORoiRuler, WithoutNameShowsTheLengthOnly)
{
    FakeRoiOwner owner(100, 100);
    owner.m_nextNumber = 0;
    ORoiRuler ruler(&owner, 0, 0, 3, 4);
    EXPECT_STREQ(ruler.GetLabelText(), "  5.0 Pixel");
}

TEST(ORoiRuler, SlopeIsNegatedWhenTheSecondPointLiesBelow)
{
    FakeRoiOwner owner(100, 100);
    EXPECT_EQ(ORoiRuler(&owner, 10, 10, 20, 0).GetSlope(), 45);
    EXPECT_EQ(ORoiRuler(&owner, 10, 10, 20, 20).GetSlope(), -45);
    EXPECT_EQ(ORoiRuler(&owner, 10, 10, 0, 10).GetSlope(), 180);
}

TEST(ORoiProtractor, LabelsTheAngleAtTheVertex)
{
    FakeRoiOwner owner(100, 100);
    ORoiProtractor angle(&owner, 10, 10, 20, 10, 10, 0);
    EXPECT_STREQ(angle.GetLabelText(), "A1=90 deg.");
    const RECT expected{10, 0, 20, 10};
    EXPECT_TRUE(EqualRect(&angle.GetBounds(), &expected));
}

struct HitCase
{
    int x;
    int y;
    bool selected;
    int code;
};

class RulerHit : public testing::TestWithParam<HitCase>
{
};

TEST_P(RulerHit, AnswersBodyHandleOrNothing)
{
    FakeRoiOwner owner(200, 200);
    ORoiRuler ruler(&owner, 10, 10, 110, 10);
    if (GetParam().selected)
    {
        // Selection marks need a pane's device context; the flag is what
        // the hit test reads.
        struct Selector : ORoiRuler
        {
            using ORoiRuler::m_selected;
        };
        static_cast<Selector&>(ruler).m_selected = 1;
    }
    EXPECT_EQ(ruler.HitTest(GetParam().x, GetParam().y), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Points, RulerHit,
    testing::Values(HitCase{60, 10, false, enRoiHitBody}, HitCase{60, 14, false, enRoiHitBody},
                    HitCase{60, 15, false, enRoiHitNone}, HitCase{12, 12, false, enRoiHitHandle},
                    HitCase{108, 8, true, enRoiHitHandle}, HitCase{120, 10, false, enRoiHitNone},
                    HitCase{5, 10, false, enRoiHitNone}));

TEST(ORoiProtractor, HitsTheSecondLegWhenTheFirstMisses)
{
    FakeRoiOwner owner(200, 200);
    ORoiProtractor angle(&owner, 10, 10, 100, 10, 10, 100);
    EXPECT_EQ(angle.HitTest(50, 11), enRoiHitBody);
    EXPECT_EQ(angle.HitTest(11, 50), enRoiHitBody);
    EXPECT_EQ(angle.HitTest(98, 12), enRoiHitHandle);
    EXPECT_EQ(angle.HitTest(50, 50), enRoiHitNone);
}

TEST(ORoiRegion, BaseHitTestAnswersCornersThenInside)
{
    FakeRoiOwner owner(200, 200);
    ORoiRectangle rectangle(&owner, 20, 20, 80, 60);
    EXPECT_EQ(rectangle.HitTest(16, 24), enRoiHitHandle);
    EXPECT_EQ(rectangle.HitTest(84, 64), enRoiHitHandle);
    EXPECT_EQ(rectangle.HitTest(50, 40), enRoiHitBody);
    EXPECT_EQ(rectangle.HitTest(90, 40), enRoiHitNone);
    rectangle.SetMovable(false);
    EXPECT_EQ(rectangle.HitTest(50, 40), enRoiHitNone);
}

// Two half turns, two flips of each kind and four quarter turns of a square
// image bring every point back.
TEST(ORoiMeasure, TurnsAndFlipsComeBack)
{
    FakeRoiOwner owner(64, 64);
    ORoiRuler ruler(&owner, 3, 5, 40, 22);
    ORoiProtractor angle(&owner, 10, 12, 30, 14, 8, 50);
    ORoiEllipse ellipse(&owner, 4, 6, 30, 20);
    const std::vector<std::function<void(ORoiItem&)>> moves = {
        [](ORoiItem& item) { item.Rotate(enRotateHalf); },
        [](ORoiItem& item) { item.FlipVertical(); }, [](ORoiItem& item) { item.FlipHorizontal(); },
        [](ORoiItem& item) { item.Rotate(enRotateRight); }};
    const std::vector<int> repeats = {2, 2, 2, 4};
    for (std::size_t move = 0; move < moves.size(); ++move)
    {
        for (int time = 0; time < repeats[move]; ++time)
        {
            for (ORoiItem* item : std::initializer_list<ORoiItem*>{&ruler, &angle, &ellipse})
            {
                moves[move](*item);
            }
        }
        EXPECT_TRUE(IsSamePoint(ruler.GetFirst(), {3, 5})) << move;
        EXPECT_TRUE(IsSamePoint(ruler.GetSecond(), {40, 22})) << move;
        EXPECT_TRUE(IsSamePoint(angle.GetVertex(), {10, 12})) << move;
        const RECT expected{4, 6, 30, 20};
        EXPECT_TRUE(EqualRect(&ellipse.GetBounds(), &expected)) << move;
    }
}

TEST(ORoiMeasure, RotationMovesPointsByTheQuarterRule)
{
    FakeRoiOwner owner(100, 50);
    ORoiRuler ruler(&owner, 10, 20, 30, 40);
    ruler.Rotate(enRotateRight);
    EXPECT_TRUE(IsSamePoint(ruler.GetFirst(), {20, 40}));
    ruler.Rotate(enRotateLeft);
    EXPECT_TRUE(IsSamePoint(ruler.GetFirst(), {60, 20}));
    ruler.FlipVertical();
    EXPECT_TRUE(IsSamePoint(ruler.GetFirst(), {60, 30}));
}

TEST(ORoiMeasure, LabelIsLinkedAndFollowsTheRuler)
{
    FakeRoiOwner owner(100, 100, 0.5);
    ORoiRuler ruler(&owner, 0, 0, 30, 40);
    ruler.CreateLabel();
    ORoiNote* note = ruler.GetNote();
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->GetLabel(), &ruler);
    EXPECT_FALSE(note->IsEditable());
    EXPECT_TRUE(IsSamePoint(note->GetAnchor(), {33, 40}));
    EXPECT_STREQ(note->GetText(), "DT1= 25.0 mm");
    ruler.SetPoints(50, 10, 20, 50);
    ruler.SetNumber(4);
    ruler.UpdateLabel();
    EXPECT_STREQ(note->GetText(), "DT4= 25.0 mm");
    EXPECT_TRUE(IsSamePoint(note->GetTextPosition(), {23, 50}));
}

TEST(ORoiMeasure, LinkingReplacesAndDeletesTheOldNote)
{
    FakeRoiOwner owner(100, 100);
    ORoiRuler first(&owner, 0, 0, 10, 10);
    ORoiRuler second(&owner, 0, 0, 20, 20);
    first.CreateLabel();
    second.CreateLabel();
    ORoiNote* moved = second.GetNote();
    first.Link(moved);
    EXPECT_EQ(first.GetNote(), moved);
    EXPECT_EQ(moved->GetLabel(), &first);
    EXPECT_EQ(second.GetLabel(), nullptr);
    first.Unlink();
    EXPECT_EQ(moved->GetLabel(), nullptr);
    delete moved;
}

TEST(ORoiMeasure, CloneCopiesPointsNameAndNote)
{
    FakeRoiOwner owner(100, 100);
    ORoiRuler ruler(&owner, 1, 2, 30, 40);
    ruler.CreateLabel();
    std::unique_ptr<ORoiItem> copy(ruler.Clone(&owner));
    EXPECT_TRUE(copy->IsEqual(ruler));
    EXPECT_STREQ(copy->GetName(), "DT1");
    auto* copiedRuler = static_cast<ORoiRuler*>(copy.get());
    ASSERT_NE(copiedRuler->GetNote(), nullptr);
    EXPECT_NE(copiedRuler->GetNote(), ruler.GetNote());
    EXPECT_STREQ(copiedRuler->GetNote()->GetText(), ruler.GetNote()->GetText());
}
