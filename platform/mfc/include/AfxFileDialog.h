// CFileDialog: the open or save dialog over m_ofn. MFC filter strings
// ("Name|*.a;*.b|...||") become the record's filters; with
// OFN_ALLOWMULTISELECT the chosen files come one by one from
// GetStartPosition/GetNextPathName, in the order chosen.
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

    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    OPENFILENAMEA m_ofn{};
    BOOL m_bOpenFileDialog;

protected:
    std::string m_strFilter;
    std::string m_strDefExt;
    char m_szFileName[MAX_PATH] = {};
    char m_szFileTitle[MAX_PATH] = {};
};
