#include "SeriesShow.h"

#include "DICOMImage.h"
#include "ImageShow.h"
#include "QuillonLog.h"

#include <iterator>
#include <utility>
#include <vector>

namespace
{

using Node = Array<ImageShow*>::Node;

template <typename T> int Sign(T a, T b)
{
    return a > b ? 1 : (a < b ? -1 : 0);
}

// Quicksort over the items of the nodes lo..hi: the middle item is the
// pivot, items are exchanged between nodes and the nodes stay in place.
void QuickSort(std::vector<Node*>& nodes, int lo, int hi, SeriesShow::enSortKey key)
{
    const auto item = [&nodes](int at) -> ImageShow*& { return nodes[std::size_t(at)]->item; };
    while (hi - lo >= 1)
    {
        if (hi - lo == 1)
        {
            if (SeriesShow::CompareBy(key, item(hi), item(lo)) < 0)
            {
                std::swap(item(hi), item(lo));
            }
            return;
        }
        std::swap(item((lo + hi) / 2), item(lo));
        ImageShow* const pivot = item(lo);
        int i = lo + 1;
        int j = hi;
        for (;;)
        {
            while (i <= j && SeriesShow::CompareBy(key, item(i), pivot) <= 0)
            {
                ++i;
            }
            while (SeriesShow::CompareBy(key, pivot, item(j)) < 0)
            {
                --j;
            }
            if (i >= j)
            {
                break;
            }
            std::swap(item(i), item(j));
        }
        item(lo) = item(j);
        item(j) = pivot;
        if (lo < j - 1)
        {
            QuickSort(nodes, lo, j - 1, key);
        }
        lo = j + 1;
    }
}

// The image's data set read again without pixel data, from its own file;
// nothing for an image without a file.
void ReadAgain(DICOMImage& image)
{
    const Lettra path = image.GetFileName() != nullptr ? image.GetFileName() : "";
    if (!path.IsEmpty())
    {
        image.ReadFileNoImage(path);
    }
}

} // namespace

SeriesShow::SeriesShow() : OnImageAdded("SeriesShow::OnImageAdded")
{
    OnImageAdded.SetTrace(false);
}

SeriesShow::~SeriesShow()
{
    m_Images.DeleteAll();
}

int SeriesShow::IndexOf(const ImageShow* show) const
{
    return m_Images.IndexOf(const_cast<ImageShow*>(show));
}

ImageShow* SeriesShow::FindBySOPInstanceUID(const Lettra& uid) const
{
    // Of the frames of one file, the first in the series.
    const auto [first, last] = m_BySOPInstanceUID.equal_range(uid.constBuffer());
    ImageShow* found = nullptr;
    int at = -1;
    for (auto entry = first; entry != last; ++entry)
    {
        const int index = std::next(first) == last ? 0 : IndexOf(entry->second);
        if (found == nullptr || index < at)
        {
            found = entry->second;
            at = index;
        }
    }
    return found;
}

void SeriesShow::IndexImage(ImageShow* show)
{
    if (show != nullptr)
    {
        m_BySOPInstanceUID.emplace(show->GetDicomValue(0x0008, 0x0018).constBuffer(), show);
    }
}

void SeriesShow::UnindexImage(ImageShow* show)
{
    for (auto entry = m_BySOPInstanceUID.begin(); entry != m_BySOPInstanceUID.end(); ++entry)
    {
        if (entry->second == show)
        {
            m_BySOPInstanceUID.erase(entry);
            return;
        }
    }
}

void SeriesShow::Announce(ImageShow* show)
{
    IndexImage(show);
    m_LastChange = DDateTime::GetTickCount();
    PointerDelegateArgs args(show);
    OnImageAdded.Invoke(this, &args);
}

void SeriesShow::AddImage(ImageShow* show)
{
    m_Images.AddTail(show);
    Announce(show);
}

void SeriesShow::InsertImage(ImageShow* show, int after)
{
    if (after < 0)
    {
        m_Images.AddHead(show);
    }
    else
    {
        m_Images.InsertAt(show, after + 1);
    }
    Announce(show);
}

