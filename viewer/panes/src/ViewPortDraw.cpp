// The drawing primitives of CViewPort. Each makes the pens, brushes and
// fonts it draws with and deletes them before it returns; what was selected
// in the DC before is selected back.
#include "CViewPort.h"

#include "PaneFont.h"
#include "PaneGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace
{

// Selects a GDI object for one scope.
class ScopedSelect
{
public:
    ScopedSelect(CDC* pDC, HGDIOBJ object) : m_hDC(pDC->GetSafeHdc())
    {
        m_hOld = ::SelectObject(m_hDC, object);
    }
    ~ScopedSelect()
    {
        if (m_hOld != nullptr)
        {
            ::SelectObject(m_hDC, m_hOld);
        }
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// A background mode (and colour) for one scope.
class ScopedBackground
{
public:
    ScopedBackground(CDC* pDC, int mode) : m_pDC(pDC), m_nOldMode(pDC->SetBkMode(mode)) {}
    ScopedBackground(CDC* pDC, int mode, COLORREF color) : ScopedBackground(pDC, mode)
    {
        m_crOld = pDC->SetBkColor(color);
        m_bColor = true;
    }
    ~ScopedBackground()
    {
        m_pDC->SetBkMode(m_nOldMode);
        if (m_bColor)
        {
            m_pDC->SetBkColor(m_crOld);
        }
    }
    ScopedBackground(const ScopedBackground&) = delete;
    ScopedBackground& operator=(const ScopedBackground&) = delete;

private:
    CDC* m_pDC;
    int m_nOldMode;
    COLORREF m_crOld = 0;
    bool m_bColor = false;
};

// A styled pen: geometric (round caps, the style kept) from width 2 on,
// cosmetic below.
HPEN CreateStyledPen(int style, int width, COLORREF color)
{
    if (width >= 2)
    {
        const LOGBRUSH brush = {BS_SOLID, color, 0};
        return ::ExtCreatePen(PS_GEOMETRIC | DWORD(style), DWORD(width), &brush, 0, nullptr);
    }
    return ::CreatePen(style, 1, color);
}

// The pen style of the outline of a selected line or ellipse.
constexpr int SelectionPenStyle = PS_DOT;

std::vector<std::string> SplitLines(const char* text)
{
    std::vector<std::string> lines;
    std::string line;
    for (const char* c = text != nullptr ? text : ""; *c != 0; ++c)
    {
        if (*c == '\r')
        {
            lines.push_back(line);
            line.clear();
            if (lines.size() == std::size_t(CViewPort::MaxTextLines))
            {
                return lines;
            }
        }
        else if (*c != '\n')
        {
            line += *c;
        }
    }
    lines.push_back(line);
    return lines;
}

// The extent of one line; an empty line keeps the height of a space.
CSize LineExtent(CDC* pDC, const std::string& line)
{
    if (line.empty())
    {
        return CSize(0, pDC->GetTextExtent(" ").cy);
    }
    return pDC->GetTextExtent(line.c_str());
}

// The font of the call selected, when one is given.
class ScopedFont
{
public:
    ScopedFont(CDC* pDC, const LOGFONTA* font)
    {
        if (font != nullptr && m_font.CreateFontIndirect(font))
        {
            m_select.emplace(pDC, m_font.GetSafeHandle());
        }
    }

private:
    CFont m_font;
    std::optional<ScopedSelect> m_select;
};

} // namespace

int CViewPort::SetRasterMode(int mode)
{
    const int raster = RasterOfMode(mode);
    if (raster == 0 || m_pClientDC == nullptr)
    {
        return mode;
    }
    return m_pClientDC->SetROP2(raster);
}

void CViewPort::DrawLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color)
{
    CPen pen(PS_SOLID, m_nPenWidth, color);
    ScopedSelect select(pDC, pen.GetSafeHandle());
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
}

void CViewPort::DrawPenLine(CDC* pDC, int x1, int y1, int x2, int y2)
{
    DrawLine(pDC, x1, y1, x2, y2, m_crPen);
}

void CViewPort::DrawLineOnClientDC(int x1, int y1, int x2, int y2)
{
    DrawColorLineOnClientDC(x1, y1, x2, y2, m_crPen);
}

void CViewPort::DrawColorLineOnClientDC(int x1, int y1, int x2, int y2, COLORREF color)
{
    if (m_pClientDC != nullptr)
    {
        DrawLine(m_pClientDC, x1, y1, x2, y2, color);
    }
}

void CViewPort::DrawShadowLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color)
{
    DrawLine(pDC, x1 + 1, y1 + 1, x2 + 1, y2 + 1, color);
}

