// Drags of this process over other X programs through the XDND protocol:
// the window under the pointer that says it takes drops is entered, told
// each position and dropped on, and it reads the data from the drag's
// selection: files as text/uri-list (and their paths as plain text), text
// as UTF-8.
#pragma once

#include "ForeignDragTarget.h"

#include <X11/Xlib.h>

#include <memory>

class CX11DragSource : public CForeignDragTarget
{
public:
    explicit CX11DragSource(Display* pDisplay);
    ~CX11DragSource() override;
    CX11DragSource(const CX11DragSource&) = delete;
    CX11DragSource& operator=(const CX11DragSource&) = delete;

    // True when the event was the drag's (a request for its data, an
    // answer of the program under the pointer).
    bool HandleEvent(const XEvent& event);

    DWORD Over(IDataObject* pDataObj, POINT ptScreen, DWORD grfKeyState,
               DWORD dwOKEffects) override;
    void Leave() override;
    DWORD Drop() override;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
