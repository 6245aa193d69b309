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

int LineBase::GetHitSegments(POINT* ends, int capacity) const
{
    if (capacity < 2)
    {
        return 0;
    }
    ends[0] = m_Points[0];
    ends[1] = m_Points[1];
    return 2;
}

bool LineBase::XmlDeserialize(const Lettra& xml)
{
    return ReadPrivatePoints(xml);
}
