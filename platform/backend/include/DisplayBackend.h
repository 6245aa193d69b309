// What shows the windows: the windowing layer draws every window into its
// top-level window's surface and tells the backend about top-level windows
// only; the backend shows them, feeds input through UserRawInput.h and
// waits when a message loop has nothing to do. The headless backend is the
// default; an X11 backend implements the same interface.
#pragma once

#include "GdiSurfaceHost.h"
#include "PlatformUIExport.h"
#include "WinUserDefs.h"

class CForeignDragTarget;
class CForeignWindows;

class PLATFORMUI_API CDisplayBackend
{
public:
    virtual ~CDisplayBackend();

    virtual LPCSTR GetName() const = 0;
    // Made the backend in use: tells the layer the screen's size (the
    // virtual 1920 x 1080 screen unless the display has its own).
    virtual void OnInstalled();
    // Any thread posted a message: a Wait in progress returns.
    virtual void Wake();
    // Whether a person can answer modal windows (message boxes, dialogs).
    virtual bool IsInteractive() const = 0;

    // The handle a new top-level window takes (a display's own window id),
    // or null for the layer's own numbering. Asked before any message is
    // sent; OnTopLevelCreated follows once the window is in the tree.
    // A top-level window with a caption is a framed window; any other is a
    // popup (menu, drop-down, tip): shown without a frame above every
    // other window, and a capture taken by it holds the whole pointer.
    virtual HWND CreateTopLevelHandle(DWORD dwStyle, DWORD dwExStyle, HWND hOwner);

    // Top-level windows: creation, destruction, showing, new screen
    // rectangle, new title.
    virtual void OnTopLevelCreated(HWND hWnd) = 0;
    virtual void OnTopLevelDestroyed(HWND hWnd) = 0;
    virtual void OnTopLevelShown(HWND hWnd, bool bShown) = 0;
    virtual void OnTopLevelMoved(HWND hWnd, const RECT& rcScreen) = 0;
    virtual void OnTopLevelTextChanged(HWND hWnd, LPCSTR lpszText) = 0;
    // Drawing changed part of a top-level surface (surface coordinates).
    virtual void OnSurfaceChanged(HWND hWndTop, const RECT& rcChanged) = 0;
    // Called at every message retrieval: show what changed since.
    virtual void Flush() = 0;
    // Called at every message retrieval after Flush: queues the input the
    // display has ready, so that input keeps its place before WM_PAINT and
    // WM_TIMER even in a loop that never waits.
    virtual void TakeReadyInput();
    // A framed window became (or stopped being) one that draws its own
    // caption and border (UserIsSelfDrawnFrame).
    virtual void OnTopLevelFrameChanged(HWND hWnd);
    // A press on the caption or an edge (nHitTest HTCAPTION, HTLEFT ..
    // HTBOTTOMRIGHT) of a top-level window: true when the display moves or
    // sizes the window itself from here; false leaves it to the layer's own
    // loop (the default).
    virtual bool BeginMoveSize(HWND hWnd, int nHitTest, POINT ptScreen);
    // The layer activated a top-level window (null: none of ours).
    virtual void OnTopLevelActivated(HWND hWnd);
    // The capture window changed (null: released).
    virtual void OnCaptureChanged(HWND hCapture);
    // The pointer and the keys as the display has them now; false when the
    // backend does not know better than the input it delivered.
    virtual bool QueryCursorPos(POINT& pt);
    virtual bool QueryKeyDown(UINT nVirtKey, bool& bDown);

    // Non-blocking: delivers the input that is ready. True when anything
    // was delivered (or time moved), so the loop looks again.
    virtual bool Poll() = 0;
    // Waits up to the timeout (INFINITE: until something comes) for
    // input. The headless backend lets the clock move instead of sleeping;
    // with nothing to wait for it reports the loop as blocked and never hangs.
    virtual void Wait(DWORD dwTimeoutMs) = 0;

    virtual void OnCursorChanged(HCURSOR hCursor, bool bShown) = 0;

    // Copies what the screen shows inside rcScreen (screen coordinates,
    // within the screen's surface) into that surface, for screen capture.
    // The default composes this process's visible top-level windows over
    // the desktop colour.
    virtual void ReadScreen(const RECT& rcScreen, const GdiSurfaceInfo& screen);

    // Other programs' windows on the same display; null (the default) when
    // the backend's screen is this process's alone.
    virtual CForeignWindows* GetForeignWindows();
    // The windows of other programs as drop targets of our drags; null (the
    // default) when there are none to reach.
    virtual CForeignDragTarget* GetForeignDragTarget();

protected:
    // Fills that part of the screen's surface with the desktop colour.
    static void FillDesktop(const RECT& rcScreen, const GdiSurfaceInfo& screen);
};

// The backend in use (the headless one unless another was installed).
PLATFORMUI_API CDisplayBackend& GetDisplayBackend();
// The start-up choice of a program: PELIVO_DISPLAY=headless or x11 forces
// one; otherwise the X11 backend when DISPLAY names a display it can open,
// the headless one when not. Installs the choice and returns it; later calls
// return the same. Test programs never call it and stay headless.
PLATFORMUI_API CDisplayBackend& ChooseDisplayBackend();
// Installs a backend (null: the headless default again); the caller keeps it
// alive while installed. Returns the previous one.
PLATFORMUI_API CDisplayBackend* SetDisplayBackend(CDisplayBackend* pBackend);
