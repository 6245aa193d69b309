#include "PreviewViews.h"

#include "ImageShow.h"
#include "MetaImage.h"
#include "MouseTracker.h"
#include "QuillonLog.h"
#include "ToolTasks.h"

#include "DibApi.h"

BEGIN_MESSAGE_MAP(PanView, MetaView)
ON_WM_LBUTTONDOWN()
ON_WM_MBUTTONDOWN()
ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(MoveWindowPanView, PanView)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(BlackView, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(WindowLevelView, MetaView)
ON_WM_LBUTTONDOWN()
ON_WM_MBUTTONDOWN()
ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

namespace
{

void TakeFocus(CWnd* window)
{
    if (CWnd::GetFocus() != window)
    {
        window->SetFocus();
    }
}

// The preview views show the ruler and no target mark, and leave the
// shared palette alone.
void SetUpPreview(MetaView* view)
{
    view->SetHighlight(false);
    view->ShowRuler(true);
    view->ShowTargetMark(false);
}

} // namespace

PanView::PanView()
{
    SetUpPreview(this);
}

PanView::~PanView() = default;

bool PanView::InitFromPane(MetaView* pane)
{
    ImageShow* show = pane != nullptr ? pane->GetShow() : nullptr;
    if (show == nullptr)
    {
        return false;
    }
    m_dBriefScale = show->BuildBriefImage();
    const DIBHolder brief = show->GetDIB();
    if (brief.IsEmpty() || m_dBriefScale <= 0.0)
    {
        return false;
    }
    m_BriefSize = {brief.GetWidth(), brief.GetHeight()};
    CopyViewState(*pane);
    SetDIB(brief);
    SetPixelByPixel(false);
    m_dZoom = pane->GetZoom() * m_dBriefScale;
    UpdateFitFactor();
    return true;
}

void PanView::GetImageSize(SIZE* size) const
{
    *size = m_BriefSize;
}

void PanView::ZoomAt(double zoom, POINT anchor)
{
    MetaView::ZoomAt(zoom, anchor);
    Invalidate(FALSE);
}

void PanView::DrawImage(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, RGB(0, 0, 0));
    CViewPort::DrawImage(pDC);
}

double PanView::GetPaneZoom() const
{
    return m_dZoom / m_dBriefScale;
}

void PanView::OnLButtonDown(UINT nFlags, CPoint point)
{
    DoButtonDown(MouseTask::enLeftButton, nFlags, point);
}

void PanView::OnMButtonDown(UINT nFlags, CPoint point)
{
    DoButtonDown(MouseTask::enMiddleButton, nFlags, point);
}

void PanView::OnRButtonDown(UINT nFlags, CPoint point)
{
    DoButtonDown(MouseTask::enRightButton, nFlags, point);
}

void DIBPanView::DoButtonDown(int button, UINT flags, POINT point)
{
    quillon::_debug("Enter DIBPanView::DoButtonDown, <%d,%d>", m_ptPan.x, m_ptPan.y);
    PanTask task(MouseTask::ModifiersOf(flags), this);
    DragTracker tracker(this);
    tracker.Track(&task, point, button);
}

ZoomView::ZoomView() : m_pOwnShow(std::make_unique<ImageShow>()) {}

ZoomView::~ZoomView() = default;

bool ZoomView::InitFromPane(MetaView* pane)
{
    if (!PanView::InitFromPane(pane))
    {
        return false;
    }
    pane->GetShow()->CopyDisplayStateTo(*m_pOwnShow);
    // The pane's zoom as laid out, also while its image still stores a fit.
    m_pOwnShow->SetZoom(GetPaneZoom());
    m_pOwnShow->SetPan(m_ptPan.x, m_ptPan.y);
    pane->CopyLabels(this);
    UpdateZoomText();
    return true;
}

