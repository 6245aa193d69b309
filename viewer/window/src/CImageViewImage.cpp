// CImageView: operations on the hot image or the images of the scope,
// DICOM queries on the images of the current series, and saving the
// displayed image.
#include "CImageView.h"

#include "DICOMFile.h"
#include "DICOMImage.h"
#include "ImageShow.h"
#include "MedImage.h"
#include "QuillonLog.h"
#include "UniqueUID.h"

#include "AfxModuleState.h"
#include "WinFile.h"

#include <cstdint>

using quillon::_debug;
using quillon::_error;

namespace
{

// The private group the DICOM library keeps its working elements in.
constexpr unsigned short WorkingGroup = 0x0007;

Lettra ValueOf(const DICOMVRSet& set, unsigned short group, unsigned short element, bool* found)
{
    *found = set.GetVR(group, element) != nullptr;
    return *found ? set.GetLettra(group, element) : Lettra();
}

} // namespace

std::vector<ImageShow*> CImageView::ImagesInScope(bool* hotOnly)
{
    std::vector<ImageShow*> images;
    ImageShow* hot = GetHotImage();
    *hotOnly = m_nScope == Corvane::enScopeImage ||
               (m_nScope == Corvane::enScopeSelected && (hot == nullptr || !hot->IsSelected()));
    if (*hotOnly)
    {
        if (hot != nullptr)
        {
            images.push_back(hot);
        }
        return images;
    }
    const SeriesShow* series = m_Layout.GetCurrentSeries();
    for (int index = 0; series != nullptr && index < series->GetNbOfImage(); ++index)
    {
        ImageShow* image = series->GetImageAt(index);
        if (m_nScope != Corvane::enScopeSelected || image->IsSelected())
        {
            images.push_back(image);
        }
    }
    return images;
}

template <class ImageOperation, class PaneOperation>
void CImageView::ForImagesInScope(ImageOperation onImage, PaneOperation onPane, bool throughPanes)
{
    bool hotOnly = false;
    const std::vector<ImageShow*> images = ImagesInScope(&hotOnly);
    if (hotOnly)
    {
        if (MedImage* pane = GetHotPaneWindow(); pane != nullptr && pane->GetShow() != nullptr)
        {
            onPane(pane);
        }
        return;
    }
    for (ImageShow* image : images)
    {
        const int pane = PaneOf(image);
        if (throughPanes && pane >= 0 && GetPaneImage(pane) == image)
        {
            onPane(GetPane(pane));
            continue;
        }
        onImage(image);
        image->BuildChain();
    }
    Refresh();
    ForEachPane(
        [this, throughPanes](MedImage* pane)
        {
            ImageShow* show = pane->GetShow();
            if (show == nullptr || (m_nScope == Corvane::enScopeSelected && !show->IsSelected()))
            {
                return;
            }
            if (!throughPanes)
            {
                pane->UpdateOrientationLabels(show);
                pane->RedrawImage();
            }
            PointerDelegateArgs args(show);
            pane->GetImageChangedEvent().Invoke(pane, &args);
        });
}

void CImageView::FlipHorizontal()
{
    ForImagesInScope([](ImageShow* image) { image->FlipHorizontal(); },
                     [](MedImage* pane) { pane->FlipHorizontal(); }, false);
}

void CImageView::FlipVertical()
{
    ForImagesInScope([](ImageShow* image) { image->FlipVertical(); },
                     [](MedImage* pane) { pane->FlipVertical(); }, false);
}

void CImageView::Invert()
{
    ForImagesInScope([](ImageShow* image) { image->Invert(); },
                     [](MedImage* pane) { pane->Invert(); }, false);
}

// Images on the page turn through their panes, which keep them centred.
void CImageView::OnCmdRotate90()
{
    _debug("Enter CImageView::OnCmdRotate90");
    ForImagesInScope([](ImageShow* image) { image->Rotate(1); },
                     [](MedImage* pane) { pane->Rotate(1); }, true);
}

void CImageView::OnCmdRotate180()
{
    _debug("Enter CImageView::OnCmdRotate180");
    ForImagesInScope([](ImageShow* image) { image->Rotate(2); },
                     [](MedImage* pane) { pane->Rotate(2); }, true);
}

