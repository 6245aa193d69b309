#include "Matrix_ImageShow.h"

#include "ImageShow.h"
#include "QuillonLog.h"

namespace
{

using SeriesNode = Array<SeriesShow*>::Node;
using ImageNode = Array<ImageShow*>::Node;

// The key is trimmed already.
bool IsKey(const ImageShow* show, unsigned short group, unsigned short element, const Lettra& key)
{
    return show != nullptr && show->GetDicomValue(group, element).Compare(key) == 0;
}

} // namespace

Matrix_ImageShow::~Matrix_ImageShow()
{
    RemoveAll();
}

int Matrix_ImageShow::IndexOf(const SeriesShow* series) const
{
    return m_Series.IndexOf(const_cast<SeriesShow*>(series));
}

SeriesShow* Matrix_ImageShow::AddSeries()
{
    auto* series = new SeriesShow;
    m_Series.AddTail(series);
    return series;
}

bool Matrix_ImageShow::DeleteSeries(int index)
{
    SeriesShow* series = m_Series.GetAt(index);
    if (series == nullptr)
    {
        return false;
    }
    m_Series.Remove(series);
    delete series;
    if (m_nCurrent == index)
    {
        m_nCurrent = -1;
    }
    else if (m_nCurrent > index)
    {
        --m_nCurrent;
    }
    return true;
}

void Matrix_ImageShow::RemoveAll()
{
    m_Series.DeleteAll();
    m_nCurrent = -1;
}

bool Matrix_ImageShow::SetCurrentSeries(int index)
{
    if (index < -1 || index >= m_Series.GetCount())
    {
        return false;
    }
    m_nCurrent = index;
    return true;
}

ImageShow* Matrix_ImageShow::GetFirstImageOfSeries(int index) const
{
    const SeriesShow* series = m_Series.GetAt(index);
    return series != nullptr ? series->GetFirstImage() : nullptr;
}

int Matrix_ImageShow::FindSeriesOf(const ImageShow* show) const
{
    int index = 0;
    for (SeriesNode* node = m_Series.GetHead(); node != nullptr; node = node->next, ++index)
    {
        if (node->item->IndexOf(show) >= 0)
        {
            return index;
        }
    }
    return -1;
}

ImageShow* Matrix_ImageShow::FindImage(const Lettra& uid, int* seriesIndex) const
{
    const Lettra key = uid.Trim();
    int index = 0;
    for (SeriesNode* series = m_Series.GetHead(); series != nullptr; series = series->next, ++index)
    {
        if (ImageShow* show = series->item->FindBySOPInstanceUID(key))
        {
            *seriesIndex = index;
            return show;
        }
    }
    *seriesIndex = -1;
    return nullptr;
}

ImageShow* Matrix_ImageShow::FindImageBySOPInstanceUID(const Lettra& uid) const
{
    int index = -1;
    return FindImage(uid, &index);
}

bool Matrix_ImageShow::HasSOPInstanceUID(const Lettra& uid) const
{
    return FindImageBySOPInstanceUID(uid) != nullptr;
}

int Matrix_ImageShow::FindSeriesBySOPInstanceUID(const Lettra& uid) const
{
    int index = -1;
    FindImage(uid, &index);
    return index;
}

int Matrix_ImageShow::FindSeriesBySeriesUID(const Lettra& uid) const
{
    const Lettra key = uid.Trim();
    int index = 0;
    for (SeriesNode* node = m_Series.GetHead(); node != nullptr; node = node->next, ++index)
    {
        if (IsKey(node->item->GetFirstImage(), 0x0020, 0x000E, key))
        {
            return index;
        }
    }
    return -1;
}

int Matrix_ImageShow::FindSeriesByStudy(const Lettra& studyUID, const Lettra& modality) const
{
    const Lettra study = studyUID.Trim();
    const Lettra kind = modality.Trim();
    int index = 0;
    for (SeriesNode* node = m_Series.GetHead(); node != nullptr; node = node->next, ++index)
    {
        const ImageShow* first = node->item->GetFirstImage();
        if (IsKey(first, 0x0020, 0x000D, study) && IsKey(first, 0x0008, 0x0060, kind))
        {
            return index;
        }
    }
    return -1;
}