void ZoomView::ZoomAt(double zoom, POINT anchor)
{
    PanView::ZoomAt(zoom, anchor);
    m_pOwnShow->SetZoom(GetPaneZoom());
    m_pOwnShow->SetPan(m_ptPan.x, m_ptPan.y);
    UpdateZoomText();
}

void ZoomView::UpdateZoomText()
{
    const double own = m_dZoom;
    m_dZoom = m_pOwnShow->GetZoom();
    PanView::UpdateZoomText();
    m_dZoom = own;
}

void ZoomView::DoButtonDown(int button, UINT flags, POINT point)
{
    TakeFocus(this);
    ZoomTask task(MouseTask::ModifiersOf(flags), this);
    DragTracker tracker(this);
    tracker.Track(&task, point, button);
}

MoveWindowPanView::MoveWindowPanView() = default;

MoveWindowPanView::~MoveWindowPanView() = default;

bool MoveWindowPanView::InitFromPane(MetaView* pane)
{
    if (!PanView::InitFromPane(pane))
    {
        return false;
    }
    pane->GetImageScreenRect(&m_rcPaneImage);
    // At most 1:1 the copy is the picture as the pane shows it; zoomed in,
    // the brief image itself, stretched at each paint.
    const CSize size = pane->GetZoom() <= 1.0 ? m_rcPaneImage.Size() : CSize(m_BriefSize);
    if (size.cx <= 0 || size.cy <= 0)
    {
        return false;
    }
    CClientDC dc(this);
    m_pPicture = std::make_unique<CMemoryDC>(&dc, size.cx, size.cy, 32);
    CRect target(CPoint(0, 0), size);
    CRect source(0, 0, m_BriefSize.cx, m_BriefSize.cy);
    PaintDIB(m_pPicture->GetSafeHdc(), &target, &source, GetDIB().GetDIB(), GetPalette());
    m_pSourcePane = pane;
    // The view stands on the image: its own mapping starts at its corner.
    GetClientRect(&m_rcDisplay);
    m_ptPan = CPoint(0, 0);
    return m_pPicture->IsValid();
}

BOOL MoveWindowPanView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void MoveWindowPanView::OnPaint()
{
    CPaintDC dc(this);
    DrawDIB(&dc, CRect(dc.m_ps.rcPaint));
}

void MoveWindowPanView::DrawDIB(CDC* pDC, CRect paint)
{
    if (m_pPicture == nullptr)
    {
        return;
    }
    if (paint.IsRectEmpty())
    {
        quillon::_debug("Enter MoveWindowPanView::DrawDIB, rc is EMPTY !!!");
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (client == m_pPicture->GetRect())
    {
        pDC->BitBlt(paint.left, paint.top, paint.Width(), paint.Height(), m_pPicture.get(),
                    paint.left, paint.top, SRCCOPY);
        return;
    }
    CRect wide = paint;
    wide.InflateRect(int(2 * m_dZoom), int(2 * m_dZoom));
    CRect part;
    ScreenToImageClamped(&part, wide);
    CRect onScreen;
    ImageToScreenRect(&onScreen, &part);
    if (onScreen.bottom < paint.bottom)
    {
        pDC->FillSolidRect(paint.left, onScreen.bottom, paint.Width(),
                           paint.bottom - onScreen.bottom, RGB(0, 0, 0));
    }
    if (onScreen.right < paint.right)
    {
        pDC->FillSolidRect(onScreen.right, paint.top, paint.right - onScreen.right, paint.Height(),
                           RGB(0, 0, 0));
    }
    if (part.IsRectEmpty())
    {
        pDC->FillSolidRect(&paint, RGB(0, 0, 0));
        return;
    }
    pDC->SetStretchBltMode(COLORONCOLOR);
    pDC->StretchBlt(onScreen.left, onScreen.top, onScreen.Width(), onScreen.Height(),
                    m_pPicture.get(), part.left, part.top, part.Width(), part.Height(), SRCCOPY);
}

void MoveWindowPanView::DoButtonDown(int button, UINT flags, POINT point)
{
    quillon::_debug("Enter MoveWindowPanView::DoButtonDown, <%d,%d>", m_ptPan.x, m_ptPan.y);
    MovePanTask task(MouseTask::ModifiersOf(flags), this);
    if (!task.TrackInParent(point, button))
    {
        return;
    }
    CRect rect;
    GetWindowRect(&rect);
    if (m_pSourcePane != nullptr)
    {
        m_pSourcePane->ScreenToClient(&rect);
    }
    m_ptPan = m_pSourcePane != nullptr ? rect.TopLeft() : CPoint(0, 0);
}

BOOL BlackView::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, RGB(0, 0, 0));
    return TRUE;
}

