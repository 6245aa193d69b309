#include "ImageLayout.h"

#include "ImageShow.h"
#include "QuillonLog.h"

#include <algorithm>
#include <cstdint>

namespace
{

using ImageNode = Array<ImageShow*>::Node;

unsigned Address(const void* object)
{
    return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(object));
}

bool IsSameList(const Array<ImageShow*>& a, const Array<ImageShow*>& b)
{
    if (a.GetCount() != b.GetCount())
    {
        return false;
    }
    for (ImageNode *x = a.GetHead(), *y = b.GetHead(); x != nullptr; x = x->next, y = y->next)
    {
        if (x->item != y->item)
        {
            return false;
        }
    }
    return true;
}

} // namespace

ImageLayout::ImageLayout()
    : OnSelChanged("ImageLayout::OnSelChanged"), OnImageUpdated("ImageLayout::OnImageUpdated"),
      OnPageUpdated("ImageLayout::OnPageUpdated")
{
}

ImageLayout::~ImageLayout()
{
    Reset();
}

int ImageLayout::GetNbOfImage() const
{
    const SeriesShow* series = GetCurrentSeries();
    return series != nullptr ? series->GetNbOfImage() : 0;
}

void ImageLayout::SetPageSize(int size)
{
    m_nPageSize = std::max(size, 1);
    FillPage(GetPageStart());
}

void ImageLayout::SetLineSize(int size)
{
    m_nLineSize = std::max(size, 1);
}

ImageShow* ImageLayout::GetImageAt(int index) const
{
    const SeriesShow* series = GetCurrentSeries();
    return series != nullptr ? series->GetImageAt(index) : nullptr;
}

int ImageLayout::IndexOfImage(const ImageShow* show) const
{
    const SeriesShow* series = GetCurrentSeries();
    return series != nullptr && show != nullptr ? series->IndexOf(show) : -1;
}

int ImageLayout::GetPageStart() const
{
    return std::max(IndexOfImage(m_Shown.GetAt(0)), 0);
}

void ImageLayout::FillPage(int start)
{
    m_Shown.RemoveAll();
    const SeriesShow* series = GetCurrentSeries();
    if (series == nullptr)
    {
        return;
    }
    ImageNode* node = series->GetImages().GetNodeAt(start);
    for (int left = m_nPageSize; left > 0 && node != nullptr; --left, node = node->next)
    {
        m_Shown.AddTail(node->item);
    }
}

int ImageLayout::LastPageStart() const
{
    return std::max(GetNbOfImage() - m_nPageSize, 0);
}

void ImageLayout::EnterSeries(int index)
{
    if (SeriesShow* left = GetCurrentSeries())
    {
        left->GetPage() = m_Shown;
    }
    m_Matrix.SetCurrentSeries(index);
    SeriesShow* series = GetCurrentSeries();
    FillPage(series != nullptr ? std::max(series->IndexOf(series->GetPage().GetAt(0)), 0) : 0);
}

// Which images of a load transaction come onto the page. The first image
// of a transaction in this layout follows the handle's show-image flag:
// the host (or the first view that showed it) decides. For the later ones
// the layout has its own rule, by scope and study: an image is shown only
// when it joins the series on screen (the current series) and belongs to
// the study of that series' first image, and its handle's scope is not the
// selection scope. Images that land in other series, another study or a
// selection are added quietly, so a study that goes on loading never pulls
// the view away from the series the user is looking at, and a view that
// did not take the first image does not start paging to the later ones.
bool ImageLayout::IsShownByOwnRule(const ImageShow* show, int seriesIndex) const
{
    const SeriesShow* series = GetCurrentSeries();
    if (series == nullptr || seriesIndex != IndexOfHotSeries() ||
        show->GetHolder().GetScope() == Corvane::enScopeSelected)
    {
        return false;
    }
    const ImageShow* first = series->GetFirstImage();
    return first != nullptr &&
           first->GetDicomValue(0x0020, 0x000D).Compare(show->GetDicomValue(0x0020, 0x000D)) == 0;
}

