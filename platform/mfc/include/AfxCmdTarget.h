// CCmdTarget: the base of every class with a message map, which routes
// commands, command updates and notifications to its handlers; CCmdUI:
// the item (menu entry, bar button, control) a command update acts on.
#pragma once

#include "AfxMsgMap.h"
#include "AfxObject.h"
#include "PlatformUIExport.h"

class CMenu;

struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
    AFX_PMSG_THUNK pfn;
};

struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

class PLATFORMUI_API CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)

public:
    CCmdTarget() = default;

    // nCode: CN_COMMAND, CN_UPDATE_COMMAND_UI (pExtra: the CCmdUI), a
    // control's notification code, or MAKELONG(code, WM_NOTIFY) for a
    // notification (pExtra: its AFX_NOTIFY). With pHandlerInfo, only tells
    // whether (and where) a handler exists.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    // The first entry of this object's maps (most derived first) for the
    // message, code and id; null when none.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMsg, UINT nCode, UINT nID) const;
};

class CWnd;

class PLATFORMUI_API CCmdUI
{
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;
    CMenu* m_pSubMenu = nullptr;
    CWnd* m_pOther = nullptr; // a bar or a control
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
    UINT m_nIndexMax = 0;
    CMenu* m_pParentMenu = nullptr;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR lpszText);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks the target's handlers; without any handler the item is disabled
    // when bDisableIfNoHandler.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
};
