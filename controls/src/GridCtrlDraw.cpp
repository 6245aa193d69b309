// The grid in pixels: cell geometry, painting, scroll bars and scrolling,
// sizes from text, fonts and system colours.
#include "GridCtrl.h"
#include "MemDC.h"

#include <algorithm>
#include <functional>

namespace
{
// WM_SIZE can come back in while the scroll bars appear or go; the second
// pass would work on a half-updated client area.
bool g_bInSize = false;

// The row or column whose span holds pos: the fixed ones from 0, the
// others from the first one scrolled to; -1 outside them.
int IndexAt(int pos, BOOL bAllowFixed, int nFixed, int nCount, int nFirstScrolled,
            const std::function<int(int)>& size)
{
    int nFixedSize = 0;
    for (int i = 0; i < nFixed; ++i)
        nFixedSize += size(i);
    if (pos < 0 || (!bAllowFixed && pos < nFixedSize))
        return -1;
    const bool bInFixed = pos < nFixedSize;
    int nEdge = bInFixed ? 0 : nFixedSize;
    for (int i = bInFixed ? 0 : nFirstScrolled; i < (bInFixed ? nFixed : nCount); ++i)
    {
        nEdge += size(i);
        if (nEdge > pos)
            return i;
    }
    return -1;
}
} // namespace

// --- sizes -----------------------------------------------------------------

int CGridCtrl::GetRowHeight(int nRow) const
{
    if (nRow < 0 || nRow >= m_nRows)
        return -1;
    return int(m_arRowHeights[size_t(nRow)]);
}

int CGridCtrl::GetColumnWidth(int nCol) const
{
    if (nCol < 0 || nCol >= m_nCols)
        return -1;
    return int(m_arColWidths[size_t(nCol)]);
}

BOOL CGridCtrl::SetRowHeight(int nRow, int height)
{
    if (nRow < 0 || nRow >= m_nRows || height < 0)
        return FALSE;
    m_arRowHeights[size_t(nRow)] = UINT(height);
    return TRUE;
}

BOOL CGridCtrl::SetColumnWidth(int nCol, int width)
{
    if (nCol < 0 || nCol >= m_nCols || width < 0)
        return FALSE;
    m_arColWidths[size_t(nCol)] = UINT(width);
    return TRUE;
}

int CGridCtrl::GetFixedRowHeight() const
{
    int nHeight = 0;
    for (int i = 0; i < m_nFixedRows; ++i)
        nHeight += GetRowHeight(i);
    return nHeight;
}

int CGridCtrl::GetFixedColumnWidth() const
{
    int nWidth = 0;
    for (int i = 0; i < m_nFixedCols; ++i)
        nWidth += GetColumnWidth(i);
    return nWidth;
}

long CGridCtrl::GetVirtualWidth() const
{
    long lVirtualWidth = 0;
    for (UINT w : m_arColWidths)
        lVirtualWidth += long(w);
    return lVirtualWidth;
}

long CGridCtrl::GetVirtualHeight() const
{
    long lVirtualHeight = 0;
    for (UINT h : m_arRowHeights)
        lVirtualHeight += long(h);
    return lVirtualHeight;
}

// --- geometry --------------------------------------------------------------

