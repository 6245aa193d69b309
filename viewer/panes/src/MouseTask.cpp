#include "MouseTask.h"

#include "MouseTracker.h"
#include "QuillonLibrary.h"
#include "QuillonLog.h"

int MouseTask::ModifiersOf(UINT flags)
{
    return ((flags & MK_CONTROL) != 0 ? ControlBit : 0) | ((flags & MK_SHIFT) != 0 ? ShiftBit : 0);
}

UINT MouseTask::ButtonDownMessage(int button)
{
    switch (button)
    {
    case enMiddleButton:
        return WM_MBUTTONDOWN;
    case enRightButton:
        return WM_RBUTTONDOWN;
    default:
        return WM_LBUTTONDOWN;
    }
}

MouseTask::MouseTask(int modifiers, MetaView* view) : m_nModifiers(modifiers), m_pView(view) {}

MouseTask::~MouseTask() = default;

bool MouseTask::IsPriority() const
{
    return false;
}

void MouseTask::Stop()
{
    if (m_pTracker != nullptr)
    {
        m_pTracker->Stop();
    }
}

void MouseTask::SetActive(bool active)
{
    m_bActive = active;
}

void MouseTask::OnCancel(int x, int y, int prevX, int prevY, int startX, int startY)
{
    OnEnd(x, y, prevX, prevY, startX, startY);
}

bool MouseTask::PreTranslate(const MSG& msg)
{
    if (msg.message == WM_TIMER)
    {
        quillon::_debug("Enter MouseTask::OnWndMsg.Timer, HWND:0x%0x, wParam:%d, lParam:%d",
                        unsigned(reinterpret_cast<UINT_PTR>(msg.hwnd)), int(msg.wParam),
                        int(msg.lParam));
    }
    return false;
}

void MouseTask::OnKeyDown(UINT, UINT, UINT) {}

void MouseTask::OnKeyUp(UINT, UINT, UINT) {}

void MouseTask::OnLButtonDown(UINT, int, int) {}

void MouseTask::OnLButtonUp(UINT, int, int) {}

void MouseTask::OnMButtonDown(UINT, int, int) {}

void MouseTask::OnMButtonUp(UINT, int, int) {}

void MouseTask::OnRButtonDown(UINT, int, int) {}

void MouseTask::OnRButtonUp(UINT, int, int) {}

void MouseTask::OnLButtonDblClk(UINT, int, int) {}

void MouseTask::OnMButtonDblClk(UINT, int, int) {}

void MouseTask::OnRButtonDblClk(UINT, int, int) {}

void MouseTask::OnMouseWheel(UINT, short, int, int) {}

void MouseTask::OnCommand(WPARAM, LPARAM)
{
    const MSG msg = GetCurrentMessage();
    DispatchMessage(&msg);
}

void MouseTask::OnTimer(UINT_PTR) {}

void MouseTask::Dispatch(const MSG& msg)
{
    DispatchMessage(&msg);
}

HCURSOR MouseTask::GetCursor() const
{
    if (m_hCursor == nullptr && m_nCursorGroup != 0)
    {
        m_hCursor = GetQuillonCursor(m_nCursorGroup);
    }
    return m_hCursor;
}

void MouseTask::SetCursor(HCURSOR cursor)
{
    m_hCursor = cursor;
    m_nCursorGroup = 0;
}

void MouseTask::SetCursorGroup(UINT group)
{
    m_hCursor = nullptr;
    m_nCursorGroup = group;
}

void MouseTask::OnSetCursor()
{
    if (GetCursor() != nullptr)
    {
        ::SetCursor(GetCursor());
    }
    else if (ShowCursor(TRUE) > 0)
    {
        // Shown without drifting the display count upward on every call.
        ShowCursor(FALSE);
    }
}

void MouseTask::OnHover(UINT, int, int) {}

void MouseTask::OnClick(int, int, int, int, int, int, int) {}

void MouseTask::OnClickUp(int, int, int, int, int, int) {}

const MSG& MouseTask::GetCurrentMessage() const
{
    static const MSG none = {};
    return m_pTracker != nullptr ? m_pTracker->GetMessage() : none;
}
