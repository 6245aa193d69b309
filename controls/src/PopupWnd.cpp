#include "PopupWnd.h"

#include "AfxWinDC.h"

IMPLEMENT_DYNAMIC(CPopupWnd, CWnd)

BEGIN_MESSAGE_MAP(CPopupWnd, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_CLOSE()
ON_MESSAGE(WM_KEYDOWN, OnInput)
ON_MESSAGE(WM_SYSKEYDOWN, OnInput)
ON_MESSAGE(WM_LBUTTONDOWN, OnInput)
ON_MESSAGE(WM_MBUTTONDOWN, OnInput)
ON_MESSAGE(WM_RBUTTONDOWN, OnInput)
END_MESSAGE_MAP()

namespace
{
// Pattern AND destination: darkens every other pixel of the shadow bands.
constexpr DWORD kPatternAndDestination = 0x00A000C9;
} // namespace

CPopupWnd::CPopupWnd()
    : m_crBackground(GetSysColor(COLOR_INFOBK)), m_crText(GetSysColor(COLOR_INFOTEXT)),
      m_crFrame(GetSysColor(COLOR_WINDOWFRAME))
{
}

BOOL CPopupWnd::Create(CWnd* pOwner, const RECT& rect)
{
    // The shadow darkens what the window was erased with: windows here do
    // not see the screen below them.
    LPCSTR lpszClass = AfxRegisterWndClass(CS_SAVEBITS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return CreateEx(WS_EX_TOOLWINDOW, lpszClass, "", WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pOwner != nullptr ? pOwner->GetSafeHwnd() : nullptr, nullptr);
}

int CPopupWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_bCloseOnInput)
        SetCapture();
    return 0;
}

void CPopupWnd::CloseWindow()
{
    if (!m_bCloseOnInput)
        return;
    if (GetCapture() == this)
        ReleaseCapture();
    PostMessage(WM_CLOSE);
}

LRESULT CPopupWnd::OnInput(WPARAM, LPARAM)
{
    CloseWindow();
    return Default();
}

void CPopupWnd::OnClose()
{
    CWnd::OnClose();
}

void CPopupWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CPen pen(PS_SOLID, 1, m_crFrame);
    CBrush brush(m_crBackground);
    CPen* pOldPen = dc.SelectObject(&pen);
    CBrush* pOldBrush = dc.SelectObject(&brush);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_crText);
    dc.SetBkColor(m_crBackground);
    const CRect box(client.left + 1, client.top + 1, client.right - m_nShadowWidth,
                    client.bottom - m_nShadowHeight);
    dc.Rectangle(&box);

    TEXTMETRICA metrics{};
    dc.GetTextMetrics(&metrics);
    const int aw = metrics.tmAveCharWidth / 4;
    const int lh = (metrics.tmHeight + metrics.tmExternalLeading) / 8;
    CRect text(box.left + aw, box.top + lh, box.right - aw, box.bottom - lh);
    dc.DrawText(m_strText, &text, DT_WORDBREAK);

    // A checkerboard: every other pixel of the bands keeps what lies below.
    const WORD rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    CBitmap pattern;
    pattern.CreateBitmap(8, 8, 1, 1, rows);
    CBrush shadow;
    shadow.CreatePatternBrush(&pattern);
    dc.SelectObject(&shadow);
    dc.PatBlt(client.left + m_nShadowOffset, client.bottom - m_nShadowHeight,
              client.right - m_nShadowOffset, m_nShadowHeight, kPatternAndDestination);
    dc.PatBlt(client.right - m_nShadowWidth, client.top + m_nShadowOffset, m_nShadowWidth,
              client.bottom, kPatternAndDestination);
    dc.SelectObject(pOldBrush);
    dc.SelectObject(pOldPen);
}
