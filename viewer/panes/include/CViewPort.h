// CViewPort: the child window that shows one image in a pane. It owns the
// view geometry (zoom, fit factor, pan, display rectangle) and the mapping
// between image pixels and window pixels in both directions:
//     window = image x zoom + display origin + pan,
// the label font and the eight corner and side label lists, the DIB it
// paints, and the double-buffered painting frame. The drawing primitives that
// annotations, read-outs and tasks draw with are members too; each makes its
// pen, brush or font for the one call and deletes it again. Subclasses say
// how large the image is (GetImageSize).
#pragma once

#include "AfxWin.h"
#include "Array.h"
#include "DIBHolder.h"
#include "Delegate.h"
#include "QuillonExport.h"
#include "ViewLabel.h"

#include <vector>

struct FloatPoint
{
    float x;
    float y;
};

class QUILLON_API CViewPort : public CWnd
{
    DECLARE_DYNAMIC(CViewPort)

public:
    // The corner mark: a square of this side at the client's bottom-right,
    // shown on panes at least MinWidthForCornerMark wide.
    static constexpr int CornerMarkSize = 12;
    static constexpr int MinWidthForCornerMark = 120;
    static constexpr COLORREF CornerMarkColor = 0x000080FF;
    // The label font's size before the first layout chooses one.
    static constexpr int InitialFontSize = 64;
    // Pixels between the labels and the client's edges.
    static constexpr int LabelMargin = 2;
    // Slots of the special labels that subclasses update in place.
    enum enSpecialLabel
    {
        enRatioLabel,
        enWindowLevelLabel,
        enSizeLabel,
        enExtraLabel,
        enSpecialLabelCount
    };
    // Arrow-head styles.
    enum enLineStyle
    {
        enSolid,
        enDash,
        enDot
    };

    ~CViewPort() override;

    virtual CFont* GetLabelFont();
    // Back to the not-yet-laid-out state: zoom and fit factor -1, no DIB or
    // palette, pan (0, 0), pen width 1, no special labels; invalidates.
    virtual void ResetView();
    // The image's width and height in image pixels; 0 x 0 without one.
    virtual void GetImageSize(SIZE* size) const = 0;
    // Chooses the label font for the client size and selects it into the DC
    // given and into the client DC.
    virtual void UpdateFontForSize(CDC* pDC);
    virtual bool ShowCornerMark();
    virtual void GetCornerMarkRect(RECT* out);

    // Window to image. Rounding is half away from zero.
    virtual void ScreenToImageF(FloatPoint* out, const FloatPoint* in) const;
    // Clamped into [0, width] x [0, height].
    virtual void ScreenToImageClamped(RECT* out, RECT rect) const;
    virtual void ScreenToImageClampedPtr(RECT* out, const RECT* rect) const;
    virtual void ScreenToImageSize(SIZE* out, SIZE size) const;
    // Clamped into [0, width - 1] x [0, height - 1].
    virtual void ScreenToImagePoint(POINT* out, const POINT* in) const;
    virtual double ScreenToImageLengthD(double length) const;
    virtual int ScreenToImageLength(int length) const;
    virtual void ScreenToImageRect(RECT* out, RECT rect) const;
    virtual void ScreenToImageRectPtr(RECT* out, const RECT* rect) const;
    virtual void ScreenToImage(POINT* out, const POINT* in) const;
    // Image to window. The point form adds 0.5 and truncates before adding
    // origin and pan (annotations draw and hit-test with it); the rectangle
    // form rounds the whole sum half away from zero.
    virtual void ImageToScreenF(FloatPoint* out, const FloatPoint* in) const;
    virtual void ImageToScreenRect(RECT* out, const RECT* rect) const;
    virtual void ImageToScreenSize(SIZE* out, SIZE size) const;
    virtual void ImageToScreen(POINT* out, const POINT* in) const;
    virtual double ImageToScreenLengthD(double length) const;
    virtual double ImageToScreenLengthF(float length) const;
    virtual int ImageToScreenLength(int length) const;
    POINT ImageToScreen(int x, int y) const;
    POINT ScreenToImage(int x, int y) const;

