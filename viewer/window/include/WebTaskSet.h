// WebTaskSet: the task set of the web panes' left and right buttons. Beside
// the base set's tools it selects by rectangle (ending in an automatic
// window or a zoom onto it), measures distances and draws arrows by a drag,
// and measures angles and COBB angles click by click.
#pragma once

#include "MouseTaskSet.h"
#include "RoiCreation.h"

class QUILLON_API WebTaskSet : public MouseTaskSet
{
public:
    // Tool codes the web set adds or changes.
    enum enWebTool
    {
        enCalliperTool = 6,
        enAngleTool = 7,
        enRectAutoWindowLevelTool = 17,
        enRectZoomTool = 27,
        enCobbAngleTool = 29,
        enArrowAnnotationTool = 46
    };
    // Codes up to this one select a task; others (but 89) are only stored.
    static constexpr int LastSelectingTool = 49;

    WebTaskSet(MetaView* view, int modifiers = 0);
    ~WebTaskSet() override;

    void SetModifiers(int modifiers) override;
    void SetTool(int code) override;

    // The click-by-click creation running now, null between gestures.
    MouseTask* GetRunningTask() const;

private:
    enum enWebMember
    {
        enRectAutoWindowLevel,
        enRectZoom,
        enCalliper,
        enClickAngle,
        enClickCobbAngle,
        enArrowAnnotation,
        enWebMemberCount
    };
    void SelectWeb(int member, UINT cursorGroup);

    std::unique_ptr<MouseTask> m_WebMembers[enWebMemberCount];
};
