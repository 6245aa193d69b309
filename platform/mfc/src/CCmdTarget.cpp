#include "AfxCmdTarget.h"

#include "AfxMenu.h"
#include "AfxWinApp.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace
{
// The wait cursor of a process without an application object.
void DoWaitCursor(int nCode)
{
    if (CWinApp* pApp = AfxGetApp())
    {
        pApp->DoWaitCursor(nCode);
        return;
    }
    static int nCount = 0;
    static HCURSOR hRestore = nullptr;
    nCount += nCode;
    if (nCount > 0)
    {
        const HCURSOR hPrevious = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        if (nCode > 0 && nCount == 1)
            hRestore = hPrevious;
        return;
    }
    nCount = 0;
    SetCursor(hRestore);
}
} // namespace

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &entries[0]};
    return &messageMap;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMsg, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nSig != AfxSig_end; ++pEntry)
        {
            const UINT nEntryMsg =
                pEntry->pnRegistered != nullptr ? *pEntry->pnRegistered : pEntry->nMessage;
            if (nEntryMsg == nMsg && pEntry->nCode == nCode && nID >= pEntry->nID &&
                nID <= pEntry->nLastID)
                return pEntry;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT nMsg = WM_COMMAND;
    UINT nEntryCode = static_cast<UINT>(nCode);
    AFX_MSGCALL call;
    call.nID = nID;
    call.pExtra = pExtra;
    if (nCode != static_cast<int>(CN_UPDATE_COMMAND_UI) && HIWORD(nCode) != 0)
    {
        // A notification: MAKELONG(code, WM_NOTIFY) with its record.
        nMsg = HIWORD(nCode);
        nEntryCode = LOWORD(nCode);
        const auto* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        call.pExtra = pNotify != nullptr ? pNotify->pNMHDR : nullptr;
        call.pResult = pNotify != nullptr ? pNotify->pResult : nullptr;
        // Notification codes are negative numbers kept in 16 bits.
        nEntryCode = static_cast<UINT>(static_cast<int>(static_cast<SHORT>(nEntryCode)));
    }
    call.nMsg = nMsg;
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nSig != AfxSig_end; ++pEntry)
        {
            if (pEntry->nMessage != nMsg || pEntry->nCode != nEntryCode || nID < pEntry->nID ||
                nID > pEntry->nLastID)
                continue;
            if (pHandlerInfo != nullptr)
            {
                pHandlerInfo->pTarget = this;
                pHandlerInfo->pfn = pEntry->pfn;
                return TRUE;
            }
            if (pEntry->pfn(this, call))
                return TRUE;
        }
    }
    return FALSE;
}

void CCmdTarget::BeginWaitCursor()
{
    DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    DoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor()
{
    DoWaitCursor(0);
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu != nullptr)
    {
        // A popup item follows its first command's state itself.
        if (m_pSubMenu == nullptr)
            m_pMenu->EnableMenuItem(m_nIndex,
                                    MF_BYPOSITION | (bOn ? MF_ENABLED : MF_DISABLED | MF_GRAYED));
    }
    else if (m_pOther != nullptr)
    {
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu != nullptr)
    {
        if (m_pSubMenu == nullptr)
            m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    }
    else if (m_pOther != nullptr)
    {
        // BM_SETCHECK of a button standing for the command.
        m_pOther->SendMessage(0x00F1, static_cast<WPARAM>(nCheck), 0);
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    if (m_pMenu != nullptr && m_pSubMenu == nullptr)
    {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        m_pMenu->GetMenuItemInfo(m_nIndex, &info, TRUE);
        info.fType = bOn ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~MFT_RADIOCHECK);
        m_pMenu->SetMenuItemInfo(m_nIndex, &info, TRUE);
    }
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCSTR lpszText)
{
    if (m_pMenu != nullptr)
    {
        if (m_pSubMenu != nullptr)
            return;
        const UINT nState = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION) &
                            (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBARBREAK | MF_MENUBREAK);
        m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | MF_STRING | nState, m_nID, lpszText);
    }
    else if (m_pOther != nullptr)
    {
        m_pOther->SetWindowText(lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    if (pTarget == nullptr)
        return FALSE;
    m_bEnableChanged = FALSE;
    const BOOL bResult =
        pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
    if (bDisableIfNoHandler && !m_bEnableChanged)
    {
        AFX_CMDHANDLERINFO info{nullptr, nullptr};
        if (!pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info))
            Enable(FALSE);
    }
    return bResult;
}