    // Painting, in the order DrawContent runs it.
    virtual void DrawDecorations(CDC* pDC, RECT* client);
    virtual void DrawOverlayLayerBelow(CDC* pDC);
    virtual void DrawOverlayLayerAbove(CDC* pDC);
    virtual void DrawImage(CDC* pDC);
    virtual void DrawLabels(CDC* pDC, RECT* client);
    virtual void DrawContent(CDC* pDC);
    // The whole frame through an off-screen DC onto the DC given.
    virtual void Draw(CDC* pDC);
    // Draw on the client DC.
    void Refresh();

    // -1 for a 0 x 0 image; else the zoom at which the image fits the
    // display rectangle.
    double ComputeFitFactor(int width, int height) const;
    double UpdateFitFactor();
    // From the image's top-left to its bottom-right corner, point form.
    void GetImageScreenRect(RECT* out) const;
    // Pans so that the image's centre stands on the display rectangle's;
    // returns -1.
    int CenterImage();
    // The DIB to paint (shared, not copied) and, for pixel-by-pixel painting,
    // the window point of its top-left corner (the image's top-left when
    // null). Returns 1, or -1 for an empty DIB, which keeps what was held.
    int SetDIB(const DIBHolder& dib, const POINT* origin = nullptr);
    void ClearDIB();
    const DIBHolder& GetDIB() const { return m_DIB; }
    HPALETTE GetPalette() const { return m_hPalette; }

    // The palette flag: painting selects and realises the shared palette.
    void SetHighlight(bool highlight) { m_bPaletteFlag = highlight; }
    bool IsHighlight() const { return m_bPaletteFlag; }
    // The palette painting selects (the library's shared one) into the DC
    // and realises it; the previous palette, or null when none is shared.
    HPALETTE SelectPalette(CDC* pDC);
    static void SetSharedPalette(HPALETTE palette);
    static HPALETTE GetSharedPalette();
    // Zoom, fit factor, pan, display rectangle, painting and label switches
    // and the pen of another view.
    virtual void CopyViewState(const CViewPort& other);

    int GetFontSize() const { return m_nFontSize; }

    // Labels. The view owns the labels of its lists.
    Array<ViewLabel*>& GetLabels(int position);
    ViewLabel* AddLabel(int position, const char* text);
    void ClearLabels(int position);
    void ClearAllLabels();
    // Replaces the target's labels by clones of this view's, special labels
    // included.
    void CopyLabels(CViewPort* target) const;
    ViewLabel* GetSpecialLabel(int slot) const;
    void SetSpecialLabel(int slot, ViewLabel* label);
    bool AreLabelsVisible() const { return m_bLabelsVisible; }
    void SetLabelsVisible(bool visible) { m_bLabelsVisible = visible; }

    // Fired once per painted frame with the DC (PointerDelegateArgs).
    Delegate& GetPaintEvent() { return m_PaintEvent; }

    double GetZoom() const { return m_dZoom; }
    double GetFitFactor() const { return m_dFitFactor; }
    CPoint GetPan() const { return m_ptPan; }
    const CRect& GetDisplayRect() const { return m_rcDisplay; }
    bool IsPixelByPixel() const { return m_bPixelByPixel; }
    void SetPixelByPixel(bool on) { m_bPixelByPixel = on; }
    CDC* GetClientDC() const { return m_pClientDC; }

    // Pen state of the primitives.
    // Raster mode 0..6 of the client DC (R2_NOT, R2_NOTXORPEN, R2_COPYPEN,
    // R2_NOTCOPYPEN, R2_MERGEPEN, R2_MERGENOTPEN, R2_MERGEPENNOT); returns
    // the previous ROP2, or the mode itself, unchanged, for any other mode.
    int SetRasterMode(int mode);
    void SetPenColor(COLORREF color) { m_crPen = color; }
    COLORREF GetPenColor() const { return m_crPen; }
    void SetPenWidth(int width) { m_nPenWidth = width; }
    int GetPenWidth() const { return m_nPenWidth; }
    void SetTextBkColor(COLORREF color) { m_crTextBk = color; }
    COLORREF GetTextBkColor() const { return m_crTextBk; }
    COLORREF GetTextColor() const { return m_crText; }

