// CPrintDialog: the print dialog over m_pd; it always asks for a printer
// DC, which then belongs to the caller (GetPrinterDC). CPrintInfo: what a
// printing loop keeps about its document (pages, the page being printed,
// the drawing rectangle) and the dialog it asks with.
#pragma once

#include "AfxString.h"
#include "AfxWnd.h"
#include "WinPrintDialog.h"

class PLATFORMUI_API CPrintDialog : public CWnd
{
    DECLARE_DYNAMIC(CPrintDialog)

public:
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                          PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd* pParentWnd = nullptr);
    ~CPrintDialog() override;

    // IDOK or IDCANCEL (also on failure: CommDlgExtendedError tells why).
    virtual INT_PTR DoModal();
    // The default destination without showing anything.
    BOOL GetDefaults();

    HDC GetPrinterDC() const { return m_pd.hDC; }
    CString GetDeviceName() const;
    CString GetPortName() const;
    int GetCopies() const { return m_pd.nCopies; }
    BOOL PrintToFile() const { return (m_pd.Flags & PD_PRINTTOFILE) != 0; }
    BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }

    PRINTDLGA m_pd{};

private:
    BOOL Run();
};

class PLATFORMUI_API CPrintInfo
{
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = WORD(nMinPage); }
    void SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = WORD(nMaxPage); }
    UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
    // The first and last page to print: the range chosen, else every page.
    UINT GetFromPage() const;
    UINT GetToPage() const;
    UINT GetOffsetPage() const { return m_nOffsetPage; }

    CPrintDialog* m_pPD;
    BOOL m_bDirect = FALSE;
    BOOL m_bPreview = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    UINT m_nOffsetPage = 0;
    CString m_strPageDesc;
    LPVOID m_lpUserData = nullptr;
    CRect m_rectDraw;
};
