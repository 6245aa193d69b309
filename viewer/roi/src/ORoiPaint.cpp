// The pane side of Overlay and ORoi: hit testing, drawing, handles and
// selection, all through the pane that shows the owner.
#include "ORoi.h"

#include "AfxDC.h"
#include "ImageShow.h"
#include "MetaView.h"
#include "MouseTracker.h"
#include "ORoiTextLabel.h"
#include "RoiGeometry.h"
#include "RoiTasks.h"

#include <vector>

namespace
{

constexpr COLORREF BoundsColor = RGB(0, 255, 0);
// The raster mode of annotation drawing: copy the pen.
constexpr int CopyPenMode = 2;

// Keeps the pane's pen width for the time of one drawing.
class ScopedPenWidth
{
public:
    ScopedPenWidth(CViewPort& view, int width) : m_View(view), m_nWidth(view.GetPenWidth())
    {
        view.SetPenWidth(width);
    }
    ~ScopedPenWidth() { m_View.SetPenWidth(m_nWidth); }
    ScopedPenWidth(const ScopedPenWidth&) = delete;
    ScopedPenWidth& operator=(const ScopedPenWidth&) = delete;

private:
    CViewPort& m_View;
    int m_nWidth;
};

} // namespace

CViewPort* Overlay::GetViewPort() const
{
    return m_pOwner != nullptr ? m_pOwner->GetView() : nullptr;
}

POINT Overlay::ToScreen(CViewPort& view, POINT point) const
{
    return view.ImageToScreen(point.x, point.y);
}

int Overlay::HitTest(int x, int y, int tolerance, int)
{
    CViewPort* view = GetViewPort();
    if (!IsHitEnabled() || !IsShown() || view == nullptr)
    {
        return enHitNone;
    }
    RECT screen;
    view->ImageToScreenRect(&screen, &m_Rect);
    const POINT point = {x, y};
    const POINT corners[] = {{screen.left, screen.top},
                             {screen.right, screen.top},
                             {screen.left, screen.bottom},
                             {screen.right, screen.bottom}};
    for (const POINT& corner : corners)
    {
        if (IsPointNear(point, corner, tolerance))
        {
            return enHitHandle;
        }
    }
    return PointInRect(point, screen) ? enHitBody : enHitNone;
}

int Overlay::HitTestDefault(int x, int y, int flags)
{
    if (!IsHitEnabled() || !IsShown())
    {
        return enHitNone;
    }
    return HitTest(x, y, m_nHandleSize, flags);
}

bool Overlay::IsInRect(int left, int top, int right, int bottom, bool partial) const
{
    const CViewPort* view = GetViewPort();
    if (view == nullptr)
    {
        return false;
    }
    RECT area;
    view->ScreenToImageRect(&area, RECT{left, top, right, bottom});
    if (partial)
    {
        // Edges count: a horizontal or vertical line has a rectangle of no
        // height or width, which a strict intersection never finds.
        return m_Rect.left <= area.right && m_Rect.right >= area.left &&
               m_Rect.top <= area.bottom && m_Rect.bottom >= area.top;
    }
    return m_Rect.left >= area.left && m_Rect.right <= area.right && m_Rect.top >= area.top &&
           m_Rect.bottom <= area.bottom;
}

void Overlay::Redraw() const
{
    CViewPort* view = GetViewPort();
    if (view != nullptr && view->GetSafeHwnd() != nullptr)
    {
        view->Invalidate(FALSE);
    }
}

void Overlay::DrawBounds(CDC* pDC) const
{
    CViewPort* view = GetViewPort();
    if (view == nullptr || pDC == nullptr)
    {
        return;
    }
    RECT screen;
    view->ImageToScreenRect(&screen, &m_Rect);
    view->DrawFrame(pDC, &screen, BoundsColor);
}

void Overlay::DrawHandles(bool on, CDC* pDC)
{
    CViewPort* view = GetViewPort();
    if (!on || IsNoHandles() || view == nullptr || pDC == nullptr)
    {
        return;
    }
    RECT screen;
    view->ImageToScreenRect(&screen, &m_Rect);
    ScopedPenWidth width(*view, 1);
    view->SetRasterMode(CopyPenMode);
    view->DrawFrame(pDC, &screen, GetStyle().GetCurrentColor());
    const int middleX = (screen.left + screen.right) / 2;
    const int middleY = (screen.top + screen.bottom) / 2;
    view->DrawHandle(pDC, screen.left, middleY, m_nHandleSize);
    view->DrawHandle(pDC, screen.right, middleY, m_nHandleSize);
    view->DrawHandle(pDC, middleX, screen.top, m_nHandleSize);
    view->DrawHandle(pDC, middleX, screen.bottom, m_nHandleSize);
}

void Overlay::SetHighlighted(bool on, bool redraw)
{
    m_bHighlighted = on ? 1 : 0;
    RoiFont& style = GetStyle();
    style.SetCurrentColor(on || IsSelected() ? style.GetHighlightColor() : style.GetNormalColor());
    if (redraw)
    {
        Redraw();
    }
    OnNotify(on ? NotifyHighlighted : NotifyUnhighlighted);
}

void Overlay::Select(bool redraw)
{
    m_bSelected = 1;
    GetStyle().SetCurrentColor(GetStyle().GetHighlightColor());
    m_EventSelected.Invoke(this, nullptr);
    if (redraw)
    {
        Redraw();
    }
}

