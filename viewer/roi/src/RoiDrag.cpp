#include "RoiDrag.h"

#include "CViewPort.h"
#include "ORoi.h"
#include "ORoiTextLabel.h"
#include "RoiGeometry.h"

#include <limits>

namespace
{

constexpr int MaxHandles = 16;

} // namespace

RoiDrag::RoiDrag(ORoi* roi, int code, int x, int y) : m_pRoi(roi), m_nCode(code)
{
    CViewPort* view = roi != nullptr ? roi->GetViewPort() : nullptr;
    if (view == nullptr || roi->IsLocked())
    {
        return;
    }
    m_Start = view->ScreenToImage(x, y);
    switch (code)
    {
    case enHitBody:
        m_bActive = true;
        break;
    case enHitLabel:
        m_bActive = roi->GetLinkedLabel() != nullptr;
        break;
    case enHitHandle:
    {
        POINT handles[MaxHandles];
        const int count = roi->GetHandlePoints(handles, MaxHandles);
        double nearest = std::numeric_limits<double>::max();
        for (int i = 0; i < count; ++i)
        {
            const double distance =
                PointDistance({x, y}, view->ImageToScreen(handles[i].x, handles[i].y));
            if (distance < nearest)
            {
                nearest = distance;
                m_nHandle = i;
            }
        }
        m_bActive = m_nHandle >= 0;
        if (m_bActive)
        {
            m_HandleStart = handles[m_nHandle];
        }
        break;
    }
    default:
        break;
    }
}

SIZE RoiDrag::GetShift(int x, int y) const
{
    const POINT point = m_pRoi->GetViewPort()->ScreenToImage(x, y);
    return {point.x - m_Start.x, point.y - m_Start.y};
}

void RoiDrag::OnMove(int x, int y)
{
    if (!m_bActive || m_pRoi->GetViewPort() == nullptr)
    {
        return;
    }
    const SIZE shift = GetShift(x, y);
    if (m_nCode == enHitHandle)
    {
        m_pRoi->SetHandlePoint(m_nHandle, {m_HandleStart.x + shift.cx, m_HandleStart.y + shift.cy});
    }
    else
    {
        const int dx = shift.cx - m_Moved.cx;
        const int dy = shift.cy - m_Moved.cy;
        if (m_nCode == enHitLabel)
        {
            m_pRoi->GetLinkedLabel()->Offset(dx, dy);
        }
        else
        {
            m_pRoi->Offset(dx, dy);
            m_pRoi->Update();
        }
        m_Moved = shift;
    }
    m_pRoi->Redraw();
}

void RoiDrag::OnEnd(int x, int y)
{
    OnMove(x, y);
    m_bActive = false;
}

void RoiDrag::OnCancel()
{
    if (!m_bActive)
    {
        return;
    }
    if (m_nCode == enHitHandle)
    {
        m_pRoi->SetHandlePoint(m_nHandle, m_HandleStart);
    }
    else if (m_nCode == enHitLabel)
    {
        m_pRoi->GetLinkedLabel()->Offset(-m_Moved.cx, -m_Moved.cy);
    }
    else
    {
        m_pRoi->Offset(-m_Moved.cx, -m_Moved.cy);
        m_pRoi->Update();
    }
    m_Moved = {0, 0};
    m_pRoi->Redraw();
    m_bActive = false;
}
