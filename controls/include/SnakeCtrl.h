// A snake-style busy indicator: a gradient bar whose head runs to one end
// of the control, waits there for its tail, reverses and runs back, with an
// optional caption centred over it. Positions run from 0 to the maximum.
#pragma once

#include "AfxWin.h"
#include "ZentiqExport.h"

class ZENTIQ_API CSnakeCtrl : public CStatic
{
public:
    CSnakeCtrl() = default;

    // Starts from the left end, moving every interval (none for 0).
    void Start();
    void Stop();
    // Starts again when running.
    void Restart();
    // One step; returns the head.
    int StepIt();
    void SetElapse(int nElapse);
    void SetGradientFill(COLORREF crStart, COLORREF crEnd);
    void SetBkColor(COLORREF crBk) { m_crBk = crBk; }
    // A maximum of 0 or less draws no snake.
    void SetMax(int nMax) { m_nMax = nMax; }
    int GetStep() const { return m_nStep; }
    int GetPos() const { return m_nHead; }
    COLORREF GetGradientStartColor() const { return m_crStart; }
    COLORREF GetGradientEndColor() const { return m_crEnd; }
    void ResetProgress();
    // The caption, drawn with the next paint.
    void SetWindowTextA(const char* pszCaption) { m_strCaption = pszCaption; }

protected:
    void PreSubclassWindow() override;

    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();

    // The snake from colour m_crLeft at left to m_crRight at right, one band
    // per colour step.
    void DrawGradient(CDC& dc, const CRect& rcClient, int nLeft, int nRight);

    BOOL m_bEndReached = FALSE;
    BOOL m_nDirection = 0; // 0 towards the right end, 1 towards the left
    int m_nStep = 1;
    int m_nHead = 100;
    int m_nTail = 100;
    int m_nLength = 40;
    int m_nMax = 100;
    COLORREF m_crBk = RGB(255, 255, 255);
    COLORREF m_crEnd = RGB(0, 255, 255);
    COLORREF m_crStart = RGB(255, 0, 0);
    COLORREF m_crRight = RGB(0, 255, 255);
    COLORREF m_crLeft = RGB(255, 0, 0);
    UINT_PTR m_nTimerID = 0;
    int m_nInterval = 10;
    CString m_strCaption;

private:
    int StepTowardsMax();
    int StepTowardsZero();
    void MoveTail();

    DECLARE_MESSAGE_MAP()
};
