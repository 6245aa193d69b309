// Creation and destruction of windows.
#include "Caret.h"
#include "DisplayBackend.h"
#include "InputState.h"
#include "MessageQueue.h"
#include "OtherProgramWindows.h"
#include "Painting.h"
#include "Timers.h"
#include "WinError.h"
#include "WinInput.h"
#include "WinMenu.h"
#include "WinMessageQueue.h"
#include "WinPaint.h"
#include "WinSysMetrics.h"
#include "WinWindow.h"
#include "WindowHooks.h"
#include "WindowTree.h"

#include <algorithm>

namespace
{
struct CreateGeometry
{
    int x;
    int y;
    int cx;
    int cy;
};

CreateGeometry ResolveDefaults(int x, int y, int cx, int cy, bool bChild)
{
    if (x == CW_USEDEFAULT)
    {
        x = bChild ? 0 : 100;
        y = bChild ? 0 : 100;
    }
    if (cx == CW_USEDEFAULT)
    {
        cx = bChild ? 0 : GetSystemMetrics(SM_CXSCREEN) * 3 / 4;
        cy = bChild ? 0 : GetSystemMetrics(SM_CYSCREEN) * 3 / 4;
    }
    return CreateGeometry{x, y, std::max(cx, 0), std::max(cy, 0)};
}

// Takes a window that never finished creation out of the tree silently.
void DiscardWindow(HWND hWnd)
{
    if (IsWindow(hWnd))
        DestroyWindow(hWnd);
}

void SendDestroyMessages(HWND hWnd)
{
    SendMessageA(hWnd, WM_DESTROY, 0, 0);
    const WindowData* window = FindWindowData(hWnd);
    if (window == nullptr)
        return;
    for (HWND hChild : GetChildHandles(*window))
    {
        if (WindowData* child = FindWindowData(hChild))
        {
            child->bDestroying = true;
            SendDestroyMessages(hChild);
        }
    }
}

void Finalize(HWND hWnd)
{
    WindowData* window = FindWindowData(hWnd);
    if (window == nullptr)
        return;
    const bool bTopLevel = IsTopLevel(*window);
    // A window's menu bar goes with it.
    if (const auto hMenu = reinterpret_cast<HMENU>(window->nIdOrMenu); bTopLevel && IsMenu(hMenu))
        DestroyMenu(hMenu);
    TimerTable::Get().KillWindowTimers(hWnd);
    DropCaretOf(hWnd);
    UnlinkFromParent(*window);
    WindowTree::Get().Remove(hWnd);
    if (bTopLevel)
        GetDisplayBackend().OnTopLevelDestroyed(hWnd);
}

void SendNcDestroyMessages(HWND hWnd)
{
    const WindowData* window = FindWindowData(hWnd);
    if (window == nullptr)
        return;
    for (HWND hChild : GetChildHandles(*window))
        SendNcDestroyMessages(hChild);
    if (FindWindowData(hWnd) == nullptr)
        return;
    SendMessageA(hWnd, WM_NCDESTROY, 0, 0);
    Finalize(hWnd);
}

void ActivateAnotherThan(const WindowData& window)
{
    if (GetActiveWindow() != window.hWnd)
        return;
    HWND hNext = IsWindow(window.hOwner) ? window.hOwner : nullptr;
    for (const auto& top : WindowTree::Get().GetDesktop().children)
    {
        if (hNext != nullptr)
            break;
        if (top.get() != &window && (top->dwStyle & WS_VISIBLE) && IsEnabledWindow(*top))
            hNext = top->hWnd;
    }
    SetActiveWindow(hNext);
}

void HideForDestruction(WindowData& window)
{
    if ((window.dwStyle & WS_VISIBLE) == 0)
        return;
    window.dwStyle &= ~WS_VISIBLE;
    if (IsTopLevel(window))
        GetDisplayBackend().OnTopLevelShown(window.hWnd, false);
    else
        InvalidateParentArea(*window.pParent, Region(window.rcWindow));
}
} // namespace

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                     LPVOID param)
{
    const std::shared_ptr<WindowClassData> windowClass =
        WindowClassTable::Get().Find(className, hInstance);
    if (windowClass == nullptr)
    {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    WindowTree& tree = WindowTree::Get();
    const bool bChild = (style & WS_CHILD) != 0;
    WindowData* parent = &tree.GetDesktop();
    HWND hOwner = nullptr;
    if (bChild)
    {
        parent = FindWindowData(hWndParent);
        if (parent == nullptr)
        {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
    }
    else if (WindowData* owner = FindWindowData(hWndParent); owner != nullptr && !IsDesktop(*owner))
    {
        hOwner = GetTopLevelOf(*owner).hWnd;
    }
    const CreateGeometry geometry = ResolveDefaults(x, y, width, height, bChild);
    auto window = std::make_shared<WindowData>();
    window->pClass = windowClass;
    window->dwStyle = style & ~WS_VISIBLE;
    if (!bChild && (style & WS_POPUP) == 0)
        window->dwStyle |= WS_CLIPSIBLINGS | WS_CAPTION;
    HWND hWnd = bChild ? nullptr
                       : GetDisplayBackend().CreateTopLevelHandle(window->dwStyle, exStyle, hOwner);
    if (hWnd == nullptr || FindWindowData(hWnd) != nullptr)
        hWnd = tree.AllocateHandle();
    window->hWnd = hWnd;
    window->dwExStyle = exStyle;
    window->hOwner = hOwner;
    window->wndProc = windowClass->wndProc;
    window->hInstance = hInstance;
    window->nIdOrMenu = reinterpret_cast<UINT_PTR>(hMenu);
    window->extraBytes.assign(std::size_t(windowClass->cbWndExtra), 0);
    window->rcWindow =
        RECT{geometry.x, geometry.y, geometry.x + geometry.cx, geometry.y + geometry.cy};
    window->rcClient = RECT{0, 0, geometry.cx, geometry.cy};
    if (!bChild)
    {
        window->pSurface = std::make_unique<WindowSurface>();
        window->pSurface->Resize(geometry.cx, geometry.cy);
    }
    tree.Add(window);
    LinkToParent(*window, *parent, window, HWND_TOP);

    CREATESTRUCTA cs{param,      hInstance,   hMenu,
                     hWndParent, geometry.cy, geometry.cx,
                     geometry.y, geometry.x,  static_cast<LONG>(style),
                     windowName, className,   exStyle};
    CBT_CREATEWNDA cbt{&cs, HWND_TOP};
    if (CallCbtHooks(HCBT_CREATEWND, reinterpret_cast<WPARAM>(hWnd),
                     reinterpret_cast<LPARAM>(&cbt)) != 0)
    {
        DiscardWindow(hWnd);
        return nullptr;
    }
    if (!bChild)
        GetDisplayBackend().OnTopLevelCreated(hWnd);
    // Only the caller's own copy of CREATESTRUCT reaches the handlers: what
    // they change in it does not change the window.
    CREATESTRUCTA csForHandlers = cs;
    if (!SendMessageA(hWnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&csForHandlers)))
    {
        DiscardWindow(hWnd);
        return nullptr;
    }
    if (WindowData* created = FindWindowData(hWnd))
    {
        RECT rcClient = created->rcWindow;
        SendMessageA(hWnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rcClient));
        if ((created = FindWindowData(hWnd)) != nullptr)
        {
            OffsetRect(&rcClient, -created->rcWindow.left, -created->rcWindow.top);
            created->rcClient = rcClient;
        }
    }
    csForHandlers = cs;
    if (!IsWindow(hWnd) ||
        SendMessageA(hWnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&csForHandlers)) == -1)
    {
        DiscardWindow(hWnd);
        return nullptr;
    }
    if (const WindowData* created = FindWindowData(hWnd))
    {
        const RECT client = created->GetClientRectLocal();
        const POINT origin{created->rcWindow.left + created->rcClient.left,
                           created->rcWindow.top + created->rcClient.top};
        SendMessageA(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
        SendMessageA(hWnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
    }
    if (IsWindow(hWnd) && (style & WS_VISIBLE))
    {
        const int nShow = (style & WS_MAXIMIZE)   ? SW_SHOWMAXIMIZED
                          : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                                                  : SW_SHOW;
        if (bChild)
            SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                         SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        else
            ShowWindow(hWnd, nShow);
    }
    return IsWindow(hWnd) ? hWnd : nullptr;
}

BOOL DestroyWindow(HWND hWnd)
{
    const std::shared_ptr<WindowData> window = WindowTree::Get().Hold(hWnd);
    if (window == nullptr || IsDesktop(*window))
    {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (window->bDestroying)
        return FALSE;
    if (CallCbtHooks(HCBT_DESTROYWND, reinterpret_cast<WPARAM>(hWnd), 0) != 0)
        return FALSE;
    window->bDestroying = true;
    if (IsTopLevel(*window))
    {
        std::vector<HWND> owned;
        for (const auto& top : WindowTree::Get().GetDesktop().children)
        {
            if (top->hOwner == hWnd)
                owned.push_back(top->hWnd);
        }
        for (HWND hOwned : owned)
            DestroyWindow(hOwned);
    }
    CancelCaptureInside(*window);
    MoveFocusOutOf(*window, true);
    HideForDestruction(*window);
    if (IsTopLevel(*window))
        ActivateAnotherThan(*window);
    SendDestroyMessages(hWnd);
    SendNcDestroyMessages(hWnd);
    return TRUE;
}

BOOL IsWindow(HWND hWnd)
{
    return FindWindowData(hWnd) != nullptr || AsForeignWindow(hWnd) != nullptr;
}

void UserDestroyAllWindows()
{
    std::vector<HWND> tops;
    for (const auto& top : WindowTree::Get().GetDesktop().children)
        tops.push_back(top->hWnd);
    for (HWND hTop : tops)
        DestroyWindow(hTop);
    LockWindowUpdate(nullptr);
    MessageQueue::Get().Clear();
    TimerTable::Get().Clear();
    InputState::Get().Reset();
}
