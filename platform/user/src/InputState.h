// Input state of the UI thread and the routing of raw input to windows:
// capture, focus, the active window, both keyboard states, the pointer and
// the last press (for double clicks).
#pragma once

#include "MessageQueue.h"

struct WindowData;

class InputState
{
public:
    static InputState& Get();
    void Reset();

    HWND hCapture = nullptr;
    HWND hFocus = nullptr;
    HWND hActive = nullptr;
    POINT ptCursor{0, 0};
    BYTE asyncKeys[256]{};
    BYTE syncKeys[256]{}; // as of the last input message retrieved
    bool bClip = false;
    RECT rcClip{};
    // The key-down message retrieved last and the text the keyboard said it
    // types, for TranslateMessage.
    struct TypedText
    {
        bool bValid = false;
        MSG msg{};
        std::string text;
    } lastTyped;

    struct LastPress
    {
        bool bValid = false;
        enMouseButton button = enMouseButton::Left;
        HWND hWnd = nullptr;
        DWORD dwTime = 0;
        POINT pt{0, 0};
    } lastPress;
};

// Key down or up in a keyboard state: sided keys update their generic one,
// a press toggles the low bit.
void ApplyKeyChange(BYTE* keys, UINT nVirtKey, bool bDown);
// The text a key-down message types, when the keyboard told it: true and the
// text in the ANSI code page, false to fall back on the layout's table.
bool FindTypedText(const MSG& msg, std::string& text);
WORD GetMouseKeyFlags(const BYTE* keys);

// The message a raw event makes now, or false when it makes none. With
// bRemove the event is being taken: WM_MOUSEACTIVATE and WM_SETCURSOR are
// sent, the message-time keyboard state and the double-click record move on.
bool RouteInputEvent(const RawInputEvent& event, bool bRemove, MSG& msg);

struct HitTestResult
{
    HWND hWnd = nullptr;
    int nHit = HTNOWHERE;
};
// The window under a screen point by WM_NCHITTEST: hidden and disabled
// windows and HTTRANSPARENT answers let the point through to what is beneath.
HitTestResult HitTestScreenPoint(POINT ptScreen);

// A window (or an ancestor) being disabled, hidden or destroyed: capture
// inside it is cancelled with WM_CANCELMODE, focus inside it moves out.
void CancelCaptureInside(const WindowData& window);
void MoveFocusOutOf(const WindowData& window, bool bToParent);
