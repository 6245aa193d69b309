// Drops from other X programs (file managers, desktops) through the XDND
// protocol: our framed windows say they take drops, and a drag of another
// client over them becomes a drag session of the layer, so a window
// registered for drops sees enter, over, leave and drop, and a window
// accepting files gets WM_DROPFILES. Files come as text/uri-list and text
// as UTF-8; the data is read from the drag's selection when a target asks.
#pragma once

#include <X11/Xlib.h>

#include <memory>

class CX11DropTarget
{
public:
    explicit CX11DropTarget(Display* pDisplay);
    ~CX11DropTarget();
    CX11DropTarget(const CX11DropTarget&) = delete;
    CX11DropTarget& operator=(const CX11DropTarget&) = delete;

    // Marks a top-level window as taking drops.
    void MarkWindow(Window xid);
    // True when the message was a step of a drag over one of our windows.
    bool HandleClientMessage(const XClientMessageEvent& event);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