void CViewPort::DrawDashLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color)
{
    CPen pen;
    pen.Attach(CreateStyledPen(PS_DASH, m_nPenWidth, color));
    ScopedSelect select(pDC, pen.GetSafeHandle());
    ScopedBackground background(pDC, TRANSPARENT);
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
}

void CViewPort::DrawDotLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color)
{
    CPen pen;
    pen.Attach(CreateStyledPen(PS_DOT, m_nPenWidth, color));
    ScopedSelect select(pDC, pen.GetSafeHandle());
    ScopedBackground background(pDC, TRANSPARENT);
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
}

void CViewPort::DrawDashDotLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color)
{
    CPen pen;
    pen.Attach(CreateStyledPen(PS_DASHDOT, m_nPenWidth, color));
    ScopedSelect select(pDC, pen.GetSafeHandle());
    ScopedBackground background(pDC, TRANSPARENT);
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
}

void CViewPort::DrawDashLineWithPen(CDC* pDC, int x1, int y1, int x2, int y2)
{
    DrawDashLine(pDC, x1, y1, x2, y2, m_crPen);
}

void CViewPort::DrawDotLineWithPen(CDC* pDC, int x1, int y1, int x2, int y2)
{
    DrawDotLine(pDC, x1, y1, x2, y2, m_crPen);
}

void CViewPort::DrawDashDotLineWithPen(CDC* pDC, int x1, int y1, int x2, int y2)
{
    DrawDashDotLine(pDC, x1, y1, x2, y2, m_crPen);
}

void CViewPort::DrawSelectionLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF pen,
                                  COLORREF background)
{
    CPen line(SelectionPenStyle, 1, pen);
    ScopedSelect select(pDC, line.GetSafeHandle());
    ScopedBackground opaque(pDC, OPAQUE, background);
    const int oldRaster = pDC->SetROP2(R2_COPYPEN);
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
    pDC->SetROP2(oldRaster);
}

void CViewPort::DrawCross(CDC* pDC, int x, int y, COLORREF color, int half)
{
    DrawLine(pDC, x - half, y, x + half + 1, y, color);
    DrawLine(pDC, x, y - half, x, y + half + 1, color);
}

void CViewPort::DrawCrossOnClientDC(int x, int y, int half)
{
    if (m_pClientDC != nullptr)
    {
        DrawCross(m_pClientDC, x, y, m_crPen, half);
    }
}

void CViewPort::DrawXMark(CDC* pDC, int x, int y, COLORREF color, int half)
{
    DrawLine(pDC, x - half, y - half, x + half + 1, y + half + 1, color);
    DrawLine(pDC, x + half, y - half, x - half - 1, y + half + 1, color);
}

void CViewPort::DrawXMarkWithPen(CDC* pDC, int x, int y, int half)
{
    DrawXMark(pDC, x, y, m_crPen, half);
}

void CViewPort::DrawTriangle(CDC* pDC, int x, int y, COLORREF pen, COLORREF fill, int size)
{
    static const double heightFactor = std::sqrt(3.0) / 2.0;
    const double height = size * heightFactor;
    // Centred on its centroid, apex up.
    const POINT corners[3] = {{x, y - RoundHalfAway(height * 2.0 / 3.0)},
                              {x + size / 2, y + RoundHalfAway(height / 3.0)},
                              {x - size / 2, y + RoundHalfAway(height / 3.0)}};
    CPen outline(PS_SOLID, 1, pen);
    CBrush brush(fill);
    ScopedSelect selectPen(pDC, outline.GetSafeHandle());
    ScopedSelect selectBrush(pDC, brush.GetSafeHandle());
    pDC->Polygon(corners, 3);
}

void CViewPort::DrawHollowSquare(CDC* pDC, int x, int y, int half)
{
    ScopedSelect brush(pDC, ::GetStockObject(NULL_BRUSH));
    pDC->Rectangle(x - half, y - half, x + half + 1, y + half + 1);
}

void CViewPort::DrawHollowSquareOnClientDC(int x, int y, int half)
{
    if (m_pClientDC != nullptr)
    {
        DrawHollowSquare(m_pClientDC, x, y, half);
    }
}

void CViewPort::DrawHandle(CDC* pDC, int x, int y, int half)
{
    ScopedSelect brush(pDC, ::GetStockObject(WHITE_BRUSH));
    ScopedBackground opaque(pDC, OPAQUE);
    pDC->Rectangle(x - half, y - half, x + half + 1, y + half + 1);
}

