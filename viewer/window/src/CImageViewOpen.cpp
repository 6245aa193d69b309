// CImageView: opening images handed over as Corvane handles, by study, by
// series or by image, skipping or reloading images the view holds already.
#include "CImageView.h"

#include "DICOMFile.h"
#include "ImageShow.h"
#include "QuillonLog.h"
#include "VeltaroLog.h"

namespace
{

constexpr unsigned short StudyUID[] = {0x0020, 0x000D};
constexpr unsigned short SeriesUID[] = {0x0020, 0x000E};
constexpr unsigned short Modality[] = {0x0008, 0x0060};
constexpr unsigned short SOPInstanceUID[] = {0x0008, 0x0018};

// What a memory-only image must keep: the post-load trim spares it.
constexpr unsigned short TrimmedSequences[][2] = {
    {0x0028, 0x3000}, // Modality LUT Sequence
    {0x0028, 0x3010}, // VOI LUT Sequence
    {0x0060, 0x3000}, // Histogram Sequence
    {0x0088, 0x0200}  // Icon Image Sequence
};

Lettra Read(Corvane* holder, const unsigned short (&tag)[2])
{
    return holder->GetNotEmptyString(tag[0], tag[1]);
}

// The elapsed-time probe of the DICOM library's log.
void Probe(int tag)
{
    QueryPerformance(tag);
}

} // namespace

int CImageView::SeriesKeyByStudy(Corvane* holder)
{
    return m_Layout.FindSeriesByStudy(Read(holder, StudyUID), Read(holder, Modality));
}

int CImageView::SeriesKeyBySeries(Corvane* holder)
{
    return m_Layout.FindSeriesBySeriesUID(Read(holder, SeriesUID));
}

int CImageView::SeriesKeyByImage(Corvane* holder)
{
    return m_Layout.FindSeriesBySOPInstanceUID(Read(holder, SOPInstanceUID));
}

// The open modes: an image whose series and SOP instance the view knows is
// skipped, and its series is brought forward.
bool CImageView::OpenSkipping(Corvane* holder, OpenKey key, const char* name)
{
    const bool present = m_Layout.HasSeries(Read(holder, SeriesUID)) &&
                         m_Layout.HasSOPInstanceUID(Read(holder, SOPInstanceUID));
    const int found = (this->*key)(holder);
    if (present)
    {
        quillon::_warning("Leave %s, same SOPInstanceUID, skip and return", name);
        if (found != m_Layout.IndexOfHotSeries())
        {
            GotoLayoutAt(found);
            RefreshCurrentLayout();
        }
        return false;
    }
    AddImageFromHolder(holder, found >= 0 ? found : m_Layout.GetNbOfSeries());
    return true;
}

bool CImageView::OpenCorvaneByStudy(Corvane* holder)
{
    quillon::_debug("Enter CImageView::OpenCorvaneByStudy, TransactionID : %d",
                    holder->GetTransactionID());
    return OpenSkipping(holder, &CImageView::SeriesKeyByStudy, "OpenCorvaneByStudy");
}

bool CImageView::OpenCorvaneBySeries(Corvane* holder)
{
    quillon::_debug("Enter CImageView::OpenCorvaneBySeries, TransactionID : %d",
                    holder->GetTransactionID());
    return OpenSkipping(holder, &CImageView::SeriesKeyBySeries, "OpenCorvaneBySeries");
}

bool CImageView::OpenCorvaneByImage(Corvane* holder)
{
    return OpenSkipping(holder, &CImageView::SeriesKeyByImage, "OpenCorvaneByImage");
}

// The open-or-reload modes: an image the view holds (in any series) is
// loaded again in place. The probe base numbers the timing lines: +0 at
// entry, +10 before a reload, +20 and +30 around a new series, +40 after
// adding to a known one; a negative base has only the entry probe.
bool CImageView::OpenReloading(Corvane* holder, OpenKey key, const char* warning, int probe)
{
    const bool allProbes = probe >= 0;
    Probe(allProbes ? probe : -probe);
    ImageShow* existing = m_Layout.FindImageBySOPInstanceUID(Read(holder, SOPInstanceUID));
    if (existing != nullptr)
    {
        quillon::_warning("%s", warning);
        if (allProbes)
        {
            Probe(probe + 10);
        }
        ReloadInPlace(existing, holder);
        return false;
    }
    const int found = (this->*key)(holder);
    if (found < 0)
    {
        if (allProbes)
        {
            Probe(probe + 20);
        }
        AddImageFromHolder(holder, m_Layout.GetNbOfSeries());
        if (allProbes)
        {
            Probe(probe + 30);
        }
        return true;
    }
    AddImageFromHolder(holder, found);
    if (allProbes)
    {
        Probe(probe + 40);
    }
    return true;
}

