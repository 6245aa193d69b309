// The custom-painted button base.
#include "CustomButton.h"

IMPLEMENT_DYNAMIC(CCustomButton, CButton)

BEGIN_MESSAGE_MAP(CCustomButton, CButton)
ON_MESSAGE(BM_GETCHECK, OnGetCheck)
ON_MESSAGE(BM_SETCHECK, OnSetCheck)
ON_MESSAGE(BM_GETSTATE, OnGetState)
ON_MESSAGE(BM_SETSTATE, OnSetState)
ON_MESSAGE(BM_CLICK, OnClick)
ON_WM_PAINT()
ON_WM_ENABLE()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

void CCustomButton::Draw(CDC*, CRect, const CCustomButtonData&) {}

bool CCustomButton::IsCustom() const
{
    return false;
}

void CCustomButton::SetStateFlag(UINT nFlag, BOOL bOn)
{
    if (bOn)
        m_nState |= nFlag;
    else
        m_nState &= ~nFlag;
    Repaint();
}

BOOL CCustomButton::IsAuto() const
{
    const UINT nType = ButtonType();
    return nType == BS_AUTOCHECKBOX || nType == BS_AUTO3STATE || nType == BS_AUTORADIOBUTTON;
}

BOOL CCustomButton::Is3State() const
{
    const UINT nType = ButtonType();
    return nType == BS_3STATE || nType == BS_AUTO3STATE;
}

BOOL CCustomButton::IsCheck() const
{
    const UINT nType = ButtonType();
    return nType == BS_CHECKBOX || nType == BS_AUTOCHECKBOX || nType == BS_3STATE ||
           nType == BS_AUTO3STATE;
}

BOOL CCustomButton::IsRadio() const
{
    const UINT nType = ButtonType();
    return nType == BS_RADIOBUTTON || nType == BS_AUTORADIOBUTTON;
}

BOOL CCustomButton::InButtonRect(CPoint point) const
{
    CRect rcClient;
    GetClientRect(&rcClient);
    return rcClient.PtInRect(point);
}

// ---------------------------------------------------------------- painting

void CCustomButton::Repaint()
{
    if (GetSafeHwnd() == nullptr)
        return;
    CClientDC dc(this);
    if (dc.GetSafeHdc() != nullptr)
        Update(&dc);
}

void CCustomButton::Update(CDC* pDC)
{
    DoBufferDraw(pDC);
}

void CCustomButton::DoBufferDraw(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    CDC memDC;
    CBitmap bitmap;
    if (!(pDC->GetDeviceCaps(RASTERCAPS) & RC_BITBLT) || !memDC.CreateCompatibleDC(pDC) ||
        !bitmap.CreateCompatibleBitmap(pDC, rcClient.Width(), rcClient.Height()))
    {
        DoDraw(pDC);
        return;
    }
    CBitmap* pOldBitmap = memDC.SelectObject(&bitmap);
    DoDraw(&memDC);
    pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(pOldBitmap);
}

void CCustomButton::DoDraw(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    pDC->FillSolidRect(&rcClient, GetSysColor(COLOR_MENU));
    CCustomButtonData data;
    data.bSelected = GetSelectionState();
    data.bIndeterminate = IsThreeState();
    data.bHighlighted = GetHiliteState();
    data.bFocused = GetFocusState();
    data.bEnabled = IsWindowEnabled();
    GetWindowText(data.strText);
    Draw(pDC, rcClient, data);
}

void CCustomButton::OnPaint()
{
    if (!IsCustom())
    {
        Default();
        return;
    }
    CPaintDC dc(this);
    Update(&dc);
}

void CCustomButton::OnEnable(BOOL bEnable)
{
    if (!IsCustom())
    {
        CButton::OnEnable(bEnable);
        return;
    }
    Invalidate(FALSE);
}

// ---------------------------------------------------------------- tracking

void CCustomButton::StartTracking()
{
    if (GetCapture() != nullptr)
        return;
    SetFocus();
    SetCapture();
    m_bTracking = 1;
    SetHiliteState(TRUE);
}

void CCustomButton::EndTracking()
{
    SetHiliteState(FALSE);
    m_bTracking = 0;
    if (GetCapture() == this)
        ::ReleaseCapture();
    Repaint();
}

void CCustomButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!IsCustom())
    {
        CButton::OnLButtonDown(nFlags, point);
        return;
    }
    StartTracking();
}

void CCustomButton::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (!IsCustom())
    {
        CButton::OnLButtonDblClk(nFlags, point);
        return;
    }
    StartTracking();
}

