// A static with its own text colour, background and font, an optional
// sunken edge or border, flashing text or background, and a link mode in
// which a click opens the label's text with the desktop's opener. Every
// setter returns the label for chaining. The label owns its brushes and
// font.
#pragma once

#include "AfxWin.h"
#include "ZentiqExport.h"

class ZENTIQ_API CLabel : public CStatic
{
public:
    CLabel();
    ~CLabel() override;
    CLabel(const CLabel&) = delete;
    CLabel& operator=(const CLabel&) = delete;

    CLabel& SetBkColor(COLORREF crBkgnd);
    CLabel& SetText(const CString& strText);
    CLabel& SetTextColor(COLORREF crText);
    CLabel& SetFontBold(BOOL bBold);
    CLabel& SetFontName(const CString& strFont);
    CLabel& SetFontUnderline(BOOL bSet);
    CLabel& SetFontItalic(BOOL bSet);
    // A character height of nSize pixels.
    CLabel& SetFontSize(int nSize);
    CLabel& SetSunken(BOOL bSet);
    CLabel& SetBorder(BOOL bSet);
    // Every 500 ms the text alternates with nothing; FALSE stops and puts
    // the text back.
    CLabel& FlashText(BOOL bActivate);
    // Every 500 ms the background alternates with the button face.
    CLabel& FlashBackground(BOOL bActivate);
    // A link receives clicks (SS_NOTIFY) and opens its text.
    CLabel& SetLink(BOOL bLink);
    // Null: the class cursor.
    CLabel& SetLinkCursor(HCURSOR hCursor);

protected:
    enum enFlashType
    {
        enNone,
        enText,
        enBackground,
    };

    void ReconstructFont();
    void StopFlashing();

    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

    COLORREF m_crText;
    HBRUSH m_hBrush;
    HBRUSH m_hwndBrush; // the background of the off phase of flashing
    HCURSOR m_hCursor = nullptr;
    LOGFONT m_lf{};
    CFont m_font;
    CString m_strText; // the text put back after flashing
    BOOL m_bState = FALSE;
    BOOL m_bTimer = FALSE;
    BOOL m_bLink = TRUE;
    int m_Type = enNone;

    DECLARE_MESSAGE_MAP()
};
