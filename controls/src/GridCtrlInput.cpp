// What a user does with the grid: focus and selection, mouse modes, row
// and column sizing, auto-scroll, the wheel, keys and in-place editing.
#include "GridCtrl.h"
#include "InPlaceEdit.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CGridCtrl, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDBLCLK()
ON_WM_SETCURSOR()
ON_WM_CAPTURECHANGED()
ON_WM_TIMER()
ON_WM_MOUSEWHEEL()
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_WM_GETDLGCODE()
ON_WM_SYSCOLORCHANGE()
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(WM_GETFONT, OnGetFont)
ON_NOTIFY(GVN_ENDLABELEDIT, IDC_INPLACE_EDIT, OnEndInPlaceEdit)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
ON_COMMAND(ID_EDIT_CUT, OnEditCut)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCut)
ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateEditSelectAll)
END_MESSAGE_MAP()

namespace
{
bool IsKeyDown(int nKey)
{
    return (::GetKeyState(nKey) & 0x8000) != 0;
}
} // namespace

// --- focus and selection ---------------------------------------------------

void CGridCtrl::RedrawFixedOf(int nRow, int nCol, BOOL bRow)
{
    if (bRow)
        for (int col = 0; col < m_nFixedCols; ++col)
            RedrawCell(nRow, col);
    else
        for (int row = 0; row < m_nFixedRows; ++row)
            RedrawCell(row, nCol);
}

CCellID CGridCtrl::SetFocusCell(int nRow, int nCol)
{
    return SetFocusCell(CCellID(nRow, nCol));
}

CCellID CGridCtrl::SetFocusCell(CCellID cell)
{
    if (cell == m_idCurrentCell)
        return m_idCurrentCell;
    const CCellID idPrev = m_idCurrentCell;
    m_idCurrentCell = cell;

    if (IsValid(idPrev))
    {
        SendMessageToParent(idPrev.row, idPrev.col, GVN_SELCHANGING);
        SetItemState(idPrev.row, idPrev.col, GetItemState(idPrev.row, idPrev.col) & ~GVIS_FOCUSED);
        RedrawCell(idPrev);
        if (idPrev.col != m_idCurrentCell.col)
            RedrawFixedOf(idPrev.row, idPrev.col, FALSE);
        if (idPrev.row != m_idCurrentCell.row)
            RedrawFixedOf(idPrev.row, idPrev.col, TRUE);
    }
    if (IsValid(m_idCurrentCell))
    {
        SetItemState(m_idCurrentCell.row, m_idCurrentCell.col,
                     GetItemState(m_idCurrentCell.row, m_idCurrentCell.col) | GVIS_FOCUSED);
        RedrawCell(m_idCurrentCell);
        if (idPrev.col != m_idCurrentCell.col)
            RedrawFixedOf(m_idCurrentCell.row, m_idCurrentCell.col, FALSE);
        if (idPrev.row != m_idCurrentCell.row)
            RedrawFixedOf(m_idCurrentCell.row, m_idCurrentCell.col, TRUE);
        SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GVN_SELCHANGED);
    }
    return idPrev;
}

void CGridCtrl::ResetSelectedRange()
{
    SetSelectedRange(-1, -1, -1, -1);
    SetFocusCell(-1, -1);
}

void CGridCtrl::SetSelectedRange(const CCellRange& Range, BOOL bForceRepaint)
{
    SetSelectedRange(Range.GetMinRow(), Range.GetMinCol(), Range.GetMaxRow(), Range.GetMaxCol(),
                     bForceRepaint);
}

