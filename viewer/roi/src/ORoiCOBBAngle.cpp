#include "ORoiCOBBAngle.h"

#include "CViewPort.h"

#include "RoiDocument.h"
#include "RoiGeometry.h"
#include "RoiMeasure.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(ORoiCOBBAngle, ORoi)

ORoiCOBBAngle::ORoiCOBBAngle(ImageShow* owner) : ORoi(TypeId, owner) {}

const char* ORoiCOBBAngle::GetDisplayName() const
{
    return "COBB Angle";
}

ORoi* ORoiCOBBAngle::Clone(ImageShow* owner) const
{
    auto* angle = new ORoiCOBBAngle(owner);
    angle->CopyGeometry(*this);
    CopyAttributes(*angle);
    angle->Update();
    return angle;
}

void ORoiCOBBAngle::SetPoints(POINT p1, POINT p2, POINT p3, POINT p4)
{
    m_Points[0] = p1;
    m_Points[1] = p2;
    m_Points[2] = p3;
    m_Points[3] = p4;
    PointsChanged();
}

POINT* ORoiCOBBAngle::GetPoints(int& count)
{
    count = 4;
    return m_Points;
}

POINT ORoiCOBBAngle::GetMiddle(int line) const
{
    const POINT& a = m_Points[2 * line];
    const POINT& b = m_Points[2 * line + 1];
    return {RoundHalfAway((double(a.x) + b.x) / 2), RoundHalfAway((double(a.y) + b.y) / 2)};
}

void ORoiCOBBAngle::Recalc()
{
    ORoi::Recalc();
    // Both directions moved to a common vertex.
    const float angle =
        VertexAngle(0, 0, m_Points[1].x - m_Points[0].x, m_Points[1].y - m_Points[0].y,
                    m_Points[3].x - m_Points[2].x, m_Points[3].y - m_Points[2].y);
    m_fAngle = angle > 90.0f ? 180.0f - angle : angle;
}

void ORoiCOBBAngle::UpdateLabel()
{
    WriteLabel(FormatMeasure(m_fAngle), "degree");
}

Lettra ORoiCOBBAngle::GetMeasureText() const
{
    return m_pOwner != nullptr ? MeasureText(m_fAngle) : Lettra();
}

TextLabelHolder* ORoiCOBBAngle::GetLabelHolder() const
{
    return &m_Label;
}

POINT ORoiCOBBAngle::GetLabelAnchor() const
{
    const POINT first = GetMiddle(0);
    const POINT second = GetMiddle(1);
    return {RoundHalfAway((double(first.x) + second.x) / 2),
            RoundHalfAway((double(first.y) + second.y) / 2)};
}

Lettra ORoiCOBBAngle::XmlSerializePrivate() const
{
    Lettra text("<Private>\r\n");
    for (int i = 0; i < 4; ++i)
    {
        Lettra name;
        name.Format("P%d", i + 1);
        text += RoiDocument::Point(name, m_Points[i]);
    }
    return text + "</Private>\r\n";
}

Lettra ORoiCOBBAngle::XmlSerializePrimitives() const
{
    return RoiDocument::Line(m_Points[0], m_Points[1]) +
           RoiDocument::Line(m_Points[2], m_Points[3]) +
           RoiDocument::Line(GetMiddle(0), GetMiddle(1));
}

void ORoiCOBBAngle::DrawShape(CDC* pDC, CViewPort& view)
{
    DrawStyledLine(pDC, view, ToScreen(view, m_Points[0]), ToScreen(view, m_Points[1]));
    DrawStyledLine(pDC, view, ToScreen(view, m_Points[2]), ToScreen(view, m_Points[3]));
    const POINT first = ToScreen(view, GetMiddle(0));
    const POINT second = ToScreen(view, GetMiddle(1));
    view.DrawDotLine(pDC, first.x, first.y, second.x, second.y, GetDrawColor());
}

int ORoiCOBBAngle::GetHitSegments(POINT* ends, int capacity) const
{
    if (capacity < 4)
    {
        return 0;
    }
    std::copy(m_Points, m_Points + 4, ends);
    return 4;
}

bool ORoiCOBBAngle::XmlDeserialize(const Lettra& xml)
{
    return ReadPrivatePoints(xml);
}
