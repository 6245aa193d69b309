#include "MouseTracker.h"

#include "MouseTask.h"

namespace
{

struct ButtonMessages
{
    UINT down;
    UINT up;
};

constexpr ButtonMessages LeftMessages = {WM_LBUTTONDOWN, WM_LBUTTONUP};
constexpr ButtonMessages MiddleMessages = {WM_MBUTTONDOWN, WM_MBUTTONUP};
constexpr ButtonMessages RightMessages = {WM_RBUTTONDOWN, WM_RBUTTONUP};

ButtonMessages MessagesOf(int button)
{
    switch (button)
    {
    case MouseTask::enMiddleButton:
        return MiddleMessages;
    case MouseTask::enRightButton:
        return RightMessages;
    default:
        return LeftMessages;
    }
}

bool IsButtonDown(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_MBUTTONDOWN || message == WM_RBUTTONDOWN;
}

bool IsButtonUp(UINT message)
{
    return message == WM_LBUTTONUP || message == WM_MBUTTONUP || message == WM_RBUTTONUP;
}

// The button handlers of the task for a press or release of another button.
void PassButton(MouseTask* task, const MSG& msg, POINT point)
{
    const UINT flags = UINT(msg.wParam);
    switch (msg.message)
    {
    case WM_LBUTTONDOWN:
        task->OnLButtonDown(flags, point.x, point.y);
        break;
    case WM_LBUTTONUP:
        task->OnLButtonUp(flags, point.x, point.y);
        break;
    case WM_MBUTTONDOWN:
        task->OnMButtonDown(flags, point.x, point.y);
        break;
    case WM_MBUTTONUP:
        task->OnMButtonUp(flags, point.x, point.y);
        break;
    case WM_RBUTTONDOWN:
        task->OnRButtonDown(flags, point.x, point.y);
        break;
    case WM_RBUTTONUP:
        task->OnRButtonUp(flags, point.x, point.y);
        break;
    default:
        break;
    }
}

// Keys other than the modifiers go to the task while a loop runs.
bool PassKey(MouseTask* task, const MSG& msg)
{
    if (msg.message == WM_KEYDOWN)
        task->OnKeyDown(UINT(msg.wParam), LOWORD(msg.lParam), HIWORD(msg.lParam));
    else if (msg.message == WM_KEYUP)
        task->OnKeyUp(UINT(msg.wParam), LOWORD(msg.lParam), HIWORD(msg.lParam));
    else
        return false;
    return true;
}

// Wheel, command and timer messages; false for any other.
bool PassCommon(MouseTask* task, const MSG& msg)
{
    switch (msg.message)
    {
    case WM_MOUSEWHEEL:
        task->OnMouseWheel(LOWORD(msg.wParam), short(HIWORD(msg.wParam)), LOWORD(msg.lParam),
                           HIWORD(msg.lParam));
        return true;
    case WM_COMMAND:
        task->OnCommand(msg.wParam, msg.lParam);
        return true;
    case WM_TIMER:
        task->OnTimer(msg.wParam);
        return true;
    default:
        return false;
    }
}

bool IsEndingMessage(const MSG& msg)
{
    return (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_CANCELMODE ||
           msg.message == WM_CAPTURECHANGED;
}

} // namespace

MouseTracker::MouseTracker(CWnd* window) : m_pWnd(window) {}

MouseTracker::~MouseTracker() = default;

void MouseTracker::Stop()
{
    ReleaseCapture();
}

bool MouseTracker::Begin(MouseTask* task, POINT start, int button, bool setButton)
{
    if (m_pWnd == nullptr || m_pWnd->m_hWnd == nullptr || task == nullptr)
    {
        return false;
    }
    if (setButton)
    {
        task->SetButton(button);
    }
    task->SetTracker(this);
    task->SetActive(true);
    m_pWnd->SetCapture();
    m_ptStart = start;
    m_ptPrev = start;
    task->OnBegin(start.x, start.y);
    return true;
}

bool MouseTracker::Next(MouseTask* task)
{
    // A capture taken away while the task ran (another loop, a forwarded
    // press) ends the loop now instead of waiting for another message.
    if (::GetCapture() != m_pWnd->m_hWnd)
    {
        Cancel(task);
        return false;
    }
    if (!::GetMessage(&m_Msg, nullptr, 0, 0))
    {
        const int exitCode = int(m_Msg.wParam);
        Cancel(task);
        PostQuitMessage(exitCode);
        return false;
    }
    if (::GetCapture() != m_pWnd->m_hWnd)
    {
        task->Dispatch(m_Msg);
        Cancel(task);
        return false;
    }
    if (task->PreTranslate(m_Msg))
    {
        Cancel(task);
        return false;
    }
    return true;
}

void MouseTracker::End(MouseTask* task, POINT point)
{
    ReleaseCapture();
    task->OnEnd(point.x, point.y, m_ptPrev.x, m_ptPrev.y, m_ptStart.x, m_ptStart.y);
    task->SetActive(false);
    task->SetTracker(nullptr);
}

void MouseTracker::EndAtCursor(MouseTask* task)
{
    ReleaseCapture();
    POINT point;
    GetCursorPos(&point);
    m_pWnd->ScreenToClient(&point);
    task->OnEnd(point.x, point.y, m_ptPrev.x, m_ptPrev.y, m_ptStart.x, m_ptStart.y);
    task->SetActive(false);
    task->SetTracker(nullptr);
}

void MouseTracker::Cancel(MouseTask* task)
{
    if (::GetCapture() == m_pWnd->m_hWnd)
    {
        ReleaseCapture();
    }
    POINT point;
    GetCursorPos(&point);
    m_pWnd->ScreenToClient(&point);
    task->OnCancel(point.x, point.y, m_ptPrev.x, m_ptPrev.y, m_ptStart.x, m_ptStart.y);
    task->SetActive(false);
    task->SetTracker(nullptr);
}

bool MouseTracker::TrackModifier(MouseTask* task, const MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP)
    {
        return false;
    }
    int bit = 0;
    if (msg.wParam == VK_SHIFT)
    {
        bit = MouseTask::ShiftBit;
    }
    else if (msg.wParam == VK_CONTROL)
    {
        bit = MouseTask::ControlBit;
    }
    if (bit == 0)
    {
        return false;
    }
    const int modifiers = task->GetModifiers();
    task->SetModifiers(msg.message == WM_KEYDOWN ? modifiers | bit : modifiers & ~bit);
    return true;
}

