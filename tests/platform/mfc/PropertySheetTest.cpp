// Property sheets: the pages' notifications in order for OK, Apply and
// Cancel, pages made only when they first show, the Apply button following
// the pages' changes, and the pages' say (a page that will not let go, an
// invalid page brought to the front, a refused cancel).
#include "../FailOnBlockHarness.h"
#include "AfxWin.h"
#include "ModalAnswers.h"
#include "ResourceRegistry.h"
#include "UserRawInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
constexpr UINT kLinkPageId = 330;
constexpr UINT kColourPageId = 331;
constexpr WORD IDC_DESCRIPTION = 1005;
constexpr WORD IDC_TARGET = 1007;
constexpr WORD IDC_VISITED = 1010;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DialogItemTemplate kLinkItems[] = {
    {"Static", "Description:", 0, kChild, 0, 7, 9, 50, 8},
    {"Edit", "", IDC_DESCRIPTION, kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 60, 7, 140,
     12},
    {"Static", "Target:", 0, kChild, 0, 7, 27, 50, 8},
    {"Edit", "", IDC_TARGET, kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 60, 25, 140, 12},
};
constexpr DialogItemTemplate kColourItems[] = {
    {"Button", "Visited", IDC_VISITED, kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 7, 7, 80, 10},
};
constexpr DWORD kPageStyle = WS_CHILD | WS_CAPTION | DS_SETFONT;
constexpr DialogTemplate kLinkPage{kPageStyle,     0, 0,         0, 210, 60, "Link",
                                   "MS Shell Dlg", 8, kLinkItems};
constexpr DialogTemplate kColourPage{kPageStyle,     0, 0,           0, 120, 40, "Colours",
                                     "MS Shell Dlg", 8, kColourItems};
const ResourceDialogEntry kDialogs[] = {{MAKEINTRESOURCE(kLinkPageId), &kLinkPage},
                                        {MAKEINTRESOURCE(kColourPageId), &kColourPage}};
const ResourceRegistrar kRegistrar({.dialogs = kDialogs});

// A page that writes each of its notifications into the shared log.
class CLoggingPage : public CPropertyPage
{
public:
    CLoggingPage(UINT nId, std::string name, std::vector<std::string>& log)
        : CPropertyPage(nId), m_name(std::move(name)), m_log(log)
    {
    }

    BOOL m_bLetGo = TRUE;
    BOOL m_bValid = TRUE;
    BOOL m_bMayCancel = TRUE;