void CImageView::OnCmdRotate270()
{
    _debug("Enter CImageView::OnCmdRotate270");
    ForImagesInScope([](ImageShow* image) { image->Rotate(3); },
                     [](MedImage* pane) { pane->Rotate(3); }, true);
}

// The pane's window-level end tells the render-state handlers, so that
// the scope's other images follow.
void CImageView::SetWindowLevel(int width, int center)
{
    _debug("Enter CImageView::SetWindowLevel, <%d, %d>", width, center);
    MedImage* pane = GetHotPaneWindow();
    ImageShow* hot = GetHotImage();
    if (hot == nullptr)
    {
        return;
    }
    hot->EnsureLoaded();
    pane->SetWindowLevel(width, center);
    pane->OnWindowLevelEnd();
}

void CImageView::SetZoomFactor(double zoom)
{
    _debug("Enter CImageView::SetZoomFactor, <%f>", zoom);
    MedImage* pane = GetHotPaneWindow();
    if (pane == nullptr || pane->GetShow() == nullptr || !(zoom > 0.0))
    {
        return;
    }
    pane->SetZoom(zoom);
    pane->CommitZoom();
}

double CImageView::GetZoomFactor() const
{
    const MedImage* pane = GetHotPaneWindow();
    return pane != nullptr ? pane->GetZoom() : -1.0;
}

void CImageView::AutoWindowLevel()
{
    if (MedImage* pane = GetHotPaneWindow())
    {
        pane->AutoWindowLevel();
    }
}

Lettra CImageView::GetAllLUTDescription() const
{
    const MedImage* pane = GetHotPaneWindow();
    return pane != nullptr ? pane->GetAllLUTDescription() : Lettra();
}

Lettra CImageView::GetOriginalLUTDescription() const
{
    const MedImage* pane = GetHotPaneWindow();
    return pane != nullptr ? pane->GetOriginalLUTDescription() : Lettra();
}

bool CImageView::SelectLUT(int index)
{
    MedImage* pane = GetHotPaneWindow();
    return pane != nullptr && pane->SelectLUT(index);
}

void CImageView::GetWindowLevel(int* width, int* center) const
{
    *width = -1;
    *center = -1;
    const ImageShow* hot = GetHotImage();
    const MetaImage* meta = hot != nullptr ? hot->GetMetaImage() : nullptr;
    if (meta != nullptr && meta->GetCurrentLUT() != nullptr)
    {
        *width = meta->GetWindowWidth();
        *center = meta->GetWindowCenter();
    }
}

void CImageView::HideLabels()
{
    m_bLabels = false;
    m_bOverlays = false;
    ForEachPane([](MedImage* pane) { pane->HideLabels(); });
}

void CImageView::ShowLabels()
{
    m_bLabels = true;
    m_bOverlays = true;
    ForEachPane([](MedImage* pane) { pane->ShowLabels(); });
}

void CImageView::ShowOverlays(bool show)
{
    m_bOverlays = show;
    ForEachPane([show](MedImage* pane) { pane->ShowOverlays(show); });
}

void CImageView::ShowRuler(bool show)
{
    ForEachPane(
        [show](MedImage* pane)
        {
            pane->ShowRuler(show);
            pane->Invalidate(FALSE);
        });
}

void CImageView::ClearHotImageAnnotation()
{
    _debug("CImageView::ClearHotImageAnnotation");
    if (MedImage* pane = GetHotPaneWindow())
    {
        pane->DeleteSelectedRois();
    }
}

void CImageView::ClearAllImageAnnotation()
{
    const SeriesShow* series = m_Layout.GetCurrentSeries();
    for (int index = 0; series != nullptr && index < series->GetNbOfImage(); ++index)
    {
        series->GetImageAt(index)->ClearAnnotations();
    }
    ForEachPane([](MedImage* pane) { pane->Invalidate(TRUE); });
    if (MedImage* pane = GetHotPaneWindow())
    {
        DelegateArgs args;
        pane->GetAnnotationsChangedEvent().Invoke(pane, &args);
    }
}

