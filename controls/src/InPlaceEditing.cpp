// The end-of-edit notification of the in-place editors.
#include "InPlaceEditing.h"

#include "GridItem.h"

namespace
{
void EndWithKey(CWnd& editor, UINT nChar, UINT& nLastChar)
{
    nLastChar = nChar;
    editor.GetParent()->SetFocus();
}
} // namespace

bool EndOnMoveKey(CWnd& editor, UINT nChar, BOOL bExitOnArrows, UINT& nLastChar)
{
    if (!IsCellMoveKey(nChar) || !(bExitOnArrows || IsControlDown()))
        return false;
    EndWithKey(editor, nChar, nLastChar);
    return true;
}

bool EndOnKey(CWnd& editor, UINT nChar, const CString& sInitText, UINT& nLastChar)
{
    if (nChar == VK_ESCAPE)
        editor.SetWindowText(sInitText);
    if (nChar != VK_ESCAPE && nChar != VK_TAB && nChar != VK_RETURN)
        return false;
    EndWithKey(editor, nChar, nLastChar);
    return true;
}

void SendEndEdit(CWnd& editor, int nRow, int nColumn, UINT nLastChar)
{
    // The record lives on this stack for the send; receivers copy the text.
    GV_DISPINFO dispinfo;
    dispinfo.hdr.hwndFrom = editor.GetSafeHwnd();
    dispinfo.hdr.idFrom = UINT_PTR(editor.GetDlgCtrlID());
    dispinfo.hdr.code = UINT(GVN_ENDLABELEDIT);
    dispinfo.item.mask = GVIF_TEXT | GVIF_PARAM;
    dispinfo.item.row = nRow;
    dispinfo.item.col = nColumn;
    editor.GetWindowText(dispinfo.item.szText);
    dispinfo.item.lParam = LPARAM(nLastChar);
    CWnd* pOwner = editor.GetOwner();
    if (pOwner != nullptr && ::IsWindow(pOwner->GetSafeHwnd()))
        pOwner->SendMessage(WM_NOTIFY, WPARAM(editor.GetDlgCtrlID()),
                            reinterpret_cast<LPARAM>(&dispinfo));
    editor.PostMessage(WM_CLOSE);
}
