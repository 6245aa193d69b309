#include "WebTaskSet.h"

#include "RoiTasks.h"
#include "ToolTasks.h"

namespace
{

// Cursor groups of the library.
constexpr UINT MeasureCursor = 155;
constexpr UINT ClickCursor = 156;
constexpr UINT ArrowCursor = 32512;

// Starts a click-by-click creation at the press: the creation task lives
// for one gesture and runs its own click loop; when that loop ends it has
// the capture, so the button's loop that started this task ends too.
class ClickByClickTask : public MouseTask
{
public:
    ClickByClickTask(int modifiers, MetaView* view, RoiCreation::enKind kind)
        : MouseTask(modifiers, view), m_enKind(kind)
    {
    }

    bool IsPriority() const override { return true; }
    void OnBegin(int x, int y) override
    {
        RoiCreateTask creation(GetModifiers(), GetView(), m_enKind);
        m_pRunning = &creation;
        creation.Track({x, y});
        m_pRunning = nullptr;
    }
    void OnMove(int, int, int, int, int, int) override {}
    void OnEnd(int, int, int, int, int, int) override {}

    MouseTask* GetRunning() const { return m_pRunning; }

private:
    RoiCreation::enKind m_enKind;
    MouseTask* m_pRunning = nullptr;
};

} // namespace

WebTaskSet::WebTaskSet(MetaView* view, int modifiers) : MouseTaskSet(view, modifiers)
{
    m_WebMembers[enRectAutoWindowLevel] =
        std::make_unique<RectSelectTask>(modifiers, view, RectSelectTask::enAutoWindowLevel);
    m_WebMembers[enRectZoom] =
        std::make_unique<RectSelectTask>(modifiers, view, RectSelectTask::enZoomToRect);
    m_WebMembers[enCalliper] =
        std::make_unique<RoiCreateTask>(modifiers, view, RoiCreation::enCalliper);
    m_WebMembers[enClickAngle] =
        std::make_unique<ClickByClickTask>(modifiers, view, RoiCreation::enAngle);
    m_WebMembers[enClickCobbAngle] =
        std::make_unique<ClickByClickTask>(modifiers, view, RoiCreation::enCobbAngle);
    m_WebMembers[enArrowAnnotation] =
        std::make_unique<RoiCreateTask>(modifiers, view, RoiCreation::enArrow);
}

WebTaskSet::~WebTaskSet() = default;

void WebTaskSet::SetModifiers(int modifiers)
{
    MouseTaskSet::SetModifiers(modifiers);
    for (auto& member : m_WebMembers)
    {
        member->SetModifiers(modifiers);
    }
}

void WebTaskSet::SelectWeb(int member, UINT cursorGroup)
{
    m_pCurrent = m_WebMembers[member].get();
    m_pCurrent->SetCursorGroup(cursorGroup);
}

void WebTaskSet::SetTool(int code)
{
    switch (code)
    {
    case enCalliperTool:
        SelectWeb(enCalliper, MeasureCursor);
        break;
    case enAngleTool:
        SelectWeb(enClickAngle, ClickCursor);
        break;
    case enRectAutoWindowLevelTool:
        SelectWeb(enRectAutoWindowLevel, 0);
        break;
    case enRectZoomTool:
        SelectWeb(enRectZoom, 0);
        break;
    case enCobbAngleTool:
        SelectWeb(enClickCobbAngle, ClickCursor);
        break;
    case enArrowAnnotationTool:
        SelectWeb(enArrowAnnotation, MeasureCursor);
        break;
    default:
        if (code >= 30 && code <= LastSelectingTool)
        {
            Select(enArrow, ArrowCursor);
            break;
        }
        MouseTaskSet::SetTool(code);
        return;
    }
    m_nTool = code;
}

MouseTask* WebTaskSet::GetRunningTask() const
{
    for (int member : {enClickAngle, enClickCobbAngle})
    {
        if (MouseTask* running =
                static_cast<ClickByClickTask*>(m_WebMembers[member].get())->GetRunning())
        {
            return running;
        }
    }
    return nullptr;
}