    // Lines.
    void DrawLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color);
    void DrawPenLine(CDC* pDC, int x1, int y1, int x2, int y2);
    void DrawLineOnClientDC(int x1, int y1, int x2, int y2);
    void DrawColorLineOnClientDC(int x1, int y1, int x2, int y2, COLORREF color);
    void DrawShadowLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color);
    void DrawDashLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color);
    void DrawDotLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color);
    void DrawDashDotLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color);
    void DrawDashLineWithPen(CDC* pDC, int x1, int y1, int x2, int y2);
    void DrawDotLineWithPen(CDC* pDC, int x1, int y1, int x2, int y2);
    void DrawDashDotLineWithPen(CDC* pDC, int x1, int y1, int x2, int y2);
    void DrawSelectionLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF pen,
                           COLORREF background);

    // Marks and handles; half is half the mark's side in window pixels.
    void DrawCross(CDC* pDC, int x, int y, COLORREF color, int half);
    void DrawCrossOnClientDC(int x, int y, int half);
    void DrawXMark(CDC* pDC, int x, int y, COLORREF color, int half);
    void DrawXMarkWithPen(CDC* pDC, int x, int y, int half);
    void DrawTriangle(CDC* pDC, int x, int y, COLORREF pen, COLORREF fill, int size);
    void DrawHollowSquare(CDC* pDC, int x, int y, int half);
    void DrawHollowSquareOnClientDC(int x, int y, int half);
    void DrawHandle(CDC* pDC, int x, int y, int half);
    void DrawHandleOnClientDC(int x, int y, int half);
    void DrawCornerHandles(CDC* pDC, const RECT* rect, int half);
    void DrawDiamondHandle(CDC* pDC, int x, int y, int half);
    void DrawCornerDiamonds(CDC* pDC, const RECT* rect, int half);
    void DrawFilledDiamond(CDC* pDC, int x, int y, COLORREF fill, int half);
    void DrawCornerFilledDiamonds(CDC* pDC, const RECT* rect, COLORREF fill, int half);
    // Circles every 20 pixels around the point and cross-hairs from 20
    // pixels out to 9000.
    void DrawTarget(CDC* pDC, int x, int y, int rings);

    // Arrows: the head strokes go from the tip back toward the tail, each
    // ending halfWidth to the side at distance length; nothing when the
    // segment is not longer than the head.
    void DrawArrowHead(CDC* pDC, int tipX, int tipY, int tailX, int tailY, COLORREF color,
                       int halfWidth, int length, int style);
    void DrawArrow(CDC* pDC, int tipX, int tipY, int tailX, int tailY, COLORREF color,
                   int halfWidth, int length, int style);

    // Rectangles, circles, ellipses and arcs.
    void DrawFrame(CDC* pDC, const RECT* rect, COLORREF color);
    void DrawInnerFrame(CDC* pDC, const RECT* rect, COLORREF color);
    void DrawRoundRect(CDC* pDC, const RECT* rect, COLORREF pen, COLORREF fill);
    void FillRectAlpha(CDC* pDC, const RECT* rect, COLORREF color, BYTE alpha);
    void DrawCircle(CDC* pDC, int x, int y, int radius, COLORREF color);
    void DrawCircleWithPen(CDC* pDC, int x, int y, int radius);
    void DrawFilledCircle(CDC* pDC, int x, int y, COLORREF color, int radius);
    void DrawEllipse(CDC* pDC, const RECT* rect, COLORREF color);
    void DrawEllipseOnClientDC(const RECT* rect);
    void DrawInnerEllipse(CDC* pDC, const RECT* rect, COLORREF color);
    void DrawSelectionEllipse(CDC* pDC, const RECT* rect, COLORREF pen, COLORREF background);
    // An arc around (cx, cy) from (x1, y1) on, sweep degrees counter-clockwise.
    void DrawArc(CDC* pDC, int cx, int cy, int x1, int y1, float sweep, COLORREF color);
    void DrawArcWithPen(CDC* pDC, int cx, int cy, int x1, int y1, float sweep);

    // Image-coordinate forms: points through ImageToScreen, lengths by the
    // zoom.
    void DrawImageLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color);
    void DrawImageLineWithPen(CDC* pDC, int x1, int y1, int x2, int y2);
    void DrawImageShadowLine(CDC* pDC, int x1, int y1, int x2, int y2, COLORREF color);
    void DrawImageEllipse(CDC* pDC, const RECT* rect, COLORREF color);
    void DrawImageCircle(CDC* pDC, int x, int y, int radius, COLORREF color);
    void DrawImageDiamond(CDC* pDC, int x, int y, COLORREF fill, int half);

    // Text. Multi-line texts are split at carriage returns, at most
    // MaxTextLines lines.
    static constexpr int MaxTextLines = 256;
    CSize GetTextExtent(CDC* pDC, const char* text) const;
    CSize GetTextSize(CDC* pDC, const char* text) const { return GetTextExtent(pDC, text); }
    CSize DrawTextExtent(const char* text) const;
    CSize GetMultiLineTextExtent(CDC* pDC, const char* text) const;
    void DrawTextAt(CDC* pDC, const LOGFONTA* font, const POINT* point, const char* text);
    void DrawTextVCentered(CDC* pDC, const LOGFONTA* font, const POINT* point, const char* text,
                           COLORREF color, bool opaque, bool shadow);
    void DrawTextHCentered(CDC* pDC, const LOGFONTA* font, const POINT* point, const char* text,
                           COLORREF color, bool opaque, bool shadow);
    void DrawMultiLineText(CDC* pDC, const LOGFONTA* font, const POINT* point, const char* text);
    // The text on a white rounded box (its extent inflated by 4 and 2).
    void DrawTextBox(CDC* pDC, const LOGFONTA* font, const POINT* point, const char* text,
                     COLORREF color);
    void DrawMultiLineTextBox(CDC* pDC, const LOGFONTA* font, const POINT* point, const char* text);
    // The DC's font turned by angle degrees counter-clockwise.
    void DrawRotatedText(CDC* pDC, int x, int y, COLORREF color, double angle, const char* text);
    // A read-out of the tasks and the magnifier in an "Arial" font of the
    // label size: the text (lines split at carriage returns) on its box
    // below and right of the point, or plain when boxed is false.
    void DrawTextLabel(CDC* pDC, POINT point, const char* text, bool boxed);

