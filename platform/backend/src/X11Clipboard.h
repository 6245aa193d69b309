// The clipboard shared with other X clients through the CLIPBOARD
// selection: when this process puts new contents on its clipboard it takes
// the selection and hands out its text (UTF8_STRING, text/plain, STRING)
// and image (image/png, image/bmp); while another client holds the
// selection, its text and image are read on request. Large transfers go in
// increments.
#pragma once

#include "ClipboardBridge.h"

#include <X11/Xlib.h>

#include <memory>

class CX11Clipboard : public CClipboardBridge
{
public:
    explicit CX11Clipboard(Display* pDisplay);
    ~CX11Clipboard() override;
    CX11Clipboard(const CX11Clipboard&) = delete;
    CX11Clipboard& operator=(const CX11Clipboard&) = delete;

    // True when the event was the clipboard's (a request for its data, the
    // loss of the selection, a step of a transfer).
    bool HandleEvent(const XEvent& event);

    void OnContentsChanged() override;
    std::vector<UINT> GetForeignFormats() override;
    std::vector<BYTE> FetchForeign(UINT nFormat) override;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};
