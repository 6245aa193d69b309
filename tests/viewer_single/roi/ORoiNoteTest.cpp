#include "ORoiNote.h"
#include "FakeRoiOwner.h"
#include "ORoiRegion.h"
#include "WinGeometry.h"

#include <gtest/gtest.h>

using namespace pelivo;

TEST(ORoiNote, BoxFollowsTheTextAndTheSecondTextMark)
{
    FakeRoiOwner owner(100, 100);
    ORoiNote note(&owner, 20, 30, "abc\rdefgh", "");
    EXPECT_TRUE(IsSamePoint(note.GetTextPosition(), {20, 20}));
    EXPECT_TRUE(note.IsEditable());
    const RECT box{20, 20, 55, 44};
    EXPECT_TRUE(EqualRect(&note.GetBounds(), &box));
    note.SetSecondText("more");
    EXPECT_EQ(note.GetBounds().right, 55 + 17);
    note.SetSecondText("other");
    EXPECT_EQ(note.GetBounds().right, 55 + 17);
    note.SetSecondText("");
    EXPECT_EQ(note.GetBounds().right, 55);
}

TEST(ORoiNote, EmptyTextTakesTheNoteOffThePane)
{
    FakeRoiOwner owner(100, 100);
    ORoiNote note(&owner, 20, 30, "abc", "");
    note.SetText("xy");
    EXPECT_TRUE(owner.m_removed.empty());
    note.SetText("");
    ASSERT_EQ(owner.m_removed.size(), 1u);
    EXPECT_EQ(owner.m_removed[0], &note);
}

TEST(ORoiNote, MoveToCarriesTheBox)
{
    FakeRoiOwner owner(100, 100);
    ORoiNote note(&owner, 20, 30, "abc", "");
    note.MoveTo(50, 60);
    const RECT box{50, 60, 71, 72};
    EXPECT_TRUE(EqualRect(&note.GetBounds(), &box));
    EXPECT_TRUE(IsSamePoint(note.GetAnchor(), {20, 30}));
}

// The text keeps its size on the screen whatever the zoom: the press is
// tested against the screen box.
TEST(ORoiNote, HitTestUsesTheScreenBox)
{
    FakeRoiOwner owner(100, 100);
    owner.m_zoom = 2;
    ORoiNote note(&owner, 20, 30, "abc", "");
    EXPECT_EQ(note.HitTest(20, 20), enRoiHitBody);
    EXPECT_EQ(note.HitTest(30, 25), enRoiHitBody);
    EXPECT_EQ(note.HitTest(31, 25), enRoiHitNone);
    note.SetEnabled(false);
    EXPECT_EQ(note.HitTest(20, 20), enRoiHitNone);
    owner.m_hasPane = false;
    note.SetEnabled(true);
    EXPECT_EQ(note.HitTest(20, 20), enRoiHitNone);
}

TEST(ORoiNote, FlipPlacesTheTextAtTheAnchorOrAboveItsRegion)
{
    FakeRoiOwner owner(100, 100);
    ORoiNote free(&owner, 20, 30, "abc", "");
    free.FlipVertical();
    EXPECT_TRUE(IsSamePoint(free.GetAnchor(), {20, 70}));
    EXPECT_TRUE(IsSamePoint(free.GetTextPosition(), {20, 70}));

    ORoiRectangle high(&owner, 10, 40, 30, 60);
    high.CreateLabel();
    high.GetNote()->FlipHorizontal();
    EXPECT_TRUE(IsSamePoint(high.GetNote()->GetTextPosition(), {20, 35}));

    ORoiEllipse low(&owner, 10, 2, 30, 20);
    low.CreateLabel();
    low.GetNote()->FlipHorizontal();
    EXPECT_TRUE(IsSamePoint(low.GetNote()->GetTextPosition(), {20, 17}));
}

TEST(ORoiNote, CloneCopiesTextsPositionAndFlags)
{
    FakeRoiOwner owner(100, 100);
    ORoiNote note(&owner, 20, 30, "abc", "second");
    note.MoveTo(5, 6);
    note.SetAttached(false);
    std::unique_ptr<ORoiItem> copy(note.Clone(&owner));
    auto* copied = static_cast<ORoiNote*>(copy.get());
    EXPECT_STREQ(copied->GetText(), "abc");
    EXPECT_STREQ(copied->GetSecondText(), "second");
    EXPECT_TRUE(IsSamePoint(copied->GetTextPosition(), {5, 6}));
    EXPECT_FALSE(copied->IsAttached());
    EXPECT_TRUE(copied->IsEqual(note));
}

TEST(ORoiNote, DeletingTheNoteUnlinksItsMeasurement)
{
    FakeRoiOwner owner(100, 100);
    ORoiRectangle rectangle(&owner, 10, 40, 30, 60);
    rectangle.CreateLabel();
    delete rectangle.GetNote();
    EXPECT_EQ(rectangle.GetLabel(), nullptr);
}