    BOOL OnSetActive() override
    {
        m_log.push_back(m_name + " set active");
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override
    {
        m_log.push_back(m_name + " kill active");
        return m_bLetGo;
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        const auto* notify = reinterpret_cast<const PSHNOTIFY*>(lParam);
        if (notify->hdr.code == PSN_APPLY)
        {
            m_log.push_back(m_name + (notify->lParam ? " apply (OK)" : " apply"));
            *pResult = m_bValid ? PSNRET_NOERROR : PSNRET_INVALID;
            return TRUE;
        }
        return CPropertyPage::OnNotify(wParam, lParam, pResult);
    }
    void OnReset() override { m_log.push_back(m_name + " reset"); }
    BOOL OnQueryCancel() override
    {
        m_log.push_back(m_name + " query cancel");
        return m_bMayCancel;
    }

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

class PropertySheetTest : public testing::Test
{
protected:
    PropertySheetTest()
        : m_link(kLinkPageId, "link", m_log), m_colours(kColourPageId, "colours", m_log)
    {
        SetModalWindowsRun(true);
        EXPECT_TRUE(m_owner.CreateEx(0, nullptr, "Owner", WS_POPUP | WS_VISIBLE,
                                     CRect(50, 50, 600, 500), nullptr, 0));
        m_sheet.AddPage(&m_link);
        m_sheet.AddPage(&m_colours);
        m_harness.PumpPending();
    }
    ~PropertySheetTest() override
    {
        SetModalWindowsRun(false);
        SetModalAnswerHook(nullptr);
    }

    bool IsApplyEnabled() const
    {
        const HWND hApply = ::GetDlgItem(m_sheet.m_hWnd, ID_APPLY_NOW);
        return hApply != nullptr && ::IsWindowEnabled(hApply);
    }

    void ClickTab(int nTab)
    {
        CRect rc;
        m_sheet.GetTabControl()->GetItemRect(nTab, &rc);
        const POINT pt = CUiHarness::ScreenPoint(m_sheet.GetTabControl()->m_hWnd,
                                                 rc.CenterPoint().x, rc.CenterPoint().y);
        m_harness.Click(enMouseButton::Left, pt);
    }

    CFailOnBlockHarness m_harness;
    CWnd m_owner;
    std::vector<std::string> m_log;
    CLoggingPage m_link;
    CLoggingPage m_colours;
    CPropertySheet m_sheet{"URL Properties", &m_owner};
};

using Log = std::vector<std::string>;

TEST_F(PropertySheetTest, OkLetsTheFrontPageGoThenAppliesEveryPageMadeInOrder)
{
    bool bColoursMadeAtStart = true;
    m_harness.Script()
        .Do([&] { bColoursMadeAtStart = m_colours.m_hWnd != nullptr; })
        .Do([&] { ClickTab(1); })
        .KeyPress(VK_RETURN);
    EXPECT_EQ(m_sheet.DoModal(), IDOK);
    EXPECT_FALSE(bColoursMadeAtStart) << "a page is made when it first shows";
    EXPECT_EQ(m_log, (Log{"link set active", "link kill active", "colours set active",
                          "colours kill active", "link apply (OK)", "colours apply (OK)"}));
    EXPECT_EQ(m_link.m_hWnd, nullptr) << "the pages go with the sheet";
    EXPECT_TRUE(m_owner.IsWindowEnabled());
}

TEST_F(PropertySheetTest, ApplyFollowsTheChangesAppliesAndStaysOpenThenCancelResetsEveryPage)
{
    std::vector<bool> applyEnabled;
    const auto note = [&] { applyEnabled.push_back(IsApplyEnabled()); };
    m_harness.Script()
        .Do(note)
        .Do([&] { m_link.SetModified(); })
        .Do(note)
        .Do([&] { m_link.SetModified(FALSE); })
        .Do(note)
        .Do([&] { m_link.SetModified(); })
        .Do([&] { m_log.clear(); })
        .Do([&] { EXPECT_TRUE(m_sheet.PressButton(PSBTN_APPLYNOW)); })
        .Do(note)
        .Do([&] { EXPECT_TRUE(::IsWindow(m_sheet.m_hWnd)) << "Apply leaves the sheet open"; })
        .Do([&] { m_log.push_back("--"); })
        .KeyPress(VK_ESCAPE);
    EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(applyEnabled, (std::vector<bool>{false, true, false, false}));
    // The colours page was never shown, so it is neither applied nor reset.
    EXPECT_EQ(m_log,
              (Log{"link kill active", "link apply", "--", "link query cancel", "link reset"}));
}

TEST_F(PropertySheetTest, APageThatWillNotLetGoKeepsTheFrontAndStopsOk)
{
    m_link.m_bLetGo = FALSE;
    m_harness.Script()
        .Do([&] { ClickTab(1); })
        .Do([&] { EXPECT_EQ(m_sheet.GetActiveIndex(), 0); })
        .Do([&] { EXPECT_EQ(m_sheet.GetTabControl()->GetCurSel(), 0); })
        .KeyPress(VK_RETURN)
        .Do([&] { m_link.m_bLetGo = TRUE; })
        .KeyPress(VK_ESCAPE);
    EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(m_log, (Log{"link set active", "link kill active", "link kill active",
                          "link query cancel", "link reset"}));
}

TEST_F(PropertySheetTest, AnInvalidPageComesToTheFrontAndARefusedCancelKeepsTheSheet)
{
    m_colours.m_bValid = FALSE;
    m_colours.m_bMayCancel = FALSE;
    m_harness.Script()
        .Do([&] { ClickTab(1); })
        .Do([&] { ClickTab(0); })
        .Do([&] { m_log.clear(); })
        .KeyPress(VK_RETURN)
        .Do([&] { EXPECT_EQ(m_sheet.GetActivePage(), &m_colours); })
        .KeyPress(VK_ESCAPE)
        .Do([&] { EXPECT_TRUE(::IsWindow(m_sheet.m_hWnd)); })
        .Do([&] { m_colours.m_bValid = TRUE; })
        .KeyPress(VK_RETURN);
    EXPECT_EQ(m_sheet.DoModal(), IDOK);
    EXPECT_EQ(m_log, (Log{"link kill active", "link apply (OK)", "colours apply (OK)",
                          "colours set active", "colours query cancel", "colours kill active",
                          "link apply (OK)", "colours apply (OK)"}));
}

TEST_F(PropertySheetTest, TabMovesThroughThePagesControlsAsThroughTheSheets)
{
    std::vector<int> focus; // the ids of the controls the focus went to
    const auto note = [&] { focus.push_back(::GetDlgCtrlID(::GetFocus())); };
    m_harness.Script()
        .Do([&] { ::SetFocus(::GetDlgItem(m_link.m_hWnd, IDC_DESCRIPTION)); })
        .KeyPress(VK_TAB)
        .Do(note)
        .KeyPress(VK_TAB)
        .Do(note)
        .KeyPress(VK_TAB)
        .Do(note)
        .Key(VK_SHIFT, true)
        .KeyPress(VK_TAB)
        .KeyPress(VK_TAB)
        .Key(VK_SHIFT, false)
        .Do(note)
        .KeyPress(VK_ESCAPE);
    EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
    ASSERT_EQ(focus.size(), 4U);
    EXPECT_EQ(focus[0], IDC_TARGET) << "from the page's first edit to its second";
    EXPECT_EQ(focus[1], AFX_IDC_TAB_CONTROL) << "then on to the sheet's";
    EXPECT_EQ(focus[2], IDOK);
    EXPECT_EQ(focus[3], IDC_TARGET) << "and back into the page";
}

TEST_F(PropertySheetTest, ControlTabTurnsThePagesRoundBothWays)
{
    std::vector<int> active;
    const auto note = [&] { active.push_back(m_sheet.GetActiveIndex()); };
    m_harness.Script()
        .Key(VK_CONTROL, true)
        .KeyPress(VK_TAB)
        .Do(note)
        .KeyPress(VK_TAB)
        .Do(note)
        .Key(VK_SHIFT, true)
        .KeyPress(VK_TAB)
        .Key(VK_SHIFT, false)
        .Do(note)
        .KeyPress(VK_PRIOR)
        .Do(note)
        .Key(VK_CONTROL, false)
        .Do([&] { m_link.m_bLetGo = FALSE; })
        .Key(VK_CONTROL, true)
        .KeyPress(VK_NEXT)
        .Key(VK_CONTROL, false)
        .Do(note)
        .Do([&] { m_link.m_bLetGo = TRUE; })
        .KeyPress(VK_ESCAPE);
    EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
    // A page that will not let go keeps the front here too.
    EXPECT_EQ(active, (std::vector<int>{1, 0, 1, 0, 0}));
    EXPECT_EQ(m_sheet.GetTabControl(), nullptr);
}

TEST_F(PropertySheetTest, TheSheetIsSizedToItsLargestPageAndShowsItsTabsAndButtons)
{
    SetModalAnswerHook(
        [](const ModalRequest& request) -> std::optional<INT_PTR> {
            return request.caption == "URL Properties" ? std::nullopt : std::optional<INT_PTR>(-2);
        });
    m_harness.Script()
        .Do(
            [&]
            {
                m_sheet.UpdateWindow();
                SaveWindowPicture(m_sheet.m_hWnd,
                                  (testing::TempDir() + "property-sheet.bmp").c_str());
                CRect page;
                m_link.GetWindowRect(&page);
                CRect tab;
                m_sheet.GetTabControl()->GetWindowRect(&tab);
                CRect ok;
                ::GetWindowRect(::GetDlgItem(m_sheet.m_hWnd, IDOK), &ok);
                CRect units(0, 0, 210, 60);
                m_link.MapDialogRect(&units);
                EXPECT_EQ(page.Size(), units.Size());
                EXPECT_TRUE(tab.PtInRect(page.TopLeft()) &&
                            tab.PtInRect(page.BottomRight() - CSize(1, 1)));
                EXPECT_GE(ok.top, tab.bottom);
            })
        .KeyPress(VK_ESCAPE);
    EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(GetModalRequests().back().caption, "URL Properties");
}
} // namespace
