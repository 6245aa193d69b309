// The MFC objects of the tree view and the tab control over their controls:
// the tree's items, their data, texts and images, the walk, the hit test and
// the label editor; the tabs, the selection, the display area and the tab
// control's own tip object.
#include "../FailOnBlockHarness.h"
#include "AfxWin.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
class TreeTabCtrlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "Parent", WS_POPUP | WS_VISIBLE,
                                      CRect(100, 100, 400, 300), nullptr, 0));
    }

    void CreateTree()
    {
        ASSERT_TRUE(m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_EDITLABELS,
                                  CRect(0, 0, 250, 180), &m_parent, 12));
    }

    CFailOnBlockHarness m_harness;
    CWnd m_parent;
    CTreeCtrl m_tree;
};

TEST_F(TreeTabCtrlTest, TreeCtrlItemsKeepTheirTextDataStateAndImagesAndAreWalked)
{
    CreateTree();
    const HTREEITEM hRoot = m_tree.InsertItem("Patients", 2, 3);
    const HTREEITEM hChild = m_tree.InsertItem("A long name for one patient of the list", hRoot);
    EXPECT_TRUE(m_tree.SetItemData(hChild, 0x1234));
    EXPECT_EQ(m_tree.GetItemData(hChild), DWORD_PTR(0x1234));
    EXPECT_EQ(m_tree.GetItemText(hChild), CString("A long name for one patient of the list"));
    EXPECT_TRUE(m_tree.SetItemText(hRoot, "Studies"));
    EXPECT_EQ(m_tree.GetItemText(hRoot), CString("Studies"));
    int nImage = 0;
    int nSelected = 0;
    EXPECT_TRUE(m_tree.GetItemImage(hRoot, nImage, nSelected));
    EXPECT_EQ(nImage, 2);
    EXPECT_EQ(nSelected, 3);
    EXPECT_TRUE(m_tree.ItemHasChildren(hRoot));
    EXPECT_FALSE(m_tree.ItemHasChildren(hChild));
    EXPECT_EQ(m_tree.GetRootItem(), hRoot);
    EXPECT_EQ(m_tree.GetChildItem(hRoot), hChild);
    EXPECT_EQ(m_tree.GetParentItem(hChild), hRoot);
    EXPECT_EQ(m_tree.GetCount(), 2U);

    CRect rc;
    EXPECT_FALSE(m_tree.GetItemRect(hChild, &rc, TRUE)) << "inside a collapsed branch";
    EXPECT_TRUE(m_tree.Expand(hRoot, TVE_EXPAND));
    EXPECT_EQ(m_tree.GetItemState(hRoot, TVIS_EXPANDED), UINT(TVIS_EXPANDED));
    ASSERT_TRUE(m_tree.GetItemRect(hChild, &rc, TRUE));
    UINT nFlags = 0;
    EXPECT_EQ(m_tree.HitTest(CPoint(rc.left + 2, rc.top + 2), &nFlags), hChild);
    EXPECT_EQ(nFlags, UINT(TVHT_ONITEMLABEL));
    EXPECT_EQ(m_tree.HitTest(CPoint(rc.right + 2, rc.top + 2), &nFlags), hChild);
    EXPECT_EQ(nFlags, UINT(TVHT_ONITEMRIGHT));
    EXPECT_TRUE(m_tree.SelectItem(hChild));
    EXPECT_EQ(m_tree.GetSelectedItem(), hChild);
    EXPECT_TRUE(m_tree.DeleteAllItems());
    EXPECT_EQ(m_tree.GetCount(), 0U);
    EXPECT_EQ(m_tree.GetSelectedItem(), nullptr);
}

TEST_F(TreeTabCtrlTest, TreeCtrlTheLabelEditorIsAnEditObjectUntilTheEditEnds)
{
    CreateTree();
    const HTREEITEM hItem = m_tree.InsertItem("Report");
    CEdit* pEdit = m_tree.EditLabel(hItem);
    ASSERT_NE(pEdit, nullptr);
    CString strText;
    pEdit->GetWindowText(strText);
    EXPECT_EQ(strText, CString("Report"));
    EXPECT_EQ(m_tree.GetEditControl(), pEdit);
    EXPECT_TRUE(m_tree.EndEditLabelNow(TRUE));
    EXPECT_EQ(m_tree.GetEditControl(), nullptr);
    EXPECT_EQ(m_tree.GetItemText(hItem), CString("Report"));
}
TEST_F(TreeTabCtrlTest, TabCtrlTabsSelectionDisplayAreaAndTipsThroughTheObject)
{
    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE | TCS_TOOLTIPS | TCS_BOTTOM,
                            CRect(0, 0, 280, 180), &m_parent, 1000));
    EXPECT_EQ(tabs.InsertItem(0, "Views"), 0);
    EXPECT_EQ(tabs.InsertItem(TCIF_TEXT | TCIF_PARAM, 1, "Files", 0, 77), 1);
    EXPECT_EQ(tabs.GetItemCount(), 2);
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    ASSERT_TRUE(tabs.GetItem(1, &item));
    EXPECT_EQ(item.lParam, 77);
    EXPECT_EQ(tabs.SetCurSel(1), 0);
    EXPECT_EQ(tabs.GetCurSel(), 1);
    EXPECT_EQ(tabs.GetRowCount(), 1);

    CRect rcTab;
    ASSERT_TRUE(tabs.GetItemRect(0, &rcTab));
    TCHITTESTINFO hit{rcTab.CenterPoint(), 0};
    EXPECT_EQ(tabs.HitTest(&hit), 0);
    EXPECT_EQ(hit.flags, UINT(TCHT_ONITEMLABEL));
    CRect rcDisplay(0, 0, 280, 180);
    tabs.AdjustRect(FALSE, &rcDisplay);
    EXPECT_LE(rcDisplay.bottom, rcTab.top);
    tabs.AdjustRect(TRUE, &rcDisplay);
    EXPECT_EQ(rcDisplay, CRect(0, 0, 280, 180));

    CToolTipCtrl* pTips = tabs.GetToolTips();
    ASSERT_NE(pTips, nullptr);
    EXPECT_EQ(pTips->GetToolCount(), 2);
    pTips->UpdateTipText("The files", &tabs, 1);
    CString strTip;
    pTips->GetText(strTip, &tabs, 1);
    EXPECT_EQ(strTip, CString("The files"));
    const HWND hTip = pTips->m_hWnd;
    tabs.DestroyWindow();
    EXPECT_FALSE(::IsWindow(hTip));
}
} // namespace
