// The window calls that accept another program's top-level window, against
// a backend that shows a few made-up windows of other programs.
#include "../DesktopWalk.h"
#include "ForeignWindows.h"
#include "HeadlessBackend.h"
#include "UserTestSupport.h"

#include <map>
#include <string>
#include <vector>

namespace
{
struct FakeOtherWindow
{
    HWND hWnd;
    std::string title;
    std::map<std::string, HANDLE> props;
    bool bMinimized = false;
};

HWND MakeForeignHandle(std::uintptr_t xid)
{
    return reinterpret_cast<HWND>(xid);
}

class CFakeOtherPrograms : public CForeignWindows
{
public:
    std::vector<FakeOtherWindow> windows; // top of the stacking order first
    std::vector<std::string> requests;
    std::vector<std::string> published;
    LRESULT answer = 0;

    std::vector<HWND> GetTopLevelWindows() override
    {
        std::vector<HWND> handles;
        for (const FakeOtherWindow& window : windows)
            handles.push_back(window.hWnd);
        return handles;
    }
    bool Exists(HWND hWnd) override { return Find(hWnd) != nullptr; }
    bool GetText(HWND hWnd, std::string& text) override
    {
        const FakeOtherWindow* window = Find(hWnd);
        text = window != nullptr ? window->title : "";
        return window != nullptr;
    }
    bool GetProp(HWND hWnd, LPCSTR lpszName, HANDLE& hData) override
    {
        const FakeOtherWindow* window = Find(hWnd);
        if (window == nullptr || window->props.count(lpszName) == 0)
            return false;
        hData = window->props.at(lpszName);
        return true;
    }
    bool IsMinimized(HWND hWnd) override { return Find(hWnd) != nullptr && Find(hWnd)->bMinimized; }
    bool RequestShow(HWND hWnd, int nCmdShow) override
    {
        requests.push_back("show " + Name(hWnd) + " " + std::to_string(nCmdShow));
        return true;
    }
    bool RequestActivation(HWND hWnd) override
    {
        requests.push_back("activate " + Name(hWnd));
        return true;
    }
    bool Deliver(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        requests.push_back(std::string(pResult != nullptr ? "send " : "post ") + Name(hWnd) + " " +
                           std::to_string(nMsg) + " " + std::to_string(wParam) + " " +
                           std::to_string(lParam));
        if (pResult != nullptr)
            *pResult = answer;
        return true;
    }
    void OnOwnPropChanged(HWND, LPCSTR lpszName, HANDLE hData, bool bRemoved) override
    {
        published.push_back(std::string(lpszName) +
                            (bRemoved
                                 ? " removed"
                                 : "=" + std::to_string(reinterpret_cast<std::uintptr_t>(hData))));
    }

private:
    FakeOtherWindow* Find(HWND hWnd)
    {
        for (FakeOtherWindow& window : windows)
        {
            if (window.hWnd == hWnd)
                return &window;
        }
        return nullptr;
    }
    std::string Name(HWND hWnd)
    {
        const FakeOtherWindow* window = Find(hWnd);
        return window != nullptr ? window->title : "?";
    }
};

class CSharedDisplayBackend : public CHeadlessBackend
{
public:
    CFakeOtherPrograms others;
    CForeignWindows* GetForeignWindows() override { return &others; }
};

class OtherProgramWindowsTest : public UserTest
{
protected:
    OtherProgramWindowsTest()
    {
        m_backend.others.windows = {
            {MakeForeignHandle(0x00400005), "Editor", {}},
            {MakeForeignHandle(0x00600003), "Dravelo.MainWindow", {{"PELIVO", HANDLE(1)}}, true},
        };
        m_pPrevious = SetDisplayBackend(&m_backend);
    }
    ~OtherProgramWindowsTest() override { SetDisplayBackend(m_pPrevious); }

    HWND Foreign(std::size_t index) const { return m_backend.others.windows[index].hWnd; }

