// An owner-drawn push button with optional icons (one while the mouse is
// over it or it is pressed, one otherwise), a flat mode that raises the
// button only while the mouse is over it, four colours, an optional cursor,
// and the icon left of or above the text. The button owns its icons and
// cursor.
#pragma once

#include "AfxWin.h"
#include "ZentiqExport.h"

class ZENTIQ_API CButtonEx : public CButton
{
public:
    CButtonEx();
    ~CButtonEx() override;

    // Icon resources; nIconInId 0 removes both icons; nIconOutId 0 makes
    // the hot icon serve for both states.
    void SetIcon(int nIconInId, int nIconOutId = 0, BYTE cx = 32, BYTE cy = 32);
    // The same with handles, which the button then owns.
    void SetIcon(HICON hIconIn, HICON hIconOut = nullptr, BYTE cx = 32, BYTE cy = 32);
    // -1 removes the cursor; FALSE when the resource is missing.
    BOOL SetBtnCursor(int nCursorId = -1);

    void SetFlat(BOOL bState = TRUE);
    BOOL GetFlat() const { return m_bIsFlat; }
    // 0: icon left of the text, 1: above it; other values keep the
    // alignment.
    void SetAlign(int nAlign);
    void SetShowText(BOOL bShow = TRUE);
    void DrawBorder(BOOL bEnable = TRUE);
    // The setters below repaint when bRepaint is exactly 1.
    void SetFlatFocus(BOOL bDrawFlatFocus, int bRepaint = 0);
    void SetInactiveBgColor(COLORREF crNew, int bRepaint = 1);
    void SetInactiveFgColor(COLORREF crNew, int bRepaint = 1);
    void SetActiveBgColor(COLORREF crNew, int bRepaint = 1);
    void SetActiveFgColor(COLORREF crNew, int bRepaint = 1);
    void SetDefaultInactiveBgColor(int bRepaint = 0);
    void SetDefaultInactiveFgColor(int bRepaint = 0);
    void SetDefaultActiveBgColor(int bRepaint = 0);
    void SetDefaultActiveFgColor(int bRepaint = 0);
    COLORREF GetInactiveFgColor() const { return m_crInactiveFg; }
    COLORREF GetActiveFgColor() const { return m_crActiveFg; }

    static short GetVersionI() { return 23; }
    static const char* GetVersionC() { return "2.3"; }

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    void PreSubclassWindow() override;

    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

    HCURSOR m_hCursor = nullptr;
    HICON m_hIconIn = nullptr;
    HICON m_hIconOut = nullptr;
    BYTE m_cyIcon = 0;
    BYTE m_cxIcon = 0;
    int m_nSpacing = 3;
    int m_nAlign = 0;
    int m_bShowText = 1;
    int m_bDrawBorder = 1;
    int m_bIsFlat = 1;
    int m_MouseOnButton = 0;
    int m_bDrawFlatFocus = 0;
    COLORREF m_crInactiveBg;
    COLORREF m_crInactiveFg;
    COLORREF m_crActiveBg;
    COLORREF m_crActiveFg;

private:
    void FreeIcons();
    void SetColor(COLORREF& crMember, COLORREF crNew, int bRepaint);
    void DrawEdges(CDC& dc, const CRect& rc, BOOL bPressed);
    void DrawIcon(CDC& dc, const CRect& rcItem, CRect& rcText, BOOL bPressed, BOOL bDisabled,
                  bool bHasText);
    void DrawCaption(CDC& dc, CRect rcText, const CString& text, BOOL bPressed, BOOL bDisabled,
                     BOOL bActive);

    DECLARE_MESSAGE_MAP()
};