void CGridCtrl::SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol,
                                 BOOL bForceRepaint)
{
    if (!m_bEnableSelection)
        return;
    CDC* pDC = nullptr;
    if (bForceRepaint && GetSafeHwnd() != nullptr)
        pDC = GetDC();
    const auto refresh = [&](const CCellID& cell)
    {
        if (pDC != nullptr)
            RedrawCell(cell, pDC);
        else
            InvalidateCellRect(cell);
    };
    const CCellRange newRange(nMinRow, nMinCol, nMaxRow, nMaxCol);

    // Copies: SetItemState changes the map under the loop.
    const SelectionMap selected = m_SelectedCellMap;
    for (const auto& [key, cell] : selected)
    {
        (void)key;
        if (!IsValid(cell))
            continue;
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) & ~GVIS_SELECTED);
        if (!newRange.InRange(cell))
            refresh(cell);
    }
    if (!m_bSingleRowSelection)
        for (const auto& [key, cell] : m_PrevSelectedCellMap)
        {
            (void)key;
            if (IsValid(cell))
                SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GVIS_SELECTED);
        }
    if (IsValid(newRange))
        for (int row = nMinRow; row <= nMaxRow; ++row)
            for (int col = nMinCol; col <= nMaxCol; ++col)
            {
                const UINT state = GetItemState(row, col);
                if ((state & GVIS_SELECTED) != 0)
                    continue;
                SetItemState(row, col, state | GVIS_SELECTED);
                refresh(CCellID(row, col));
            }
    if (pDC != nullptr)
        ReleaseDC(pDC);
}

void CGridCtrl::OnEditSelectAll()
{
    if (!m_bEnableSelection)
        return;
    SelectAllNonFixed();
}

void CGridCtrl::SelectAllNonFixed()
{
    SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1);
}

void CGridCtrl::SelectColumns(CCellID currentCell)
{
    if (currentCell.col < m_nFixedCols)
        return;
    if (!IsValid(currentCell))
        return;
    SetSelectedRange(m_nFixedRows, std::min(m_SelectionStartCell.col, currentCell.col), m_nRows - 1,
                     std::max(m_SelectionStartCell.col, currentCell.col));
}

void CGridCtrl::SelectRows(CCellID currentCell)
{
    if (currentCell.row < m_nFixedRows)
        return;
    if (!IsValid(currentCell))
        return;
    if (m_bListMode && m_bSingleRowSelection)
        SetSelectedRange(currentCell.row, m_nFixedCols, currentCell.row, m_nCols - 1);
    else
        SetSelectedRange(std::min(m_SelectionStartCell.row, currentCell.row), m_nFixedCols,
                         std::max(m_SelectionStartCell.row, currentCell.row), m_nCols - 1);
}

void CGridCtrl::SelectCells(CCellID currentCell)
{
    if (currentCell.row < m_nFixedRows || currentCell.col < m_nFixedCols || !IsValid(currentCell))
        return;
    SetSelectedRange(std::min(m_SelectionStartCell.row, currentCell.row),
                     std::min(m_SelectionStartCell.col, currentCell.col),
                     std::max(m_SelectionStartCell.row, currentCell.row),
                     std::max(m_SelectionStartCell.col, currentCell.col));
}

void CGridCtrl::OnSelecting(const CCellID& currentCell)
{
    if (!m_bEnableSelection)
        return;
    switch (m_MouseMode)
    {
    case MOUSE_SELECT_ALL:
        SelectAllNonFixed();
        break;
    case MOUSE_SELECT_COL:
        SelectColumns(currentCell);
        break;
    case MOUSE_SELECT_ROW:
        SelectRows(currentCell);
        break;
    case MOUSE_SELECT_CELLS:
        SelectCells(currentCell);
        break;
    default:
        break;
    }
}

CCellID CGridCtrl::GetNextItem(CCellID& cell, int nFlags) const
{
    const int nStateFlags = nFlags & 0xFF;
    const auto matches = [&](int row, int col)
    { return (GetItemState(row, col) & UINT(nStateFlags)) != 0; };

    if ((nFlags & GVNI_ALL) == GVNI_ALL)
    {
        int row = std::max(cell.row, m_nFixedRows);
        int col = cell.col + 1;
        if (cell.row < 1)
            row = m_nFixedRows;
        if (col < 1)
            col = m_nFixedCols;
        for (; row < m_nRows; ++row, col = m_nFixedCols)
            for (; col < m_nCols; ++col)
                if (matches(row, col))
                    return CCellID(row, col);
        return CCellID(-1, -1);
    }
    if (nFlags & GVNI_ABOVE)
    {
        for (int row = cell.row - 1; row >= m_nFixedRows; --row)
            if (matches(row, cell.col))
                return CCellID(row, cell.col);
    }
    else if (nFlags & GVNI_BELOW)
    {
        for (int row = std::max(cell.row + 1, m_nFixedRows); row < m_nRows; ++row)
            if (matches(row, cell.col))
                return CCellID(row, cell.col);
    }
    else if (nFlags & GVNI_TOLEFT)
    {
        for (int col = cell.col - 1; col >= m_nFixedCols; --col)
            if (matches(cell.row, col))
                return CCellID(cell.row, col);
    }
    else if (nFlags & GVNI_TORIGHT)
    {
        for (int col = std::max(cell.col + 1, m_nFixedCols); col < m_nCols; ++col)
            if (matches(cell.row, col))
                return CCellID(cell.row, col);
    }
    return CCellID(-1, -1);
}

