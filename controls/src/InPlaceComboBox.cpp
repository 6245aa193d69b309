// The in-place combo box of a cell and its edit field.
#include "InPlaceComboBox.h"

#include "InPlaceEditing.h"

#include <algorithm>

namespace
{
bool IsEndKey(UINT nChar)
{
    return nChar == VK_ESCAPE || nChar == VK_TAB || nChar == VK_RETURN;
}

// The lParam of a key message from the handler's arguments.
LPARAM KeyLParam(UINT nRepCnt, UINT nFlags)
{
    return LPARAM(nRepCnt + (DWORD(nFlags) << 16));
}
} // namespace

BEGIN_MESSAGE_MAP(CComboCellEdit, CEdit)
ON_WM_KILLFOCUS()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
END_MESSAGE_MAP()

void CComboCellEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (IsCellMoveKey(nChar) && IsControlDown() && GetDlgCtrlID() == IDC_COMBO_EDIT)
    {
        if (CWnd* pOwner = GetOwner())
            pOwner->SendMessage(WM_KEYDOWN, nChar, KeyLParam(nRepCnt, nFlags));
        return;
    }
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CComboCellEdit::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (IsEndKey(nChar))
    {
        if (CWnd* pOwner = GetOwner())
            pOwner->SendMessage(WM_KEYUP, nChar, KeyLParam(nRepCnt, nFlags));
        return;
    }
    CEdit::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CComboCellEdit::OnKillFocus(CWnd* pNewWnd)
{
    CEdit::OnKillFocus(pNewWnd);
    if (auto* pCombo = dynamic_cast<CInPlaceComboBox*>(GetOwner()))
        pCombo->EndEdit();
}

BEGIN_MESSAGE_MAP(CInPlaceComboBox, CComboBox)
ON_WM_KILLFOCUS()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
END_MESSAGE_MAP()

CInPlaceComboBox::CInPlaceComboBox(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow,
                                   int nColumn, CStringArray& Items, CString sInitText,
                                   UINT nFirstChar)
    : m_sInitText(sInitText), m_nRow(nRow), m_nColumn(nColumn)
{
    const int nCellHeight = rect.Height();
    rect.bottom += m_nNumLines * nCellHeight + GetSystemMetrics(SM_CYHSCROLL);
    const DWORD dwComboStyle =
        WS_BORDER | WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_AUTOHSCROLL | dwStyle;
    if (!Create(dwComboStyle, rect, pParent, nID))
        return;
    for (INT_PTR i = 0; i < Items.GetSize(); ++i)
        AddString(Items[i]);
    const int nDropWidth = WidestItem(Items);
    if (rect.Width() < nDropWidth)
        rect.right = rect.left + nDropWidth;
    MoveWindow(&rect);
    SendMessage(WM_SETFONT, pParent->SendMessage(WM_GETFONT), TRUE);
    SetItemHeight(-1, UINT(nCellHeight));
    SetDroppedWidth(UINT(nDropWidth));
    SetHorizontalExtent(0);
    if (SelectString(-1, sInitText) == CB_ERR)
        SetWindowText(sInitText);
    if ((dwStyle & 0x3) == CBS_DROPDOWNLIST)
    {
        SetFocus();
        return;
    }
    m_edit.SubclassDlgItem(IDC_COMBO_EDIT, this);
    SetFocus();
    PlaceCaret(nFirstChar);
}

int CInPlaceComboBox::WidestItem(const CStringArray& Items)
{
    CWnd* pParent = GetParent();
    CClientDC dc(pParent);
    CFont* pOldFont = dc.SelectObject(pParent->GetFont());
    int nWidest = 0;
    for (INT_PTR i = 0; i < Items.GetSize(); ++i)
    {
        SIZE size{};
        GetTextExtentPoint32A(dc.m_hDC, Items[i], Items[i].GetLength(), &size);
        nWidest = std::max<int>(nWidest, size.cx);
    }
    nWidest += GetSystemMetrics(SM_CXVSCROLL) + 2 * dc.GetTextExtent(CString(" ")).cx;
    dc.SelectObject(pOldFont);
    return nWidest;
}

void CInPlaceComboBox::PlaceCaret(UINT nFirstChar)
{
    if (nFirstChar == VK_LBUTTON || nFirstChar == VK_RETURN || nFirstChar == VK_BACK)
    {
        m_edit.SetSel(m_edit.GetWindowTextLength(), -1);
        m_edit.SendMessage(EM_SCROLLCARET);
        if (nFirstChar == VK_BACK)
            SendMessage(WM_CHAR, nFirstChar);
        return;
    }
    m_edit.SetSel(0, -1);
    m_edit.SendMessage(EM_SCROLLCARET);
    if (nFirstChar < VK_PRIOR || nFirstChar > VK_DOWN)
        SendMessage(WM_CHAR, nFirstChar);
}

void CInPlaceComboBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!EndOnMoveKey(*this, nChar, m_bExitOnArrows, m_nLastChar))
        CComboBox::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CInPlaceComboBox::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!EndOnKey(*this, nChar, m_sInitText, m_nLastChar))
        CComboBox::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CInPlaceComboBox::OnKillFocus(CWnd* pNewWnd)
{
    CComboBox::OnKillFocus(pNewWnd);
    // With an edit field, the field's own focus loss ends the edit.
    if ((GetStyle() & 0x3) == CBS_DROPDOWNLIST && pNewWnd != this)
        EndEdit();
}

void CInPlaceComboBox::EndEdit()
{
    SendEndEdit(*this, m_nRow, m_nColumn, m_nLastChar);
}

void CInPlaceComboBox::PostNcDestroy()
{
    CComboBox::PostNcDestroy();
    delete this;
}
