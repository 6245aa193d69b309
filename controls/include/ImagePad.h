// CImagePad: a thumbnail pad that lays out any number of packed DIBs as a
// grid of cells, each with a head strip, a small label and the picture
// fitted into it; paging by a scroll bar or a page strip, selection, and
// list-view notifications to its parent. The DIBs and palettes handed in
// become the pad's unless it is told not to own them.
#pragma once

#include "AfxColl.h"
#include "AfxWnd.h"
#include "DibApi.h"

class ZENTIQ_API CImagePad : public CWnd
{
    DECLARE_DYNCREATE(CImagePad)

public:
    // Flags.
    static constexpr DWORD kHighlightSelection = 1;
    // Pages with the page strip instead of a vertical scroll bar.
    static constexpr DWORD kPageStrip = 2;
    // No head grips, edges always sunken, the label does not move when pressed.
    static constexpr DWORD kFlat = 4;
    static constexpr DWORD kCellBorder = 8;
    static constexpr DWORD kFixedCellSize = 16;

    // Parts of a cell (GetItemRect) and hit codes (HitTestEx).
    enum enPart
    {
        enPartNone = 0,
        enPartPicture = 1,
        enPartHead = 2,
        enPartLabel = 3,
        enPartCell = 4,
        enHitLabel = 4,
        enHitCell = 7
    };
    // Sent with the item under the mouse as it moves.
    static constexpr int kHoverCode = -19;

    CImagePad();
    ~CImagePad() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Items. Appending returns the new index; inserting at an index stores
    // the item there (freeing what it replaces) and returns count - 1.
    int InsertItem(HDIB hDib, HPALETTE hPalette, DWORD dwData, LPCSTR lpszLabel);
    int InsertItem(int nIndex, HDIB hDib, HPALETTE hPalette, DWORD dwData, LPCSTR lpszLabel);
    // A bitmap file with its palette; -1 when it does not load.
    int InsertItem(LPCSTR lpszPath, DWORD dwData, LPCSTR lpszLabel);
    int InsertItem(int nIndex, LPCSTR lpszPath, DWORD dwData, LPCSTR lpszLabel);
    BOOL SetItem(int nIndex, HDIB hDib, HPALETTE hPalette, DWORD dwData, LPCSTR lpszLabel);
    void RemoveItem(int nIndex, BOOL bRedraw = TRUE);
    // The removed index, -1 without a selection.
    int RemoveSelected();
    void RemoveAll() { Reset(); }
    virtual void Reset();
    int GetItemCount() const { return int(m_dibs.GetSize()); }
    bool IsValidItem(int nIndex) const { return nIndex >= 0 && nIndex < GetItemCount(); }
    void SetItemData(int nIndex, DWORD dwData);
    DWORD GetItemData(int nIndex) const;
    void SetItemLabel(int nIndex, LPCSTR lpszLabel);
    CString GetItemLabel(int nIndex) const;
    void SetOwnership(BOOL bOwnDibs, BOOL bOwnPalettes);

    // Selection and view.
    int SetCurSel(int nIndex);
    int GetCurSel() const { return m_nCurSel; }
    void EnsureVisible(int nIndex);
    BOOL GetVisibleRange(int& nFirst, int& nLast) const;
    BOOL Update(int nIndex);
    BOOL RedrawItems(int nFirst, int nLast);
    int GetTopIndex() const { return m_nTopIndex; }
    int HitTestEx(const POINT* pPoint, int& nItem) const;
    BOOL GetItemRect(int nIndex, RECT* pRect, UINT nPart) const;
    void DrawPad(CDC* pDC);

    // Layout.
    void SetLayout(int nCellWidth, int nCellHeight);
    void SetFixLayout(int nRows, int nColumns);
    void GetLayout(int& nCellWidth, int& nCellHeight, int& nRows, int& nColumns) const;
    void ModifyFlag(DWORD dwRemove, DWORD dwAdd, UINT nSwpFlags = 0);
    DWORD GetFlag() const { return m_dwFlags; }
    // The page strip, null outside its mode.
    CWnd* GetPageStrip() { return m_wndStrip.GetSafeHwnd() != nullptr ? &m_wndStrip : nullptr; }

protected:
    virtual void Initialize();
    void PreSubclassWindow() override;