void ImageLayout::SelectShown(ImageShow* show)
{
    quillon::_debug("Will FireSelChanged, show : 0x%x", Address(show));
    FireSelChanged(show);
}

bool ImageLayout::OpenShowAtLayout(ImageShow* show, int seriesIndex)
{
    if (show == nullptr)
    {
        return false;
    }
    const bool firstOfTransaction = m_Matrix.FindSeriesByTransaction(show->GetTransactionID()) < 0;
    SeriesShow* series = m_Matrix.GetSeriesAt(seriesIndex);
    const bool isNew = series == nullptr;
    if (isNew)
    {
        series = m_Matrix.AddSeries();
        seriesIndex = m_Matrix.GetNbOfSeries() - 1;
    }
    series->AddImage(show);
    const int added = 1 + series->LoadMultiFrameImage(show);
    if (isNew)
    {
        series->UpdateInfo();
    }
    const bool shown =
        firstOfTransaction ? show->GetHolder().IsShowImage() : IsShownByOwnRule(show, seriesIndex);
    if (!shown)
    {
        return false;
    }
    if (seriesIndex != IndexOfHotSeries())
    {
        EnterSeries(seriesIndex);
        FirePageUpdated();
    }
    bool selected = false;
    const int before = m_Shown.GetCount();
    if (before < m_nPageSize)
    {
        FillPage(GetPageStart());
        if (m_Shown.Contains(show))
        {
            FireImageUpdated(show);
            if (before == 0)
            {
                SelectShown(show);
                selected = true;
            }
        }
    }
    if (added > 1)
    {
        FillPage(GetPageStart());
        FirePageUpdated();
    }
    if (firstOfTransaction)
    {
        EnsureVisible(show);
        if (!selected)
        {
            SelectShown(show);
        }
    }
    return true;
}

bool ImageLayout::InsertImageAfter(ImageShow* existing, ImageShow* added)
{
    const int index = m_Matrix.FindSeriesOf(existing);
    if (index < 0 || added == nullptr)
    {
        return false;
    }
    SeriesShow* series = m_Matrix.GetSeriesAt(index);
    series->InsertImage(added, series->IndexOf(existing));
    if (index == IndexOfHotSeries())
    {
        FillPage(GetPageStart());
    }
    FirePageUpdated();
    return true;
}

bool ImageLayout::DeleteImage(ImageShow* show)
{
    const int index = m_Matrix.FindSeriesOf(show);
    if (index < 0)
    {
        return false;
    }
    SeriesShow* series = m_Matrix.GetSeriesAt(index);
    const ImageShow* head = m_Shown.GetAt(0);
    const int start = GetPageStart();
    series->RemoveImage(show);
    m_Shown.Remove(show);
    const int saved = m_Saved.IndexOf(show);
    if (saved >= 0)
    {
        m_Saved.Remove(show);
        m_SavedRects.erase(m_SavedRects.begin() + saved);
    }
    delete show;
    const bool wasCurrent = index == IndexOfHotSeries();
    if (series->GetNbOfImage() == 0)
    {
        m_Matrix.DeleteSeries(index);
        if (wasCurrent)
        {
            EnterSeries(std::min(index, m_Matrix.GetNbOfSeries() - 1));
        }
    }
    else if (wasCurrent)
    {
        const int kept = head != show ? IndexOfImage(head) : start;
        FillPage(std::clamp(kept, 0, LastPageStart()));
    }
    return true;
}

void ImageLayout::CloseCurrentSeries()
{
    const int index = IndexOfHotSeries();
    if (index < 0)
    {
        return;
    }
    for (ImageNode* node = m_Shown.GetHead(); node != nullptr; node = node->next)
    {
        node->item->ReleaseImageData();
    }
    m_Shown.RemoveAll();
    m_Saved.RemoveAll();
    m_SavedRects.clear();
    m_Matrix.DeleteSeries(index);
    EnterSeries(index - 1);
}

void ImageLayout::Reset()
{
    m_Shown.RemoveAll();
    m_Saved.RemoveAll();
    m_SavedRects.clear();
    m_Matrix.RemoveAll();
}

