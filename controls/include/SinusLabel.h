// A marquee that scrolls its text from right to left along a sine wave,
// drawn off-screen and driven by a 15 ms timer: each tick the text moves
// two pixels and the wave shifts by one and a half degrees.
#pragma once

#include "AfxWin.h"
#include "ZentiqExport.h"

class ZENTIQ_API CSinusLabel : public CStatic
{
public:
    CSinusLabel();
    ~CSinusLabel() override;
    CSinusLabel(const CSinusLabel&) = delete;
    CSinusLabel& operator=(const CSinusLabel&) = delete;

    // Both restart the text at its first character.
    void SetText(const char* pszText);
    // Not owned; null draws in the DC's default font.
    void SetFont(CFont* pFont);
    void Start();
    void Stop();

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnFontChange();
    afx_msg void OnClose();

    UINT_PTR m_nTimerID = 0;
    int m_nStep = -3;
    int m_nPhase = 0;     // where the wave starts this tick, 0..719
    int m_nWaveIndex = 0; // the running index while drawing the columns
    int m_nMaxCharWidth = 0;
    int m_nCharHeight = 0;
    int m_nPixelsLeft = 0; // how far the last character fed still scrolls
    int m_nCharIndex = 0;
    double m_sinTable[720];
    bool m_bRunning = false;
    bool m_bInitialised = false;
    CBitmap* m_pCanvasBitmap = nullptr;
    CBitmap* m_pStripBitmap = nullptr;
    CDC* m_pStripDC = nullptr;
    CDC* m_pCanvasDC = nullptr;
    CFont* m_pFont = nullptr;
    CRect m_rcStrip;
    CRect m_rcClient;
    CString m_strText;

private:
    void Initialize();
    void Cleanup();
    void Scroll();
    void DoCharBlit();
    void DoSinScroll();
    CString GetNextChar();
    double GetNextSinValue();
    void GetNextSinusOffset();
    static void TimerProc(HWND hWnd, UINT nMsg, UINT_PTR nIDEvent, DWORD dwTime);

    CBitmap* m_pOldStripBitmap = nullptr;
    CBitmap* m_pOldCanvasBitmap = nullptr;

    DECLARE_MESSAGE_MAP()
};
