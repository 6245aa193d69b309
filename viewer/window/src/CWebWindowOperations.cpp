// The host's operations of the viewer window: each finds its target (the
// hot view, the hot image or every visible view), runs one operation of it
// and reports whether there was a target.
#include "CWebWindow.h"

#include "CImageView.h"
#include "ImageShow.h"
#include "ImageViewArgs.h"
#include "MedImage.h"
#include "QuillonLog.h"
#include "SeriesShow.h"

#include <cstdio>

using quillon::_debug;
using quillon::_error;

namespace
{

constexpr int ZoomFitTool = 4;
constexpr int ZoomPixelTool = 5;

CString StandardLayout(int columns, int rows)
{
    CString text;
    text.Format("STANDARD\\%d,%d", columns, rows);
    return text;
}

} // namespace

// The hot view.

double CWebWindow::GetZoomFactor()
{
    CImageView* view = GetHotView();
    return view != nullptr ? view->GetZoomFactor() : 0.0;
}

bool CWebWindow::SetZoomFactor(double zoom)
{
    CImageView* view = GetHotView();
    if (view == nullptr)
    {
        return false;
    }
    view->SetZoomFactor(zoom);
    return true;
}

bool CWebWindow::AutoWindowLevel()
{
    _debug("Enter CWebWindow::AutoWindowLevel");
    CImageView* view = GetHotView();
    if (view == nullptr)
    {
        return false;
    }
    view->AutoWindowLevel();
    return true;
}

void CWebWindow::ClearHotImageAnnotation()
{
    _debug("Enter CWebWindow.ClearHotImageAnnotation");
    if (CImageView* view = GetHotView())
    {
        view->ClearHotImageAnnotation();
    }
}

void CWebWindow::RestoreHotImage()
{
    _debug("Enter CWebWindow::RestoreHotImage");
    if (CImageView* view = GetHotView())
    {
        view->RestoreHotImage();
    }
}

Lettra CWebWindow::GetAllLUTDescription()
{
    CImageView* view = GetHotView();
    return view != nullptr ? view->GetAllLUTDescription() : Lettra();
}

Lettra CWebWindow::GetOriginalLUTDescription()
{
    CImageView* view = GetHotView();
    return view != nullptr ? view->GetOriginalLUTDescription() : Lettra();
}

bool CWebWindow::SelectLUT(int index)
{
    _debug("Enter CWebWindow::SelectLUT [%d]", index);
    CImageView* view = GetHotView();
    return view != nullptr && view->SelectLUT(index);
}

bool CWebWindow::SetWindowLevel(int width, int center)
{
    _debug("Enter CWebWindow::SetWindowLevel");
    CImageView* view = GetHotView();
    if (view == nullptr)
    {
        return false;
    }
    view->SetWindowLevel(width, center);
    return true;
}

bool CWebWindow::GetWindowLevel(int& width, int& center)
{
    width = -1;
    center = -1;
    CImageView* view = GetHotView();
    if (view == nullptr)
    {
        return false;
    }
    view->GetWindowLevel(&width, &center);
    return true;
}

void CWebWindow::SetScope(int scope)
{
    _debug("Enter CWebWindow::SetScope : %d", scope);
    if (CImageView* view = GetHotView())
    {
        view->SetScope(scope);
        _debug("Leave CWebWindow::SetScope : %d", scope);
    }
}

int CWebWindow::GetScope()
{
    CImageView* view = GetHotView();
    return view != nullptr ? view->GetScope() : 0;
}

void CWebWindow::ClearAllImageAnnotation()
{
    _debug("Enter CMainWindow::ClearAllImageAnnotation");
    if (CImageView* view = GetHotView())
    {
        view->ClearAllImageAnnotation();
    }
}

void CWebWindow::FlipHorizontal()
{
    _debug("Enter CWebWindow::FlipHorizonal");
    if (CImageView* view = GetHotView())
    {
        view->FlipHorizontal();
    }
}

