// An edit control drawn with a flat frame that turns into a sunken 3-D
// frame while the mouse is over it or while it has the focus, with two
// thin raised bars left of it and a sunken bar right of it. The frame and
// bars lie round the edit, on its parent.
#pragma once

#include "AfxWin.h"
#include "ZentiqExport.h"

class ZENTIQ_API CFlatEdit : public CEdit
{
public:
    CFlatEdit();

    // Left margin of nMargin pixels, right margin of 1.
    void SetIndent(int nMargin);
    // state 1: hot (sunken frame), 2: cold.
    void DrawEdit(int state, COLORREF clrTopLeft, COLORREF clrBottomRight);

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnPaint();
    afx_msg void OnSysColorChange();

    bool m_bDrawLeftBars = true;
    bool m_bDrawRightBar = true;
    bool m_bFlatLook = true;
    bool m_bLBtnDown = false;
    COLORREF m_clrHilite;
    COLORREF m_clrShadow;
    COLORREF m_clrDkShad;
    COLORREF m_clrButton;
    // Whether the hot frame is drawn now, for every flat edit.
    static bool s_bHover;

private:
    void ReadColours();
    // Hot while it has the focus or the mouse is over it, else cold.
    void DrawFrame();

    DECLARE_MESSAGE_MAP()
};