bool SeriesShow::RemoveImage(ImageShow* show)
{
    if (m_Images.Remove(show) == 0)
    {
        return false;
    }
    UnindexImage(show);
    m_Page.Remove(show);
    if (m_pRemembered == show)
    {
        m_pRemembered = nullptr;
    }
    m_LastChange = DDateTime::GetTickCount();
    return true;
}

int SeriesShow::LoadMultiFrameImage(ImageShow* show)
{
    const int claimed = show != nullptr ? show->GetNbOfFrames() : 0;
    if (claimed < 2)
    {
        return 0;
    }
    quillon::_debug("Enter SeriesShow::LoadMultiFrameImage, NbOfFrames : %d", claimed);
    const int at = IndexOf(show);
    if (show->GetFrameIndex() != 0 || at < 0)
    {
        return 0;
    }
    // Only the frames the file holds become images: a claim of millions
    // would otherwise make as many.
    const int frames = show->CountFramesPresent();
    if (frames < 2)
    {
        return 0;
    }
    m_bMultiFrame = 1;
    for (int frame = 1; frame < frames; ++frame)
    {
        InsertImage(show->CloneForFrame(frame), at + frame - 1);
    }
    return frames - 1;
}

int SeriesShow::CompareBy(enSortKey key, const ImageShow* a, const ImageShow* b)
{
    switch (key)
    {
    case enByAcquisitionNo:
        return Sign(a->GetDicomValue(0x0020, 0x0012).Int(), b->GetDicomValue(0x0020, 0x0012).Int());
    case enBySliceLocation:
        return Sign(a->GetDicomValue(0x0020, 0x1041).Double(),
                    b->GetDicomValue(0x0020, 0x1041).Double());
    case enByImageNo:
    default:
        return Sign(a->GetDicomValue(0x0020, 0x0013).Int(), b->GetDicomValue(0x0020, 0x0013).Int());
    }
}

void SeriesShow::ReadMissingInstanceNumbers()
{
    for (Node* node = m_Images.GetHead(); node != nullptr; node = node->next)
    {
        DICOMImage* image = node->item->GetDicomImage();
        if (image != nullptr && image->IsExist(0x0020, 0x0013) == 0)
        {
            ReadAgain(*image);
        }
    }
}

void SeriesShow::SortBy(enSortKey key)
{
    ReadMissingInstanceNumbers();
    std::vector<Node*> nodes;
    nodes.reserve(std::size_t(m_Images.GetCount()));
    for (Node* node = m_Images.GetHead(); node != nullptr; node = node->next)
    {
        nodes.push_back(node);
    }
    QuickSort(nodes, 0, static_cast<int>(nodes.size()) - 1, key);
    m_LastChange = DDateTime::GetTickCount();
}

void SeriesShow::Reverse()
{
    Node* head = m_Images.GetHead();
    Node* tail = m_Images.GetTail();
    for (int left = m_Images.GetCount() / 2; left > 0; --left)
    {
        std::swap(head->item, tail->item);
        head = head->next;
        tail = tail->prev;
    }
    m_LastChange = DDateTime::GetTickCount();
}

void SeriesShow::UpdateInfo()
{
    ImageShow* first = GetFirstImage();
    DICOMImage* image = first != nullptr ? first->GetDicomImage() : nullptr;
    if (image == nullptr)
    {
        return;
    }
    if (image->IsEmpty() != 0)
    {
        ReadAgain(*image);
    }
    m_strPatientName = first->GetDicomValue(0x0010, 0x0010);
    m_strStudyInstanceUID = first->GetDicomValue(0x0020, 0x000D);
    m_strSeriesInstanceUID = first->GetDicomValue(0x0020, 0x000E);
    m_strSeriesNumber = first->GetDicomValue(0x0020, 0x0011);
    m_strSeriesDescription = first->GetDicomValue(0x0008, 0x103E);
    m_strModality = first->GetDicomValue(0x0008, 0x0060);
    m_nNbOfFrames = image->GetNumberOfFrames();
}