void CImageView::RestoreHotImage()
{
    _debug("Enter CImageView::RestoreHotImage");
    if (MedImage* pane = GetHotPaneWindow(); pane != nullptr && pane->GetShow() != nullptr)
    {
        // As loaded: not inverted, fitted.
        pane->GetShow()->ResetViewState();
        pane->Restore();
    }
}

void CImageView::RestoreAllImage()
{
    _debug("Enter CImageView::RestoreAllImage");
    if (m_nScope > 0)
    {
        DetachRenderStateEvent();
    }
    ForEachPane([](MedImage* pane) { pane->Restore(); });
    const SeriesShow* series = m_Layout.GetCurrentSeries();
    for (int index = 0; series != nullptr && index < series->GetNbOfImage(); ++index)
    {
        ImageShow* image = series->GetImageAt(index);
        image->DeleteMask();
        image->ClearAnnotations();
        image->ResetOrientation();
        image->Reset();
        image->ResetViewState();
        image->BuildChain();
    }
    // The panes take their images again, fitted as loaded.
    DetachPanes(true);
    Refresh();
    if (m_nScope > 0)
    {
        AttachRenderStateEvent();
    }
}

void CImageView::CopyHotPaneImage()
{
    if (MedImage* pane = GetHotPaneWindow(); pane != nullptr && pane->GetShow() != nullptr)
    {
        pane->CopyToClipboard();
    }
}

void CImageView::CopyHotImage()
{
    ImageShow* hot = GetHotImage();
    if (hot == nullptr)
    {
        return;
    }
    auto* copy = new ImageShow(*hot);
    hot->CopyMetaImageTo(*copy);
    hot->CopyDisplayStateTo(*copy);
    if (!m_Layout.InsertImageAfter(hot, copy))
    {
        delete copy;
        return;
    }
    UpdateScrollRange(m_Layout.GetNbOfImage(), true);
    const int hotPane = m_nHotPane;
    if (hotPane == m_Layout.GetPageSize() - 1)
    {
        PageToImage(hotPane, copy);
    }
    else
    {
        PageToImage(hotPane, hot);
    }
    SetHighLight(PaneOf(copy));
    FireHotImageSelChanged(copy, hot);
}

void CImageView::ImageUp()
{
    ImageShow* old = GetHotImage();
    StepPage(-1, true);
    if (GetHotImage() != old)
    {
        FireHotImageSelChanged(GetHotImage(), old);
    }
}

void CImageView::ImageDown()
{
    ImageShow* old = GetHotImage();
    StepPage(1, true);
    if (GetHotImage() != old)
    {
        FireHotImageSelChanged(GetHotImage(), old);
    }
}

int CImageView::GetSelectedImages(Array<ImageShow*>* images)
{
    if (images == nullptr)
    {
        return -1;
    }
    const SeriesShow* series = m_Layout.GetCurrentSeries();
    for (int index = 0; series != nullptr && index < series->GetNbOfImage(); ++index)
    {
        if (series->GetImageAt(index)->IsSelected())
        {
            images->AddTail(series->GetImageAt(index));
        }
    }
    return 0;
}

Lettra CImageView::GetHotImageFileName() const
{
    const ImageShow* hot = GetHotImage();
    const char* name = hot != nullptr ? hot->GetHolder().GetFileName() : nullptr;
    return name != nullptr ? Lettra(name) : Lettra();
}

Lettra CImageView::GetHotImageDicomFileInfoXML()
{
    ImageShow* hot = GetHotImage();
    DICOMImage* image = hot != nullptr ? hot->GetDicomImage() : nullptr;
    if (image == nullptr)
    {
        return Lettra();
    }
    image->DeleteGroup(WorkingGroup);
    const char* name = image->GetFileName();
    if (name == nullptr || *name == '\0')
    {
        return image->XmlSerialize();
    }
    DICOMFile again;
    if (again.ReadFileNoImage(name) == 0)
    {
        return Lettra();
    }
    again.DeleteGroup(WorkingGroup);
    return again.XmlSerialize();
}

