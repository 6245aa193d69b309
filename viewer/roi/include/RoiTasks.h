// The annotation tasks of the panes: RoiCreateTask makes a measurement from
// its gesture (a drag for a calliper or an arrow, a click sequence for an
// angle or a COBB angle) and claims the button before any annotation is
// hit; RoiEditTask drags an annotation whole, by one handle or by its
// label. Both run in the panes' tracking loops.
#pragma once

#include "MouseTask.h"
#include "RoiCreation.h"
#include "RoiDrag.h"

#include <memory>

class ORoi;

class QUILLON_API RoiCreateTask : public MouseTask
{
public:
    RoiCreateTask(int modifiers, MetaView* view, RoiCreation::enKind kind);

    bool IsPriority() const override;
    // Runs the loop of the kind from the press at that window point: the
    // drag loop, or the click sequence, which ends after the last click.
    void Track(POINT start);
    // The measurement made by the last gesture; null when it left none.
    ORoi* GetResult() const { return m_pResult; }

    void OnBegin(int x, int y) override;
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnCancel(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnClick(int count, int x, int y, int prevX, int prevY, int startX, int startY) override;

private:
    RoiCreation::enKind m_enKind;
    std::unique_ptr<RoiCreation> m_pCreation;
    ORoi* m_pResult = nullptr;
};

class QUILLON_API RoiEditTask : public MouseTask
{
public:
    // The hit code (enRoiHit) the press found on the annotation.
    RoiEditTask(int modifiers, MetaView* view, ORoi* roi, int code);

    void OnBegin(int x, int y) override;
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnCancel(int x, int y, int prevX, int prevY, int startX, int startY) override;

private:
    ORoi* m_pRoi;
    int m_nCode;
    std::unique_ptr<RoiDrag> m_pDrag;
};
