// Raw input: queueing from the backend and routing to windows when a loop
// retrieves it.
#include "InputState.h"

#include "DisplayBackend.h"

#include "KeyboardLayout.h"
#include "Timers.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinSysMetrics.h"
#include "WinWindow.h"
#include "WindowTree.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{
UINT ButtonVirtKey(enMouseButton button)
{
    switch (button)
    {
    case enMouseButton::Right:
        return VK_RBUTTON;
    case enMouseButton::Middle:
        return VK_MBUTTON;
    default:
        return VK_LBUTTON;
    }
}

// WM_LBUTTONDOWN, WM_RBUTTONDOWN or WM_MBUTTONDOWN; up is +1, double click +2.
UINT ButtonDownMessage(enMouseButton button, bool bNonClient)
{
    const UINT offset = button == enMouseButton::Left ? 0 : button == enMouseButton::Right ? 3 : 6;
    return (bNonClient ? WM_NCLBUTTONDOWN : WM_LBUTTONDOWN) + offset;
}

void ClipPoint(POINT& pt)
{
    const InputState& state = InputState::Get();
    const RECT bounds = state.bClip ? state.rcClip : WindowTree::Get().GetDesktop().rcWindow;
    pt.x = std::clamp<LONG>(pt.x, bounds.left, bounds.right - 1);
    pt.y = std::clamp<LONG>(pt.y, bounds.top, bounds.bottom - 1);
}

HitTestResult HitTestChildren(WindowData& parent, POINT ptScreen)
{
    for (const auto& holder : parent.children)
    {
        WindowData& child = *holder;
        if ((child.dwStyle & WS_VISIBLE) == 0 || !IsEnabledWindow(child))
            continue;
        const RECT rcWindow = GetScreenWindowRect(child);
        if (!PtInRect(&rcWindow, ptScreen))
            continue;
        const RECT rcClient = GetScreenClientRect(child);
        if (PtInRect(&rcClient, ptScreen))
        {
            const HitTestResult below = HitTestChildren(child, ptScreen);
            if (below.hWnd != nullptr)
                return below;
        }
        const HWND hChild = child.hWnd;
        const int nHit = static_cast<int>(static_cast<SHORT>(
            SendMessageA(hChild, WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y))));
        if (nHit == HTTRANSPARENT || FindWindowData(hChild) == nullptr)
            continue;
        return HitTestResult{hChild, nHit};
    }
    return HitTestResult{};
}

