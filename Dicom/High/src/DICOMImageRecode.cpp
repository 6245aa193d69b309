// The operations of DICOMImage that need ImageProcess: recoding the whole
// image into a syntax relabelling cannot reach, and writing a processed
// frame back into the image; and the change of syntax of a plain DICOMFile
// that holds pixel data, which goes through an image.
#include "DICOMImage.h"

#include "DICOMImageFrameRecord.h"
#include "FrameCodec.h"
#include "ImageProcess.h"
#include "ImageTags.h"
#include "VeltaroLog.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

using namespace ImageTags;

namespace
{

constexpr std::uint16_t LossyRatioElement = 0x0611;
constexpr unsigned int ImagePixelFirst = 0x00280000u;
constexpr unsigned int ImagePixelLast = 0x0028FFFFu;

bool IsNativeSyntax(const UID& syntax)
{
    return syntax == UidTransferLittleEndian || syntax == UidTransferLittleEndianExplicit ||
           syntax == UidTransferBigEndianExplicit;
}

// The encoder quality a requested lossy compression ratio asks for: the
// first row whose ratio is not below the request.
struct RatioQuality
{
    long ratio;
    unsigned quality;
};

constexpr RatioQuality RatioQualities[] = {{2, 100}, {4, 95},  {6, 90},  {8, 80},
                                           {10, 75}, {15, 50}, {20, 35}, {25, 25},
                                           {30, 20}, {50, 15}, {75, 10}, {100, 2}};

unsigned ChooseQuality(long ratio, unsigned quality)
{
    for (const RatioQuality& row : RatioQualities)
    {
        if (ratio <= row.ratio)
        {
            return row.quality;
        }
    }
    return quality;
}

// A window value as the process holds it; 0 stands for none.
Lettra WindowText(int value)
{
    return value != 0 ? Lettra(std::to_string(value).c_str()) : Lettra();
}

// A compressed buffer that is the image's own frame is copied; any other
// is taken over from the process.
std::unique_ptr<std::uint8_t[]> TakeCompressed(std::uint8_t*& buffer, std::uint32_t& length,
                                               bool isOwnFrame)
{
    std::unique_ptr<std::uint8_t[]> taken;
    if (isOwnFrame)
    {
        taken.reset(new (std::nothrow) std::uint8_t[length > 0 ? length : 1]);
        if (taken != nullptr)
        {
            std::memcpy(taken.get(), buffer, length);
        }
        return taken;
    }
    taken.reset(buffer);
    buffer = nullptr;
    length = 0;
    return taken;
}

} // namespace

// The pixel data is recoded by an image holding a copy of the other
// elements; the result replaces this file's elements only on success.
int DICOMFile::ConvertTo(const UID& uid)
{
    std::unique_ptr<VR> pixel(TakeOut(PixelGroup, PixelElement));
    if (pixel == nullptr)
    {
        SetTransferSyntax(UidTransferLittleEndianExplicit);
        return 1;
    }
    DICOMImage image(*this);
    image.Push(pixel.release());
    if (image.ConvertTo(uid) == 0)
    {
        Push(image.TakeOut(PixelGroup, PixelElement));
        return 0;
    }
    ClearDataSet();
    image.TransferTo(*this);
    return 1;
}

int DICOMImage::ConvertTo(const UID& uid)
{
    if (ConvertToKnowFormat(uid) != 0)
    {
        return 1;
    }
    return uid.IsEmpty() ? 0 : ConvertToUnknowFormat(uid);
}

int DICOMImage::ConvertToUnknowFormat(const UID& uid)
{
    if (!IsExist(PixelGroup, PixelElement))
    {
        _error("Enter DICOMImage::ConvertTo, PixelData not exist! <%s>", GetFileName());
        return 0;
    }
    // The source holds the pixel data, the target receives the recoded
    // frames; this image changes only when every frame was written.
    std::unique_ptr<VR> pixel(TakeOut(PixelGroup, PixelElement));
    DICOMImage source(*this);
    DICOMImage target(*this);
    source.Push(pixel.release());
    if (RecodeFrames(source, target, uid) == 0)
    {
        Push(source.TakeOut(PixelGroup, PixelElement));
        return 0;
    }
    ClearDataSet();
    target.TransferTo(static_cast<DICOMFile&>(*this));
    return 1;
}

