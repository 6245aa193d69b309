// CCreditStatic: a static control that scrolls credit lines upwards through
// its client area. A line's last character chooses its style: one of three
// headings, a bitmap resource named by the rest of the line, or normal text.
// The background is a solid colour, a gradient of it, or a tiled bitmap
// resource seen through the text. Still, it shows the lines from the first
// as one picture.
#pragma once

#include "AfxColl.h"
#include "AfxControls.h"
#include "ZentiqExport.h"

class ZENTIQ_API CCreditStatic : public CStatic
{
    DECLARE_DYNAMIC(CCreditStatic)

public:
    enum enCreditColor
    {
        enBackgroundColor,
        enHeading1Color,
        enHeading2Color,
        enHeading3Color,
        enTextColor,
        enColorCount
    };
    enum enCreditHeight
    {
        enHeading1Height,
        enHeading2Height,
        enHeading3Height,
        enTextHeight,
        enHeightCount
    };
    enum enCreditEscape
    {
        enHeading1Escape,
        enHeading2Escape,
        enHeading3Escape,
        enBitmapEscape,
        enEscapeCount
    };
    // Left to right across the control.
    enum enCreditGradient
    {
        enGradientNone,
        enGradientToBlack,
        enGradientToWhite,
        enGradientFromBlack,
        enGradientFromWhite
    };
    static constexpr UINT_PTR kScrollTimer = 150;

    CCreditStatic();
    ~CCreditStatic() override = default;

    // Splits the text at every delimiter (the last piece too, even empty)
    // into the lines and starts again at the first.
    void SetCredits(LPCSTR lpszText, char chDelimiter = '|');
    // The same from a string resource; nothing when it does not load.
    void SetCredits(UINT nStringId, char chDelimiter = '|');
    // FALSE, starting nothing, for no lines.
    BOOL StartScrolling();
    void EndScrolling();
    BOOL IsScrolling() const { return m_nTimer != 0; }
    // A nonzero speed is stored under nIndex; either way nIndex becomes the
    // speed of the next start.
    void SetSpeed(UINT nIndex, int nMilliseconds = 0);
    void SetColor(UINT nIndex, COLORREF crColor);
    void SetTextHeight(UINT nIndex, int nHeight);
    void SetEscape(UINT nIndex, char chEscape);
    void SetGradient(UINT nMode = enGradientToBlack);
    void SetTransparent(BOOL bTransparent = TRUE);
    // FALSE (and no image) when the bitmap resource does not load.
    BOOL SetBkImage(LPCSTR lpszResourceName);
    BOOL SetBkImage(UINT nResourceId);

    int GetSpeed() const { return m_nSpeeds[m_nSpeedIndex]; }
    // Pixels: the width of the widest line measured so far.
    int GetWidestLine() const { return m_nWidest; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    // The still picture from the first line into a new canvas.
    void DrawCredit(CDC& dc, const CRect& rcClient);
    // One tick: the canvas scrolled within the text area and the strip it
    // uncovered drawn.
    void MoveCredit(CDC& dc, const CRect& rcClient, CRect& rcText, BOOL bMeasure);
    // The canvas onto dc, through the background image when there is one.
    void AddBackGround(CDC& dc, const CRect& rcClient, const CRect& rcText);
    // The top-left part of the bitmap the size of rect onto rect of the
    // canvas; grey 192 shows the canvas through when transparent.
    void DrawBitmap(CDC& canvasDC, CDC& bitmapDC, const CRect& rect);
    void FillGradient(CDC& dc, const CRect& rcClient, const CRect& rcFill, COLORREF crColor);

private:
    enum class enStyle
    {
        Heading1,
        Heading2,
        Heading3,
        Bitmap,
        Text
    };
    enStyle GetStyle(const CString& strLine) const;
    // The text a line draws: headings and bitmap names lose their escape.
    static CString GetDrawnText(const CString& strLine, enStyle style);
    // The font and colour of a style, scrolling or still; the font's height
    // becomes the current line height.
    void SelectStyle(CDC& dc, CFont& font, enStyle style, bool bScrolling);
    bool HasBackgroundImage() const { return m_bmpBackground.GetSafeHandle() != nullptr; }
    // The canvas colour that lets the background image through.
    COLORREF GetKeyColor() const;
    void FillBackground(CDC& dc, const CRect& rcClient, const CRect& rcFill);
    CRect GetTextArea(const CRect& rcClient) const;
    // Takes the next line; the measure flag of this tick.
    BOOL StartNextLine();
    void Restart();
    void DropCanvas();
    // Drops the still picture so that the next paint shows the changes.
    void RedrawStill();
    BOOL LoadBackground(LPCSTR lpszName);
    BOOL LoadLineBitmap(const CString& strName);

    COLORREF m_crColors[enColorCount];
    int m_nTextHeights[enHeightCount];
    char m_chEscapes[enEscapeCount];
    int m_nSpeeds[3] = {70, 40, 10};
    int m_nSpeedIndex = 1;
    CStringList m_lines;
    CString m_strLine;
    int m_nLineTick = 1;
    POSITION m_posNext = nullptr;
    int m_nScrolled = 0;
    int m_nStep = -1;
    int m_nLineHeight = 18;
    CBitmap m_bmpLine;
    CBitmap m_bmpCanvas;
    int m_nLineBitmapWidth = 0;
    int m_nLineBitmapHeight = 0;
    int m_nLineBitmapX = 0;
    int m_nLineBitmapY = 0;
    BOOL m_bLineBitmap = FALSE;
    CPalette m_palBackground;
    CBitmap m_bmpBackground;
    int m_nBackgroundWidth = 0;
    int m_nBackgroundHeight = 0;
    BOOL m_bFirstPass = TRUE;
    UINT m_nGradient = enGradientNone;
    BOOL m_bTransparent = FALSE;
    int m_nWidest = 0;
    UINT_PTR m_nTimer = 0;

    DECLARE_MESSAGE_MAP()
};