void CViewPort::DrawHandleOnClientDC(int x, int y, int half)
{
    if (m_pClientDC != nullptr)
    {
        DrawHandle(m_pClientDC, x, y, half);
    }
}

void CViewPort::DrawCornerHandles(CDC* pDC, const RECT* rect, int half)
{
    DrawHandle(pDC, rect->left, rect->top, half);
    DrawHandle(pDC, rect->right, rect->top, half);
    DrawHandle(pDC, rect->left, rect->bottom, half);
    DrawHandle(pDC, rect->right, rect->bottom, half);
}

void CViewPort::DrawDiamondHandle(CDC* pDC, int x, int y, int half)
{
    const POINT corners[5] = {
        {x, y - half}, {x + half, y}, {x, y + half}, {x - half, y}, {x, y - half}};
    ScopedSelect brush(pDC, ::GetStockObject(WHITE_BRUSH));
    pDC->Polygon(corners, 5);
}

void CViewPort::DrawCornerDiamonds(CDC* pDC, const RECT* rect, int half)
{
    DrawDiamondHandle(pDC, rect->left, rect->top, half);
    DrawDiamondHandle(pDC, rect->right, rect->top, half);
    DrawDiamondHandle(pDC, rect->left, rect->bottom, half);
    DrawDiamondHandle(pDC, rect->right, rect->bottom, half);
}

void CViewPort::DrawFilledDiamond(CDC* pDC, int x, int y, COLORREF fill, int half)
{
    const POINT corners[5] = {
        {x, y - half}, {x + half, y}, {x, y + half}, {x - half, y}, {x, y - half}};
    CPen outline(PS_SOLID, 1, fill);
    CBrush brush(fill);
    ScopedSelect selectPen(pDC, outline.GetSafeHandle());
    ScopedSelect selectBrush(pDC, brush.GetSafeHandle());
    pDC->Polygon(corners, 5);
}

void CViewPort::DrawCornerFilledDiamonds(CDC* pDC, const RECT* rect, COLORREF fill, int half)
{
    DrawFilledDiamond(pDC, rect->left, rect->top, fill, half);
    DrawFilledDiamond(pDC, rect->right, rect->top, fill, half);
    DrawFilledDiamond(pDC, rect->left, rect->bottom, fill, half);
    DrawFilledDiamond(pDC, rect->right, rect->bottom, fill, half);
}

void CViewPort::DrawTarget(CDC* pDC, int x, int y, int rings)
{
    constexpr int RingStep = 20;
    constexpr int HairLength = 9000;
    for (int ring = 1; ring <= rings; ++ring)
    {
        DrawCircleWithPen(pDC, x, y, ring * RingStep);
    }
    DrawPenLine(pDC, x + RingStep, y, x + HairLength, y);
    DrawPenLine(pDC, x - RingStep, y, x - HairLength, y);
    DrawPenLine(pDC, x, y + RingStep, x, y + HairLength);
    DrawPenLine(pDC, x, y - RingStep, x, y - HairLength);
}

void CViewPort::DrawArrowHead(CDC* pDC, int tipX, int tipY, int tailX, int tailY, COLORREF color,
                              int halfWidth, int length, int style)
{
    const double dx = tailX - tipX;
    const double dy = tailY - tipY;
    const double distance = std::hypot(dx, dy);
    if (distance <= length)
    {
        return;
    }
    const double ux = dx / distance;
    const double uy = dy / distance;
    const double baseX = tipX + ux * length;
    const double baseY = tipY + uy * length;
    const POINT ends[2] = {
        {RoundHalfAway(baseX - uy * halfWidth), RoundHalfAway(baseY + ux * halfWidth)},
        {RoundHalfAway(baseX + uy * halfWidth), RoundHalfAway(baseY - ux * halfWidth)}};
    for (const POINT& end : ends)
    {
        switch (style)
        {
        case enDash:
            DrawDashLine(pDC, tipX, tipY, end.x, end.y, color);
            break;
        case enDot:
            DrawDotLine(pDC, tipX, tipY, end.x, end.y, color);
            break;
        default:
            DrawLine(pDC, tipX, tipY, end.x, end.y, color);
            break;
        }
    }
}

