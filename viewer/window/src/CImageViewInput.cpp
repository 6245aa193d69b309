// CImageView: keys, wheel turns and presses on the view itself, published
// as the view's events and handled by its own subscribed handlers, the
// hot pane's stepping through the series, and the view's clipboard of
// annotations.
#include "CImageView.h"

#include "ImageShow.h"
#include "MedImage.h"
#include "MouseTracker.h"
#include "QuillonLog.h"
#include "ViewTasks.h"

#include <cmath>
#include <cstdlib>
#include <vector>

using quillon::_debug;

namespace
{

bool IsControlDown()
{
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

// The factor of one wheel step at a zoom: finer steps the smaller the
// image already is.
double WheelFactor(double zoom, int delta)
{
    struct Band
    {
        double below;
        double in;
        double out;
    };
    static const Band bands[] = {
        {0.02, 1.6, 0.4}, {0.04, 1.4, 0.6}, {0.07, 1.3, 0.7}, {0.1, 1.2, 0.8}};
    for (const Band& band : bands)
    {
        if (zoom < band.below)
        {
            return delta > 0 ? band.in : band.out;
        }
    }
    return delta >= 0 ? 1.1 : 0.9;
}

// A pan correction of one pixel is rounding, not movement.
int PanCorrection(int difference)
{
    return std::abs(difference) == 1 ? 0 : difference;
}

} // namespace

// Keys and wheel turns reach the view from its panes, which pass on what
// they do not take.
void CImageView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    KeyArgs args(nChar, nRepCnt, nFlags);
    KeyDown.Invoke(this, &args);
    CWnd* owner = GetOwner();
    const MSG* message = GetCurrentMessage();
    if (!args.m_bHandled && owner != nullptr && owner->m_hWnd != nullptr && message != nullptr)
    {
        owner->SendMessage(message->message, message->wParam, message->lParam);
    }
    Default();
}

BOOL CImageView::OnMouseWheel(UINT nFlags, short zDelta, CPoint)
{
    const bool control = (nFlags & MK_CONTROL) != 0;
    const bool shift = (nFlags & MK_SHIFT) != 0;
    Delegate& event = control ? (shift ? CtrlShiftMouseWheel : CtrlMouseWheel)
                              : (shift ? ShiftMouseWheel : MouseWheel);
    ValueArgs args(static_cast<int>(nFlags), zDelta);
    event.Invoke(this, &args);
    Default();
    return TRUE;
}

void CImageView::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    Default();
    PointArgs args(nFlags, point);
    LeftButtonDblClk.Invoke(this, &args);
}

void CImageView::OnLButtonDown(UINT nFlags, CPoint point)
{
    Default();
    const int mode = (nFlags & MK_CONTROL) != 0 ? MouseTask::ControlBit : 0;
    switch (m_nLeftTool)
    {
    case MouseTaskSet::enPageScrollTool:
        RunPageScroll(MouseTask::enLeftButton, mode, false, point);
        break;
    case MouseTaskSet::enInteractivePageScrollTool:
        RunPageScroll(MouseTask::enLeftButton, mode, true, point);
        break;
    case MouseTaskSet::enHandOverTool:
        ForwardPress(WM_LBUTTONDOWN, nFlags, point);
        break;
    default:
        break;
    }
}

void CImageView::OnRButtonDown(UINT nFlags, CPoint point)
{
    Default();
    const int mode = (nFlags & MK_CONTROL) != 0 ? MouseTask::ControlBit
                     : (nFlags & MK_SHIFT) != 0 ? MouseTask::ShiftBit
                                                : 0;
    RunPageScroll(MouseTask::enRightButton, mode, false, point);
}

void CImageView::RunPageScroll(int button, int mode, bool interactive, POINT point)
{
    PageScrollTask task(mode, this, HotImageScrolling, HotImageScrolled, interactive);
    DragTracker tracker(this);
    tracker.Track(&task, point, button);
    PageChanged.Invoke(this, nullptr);
}

void CImageView::ForwardPress(UINT message, UINT flags, POINT point)
{
    CWnd* parent = GetParent();
    if (parent == nullptr)
    {
        return;
    }
    ClientToScreen(&point);
    parent->ScreenToClient(&point);
    parent->SendMessage(message, flags, MAKELPARAM(short(point.x), short(point.y)));
}

