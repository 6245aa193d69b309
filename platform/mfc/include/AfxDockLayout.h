// The arithmetic of docking, kept apart from windows so that it can be
// checked by tables: where the bars of one dock bar go, which dock bar a
// dragged bar would join and in which row, and how far a bar's edge may be
// dragged. A dock bar holds its bars in rows; along a row each bar keeps the
// place it was last given (or dropped at) unless the row is too short, and
// neighbours overlap by kDockOverlap pixels, as do neighbouring rows, so
// that their touching borders draw as one line.
#pragma once

#include "PlatformUIExport.h"
#include "WinGeometry.h"

#include <vector>

inline constexpr int kDockOverlap = 2;

// One visible bar of a row as the layout sees it.
struct DockSlot
{
    SIZE size{};  // what the bar asked for (cx across a vertical dock bar)
    int nPos = 0; // where along the row it would like to start
};

struct DockRowsLayout
{
    // One rectangle per slot, row by row, in the dock bar's coordinates.
    std::vector<std::vector<RECT>> rects;
    // The room the dock bar takes: nLength along, the rows' thickness across.
    SIZE sizeTotal{};
};

// Places the rows of a dock bar nLength long (width when bHorz). Empty rows
// take no room. Along its row a slot starts at its wanted place, never
// before the end of the slot before it (less the overlap); when the row is
// too short, slots are pushed back towards its start, never before their
// packed places.
PLATFORMUI_API DockRowsLayout CalcDockRows(const std::vector<std::vector<DockSlot>>& rows,
                                           bool bHorz, int nLength);

// Where a bar would go if let go now: the index of the side (in the order
// given) whose rectangle the bar's rectangle for that side's orientation
// overlaps, -1 when none (the bar floats). An empty dock bar is given some
// depth by the caller (its rectangle grown outwards) so that it can be hit.
struct DockTarget
{
    RECT rcSide{}; // screen rectangle of the dock bar (grown when empty)
    bool bHorz = true;
    bool bAllowed = true;
};
PLATFORMUI_API int FindDockTarget(const std::vector<DockTarget>& sides, const RECT& rcHorz,
                                  const RECT& rcVert);

// The row a bar dropped nAcross pixels into a dock bar (from its frame
// side) joins. Rows are given by their thickness, outermost first. A drop
// in the first or last kDockOverlap * 2 pixels of a row opens a new row
// before or after it; past the last row, a new last row.
struct DockDropRow
{
    int nRow = 0;
    bool bNewRow = true;
};
PLATFORMUI_API DockDropRow FindDockDropRow(const std::vector<int>& rowThickness, int nAcross);

// How far an edge between two neighbours may move: the first grows by
// nDelta and the second shrinks by it, each kept at or above its minimum.
// Returns the delta allowed.
PLATFORMUI_API int ClampEdgeDrag(int nFirst, int nFirstMin, int nSecond, int nSecondMin,
                                 int nDelta);

// Rows of a toolbar: where it wraps to fit nWidth (0: one item a row,
// INT_MAX: one row). A row wraps after a button, or at a separator, which
// then lies across the toolbar as a band as high as it was wide; a
// separator that does not fit is the one to wrap at.
struct ToolbarItem
{
    int cx = 0; // button width, or separator width
    bool bSeparator = false;
    bool bHidden = false;
};
struct ToolbarWrap
{
    std::vector<bool> wraps; // one per item: the row ends after it
    SIZE size{};             // the items' extent, rows and bands included
};
PLATFORMUI_API ToolbarWrap CalcToolbarWrap(const std::vector<ToolbarItem>& items, int cyButton,
                                           int nWidth);
