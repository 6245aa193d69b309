// MaskWnd: a floating pane over part of an image pane that shows the same
// image under it, pixel for pixel where the pane shows it, but through a
// window/level of its own: it masks that part of the pane with another look
// at the same pixels. The left button drags it over the pane; the other
// buttons work as on any pane (the right one windows it). While the pane
// underneath handles a press it steps aside, and afterwards it follows the
// pane's zoom and pan again.
#pragma once

#include "MedImage.h"

#include <memory>

class QUILLON_API MaskWnd : public MedImage
{
    DECLARE_DYNCREATE(MaskWnd)

public:
    MaskWnd();
    ~MaskWnd() override;

    // Stands over the rectangle of the pane (its client points) with a
    // copy of the pane's image; false without a pane, an image in it or a
    // window.
    bool Open(MedImage* pane, const RECT& rect);
    MedImage* GetPane() const { return m_pPane; }
    // Zoom and pan such that the picture lies on the pane's.
    void FollowPane();
    bool ShowCornerMark() override;

    // Handlers of the pane's events.
    void OnEventPaneBefore(const void* sender, DelegateArgs* args);
    void OnEventPaneAfter(const void* sender, DelegateArgs* args);
    void OnEventPaneImageChanged(const void* sender, DelegateArgs* args);

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    // Takes a copy of the pane's image; false when it shows none.
    bool CopyPaneImage();
    void Subscribe(bool on);

    MedImage* m_pPane = nullptr;
    std::unique_ptr<ImageShow> m_pOwnShow;
};
