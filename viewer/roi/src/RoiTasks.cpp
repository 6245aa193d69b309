#include "RoiTasks.h"

#include "MetaView.h"
#include "MouseTracker.h"

RoiCreateTask::RoiCreateTask(int modifiers, MetaView* view, RoiCreation::enKind kind)
    : MouseTask(modifiers, view), m_enKind(kind)
{
}

bool RoiCreateTask::IsPriority() const
{
    return true;
}

void RoiCreateTask::Track(POINT start)
{
    if (GetView() == nullptr)
    {
        return;
    }
    if (m_enKind == RoiCreation::enCalliper || m_enKind == RoiCreation::enArrow)
    {
        DragTracker(GetView()).Track(this, start, enLeftButton);
    }
    else
    {
        SetButton(enLeftButton);
        ClickSequenceTracker(GetView()).Track(this, start);
    }
}

void RoiCreateTask::OnBegin(int x, int y)
{
    m_pResult = nullptr;
    m_pCreation = std::make_unique<RoiCreation>(GetView()->GetShow(), m_enKind);
    if (!m_pCreation->OnBegin(x, y))
    {
        m_pCreation.reset();
    }
}

void RoiCreateTask::OnMove(int x, int y, int, int, int, int)
{
    if (m_pCreation != nullptr)
    {
        m_pCreation->OnMove(x, y);
    }
}

void RoiCreateTask::OnClick(int, int x, int y, int, int, int, int)
{
    if (m_pCreation != nullptr && m_pCreation->OnClick(x, y))
    {
        m_pResult = m_pCreation->GetResult();
        m_pCreation.reset();
        Stop();
    }
}

void RoiCreateTask::OnEnd(int x, int y, int, int, int, int)
{
    if (m_pCreation != nullptr)
    {
        m_pCreation->OnEnd(x, y);
        m_pResult = m_pCreation->GetResult();
        m_pCreation.reset();
    }
}

void RoiCreateTask::OnCancel(int, int, int, int, int, int)
{
    if (m_pCreation != nullptr)
    {
        m_pCreation->OnCancel();
        m_pCreation.reset();
    }
}

RoiEditTask::RoiEditTask(int modifiers, MetaView* view, ORoi* roi, int code)
    : MouseTask(modifiers, view), m_pRoi(roi), m_nCode(code)
{
}

void RoiEditTask::OnBegin(int x, int y)
{
    m_pDrag = std::make_unique<RoiDrag>(m_pRoi, m_nCode, x, y);
}

void RoiEditTask::OnMove(int x, int y, int, int, int, int)
{
    if (m_pDrag != nullptr)
    {
        m_pDrag->OnMove(x, y);
    }
}

void RoiEditTask::OnEnd(int x, int y, int, int, int, int)
{
    if (m_pDrag != nullptr)
    {
        m_pDrag->OnEnd(x, y);
        m_pDrag.reset();
    }
}

void RoiEditTask::OnCancel(int, int, int, int, int, int)
{
    if (m_pDrag != nullptr)
    {
        m_pDrag->OnCancel();
        m_pDrag.reset();
    }
}
