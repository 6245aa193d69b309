// The dialog manager's side of controls and message boxes: the groups of a
// dialog's controls, the default push button following the focus, and the
// modal loop of a dialog.
#pragma once

#include "WinDialog.h"

#include <vector>

// The controls of hCtl's group (from a WS_GROUP control up to the next),
// in the dialog's order.
std::vector<HWND> GetDialogGroup(HWND hDlg, HWND hCtl);
// A push button of a dialog got or lost the focus: while it has it, it is
// the default button; otherwise the dialog's default id is.
void OnDialogButtonFocus(HWND hDlg, HWND hButton, bool bGained);
// Disables the owner, shows the dialog and runs its loop until EndDialog;
// enables the owner again and destroys the dialog before returning.
INT_PTR RunModalDialog(HWND hDlg);
// What the dialog's font measures: average character width and height.
SIZE GetFontBaseUnits(HFONT hFont);
