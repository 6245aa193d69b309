// CImageViewSplitter: the splitter of the viewer window's grid. Activating
// a view moves the highlight to it: the new view's highlight follows the
// request and tells its listeners, the old view's goes off.
#pragma once

#include "ViewSplitter.h"

class QUILLON_API CImageViewSplitter : public ViewSplitter
{
    DECLARE_DYNCREATE(CImageViewSplitter)

public:
    CImageViewSplitter();

    // Only image views are taken.
    CWnd* ActiveView(CWnd* view, bool set) override;
};
