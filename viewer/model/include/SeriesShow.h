// SeriesShow: one series of a view, an ordered list of the ImageShows it
// owns, with what the view keeps per series (its layout format, its scope,
// the page it showed when it was left, the image it remembers) and a
// summary read from its first image.
#pragma once

#include "Array.h"
#include "DDateTime.h"
#include "Delegate.h"
#include "Lettra.h"
#include "QuillonExport.h"

#include <cstdint>
#include <string>
#include <unordered_map>

class ImageShow;

class QUILLON_API SeriesShow
{
public:
    // The keys a series is put in order by.
    enum enSortKey
    {
        enByImageNo,       // Instance Number (0020,0013), an integer
        enByAcquisitionNo, // Acquisition Number (0020,0012), an integer
        enBySliceLocation  // Slice Location (0020,1041), a double
    };

    SeriesShow();
    // Deletes its images.
    ~SeriesShow();
    SeriesShow(const SeriesShow&) = delete;
    SeriesShow& operator=(const SeriesShow&) = delete;

    const Array<ImageShow*>& GetImages() const { return m_Images; }
    int GetNbOfImage() const { return m_Images.GetCount(); }
    ImageShow* GetImageAt(int index) const { return m_Images.GetAt(index); }
    ImageShow* GetFirstImage() const { return m_Images.GetAt(0); }
    ImageShow* GetLastImage() const { return m_Images.GetAt(m_Images.GetCount() - 1); }
    int IndexOf(const ImageShow* show) const;
    // An image of the series with that SOP Instance UID (trimmed), found
    // without reading the data sets again; null when none.
    ImageShow* FindBySOPInstanceUID(const Lettra& uid) const;

    // Appends the image (the series owns it from then on), announces it
    // with the image as argument and stamps the time of the change.
    void AddImage(ImageShow* show);
    // The same behind position after (at the head for a negative one, at
    // the end past the last).
    void InsertImage(ImageShow* show, int after);
    // Takes the image out of the series, its page and its memory; the
    // caller owns it again. False when the series does not hold it.
    bool RemoveImage(ImageShow* show);

    // Splits a multi-frame image that shows its first frame: a copy for
    // each further frame follows it, and the series is marked multi-frame.
    // The number of images added (0 for a single frame or a frame copy).
    int LoadMultiFrameImage(ImageShow* show);

    // Sorts the images by the key (images whose data set lacks Instance
    // Number are read again from their files first). The order of images
    // with equal keys is not kept.
    void SortBy(enSortKey key);
    // Reverses the order of the images.
    void Reverse();
    // -1, 0 or 1 as the key of a is smaller, equal or greater than b's.
    static int CompareBy(enSortKey key, const ImageShow* a, const ImageShow* b);

    // Reads the summary from the first image (its file again, without
    // pixel data, when its data set is empty).
    void UpdateInfo();
    const Lettra& GetPatientName() const { return m_strPatientName; }
    const Lettra& GetStudyInstanceUID() const { return m_strStudyInstanceUID; }
    const Lettra& GetSeriesInstanceUID() const { return m_strSeriesInstanceUID; }
    const Lettra& GetSeriesNumber() const { return m_strSeriesNumber; }
    const Lettra& GetSeriesDescription() const { return m_strSeriesDescription; }
    const Lettra& GetModality() const { return m_strModality; }
    std::int32_t GetNbOfFrames() const { return m_nNbOfFrames; }
    bool IsMultiFrame() const { return m_bMultiFrame != 0; }

    const Lettra& GetLayout() const { return m_strLayout; }
    void SetLayout(const char* format) { m_strLayout = format != nullptr ? format : ""; }
    int GetScope() const { return m_nScope; }
    void SetScope(int scope) { m_nScope = scope; }
    bool IsLoadCompleted() const { return m_bLoadCompleted; }
    void SetLoadCompleted(bool completed) { m_bLoadCompleted = completed; }
    // The image the view selects when it shows the series again.
    ImageShow* GetRememberedImage() const { return m_pRemembered; }
    void SetRememberedImage(ImageShow* show) { m_pRemembered = show; }
    // The page the series showed when another series was made current.
    Array<ImageShow*>& GetPage() { return m_Page; }
    const DDateTime& GetLastChange() const { return m_LastChange; }

    // Announced by AddImage and InsertImage with the series as sender and
    // the image as PointerDelegateArgs.
    Delegate OnImageAdded;

private:
    void Announce(ImageShow* show);
    // The index of the images by SOP Instance UID, read once per image.
    void IndexImage(ImageShow* show);
    void UnindexImage(ImageShow* show);
    // Reads the file of every image whose data set lacks Instance Number.
    void ReadMissingInstanceNumbers();

    Array<ImageShow*> m_Images;
    // Frames of one file share their UID: each key counts its images.
    std::unordered_multimap<std::string, ImageShow*> m_BySOPInstanceUID;
    Lettra m_strLayout;
    Array<ImageShow*> m_Page;
    Lettra m_strPatientName;
    Lettra m_strStudyInstanceUID;
    Lettra m_strSeriesInstanceUID;
    Lettra m_strSeriesNumber;
    Lettra m_strSeriesDescription;
    Lettra m_strModality;
    std::int32_t m_nNbOfFrames = 0;
    std::uint8_t m_bMultiFrame = 0;
    int m_nScope = 0;
    bool m_bLoadCompleted = false;
    ImageShow* m_pRemembered = nullptr;
    DDateTime m_LastChange;
};
