#include "ViewTasks.h"

#include "ImageViewArgs.h"
#include "QuillonLog.h"
#include "WinBeep.h"
#include "WinGlobalMemory.h"

#include <cstdlib>
#include <cstring>

PageScrollTask::PageScrollTask(int modifiers, CWnd* view, Delegate& scrolling, Delegate& scrolled,
                               bool interactive)
    : MouseTask(modifiers, nullptr), m_pWnd(view), m_Scrolling(scrolling), m_Scrolled(scrolled),
      m_bInteractive(interactive)
{
}

PageScrollTask::~PageScrollTask()
{
    StopCine();
}

void PageScrollTask::OnBegin(int x, int y)
{
    m_nSteps = 0;
    m_nStepCount = 0;
    m_ptStart = m_ptLast = m_ptStepFrom = {x, y};
    OnSetCursor();
    if (m_bInteractive)
    {
        StartCine();
    }
}

void PageScrollTask::Step(int step, bool wrap)
{
    m_nSteps += step;
    ++m_nStepCount;
    ValueArgs args(step, wrap ? 1 : 0);
    m_Scrolling.Invoke(m_pWnd, &args);
}

void PageScrollTask::OnMove(int x, int y, int, int, int, int)
{
    m_ptLast = {x, y};
    if (m_bInteractive)
    {
        return;
    }
    const int dx = x - m_ptStepFrom.x;
    const int dy = y - m_ptStepFrom.y;
    const bool across = std::abs(dx) >= std::abs(dy);
    const int travel = across ? dx : dy;
    const int steps = travel / StepPixels;
    if (steps == 0)
    {
        return;
    }
    const bool wrap = (m_nModifiers & ControlBit) != 0;
    for (int done = 0; done < std::abs(steps); ++done)
    {
        Step(steps > 0 ? 1 : -1, wrap);
    }
    // The rest of the travel counts toward the next step; the other axis
    // starts again.
    m_ptStepFrom = across ? POINT{m_ptStepFrom.x + steps * StepPixels, y}
                          : POINT{x, m_ptStepFrom.y + steps * StepPixels};
}

void PageScrollTask::OnTimer(UINT_PTR id)
{
    if (id != CineTimer || !m_bInteractive)
    {
        return;
    }
    const int dx = m_ptLast.x - m_ptStart.x;
    const int dy = m_ptLast.y - m_ptStart.y;
    const int offset = std::abs(dx) >= std::abs(dy) ? dx : dy;
    if (std::abs(offset) > DeadZone)
    {
        Step(offset > 0 ? 1 : -1, true);
    }
}

void PageScrollTask::OnKeyDown(UINT key, UINT, UINT)
{
    if (key != VK_TAB)
    {
        return;
    }
    m_bInteractive = !m_bInteractive;
    m_ptStepFrom = m_ptLast;
    if (m_bInteractive)
    {
        StartCine();
    }
    else
    {
        StopCine();
    }
    quillon::_debug("PageScrollTask::OnKeyDown, %s", GetModeText());
}

void PageScrollTask::OnEnd(int, int, int, int, int, int)
{
    StopCine();
    if (m_nStepCount > 0)
    {
        ValueArgs args(1, 1);
        m_Scrolled.Invoke(m_pWnd, &args);
    }
}

void PageScrollTask::StartCine()
{
    if (!m_bCineRunning && m_pWnd != nullptr && m_pWnd->m_hWnd != nullptr)
    {
        m_bCineRunning = m_pWnd->SetTimer(CineTimer, CinePeriod, nullptr) != 0;
    }
}

void PageScrollTask::StopCine()
{
    if (m_bCineRunning && m_pWnd != nullptr && m_pWnd->m_hWnd != nullptr)
    {
        m_pWnd->KillTimer(CineTimer);
    }
    m_bCineRunning = false;
}

DragDropTask::DragDropTask(int modifiers, CWnd* view, UINT format, const char* text,
                           std::function<void()> notice)
    : MouseTask(modifiers, nullptr), m_pWnd(view), m_nFormat(format),
      m_strText(text != nullptr ? text : ""), m_Notice(std::move(notice))
{
}

void DragDropTask::OnBegin(int, int)
{
    m_bStarted = false;
    m_dwEffect = DROPEFFECT_NONE;
    if (m_nFormat == 0)
    {
        MessageBeep(0xFFFFFFFF);
        Stop();
    }
}

void DragDropTask::OnMove(int x, int y, int, int, int startX, int startY)
{
    if (m_bStarted || m_nFormat == 0)
    {
        return;
    }
    const int dx = x - startX;
    const int dy = y - startY;
    if (dx * dx + dy * dy < StartDistance * StartDistance)
    {
        return;
    }
    m_bStarted = true;
    OnSetCursor();
    // The OLE drag runs its own loop until the button goes up or Esc
    // gives it up; this loop has nothing left to track then.
    m_dwEffect = RunDrag();
    Finish();
    Stop();
}

// A started drag has ended inside its own loop by now.
void DragDropTask::OnEnd(int, int, int, int, int, int) {}

DROPEFFECT DragDropTask::RunDrag()
{
    const SIZE_T size = SIZE_T(m_strText.GetLength()) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr)
    {
        return DROPEFFECT_NONE;
    }
    std::memcpy(GlobalLock(block), m_strText.constBuffer(), size);
    GlobalUnlock(block);
    COleDataSource source;
    source.CacheGlobalData(static_cast<CLIPFORMAT>(m_nFormat), block);
    return source.DoDragDrop(DROPEFFECT_COPY);
}

void DragDropTask::Finish()
{
    quillon::_debug("DragDropTask::Finish, drop effect %u", unsigned(m_dwEffect));
    if (m_Notice)
    {
        m_Notice();
    }
}
