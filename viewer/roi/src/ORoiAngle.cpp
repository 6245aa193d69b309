#include "ORoiAngle.h"

#include "CViewPort.h"

#include "RoiDocument.h"
#include "RoiGeometry.h"
#include "RoiMeasure.h"

#include <algorithm>
#include <cmath>
#include <numbers>

IMPLEMENT_DYNAMIC(ThreePointLabelBase, ORoi)
IMPLEMENT_DYNAMIC(ThreePointRoiBase, ThreePointLabelBase)
IMPLEMENT_DYNAMIC(ORoiAngle, ThreePointRoiBase)

TextLabelHolder* ThreePointLabelBase::GetLabelHolder() const
{
    return &m_Label;
}

ORoiAngle::ORoiAngle(ImageShow* owner) : ThreePointRoiBase(TypeId, owner)
{
    SetPoints(0, 0, 0, 0, 0, 0);
}

const char* ORoiAngle::GetDisplayName() const
{
    return "Angle";
}

ORoi* ORoiAngle::Clone(ImageShow* owner) const
{
    auto* angle = new ORoiAngle(owner);
    angle->CopyGeometry(*this);
    CopyAttributes(*angle);
    angle->m_nArcRadius = m_nArcRadius;
    angle->Update();
    return angle;
}

void ORoiAngle::SetPoints(int x1, int y1, int x2, int y2, int x3, int y3)
{
    m_Points[0] = {x1, y1};
    m_Points[1] = {x2, y2};
    m_Points[2] = {x3, y3};
    PointsChanged();
}

POINT* ORoiAngle::GetPoints(int& count)
{
    count = 3;
    return m_Points;
}

void ORoiAngle::Recalc()
{
    ThreePointRoiBase::Recalc();
    m_fAngle = VertexAngle(m_Points[0].x, m_Points[0].y, m_Points[1].x, m_Points[1].y,
                           m_Points[2].x, m_Points[2].y);
}

void ORoiAngle::UpdateLabel()
{
    WriteLabel(FormatMeasure(m_fAngle), "degree");
}

Lettra ORoiAngle::GetMeasureText() const
{
    return m_pOwner != nullptr ? MeasureText(m_fAngle) : Lettra();
}

POINT ORoiAngle::GetLabelAnchor() const
{
    return m_Points[0];
}

const char* ORoiAngle::GetMeasurementName() const
{
    return GetClassTag();
}

Lettra ORoiAngle::XmlSerializePrivate() const
{
    Lettra text("<Private>\r\n");
    for (int i = 0; i < 3; ++i)
    {
        text.AppendFormat("<P%d X=\"%d\" Y=\"%d\" />\r\n", i + 1, int(m_Points[i].x),
                          int(m_Points[i].y));
    }
    return text + "</Private>\r\n";
}

Lettra ORoiAngle::XmlSerializePrimitives() const
{
    return RoiDocument::Line(m_Points[0], m_Points[1]) +
           RoiDocument::Line(m_Points[0], m_Points[2]);
}

ORoiAngle::Arc ORoiAngle::GetArc() const
{
    Arc arc;
    CViewPort* view = GetViewPort();
    if (m_nArcRadius == 0 || view == nullptr)
    {
        return arc;
    }
    const POINT vertex = ToScreen(*view, m_Points[0]);
    const POINT first = ToScreen(*view, m_Points[1]);
    const POINT second = ToScreen(*view, m_Points[2]);
    double radius = 0.0;
    if (m_nArcRadius > 0)
    {
        radius = view->ImageToScreenLength(m_nArcRadius);
    }
    else
    {
        // In double, and bounded before it becomes an integer: a flat angle
        // divides by zero.
        radius = MinArcRadius / (2.0 * std::sin(m_fAngle * std::numbers::pi / 180.0 * 0.5));
        radius = std::isfinite(radius) ? std::clamp(std::trunc(radius), MinArcRadius, 1.0e6)
                                       : MinArcRadius;
        const double firstArm = PointDistance(vertex, first);
        const double secondArm = PointDistance(vertex, second);
        if (PointDistance(vertex, PointOnRay(vertex, first, radius)) > firstArm + 5 ||
            PointDistance(vertex, PointOnRay(vertex, second, radius)) > secondArm + 5)
        {
            radius = std::trunc(0.75 * std::min(firstArm, secondArm));
        }
    }
    arc.bShown = true;
    arc.centre = vertex;
    arc.nRadius = static_cast<int>(radius);
    arc.start = PointOnRay(vertex, first, arc.nRadius);
    arc.end = PointOnRay(vertex, second, arc.nRadius);
    arc.bChord = m_fAngle < MinArcAngle;
    arc.fSweep = static_cast<float>(-GetSweep(vertex, first, second));
    return arc;
}

// The arc's sweep in degrees, turned clockwise when the second arm lies
// clockwise of the first on the screen.
int ORoiAngle::GetSweep(POINT vertex, POINT first, POINT second) const
{
    int sweep = static_cast<int>(m_fAngle + 0.5f);
    if (first.x != vertex.x)
    {
        const double side = double(second.x - vertex.x) *
                                (double(first.y - vertex.y) / double(first.x - vertex.x)) -
                            double(second.y - vertex.y);
        if (side < 0)
        {
            sweep = -sweep;
        }
        if (first.x > vertex.x)
        {
            sweep = -sweep;
        }
    }
    else if ((first.y >= vertex.y && second.x > vertex.x) ||
             (first.y < vertex.y && second.x < vertex.x))
    {
        sweep = -sweep;
    }
    return sweep;
}

void ORoiAngle::DrawShape(CDC* pDC, CViewPort& view)
{
    const POINT vertex = ToScreen(view, m_Points[0]);
    DrawStyledLine(pDC, view, vertex, ToScreen(view, m_Points[1]));
    DrawStyledLine(pDC, view, vertex, ToScreen(view, m_Points[2]));
    const Arc arc = GetArc();
    if (!arc.bShown)
    {
        return;
    }
    if (arc.bChord)
    {
        view.DrawLine(pDC, arc.start.x, arc.start.y, arc.end.x, arc.end.y, GetDrawColor());
    }
    else
    {
        view.DrawArc(pDC, arc.centre.x, arc.centre.y, arc.start.x, arc.start.y, arc.fSweep,
                     GetDrawColor());
    }
}

int ORoiAngle::GetHitSegments(POINT* ends, int capacity) const
{
    if (capacity < 4)
    {
        return 0;
    }
    ends[0] = m_Points[0];
    ends[1] = m_Points[1];
    ends[2] = m_Points[0];
    ends[3] = m_Points[2];
    return 4;
}

bool ORoiAngle::XmlDeserialize(const Lettra& xml)
{
    return ReadPrivatePoints(xml);
}
