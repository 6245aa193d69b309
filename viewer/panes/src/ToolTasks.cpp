#include "ToolTasks.h"

#include "ImageShow.h"
#include "MedImage.h"
#include "MetaImage.h"
#include "MetaMatrix.h"
#include "MetaView.h"
#include "MouseTracker.h"
#include "QuillonLibrary.h"

#include <cmath>
#include <cstdlib>

namespace
{

constexpr int ControlFactor = 10;

// The MK_ flags of the buttons and keys held now.
UINT HeldKeyFlags()
{
    UINT flags = 0;
    const std::pair<int, UINT> keys[] = {{VK_LBUTTON, MK_LBUTTON},
                                         {VK_RBUTTON, MK_RBUTTON},
                                         {VK_MBUTTON, MK_MBUTTON},
                                         {VK_SHIFT, MK_SHIFT},
                                         {VK_CONTROL, MK_CONTROL}};
    for (const auto& [key, flag] : keys)
    {
        flags |= GetKeyState(key) < 0 ? flag : 0;
    }
    return flags;
}

// A drag's offset as the pan tasks take it: ten times with Ctrl, along the
// dominant axis only with Shift.
POINT DragOffset(int modifiers, int dx, int dy)
{
    const int factor = (modifiers & MouseTask::ControlBit) != 0 ? ControlFactor : 1;
    dx *= factor;
    dy *= factor;
    if ((modifiers & MouseTask::ShiftBit) != 0)
    {
        (std::abs(dx) >= std::abs(dy) ? dy : dx) = 0;
    }
    return POINT{dx, dy};
}

} // namespace

void ArrowTask::OnBegin(int, int) {}

void ArrowTask::OnMove(int, int, int, int, int, int) {}

void ArrowTask::OnEnd(int, int, int, int, int, int) {}

void ClickForwardTask::OnBegin(int x, int y)
{
    CWnd* parent = m_pView != nullptr ? m_pView->GetParent() : nullptr;
    if (parent == nullptr)
    {
        return;
    }
    POINT point = {x, y};
    m_pView->ClientToScreen(&point);
    parent->ScreenToClient(&point);
    // The parent's own loop takes the capture over; ours ends on it.
    Stop();
    parent->SendMessage(MouseTask::ButtonDownMessage(m_nButton), HeldKeyFlags(),
                        MAKELPARAM(short(point.x), short(point.y)));
}

void ClickForwardTask::OnMove(int, int, int, int, int, int) {}

void ClickForwardTask::OnEnd(int, int, int, int, int, int) {}

void DragStartTool::OnBegin(int, int)
{
    m_bStarted = false;
    OnSetCursor();
}

void DragStartTool::OnMove(int x, int y, int prevX, int prevY, int startX, int startY)
{
    if (m_bStarted || (x == prevX && y == prevY) || m_pView == nullptr)
    {
        return;
    }
    m_bStarted = true;
    StartDrag(startX, startY);
}

void DragStartTool::OnEnd(int, int, int, int, int, int)
{
    m_bStarted = false;
}

void ZoomDragTool::StartDrag(int, int)
{
    m_pView->BeginZoomDrag();
    m_pView->CommitZoom();
}

void PanDragTool::StartDrag(int, int)
{
    m_pView->BeginPanDrag();
    m_pView->CommitPan();
}

void WindowLevelDragTool::StartDrag(int, int)
{
    int width = 0;
    int center = 0;
    m_pView->OnWindowLevelStart(&width, &center);
    m_pView->OnWindowLevelEnd();
}

ZoomOrPanTool::ZoomOrPanTool(int modifiers, MetaView* view) : DragStartTool(modifiers, view) {}

bool ZoomOrPanTool::IsOnImage(int x, int y) const
{
    if (m_pView == nullptr)
    {
        return false;
    }
    CRect image;
    m_pView->GetImageScreenRect(&image);
    return image.PtInRect(CPoint(x, y)) != FALSE;
}

void ZoomOrPanTool::OnBegin(int x, int y)
{
    m_ptLast = {x, y};
    DragStartTool::OnBegin(x, y);
}

void ZoomOrPanTool::OnSetCursor()
{
    const UINT group = IsOnImage(m_ptLast.x, m_ptLast.y) ? 175 : 153;
    if (HCURSOR cursor = GetQuillonCursor(group))
    {
        ::SetCursor(cursor);
    }
}

void ZoomOrPanTool::OnHover(UINT, int x, int y)
{
    m_ptLast = {x, y};
}