void CViewPort::DrawArrow(CDC* pDC, int tipX, int tipY, int tailX, int tailY, COLORREF color,
                          int halfWidth, int length, int style)
{
    switch (style)
    {
    case enDash:
        DrawDashLine(pDC, tipX, tipY, tailX, tailY, color);
        break;
    case enDot:
        DrawDotLine(pDC, tipX, tipY, tailX, tailY, color);
        break;
    default:
        DrawLine(pDC, tipX, tipY, tailX, tailY, color);
        break;
    }
    DrawArrowHead(pDC, tipX, tipY, tailX, tailY, color, halfWidth, length, style);
}

void CViewPort::DrawFrame(CDC* pDC, const RECT* rect, COLORREF color)
{
    CPen pen(PS_SOLID, m_nPenWidth, color);
    ScopedSelect selectPen(pDC, pen.GetSafeHandle());
    ScopedSelect brush(pDC, ::GetStockObject(NULL_BRUSH));
    pDC->Rectangle(rect);
}

void CViewPort::DrawInnerFrame(CDC* pDC, const RECT* rect, COLORREF color)
{
    CRect inner(*rect);
    inner.DeflateRect(1, 1);
    DrawFrame(pDC, &inner, color);
}

void CViewPort::DrawRoundRect(CDC* pDC, const RECT* rect, COLORREF pen, COLORREF fill)
{
    CPen outline(PS_SOLID, 1, pen);
    CBrush brush(fill);
    ScopedSelect selectPen(pDC, outline.GetSafeHandle());
    ScopedSelect selectBrush(pDC, brush.GetSafeHandle());
    pDC->RoundRect(rect->left, rect->top, rect->right, rect->bottom, 10, 10);
}

void CViewPort::FillRectAlpha(CDC* pDC, const RECT* rect, COLORREF color, BYTE alpha)
{
    const CRect area(*rect);
    if (area.IsRectEmpty())
    {
        return;
    }
    CDC memory;
    CBitmap bitmap;
    if (memory.CreateCompatibleDC(pDC) &&
        bitmap.CreateCompatibleBitmap(pDC, area.Width(), area.Height()))
    {
        ScopedSelect selectBitmap(&memory, bitmap.GetSafeHandle());
        memory.FillSolidRect(0, 0, area.Width(), area.Height(), color);
        const BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, 0};
        pDC->AlphaBlend(area.left, area.top, area.Width(), area.Height(), &memory, 0, 0,
                        area.Width(), area.Height(), blend);
    }
    CPen pen(PS_SOLID, 1, color);
    ScopedSelect selectPen(pDC, pen.GetSafeHandle());
    ScopedSelect brush(pDC, ::GetStockObject(NULL_BRUSH));
    pDC->Rectangle(&area);
}

void CViewPort::DrawCircle(CDC* pDC, int x, int y, int radius, COLORREF color)
{
    CRect square(x - radius, y - radius, x + radius, y + radius);
    square.DeflateRect(1, 1);
    CPen pen(PS_SOLID, m_nPenWidth, color);
    ScopedSelect selectPen(pDC, pen.GetSafeHandle());
    ScopedSelect brush(pDC, ::GetStockObject(NULL_BRUSH));
    pDC->Ellipse(&square);
}

void CViewPort::DrawCircleWithPen(CDC* pDC, int x, int y, int radius)
{
    const CRect square(x - radius, y - radius, x + radius, y + radius);
    DrawEllipse(pDC, &square, m_crPen);
}

void CViewPort::DrawFilledCircle(CDC* pDC, int x, int y, COLORREF color, int radius)
{
    CPen pen(PS_SOLID, 1, color);
    CBrush brush(color);
    ScopedSelect selectPen(pDC, pen.GetSafeHandle());
    ScopedSelect selectBrush(pDC, brush.GetSafeHandle());
    pDC->Ellipse(x - radius, y - radius, x + radius, y + radius);
}

void CViewPort::DrawEllipse(CDC* pDC, const RECT* rect, COLORREF color)
{
    CPen pen(PS_SOLID, m_nPenWidth, color);
    ScopedSelect selectPen(pDC, pen.GetSafeHandle());
    ScopedSelect brush(pDC, ::GetStockObject(NULL_BRUSH));
    ScopedBackground transparent(pDC, TRANSPARENT);
    pDC->Ellipse(rect);
}

void CViewPort::DrawEllipseOnClientDC(const RECT* rect)
{
    if (m_pClientDC != nullptr)
    {
        DrawEllipse(m_pClientDC, rect, m_crPen);
    }
}