CCellID CGridCtrl::GetTopleftNonFixedCell()
{
    const int nVertScroll = GetScrollPos(SB_VERT);
    const int nHorzScroll = GetScrollPos(SB_HORZ);

    int nColumn = m_nFixedCols;
    int nRight = 0;
    while (nRight < nHorzScroll && nColumn < m_nCols - 1)
        nRight += GetColumnWidth(nColumn++);

    int nRow = m_nFixedRows;
    int nTop = 0;
    while (nTop < nVertScroll && nRow < m_nRows - 1)
        nTop += GetRowHeight(nRow++);
    return CCellID(nRow, nColumn);
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange(LPRECT pRect)
{
    CRect rect;
    GetClientRect(rect);
    const CCellID idTopLeft = GetTopleftNonFixedCell();

    int bottom = GetFixedRowHeight();
    int i = idTopLeft.row;
    for (; i < m_nRows; ++i)
    {
        bottom += GetRowHeight(i);
        if (bottom >= rect.bottom)
        {
            bottom = rect.bottom;
            break;
        }
    }
    const int maxVisibleRow = std::min(i, m_nRows - 1);

    int right = GetFixedColumnWidth();
    for (i = idTopLeft.col; i < m_nCols; ++i)
    {
        right += GetColumnWidth(i);
        if (right >= rect.right)
        {
            right = rect.right;
            break;
        }
    }
    const int maxVisibleCol = std::min(i, m_nCols - 1);
    if (pRect != nullptr)
        *pRect = CRect(0, 0, right, bottom);
    return CCellRange(idTopLeft.row, idTopLeft.col, maxVisibleRow, maxVisibleCol);
}

CCellRange CGridCtrl::GetUnobstructedNonFixedCellRange()
{
    CRect rect;
    GetClientRect(rect);
    const CCellID idTopLeft = GetTopleftNonFixedCell();

    int bottom = GetFixedRowHeight();
    int i = idTopLeft.row;
    for (; i < m_nRows; ++i)
    {
        bottom += GetRowHeight(i);
        if (bottom >= rect.bottom)
            break;
    }
    int maxVisibleRow = std::min(i, m_nRows - 1);
    if (maxVisibleRow > 0 && bottom > rect.bottom)
        --maxVisibleRow;

    int right = GetFixedColumnWidth();
    for (i = idTopLeft.col; i < m_nCols; ++i)
    {
        right += GetColumnWidth(i);
        if (right >= rect.right)
            break;
    }
    int maxVisibleCol = std::min(i, m_nCols - 1);
    if (maxVisibleCol > 0 && right > rect.right)
        --maxVisibleCol;
    return CCellRange(idTopLeft.row, idTopLeft.col, maxVisibleRow, maxVisibleCol);
}

CCellRange CGridCtrl::GetSelectedCellRange() const
{
    CCellRange selection(m_nRows, m_nCols, -1, -1);
    for (const auto& [key, cell] : m_SelectedCellMap)
    {
        (void)key;
        selection.SetMinRow(std::min(selection.GetMinRow(), cell.row));
        selection.SetMinCol(std::min(selection.GetMinCol(), cell.col));
        selection.SetMaxRow(std::max(selection.GetMaxRow(), cell.row));
        selection.SetMaxCol(std::max(selection.GetMaxCol(), cell.col));
    }
    return selection;
}

CCellRange CGridCtrl::GetCellRange() const
{
    return CCellRange(0, 0, m_nRows - 1, m_nCols - 1);
}

BOOL CGridCtrl::GetCellOrigin(int nRow, int nCol, LPPOINT p)
{
    if (!IsValid(nRow, nCol))
        return FALSE;
    CCellID idTopLeft;
    if (nCol >= m_nFixedCols || nRow >= m_nFixedRows)
        idTopLeft = GetTopleftNonFixedCell();
    if ((nRow >= m_nFixedRows && nRow < idTopLeft.row) ||
        (nCol >= m_nFixedCols && nCol < idTopLeft.col))
        return FALSE;

    p->x = 0;
    if (nCol < m_nFixedCols)
        for (int i = 0; i < nCol; ++i)
            p->x += GetColumnWidth(i);
    else
    {
        p->x = GetFixedColumnWidth();
        for (int i = idTopLeft.col; i < nCol; ++i)
            p->x += GetColumnWidth(i);
    }

    p->y = 0;
    if (nRow < m_nFixedRows)
        for (int i = 0; i < nRow; ++i)
            p->y += GetRowHeight(i);
    else
    {
        p->y = GetFixedRowHeight();
        for (int i = idTopLeft.row; i < nRow; ++i)
            p->y += GetRowHeight(i);
    }
    return TRUE;
}

BOOL CGridCtrl::GetCellOrigin(const CCellID& cell, LPPOINT p)
{
    return GetCellOrigin(cell.row, cell.col, p);
}

BOOL CGridCtrl::GetCellRect(int nRow, int nCol, LPRECT pRect)
{
    CPoint CellOrigin;
    if (!GetCellOrigin(nRow, nCol, &CellOrigin))
        return FALSE;
    pRect->left = CellOrigin.x;
    pRect->top = CellOrigin.y;
    pRect->right = CellOrigin.x + GetColumnWidth(nCol) - 1;
    pRect->bottom = CellOrigin.y + GetRowHeight(nRow) - 1;
    return TRUE;
}

BOOL CGridCtrl::GetCellRect(const CCellID& cell, LPRECT pRect)
{
    return GetCellRect(cell.row, cell.col, pRect);
}

BOOL CGridCtrl::GetTextRect(int nRow, int nCol, LPRECT pRect)
{
    if (!GetCellRect(nRow, nCol, pRect))
        return FALSE;
    const int nImage = GetItemImage(nRow, nCol);
    IMAGEINFO Info{};
    if (m_pImageList != nullptr && nImage >= 0 && m_pImageList->GetImageInfo(nImage, &Info))
        pRect->left += (Info.rcImage.right - Info.rcImage.left) + m_nMargin + 1;
    return TRUE;
}

BOOL CGridCtrl::GetTextRect(const CCellID& cell, LPRECT pRect)
{
    return GetTextRect(cell.row, cell.col, pRect);
}

BOOL CGridCtrl::GetCellRangeRect(const CCellRange& cellRange, LPRECT lpRect)
{
    CPoint MinOrigin;
    CPoint MaxOrigin;
    if (!GetCellOrigin(cellRange.GetMinRow(), cellRange.GetMinCol(), &MinOrigin) ||
        !GetCellOrigin(cellRange.GetMaxRow(), cellRange.GetMaxCol(), &MaxOrigin))
        return FALSE;
    // The far edges reach the last cell's own right and bottom, so the
    // rectangle covers every cell of the range.
    lpRect->left = MinOrigin.x;
    lpRect->top = MinOrigin.y;
    lpRect->right = MaxOrigin.x + GetColumnWidth(cellRange.GetMaxCol());
    lpRect->bottom = MaxOrigin.y + GetRowHeight(cellRange.GetMaxRow());
    return TRUE;
}

int CGridCtrl::ColumnOfPoint(int x, BOOL bAllowFixed)
{
    return IndexAt(x, bAllowFixed, m_nFixedCols, m_nCols, GetTopleftNonFixedCell().col,
                   [this](int col) { return GetColumnWidth(col); });
}

int CGridCtrl::RowOfPoint(int y, BOOL bAllowFixed)
{
    return IndexAt(y, bAllowFixed, m_nFixedRows, m_nRows, GetTopleftNonFixedCell().row,
                   [this](int row) { return GetRowHeight(row); });
}

CCellID CGridCtrl::GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck)
{
    return CCellID(RowOfPoint(point.y, bAllowFixedCellCheck),
                   ColumnOfPoint(point.x, bAllowFixedCellCheck));
}

