#include "LineBase.h"

#include "RoiDocument.h"

IMPLEMENT_DYNAMIC(LineBase, ORoi)

LineBase::LineBase(int typeId, ImageShow* owner) : ORoi(typeId, owner) {}

void LineBase::GetLine(POINT& p1, POINT& p2) const
{
    p1 = m_Points[0];
    p2 = m_Points[1];
}

void LineBase::SetLine(POINT p1, POINT p2)
{
    m_Points[0] = p1;
    m_Points[1] = p2;
    PointsChanged();
}

POINT* LineBase::GetPoints(int& count)
{
    count = 2;
    return m_Points;
}

Lettra LineBase::XmlSerializePrivate() const
{
    return Lettra("<Private>\r\n") + RoiDocument::Point("P1", m_Points[0]) +
           RoiDocument::Point("P2", m_Points[1]) + "</Private>\r\n";
}

Lettra LineBase::XmlSerializePrimitives() const
{
    return RoiDocument::Line(m_Points[0], m_Points[1]);
}

bool LineBase::XmlDeserialize(const Lettra& xml)
{
    return ReadPrivatePoints(xml);
}
