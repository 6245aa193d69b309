// The viewer program started in the test's process, headless: the
// application object with the view class the test chooses, its main frame
// and view, idle updates on demand, and the state of menu items and toolbar
// buttons as a user would find them.
#pragma once

#include "../platform/FailOnBlockHarness.h"
#include "AfxMenu.h"
#include "MainFrm.h"
#include "ModalAnswers.h"
#include "PelivoRunApp.h"
#include "PelivoRunResources.h"
#include "WinProfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

// The profile in memory for a test.
class CScopedProgramProfile
{
public:
    CScopedProgramProfile()
    {
        CProfileStore::SetInMemory(true);
        CProfileStore::ClearMemory();
    }
    ~CScopedProgramProfile()
    {
        CProfileStore::ClearMemory();
        CProfileStore::SetInMemory(false);
    }
    CScopedProgramProfile(const CScopedProgramProfile&) = delete;
    CScopedProgramProfile& operator=(const CScopedProgramProfile&) = delete;
};

template <class TView> class ProgramTest : public testing::Test
{
protected:
    // The program's arguments after its own name.
    explicit ProgramTest(std::vector<std::string> arguments = {})
        : m_app(WithProgramName(std::move(arguments)), RUNTIME_CLASS(TView), InstanceName())
    {
    }
    // The tests of other checkouts may run at the same time on the machine.
    static std::string InstanceName()
    {
        return CPelivoRunApp::GetSingleInstanceName() + "." + std::to_string(::getpid());
    }
    static std::vector<std::string> WithProgramName(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), "PelivoRunTests");
        return arguments;
    }

    void SetUp() override
    {
        ASSERT_TRUE(m_app.InitInstance());
        m_pFrame = dynamic_cast<CMainFrame*>(m_app.m_pMainWnd);
        ASSERT_NE(m_pFrame, nullptr);
        m_pView = dynamic_cast<TView*>(m_pFrame->GetActiveView());
        ASSERT_NE(m_pView, nullptr);
        m_pFrame->MoveWindow(0, 0, 900, 700);
        Idle();
    }

    void TearDown() override
    {
        SetModalAnswerHook(nullptr);
        m_app.ExitInstance();
    }

    void Idle()
    {
        m_harness.PumpPending();
        m_app.OnIdle(0);
        m_harness.PumpPending();
    }

    void Command(UINT nID) { m_pFrame->SendMessage(WM_COMMAND, nID); }

    // The popup of the main menu holding the command.
    CMenu* PopupOf(UINT nID) { return CMenu::FindPopupMenuFromID(m_pFrame->GetMenu(), nID); }

    // The menu item's state after its popup was opened, as a user sees it.
    UINT MenuState(UINT nID)
    {
        CMenu* pPopup = PopupOf(nID);
        if (pPopup == nullptr)
            return 0xFFFFFFFF;
        m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pPopup->m_hMenu), 0);
        return pPopup->GetMenuState(nID, MF_BYCOMMAND);
    }
    bool IsMenuEnabled(UINT nID) { return (MenuState(nID) & MF_GRAYED) == 0; }
    bool IsMenuChecked(UINT nID) { return (MenuState(nID) & MF_CHECKED) != 0; }
    // The check mark as the last command left it, without an update.
    bool IsMarked(UINT nID)
    {
        CMenu* pPopup = PopupOf(nID);
        return pPopup != nullptr && (pPopup->GetMenuState(nID, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    bool IsButtonEnabled(UINT nID)
    {
        Idle();
        return m_pFrame->GetToolBar().SendMessage(TB_ISBUTTONENABLED, nID) != 0;
    }
    CString PaneText(int nIndex) { return m_pFrame->GetStatusBar().GetPaneText(nIndex); }
    CString Title()
    {
        CString strTitle;
        m_pFrame->GetWindowText(strTitle);
        return strTitle;
    }

    CScopedProgramProfile m_profile;
    CFailOnBlockHarness m_harness;
    CPelivoRunApp m_app;
    CMainFrame* m_pFrame = nullptr;
    TView* m_pView = nullptr;
};

inline std::string CorpusFile(const char* pszName)
{
    return (std::filesystem::path(SUITE_CORPUS_DIR) / pszName).string();
}
