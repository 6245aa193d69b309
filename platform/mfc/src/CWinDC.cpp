#include "AfxWinDC.h"

#include "AfxException.h"
#include "AfxWnd.h"

namespace
{
HWND HandleOf(const CWnd* pWnd)
{
    return pWnd != nullptr ? pWnd->m_hWnd : nullptr;
}
} // namespace

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(HandleOf(pWnd))
{
    if (!Attach(::GetDC(m_hWnd)))
        AfxThrowResourceException();
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(HandleOf(pWnd))
{
    const HDC hDC = m_hWnd != nullptr ? ::GetWindowDC(m_hWnd) : ::GetDC(nullptr);
    if (!Attach(hDC))
        AfxThrowResourceException();
}

CWindowDC::~CWindowDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(HandleOf(pWnd))
{
    if (!Attach(::BeginPaint(m_hWnd, &m_ps)))
        AfxThrowResourceException();
}

CPaintDC::~CPaintDC()
{
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}