bool CImageView::OpenOrReloadCorvaneByStudy(Corvane* holder)
{
    quillon::_debug("Enter CImageView::OpenOrReloadCorvaneByStudy, TransactionID : %d",
                    holder->GetTransactionID());
    return OpenReloading(holder, &CImageView::SeriesKeyByStudy,
                         "Leave OpenOrReloadCorvaneByStudy, same SOPInstanceUID", 28000);
}

bool CImageView::OpenOrReloadCorvaneBySeries(Corvane* holder)
{
    quillon::_debug("Enter CImageView::OpenOrReloadCorvaneBySeries, TransactionID : %d",
                    holder->GetTransactionID());
    return OpenReloading(holder, &CImageView::SeriesKeyBySeries,
                         "Leave OpenOrReloadCorvaneBySeries, same SOPInstanceUID, skip and return",
                         28100);
}

bool CImageView::OpenOrReloadCorvaneByImage(Corvane* holder)
{
    return OpenReloading(holder, &CImageView::SeriesKeyByImage,
                         "Leave OpenOrReloadCorvaneBySeries, same SOPInstanceUID, skip and return",
                         -28200);
}

// The display data the user made (window, tables) survive the new pixels.
void CImageView::ReloadInPlace(ImageShow* existing, Corvane* holder)
{
    ImageShow saved;
    existing->CopyMetaImageTo(saved);
    existing->ReleaseMetaImages();
    existing->AttachCorvane(*holder, existing->GetFrameIndex());
    existing->EnsureLoaded();
    saved.CopyMetaImageTo(*existing);
    existing->BuildChain();
    existing->InvokeChain();
    try
    {
        UpdateShownImage(existing);
    }
    catch (...)
    {
        quillon::_debug("Leave CImageView::ReloadInPlace, the pane could not be redrawn");
    }
}

// ImageShow hands its handle out read-only; the view that made the image
// owns it and sets the handle's per-image flags.
Corvane& CImageView::HolderOf(ImageShow* show)
{
    return const_cast<Corvane&>(show->GetHolder());
}

ImageShow* CImageView::CreateImageShow(Corvane* holder)
{
    auto* show = new ImageShow;
    show->AttachCorvane(*holder, 0);
    return show;
}

void CImageView::AddImageFromHolder(Corvane* holder, int seriesIndex)
{
    ImageShow* show = CreateImageShow(holder);
    show->AttachCorvane(*holder, 0);
    InsertImageShow(show, seriesIndex);
    holder->ShowImage(show->GetHolder().IsShowImage());
}

void CImageView::InsertImageShow(ImageShow* show, int seriesIndex)
{
    Corvane& holder = HolderOf(show);
    const char* fileName = holder.GetFileName();
    if (fileName == nullptr || *fileName == '\0')
    {
        show->SetState(show->GetState() | ImageShow::enKeepPixelData | SaveToHostState);
    }
    if (holder.GetScope() >= 1 && m_Layout.GetNbOfSeries() > 0)
    {
        if (const ImageShow* first = m_Layout.GetSeries().GetFirstImageOfSeries(seriesIndex))
        {
            first->CopyDisplayStateTo(*show);
        }
    }
    PointerDelegateArgs args(show);
    ImageAdding.Invoke(this, &args);
    const int shownBefore = m_Layout.GetNbOfShown();
    const int scope = holder.GetScope();
    const bool shown = m_Layout.OpenShowAtLayout(show, seriesIndex);
    // The layout may have put the image into a new series at the end.
    seriesIndex = m_Layout.GetSeries().FindSeriesOf(show);
    if (shown)
    {
        holder.ShowImage(false);
    }
    if (seriesIndex == m_Layout.IndexOfHotSeries())
    {
        UpdateScrollRange(m_Layout.GetNbOfImage(), false);
    }
    if (shown)
    {
        if (scope != m_nScope)
        {
            SetScope(scope);
        }
        CWnd* owner = GetOwner();
        if (seriesIndex > 0 && m_Layout.GetNbOfShown() > shownBefore && owner != nullptr &&
            owner->m_hWnd != nullptr)
        {
            owner->PostMessage(WM_COMMAND, CmdRefLines, 0);
        }
    }
    m_Layout.GetSeries().SetSeriesScope(seriesIndex, scope);
    ImageAdded.Invoke(this, &args);
    TrimLoadedHolder(show);
}

// A loaded image keeps only what the view shows: its pixel data and the
// large sequences go, unless the handle shares them or nothing backs them.
void CImageView::TrimLoadedHolder(ImageShow* show)
{
    if (show == nullptr ||
        (show->GetState() & (ImageShow::enKeepPixelData | ImageShow::enReleaseHolderPixels)) != 0)
    {
        return;
    }
    Corvane& holder = HolderOf(show);
    holder.ReleasePixelDataEx();
    for (const auto& tag : TrimmedSequences)
    {
        holder.DeleteEx(tag[0], tag[1]);
    }
}
