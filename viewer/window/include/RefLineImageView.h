// RefLineImageView: the image view whose panes show reference lines. Every
// refresh asks the viewer window to work the lines out again, since what
// the panes show may have changed.
#pragma once

#include "CImageView.h"

class QUILLON_API RefLineImageView : public CImageView
{
    DECLARE_DYNCREATE(RefLineImageView)

public:
    RefLineImageView();
    ~RefLineImageView() override;

    void Refresh() override;
    // Showing switches every pane's lines on; hiding deletes them.
    void ShowReferenceLines(bool show);

    // A reference-line pane "ViewPort@<index>".
    MedImage* CreatePane(int left, int top, int right, int bottom, int index) override;
};
