// A borderless top-most tip that shows a cell's or item's text whole over
// it, in its font, while the pointer rests there. It holds the mouse
// capture while shown and passes moves, clicks and keys on to the control
// that owns it.
#pragma once

#include "AfxWin.h"
#include "ZentiqExport.h"

#define TITLETIP_CLASSNAME "ZTitleTip"

class ZENTIQ_API CTitleTip : public CWnd
{
public:
    CTitleTip();
    ~CTitleTip() override;

    virtual BOOL Create(CWnd* pParentWnd);
    // Rectangles in the parent's client coordinates; lpHoverRect and
    // lpLogFont may be null.
    void Show(CRect rectTitle, LPCSTR lpszTitleText, int xoffset = 0, LPRECT lpHoverRect = nullptr,
              LOGFONT* lpLogFont = nullptr);
    void Show(CRect rectTitle, CString sTitleText, int xoffset);
    void Hide();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()

private:
    // TRUE when the message was routed away from the tip.
    BOOL RouteWhileShown(const MSG& msg);
    void ForwardButton(const MSG& msg);
    // The item's font, else the system font; the old font comes back.
    CFont* SelectTipFont(CDC& dc, CFont& font);

    CWnd* m_pParentWnd = nullptr;
    CString m_sText;
    LOGFONT m_lf{};
    BOOL m_bHasFont = FALSE;
};