BOOL CGridCtrl::IsCellVisible(CCellID cell)
{
    return IsCellVisible(cell.row, cell.col);
}

BOOL CGridCtrl::IsCellVisible(int nRow, int nCol)
{
    if (GetSafeHwnd() == nullptr)
        return FALSE;
    CCellID TopLeft;
    if (nCol >= m_nFixedCols || nRow >= m_nFixedRows)
    {
        TopLeft = GetTopleftNonFixedCell();
        if (nCol >= m_nFixedCols && nCol < TopLeft.col)
            return FALSE;
        if (nRow >= m_nFixedRows && nRow < TopLeft.row)
            return FALSE;
    }
    CRect rect;
    GetClientRect(rect);
    if (nCol < m_nFixedCols)
    {
        int x = 0;
        for (int i = 0; i <= nCol; ++i)
        {
            if (x >= rect.right)
                return FALSE;
            x += GetColumnWidth(i);
        }
    }
    else
    {
        int x = GetFixedColumnWidth();
        for (int i = TopLeft.col; i <= nCol; ++i)
        {
            if (x >= rect.right)
                return FALSE;
            x += GetColumnWidth(i);
        }
    }
    if (nRow < m_nFixedRows)
    {
        int y = 0;
        for (int i = 0; i <= nRow; ++i)
        {
            if (y >= rect.bottom)
                return FALSE;
            y += GetRowHeight(i);
        }
    }
    else
    {
        if (nRow < TopLeft.row)
            return FALSE;
        int y = GetFixedRowHeight();
        for (int i = TopLeft.row; i <= nRow; ++i)
        {
            if (y >= rect.bottom)
                return FALSE;
            y += GetRowHeight(i);
        }
    }
    return TRUE;
}

// --- painting --------------------------------------------------------------

void CGridCtrl::OnPaint()
{
    CPaintDC dc(this);
    if (m_bDoubleBuffer)
    {
        CMemDC MemDC(&dc);
        OnDraw(&MemDC);
    }
    else
        OnDraw(&dc);
}

BOOL CGridCtrl::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

void CGridCtrl::EraseBkgnd(CDC* pDC)
{
    CRect VisRect;
    CRect ClipRect;
    CRect rect;
    CBrush FixedBack(GetFixedBkColor());
    CBrush TextBack(GetTextBkColor());
    CBrush Back(GetBkColor());
    if (pDC->GetClipBox(ClipRect) == ERROR)
        return;
    GetVisibleNonFixedCellRange(VisRect);

    if (ClipRect.left < GetFixedColumnWidth() && ClipRect.top < VisRect.bottom)
        pDC->FillRect(CRect(ClipRect.left, ClipRect.top, GetFixedColumnWidth(), VisRect.bottom),
                      &FixedBack);
    if (ClipRect.top < GetFixedRowHeight() && ClipRect.right > GetFixedColumnWidth() &&
        ClipRect.left < VisRect.right)
        pDC->FillRect(
            CRect(GetFixedColumnWidth() - 1, ClipRect.top, VisRect.right, GetFixedRowHeight()),
            &FixedBack);
    if (rect.IntersectRect(VisRect, ClipRect))
    {
        CRect CellRect(std::max(GetFixedColumnWidth(), int(rect.left)),
                       std::max(GetFixedRowHeight(), int(rect.top)), rect.right, rect.bottom);
        pDC->FillRect(CellRect, &TextBack);
    }
    if (VisRect.right < ClipRect.right)
        pDC->FillRect(CRect(VisRect.right, ClipRect.top, ClipRect.right, ClipRect.bottom), &Back);
    if (VisRect.bottom < ClipRect.bottom && ClipRect.left < VisRect.right)
        pDC->FillRect(CRect(ClipRect.left, VisRect.bottom, VisRect.right, ClipRect.bottom), &Back);
}

void CGridCtrl::OnDraw(CDC* pDC)
{
    CRect clipRect;
    if (pDC->GetClipBox(&clipRect) == ERROR || clipRect.IsRectEmpty())
        return;
    EraseBkgnd(pDC);

    const int nFixedRowHeight = GetFixedRowHeight();
    const int nFixedColWidth = GetFixedColumnWidth();
    const CCellID idTopLeft = GetTopleftNonFixedCell();
    const int minVisibleRow = idTopLeft.row;
    const int minVisibleCol = idTopLeft.col;
    CRect VisRect;
    const CCellRange VisCellRange = GetVisibleNonFixedCellRange(VisRect);
    const int maxVisibleRow = VisCellRange.GetMaxRow();
    const int maxVisibleCol = VisCellRange.GetMaxCol();

    const auto drawFixed = [&](int row, int col, const CRect& rect)
    { DrawFixedCell(pDC, row, col, rect); };
    // The fixed corner always; the fixed columns of the visible rows, the
    // fixed rows over the visible columns and the visible cells where they
    // meet the clip box.
    ForEachCellRect(CCellRange(0, 0, m_nFixedRows - 1, m_nFixedCols - 1), CPoint(0, 0), nullptr,
                    drawFixed);
    ForEachCellRect(CCellRange(minVisibleRow, 0, maxVisibleRow, m_nFixedCols - 1),
                    CPoint(0, nFixedRowHeight), &clipRect, drawFixed);
    ForEachCellRect(CCellRange(0, minVisibleCol, m_nFixedRows - 1, maxVisibleCol),
                    CPoint(nFixedColWidth, 0), &clipRect, drawFixed);
    ForEachCellRect(CCellRange(minVisibleRow, minVisibleCol, maxVisibleRow, maxVisibleCol),
                    CPoint(nFixedColWidth, nFixedRowHeight), &clipRect,
                    [&](int row, int col, const CRect& rect) { DrawCell(pDC, row, col, rect); });
    DrawGridLines(pDC, VisRect, VisCellRange);
}

