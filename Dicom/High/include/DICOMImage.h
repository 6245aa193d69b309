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
class ImageProcess;
class RealImage;

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
    // Relabels between the native syntaxes, or else recodes every frame
    // into the syntax; the compressed syntaxes take 8-bit samples and
    // 16-bit grey ones. (0007,0611), a lossy compression ratio, chooses
    // the encoder's quality. A failed recoding leaves the image as it was.
    int ConvertTo(const UID& uid) override;
    // Writes the process's current frame (raw for a native syntax, else
    // compressed) into this image, with its geometry, photometric
    // interpretation, window and syntax; the process gives up the buffer.
    // When the process's image has one frame the pixel data is replaced.
    // A failed write leaves the image as it was.
    int FormatTo(ImageProcess* process);
    // Writes a real-valued image into this image as explicit VR little
    // endian samples, with its photometric interpretation, its window and,
    // for "PALETTE COLOR", its palette as tables of 16-bit entries. When the real image
    // belongs to a one-frame image the pixel data is replaced. A failed
    // write leaves the image as it was.
    int FormatTo(RealImage* image);

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
    // samples of whole bytes, or packed bits below 8 bits allocated; two
    // samples a pixel for native 4:2:2 colour (see HasSubsampledFrames).
    std::uint32_t GetFrameSize() const;
    // The frames the pixel data holds, at most the count claimed: of a
    // native multi-frame value its whole frames, of encapsulated data the
    // frames it has items for. A claim of one frame or none stands as it is.
    int GetFramesPresent() const;
    // Native YBR_FULL_422 or YBR_PARTIAL_422 data of 8-bit samples: each two
    // pixels of a row share one Cb and one Cr, stored Y1, Y2, Cb, Cr.
    bool HasSubsampledFrames() const;
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
    // Recodes frame by frame through ImageProcess into a copy of the image,
    // which replaces this image's elements only when every frame succeeded.
    int ConvertToUnknowFormat(const UID& uid);

private:
    friend class DICOMImageIcon;

    struct FrameRecord;

    // A count as the image's texts hold it: decimal, or hexadecimal when
    // the decimal reading gives 0.
    static long ReadDecimalOrHex(const Lettra& text);

    int RecodeFrames(DICOMImage& source, DICOMImage& target, const UID& uid) const;
    // Stores the frame with its attributes in a scratch image holding this
    // image's group 0028 and pixel element, and moves the result back only
    // when the store succeeded.
    int StoreFrame(FrameRecord& record, const DICOMVRSet& attributes, bool replacesPixelData);
    static bool FitsImage(const DICOMImage& scratch, const FrameRecord& record);

    int CheckPresence(const char* prefix, const char* enterLine, bool repair);
    void NormaliseIdentifiers();
    const VR* GetFrameFragment(int frame) const;
    int StoreEncapsulated(std::uint8_t* buffer, unsigned length, int frame, int frameCount);
    int StoreNative(std::uint8_t* buffer, unsigned length, int frame, int frameCount);

    DICOMImageIcon* m_pAttachedIcon = nullptr;
    std::int32_t m_nReferenceCount = 0;
};
