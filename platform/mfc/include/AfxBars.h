// Control bars of a frame: CControlBar takes its place along a side of
// the frame when the frame lays itself out (WM_SIZEPARENT), draws its
// borders and gripper and brings its items up to date at idle time through
// the frame's command handlers. CToolBar is a toolbar control loaded from a
// toolbar resource and its bitmap; CStatusBar a status bar of panes named
// by string ids, the first one showing the frame's prompts.
#pragma once

#include "AfxDockLayout.h"
#include "AfxRes.h"
#include "AfxWnd.h"
#include "WinBars.h"

#include <vector>

// Modes of CalcDynamicLayout: stretch to the length given, horizontal
// form, the width the bar had floating last, docked along a horizontal or
// vertical side, nLength is a height, and keep the result as the bar's own.
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40

// Toolbar button styles as CToolBar gives them: the control's style in the
// low byte, its state bits (enabled inverted) in the next.
#define TBBS_BUTTON TBSTYLE_BUTTON
#define TBBS_SEPARATOR TBSTYLE_SEP
#define TBBS_CHECKBOX TBSTYLE_CHECK
#define TBBS_GROUP TBSTYLE_GROUP
#define TBBS_CHECKGROUP TBSTYLE_CHECKGROUP
#define TBBS_CHECKED (TBSTATE_CHECKED << 8)
#define TBBS_PRESSED (TBSTATE_PRESSED << 8)
#define TBBS_DISABLED (TBSTATE_ENABLED << 8)
#define TBBS_INDETERMINATE (TBSTATE_INDETERMINATE << 8)
#define TBBS_HIDDEN (TBSTATE_HIDDEN << 8)

// Bar styles (CControlBar::m_dwStyle).
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)

// Status-bar pane styles.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

// What a frame asks of the bars when it lays itself out: each bar takes
// its room from rect, which ends as the room left for the view.
struct AFX_SIZEPARENTPARAMS
{
    void* hDWP; // unused: bars move at once
    RECT rect;
    SIZE sizeTotal;
    BOOL bStretch;
};

class CFrameWnd;
class CDockBar;
class CDockContext;

class PLATFORMUI_API CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)

public:
    ~CControlBar() override;

    // The size the bar wants: bStretch fills the frame's width (or height
    // when !bHorz).
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // Bars of CBRS_SIZE_DYNAMIC are asked this instead when docked or
    // floating (nLength -1: no length imposed); the default answers as the
    // fixed layout of the orientation the mode names.
    virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
    // The sides (CBRS_ALIGN_*) the bar may dock at; 0 keeps it where it is.
    void EnableDocking(DWORD dwDockStyle);
    BOOL IsFloating() const;
    BOOL IsDockBar() const { return m_bDockBar; }
    // The frame whose dock bars hold the bar (the dock site, also while
    // the bar floats in a mini frame).
    CFrameWnd* GetDockingFrame() const;
    // Brings the bar's items up to date through pTarget's handlers.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) = 0;
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    BOOL IsVisible() const;
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    CRect GetBorders() const;
    // Bars go with their frame's window but belong to the program.
    BOOL m_bAutoDelete = FALSE;

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;
    CDockBar* m_pDockBar = nullptr;
    CDockContext* m_pDockContext = nullptr;
    // The width the bar had when it last floated (LM_MRUWIDTH).
    int m_nMRUWidth = 32767;

protected:
    CControlBar() = default;

    BOOL m_bDockBar = FALSE;

    // The room borders and gripper take around the items.
    CSize CalcInsideSize() const;
    virtual void DrawBorders(CDC* pDC, CRect& rect);
    virtual void DrawGripper(CDC* pDC, const CRect& rect);
    void PostNcDestroy() override;

    int m_cxLeftBorder = 6;
    int m_cxRightBorder = 0;
    int m_cyTopBorder = 2;
    int m_cyBottomBorder = 2;

    // Takes a size's worth of the frame's room along the bar's side and
    // moves there.
    void TakeRoomAlongSide(AFX_SIZEPARENTPARAMS* pLayout, CSize size);
    // Commands of items and child controls go on to the frame.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    // Borders and gripper answer as the client area, so that a press on
    // them reaches OnLButtonDown and can drag the bar.
    afx_msg UINT OnNcHitTest(CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnDestroy();
    // Whether a press at a point of the client area belongs to an item of
    // the bar rather than to the bar itself.
    virtual BOOL IsOnItem(CPoint point) const;

    DECLARE_MESSAGE_MAP()
};