POINT MouseTracker::PointOf(LPARAM lParam)
{
    return {short(LOWORD(lParam)), short(HIWORD(lParam))};
}

bool MouseTracker::IsMoveToNewPoint(POINT point) const
{
    return point.x != m_ptPrev.x || point.y != m_ptPrev.y;
}

void MouseTracker::Moved(MouseTask* task, POINT point)
{
    task->OnMove(point.x, point.y, m_ptPrev.x, m_ptPrev.y, m_ptStart.x, m_ptStart.y);
    m_ptPrev = point;
}

DragTracker::DragTracker(CWnd* window) : MouseTracker(window) {}

void DragTracker::Start(MouseTask* task, POINT start)
{
    if (GetKeyState(VK_LBUTTON) < 0)
    {
        TrackLeftButton(task, start);
    }
    else if (GetKeyState(VK_RBUTTON) < 0)
    {
        TrackRightButton(task, start);
    }
    else if (GetKeyState(VK_MBUTTON) < 0)
    {
        TrackMiddleButton(task, start);
    }
    else
    {
        TrackLeftButton(task, start);
    }
}

void DragTracker::TrackLeftButton(MouseTask* task, POINT start)
{
    Track(task, start, MouseTask::enLeftButton);
}

void DragTracker::TrackRightButton(MouseTask* task, POINT start)
{
    Track(task, start, MouseTask::enRightButton);
}

void DragTracker::TrackMiddleButton(MouseTask* task, POINT start)
{
    Track(task, start, MouseTask::enMiddleButton);
}