// --- fixed-cell clicks -----------------------------------------------------

void CGridCtrl::OnFixedRowClick(CCellID& cell)
{
    if (!IsValid(cell))
        return;
    if (!m_bListMode)
    {
        m_MouseMode = cell.col < m_nFixedCols ? MOUSE_SELECT_ALL : MOUSE_SELECT_COL;
        OnSelecting(cell);
        return;
    }
    if (!m_bSortOnClick)
        return;
    const HCURSOR hOld = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    if (cell.col == m_nSortColumn)
        m_bAscending = !m_bAscending;
    else
    {
        m_bAscending = TRUE;
        m_nSortColumn = cell.col;
    }
    SortTextItems(m_nSortColumn, m_bAscending);
    Invalidate();
    ::SetCursor(hOld);
}

void CGridCtrl::OnFixedColumnClick(CCellID& cell)
{
    if (!IsValid(cell))
        return;
    m_MouseMode = cell.row < m_nFixedRows ? MOUSE_SELECT_ALL : MOUSE_SELECT_ROW;
    OnSelecting(cell);
}

// --- dividers --------------------------------------------------------------

BOOL CGridCtrl::MouseOverColumnResizeArea(CPoint& point) const
{
    auto* pThis = const_cast<CGridCtrl*>(this);
    if (point.y >= GetFixedRowHeight())
        return FALSE;
    const CCellID idCurrentCell = pThis->GetCellFromPt(point);
    CPoint start;
    if (!pThis->GetCellOrigin(idCurrentCell, &start))
        return FALSE;
    const int endx = start.x + GetColumnWidth(idCurrentCell.col);
    return (point.x - start.x <= m_nResizeCaptureRange && idCurrentCell.col != 0) ||
           endx - point.x <= m_nResizeCaptureRange;
}

BOOL CGridCtrl::MouseOverRowResizeArea(CPoint& point) const
{
    auto* pThis = const_cast<CGridCtrl*>(this);
    if (point.x >= GetFixedColumnWidth())
        return FALSE;
    const CCellID idCurrentCell = pThis->GetCellFromPt(point);
    CPoint start;
    if (!pThis->GetCellOrigin(idCurrentCell, &start))
        return FALSE;
    const int endy = start.y + GetRowHeight(idCurrentCell.row);
    return (point.y - start.y <= m_nResizeCaptureRange && idCurrentCell.row != 0) ||
           endy - point.y <= m_nResizeCaptureRange;
}

// The row or column a divider press sizes: the one under the point, or
// the one before it when the point is on its leading edge.
int CGridCtrl::ResizeTarget(CPoint point, BOOL bColumn)
{
    const CCellID cell = GetCellFromPt(point);
    CPoint start;
    if (!GetCellOrigin(cell, &start))
        return bColumn ? cell.col : cell.row;
    if (bColumn)
        return point.x - start.x <= m_nResizeCaptureRange ? cell.col - 1 : cell.col;
    return point.y - start.y <= m_nResizeCaptureRange ? cell.row - 1 : cell.row;
}

void CGridCtrl::DrawTrackingBar(int nPos, BOOL bColumn)
{
    CRect rect;
    GetClientRect(rect);
    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return;
    const CRect bar = bColumn ? CRect(nPos, rect.top, nPos + 2, rect.bottom)
                              : CRect(rect.left, nPos, rect.right, nPos + 2);
    pDC->InvertRect(bar);
    ReleaseDC(pDC);
}

// --- mouse -----------------------------------------------------------------

void CGridCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_LeftClickDownPoint = point;
    m_LeftClickDownCell = GetCellFromPt(point);
    if (!IsValid(m_LeftClickDownCell))
        return;
    m_SelectionStartCell = (nFlags & MK_SHIFT) != 0 ? m_idCurrentCell : m_LeftClickDownCell;

    const BOOL bHadFocus = ::GetFocus() == m_hWnd;
    SetFocus();

    if (m_LeftClickDownCell == m_idCurrentCell)
    {
        m_MouseMode = MOUSE_PREPARE_EDIT;
        return;
    }
    if (m_MouseMode != MOUSE_OVER_COL_DIVIDE && m_MouseMode != MOUSE_OVER_ROW_DIVIDE)
        SetFocusCell(std::max(m_LeftClickDownCell.row, m_nFixedRows),
                     std::max(m_LeftClickDownCell.col, m_nFixedCols));

    if (m_bAllowDragAndDrop && bHadFocus &&
        (GetItemState(m_LeftClickDownCell.row, m_LeftClickDownCell.col) & GVIS_SELECTED) != 0)
    {
        m_MouseMode = MOUSE_PREPARE_DRAG;
        return;
    }

    SetCapture();
    if (m_MouseMode == MOUSE_NOTHING)
    {
        if (m_bAllowColumnResize && MouseOverColumnResizeArea(point))
        {
            ::SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
            m_MouseMode = MOUSE_OVER_COL_DIVIDE;
        }
        else if (m_bAllowRowResize && MouseOverRowResizeArea(point))
        {
            ::SetCursor(::LoadCursor(nullptr, IDC_SIZENS));
            m_MouseMode = MOUSE_OVER_ROW_DIVIDE;
        }
    }

    if (m_MouseMode == MOUSE_OVER_COL_DIVIDE || m_MouseMode == MOUSE_OVER_ROW_DIVIDE)
    {
        const BOOL bColumn = m_MouseMode == MOUSE_OVER_COL_DIVIDE;
        m_MouseMode = bColumn ? MOUSE_SIZING_COL : MOUSE_SIZING_ROW;
        m_nResizeIndex = ResizeTarget(point, bColumn);
        CPoint start;
        if (!GetCellOrigin(bColumn ? 0 : m_nResizeIndex, bColumn ? m_nResizeIndex : 0, &start))
            start = CPoint(0, 0);
        DrawTrackingBar(bColumn ? point.x : point.y, bColumn);
        CRect clip;
        GetClientRect(clip);
        if (bColumn)
            clip.left = start.x + 1;
        else
            clip.top = start.y + 1;
        ClientToScreen(clip);
        ::ClipCursor(clip);
        m_LastMousePoint = point;
        return;
    }

    m_PrevSelectedCellMap.clear();
    if ((nFlags & MK_CONTROL) != 0)
        m_PrevSelectedCellMap = m_SelectedCellMap;

    if (m_LeftClickDownCell.row < m_nFixedRows)
        OnFixedRowClick(m_LeftClickDownCell);
    else if (m_LeftClickDownCell.col < m_nFixedCols)
        OnFixedColumnClick(m_LeftClickDownCell);
    else
    {
        m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
        OnSelecting(m_LeftClickDownCell);
    }
    m_nTimerID = SetTimer(GRID_AUTOSCROLL_TIMER, UINT(m_nTimerInterval), nullptr);
    m_LastMousePoint = point;
}

void CGridCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    CRect rect;
    GetClientRect(rect);
    if (!rect.PtInRect(point) && m_MouseMode != MOUSE_DRAGGING)
        return;

    if ((nFlags & MK_LBUTTON) == 0 || m_MouseMode == MOUSE_NOTHING)
    {
        if (m_bAllowColumnResize && MouseOverColumnResizeArea(point))
        {
            if (m_MouseMode != MOUSE_OVER_COL_DIVIDE)
            {
                ::SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
                m_MouseMode = MOUSE_OVER_COL_DIVIDE;
            }
        }
        else if (m_bAllowRowResize && MouseOverRowResizeArea(point))
        {
            if (m_MouseMode != MOUSE_OVER_ROW_DIVIDE)
            {
                ::SetCursor(::LoadCursor(nullptr, IDC_SIZENS));
                m_MouseMode = MOUSE_OVER_ROW_DIVIDE;
            }
        }
        else if (m_MouseMode != MOUSE_NOTHING)
        {
            ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
            m_MouseMode = MOUSE_NOTHING;
        }
        if (m_MouseMode == MOUSE_NOTHING && m_bTitleTips)
        {
            const CCellID idCurrentCell = GetCellFromPt(point);
            CRect TextRect;
            CRect CellRect;
            if (m_TitleTip.GetSafeHwnd() != nullptr && GetTextRect(idCurrentCell, &TextRect) &&
                GetCellRect(idCurrentCell, CellRect))
                m_TitleTip.Show(TextRect, GetItemText(idCurrentCell.row, idCurrentCell.col), 0,
                                CellRect, GetItemFont(idCurrentCell.row, idCurrentCell.col));
        }
        m_LastMousePoint = point;
        return;
    }

    if (!IsValid(m_LeftClickDownCell))
    {
        m_LastMousePoint = point;
        return;
    }
    switch (m_MouseMode)
    {
    case MOUSE_SELECT_ALL:
        break;
    case MOUSE_SELECT_COL:
    case MOUSE_SELECT_ROW:
    case MOUSE_SELECT_CELLS:
    {
        const CCellID idCurrentCell = GetCellFromPt(point);
        if (!IsValid(idCurrentCell))
            return;
        if (idCurrentCell != GetFocusCell())
        {
            OnSelecting(idCurrentCell);
            if (idCurrentCell.row >= m_nFixedRows && idCurrentCell.col >= m_nFixedCols)
                SetFocusCell(idCurrentCell);
        }
        break;
    }
    case MOUSE_SIZING_COL:
        DrawTrackingBar(m_LastMousePoint.x, TRUE);
        DrawTrackingBar(point.x, TRUE);
        break;
    case MOUSE_SIZING_ROW:
        DrawTrackingBar(m_LastMousePoint.y, FALSE);
        DrawTrackingBar(point.y, FALSE);
        break;
    case MOUSE_PREPARE_DRAG:
        OnBeginDrag();
        break;
    default:
        break;
    }
    m_LastMousePoint = point;
}

void CGridCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    CWnd::OnLButtonUp(nFlags, point);
    ::ClipCursor(nullptr);
    if (GetCapture() != nullptr && GetCapture()->GetSafeHwnd() == GetSafeHwnd())
    {
        ::ReleaseCapture();
        KillTimer(m_nTimerID);
        m_nTimerID = 0;
    }

    switch (m_MouseMode)
    {
    case MOUSE_PREPARE_EDIT:
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, VK_LBUTTON);
        break;
    case MOUSE_PREPARE_DRAG:
        ResetSelectedRange();
        break;
    case MOUSE_SIZING_COL:
    {
        DrawTrackingBar(m_LastMousePoint.x, TRUE);
        CPoint start;
        if (m_LeftClickDownPoint != point && GetCellOrigin(0, m_nResizeIndex, &start))
        {
            SetColumnWidth(m_nResizeIndex, std::max<int>(0, point.x - start.x));
            ResetScrollBars();
            Invalidate();
        }
        break;
    }
    case MOUSE_SIZING_ROW:
    {
        DrawTrackingBar(m_LastMousePoint.y, FALSE);
        CPoint start;
        if (m_LeftClickDownPoint != point && GetCellOrigin(m_nResizeIndex, 0, &start))
        {
            SetRowHeight(m_nResizeIndex, std::max<int>(0, point.y - start.y));
            ResetScrollBars();
            Invalidate();
        }
        break;
    }
    default:
        break;
    }
    m_MouseMode = MOUSE_NOTHING;
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));

    if (!IsValid(m_LeftClickDownCell))
        return;
    CWnd* pOwner = GetOwner();
    if (pOwner != nullptr && pOwner->GetSafeHwnd() != nullptr)
        pOwner->PostMessage(WM_COMMAND, WPARAM(GetDlgCtrlID()), reinterpret_cast<LPARAM>(m_hWnd));
}

void CGridCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // The platform sends no move after a capture ends, so the divider
    // state is taken from the point itself.
    if (m_MouseMode == MOUSE_NOTHING)
    {
        if (m_bAllowColumnResize && MouseOverColumnResizeArea(point))
            m_MouseMode = MOUSE_OVER_COL_DIVIDE;
        else if (m_bAllowRowResize && MouseOverRowResizeArea(point))
            m_MouseMode = MOUSE_OVER_ROW_DIVIDE;
    }
    if (m_MouseMode == MOUSE_OVER_COL_DIVIDE)
    {
        AutoSizeColumn(ResizeTarget(point, TRUE));
        Invalidate();
    }
    else if (m_MouseMode == MOUSE_OVER_ROW_DIVIDE)
    {
        AutoSizeRow(ResizeTarget(point, FALSE));
        Invalidate();
    }
    else if (m_MouseMode == MOUSE_NOTHING)
    {
        if (IsValid(m_LeftClickDownCell) && m_LeftClickDownCell.row >= m_nFixedRows &&
            m_LeftClickDownCell.col >= m_nFixedCols)
            OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, VK_LBUTTON);
        else if (m_bListMode)
        {
            const CCellID cell = GetCellFromPt(point);
            if (IsValid(cell) && cell.row >= m_nFixedRows && cell.col < m_nFixedCols)
                OnEditCell(cell.row, cell.col, VK_LBUTTON);
        }
    }
    CWnd::OnLButtonDblClk(nFlags, point);
}

BOOL CGridCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest != HTCLIENT)
        return CWnd::OnSetCursor(pWnd, nHitTest, message);
    switch (m_MouseMode)
    {
    case MOUSE_OVER_COL_DIVIDE:
        ::SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
        break;
    case MOUSE_OVER_ROW_DIVIDE:
        ::SetCursor(::LoadCursor(nullptr, IDC_SIZENS));
        break;
    case MOUSE_DRAGGING:
        break;
    default:
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        break;
    }
    return TRUE;
}

void CGridCtrl::OnCaptureChanged(CWnd* pWnd)
{
    if (pWnd != nullptr && pWnd->GetSafeHwnd() == GetSafeHwnd())
        return;
    if (m_nTimerID != 0)
    {
        KillTimer(m_nTimerID);
        m_nTimerID = 0;
    }
    if (m_MouseMode == MOUSE_DRAGGING)
        m_MouseMode = MOUSE_NOTHING;
}

void CGridCtrl::AutoScrollStep()
{
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    CRect rect;
    GetClientRect(rect);
    const int nFixedRowHeight = GetFixedRowHeight();
    const int nFixedColWidth = GetFixedColumnWidth();
    const auto clampX = [&](int x) { return std::clamp<int>(x, rect.left, rect.right); };
    const auto clampY = [&](int y) { return std::clamp<int>(y, rect.top, rect.bottom); };

    if (pt.y > rect.bottom)
    {
        SendMessage(WM_KEYDOWN, VK_DOWN, 0);
        OnSelecting(GetCellFromPt(CPoint(clampX(pt.x), rect.bottom)));
    }
    else if (pt.y < nFixedRowHeight)
    {
        SendMessage(WM_KEYDOWN, VK_UP, 0);
        OnSelecting(GetCellFromPt(CPoint(clampX(pt.x), nFixedRowHeight + 1)));
    }

    int x = 0;
    if (pt.x > rect.right)
    {
        SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
        x = rect.right;
    }
    else if (pt.x < nFixedColWidth)
    {
        SendMessage(WM_KEYDOWN, VK_LEFT, 0);
        x = nFixedColWidth + 1;
    }
    else
        return;
    OnSelecting(GetCellFromPt(CPoint(x, clampY(pt.y))));
}

void CGridCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != GRID_AUTOSCROLL_TIMER)
    {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    AutoScrollStep();
}

BOOL CGridCtrl::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (m_nRowsPerWheelNotch == -1)
    {
        int nPagesScrolled = zDelta / 120;
        for (; nPagesScrolled > 0; --nPagesScrolled)
            PostMessage(WM_VSCROLL, SB_PAGEUP, 0);
        for (; nPagesScrolled < 0; ++nPagesScrolled)
            PostMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    }
    else
    {
        int nRowsScrolled = m_nRowsPerWheelNotch * zDelta / 120;
        for (; nRowsScrolled > 0; --nRowsScrolled)
            PostMessage(WM_VSCROLL, SB_LINEUP, 0);
        for (; nRowsScrolled < 0; ++nRowsScrolled)
            PostMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    }
    return CWnd::OnMouseWheel(nFlags, zDelta, pt);
}

