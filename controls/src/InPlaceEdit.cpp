// The in-place edit of a cell.
#include "InPlaceEdit.h"

#include "InPlaceEditing.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CInPlaceEdit, CEdit)
ON_WM_KILLFOCUS()
ON_WM_CHAR()
ON_WM_KEYDOWN()
ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CInPlaceEdit::CInPlaceEdit(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow,
                           int nColumn, CString sInitText, UINT nFirstChar)
    : m_nRow(nRow), m_nColumn(nColumn), m_sInitText(sInitText),
      m_bExitOnArrows(nFirstChar != VK_LBUTTON), m_Rect(rect)
{
    const DWORD dwEditStyle = WS_BORDER | WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | dwStyle;
    if (!Create(dwEditStyle, rect, pParent, nID))
        return;
    SendMessage(WM_SETFONT, pParent->SendMessage(WM_GETFONT), TRUE);
    SetWindowText(sInitText);
    SetFocus();
    switch (nFirstChar)
    {
    case VK_LBUTTON:
    case VK_RETURN:
        SetSel(GetWindowTextLength(), -1);
        SendMessage(EM_SCROLLCARET);
        return;
    case VK_BACK:
        SetSel(GetWindowTextLength(), -1);
        SendMessage(EM_SCROLLCARET);
        SendMessage(WM_CHAR, nFirstChar);
        return;
    default:
        SetSel(0, -1);
        SendMessage(EM_SCROLLCARET);
        // Tab and the navigation keys only select; a typed character
        // replaces the text.
        if (nFirstChar != VK_TAB && (nFirstChar < VK_SPACE || nFirstChar > VK_DOWN))
            SendMessage(WM_CHAR, nFirstChar);
        return;
    }
}

BOOL CInPlaceEdit::PreTranslateMessage(MSG* pMsg)
{
    // Alt combinations typed while editing must not reach menus.
    if (pMsg->message == WM_SYSCHAR)
        return TRUE;
    return CEdit::PreTranslateMessage(pMsg);
}

void CInPlaceEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!EndOnMoveKey(*this, nChar, m_bExitOnArrows, m_nLastChar))
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CInPlaceEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (EndOnKey(*this, nChar, m_sInitText, m_nLastChar))
        return;
    CEdit::OnChar(nChar, nRepCnt, nFlags);
    WidenToText();
}

void CInPlaceEdit::WidenToText()
{
    CString str;
    GetWindowText(str);
    str += "  ";
    CWindowDC dc(this);
    CFont* pOldFont = dc.SelectObject(GetFont());
    const CSize size = dc.GetTextExtent(str);
    dc.SelectObject(pOldFont);
    if (size.cx <= m_Rect.Width())
        return;
    CRect parentRect;
    GetParent()->GetClientRect(&parentRect);
    m_Rect.right = std::min<LONG>(m_Rect.left + size.cx, parentRect.right);
    MoveWindow(&m_Rect);
}

UINT CInPlaceEdit::OnGetDlgCode()
{
    return DLGC_WANTALLKEYS;
}

void CInPlaceEdit::OnKillFocus(CWnd* pNewWnd)
{
    CEdit::OnKillFocus(pNewWnd);
    EndEdit();
}

void CInPlaceEdit::EndEdit()
{
    SendEndEdit(*this, m_nRow, m_nColumn, m_nLastChar);
}

void CInPlaceEdit::PostNcDestroy()
{
    CEdit::PostNcDestroy();
    delete this;
}