bool IsDoubleClick(const InputState::LastPress& last, enMouseButton button, HWND hWnd, DWORD dwTime,
                   POINT pt)
{
    return last.bValid && last.button == button && last.hWnd == hWnd &&
           dwTime - last.dwTime <= GetDoubleClickTime() &&
           std::abs(pt.x - last.pt.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           std::abs(pt.y - last.pt.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

// Sends WM_MOUSEACTIVATE for a press; false when the answer eats the press.
bool ActivateForPress(HWND hTarget, int nHit, UINT nMsg)
{
    WindowData* target = FindWindowData(hTarget);
    if (target == nullptr)
        return false;
    WindowData& top = GetTopLevelOf(*target);
    const HWND hTop = top.hWnd;
    if (!target->IsChildStyle() && hTop == InputState::Get().hActive)
        return true;
    const LRESULT answer = SendMessageA(hTarget, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(hTop),
                                        MAKELPARAM(nHit, nMsg));
    if ((answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) &&
        InputState::Get().hActive != hTop && IsWindow(hTop))
        SetActiveWindow(hTop);
    return answer != MA_ACTIVATEANDEAT && answer != MA_NOACTIVATEANDEAT;
}

bool RouteWheel(const RawInputEvent& event, MSG& msg)
{
    const InputState& state = InputState::Get();
    const HWND hTarget = state.hFocus != nullptr ? state.hFocus : state.hActive;
    if (!IsWindow(hTarget))
        return false;
    msg.hwnd = hTarget;
    msg.message = WM_MOUSEWHEEL;
    msg.wParam = MAKEWPARAM(event.nKeyFlags, event.nDelta);
    msg.lParam = MAKELPARAM(event.pt.x, event.pt.y);
    return true;
}

bool RouteMouse(const RawInputEvent& event, bool bRemove, MSG& msg)
{
    InputState& state = InputState::Get();
    HWND hTarget = state.hCapture;
    int nHit = HTCLIENT;
    const bool bCaptured = IsWindow(hTarget);
    if (!bCaptured)
    {
        const HitTestResult hit = HitTestScreenPoint(event.pt);
        hTarget = hit.hWnd;
        nHit = hit.nHit;
    }
    if (hTarget == nullptr || nHit == HTNOWHERE || nHit == HTERROR)
        return false;
    const bool bNonClient = nHit != HTCLIENT;
    const bool bMove = event.kind == RawInputEvent::enKind::MouseMove;
    UINT nMsg = bMove ? (bNonClient ? WM_NCMOUSEMOVE : WM_MOUSEMOVE)
                      : ButtonDownMessage(event.button, bNonClient) + (event.bDown ? 0 : 1);
    if (bRemove)
    {
        if (!bMove)
            ApplyKeyChange(state.syncKeys, ButtonVirtKey(event.button), event.bDown);
        if (!bCaptured)
        {
            if (!bMove && event.bDown && !ActivateForPress(hTarget, nHit, nMsg))
                return false;
            if (!IsWindow(hTarget))
                return false;
            SendMessageA(hTarget, WM_SETCURSOR, reinterpret_cast<WPARAM>(hTarget),
                         MAKELPARAM(nHit, nMsg));
        }
        if (!bMove && event.bDown)
        {
            const WindowData* target = FindWindowData(hTarget);
            const bool bWantsDouble =
                target != nullptr && (bNonClient || (target->pClass->nStyle & CS_DBLCLKS) != 0);
            if (bWantsDouble &&
                IsDoubleClick(state.lastPress, event.button, hTarget, event.dwTime, event.pt))
            {
                nMsg += 2;
                state.lastPress.bValid = false;
            }
            else
            {
                state.lastPress =
                    InputState::LastPress{true, event.button, hTarget, event.dwTime, event.pt};
            }
        }
        if (!IsWindow(hTarget))
            return false;
    }
    msg.hwnd = hTarget;
    msg.message = nMsg;
    if (bNonClient)
    {
        msg.wParam = static_cast<WPARAM>(nHit);
        msg.lParam = MAKELPARAM(event.pt.x, event.pt.y);
    }
    else
    {
        POINT client = event.pt;
        ScreenToClient(hTarget, &client);
        msg.wParam = event.nKeyFlags;
        msg.lParam = MAKELPARAM(client.x, client.y);
    }
    return true;
}

bool RouteKey(const RawInputEvent& event, bool bRemove, MSG& msg)
{
    InputState& state = InputState::Get();
    if (bRemove)
        ApplyKeyChange(state.syncKeys, event.nVirtKey, event.bDown);
    const HWND hTarget = state.hFocus != nullptr ? state.hFocus : state.hActive;
    if (!IsWindow(hTarget))
        return false;
    const UINT nVirtKey = GetGenericVirtKey(event.nVirtKey);
    const bool bAlt = (state.syncKeys[VK_MENU] & 0x80) != 0 || nVirtKey == VK_MENU;
    const bool bCtrl = (state.syncKeys[VK_CONTROL] & 0x80) != 0;
    const bool bSystem = (bAlt && !bCtrl) || nVirtKey == VK_F10;
    DWORD flags = 1 | (DWORD(event.nScanCode) << 16);
    if (event.bExtended)
        flags |= 1UL << 24;
    if (bSystem && bAlt)
        flags |= 1UL << 29;
    if (event.bWasDown)
        flags |= 1UL << 30;
    if (!event.bDown)
        flags |= 1UL << 31;
    msg.hwnd = hTarget;
    msg.message =
        event.bDown ? (bSystem ? WM_SYSKEYDOWN : WM_KEYDOWN) : (bSystem ? WM_SYSKEYUP : WM_KEYUP);
    msg.wParam = nVirtKey;
    msg.lParam = static_cast<LPARAM>(flags);
    if (bRemove && event.bDown)
        state.lastTyped = InputState::TypedText{event.bHasText, msg, event.text};
    return true;
}

void QueueEvent(RawInputEvent event)
{
    event.dwTime = static_cast<DWORD>(GetClockMs());
    event.nKeyFlags = GetMouseKeyFlags(InputState::Get().asyncKeys);
    MessageQueue::Get().QueueInput(event);
}
} // namespace

InputState& InputState::Get()
{
    static InputState state;
    return state;
}

void InputState::Reset()
{
    *this = InputState{};
}

void ApplyKeyChange(BYTE* keys, UINT nVirtKey, bool bDown)
{
    nVirtKey &= 0xFF;
    if (bDown && (keys[nVirtKey] & 0x80) == 0)
        keys[nVirtKey] ^= 0x01;
    keys[nVirtKey] = static_cast<BYTE>((keys[nVirtKey] & 0x01) | (bDown ? 0x80 : 0));
    const UINT nGeneric = GetGenericVirtKey(nVirtKey);
    if (nGeneric == nVirtKey)
        return;
    const UINT nLeft = nGeneric == VK_SHIFT     ? VK_LSHIFT
                       : nGeneric == VK_CONTROL ? VK_LCONTROL
                                                : VK_LMENU;
    const bool bAnyDown = ((keys[nLeft] | keys[nLeft + 1]) & 0x80) != 0;
    if (bAnyDown && (keys[nGeneric] & 0x80) == 0)
        keys[nGeneric] ^= 0x01;
    keys[nGeneric] = static_cast<BYTE>((keys[nGeneric] & 0x01) | (bAnyDown ? 0x80 : 0));
}

WORD GetMouseKeyFlags(const BYTE* keys)
{
    WORD flags = 0;
    if (keys[VK_LBUTTON] & 0x80)
        flags |= MK_LBUTTON;
    if (keys[VK_RBUTTON] & 0x80)
        flags |= MK_RBUTTON;
    if (keys[VK_MBUTTON] & 0x80)
        flags |= MK_MBUTTON;
    if (keys[VK_SHIFT] & 0x80)
        flags |= MK_SHIFT;
    if (keys[VK_CONTROL] & 0x80)
        flags |= MK_CONTROL;
    return flags;
}

bool RouteInputEvent(const RawInputEvent& event, bool bRemove, MSG& msg)
{
    msg = MSG{};
    msg.time = event.dwTime;
    msg.pt = event.pt;
    switch (event.kind)
    {
    case RawInputEvent::enKind::Key:
        return RouteKey(event, bRemove, msg);
    case RawInputEvent::enKind::MouseWheel:
        return RouteWheel(event, msg);
    default:
        return RouteMouse(event, bRemove, msg);
    }
}

HitTestResult HitTestScreenPoint(POINT ptScreen)
{
    return HitTestChildren(WindowTree::Get().GetDesktop(), ptScreen);
}

void UserQueueMouseMove(POINT ptScreen)
{
    ClipPoint(ptScreen);
    InputState::Get().ptCursor = ptScreen;
    RawInputEvent event;
    event.kind = RawInputEvent::enKind::MouseMove;
    event.pt = ptScreen;
    QueueEvent(event);
}

void UserQueueMouseButton(enMouseButton button, bool bDown, POINT ptScreen)
{
    ClipPoint(ptScreen);
    InputState& state = InputState::Get();
    state.ptCursor = ptScreen;
    ApplyKeyChange(state.asyncKeys, ButtonVirtKey(button), bDown);
    RawInputEvent event;
    event.kind = RawInputEvent::enKind::MouseButton;
    event.button = button;
    event.bDown = bDown;
    event.pt = ptScreen;
    QueueEvent(event);
}

void UserQueueMouseWheel(int nDelta, POINT ptScreen)
{
    RawInputEvent event;
    event.kind = RawInputEvent::enKind::MouseWheel;
    event.nDelta = nDelta;
    event.pt = ptScreen;
    QueueEvent(event);
}

void UserQueueKey(UINT nVirtKey, bool bDown)
{
    // A generic modifier stands for its left key.
    if (nVirtKey == VK_SHIFT)
        nVirtKey = VK_LSHIFT;
    else if (nVirtKey == VK_CONTROL)
        nVirtKey = VK_LCONTROL;
    else if (nVirtKey == VK_MENU)
        nVirtKey = VK_LMENU;
    const KeyScanInfo scan = GetKeyScanInfo(nVirtKey);
    UserQueueKeyStroke(nVirtKey, bDown, KeyStroke{scan.nScanCode, scan.bExtended, nullptr});
}

void UserQueueKeyStroke(UINT nVirtKey, bool bDown, const KeyStroke& stroke)
{
    InputState& state = InputState::Get();
    RawInputEvent event;
    event.kind = RawInputEvent::enKind::Key;
    event.nVirtKey = nVirtKey & 0xFF;
    event.bDown = bDown;
    event.bWasDown = (state.asyncKeys[event.nVirtKey] & 0x80) != 0;
    event.nScanCode = stroke.nScanCode;
    event.bExtended = stroke.bExtended;
    event.bHasText = stroke.pszText != nullptr;
    if (event.bHasText)
        event.text = stroke.pszText;
    ApplyKeyChange(state.asyncKeys, event.nVirtKey, bDown);
    QueueEvent(event);
}

bool FindTypedText(const MSG& msg, std::string& text)
{
    const InputState::TypedText& typed = InputState::Get().lastTyped;
    if (!typed.bValid || typed.msg.hwnd != msg.hwnd || typed.msg.message != msg.message ||
        typed.msg.wParam != msg.wParam || typed.msg.lParam != msg.lParam ||
        typed.msg.time != msg.time)
        return false;
    text = typed.text;
    return true;
}

void UserResetInput()
{
    MessageQueue::Get().ClearInput();
    InputState::Get().Reset();
}

SHORT GetKeyState(int virtKey)
{
    const BYTE key = InputState::Get().syncKeys[virtKey & 0xFF];
    return static_cast<SHORT>(((key & 0x80) ? 0xFF80 : 0) | (key & 0x01));
}

SHORT GetAsyncKeyState(int virtKey)
{
    bool bDown = false;
    if (!GetDisplayBackend().QueryKeyDown(static_cast<UINT>(virtKey & 0xFF), bDown))
        bDown = (InputState::Get().asyncKeys[virtKey & 0xFF] & 0x80) != 0;
    return static_cast<SHORT>(bDown ? 0x8000 : 0);
}

BOOL GetKeyboardState(LPBYTE keyState)
{
    if (keyState == nullptr)
        return FALSE;
    std::memcpy(keyState, InputState::Get().syncKeys, 256);
    return TRUE;
}

BOOL GetCursorPos(LPPOINT point)
{
    if (point == nullptr)
        return FALSE;
    if (!GetDisplayBackend().QueryCursorPos(*point))
        *point = InputState::Get().ptCursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y)
{
    UserQueueMouseMove(POINT{x, y});
    return TRUE;
}

BOOL ClipCursor(const RECT* rect)
{
    InputState& state = InputState::Get();
    state.bClip = rect != nullptr;
    if (rect != nullptr)
    {
        // Kept on the screen and at least one pixel large, so the cursor
        // always has a place inside it.
        const RECT desk = WindowTree::Get().GetDesktop().rcWindow;
        RECT& clip = state.rcClip;
        clip.left = std::clamp<LONG>(std::min(rect->left, rect->right), desk.left, desk.right - 1);
        clip.top = std::clamp<LONG>(std::min(rect->top, rect->bottom), desk.top, desk.bottom - 1);
        clip.right = std::clamp<LONG>(std::max(rect->left, rect->right), clip.left + 1, desk.right);
        clip.bottom =
            std::clamp<LONG>(std::max(rect->top, rect->bottom), clip.top + 1, desk.bottom);
        ClipPoint(state.ptCursor);
    }
    return TRUE;
}

BOOL GetClipCursor(LPRECT rect)
{
    if (rect == nullptr)
        return FALSE;
    const InputState& state = InputState::Get();
    *rect = state.bClip ? state.rcClip : WindowTree::Get().GetDesktop().rcWindow;
    return TRUE;
}

UINT GetDoubleClickTime()
{
    return 500;
}