// --- keyboard --------------------------------------------------------------

UINT CGridCtrl::OnGetDlgCode()
{
    UINT nCode = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (m_bHandleTabKey && !IsKeyDown(VK_CONTROL))
        nCode |= DLGC_WANTTAB;
    return nCode;
}

CCellID CGridCtrl::NextFocusForKey(UINT nChar, BOOL& bWrapped)
{
    CCellID next = m_idCurrentCell;
    bWrapped = FALSE;
    switch (nChar)
    {
    case VK_TAB:
        if (IsKeyDown(VK_SHIFT))
        {
            if (next.col > m_nFixedCols)
                --next.col;
            else if (next.col == m_nFixedCols && next.row > m_nFixedRows)
            {
                --next.row;
                next.col = m_nCols - 1;
                bWrapped = TRUE;
            }
        }
        else if (next.col < m_nCols - 1)
            ++next.col;
        else if (next.col == m_nCols - 1 && next.row < m_nRows - 1)
        {
            ++next.row;
            next.col = m_nFixedCols;
            bWrapped = TRUE;
        }
        break;
    case VK_DOWN:
        if (next.row < m_nRows - 1)
            ++next.row;
        break;
    case VK_UP:
        if (next.row > m_nFixedRows)
            --next.row;
        break;
    case VK_RIGHT:
        if (next.col < m_nCols - 1)
            ++next.col;
        break;
    case VK_LEFT:
        if (next.col > m_nFixedCols)
            --next.col;
        break;
    case VK_NEXT:
    case VK_PRIOR:
    {
        const CCellID idOldTopLeft = GetTopleftNonFixedCell();
        SendMessage(WM_VSCROLL, nChar == VK_NEXT ? SB_PAGEDOWN : SB_PAGEUP, 0);
        const CCellID idNewTopLeft = GetTopleftNonFixedCell();
        if (idNewTopLeft == idOldTopLeft)
            next.row = nChar == VK_NEXT ? m_nRows - 1 : m_nFixedRows;
        else
            next.row = std::clamp(next.row + idNewTopLeft.row - idOldTopLeft.row, m_nFixedRows,
                                  m_nRows - 1);
        break;
    }
    case VK_END:
        SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
        next.row = m_nRows - 1;
        break;
    case VK_HOME:
        SendMessage(WM_VSCROLL, SB_TOP, 0);
        next.row = m_nFixedRows;
        break;
    case VK_DELETE:
        if (IsCellEditable(m_idCurrentCell))
        {
            SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GVN_BEGINLABELEDIT);
            SetItemText(m_idCurrentCell.row, m_idCurrentCell.col, "");
            SetModified(TRUE, m_idCurrentCell.row, m_idCurrentCell.col);
            SendMessageToParent(m_idCurrentCell.row, m_idCurrentCell.col, GVN_ENDLABELEDIT);
            RedrawCell(m_idCurrentCell);
        }
        break;
    default:
        break;
    }
    return next;
}

void CGridCtrl::ScrollIntoViewAfterKey(UINT nChar, BOOL bWrapped, const CCellID& next)
{
    EnsureVisible(next.row, next.col);
    switch (nChar)
    {
    case VK_RIGHT:
        SendMessage(WM_HSCROLL, SB_LINEDOWN, 0);
        break;
    case VK_LEFT:
        SendMessage(WM_HSCROLL, SB_LINEUP, 0);
        break;
    case VK_DOWN:
        SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
        break;
    case VK_UP:
        SendMessage(WM_VSCROLL, SB_LINEUP, 0);
        break;
    case VK_TAB:
        if (!bWrapped)
            SendMessage(WM_HSCROLL, IsKeyDown(VK_SHIFT) ? SB_LINEUP : SB_LINEDOWN, 0);
        else if (IsKeyDown(VK_SHIFT))
        {
            SendMessage(WM_VSCROLL, SB_LINEUP, 0);
            SetScrollPos32(SB_HORZ, m_nHScrollMax);
        }
        else
        {
            SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
            SetScrollPos32(SB_HORZ, 0);
        }
        break;
    default:
        break;
    }
    Invalidate();
}

void CGridCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // Keys come to the focus window, not to the tip holding the capture.
    if (m_TitleTip.GetSafeHwnd() != nullptr && m_TitleTip.IsWindowVisible())
        m_TitleTip.Hide();
    if (!IsValid(m_idCurrentCell))
    {
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    if (IsKeyDown(VK_CONTROL))
    {
        switch (nChar)
        {
        case 'A':
            OnEditSelectAll();
            break;
        case 'C':
            OnEditCopy();
            break;
        case 'V':
            OnEditPaste();
            break;
        case 'X':
            OnEditCut();
            break;
        default:
            break;
        }
    }

    BOOL bWrapped = FALSE;
    const CCellID next = NextFocusForKey(nChar, bWrapped);
    if (next == m_idCurrentCell)
    {
        const bool bHandled = nChar == VK_DELETE || nChar == VK_DOWN || nChar == VK_UP ||
                              nChar == VK_RIGHT || nChar == VK_LEFT || nChar == VK_NEXT ||
                              nChar == VK_PRIOR || nChar == VK_HOME || nChar == VK_END;
        if (!bHandled)
            CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }

    if (m_MouseMode == MOUSE_NOTHING)
    {
        m_PrevSelectedCellMap.clear();
        m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
        if (!IsKeyDown(VK_SHIFT) || nChar == VK_TAB)
            m_SelectionStartCell = next;
        OnSelecting(next);
        m_MouseMode = MOUSE_NOTHING;
    }
    SetFocusCell(next);
    if (!IsCellVisible(next))
        ScrollIntoViewAfterKey(nChar, bWrapped, next);
}

void CGridCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (!IsKeyDown(VK_CONTROL) && m_MouseMode == MOUSE_NOTHING &&
        !(m_bHandleTabKey && nChar == VK_TAB))
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, nChar);
    CWnd::OnChar(nChar, nRepCnt, nFlags);
}

// --- editing ---------------------------------------------------------------

void CGridCtrl::OnEditCell(int nRow, int nCol, UINT nChar)
{
    EnsureVisible(nRow, nCol);
    const CCellID cell(nRow, nCol);
    if (!IsValid(cell) || !IsCellEditable(nRow, nCol) || !IsCellVisible(nRow, nCol))
        return;
    CRect rect;
    if (!GetCellRect(cell, rect))
        return;
    SendMessageToParent(nRow, nCol, GVN_BEGINLABELEDIT);

    const UINT nFormat = GetItemFormat(nRow, nCol);
    DWORD dwStyle = ES_LEFT;
    if (nFormat & DT_RIGHT)
        dwStyle = ES_RIGHT;
    else if (nFormat & DT_CENTER)
        dwStyle = ES_CENTER;
    CreateInPlaceEditControl(rect, dwStyle, IDC_INPLACE_EDIT, nRow, nCol, GetItemText(nRow, nCol),
                             int(nChar));
}

void CGridCtrl::CreateInPlaceEditControl(CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nCol,
                                         LPCSTR szText, int nChar)
{
    // The editor deletes itself when its window goes.
    new CInPlaceEdit(this, rect, dwStyle, nID, nRow, nCol, szText, UINT(nChar));
}

void CGridCtrl::OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (GetSafeHwnd() == nullptr)
        return;
    const auto* pDispInfo = reinterpret_cast<const GV_DISPINFO*>(pNMHDR);
    const GV_ITEM& item = pDispInfo->item;
    OnEndEditCell(item.row, item.col, item.szText);
    InvalidateCellRect(CCellID(item.row, item.col));
    SendMessageToParent(item.row, item.col, GVN_ENDLABELEDIT);

    switch (item.lParam)
    {
    case VK_TAB:
    case VK_DOWN:
    case VK_UP:
    case VK_RIGHT:
    case VK_LEFT:
    case VK_NEXT:
    case VK_PRIOR:
    case VK_HOME:
    case VK_END:
        OnKeyDown(UINT(item.lParam), 0, 0);
        OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, UINT(item.lParam));
        break;
    default:
        break;
    }
}

void CGridCtrl::OnEndEditCell(int nRow, int nCol, CString str)
{
    if (str != GetItemText(nRow, nCol))
    {
        SetModified(TRUE, nRow, nCol);
        SetItemText(nRow, nCol, str);
    }
}
