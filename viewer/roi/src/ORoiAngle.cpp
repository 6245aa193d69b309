#include "ORoiAngle.h"

#include "RoiDocument.h"
#include "RoiGeometry.h"
#include "RoiMeasure.h"

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

bool ORoiAngle::XmlDeserialize(const Lettra& xml)
{
    return ReadPrivatePoints(xml);
}
