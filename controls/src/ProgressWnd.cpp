#include "ProgressWnd.h"

#include "AfxWinApp.h"
#include "AfxWinDC.h"
#include "ProgressTextCtrl.h"
#include "WinProfile.h"

#include <cstdarg>
#include <cstdio>

IMPLEMENT_DYNAMIC(CProgressWnd, CWnd)

namespace
{
constexpr UINT kBarId = 1003;
constexpr UINT kTextId = 1004;
constexpr UINT kCancelId = 1005;
constexpr UINT_PTR kAutoStepTimer = 100;
constexpr UINT kAutoStepMs = 100;
constexpr int kDefaultWidth = 390;
constexpr int kDefaultHeight = 130;
constexpr int kMargin = 10;
constexpr LPCSTR kSection = "ProgressBar Settings";
constexpr LPCSTR kXEntry = "X Position";
constexpr LPCSTR kYEntry = "Y Position";

CString FormatArgs(LPCSTR lpszFormat, va_list args)
{
    char buffer[512];
    std::vsnprintf(buffer, sizeof(buffer), lpszFormat != nullptr ? lpszFormat : "", args);
    return CString(buffer);
}

constexpr UINT kQuietShow =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_SHOWWINDOW | SWP_NOSENDCHANGING;
constexpr UINT kQuietMove = SWP_NOZORDER | SWP_NOREDRAW;
} // namespace

BEGIN_MESSAGE_MAP(CProgressWnd, CWnd)
ON_BN_CLICKED(kCancelId, OnCancel)
ON_WM_CLOSE()
ON_WM_TIMER()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CProgressWnd::CProgressWnd()
{
    CommonConstruct();
}

CProgressWnd::CProgressWnd(CWnd* pParent, LPCSTR lpszTitle, BOOL bSmooth)
{
    CommonConstruct();
    m_strTitle = lpszTitle;
    Create(pParent, lpszTitle, bSmooth);
}

CProgressWnd::~CProgressWnd()
{
    DestroyWindow();
}

void CProgressWnd::CommonConstruct()
{
    m_pBar = std::make_unique<CProgressTextCtrl>();
    m_crBackground = GetSysColor(COLOR_BTNFACE);
    m_brBackground.CreateSolidBrush(m_crBackground);
}

BOOL CProgressWnd::Create(CWnd* pParent, LPCSTR lpszTitle, BOOL bSmooth)
{
    LPCSTR lpszClass =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_APPSTARTING),
                            reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (pParent == nullptr)
        pParent = AfxGetMainWnd();
    m_hParentWnd = pParent != nullptr ? pParent->GetSafeHwnd() : nullptr;
    m_strTitle = lpszTitle != nullptr ? lpszTitle : "";
    if (!CWnd::CreateEx(WS_EX_DLGMODALFRAME, lpszClass != nullptr ? lpszClass : "", m_strTitle,
                        WS_POPUP | WS_CAPTION, 0, 0, kDefaultWidth, kDefaultHeight, m_hParentWnd,
                        nullptr))
        return FALSE;
    const CRect small(0, 0, 10, 10);
    if (!m_wndText.Create("", WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_LEFTNOWORDWRAP, small, this,
                          kTextId) ||
        !m_pBar->Create(WS_CHILD | WS_VISIBLE | (bSmooth ? PBS_SMOOTH : 0), small, this, kBarId) ||
        !m_wndCancel.Create(m_strCancelText, WS_CHILD | WS_VISIBLE | WS_TABSTOP, small, this,
                            kCancelId))
        return FALSE;
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        m_font.CreateFontIndirect(&metrics.lfMessageFont);
    if (m_font.GetSafeHandle() != nullptr)
    {
        SetFont(&m_font, FALSE);
        m_wndText.SetFont(&m_font, FALSE);
        m_wndCancel.SetFont(&m_font, FALSE);
    }
    SetWindowSize(m_nTextLines, kDefaultWidth);
    if (m_bRememberPosition)
        GetPreviousSettings();
    else
        CenterOnScreen();
    m_brBackground.DeleteObject();
    m_brBackground.CreateSolidBrush(m_crBackground);
    return TRUE;
}

BOOL CProgressWnd::GoModal(LPCSTR lpszTitle, BOOL bSmooth)
{
    CWnd* pMainWnd = AfxGetMainWnd();
    if (m_hWnd == nullptr && !Create(pMainWnd, lpszTitle, bSmooth))
        return FALSE;
    HWND hDisabled = m_hParentWnd != nullptr
                         ? m_hParentWnd
                         : (pMainWnd != nullptr ? pMainWnd->GetSafeHwnd() : nullptr);
    if (hDisabled != nullptr)
        ::EnableWindow(hDisabled, FALSE);
    SetActiveWindow();
    m_bModal = TRUE;
    return TRUE;
}