protected:
    CViewPort();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    DECLARE_MESSAGE_MAP()

    // The resize layout: keeps the image centre in place relative to the
    // pane centre and scales the zoom by the change of the fit factor.
    void LayoutForSize();
    SIZE GetImageSizeValue() const;
    // Lays out and draws one label list.
    void DrawLabelList(CDC* pDC, int position, const CRect& client);
    // The extents of a list's shown labels, in order; their summed height.
    std::vector<CSize> GetLabelExtents(CDC* pDC, int position);
    int GetLabelListHeight(CDC* pDC, int position);
    // The part of the client a side list is laid out in.
    CRect GetSideArea(CDC* pDC, int side, const CRect& client);
    // Whether two corner lists of one edge would run into each other.
    bool DoCornersMeet(CDC* pDC, int left, int right, int width);
    // The client DC's raster mode (R2_*) for a drawing mode 0..6; 0 for none.
    static int RasterOfMode(int mode);

    COLORREF m_crTextBk = RGB(0, 0, 0);
    COLORREF m_crText;
    COLORREF m_crPen;
    int m_nPenWidth = 1;
    DIBHolder m_DIB;
    HPALETTE m_hPalette = nullptr;
    CPoint m_ptDIBOrigin;
    bool m_bDIBOriginSet = false;
    CFont m_LabelFont;
    bool m_bPixelByPixel = true;
    double m_dZoom = -1.0;
    double m_dFitFactor = -1.0;
    CPoint m_ptPan;
    CRect m_rcDisplay;
    CClientDC* m_pClientDC = nullptr;
    Array<ViewLabel*> m_Labels[ViewLabel::enPositionCount];
    ViewLabel* m_pSpecialLabels[enSpecialLabelCount] = {};
    bool m_bLabelsVisible = true;
    Delegate m_PaintEvent;
    bool m_bPaletteFlag = true;
    int m_nFontSize = InitialFontSize;
};
