// A spreadsheet-like grid window: a rectangle of cells whose first rows and
// columns may be fixed headings, with per-cell text, image, colours, font,
// format, state and user value; selection, in-place editing, clipboard,
// drag and drop, sorting, printing and a comma-separated text file.
#pragma once

#include "AfxOle.h"
#include "AfxWin.h"
#include "CellRange.h"
#include "GridCell.h"
#include "GridDropTarget.h"
#include "GridItem.h"
#include "TitleTip.h"
#include "ZentiqExport.h"

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

class CPrintInfo;

#define GRIDCTRL_CLASSNAME "MFCGridCtrl"

// The id of the in-place editor, whose end-of-edit notification the grid
// takes.
#define IDC_INPLACE_EDIT 8

// Grid-line modes.
#define GVL_NONE 0
#define GVL_HORZ 1
#define GVL_VERT 2
#define GVL_BOTH 3

// Direction and state flags of GetNextItem.
#define GVNI_FOCUSED GVIS_FOCUSED
#define GVNI_SELECTED GVIS_SELECTED
#define GVNI_DROPHILITED GVIS_DROPHILITED
#define GVNI_READONLY GVIS_READONLY
#define GVNI_MODIFIED GVIS_MODIFIED
#define GVNI_ABOVE 0x100
#define GVNI_BELOW 0x200
#define GVNI_TOLEFT 0x400
#define GVNI_TORIGHT 0x800
#define GVNI_ALL (GVNI_BELOW | GVNI_TORIGHT)

// Notification codes the grid sends its parent, the list view's values.
#define GVN_SELCHANGING (-100)
#define GVN_SELCHANGED (-101)
#define GVN_BEGINDRAG (-109)

// The auto-scroll timer that runs while the mouse selects.
#define GRID_AUTOSCROLL_TIMER 513

// The WM_NOTIFY record of the grid.
struct GridNotification
{
    NMHDR hdr;
    int iRow;
    int iColumn;
};

class ZENTIQ_API CGridCtrl : public CWnd
{
    DECLARE_DYNCREATE(CGridCtrl)

public:
    enum enMouseMode
    {
        MOUSE_NOTHING = 0,
        MOUSE_SELECT_ALL = 1,
        MOUSE_SELECT_COL = 2,
        MOUSE_SELECT_ROW = 3,
        MOUSE_SELECT_CELLS = 4,
        MOUSE_OVER_ROW_DIVIDE = 6,
        MOUSE_SIZING_ROW = 7,
        MOUSE_OVER_COL_DIVIDE = 8,
        MOUSE_SIZING_COL = 9,
        MOUSE_PREPARE_EDIT = 10,
        MOUSE_PREPARE_DRAG = 11,
        MOUSE_DRAGGING = 12,
    };

    CGridCtrl(int nRows = 0, int nCols = 0, int nFixedRows = 0, int nFixedCols = 0);
    ~CGridCtrl() override;
    CGridCtrl(const CGridCtrl&) = delete;
    CGridCtrl& operator=(const CGridCtrl&) = delete;

    BOOL Create(const RECT& rect, CWnd* parent, UINT nID,
                DWORD dwStyle = WS_CHILD | WS_BORDER | WS_TABSTOP | WS_VISIBLE);
    BOOL SubclassWindow(HWND hWnd);

    // Shape.
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int GetFixedRowCount() const { return m_nFixedRows; }
    int GetFixedColumnCount() const { return m_nFixedCols; }
    BOOL SetRowCount(int nRows = 10);
    BOOL SetColumnCount(int nCols = 10);
    BOOL SetFixedRowCount(int nFixedRows = 1);
    BOOL SetFixedColumnCount(int nFixedCols = 1);
    int InsertColumn(LPCSTR strHeading, UINT nFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                     int nColumn = -1);
    int InsertRow(LPCSTR strHeading, int nRow = -1);
    BOOL DeleteColumn(int nColumn);
    BOOL DeleteRow(int nRow);
    BOOL DeleteNonFixedRows();
    BOOL DeleteAllItems();

