// DrawEdge and DrawFrameControl: edges as one-pixel lines in the system
// colours, glyphs as small pixel shapes, all painted in logical units of a
// DC without mapping scale (frames are pixel work).
#include "DeviceContext.h"
#include "GdiShapes.h"
#include "WinFrameControls.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace
{
// The pieces of one call, painted together at the end.
class FramePieces
{
public:
    void Add(const RECT& rect, int colorIndex) { Add(Region(rect), colorIndex); }
    void Add(Region shape, int colorIndex) { AddColor(std::move(shape), GetSysColor(colorIndex)); }
    void AddColor(Region shape, COLORREF color)
    {
        if (!shape.IsEmpty())
            m_pieces.emplace_back(std::move(shape), color);
    }
    void Paint(DeviceContext& dc) const
    {
        DrawSession session(dc);
        if (!session.IsValid())
            return;
        const POINT origin = dc.ToDevice(0, 0);
        for (const auto& [logical, color] : m_pieces)
        {
            Region shape = logical;
            shape.Offset(origin.x, origin.y);
            session.GetPainter().FillCoverage(shape, PaintSource::Solid(PixelFromColorRef(color)),
                                              R2_COPYPEN);
        }
    }

private:
    std::vector<std::pair<Region, COLORREF>> m_pieces;
};

// A border round a rectangle too narrow or too low for two opposite sides.
bool IsTooSmall(const RECT& rect, UINT flags)
{
    const bool across = (flags & BF_LEFT) && (flags & BF_RIGHT);
    const bool down = (flags & BF_TOP) && (flags & BF_BOTTOM);
    return (across && rect.right - rect.left < 2) || (down && rect.bottom - rect.top < 2);
}

struct EdgeColors
{
    int topLeft;
    int bottomRight;
};

// The colours of one border: outer is true for the outer border.
EdgeColors BorderColors(UINT border, bool outer, UINT flags)
{
    if (flags & BF_MONO)
        return outer ? EdgeColors{COLOR_WINDOWFRAME, COLOR_WINDOWFRAME}
                     : EdgeColors{COLOR_WINDOW, COLOR_WINDOW};
    if (flags & BF_FLAT)
        return outer ? EdgeColors{COLOR_3DSHADOW, COLOR_3DSHADOW}
                     : EdgeColors{COLOR_3DFACE, COLOR_3DFACE};
    const bool soft = flags & BF_SOFT;
    const bool raised = border & (BDR_RAISEDOUTER | BDR_RAISEDINNER);
    if (outer && raised)
        return soft ? EdgeColors{COLOR_3DHIGHLIGHT, COLOR_3DDKSHADOW}
                    : EdgeColors{COLOR_3DLIGHT, COLOR_3DDKSHADOW};
    if (outer)
        return soft ? EdgeColors{COLOR_3DDKSHADOW, COLOR_3DHIGHLIGHT}
                    : EdgeColors{COLOR_3DSHADOW, COLOR_3DHIGHLIGHT};
    if (raised)
        return soft ? EdgeColors{COLOR_3DLIGHT, COLOR_3DSHADOW}
                    : EdgeColors{COLOR_3DHIGHLIGHT, COLOR_3DSHADOW};
    return soft ? EdgeColors{COLOR_3DSHADOW, COLOR_3DLIGHT}
                : EdgeColors{COLOR_3DDKSHADOW, COLOR_3DLIGHT};
}

// One pixel of border on the named sides; the rectangle then shrinks on
// those sides. Top and left lines stop short of a bottom or right line, which
// owns the corner.
void AddBorder(FramePieces& pieces, RECT& rect, EdgeColors colors, UINT flags)
{
    if (IsTooSmall(rect, flags))
        return;
    const LONG right = rect.right - ((flags & BF_RIGHT) ? 1 : 0);
    const LONG bottom = rect.bottom - ((flags & BF_BOTTOM) ? 1 : 0);
    if (flags & BF_TOP)
        pieces.Add(RECT{rect.left, rect.top, right, rect.top + 1}, colors.topLeft);
    if (flags & BF_LEFT)
        pieces.Add(RECT{rect.left, rect.top, rect.left + 1, bottom}, colors.topLeft);
    if (flags & BF_BOTTOM)
        pieces.Add(RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, colors.bottomRight);
    if (flags & BF_RIGHT)
        pieces.Add(RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, colors.bottomRight);
    rect.left += (flags & BF_LEFT) ? 1 : 0;
    rect.top += (flags & BF_TOP) ? 1 : 0;
    rect.right -= (flags & BF_RIGHT) ? 1 : 0;
    rect.bottom -= (flags & BF_BOTTOM) ? 1 : 0;
}

// The borders and middle of an edge; returns the inside.
RECT AddEdge(FramePieces& pieces, RECT rect, UINT edge, UINT flags)
{
    if (UINT outer = edge & BDR_OUTER)
        AddBorder(pieces, rect, BorderColors(outer, true, flags), flags);
    if (UINT inner = edge & BDR_INNER)
        AddBorder(pieces, rect, BorderColors(inner, false, flags), flags);
    if (flags & BF_MIDDLE)
        pieces.Add(rect, (flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE);
    return rect;
}

// A glyph drawn as rows of a small bitmap, '#' marking a pixel, centred
// on a point.
Region GlyphAt(const std::vector<const char*>& rows, POINT centre)
{
    const int height = int(rows.size());
    const int width = int(std::char_traits<char>::length(rows.front()));
    const int left = centre.x - width / 2;
    const int top = centre.y - height / 2;
    CoverageBuilder out;
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            if (rows[std::size_t(y)][x] == '#')
                out.AddPixel(left + x, top + y);
        }
    }
    return out.Build();
}