    void SetRowColLayout(int nRows, int nColumns);
    void CalcLayout();
    void RecalcLayout();
    int GetPageRows() const { return m_nRows > 1 ? m_nRows - 1 : 1; }
    void MoveTop(int nTop);
    void OnPageUp();
    void OnPageDown();
    void OnLineUp();
    void OnLineDown();
    void OnFirstPage();
    void OnLastPage();
    int GetCountPerPage() const { return 0; }
    void SendMessageToParent(int nItem, int nCode);

    void DrawItem(CDC* pDC, int nItem);
    void DrawItemHead(CDC* pDC, int nItem, BOOL bHighlight);
    void DrawItemIcon(CDC* pDC, int nItem);
    void DrawItemLabel(CDC* pDC, int nItem, BOOL bHighlight);
    void DrawItemBorder(CDC* pDC, int nItem);
    void DrawItemHighlight(CDC*, int) {}
    void HighlightItem(int nItem, BOOL bOn);
    void PaintBackground(CDC* pDC);
    void FreeItem(int nIndex);
    void StoreItem(int nIndex, HDIB hDib, HPALETTE hPalette, DWORD dwData, LPCSTR lpszLabel);
    // The cell of an item, or the window when the layout changed.
    void RepaintAfterInsert(int nIndex, int nRows, int nColumns, int nTopMargin);

    void DoLButtonDownOnIcon(int nItem);
    void DoLButtonDownOnHead(int nItem) { DoLButtonDownOnIcon(nItem); }
    void DoLButtonDownOnLabel(int nItem) { DoLButtonDownOnIcon(nItem); }

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

    COLORREF m_crBackground;
    COLORREF m_crLabelText;
    COLORREF m_crFace;
    COLORREF m_crLight;
    COLORREF m_crHighlight;
    COLORREF m_crShadow;
    COLORREF m_crDarkShadow;
    COLORREF m_crCell = RGB(192, 192, 192);
    COLORREF m_crLabelBack;
    COLORREF m_crGridLine = RGB(0, 0, 0);
    int m_nGridLineWidth = 1;
    int m_nHorzGap = 4;
    int m_nVertGap = 4;
    int m_nLeftMargin = 2;
    int m_nTopMargin = 2;
    int m_nBorder = 2;
    int m_nHeadHeight = 20;
    int m_nGripOffset = 6;
    int m_nLabelWidth = 24;
    BOOL m_bSquareCells = FALSE;
    BOOL m_bNotOwnDibs = FALSE;
    BOOL m_bNotOwnPalettes = FALSE;
    int m_nFixedCellWidth = 256;
    int m_nFixedCellHeight = 256;
    // The page strip: an empty bar of the button face across the top.
    CWnd m_wndStrip;
    int m_nTopIndex = 0;
    DWORD m_dwFlags = kHighlightSelection | kPageStrip | kCellBorder;
    int m_nHighlighted = -1;
    // The last highlight drawn, kept per pad: one pad's highlight must not
    // stop another from drawing its own.
    int m_nLastHighlightItem = -2;
    BOOL m_bLastHighlightOn = FALSE;
    BOOL m_bPressed = FALSE;
    CStringArray m_labels;
    CDWordArray m_data;
    CPtrArray m_dibs;
    CPtrArray m_palettes;
    int m_nScrollPos = 0;
    int m_nCurSel = -1;
    int m_nRows = 2;
    int m_nColumns = 2;
    int m_nCellWidth = 256;
    int m_nCellHeight = 256;
    BOOL m_bCreatedByCreate = FALSE;

    DECLARE_MESSAGE_MAP()
};
