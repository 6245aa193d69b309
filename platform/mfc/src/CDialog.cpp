#include "AfxDialog.h"

#include "AfxResource.h"
#include "AfxWinApp.h"
#include "ModalAnswers.h"
#include "WindowCreationHook.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace
{
// What stops a data exchange half way.
struct DataExchangeFailure
{
};

// The dialog procedure of every CDialog: its object answers WM_INITDIALOG;
// the rest goes through the message maps before it arrives here.
INT_PTR AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM, LPARAM)
{
    if (nMsg != WM_INITDIALOG)
        return FALSE;
    auto* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    return pDialog != nullptr ? pDialog->OnInitDialog() : TRUE;
}

HWND TopLevelOf(CWnd* pWnd)
{
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr)
        return nullptr;
    return ::GetAncestor(pWnd->m_hWnd, GA_ROOT);
}
} // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    const HWND hCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hCtrl == nullptr)
        Fail();
    return hCtrl;
}

void CDataExchange::Fail()
{
    throw DataExchangeFailure{};
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != nullptr)
        return;
    if (!rControl.SubclassWindow(pDX->PrepareCtrl(nIDC)))
        pDX->Fail();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try
    {
        DoDataExchange(&dx);
    }
    catch (const DataExchangeFailure&)
    {
        return FALSE;
    }
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}

int CWnd::RunModalLoop(DWORD)
{
    MSG msg{};
    while (ContinueModal())
    {
        if (!::GetMessageA(&msg, nullptr, 0, 0))
        {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        CWinThread* pThread = AfxGetThread();
        const BOOL bTaken = pThread != nullptr ? pThread->PreTranslateMessage(&msg)
                                               : WalkPreTranslateTree(nullptr, &msg);
        if (!bTaken)
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (m_hWnd == nullptr || !::IsWindow(m_hWnd))
            break;
    }
    return m_nModalResult;
}

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    m_nFlags &= ~WF_CONTINUEMODAL;
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_nIDHelp(nIDTemplate),
      m_pParentWnd(pParentWnd)
{
}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd)
{
}

const DialogTemplate* CDialog::FindTemplate(HINSTANCE& hInstance) const
{
    hInstance = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    return FindDialogTemplate(hInstance, m_lpszTemplateName);
}

BOOL CDialog::CreateFromTemplate(const DialogTemplate* pTemplate, CWnd* pParentWnd)
{
    HINSTANCE hInstance = nullptr;
    if (m_lpszTemplateName != nullptr)
        hInstance = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    AfxHookWindowCreate(this);
    const HWND hDlg = ::CreateDialogIndirectParamA(
        hInstance, pTemplate, pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return hDlg != nullptr;
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    m_pParentWnd = pParentWnd;
    HINSTANCE hInstance = nullptr;
    const DialogTemplate* pTemplate = FindTemplate(hInstance);
    return pTemplate != nullptr && CreateFromTemplate(pTemplate, pParentWnd);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(const DialogTemplate* pTemplate, CWnd* pParentWnd)
{
    m_pParentWnd = pParentWnd;
    return pTemplate != nullptr && CreateFromTemplate(pTemplate, pParentWnd);
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInstance = nullptr;
    const DialogTemplate* pTemplate = FindTemplate(hInstance);
    if (pTemplate == nullptr)
        return -1;
    CWnd* pParent = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    const HWND hParent = TopLevelOf(pParent);
    ModalRequest request;
    request.kind = enModalKind::Dialog;
    request.hOwner = hParent;
    request.caption = pTemplate->pszCaption != nullptr ? pTemplate->pszCaption : "";
    request.nTemplateId = IS_INTRESOURCE(m_lpszTemplateName)
                              ? static_cast<UINT>(reinterpret_cast<ULONG_PTR>(m_lpszTemplateName))
                              : 0;
    request.pData = this;
    request.nDefaultAnswer = IDCANCEL;
    if (const std::optional<INT_PTR> answer = AskModalAnswer(request))
        return *answer;
    const bool bEnableParent = hParent != nullptr && ::IsWindowEnabled(hParent);
    if (bEnableParent)
        ::EnableWindow(hParent, FALSE);
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL | WF_MODALLOOP;
    if (CreateFromTemplate(pTemplate, CWnd::FromHandle(hParent)) && ContinueModal())
    {
        ShowWindow(SW_SHOWNORMAL);
        UpdateWindow();
        RunModalLoop();
    }
    m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);
    if (bEnableParent)
        ::EnableWindow(hParent, TRUE);
    if (hParent != nullptr && m_hWnd != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hParent);
    DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::NextDlgCtrl() const
{
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const
{
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl != nullptr)
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), 1);
}

void CDialog::SetDefID(UINT nID)
{
    SendMessage(DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const
{
    return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0));
}

void CDialog::MapDialogRect(LPRECT lpRect) const
{
    ::MapDialogRect(m_hWnd, lpRect);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    // The dialog's keys: Tab, arrows, Enter, Esc and mnemonics.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hWnd != nullptr)
        return ::IsDialogMessageA(m_hWnd, pMsg);
    return FALSE;
}
