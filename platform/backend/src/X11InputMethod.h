// Characters typed on an X display through its input method: dead keys and
// compose sequences, layouts beyond Latin-1 and the text an input-method
// server commits (CJK). One input context per top-level window. Included
// only by the X11 backend's sources.
#pragma once

#include <X11/Xlib.h>

#include <map>
#include <string>

class CX11InputMethod
{
public:
    // Opens the display's input method: the one XMODIFIERS names, else the
    // built-in one of the UTF-8 locale. Without either, key events still
    // give the characters of their symbols.
    explicit CX11InputMethod(Display* pDisplay);
    ~CX11InputMethod();
    CX11InputMethod(const CX11InputMethod&) = delete;
    CX11InputMethod& operator=(const CX11InputMethod&) = delete;

    void Attach(Window window);
    void Detach(Window window);
    void SetFocus(Window window, bool bFocus);
    // True when the input method took the event (part of a sequence).
    bool Filter(XEvent& event);
    // The UTF-8 text of a key press and its symbol.
    std::string LookupText(XKeyEvent& event, KeySym& sym);

private:
    Display* m_pDisplay;
    XIM m_im = nullptr;
    std::map<Window, XIC> m_contexts;
};
