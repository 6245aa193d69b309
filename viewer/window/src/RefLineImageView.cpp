#include "RefLineImageView.h"

#include "RefLineMedImage.h"

IMPLEMENT_DYNCREATE(RefLineImageView, CImageView)

RefLineImageView::RefLineImageView() = default;

RefLineImageView::~RefLineImageView() = default;

void RefLineImageView::Refresh()
{
    CImageView::Refresh();
    CWnd* owner = GetOwner();
    if (owner != nullptr && owner->m_hWnd != nullptr)
    {
        owner->PostMessage(WM_COMMAND, CmdRefLines, 0);
    }
}

void RefLineImageView::ShowReferenceLines(bool show)
{
    for (int index = 0; index < GetPaneCount(); ++index)
    {
        auto* pane = dynamic_cast<RefLineMedImage*>(GetPane(index));
        if (pane == nullptr)
        {
            continue;
        }
        if (!show)
        {
            pane->DeleteRefLines();
        }
        pane->ShowRefLines(show);
    }
}

MedImage* RefLineImageView::CreatePane(int left, int top, int right, int bottom, int index)
{
    return CreatePaneWindow(new RefLineMedImage, "ViewPort@%d", CRect(left, top, right, bottom),
                            index);
}