void DragTracker::Track(MouseTask* task, POINT start, int button)
{
    if (!Begin(task, start, button, true))
    {
        return;
    }
    const ButtonMessages own = MessagesOf(button);
    while (Next(task))
    {
        const MSG& msg = m_Msg;
        const POINT point = PointOf(msg.lParam);
        if (msg.message == WM_MOUSEMOVE)
        {
            if (IsMoveToNewPoint(point))
            {
                Moved(task, point);
            }
        }
        else if (msg.message == own.up)
        {
            End(task, point);
            return;
        }
        else if (IsEndingMessage(msg))
        {
            EndAtCursor(task);
            return;
        }
        else if (TrackModifier(task, msg) || PassKey(task, msg))
        {
        }
        else if ((IsButtonDown(msg.message) || IsButtonUp(msg.message)) && msg.message != own.down)
        {
            PassButton(task, msg, point);
        }
        else if (!PassCommon(task, msg))
        {
            task->Dispatch(msg);
        }
    }
}

ClickSequenceTracker::ClickSequenceTracker(CWnd* window) : MouseTracker(window) {}

void ClickSequenceTracker::Track(MouseTask* task, POINT start)
{
    if (!Begin(task, start, 0, false))
    {
        return;
    }
    const ButtonMessages own = MessagesOf(task->GetButton());
    int clicks = 0;
    while (Next(task))
    {
        const MSG& msg = m_Msg;
        const POINT point = PointOf(msg.lParam);
        if (msg.message == WM_MOUSEMOVE)
        {
            if (IsMoveToNewPoint(point))
            {
                Moved(task, point);
            }
        }
        else if (msg.message == own.down)
        {
            ++clicks;
            task->OnClick(clicks, point.x, point.y, m_ptPrev.x, m_ptPrev.y, m_ptStart.x,
                          m_ptStart.y);
        }
        else if (IsButtonDown(msg.message))
        {
            Stop();
        }
        else if (IsButtonUp(msg.message))
        {
            task->OnClickUp(point.x, point.y, m_ptPrev.x, m_ptPrev.y, m_ptStart.x, m_ptStart.y);
        }
        else if (msg.message == WM_LBUTTONDBLCLK)
        {
            task->OnLButtonDblClk(UINT(msg.wParam), point.x, point.y);
        }
        else if (msg.message == WM_RBUTTONDBLCLK)
        {
            task->OnRButtonDblClk(UINT(msg.wParam), point.x, point.y);
        }
        else if (IsEndingMessage(msg))
        {
            EndAtCursor(task);
            return;
        }
        else if (TrackModifier(task, msg) || msg.message == WM_KEYDOWN || msg.message == WM_KEYUP)
        {
        }
        else if (!PassCommon(task, msg))
        {
            DispatchMessage(&msg);
        }
    }
}

ClickToClickTracker::ClickToClickTracker(CWnd* window) : MouseTracker(window) {}

void ClickToClickTracker::Track(MouseTask* task, POINT start)
{
    if (!Begin(task, start, MouseTask::enLeftButton, true))
    {
        return;
    }
    while (Next(task))
    {
        const MSG& msg = m_Msg;
        const POINT point = PointOf(msg.lParam);
        if (msg.message == WM_MOUSEMOVE)
        {
            Moved(task, point);
        }
        else if (IsButtonDown(msg.message) || IsButtonUp(msg.message))
        {
            End(task, point);
            return;
        }
        else if (msg.message == WM_LBUTTONDBLCLK || msg.message == WM_MBUTTONDBLCLK ||
                 msg.message == WM_RBUTTONDBLCLK)
        {
            ReleaseCapture();
            task->OnCancel(point.x, point.y, m_ptPrev.x, m_ptPrev.y, m_ptStart.x, m_ptStart.y);
            task->SetActive(false);
            task->SetTracker(nullptr);
            return;
        }
        else if (IsEndingMessage(msg))
        {
            EndAtCursor(task);
            return;
        }
        else if (TrackModifier(task, msg) || PassKey(task, msg))
        {
        }
        else if (!PassCommon(task, msg))
        {
            task->Dispatch(msg);
        }
    }
}
