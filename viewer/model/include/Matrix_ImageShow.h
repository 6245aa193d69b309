// Matrix_ImageShow: the series of one view, each a SeriesShow it owns, with
// one of them current. It finds images and series by their identifiers,
// keeps per-series settings, and puts series in order.
#pragma once

#include "Array.h"
#include "Lettra.h"
#include "QuillonExport.h"
#include "SeriesShow.h"

class ImageShow;

class QUILLON_API Matrix_ImageShow
{
public:
    Matrix_ImageShow() = default;
    // Deletes every series with its images.
    ~Matrix_ImageShow();
    Matrix_ImageShow(const Matrix_ImageShow&) = delete;
    Matrix_ImageShow& operator=(const Matrix_ImageShow&) = delete;

    int GetNbOfSeries() const { return m_Series.GetCount(); }
    SeriesShow* GetSeriesAt(int index) const { return m_Series.GetAt(index); }
    int IndexOf(const SeriesShow* series) const;
    // A new empty series at the end.
    SeriesShow* AddSeries();
    // Deletes the series and its images; the current series keeps its
    // place when it was before it, and becomes none when it was this one.
    bool DeleteSeries(int index);
    void RemoveAll();

    // -1 when no series is current.
    int IndexOfCurrentSeries() const { return m_nCurrent; }
    SeriesShow* GetCurrentSeries() const { return m_Series.GetAt(m_nCurrent); }
    // False, with nothing changed, for an index that names no series; -1
    // makes none current.
    bool SetCurrentSeries(int index);

    ImageShow* GetFirstImageOfSeries(int index) const;
    // The series holding the image, -1 when none does.
    int FindSeriesOf(const ImageShow* show) const;
    // Identifiers are compared trimmed; an empty one is an ordinary key.
    ImageShow* FindImageBySOPInstanceUID(const Lettra& uid) const;
    bool HasSOPInstanceUID(const Lettra& uid) const;
    int FindSeriesBySOPInstanceUID(const Lettra& uid) const;
    // By the first image of each series.
    int FindSeriesBySeriesUID(const Lettra& uid) const;
    int FindSeriesByStudy(const Lettra& studyUID, const Lettra& modality) const;
    int FindSeriesByTransaction(int transaction) const;

    // Clears the selected flag of every image.
    void ClearImageFlags();
    void SetCurrentSeriesLayout(const char* format);
    void SetAllSeriesLayout(const char* format);
    void SetSeriesScope(int index, int scope);
    void ResetCurrentSeriesView();
    void ResetAllSeriesView();

    // Sorts the series that qualify: a series whose first image is sort-
    // allowed, or any series with force, qualifies; it is sorted when the
    // transaction is negative or that of its first image. A series may be
    // left out by its index (the one a hanging protocol laid out). True
    // when a series qualified, sorted or not.
    bool ReorderByImageNo(int transaction, bool force, int except = -1);
    bool ReorderByAcquisitionNo(int transaction, bool force, int except = -1);
    bool ReorderBySliceLocation(int transaction, bool force, int except = -1);
    // Reverses every series with images (a negative transaction), or those
    // whose first image came with the transaction; true when one was.
    bool ReverseOrder(int transaction);

private:
    // The image with the SOP Instance UID and the index of its series.
    ImageShow* FindImage(const Lettra& uid, int* seriesIndex) const;
    bool Reorder(SeriesShow::enSortKey key, const char* name, int transaction, bool force,
                 int except);

    Array<SeriesShow*> m_Series;
    int m_nCurrent = -1;
};
