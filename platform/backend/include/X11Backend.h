// The X11 backend: every top-level window is an X window whose id is its
// HWND. A window with a caption is a managed window: the window manager
// draws caption and border, the X window shows the rest of our surface (menu
// bar, scroll bars, client area) - unless the window draws its own caption
// and border, when it is shown whole, undecorated, and moved and sized by
// the window manager at its request - and the window manager's moves, sizes,
// close requests, activation and iconify come back as window messages. A
// window without a caption is an override-redirect popup. Surfaces are pushed
// (through shared memory where the server offers it) at every message
// retrieval and on expose, only where they changed; X input becomes the
// layer's raw input; capture grabs the pointer.
#pragma once

#include "DisplayBackend.h"

#include <memory>

class PLATFORMUI_API CX11Backend : public CDisplayBackend
{
public:
    struct Options
    {
        bool bUseSharedMemory = true;
        // Every framed window draws its own caption and border, undecorated
        // by the window manager; without it only the windows the program
        // marks (UserSetSelfDrawnFrame) do.
        bool bSelfDrawnFrames = false;
    };

    // Opens the display (null: the one DISPLAY names); IsOpen tells whether
    // that worked, GetOpenError why not.
    explicit CX11Backend(LPCSTR lpszDisplay = nullptr);
    CX11Backend(LPCSTR lpszDisplay, const Options& options);
    ~CX11Backend() override;
    CX11Backend(const CX11Backend&) = delete;
    CX11Backend& operator=(const CX11Backend&) = delete;

    bool IsOpen() const;
    LPCSTR GetOpenError() const;
    bool IsUsingSharedMemory() const;
    // Shows what changed, waits until the server has handled every request
    // so far, and queues the input that came meanwhile.
    void Sync();

    LPCSTR GetName() const override { return "x11"; }
    bool IsInteractive() const override { return true; }
    void OnInstalled() override;
    void Wake() override;
    HWND CreateTopLevelHandle(DWORD dwStyle, DWORD dwExStyle, HWND hOwner) override;
    void OnTopLevelCreated(HWND hWnd) override;
    void OnTopLevelDestroyed(HWND hWnd) override;
    void OnTopLevelShown(HWND hWnd, bool bShown) override;
    void OnTopLevelMoved(HWND hWnd, const RECT& rcScreen) override;
    void OnTopLevelTextChanged(HWND hWnd, LPCSTR lpszText) override;
    void OnTopLevelFrameChanged(HWND hWnd) override;
    bool BeginMoveSize(HWND hWnd, int nHitTest, POINT ptScreen) override;
    void OnSurfaceChanged(HWND hWndTop, const RECT& rcChanged) override;
    void Flush() override;
    void TakeReadyInput() override;
    bool Poll() override;
    void Wait(DWORD dwTimeoutMs) override;
    void OnCursorChanged(HCURSOR hCursor, bool bShown) override;
    void OnTopLevelActivated(HWND hWnd) override;
    void OnCaptureChanged(HWND hCapture) override;
    bool QueryCursorPos(POINT& pt) override;
    bool QueryKeyDown(UINT nVirtKey, bool& bDown) override;
    CForeignWindows* GetForeignWindows() override;
    // The root window's pixels, once every surface has been shown; the
    // desktop colour where the root does not reach.
    void ReadScreen(const RECT& rcScreen, const GdiSurfaceInfo& screen) override;
    CForeignDragTarget* GetForeignDragTarget() override;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
