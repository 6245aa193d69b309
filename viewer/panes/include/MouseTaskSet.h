// MouseTaskSet: the tasks of one mouse button of a pane. It holds one of
// each built-in tool task and a current task chosen by a tool code; the pane
// runs the current task in the loop of its button.
#pragma once

#include "QuillonExport.h"
#include "WinUser.h"

#include <memory>

class MetaView;
class MouseTask;

class QUILLON_API MouseTaskSet
{
public:
    // Tool codes with a task of their own; every code from 0 to 29 selects
    // a task, any other code is only stored.
    enum enTool
    {
        enArrowTool = 0,
        enWindowLevelTool = 1,
        enPageScrollTool = 2,
        enMagGlassTool = 3,
        enZoomTool = 4,
        enPanTool = 5,
        enPixelValueTool = 10,
        enDragDropTool = 13,
        enInteractivePageScrollTool = 26,
        enZoomOrPanTool = 28,
        enHandOverTool = 89
    };

    MouseTaskSet(MetaView* view, int modifiers = 0);
    virtual ~MouseTaskSet();
    MouseTaskSet(const MouseTaskSet&) = delete;
    MouseTaskSet& operator=(const MouseTaskSet&) = delete;

    // The modifier bits of every member.
    virtual void SetModifiers(int modifiers);
    virtual void SetTool(int code);
    virtual int GetTool() const { return m_nTool; }
    // The current task's claim of the button; false without one.
    virtual bool IsPriority() const;
    // The pointer passing over the pane while no loop runs: the current
    // task shows its cursor and hears the hover.
    virtual void OnMouseMove(UINT flags, int x, int y);

    bool IsActive() const;
    MouseTask* GetCurrentTask() const { return m_pCurrent; }
    // The current task's cursor.
    HCURSOR GetCursor() const;
    // The set's first member, the task that hands a press on to the
    // pane's parent.
    MouseTask* GetFirstTask() const;

protected:
    // Members in the order they are built.
    enum enMember
    {
        enClickForward,
        enZoomDrag,
        enPanDrag,
        enZoomOrPan,
        enWindowLevelDrag,
        enPixelValue,
        enArrow,
        enMagGlass,
        enMemberCount
    };
    // The member becomes current with the cursor of that group (0: none).
    void Select(int member, UINT cursorGroup);

    std::unique_ptr<MouseTask> m_Members[enMemberCount];
    MouseTask* m_pCurrent = nullptr;
    int m_nTool = enPixelValueTool;
};
