// The MFC status bar's pane styles: the stretching pane takes the width the
// others leave, a disabled pane shows no text but keeps it, and the popout
// and borderless styles reach the control as its drawing kinds.
#include "../FailOnBlockHarness.h"
#include "AfxWin.h"

#include <gtest/gtest.h>

namespace
{
constexpr UINT kIndicators[] = {ID_SEPARATOR, 0xE701, 0xE702, 0xE703};

class StatusBarPaneTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "Parent", WS_POPUP | WS_VISIBLE,
                                      CRect(100, 100, 600, 300), nullptr, 0));
        ASSERT_TRUE(m_status.Create(&m_parent));
        ASSERT_TRUE(m_status.SetIndicators(kIndicators, 4));
        for (int i = 1; i < 4; ++i)
            m_status.SetPaneInfo(i, kIndicators[i], SBPS_NORMAL, 40);
        m_status.MoveWindow(0, 170, 500, 24);
    }

    // The control's drawing kind and text of a pane.
    std::pair<UINT, CString> Shown(int nPane)
    {
        char szText[64] = {};
        const auto nInfo = static_cast<DWORD>(::SendMessageA(m_status.m_hWnd, SB_GETTEXTA,
                                                             static_cast<WPARAM>(nPane),
                                                             reinterpret_cast<LPARAM>(szText)));
        return {HIWORD(nInfo), CString(szText)};
    }

    CFailOnBlockHarness m_harness;
    CWnd m_parent;
    CStatusBar m_status;
};

TEST_F(StatusBarPaneTest, PaneStylesReachTheControl)
{
    for (int i = 0; i < 4; ++i)
        m_status.SetPaneText(i, "text");
    const struct
    {
        UINT nStyle;
        UINT nKind;
        const char* pszShown;
    } cases[] = {
        {SBPS_NORMAL, 0, "text"},
        {SBPS_POPOUT, SBT_POPOUT, "text"},
        {SBPS_NOBORDERS, SBT_NOBORDERS, "text"},
        {SBPS_DISABLED, 0, ""},
        {SBPS_DISABLED | SBPS_POPOUT, SBT_POPOUT, ""},
    };
    for (const auto& c : cases)
    {
        m_status.SetPaneStyle(2, c.nStyle);
        EXPECT_EQ(Shown(2), std::make_pair(c.nKind, CString(c.pszShown))) << c.nStyle;
        EXPECT_EQ(m_status.GetPaneText(2), CString("text")) << "kept while disabled";
    }
}

TEST_F(StatusBarPaneTest, TheStretchingPaneTakesWhatTheOthersLeave)
{
    CRect rcFirst;
    m_status.GetItemRect(0, &rcFirst);
    CRect rcLast;
    m_status.GetItemRect(3, &rcLast);
    CRect client;
    m_status.GetClientRect(&client);
    EXPECT_GT(rcLast.right, client.right - 4) << "up to the bar's end, less a gap";
    const int nStretched = rcFirst.Width();
    const int nLastRight = rcLast.right;
    UINT nID = 0;
    UINT nStyle = 0;
    int cxWidth = 0;
    m_status.GetPaneInfo(0, nID, nStyle, cxWidth);
    EXPECT_TRUE(nStyle & SBPS_STRETCH);
    m_status.SetPaneStyle(0, SBPS_NORMAL);
    m_status.GetItemRect(0, &rcFirst);
    EXPECT_LT(rcFirst.Width(), nStretched);
    m_status.GetItemRect(3, &rcLast);
    // The other panes keep their widths and move along.
    EXPECT_EQ(nLastRight - rcLast.right, nStretched - rcFirst.Width());
}
} // namespace