void ZoomOrPanTool::StartDrag(int startX, int startY)
{
    if (IsOnImage(startX, startY))
    {
        m_pView->BeginPanDrag();
        m_pView->CommitPan();
    }
    else
    {
        m_pView->BeginZoomDrag();
        m_pView->CommitZoom();
    }
}

Lettra PixelValueTask::ReadOut(MetaView* view, int x, int y)
{
    ImageShow* show = view != nullptr ? view->GetShow() : nullptr;
    const MetaImage* image = show != nullptr ? show->GetMetaImage() : nullptr;
    const MetaMatrix* matrix = image != nullptr ? image->GetMatrix() : nullptr;
    if (matrix == nullptr)
    {
        return Lettra();
    }
    FloatPoint screen = {float(x), float(y)};
    FloatPoint at;
    view->ScreenToImageF(&at, &screen);
    const int column = int(std::floor(at.x));
    const int row = int(std::floor(at.y));
    if (column < 0 || row < 0 || column >= matrix->GetWidth() || row >= matrix->GetHeight())
    {
        return Lettra();
    }
    const int value = matrix->GetPixelValue(column, row);
    Lettra text;
    if (matrix->GetData()->nSamplesPerPixel == 3)
    {
        const int first = value & 0xFF;
        const int third = (value >> 16) & 0xFF;
        const bool bgr = matrix->GetData()->nConvertedToBGR != 0;
        text.Format("(%d,%d) = <%d,%d,%d>", column, row, bgr ? third : first, (value >> 8) & 0xFF,
                    bgr ? first : third);
    }
    else
    {
        text.Format("(%d,%d) = %d", column, row, value);
    }
    return text;
}

void PixelValueTask::Show(int x, int y)
{
    m_strText = ReadOut(m_pView, x, y);
    if (m_pView == nullptr || m_pView->m_hWnd == nullptr)
    {
        return;
    }
    // The frame is painted again without the previous read-out first.
    CClientDC dc(m_pView);
    m_pView->Draw(&dc);
    if (!m_strText.IsEmpty())
    {
        m_pView->DrawTextLabel(&dc, POINT{x, y}, m_strText, true);
    }
}

void PixelValueTask::OnBegin(int x, int y)
{
    Show(x, y);
}

void PixelValueTask::OnMove(int x, int y, int, int, int, int)
{
    Show(x, y);
}

void PixelValueTask::OnEnd(int, int, int, int, int, int)
{
    if (m_pView != nullptr && m_pView->m_hWnd != nullptr)
    {
        m_pView->Invalidate(FALSE);
    }
}

void WindowLevelTask::OnBegin(int, int)
{
    m_nWidth = -1;
    m_nCenter = -1;
    if (m_pView == nullptr)
    {
        return;
    }
    m_nStep = m_pView->GetWindowLevelStep();
    m_pView->OnWindowLevelStart(&m_nWidth, &m_nCenter);
    OnSetCursor();
}

void WindowLevelTask::OnMove(int x, int y, int prevX, int prevY, int, int)
{
    if (m_pView == nullptr || m_nWidth < 0)
    {
        return;
    }
    const int step = m_nStep * ((m_nModifiers & ControlBit) != 0 ? ControlFactor : 1);
    m_nWidth = std::max(1, m_nWidth + (x - prevX) * step);
    m_nCenter += (y - prevY) * step;
    m_pView->SetWindowLevelText(m_nWidth, m_nCenter);
}

void WindowLevelTask::OnEnd(int, int, int, int, int, int)
{
    if (m_pView != nullptr && m_nWidth > 0)
    {
        m_pView->OnWindowLeveled(m_nWidth, m_nCenter);
    }
}

void ZoomTask::OnBegin(int x, int y)
{
    m_ptAnchor = {x, y};
    m_dStartZoom = m_pView != nullptr ? m_pView->GetZoom() : 1.0;
    OnSetCursor();
}

void ZoomTask::OnMove(int, int y, int, int, int, int startY)
{
    if (m_pView == nullptr || m_dStartZoom <= 0.0)
    {
        return;
    }
    const double zoom = m_dStartZoom * std::exp2(double(startY - y) / ZoomDoublingPixels);
    m_pView->ZoomAt(m_pView->ClampZoom(zoom), m_ptAnchor);
}

void ZoomTask::OnEnd(int, int, int, int, int, int)
{
    if (m_pView != nullptr)
    {
        m_pView->OnZoomEnd();
    }
}

