// Views for the splitter tests, standing in for the image views: one that
// fills its client area with one colour and counts its initial updates,
// and one whose window cannot be created.
#pragma once

#include "AfxWin.h"

class CCellView : public CView
{
    DECLARE_DYNCREATE(CCellView)

public:
    static constexpr COLORREF Fill = RGB(40, 40, 40);
    int nInitialUpdates = 0;

    void OnDraw(CDC* pDC) override
    {
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(&client, Fill);
    }
    void OnInitialUpdate() override
    {
        ++nInitialUpdates;
        CView::OnInitialUpdate();
    }
};

class CRefusedView : public CView
{
    DECLARE_DYNCREATE(CRefusedView)

public:
    void OnDraw(CDC*) override {}

protected:
    afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }

    DECLARE_MESSAGE_MAP()
};

#include <ostream>

inline void PrintTo(const CRect& rect, std::ostream* out)
{
    *out << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom
         << ")";
}

#include "PaneLayout.h"

// A view of the grid as the viewer window has them: one empty pane.
class CLayoutCellView : public PaneLayout
{
    DECLARE_DYNCREATE(CLayoutCellView)

public:
    void OnInitialUpdate() override
    {
        PaneLayout::OnInitialUpdate();
        SetFormat("STANDARD\\1,1");
    }
};
