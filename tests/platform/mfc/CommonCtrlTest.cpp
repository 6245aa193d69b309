// The MFC objects of the progress bar and the tip control, over their
// controls.
#include "../FailOnBlockHarness.h"
#include "AfxWin.h"
#include "ResourceRegistry.h"
#include "WinModule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
constexpr UINT kTipStringId = 2711;

class CommonCtrlTest : public testing::Test
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

TEST_F(CommonCtrlTest, ProgressControlKeepsRangePositionAndStep)
{
    CProgressCtrl progress;
    ASSERT_TRUE(
        progress.Create(WS_CHILD | WS_VISIBLE | PBS_SMOOTH, CRect(10, 10, 210, 30), &m_parent, 7));
    progress.SetRange32(-50, 50);
    int nLower = 0;
    int nUpper = 0;
    progress.GetRange(nLower, nUpper);
    EXPECT_EQ(nLower, -50);
    EXPECT_EQ(nUpper, 50);
    EXPECT_EQ(progress.SetPos(-80), 0) << "the old position";
    EXPECT_EQ(progress.GetPos(), -50) << "kept within the range";
    EXPECT_EQ(progress.OffsetPos(30), -50);
    EXPECT_EQ(progress.SetStep(40), 10);
    EXPECT_EQ(progress.StepIt(), -20);
    EXPECT_EQ(progress.StepIt(), 20);
    EXPECT_EQ(progress.GetPos(), -40) << "past the top round to the bottom";
    progress.SetRange(0, 200);
    progress.GetRange(nLower, nUpper);
    EXPECT_EQ(nUpper, 200);
    EXPECT_EQ(progress.GetPos(), 0);
}

// A child whose tip shows through the tip control the test relays to.
class CTippedWnd : public CWnd
{
public:
    CToolTipCtrl* pTip = nullptr;

protected:
    afx_msg void OnMouseMove(UINT, CPoint)
    {
        if (pTip != nullptr)
            pTip->RelayEvent(const_cast<MSG*>(GetCurrentMessage()));
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTippedWnd, CWnd)
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

TEST_F(CommonCtrlTest, ToolTipControlKnowsWholeWindowAndRectangleToolsAndShowsTheirTips)
{
    static const ResourceStringEntry kStrings[] = {{kTipStringId, "Tip of the corner"}};
    static const bool bRegistered =
        (RegisterModuleResources(GetModuleHandleA(nullptr), ResourceTables{.strings = kStrings}),
         true);
    static_cast<void>(bRegistered);
    CTippedWnd child;
    ASSERT_TRUE(
        child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 110), &m_parent, 3));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&m_parent, TTS_ALWAYSTIP));
    child.pTip = &tip;
    ASSERT_TRUE(tip.AddTool(&child, "The whole child"));
    const CRect corner(0, 0, 20, 20);
    ASSERT_TRUE(tip.AddTool(&child, kTipStringId, &corner, 9));
    EXPECT_EQ(tip.GetToolCount(), 2);
    CString strText;
    tip.GetText(strText, &child, 9);
    EXPECT_STREQ(strText, "Tip of the corner");
    tip.SetDelayTime(100);
    EXPECT_EQ(tip.GetDelayTime(TTDT_AUTOPOP), 1000);

    const auto shownAt = [&](int x, int y)
    {
        m_harness.MouseMove(CUiHarness::ScreenPoint(child.m_hWnd, x, y));
        m_harness.PumpPending();
        m_harness.AdvanceClock(100);
        m_harness.PumpPending();
        CString strShown;
        if (tip.IsWindowVisible())
            tip.GetWindowText(strShown);
        return std::string(strShown);
    };
    EXPECT_EQ(shownAt(60, 60), "The whole child");
    tip.Pop();
    EXPECT_FALSE(tip.IsWindowVisible());
    // Popped, the tip stays away while the pointer stays on its tool.
    EXPECT_EQ(shownAt(70, 70), "");
    tip.UpdateTipText("Changed", &child);
    tip.GetText(strText, &child);
    EXPECT_STREQ(strText, "Changed");
    tip.DelTool(&child);
    EXPECT_EQ(tip.GetToolCount(), 1);
    EXPECT_EQ(shownAt(5, 5), "Tip of the corner");

    TOOLINFOA info{};
    EXPECT_TRUE(tip.HitTest(&child, CPoint(5, 5), &info));
    EXPECT_EQ(info.uId, 9u);
    EXPECT_FALSE(tip.HitTest(&child, CPoint(50, 50), &info));
}
} // namespace
