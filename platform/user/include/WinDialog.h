// Dialogs: windows of class "#32770" built from a template of the resource
// store, with their controls placed in dialog units of the template's font
// (x * average character width / 4, y * character height / 8). A modal
// dialog disables its owner, runs a nested loop and enables the owner again
// before it returns; IsDialogMessageA gives any dialog its keys (Tab and
// the arrows move the focus, Enter is the default button, Esc IDCANCEL,
// letters the mnemonics) unless the focused control asks for them.
// Message boxes are modal dialogs; both ask the modal-answer hook first.
#pragma once

#include "PlatformUIExport.h"
#include "ResourceRegistry.h"
#include "WinControls.h"
#include "WinUserDefs.h"

#define DS_ABSALIGN 0x01L
#define DS_SYSMODAL 0x02L
#define DS_3DLOOK 0x04L
#define DS_FIXEDSYS 0x08L
#define DS_NOFAILCREATE 0x10L
#define DS_LOCALEDIT 0x20L
#define DS_SETFONT 0x40L
#define DS_MODALFRAME 0x80L
#define DS_NOIDLEMSG 0x100L
#define DS_SETFOREGROUND 0x200L
#define DS_CONTROL 0x0400L
#define DS_CENTER 0x0800L
#define DS_CENTERMOUSE 0x1000L
#define DS_CONTEXTHELP 0x2000L
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B

// The extra bytes of a dialog window.
#define DWLP_MSGRESULT 0
#define DWLP_DLGPROC 8
#define DWLP_USER 16
#define DLGWINDOWEXTRA 24

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDCLOSE 8
#define IDHELP 9

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFMASK 0x00000F00L

// Answers TRUE when it handled the message (the answer for the sender then
// in DWLP_MSGRESULT, except for WM_INITDIALOG and the WM_CTLCOLOR*
// messages, whose answer is the return value itself).
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

extern "C"
{
    // Modeless: shown when the template has WS_VISIBLE.
    PLATFORMUI_API HWND CreateDialogIndirectParamA(HINSTANCE hInstance,
                                                   const DialogTemplate* lpTemplate,
                                                   HWND hWndParent, DLGPROC lpDialogFunc,
                                                   LPARAM dwInitParam);
    PLATFORMUI_API HWND CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName,
                                           HWND hWndParent, DLGPROC lpDialogFunc,
                                           LPARAM dwInitParam);
    // Modal: the value given to EndDialog, -1 when the dialog cannot be made.
    PLATFORMUI_API INT_PTR DialogBoxIndirectParamA(HINSTANCE hInstance,
                                                   const DialogTemplate* hDialogTemplate,
                                                   HWND hWndParent, DLGPROC lpDialogFunc,
                                                   LPARAM dwInitParam);
    PLATFORMUI_API INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName,
                                           HWND hWndParent, DLGPROC lpDialogFunc,
                                           LPARAM dwInitParam);
    // Ends the modal loop of the dialog with that value.
    PLATFORMUI_API BOOL EndDialog(HWND hDlg, INT_PTR nResult);
    PLATFORMUI_API LRESULT DefDlgProcA(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
    // TRUE when the message was the dialog's (it has been handled then).
    PLATFORMUI_API BOOL IsDialogMessageA(HWND hDlg, LPMSG lpMsg);

    PLATFORMUI_API HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
    PLATFORMUI_API HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
    PLATFORMUI_API BOOL MapDialogRect(HWND hDlg, LPRECT lpRect);
    // The system font's average width (LOWORD) and height (HIWORD).
    PLATFORMUI_API LONG GetDialogBaseUnits();
    PLATFORMUI_API LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam,
                                               LPARAM lParam);
    PLATFORMUI_API BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
    PLATFORMUI_API UINT IsDlgButtonChecked(HWND hDlg, int nIDButton);
    PLATFORMUI_API BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton,
                                         int nIDCheckButton);
    PLATFORMUI_API BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned);
    PLATFORMUI_API UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned);

    // Asks the modal-answer hook (ModalAnswers.h) first; the caption NULL
    // is "Error".
    PLATFORMUI_API int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
}

inline HWND CreateDialogParam(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                              DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    return CreateDialogParamA(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam);
}
inline INT_PTR DialogBoxParam(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                              DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    return DialogBoxParamA(hInstance, lpTemplateName, hWndParent, lpDialogFunc, dwInitParam);
}
inline BOOL IsDialogMessage(HWND hDlg, LPMSG lpMsg)
{
    return IsDialogMessageA(hDlg, lpMsg);
}
inline LRESULT DefDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefDlgProcA(hDlg, msg, wParam, lParam);
}
inline LRESULT SendDlgItemMessage(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return SendDlgItemMessageA(hDlg, nIDDlgItem, Msg, wParam, lParam);
}
inline int MessageBox(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    return MessageBoxA(hWnd, lpText, lpCaption, uType);
}
