// What shows the windows: the windowing layer draws every window into its
// top-level window's surface and tells the backend about top-level windows
// only; the backend shows them, feeds input through UserRawInput.h and
// waits when a message loop has nothing to do. The headless backend is the
// default; an X11 backend implements the same interface.
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

class PLATFORMUI_API CDisplayBackend
{
public:
    virtual ~CDisplayBackend();

    virtual LPCSTR GetName() const = 0;
    // Whether a person can answer modal windows (message boxes, dialogs).
    virtual bool IsInteractive() const = 0;

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

    // Non-blocking: delivers the input that is ready. True when anything
    // was delivered (or time moved), so the loop looks again.
    virtual bool Poll() = 0;
    // Waits up to the timeout (INFINITE: until something comes) for
    // input. The headless backend lets the clock move instead of sleeping;
    // with nothing to wait for it reports the loop as blocked and never hangs.
    virtual void Wait(DWORD dwTimeoutMs) = 0;

    virtual void OnCursorChanged(HCURSOR hCursor, bool bShown) = 0;
};

// The backend in use (the headless one unless another was installed).
PLATFORMUI_API CDisplayBackend& GetDisplayBackend();
// Installs a backend (null: the headless default again); the caller keeps it
// alive while installed. Returns the previous one.
PLATFORMUI_API CDisplayBackend* SetDisplayBackend(CDisplayBackend* pBackend);