void CImageView::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == PaneLayout::TimerId)
    {
        PaneLayout::OnTimer(nIDEvent);
        return;
    }
    if (m_nTimer == 0 || nIDEvent != static_cast<UINT_PTR>(m_nTimer))
    {
        Default();
        return;
    }
    KillTimer(m_nTimer);
    m_nTimer = 0;
    ValueArgs args(1, 1);
    HotImageScrolled.Invoke(this, &args);
    PageChanged.Invoke(this, nullptr);
}

void CImageView::OnEventKeyDown(const void*, DelegateArgs* args)
{
    _debug("Enter CImageView::OnEventKeyDown ");
    auto* key = static_cast<KeyArgs*>(args);
    key->m_bHandled = true;
    if (key->m_nKey == VK_DELETE)
    {
        if (MedImage* pane = GetHotPaneWindow())
        {
            pane->DeleteSelectedRois();
        }
        return;
    }
    if (IsControlDown())
    {
        switch (key->m_nKey)
        {
        case 'C':
            CopyAnnotations();
            return;
        case 'X':
            CutAnnotations();
            return;
        case 'V':
            PasteAnnotations();
            return;
        case 'Z':
            Undo();
            return;
        case VK_PRIOR:
        case VK_NEXT:
            // Series navigation is the viewer window's (Ctrl+Page Up and
            // Down on the hot view); it hears the key when the view lets
            // it go.
            key->m_bHandled = false;
            return;
        default:
            break;
        }
    }
    switch (key->m_nKey)
    {
    case VK_PRIOR:
        PageUp();
        break;
    case VK_NEXT:
        PageDown();
        break;
    case VK_HOME:
        FirstPage();
        break;
    case VK_END:
        LastPage();
        break;
    case VK_UP:
        LineUp();
        break;
    case VK_DOWN:
        LineDown();
        break;
    default:
        key->m_bHandled = false;
        break;
    }
}

void CImageView::OnEventMouseWheel(const void*, DelegateArgs* args)
{
    const auto* wheel = static_cast<ValueArgs*>(args);
    const int delta = wheel->m_nExtra;
    // A turn towards the user, or none, goes forward.
    const int step = delta <= 0 ? 1 : -1;
    const bool control = (wheel->m_nValue & MK_CONTROL) != 0;
    const bool shift = (wheel->m_nValue & MK_SHIFT) != 0;
    if (control && shift)
    {
        if (step > 0)
        {
            ShowNextSeries();
        }
        else
        {
            ShowPrevSeries();
        }
        return;
    }
    if (control)
    {
        ZoomAtCursor(delta);
        return;
    }
    if (shift)
    {
        ImageShow* old = GetHotImage();
        StepPage(step, true);
        if (GetHotImage() != old)
        {
            FireHotImageSelChanged(GetHotImage(), old);
        }
        return;
    }
    MedImage* pane = PaneUnderCursor();
    if (pane == nullptr)
    {
        return;
    }
    int index = PaneIndex(pane);
    if (pane->GetShow() == nullptr)
    {
        index = 0;
    }
    if (index != m_nHotPane)
    {
        SetHighLight(index);
    }
    ScrollHotImage(step, false);
    if (m_nTimer != 0)
    {
        KillTimer(m_nTimer);
    }
    m_nTimer = static_cast<int>(SetTimer(WheelTimerId, WheelTimerPeriod, nullptr));
}

void CImageView::OnEventLeftButtonDblClk(const void*, DelegateArgs*)
{
    SwapLayout();
}

void CImageView::EnableDblClk(bool enable)
{
    if (enable)
    {
        LeftButtonDblClk.Add(MakeHandler(this, &CImageView::OnEventLeftButtonDblClk,
                                         "CImageView::OnEventLeftButtonDblClk"));
    }
    else
    {
        LeftButtonDblClk.Remove(MakeHandler(this, &CImageView::OnEventLeftButtonDblClk, ""));
    }
}

void CImageView::OnEventHotImageScrolling(const void*, DelegateArgs* args)
{
    const auto* scroll = static_cast<ValueArgs*>(args);
    if (scroll != nullptr)
    {
        ScrollHotImage(scroll->m_nValue, scroll->m_nExtra != 0);
    }
}

// The scrolling ended: the page is laid out again around the image the hot
// pane stepped to.
void CImageView::OnEventHotImageScrolled(const void*, DelegateArgs* args)
{
    ImageShow* hot = GetHotImage();
    if (args == nullptr || hot == nullptr)
    {
        return;
    }
    PageToImage(m_nHotPane, hot);
    const int pane = PaneOf(hot);
    if (pane >= 0)
    {
        SetHighLight(pane);
    }
    FireHotImageSelChanged(hot, nullptr);
}

