#include "MaskWnd.h"

#include "ToolTasks.h"

IMPLEMENT_DYNCREATE(MaskWnd, MedImage)

BEGIN_MESSAGE_MAP(MaskWnd, MedImage)
ON_WM_LBUTTONDOWN()
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace
{

// Moves the mask over its pane, its picture kept on the pane's.
class MaskMoveTask : public MovePanTask
{
public:
    MaskMoveTask(int modifiers, MaskWnd* mask) : MovePanTask(modifiers, mask), m_pMask(mask) {}
    void OnMove(int x, int y, int prevX, int prevY, int startX, int startY) override
    {
        MovePanTask::OnMove(x, y, prevX, prevY, startX, startY);
        m_pMask->FollowPane();
        m_pMask->UpdateWindow();
    }

private:
    MaskWnd* m_pMask;
};

} // namespace

MaskWnd::MaskWnd() = default;

MaskWnd::~MaskWnd()
{
    DetachShow();
}

bool MaskWnd::Open(MedImage* pane, const RECT& rect)
{
    if (pane == nullptr || pane->GetShow() == nullptr || m_hWnd != nullptr)
    {
        return false;
    }
    m_pPane = pane;
    if (!Create(nullptr, "MaskWnd", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPSIBLINGS, rect, pane,
                0) ||
        !CopyPaneImage())
    {
        if (m_hWnd != nullptr)
        {
            DestroyWindow();
        }
        m_pPane = nullptr;
        return false;
    }
    Subscribe(true);
    return true;
}

bool MaskWnd::CopyPaneImage()
{
    ImageShow* shown = m_pPane != nullptr ? m_pPane->GetShow() : nullptr;
    if (shown == nullptr)
    {
        return false;
    }
    DetachShow();
    m_pOwnShow = std::make_unique<ImageShow>(*shown);
    AttachShow(m_pOwnShow.get());
    // Only the pixels: the pane beneath carries the labels and overlays.
    HideLabels();
    FollowPane();
    return true;
}

void MaskWnd::Subscribe(bool on)
{
    for (int button = MouseTask::enLeftButton; button <= MouseTask::enRightButton; ++button)
    {
        Delegate& before = m_pPane->GetBeforeButtonDownEvent(button);
        Delegate& after = m_pPane->GetAfterButtonDownEvent(button);
        DelegateHandler* hide =
            MakeHandler(this, &MaskWnd::OnEventPaneBefore, "MaskWnd::OnEventPaneBefore");
        DelegateHandler* follow =
            MakeHandler(this, &MaskWnd::OnEventPaneAfter, "MaskWnd::OnEventPaneAfter");
        on ? before.Add(hide) : before.Remove(hide);
        on ? after.Add(follow) : after.Remove(follow);
    }
    DelegateHandler* changed =
        MakeHandler(this, &MaskWnd::OnEventPaneImageChanged, "MaskWnd::OnEventPaneImageChanged");
    on ? m_pPane->GetImageChangedEvent().Add(changed)
       : m_pPane->GetImageChangedEvent().Remove(changed);
}

void MaskWnd::FollowPane()
{
    if (m_pPane == nullptr || m_pShow == nullptr || m_hWnd == nullptr)
    {
        return;
    }
    // The pane maps image to window as image x zoom + display origin +
    // pan; this window, standing at corner in the pane, takes the same
    // mapping shifted by its corner.
    POINT corner = {0, 0};
    ClientToScreen(&corner);
    m_pPane->ScreenToClient(&corner);
    GetClientRect(&m_rcDisplay);
    const CRect paneDisplay = m_pPane->GetDisplayRect();
    const CPoint panePan = m_pPane->GetPan();
    m_dZoom = m_pPane->GetZoom();
    m_ptPan =
        CPoint(paneDisplay.left + panePan.x - corner.x, paneDisplay.top + panePan.y - corner.y);
    ApplyViewToShow();
    UpdateImage();
}

bool MaskWnd::ShowCornerMark()
{
    return false;
}

void MaskWnd::OnEventPaneBefore(const void*, DelegateArgs*)
{
    ShowWindow(SW_HIDE);
}

void MaskWnd::OnEventPaneAfter(const void*, DelegateArgs*)
{
    FollowPane();
    ShowWindow(SW_SHOWNA);
}

void MaskWnd::OnEventPaneImageChanged(const void*, DelegateArgs*)
{
    if (!CopyPaneImage())
    {
        DetachShow();
        m_pOwnShow.reset();
        Invalidate(TRUE);
    }
}

void MaskWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    FireSimple(m_EventClicked);
    if (m_pPane != nullptr)
    {
        MaskMoveTask task(MouseTask::ModifiersOf(nFlags), this);
        task.TrackInParent(point, MouseTask::enLeftButton);
    }
}

void MaskWnd::OnDestroy()
{
    // The pane may go first: its windows are destroyed before it is.
    if (m_pPane != nullptr)
    {
        Subscribe(false);
        m_pPane = nullptr;
    }
    CWnd::OnDestroy();
}
