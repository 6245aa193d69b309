#include "AfxDocking.h"
#include "AfxResource.h"
#include "ResourceRegistry.h"
#include "WinResource.h"
#include "WindowCreationHook.h"

namespace
{
// The bar answers its messages through its message map; the dialog
// manager only lays the controls out.
INT_PTR DialogBarProc(HWND, UINT nMsg, WPARAM, LPARAM)
{
    return nMsg == WM_INITDIALOG ? TRUE : FALSE;
}

constexpr DWORD kFrameStyles =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_DLGFRAME | WS_BORDER | DS_MODALFRAME;
} // namespace

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

CDialogBar::CDialogBar()
{
    SetBorders(0, 0, 0, 0);
}

BOOL CDialogBar::Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, UINT nStyle, UINT nID)
{
    const HINSTANCE hInstance = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
    const DialogTemplate* pTemplate = FindDialogTemplate(hInstance, lpszTemplateName);
    if (pTemplate == nullptr || pParentWnd == nullptr)
        return FALSE;
    m_dwStyle = nStyle & CBRS_ALL;
    // The template's window becomes a child of the frame, without a frame
    // of its own.
    DialogTemplate child = *pTemplate;
    child.dwStyle = (child.dwStyle & ~kFrameStyles) | WS_CHILD | (nStyle & WS_VISIBLE);
    AfxHookWindowCreate(this);
    const HWND hBar =
        ::CreateDialogIndirectParamA(hInstance, &child, pParentWnd->m_hWnd, DialogBarProc, 0);
    AfxUnhookWindowCreate();
    if (hBar == nullptr)
        return FALSE;
    SetDlgCtrlID(static_cast<int>(nID));
    CRect rect;
    GetWindowRect(&rect);
    m_sizeDefault = rect.Size();
    return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    if (!bStretch)
        return m_sizeDefault;
    return bHorz ? CSize(32767, m_sizeDefault.cy) : CSize(m_sizeDefault.cx, 32767);
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler)
{
    CCmdUI state;
    for (CWnd* pChild = GetTopWindow(); pChild != nullptr; pChild = pChild->GetNextWindow())
    {
        const int nID = pChild->GetDlgCtrlID();
        if (nID <= 0 || nID > 0xFFFF)
            continue;
        state.m_nID = static_cast<UINT>(nID);
        state.m_pOther = pChild;
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}
