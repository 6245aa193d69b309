// DICOMImage: a DICOM file that holds an image. On top of the file it checks
// and repairs the attributes an image needs, counts the frames, gives the
// bytes of one frame inside the pixel data (native or encapsulated, one
// fragment per frame), stores a frame back, and relabels the pixel data
// between the native transfer syntaxes.
//
// An image may carry an icon image; the two point at each other and each
// side clears the other's pointer when it goes away or is re-attached. The
// reference count is a plain counter that ImageProcess raises for its
// lifetime; nothing else deletes the image because of it.
#pragma once

#include "DICOMFile.h"
#include "VeltaroExport.h"

#include <cstdint>

class DICOMImageIcon;

class VELTARO_API DICOMImage : public DICOMFile
{
public:
    DICOMImage();
    explicit DICOMImage(const DICOMFile& file);
    explicit DICOMImage(const DICOMVRSet& set);
    // Names the file; nothing is read.
    explicit DICOMImage(const char* path);
    // A copy of the file part, without icon and with a count of 0.
    DICOMImage(const DICOMImage& other);
    // Clears the icon's pointer back at this image.
    ~DICOMImage() override;

    // The file part, then the icon pointer and the count.
    DICOMImage& operator=(const DICOMImage& other);

    DICOMImageIcon* GetAttachedIcon() const { return m_pAttachedIcon; }
    // The old icon's pointer back at this image is cleared first.
    void AttachIcon(DICOMImageIcon* icon);

    int GetReferenceCount() const { return m_nReferenceCount; }
    void IncReferenceCount() { ++m_nReferenceCount; }
    // Never below 0.
    void DecReferenceCount();

    // Deletes (7FE0,0010); returns 1.
    int ReleasePixelData();
    // ConvertTo explicit VR little endian.
    int ConvertToRaw();
    // Relabels between the native syntaxes; 0 for any other change.
    int ConvertTo(const UID& uid) override;

    // 1 when every attribute an image needs is present; the first missing
    // one is logged.
    int IsValid() override;
    // Normalises the identifiers, fills in Study ID, High Bit and Pixel
    // Representation when they are missing, then checks as IsValid does.
    int FixMe() override;

    // 0 for an empty data set, 1 without (0028,0008), else its decimal
    // reading, or its hexadecimal one when the decimal reading gives 0.
    int GetNumberOfFrames() const;
    // The bytes one native frame takes: rows x columns x samples per pixel
    // samples of whole bytes, or packed bits below 8 bits allocated.
    std::uint32_t GetFrameSize() const;
    // The frame inside the pixel data: null and 0 when there is none, or
    // when a native frame does not lie wholly inside the value.
    const std::uint8_t* GetPixelAddress(int frame) const;
    std::uint32_t GetPixelLength(int frame) const;
    // Stores one frame and sets the geometry; always takes ownership of
    // the buffer (allocated with new[]), freeing it when it is not kept.
    int CopyToPixelBuffer(void* buffer, unsigned length, int frame, unsigned columns, unsigned rows,
                          unsigned short bitsAllocated, unsigned short bitsStored,
                          unsigned short highBit);

protected:
    int ConvertToKnowFormat(const UID& uid);

private:
    friend class DICOMImageIcon;

    int CheckPresence(const char* prefix, const char* enterLine, bool repair);
    void NormaliseIdentifiers();
    const VR* GetFrameFragment(int frame) const;
    int StoreEncapsulated(std::uint8_t* buffer, unsigned length, int frame, int frameCount);
    int StoreNative(std::uint8_t* buffer, unsigned length, int frame, int frameCount);

    DICOMImageIcon* m_pAttachedIcon = nullptr;
    std::int32_t m_nReferenceCount = 0;
};
