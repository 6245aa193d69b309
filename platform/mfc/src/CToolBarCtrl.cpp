#include "AfxBars.h"
#include "AfxResource.h"

IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)

namespace
{
LRESULT Ask(const CToolBarCtrl* pCtrl, UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return ::SendMessageA(pCtrl->m_hWnd, nMsg, wParam, lParam);
}
} // namespace

BOOL CToolBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(TOOLBARCLASSNAMEA, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CToolBarCtrl::AddButtons(int nNumButtons, LPCTBBUTTON lpButtons)
{
    return static_cast<BOOL>(Ask(this, TB_ADDBUTTONS, static_cast<WPARAM>(nNumButtons),
                                 reinterpret_cast<LPARAM>(lpButtons)));
}

BOOL CToolBarCtrl::InsertButton(int nIndex, LPCTBBUTTON lpButton)
{
    return static_cast<BOOL>(Ask(this, TB_INSERTBUTTON, static_cast<WPARAM>(nIndex),
                                 reinterpret_cast<LPARAM>(lpButton)));
}

BOOL CToolBarCtrl::DeleteButton(int nIndex)
{
    return static_cast<BOOL>(Ask(this, TB_DELETEBUTTON, static_cast<WPARAM>(nIndex)));
}

int CToolBarCtrl::GetButtonCount() const
{
    return static_cast<int>(Ask(this, TB_BUTTONCOUNT));
}

BOOL CToolBarCtrl::GetButton(int nIndex, LPTBBUTTON lpButton) const
{
    return static_cast<BOOL>(
        Ask(this, TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpButton)));
}

BOOL CToolBarCtrl::GetItemRect(int nIndex, LPRECT lpRect) const
{
    return static_cast<BOOL>(
        Ask(this, TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)));
}

int CToolBarCtrl::CommandToIndex(UINT nID) const
{
    return static_cast<int>(Ask(this, TB_COMMANDTOINDEX, nID));
}

int CToolBarCtrl::GetState(int nID) const
{
    return static_cast<int>(Ask(this, TB_GETSTATE, static_cast<WPARAM>(nID)));
}

BOOL CToolBarCtrl::SetState(int nID, UINT nState)
{
    return static_cast<BOOL>(
        Ask(this, TB_SETSTATE, static_cast<WPARAM>(nID), MAKELPARAM(nState, 0)));
}

BOOL CToolBarCtrl::EnableButton(int nID, BOOL bEnable)
{
    return static_cast<BOOL>(
        Ask(this, TB_ENABLEBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bEnable, 0)));
}

BOOL CToolBarCtrl::CheckButton(int nID, BOOL bCheck)
{
    return static_cast<BOOL>(
        Ask(this, TB_CHECKBUTTON, static_cast<WPARAM>(nID), MAKELPARAM(bCheck, 0)));
}

BOOL CToolBarCtrl::IsButtonEnabled(int nID) const
{
    return static_cast<BOOL>(Ask(this, TB_ISBUTTONENABLED, static_cast<WPARAM>(nID)));
}

BOOL CToolBarCtrl::IsButtonChecked(int nID) const
{
    return static_cast<BOOL>(Ask(this, TB_ISBUTTONCHECKED, static_cast<WPARAM>(nID)));
}

BOOL CToolBarCtrl::SetButtonSize(CSize size)
{
    return static_cast<BOOL>(Ask(this, TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy)));
}

CSize CToolBarCtrl::GetButtonSize() const
{
    const LRESULT nSize = Ask(this, TB_GETBUTTONSIZE);
    return CSize(LOWORD(nSize), HIWORD(nSize));
}

BOOL CToolBarCtrl::SetBitmapSize(CSize size)
{
    return static_cast<BOOL>(Ask(this, TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy)));
}

HIMAGELIST CToolBarCtrl::SetImageList(HIMAGELIST hImageList)
{
    return reinterpret_cast<HIMAGELIST>(
        Ask(this, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hImageList)));
}

HIMAGELIST CToolBarCtrl::GetImageList() const
{
    return reinterpret_cast<HIMAGELIST>(Ask(this, TB_GETIMAGELIST));
}

void CToolBarCtrl::AutoSize()
{
    Ask(this, TB_AUTOSIZE);
}

int CToolBarCtrl::HitTest(LPPOINT ppt) const
{
    return static_cast<int>(Ask(this, TB_HITTEST, 0, reinterpret_cast<LPARAM>(ppt)));
}

int CToolBarCtrl::AddBitmap(int nNumButtons, UINT nBitmapID)
{
    TBADDBITMAP add{AfxFindResourceHandle(MAKEINTRESOURCE(nBitmapID), RT_BITMAP), nBitmapID};
    return static_cast<int>(
        Ask(this, TB_ADDBITMAP, static_cast<WPARAM>(nNumButtons), reinterpret_cast<LPARAM>(&add)));
}

int CToolBarCtrl::AddBitmap(int nNumButtons, CBitmap* pBitmap)
{
    TBADDBITMAP add{nullptr,
                    reinterpret_cast<UINT_PTR>(pBitmap != nullptr ? pBitmap->m_hObject : nullptr)};
    return static_cast<int>(
        Ask(this, TB_ADDBITMAP, static_cast<WPARAM>(nNumButtons), reinterpret_cast<LPARAM>(&add)));
}
