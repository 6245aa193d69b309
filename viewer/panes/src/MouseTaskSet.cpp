#include "MouseTaskSet.h"

#include "MagGlassTask.h"
#include "ToolTasks.h"

namespace
{

// Cursor groups of the library.
constexpr UINT WindowLevelCursor = 140;
constexpr UINT ZoomCursor = 153;
constexpr UINT PageScrollCursor = 154;
constexpr UINT HandOverCursor = 155;
constexpr UINT ZoomOrPanCursor = 171;
constexpr UINT PanCursor = 175;
constexpr UINT ArrowCursor = 32512;

} // namespace

MouseTaskSet::MouseTaskSet(MetaView* view, int modifiers)
{
    m_Members[enClickForward] = std::make_unique<ClickForwardTask>(modifiers, view);
    m_Members[enZoomDrag] = std::make_unique<ZoomDragTool>(modifiers, view);
    m_Members[enPanDrag] = std::make_unique<PanDragTool>(modifiers, view);
    m_Members[enZoomOrPan] = std::make_unique<ZoomOrPanTool>(modifiers, view);
    m_Members[enWindowLevelDrag] = std::make_unique<WindowLevelDragTool>(modifiers, view);
    m_Members[enPixelValue] = std::make_unique<PixelValueTask>(modifiers, view);
    m_Members[enArrow] = std::make_unique<ArrowTask>(modifiers, view);
    m_Members[enMagGlass] = std::make_unique<MagGlassTask>(modifiers, view);
    m_pCurrent = m_Members[enPixelValue].get();
}

MouseTaskSet::~MouseTaskSet() = default;

void MouseTaskSet::SetModifiers(int modifiers)
{
    for (auto& member : m_Members)
    {
        member->SetModifiers(modifiers);
    }
}

void MouseTaskSet::Select(int member, UINT cursorGroup)
{
    m_pCurrent = m_Members[member].get();
    m_pCurrent->SetCursorGroup(cursorGroup);
}

HCURSOR MouseTaskSet::GetCursor() const
{
    return m_pCurrent != nullptr ? m_pCurrent->GetCursor() : nullptr;
}

void MouseTaskSet::SetTool(int code)
{
    m_nTool = code;
    switch (code)
    {
    case enWindowLevelTool:
        Select(enWindowLevelDrag, WindowLevelCursor);
        break;
    case enPageScrollTool:
    case enInteractivePageScrollTool:
        Select(enClickForward, PageScrollCursor);
        break;
    case enMagGlassTool:
        Select(enMagGlass, 0);
        break;
    case enZoomTool:
        Select(enZoomDrag, ZoomCursor);
        break;
    case enPanTool:
        Select(enPanDrag, PanCursor);
        break;
    case enPixelValueTool:
        Select(enPixelValue, ArrowCursor);
        break;
    case enDragDropTool:
        Select(enClickForward, 0);
        break;
    case enZoomOrPanTool:
        Select(enZoomOrPan, ZoomOrPanCursor);
        break;
    case enHandOverTool:
        Select(enClickForward, HandOverCursor);
        break;
    default:
        if (code >= 0 && code < 30)
        {
            Select(enArrow, ArrowCursor);
        }
        break;
    }
}

bool MouseTaskSet::IsPriority() const
{
    return m_pCurrent != nullptr && m_pCurrent->IsPriority();
}

void MouseTaskSet::OnMouseMove(UINT flags, int x, int y)
{
    if (m_pCurrent == nullptr || m_pCurrent->IsActive())
    {
        return;
    }
    m_pCurrent->OnHover(flags, x, y);
    // A task without a cursor leaves the one shown alone.
    if (m_pCurrent->GetCursor() != nullptr)
    {
        m_pCurrent->OnSetCursor();
    }
}

bool MouseTaskSet::IsActive() const
{
    return m_pCurrent != nullptr && m_pCurrent->IsActive();
}

MouseTask* MouseTaskSet::GetFirstTask() const
{
    return m_Members[enClickForward].get();
}
