#include "RoiCreation.h"

#include "ImageShow.h"
#include "LineBase.h"
#include "MetaView.h"
#include "ORoiAngle.h"
#include "ORoiArrow.h"
#include "ORoiCOBBAngle.h"
#include "ORoiCalliper.h"

#include <algorithm>

namespace
{

ORoi* MakeRoi(ImageShow* show, RoiCreation::enKind kind)
{
    switch (kind)
    {
    case RoiCreation::enCalliper:
        return new ORoiCalliper(show);
    case RoiCreation::enArrow:
        return new ORoiArrow(show);
    case RoiCreation::enAngle:
        return new ORoiAngle(show);
    default:
        return new ORoiCOBBAngle(show);
    }
}

} // namespace

RoiCreation::RoiCreation(ImageShow* show, enKind kind) : m_pShow(show), m_enKind(kind) {}

RoiCreation::~RoiCreation()
{
    if (!m_bComplete)
    {
        Discard();
    }
}

int RoiCreation::GetPointCount() const
{
    return IsDrag() ? 2 : (m_enKind == enAngle ? 3 : 4);
}

// Held inside the image: a point in the pane's margin measures nothing.
POINT RoiCreation::ToImage(int x, int y) const
{
    const MetaView* view = m_pShow->GetView();
    POINT point = view->ScreenToImage(x, y);
    SIZE size = {0, 0};
    view->GetImageSize(&size);
    if (size.cx > 0 && size.cy > 0)
    {
        point.x = std::clamp<LONG>(point.x, 0, size.cx - 1);
        point.y = std::clamp<LONG>(point.y, 0, size.cy - 1);
    }
    return point;
}

bool RoiCreation::OnBegin(int x, int y)
{
    if (m_pRoi != nullptr || m_pShow == nullptr || m_pShow->GetView() == nullptr)
    {
        return false;
    }
    m_pRoi = MakeRoi(m_pShow, m_enKind);
    m_nSet = 1;
    m_Points[0] = ToImage(x, y);
    Follow(m_Points[0]);
    m_pShow->AddAnnotation(m_pRoi);
    m_pRoi->PlaceLabel();
    m_pRoi->Update();
    return true;
}

void RoiCreation::Follow(POINT image)
{
    for (int i = m_nSet; i < GetPointCount(); ++i)
    {
        m_Points[i] = image;
    }
    if (m_pRoi == nullptr)
    {
        return;
    }
    // An angle is drawn arm, vertex, arm; it keeps its vertex first.
    if (m_enKind == enAngle)
    {
        static_cast<ORoiAngle*>(m_pRoi)->SetPoints(m_Points[1].x, m_Points[1].y, m_Points[0].x,
                                                   m_Points[0].y, m_Points[2].x, m_Points[2].y);
    }
    else if (m_enKind == enCobbAngle)
    {
        static_cast<ORoiCOBBAngle*>(m_pRoi)->SetPoints(m_Points[0], m_Points[1], m_Points[2],
                                                       m_Points[3]);
    }
    else
    {
        static_cast<LineBase*>(m_pRoi)->SetLine(m_Points[0], m_Points[1]);
    }
    m_pRoi->Update();
    m_pRoi->Redraw();
}

void RoiCreation::OnMove(int x, int y)
{
    if (m_pRoi != nullptr && !m_bComplete)
    {
        Follow(ToImage(x, y));
    }
}

bool RoiCreation::OnClick(int x, int y)
{
    if (m_pRoi == nullptr || m_bComplete || IsDrag())
    {
        return m_bComplete;
    }
    const POINT point = ToImage(x, y);
    m_Points[m_nSet++] = point;
    Follow(point);
    if (m_nSet == GetPointCount())
    {
        Complete();
    }
    return m_bComplete;
}

void RoiCreation::OnEnd(int x, int y)
{
    if (m_pRoi == nullptr || m_bComplete)
    {
        return;
    }
    if (!IsDrag())
    {
        Discard();
        return;
    }
    const POINT point = ToImage(x, y);
    Follow(point);
    m_nSet = 2;
    // A click without a drag measures nothing.
    if (point.x == m_Points[0].x && point.y == m_Points[0].y)
    {
        Discard();
        return;
    }
    Complete();
}

void RoiCreation::OnCancel()
{
    if (!m_bComplete)
    {
        Discard();
    }
}

void RoiCreation::Complete()
{
    m_bComplete = true;
    m_pRoi->PlaceLabel();
    m_pRoi->Update();
    m_pRoi->Redraw();
}

void RoiCreation::Discard()
{
    if (m_pRoi == nullptr)
    {
        return;
    }
    m_pRoi->Redraw();
    m_pShow->DeleteAnnotation(m_pRoi);
    m_pRoi = nullptr;
    m_nSet = 0;
}
