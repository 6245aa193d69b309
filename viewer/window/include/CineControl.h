// CineControl: plays the images of a view's current series one after the
// other in a cine pane (CineImage) laid over the view's hot pane. It keeps
// no timer: the host calls Next once per frame from its own loop.
//
// The controller is a plain copyable class. Copies share the cine pane,
// which goes with the last of them (or with Release), and each copy
// follows the view on its own: when the view is released or destroyed, or
// its panes are rebuilt, or the series under the controller is closed,
// left or loses images, the controller quits and lets go of the view, its
// series, its panes and the images, so nothing it held is used afterwards.
#pragma once

#include "QuillonExport.h"

#include <memory>

class CImageView;
class CineImage;
class DelegateArgs;
class ImageShow;
class MedImage;
class SeriesShow;

class QUILLON_API CineControl
{
public:
    enum CineDirection
    {
        enUp = 1,         // last to first
        enDown = 2,       // first to last
        enBounceUp = 4,   // to and fro, the backward run first
        enBounceDown = 8, // to and fro, the forward run first
    };
    // Sent to the view when cine ends (lParam 0).
    static constexpr unsigned CmdCineEnded = 2260;

    CineControl();
    CineControl(const CineControl& other);
    CineControl& operator=(const CineControl& other);
    ~CineControl();

    // Attaches to the viewer window's hot view; nothing for a null window.
    template <class Window> void AttachWindow(Window* window)
    {
        if (window != nullptr)
        {
            AttachView(window->GetHotView());
        }
    }
    // Attaches to the view when its current series holds two images or
    // more: the cine pane is made over its hot pane and shows that pane's
    // image.
    void AttachView(CImageView* view);
    // False without a pane.
    bool Prepare();
    // Shows the next image by the direction; false when there is nothing
    // to play.
    bool Next();
    void PlayUp();
    void PlayDown();
    void PlayBounce();
    void SetDirection(CineDirection direction) { m_enDirection = direction; }
    CineDirection GetDirection() const { return m_enDirection; }
    void SetIndex(int index) { m_nIndex = index; }
    int GetIndex() const { return m_nIndex; }
    // 0 without a series.
    int GetNbOfImage() const;
    bool IsValid() const { return m_pPane != nullptr && m_pView != nullptr; }
    // Paints the cine pane again.
    void CinePause();
    // Stops; with notify the view pages to the last image shown. False
    // without a pane.
    bool Quit(bool notify);
    // Lets go of the view and of this copy's share of the cine pane.
    void Release();
    // Handlers of the view's events that end the cine: a release, a
    // change of its panes or of the series quits without notifying; a
    // destroy only lets go.
    void OnViewReleasing(const void* sender, DelegateArgs* args);
    void OnViewDestroying(const void* sender, DelegateArgs* args);

    CImageView* GetView() const { return m_pView; }
    MedImage* GetPane() const { return m_pPane; }
    CineImage* GetCineWindow() const { return m_pCineWindow.get(); }
    ImageShow* GetCurrentImage() const { return m_pCurrent; }

private:
    // Positions over the series: the forward cursor counts up and is past
    // the end at the count, the backward one counts down and is past the
    // start below 0.
    struct Cursor
    {
        int nIndex = 0;
    };

    void CopyFrom(const CineControl& other);
    void Subscribe();
    void Unsubscribe();
    // Forgets the view, its series, its pane and the images, and drops this
    // copy's share of the cine pane.
    void Detach();
    void Rearm(int forward, int backward);
    // The image at a position of the series, null outside it.
    ImageShow* ImageAt(int index) const;
    ImageShow* TakeForward();
    ImageShow* TakeBackward();
    ImageShow* TakeByDirection();

    int m_nIndex = 0;
    CImageView* m_pView = nullptr;
    SeriesShow* m_pSeries = nullptr;
    MedImage* m_pPane = nullptr;
    std::shared_ptr<CineImage> m_pCineWindow;
    ImageShow* m_pCurrent = nullptr;
    Cursor m_Forward;
    Cursor m_Backward{-1};
    CineDirection m_enDirection = enDown;
};
