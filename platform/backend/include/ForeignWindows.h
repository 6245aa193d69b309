// Top-level windows of other programs on the same display, as far as the
// window calls that accept another program's window need them: the desktop
// walk (this process's top-level windows first, then theirs), their titles
// and properties, whether they are minimised, and requests that the program
// owning the window carries out itself on its own thread: showing it,
// activating it, and messages. A backend whose display programs share
// offers them (the X11 one); the headless backend has a screen of its own
// and knows no other program's window.
//
// Messages cross as numbers: the message and both parameters as 32-bit
// values (pointers mean nothing in another process), and only the messages
// whose parameters are numbers by their nature (see CanCrossProcesses).
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

#include <string>
#include <vector>

class PLATFORMUI_API CForeignWindows
{
public:
    virtual ~CForeignWindows();

    // Their top-level windows, top of the stacking order first.
    virtual std::vector<HWND> GetTopLevelWindows() = 0;
    // A live top-level window of another program.
    virtual bool Exists(HWND hWnd) = 0;
    // The title in the ANSI code page; false when the window has none.
    virtual bool GetText(HWND hWnd, std::string& text) = 0;
    // A property a program of this layer set on its top-level window.
    virtual bool GetProp(HWND hWnd, LPCSTR lpszName, HANDLE& hData) = 0;
    virtual bool IsMinimized(HWND hWnd) = 0;

    // Asks for ShowWindow(nCmdShow) on the window.
    virtual bool RequestShow(HWND hWnd, int nCmdShow) = 0;
    // Asks the owner to restore the window when minimised and to bring its
    // last active popup (or the window itself) to the foreground.
    virtual bool RequestActivation(HWND hWnd) = 0;
    // Sends (pResult set: waits, for a bounded time, for the window's
    // answer) or posts (pResult null) a message; false when it cannot go.
    virtual bool Deliver(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) = 0;

    // A property of one of this process's top-level windows changed: other
    // programs see the new value (bRemoved: none).
    virtual void OnOwnPropChanged(HWND hWnd, LPCSTR lpszName, HANDLE hData, bool bRemoved) = 0;

    // Messages another program may send or post: the application's own
    // (WM_USER and above) and the few system ones without pointers.
    static bool CanCrossProcesses(UINT nMsg);
    // Whether the handle can be a display's window id: those lie below the
    // layer's own numbering of windows (0x40000000 | n).
    static bool IsDisplayHandle(HWND hWnd);
};
