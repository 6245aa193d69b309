#include "ORoiArrow.h"

#include "CViewPort.h"

#include "RoiDocument.h"
#include "RoiGeometry.h"

#include <cmath>

IMPLEMENT_DYNAMIC(ORoiArrow, ORoiShortLine)

ORoiArrow::ORoiArrow(ImageShow* owner) : ORoiShortLine(TypeId, owner) {}

const char* ORoiArrow::GetDisplayName() const
{
    return "Arrow";
}

ORoi* ORoiArrow::Clone(ImageShow* owner) const
{
    return CloneInto(new ORoiArrow(owner));
}

void ORoiArrow::DrawShape(CDC* pDC, CViewPort& view)
{
    const POINT tip = ToScreen(view, m_Points[0]);
    const POINT tail = ToScreen(view, m_Points[1]);
    if (GetStyle().IsShadow())
    {
        view.DrawArrow(pDC, tip.x + 1, tip.y + 1, tail.x + 1, tail.y + 1,
                       GetStyle().GetShadowColor(), ScreenHeadHalfWidth, ScreenHeadLength,
                       CViewPort::enSolid);
    }
    const int style = m_enLineStyle == enDot     ? CViewPort::enDot
                      : m_enLineStyle == enSolid ? CViewPort::enSolid
                                                 : CViewPort::enDash;
    view.DrawArrow(pDC, tip.x, tip.y, tail.x, tail.y, GetDrawColor(), ScreenHeadHalfWidth,
                   ScreenHeadLength, style);
}

bool ORoiArrow::GetHead(POINT& left, POINT& right) const
{
    const double length = PointDistance(m_Points[0], m_Points[1]);
    if (length <= HeadLength)
    {
        return false;
    }
    const double ux = (double(m_Points[1].x) - m_Points[0].x) / length;
    const double uy = (double(m_Points[1].y) - m_Points[0].y) / length;
    const double baseX = m_Points[0].x + ux * HeadLength;
    const double baseY = m_Points[0].y + uy * HeadLength;
    left = {RoundHalfAway(baseX - uy * HeadHalfWidth), RoundHalfAway(baseY + ux * HeadHalfWidth)};
    right = {RoundHalfAway(baseX + uy * HeadHalfWidth), RoundHalfAway(baseY - ux * HeadHalfWidth)};
    return true;
}

Lettra ORoiArrow::XmlSerializePrimitives() const
{
    Lettra primitives = RoiDocument::Line(m_Points[0], m_Points[1]);
    POINT left;
    POINT right;
    if (GetHead(left, right))
    {
        primitives += RoiDocument::Line(m_Points[0], left);
        primitives += RoiDocument::Line(m_Points[0], right);
    }
    return primitives;
}