int Matrix_ImageShow::FindSeriesByTransaction(int transaction) const
{
    int index = 0;
    for (SeriesNode* node = m_Series.GetHead(); node != nullptr; node = node->next, ++index)
    {
        const ImageShow* first = node->item->GetFirstImage();
        if (first != nullptr && first->GetTransactionID() == transaction)
        {
            return index;
        }
    }
    return -1;
}

void Matrix_ImageShow::ClearImageFlags()
{
    for (SeriesNode* series = m_Series.GetHead(); series != nullptr; series = series->next)
    {
        for (ImageNode* node = series->item->GetImages().GetHead(); node != nullptr;
             node = node->next)
        {
            node->item->SetSelected(false);
        }
    }
}

void Matrix_ImageShow::SetCurrentSeriesLayout(const char* format)
{
    if (SeriesShow* series = GetCurrentSeries())
    {
        series->SetLayout(format);
    }
}

void Matrix_ImageShow::SetAllSeriesLayout(const char* format)
{
    for (SeriesNode* node = m_Series.GetHead(); node != nullptr; node = node->next)
    {
        node->item->SetLayout(format);
    }
}

void Matrix_ImageShow::SetSeriesScope(int index, int scope)
{
    if (SeriesShow* series = m_Series.GetAt(index))
    {
        series->SetScope(scope);
    }
}

void Matrix_ImageShow::ResetCurrentSeriesView()
{
    if (const SeriesShow* series = GetCurrentSeries())
    {
        for (ImageNode* node = series->GetImages().GetHead(); node != nullptr; node = node->next)
        {
            node->item->ResetViewState();
        }
    }
}

void Matrix_ImageShow::ResetAllSeriesView()
{
    for (SeriesNode* series = m_Series.GetHead(); series != nullptr; series = series->next)
    {
        for (ImageNode* node = series->item->GetImages().GetHead(); node != nullptr;
             node = node->next)
        {
            node->item->ResetViewState();
        }
    }
}

bool Matrix_ImageShow::Reorder(SeriesShow::enSortKey key, const char* name, int transaction,
                               bool force, int except)
{
    quillon::_debug("Enter Matrix_ImageShow::%s, TID : %d", name, transaction);
    bool qualified = false;
    int index = 0;
    for (SeriesNode* node = m_Series.GetHead(); node != nullptr; node = node->next, ++index)
    {
        const ImageShow* first = node->item->GetFirstImage();
        if (first == nullptr || !(force || first->IsSortAllowed()))
        {
            continue;
        }
        qualified = true;
        quillon::_debug("Enter Matrix_ImageShow::%s for [%s], TID : %d, h.TID : %d", name,
                        first->GetDicomValue(0x0008, 0x0060).constBuffer(), transaction,
                        first->GetTransactionID());
        if (index != except && (transaction < 0 || transaction == first->GetTransactionID()))
        {
            node->item->SortBy(key);
        }
    }
    return qualified;
}

bool Matrix_ImageShow::ReorderByImageNo(int transaction, bool force, int except)
{
    return Reorder(SeriesShow::enByImageNo, "ReorderByImageNo", transaction, force, except);
}

bool Matrix_ImageShow::ReorderByAcquisitionNo(int transaction, bool force, int except)
{
    return Reorder(SeriesShow::enByAcquisitionNo, "ReorderByAcquisitionNo", transaction, force,
                   except);
}

bool Matrix_ImageShow::ReorderBySliceLocation(int transaction, bool force, int except)
{
    return Reorder(SeriesShow::enBySliceLocation, "ReorderBySliceLocation", transaction, force,
                   except);
}

bool Matrix_ImageShow::ReverseOrder(int transaction)
{
    bool reversed = false;
    for (SeriesNode* node = m_Series.GetHead(); node != nullptr; node = node->next)
    {
        const ImageShow* first = node->item->GetFirstImage();
        if (first != nullptr && (transaction < 0 || transaction == first->GetTransactionID()))
        {
            node->item->Reverse();
            reversed = true;
        }
    }
    return reversed;
}
