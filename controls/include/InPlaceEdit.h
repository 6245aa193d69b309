// An edit control that edits one cell of a grid or list in place. The
// owning control creates it with new over the cell; it ends itself on focus
// loss or on Esc, Tab, Enter and (after typing, or with Ctrl) the paging and
// arrow keys, tells its owner the text, the cell and the ending key in one
// WM_NOTIFY (GV_DISPINFO, code GVN_ENDLABELEDIT), closes and deletes itself.
#pragma once

#include "AfxWin.h"
#include "GridItem.h"
#include "ZentiqExport.h"

class ZENTIQ_API CInPlaceEdit : public CEdit
{
public:
    // nFirstChar is the key that started the edit: VK_LBUTTON for a mouse
    // click (the caret goes to the end), a typed character (it replaces the
    // text), or a navigation key (the text is selected).
    CInPlaceEdit(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
                 CString sInitText, UINT nFirstChar);

    // Sends the notification and posts WM_CLOSE; every call does both.
    virtual void EndEdit();
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PostNcDestroy() override;

    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();

    int m_nRow;
    int m_nColumn;
    CString m_sInitText;
    UINT m_nLastChar = 0;
    BOOL m_bExitOnArrows;
    CRect m_Rect; // in the parent's client coordinates; grows while typing

private:
    void WidenToText();

    DECLARE_MESSAGE_MAP()
};
