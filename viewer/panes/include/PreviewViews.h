// The temporary views of a pane's drags. For a window/level, zoom or pan
// drag the pane does not redraw itself on every move: it lays one of these
// over its client area, fills it from its own state, hands it the press and
// lets it run the drag with its task; when the drag is over the pane reads
// the result back and destroys the view.
#pragma once

#include "MemoryDC.h"
#include "MetaView.h"

#include <memory>

class DragTracker;
class ImageShow;

// The pane's picture as the reduced (brief) image of its show, painted
// scaled by the zoom; cheap to move and zoom.
class QUILLON_API PanView : public MetaView
{
public:
    PanView();
    ~PanView() override;

    // False without a pane or an image in it.
    virtual bool InitFromPane(MetaView* pane);
    void GetImageSize(SIZE* size) const override;
    void ZoomAt(double zoom, POINT anchor) override;
    // The brief picture alone, over black: the view has no image to render.
    void DrawImage(CDC* pDC) override;
    // The brief image's scale against the full image; the view's zoom is
    // the pane's zoom times that.
    double GetBriefScale() const { return m_dBriefScale; }
    // The zoom a pane takes back.
    double GetPaneZoom() const;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    // Runs the view's task in the loop of the button pressed.
    virtual void DoButtonDown(int button, UINT flags, POINT point) = 0;

    SIZE m_BriefSize = {0, 0};
    double m_dBriefScale = 1.0;
};

// Pans the brief picture with PanTask.
class QUILLON_API DIBPanView : public PanView
{
protected:
    void DoButtonDown(int button, UINT flags, POINT point) override;
};

// The brief picture as one child window that the drag moves whole over a
// BlackView (MovePanTask): nothing is drawn again while it moves. The
// window stands where the pane shows the image; after the drag the pan is
// the window's top-left corner in the pane's client coordinates.
class QUILLON_API MoveWindowPanView : public PanView
{
public:
    MoveWindowPanView();
    ~MoveWindowPanView() override;

    // Also makes the off-screen copy of the picture and remembers the pane.
    bool InitFromPane(MetaView* pane) override;
    // The image's rectangle on the pane, where the view is to stand.
    CRect GetPaneImageRect() const { return m_rcPaneImage; }
    CMemoryDC* GetPicture() const { return m_pPicture.get(); }

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    void DoButtonDown(int button, UINT flags, POINT point) override;
    void DrawDIB(CDC* pDC, CRect paint);

    CWnd* m_pSourcePane = nullptr;
    std::unique_ptr<CMemoryDC> m_pPicture;
    CRect m_rcPaneImage;
};

// A black backdrop under a MoveWindowPanView.
class QUILLON_API BlackView : public CWnd
{
protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// Zooms the brief picture with ZoomTask. An image of its own carries the
// pane's display state at the pane's scale, so the read-out speaks of the
// zoom the pane will take.
class QUILLON_API ZoomView : public PanView
{
public:
    ZoomView();
    ~ZoomView() override;

    // Also takes the pane's display state and labels.
    bool InitFromPane(MetaView* pane) override;
    void ZoomAt(double zoom, POINT anchor) override;
    void UpdateZoomText() override;
    ImageShow* GetOwnShow() const { return m_pOwnShow.get(); }

protected:
    void DoButtonDown(int button, UINT flags, POINT point) override;

    std::unique_ptr<ImageShow> m_pOwnShow;
};

// Shows the field of view of the pane's image as a copy of its own, mapped
// 1:1 where the pane shows it, and windows that copy with WindowLevelTask.
class QUILLON_API WindowLevelView : public MetaView
{
public:
    WindowLevelView();
    ~WindowLevelView() override;

    // False without a pane, an image, or a field of view to copy.
    bool InitFromPane(MetaView* pane);
    // The window the drag left (-1, -1 before one).
    int GetWindowWidth() const;
    int GetWindowCenter() const;
    // The read-outs and the ruler speak of the pane's image: only the
    // window changes, and the ruler measures at the pane's zoom.
    void UpdateZoomText() override;
    void DrawRuler(CDC* pDC, COLORREF line, COLORREF text) override;
    // The pane's shutter: the view stands over the pane's client area from
    // its corner, so the shutter's place on the pane is its place here.
    ORoi* GetShutter() const override;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    void DoButtonDown(int button, UINT flags, POINT point);

    std::unique_ptr<ImageShow> m_pOwnShow;
    double m_dPaneZoom = 1.0;
    MetaView* m_pPane = nullptr;
};