void CProgressWnd::SetWindowSize(int nLines, int nWidth)
{
    m_nTextLines = nLines;
    m_nWindowWidth = nWidth;
    if (m_hWnd == nullptr)
        return;
    const int cx = GetSystemMetrics(SM_CXEDGE);
    const int cy = GetSystemMetrics(SM_CYEDGE);
    CClientDC dc(this);
    CFont* pOldFont = m_font.GetSafeHandle() != nullptr ? dc.SelectObject(&m_font) : nullptr;
    CString strMeasure = "M";
    for (int i = 1; i < nLines; ++i)
        strMeasure += "\nM";
    CRect text(kMargin, kMargin, nWidth - 2 * kMargin, 120);
    dc.DrawText(strMeasure, &text, DT_CALCRECT | DT_NOPREFIX | DT_EXTERNALLEADING);
    text.right = text.left + nWidth;
    const CSize label = dc.GetTextExtent(m_strCancelText + "  ");
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
    const int nButtonWidth = label.cx + 4 * cx;
    const int nButtonHeight = label.cy + 3 * cy;
    const bool bCancel = (m_wndCancel.GetStyle() & WS_VISIBLE) != 0;
    const bool bBar = (m_pBar->GetStyle() & WS_VISIBLE) != 0;
    const CRect button(text.right - (bCancel ? nButtonWidth : 0), text.bottom + kMargin, text.right,
                       text.bottom + kMargin + nButtonHeight);
    const CRect bar =
        bBar ? CRect(text.left, button.top + cy, button.left - kMargin, button.bottom - cy)
             : CRect();
    // The window keeps its corner and takes the client size round the parts.
    CRect window;
    GetWindowRect(&window);
    CRect client;
    GetClientRect(&client);
    const int nFrameX = window.Width() - client.Width();
    const int nFrameY = window.Height() - client.Height();
    SetWindowPos(nullptr, 0, 0, text.Width() + 2 * kMargin + nFrameX,
                 text.Height() + nButtonHeight + 3 * kMargin + nFrameY, SWP_NOMOVE | kQuietMove);
    m_pBar->MoveWindow(&bar, FALSE);
    m_wndCancel.MoveWindow(&button, FALSE);
    m_wndText.MoveWindow(&text, FALSE);
}

void CProgressWnd::CenterOnScreen()
{
    CRect window;
    GetWindowRect(&window);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - window.Width()) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - window.Height()) / 2;
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | kQuietMove);
}

void CProgressWnd::GetPreviousSettings()
{
    const CProfileStore store = CProfileStore::GetApplicationStore();
    const int x = int(store.GetProfileInt(kSection, kXEntry, -1));
    const int y = int(store.GetProfileInt(kSection, kYEntry, -1));
    if (x < 0 || x >= GetSystemMetrics(SM_CXSCREEN) || y < 0 || y >= GetSystemMetrics(SM_CYSCREEN))
    {
        CenterOnScreen();
        return;
    }
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void CProgressWnd::SaveCurrentSettings()
{
    if (m_hWnd == nullptr)
        return;
    CRect window;
    GetWindowRect(&window);
    CProfileStore store = CProfileStore::GetApplicationStore();
    store.WriteProfileInt(kSection, kXEntry, window.left);
    store.WriteProfileInt(kSection, kYEntry, window.top);
}

BOOL CProgressWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    if (m_bRememberPosition)
        SaveCurrentSettings();
    SetAutoStep(FALSE);
    if (m_hParentWnd != nullptr && ::IsWindow(m_hParentWnd))
    {
        ::EnableWindow(m_hParentWnd, TRUE);
        ::SetActiveWindow(m_hParentWnd);
    }
    if (m_bModal)
    {
        m_bModal = FALSE;
        if (CWnd* pMainWnd = AfxGetMainWnd())
            pMainWnd->EnableWindow(TRUE);
    }
    return CWnd::DestroyWindow();
}

void CProgressWnd::SetRange(int nLower, int nUpper, int nStep)
{
    if (m_hWnd == nullptr)
        return;
    m_pBar->SendMessage(PBM_SETRANGE32, WPARAM(nLower), LPARAM(nUpper));
    m_pBar->SetStep(nStep);
    if (nUpper - nLower > 1)
        Show();
}

int CProgressWnd::SetStep(int nStep)
{
    m_pBar->SetStep(nStep);
    return nStep;
}

int CProgressWnd::SetPos(int nPos)
{
    return m_hWnd != nullptr ? m_pBar->SetPos(nPos) : -1;
}

