// The MFC object of the tab control over its control: tabs, the selection,
// the display area and the control's own tip object.
#include "../FailOnBlockHarness.h"
#include "AfxWin.h"

#include <gtest/gtest.h>

namespace
{
class TabCtrlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "Parent", WS_POPUP | WS_VISIBLE,
                                      CRect(100, 100, 400, 300), nullptr, 0));
    }

    CFailOnBlockHarness m_harness;
    CWnd m_parent;
};

TEST_F(TabCtrlTest, TabsSelectionDisplayAreaAndTipsThroughTheObject)
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
