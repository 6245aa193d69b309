// The file dialogs the frame and the DICOMDIR browser share: the failure
// messages of a dialog that ended without a choice and of a file that
// could not be saved, and the dialog that picks a DICOMDIR file, starting
// on the first mounted CD.
#pragma once

#include "AfxString.h"

class CFileDialog;
class CWnd;

// Runs the dialog with its title over the buffer, cleared first; true when
// a choice was made. A failure (too many files for the buffer, or the
// dialog's error code) shows a warning box; a cancel shows nothing.
bool RunFileDialog(CFileDialog& dialog, const char* pszTitle, char* pszBuffer, DWORD nSize);

// The chosen path, or false on cancel or failure (reported).
bool AskDicomDirPath(CWnd* pOwner, bool bMultiple, CString& strPath);

// Tells the user, in a warning box, that the image could not be saved to
// the path, and why as far as the path shows it.
void ReportSaveFailure(const char* pszPath);
