// A combo box that edits one cell in place with a list of choices. Like
// CInPlaceEdit it ends itself on focus loss, Esc, Tab, Enter and, with Ctrl,
// the paging and arrow keys, sends GV_DISPINFO (GVN_ENDLABELEDIT) to its
// owner, closes and deletes itself. Its list drops at least as wide as its
// widest choice.
#pragma once

#include "AfxWin.h"
#include "GridItem.h"
#include "ZentiqExport.h"

// The combo box's edit field: hands the keys that end an edit, and the
// loss of focus, to its CInPlaceComboBox.
class ZENTIQ_API CComboCellEdit : public CEdit
{
protected:
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);

    DECLARE_MESSAGE_MAP()
};

class ZENTIQ_API CInPlaceComboBox : public CComboBox
{
public:
    // rect grows to the dropped height and, when the widest choice needs
    // it, to the dropped width.
    CInPlaceComboBox(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
                     CStringArray& Items, CString sInitText, UINT nFirstChar);

    // Sends the notification (when the owner is a window) and posts WM_CLOSE.
    void EndEdit();

protected:
    void PostNcDestroy() override;

    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);

    CComboCellEdit m_edit;
    int m_nNumLines = 4;
    CString m_sInitText;
    int m_nRow;
    int m_nColumn;
    UINT m_nLastChar = 0;
    BOOL m_bExitOnArrows = FALSE;

private:
    int WidestItem(const CStringArray& Items);
    void PlaceCaret(UINT nFirstChar);

    DECLARE_MESSAGE_MAP()
};
