// The fixture of the X11 backend tests: a private Xvfb for the test program,
// the backend installed on it for each test, and a second connection that
// plays the user and the window manager (Xvfb runs none): XTest input,
// moves and sizes, close requests and screenshots taken from the server.
#pragma once

// Before Xlib, whose macros would hide its names.
#include "UiHarness.h"
#include "UserRawInput.h"
#include "X11Backend.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Messages a logged window received, oldest first.
struct LoggedMessage
{
    HWND hWnd;
    UINT nMsg;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<LoggedMessage>& MessageLog();
// A window of a class with CS_DBLCLKS that logs every message it gets and
// leaves the rest to DefWindowProc.
HWND CreateLoggedWindow(DWORD dwStyle, const RECT& rc, HWND hParent = nullptr, DWORD dwExStyle = 0);
// The first logged message of that kind after index nFrom, or null.
const LoggedMessage* FindLogged(HWND hWnd, UINT nMsg, std::size_t nFrom = 0);

class X11BackendTest : public testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Dispatches messages (translated) until done() holds; false when it
    // does not within the timeout.
    bool PumpUntil(const std::function<bool()>& done, int nTimeoutMs = 5000);
    // Lets the server and the backend handle everything asked so far, both
    // ways, and dispatches what came of it.
    void Settle();
    // The pixels the X server shows at the part of a top-level window that
    // the backend shows, read from the root window.
    WindowPicture TakeScreenshot(HWND hTop);
    // The headless picture of the same part.
    static WindowPicture CropToShown(HWND hTop, const WindowPicture& whole);
    Display* Outside() const { return m_pOutside; }
    // ":N" of the test program's X server, for X clients the tests run.
    static std::string DisplayName();
    CX11Backend& Backend() { return *m_pBackend; }
    static Window XidOf(HWND hWnd)
    {
        return static_cast<Window>(reinterpret_cast<std::uintptr_t>(hWnd));
    }

    // The layer's own picture of a top-level window.
    static WindowPicture PaintedPicture(HWND hTop);
    // The screen under a top-level window once the server shows it, kept as
    // pszName in the test output folder for looking.
    WindowPicture ShownPicture(HWND hTop, const char* pszName);
    // Runs the step from the next loop that dispatches hOwner's timers (a
    // modal loop's too).
    static void RunSoon(HWND hOwner, std::function<void()> step);

    void MovePointer(POINT ptScreen);
    void PressButton(unsigned nButton, bool bDown);
    void PressKey(unsigned long keysym, bool bDown);
    void Click(POINT ptScreen);
    static POINT CentreOf(const RECT& rc)
    {
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }

    std::unique_ptr<CX11Backend> m_pBackend;
    Display* m_pOutside = nullptr;
};
