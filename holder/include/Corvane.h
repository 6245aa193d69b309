// Corvane: a small value-type handle on one DICOM image with per-handle
// display flags. Copies share the image and one reference-counted block,
// so images can be passed around, grouped and sorted without reading their
// files twice. The block may also carry an image-information data set that
// answers attribute queries before the file itself is read.
//
// The viewer libraries and the program read the handle's fields in place:
// their order and widths are fixed and checked below. The block count changes
// with interlocked operations, so handles sharing an image may be copied and
// destroyed on different threads; the image and the flags are used from one
// thread at a time.
#pragma once

#include "CorvaneExport.h"
#include "Lettra.h"
#include "WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

class DICOMDataSet;
class DICOMFile;
class DICOMImage;

class CORVANE_API Corvane
{
public:
    // Grouping class of an image, stored for the views: images grouped by
    // study or by series.
    enum enGroupBy : std::int32_t
    {
        enGroupByStudy = 1,
        enGroupBySeries = 2
    };
    // Which images an operation of a view follows: the hot image, every image
    // of the view's series, or the selected images.
    enum enScope : std::int32_t
    {
        enScopeImage = 0,
        enScopeView = 1,
        enScopeSelected = 10
    };

    // The block the handles of one image share.
    struct MetaData
    {
        // Changed only with interlocked operations; negative for the static
        // block of the empty handle, which is never shared.
        LONG nRefs;
        // Null until SetImageInfoDDS creates it; owned by the block.
        DICOMDataSet* pImageInfo;
    };

    // A temporary returned by the call operator; converts to the attribute's
    // value by the rules of GetLettra, GetUINT32 and GetUINT16.
    class CORVANE_API Proxy
    {
    public:
        Proxy(Corvane& handle, unsigned short group, unsigned short element);

        operator Lettra() const;
        operator unsigned int() const;
        operator unsigned short() const;

    private:
        Corvane* m_pHandle;
        std::uint16_t m_nGroup;
        std::uint16_t m_nElement;
    };

    // The block of every empty handle: count -1, no image information.
    static MetaData DataNil;

    Corvane();
    // Shares the other handle's image and copies its flags.
    Corvane(const Corvane& other);
    // Takes ownership of the image (allocated with new).
    explicit Corvane(DICOMImage* image);
    ~Corvane();

    Corvane& operator=(const Corvane& other);
    Corvane& operator=(DICOMImage* image);

    void ShadowCopyTo(Corvane& dst) const;
    // A new image for dst: only the file name when this image has one (its
    // contents are read on demand), else a copy of the whole data set. Flags
    // and image information are not copied.
    void CopyTo(Corvane& dst) const;
    // Releases what the handle held and owns the image with a new block. The
    // image the handle already holds stays as it is.
    void Attach(DICOMImage* image);
    // Gives up ownership of the image and empties the handle; the caller
    // deletes the image. Null, and nothing changes, while other handles still
    // share the image.
    DICOMFile* Detach();
    // Drops this handle's reference (the last one deletes the image and the
    // block) and resets every flag; nothing for an empty handle.
    void Release();

    // Releases, then owns a new image holding the file's attributes without
    // the pixel data; the image stays also when reading fails. True when the
    // read succeeded.
    bool LoadDicomFile(const char* path);
    // The whole file, pixel data included, from the image's own file name.
    bool ReadFile();
    bool ReadFileNoImage();

    const char* GetFileName() const;
    int GetNumberOfFrames() const;
    DICOMImage* GetDicomFile() const { return m_pImage; }

    // Each does nothing without an image.
    void Reset();
    void Delete(unsigned short group, unsigned short element);
    void ReleasePixelData();
    // The same, only while this handle is the image's sole owner.
    void ResetEx();
    void DeleteEx(unsigned short group, unsigned short element);
    void ReleasePixelDataEx();

    DICOMDataSet* GetImageInfoDDS() const { return m_pData->pImageInfo; }
    // Copies the elements into the block's image information, created on
    // first use; every handle sharing the block sees them. Nothing for an
    // empty handle or a null set.
    void SetImageInfoDDS(const DICOMDataSet* ds);

    // From the image information when the block has one (the only source
    // then), else from the image; 0 or empty text without either.
    unsigned short GetUINT16(unsigned short group, unsigned short element) const;
    unsigned int GetUINT32(unsigned short group, unsigned short element) const;
    Lettra GetLettra(unsigned short group, unsigned short element) const;
    Proxy operator()(unsigned short group, unsigned short element);
    // As GetLettra; empty text from a handle whose image was never read reads
    // the file's attributes first and asks the image itself.
    Lettra GetNotEmptyString(unsigned short group, unsigned short element);

