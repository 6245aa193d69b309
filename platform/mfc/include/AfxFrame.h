// Views and the frame windows that hold them: a CView draws its document
// through OnDraw, runs OnInitialUpdate on WM_INITIALUPDATE and becomes its
// frame's active view when pressed. The frame keeps the active view, lays
// its bars and view out, routes commands to the active view, its document,
// itself and the application, and shows prompts in its status bar.
#pragma once

#include "AfxBars.h"
#include "AfxColl.h"
#include "AfxWnd.h"

class CDocument;
class CDocTemplate;
class CView;

// What a frame passes its views at creation (lpCreateParams).
struct CCreateContext
{
    CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CPrintInfo;
class CControlBar;
class CDockBar;
class CMiniDockFrameWnd;

// Frame styles: the title follows the active document ("document - title"
// with FWS_PREFIXTITLE).
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L

class PLATFORMUI_API CView : public CWnd
{
    DECLARE_DYNAMIC(CView)

public:
    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);

    // The view's own handlers, then its document's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Views live on the heap and go with their window.
    void PostNcDestroy() override;

protected:
    CView() = default;

    CDocument* m_pDocument = nullptr;
    friend class CDocument;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);

    DECLARE_MESSAGE_MAP()
};

class PLATFORMUI_API CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)

public:
    CFrameWnd() = default;

    static const CRect rectDefault;

    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr,
                LPCSTR lpszMenuName = nullptr, DWORD dwExStyle = 0,
                CCreateContext* pContext = nullptr);

    // The menu, accelerators, icon and title (the first part of the string)
    // of the resource id; the view of pContext fills the client area.
    virtual BOOL LoadFrame(UINT nIDResource,
                           DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

    CView* GetActiveView() const { return m_pViewActive; }
    // Tells the old and the new view (OnActivateView) when bNotify.
    virtual void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CFrameWnd* GetActiveFrame() { return this; }
    virtual CDocument* GetActiveDocument();
    CWnd* CreateView(CCreateContext* pContext, UINT nID = 0xE900);
    // Picks the first view as active, runs every view's initial update
    // (again on a second document) and shows the frame.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);
    // Bars along the sides, the view in what is left.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle != nullptr ? lpszTitle : ""; }
    CString GetTitle() const { return m_strTitle; }

    // Prompts: the first part of a command's string.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    void SetMessageText(LPCSTR lpszText);
    void SetMessageText(UINT nID);
    // The status bar (AFX_IDW_STATUS_BAR).
    virtual CWnd* GetMessageBar();
    // Shows or hides a bar wherever it is (a floating one with its mini
    // frame) and lays the frame out again.
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // A bar of the frame by id, docked, floating or neither.
    CControlBar* GetControlBar(UINT nID);

    // Docking: dock bars along the sides named (CBRS_ALIGN_*), laid out
    // top, bottom, left, right, after the frame's other bars.
    void EnableDocking(DWORD dwDockStyle);
    // nDockBarID 0: the first side the bar and the frame both allow, in the
    // order top, bottom, left, right. lpRect: where in screen coordinates.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    // Floats the bar in a mini frame whose top left is at point (screen);
    // dwStyle picks the bar's form (CBRS_ALIGN_TOP horizontal, _LEFT vertical).
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    // The dock bar that can take a bar of dwDockStyle whose outline (screen)
    // overlaps it, or null.
    CDockBar* CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);
    virtual CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    // Sends the idle update to the bars that float in mini frames.
    void UpdateFloatingBars();

    // Every bar of the frame, in creation order.
    CPtrList m_listControlBars;
    CRuntimeClass* m_pFloatingFrameClass = nullptr;

    // Active view, its document, the frame, then the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Frames live on the heap and go with their window.
    void PostNcDestroy() override;
    // The keys of the accelerator table become commands of the frame.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // From the resources of the module AfxFindResourceHandle finds.
    BOOL LoadAccelTable(LPCSTR lpszResourceName);
    virtual HACCEL GetDefaultAccelerator();

    // Menu items without a command handler are disabled when their popup
    // opens.
    BOOL m_bAutoMenuEnable = TRUE;
    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;

protected:
    CView* m_pViewActive = nullptr;
    CString m_strTitle;
    UINT m_nIDHelp = 0;
    UINT m_nIDLastMessage = 0;
    BOOL m_bInRecalcLayout = FALSE;

    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnClose();
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg void OnIdleUpdateCmdUI();
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    // Brings each item of the popup up to date through its command's
    // update handler; the handlers may add and remove items meanwhile.
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

    DECLARE_MESSAGE_MAP()
};
