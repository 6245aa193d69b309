#include "MemDC.h"

#include "WinWindow.h"

CMemDC::CMemDC(CDC* pDC) : m_pDC(pDC), m_bMemDC(!pDC->IsPrinting())
{
    if (!m_bMemDC)
    {
        m_bPrinting = pDC->m_bPrinting;
        m_hDC = pDC->m_hDC;
        m_hAttribDC = pDC->m_hAttribDC;
        return;
    }
    // The area drawn: a window's client rectangle, else the clip box.
    HWND hWnd = ::WindowFromDC(pDC->m_hDC);
    if (hWnd != nullptr && ::IsWindow(hWnd))
        ::GetClientRect(hWnd, &m_rect);
    else
        pDC->GetClipBox(&m_rect);
    if (!CreateCompatibleDC(pDC))
        return;
    m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height());
    m_oldBitmap = SelectObject(&m_bitmap);
    SetWindowOrg(m_rect.left, m_rect.top);
}

CMemDC::~CMemDC()
{
    if (m_bMemDC)
    {
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left,
                      m_rect.top, SRCCOPY);
        SelectObject(m_oldBitmap);
    }
    else
    {
        // The printer DC belongs to the caller.
        m_hDC = nullptr;
        m_hAttribDC = nullptr;
    }
    m_bitmap.DeleteObject();
}