void CCustomButton::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!IsCustom())
    {
        CButton::OnMouseMove(nFlags, point);
        return;
    }
    if (m_bTracking && GetHiliteState() != InButtonRect(point))
        SetHiliteState(InButtonRect(point));
}

void CCustomButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!IsCustom())
    {
        CButton::OnLButtonUp(nFlags, point);
        if (IsRadio() && InButtonRect(point))
            TellGroupClicked();
        return;
    }
    if (m_bTracking && InButtonRect(point))
        OnClick(0, 0);
    EndTracking();
}

void CCustomButton::OnSetFocus(CWnd* pOldWnd)
{
    if (!IsCustom())
    {
        CButton::OnSetFocus(pOldWnd);
        return;
    }
    SetFocusState(TRUE);
}

void CCustomButton::OnKillFocus(CWnd* pNewWnd)
{
    if (!IsCustom())
    {
        CButton::OnKillFocus(pNewWnd);
        return;
    }
    SetFocusState(FALSE);
    EndTracking();
}

// ---------------------------------------------------------------- button messages

LRESULT CCustomButton::OnGetCheck(WPARAM, LPARAM)
{
    if (!IsCustom())
        return Default();
    return m_nState & (enSelected | enIndeterminate);
}

LRESULT CCustomButton::OnGetState(WPARAM, LPARAM)
{
    if (!IsCustom())
        return Default();
    return m_nState;
}

LRESULT CCustomButton::OnSetState(WPARAM wParam, LPARAM)
{
    if (!IsCustom())
        return Default();
    EndTracking();
    m_nState = UINT(wParam);
    return 0;
}

LRESULT CCustomButton::OnSetCheck(WPARAM wParam, LPARAM)
{
    if (!IsCustom())
        return Default();
    EndTracking();
    if (wParam == BST_INDETERMINATE)
        SetThreeState(TRUE);
    else
        SetSelectionState(wParam != 0);
    return 0;
}

LRESULT CCustomButton::OnClick(WPARAM, LPARAM)
{
    if (!IsCustom())
        return Default();
    if (IsCheck())
    {
        if (Is3State() && IsThreeState())
        {
            SetThreeState(FALSE);
            SetSelectionState(FALSE);
        }
        else if (!GetSelectionState())
        {
            SetSelectionState(TRUE);
        }
        else if (Is3State())
        {
            SetThreeState(TRUE);
        }
        else
        {
            SetSelectionState(FALSE);
        }
    }
    else if (IsRadio())
    {
        if (IsAuto() && !GetSelectionState())
            CheckRadioGroup();
        TellGroupClicked();
    }
    if (GetFocus() != this)
        SetFocus();
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                             reinterpret_cast<LPARAM>(m_hWnd));
    return 0;
}

// Checks this button and clears every other radio button of its group.
void CCustomButton::CheckRadioGroup()
{
    CWnd* pParent = GetParent();
    if (pParent == nullptr)
        return;
    HWND hFirst = m_hWnd;
    while (!(::GetWindowLongPtrA(hFirst, GWL_STYLE) & WS_GROUP))
    {
        const HWND hPrevious = ::GetWindow(hFirst, GW_HWNDPREV);
        if (hPrevious == nullptr)
            break;
        hFirst = hPrevious;
    }
    HWND hMember = hFirst;
    do
    {
        if (::SendMessageA(hMember, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
            ::SendMessageA(hMember, BM_SETCHECK, hMember == m_hWnd ? BST_CHECKED : BST_UNCHECKED,
                           0);
        hMember = ::GetNextDlgGroupItem(pParent->m_hWnd, hMember, FALSE);
    } while (hMember != nullptr && hMember != hFirst);
}

void CCustomButton::TellGroupClicked()
{
    CWnd* pParent = GetParent();
    if (pParent == nullptr)
        return;
    CRect rcButton;
    GetWindowRect(&rcButton);
    for (HWND hSibling = ::GetWindow(m_hWnd, GW_HWNDFIRST); hSibling != nullptr;
         hSibling = ::GetWindow(hSibling, GW_HWNDNEXT))
    {
        if (hSibling == m_hWnd || !(::GetWindowLongPtrA(hSibling, GWL_STYLE) & 0x7))
            continue;
        CRect rcSibling;
        ::GetWindowRect(hSibling, &rcSibling);
        CRect rcCommon;
        if (rcCommon.IntersectRect(&rcButton, &rcSibling))
            pParent->SendMessage(WM_COMMAND, WPARAM(::GetDlgCtrlID(hSibling)),
                                 reinterpret_cast<LPARAM>(hSibling));
    }
}