Lettra CImageView::GetHotImageDicomValue(unsigned short group, unsigned short element)
{
    ImageShow* hot = GetHotImage();
    if (hot == nullptr)
    {
        _debug("Enter CImageView::GetHotImageDicomValue, m_HotImage = NULL");
        return Lettra();
    }
    DICOMImage* image = hot->GetDicomImage();
    bool found = false;
    if (image != nullptr)
    {
        Lettra value = ValueOf(*image, group, element, &found);
        if (found)
        {
            return value;
        }
    }
    const char* name = hot->GetHolder().GetFileName();
    DICOMFile again;
    if (name == nullptr || *name == '\0' || again.ReadFileNoImage(name) == 0)
    {
        return Lettra();
    }
    return ValueOf(again, group, element, &found);
}

ImageShow* CImageView::ImageWithDataAt(int index)
{
    ImageShow* image = index >= 0 ? m_Layout.GetImageAt(index) : nullptr;
    if (image == nullptr)
    {
        return nullptr;
    }
    DICOMImage* set = image->GetDicomImage();
    if (set == nullptr)
    {
        image->EnsureLoaded();
        set = image->GetDicomImage();
    }
    if (set != nullptr && set->IsEmpty() != 0 && set->GetFileName() != nullptr)
    {
        const Lettra name = set->GetFileName();
        set->ReadFileNoImage(name);
    }
    return set != nullptr ? image : nullptr;
}

Lettra CImageView::GetDicomFileNameAt(int index)
{
    const ImageShow* image = index >= 0 ? m_Layout.GetImageAt(index) : nullptr;
    const char* name = image != nullptr ? image->GetHolder().GetFileName() : nullptr;
    return name != nullptr ? Lettra(name) : Lettra();
}

Lettra CImageView::GetDicomFileInfoXMLAt(int index)
{
    ImageShow* image = ImageWithDataAt(index);
    return image != nullptr ? image->GetDicomImage()->XmlSerialize() : Lettra();
}

Lettra CImageView::GetDicomValueAt(int index, unsigned short group, unsigned short element)
{
    ImageShow* image = ImageWithDataAt(index);
    bool found = false;
    return image != nullptr ? ValueOf(*image->GetDicomImage(), group, element, &found) : Lettra();
}

int CImageView::GetDicomFileAt(int index, DICOMFile* out)
{
    if (out == nullptr)
    {
        return 0;
    }
    ImageShow* image = ImageWithDataAt(index);
    if (image == nullptr)
    {
        return -1;
    }
    image->GetDicomImage()->CopyTo(*out);
    return 1;
}

// An image goes to the host when its save-to-host bit is set (always for an
// image without a file); otherwise the displayed image is written over the
// image's own file.
int CImageView::SaveShowToLocalDB(ImageShow* show)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (show == nullptr)
    {
        return 0;
    }
    BeginWaitCursor();
    const int result = WriteShownImage(*show);
    EndWaitCursor();
    return result;
}

int CImageView::WriteShownImage(ImageShow& show)
{
    DICOMFile current;
    if (!show.GetCurrentDicomImage(current) || current.IsEmpty() != 0)
    {
        _error("CImageView::SaveShowToLocalDB, invoke GetCurrentDicomImage failed");
        return -1;
    }
    if ((show.GetState() & SaveToHostState) != 0)
    {
        CWnd* owner = GetOwner();
        CWnd* host = owner != nullptr && owner->m_hWnd != nullptr ? owner->GetParent() : nullptr;
        if (host == nullptr)
        {
            return 0;
        }
        Lettra path;
        MakeTempDicomFileName(path);
        _debug("CImageView::SaveShowToLocalDB, saving [%s]", static_cast<const char*>(path));
        if (current.WriteFile(path, 1) == 0)
        {
            ::DeleteFileA(path);
            return 0;
        }
        host->SendMessage(MsgSaveToHost, SaveToHostKind,
                          reinterpret_cast<LPARAM>(static_cast<const char*>(path)));
        ::DeleteFileA(path);
    }
    else
    {
        const char* name = show.GetHolder().GetFileName();
        _debug("CImageView::SaveShowToLocalDB, saving [%s]", name != nullptr ? name : "");
        if (name == nullptr || *name == '\0' || current.WriteFile(name, 1) == 0)
        {
            return 0;
        }
    }
    show.SetModified(false);
    return 1;
}
