// ViewSplitter: the window that holds the viewer window's grid of image
// views. It keeps a grid of view pointers of a fixed size, shows a rows x
// columns part of it side by side with a gap between cells, blows the
// active view up to the whole splitter and back, paints the gap lines and
// activates the view under the mouse. The views are child windows created
// from a run-time class and found again by their control id: the view in
// row r, column c has the id 0xE900 + 16 r + c, so a grid has at most 16
// columns.
#pragma once

#include "AfxWin.h"
#include "Array.h"
#include "FixArray.h"
#include "QuillonExport.h"

class QUILLON_API ViewSplitter : public CWnd
{
    DECLARE_DYNCREATE(ViewSplitter)

public:
    // Columns the control ids can tell apart.
    static constexpr int MaxCols = 16;
    static constexpr UINT FirstCellId = 0xE900;

    ViewSplitter() = default;

    // The capacity of the grid, every cell empty. More than MaxCols columns,
    // or a negative size, is refused with a log line and changes nothing.
    virtual void SetGridSize(int rows, int cols);
    // The part of the grid to show, each count held within the grid size;
    // back to the grid from a blow-up. Nothing moves until RecalcLayout.
    virtual bool SetViewLayout(int rows, int cols);
    virtual void GetViewLayout(int* rows, int* cols);
    // Shows the active view alone over the whole splitter.
    virtual void SetViewLayoutBlowup();
    // Places the views of rows x cols cells side by side.
    virtual void DoSetViewLayout(int rows, int cols);
    // The active view after it is set to view (when set is true).
    virtual CWnd* ActiveView(CWnd* view, bool set);
    // Every other shown view is told it is not active, then view that it is.
    virtual void ActivateView(CWnd* view);

    // A view of the run-time class as the cell's child window, sent its
    // initial update; 0 when the cell lies outside the grid or the view
    // cannot be made, leaving the cell as it was.
    int CreateView(int row, int col, CRuntimeClass* pViewClass, int width, int height,
                   CCreateContext* pContext);
    // The child window of that cell, null when none.
    CWnd* GetPane(int row, int col) const;
    int GetRows() const { return m_nGridRows; }
    int GetCols() const { return m_nGridCols; }
    static UINT GetCellId(int row, int col) { return FirstCellId + 16 * row + col; }

    // Re-applies the grid or the blow-up after a change of size or layout.
    void RecalcLayout();
    // Blows the active view up, or goes back to the grid.
    void ToggleBlowup();
    void BlowupActiveView();
    void Restore();
    bool IsBlownUp() const { return (m_dwLayout & BlownUp) != 0; }
    CWnd* GetActiveView() const { return m_pViewActive; }
    // Appends the views of the shown part, row by row.
    void GetAllVisibleView(Array<CWnd*>& views);
    void ShowAllViews(bool show);

    int GetGap() const { return m_nGap; }
    void SetGap(int gap) { m_nGap = gap; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);

    DECLARE_MESSAGE_MAP()

private:
    static constexpr DWORD BlownUp = 0x80000000;

    using Row = FixArray<CWnd*, MaxCols>;

    // The view of a cell of the grid; null for an empty cell and for a view
    // whose window is gone.
    CWnd* GetCell(int row, int col) const;
    // True for the live view of a cell.
    bool IsGridView(const CWnd* view) const;
    // The cell's view when its window exists, is visible and enabled.
    CWnd* GetShownCell(int row, int col) const;
    // Width and height of a cell of rows x cols in the client rectangle.
    CSize GetCellSize(const CRect& client, int rows, int cols) const;
    void DrawGridLines(CDC* pDC, const CRect& client);

    int m_nGridRows = 0;
    int m_nGridCols = 0;
    int m_nRows = 0;
    int m_nCols = 0;
    DWORD m_dwLayout = 0x22;
    int m_nGap = 0;
    FixArray<Row, 4> m_grid{0, true};
    CWnd* m_pViewActive = nullptr;
};