void CGridCtrl::ForEachCellRect(const CCellRange& cells, CPoint origin, const CRect* pClip,
                                const std::function<void(int, int, const CRect&)>& fn)
{
    CRect rect;
    rect.bottom = origin.y - 1;
    for (int row = cells.GetMinRow(); row <= cells.GetMaxRow(); ++row)
    {
        rect.top = rect.bottom + 1;
        rect.bottom = rect.top + GetRowHeight(row) - 1;
        if (pClip != nullptr && rect.top > pClip->bottom)
            break;
        if (pClip != nullptr && rect.bottom < pClip->top)
            continue;
        rect.right = origin.x - 1;
        for (int col = cells.GetMinCol(); col <= cells.GetMaxCol(); ++col)
        {
            rect.left = rect.right + 1;
            rect.right = rect.left + GetColumnWidth(col) - 1;
            if (pClip != nullptr && rect.left > pClip->right)
                break;
            if (pClip != nullptr && rect.right < pClip->left)
                continue;
            fn(row, col, rect);
        }
    }
}

void CGridCtrl::DrawGridLines(CDC* pDC, const CRect& VisRect, const CCellRange& VisCells)
{
    CPen pen;
    pen.CreatePen(PS_SOLID, 0, m_crGridColour);
    CPen* pOldPen = pDC->SelectObject(&pen);
    const int nFixedRowHeight = GetFixedRowHeight();
    const int nFixedColWidth = GetFixedColumnWidth();
    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT)
    {
        int x = nFixedColWidth;
        for (int col = VisCells.GetMinCol(); col <= VisCells.GetMaxCol(); ++col)
        {
            x += GetColumnWidth(col);
            pDC->MoveTo(x - 1, nFixedRowHeight);
            pDC->LineTo(x - 1, VisRect.bottom);
        }
    }
    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ)
    {
        int y = nFixedRowHeight;
        for (int row = VisCells.GetMinRow(); row <= VisCells.GetMaxRow(); ++row)
        {
            y += GetRowHeight(row);
            pDC->MoveTo(nFixedColWidth, y - 1);
            pDC->LineTo(VisRect.right, y - 1);
        }
    }
    pDC->SelectObject(pOldPen);
    pDC->SelectStockObject(NULL_PEN);
}

void CGridCtrl::DrawCellText(CDC* pDC, CGridCell* pCell, CRect rect, BOOL bBold)
{
    LOGFONT lf = pCell->lfFont;
    if (bBold)
        lf.lfWeight = 600;
    CFont Font;
    Font.CreateFontIndirect(&lf);
    CFont* pOldFont = pDC->SelectObject(&Font);

    rect.DeflateRect(m_nMargin, 0);
    IMAGEINFO Info{};
    if (m_pImageList != nullptr && pCell->iImage >= 0 &&
        m_pImageList->GetImageInfo(pCell->iImage, &Info))
    {
        const int nImageWidth = Info.rcImage.right - Info.rcImage.left + 1;
        m_pImageList->Draw(pDC, pCell->iImage, rect.TopLeft(), ILD_NORMAL);
        rect.left += nImageWidth + m_nMargin;
    }
    pDC->DrawText(pCell->szText, -1, rect, pCell->nFormat);
    pDC->SelectObject(pOldFont);
    Font.DeleteObject();
}