void BlackView::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(0, 0, 0));
}

WindowLevelView::WindowLevelView()
{
    SetUpPreview(this);
}

WindowLevelView::~WindowLevelView()
{
    DetachShow();
}

bool WindowLevelView::InitFromPane(MetaView* pane)
{
    ImageShow* show = pane != nullptr ? pane->GetShow() : nullptr;
    ImageShow* copy = show != nullptr ? show->SetupFOV() : nullptr;
    if (copy == nullptr)
    {
        return false;
    }
    DetachShow();
    m_pOwnShow.reset(copy);
    AttachShow(copy);
    CopyViewState(*pane);
    // The copy is the field of view itself, at the size it is shown.
    const CRect fov = pane->GetFieldOfViewScreenRect();
    m_dPaneZoom = pane->GetZoom();
    m_pPane = pane;
    m_dZoom = 1.0;
    m_ptPan = CPoint(fov.left - m_rcDisplay.left, fov.top - m_rcDisplay.top);
    pane->CopyLabels(this);
    ApplyViewToShow();
    UpdateImage();
    return true;
}

int WindowLevelView::GetWindowWidth() const
{
    const MetaImage* image = m_pOwnShow != nullptr ? m_pOwnShow->GetMetaImage() : nullptr;
    return image != nullptr && image->GetCurrentLUT() != nullptr ? image->GetWindowWidth() : -1;
}

int WindowLevelView::GetWindowCenter() const
{
    const MetaImage* image = m_pOwnShow != nullptr ? m_pOwnShow->GetMetaImage() : nullptr;
    return image != nullptr && image->GetCurrentLUT() != nullptr ? image->GetWindowCenter() : -1;
}

void WindowLevelView::UpdateZoomText()
{
    ViewLabel* label = GetSpecialLabel(enWindowLevelLabel);
    if (label != nullptr && GetWindowWidth() > 0)
    {
        Lettra text;
        text.Format("W:%d L:%d", GetWindowWidth(), GetWindowCenter());
        label->SetText(text);
    }
}

void WindowLevelView::DrawRuler(CDC* pDC, COLORREF line, COLORREF text)
{
    const double own = m_dZoom;
    m_dZoom = m_dPaneZoom;
    MetaView::DrawRuler(pDC, line, text);
    m_dZoom = own;
}

ORoi* WindowLevelView::GetShutter() const
{
    return m_pPane != nullptr ? m_pPane->GetShutter() : nullptr;
}

void WindowLevelView::OnLButtonDown(UINT nFlags, CPoint point)
{
    DoButtonDown(MouseTask::enLeftButton, nFlags, point);
}

void WindowLevelView::OnMButtonDown(UINT nFlags, CPoint point)
{
    DoButtonDown(MouseTask::enMiddleButton, nFlags, point);
}

void WindowLevelView::OnRButtonDown(UINT nFlags, CPoint point)
{
    DoButtonDown(MouseTask::enRightButton, nFlags, point);
}

void WindowLevelView::DoButtonDown(int button, UINT flags, POINT point)
{
    TakeFocus(this);
    if (m_pShow != nullptr)
    {
        m_pShow->BuildChain();
    }
    WindowLevelTask task(MouseTask::ModifiersOf(flags), this);
    DragTracker tracker(this);
    tracker.Track(&task, point, button);
}
