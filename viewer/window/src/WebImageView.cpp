#include "WebImageView.h"

#include "DICOMFile.h"
#include "DravelorClient.h"
#include "ImageShow.h"
#include "MetaView.h"
#include "QuillonLog.h"
#include "SeriesShow.h"
#include "WebMedImage.h"

#include "AfxWinApp.h"
#include "MouseTracker.h"
#include "ViewTasks.h"

using quillon::_debug;
using quillon::_error;

namespace
{

// One format for the process: the system gives the same number for the
// same name, so the last registration wins.
UINT& DragClipboardFormat()
{
    static UINT format = 0;
    return format;
}

} // namespace

IMPLEMENT_DYNCREATE(WebImageView, WebImageViewBase)

BEGIN_MESSAGE_MAP(WebImageView, WebImageViewBase)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void WebImageView::OnInitialUpdate()
{
    WebImageViewBase::OnInitialUpdate();
    DragClipboardFormat() = RegisterClipboardFormat(DragClipboardFormatName);
    if (DragClipboardFormat() != 0)
    {
        _debug("RegisterClipboardFormat for CF_DRAGDROP_VISTREL succeed, format : %d",
               DragClipboardFormat());
    }
    else
    {
        _error("RegisterClipboardFormat for CF_DRAGDROP_VISTREL failed, rc : %d",
               static_cast<int>(GetLastError()));
    }
    EnableDblClk(true);
}

void WebImageView::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (GetLeftButton() != MouseTaskSet::enDragDropTool)
    {
        WebImageViewBase::OnLButtonDown(nFlags, point);
        return;
    }
    Default();
    const int modifiers = (nFlags & MK_CONTROL) != 0 ? MouseTask::ControlBit : 0;
    DragDropTask task(modifiers, this, GetDragClipboardFormat(), GetDragText(),
                      [this] { OnDragDropEnd(); });
    DragTracker(this).Track(&task, point, MouseTask::enLeftButton);
}

UINT WebImageView::GetDragClipboardFormat()
{
    return DragClipboardFormat();
}

MedImage* WebImageView::CreatePane(int left, int top, int right, int bottom, int index)
{
    MedImage* pane =
        CreatePaneWindow(new WebMedImage, "WebPort@%d", CRect(left, top, right, bottom), index);
    if (pane != nullptr)
    {
        pane->SetAutoFocus(true);
    }
    return pane;
}

bool WebImageView::RunCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case CmdImportHotImage:
        OnImportHotImage();
        return true;
    case CmdImportAllImage:
        OnImportAllImage();
        return true;
    default:
        return WebImageViewBase::RunCommand(wParam, lParam);
    }
}

void WebImageView::OnImportHotImage()
{
    _debug("Enter WebImageView::OnImportHotImage");
    CWaitCursor wait;
    if (ImageShow* show = GetHotImage())
    {
        DoPrintImage(show);
    }
}

int WebImageView::OnImportAllImage()
{
    _debug("Enter WebImageView::OnImportAllImage");
    CWaitCursor wait;
    const SeriesShow* series = GetImageLayout().GetCurrentSeries();
    int handed = 0;
    for (int index = 0; series != nullptr && index < series->GetNbOfImage(); ++index)
    {
        handed += DoPrintImage(series->GetImageAt(index)) ? 1 : 0;
    }
    return handed;
}

bool WebImageView::DoPrintImage(ImageShow* show)
{
    if (show == nullptr)
    {
        return false;
    }
    _debug("Enter DoPrintImage");
    DICOMFile file;
    if (!show->GetCurrentDicomImage(file))
    {
        _error("Leave DoPrintImage, the displayed image has no DICOM form");
        return false;
    }
    DravelorClient::EnsureFilmWindow();
    if (!DravelorClient::AddDicomFile(&file))
    {
        return false;
    }
    show->AddIconFlags(ImageShow::enIconHandedOver);
    if (MetaView* pane = show->GetView(); pane != nullptr && pane->m_hWnd != nullptr)
    {
        pane->Invalidate(FALSE);
    }
    return true;
}
