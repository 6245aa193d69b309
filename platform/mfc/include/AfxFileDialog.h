// CFileDialog: the open or save dialog over m_ofn. MFC filter strings
// ("Name|*.a;*.b|...||") become the record's filters; with
// OFN_ALLOWMULTISELECT the chosen files come one by one from
// GetStartPosition/GetNextPathName, in the order chosen. While the dialog
// runs, the object is the dialog's hook window (its parent is the dialog):
// the On* virtuals hear what happens, and the members below ask and change
// the dialog.
#pragma once

#include "AfxColl.h"
#include "AfxWnd.h"
#include "WinFileDialog.h"

#include <string>

class PLATFORMUI_API CFileDialog : public CWnd
{
    DECLARE_DYNAMIC(CFileDialog)

public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr,
                         LPCSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr);

    // IDOK or IDCANCEL (also on failure: CommDlgExtendedError tells why).
    virtual INT_PTR DoModal();

    // While the dialog runs: the folder and the name typed.
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    // While the dialog runs.
    CString GetFolderPath() const;
    void SetControlText(int nID, LPCSTR lpsz);
    void HideControl(int nID);

    OPENFILENAMEA m_ofn{};
    BOOL m_bOpenFileDialog;

protected:
    virtual void OnInitDone();
    virtual void OnFileNameChange();
    virtual void OnFolderChange();
    virtual void OnTypeChange();
    // TRUE keeps the dialog open.
    virtual BOOL OnFileNameOK();

    std::string m_strFilter;
    std::string m_strDefExt;
    char m_szFileName[MAX_PATH] = {};
    char m_szFileTitle[MAX_PATH] = {};

private:
    static UINT_PTR HookProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    void OnNotice(UINT nCode);
};