void Overlay::Deselect(bool redraw)
{
    m_bSelected = 0;
    if (!IsHighlighted())
    {
        GetStyle().SetCurrentColor(GetStyle().GetNormalColor());
    }
    m_EventDeselected.Invoke(this, nullptr);
    if (redraw)
    {
        Redraw();
    }
}

bool ORoi::OnHit(int code, int flags, int x, int y)
{
    MetaView* view = m_pOwner != nullptr ? m_pOwner->GetView() : nullptr;
    if (view == nullptr || IsLocked() ||
        (code != enHitBody && code != enHitHandle && code != enHitLabel) ||
        (code == enHitLabel && GetLinkedLabel() == nullptr))
    {
        return false;
    }
    const int modifiers = ((flags & MK_SHIFT) != 0 ? MouseTask::ShiftBit : 0) |
                          ((flags & MK_CONTROL) != 0 ? MouseTask::ControlBit : 0);
    RoiEditTask task(modifiers, view, this, code);
    DragTracker(view).Track(&task, {x, y}, MouseTask::enLeftButton);
    return true;
}

bool ORoi::OnKeyUp(UINT, UINT, UINT)
{
    return false;
}

bool ORoi::OnKeyDown(UINT key, UINT, UINT)
{
    int dx = 0;
    int dy = 0;
    switch (key)
    {
    case VK_LEFT:
        dx = -1;
        break;
    case VK_RIGHT:
        dx = 1;
        break;
    case VK_UP:
        dy = -1;
        break;
    case VK_DOWN:
        dy = 1;
        break;
    default:
        return false;
    }
    if (!IsLocked())
    {
        Offset(dx, dy);
        Redraw();
    }
    return true;
}

void ORoi::Draw(CDC* pDC)
{
    CViewPort* view = GetViewPort();
    if (!IsShown() || view == nullptr || pDC == nullptr)
    {
        return;
    }
    {
        ScopedPenWidth width(*view, GetStyle().GetLineWidth());
        view->SetRasterMode(GetStyle().GetDrawMode());
        DrawShape(pDC, *view);
    }
    if (ORoiTextLabel* label = GetLinkedLabel(); label != nullptr)
    {
        label->Draw(pDC);
    }
    if (IsSelected())
    {
        DrawHandles(true, pDC);
    }
}

void ORoi::DrawShape(CDC*, CViewPort&) {}

COLORREF ORoi::GetDrawColor() const
{
    return GetStyle().GetCurrentColor();
}

void ORoi::DrawStyledLine(CDC* pDC, CViewPort& view, POINT a, POINT b) const
{
    if (GetStyle().IsShadow())
    {
        view.DrawShadowLine(pDC, a.x, a.y, b.x, b.y, GetStyle().GetShadowColor());
    }
    view.DrawLine(pDC, a.x, a.y, b.x, b.y, GetDrawColor());
}

int ORoi::GetHitSegments(POINT*, int) const
{
    return 0;
}

int ORoi::HitTest(int x, int y, int tolerance, int flags)
{
    CViewPort* view = GetViewPort();
    if (!IsHitEnabled() || !IsShown() || view == nullptr)
    {
        return enHitNone;
    }
    if (ORoiTextLabel* label = GetLinkedLabel(); label != nullptr)
    {
        if (const int code = label->HitTest(x, y, tolerance, flags); code != enHitNone)
        {
            return code;
        }
    }
    int count = 0;
    GetPoints(count);
    if (count == 0)
    {
        return Overlay::HitTest(x, y, tolerance, flags);
    }
    const POINT point = {x, y};
    std::vector<POINT> handles(static_cast<std::size_t>(count));
    handles.resize(static_cast<std::size_t>(GetHandlePoints(handles.data(), count)));
    for (const POINT& handle : handles)
    {
        if (IsPointNear(point, ToScreen(*view, handle), tolerance))
        {
            return enHitHandle;
        }
    }
    std::vector<POINT> ends(static_cast<std::size_t>(2 * count + 2));
    const int written = GetHitSegments(ends.data(), static_cast<int>(ends.size()));
    for (int i = 0; i + 1 < written; i += 2)
    {
        const enSegmentHit hit = HitSegment(point, ToScreen(*view, ends[i]),
                                            ToScreen(*view, ends[i + 1]), float(tolerance));
        if (hit == enSegmentBody || (hit != enSegmentMiss && handles.empty()))
        {
            return enHitBody;
        }
        if (hit != enSegmentMiss)
        {
            return enHitHandle;
        }
    }
    return enHitNone;
}

void ORoi::DrawHandles(bool on, CDC* pDC)
{
    CViewPort* view = GetViewPort();
    int count = 0;
    GetPoints(count);
    if (count == 0)
    {
        Overlay::DrawHandles(on, pDC);
        return;
    }
    if (!on || IsNoHandles() || view == nullptr || pDC == nullptr)
    {
        return;
    }
    std::vector<POINT> handles(static_cast<std::size_t>(count));
    handles.resize(static_cast<std::size_t>(GetHandlePoints(handles.data(), count)));
    ScopedPenWidth width(*view, 1);
    view->SetRasterMode(CopyPenMode);
    for (const POINT& handle : handles)
    {
        const POINT screen = ToScreen(*view, handle);
        view->DrawHandle(pDC, screen.x, screen.y, m_nHandleSize);
    }
}
