// CScrollPict: a window that shows a packed DIB. Fitted (stretched, or
// keeping its aspect and centred, optionally pushed to the left and top
// edges), or, with scrolling enabled, at its own size with scroll bars and
// panning by dragging with the host's cursor 101. Without a picture it shows
// an embossed prompt. The DIB and palette handed in become the window's
// unless it is told not to own them.
#pragma once

#include "AfxWnd.h"
#include "DibApi.h"

class ZENTIQ_API CScrollPict : public CWnd
{
    DECLARE_DYNAMIC(CScrollPict)

public:
    CScrollPict() = default;
    ~CScrollPict() override;

    // FALSE (and no picture) for a null DIB or one without pixels.
    BOOL SetImage(HDIB hDib, HPALETTE hPalette);
    BOOL GetImage(HDIB& hDib, HPALETTE& hPalette) const;
    void SetFitWindow(BOOL bFit);
    void SetAlign(BOOL bLeft, BOOL bTop);
    void EnableScroll(BOOL bEnable);
    // Whether the window frees the DIB and palette it is given.
    void SetOwnership(BOOL bOwnDib, BOOL bOwnPalette);
    void SetPrompt(LPCSTR lpszPrompt);
    int GetScrollPosition(int nBar) const { return nBar == SB_HORZ ? m_nHorzPos : m_nVertPos; }

protected:
    void SetScrollParam();
    // The picture's rectangle in the client area.
    CRect GetPicturePlace() const;
    void ScrollBy(int nBar, UINT nSBCode, UINT nPos);
    void ReleaseImage();

    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);

    HCURSOR m_hSavedCursor = nullptr;
    BOOL m_bDragging = FALSE;
    BOOL m_bBothScrolled = FALSE;
    BOOL m_bFitWindow = FALSE;
    BOOL m_bAlignLeft = FALSE;
    BOOL m_bAlignTop = FALSE;
    BOOL m_bScrollEnabled = FALSE;
    BOOL m_bNotOwnDib = FALSE;
    BOOL m_bNotOwnPalette = FALSE;
    CString m_strPrompt;
    int m_nPromptFontHeight = 112;
    int m_nPromptFontWidth = 40;
    HDIB m_hDib = nullptr;
    HPALETTE m_hPalette = nullptr;
    int m_nHorzPos = 0;
    int m_nVertPos = 0;
    int m_nLastX = 0;
    int m_nLastY = 0;
    int m_nPictureWidth = 0;
    int m_nPictureHeight = 0;

    DECLARE_MESSAGE_MAP()
};
