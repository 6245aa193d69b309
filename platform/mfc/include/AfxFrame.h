// Views and the frame windows that hold them: a CView draws its document
// through OnDraw, runs OnInitialUpdate on WM_INITIALUPDATE and becomes its
// frame's active view when pressed. The frame keeps the active view.
#pragma once

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

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Views live on the heap and go with their window.
    void PostNcDestroy() override;

protected:
    CView() = default;

    CDocument* m_pDocument = nullptr;

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

    CView* GetActiveView() const { return m_pViewActive; }
    // Tells the old and the new view (OnActivateView) when bNotify.
    virtual void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CFrameWnd* GetActiveFrame() { return this; }

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

    afx_msg void OnSetFocus(CWnd* pOldWnd);
    // Brings each item of the popup up to date through its command's
    // update handler; the handlers may add and remove items meanwhile.
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

    DECLARE_MESSAGE_MAP()
};