BOOL CGridCtrl::DrawFixedCell(CDC* pDC, int nRow, int nCol, CRect rect, BOOL /*bEraseBk*/)
{
    if (!m_bAllowDraw)
        return FALSE;
    CGridCell* pCell = GetCell(nRow, nCol);
    if (pCell == nullptr)
        return FALSE;
    const int nSavedDC = pDC->SaveDC();
    if (!pDC->IsPrinting())
    {
        const COLORREF crBk =
            pCell->crBkClr == CLR_DEFAULT_CELL ? GetFixedBkColor() : pCell->crBkClr;
        CBrush brush(crBk);
        pDC->FillRect(rect, &brush);
    }
    pDC->SetTextColor(pCell->crFgClr == CLR_DEFAULT_CELL ? GetFixedTextColor() : pCell->crFgClr);
    pDC->SetBkMode(TRANSPARENT);

    const CCellID FocusCell = GetFocusCell();
    const BOOL bOnFocusLine =
        FocusCell.IsValid() && (FocusCell.row == nRow || FocusCell.col == nCol);
    if (bOnFocusLine)
    {
        rect.right++;
        rect.bottom++;
        ::DrawEdge(pDC->GetSafeHdc(), rect, BDR_SUNKENINNER, BF_RECT);
        rect.DeflateRect(1, 1);
    }
    else
    {
        CPen lightpen(PS_SOLID, 1, ::GetSysColor(COLOR_3DHIGHLIGHT));
        CPen darkpen(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
        CPen* pOldPen = pDC->GetCurrentPen();
        pDC->SelectObject(&lightpen);
        pDC->MoveTo(rect.right, rect.top);
        pDC->LineTo(rect.left, rect.top);
        pDC->LineTo(rect.left, rect.bottom);
        pDC->SelectObject(&darkpen);
        pDC->MoveTo(rect.right, rect.top);
        pDC->LineTo(rect.right, rect.bottom);
        pDC->LineTo(rect.left, rect.bottom);
        pDC->SelectObject(pOldPen);
        rect.DeflateRect(1, 1);
    }
    DrawCellText(pDC, pCell, rect, bOnFocusLine);
    pDC->RestoreDC(nSavedDC);
    return TRUE;
}

BOOL CGridCtrl::DrawCell(CDC* pDC, int nRow, int nCol, CRect rect, BOOL /*bEraseBk*/)
{
    if (!m_bAllowDraw)
        return FALSE;
    CGridCell* pCell = GetCell(nRow, nCol);
    if (pCell == nullptr)
        return FALSE;
    const COLORREF TextBkClr =
        pCell->crBkClr == CLR_DEFAULT_CELL ? GetTextBkColor() : pCell->crBkClr;
    const COLORREF TextClr = pCell->crFgClr == CLR_DEFAULT_CELL ? GetTextColor() : pCell->crFgClr;

    const int nSavedDC = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);
    if (!pDC->IsPrinting())
    {
        if ((pCell->state & GVIS_FOCUSED) != 0)
        {
            rect.right++;
            rect.bottom++;
            CBrush brush(TextBkClr);
            pDC->FillRect(rect, &brush);
            rect.right--;
            rect.bottom--;
            pDC->SelectStockObject(BLACK_PEN);
            pDC->SelectStockObject(NULL_BRUSH);
            pDC->Rectangle(rect);
            pDC->SetTextColor(TextClr);
            rect.DeflateRect(1, 1);
        }
        else if ((pCell->state & GVIS_SELECTED) != 0)
        {
            rect.right++;
            rect.bottom++;
            pDC->FillSolidRect(rect, ::GetSysColor(COLOR_HIGHLIGHT));
            rect.right--;
            rect.bottom--;
            pDC->SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
        }
        else
        {
            rect.right++;
            rect.bottom++;
            CBrush brush(TextBkClr);
            pDC->FillRect(rect, &brush);
            rect.right--;
            rect.bottom--;
            pDC->SetTextColor(TextClr);
        }
        if ((pCell->state & GVIS_DROPHILITED) != 0)
        {
            pDC->SelectStockObject(BLACK_PEN);
            pDC->SelectStockObject(NULL_BRUSH);
            pDC->Rectangle(rect);
        }
    }
    else
        pDC->SetTextColor(TextClr);
    DrawCellText(pDC, pCell, rect, FALSE);
    pDC->RestoreDC(nSavedDC);
    return TRUE;
}

BOOL CGridCtrl::RedrawCell(const CCellID& cell, CDC* pDC)
{
    return RedrawCell(cell.row, cell.col, pDC);
}

BOOL CGridCtrl::RedrawCell(int nRow, int nCol, CDC* pDC)
{
    if (!m_bAllowDraw || !IsCellVisible(nRow, nCol))
        return FALSE;
    CRect rect;
    if (!GetCellRect(nRow, nCol, rect))
        return FALSE;

    BOOL bMustReleaseDC = FALSE;
    if (pDC == nullptr)
    {
        pDC = GetDC();
        if (pDC == nullptr)
        {
            InvalidateRect(rect, TRUE);
            return TRUE;
        }
        bMustReleaseDC = TRUE;
    }
    BOOL bResult = TRUE;
    if (IsCellFixed(nRow, nCol))
        bResult = DrawFixedCell(pDC, nRow, nCol, rect, TRUE);
    else
    {
        bResult = DrawCell(pDC, nRow, nCol, rect, TRUE);
        CPen pen;
        pen.CreatePen(PS_SOLID, 0, m_crGridColour);
        CPen* pOldPen = pDC->SelectObject(&pen);
        if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ)
        {
            pDC->MoveTo(rect.left, rect.bottom);
            pDC->LineTo(rect.right + 1, rect.bottom);
        }
        if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT)
        {
            pDC->MoveTo(rect.right, rect.top);
            pDC->LineTo(rect.right, rect.bottom + 1);
        }
        pDC->SelectObject(pOldPen);
    }
    if (bMustReleaseDC)
        ReleaseDC(pDC);
    return bResult;
}

BOOL CGridCtrl::RedrawRow(int row)
{
    BOOL bResult = TRUE;
    CDC* pDC = GetDC();
    for (int col = 0; col < m_nCols; ++col)
        bResult = RedrawCell(row, col, pDC) && bResult;
    if (pDC != nullptr)
        ReleaseDC(pDC);
    return bResult;
}

BOOL CGridCtrl::RedrawColumn(int col)
{
    BOOL bResult = TRUE;
    CDC* pDC = GetDC();
    for (int row = 0; row < m_nRows; ++row)
        bResult = RedrawCell(row, col, pDC) && bResult;
    if (pDC != nullptr)
        ReleaseDC(pDC);
    return bResult;
}

BOOL CGridCtrl::InvalidateCellRect(const CCellID& cell)
{
    if (GetSafeHwnd() == nullptr || !m_bAllowDraw || !IsValid(cell))
        return FALSE;
    CRect rect;
    if (!GetCellOrigin(cell, &rect.TopLeft()))
        return FALSE;
    rect.right = rect.left + GetColumnWidth(cell.col);
    rect.bottom = rect.top + GetRowHeight(cell.row);
    InvalidateRect(rect, TRUE);
    return TRUE;
}