ImageShow* ImageLayout::FindImageBySOPInstanceUID(const Lettra& uid) const
{
    return m_Matrix.FindImageBySOPInstanceUID(uid);
}

bool ImageLayout::HasSOPInstanceUID(const Lettra& uid) const
{
    return m_Matrix.HasSOPInstanceUID(uid);
}

int ImageLayout::FindSeriesBySeriesUID(const Lettra& uid) const
{
    return m_Matrix.FindSeriesBySeriesUID(uid);
}

int ImageLayout::FindSeriesBySOPInstanceUID(const Lettra& uid) const
{
    return m_Matrix.FindSeriesBySOPInstanceUID(uid);
}

int ImageLayout::FindSeriesByStudy(const Lettra& studyUID, const Lettra& modality) const
{
    return m_Matrix.FindSeriesByStudy(studyUID, modality);
}

bool ImageLayout::HasSeries(const Lettra& seriesUID) const
{
    return FindSeriesBySeriesUID(seriesUID) >= 0;
}

bool ImageLayout::GotoSeriesAt(int index)
{
    if (index < 0 || index >= GetNbOfSeries())
    {
        return false;
    }
    m_Matrix.ClearImageFlags();
    EnterSeries(index);
    return true;
}

bool ImageLayout::NextSeries()
{
    const int index = IndexOfHotSeries() + 1;
    return index < GetNbOfSeries() && GotoSeriesAt(index);
}

bool ImageLayout::PrevSeries()
{
    const int index = IndexOfHotSeries() - 1;
    return index >= 0 && GotoSeriesAt(index);
}

void ImageLayout::MovePage(int images)
{
    if (ScrollBy(images) >= 0)
    {
        FirePageUpdated();
    }
}

void ImageLayout::PageUp()
{
    MovePage(-m_nPageSize);
}

void ImageLayout::PageDown()
{
    MovePage(m_nPageSize);
}

void ImageLayout::LineUp()
{
    MovePage(-m_nLineSize);
}

void ImageLayout::LineDown()
{
    MovePage(m_nLineSize);
}

void ImageLayout::FirstPage()
{
    if (GetNbOfImage() > 0)
    {
        FillPage(0);
        FirePageUpdated();
    }
}

void ImageLayout::LastPage()
{
    if (GetNbOfImage() > 0)
    {
        FillPage(LastPageStart());
        FirePageUpdated();
    }
}

int ImageLayout::ScrollBy(int images)
{
    if (GetNbOfImage() == 0)
    {
        return -1;
    }
    const int start = std::clamp(GetPageStart() + images, 0, LastPageStart());
    FillPage(start);
    return start;
}

int ImageLayout::ScrollTo(int position)
{
    if (position < 0 || position >= GetNbOfImage())
    {
        quillon::_debug("Leave ImageLayout::ScrollTo, position %d is out of 0 .. %d", position,
                        GetNbOfImage() - 1);
        return -1;
    }
    FillPage(position);
    return position;
}

bool ImageLayout::ScrollToImage(const ImageShow* show)
{
    const int index = IndexOfImage(show);
    if (index < 0)
    {
        return false;
    }
    FillPage(std::min(index, LastPageStart()));
    return true;
}

bool ImageLayout::EnsureVisible(ImageShow* show)
{
    quillon::_debug("Enter ImageLayout::EnsureVisible, tShow : 0x%0x", Address(show));
    const int index = m_Matrix.FindSeriesOf(show);
    if (index < 0)
    {
        quillon::_warning("Leave ImageLayout::EnsureVisible, Cannot find ImageShow");
        return false;
    }
    bool moved = false;
    if (index != IndexOfHotSeries())
    {
        EnterSeries(index);
        moved = true;
    }
    if (!m_Shown.Contains(show))
    {
        ScrollToImage(show);
        moved = true;
    }
    if (moved)
    {
        FirePageUpdated();
    }
    return true;
}

