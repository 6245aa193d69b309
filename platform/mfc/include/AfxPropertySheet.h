// Property sheets: CPropertySheet, a dialog with a tab for each of its
// CPropertyPage pages and the OK, Cancel and Apply buttons, and the pages,
// child dialogs made from their own templates the first time they show.
//
// The sheet talks to its pages with WM_NOTIFY records (PSHNOTIFY) that the
// page turns into its virtuals: PSN_SETACTIVE (OnSetActive) when a page
// comes to the front, PSN_KILLACTIVE (OnKillActive; a page that fails it
// keeps the front) before it leaves and before changes are applied,
// PSN_APPLY (OnApply) to every page made so far for OK and Apply,
// PSN_QUERYCANCEL (OnQueryCancel) and PSN_RESET (OnReset) for Cancel.
// A page tells the sheet of changes with SetModified (PSM_CHANGED,
// PSM_UNCHANGED); Apply is enabled while some page has changes.
#pragma once

#include "AfxDialog.h"
#include "AfxString.h"
#include "AfxTabCtrl.h"

#include <vector>

#define PSN_FIRST (0U - 200U)
#define PSN_SETACTIVE (PSN_FIRST - 0)
#define PSN_KILLACTIVE (PSN_FIRST - 1)
#define PSN_APPLY (PSN_FIRST - 2)
#define PSN_RESET (PSN_FIRST - 3)
#define PSN_QUERYCANCEL (PSN_FIRST - 9)

#define PSNRET_NOERROR 0
#define PSNRET_INVALID 1
#define PSNRET_INVALID_NOCHANGEPAGE 2

#define PSM_SETCURSEL (WM_USER + 101)
#define PSM_CHANGED (WM_USER + 104)
#define PSM_UNCHANGED (WM_USER + 109)
#define PSM_APPLY (WM_USER + 110)
#define PSM_PRESSBUTTON (WM_USER + 112)
#define PSM_GETTABCONTROL (WM_USER + 116)
#define PSM_GETCURRENTPAGEHWND (WM_USER + 118)

#define PSBTN_OK 3
#define PSBTN_APPLYNOW 4
#define PSBTN_CANCEL 5

#define PSH_NOAPPLYNOW 0x00000080

#define ID_APPLY_NOW 0x3021
#define AFX_IDC_TAB_CONTROL 0x3020

typedef struct _PSHNOTIFY
{
    NMHDR hdr;
    LPARAM lParam; // PSN_APPLY: TRUE for OK, FALSE for Apply
} PSHNOTIFY, *LPPSHNOTIFY;

// What callers set before the sheet is made; only dwFlags (PSH_NOAPPLYNOW)
// is read.
typedef struct _PROPSHEETHEADERA
{
    DWORD dwSize;
    DWORD dwFlags;
} PROPSHEETHEADERA;

class PLATFORMUI_API CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)

public:
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption = 0);

    // The tab's title: the caption string, else the template's caption.
    CString GetCaption() const;
    void SetModified(BOOL bChanged = TRUE);

    virtual BOOL OnSetActive();
    // Takes the controls' data (UpdateData); FALSE keeps the page in front.
    virtual BOOL OnKillActive();
    // Calls OnOK; FALSE keeps the sheet open on this page.
    virtual BOOL OnApply();
    virtual void OnReset();
    virtual BOOL OnQueryCancel();
    // The sheet's OK and Cancel end the sheet, not the page.
    void OnOK() override;
    void OnCancel() override;

    // The page's keys are the sheet's.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // Made as a child of the sheet; FALSE when the template is missing.
    BOOL CreatePage(CWnd* pSheet);
    // The template's size in dialog units; empty when it is missing.
    CSize GetTemplateSize() const;

private:
    UINT m_nIDCaption;
};

class PLATFORMUI_API CPropertySheet : public CDialog
{
    DECLARE_DYNAMIC(CPropertySheet)

public:
    CPropertySheet();
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const;
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    void SetTitle(LPCSTR lpszText);
    CTabCtrl* GetTabControl() const;
    // PSBTN_OK, PSBTN_CANCEL or PSBTN_APPLYNOW, as if clicked.
    BOOL PressButton(int nButton);

    INT_PTR DoModal() override;
    // Modeless: OK and Cancel destroy the sheet.
    BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = DWORD(-1), DWORD dwExStyle = 0);

    BOOL OnInitDialog() override;
    // Ctrl+Tab and Ctrl+Page Down show the next page, with Shift or Page Up
    // the one before; the other keys are the dialog's.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    PROPSHEETHEADERA m_psh{sizeof(PROPSHEETHEADERA), 0};

protected:
    const DialogTemplate* FindTemplate(HINSTANCE& hInstance) const override;

private:
    void BuildTemplate(DWORD dwStyle, DWORD dwExStyle);
    void Layout();
    LRESULT SendToPage(CPropertyPage* pPage, UINT nCode, LPARAM lParam = 0);
    // The front page agrees to leave.
    bool LeaveActivePage();
    bool ShowPage(int nPage);
    // OK (bOK) or Apply: false when a page kept the sheet open.
    bool Apply(bool bOK);
    bool Cancel();
    void Close(int nResult);
    void UpdateApplyButton();

    std::vector<CPropertyPage*> m_pages;
    std::vector<HWND> m_modified;
    CString m_strCaption;
    int m_nActive = -1;
    UINT m_nStartPage = 0;
    bool m_bModeless = false;
    std::vector<DialogItemTemplate> m_items;
    DialogTemplate m_template{};
    mutable CTabCtrl m_tab;
};
