// Mouse capture, keyboard focus and the active top-level window.
#include "InputState.h"

#include "DisplayBackend.h"
#include "OtherProgramWindows.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"
#include "WindowTree.h"

namespace
{
HWND TopLevelHandle(HWND hWnd)
{
    WindowData* window = FindWindowData(hWnd);
    return window != nullptr && !IsDesktop(*window) ? GetTopLevelOf(*window).hWnd : nullptr;
}

bool IsInside(HWND hWnd, const WindowData& container)
{
    const WindowData* window = FindWindowData(hWnd);
    return window != nullptr && (window == &container || IsAncestorOf(container, *window));
}

// Every owner up the chain learns that this window was active last; the
// window itself was active after any popup it owns.
void RememberActivePopup(HWND hTop)
{
    WindowData* window = FindWindowData(hTop);
    if (window == nullptr)
        return;
    window->hLastActivePopup = nullptr;
    for (WindowData* owner = FindWindowData(window->hOwner); owner != nullptr && owner != window;
         owner = FindWindowData(owner->hOwner))
        owner->hLastActivePopup = hTop;
}

// A top-level window losing the focus keeps the child that had it, for its
// next activation to give it back.
void RememberFocusOf(WindowData& top)
{
    const HWND hFocus = GetFocus();
    if (hFocus != nullptr && IsInside(hFocus, top))
        top.hLastFocus = hFocus != top.hWnd ? hFocus : nullptr;
}

bool IsOwnedBy(HWND hWnd, HWND hOwner)
{
    const WindowData* window = FindWindowData(hWnd);
    for (int depth = 0; window != nullptr && depth < 64; ++depth)
    {
        if (window->hOwner == hOwner)
            return true;
        window = FindWindowData(window->hOwner);
    }
    return false;
}
} // namespace

HWND SetCapture(HWND hWnd)
{
    InputState& state = InputState::Get();
    const HWND hPrevious = state.hCapture;
    if (FindWindowChecked(hWnd) == nullptr || hPrevious == hWnd)
        return hPrevious;
    state.hCapture = hWnd;
    GetDisplayBackend().OnCaptureChanged(hWnd);
    if (IsWindow(hPrevious))
        SendMessageA(hPrevious, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return IsWindow(hPrevious) ? hPrevious : nullptr;
}

BOOL ReleaseCapture()
{
    InputState& state = InputState::Get();
    const HWND hPrevious = state.hCapture;
    state.hCapture = nullptr;
    if (hPrevious != nullptr)
        GetDisplayBackend().OnCaptureChanged(nullptr);
    if (IsWindow(hPrevious))
        SendMessageA(hPrevious, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture()
{
    const HWND hCapture = InputState::Get().hCapture;
    return IsWindow(hCapture) ? hCapture : nullptr;
}

HWND SetFocus(HWND hWnd)
{
    InputState& state = InputState::Get();
    const HWND hPrevious = GetFocus();
    if (hWnd != nullptr && FindWindowChecked(hWnd) == nullptr)
        return nullptr;
    if (hWnd == hPrevious)
        return hPrevious;
    if (hWnd != nullptr)
    {
        // Activating the top-level window may move the focus already.
        const HWND hTop = TopLevelHandle(hWnd);
        if (hTop != state.hActive)
            SetActiveWindow(hTop);
        if (!IsWindow(hWnd) || GetFocus() == hWnd)
            return hPrevious;
    }
    const HWND hOld = GetFocus();
    state.hFocus = hWnd;
    if (hOld != nullptr)
        SendMessageA(hOld, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (hWnd != nullptr && state.hFocus == hWnd && IsWindow(hWnd))
        SendMessageA(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(hOld), 0);
    return hPrevious;
}

HWND GetFocus()
{
    const HWND hFocus = InputState::Get().hFocus;
    return IsWindow(hFocus) ? hFocus : nullptr;
}

HWND SetActiveWindow(HWND hWnd)
{
    InputState& state = InputState::Get();
    const HWND hPrevious = IsWindow(state.hActive) ? state.hActive : nullptr;
    const HWND hTop = hWnd != nullptr ? TopLevelHandle(hWnd) : nullptr;
    if (hWnd != nullptr && hTop == nullptr)
        return nullptr;
    if (hTop == hPrevious)
        return hPrevious;
    state.hActive = hTop;
    RememberActivePopup(hTop);
    if (hPrevious != nullptr)
    {
        SendMessageA(hPrevious, WM_NCACTIVATE, FALSE, 0);
        SendMessageA(hPrevious, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(hPrevious)),
                     reinterpret_cast<LPARAM>(hTop));
        WindowData* previous = FindWindowData(hPrevious);
        if (previous != nullptr && state.hFocus != nullptr && IsInside(state.hFocus, *previous))
        {
            RememberFocusOf(*previous);
            SetFocus(nullptr);
        }
    }
    if (hTop != nullptr && state.hActive == hTop && IsWindow(hTop))
    {
        GetDisplayBackend().OnTopLevelActivated(hTop);
        SendMessageA(hTop, WM_NCACTIVATE, TRUE, 0);
        SendMessageA(hTop, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, IsIconic(hTop)),
                     reinterpret_cast<LPARAM>(hPrevious));
    }
    return hPrevious;
}

HWND GetActiveWindow()
{
    const HWND hActive = InputState::Get().hActive;
    return IsWindow(hActive) ? hActive : nullptr;
}

BOOL SetForegroundWindow(HWND hWnd)
{
    if (CForeignWindows* foreign = AsForeignWindow(hWnd))
        return foreign->RequestActivation(hWnd);
    if (FindWindowChecked(hWnd) == nullptr)
        return FALSE;
    SetActiveWindow(hWnd);
    return TRUE;
}

HWND GetForegroundWindow()
{
    return GetActiveWindow();
}

HWND GetLastActivePopup(HWND hWnd)
{
    // Another program finds its own popups when it carries out an activation.
    if (AsForeignWindow(hWnd) != nullptr)
        return hWnd;
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr)
        return nullptr;
    const HWND hPopup = window->hLastActivePopup;
    return hPopup != nullptr && IsWindowVisible(hPopup) && IsOwnedBy(hPopup, hWnd) ? hPopup : hWnd;
}

void CancelCaptureInside(const WindowData& window)
{
    const HWND hCapture = GetCapture();
    if (hCapture == nullptr || !IsInside(hCapture, window))
        return;
    SendMessageA(hCapture, WM_CANCELMODE, 0, 0);
    if (GetCapture() == hCapture)
        ReleaseCapture();
}

void MoveFocusOutOf(const WindowData& window, bool bToParent)
{
    const HWND hFocus = GetFocus();
    if (hFocus == nullptr || !IsInside(hFocus, window))
        return;
    const bool bParent = bToParent && window.IsChildStyle() && window.pParent != nullptr;
    if (!window.IsChildStyle() && !IsDesktop(window))
        RememberFocusOf(*FindWindowData(window.hWnd));
    SetFocus(bParent ? window.pParent->hWnd : nullptr);
}