void CWebWindow::FlipVertical()
{
    _debug("Enter CWebWindow::FlipVertical");
    if (CImageView* view = GetHotView())
    {
        view->FlipVertical();
    }
}

void CWebWindow::Rotate(int direction)
{
    _debug("Enter CWebWindow::Rotate");
    CImageView* view = GetHotView();
    if (view == nullptr)
    {
        return;
    }
    switch (direction)
    {
    case 1:
        view->OnCmdRotate90();
        break;
    case 2:
        view->OnCmdRotate180();
        break;
    case 3:
        view->OnCmdRotate270();
        break;
    default:
        break;
    }
}

void CWebWindow::Invert()
{
    _debug("Enter CWebWindow::Invert");
    if (CImageView* view = GetHotView())
    {
        view->Invert();
    }
}

CString CWebWindow::GetHotImageFileName()
{
    CImageView* view = GetHotView();
    return view != nullptr ? CString(view->GetHotImageFileName()) : CString();
}

CString CWebWindow::GetHotImageDicomFileInfoXML()
{
    CImageView* view = GetHotView();
    return view != nullptr ? CString(view->GetHotImageDicomFileInfoXML()) : CString();
}

CString CWebWindow::GetHotImageDicomValue(unsigned short group, unsigned short element)
{
    CImageView* view = GetHotView();
    return view != nullptr ? CString(view->GetHotImageDicomValue(group, element)) : CString();
}

CString CWebWindow::GetDicomFileNameAt(int index)
{
    CImageView* view = GetHotView();
    return view != nullptr ? CString(view->GetDicomFileNameAt(index)) : CString();
}

CString CWebWindow::GetDicomFileInfoXMLAt(int index)
{
    CImageView* view = GetHotView();
    return view != nullptr ? CString(view->GetDicomFileInfoXMLAt(index)) : CString();
}

CString CWebWindow::GetDicomValueAt(int index, unsigned short group, unsigned short element)
{
    CImageView* view = GetHotView();
    return view != nullptr ? CString(view->GetDicomValueAt(index, group, element)) : CString();
}

int CWebWindow::GetDicomFileAt(int index, DICOMFile* file)
{
    CImageView* view = GetHotView();
    return view != nullptr ? view->GetDicomFileAt(index, file) : -1;
}

void CWebWindow::ShowNextSeries()
{
    _debug("Enter CWebWindow::ShowNextSeries");
    if (CImageView* view = GetHotView())
    {
        view->ShowNextSeries();
    }
}

void CWebWindow::ShowPrevSeries()
{
    _debug("Enter CWebWindow::ShowPrevSeries");
    if (CImageView* view = GetHotView())
    {
        view->ShowPrevSeries();
    }
}

bool CWebWindow::DoShowSeriesAt(int index)
{
    _debug("CWebWindow::DoShowSeriesAt %d", index);
    CImageView* view = GetHotView();
    if (view == nullptr)
    {
        return false;
    }
    view->ShowSeriesAt(index);
    return true;
}