POINT Centre(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

enum class enArrow
{
    Up,
    Down,
    Left,
    Right,
};

// A filled triangle a quarter of the box's smaller side long, centred.
Region ArrowGlyph(const RECT& rect, enArrow direction)
{
    const POINT c = Centre(rect);
    const int size = std::max(1, std::min(rect.right - rect.left, rect.bottom - rect.top) / 4);
    Region glyph;
    for (int i = 0; i < size; ++i)
    {
        RECT line{};
        switch (direction)
        {
        case enArrow::Up:
            line = RECT{c.x - i, c.y - size / 2 + i, c.x + i + 1, c.y - size / 2 + i + 1};
            break;
        case enArrow::Down:
            line = RECT{c.x - i, c.y + size / 2 - i, c.x + i + 1, c.y + size / 2 - i + 1};
            break;
        case enArrow::Left:
            line = RECT{c.x - size / 2 + i, c.y - i, c.x - size / 2 + i + 1, c.y + i + 1};
            break;
        case enArrow::Right:
            line = RECT{c.x + size / 2 - i, c.y - i, c.x + size / 2 - i + 1, c.y + i + 1};
            break;
        }
        glyph = Region::Combine(glyph, Region(line), RGN_OR);
    }
    return glyph;
}

// The arrow of a scroll button (the combo box's points down).
Region ScrollGlyph(const RECT& rect, UINT kind)
{
    switch (kind)
    {
    case DFCS_SCROLLUP:
        return ArrowGlyph(rect, enArrow::Up);
    case DFCS_SCROLLLEFT:
        return ArrowGlyph(rect, enArrow::Left);
    case DFCS_SCROLLRIGHT:
        return ArrowGlyph(rect, enArrow::Right);
    default:
        return ArrowGlyph(rect, enArrow::Down);
    }
}

// A check mark seven pixels wide and tall, three pixels thick.
Region CheckGlyph(POINT centre)
{
    return GlyphAt({"......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."},
                   centre);
}

// The check mark, bullet or submenu arrow of a menu item.
Region MenuGlyph(const RECT& rect, UINT kind)
{
    const POINT c = Centre(rect);
    switch (kind)
    {
    case DFCS_MENUCHECK:
        return CheckGlyph(c);
    case DFCS_MENUBULLET:
        return EllipseCoverage(RECT{c.x - 3, c.y - 3, c.x + 3, c.y + 3});
    case DFCS_MENUARROWRIGHT:
        return ArrowGlyph(rect, enArrow::Left);
    default:
        return ArrowGlyph(rect, enArrow::Right);
    }
}

// Two diagonals two pixels thick across a square of side size.
Region CrossGlyph(POINT centre, int size)
{
    CoverageBuilder out;
    const int left = centre.x - size / 2;
    const int top = centre.y - size / 2;
    for (int i = 0; i < size; ++i)
    {
        out.AddSpan(top + i, left + i, left + std::min(i + 2, size));
        out.AddSpan(top + i, left + std::max(size - 2 - i, 0), left + size - i);
    }
    return out.Build();
}

// A window outline of side size with a thick top: the maximise glyph.
Region WindowGlyph(int left, int top, int size)
{
    const RECT outer{left, top, left + size, top + size};
    const RECT inner{left + 1, top + 2, left + size - 1, top + size - 1};
    return Region::Combine(Region(outer), Region(inner), RGN_DIFF);
}

Region CaptionGlyph(const RECT& rect, UINT kind)
{
    const POINT c = Centre(rect);
    const int size = std::max(4, std::min(rect.right - rect.left, rect.bottom - rect.top) - 8);
    const int left = c.x - size / 2;
    const int top = c.y - size / 2;
    switch (kind)
    {
    case DFCS_CAPTIONMIN:
        return Region(RECT{left, top + size - 2, left + size * 2 / 3, top + size});
    case DFCS_CAPTIONMAX:
        return WindowGlyph(left, top, size);
    case DFCS_CAPTIONRESTORE:
    {
        const int small = size * 2 / 3;
        const Region front = WindowGlyph(left, top + size - small, small);
        const Region behind = WindowGlyph(left + size - small, top, small);
        RECT frontArea{left, top + size - small, left + small, top + size};
        return Region::Combine(front, Region::Combine(behind, Region(frontArea), RGN_DIFF), RGN_OR);
    }
    case DFCS_CAPTIONHELP:
        return GlyphAt({".###.", "#...#", "....#", "...#.", "..#..", "..#..", ".....", "..#.."}, c);
    default:
        return CrossGlyph(c, size);
    }
}

// A glyph in the text colour, or greyed when the control is inactive.
void AddGlyph(FramePieces& pieces, Region glyph, UINT state, int textColor = COLOR_BTNTEXT)
{
    if (state & DFCS_PUSHED)
        glyph.Offset(1, 1);
    pieces.Add(std::move(glyph), (state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : textColor);
}

UINT ButtonEdgeFlags(UINT state)
{
    UINT flags = BF_RECT | BF_MIDDLE;
    if (state & DFCS_FLAT)
        flags |= BF_FLAT;
    if (state & DFCS_MONO)
        flags |= BF_MONO;
    return flags;
}

RECT AddButtonFace(FramePieces& pieces, const RECT& rect, UINT state, UINT extraFlags)
{
    const UINT edge = (state & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED;
    return AddEdge(pieces, rect, edge, ButtonEdgeFlags(state) | extraFlags);
}

// The square box of a check box or radio button, centred on the left of the
// rectangle as tall as the rectangle allows.
RECT MarkBox(const RECT& rect)
{
    const int side = std::min(rect.right - rect.left, rect.bottom - rect.top);
    const int top = rect.top + (rect.bottom - rect.top - side) / 2;
    return RECT{rect.left, top, rect.left + side, top + side};
}

int MarkBackground(UINT state)
{
    return (state & (DFCS_INACTIVE | DFCS_PUSHED)) ? COLOR_3DFACE : COLOR_WINDOW;
}

void AddCheckBox(FramePieces& pieces, const RECT& rect, UINT state)
{
    const RECT box = MarkBox(rect);
    const RECT inside =
        AddEdge(pieces, box, EDGE_SUNKEN, BF_RECT | (state & DFCS_FLAT ? BF_FLAT : 0));
    pieces.Add(inside, MarkBackground(state));
    if (!(state & DFCS_CHECKED))
        return;
    const bool greyed = (state & DFCS_BUTTON3STATE) || (state & DFCS_INACTIVE);
    pieces.Add(CheckGlyph(Centre(inside)), greyed ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
}

// The pixels of a ring (an ellipse minus the one inside it) on one side of
// the diagonal from bottom-left to top-right.
Region HalfRing(const RECT& box, bool upperLeft)
{
    RECT inner = box;
    InflateRect(&inner, -1, -1);
    const Region ring = Region::Combine(EllipseCoverage(box), EllipseCoverage(inner), RGN_DIFF);
    const int sum = box.left + box.right + box.top + box.bottom - 2;
    CoverageBuilder out;
    for (const Region::Band& band : ring.GetBands())
    {
        for (int y = band.y0; y < band.y1; ++y)
        {
            for (const Span& s : band.spans)
            {
                for (int x = s.x0; x < s.x1; ++x)
                {
                    if ((2 * (x + y) < sum) == upperLeft)
                        out.AddPixel(x, y);
                }
            }
        }
    }
    return out.Build();
}

void AddRadio(FramePieces& pieces, const RECT& rect, UINT state)
{
    RECT box = MarkBox(rect);
    pieces.Add(HalfRing(box, true), COLOR_3DSHADOW);
    pieces.Add(HalfRing(box, false), COLOR_3DHIGHLIGHT);
    InflateRect(&box, -1, -1);
    pieces.Add(HalfRing(box, true), COLOR_3DDKSHADOW);
    pieces.Add(HalfRing(box, false), COLOR_3DLIGHT);
    InflateRect(&box, -1, -1);
    pieces.Add(EllipseCoverage(box), MarkBackground(state));
    if (state & DFCS_CHECKED)
    {
        const int inset = (box.right - box.left) / 4;
        InflateRect(&box, -inset, -inset);
        pieces.Add(EllipseCoverage(box),
                   (state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    }
}

void AddButton(FramePieces& pieces, RECT& rect, UINT state)
{
    const UINT kind = state & 0x1F;
    if (kind & DFCS_BUTTONPUSH)
    {
        const RECT inside = AddButtonFace(pieces, rect, state, BF_SOFT);
        if (state & DFCS_ADJUSTRECT)
            rect = inside;
        return;
    }
    if (kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK))
        AddRadio(pieces, rect, state);
    else
        AddCheckBox(pieces, rect, state);
}

void AddScroll(FramePieces& pieces, const RECT& rect, UINT state)
{
    const UINT kind = state & 0xFF;
    if (kind == DFCS_SCROLLSIZEGRIP)
    {
        pieces.Add(rect, COLOR_3DFACE);
        for (int d = 0; d < 12 && d < rect.right - rect.left; d += 4)
        {
            CoverageBuilder light;
            CoverageBuilder dark;
            for (int i = 0; i <= d; ++i)
            {
                light.AddPixel(rect.right - 1 - i, rect.bottom - 1 - (d - i) - 2);
                dark.AddPixel(rect.right - 1 - i, rect.bottom - 1 - (d - i));
            }
            pieces.Add(light.Build(), COLOR_3DHIGHLIGHT);
            pieces.Add(dark.Build(), COLOR_3DSHADOW);
        }
        return;
    }
    AddButtonFace(pieces, rect, state, 0);
    AddGlyph(pieces, ScrollGlyph(rect, kind), state);
}

void AddMenuGlyph(FramePieces& pieces, const RECT& rect, UINT state)
{
    // Black on white, as masks for the caller's own colours.
    pieces.Add(rect, COLOR_WINDOW);
    pieces.Add(MenuGlyph(rect, state & 0xFF), COLOR_WINDOWFRAME);
}
// Collects a call's pieces through add (false: nothing to draw) and paints
// them on the DC.
template <typename AddFn> BOOL PaintPieces(HDC hdc, const RECT* rect, AddFn add)
{
    DeviceContext* dc = LookupDC(hdc);
    FramePieces pieces;
    if (dc == nullptr || rect == nullptr || !add(pieces))
        return FALSE;
    pieces.Paint(*dc);
    return TRUE;
}
} // namespace

BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags)
{
    GdiRecord(hdc, "DrawEdge", {edge, flags});
    return PaintPieces(hdc, rect,
                       [&](FramePieces& pieces)
                       {
                           const RECT inside = AddEdge(pieces, *rect, edge, flags);
                           if (flags & BF_ADJUST)
                               *rect = inside;
                           return true;
                       });
}

BOOL DrawFrameControl(HDC hdc, LPRECT rect, UINT type, UINT state)
{
    GdiRecord(hdc, "DrawFrameControl", {type, state});
    return PaintPieces(hdc, rect,
                       [&](FramePieces& pieces)
                       {
                           switch (type)
                           {
                           case DFC_BUTTON:
                               AddButton(pieces, *rect, state);
                               return true;
                           case DFC_CAPTION:
                               AddButtonFace(pieces, *rect, state, 0);
                               AddGlyph(pieces, CaptionGlyph(*rect, state & 0xFF), state);
                               return true;
                           case DFC_SCROLL:
                               AddScroll(pieces, *rect, state);
                               return true;
                           case DFC_MENU:
                               AddMenuGlyph(pieces, *rect, state);
                               return true;
                           default:
                               return false;
                           }
                       });
}

BOOL GdiDrawFrameGlyph(HDC hdc, const RECT* rect, UINT type, UINT state, COLORREF color)
{
    return PaintPieces(hdc, rect,
                       [&](FramePieces& pieces)
                       {
                           const UINT kind = state & 0xFF;
                           switch (type)
                           {
                           case DFC_SCROLL:
                               pieces.AddColor(ScrollGlyph(*rect, kind), color);
                               return true;
                           case DFC_MENU:
                               pieces.AddColor(MenuGlyph(*rect, kind), color);
                               return true;
                           case DFC_CAPTION:
                               pieces.AddColor(CaptionGlyph(*rect, kind), color);
                               return true;
                           default:
                               return false;
                           }
                       });
}
