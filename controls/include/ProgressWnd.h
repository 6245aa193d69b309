// CProgressWnd: a small progress window with a caption, a few lines of text,
// a bar that shows its own text or the percentage, and a Cancel button. It
// is modeless, or modal over its parent after GoModal; the caller keeps it
// responsive by calling PeekAndPump between work items and polls
// Cancelled(). It can remember its screen position in the application's
// profile.
#pragma once

#include "AfxControls.h"
#include "ZentiqExport.h"

#include <cstdarg>
#include <memory>

class CProgressTextCtrl;

class ZENTIQ_API CProgressWnd : public CWnd
{
    DECLARE_DYNAMIC(CProgressWnd)

public:
    CProgressWnd();
    CProgressWnd(CWnd* pParent, LPCSTR lpszTitle, BOOL bSmooth = FALSE);
    ~CProgressWnd() override;

    // Parent null: the application's main window. TRUE when the window and
    // its three controls exist.
    virtual BOOL Create(CWnd* pParent, LPCSTR lpszTitle, BOOL bSmooth = FALSE);
    // Creates the window if needed and disables its parent until it is
    // destroyed.
    virtual BOOL GoModal(LPCSTR lpszTitle = "Progress", BOOL bSmooth = FALSE);

    // Shows the window when the range has more than two positions.
    virtual void SetRange(int nLower, int nUpper, int nStep = 1);
    // Positions: each returns the previous one, -1 without a window.
    virtual int StepIt();
    // The new step.
    virtual int SetStep(int nStep);
    virtual int SetPos(int nPos);
    int OffsetPos(int nDelta);
    // Steps every 100 ms while on; the previous setting.
    BOOL SetAutoStep(BOOL bAuto);

    // printf-style text in the text area.
    virtual void SetText(LPCSTR lpszFormat, ...);
    // printf-style caption of the bar (at most 511 characters); empty shows
    // the percentage.
    virtual void SetProgressText(LPCSTR lpszFormat, ...);
    // Empty text, position 0, not cancelled.
    void Clear();

    void SetCancelText(LPCSTR lpszText);
    void SetBkgColor(COLORREF crBackground);
    // Text area of nLines lines, nWidth pixels wide; the window is laid out
    // round it.
    void SetWindowSize(int nLines, int nWidth = 390);
    void ShowCancelButton(BOOL bShow = TRUE);
    void ShowProgress(BOOL bShow = TRUE);
    void Show();
    void Hide();
    // Whether the position is read from and kept in the profile.
    void SetRememberPosition(BOOL bRemember) { m_bRememberPosition = bRemember; }

    // Handles every waiting message; Escape cancels when asked.
    void PeekAndPump(BOOL bCancelOnEscape = TRUE);
    BOOL Cancelled() const { return m_bCancelled; }

    // Keeps the position when asked, gives the parent back its input.
    BOOL DestroyWindow() override;

protected:
    void CommonConstruct();
    void GetPreviousSettings();
    void SaveCurrentSettings();
    void CenterOnScreen();
    // printf-style text, at most 511 characters, as the window's text.
    void SetFormattedText(CWnd& target, LPCSTR lpszFormat, va_list args);

    afx_msg void OnCancel();
    afx_msg void OnClose();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    BOOL m_bCancelled = FALSE;
    BOOL m_bModal = FALSE;
    BOOL m_bRememberPosition = FALSE;
    BOOL m_bAutoStep = FALSE;
    int m_nTextLines = 4;
    int m_nWindowWidth = 390;
    CFont m_font;
    CStatic m_wndText;
    CButton m_wndCancel;
    std::unique_ptr<CProgressTextCtrl> m_pBar;
    COLORREF m_crBackground;
    CBrush m_brBackground;
    CString m_strTitle = "Progress";
    CString m_strCancelText = "&Cancel ";
    HWND m_hParentWnd = nullptr;

    DECLARE_MESSAGE_MAP()
};