BOOL CGridCtrl::InvalidateCellRect(const CCellRange& cellRange)
{
    if (GetSafeHwnd() == nullptr || !m_bAllowDraw || !IsValid(cellRange))
        return FALSE;
    const CCellRange visible = GetVisibleNonFixedCellRange().Intersect(cellRange);
    CRect rect;
    if (!GetCellRangeRect(visible, rect))
        return FALSE;
    InvalidateRect(rect, TRUE);
    return TRUE;
}

void CGridCtrl::SetRedraw(BOOL bAllowDraw, BOOL bResetScrollBars)
{
    if (bAllowDraw && !m_bAllowDraw)
        Invalidate();
    m_bAllowDraw = bAllowDraw;
    if (bResetScrollBars)
        ResetScrollBars();
}

// --- scrolling -------------------------------------------------------------

void CGridCtrl::ResetScrollBars()
{
    if (!m_bAllowDraw || GetSafeHwnd() == nullptr)
        return;
    CRect rect;
    GetClientRect(rect);
    rect.left += GetFixedColumnWidth();
    rect.top += GetFixedRowHeight();
    if (rect.left >= rect.right || rect.top >= rect.bottom)
        return;
    if (!IsValid(GetUnobstructedNonFixedCellRange()))
        return;

    const long nVirtHeight = GetVirtualHeight() - GetFixedRowHeight();
    const long nVirtWidth = GetVirtualWidth() - GetFixedColumnWidth();
    m_nVScrollMax = nVirtHeight > rect.Height() ? int(nVirtHeight - 1) : 0;
    m_nHScrollMax = nVirtWidth > rect.Width() ? int(nVirtWidth - 1) : 0;

    // Page and range in one call, so the bar never shows a page over a stale
    // range.
    SCROLLINFO si{};
    si.cbSize = sizeof(SCROLLINFO);
    si.fMask = SIF_PAGE | SIF_RANGE;
    si.nMin = 0;
    si.nPage = UINT(rect.Height());
    si.nMax = m_nVScrollMax;
    SetScrollInfo(SB_VERT, &si, TRUE);
    si.nPage = UINT(rect.Width());
    si.nMax = m_nHScrollMax;
    SetScrollInfo(SB_HORZ, &si, TRUE);
}

int CGridCtrl::GetScrollPos32(int nBar, BOOL bGetTrackPos)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(SCROLLINFO);
    if (bGetTrackPos)
    {
        if (GetScrollInfo(nBar, &si, SIF_TRACKPOS))
            return si.nTrackPos;
    }
    else if (GetScrollInfo(nBar, &si, SIF_POS))
        return si.nPos;
    return 0;
}

BOOL CGridCtrl::SetScrollPos32(int nBar, int nPos, BOOL bRedraw)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(SCROLLINFO);
    si.fMask = SIF_POS;
    si.nPos = nPos;
    return SetScrollInfo(nBar, &si, bRedraw);
}

void CGridCtrl::InvalidateNonFixed(int nBar)
{
    CRect rect;
    GetClientRect(rect);
    if (nBar == SB_VERT)
        rect.top = GetFixedRowHeight();
    else
        rect.left = GetFixedColumnWidth();
    InvalidateRect(rect);
}

// Moves the non-fixed area by nDelta pixels (positive: contents go up or
// left); the window invalidates only the strip the move uncovers.
void CGridCtrl::ScrollArea(int nBar, int nDelta)
{
    CRect rect;
    GetClientRect(rect);
    if (nBar == SB_VERT)
    {
        rect.top = GetFixedRowHeight();
        ScrollWindow(0, -nDelta, rect, rect);
    }
    else
    {
        rect.left = GetFixedColumnWidth();
        ScrollWindow(-nDelta, 0, rect, rect);
    }
}

void CGridCtrl::OnScroll(int nBar, UINT nSBCode)
{
    if (GetFocus() != this)
        SetFocus();
    if (m_bTitleTips && m_TitleTip.GetSafeHwnd() != nullptr)
        m_TitleTip.Hide();

    const bool bVert = nBar == SB_VERT;
    const int scrollPos = GetScrollPos32(nBar);
    const int nMax = bVert ? m_nVScrollMax : m_nHScrollMax;
    const CCellID idTopLeft = GetTopleftNonFixedCell();
    const int nTopIndex = bVert ? idTopLeft.row : idTopLeft.col;
    const int nFirst = bVert ? m_nFixedRows : m_nFixedCols;
    const auto size = [&](int i) { return bVert ? GetRowHeight(i) : GetColumnWidth(i); };
    CRect rect;
    GetClientRect(rect);
    const int nPage =
        bVert ? rect.Height() - GetFixedRowHeight() : rect.Width() - GetFixedColumnWidth();

    switch (nSBCode)
    {
    case SB_LINEDOWN:
        if (scrollPos < nMax)
        {
            const int delta = size(nTopIndex);
            SetScrollPos32(nBar, scrollPos + delta);
            const int nNewPos = GetScrollPos32(nBar);
            if (nNewPos != scrollPos)
                ScrollArea(nBar, delta);
        }
        break;
    case SB_LINEUP:
        if (scrollPos > 0 && nTopIndex > nFirst)
        {
            const int delta = size(nTopIndex - 1);
            SetScrollPos32(nBar, std::max(0, scrollPos - delta));
            ScrollArea(nBar, -delta);
        }
        break;
    case SB_PAGEDOWN:
        if (scrollPos < nMax)
        {
            SetScrollPos32(nBar, std::min(nMax, scrollPos + nPage));
            InvalidateNonFixed(nBar);
        }
        break;
    case SB_PAGEUP:
        if (scrollPos > 0)
        {
            SetScrollPos32(nBar, std::max(0, scrollPos - nPage));
            InvalidateNonFixed(nBar);
        }
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetScrollPos32(nBar, GetScrollPos32(nBar, TRUE));
        if (GetTopleftNonFixedCell() != idTopLeft)
            InvalidateNonFixed(nBar);
        break;
    case SB_TOP:
        if (scrollPos > 0)
        {
            SetScrollPos32(nBar, 0);
            Invalidate();
        }
        break;
    case SB_BOTTOM:
        if (scrollPos < nMax)
        {
            SetScrollPos32(nBar, nMax);
            Invalidate();
        }
        break;
    default:
        break;
    }
}

