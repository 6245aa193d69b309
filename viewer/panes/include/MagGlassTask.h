// The magnifier: while the button is held, a small window over the pane
// shows the picture around the pointer enlarged, and the pointer itself is
// hidden; both come back as they were at the release.
#pragma once

#include "AfxWin.h"
#include "MouseTask.h"

#include <memory>

class CMemoryDC;

class QUILLON_API MagGlass : public CWnd
{
public:
    static constexpr int Side = 160;
    static constexpr int Factor = 2;

    // Shows the picture's part around the point, the window centred there;
    // the picture stays the caller's.
    bool Open(CWnd* pane, CMemoryDC* picture, POINT point);
    void MoveTo(POINT point);
    POINT GetCenter() const { return m_ptCenter; }

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    CWnd* m_pPane = nullptr;
    CMemoryDC* m_pPicture = nullptr;
    POINT m_ptCenter = {0, 0};
};

class QUILLON_API MagGlassTask : public MouseTask
{
public:
    MagGlassTask(int modifiers, MetaView* view);
    ~MagGlassTask() override;

    void OnBegin(int x, int y) override;
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override;
    void OnEnd(int x, int y, int prevX, int prevY, int startX, int startY) override;

    // The glass while it is shown, else null.
    MagGlass* GetGlass() const { return m_pGlass.get(); }

protected:
    std::unique_ptr<CMemoryDC> m_pPicture;
    std::unique_ptr<MagGlass> m_pGlass;
    bool m_bCursorHidden = false;
};
