// The print dialog: it lists the destinations of WinPrint.h (the print
// server's queues and "Print to file (PDF)" with the file's path) and
// returns the choice as a DEVNAMES block and, with PD_RETURNDC, a printer
// DC. The modal-answer hook is asked first (kind PrintDialog, pData the
// PRINTDLGA); a test answering IDOK chooses through SetPrintDialogChoice
// what the user would have picked, else the default destination is taken.
// PD_RETURNDEFAULT takes the default destination without asking. With
// PD_ENABLEPRINTHOOK the running dialog hands every message to
// lpfnPrintHook first; a nonzero answer means the hook handled it.
// "Print to file (PDF)" stays offered under PD_HIDEPRINTTOFILE: it is a
// destination of its own, and without a print server the only one.
#pragma once

#include "PlatformUIExport.h"
#include "WinFileDialog.h" // CommDlgExtendedError and the general error codes
#include "WinGlobalMemory.h"
#include "WinPrint.h"
#include "WinUserDefs.h"

#include <string>

#define PD_ALLPAGES 0x00000000
#define PD_SELECTION 0x00000001
#define PD_PAGENUMS 0x00000002
#define PD_NOSELECTION 0x00000004
#define PD_NOPAGENUMS 0x00000008
#define PD_COLLATE 0x00000010
#define PD_PRINTTOFILE 0x00000020
#define PD_PRINTSETUP 0x00000040
#define PD_NOWARNING 0x00000080
#define PD_RETURNDC 0x00000100
#define PD_RETURNIC 0x00000200
#define PD_RETURNDEFAULT 0x00000400
#define PD_SHOWHELP 0x00000800
#define PD_ENABLEPRINTHOOK 0x00001000
#define PD_USEDEVMODECOPIES 0x00040000
#define PD_USEDEVMODECOPIESANDCOLLATE 0x00040000
#define PD_DISABLEPRINTTOFILE 0x00080000
#define PD_HIDEPRINTTOFILE 0x00100000

#define PDERR_PRINTERCODES 0x1000
#define PDERR_NODEFAULTPRN 0x1008
#define PDERR_CREATEICFAILURE 0x100A
#define PDERR_PRINTERNOTFOUND 0x100B

using LPPRINTHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagPDA
{
    DWORD lStructSize;
    HWND hwndOwner;
    HGLOBAL hDevMode;
    HGLOBAL hDevNames; // in: the destination to show first; out: the choice
    HDC hDC;
    DWORD Flags;
    WORD nFromPage;
    WORD nToPage;
    WORD nMinPage;
    WORD nMaxPage;
    WORD nCopies;
    HINSTANCE hInstance;
    LPARAM lCustData;
    LPPRINTHOOKPROC lpfnPrintHook;
    LPPRINTHOOKPROC lpfnSetupHook;
    LPCSTR lpPrintTemplateName;
    LPCSTR lpSetupTemplateName;
    HGLOBAL hPrintTemplate;
    HGLOBAL hSetupTemplate;
} PRINTDLGA, *LPPRINTDLGA;
using PRINTDLG = PRINTDLGA;

// Offsets in characters from the block's start to NUL-terminated texts.
typedef struct tagDEVNAMES
{
    WORD wDriverOffset;
    WORD wDeviceOffset; // the destination
    WORD wOutputOffset; // the file's path for "Print to file (PDF)"
    WORD wDefault;
} DEVNAMES, *LPDEVNAMES;
static_assert(sizeof(DEVNAMES) == 8);
#define DN_DEFAULTPRN 0x0001

// The dialog's controls.
#define PD_IDC_DESTINATION 0x0470
#define PD_IDC_OUTPUT 0x0480
#define PD_IDC_COPIES 0x0481

// What a test chooses in the next print dialog its hook answers IDOK: the
// destination (empty: the default) and the file's path for the file.
struct PrintDialogChoice
{
    std::string destination;
    std::string output;
    WORD nCopies = 1;
};

PLATFORMUI_API void SetPrintDialogChoice(const PrintDialogChoice& choice);
// A DEVNAMES block (GlobalFree frees it) naming the destination and output.
PLATFORMUI_API HGLOBAL MakeDevNames(const std::string& destination, const std::string& output,
                                    bool bDefault);
// The destination and output a DEVNAMES block names.
PLATFORMUI_API bool ReadDevNames(HGLOBAL hDevNames, std::string& destination, std::string& output);

extern "C"
{
    PLATFORMUI_API BOOL PrintDlgA(LPPRINTDLGA lppd);
}

inline BOOL PrintDlg(LPPRINTDLGA lppd)
{
    return PrintDlgA(lppd);
}