    // Sizes and geometry.
    int GetRowHeight(int nRow) const;
    BOOL SetRowHeight(int row, int height);
    int GetColumnWidth(int nCol) const;
    BOOL SetColumnWidth(int col, int width);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;
    long GetVirtualWidth() const;
    long GetVirtualHeight() const;
    BOOL GetCellOrigin(int nRow, int nCol, LPPOINT p);
    BOOL GetCellOrigin(const CCellID& cell, LPPOINT p);
    BOOL GetCellRect(int nRow, int nCol, LPRECT pRect);
    BOOL GetCellRect(const CCellID& cell, LPRECT pRect);
    BOOL GetTextRect(int nRow, int nCol, LPRECT pRect);
    BOOL GetTextRect(const CCellID& cell, LPRECT pRect);
    BOOL GetCellRangeRect(const CCellRange& cellRange, LPRECT lpRect);
    CCellID GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck = TRUE);
    CCellID GetTopleftNonFixedCell();
    CCellRange GetVisibleNonFixedCellRange(LPRECT pRect = nullptr);
    CCellRange GetUnobstructedNonFixedCellRange();
    CCellRange GetSelectedCellRange() const;
    CCellRange GetCellRange() const;
    BOOL IsCellVisible(int nRow, int nCol);
    BOOL IsCellVisible(CCellID cell);
    BOOL IsValid(int nRow, int nCol) const;
    BOOL IsValid(const CCellID& cell) const;
    BOOL IsValid(const CCellRange& range) const;
    BOOL IsCellFixed(int nRow, int nCol) const;
    BOOL IsCellEditable(int nRow, int nCol) const;
    BOOL IsCellEditable(const CCellID& cell) const;

    // Settings.
    void SetTextColor(COLORREF clr) { m_crTextColour = clr; }
    COLORREF GetTextColor() const { return m_crTextColour; }
    void SetTextBkColor(COLORREF clr) { m_crTextBkColour = clr; }
    COLORREF GetTextBkColor() const { return m_crTextBkColour; }
    void SetBkColor(COLORREF clr) { m_crBkColour = clr; }
    COLORREF GetBkColor() const { return m_crBkColour; }
    void SetFixedTextColor(COLORREF clr) { m_crFixedTextColour = clr; }
    COLORREF GetFixedTextColor() const { return m_crFixedTextColour; }
    void SetFixedBkColor(COLORREF clr) { m_crFixedBkColour = clr; }
    COLORREF GetFixedBkColor() const { return m_crFixedBkColour; }
    void SetGridColor(COLORREF clr) { m_crGridColour = clr; }
    COLORREF GetGridColor() const { return m_crGridColour; }
    void SetGridLines(int nWhichLines = GVL_BOTH);
    int GetGridLines() const { return m_nGridLines; }
    void SetEditable(BOOL bEditable = TRUE) { m_bEditable = bEditable; }
    BOOL IsEditable() const { return m_bEditable; }
    void SetModified(BOOL bModified = TRUE, int nRow = -1, int nCol = -1);
    BOOL GetModified(int nRow = -1, int nCol = -1);
    void SetListMode(BOOL bEnableListMode = TRUE) { m_bListMode = bEnableListMode; }
    BOOL GetListMode() const { return m_bListMode; }
    void SetSingleRowSelection(BOOL bSing = TRUE) { m_bSingleRowSelection = bSing; }
    BOOL GetSingleRowSelection() const { return m_bSingleRowSelection; }
    void EnableSelection(BOOL bEnable = TRUE);
    BOOL IsSelectable() const { return m_bEnableSelection; }
    void SetHeaderSort(BOOL bSortOnClick = TRUE) { m_bSortOnClick = bSortOnClick; }
    BOOL GetHeaderSort() const { return m_bSortOnClick; }
    void SetHandleTabKey(BOOL bHandleTab = TRUE) { m_bHandleTabKey = bHandleTab; }
    BOOL GetHandleTabKey() const { return m_bHandleTabKey; }
    void SetDoubleBuffering(BOOL bBuffer = TRUE) { m_bDoubleBuffer = bBuffer; }
    BOOL GetDoubleBuffering() const { return m_bDoubleBuffer; }
    void EnableTitleTips(BOOL bEnable = TRUE) { m_bTitleTips = bEnable; }
    BOOL GetTitleTips() const { return m_bTitleTips; }
    void SetRowResize(BOOL bResize = TRUE) { m_bAllowRowResize = bResize; }
    BOOL GetRowResize() const { return m_bAllowRowResize; }
    void SetColumnResize(BOOL bResize = TRUE) { m_bAllowColumnResize = bResize; }
    BOOL GetColumnResize() const { return m_bAllowColumnResize; }
    void EnableDragAndDrop(BOOL bAllow = TRUE) { m_bAllowDragAndDrop = bAllow; }
    BOOL GetDragAndDrop() const { return m_bAllowDragAndDrop; }
    void SetImageList(CImageList* pList) { m_pImageList = pList; }
    CImageList* GetImageList() const { return m_pImageList; }
    int SetMouseMode(int nMode);
    int GetMouseMode() const { return m_MouseMode; }
    int GetSelectedCount() const { return int(m_SelectedCellMap.size()); }
    CCellID GetFocusCell() const { return m_idCurrentCell; }

    // Cells.
    CGridCell* GetCell(int nRow, int nCol) const;
    BOOL SetCell(int nRow, int nCol, CGridCell* pCell);
    BOOL SetItem(const GV_ITEM* pItem);
    BOOL GetItem(GV_ITEM* pItem);
    BOOL SetItemText(int nRow, int nCol, LPCSTR str);
    virtual CString GetItemText(int nRow, int nCol);
    BOOL SetItemData(int nRow, int nCol, LPARAM lParam);
    LPARAM GetItemData(int nRow, int nCol) const;
    BOOL SetItemImage(int nRow, int nCol, int iImage);
    int GetItemImage(int nRow, int nCol) const;
    BOOL SetItemState(int nRow, int nCol, UINT state);
    UINT GetItemState(int nRow, int nCol) const;
    BOOL SetItemFormat(int nRow, int nCol, UINT nFormat);
    UINT GetItemFormat(int nRow, int nCol) const;
    BOOL SetItemBkColour(int nRow, int nCol, COLORREF cr = CLR_DEFAULT_CELL);
    COLORREF GetItemBkColour(int nRow, int nCol) const;
    BOOL SetItemFgColour(int nRow, int nCol, COLORREF cr = CLR_DEFAULT_CELL);
    COLORREF GetItemFgColour(int nRow, int nCol) const;
    BOOL SetItemFont(int nRow, int nCol, const LOGFONT* lf);
    LOGFONT* GetItemFont(int nRow, int nCol);

    // Drawing.
    BOOL RedrawCell(int nRow, int nCol, CDC* pDC = nullptr);
    BOOL RedrawCell(const CCellID& cell, CDC* pDC = nullptr);
    BOOL RedrawRow(int row);
    BOOL RedrawColumn(int col);
    void SetRedraw(BOOL bAllowDraw, BOOL bResetScrollBars = FALSE);
    BOOL InvalidateCellRect(const CCellID& cell);
    BOOL InvalidateCellRect(const CCellRange& cellRange);

    // Scrolling and sizing.
    void ResetScrollBars();
    int GetScrollPos32(int nBar, BOOL bGetTrackPos = FALSE);
    BOOL SetScrollPos32(int nBar, int nPos, BOOL bRedraw = TRUE);
    void EnsureVisible(CCellID& cell) { EnsureVisible(cell.row, cell.col); }
    void EnsureVisible(int nRow, int nCol);
    BOOL AutoSizeRow(int nRow);
    BOOL AutoSizeColumn(int nCol);
    void AutoSizeRows();
    void AutoSizeColumns();
    void AutoSize();
    void ExpandColumnsToFit();
    void ExpandRowsToFit();
    void ExpandToFit();
    CSize GetTextExtent(LPCSTR str, BOOL bUseSelectedFont = TRUE);
    void OnSettingChange(UINT uFlags, LPCSTR lpszSection);

    // Focus and selection.
    CCellID SetFocusCell(CCellID cell);
    CCellID SetFocusCell(int nRow, int nCol);
    void SetSelectedRange(const CCellRange& Range, BOOL bForceRepaint = FALSE);
    void SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol,
                          BOOL bForceRepaint = FALSE);
    void ResetSelectedRange();
    CCellID GetNextItem(CCellID& cell, int nFlags) const;
    void SelectAllCells() { OnEditSelectAll(); }
    virtual void OnEditSelectAll();

    // The notification to the owner (else the parent): its answer, 0 when
    // there is nobody to tell.
    LRESULT SendMessageToParent(int nRow, int nCol, int nMessage);

    // Clipboard and drag and drop, all as CF_TEXT.
    virtual COleDataSource* CopyTextFromGrid();
    virtual void CutSelectedText();
    virtual BOOL PasteTextToGrid(CCellID cell, COleDataObject* pDataObject);
    virtual void OnEditCut();
    virtual void OnEditCopy();
    virtual void OnEditPaste();
    virtual CImageList* CreateDragImage(CPoint* pHotSpot);
    void OnBeginDrag();
    DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    void OnDragLeave();
    BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);

    // Sorting.
    BOOL SortTextItems(int nCol, BOOL bAscending);
    BOOL SortTextItems(int nCol, BOOL bAscending, int low, int high);
    BOOL SortItems(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data = 0);
    BOOL SortItems(PFNLVCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data, int low,
                   int high);

    // Printing: the whole job with the print dialog, or the three steps for
    // a host with its own print loop (its DC marked as printing).
    void Print();
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);

    // The comma-separated text file.
    BOOL Save(LPCSTR filename);
    BOOL Load(LPCSTR filename);

