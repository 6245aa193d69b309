// The reason the last common dialog (file or print) failed, for
// CommDlgExtendedError; 0 after a cancel or a success.
#pragma once

#include "WinUserDefs.h"

void SetCommonDialogError(DWORD dwError);
