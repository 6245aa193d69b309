#include "CineControl.h"

#include "CImageView.h"
#include "CineImage.h"
#include "ImageShow.h"
#include "SeriesShow.h"
#include "WebMedImage.h"

#include <array>

namespace
{

const char* const ReleasingName = "CineControl::OnViewReleasing";
const char* const DestroyingName = "CineControl::OnViewDestroying";

// The cine pane goes with the last controller that shares it.
void DestroyCineWindow(CineImage* window)
{
    if (window->m_hWnd != nullptr)
    {
        window->DestroyWindow();
    }
    delete window;
}

// The events after which the view's series, images or panes may be gone:
// the controller quits first.
std::array<Delegate*, 4> QuitEvents(CImageView* view)
{
    return {&view->ViewReleasing, &view->PanesRebuilding, &view->SeriesClosed,
            &view->SeriesSelChanged};
}

// The view goes: the controller only lets go.
std::array<Delegate*, 2> DestroyEvents(CImageView* view)
{
    return {&view->ViewDestroying, &view->Destroying};
}

// The controller's handlers on the view's events, each given to change.
template <class Change> void ForEachSubscription(CineControl* cine, CImageView* view, Change change)
{
    if (view == nullptr)
    {
        return;
    }
    for (Delegate* event : QuitEvents(view))
    {
        change(*event, MakeHandler(cine, &CineControl::OnViewReleasing, ReleasingName));
    }
    for (Delegate* event : DestroyEvents(view))
    {
        change(*event, MakeHandler(cine, &CineControl::OnViewDestroying, DestroyingName));
    }
}

} // namespace

CineControl::CineControl() = default;

CineControl::CineControl(const CineControl& other)
{
    CopyFrom(other);
}

CineControl& CineControl::operator=(const CineControl& other)
{
    if (this != &other)
    {
        Unsubscribe();
        CopyFrom(other);
    }
    return *this;
}

CineControl::~CineControl()
{
    Release();
}

void CineControl::CopyFrom(const CineControl& other)
{
    m_nIndex = other.m_nIndex;
    m_pView = other.m_pView;
    m_pSeries = other.m_pSeries;
    m_pPane = other.m_pPane;
    m_pCineWindow = other.m_pCineWindow;
    m_pCurrent = other.m_pCurrent;
    m_Forward = other.m_Forward;
    m_Backward = other.m_Backward;
    m_enDirection = other.m_enDirection;
    Subscribe();
}

void CineControl::Subscribe()
{
    ForEachSubscription(this, m_pView,
                        [](Delegate& event, DelegateHandler* handler) { event.Add(handler); });
}

void CineControl::Unsubscribe()
{
    ForEachSubscription(this, m_pView,
                        [](Delegate& event, DelegateHandler* handler) { event.Remove(handler); });
}

void CineControl::Detach()
{
    Unsubscribe();
    m_pView = nullptr;
    m_pSeries = nullptr;
    m_pPane = nullptr;
    m_pCurrent = nullptr;
    m_pCineWindow.reset();
}

void CineControl::AttachView(CImageView* view)
{
    Detach();
    SeriesShow* series = view != nullptr ? view->GetImageLayout().GetCurrentSeries() : nullptr;
    MedImage* pane =
        series != nullptr && series->GetNbOfImage() >= 2 ? view->GetHotPaneWindow() : nullptr;
    if (pane == nullptr || pane->m_hWnd == nullptr)
    {
        return;
    }
    CRect rect;
    pane->GetWindowRect(&rect);
    pane->ScreenToClient(&rect);
    std::shared_ptr<CineImage> window(new CineImage, DestroyCineWindow);
    if (!window->Create(nullptr, "CineImage", WS_CHILD | WS_CLIPCHILDREN, rect, pane, 0))
    {
        return;
    }
    m_pView = view;
    m_pSeries = series;
    m_pPane = pane;
    m_pCineWindow = window;
    window->SetZoom(pane->GetZoom());
    window->SetPan(pane->GetPan().x, pane->GetPan().y);
    window->CopyViewState(*pane);
    window->ShowOverlays(false);
    window->ShowRuler(false);
    window->ShowTargetMark(false);
    if (const auto* web = dynamic_cast<const WebMedImage*>(pane))
    {
        window->SetPromptText(web->GetPromptText());
    }
    window->DoCineShow(pane->GetShow());
    window->ShowWindow(SW_SHOW);
    Subscribe();
}