int CProgressWnd::OffsetPos(int nDelta)
{
    if (m_hWnd == nullptr)
        return -1;
    Show();
    return m_pBar->OffsetPos(nDelta);
}

int CProgressWnd::StepIt()
{
    return m_hWnd != nullptr ? m_pBar->StepIt() : -1;
}

BOOL CProgressWnd::SetAutoStep(BOOL bAuto)
{
    const BOOL bOld = m_bAutoStep;
    m_bAutoStep = bAuto;
    if (m_hWnd != nullptr)
    {
        if (bAuto)
            SetTimer(kAutoStepTimer, kAutoStepMs, nullptr);
        else
            KillTimer(kAutoStepTimer);
    }
    return bOld;
}

void CProgressWnd::SetText(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    SetFormattedText(m_wndText, lpszFormat, args);
    va_end(args);
}

void CProgressWnd::SetProgressText(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    SetFormattedText(*m_pBar, lpszFormat, args);
    va_end(args);
}

void CProgressWnd::SetFormattedText(CWnd& target, LPCSTR lpszFormat, va_list args)
{
    if (m_hWnd != nullptr)
        target.SetWindowText(FormatArgs(lpszFormat, args));
}

void CProgressWnd::Clear()
{
    if (m_hWnd == nullptr)
        return;
    m_wndText.SetWindowText("");
    m_pBar->SetPos(0);
    m_bCancelled = FALSE;
    UpdateWindow();
}

void CProgressWnd::SetCancelText(LPCSTR lpszText)
{
    m_strCancelText = lpszText != nullptr ? lpszText : "";
    if (m_hWnd != nullptr)
        m_wndCancel.SetWindowText(m_strCancelText);
}

void CProgressWnd::SetBkgColor(COLORREF crBackground)
{
    m_crBackground = crBackground;
    m_brBackground.DeleteObject();
    m_brBackground.CreateSolidBrush(crBackground);
    if (m_hWnd != nullptr)
        Invalidate();
}

void CProgressWnd::ShowCancelButton(BOOL bShow)
{
    if (m_hWnd == nullptr)
        return;
    m_wndCancel.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    SetWindowSize(m_nTextLines, m_nWindowWidth);
}

void CProgressWnd::ShowProgress(BOOL bShow)
{
    if (m_hWnd == nullptr)
        return;
    m_pBar->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    SetWindowSize(m_nTextLines, m_nWindowWidth);
}

void CProgressWnd::Show()
{
    if (m_hWnd != nullptr && !IsWindowVisible())
        SetWindowPos(nullptr, 0, 0, 0, 0, kQuietShow);
}

void CProgressWnd::Hide()
{
    if (m_hWnd != nullptr && IsWindowVisible())
        ShowWindow(SW_HIDE);
}

void CProgressWnd::PeekAndPump(BOOL bCancelOnEscape)
{
    if (m_hWnd == nullptr)
        return;
    RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
    MSG msg{};
    while (!m_bCancelled && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (msg.message == WM_QUIT)
        {
            // The application's own loop ends on it.
            ::PostQuitMessage(int(msg.wParam));
            return;
        }
        if (bCancelOnEscape && msg.message == WM_CHAR && msg.wParam == VK_ESCAPE)
            OnCancel();
        if (m_bModal && msg.message == WM_LBUTTONUP && m_wndCancel.GetSafeHwnd() != nullptr)
        {
            CRect button;
            m_wndCancel.GetWindowRect(&button);
            if (button.PtInRect(msg.pt))
                OnCancel();
        }
        if (m_bCancelled || m_hWnd == nullptr)
            break;
        if (!::IsDialogMessage(m_hWnd, &msg))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

void CProgressWnd::OnCancel()
{
    m_bCancelled = TRUE;
    Hide();
    if (m_bModal)
        SendMessage(WM_CLOSE);
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->SetForegroundWindow();
}

void CProgressWnd::OnClose()
{
    // Through DestroyWindow, so that the parent gets its input back.
    DestroyWindow();
}

void CProgressWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kAutoStepTimer)
        StepIt();
    else
        CWnd::OnTimer(nIDEvent);
}

BOOL CProgressWnd::OnEraseBkgnd(CDC* pDC)
{
    CRect clip;
    pDC->GetClipBox(&clip);
    CBrush* pOldBrush = pDC->SelectObject(&m_brBackground);
    pDC->PatBlt(clip.left, clip.top, clip.Width(), clip.Height(), PATCOPY);
    pDC->SelectObject(pOldBrush);
    return TRUE;
}

HBRUSH CProgressWnd::OnCtlColor(CDC* pDC, CWnd*, UINT)
{
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(m_brBackground.GetSafeHandle());
}
