// Panes for the window tests of the backends: a child window that paints a
// background, a dotted grid and the stroke dragged so far through an
// off-screen DC, and runs a drag loop with capture as the viewer's panes do.
#pragma once

#include "AfxWin.h"
#include "UserRawInput.h"

#include <vector>

inline constexpr COLORREF kStrokeColor = RGB(200, 30, 30);

// Background, a grid and the stroke dragged so far, in pane coordinates.
void DrawPane(CDC& dc, const CRect& client, COLORREF background, const std::vector<CPoint>& stroke);

class CPane : public CWnd
{
public:
    explicit CPane(COLORREF background) : m_background(background) {}

    COLORREF GetBackground() const { return m_background; }

    std::vector<CPoint> stroke;
    int nPaints = 0;
    bool bCaptureHeldInLoop = false;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint();
    // A drag loop as the panes run them: capture, GetMessage, live drawing
    // through a client DC, repaint at the end.
    afx_msg void OnLButtonDown(UINT, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_background;
};

// What a pane's drawing gives on a memory DC of the pane's size.
WindowPicture DrawExpectedPane(const CPane& pane);
// Pixels of a picture that differ from the expected one placed at origin.
int CountPictureDifferences(const WindowPicture& picture, const CPoint& origin,
                            const WindowPicture& expected);
