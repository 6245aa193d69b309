// The bar of the progress window: a progress control that keeps its own
// range and position, repaints only when the filled width in pixels changes,
// and draws through an off-screen surface the filled part, the rest, and a
// caption (its text, else the percentage) in the colour that stands out on
// each part.
#pragma once

#include "AfxWnd.h"
#include "WinListView.h"

class CProgressTextCtrl : public CWnd
{
public:
    CProgressTextCtrl();

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // The previous position; -1 without a window.
    int SetPos(int nPos);
    int OffsetPos(int nDelta) { return SetPos(m_nPos + nDelta); }
    int StepIt() { return SetPos(m_nPos + m_nStep); }
    int SetStep(int nStep);
    int GetPos() const { return m_nPos; }
    void GetRange(int& nLower, int& nUpper) const;
    // The caption drawn on the bar; empty shows the percentage.
    const CString& GetText() const { return m_strText; }
    // The filled width last drawn, -1 before the first.
    int GetDrawnWidth() const { return m_nDrawnWidth; }

protected:
    // The filled width for a position; 0 for an empty or reversed range.
    int GetBarWidth(int nPos) const;

    afx_msg LRESULT OnSetRange32(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();

    int m_nPos = 0;
    int m_nStep = 1;
    int m_nUpper = 100;
    int m_nLower = 0;
    CString m_strText;
    int m_nDrawnWidth = -1;
    COLORREF m_crBar;
    COLORREF m_crBackground;
    COLORREF m_crTextOverBackground;
    COLORREF m_crTextOverBar;

    DECLARE_MESSAGE_MAP()
};
