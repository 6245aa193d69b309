#include "OtherProgramWindows.h"

#include "DisplayBackend.h"
#include "UserRawInput.h"
#include "WinInput.h"
#include "WinWindow.h"

#include <algorithm>

namespace
{
// Other programs' windows as the desktop walk saw them last: a walk takes
// the list once at its start and steps through it.
std::vector<HWND>& GetWalkList()
{
    static std::vector<HWND> list;
    return list;
}

const std::vector<HWND>& TakeWalkList(CForeignWindows& foreign)
{
    GetWalkList() = foreign.GetTopLevelWindows();
    return GetWalkList();
}

HWND GetLastOwnTopLevel()
{
    const auto& tops = WindowTree::Get().GetDesktop().children;
    return tops.empty() ? nullptr : tops.back()->hWnd;
}

// hWnd is one of the other programs' windows.
HWND StepAmongForeign(CForeignWindows& foreign, HWND hWnd, UINT cmd)
{
    const std::vector<HWND>* list = &GetWalkList();
    if (std::find(list->begin(), list->end(), hWnd) == list->end())
        list = &TakeWalkList(foreign);
    const auto it = std::find(list->begin(), list->end(), hWnd);
    switch (cmd)
    {
    case GW_HWNDNEXT:
        return it != list->end() && it + 1 != list->end() ? *(it + 1) : nullptr;
    case GW_HWNDPREV:
        if (it != list->end() && it != list->begin())
            return *(it - 1);
        return GetLastOwnTopLevel();
    case GW_HWNDFIRST:
        return GetWindow(GetDesktopWindow(), GW_CHILD);
    case GW_HWNDLAST:
        return list->empty() ? nullptr : list->back();
    default:
        return nullptr;
    }
}
} // namespace

CForeignWindows* AsForeignWindow(HWND hWnd)
{
    if (!CForeignWindows::IsDisplayHandle(hWnd) || FindWindowData(hWnd) != nullptr)
        return nullptr;
    CForeignWindows* foreign = GetDisplayBackend().GetForeignWindows();
    return foreign != nullptr && foreign->Exists(hWnd) ? foreign : nullptr;
}

HWND GetDesktopChildAcrossPrograms(HWND hWnd, UINT cmd)
{
    CForeignWindows* foreign = GetDisplayBackend().GetForeignWindows();
    if (foreign == nullptr)
        return nullptr;
    if (FindWindowData(hWnd) == nullptr)
        return StepAmongForeign(*foreign, hWnd, cmd);
    // From this process's last top-level window (or from the desktop when
    // there is none) into the other programs' windows.
    const std::vector<HWND>& list = TakeWalkList(*foreign);
    if (list.empty())
        return nullptr;
    return cmd == GW_HWNDLAST ? list.back() : list.front();
}

void PublishOwnProp(const WindowData& window, LPCSTR lpszName, HANDLE hData, bool bRemoved)
{
    if (!IsTopLevel(window))
        return;
    if (CForeignWindows* foreign = GetDisplayBackend().GetForeignWindows())
        foreign->OnOwnPropChanged(window.hWnd, lpszName, hData, bRemoved);
}

void UserShowAtRequest(HWND hWnd, int nCmdShow)
{
    if (FindWindowData(hWnd) == nullptr)
        return;
    const HWND hPopup = GetLastActivePopup(hWnd);
    ShowWindow(hWnd, nCmdShow);
    // A window restored from outside keeps its dialog in front of it.
    if (hPopup != hWnd && GetActiveWindow() == hWnd)
        SetActiveWindow(hPopup);
}

void UserActivateAtRequest(HWND hWnd)
{
    if (FindWindowData(hWnd) == nullptr)
        return;
    // Taken first: restoring activates the window itself.
    const HWND hPopup = GetLastActivePopup(hWnd);
    if (IsIconic(hWnd))
        ShowWindow(hWnd, SW_RESTORE);
    SetForegroundWindow(hPopup);
}