void CViewPort::DrawInnerEllipse(CDC* pDC, const RECT* rect, COLORREF color)
{
    CRect inner(*rect);
    inner.DeflateRect(1, 1);
    DrawEllipse(pDC, &inner, color);
}

void CViewPort::DrawSelectionEllipse(CDC* pDC, const RECT* rect, COLORREF pen, COLORREF background)
{
    CPen outline(SelectionPenStyle, 1, pen);
    ScopedSelect selectPen(pDC, outline.GetSafeHandle());
    ScopedSelect brush(pDC, ::GetStockObject(NULL_BRUSH));
    ScopedBackground opaque(pDC, OPAQUE, background);
    const int oldRaster = pDC->SetROP2(R2_COPYPEN);
    pDC->Ellipse(rect);
    pDC->SetROP2(oldRaster);
}

void CViewPort::DrawArc(CDC* pDC, int cx, int cy, int x1, int y1, float sweep, COLORREF color)
{
    const double dx = x1 - cx;
    const double dy = y1 - cy;
    const double radius = std::hypot(dx, dy);
    if (radius < 1.0)
    {
        return;
    }
    double angle = std::acos(dx / radius) * 180.0 / std::numbers::pi;
    if (y1 > cy)
    {
        angle = 360.0 - angle;
    }
    CPen pen(PS_SOLID, m_nPenWidth, color);
    ScopedSelect selectPen(pDC, pen.GetSafeHandle());
    pDC->MoveTo(x1, y1);
    pDC->AngleArc(cx, cy, RoundHalfAway(radius), float(angle), sweep);
}

void CViewPort::DrawArcWithPen(CDC* pDC, int cx, int cy, int x1, int y1, float sweep)
{
    DrawArc(pDC, cx, cy, x1, y1, sweep, m_crPen);
}

void CViewPort::DrawImageLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color)
{
    const POINT from = ImageToScreen(x1, y1);
    const POINT to = ImageToScreen(x2, y2);
    DrawLine(pDC, from.x, from.y, to.x, to.y, color);
}

void CViewPort::DrawImageLineWithPen(CDC* pDC, int x1, int y1, int x2, int y2)
{
    DrawImageLine(pDC, x1, y1, x2, y2, m_crPen);
}

void CViewPort::DrawImageShadowLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color)
{
    const POINT from = ImageToScreen(x1, y1);
    const POINT to = ImageToScreen(x2, y2);
    DrawShadowLine(pDC, from.x, from.y, to.x, to.y, color);
}

void CViewPort::DrawImageEllipse(CDC* pDC, const RECT* rect, COLORREF color)
{
    const POINT topLeft = ImageToScreen(rect->left, rect->top);
    const POINT bottomRight = ImageToScreen(rect->right, rect->bottom);
    const CRect screen(topLeft, bottomRight);
    DrawEllipse(pDC, &screen, color);
}

void CViewPort::DrawImageCircle(CDC* pDC, int x, int y, int radius, COLORREF color)
{
    const CRect square(x - radius, y - radius, x + radius, y + radius);
    DrawImageEllipse(pDC, &square, color);
}

void CViewPort::DrawImageDiamond(CDC* pDC, int x, int y, COLORREF fill, int half)
{
    const POINT point = ImageToScreen(x, y);
    DrawFilledDiamond(pDC, point.x, point.y, fill, half);
}

CSize CViewPort::GetTextExtent(CDC* pDC, const char* text) const
{
    return pDC->GetTextExtent(text != nullptr ? text : "");
}

CSize CViewPort::DrawTextExtent(const char* text) const
{
    return m_pClientDC != nullptr ? GetTextExtent(m_pClientDC, text) : CSize(0, 0);
}

CSize CViewPort::GetMultiLineTextExtent(CDC* pDC, const char* text) const
{
    CSize total(0, 0);
    for (const std::string& line : SplitLines(text))
    {
        const CSize extent = LineExtent(pDC, line);
        total.cx = std::max(total.cx, extent.cx);
        total.cy += extent.cy;
    }
    return total;
}

void CViewPort::DrawTextAt(CDC* pDC, const LOGFONTA* font, const POINT* point, const char* text)
{
    ScopedFont selectFont(pDC, font);
    ScopedBackground transparent(pDC, TRANSPARENT);
    pDC->TextOut(point->x, point->y, text != nullptr ? text : "");
}

