// What the in-place editors share: the keys that move to another cell and
// the notification that ends an edit.
#pragma once

#include "AfxWin.h"

// Page Up, Page Down and the four arrows.
inline bool IsCellMoveKey(UINT nChar)
{
    return nChar == VK_PRIOR || nChar == VK_NEXT || (nChar >= VK_LEFT && nChar <= VK_DOWN);
}

inline bool IsControlDown()
{
    return GetKeyState(VK_CONTROL) < 0;
}

// A key that moves to another cell ends the edit when arrows end it or
// Ctrl is held: the key is kept and the focus goes to the parent, whose
// taking it ends the edit. True when the key ended it.
bool EndOnMoveKey(CWnd& editor, UINT nChar, BOOL bExitOnArrows, UINT& nLastChar);
// Esc (after putting the initial text back), Tab and Enter end the edit
// the same way. True when the key ended it.
bool EndOnKey(CWnd& editor, UINT nChar, const CString& sInitText, UINT& nLastChar);

// Sends the editor's owner (its parent when it has none) GV_DISPINFO with
// the editor's text, the cell and the key that ended the edit, then posts
// the editor WM_CLOSE.
void SendEndEdit(CWnd& editor, int nRow, int nColumn, UINT nLastChar);
