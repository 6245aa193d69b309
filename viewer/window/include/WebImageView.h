// WebImageView: the image view of every cell of the viewer window's grid.
// Its panes are WebMedImage panes, it offers pane drags in the registered
// drag-and-drop format, a double click blows a pane up to the whole view
// and the view to the whole grid (and back), and it hands DICOM images to
// the film-composing
// program: the hot image (command 1020) or every image of its current
// series (command 1022).
#pragma once

#include "RefLineImageView.h"

using WebImageViewBase = RefLineImageView;

class QUILLON_API WebImageView : public WebImageViewBase
{
    DECLARE_DYNCREATE(WebImageView)

public:
    static constexpr const char* DragClipboardFormatName = "$$DRAGDROP_VISTREL";
    static constexpr UINT CmdImportHotImage = 1020;
    static constexpr UINT CmdImportAllImage = 1022;

    WebImageView() = default;

    // The registered drag-and-drop format, 0 before the registration or
    // after it failed (pane drags then do not start).
    UINT GetDragClipboardFormat() override;
    MedImage* CreatePane(int left, int top, int right, int bottom, int index) override;
    bool RunCommand(WPARAM wParam, LPARAM lParam) override;

    // The displayed image handed to the film program; false for a null
    // image, one whose DICOM form cannot be made, or a hand-over that
    // failed.
    bool DoPrintImage(ImageShow* show);
    void OnImportHotImage();
    // Every image of the current series, in order; how many went over.
    int OnImportAllImage();

protected:
    void OnInitialUpdate() override;

    // With the drag-and-drop tool, a press drags the view's drag text;
    // the other view-level tools are the image view's.
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()
};