int DICOMImage::RecodeFrames(DICOMImage& source, DICOMImage& target, const UID& uid) const
{
    const long ratio = ReadDecimalOrHex(source.GetLettra(WorkingGroup, LossyRatioElement));
    unsigned quality = ImageProcess::DefaultQuality;
    if (ratio > 0)
    {
        _debug("Enter DICOMImage::ConvertTo, LossyImageCompressionRatio : %d",
               static_cast<int>(ratio));
        target.Delete(WorkingGroup, LossyRatioElement);
        quality = ChooseQuality(ratio, quality);
    }
    UID current;
    source.GetTransferSyntax(current);
    // A claim beyond the pixel data is no frame to code: the recoded image
    // holds, and claims, the frames present.
    const int claimed = source.GetNumberOfFrames();
    const int frameCount = source.GetFramesPresent();
    if (frameCount <= 0)
    {
        _error("Enter DICOMImage::ConvertTo, no frame to convert in <%s>", GetFileName());
        return 0;
    }
    if (frameCount < claimed)
    {
        _warning("Enter DICOMImage::ConvertTo, <%s> holds %d of the %d frames it claims",
                 GetFileName(), frameCount, claimed);
        source.Add(0x0028, 0x0008, std::to_string(frameCount).c_str());
        target.Add(0x0028, 0x0008, std::to_string(frameCount).c_str());
    }
    // Big endian is reached through explicit VR little endian: the values
    // are held in host order and the byte order is applied on writing.
    const bool isBigEndian = uid == UidTransferBigEndianExplicit;
    const UID& step = isBigEndian ? UidTransferLittleEndianExplicit : uid;
    // The codecs take samples of 8 bits, and grey ones of 16; any others
    // would be read in the wrong unit and lost.
    const unsigned bitsAllocated = source.GetUINT16(0x0028, 0x0100);
    const bool isColour = IsColourPhotometric(source.GetLettra(0x0028, 0x0004));
    const bool isCodable = bitsAllocated == 8 || (!isColour && bitsAllocated == 16);
    if (!IsNativeSyntax(step) && !isCodable)
    {
        _error("Enter DICOMImage::ConvertTo, %u-bit %s samples cannot be coded as %s",
               bitsAllocated, isColour ? "colour" : "grey", static_cast<const char*>(uid));
        return 0;
    }
    for (int frame = 0; frame < frameCount; ++frame)
    {
        ImageProcess process(source, frame);
        process.SetQuality(quality);
        if (process.ConvertTo(step) == 0)
        {
            _error("Cannot convert TransferSyntax from %s to %s", static_cast<const char*>(current),
                   static_cast<const char*>(uid));
            return 0;
        }
        if (target.FormatTo(&process) == 0)
        {
            return 0;
        }
    }
    if (isBigEndian)
    {
        target.SetTransferSyntax(uid);
    }
    if (uid == UidTransferJpegBaselineProcess1)
    {
        target.Delete(0x0028, 0x3000);
        target.Delete(0x0028, 0x3010);
    }
    return 1;
}

