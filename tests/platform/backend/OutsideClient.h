// A connection to a test's X server that plays another program: it covers
// the screen and takes the keyboard focus, and it watches what the
// programs under test do to their windows.
#pragma once

#include <X11/Xlib.h>

#include <string>

class COutsideClient
{
public:
    explicit COutsideClient(const std::string& displayName);
    ~COutsideClient();
    COutsideClient(const COutsideClient&) = delete;
    COutsideClient& operator=(const COutsideClient&) = delete;

    bool IsOpen() const { return m_pDisplay != nullptr; }

    // A window of this client over the whole screen, with the focus.
    void CoverScreen();
    // Starts watching a window, so that WaitForFocusIn sees it take the focus.
    void Watch(Window xid);
    // False when the window did not take the focus within a generous bound.
    bool WaitForFocusIn(Window xid);
    // The mapped child of the root on top of the others.
    Window GetTopWindow() const;
    Window GetFocus() const;

private:
    Display* m_pDisplay;
};

// The window named in a probe's line such as "first 4194305".
Window WindowInLine(const std::string& line);