class PLATFORMUI_API CToolBar : public CControlBar
{
    DECLARE_DYNAMIC(CToolBar)

public:
    CToolBar() = default;
    ~CToolBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                  CRect rcBorders = CRect(0, 0, 0, 0), UINT nID = AFX_IDW_TOOLBAR);
    // The toolbar resource gives the button size and commands, the bitmap
    // of the same id the images (light grey is transparent).
    BOOL LoadToolBar(LPCSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCEA(nIDResource)); }
    BOOL LoadBitmap(LPCSTR lpszResourceName);
    // Commands in order; ID_SEPARATOR makes a separator.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    void SetSizes(SIZE sizeButton, SIZE sizeImage);

    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
    void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
    int GetCount() const;

    // Rows as the mode asks: one row docked horizontally, one button a
    // row docked vertically, wrapped to a width (or to fit a height with
    // LM_LENGTHY) floating. LM_COMMIT shows those rows (and keeps a
    // floating width); without it the bar only answers.
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;

protected:
    BOOL IsOnItem(CPoint point) const override;
    std::vector<ToolbarItem> GetLayoutItems() const;
    void ApplyWraps(const std::vector<bool>& wraps);
    static int FitWidthToHeight(const std::vector<ToolbarItem>& items, int cyButton, int nHeight);

    HIMAGELIST m_hImages = nullptr;
    CSize m_sizeImage{16, 15};

    afx_msg BOOL OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnNeedText(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};

class PLATFORMUI_API CStatusBar : public CControlBar
{
    DECLARE_DYNAMIC(CStatusBar)

public:
    CStatusBar() = default;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id: the string of that id is its text and sets its
    // width; ID_SEPARATOR panes start empty, the first stretches.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& rString) const;
    BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
    int GetCount() const { return static_cast<int>(m_panes.size()); }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;

protected:
    struct Pane
    {
        UINT nID;
        UINT nStyle;
        int cxText;
        CString strText;
    };
    // Hands the panes' edges, texts and kinds to the control.
    void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);
    HGDIOBJ BarFont();

    std::vector<Pane> m_panes;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// The toolbar control itself, for windows that place it on their own.
class PLATFORMUI_API CToolBarCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolBarCtrl)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL AddButtons(int nNumButtons, LPCTBBUTTON lpButtons);
    BOOL InsertButton(int nIndex, LPCTBBUTTON lpButton);
    BOOL DeleteButton(int nIndex);
    int GetButtonCount() const;
    BOOL GetButton(int nIndex, LPTBBUTTON lpButton) const;
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const;
    int CommandToIndex(UINT nID) const;
    int GetState(int nID) const;
    BOOL SetState(int nID, UINT nState);
    BOOL EnableButton(int nID, BOOL bEnable = TRUE);
    BOOL CheckButton(int nID, BOOL bCheck = TRUE);
    BOOL IsButtonEnabled(int nID) const;
    BOOL IsButtonChecked(int nID) const;
    BOOL SetButtonSize(CSize size);
    CSize GetButtonSize() const;
    BOOL SetBitmapSize(CSize size);
    HIMAGELIST SetImageList(HIMAGELIST hImageList);
    HIMAGELIST GetImageList() const;
    // Images from the bitmap resource (or the bitmap) added after the
    // toolbar's others; the index of the first, -1 on failure.
    int AddBitmap(int nNumButtons, UINT nBitmapID);
    int AddBitmap(int nNumButtons, CBitmap* pBitmap);
    void AutoSize();
    int HitTest(LPPOINT ppt) const;
};
