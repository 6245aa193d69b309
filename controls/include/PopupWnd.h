// CPopupWnd: a tooltip-like popup that paints a framed text box with a
// dithered drop shadow and, when asked, closes at the first key or mouse
// click. The owner sets the public members, then creates the window.
#pragma once

#include "AfxWnd.h"
#include "ZentiqExport.h"

class ZENTIQ_API CPopupWnd : public CWnd
{
    DECLARE_DYNAMIC(CPopupWnd)

public:
    CPopupWnd();
    ~CPopupWnd() override = default;

    // A popup of pOwner (may be null) over rect, in screen coordinates.
    BOOL Create(CWnd* pOwner, const RECT& rect);
    // Releases the mouse and closes the popup when it closes on input.
    void CloseWindow();

    BOOL m_bCloseOnInput = FALSE;
    COLORREF m_crBackground;
    COLORREF m_crText;
    COLORREF m_crFrame;
    int m_nShadowWidth = 8;
    int m_nShadowHeight = 8;
    int m_nShadowOffset = 8;
    CString m_strText;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnClose();
    afx_msg LRESULT OnInput(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};