// The paging family: the view's operation of the same name.
#define WEB_WINDOW_PAGING(name)                                                                    \
    bool CWebWindow::name()                                                                        \
    {                                                                                              \
        _debug("Enter CWebWindow::" #name);                                                        \
        CImageView* view = GetHotView();                                                           \
        if (view == nullptr)                                                                       \
        {                                                                                          \
            return false;                                                                          \
        }                                                                                          \
        view->name();                                                                              \
        return true;                                                                               \
    }

WEB_WINDOW_PAGING(PageDown)
WEB_WINDOW_PAGING(PageUp)
WEB_WINDOW_PAGING(FirstPage)
WEB_WINDOW_PAGING(LastPage)
WEB_WINDOW_PAGING(LineUp)
WEB_WINDOW_PAGING(LineDown)
WEB_WINDOW_PAGING(ImageUp)
WEB_WINDOW_PAGING(ImageDown)

#undef WEB_WINDOW_PAGING

void CWebWindow::RestoreHotView()
{
    _debug("Enter CWebWindow::RestoreHotView");
    if (CImageView* view = GetHotView())
    {
        view->RestoreAllImage();
    }
}

void CWebWindow::SwapLayout()
{
    _debug("Enter CWebWindow::SwapLayout");
    if (CImageView* view = GetHotView())
    {
        view->SwapLayout();
    }
}

void CWebWindow::CopyHotImage()
{
    _debug("Enter CWebWindow::CopyHotImage");
    if (CImageView* view = GetHotView())
    {
        view->CopyHotImage();
    }
}

int CWebWindow::GetNbOfSeries()
{
    CImageView* view = GetHotView();
    return view != nullptr ? view->GetImageLayout().GetNbOfSeries() : -1;
}

int CWebWindow::IndexOfHotSeries()
{
    CImageView* view = GetHotView();
    return view != nullptr ? view->IndexOfHotSeries() : -1;
}

int CWebWindow::GetNbOfImage()
{
    CImageView* view = GetHotView();
    if (view == nullptr)
    {
        return -1;
    }
    const SeriesShow* series = GetSeriesOf(view);
    return series != nullptr ? series->GetNbOfImage() : 0;
}

bool CWebWindow::SetImageLayout(int first, int second)
{
    _debug("Enter CWebWindow::SetImageLayout : %dX%d", first, second);
    CImageView* view = GetHotView();
    const CString format = StandardLayout(second, first);
    if (view == nullptr || !PaneLayoutFormat::IsAcceptable(format))
    {
        return false;
    }
    try
    {
        view->ClearClient();
        return view->SetLayout(format);
    }
    catch (...)
    {
        _error("Exception at CWebWindow::SetImageLayout, row : %d, col : %d", first, second);
    }
    return false;
}

bool CWebWindow::GetImageLayout(int& first, int& second)
{
    CImageView* view = GetHotView();
    if (view == nullptr)
    {
        return false;
    }
    const CString format = view->GetFormat();
    const int slash = format.Find('\\');
    int before = 0;
    int after = 0;
    if (slash < 0 ||
        std::sscanf(static_cast<const char*>(format) + slash + 1, "%d,%d", &before, &after) != 2)
    {
        return false;
    }
    first = after;
    second = before;
    return true;
}

CString CWebWindow::GetImageLayoutString()
{
    CImageView* view = GetHotView();
    return view != nullptr ? view->GetFormat() : CString();
}

int CWebWindow::SendMessageToHotView(UINT message, WPARAM wParam, LPARAM lParam)
{
    _debug("Enter CWebWindow::SendMessageToHotView (%d, %d, %d)", message, static_cast<int>(wParam),
           static_cast<int>(lParam));
    CImageView* view = GetHotView();
    if (view == nullptr)
    {
        return 0;
    }
    view->SendMessage(message, wParam, lParam);
    return 1;
}

int CWebWindow::PostMessageToHotView(UINT message, WPARAM wParam, LPARAM lParam)
{
    _debug("Enter CWebWindow::PostMessageToHotView  (%d, %d, %d)", message,
           static_cast<int>(wParam), static_cast<int>(lParam));
    CImageView* view = GetHotView();
    if (view == nullptr)
    {
        return 0;
    }
    view->PostMessage(message, wParam, lParam);
    return 1;
}

// The hot image.

void CWebWindow::ZoomIn()
{
    if (MedImage* pane = GetHotImage())
    {
        pane->ZoomIn();
        pane->SetFocus();
    }
}

void CWebWindow::ZoomOut()
{
    if (MedImage* pane = GetHotImage())
    {
        pane->ZoomOut();
        pane->SetFocus();
    }
}

void CWebWindow::ZoomFitInWindow()
{
    if (MedImage* pane = GetHotImage())
    {
        pane->ZoomFitInWindow();
        SetLeftButton(ZoomFitTool);
        pane->SetFocus();
    }
}

void CWebWindow::ZoomPixelByPixel()
{
    if (MedImage* pane = GetHotImage())
    {
        pane->ZoomPixelByPixel();
        // An image larger than the pane is panned next.
        if (pane->GetFitFactor() < pane->GetZoom())
        {
            SetLeftButton(ZoomPixelTool);
        }
        pane->SetFocus();
    }
}

void CWebWindow::CopyHotImageToClipboard()
{
    _debug("Enter CWebWindow::CopyHotImageToClipboard");
    if (MedImage* pane = GetHotImage())
    {
        pane->CopyToClipboard();
    }
}

// The saves go through the image the hot pane shows, as the pane's own
// saves do.
bool CWebWindow::SaveHotImageAsDicomFile(const char* path)
{
    _debug("Enter CWebWindow::SaveHotImageAsDicomFile");
    ImageShow* show = GetHotImageShow();
    return show != nullptr && show->SaveAsDicomFile(path);
}

bool CWebWindow::SaveHotImageAsBitmap(const char* path)
{
    _debug("Enter CWebWindow::SaveHotImageAsBitmap");
    ImageShow* show = GetHotImageShow();
    return show != nullptr && show->SaveAsBitmap(path);
}

bool CWebWindow::SaveHotImageAsJPEG(const char* path)
{
    _debug("Enter CWebWindow::SaveHotImageAsJPEG");
    ImageShow* show = GetHotImageShow();
    return show != nullptr && show->SaveAsJPEG(path);
}

int CWebWindow::SendMessageToHotImage(UINT message, WPARAM wParam, LPARAM lParam)
{
    _debug("Enter CWebWindow::SendMessageToHotImage (%d, %d, %d)", message,
           static_cast<int>(wParam), static_cast<int>(lParam));
    MedImage* pane = GetHotImage();
    if (pane == nullptr || pane->m_hWnd == nullptr)
    {
        return 0;
    }
    pane->SendMessage(message, wParam, lParam);
    return 1;
}

int CWebWindow::PostMessageToHotImage(UINT message, WPARAM wParam, LPARAM lParam)
{
    _debug("Enter CWebWindow::PostMessageToHotImage (%d, %d, %d)", message,
           static_cast<int>(wParam), static_cast<int>(lParam));
    MedImage* pane = GetHotImage();
    if (pane == nullptr || pane->m_hWnd == nullptr)
    {
        return 0;
    }
    pane->PostMessage(message, wParam, lParam);
    return 1;
}

// Every visible view.

bool CWebWindow::SetLeftButton(int tool)
{
    _debug("Enter CWebWindow::SetLeftButton  --> %d", tool);
    ForVisibleViews(
        [tool](CImageView* view)
        {
            ValueArgs args(tool);
            view->SetLeftButtonEvent.Invoke(view, &args);
        });
    return true;
}

bool CWebWindow::SetRightButton(int tool)
{
    _debug("Enter CWebWindow::SetRightButton  --> %d", tool);
    ForVisibleViews(
        [tool](CImageView* view)
        {
            ValueArgs args(tool);
            view->SetRightButtonEvent.Invoke(view, &args);
        });
    return true;
}

int CWebWindow::GetLeftButton()
{
    auto* view = static_cast<CImageView*>(GetViewAt(0));
    return view != nullptr ? view->GetLeftButton() : -1;
}

int CWebWindow::GetRightButton()
{
    auto* view = static_cast<CImageView*>(GetViewAt(0));
    return view != nullptr ? view->GetRightButton() : -1;
}

void CWebWindow::ShowLabels(bool show)
{
    ForVisibleViews(
        [show](CImageView* view)
        {
            if (show)
            {
                view->ShowLabels();
            }
            else
            {
                view->HideLabels();
            }
        });
}

void CWebWindow::ShowOverlays(bool show)
{
    ForVisibleViews([show](CImageView* view) { view->ShowOverlays(show); });
}

void CWebWindow::ShowRuler(bool show)
{
    ForVisibleViews([show](CImageView* view) { view->ShowRuler(show); });
}

int CWebWindow::SendMessageToAllView(UINT message, WPARAM wParam, LPARAM lParam)
{
    _debug("Enter CWebWindow::SendMessageToAllView  (%d, %d, %d)", message,
           static_cast<int>(wParam), static_cast<int>(lParam));
    ForVisibleViews([=](CImageView* view) { view->SendMessage(message, wParam, lParam); });
    return 1;
}

int CWebWindow::PostMessageToAllView(UINT message, WPARAM wParam, LPARAM lParam)
{
    _debug("Enter CWebWindow::PostMessageToAllView  (%d, %d, %d)", message,
           static_cast<int>(wParam), static_cast<int>(lParam));
    ForVisibleViews([=](CImageView* view) { view->PostMessage(message, wParam, lParam); });
    return 1;
}

int CWebWindow::SendMessageToAllImage(UINT message, WPARAM wParam, LPARAM lParam)
{
    _debug("Enter CWebWindow::SendMessageToAllImage  (%d, %d, %d)", message,
           static_cast<int>(wParam), static_cast<int>(lParam));
    ForVisibleViews(
        [=](CImageView* view)
        {
            for (int index = 0; index < view->GetPaneCount(); ++index)
            {
                if (MedImage* pane = view->GetPane(index); pane->m_hWnd != nullptr)
                {
                    pane->SendMessage(message, wParam, lParam);
                }
            }
        });
    return 1;
}

int CWebWindow::PostMessageToAllImage(UINT message, WPARAM wParam, LPARAM lParam)
{
    _debug("Enter CWebWindow::PostMessageToAllImage  (%d, %d, %d)", message,
           static_cast<int>(wParam), static_cast<int>(lParam));
    ForVisibleViews(
        [=](CImageView* view)
        {
            for (int index = 0; index < view->GetPaneCount(); ++index)
            {
                if (MedImage* pane = view->GetPane(index); pane->m_hWnd != nullptr)
                {
                    pane->PostMessage(message, wParam, lParam);
                }
            }
        });
    return 1;
}

bool CWebWindow::DoSetNextSeriesLayoutString(const char* format)
{
    _debug("Enter CWebWindow::DoSetNextSeriesLayoutString : %s", format != nullptr ? format : "");
    try
    {
        ForVisibleViews([format](CImageView* view) { view->SetNextSeriesLayoutString(format); });
    }
    catch (...)
    {
        _error("Exception at CWebWindow::DoSetNextSeriesLayoutString, %s",
               format != nullptr ? format : "");
    }
    return true;
}

bool CWebWindow::DoSetSeriesLayoutString(const char* format)
{
    if (format == nullptr)
    {
        return false;
    }
    _debug("Enter CWebWindow::DoSetSeriesLayoutString : %s", format);
    DetachViewEvent();
    try
    {
        ForVisibleViews(
            [format](CImageView* view)
            {
                const bool empty = view->GetImageLayout().GetNbOfSeries() == 0 ||
                                   view->GetImageLayout().GetNbOfShown() == 0;
                if (empty)
                {
                    view->ApplySeriesLayout(format);
                }
                else
                {
                    view->SetSeriesLayout(format);
                }
            });
    }
    catch (...)
    {
        _error("Exception at CMainWindow::DoSetSeriesLayoutString <%s>", format);
    }
    AttachViewEvent();
    AnnounceHotImage();
    return true;
}

bool CWebWindow::SetSeriesLayout(int first, int second)
{
    return DoSetSeriesLayoutString(StandardLayout(second, first));
}
