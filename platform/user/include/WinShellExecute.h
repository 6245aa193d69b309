// Opening a document or an address with the desktop's opener. On this
// platform the "open" verb hands the target to xdg-open, found on the PATH
// and started detached; where there is none the call fails with
// SE_ERR_NOASSOC and writes why on stderr. The step that starts the opener
// can be replaced, so that tests never launch anything.
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

#include <functional>

#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31

#ifndef ERROR_NO_ASSOCIATION
#define ERROR_NO_ASSOCIATION 1155L
#endif

extern "C"
{
    // Above 32 when the opener started; otherwise an SE_ERR_* code, also
    // left as the last error. Only the verbs NULL and "open" are known; the
    // parameters and the folder are not used (the opener takes one target).
    PLATFORMUI_API HINSTANCE ShellExecuteA(HWND hWnd, LPCSTR lpOperation, LPCSTR lpFile,
                                           LPCSTR lpParameters, LPCSTR lpDirectory, INT nShowCmd);
}

inline HINSTANCE ShellExecute(HWND hWnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                              LPCSTR lpDirectory, INT nShowCmd)
{
    return ShellExecuteA(hWnd, lpOperation, lpFile, lpParameters, lpDirectory, nShowCmd);
}

// Starts the opener (its full path) on the target and answers whether it
// started. The default runs it detached, its output discarded.
using ShellOpenerLauncher = std::function<bool(LPCSTR lpszOpener, LPCSTR lpszTarget)>;
// An empty launcher puts the default back.
PLATFORMUI_API void SetShellOpenerLauncher(ShellOpenerLauncher launcher);
