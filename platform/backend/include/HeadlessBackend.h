// The headless backend: top-level windows live only in their surfaces on a
// virtual 1920 x 1080 screen at 96 dpi, input comes from the test harness,
// and time moves by the replaceable clock. A loop that would wait for input
// asks the idle feeder (a script) first; waiting for a timer moves the
// clock on; waiting with nothing to wait for calls the blocked handler,
// which by default reports the stuck loop and ends the process.
#pragma once

#include "DisplayBackend.h"

#include <functional>

class PLATFORMUI_API CHeadlessBackend : public CDisplayBackend
{
public:
    // Returns true when it made something happen (input, a post, time).
    using IdleFeeder = std::function<bool()>;
    // Must make a message available (PostQuitMessage, say) or not return.
    using BlockedHandler = std::function<void()>;

    void SetIdleFeeder(IdleFeeder feeder) { m_feeder = std::move(feeder); }
    void SetBlockedHandler(BlockedHandler handler) { m_blocked = std::move(handler); }
    HCURSOR GetShownCursor() const { return m_bCursorShown ? m_hCursor : nullptr; }
    int GetTopLevelCount() const { return m_nTopLevels; }

    LPCSTR GetName() const override { return "headless"; }
    bool IsInteractive() const override { return false; }
    void OnTopLevelCreated(HWND hWnd) override;
    void OnTopLevelDestroyed(HWND hWnd) override;
    void OnTopLevelShown(HWND, bool) override {}
    void OnTopLevelMoved(HWND, const RECT&) override {}
    void OnTopLevelTextChanged(HWND, LPCSTR) override {}
    void OnSurfaceChanged(HWND, const RECT&) override {}
    void Flush() override {}
    bool Poll() override;
    void Wait(DWORD dwTimeoutMs) override;
    void OnCursorChanged(HCURSOR hCursor, bool bShown) override;

private:
    IdleFeeder m_feeder;
    BlockedHandler m_blocked;
    HCURSOR m_hCursor = nullptr;
    bool m_bCursorShown = true;
    int m_nTopLevels = 0;
};

PLATFORMUI_API CHeadlessBackend& GetHeadlessBackend();
