// The pane rectangles a layout format string describes, in a 0..1000 space
// (0,0 the top-left corner of the layout area, 1000,1000 the bottom-right),
// and their scaling into the pixels of a layout rectangle.
//
// A format is a kind, a backslash and a parameter list:
//   STANDARD\c,r     c columns by r rows of equal panes, row by row;
//   ROW\c1,c2,...    2 to 7 rows of equal height, row b holding c_b panes;
//   COL\c1,c2,...    the same with columns;
//   ROWEX\c1:w1,...  rows whose heights are the weights (the last row takes
//                    what is left), panes as in ROW;
//   COLEX\c1:w1,...  the same with columns;
//   CUSTOM\101, CUSTOM\102  two fixed layouts.
// The single-view library knows no ROWEX or COLEX.
// Numbers are read like atoi: leading digits, 0 when there are none.
#pragma once

#include "ViewerFlavour.h"
#include "WinTypes.h"

#include <vector>

VIEWER_NAMESPACE_BEGIN

struct PaneRect
{
    int left;
    int top;
    int right;
    int bottom;

    bool operator==(const PaneRect&) const = default;
};

class VIEWER_API PaneLayoutFormat
{
public:
    enum enParse
    {
        Accepted,
        Rejected,
        // More panes than the layout can show: more than MaxPanes in all.
        TooManyPanes,
    };

    // A layout holds at most this many panes.
    static constexpr int MaxPanes = 1000;

    // Parses a format into the table; anything but Accepted leaves it empty.
    enParse Parse(const char* format);
    void Clear();
    // Whether Parse would accept the format.
    static bool IsAcceptable(const char* format);

    int GetCount() const { return static_cast<int>(m_rects.size()); }
    // STANDARD: the columns; ROW, ROWEX: the rows; COL, COLEX: the columns;
    // CUSTOM: 2.
    int GetBandCount() const { return m_nBands; }
    const std::vector<PaneRect>& GetRects() const { return m_rects; }

    // Entry index scaled into the layout rectangle, one pixel inside each
    // grid line; out is left alone for an index outside the table.
    bool GetPaneRect(int index, const RECT& layout, RECT* out) const;

private:
    enParse ParseStandard(const char* parameters);
    enParse ParseBands(const char* parameters, bool rows, bool weighted);
    enParse ParseCustom(const char* parameters);
    void AddBand(int panes, int from, int to, bool rows);

    std::vector<PaneRect> m_rects;
    int m_nBands = 0;
};

VIEWER_NAMESPACE_END
