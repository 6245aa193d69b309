#include "PreviewViews.h"

#include "ImageShow.h"
#include "MetaImage.h"
#include "MouseTracker.h"
#include "QuillonLog.h"
#include "ToolTasks.h"

BEGIN_MESSAGE_MAP(PanView, MetaView)
ON_WM_LBUTTONDOWN()
ON_WM_MBUTTONDOWN()
ON_WM_RBUTTONDOWN()
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

void ZoomView::DoButtonDown(int button, UINT flags, POINT point)
{
    TakeFocus(this);
    ZoomTask task(MouseTask::ModifiersOf(flags), this);
    DragTracker tracker(this);
    tracker.Track(&task, point, button);
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
