#include "CImageViewSplitter.h"

#include "CImageView.h"
#include "CWebWindow.h"
#include "QuillonLog.h"

using quillon::_debug;
using quillon::LogAddress;

IMPLEMENT_DYNCREATE(CImageViewSplitter, ViewSplitter)

CImageViewSplitter::CImageViewSplitter()
{
    SetGap(CWebWindow::CellGap);
}

CWnd* CImageViewSplitter::ActiveView(CWnd* view, bool set)
{
    _debug("Enter CImageViewSplitter::ActiveView, 0x%0x --> %d", LogAddress(view), set ? 1 : 0);
    if (view == nullptr || !view->IsKindOf(RUNTIME_CLASS(CImageView)))
    {
        return GetActiveView();
    }
    auto* old = static_cast<CImageView*>(GetActiveView());
    // Only a request to activate moves the active view: the mouse
    // activation asks every other shown view first with set false.
    ViewSplitter::ActiveView(view, set);
    auto* next = static_cast<CImageView*>(view);
    if (next == old)
    {
        next->ShowHighLight(true, false);
        return view;
    }
    next->ShowHighLight(set, true);
    if (set && old != nullptr && old->m_hWnd != nullptr)
    {
        old->ShowHighLight(false, true);
    }
    return view;
}