int DICOMImage::FormatTo(ImageProcess* process)
{
    if (process == nullptr)
    {
        return 0;
    }
    FrameRecord record;
    record.syntax = process->GetTransferSyntax();
    record.frame = static_cast<int>(process->GetFrameIndex());
    record.columns = static_cast<unsigned>(process->GetColumns());
    record.rows = static_cast<unsigned>(process->GetRows());
    DICOMVRSet attributes;
    const char* photometric = process->GetPhotometricInterpretation();
    attributes.Add(0x0028, 0x0004, photometric);
    // Colour samples come three to a pixel whichever colour model labels
    // them; a grey or palette index is one.
    const bool isColour = IsColourPhotometric(photometric);
    attributes.Add(0x0028, 0x0002, static_cast<unsigned short>(isColour ? 3 : 1));
    attributes.Add(0x0028, 0x1050, WindowText(process->GetWindowCenter()));
    attributes.Add(0x0028, 0x1051, WindowText(process->GetWindowWidth()));
    attributes.Add(0x0028, 0x0103, static_cast<unsigned short>(process->GetPixelRepresentation()));
    // Samples the process reduced to display levels are no longer rescaled.
    const DICOMImage* source = process->GetImage();
    const bool isRescaled =
        source->IsExist(0x0028, 0x1052) != 0 || source->IsExist(0x0028, 0x1053) != 0;
    if (isRescaled && process->GetRescaleSlope() == 1.0 && process->GetRescaleIntercept() == 0.0)
    {
        attributes.Add(0x0028, 0x1052, "0");
        attributes.Add(0x0028, 0x1053, "1");
    }
    if (IsNativeSyntax(record.syntax))
    {
        record.length = process->m_nRawPixelLength;
        record.buffer.reset(static_cast<std::uint8_t*>(process->Detach()));
        record.bitsAllocated = static_cast<unsigned short>(process->GetBitsAllocated());
        record.bitsStored = static_cast<unsigned short>(process->GetBitsStored());
        record.highBit = static_cast<unsigned short>(process->GetHighBit());
    }
    else
    {
        const std::uint32_t compressed = process->m_nCompPixelLength;
        if (IsLosslessSyntax(record.syntax) == 0)
        {
            attributes.Add(0x0028, 0x2110, "01");
            if (compressed != 0)
            {
                const std::uint32_t ratio = process->m_nRawPixelLength / compressed;
                attributes.Add(0x0028, 0x2112, std::to_string(ratio).c_str());
            }
        }
        record.length = compressed;
        record.buffer = TakeCompressed(process->m_pCompPixelData, process->m_nCompPixelLength,
                                       process->IsOwnFrame(process->m_pCompPixelData));
        record.bitsAllocated = static_cast<unsigned short>(process->GetCompBitsAllocated());
        record.bitsStored = static_cast<unsigned short>(process->GetCompBitsStored());
        record.highBit = static_cast<unsigned short>(process->GetCompHighBit());
    }
    if (record.buffer == nullptr)
    {
        _error("Enter DICOMImage::FormatTo, no frame %d to write under %s", record.frame,
               static_cast<const char*>(record.syntax));
        return 0;
    }
    const bool isAdaptive = record.syntax == UidTransferJpegFullProgressAdaptive;
    if (isAdaptive)
    {
        attributes.Add(WorkingGroup, AdaptiveSyntaxElement,
                       process->GetImage()->GetLettra(WorkingGroup, AdaptiveSyntaxElement));
    }
    const bool replacesPixelData = process->GetImage()->GetNumberOfFrames() == 1;
    if (StoreFrame(record, attributes, replacesPixelData) == 0)
    {
        return 0;
    }
    if (!isAdaptive)
    {
        Delete(WorkingGroup, AdaptiveSyntaxElement);
    }
    if (process->GetImage() == this)
    {
        // The frame the process read in place has just been replaced.
        if (process->IsOwnFrame(process->m_pRawPixelData))
        {
            process->m_pRawPixelData = nullptr;
            process->m_nRawPixelLength = 0;
        }
        if (process->IsOwnFrame(process->m_pCompPixelData))
        {
            process->m_pCompPixelData = nullptr;
            process->m_nCompPixelLength = 0;
        }
        process->m_pFrameAddress = nullptr;
        process->m_nFrameLength = 0;
    }
    return 1;
}

int DICOMImage::StoreFrame(FrameRecord& record, const DICOMVRSet& attributes,
                           bool replacesPixelData)
{
    DICOMImage scratch;
    CopyTo(scratch, ImagePixelFirst, ImagePixelLast);
    attributes.CopyTo(scratch, ImagePixelFirst, ImagePixelLast);
    scratch.SetTransferSyntax(record.syntax);
    scratch.Add(0x0028, 0x0010, static_cast<unsigned short>(record.rows));
    scratch.Add(0x0028, 0x0011, static_cast<unsigned short>(record.columns));
    scratch.Add(0x0028, 0x0100, record.bitsAllocated);
    if (!FitsImage(scratch, record))
    {
        _error("Enter DICOMImage::FormatTo, frame %d (%u bytes) does not fit the image",
               record.frame, record.length);
        return 0;
    }
    std::unique_ptr<VR> previous(TakeOut(PixelGroup, PixelElement));
    const bool isMoved = !replacesPixelData && previous != nullptr;
    if (isMoved)
    {
        scratch.Push(previous.release());
    }
    const int stored = scratch.CopyToPixelBuffer(
        record.buffer.release(), record.length, record.frame, record.columns, record.rows,
        record.bitsAllocated, record.bitsStored, record.highBit);
    if (stored == 0)
    {
        _error("Enter DICOMImage::FormatTo, frame %d could not be stored", record.frame);
        if (isMoved)
        {
            previous.reset(scratch.TakeOut(PixelGroup, PixelElement));
        }
        if (previous != nullptr)
        {
            Push(previous.release());
        }
        return 0;
    }
    scratch.CopyTo(*this, ImagePixelFirst, ImagePixelLast);
    attributes.CopyTo(*this);
    Push(scratch.TakeOut(PixelGroup, PixelElement));
    SetTransferSyntax(record.syntax);
    Package(PixelGroup);
    return 1;
}

// The checks the store makes, made before anything is changed: a native
// frame covers the frame size, and a frame of several is one of the
// image's.
bool DICOMImage::FitsImage(const DICOMImage& scratch, const FrameRecord& record)
{
    const int frameCount = scratch.GetNumberOfFrames();
    const bool isNative = IsNativeSyntax(record.syntax);
    if (isNative && record.length < scratch.GetFrameSize())
    {
        return false;
    }
    const bool isSeveral = !isNative || frameCount > 1;
    return !isSeveral || (record.frame >= 0 && record.frame < frameCount);
}