void CGridCtrl::OnVScroll(UINT nSBCode, UINT /*nPos*/, CScrollBar* /*pScrollBar*/)
{
    OnScroll(SB_VERT, nSBCode);
}

void CGridCtrl::OnHScroll(UINT nSBCode, UINT /*nPos*/, CScrollBar* /*pScrollBar*/)
{
    OnScroll(SB_HORZ, nSBCode);
}

void CGridCtrl::EnsureVisible(int nRow, int nCol)
{
    const CCellRange VisibleCells = GetVisibleNonFixedCellRange();
    int right = nCol - VisibleCells.GetMaxCol();
    int left = VisibleCells.GetMinCol() - nCol;
    int down = nRow - VisibleCells.GetMaxRow();
    int up = VisibleCells.GetMinRow() - nRow;
    while (right-- > 0)
        SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    while (left-- > 0)
        SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
    while (down-- > 0)
        SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    while (up-- > 0)
        SendMessage(WM_VSCROLL, SB_LINEUP, 0);

    CRect rectCell;
    CRect rectWindow;
    if (!GetCellRect(nRow, nCol, rectCell))
        return;
    GetClientRect(rectWindow);
    if (rectCell.right > rectWindow.right)
        SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    if (rectCell.bottom > rectWindow.bottom)
        SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
}

void CGridCtrl::OnSize(UINT nType, int cx, int cy)
{
    if (g_bInSize)
        return;
    g_bInSize = true;
    if (::GetFocus() != m_hWnd)
        SetFocus();
    CWnd::OnSize(nType, cx, cy);
    ResetScrollBars();
    g_bInSize = false;
}

// --- sizes from text -------------------------------------------------------

CSize CGridCtrl::GetTextExtent(LPCSTR str, BOOL bUseSelectedFont)
{
    if (GetSafeHwnd() == nullptr)
        return CSize(0, 0);
    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return CSize(0, 0);
    CFont* pOldFont = nullptr;
    CFont boldFont;
    if (bUseSelectedFont)
    {
        LOGFONT lf = m_Logfont;
        lf.lfWeight = 600;
        boldFont.CreateFontIndirect(&lf);
        pOldFont = pDC->SelectObject(&boldFont);
    }
    else
        pOldFont = pDC->SelectObject(&m_Font);
    CSize size = pDC->GetTextExtent(str);
    pDC->SelectObject(pOldFont);
    ReleaseDC(pDC);
    return size + CSize(2 * m_nMargin, 2 * m_nMargin);
}

CSize CGridCtrl::GetCellExtent(int nRow, int nCol, CDC* pDC)
{
    LOGFONT* pLF = GetItemFont(nRow, nCol);
    LOGFONT lf = *pLF;
    if (IsCellFixed(nRow, nCol))
        lf.lfWeight = 600;
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* pOldFont = pDC->SelectObject(&font);
    CSize size = pDC->GetTextExtent(GetItemText(nRow, nCol));
    pDC->SelectObject(pOldFont);

    size.cx += 4 * m_nMargin;
    size.cy += 2 * m_nMargin;
    IMAGEINFO Info{};
    const int nImage = GetItemImage(nRow, nCol);
    if (m_pImageList != nullptr && nImage >= 0 && m_pImageList->GetImageInfo(nImage, &Info))
    {
        const int nImageWidth = Info.rcImage.right - Info.rcImage.left + 1;
        const int nImageHeight = Info.rcImage.bottom - Info.rcImage.top + 1;
        size.cx += nImageWidth + 1;
        size.cy = std::max<LONG>(size.cy, nImageHeight + 1);
    }
    return size;
}

