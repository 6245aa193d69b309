// Cell coordinates and rectangles of cells of the grid control.
#pragma once

#include "ZentiqExport.h"

class ZENTIQ_API CCellID
{
public:
    int row;
    int col;

    explicit CCellID(int nRow = -1, int nCol = -1) : row(nRow), col(nCol) {}

    int IsValid() const { return row >= 0 && col >= 0; }
    int operator==(const CCellID& other) const { return row == other.row && col == other.col; }
    int operator!=(const CCellID& other) const { return !operator==(other); }
};

class ZENTIQ_API CCellRange
{
public:
    explicit CCellRange(int nMinRow = -1, int nMinCol = -1, int nMaxRow = -1, int nMaxCol = -1)
    {
        Set(nMinRow, nMinCol, nMaxRow, nMaxCol);
    }

    void Set(int nMinRow = -1, int nMinCol = -1, int nMaxRow = -1, int nMaxCol = -1)
    {
        m_nMinRow = nMinRow;
        m_nMinCol = nMinCol;
        m_nMaxRow = nMaxRow;
        m_nMaxCol = nMaxCol;
    }

    // Valid on its own: non-negative and not inverted; the grid adds the
    // check against its counts.
    int IsValid() const
    {
        return m_nMinRow >= 0 && m_nMinCol >= 0 && m_nMaxRow >= 0 && m_nMaxCol >= 0 &&
               m_nMinRow <= m_nMaxRow && m_nMinCol <= m_nMaxCol;
    }
    int InRange(int row, int col) const
    {
        return row >= m_nMinRow && row <= m_nMaxRow && col >= m_nMinCol && col <= m_nMaxCol;
    }
    int InRange(const CCellID& cell) const { return InRange(cell.row, cell.col); }

    CCellID GetTopLeft() const { return CCellID(m_nMinRow, m_nMinCol); }
    CCellRange Intersect(const CCellRange& other) const;

    int GetMinRow() const { return m_nMinRow; }
    void SetMinRow(int n) { m_nMinRow = n; }
    int GetMinCol() const { return m_nMinCol; }
    void SetMinCol(int n) { m_nMinCol = n; }
    int GetMaxRow() const { return m_nMaxRow; }
    void SetMaxRow(int n) { m_nMaxRow = n; }
    int GetMaxCol() const { return m_nMaxCol; }
    void SetMaxCol(int n) { m_nMaxCol = n; }
    int GetRowSpan() const { return m_nMaxRow - m_nMinRow + 1; }
    int GetColSpan() const { return m_nMaxCol - m_nMinCol + 1; }

    int operator==(const CCellRange& rhs) const
    {
        return m_nMinRow == rhs.m_nMinRow && m_nMinCol == rhs.m_nMinCol &&
               m_nMaxRow == rhs.m_nMaxRow && m_nMaxCol == rhs.m_nMaxCol;
    }
    int operator!=(const CCellRange& rhs) const { return !operator==(rhs); }

private:
    int m_nMinRow;
    int m_nMinCol;
    int m_nMaxRow;
    int m_nMaxCol;
};

inline CCellRange CCellRange::Intersect(const CCellRange& other) const
{
    return CCellRange(m_nMinRow > other.m_nMinRow ? m_nMinRow : other.m_nMinRow,
                      m_nMinCol > other.m_nMinCol ? m_nMinCol : other.m_nMinCol,
                      m_nMaxRow < other.m_nMaxRow ? m_nMaxRow : other.m_nMaxRow,
                      m_nMaxCol < other.m_nMaxCol ? m_nMaxCol : other.m_nMaxCol);
}
