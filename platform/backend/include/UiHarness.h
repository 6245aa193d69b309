// The test harness of the windowing layer. A CUiHarness object stands for
// one test: it installs a manual clock, starts from no windows, no input and
// an empty clipboard, and on destruction destroys every window, empties the
// clipboard and puts the clock back. Input
// is scripted in screen coordinates; a CInputScript plays one step each time
// a loop finds the queue empty (a peek that finds nothing, or a wait), so
// modal and busy loops run by the code under test are driven without
// blocking. A step that queues nothing (Wait, Do) leaves that look empty.
// Modal windows are answered through ModalAnswers.h; the harness starts
// each test with no answer hook, no recorded request and modal windows not
// running.
#pragma once

#include "PlatformUIExport.h"
#include "UserRawInput.h"
#include "WinClock.h"

#include <deque>
#include <functional>

class PLATFORMUI_API CInputScript
{
public:
    CInputScript& MouseMove(POINT ptScreen);
    CInputScript& MouseDown(enMouseButton button, POINT ptScreen);
    CInputScript& MouseUp(enMouseButton button, POINT ptScreen);
    CInputScript& Wheel(int nDelta, POINT ptScreen);
    CInputScript& Key(UINT nVirtKey, bool bDown);
    CInputScript& KeyPress(UINT nVirtKey);
    // Moves the installed clock (a manual clock moves at once).
    CInputScript& Wait(DWORD dwMilliseconds);
    CInputScript& Do(std::function<void()> step);
    CInputScript& PostQuit(int nExitCode = 0);

    // Plays the next step; false when none is left.
    bool PlayNext();
    bool IsDone() const { return m_steps.empty(); }
    void Clear() { m_steps.clear(); }

private:
    std::deque<std::function<void()>> m_steps;
};

class PLATFORMUI_API CUiHarness
{
public:
    CUiHarness();
    ~CUiHarness();
    CUiHarness(const CUiHarness&) = delete;
    CUiHarness& operator=(const CUiHarness&) = delete;

    CManualClock& GetClock() { return m_clock; }
    void AdvanceClock(DWORD dwMilliseconds) { m_clock.Advance(dwMilliseconds); }

    // Input queued now; a loop routes it when it retrieves it.
    void MouseMove(POINT ptScreen);
    void MouseDown(enMouseButton button, POINT ptScreen);
    void MouseUp(enMouseButton button, POINT ptScreen);
    void Click(enMouseButton button, POINT ptScreen);
    void Wheel(int nDelta, POINT ptScreen);
    void KeyDown(UINT nVirtKey);
    void KeyUp(UINT nVirtKey);
    void KeyPress(UINT nVirtKey);
    // A client point of a window in screen coordinates.
    static POINT ScreenPoint(HWND hWnd, int x, int y);

    // Retrieves, translates and dispatches every message ready now (timers
    // only when due) and returns how many it dispatched. WM_QUIT is put back.
    int PumpPending();

    // Played step by step whenever a loop would wait.
    CInputScript& Script() { return m_script; }
    // Called when a loop would wait with nothing left to play; the default
    // reports the stuck loop and ends the process.
    void SetBlockedHandler(std::function<void()> handler);

private:
    CManualClock m_clock;
    CScopedPlatformClock m_clockScope;
    CInputScript m_script;
};

// Window pictures as 24-bit bitmap files, and back (24 or 32 bits).
PLATFORMUI_API BOOL SaveWindowPicture(HWND hWnd, LPCSTR lpszPath, bool bClientOnly = false);
PLATFORMUI_API BOOL WritePictureFile(const WindowPicture& picture, LPCSTR lpszPath);
PLATFORMUI_API BOOL ReadPictureFile(LPCSTR lpszPath, WindowPicture& picture);
