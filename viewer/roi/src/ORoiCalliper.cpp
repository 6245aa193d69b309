#include "ORoiCalliper.h"

#include "CViewPort.h"
#include "ImageShow.h"
#include "RoiGeometry.h"
#include "RoiMeasure.h"

#include <cmath>

IMPLEMENT_DYNAMIC(ORoiCalliper, ORoiShortLine)

ORoiCalliper::ORoiCalliper(ImageShow* owner) : ORoiShortLine(TypeId, owner) {}

const char* ORoiCalliper::GetDisplayName() const
{
    return "Calliper";
}

ORoi* ORoiCalliper::Clone(ImageShow* owner) const
{
    return CloneInto(new ORoiCalliper(owner));
}

bool ORoiCalliper::IsMeasurement() const
{
    return true;
}

void ORoiCalliper::DrawShape(CDC* pDC, CViewPort& view)
{
    const POINT a = ToScreen(view, m_Points[0]);
    const POINT b = ToScreen(view, m_Points[1]);
    DrawLineInStyle(pDC, view, a, b);
    const double length = PointDistance(a, b);
    if (length == 0.0)
    {
        return;
    }
    // Across the line: its direction turned a quarter.
    const int dx = RoundHalfAway(-(double(b.y) - a.y) / length * EndBarHalf);
    const int dy = RoundHalfAway((double(b.x) - a.x) / length * EndBarHalf);
    for (const POINT& end : {a, b})
    {
        DrawStyledLine(pDC, view, {end.x - dx, end.y - dy}, {end.x + dx, end.y + dy});
    }
}

const char* ORoiCalliper::GetUnit() const
{
    return m_bMillimetres ? "mm" : "pixel";
}

void ORoiCalliper::Recalc()
{
    ORoiShortLine::Recalc();
    const SpacingXY spacing = GetImageSpacing(m_pOwner);
    m_bMillimetres = spacing.IsKnown();
    const double dx = double(m_Points[1].x - m_Points[0].x) * (m_bMillimetres ? spacing.x : 1.0);
    const double dy = double(m_Points[1].y - m_Points[0].y) * (m_bMillimetres ? spacing.y : 1.0);
    m_dLength = std::sqrt(dx * dx + dy * dy);
}

void ORoiCalliper::UpdateLabel()
{
    WriteLabel(FormatMeasure(m_dLength), GetUnit());
}

Lettra ORoiCalliper::GetMeasureText() const
{
    return m_pOwner != nullptr ? MeasureText(m_dLength) : Lettra();
}

TextLabelHolder* ORoiCalliper::GetLabelHolder() const
{
    return &m_Label;
}

POINT ORoiCalliper::GetLabelAnchor() const
{
    return m_Points[1];
}
