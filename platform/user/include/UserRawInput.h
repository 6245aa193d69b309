// What a display backend (and the test harness) gives the windowing layer:
// raw pointer and keyboard events in screen coordinates, routed to windows
// when a loop retrieves them, and the pictures of windows it reads back.
#pragma once

#include "GdiSurfaceHost.h"
#include "PlatformUIExport.h"
#include "WinUserDefs.h"

#include <cstdint>
#include <vector>

enum class enMouseButton
{
    Left,
    Right,
    Middle,
};

// Each call queues one event stamped with the clock's tick count and moves
// the pointer or changes the keyboard at once (GetAsyncKeyState,
// GetCursorPos). Key codes may be sided (VK_LSHIFT); messages carry VK_SHIFT.
PLATFORMUI_API void UserQueueMouseMove(POINT ptScreen);
PLATFORMUI_API void UserQueueMouseButton(enMouseButton button, bool bDown, POINT ptScreen);
PLATFORMUI_API void UserQueueMouseWheel(int nDelta, POINT ptScreen);
PLATFORMUI_API void UserQueueKey(UINT nVirtKey, bool bDown);
// A key as a real keyboard reports it: its set-1 scan code and extended bit,
// and the text it types in the ANSI code page (null: the layout's table
// decides), which TranslateMessage posts as WM_CHAR, one per byte.
struct KeyStroke
{
    BYTE nScanCode = 0;
    bool bExtended = false;
    const char* pszText = nullptr;
};
PLATFORMUI_API void UserQueueKeyStroke(UINT nVirtKey, bool bDown, const KeyStroke& stroke);
// Another program asked for ShowWindow on a top-level window of this
// process; a popup of it that was active last stays in front of it.
PLATFORMUI_API void UserShowAtRequest(HWND hWnd, int nCmdShow);
// Another program asked for a top-level window of this process to come
// forward: restored when minimised, then its last active popup (or the
// window itself) made the foreground window.
PLATFORMUI_API void UserActivateAtRequest(HWND hWnd);
// Forgets queued input, key states, capture, focus and the pointer position.
PLATFORMUI_API void UserResetInput();

// A window's current pixels, 32-bit BGRX, top row first.
struct WindowPicture
{
    int nWidth = 0;
    int nHeight = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t GetPixel(int x, int y) const { return pixels[std::size_t(y) * nWidth + x]; }
};

// The whole window, or its client area, as drawn in its top-level window's
// surface. FALSE for an invalid window.
PLATFORMUI_API BOOL UserGetWindowPicture(HWND hWnd, bool bClientOnly, WindowPicture& picture);
// The pixels of a top-level window, children drawn in, for a backend that
// shows them; empty for any other window. Valid until the window is
// resized or destroyed.
PLATFORMUI_API GdiSurfaceInfo UserGetTopLevelSurface(HWND hWnd);
// Top-level windows, top of the Z order first.
PLATFORMUI_API std::vector<HWND> UserGetTopLevelWindows();
// The part of a top-level window a display shows, in screen coordinates:
// with bFramed the window less the caption and outer frame that a window
// manager draws in their place (popups have none), else the whole window.
PLATFORMUI_API BOOL UserGetShownRect(HWND hWnd, bool bFramed, RECT* pRect);
// The display moved or sized that part: the window follows, with
// WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SIZE and WM_MOVE.
PLATFORMUI_API BOOL UserMoveShownRect(HWND hWnd, bool bFramed, const RECT& rcShown);
// A framed top-level window that draws its own caption and border (a
// caption painted by the program, a floating bar's small caption): a
// display shows it without decorations of its own, and presses on its
// caption and edges move and size it.
PLATFORMUI_API BOOL UserSetSelfDrawnFrame(HWND hWnd, BOOL bSelfDrawn);
PLATFORMUI_API BOOL UserIsSelfDrawnFrame(HWND hWnd);
// The screen of the display: bounds the pointer and maximised windows.
PLATFORMUI_API void UserSetScreenSize(int nWidth, int nHeight);
// Destroys every window of the thread and empties its queue and timers.
PLATFORMUI_API void UserDestroyAllWindows();
// Closes the clipboard and frees what it holds.
PLATFORMUI_API void UserResetClipboard();
