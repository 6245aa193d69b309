// An owner-drawn list object measures and draws its own rows: the parent's
// WM_MEASUREITEM and WM_DRAWITEM come back to it as MeasureItem and
// DrawItem, and its label editing is reached through its members.
#include "../FailOnBlockHarness.h"
#include "AfxListCtrl.h"
#include "AfxWin.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
class COwnRowsList : public CListCtrl
{
public:
    std::vector<UINT> drawn;
    int nMeasured = 0;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        drawn.push_back(lpDrawItemStruct->itemID);
    }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override
    {
        ++nMeasured;
        lpMeasureItemStruct->itemHeight = 24;
    }
};

TEST(ListCtrlDraw, OwnerDrawnRowsComeBackToTheListObject)
{
    CFailOnBlockHarness harness;
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "Parent", WS_POPUP | WS_VISIBLE,
                                CRect(100, 100, 400, 300), nullptr, 0));
    COwnRowsList list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED,
                            CRect(5, 5, 295, 195), &parent, 12));
    EXPECT_GE(list.nMeasured, 1);
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 120);
    list.InsertItem(0, "first");
    list.InsertItem(1, "second");
    list.drawn.clear();
    list.Invalidate();
    list.UpdateWindow();
    EXPECT_EQ(list.drawn, (std::vector<UINT>{0, 1}));
    CRect rc;
    ASSERT_TRUE(list.GetItemRect(1, &rc, LVIR_BOUNDS));
    EXPECT_EQ(rc.Height(), 24);
    CRect sub;
    ASSERT_TRUE(list.GetSubItemRect(1, 0, LVIR_LABEL, sub));
    EXPECT_EQ(list.HitTest(sub.CenterPoint()), 1);

    CEdit* pEdit = list.EditLabel(1);
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(list.GetEditControl()->GetSafeHwnd(), pEdit->GetSafeHwnd());
    pEdit->SetWindowText("renamed");
    pEdit->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(list.GetEditControl(), nullptr);
    EXPECT_EQ(std::string(list.GetItemText(1, 0)), "second")
        << "a parent that says nothing keeps the old label";
}
} // namespace