    // The same image, or images with equal SOP Instance UIDs (both without
    // one included).
    bool IsEqual(const Corvane& other) const;
    // 2.1.1, one byte each for major, minor and patch.
    static int GetVersion() { return 0x20101; }
    bool IsEmpty() const { return m_pData == &DataNil; }

    bool IsShowImage() const { return m_bShowImage; }
    void ShowImage(bool show) { m_bShowImage = show; }
    bool IsFlipHorizontal() const { return m_bFlipHorizontal; }
    void FlipHorizontal() { m_bFlipHorizontal = !m_bFlipHorizontal; }
    bool IsFlipVertical() const { return m_bFlipVertical; }
    void FlipVertical() { m_bFlipVertical = !m_bFlipVertical; }
    bool IsInvert() const { return m_bInvert; }
    void Invert() { m_bInvert = !m_bInvert; }
    bool IsRotate90() const { return m_bRotate90; }
    void Rotate90() { m_bRotate90 = !m_bRotate90; }
    bool IsRotate180() const { return m_bRotate180; }
    void Rotate180() { m_bRotate180 = !m_bRotate180; }
    bool IsRotate270() const { return m_bRotate270; }
    void Rotate270() { m_bRotate270 = !m_bRotate270; }
    bool IsToBeSorted() const { return m_bToBeSorted; }
    void SetToBeSorted(bool toBeSorted) { m_bToBeSorted = toBeSorted; }
    enGroupBy GetGroup() const { return m_enGroupBy; }
    void SetGroup(enGroupBy group) { m_enGroupBy = group; }
    enScope GetScope() const { return m_enScope; }
    void SetScope(enScope scope) { m_enScope = scope; }
    int GetTransactionID() const { return m_nTransactionID; }
    void SetTransactionID(int id) { m_nTransactionID = id; }

    // Per-handle fields, read in place by the viewers; only the image and the
    // block are shared.
    bool m_bShowImage = true;
    bool m_bFlipHorizontal = false;
    bool m_bFlipVertical = false;
    bool m_bInvert = false;
    bool m_bRotate90 = false;
    bool m_bRotate180 = false;
    bool m_bRotate270 = false;
    bool m_bToBeSorted = false;
    enGroupBy m_enGroupBy = enGroupBySeries;
    enScope m_enScope = enScopeImage;
    std::int32_t m_nTransactionID = -1;
    DICOMImage* m_pImage = nullptr;
    MetaData* m_pData = &DataNil;

protected:
    void ShadowCopyFrom(const Corvane& src);
    MetaData* GetData() const { return m_pData; }

private:
    // Owns the image with a new block of count 1 and no image information.
    void TakeImage(DICOMImage* image);
    // Back to the defaults of an empty handle.
    void ResetFields();
    // The eight flags, group, scope and transaction ID.
    void CopyFlagsFrom(const Corvane& src);
    bool IsSoleOwner() const { return !IsEmpty() && m_pData->nRefs <= 1; }
};

// The layout the viewers read in place.
static_assert(std::is_standard_layout_v<Corvane>);
static_assert(sizeof(bool) == 1 && sizeof(Corvane::enGroupBy) == 4 &&
              sizeof(Corvane::enScope) == 4);
static_assert(offsetof(Corvane, m_bShowImage) == 0);
static_assert(offsetof(Corvane, m_bFlipHorizontal) == 1);
static_assert(offsetof(Corvane, m_bFlipVertical) == 2);
static_assert(offsetof(Corvane, m_bInvert) == 3);
static_assert(offsetof(Corvane, m_bRotate90) == 4);
static_assert(offsetof(Corvane, m_bRotate180) == 5);
static_assert(offsetof(Corvane, m_bRotate270) == 6);
static_assert(offsetof(Corvane, m_bToBeSorted) == 7);
static_assert(offsetof(Corvane, m_enGroupBy) == 8);
static_assert(offsetof(Corvane, m_enScope) == 12);
static_assert(offsetof(Corvane, m_nTransactionID) == 16);
static_assert(offsetof(Corvane, m_pImage) ==
              (20 + alignof(void*) - 1) / alignof(void*) * alignof(void*));
static_assert(offsetof(Corvane, m_pData) == offsetof(Corvane, m_pImage) + sizeof(void*));
static_assert(offsetof(Corvane::MetaData, nRefs) == 0 && sizeof(Corvane::MetaData::nRefs) == 4);
static_assert(offsetof(Corvane::MetaData, pImageInfo) == alignof(DICOMDataSet*));

// IsEqual and its negation.
CORVANE_API int operator==(const Corvane& a, const Corvane& b);
CORVANE_API int operator!=(const Corvane& a, const Corvane& b);
