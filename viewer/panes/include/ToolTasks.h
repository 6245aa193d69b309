// The tool tasks of the panes' task sets and of the preview views: each acts
// on the pane that runs it.
#pragma once

#include "AfxWin.h"
#include "Lettra.h"
#include "MouseTask.h"

class MetaView;

// Does nothing.
class QUILLON_API ArrowTask : public MouseTask
{
public:
    using MouseTask::MouseTask;
    void OnBegin(int x, int y) override;
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) override;
};

// Hands the press on to the pane's parent, with the same key flags, at the
// same place in the parent's client coordinates, and ends its own loop: the
// parent runs the task of the press itself (page scroll, drag and drop).
class QUILLON_API ClickForwardTask : public MouseTask
{
public:
    using MouseTask::MouseTask;
    void OnBegin(int x, int y) override;
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) override;
};

// The tools that hand a drag to the pane's own drag modes at the first
// move: zoom, pan, window/level, and zoom or pan by where the press was.
class QUILLON_API DragStartTool : public MouseTask
{
public:
    using MouseTask::MouseTask;
    void OnBegin(int x, int y) override;
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) override;

protected:
    virtual void StartDrag(int startX, int startY) = 0;

    bool m_bStarted = false;
};

class QUILLON_API ZoomDragTool : public DragStartTool
{
public:
    using DragStartTool::DragStartTool;

protected:
    void StartDrag(int startX, int startY) override;
};

class QUILLON_API PanDragTool : public DragStartTool
{
public:
    using DragStartTool::DragStartTool;

protected:
    void StartDrag(int startX, int startY) override;
};

class QUILLON_API WindowLevelDragTool : public DragStartTool
{
public:
    using DragStartTool::DragStartTool;

protected:
    void StartDrag(int startX, int startY) override;
};

// Pans when the press is on the image, zooms elsewhere; the cursor says
// which.
class QUILLON_API ZoomOrPanTool : public DragStartTool
{
public:
    ZoomOrPanTool(int modifiers, MetaView* view);
    void OnBegin(int x, int y) override;
    void OnSetCursor() override;
    void OnHover(UINT flags, int x, int y) override;

protected:
    void StartDrag(int startX, int startY) override;
    bool IsOnImage(int x, int y) const;

    POINT m_ptLast = {0, 0};
};

// The value of the image pixel under the pointer while the button is held:
// "(%d,%d) = %d", or "(%d,%d) = <%d,%d,%d>" for a colour image, drawn next
// to the pointer; the pane is repainted clean at the release.
class QUILLON_API PixelValueTask : public MouseTask
{
public:
    using MouseTask::MouseTask;
    void OnBegin(int x, int y) override;
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) override;

    // The read-out of a window point; empty off the image.
    static Lettra ReadOut(MetaView* view, int x, int y);
    const Lettra& GetText() const { return m_strText; }

protected:
    void Show(int x, int y);

    Lettra m_strText;
};

// Window/level by dragging: across changes the width, down the centre, each
// by the pane's step per pixel (ten times with Ctrl).
class QUILLON_API WindowLevelTask : public MouseTask
{
public:
    using MouseTask::MouseTask;
    void OnBegin(int x, int y) override;
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) override;

    int GetWidth() const { return m_nWidth; }
    int GetCenter() const { return m_nCenter; }

protected:
    int m_nWidth = -1;
    int m_nCenter = -1;
    int m_nStep = 1;
};

// Zoom by dragging up (in) and down (out) about the press point: the zoom
// doubles every ZoomDoublingPixels; Tab puts it back to 1.0.
class QUILLON_API ZoomTask : public MouseTask
{
public:
    static constexpr int ZoomDoublingPixels = 100;

    using MouseTask::MouseTask;
    void OnBegin(int x, int y) override;
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;

protected:
    double m_dStartZoom = 1.0;
    POINT m_ptAnchor = {0, 0};
};

// Pans the picture with the pointer; Ctrl moves ten times as far, Shift
// keeps to the axis the drag has moved most along.
class QUILLON_API PanTask : public MouseTask
{
public:
    using MouseTask::MouseTask;
    void OnBegin(int x, int y) override;
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) override;

protected:
    POINT m_ptStartPan = {0, 0};
};

// A rubber band from the press to the pointer, drawn over the pane; at the
// release the rectangle (window pixels, normalised) goes to the pane: its
// automatic window over the rectangle, or its zoom onto it. Esc or the loss
// of the capture leave the pane as it was.
class QUILLON_API RectSelectTask : public MouseTask
{
public:
    enum enAction
    {
        enSelectOnly,
        enAutoWindowLevel,
        enZoomToRect
    };
    // A band smaller than this on either side selects nothing.
    static constexpr int MinSide = 3;

    RectSelectTask(int modifiers, MetaView* view, int action = enSelectOnly);
    void OnBegin(int x, int y) override;
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnCancel(int x, int y, int prevX, int prevY, int startX, int startY) override;

    // The last band selected; empty when the drag selected nothing.
    const CRect& GetRect() const { return m_rcSelected; }
    int GetAction() const { return m_nAction; }

protected:
    // The pane takes the rectangle.
    virtual void OnSelected(const CRect& rect);
    void DrawBand(const CRect& band);
    void Repaint();

    int m_nAction;
    CRect m_rcSelected;
};

// Moves its view, a child window, with the pointer inside the view's
// parent; the points are the parent's. Ctrl moves ten times as far, Shift
// keeps to the axis the drag has moved most along.
class QUILLON_API MovePanTask : public MouseTask
{
public:
    using MouseTask::MouseTask;
    // Runs the task in the parent's loop of the button from a press at a
    // client point of the view; false when the view has no parent.
    bool TrackInParent(POINT point, int button);
    void OnBegin(int x, int y) override;
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) override;

protected:
    POINT m_ptStartCorner = {0, 0};
};
