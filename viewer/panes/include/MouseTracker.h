// The modal loops that drive a MouseTask. A loop captures the mouse for its
// window, pumps the thread's messages itself and turns them into task calls;
// the call that starts it returns when the interaction is over. Esc,
// WM_CANCELMODE and WM_CAPTURECHANGED end a loop; the loss of the capture to
// another window or a task's veto cancels it. A WM_QUIT met inside a loop
// cancels the task and is posted again for the loop outside.
#pragma once

#include "AfxWin.h"
#include "QuillonExport.h"

class MouseTask;

class QUILLON_API MouseTracker
{
public:
    explicit MouseTracker(CWnd* window);
    virtual ~MouseTracker();
    MouseTracker(const MouseTracker&) = delete;
    MouseTracker& operator=(const MouseTracker&) = delete;

    // Releases the capture; the loop then ends through the cancel path.
    virtual void Stop();

    CWnd* GetWindow() const { return m_pWnd; }
    void SetWindow(CWnd* window) { m_pWnd = window; }
    const MSG& GetMessage() const { return m_Msg; }

protected:
    // Steps common to the loops. Begin returns false without a window.
    bool Begin(MouseTask* task, POINT start, int button, bool setButton);
    // Takes the next message into m_Msg; false when the loop has to cancel
    // (capture lost, a veto, a quit) and has done so.
    bool Next(MouseTask* task);
    void End(MouseTask* task, POINT point);
    void EndAtCursor(MouseTask* task);
    void Cancel(MouseTask* task);
    // Shift and Ctrl of a key message go to the task's modifier bits; true
    // when the message was one of them.
    static bool TrackModifier(MouseTask* task, const MSG& msg);
    static POINT PointOf(LPARAM lParam);
    bool IsMoveToNewPoint(POINT point) const;
    void Moved(MouseTask* task, POINT point);

    CWnd* m_pWnd;
    POINT m_ptStart = {0, 0};
    POINT m_ptPrev = {0, 0};
    MSG m_Msg = {};
};

// The drag loops: the left, right and middle variants end at their own
// button's release and pass the other buttons to the task.
class QUILLON_API DragTracker : public MouseTracker
{
public:
    explicit DragTracker(CWnd* window);

    // The loop of the button held now: right or middle when that one is
    // down and the left one is not, else left.
    void Start(MouseTask* task, POINT start);
    void TrackLeftButton(MouseTask* task, POINT start);
    void TrackRightButton(MouseTask* task, POINT start);
    void TrackMiddleButton(MouseTask* task, POINT start);
    // The loop of a button kind (MouseTask::enButton).
    void Track(MouseTask* task, POINT start, int button);
};

// Click-by-click creation: no button is held between clicks; the task
// finishes the sequence with Stop, or the user with Esc or another button.
class QUILLON_API ClickSequenceTracker : public MouseTracker
{
public:
    explicit ClickSequenceTracker(CWnd* window);
    void Track(MouseTask* task, POINT start);
};

// From one click to the next: every move is passed on, any press or release
// ends, a double click cancels.
class QUILLON_API ClickToClickTracker : public MouseTracker
{
public:
    explicit ClickToClickTracker(CWnd* window);
    void Track(MouseTask* task, POINT start);
};
