#include "ORoiShutter.h"

IMPLEMENT_DYNAMIC(ORoiShutter, ORoi)

ORoiShutter::ORoiShutter(ImageShow* owner, enShape shape, const POINT* points, int count)
    : ORoi(TypeId, owner), m_enShape(shape)
{
    if (points != nullptr && count > 0)
    {
        m_Points.assign(points, points + count);
    }
    PointsChanged();
}

const char* ORoiShutter::GetDisplayName() const
{
    return "Shutter";
}

ORoi* ORoiShutter::Clone(ImageShow* owner) const
{
    auto* shutter =
        new ORoiShutter(owner, m_enShape, m_Points.data(), static_cast<int>(m_Points.size()));
    CopyAttributes(*shutter);
    return shutter;
}

bool ORoiShutter::IsMeasurement() const
{
    return false;
}

bool ORoiShutter::IsValid() const
{
    if (m_enShape == enPolygon)
    {
        return m_Points.size() >= 3;
    }
    return m_Points.size() == 2 && m_Rect.right > m_Rect.left && m_Rect.bottom > m_Rect.top;
}

POINT* ORoiShutter::GetPoints(int& count)
{
    count = static_cast<int>(m_Points.size());
    return m_Points.data();
}