void ImageLayout::SaveShownImages()
{
    m_Saved = m_Shown;
    m_SavedRects.clear();
    for (ImageNode* node = m_Shown.GetHead(); node != nullptr; node = node->next)
    {
        m_SavedRects.push_back(node->item->GetViewRect());
    }
}

void ImageLayout::RestoreShownImages()
{
    if (m_Saved.IsEmpty())
    {
        return;
    }
    m_Shown.RemoveAll();
    std::size_t at = 0;
    for (ImageNode* node = m_Saved.GetHead(); node != nullptr; node = node->next, ++at)
    {
        if (IndexOfImage(node->item) >= 0)
        {
            node->item->SetViewRect(m_SavedRects[at]);
            m_Shown.AddTail(node->item);
        }
    }
    m_Saved.RemoveAll();
    m_SavedRects.clear();
}

bool ImageLayout::Reorder(Reorderer reorder, const char* name, int transaction, bool force)
{
    const ImageShow* first = m_Shown.GetAt(0);
    const bool byProtocol = first != nullptr && !first->IsSortAllowed();
    const bool qualified =
        (m_Matrix.*reorder)(transaction, force, byProtocol ? IndexOfHotSeries() : -1);
    if (!qualified || first == nullptr ||
        (transaction >= 0 && transaction != first->GetTransactionID()))
    {
        return false;
    }
    if (byProtocol)
    {
        quillon::_debug("Leave ImageLayout::%s, HP is NOT supported for sorting", name);
        return false;
    }
    const Array<ImageShow*> before = m_Shown;
    FillPage(0);
    return !IsSameList(before, m_Shown);
}

bool ImageLayout::ReorderByImageNo(int transaction, bool force)
{
    return Reorder(&Matrix_ImageShow::ReorderByImageNo, "ReorderByImageNo", transaction, force);
}

bool ImageLayout::ReorderByAcquisitionNo(int transaction, bool force)
{
    return Reorder(&Matrix_ImageShow::ReorderByAcquisitionNo, "ReorderByAcquisitionNo", transaction,
                   force);
}

bool ImageLayout::ReorderBySliceLocation(int transaction, bool force)
{
    return Reorder(&Matrix_ImageShow::ReorderBySliceLocation, "ReorderBySliceLocation", transaction,
                   force);
}

bool ImageLayout::ReverseOrder(int transaction)
{
    const bool reversed = m_Matrix.ReverseOrder(transaction);
    const ImageShow* first = GetImageAt(0);
    if (reversed && first != nullptr &&
        (transaction < 0 || transaction == first->GetTransactionID()))
    {
        FillPage(0);
    }
    return reversed;
}

int ImageLayout::GetSeriesTitles(Array<Lettra>& titles)
{
    titles.RemoveAll();
    Lettra study;
    for (int index = 0; index < GetNbOfSeries(); ++index)
    {
        SeriesShow* series = m_Matrix.GetSeriesAt(index);
        series->UpdateInfo();
        if (index > 0 && series->GetStudyInstanceUID().Compare(study) != 0)
        {
            titles.AddTail(Lettra());
        }
        study = series->GetStudyInstanceUID();
        Lettra title;
        title.Format("%08d [%d] %s: %s: %s", index, series->GetNbOfImage(),
                     series->GetPatientName().constBuffer(),
                     series->GetSeriesNumber().constBuffer(),
                     series->GetSeriesDescription().constBuffer());
        titles.AddTail(title);
    }
    return titles.GetCount();
}

void ImageLayout::FireSelChanged(ImageShow* show)
{
    PointerDelegateArgs args(show);
    OnSelChanged.Invoke(this, &args);
}

void ImageLayout::FireImageUpdated(ImageShow* show)
{
    PointerDelegateArgs args(show);
    OnImageUpdated.Invoke(this, &args);
}

void ImageLayout::FirePageUpdated()
{
    OnPageUpdated.Invoke(this, nullptr);
}

void ImageLayout::DisableEventTrace()
{
    OnSelChanged.SetTrace(false);
    OnImageUpdated.SetTrace(false);
    OnPageUpdated.SetTrace(false);
}