void CViewPort::DrawTextVCentered(CDC* pDC, const LOGFONTA* font, const POINT* point,
                                  const char* text, COLORREF color, bool opaque, bool shadow)
{
    ScopedFont selectFont(pDC, font);
    const char* line = text != nullptr ? text : "";
    const CSize extent = pDC->GetTextExtent(line);
    const int x = point->x;
    const int y = point->y - extent.cy / 2;
    const COLORREF oldColor = pDC->GetTextColor();
    if (shadow)
    {
        ScopedBackground transparent(pDC, TRANSPARENT);
        pDC->SetTextColor(RGB(0, 0, 0));
        pDC->TextOut(x + 1, y + 1, line);
    }
    ScopedBackground background(pDC, opaque ? OPAQUE : TRANSPARENT, m_crTextBk);
    pDC->SetTextColor(color);
    pDC->TextOut(x, y, line);
    pDC->SetTextColor(oldColor);
}

void CViewPort::DrawTextHCentered(CDC* pDC, const LOGFONTA* font, const POINT* point,
                                  const char* text, COLORREF color, bool opaque, bool shadow)
{
    ScopedFont selectFont(pDC, font);
    const char* line = text != nullptr ? text : "";
    const CSize extent = pDC->GetTextExtent(line);
    const POINT centred = {point->x - extent.cx / 2, point->y + extent.cy / 2};
    DrawTextVCentered(pDC, nullptr, &centred, line, color, opaque, shadow);
}

void CViewPort::DrawMultiLineText(CDC* pDC, const LOGFONTA* font, const POINT* point,
                                  const char* text)
{
    ScopedFont selectFont(pDC, font);
    ScopedBackground transparent(pDC, TRANSPARENT);
    int y = point->y;
    for (const std::string& line : SplitLines(text))
    {
        pDC->TextOut(point->x, y, line.c_str());
        y += LineExtent(pDC, line).cy;
    }
}

void CViewPort::DrawTextBox(CDC* pDC, const LOGFONTA* font, const POINT* point, const char* text,
                            COLORREF color)
{
    ScopedFont selectFont(pDC, font);
    const char* line = text != nullptr ? text : "";
    const CSize extent = pDC->GetTextExtent(line);
    CRect box(*point, extent);
    box.InflateRect(4, 2);
    DrawRoundRect(pDC, &box, RGB(0, 0, 0), RGB(255, 255, 255));
    ScopedBackground transparent(pDC, TRANSPARENT);
    const COLORREF oldColor = pDC->SetTextColor(color);
    pDC->TextOut(point->x, point->y, line);
    pDC->SetTextColor(oldColor);
}

void CViewPort::DrawMultiLineTextBox(CDC* pDC, const LOGFONTA* font, const POINT* point,
                                     const char* text)
{
    ScopedFont selectFont(pDC, font);
    CRect box(*point, GetMultiLineTextExtent(pDC, text));
    box.InflateRect(4, 2);
    DrawRoundRect(pDC, &box, RGB(0, 0, 0), RGB(255, 255, 255));
    const COLORREF oldColor = pDC->SetTextColor(RGB(0, 0, 0));
    DrawMultiLineText(pDC, nullptr, point, text);
    pDC->SetTextColor(oldColor);
}

void CViewPort::DrawRotatedText(CDC* pDC, int x, int y, COLORREF color, double angle,
                                const char* text)
{
    LOGFONTA font{};
    CFont* current = pDC->GetCurrentFont();
    if (current == nullptr || current->GetObject(sizeof font, &font) == 0)
    {
        font = MakeLogFont(m_nFontSize, "Arial");
    }
    font.lfEscapement = RoundHalfAway(angle * 10.0);
    font.lfOrientation = font.lfEscapement;
    ScopedFont selectFont(pDC, &font);
    ScopedBackground transparent(pDC, TRANSPARENT);
    const COLORREF oldColor = pDC->SetTextColor(color);
    pDC->TextOut(x, y, text != nullptr ? text : "");
    pDC->SetTextColor(oldColor);
}

void CViewPort::DrawTextLabel(CDC* pDC, POINT point, const char* text, bool boxed)
{
    // Clear of the cursor: below and right of the point.
    constexpr int Offset = 12;
    const LOGFONTA font = MakeLogFont(m_nFontSize, "Arial");
    const POINT place = {point.x + Offset, point.y + Offset};
    if (boxed)
    {
        DrawMultiLineTextBox(pDC, &font, &place, text);
        return;
    }
    const COLORREF oldColor = pDC->SetTextColor(m_crText);
    DrawMultiLineText(pDC, &font, &place, text);
    pDC->SetTextColor(oldColor);
}