protected:
    void PreSubclassWindow() override;

    virtual void OnFixedColumnClick(CCellID& cell);
    virtual void OnFixedRowClick(CCellID& cell);
    virtual CSize GetCellExtent(int nRow, int nCol, CDC* pDC);
    virtual void OnEndEditCell(int nRow, int nCol, CString str);
    virtual void OnEditCell(int nRow, int nCol, UINT nChar);
    virtual void CreateInPlaceEditControl(CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nCol,
                                          LPCSTR szText, int nChar);
    virtual void OnDraw(CDC* pDC);
    virtual BOOL DrawFixedCell(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBk = FALSE);
    virtual BOOL DrawCell(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBk = FALSE);
    virtual CGridCell* CreateCell(int nRow, int nCol);
    virtual void EmptyCell(CGridCell* pCell, int nRow, int nCol);

    void EraseBkgnd(CDC* pDC);
    virtual void PrintColumnHeadings(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintHeader(CDC* pDC, CPrintInfo* pInfo);
    virtual void PrintFooter(CDC* pDC, CPrintInfo* pInfo);
    BOOL MouseOverRowResizeArea(CPoint& point) const;
    BOOL MouseOverColumnResizeArea(CPoint& point) const;
    void SelectAllNonFixed();
    void SelectColumns(CCellID currentCell);
    void SelectRows(CCellID currentCell);
    void SelectCells(CCellID currentCell);
    void OnSelecting(const CCellID& currentCell);

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnSetFont(WPARAM hFont, LPARAM lParam);
    afx_msg LRESULT OnGetFont(WPARAM hFont, LPARAM lParam);
    afx_msg void OnSysColorChange();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditCut(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditSelectAll(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    using CellKey = std::uint64_t;
    using SelectionMap = std::map<CellKey, CCellID>;
    static CellKey KeyOf(int nRow, int nCol)
    {
        return (CellKey(std::uint32_t(nCol)) << 32) | std::uint32_t(nRow);
    }

    BOOL RegisterWindowClass();
    void SetDefaultsFromSystem();
    void ReadWheelSetting();
    void ApplyFont(const LOGFONT& lf);
    void DeleteCell(int nRow, int nCol);
    void ClearFocusAndSelection();
    void RedrawFixedOf(int nRow, int nCol, BOOL bRow);
    int ColumnOfPoint(int x, BOOL bAllowFixed);
    int RowOfPoint(int y, BOOL bAllowFixed);
    void ScrollArea(int nBar, int nDelta);
    void OnScroll(int nBar, UINT nSBCode);
    // Calls fn with each cell's rectangle, laid out from origin; with a clip
    // box only for the cells meeting it.
    void ForEachCellRect(const CCellRange& cells, CPoint origin, const CRect* pClip,
                         const std::function<void(int, int, const CRect&)>& fn);
    void CreateBoldPrintFont(CFont& font);
    void DrawGridLines(CDC* pDC, const CRect& visRect, const CCellRange& visCells);
    void DrawCellText(CDC* pDC, CGridCell* pCell, CRect rect, BOOL bBold);
    BOOL CanScrollInto(int nBar) const;
    void InvalidateNonFixed(int nBar);
    int SelectedOrder(CCellID cell) const;
    void DrawTrackingBar(int nPos, BOOL bColumn);
    int ResizeTarget(CPoint point, BOOL bColumn);
    CCellID NextFocusForKey(UINT nChar, BOOL& bWrapped);
    void ScrollIntoViewAfterKey(UINT nChar, BOOL bWrapped, const CCellID& next);
    void AutoScrollStep();
    void SwapRows(int nRow1, int nRow2);
    int PageWalk(int nPage) const;
    void PrintRowLines(CDC* pDC, int nRow, const CRect& rect, int nCol, BOOL bFirstRow);
    void SetDropHighlight(const CCellID& cell, BOOL bOn);
    void StoreEditedText(int nRow, int nCol, const CString& text);

    int m_nRows = 0;
    int m_nCols = 0;
    int m_nFixedRows = 0;
    int m_nFixedCols = 0;
    std::vector<std::vector<CGridCell*>> m_RowData;
    std::vector<UINT> m_arRowHeights;
    std::vector<UINT> m_arColWidths;

    COLORREF m_crTextColour = 0;
    COLORREF m_crTextBkColour = 0;
    COLORREF m_crBkColour = 0;
    COLORREF m_crFixedTextColour = 0;
    COLORREF m_crFixedBkColour = 0;
    COLORREF m_crGridColour = RGB(192, 192, 192);
    COLORREF m_crWindowText = 0;
    COLORREF m_crWindowColour = 0;
    COLORREF m_cr3DFace = 0;
    COLORREF m_crShadow = 0;
    int m_nGridLines = GVL_BOTH;
    BOOL m_bEditable = TRUE;
    BOOL m_bModified = FALSE;
    BOOL m_bAllowDragAndDrop = FALSE;
    BOOL m_bListMode = FALSE;
    BOOL m_bSingleRowSelection = FALSE;
    BOOL m_bAllowDraw = TRUE;
    BOOL m_bEnableSelection = TRUE;
    BOOL m_bSortOnClick = TRUE;
    BOOL m_bHandleTabKey = TRUE;
    BOOL m_bDoubleBuffer = TRUE;
    BOOL m_bTitleTips = TRUE;
    BOOL m_bAllowRowResize = TRUE;
    BOOL m_bAllowColumnResize = TRUE;

    int m_MouseMode = MOUSE_NOTHING;
    CCellID m_LeftClickDownCell;
    CCellID m_SelectionStartCell;
    CCellID m_idCurrentCell;
    CPoint m_LeftClickDownPoint;
    CPoint m_LastMousePoint;
    UINT_PTR m_nTimerID = 0;
    int m_nResizeIndex = -1; // the row or column being sized
    SelectionMap m_SelectedCellMap;
    SelectionMap m_PrevSelectedCellMap;
    CCellID m_LastDragOverCell;
    int m_nSortColumn = -1;
    BOOL m_bAscending = TRUE;
    CImageList* m_pImageList = nullptr;

    LOGFONT m_Logfont{};
    CFont m_Font;
    int m_nMargin = 0;
    int m_nDefCellHeight = 10;
    int m_nDefCellWidth = 30;
    int m_nResizeCaptureRange = 3;
    int m_nTimerInterval = 25;
    int m_nRowsPerWheelNotch = 3;
    int m_nVScrollMax = 0;
    int m_nHScrollMax = 0;
    BOOL m_bMustUninitOLE = FALSE;

    CFont m_PrinterFont;
    CSize m_CharSize;
    CSize m_PaperSize;
    CSize m_LogicalPageSize;
    int m_nPageHeight = 0;

    CTitleTip m_TitleTip;
    CGridDropTarget m_DropTarget;
};
