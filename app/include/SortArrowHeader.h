// CSortArrowHeader: the column header of a sortable list. The sorted column
// is owner-drawn with a small raised arrow, up for ascending and down for
// descending order; columns sorted before stay owner-drawn without one.
#pragma once

#include "AfxListCtrl.h"

class CArchive;

class CSortArrowHeader : public CHeaderCtrl
{
public:
    void SetSortArrow(int nColumn, bool bAscending);
    int GetSortColumn() const { return m_nSortColumn; }
    bool IsAscending() const { return m_bAscending; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // The column widths: the count, then each width. Reading applies them
    // only when the count matches the header's columns.
    void Serialize(CArchive& ar) override;

private:
    void DrawArrow(HDC hDC, const RECT& rcItem) const;

    int m_nSortColumn = -1;
    bool m_bAscending = true;
};
