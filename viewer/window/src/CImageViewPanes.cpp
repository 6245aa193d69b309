// CImageView: the render state (window, pan and zoom) that one pane hands
// to the others and to the images of the current series while the scope
// asks for it.
#include "CImageView.h"

#include "DicomLookupTable.h"
#include "ImageShow.h"
#include "MedImage.h"
#include "QuillonLog.h"

using quillon::_debug;

namespace
{

using Handler = void (CImageView::*)(const void*, DelegateArgs*);

struct RenderStateHandler
{
    Delegate& (MedImage::*event)();
    Handler all;
    const char* allName;
    Handler selected;
    const char* selectedName;
};

const RenderStateHandler RenderStateHandlers[] = {
    {&MedImage::GetWindowLevelEvent, &CImageView::OnEventFinalWindowLevel,
     "CImageView::OnEventFinalWindowLevel", &CImageView::OnEventFinalWindowLevelForSelected,
     "CImageView::OnEventFinalWindowLevelForSelected"},
    {&MedImage::GetPanEvent, &CImageView::OnEventFinalPan, "CImageView::OnEventFinalPan",
     &CImageView::OnEventFinalPanForSelected, "CImageView::OnEventFinalPanForSelected"},
    {&MedImage::GetZoomEvent, &CImageView::OnEventFinalZoom, "CImageView::OnEventFinalZoom",
     &CImageView::OnEventFinalZoomForSelected, "CImageView::OnEventFinalZoomForSelected"}};

// A window given to an image of the series that was never shown: the flag
// marks the table as set by the user.
constexpr std::uint32_t FollowedWindowFlag = 32;

bool IsSelectedPane(const MedImage* pane)
{
    return pane->GetShow() != nullptr && pane->GetShow()->IsSelected();
}

} // namespace

void CImageView::AttachRenderStateEvent()
{
    _debug("Enter CImageView::AttachRenderStateEvent, Scope : %d", m_nScope);
    if (m_nScope == Corvane::enScopeView || m_nScope == Corvane::enScopeSelected)
    {
        const bool selected = m_nScope == Corvane::enScopeSelected;
        ForEachPane(
            [this, selected](MedImage* pane)
            {
                if (selected && !IsSelectedPane(pane))
                {
                    return;
                }
                for (const RenderStateHandler& entry : RenderStateHandlers)
                {
                    (pane->*entry.event)().Add(
                        selected ? MakeHandler(this, entry.selected, entry.selectedName)
                                 : MakeHandler(this, entry.all, entry.allName));
                }
            });
    }
    _debug("Leave CImageView::AttachRenderStateEvent, Scope : %d", m_nScope);
}

void CImageView::DetachRenderStateEvent()
{
    ForEachPane(
        [this](MedImage* pane)
        {
            for (const RenderStateHandler& entry : RenderStateHandlers)
            {
                (pane->*entry.event)().Remove(MakeHandler(this, entry.all, ""));
                (pane->*entry.event)().Remove(MakeHandler(this, entry.selected, ""));
            }
        });
    _debug("Leave CImageView::DetachRenderStateEvent, Scope : %d", m_nScope);
}

void CImageView::OnEventFinalWindowLevel(const void* sender, DelegateArgs* args)
{
    const auto* window = static_cast<PairArgs*>(args);
    PropagateRenderState(sender, enWindowLevelState, window->m_nFirst, window->m_nSecond, false);
}

void CImageView::OnEventFinalPan(const void* sender, DelegateArgs* args)
{
    const auto* pan = static_cast<PairArgs*>(args);
    PropagateRenderState(sender, enPanState, pan->m_nFirst, pan->m_nSecond, false);
}

void CImageView::OnEventFinalZoom(const void* sender, DelegateArgs*)
{
    PropagateRenderState(sender, enZoomState, 0, 0, false);
}

void CImageView::OnEventFinalWindowLevelForSelected(const void* sender, DelegateArgs* args)
{
    const auto* window = static_cast<PairArgs*>(args);
    PropagateRenderState(sender, enWindowLevelState, window->m_nFirst, window->m_nSecond, true);
}

void CImageView::OnEventFinalPanForSelected(const void* sender, DelegateArgs* args)
{
    const auto* pan = static_cast<PairArgs*>(args);
    PropagateRenderState(sender, enPanState, pan->m_nFirst, pan->m_nSecond, true);
}

void CImageView::OnEventFinalZoomForSelected(const void* sender, DelegateArgs*)
{
    PropagateRenderState(sender, enZoomState, 0, 0, true);
}

// The handlers are off while the other panes take the state, so that their
// own commits do not hand it round again.
void CImageView::PropagateRenderState(const void* sender, enRenderState state, int first,
                                      int second, bool selectedOnly)
{
    const int source = PaneIndex(sender);
    const MedImage* from = GetPane(source);
    const ImageShow* hot = from != nullptr ? from->GetShow() : nullptr;
    if (hot == nullptr)
    {
        return;
    }
    const double zoom = from->GetZoom();
    DetachRenderStateEvent();
    ForEachPane(
        [&](MedImage* pane)
        {
            if (pane == from || pane->GetShow() == nullptr ||
                (selectedOnly && !IsSelectedPane(pane)))
            {
                return;
            }
            switch (state)
            {
            case enWindowLevelState:
                pane->SetWindowLevel(first, second);
                break;
            case enPanState:
                pane->SetPan(first, second);
                break;
            case enZoomState:
                pane->SetZoom(zoom);
                break;
            }
        });
    FireHotImageReplaced(GetHotImage(), nullptr);
    const SeriesShow* series = m_Layout.GetCurrentSeries();
    for (int index = 0; series != nullptr && index < series->GetNbOfImage(); ++index)
    {
        ImageShow* image = series->GetImageAt(index);
        const int pane = PaneOf(image);
        if (image == hot || (pane >= 0 && GetPaneImage(pane) == image) ||
            (selectedOnly && !image->IsSelected()))
        {
            continue;
        }
        if (state == enPanState)
        {
            _debug(
                "Enter CImageView::OnEventFinalPan of [%s], will set pan in imageshow to <%d,%d>",
                static_cast<const char*>(m_strName), first, second);
        }
        ApplyRenderStateToImage(image, state, hot, first, second, zoom);
    }
    AttachRenderStateEvent();
}

void CImageView::ApplyRenderStateToImage(ImageShow* image, enRenderState state,
                                         const ImageShow* hot, int first, int second, double zoom)
{
    switch (state)
    {
    case enWindowLevelState:
    {
        const DicomLookupTable* current =
            hot->GetMetaImage() != nullptr ? hot->GetMetaImage()->GetCurrentLUT() : nullptr;
        MetaImage* meta = image->GetMetaImage();
        if (meta != nullptr && meta->GetLUTs().GetCount() == 0 && current != nullptr)
        {
            image->AddLUT(current->Clone());
        }
        image->SetWindowLevelEx(first, second, FollowedWindowFlag);
        image->BuildChain();
        break;
    }
    case enPanState:
        image->SetPan(first, second);
        // A stored pan counts only beside a stored zoom.
        if (image->GetZoom() > 0.0)
        {
            image->SetDisplayMode(1);
        }
        break;
    case enZoomState:
        image->SetZoom(zoom);
        image->SetDisplayMode(1);
        break;
    }
}
