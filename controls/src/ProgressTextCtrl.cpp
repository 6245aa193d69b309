#include "ProgressTextCtrl.h"

#include "AfxWinDC.h"
#include "MemDC.h"

#include <algorithm>
#include <cstring>

BEGIN_MESSAGE_MAP(CProgressTextCtrl, CWnd)
ON_MESSAGE(PBM_SETRANGE32, OnSetRange32)
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_GETTEXT, OnGetText)
ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

CProgressTextCtrl::CProgressTextCtrl()
    : m_crBar(GetSysColor(COLOR_HIGHLIGHT)), m_crBackground(GetSysColor(COLOR_WINDOW)),
      m_crTextOverBackground(GetSysColor(COLOR_HIGHLIGHT)),
      m_crTextOverBar(GetSysColor(COLOR_WINDOW))
{
}

BOOL CProgressTextCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("msctls_progress32", "", dwStyle, rect, pParentWnd, nID);
}

int CProgressTextCtrl::GetBarWidth(int nPos) const
{
    if (m_nLower >= m_nUpper)
        return 0;
    CRect client;
    GetClientRect(&client);
    const double fraction = double(nPos - m_nLower) / (double(m_nUpper) - m_nLower);
    return int(fraction * client.Width());
}

int CProgressTextCtrl::SetPos(int nPos)
{
    if (m_hWnd == nullptr)
        return -1;
    const int nOld = m_nPos;
    m_nPos = nPos;
    const int nWidth = GetBarWidth(nPos);
    if (nWidth != m_nDrawnWidth)
    {
        m_nDrawnWidth = nWidth;
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return nOld;
}

int CProgressTextCtrl::SetStep(int nStep)
{
    const int nOld = m_nStep;
    m_nStep = nStep;
    return nOld;
}

void CProgressTextCtrl::GetRange(int& nLower, int& nUpper) const
{
    nLower = m_nLower;
    nUpper = m_nUpper;
}

LRESULT CProgressTextCtrl::OnSetRange32(WPARAM wParam, LPARAM lParam)
{
    m_nLower = int(wParam);
    m_nUpper = int(lParam);
    return 0;
}

LRESULT CProgressTextCtrl::OnSetText(WPARAM, LPARAM lParam)
{
    const LRESULT lResult = Default();
    const char* text = reinterpret_cast<const char*>(lParam);
    const CString strNew = text != nullptr ? text : "";
    if (strNew != m_strText)
    {
        m_strText = strNew;
        Invalidate();
    }
    return lResult;
}

LRESULT CProgressTextCtrl::OnGetText(WPARAM wParam, LPARAM lParam)
{
    char* buffer = reinterpret_cast<char*>(lParam);
    if (buffer == nullptr || wParam == 0)
        return 0;
    // Room for the terminating zero is kept.
    const std::size_t count =
        std::min<std::size_t>(std::size_t(wParam) - 1, std::size_t(m_strText.GetLength()));
    std::memcpy(buffer, static_cast<LPCSTR>(m_strText), count);
    buffer[count] = '\0';
    return LRESULT(count);
}

LRESULT CProgressTextCtrl::OnGetTextLength(WPARAM, LPARAM)
{
    return m_strText.GetLength();
}

void CProgressTextCtrl::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    m_nDrawnWidth = -1;
}

BOOL CProgressTextCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CProgressTextCtrl::OnPaint()
{
    CPaintDC paint(this);
    CMemDC dc(&paint);
    CRect client;
    GetClientRect(&client);
    const int nWidth = GetBarWidth(m_nPos);
    CRect bar = client;
    bar.right = client.left + std::clamp(nWidth, 0, client.Width());
    CRect rest = client;
    rest.left = bar.right;
    dc.FillSolidRect(&bar, m_crBar);
    dc.FillSolidRect(&rest, m_crBackground);
    CString caption = m_strText;
    if (caption.IsEmpty())
    {
        if (m_nLower >= m_nUpper)
            return;
        const double fraction = double(m_nPos - m_nLower) / (double(m_nUpper) - m_nLower);
        caption.Format("%d%%", int(fraction * 100));
    }
    dc.SetBkMode(TRANSPARENT);
    CFont* pFont = GetParent() != nullptr ? GetParent()->GetFont() : nullptr;
    CFont* pOldFont = pFont != nullptr ? dc.SelectObject(pFont) : nullptr;
    const UINT nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    for (const auto& [part, colour] :
         {std::pair{bar, m_crTextOverBar}, std::pair{rest, m_crTextOverBackground}})
    {
        if (part.IsRectEmpty())
            continue;
        CRgn clip;
        clip.CreateRectRgnIndirect(&part);
        dc.SelectClipRgn(&clip);
        dc.SetTextColor(colour);
        CRect all = client;
        dc.DrawText(caption, &all, nFormat);
    }
    dc.SelectClipRgn(nullptr);
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
}
