// MetaView: the pane window that shows one ImageShow. It ties the view's
// zoom and pan to the geometry stored in the image, hands the image the
// field of view it has to render (the visible part, at the size it takes on
// screen, so the DIB it builds is painted 1:1 where the mapping puts it),
// and offers the window/level, orientation and release commands the mouse
// tasks and the grid use, the zoom and window/level read-outs, a ruler, a
// target mark and the shutter layer. The view never owns its image.
#pragma once

#include "CViewPort.h"

#include <cstdint>

class DicomLookupTable;
class ImageShow;
class ORoi;

class QUILLON_API MetaView : public CViewPort
{
    DECLARE_DYNCREATE(MetaView)

public:
    // The bounds ClampZoom keeps the zoom within, unless the fit factor
    // lies beyond them.
    static constexpr double MinZoom = 0.1;
    static constexpr double MaxZoom = 10.0;
    // Display modes of an image that make the view fit it on attaching.
    static bool IsFitDisplayMode(int mode);

    MetaView();
    ~MetaView() override;

    // Rebuilds the image's chain, then invalidates (or paints at once).
    virtual void UpdateImage();
    virtual void UpdateImageNow();
    virtual void ReleaseImageData();
    virtual void ReleaseDisplayCache();
    virtual void ReleasePixelData();
    virtual void ResetImage();
    virtual void FlipHorizontal();
    virtual void FlipVertical();
    // Quarter turns counter-clockwise; the image keeps its centre on screen.
    virtual void Rotate(int quarterTurns);
    virtual void Invert();
    // Zooms keeping the image point under the window point where it is.
    virtual void ZoomAt(double zoom, POINT anchor);
    virtual void CommitZoom();
    virtual void OnZoomEnd();
    // Moves the picture; the image is not rendered again.
    virtual void PanBy(int dx, int dy);
    virtual void CommitPan();
    virtual void OnPanEnd();
    virtual void BeginZoomDrag();
    virtual void BeginPanDrag();
    // The current window (-1, -1 without a table); the table is applied
    // again.
    virtual void OnWindowLevelStart(int* width, int* center);
    // The window of a drag in progress: set, shown in the read-out and
    // painted at once.
    virtual void SetWindowLevelText(int width, int center);
    virtual void OnWindowLevelEnd();
    virtual void OnWindowLeveled(int width, int center);
    // The step of the window/level drag: 2 for CT and MR, else by the bits
    // stored; 1 without an image.
    virtual int GetWindowLevelStep();
    // A scale bar of the pixel spacing at the right edge.
    virtual void DrawRuler(CDC* pDC, COLORREF line, COLORREF text);
    virtual void UpdateZoomText();
    // The read-out labels: image size, window/level and magnification.
    virtual void BuildOverlayText();
    virtual void RemoveInfoLabels();
    virtual bool AttachShow(ImageShow* show);
    virtual void DetachImage();
    virtual bool AutoWindowLevel();

    void GetImageSize(SIZE* size) const override;
    void DrawImage(CDC* pDC) override;
    void DrawOverlayLayerBelow(CDC* pDC) override;
    void DrawOverlayLayerAbove(CDC* pDC) override;
    void CopyViewState(const CViewPort& other) override;

    ImageShow* GetShow() const { return m_pShow; }
    void SetPan(int x, int y);
    void SetZoom(double zoom);
    void SetZoomClamped(double zoom);
    double ClampZoom(double zoom) const;
    // Zoom and pan into the image, and the field of view it renders next.
    void ApplyViewToShow();
    // Makes the table (one of the image's) current; true when that changed
    // anything, after which the view is updated.
    bool ApplyLookupTable(DicomLookupTable* table);
    bool FitsInRect(RECT rect) const;
    void GetInnerRect(RECT* out) const;
    void DetachShow();
    void OnAfterDrawImage(const void* sender, DelegateArgs* args);
    // Sets the image's window and renders the view again; nothing without
    // an image.
    void SetWindowLevel(int width, int center);
    // Drops the cached field of view, then UpdateImage.
    void RedrawImage();
    void ShowRuler(bool show) { m_bRulerShown = show; }
    bool IsRulerShown() const { return m_bRulerShown; }
    void ShowTargetMark(bool show) { m_bTargetShown = show; }
    bool IsTargetShown() const { return m_bTargetShown; }
    // The side lists hold the image's orientation letters.
    void UpdateOrientationLabels(ImageShow* show);
    // Zooms and pans so that the image rectangle fills the display.
    void ZoomToImageRect(const RECT& rect);
    // Stores the first gate of the shutter layer; returns the old value.
    bool SetShutterLayer(bool enabled);
    bool IsShutterLayerEnabled() const { return m_bShutterEnabled; }
    bool IsShutterLayerShown() const { return m_bShutterShown; }
    void SetShutterLayerShown(bool shown) { m_bShutterShown = shown; }
    // The window rectangle the field of view's DIB covers.
    CRect GetFieldOfViewScreenRect() const;
    // The shutter annotation of the image when both gates are open.
    virtual ORoi* GetShutter() const;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    // The visible part of the image, widened by the support of the display
    // filter and held within the image, and the window size it maps to.
    void ComputeFieldOfView(RECT* fov, SIZE* screenSize) const;
    void DrawTargetMark(CDC* pDC);
    DelegateHandler* MakeAfterDrawHandler();

    bool m_bShutterEnabled = true;
    bool m_bShutterShown = true;
    bool m_bRulerShown = true;
    bool m_bTargetShown = false;
    ImageShow* m_pShow = nullptr;
    // The image size last reported, kept while the pixels are released.
    mutable SIZE m_LastImageSize = {0, 0};
};
