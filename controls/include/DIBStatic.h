// CDIBStatic: a static control that shows a CDib fitted into its client
// area, or, without one, an embossed prompt text (a cross when the prompt is
// empty). It paints when its parent asks it for its colours.
#pragma once

#include "AfxControls.h"
#include "Dib.h"

class ZENTIQ_API CDIBStatic : public CStatic
{
    DECLARE_DYNAMIC(CDIBStatic)

public:
    CDIBStatic() = default;
    ~CDIBStatic() override = default;

    BOOL LoadDib(LPCSTR lpszPath);
    BOOL LoadDib(CFile& file);
    void UpdateDib() { PaintDib(IsValidDib()); }
    void SetFitWindow(BOOL bFit);
    BOOL IsValidDib() const { return m_dib.IsValid(); }
    // Frees the picture and shows the prompt.
    void RemoveDib();

    void SetPrompt(LPCSTR lpszPrompt);
    void SetPromptFont(int nHeight, int nWidth);
    // Pushes the picture to the left and top edges.
    void SetAlign(BOOL bLeft, BOOL bTop);
    CDib& GetDib() { return m_dib; }

protected:
    // The client area less one pixel on each side, white.
    void ClearDib();
    void PaintDib(BOOL bHasDib);
    void PaintPrompt(CDC& dc);
    BOOL DoRealizePalette(BOOL bForceBackground);

    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);

    CDib m_dib;
    CString m_strPrompt;
    int m_nPromptFontHeight = 112;
    int m_nPromptFontWidth = 40;
    BOOL m_bFitWindow = FALSE;
    BOOL m_bAlignLeft = FALSE;
    BOOL m_bAlignTop = FALSE;

    DECLARE_MESSAGE_MAP()
};
