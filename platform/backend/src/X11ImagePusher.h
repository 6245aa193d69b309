// Copies parts of a top-level surface (32-bit BGRX, top row first) into an
// X window: through a shared-memory image per window where the server offers
// shared memory, through XPutImage otherwise. The visual must be 24-bit
// true colour with the red, green and blue masks 0xFF0000, 0xFF00 and 0xFF.
#pragma once

#include "GdiSurfaceHost.h"

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <map>

class CX11ImagePusher
{
public:
    CX11ImagePusher(Display* pDisplay, Visual* pVisual, int nDepth, bool bTryShm);
    ~CX11ImagePusher();
    CX11ImagePusher(const CX11ImagePusher&) = delete;
    CX11ImagePusher& operator=(const CX11ImagePusher&) = delete;

    bool IsUsingShm() const { return m_bShm; }
    // Copies one rectangle of the window (window coordinates) from the
    // surface, whose point ptOrigin shows at the window's top left; only
    // the part inside both the window and the surface is copied.
    void Push(Window window, GC gc, const GdiSurfaceInfo& surface, POINT ptOrigin, SIZE windowSize,
              const RECT& rcAsked);
    // Waits until the server has read every image pushed so far.
    void Finish();
    // The window is gone or changes size.
    void Forget(Window window);

private:
    struct SharedImage
    {
        XImage* pImage = nullptr;
        XShmSegmentInfo segment{};
    };

    static RECT ClipToSurface(const GdiSurfaceInfo& surface, POINT ptOrigin, SIZE windowSize,
                              const RECT& rcWindow);
    bool ProbeShm();
    SharedImage* GetShared(Window window, SIZE size);
    void Release(SharedImage& shared);

    Display* m_pDisplay;
    Visual* m_pVisual;
    int m_nDepth;
    bool m_bShm = false;
    bool m_bPending = false;
    std::map<Window, SharedImage> m_shared;
};
