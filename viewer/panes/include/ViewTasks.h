// The tasks an image view runs itself when its panes hand a press on to it
// (tool codes 2, 26 and 13): paging the hot pane through its series, and
// dragging the view's drag text to another window. Their window is the view,
// not a pane.
#pragma once

#include "AfxOle.h"
#include "AfxWin.h"
#include "Delegate.h"
#include "Lettra.h"
#include "MouseTask.h"

#include <functional>

// Pages the hot pane through its series while the button is held. Quick
// page scroll steps one image per StepPixels of pointer travel along the
// axis the drag has moved most along (down or right forward, up or left
// back); interactive cine plays forward or back, one image per tick of
// CineTimer, while the pointer stays more than DeadZone pixels from the
// press. Tab switches between the two. Each step fires the view's scrolling
// event (ValueArgs: step, wrap); the end of a drag that stepped fires its
// scrolled event (ValueArgs 1, 1). Cine wraps at the ends of the series, and
// so does a quick scroll with Ctrl held.
class QUILLON_API PageScrollTask : public MouseTask
{
public:
    static constexpr int StepPixels = 10;
    static constexpr int DeadZone = 10;
    static constexpr UINT_PTR CineTimer = 0x7051;
    static constexpr UINT CinePeriod = 100;
    static constexpr const char* InteractiveText = "Interactive Cine";
    static constexpr const char* QuickText = "Quick Page Scroll";

    PageScrollTask(int modifiers, CWnd* view, Delegate& scrolling, Delegate& scrolled,
                   bool interactive);
    ~PageScrollTask() override;

    void OnBegin(int x, int y) override;
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnTimer(UINT_PTR id) override;

    bool IsInteractive() const { return m_bInteractive; }
    const char* GetModeText() const { return m_bInteractive ? InteractiveText : QuickText; }
    // The steps of the drag so far, forward counted positive.
    int GetSteps() const { return m_nSteps; }

protected:
    void Step(int step, bool wrap);
    void StartCine();
    void StopCine();

    CWnd* m_pWnd;
    Delegate& m_Scrolling;
    Delegate& m_Scrolled;
    bool m_bInteractive;
    bool m_bCineRunning = false;
    int m_nSteps = 0;
    int m_nStepCount = 0;
    POINT m_ptStart = {0, 0};
    POINT m_ptLast = {0, 0};
    POINT m_ptStepFrom = {0, 0};
};

// Drags the view's text once the pointer has moved StartDistance pixels:
// an OLE drag offering the text as a copy in the view's clipboard format,
// taken by whichever registered drop target the button goes up over.
// Without a format (0) the task beeps and does nothing. The view hears the
// end of every drag that started through its notice.
class QUILLON_API DragDropTask : public MouseTask
{
public:
    static constexpr int StartDistance = 10;

    DragDropTask(int modifiers, CWnd* view, UINT format, const char* text,
                 std::function<void()> notice);

    void OnBegin(int x, int y) override;
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) override;

    bool IsStarted() const { return m_bStarted; }
    // What the window that took the drop did with it (DROPEFFECT_NONE when
    // none took it).
    DROPEFFECT GetDropEffect() const { return m_dwEffect; }

protected:
    // The OLE drag of the text, from the press until the button goes up.
    DROPEFFECT RunDrag();
    void Finish();

    CWnd* m_pWnd;
    UINT m_nFormat;
    Lettra m_strText;
    std::function<void()> m_Notice;
    bool m_bStarted = false;
    DROPEFFECT m_dwEffect = DROPEFFECT_NONE;
};
