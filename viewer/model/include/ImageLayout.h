// ImageLayout: the series and paging model of one image view. It holds the
// view's series (Matrix_ImageShow) with one current series, and the page:
// the images of the current series shown in the panes, a run of at most
// page-size images of that series. It announces changes through three
// Delegates, each with the layout as sender:
// - OnSelChanged ("ImageLayout::OnSelChanged"): an image was selected,
//   PointerDelegateArgs with the image;
// - OnImageUpdated ("ImageLayout::OnImageUpdated"): an image on the page
//   changed or joined it, PointerDelegateArgs with the image;
// - OnPageUpdated ("ImageLayout::OnPageUpdated"): the page moved or was
//   filled again, no argument.
// Scrolling (ScrollBy, ScrollTo, ScrollToImage) and series choice move the
// page without announcing it: their callers lay the panes out afterwards.
#pragma once

#include "Array.h"
#include "Delegate.h"
#include "Lettra.h"
#include "Matrix_ImageShow.h"
#include "QuillonExport.h"
#include "WinGeometry.h"

#include <vector>

class ImageShow;

class QUILLON_API ImageLayout
{
public:
    static constexpr int DefaultPageSize = 6;
    static constexpr int DefaultLineSize = 2;

    ImageLayout();
    // Deletes every series and its images.
    ~ImageLayout();
    ImageLayout(const ImageLayout&) = delete;
    ImageLayout& operator=(const ImageLayout&) = delete;

    // Counts.
    int GetNbOfSeries() const { return m_Matrix.GetNbOfSeries(); }
    // -1 without a current series.
    int IndexOfHotSeries() const { return m_Matrix.IndexOfCurrentSeries(); }
    // Images of the current series (0 without one).
    int GetNbOfImage() const;
    int GetNbOfShown() const { return m_Shown.GetCount(); }
    // The page size is the number of panes; the line size the images one
    // line of panes holds. Both at least 1; a new page size fills the page
    // again from its start.
    int GetPageSize() const { return m_nPageSize; }
    void SetPageSize(int size);
    int GetLineSize() const { return m_nLineSize; }
    void SetLineSize(int size);

    Matrix_ImageShow& GetSeries() { return m_Matrix; }
    const Matrix_ImageShow& GetSeries() const { return m_Matrix; }
    SeriesShow* GetCurrentSeries() const { return m_Matrix.GetCurrentSeries(); }
    // The image at a position of the current series, or null.
    ImageShow* GetImageAt(int index) const;
    // The position of the image in the current series, -1 when absent.
    int IndexOfImage(const ImageShow* show) const;
    const Array<ImageShow*>& GetShownImages() const { return m_Shown; }
    const Array<ImageShow*>& GetSavedImages() const { return m_Saved; }
    // The position in the current series of the page's first image; 0
    // for an empty page.
    int GetPageStart() const;

    // Puts the image (the layout owns it from then on) into the series of
    // that index, a new series past the end, and decides whether it is to
    // be shown (see the source). False when it is not; then nothing moves.
    bool OpenShowAtLayout(ImageShow* show, int seriesIndex);
    // The new image (owned from then on) behind the existing one in its
    // series; the page is filled again and announced. False, taking
    // nothing, when the existing image is in no series.
    bool InsertImageAfter(ImageShow* existing, ImageShow* added);
    // Takes the image out of its series, the page and the saved page and
    // deletes it; a series left empty is deleted too, and the series that
    // takes its place (or the one before it) becomes current. False when
    // no series holds the image.
    bool DeleteImage(ImageShow* show);
    // Releases the images on the page, empties the page and the saved page
    // and deletes the current series. The series before it becomes
    // current, so that NextSeries lands on the series that followed.
    void CloseCurrentSeries();
    // Deletes every series; no series is current and the page is empty.
    void Reset();

    // Finding (identifiers compared trimmed).
    ImageShow* FindImageBySOPInstanceUID(const Lettra& uid) const;
    bool HasSOPInstanceUID(const Lettra& uid) const;
    int FindSeriesBySeriesUID(const Lettra& uid) const;
    int FindSeriesBySOPInstanceUID(const Lettra& uid) const;
    int FindSeriesByStudy(const Lettra& studyUID, const Lettra& modality) const;
    bool HasSeries(const Lettra& seriesUID) const;

    // Series choice: the selected flags are cleared and the series made
    // current with the page it showed when it was left (its first page the
    // first time). At either end the current series stays (false).
    bool NextSeries();
    bool PrevSeries();
    bool GotoSeriesAt(int index);

    // Paging of the current series, announced as page updates.
    void PageUp();
    void PageDown();
    void LineUp();
    void LineDown();
    void FirstPage();
    // The last page, filled from the tail.
    void LastPage();
    // Moves the page by a signed number of images, its start clamped to
    // 0 .. count - page size; the new start, -1 without series or images.
    int ScrollBy(int images);
    // The page from that position (the last page may be short); the
    // position, -1 when it is out of range.
    int ScrollTo(int position);
    // The page starts at the image, or is the last page when fewer than a
    // page follow it; false when the current series does not hold it.
    bool ScrollToImage(const ImageShow* show);
    // Makes the image's series current and moves the page so that the image
    // is on it (announced when the page moved); false, changing nothing,
    // when no series holds it.
    bool EnsureVisible(ImageShow* show);

    // The page and the view rectangles of its images, kept before a pane
    // is blown up, and put back afterwards.
    void SaveShownImages();
    void RestoreShownImages();

    void ResetCurrentSeriesView() { m_Matrix.ResetCurrentSeriesView(); }
    void ResetAllSeriesView() { m_Matrix.ResetAllSeriesView(); }

    // Sorting: the series qualify and are sorted as Matrix_ImageShow says;
    // a page laid out by a hanging protocol (its first image not sort-
    // allowed) is never re-sorted. True when the page changed; the page is
    // then the first page of the sorted current series.
    bool ReorderByImageNo(int transaction, bool force);
    bool ReorderByAcquisitionNo(int transaction, bool force);
    bool ReorderBySliceLocation(int transaction, bool force);
    // Reverses the series as Matrix_ImageShow does; the page becomes the
    // first page of the current series when it was reversed.
    bool ReverseOrder(int transaction);

    // One title per series, "%08d [count] name: number: description", with
    // an empty entry between series of different studies; their number.
    int GetSeriesTitles(Array<Lettra>& titles);

    void FireSelChanged(ImageShow* show);
    void FireImageUpdated(ImageShow* show);
    void FirePageUpdated();
    void DisableEventTrace();

    Delegate OnSelChanged;
    Delegate OnImageUpdated;
    Delegate OnPageUpdated;

private:
    using Reorderer = bool (Matrix_ImageShow::*)(int, bool, int);

    // The page: the images of the current series from start on.
    void FillPage(int start);
    int LastPageStart() const;
    // Keeps the page on the current series and makes another one current
    // with the page it kept.
    void EnterSeries(int index);
    void MovePage(int images);
    bool IsShownByOwnRule(const ImageShow* show, int seriesIndex) const;
    void SelectShown(ImageShow* show);
    bool Reorder(Reorderer reorder, const char* name, int transaction, bool force);

    Matrix_ImageShow m_Matrix;
    int m_nPageSize = DefaultPageSize;
    int m_nLineSize = DefaultLineSize;
    Array<ImageShow*> m_Shown;
    Array<ImageShow*> m_Saved;
    std::vector<RECT> m_SavedRects;
};
