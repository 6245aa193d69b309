// CDialog: a dialog from a template of the resource store, modal (DoModal
// runs its loop through the pre-translation walk, where the dialog takes
// its keys) or modeless (Create). CDataExchange and DDX_Control tie members
// to the dialog's controls in DoDataExchange.
#pragma once

#include "AfxWnd.h"
#include "WinDialog.h"

class PLATFORMUI_API CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // The dialog's control; a missing one fails the exchange.
    HWND PrepareCtrl(int nIDC);
    // Ends the exchange: UpdateData then answers FALSE.
    [[noreturn]] void Fail();
};

// Attaches the control to the object (subclassing it) the first time.
PLATFORMUI_API void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class PLATFORMUI_API CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    // Modeless.
    virtual BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(const DialogTemplate* pTemplate, CWnd* pParentWnd = nullptr);
    // Asks the modal-answer hook first; -1 when the template is missing.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT lpRect) const;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    LPCSTR m_lpszTemplateName = nullptr;
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    BOOL CreateFromTemplate(const DialogTemplate* pTemplate, CWnd* pParentWnd);
    // The template DoModal and Create build the dialog from.
    virtual const DialogTemplate* FindTemplate(HINSTANCE& hInstance) const;

    DECLARE_MESSAGE_MAP()
};
