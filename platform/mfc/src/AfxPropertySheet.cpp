// The property sheet and its pages.
//
// Decisions where the documented behaviour is silent:
// - The sheet's template is made from its pages: the tab control is as big
//   as the largest page needs, the buttons sit in a row below it at the
//   right, OK first.
// - A modeless sheet is destroyed by OK and Cancel as a modal one is ended.
// - A PSN_SETACTIVE answer other than 0 is taken as 0: the page shows.
#include "AfxPropertySheet.h"

#include "AfxResource.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CDialog)

namespace
{
constexpr int kMargin = 7;      // pixels round the tab control and between rows
constexpr int kButtonGap = 6;   // pixels between buttons
constexpr short kButtonCx = 50; // dialog units
constexpr short kButtonCy = 14;
constexpr DWORD kPageStyleDropped =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | WS_VISIBLE;
} // namespace

// ---------------------------------------------------------------- CPropertyPage
CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CDialog(nIDTemplate), m_nIDCaption(nIDCaption)
{
}

CPropertyPage::CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption)
    : CDialog(lpszTemplateName), m_nIDCaption(nIDCaption)
{
}

CString CPropertyPage::GetCaption() const
{
    CString strCaption;
    if (m_nIDCaption != 0 && strCaption.LoadString(m_nIDCaption))
        return strCaption;
    HINSTANCE hInstance = nullptr;
    const DialogTemplate* pTemplate = FindTemplate(hInstance);
    return CString(pTemplate != nullptr && pTemplate->pszCaption != nullptr ? pTemplate->pszCaption
                                                                            : "");
}

BOOL CPropertyPage::CreatePage(CWnd* pSheet)
{
    HINSTANCE hInstance = nullptr;
    const DialogTemplate* pTemplate = FindTemplate(hInstance);
    if (pTemplate == nullptr)
        return FALSE;
    DialogTemplate child = *pTemplate;
    child.dwStyle = (child.dwStyle & ~kPageStyleDropped) | WS_CHILD | DS_CONTROL;
    child.pszCaption = nullptr;
    m_pParentWnd = pSheet;
    return CreateFromTemplate(&child, pSheet);
}

