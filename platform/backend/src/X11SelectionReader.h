// Reads a selection (the clipboard, a drag's data) of another X client as
// one target, waiting a bounded time for each reply and taking large data
// in increments. The window receives the data in a property of its own.
#pragma once

#include <X11/Xlib.h>

#include <vector>

class CX11SelectionReader
{
public:
    CX11SelectionReader(Display* pDisplay, Window window);

    // The data and its type; false when the owner refused or did not answer.
    bool Convert(Atom selection, Atom target, Time time, std::vector<unsigned char>& bytes,
                 Atom& type);

private:
    bool WaitFor(int nType, XEvent& event, bool (*accept)(const XEvent&, Atom), Atom atom);
    bool ReadProperty(std::vector<unsigned char>& bytes, Atom& type, bool& bIncrement);

    Display* m_pDisplay;
    Window m_window;
    Atom m_property;
    Atom m_incr;
};

// Tells the requestor of a selection whether its data stands in the
// property (None: refused).
void AnswerSelectionRequest(Display* pDisplay, const XSelectionRequestEvent& request,
                            Atom property);