void CImageView::ScrollHotImage(int step, bool wrap)
{
    MedImage* pane = GetHotPaneWindow();
    ImageShow* hot = GetHotImage();
    const SeriesShow* series = m_Layout.GetCurrentSeries();
    if (step == 0 || m_Layout.GetNbOfShown() == 0 || pane == nullptr || hot == nullptr ||
        series == nullptr)
    {
        return;
    }
    const int count = series->GetNbOfImage();
    int index = m_Layout.IndexOfImage(hot) + step;
    if (index < 0 || index >= count)
    {
        if (!wrap)
        {
            return;
        }
        index = 0;
    }
    ImageShow* reached = series->GetImageAt(index);
    if (reached == nullptr || reached == hot)
    {
        return;
    }
    // An image another pane of the page shows as well keeps its pixels and
    // that pane.
    MedImage* other = nullptr;
    ForEachPane([&](MedImage* candidate)
                { other = candidate != pane && candidate->GetShow() == hot ? candidate : other; });
    DetachPane(pane, other != nullptr);
    if (other != nullptr)
    {
        hot->SetView(other);
    }
    pane->AttachShow(reached);
    pane->UpdateImageNow();
    FireHotImageReplaced(reached, nullptr);
    FireHotImageSelChanged(reached, hot);
}

void CImageView::ZoomAtCursor(int delta)
{
    MedImage* pane = PaneUnderCursor();
    if (pane == nullptr || pane->GetShow() == nullptr)
    {
        return;
    }
    POINT cursor;
    GetCursorPos(&cursor);
    pane->ScreenToClient(&cursor);
    POINT image;
    pane->ScreenToImage(&image, &cursor);
    const POINT before = pane->ImageToScreen(image.x, image.y);
    pane->SetZoom(NextWheelZoom(pane->GetZoom(), delta));
    const POINT after = pane->ImageToScreen(image.x, image.y);
    const CPoint pan = pane->GetPan();
    pane->SetPan(pan.x + PanCorrection(before.x - after.x),
                 pan.y + PanCorrection(before.y - after.y));
    pane->CommitZoom();
}

// The product lands a hair under a whole percent often enough (0.7 x 1.1
// gives 0.77 as 76.999...): the floor takes an epsilon, and a zoom never
// reaches 0, from which no wheel turn could come back.
double CImageView::NextWheelZoom(double zoom, int delta)
{
    const double percent = std::floor(zoom * WheelFactor(zoom, delta) * 100.0 + 1e-6);
    return std::max(percent * 0.01, MinWheelZoom);
}

void CImageView::CopyAnnotations()
{
    ImageShow* hot = GetHotImage();
    if (hot == nullptr)
    {
        if (m_pClipboard == nullptr)
        {
            CopyHotPaneImage();
        }
        return;
    }
    if (m_pClipboard == nullptr)
    {
        m_pClipboard = new ImageShow;
    }
    m_pClipboard->ClearAnnotations();
    hot->CopySelectedAnnotationsTo(*m_pClipboard);
}

void CImageView::CutAnnotations()
{
    CopyAnnotations();
    ImageShow* hot = GetHotImage();
    MedImage* pane = GetHotPaneWindow();
    if (hot == nullptr || pane == nullptr)
    {
        return;
    }
    std::vector<ORoi*> selected;
    for (auto* node = hot->GetAnnotations().GetHead(); node != nullptr; node = node->next)
    {
        if (node->item->IsSelected())
        {
            selected.push_back(node->item.get());
        }
    }
    if (selected.empty())
    {
        return;
    }
    for (ORoi* roi : selected)
    {
        pane->RemoveAnnotation(roi);
    }
    UpdateShownImage(hot);
}

void CImageView::PasteAnnotations()
{
    ImageShow* hot = GetHotImage();
    if (hot == nullptr || m_pClipboard == nullptr || m_pClipboard->GetAnnotations().GetCount() == 0)
    {
        return;
    }
    // The clipboard keeps the moved copies: each paste lands further on.
    for (auto* node = m_pClipboard->GetAnnotations().GetHead(); node != nullptr; node = node->next)
    {
        node->item->Offset(PasteOffset, PasteOffset);
    }
    m_pClipboard->CopyAnnotationsTo(*hot, true);
    UpdateShownImage(hot);
}

void CImageView::Undo()
{
    if (MedImage* pane = GetHotPaneWindow())
    {
        pane->Undo();
    }
}