CSize CPropertyPage::GetTemplateSize() const
{
    HINSTANCE hInstance = nullptr;
    const DialogTemplate* pTemplate = FindTemplate(hInstance);
    return pTemplate != nullptr ? CSize(pTemplate->cx, pTemplate->cy) : CSize(0, 0);
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    const HWND hSheet = m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr;
    if (hSheet != nullptr)
        ::SendMessageA(hSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED,
                       reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CPropertyPage::OnSetActive()
{
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset()
{
    OnCancel();
}

BOOL CPropertyPage::OnQueryCancel()
{
    return TRUE;
}

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

BOOL CPropertyPage::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
    if (pHeader == nullptr || pHeader->hwndFrom != ::GetParent(m_hWnd))
        return CDialog::OnNotify(wParam, lParam, pResult);
    switch (pHeader->code)
    {
    case PSN_SETACTIVE:
        *pResult = OnSetActive() ? 0 : -1;
        return TRUE;
    case PSN_KILLACTIVE:
        *pResult = OnKillActive() ? FALSE : TRUE;
        return TRUE;
    case PSN_APPLY:
        *pResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        return TRUE;
    case PSN_RESET:
        OnReset();
        *pResult = 0;
        return TRUE;
    case PSN_QUERYCANCEL:
        *pResult = OnQueryCancel() ? FALSE : TRUE;
        return TRUE;
    default:
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
}

// --------------------------------------------------------------- CPropertySheet
CPropertySheet::CPropertySheet() = default;

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_nStartPage(iSelectPage)
{
    m_strCaption.LoadString(nIDCaption);
    m_pParentWnd = pParentWnd;
}

CPropertySheet::CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption != nullptr ? pszCaption : ""), m_nStartPage(iSelectPage)
{
    m_pParentWnd = pParentWnd;
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (pPage == nullptr)
        return;
    m_pages.push_back(pPage);
    if (m_hWnd == nullptr)
        return;
    m_tab.InsertItem(GetPageCount() - 1, pPage->GetCaption());
    Layout();
}

void CPropertySheet::RemovePage(CPropertyPage* pPage)
{
    RemovePage(GetPageIndex(pPage));
}

void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return;
    CPropertyPage* pPage = m_pages[static_cast<size_t>(nPage)];
    m_pages.erase(m_pages.begin() + nPage);
    if (m_hWnd == nullptr)
        return;
    m_tab.DeleteItem(nPage);
    std::erase(m_modified, pPage->m_hWnd);
    if (pPage->m_hWnd != nullptr)
        pPage->DestroyWindow();
    if (nPage == m_nActive)
    {
        m_nActive = -1;
        ShowPage(std::min(nPage, GetPageCount() - 1));
    }
    else if (nPage < m_nActive)
        --m_nActive;
    UpdateApplyButton();
}

int CPropertySheet::GetPageCount() const
{
    return static_cast<int>(m_pages.size());
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const
{
    const auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    return GetPage(m_hWnd != nullptr ? m_nActive : static_cast<int>(m_nStartPage));
}

int CPropertySheet::GetActiveIndex() const
{
    return m_hWnd != nullptr ? m_nActive : static_cast<int>(m_nStartPage);
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (m_hWnd == nullptr)
    {
        m_nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    if (nPage == m_nActive)
        return TRUE;
    return LeaveActivePage() && ShowPage(nPage);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage)
{
    return SetActivePage(GetPageIndex(pPage));
}

void CPropertySheet::SetTitle(LPCSTR lpszText)
{
    m_strCaption = lpszText != nullptr ? lpszText : "";
    if (m_hWnd != nullptr)
        SetWindowText(m_strCaption);
}

CTabCtrl* CPropertySheet::GetTabControl() const
{
    return m_tab.m_hWnd != nullptr ? &m_tab : nullptr;
}

BOOL CPropertySheet::PressButton(int nButton)
{
    const UINT nId = nButton == PSBTN_OK         ? IDOK
                     : nButton == PSBTN_CANCEL   ? IDCANCEL
                     : nButton == PSBTN_APPLYNOW ? ID_APPLY_NOW
                                                 : 0;
    const HWND hButton = m_hWnd != nullptr && nId != 0 ? ::GetDlgItem(m_hWnd, nId) : nullptr;
    if (hButton == nullptr || !::IsWindowEnabled(hButton))
        return FALSE;
    SendMessage(WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(hButton));
    return TRUE;
}

void CPropertySheet::BuildTemplate(DWORD dwStyle, DWORD dwExStyle)
{
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    m_items = {
        {WC_TABCONTROLA, "", AFX_IDC_TAB_CONTROL, kChild | WS_TABSTOP | WS_CLIPSIBLINGS, 0, 0, 0,
         10, 10},
        {"Button", "OK", IDOK, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, kButtonCx,
         kButtonCy},
        {"Button", "Cancel", IDCANCEL, kChild | WS_TABSTOP, 0, 0, 0, kButtonCx, kButtonCy},
    };
    if (!(m_psh.dwFlags & PSH_NOAPPLYNOW))
        m_items.push_back({"Button", "&Apply", ID_APPLY_NOW, kChild | WS_TABSTOP | WS_DISABLED, 0,
                           0, 0, kButtonCx, kButtonCy});
    m_template = DialogTemplate{dwStyle,
                                dwExStyle,
                                0,
                                0,
                                10,
                                10,
                                m_strCaption,
                                "MS Shell Dlg",
                                8,
                                std::span<const DialogItemTemplate>(m_items)};
}

const DialogTemplate* CPropertySheet::FindTemplate(HINSTANCE& hInstance) const
{
    hInstance = nullptr;
    return &m_template;
}

INT_PTR CPropertySheet::DoModal()
{
    m_bModeless = false;
    BuildTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0);
    return CDialog::DoModal();
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle)
{
    m_bModeless = true;
    if (dwStyle == DWORD(-1))
        dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
    BuildTemplate(dwStyle | DS_SETFONT, dwExStyle);
    return CreateIndirect(&m_template, pParentWnd != nullptr ? pParentWnd : m_pParentWnd);
}

void CPropertySheet::Layout()
{
    // The largest page, in this dialog's units.
    CRect page(0, 0, 0, 0);
    for (CPropertyPage* pPage : m_pages)
    {
        const CSize units = pPage->GetTemplateSize();
        CRect size(0, 0, units.cx, units.cy);
        MapDialogRect(&size);
        page.right = std::max(page.right, size.right);
        page.bottom = std::max(page.bottom, size.bottom);
    }
    CRect tab = page;
    m_tab.AdjustRect(TRUE, &tab);
    tab.OffsetRect(kMargin - tab.left, kMargin - tab.top);
    m_tab.MoveWindow(&tab, FALSE);
    CRect button(0, 0, kButtonCx, kButtonCy);
    MapDialogRect(&button);
    const int nButtons = (m_psh.dwFlags & PSH_NOAPPLYNOW) ? 2 : 3;
    const int cxRow = nButtons * button.Width() + (nButtons - 1) * kButtonGap;
    const int cxClient = std::max(tab.right + kMargin, cxRow + 2 * kMargin);
    int x = cxClient - kMargin - cxRow;
    const int y = tab.bottom + kMargin;
    for (const UINT nId : {UINT(IDOK), UINT(IDCANCEL), UINT(ID_APPLY_NOW)})
        if (const HWND hButton = ::GetDlgItem(m_hWnd, static_cast<int>(nId)))
        {
            ::MoveWindow(hButton, x, y, button.Width(), button.Height(), FALSE);
            x += button.Width() + kButtonGap;
        }
    CRect window(0, 0, cxClient, y + button.Height() + kMargin);
    ::AdjustWindowRectEx(&window, GetStyle(), FALSE, GetExStyle());
    SetWindowPos(nullptr, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER);
    CRect display;
    m_tab.GetWindowRect(&display);
    ScreenToClient(&display);
    m_tab.AdjustRect(FALSE, &display);
    for (CPropertyPage* pPage : m_pages)
        if (pPage->m_hWnd != nullptr)
            pPage->MoveWindow(&display);
    Invalidate();
}

BOOL CPropertySheet::OnInitDialog()
{
    m_tab.SubclassWindow(::GetDlgItem(m_hWnd, AFX_IDC_TAB_CONTROL));
    m_tab.SetFont(GetFont(), FALSE);
    for (int i = 0; i < GetPageCount(); ++i)
        m_tab.InsertItem(i, m_pages[static_cast<size_t>(i)]->GetCaption());
    m_modified.clear();
    m_nActive = -1;
    Layout();
    const int nStart =
        static_cast<int>(m_nStartPage) < GetPageCount() ? static_cast<int>(m_nStartPage) : 0;
    ShowPage(nStart);
    return TRUE;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    const bool bControl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const bool bPageKey =
        pMsg->message == WM_KEYDOWN && bControl &&
        (pMsg->wParam == VK_TAB || pMsg->wParam == VK_NEXT || pMsg->wParam == VK_PRIOR);
    if (!bPageKey || m_hWnd == nullptr || GetPageCount() == 0)
        return CDialog::PreTranslateMessage(pMsg);
    const bool bBack = pMsg->wParam == VK_PRIOR ||
                       (pMsg->wParam == VK_TAB && (::GetKeyState(VK_SHIFT) & 0x8000) != 0);
    const int nCount = GetPageCount();
    // Through the tab control, so that the front page is asked to let go.
    m_tab.SetCurFocus((m_nActive + (bBack ? nCount - 1 : 1)) % nCount);
    return TRUE;
}

LRESULT CPropertySheet::SendToPage(CPropertyPage* pPage, UINT nCode, LPARAM lParam)
{
    if (pPage == nullptr || pPage->m_hWnd == nullptr)
        return 0;
    PSHNOTIFY notify{};
    notify.hdr = NMHDR{m_hWnd, 0, nCode};
    notify.lParam = lParam;
    return pPage->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
}

bool CPropertySheet::LeaveActivePage()
{
    return SendToPage(GetPage(m_nActive), PSN_KILLACTIVE) == FALSE;
}

bool CPropertySheet::ShowPage(int nPage)
{
    CPropertyPage* pPage = GetPage(nPage);
    if (pPage == nullptr)
        return false;
    if (pPage->m_hWnd == nullptr)
    {
        if (!pPage->CreatePage(this))
            return false;
        Layout();
    }
    SendToPage(pPage, PSN_SETACTIVE);
    if (CPropertyPage* pOld = GetPage(m_nActive); pOld != nullptr && pOld != pPage)
        pOld->ShowWindow(SW_HIDE);
    m_nActive = nPage;
    m_tab.SetCurSel(nPage);
    pPage->ShowWindow(SW_SHOW);
    return true;
}

bool CPropertySheet::Apply(bool bOK)
{
    if (!LeaveActivePage())
        return false;
    for (int i = 0; i < GetPageCount(); ++i)
    {
        const LRESULT nResult = SendToPage(GetPage(i), PSN_APPLY, bOK ? TRUE : FALSE);
        if (nResult == PSNRET_INVALID_NOCHANGEPAGE)
            return false;
        if (nResult == PSNRET_INVALID)
        {
            if (i != m_nActive)
                ShowPage(i);
            return false;
        }
    }
    m_modified.clear();
    UpdateApplyButton();
    return true;
}

bool CPropertySheet::Cancel()
{
    if (SendToPage(GetPage(m_nActive), PSN_QUERYCANCEL) != FALSE)
        return false;
    for (int i = 0; i < GetPageCount(); ++i)
        SendToPage(GetPage(i), PSN_RESET);
    return true;
}

void CPropertySheet::Close(int nResult)
{
    if (m_bModeless)
        DestroyWindow();
    else
        EndDialog(nResult);
}

void CPropertySheet::OnOK()
{
    if (Apply(true))
        Close(IDOK);
}

void CPropertySheet::OnCancel()
{
    if (Cancel())
        Close(IDCANCEL);
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == ID_APPLY_NOW && HIWORD(wParam) == BN_CLICKED)
    {
        Apply(false);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CPropertySheet::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
    if (pHeader != nullptr && pHeader->hwndFrom == m_tab.m_hWnd)
    {
        if (pHeader->code == TCN_SELCHANGING)
        {
            *pResult = LeaveActivePage() ? FALSE : TRUE;
            return TRUE;
        }
        if (pHeader->code == TCN_SELCHANGE)
        {
            ShowPage(m_tab.GetCurSel());
            *pResult = 0;
            return TRUE;
        }
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}

void CPropertySheet::UpdateApplyButton()
{
    if (const HWND hApply = m_hWnd != nullptr ? ::GetDlgItem(m_hWnd, ID_APPLY_NOW) : nullptr)
        ::EnableWindow(hApply, !m_modified.empty());
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto hPage = reinterpret_cast<HWND>(wParam);
    switch (message)
    {
    case PSM_CHANGED:
        if (std::find(m_modified.begin(), m_modified.end(), hPage) == m_modified.end())
            m_modified.push_back(hPage);
        UpdateApplyButton();
        return 0;
    case PSM_UNCHANGED:
        std::erase(m_modified, hPage);
        UpdateApplyButton();
        return 0;
    case PSM_APPLY:
        return Apply(false) ? TRUE : FALSE;
    case PSM_PRESSBUTTON:
        return PressButton(static_cast<int>(wParam));
    case PSM_SETCURSEL:
        return SetActivePage(static_cast<int>(wParam));
    case PSM_GETTABCONTROL:
        return reinterpret_cast<LRESULT>(m_tab.m_hWnd);
    case PSM_GETCURRENTPAGEHWND:
    {
        const CPropertyPage* pPage = GetPage(m_nActive);
        return reinterpret_cast<LRESULT>(pPage != nullptr ? pPage->m_hWnd : nullptr);
    }
    default:
        return CDialog::WindowProc(message, wParam, lParam);
    }
}