BOOL CGridCtrl::AutoSizeColumn(int nCol)
{
    if (nCol < 0 || nCol >= m_nCols || GetSafeHwnd() == nullptr)
        return FALSE;
    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return FALSE;
    int nWidth = 0;
    for (int nRow = 0; nRow < m_nRows; ++nRow)
        nWidth = std::max<int>(nWidth, GetCellExtent(nRow, nCol, pDC).cx);
    m_arColWidths[size_t(nCol)] = UINT(nWidth);
    ReleaseDC(pDC);
    ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::AutoSizeRow(int nRow)
{
    if (nRow < 0 || nRow >= m_nRows || GetSafeHwnd() == nullptr)
        return FALSE;
    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return FALSE;
    int nHeight = 0;
    for (int nCol = 0; nCol < m_nCols; ++nCol)
        nHeight = std::max<int>(nHeight, GetCellExtent(nRow, nCol, pDC).cy);
    m_arRowHeights[size_t(nRow)] = UINT(nHeight);
    ReleaseDC(pDC);
    ResetScrollBars();
    return TRUE;
}

void CGridCtrl::AutoSizeColumns()
{
    for (int nCol = 0; nCol < m_nCols; ++nCol)
        AutoSizeColumn(nCol);
}

void CGridCtrl::AutoSizeRows()
{
    for (int nRow = 0; nRow < m_nRows; ++nRow)
        AutoSizeRow(nRow);
}

void CGridCtrl::AutoSize()
{
    if (GetSafeHwnd() == nullptr)
        return;
    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return;
    std::fill(m_arColWidths.begin(), m_arColWidths.end(), 0U);
    std::fill(m_arRowHeights.begin(), m_arRowHeights.end(), 0U);
    for (int nRow = 0; nRow < m_nRows; ++nRow)
        for (int nCol = 0; nCol < m_nCols; ++nCol)
        {
            const CSize size = GetCellExtent(nRow, nCol, pDC);
            m_arColWidths[size_t(nCol)] = std::max(m_arColWidths[size_t(nCol)], UINT(size.cx));
            m_arRowHeights[size_t(nRow)] = std::max(m_arRowHeights[size_t(nRow)], UINT(size.cy));
        }
    ReleaseDC(pDC);
    if (m_bAllowDraw)
    {
        ResetScrollBars();
        Invalidate();
    }
}

namespace
{
// Spreads nDifference over the sizes as evenly as whole pixels allow; no
// size goes below 0.
void SpreadDifference(std::vector<UINT>& sizes, long nDifference)
{
    const long nCount = long(sizes.size());
    if (nCount == 0)
        return;
    const long nEach = nDifference / nCount;
    const long nLeftOver = (nDifference >= 0 ? nDifference : -nDifference) % nCount;
    for (long i = 0; i < nCount; ++i)
    {
        long nSize = long(sizes[size_t(i)]) + nEach;
        if (i < nLeftOver)
            nSize += nDifference >= 0 ? 1 : -1;
        sizes[size_t(i)] = UINT(std::max(0L, nSize));
    }
}
} // namespace

void CGridCtrl::ExpandColumnsToFit()
{
    if (m_nCols <= 0 || GetSafeHwnd() == nullptr)
        return;
    CRect rect;
    GetClientRect(rect);
    SpreadDifference(m_arColWidths, rect.Width() - GetVirtualWidth());
    Invalidate();
}

void CGridCtrl::ExpandRowsToFit()
{
    if (m_nRows <= 0 || GetSafeHwnd() == nullptr)
        return;
    CRect rect;
    GetClientRect(rect);
    SpreadDifference(m_arRowHeights, rect.Height() - GetVirtualHeight());
    Invalidate();
}

void CGridCtrl::ExpandToFit()
{
    ExpandColumnsToFit();
    ExpandRowsToFit();
    ExpandColumnsToFit();
}

// --- fonts and colours -----------------------------------------------------

void CGridCtrl::ApplyFont(const LOGFONT& lf)
{
    m_Logfont = lf;
    for (auto& row : m_RowData)
        for (CGridCell* pCell : row)
            if (pCell != nullptr)
                pCell->lfFont = lf;
    m_Font.DeleteObject();
    m_Font.CreateFontIndirect(&m_Logfont);

    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return;
    CFont* pOldFont = pDC->SelectObject(&m_Font);
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    m_nMargin = pDC->GetTextExtent(" ", 1).cx;
    pDC->SelectObject(pOldFont);
    ReleaseDC(pDC);
    m_nDefCellHeight = tm.tmHeight + tm.tmExternalLeading + 2 * m_nMargin;
    m_nDefCellWidth = 2 * (m_nMargin + 6 * tm.tmAveCharWidth);
}

LRESULT CGridCtrl::OnSetFont(WPARAM hFont, LPARAM /*lParam*/)
{
    const LRESULT result = Default();
    LOGFONT lf{};
    if (hFont == 0 ||
        ::GetObject(reinterpret_cast<HGDIOBJ>(hFont), sizeof(LOGFONT), &lf) != sizeof(LOGFONT))
        return result;
    ApplyFont(lf);
    if (GetSafeHwnd() != nullptr)
        Invalidate();
    return result;
}

LRESULT CGridCtrl::OnGetFont(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    return reinterpret_cast<LRESULT>(m_Font.GetSafeHandle());
}

void CGridCtrl::OnSysColorChange()
{
    CWnd::OnSysColorChange();
    const auto follow = [](COLORREF& crGrid, COLORREF crWas, int nIndex)
    {
        if (crGrid == crWas)
            crGrid = ::GetSysColor(nIndex);
    };
    follow(m_crTextColour, m_crWindowText, COLOR_WINDOWTEXT);
    follow(m_crTextBkColour, m_crWindowColour, COLOR_WINDOW);
    follow(m_crBkColour, m_crShadow, COLOR_BTNSHADOW);
    follow(m_crFixedTextColour, m_crWindowText, COLOR_WINDOWTEXT);
    follow(m_crFixedBkColour, m_cr3DFace, COLOR_BTNFACE);
    m_crWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_crWindowColour = ::GetSysColor(COLOR_WINDOW);
    m_cr3DFace = ::GetSysColor(COLOR_3DFACE);
    m_crShadow = ::GetSysColor(COLOR_3DSHADOW);
}

void CGridCtrl::OnSettingChange(UINT uFlags, LPCSTR lpszSection)
{
    CWnd::OnSettingChange(uFlags, lpszSection);
    OnSysColorChange();
    ReadWheelSetting();
}
