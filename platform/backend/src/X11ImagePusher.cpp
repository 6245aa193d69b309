#include "X11ImagePusher.h"

#include "X11ErrorTrap.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>
#include <sys/ipc.h>
#include <sys/shm.h>

CX11ImagePusher::CX11ImagePusher(Display* pDisplay, Visual* pVisual, int nDepth, bool bTryShm)
    : m_pDisplay(pDisplay), m_pVisual(pVisual), m_nDepth(nDepth)
{
    m_bShm = bTryShm && ImageByteOrder(pDisplay) == LSBFirst && XShmQueryExtension(pDisplay) &&
             ProbeShm();
}

CX11ImagePusher::~CX11ImagePusher()
{
    Finish();
    for (auto& [window, shared] : m_shared)
        Release(shared);
}

bool CX11ImagePusher::ProbeShm()
{
    // A server on another machine cannot attach our segment: try one.
    SharedImage probe;
    probe.segment.shmid = shmget(IPC_PRIVATE, 4096, IPC_CREAT | 0600);
    if (probe.segment.shmid < 0)
        return false;
    probe.segment.shmaddr = static_cast<char*>(shmat(probe.segment.shmid, nullptr, 0));
    shmctl(probe.segment.shmid, IPC_RMID, nullptr);
    if (probe.segment.shmaddr == reinterpret_cast<char*>(-1))
        return false;
    probe.segment.readOnly = True;
    CX11ErrorTrap trap(m_pDisplay);
    const bool bAttached = XShmAttach(m_pDisplay, &probe.segment) && !trap.Check();
    if (bAttached)
        XShmDetach(m_pDisplay, &probe.segment);
    XSync(m_pDisplay, False);
    shmdt(probe.segment.shmaddr);
    return bAttached;
}

CX11ImagePusher::SharedImage* CX11ImagePusher::GetShared(Window window, SIZE size)
{
    auto it = m_shared.find(window);
    if (it != m_shared.end() && it->second.pImage->width == size.cx &&
        it->second.pImage->height == size.cy)
        return &it->second;
    if (it != m_shared.end())
    {
        Finish();
        Release(it->second);
        m_shared.erase(it);
    }
    // The image keeps a pointer to its segment record: it lives in the map.
    SharedImage& shared = m_shared[window];
    shared.pImage = XShmCreateImage(m_pDisplay, m_pVisual, static_cast<unsigned>(m_nDepth), ZPixmap,
                                    nullptr, &shared.segment, static_cast<unsigned>(size.cx),
                                    static_cast<unsigned>(size.cy));
    if (shared.pImage == nullptr)
    {
        m_shared.erase(window);
        return nullptr;
    }
    const std::size_t bytes = std::size_t(shared.pImage->bytes_per_line) * std::size_t(size.cy);
    shared.segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    shared.segment.shmaddr = shared.segment.shmid < 0
                                 ? reinterpret_cast<char*>(-1)
                                 : static_cast<char*>(shmat(shared.segment.shmid, nullptr, 0));
    if (shared.segment.shmid >= 0)
        shmctl(shared.segment.shmid, IPC_RMID, nullptr);
    shared.segment.readOnly = True;
    if (shared.segment.shmaddr == reinterpret_cast<char*>(-1) ||
        !XShmAttach(m_pDisplay, &shared.segment))
    {
        if (shared.segment.shmaddr != reinterpret_cast<char*>(-1))
            shmdt(shared.segment.shmaddr);
        XDestroyImage(shared.pImage);
        m_shared.erase(window);
        return nullptr;
    }
    shared.pImage->data = shared.segment.shmaddr;
    return &shared;
}

void CX11ImagePusher::Release(SharedImage& shared)
{
    XShmDetach(m_pDisplay, &shared.segment);
    XSync(m_pDisplay, False);
    shmdt(shared.segment.shmaddr);
    shared.pImage->data = nullptr;
    XDestroyImage(shared.pImage);
    shared.pImage = nullptr;
}

// The part of the rectangle that lies in the window and has surface pixels
// behind it: repaint areas queued before the window or its surface shrank
// may reach past both.
RECT CX11ImagePusher::ClipToSurface(const GdiSurfaceInfo& surface, POINT ptOrigin, SIZE windowSize,
                                    const RECT& rcWindow)
{
    return RECT{std::max({rcWindow.left, LONG(0), -ptOrigin.x}),
                std::max({rcWindow.top, LONG(0), -ptOrigin.y}),
                std::min({rcWindow.right, windowSize.cx, LONG(surface.nWidth) - ptOrigin.x}),
                std::min({rcWindow.bottom, windowSize.cy, LONG(surface.nHeight) - ptOrigin.y})};
}

void CX11ImagePusher::Push(Window window, GC gc, const GdiSurfaceInfo& surface, POINT ptOrigin,
                           SIZE windowSize, const RECT& rcAsked)
{
    const RECT rcWindow = ClipToSurface(surface, ptOrigin, windowSize, rcAsked);
    const int width = rcWindow.right - rcWindow.left;
    const int height = rcWindow.bottom - rcWindow.top;
    if (width <= 0 || height <= 0 || surface.pTop == nullptr)
        return;
    const int sourceX = ptOrigin.x + rcWindow.left;
    const int sourceY = ptOrigin.y + rcWindow.top;
    if (m_bShm)
    {
        if (SharedImage* shared = GetShared(window, windowSize))
        {
            XImage* pImage = shared->pImage;
            for (int y = 0; y < height; ++y)
                std::memcpy(pImage->data +
                                std::ptrdiff_t(rcWindow.top + y) * pImage->bytes_per_line +
                                std::ptrdiff_t(rcWindow.left) * 4,
                            surface.pTop + std::ptrdiff_t(sourceY + y) * surface.nStride +
                                std::ptrdiff_t(sourceX) * 4,
                            std::size_t(width) * 4);
            XShmPutImage(m_pDisplay, window, gc, pImage, rcWindow.left, rcWindow.top, rcWindow.left,
                         rcWindow.top, static_cast<unsigned>(width), static_cast<unsigned>(height),
                         False);
            m_bPending = true;
            return;
        }
    }
    XImage* pImage =
        XCreateImage(m_pDisplay, m_pVisual, static_cast<unsigned>(m_nDepth), ZPixmap, 0,
                     reinterpret_cast<char*>(surface.pTop), static_cast<unsigned>(surface.nWidth),
                     static_cast<unsigned>(surface.nHeight), 32, static_cast<int>(surface.nStride));
    if (pImage == nullptr)
        return;
    // Our pixels are B, G, R, X in memory whatever the server's order.
    pImage->byte_order = LSBFirst;
    XPutImage(m_pDisplay, window, gc, pImage, sourceX, sourceY, rcWindow.left, rcWindow.top,
              static_cast<unsigned>(width), static_cast<unsigned>(height));
    pImage->data = nullptr;
    XDestroyImage(pImage);
}

void CX11ImagePusher::Finish()
{
    if (!m_bPending)
        return;
    XSync(m_pDisplay, False);
    m_bPending = false;
}

void CX11ImagePusher::Forget(Window window)
{
    const auto it = m_shared.find(window);
    if (it == m_shared.end())
        return;
    Finish();
    Release(it->second);
    m_shared.erase(it);
}