    CSharedDisplayBackend m_backend;
    CDisplayBackend* m_pPrevious = nullptr;
};

TEST_F(OtherProgramWindowsTest, TheDesktopWalkGoesOnIntoOtherProgramsWindows)
{
    EXPECT_EQ(WalkDesktop(), (std::vector<HWND>{Foreign(0), Foreign(1)})) << "no window of ours";
    const HWND hLower = CreateTopLevel({0, 0, 50, 50});
    const HWND hUpper = CreateTopLevel({0, 0, 50, 50});
    EXPECT_EQ(WalkDesktop(), (std::vector<HWND>{hUpper, hLower, Foreign(0), Foreign(1)}));
    EXPECT_EQ(GetWindow(Foreign(0), GW_HWNDPREV), hLower);
    EXPECT_EQ(GetWindow(hUpper, GW_HWNDLAST), Foreign(1));
    EXPECT_EQ(GetWindow(Foreign(1), GW_HWNDFIRST), hUpper);
    EXPECT_EQ(GetWindow(Foreign(0), GW_CHILD), nullptr);

    m_backend.others.windows.erase(m_backend.others.windows.begin());
    EXPECT_FALSE(IsWindow(MakeForeignHandle(0x00400005))) << "closed meanwhile";
    EXPECT_FALSE(IsWindow(MakeForeignHandle(0x00500001)));
}

TEST_F(OtherProgramWindowsTest, TitlesPropertiesAndStateOfAnotherProgramsWindow)
{
    char title[64] = {};
    EXPECT_EQ(GetWindowTextA(Foreign(1), title, sizeof title), 18);
    EXPECT_STREQ(title, "Dravelo.MainWindow");
    EXPECT_EQ(GetWindowTextA(Foreign(1), title, 8), 7);
    EXPECT_STREQ(title, "Dravelo");
    EXPECT_EQ(GetWindowTextLengthA(Foreign(0)), 6);
    EXPECT_EQ(FindWindowA(nullptr, "Dravelo.MainWindow"), Foreign(1));
    EXPECT_EQ(FindWindowA(nullptr, "Dravelo"), nullptr);

    EXPECT_EQ(GetPropA(Foreign(1), "PELIVO"), HANDLE(1));
    EXPECT_EQ(GetPropA(Foreign(0), "PELIVO"), nullptr);
    EXPECT_TRUE(IsIconic(Foreign(1)));
    EXPECT_FALSE(IsIconic(Foreign(0)));
}

TEST_F(OtherProgramWindowsTest, ShowingActivationAndMessagesAreAskedOfTheOwningProgram)
{
    m_backend.others.answer = 77;
    EXPECT_TRUE(ShowWindow(Foreign(1), SW_RESTORE));
    EXPECT_EQ(GetLastActivePopup(Foreign(1)), Foreign(1)) << "its owner knows its popups";
    EXPECT_TRUE(SetForegroundWindow(Foreign(1)));
    EXPECT_EQ(SendMessageA(Foreign(1), WM_USER + 62, 0, 11240), 77);
    EXPECT_TRUE(PostMessageA(Foreign(0), WM_COMMAND, 1020, 0));
    EXPECT_EQ(m_backend.others.requests,
              (std::vector<std::string>{"show Dravelo.MainWindow 9", "activate Dravelo.MainWindow",
                                        "send Dravelo.MainWindow 1086 0 11240",
                                        "post Editor 273 1020 0"}));
}

TEST_F(OtherProgramWindowsTest, PropertiesOfOurTopLevelWindowsAreShownToOtherPrograms)
{
    const HWND hMain = CreateTopLevel({0, 0, 100, 100});
    const HWND hChild = CreateTestWindow(WS_CHILD, hMain, {0, 0, 10, 10});
    SetPropA(hMain, "Pelivo", HANDLE(1));
    SetPropA(hChild, "Pelivo", HANDLE(2));
    SetPropA(hMain, "PELIVO", HANDLE(3));
    RemovePropA(hMain, "Pelivo");
    RemovePropA(hMain, "Pelivo");
    EXPECT_EQ(m_backend.others.published,
              (std::vector<std::string>{"Pelivo=1", "PELIVO=3", "Pelivo removed"}));
}

TEST_F(OtherProgramWindowsTest, AScreenOfThisProcessAloneShowsNoOtherProgram)
{
    SetDisplayBackend(nullptr);
    EXPECT_FALSE(IsWindow(Foreign(0)));
    EXPECT_EQ(GetWindow(GetDesktopWindow(), GW_CHILD), nullptr);
    EXPECT_EQ(SendMessageA(Foreign(0), WM_USER, 0, 0), 0);
    EXPECT_TRUE(m_backend.others.requests.empty());
}

TEST(OtherProgramMessages, OnlyMessagesWithoutPointersCrossProcesses)
{
    const struct
    {
        UINT nMsg;
        bool bCrosses;
    } cases[] = {
        {WM_USER + 62, true}, {WM_USER, true},    {WM_APP + 5, true},   {WM_COMMAND, true},
        {WM_CLOSE, true},     {WM_NULL, true},    {WM_SETTEXT, false},  {WM_GETTEXT, false},
        {WM_PAINT, false},    {WM_NOTIFY, false}, {WM_USER - 1, false}, {0xC001, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CForeignWindows::CanCrossProcesses(c.nMsg), c.bCrosses) << c.nMsg;
}

TEST_F(OtherProgramWindowsTest, TheLastActivePopupIsTheOwnedWindowActiveLast)
{
    const HWND hMain = CreateTopLevel({0, 0, 300, 200}, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    EXPECT_EQ(GetLastActivePopup(hMain), hMain) << "it owns none";
    const HWND hDialog = CreateTestWindow(WS_POPUP | WS_VISIBLE, hMain, {20, 20, 120, 80});
    const HWND hBox = CreateTestWindow(WS_POPUP | WS_VISIBLE, hDialog, {30, 30, 90, 60});
    const HWND hElsewhere = CreateTopLevel({400, 0, 500, 100});
    SetActiveWindow(hDialog);
    SetActiveWindow(hBox);
    SetActiveWindow(hElsewhere);
    EXPECT_EQ(GetLastActivePopup(hMain), hBox) << "also when none of them is active";
    EXPECT_EQ(GetLastActivePopup(hDialog), hBox);
    ShowWindow(hBox, SW_HIDE);
    EXPECT_EQ(GetLastActivePopup(hMain), hMain);
    ShowWindow(hBox, SW_SHOWNA);
    SetActiveWindow(hMain);
    EXPECT_EQ(GetLastActivePopup(hMain), hMain) << "the owner was active after its popups";
}

TEST_F(OtherProgramWindowsTest, AnActivationAskedByAnotherProgramRestoresAndRaisesTheLastPopup)
{
    const HWND hMain = CreateTopLevel({0, 0, 300, 200}, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    const HWND hDialog = CreateTestWindow(WS_POPUP | WS_VISIBLE, hMain, {20, 20, 120, 80});
    const HWND hElsewhere = CreateTopLevel({400, 0, 500, 100});
    SetActiveWindow(hDialog);
    ShowWindow(hMain, SW_MINIMIZE);
    SetActiveWindow(hElsewhere);
    ASSERT_TRUE(IsIconic(hMain));

    UserActivateAtRequest(hMain);
    EXPECT_FALSE(IsIconic(hMain));
    EXPECT_EQ(GetActiveWindow(), hDialog);

    ShowWindow(hMain, SW_MINIMIZE);
    SetActiveWindow(hElsewhere);
    UserShowAtRequest(hMain, SW_RESTORE);
    EXPECT_FALSE(IsIconic(hMain));
    EXPECT_EQ(GetActiveWindow(), hDialog) << "a restore keeps the dialog in front";
}
} // namespace
