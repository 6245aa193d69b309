// The MFC object of the tip control: thin members over its messages. A
// tool named by a window alone (nIDTool 0) is the whole window, its
// callback texts asked of the window's parent; a tool with an id is a
// rectangle of the window (its client area when none is given). The
// pointer reaches the control through RelayEvent, usually called from the
// owner's PreTranslateMessage.
#pragma once

#include "AfxWnd.h"
#include "WinBars.h"

class PLATFORMUI_API CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)

public:
    ~CToolTipCtrl() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    BOOL AddTool(CWnd* pWnd, LPCSTR lpszText = LPSTR_TEXTCALLBACKA, LPCRECT lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    // The text is the string nIDText of the resources.
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    void UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    BOOL GetToolInfo(TOOLINFOA& toolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolInfo(LPTOOLINFOA lpToolInfo);
    BOOL HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFOA lpToolInfo) const;
    int GetToolCount() const;

    void Activate(BOOL bActivate);
    // The initial delay (the others follow it).
    void SetDelayTime(UINT nDelay);
    void SetDelayTime(DWORD dwDuration, int iTime);
    int GetDelayTime(DWORD dwDuration) const;
    int SetMaxTipWidth(int iWidth);
    int GetMaxTipWidth() const;

    void RelayEvent(LPMSG lpMsg);
    void Pop();
    void Update();

protected:
    // The record naming the tool of pWnd and nIDTool.
    static TOOLINFOA ToolOf(CWnd* pWnd, UINT_PTR nIDTool);
    BOOL AddToolText(CWnd* pWnd, HINSTANCE hInstance, LPCSTR lpszText, LPCRECT lpRectTool,
                     UINT_PTR nIDTool);
};
