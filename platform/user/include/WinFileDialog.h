// The open and save dialogs: a dialog of the layer's own controls (the
// folder, its sub-folders, its files through the chosen filter, the name
// edit and the filter combo). The modal-answer hook is asked first (kind
// FileDialog, pData the OPENFILENAMEA); a test answering IDOK chooses
// through SetFileDialogChoice what the user would have picked. Either way
// the result is written the same: one path, or with OFN_ALLOWMULTISELECT
// the folder and the names in the order chosen, each closed by a NUL and
// the list by a second one; a buffer too small fails with
// FNERR_BUFFERTOOSMALL and the size needed in its first two bytes. The
// current folder is left at the chosen folder. A save dialog ignores
// OFN_FILEMUSTEXIST and OFN_ALLOWMULTISELECT; a name typed without an
// extension gets the chosen filter's (else lpstrDefExt) when lpstrDefExt is
// set.
//
// With OFN_ENABLEHOOK the running dialog holds a child dialog whose
// procedure is lpfnHook: it gets WM_INITDIALOG (lParam the OPENFILENAMEA)
// and the dialog's notices as WM_NOTIFY (OFNOTIFYA): CDN_INITDONE once the
// dialog is ready, then CDN_FOLDERCHANGE for each folder shown,
// CDN_SELCHANGE for a file picked in the list, CDN_TYPECHANGE for a filter
// chosen and CDN_FILEOK before the dialog ends with OK (a nonzero answer in
// DWLP_MSGRESULT keeps it open). The hook asks and changes the dialog, its
// parent, through the CDM_* messages and the control ids below.
#pragma once

#include "PlatformUIExport.h"
#include "WinMessages.h"
#include "WinUserDefs.h"

#include <string>
#include <vector>

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_ENABLEHOOK 0x00000020
#define OFN_NOVALIDATE 0x00000100
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_EXTENSIONDIFFERENT 0x00000400
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_CREATEPROMPT 0x00002000
#define OFN_EXPLORER 0x00080000
#define OFN_ENABLESIZING 0x00800000

#define CDERR_GENERALCODES 0x0000
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define FNERR_SUBCLASSFAILURE 0x3001
#define FNERR_INVALIDFILENAME 0x3002
#define FNERR_BUFFERTOOSMALL 0x3003

// The dialog's controls.
#define stc1 0x0440
#define stc2 0x0441
#define stc3 0x0442
#define stc4 0x0443
#define lst1 0x0460
#define lst2 0x0461
#define cmb1 0x0470
#define edt1 0x0480

using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

#define CDN_FIRST (0U - 601U)
#define CDN_INITDONE (CDN_FIRST - 0)
#define CDN_SELCHANGE (CDN_FIRST - 1)
#define CDN_FOLDERCHANGE (CDN_FIRST - 2)
#define CDN_FILEOK (CDN_FIRST - 5)
#define CDN_TYPECHANGE (CDN_FIRST - 6)

// Sent to the dialog. The GET messages copy into lParam (wParam bytes) and
// answer the size the text needs with its NUL, or a negative value.
#define CDM_FIRST (WM_USER + 100)
#define CDM_GETSPEC (CDM_FIRST + 0x0000)        // the name in the edit
#define CDM_GETFILEPATH (CDM_FIRST + 0x0001)    // the folder and that name
#define CDM_GETFOLDERPATH (CDM_FIRST + 0x0002)  // the folder shown
#define CDM_SETCONTROLTEXT (CDM_FIRST + 0x0004) // wParam the control's id
#define CDM_HIDECONTROL (CDM_FIRST + 0x0005)    // wParam the control's id

typedef struct tagOFNA
{
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter; // pairs of "name\0pattern;pattern\0", then "\0"
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex; // 1-based, in and out
    LPSTR lpstrFile;
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
} OPENFILENAMEA, *LPOPENFILENAMEA;

typedef struct _OFNOTIFYA
{
    NMHDR hdr; // hwndFrom: the dialog
    LPOPENFILENAMEA lpOFN;
    LPSTR pszFile;
} OFNOTIFYA, *LPOFNOTIFYA;

// What a test chooses in the next file dialog its hook answers IDOK: a
// folder, names in it (or full paths) in the order chosen, and the filter
// (0 keeps the dialog's).
struct FileDialogChoice
{
    std::string folder;
    std::vector<std::string> names;
    DWORD nFilterIndex = 0;
};

PLATFORMUI_API void SetFileDialogChoice(const FileDialogChoice& choice);

extern "C"
{
    PLATFORMUI_API BOOL GetOpenFileNameA(LPOPENFILENAMEA lpofn);
    PLATFORMUI_API BOOL GetSaveFileNameA(LPOPENFILENAMEA lpofn);
    // The reason the last dialog failed; 0 after a cancel.
    PLATFORMUI_API DWORD CommDlgExtendedError();
}

inline BOOL GetOpenFileName(LPOPENFILENAMEA lpofn)
{
    return GetOpenFileNameA(lpofn);
}
inline BOOL GetSaveFileName(LPOPENFILENAMEA lpofn)
{
    return GetSaveFileNameA(lpofn);
}
