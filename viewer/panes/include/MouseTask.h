// MouseTask: one mouse interaction on a pane (window/level, zoom, pan, a
// read-out, the magnifier, an annotation gesture). A tracking loop drives it
// while the mouse is captured: OnBegin at the press, OnMove for each move,
// OnEnd at the release, OnCancel when the loop loses the capture. The task
// keeps the running loop only for Stop, OnCommand and GetCurrentMessage.
#pragma once

#include "QuillonExport.h"
#include "WinUser.h"

class MetaView;
class MouseTracker;

class QUILLON_API MouseTask
{
public:
    // Modifier bits, kept up to date by the loops from Shift and Ctrl.
    static constexpr int ShiftBit = 1;
    static constexpr int ControlBit = 2;
    // The button a loop counts.
    enum enButton
    {
        enLeftButton,
        enMiddleButton,
        enRightButton
    };

    // The modifier bits of a message's key flags.
    static int ModifiersOf(UINT flags);
    // WM_LBUTTONDOWN, WM_MBUTTONDOWN or WM_RBUTTONDOWN of a button kind.
    static UINT ButtonDownMessage(int button);

    MouseTask(int modifiers, MetaView* view);
    virtual ~MouseTask();
    MouseTask(const MouseTask&) = delete;
    MouseTask& operator=(const MouseTask&) = delete;

    // True when the task claims the button before the pane's annotations
    // are hit: only the tasks that create annotations do, so selecting and
    // editing annotations works with every ordinary tool.
    virtual bool IsPriority() const;
    // Asks a running loop to end (through the loss of its capture).
    virtual void Stop();
    virtual void SetActive(bool active);
    virtual void OnBegin(int x, int y) = 0;
    virtual void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) = 0;
    virtual void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) = 0;
    virtual void OnCancel(int x, int y, int prevX, int prevY, int startX, int startY);
    // True makes the loop cancel.
    virtual bool PreTranslate(const MSG& msg);
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT key, UINT repeat, UINT flags);
    virtual void OnLButtonDown(UINT flags, int x, int y);
    virtual void OnLButtonUp(UINT flags, int x, int y);
    virtual void OnMButtonDown(UINT flags, int x, int y);
    virtual void OnMButtonUp(UINT flags, int x, int y);
    virtual void OnRButtonDown(UINT flags, int x, int y);
    virtual void OnRButtonUp(UINT flags, int x, int y);
    virtual void OnLButtonDblClk(UINT flags, int x, int y);
    virtual void OnMButtonDblClk(UINT flags, int x, int y);
    virtual void OnRButtonDblClk(UINT flags, int x, int y);
    virtual void OnMouseWheel(UINT flags, short delta, int x, int y);
    // Dispatches the loop's current message again.
    virtual void OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void OnTimer(UINT_PTR id);
    virtual void Dispatch(const MSG& msg);
    // The task's cursor; without one, the cursor is made visible (the
    // display count raised to 0 at most, never beyond).
    virtual void OnSetCursor();
    // The pointer passing over the pane while no loop runs (hover).
    virtual void OnHover(UINT flags, int x, int y);
    // The click-sequence loop's clicks (the count from 1) and releases.
    virtual void OnClick(int count, int x, int y, int prevX, int prevY, int startX, int startY);
    virtual void OnClickUp(int x, int y, int prevX, int prevY, int startX, int startY);

    // The loop's current message; an all-zero one without a loop.
    const MSG& GetCurrentMessage() const;
    void SetTracker(MouseTracker* tracker) { m_pTracker = tracker; }
    MouseTracker* GetTracker() const { return m_pTracker; }
    bool IsActive() const { return m_bActive; }
    int GetModifiers() const { return m_nModifiers; }
    void SetModifiers(int modifiers) { m_nModifiers = modifiers; }
    int GetButton() const { return m_nButton; }
    void SetButton(int button) { m_nButton = button; }
    HCURSOR GetCursor() const;
    void SetCursor(HCURSOR cursor);
    // A cursor group of the library (0: none), loaded when first shown, so
    // that making a pane does not start the library.
    void SetCursorGroup(UINT group);
    MetaView* GetView() const { return m_pView; }

protected:
    MouseTracker* m_pTracker = nullptr;
    bool m_bActive = false;
    int m_nModifiers;
    int m_nButton = enLeftButton;
    mutable HCURSOR m_hCursor = nullptr;
    UINT m_nCursorGroup = 0;
    MetaView* m_pView;
};