void ZoomTask::OnKeyDown(UINT key, UINT, UINT)
{
    if (key == VK_TAB && m_pView != nullptr)
    {
        m_pView->ZoomAt(1.0, m_ptAnchor);
        m_dStartZoom = 1.0;
    }
}

void PanTask::OnBegin(int, int)
{
    m_ptStartPan = m_pView != nullptr ? POINT(m_pView->GetPan()) : POINT{0, 0};
    OnSetCursor();
}

void PanTask::OnMove(int x, int y, int, int, int startX, int startY)
{
    if (m_pView == nullptr)
    {
        return;
    }
    const POINT offset = DragOffset(m_nModifiers, x - startX, y - startY);
    const CPoint pan = m_pView->GetPan();
    m_pView->PanBy(m_ptStartPan.x + offset.x - pan.x, m_ptStartPan.y + offset.y - pan.y);
}

void PanTask::OnEnd(int, int, int, int, int, int)
{
    if (m_pView != nullptr)
    {
        m_pView->OnPanEnd();
    }
}

RectSelectTask::RectSelectTask(int modifiers, MetaView* view, int action)
    : MouseTask(modifiers, view), m_nAction(action)
{
}

void RectSelectTask::OnBegin(int, int)
{
    m_rcSelected.SetRectEmpty();
    OnSetCursor();
}

void RectSelectTask::OnMove(int x, int y, int, int, int startX, int startY)
{
    CRect band(startX, startY, x, y);
    band.NormalizeRect();
    DrawBand(band);
}

void RectSelectTask::OnEnd(int x, int y, int, int, int startX, int startY)
{
    Repaint();
    const MSG& msg = GetCurrentMessage();
    // Esc abandons the band.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
    {
        return;
    }
    CRect band(startX, startY, x, y);
    band.NormalizeRect();
    if (band.Width() < MinSide || band.Height() < MinSide)
    {
        return;
    }
    m_rcSelected = band;
    OnSelected(band);
}

void RectSelectTask::OnCancel(int, int, int, int, int, int)
{
    Repaint();
}

void RectSelectTask::OnSelected(const CRect& rect)
{
    auto* pane = dynamic_cast<MedImage*>(m_pView);
    if (pane == nullptr)
    {
        return;
    }
    if (m_nAction == enAutoWindowLevel)
    {
        pane->AutoWindowLevelRect(rect);
    }
    else if (m_nAction == enZoomToRect)
    {
        pane->ZoomToScreenRect(rect);
    }
}

void RectSelectTask::DrawBand(const CRect& band)
{
    if (m_pView == nullptr || m_pView->m_hWnd == nullptr)
    {
        return;
    }
    // The frame is painted again without the previous band first.
    CClientDC dc(m_pView);
    m_pView->Draw(&dc);
    m_pView->DrawFrame(&dc, &band, m_pView->GetPenColor());
}

void RectSelectTask::Repaint()
{
    if (m_pView != nullptr && m_pView->m_hWnd != nullptr)
    {
        m_pView->Invalidate(FALSE);
    }
}

bool MovePanTask::TrackInParent(POINT point, int button)
{
    CWnd* parent = m_pView != nullptr ? m_pView->GetParent() : nullptr;
    if (parent == nullptr)
    {
        return false;
    }
    m_pView->ClientToScreen(&point);
    parent->ScreenToClient(&point);
    DragTracker tracker(parent);
    tracker.Track(this, point, button);
    return true;
}

void MovePanTask::OnBegin(int, int)
{
    m_ptStartCorner = {0, 0};
    CWnd* parent = m_pView != nullptr ? m_pView->GetParent() : nullptr;
    if (parent == nullptr)
    {
        return;
    }
    CRect rect;
    m_pView->GetWindowRect(&rect);
    parent->ScreenToClient(&rect);
    m_ptStartCorner = rect.TopLeft();
    OnSetCursor();
}

void MovePanTask::OnMove(int x, int y, int, int, int startX, int startY)
{
    CWnd* parent = m_pView != nullptr ? m_pView->GetParent() : nullptr;
    if (parent == nullptr)
    {
        return;
    }
    const POINT offset = DragOffset(m_nModifiers, x - startX, y - startY);
    m_pView->SetWindowPos(nullptr, m_ptStartCorner.x + offset.x, m_ptStartCorner.y + offset.y, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    parent->UpdateWindow();
}

void MovePanTask::OnEnd(int, int, int, int, int, int) {}
