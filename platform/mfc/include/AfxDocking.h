// Docking: a frame that enables docking gets a dock bar along each side it
// allows (ids AFX_IDW_DOCKBAR_TOP .. _BOTTOM). A dock bar holds bars in rows
// and takes from the frame the room its rows need; a bar moves between the
// dock bars of its frame and the mini frames in which it floats, and keeps
// its frame as owner wherever it is, so that its commands and updates still
// go through the frame. Dragging a bar by its gripper or border (or a
// floating bar by its caption) docks it at the side it is let go over, or
// floats it there.
#pragma once

#include "AfxBars.h"
#include "AfxColl.h"
#include "AfxFrame.h"

#include <vector>

class PLATFORMUI_API CDockBar : public CControlBar
{
    DECLARE_DYNAMIC(CDockBar)

public:
    explicit CDockBar(BOOL bFloating = FALSE);

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    // Takes the bar into a row: the row the rectangle (screen, the bar's
    // new place) falls in or a new one there; without a rectangle a new
    // last row.
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
    BOOL RemoveControlBar(CControlBar* pBar);
    // The bar at an index of m_arrBars; null at a row end.
    CControlBar* GetDockedControlBar(int nPos) const;
    int GetDockedCount() const;
    int GetDockedVisibleCount() const;
    // The index of the bar in m_arrBars, -1 when not held.
    int FindBar(CControlBar* pBar, int nPosExclude = -1) const;
    // The visible bars, row by row.
    std::vector<std::vector<CControlBar*>> GetVisibleRows() const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;

    // The bars in rows: each row ends with a null entry, and the array
    // starts with one.
    CPtrArray m_arrBars;
    BOOL m_bFloating;

protected:
    // Places the rows in a dock bar nLength long and returns its size.
    CSize LayoutRows(int nLength);
    // What a bar asks for here. A docked bar of CBRS_SIZE_DYNAMIC is told
    // the dock bar's length (nLength), so that bars sharing a row can
    // share it out among themselves.
    CSize AskBarSize(CControlBar* pBar, int nLength) const;
    bool IsHorz() const;

    std::vector<int> m_rowThickness;

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();

    DECLARE_MESSAGE_MAP()
};

// A bar made from a dialog template: its controls send their commands to
// the frame and are enabled at idle time by the frame's update handlers
// (controls without a handler stay as they are unless asked to disable).
// It keeps the template's size, stretched along its side when the frame
// asks for a stretched bar.
class PLATFORMUI_API CDialogBar : public CControlBar
{
    DECLARE_DYNAMIC(CDialogBar)

public:
    CDialogBar();

    virtual BOOL Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, UINT nStyle, UINT nID);
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID)
    {
        return Create(pParentWnd, MAKEINTRESOURCEA(nIDTemplate), nStyle, nID);
    }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;

    // The size the template gives.
    CSize m_sizeDefault;
};

// The small tool window a floating bar lives in, owned by the bar's frame.
// Closing it hides the bar; pressing its caption drags the bar; sizing it
// by its edges (bars of CBRS_SIZE_DYNAMIC) reshapes the bar.
class PLATFORMUI_API CMiniDockFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMiniDockFrameWnd)

public:
    CMiniDockFrameWnd();

    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    // The window rectangle of a mini frame whose bar (of that style)
    // fills rcBar.
    static CRect CalcFrameRect(const CRect& rcBar, DWORD dwBarStyle);
    // Sizes the window around its bar.
    void RecalcLayout(BOOL bNotify = TRUE) override;
    // A view in the floating bar becomes the active view of the frame the
    // bar docks in, as it would be docked.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE) override;
    CControlBar* GetBar() const;

    CDockBar m_wndDockBar;

protected:
    static DWORD FrameStyleFor(DWORD dwBarStyle);

    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);

    DECLARE_MESSAGE_MAP()
};

// Drags a bar: follows the pointer with the outline the bar would take
// (docked horizontally, vertically or floating) until the button goes up,
// then docks or floats it there. Escape or a lost capture cancel.
class PLATFORMUI_API CDockContext
{
public:
    explicit CDockContext(CControlBar* pBar);
    virtual ~CDockContext() = default;

    // ptScreen: where the press was.
    virtual void StartDrag(CPoint ptScreen);
    // Docks a floating bar where it was docked last, floats a docked one.
    virtual void ToggleDocking();

    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    DWORD m_dwDockStyle = 0;
    // Where the bar was docked last (dock bar id and screen rectangle), to
    // dock it back.
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;
    // The outline and place last shown while dragging, screen coordinates.
    CRect m_rectDragHorz;
    CRect m_rectDragVert;
    CRect m_rectFrameDragHorz;
    BOOL m_bDragging = FALSE;

protected:
    // The outlines the bar would take with the pointer at a point.
    void Move(CPoint ptScreen);
    // Where the bar goes if let go now: a dock bar of the frame, or null
    // for floating.
    CDockBar* FindDockBar(CRect& rcDock) const;
    void EndDrag(bool bDrop);
    // Takes away the outline shown and shows one at rect (none if empty).
    void DrawOutline(const CRect& rect);
    void RememberDockedPlace();

    CPoint m_ptLast;
    CPoint m_ptOffset;
    CRect m_rectShown;
};
