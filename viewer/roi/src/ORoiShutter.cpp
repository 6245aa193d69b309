#include "ORoiShutter.h"

#include "AfxGdi.h"
#include "CViewPort.h"
#include "RoiGeometry.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(ORoiShutter, ORoi)

ORoiShutter::ORoiShutter(ImageShow* owner, enShape shape, const POINT* points, int count)
    : ORoi(TypeId, owner), m_enShape(shape)
{
    if (points != nullptr && count > 0)
    {
        m_Points.assign(points, points + count);
    }
    if (IsBox())
    {
        m_Points.resize(2);
        NormalizeBox();
    }
    PointsChanged();
}

void ORoiShutter::NormalizeBox()
{
    const RECT box = BoundingRect(m_Points.data(), 2);
    m_Points = {{box.left, box.top}, {box.right, box.bottom}};
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
    if (!IsBox())
    {
        return m_Points.size() >= 3;
    }
    return m_Rect.right > m_Rect.left && m_Rect.bottom > m_Rect.top;
}

POINT* ORoiShutter::GetPoints(int& count)
{
    count = static_cast<int>(m_Points.size());
    return m_Points.data();
}

int ORoiShutter::GetHandlePoints(POINT* points, int capacity) const
{
    if (!IsBox())
    {
        return ORoi::GetHandlePoints(points, capacity);
    }
    const RECT& box = m_Rect;
    const POINT handles[enBoxHandleCount] = {{box.left, box.top},
                                             {box.right, box.top},
                                             {box.right, box.bottom},
                                             {box.left, box.bottom},
                                             {box.left, (box.top + box.bottom) / 2},
                                             {(box.left + box.right) / 2, box.top},
                                             {box.right, (box.top + box.bottom) / 2},
                                             {(box.left + box.right) / 2, box.bottom}};
    const int count = points != nullptr ? std::min<int>(enBoxHandleCount, capacity) : 0;
    std::copy(handles, handles + count, points);
    return count;
}

bool ORoiShutter::SetHandlePoint(int index, POINT point)
{
    if (!IsBox())
    {
        return ORoi::SetHandlePoint(index, point);
    }
    if (index < 0 || index >= enBoxHandleCount)
    {
        return false;
    }
    RECT box = m_Rect;
    const bool left = index == enTopLeft || index == enBottomLeft || index == enLeftEdge;
    const bool right = index == enTopRight || index == enBottomRight || index == enRightEdge;
    const bool top = index == enTopLeft || index == enTopRight || index == enTopEdge;
    const bool bottom = index == enBottomLeft || index == enBottomRight || index == enBottomEdge;
    box.left = left ? point.x : box.left;
    box.right = right ? point.x : box.right;
    box.top = top ? point.y : box.top;
    box.bottom = bottom ? point.y : box.bottom;
    m_Points = {{box.left, box.top}, {box.right, box.bottom}};
    NormalizeBox();
    PointsChanged();
    Update();
    return true;
}

std::vector<POINT> ORoiShutter::GetScreenVertices(CViewPort& view) const
{
    std::vector<POINT> vertices;
    for (const POINT& point : m_Points)
    {
        vertices.push_back(ToScreen(view, point));
    }
    return vertices;
}

bool ORoiShutter::GetScreenRegion(CRgn* region) const
{
    CViewPort* view = GetViewPort();
    if (region == nullptr || view == nullptr || !IsValid())
    {
        return false;
    }
    RECT box;
    view->ImageToScreenRect(&box, &m_Rect);
    switch (m_enShape)
    {
    case enRectangle:
        return region->CreateRectRgnIndirect(&box) != 0;
    case enEllipse:
        return region->CreateEllipticRgnIndirect(&box) != 0;
    default:
    {
        const std::vector<POINT> vertices = GetScreenVertices(*view);
        return region->CreatePolygonRgn(vertices.data(), static_cast<int>(vertices.size()),
                                        ALTERNATE) != 0;
    }
    }
}

void ORoiShutter::DrawShape(CDC* pDC, CViewPort& view)
{
    if (!IsValid())
    {
        return;
    }
    RECT box;
    view.ImageToScreenRect(&box, &m_Rect);
    switch (m_enShape)
    {
    case enRectangle:
        view.DrawFrame(pDC, &box, GetDrawColor());
        break;
    case enEllipse:
        view.DrawEllipse(pDC, &box, GetDrawColor());
        break;
    default:
    {
        const std::vector<POINT> vertices = GetScreenVertices(view);
        for (std::size_t i = 0; i < vertices.size(); ++i)
        {
            const POINT& next = vertices[(i + 1) % vertices.size()];
            DrawStyledLine(pDC, view, vertices[i], next);
        }
        break;
    }
    }
}

int ORoiShutter::GetHitSegments(POINT* ends, int capacity) const
{
    if (IsBox())
    {
        return 0;
    }
    const int count = static_cast<int>(m_Points.size());
    int written = 0;
    for (int i = 0; i < count && written + 2 <= capacity; ++i)
    {
        ends[written++] = m_Points[static_cast<std::size_t>(i)];
        ends[written++] = m_Points[static_cast<std::size_t>((i + 1) % count)];
    }
    return written;
}

int ORoiShutter::HitTest(int x, int y, int tolerance, int flags)
{
    CViewPort* view = GetViewPort();
    if (!IsHitEnabled() || !IsShown() || view == nullptr)
    {
        return enHitNone;
    }
    if (!IsBox())
    {
        const int code = ORoi::HitTest(x, y, tolerance, flags);
        CRgn opening;
        return code != enHitNone || !GetScreenRegion(&opening) ? code
               : opening.PtInRegion(x, y) != 0                 ? enHitBody
                                                               : enHitNone;
    }
    const POINT point = {x, y};
    POINT handles[enBoxHandleCount];
    GetHandlePoints(handles, enBoxHandleCount);
    for (int i = enTopLeft; i <= enBottomLeft; ++i)
    {
        if (IsPointNear(point, ToScreen(*view, handles[i]), tolerance))
        {
            return enHitHandle;
        }
    }
    RECT box;
    view->ImageToScreenRect(&box, &m_Rect);
    const bool withinY = y >= box.top - tolerance && y <= box.bottom + tolerance;
    const bool withinX = x >= box.left - tolerance && x <= box.right + tolerance;
    if (withinY && (std::abs(x - box.left) <= tolerance || std::abs(x - box.right) <= tolerance))
    {
        return enHitEdgeX;
    }
    if (withinX && (std::abs(y - box.top) <= tolerance || std::abs(y - box.bottom) <= tolerance))
    {
        return enHitEdgeY;
    }
    CRgn opening;
    return GetScreenRegion(&opening) && opening.PtInRegion(x, y) != 0 ? enHitBody : enHitNone;
}
