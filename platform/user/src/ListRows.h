// What the list box and the list view share of their vertical scrolling:
// the rows shown from the first shown one, moved by the scroll bar, the
// wheel, the navigation keys and the rows that must come into view. Each
// list tells how many rows it has and shows whole, and keeps its scroll bar
// by its own rule.
#pragma once

#include "WinUserDefs.h"

class ListRows
{
public:
    explicit ListRows(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~ListRows() = default;
    ListRows(const ListRows&) = delete;
    ListRows& operator=(const ListRows&) = delete;

protected:
    virtual int Count() const = 0;
    // The rows the client area shows whole, at least 1.
    virtual int VisibleCount() const = 0;
    // The scroll bar set to the first shown row.
    virtual void UpdateScrollBar() = 0;

    // A scroll-bar request (WM_VSCROLL) or a turn of the wheel
    // (WM_MOUSEWHEEL): the rows move, the list repaints.
    void OnVScroll(WORD nCode);
    void OnMouseWheel(WPARAM wParam);
    // The first shown row kept within the rows, and the vertical scroll bar
    // set to it, shown only while the rows do not all fit.
    void ShowRowsOnScrollBar();
    // Scrolls as little as brings the row among the rows shown.
    void EnsureVisible(int nItem);
    // The row a navigation key (arrows, pages, Home, End) leads to from
    // nFrom (-1: from before the first); -1 for other keys or no rows.
    int RowAfterKey(WPARAM nKey, int nFrom) const;
    // One past the last row to paint: the rows shown whole and the one
    // partly shown below them.
    int EndOfPaintedRows() const;

    HWND m_hWnd;
    int m_nTop = 0; // the first row shown
};