bool CineControl::Prepare()
{
    if (m_pPane == nullptr)
    {
        return false;
    }
    m_pPane->ShowOverlays(false);
    m_pPane->ShowRuler(false);
    m_pPane->ShowTargetMark(false);
    Rearm(0, GetNbOfImage() - 1);
    Subscribe();
    return true;
}

int CineControl::GetNbOfImage() const
{
    return m_pSeries != nullptr ? m_pSeries->GetNbOfImage() : 0;
}

ImageShow* CineControl::ImageAt(int index) const
{
    return m_pSeries != nullptr ? m_pSeries->GetImageAt(index) : nullptr;
}

void CineControl::Rearm(int forward, int backward)
{
    m_Forward.nIndex = forward;
    m_Backward.nIndex = backward;
}

void CineControl::PlayUp()
{
    m_Backward.nIndex = GetNbOfImage() - 1;
    m_enDirection = enUp;
}

void CineControl::PlayDown()
{
    m_Backward.nIndex = GetNbOfImage() - 1;
    m_enDirection = enDown;
}

void CineControl::PlayBounce()
{
    Rearm(0, GetNbOfImage() - 1);
    m_enDirection = enBounceUp;
}

ImageShow* CineControl::TakeForward()
{
    ImageShow* image = ImageAt(m_Forward.nIndex);
    if (image != nullptr)
    {
        m_nIndex = m_Forward.nIndex++;
    }
    return image;
}

ImageShow* CineControl::TakeBackward()
{
    ImageShow* image = ImageAt(m_Backward.nIndex);
    if (image != nullptr)
    {
        m_nIndex = m_Backward.nIndex--;
    }
    return image;
}

// Null for an unknown direction; a run that has left the series starts
// again at its end (the bounces skip the end image they turn at).
ImageShow* CineControl::TakeByDirection()
{
    const int count = GetNbOfImage();
    switch (m_enDirection)
    {
    case enDown:
        if (m_Forward.nIndex >= count)
        {
            m_Forward.nIndex = 0;
        }
        return TakeForward();
    case enUp:
        if (m_Backward.nIndex < 0)
        {
            m_Backward.nIndex = count - 1;
        }
        return TakeBackward();
    case enBounceUp:
    case enBounceDown:
    {
        const bool backwardFirst = m_enDirection == enBounceUp;
        if (ImageShow* image = backwardFirst ? TakeBackward() : TakeForward())
        {
            return image;
        }
        if (ImageShow* image = backwardFirst ? TakeForward() : TakeBackward())
        {
            return image;
        }
        Rearm(1, count - 2);
        return backwardFirst ? TakeBackward() : TakeForward();
    }
    default:
        return nullptr;
    }
}

bool CineControl::Next()
{
    if (GetNbOfImage() == 0)
    {
        return false;
    }
    ImageShow* image = TakeByDirection();
    // The cine pane shows copies: an image with a pane is on the view's page,
    // and that pane still needs its pixels.
    if (m_pCurrent != nullptr && m_pCurrent->GetView() == nullptr)
    {
        m_pCurrent->ReleasePixels();
    }
    m_pCurrent = image;
    if (image != nullptr && m_pCineWindow != nullptr)
    {
        m_pCineWindow->DoCineShow(image);
    }
    return true;
}

void CineControl::CinePause()
{
    if (m_pCineWindow != nullptr && m_pCineWindow->m_hWnd != nullptr)
    {
        m_pCineWindow->Invalidate(TRUE);
    }
}

bool CineControl::Quit(bool notify)
{
    if (m_pPane == nullptr)
    {
        return false;
    }
    CinePause();
    Rearm(0, GetNbOfImage() - 1);
    if (notify && m_pCurrent != nullptr && m_pView != nullptr && m_pView->m_hWnd != nullptr)
    {
        // The view pages so that the image stands on the pane played over.
        int pane = 0;
        while (pane < m_pView->GetPaneCount() && m_pView->GetPane(pane) != m_pPane)
        {
            ++pane;
        }
        m_pView->SendMessage(CImageView::MsgPageToImage, WPARAM(pane),
                             reinterpret_cast<LPARAM>(m_pCurrent));
    }
    if (m_pView != nullptr && m_pView->m_hWnd != nullptr)
    {
        m_pView->SendMessage(WM_COMMAND, CmdCineEnded, 0);
    }
    return true;
}

void CineControl::Release()
{
    Detach();
}

void CineControl::OnViewReleasing(const void*, DelegateArgs*)
{
    Unsubscribe();
    Quit(false);
    Detach();
}

void CineControl::OnViewDestroying(const void*, DelegateArgs*)
{
    Detach();
}
