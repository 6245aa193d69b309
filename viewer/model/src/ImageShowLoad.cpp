// Loading of ImageShow: finding the frame's pixel bytes through the DICOM
// library and turning them into the matrix of the MetaImage.
#include "ImageShow.h"

#include "DICOMImage.h"
#include "FrameIterator.h"
#include "ImageProcess.h"
#include "ImageShowConfig.h"
#include "MetaMatrix16.h"
#include "MetaMatrix8.h"
#include "MetaMatrixRGB.h"
#include "ModalityLookupTable.h"
#include "ORoiDicomBinaryOverlay.h"
#include "QuillonLog.h"
#include "RoiFactory.h"
#include "VR.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace
{

unsigned Address(const void* object)
{
    return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(object));
}

bool IsName(const Lettra& text, const char* name)
{
    return text.CompareNoCase(name) == 0;
}

// YBR_FULL, and YBR_FULL_422, whose frames the DICOM library delivers at
// full size: Y, Cb and Cr of every pixel.
bool IsFullYbr(const Lettra& photometric)
{
    return IsName(photometric, "YBR_FULL") || IsName(photometric, "YBR_FULL_422");
}

// 16-bit colour samples reduced to their top 8 stored bits, in place.
void ReduceColourTo8Bits(std::uint8_t* bytes, std::size_t samples, int bitsStored)
{
    const int shift = std::clamp(bitsStored, 8, 16) - 8;
    for (std::size_t i = 0; i < samples; ++i)
    {
        std::uint16_t word = 0;
        std::memcpy(&word, bytes + 2 * i, 2);
        bytes[i] = static_cast<std::uint8_t>(std::min(word >> shift, 255));
    }
}

void LogMissingUIDs(const DICOMVRSet& set, const char* path)
{
    static const unsigned short uids[3][2] = {{0x0008, 0x0018}, {0x0020, 0x000E}, {0x0020, 0x000D}};
    for (const auto& uid : uids)
    {
        if (set.GetLettra(uid[0], uid[1]).Trim().IsEmpty())
        {
            quillon::_warning("Enter ImageShow::LoadDicomFile, (%04X,%04X) is missing in %s",
                              uid[0], uid[1], path);
        }
    }
}

} // namespace

// What the pixel bytes are: as the data set says, or as the decoder left
// them (a colour stream comes out of its codec as RGB).
struct ImageShow::PixelFormat
{
    int bitsAllocated = 0;
    int bitsStored = 0;
    int highBit = 0;
    int rows = 0;
    int columns = 0;
    int pixelRepresentation = 0;
    int planar = 0;
    Lettra photometric;
    Lettra fileName;
};

void ImageShow::chReloadDicom(const void*, DelegateArgs*)
{
    RemoveStage(&ImageShow::chReloadDicom);
    DICOMImage* image = m_Holder.GetDicomFile();
    const char* name = image != nullptr ? image->GetFileName() : nullptr;
    if (name == nullptr)
    {
        quillon::_debug("Leave ImageShow::chReloadDicom (%d, 0x%0x), FileName is NULL",
                        m_nInstanceNo, Address(this));
        m_bLoadFailed = true;
        return;
    }
    bool loaded = false;
    if (name[0] != 0)
    {
        if (image->IsExist(0x7FE0, 0x0010) != 0)
        {
            quillon::_debug("<%3d> Enter ImageShow::chReloadDicom, Loading from preload <%s>",
                            m_nInstanceNo, name);
            loaded = DecodeFrame(*image);
            if (!loaded)
            {
                quillon::_error("Leave ImageShow::chReloadDicom (%3d, 0x%0x), failed to loading %s",
                                m_nInstanceNo, Address(this), name);
            }
        }
        else
        {
            quillon::_debug("<%3d> Enter ImageShow::chReloadDicom, Loading <%s>", m_nInstanceNo,
                            name);
            const Lettra path(name);
            loaded = LoadFromFile(path);
            if (!loaded)
            {
                quillon::_error("Leave ImageShow::chReloadDicom (%d, 0x%0x), failed to loading %s",
                                m_nInstanceNo, Address(this), path.constBuffer());
            }
        }
    }
    else
    {
        quillon::_debug("Leave ImageShow::chReloadDicom (%d, 0x%0x), FileName is empty",
                        m_nInstanceNo, Address(this));
        quillon::_debug("<%3d> Enter ImageShow::chReloadDicom, Loading", m_nInstanceNo);
        loaded = InitFromDicomImage();
        if (!loaded)
        {
            quillon::_error("Leave ImageShow::chReloadDicom (%d, 0x%0x), failed to init",
                            m_nInstanceNo, Address(this));
        }
    }
    if (!loaded)
    {
        m_bLoadFailed = true;
        return;
    }
    if (m_bOverlayFollowsHVR != 0 && !m_bAnnotationsLoaded)
    {
        LoadOverlays(*image);
    }
    m_bAnnotationsLoaded = true;
    quillon::_debug("Leave ImageShow::chReloadDicom (%d, 0x%0x)", m_nInstanceNo, Address(this));
}

// The file's attributes are read into the held image without the pixel
// data; the frame iterator then reads the one frame shown from the file.
bool ImageShow::LoadFromFile(const char* path)
{
    DICOMImage* image = m_Holder.GetDicomFile();
    if (image->ReadFileNoImage(path) == 0)
    {
        quillon::_error("Enter ImageShow::LoadDicomFile, get an invalid DicomFile : %s", path);
        return false;
    }
    LogMissingUIDs(*image, path);
    return DecodeFrame(*image);
}

bool ImageShow::InitFromDicomImage()
{
    DICOMImage* image = m_Holder.GetDicomFile();
    if (image == nullptr || image->IsExist(0x7FE0, 0x0010) == 0)
    {
        quillon::_error("Enter ImageShow::InitFromDicomImage, get an invalid DicomFile");
        return false;
    }
    LogMissingUIDs(*image, "");
    return DecodeFrame(*image);
}

int ImageShow::CountFramesPresent()
{
    DICOMImage* image = m_Holder.GetDicomFile();
    const int claimed = m_Holder.GetNumberOfFrames();
    if (image == nullptr)
    {
        return m_nNbOfFrames = 0;
    }
    FrameIterator frames(image);
    m_nNbOfFrames = frames.GetFramesPresent();
    if (m_nNbOfFrames < claimed)
    {
        quillon::_warning("Enter ImageShow::CountFramesPresent, the pixel data of <%s> holds %d of "
                          "the %d frames it claims",
                          image->GetFileName(), m_nNbOfFrames, claimed);
    }
    return m_nNbOfFrames;
}

bool ImageShow::DecodeFrame(DICOMImage& image)
{
    FrameIterator frames(&image);
    if (!frames.IsReady() || !frames.Seek(m_nFrameIndex) || !frames.Next() ||
        frames.m_pFrameBuffer == nullptr)
    {
        quillon::_error("Cannot read DICOM File : %s", image.GetFileName());
        return false;
    }
    m_nNbOfFrames = frames.GetFramesPresent();
    PixelFormat format;
    format.bitsAllocated = frames.GetBitsAllocated();
    format.bitsStored = frames.GetBitsStored();
    format.highBit = frames.GetHighBit();
    format.rows = frames.GetRows();
    format.columns = frames.GetColumns();
    format.pixelRepresentation = image.GetUINT16(0x0028, 0x0103);
    format.planar = image.GetUINT16(0x0028, 0x0006);
    format.photometric = image.GetLettra(0x0028, 0x0004).Trim();
    format.fileName = image.GetFileName();
    const std::uint32_t count = frames.m_nFrameLength;
    auto* bytes = static_cast<std::uint8_t*>(frames.Detach());
    return LoadPixels(image, format, bytes, count);
}

bool ImageShow::LoadDicomFile(DICOMVRSet& set, std::uint8_t* bytes, std::uint32_t count)
{
    PixelFormat format;
    format.bitsAllocated = set.GetUINT16(0x0028, 0x0100);
    format.bitsStored = set.GetUINT16(0x0028, 0x0101);
    format.highBit = set.GetUINT16(0x0028, 0x0102);
    format.rows = set.GetUINT16(0x0028, 0x0010);
    format.columns = set.GetUINT16(0x0028, 0x0011);
    format.pixelRepresentation = set.GetUINT16(0x0028, 0x0103);
    format.planar = set.GetUINT16(0x0028, 0x0006);
    format.photometric = set.GetLettra(0x0028, 0x0004).Trim();
    return LoadPixels(set, format, bytes, count);
}

bool ImageShow::LoadOverlays(const DICOMVRSet& set)
{
    return LoadStoredMeasurements(this, &set);
}

void ImageShow::LoadOverlayPlane(const DICOMVRSet& set)
{
    if (m_bOverlayFollowsHVR == 0 || m_bAnnotationsLoaded ||
        set.GetLettra(0x6000, 0x0040).Trim().Compare("G") != 0 || set.IsExist(0x6000, 0x3000) == 0)
    {
        return;
    }
    auto* overlay = new ORoiDicomBinaryOverlay(this, set);
    if (overlay->IsValid())
    {
        m_Rois.AddTail(RoiPtr(overlay));
    }
    else
    {
        delete overlay;
    }
}

// With ModalityLUT2VOILUT the Modality LUT Sequence becomes the VOI LUT
// Sequence, unless the set has one: an existing VOI LUT is never replaced,
// and the modality LUT is then applied to the pixels, as it is without the
// setting.
void ImageShow::TakeModalityLUT(DICOMVRSet& set, PixelFormat& format, std::uint8_t* bytes,
                                std::uint32_t count)
{
    if (set.IsExist(0x0028, 0x3000) == 0)
    {
        return;
    }
    if (ImageShowConfig::Get().bModalityLUT2VOILUT && set.IsExist(0x0028, 0x3010) == 0)
    {
        VR* sequence = set.TakeOut(0x0028, 0x3000);
        sequence->SetTag(0x0028, 0x3010);
        set.Push(sequence);
        return;
    }
    const ModalityLookupTable table(set);
    if (!table.IsValid())
    {
        return;
    }
    const std::size_t pixels = std::size_t(format.rows) * format.columns;
    if (format.bitsAllocated > 8)
    {
        table.Apply16(bytes, static_cast<std::uint32_t>(std::min<std::size_t>(count / 2, pixels)));
        // The table's output is unsigned, of the depth its descriptor gives.
        format.pixelRepresentation = 0;
        format.bitsStored = std::clamp(int(table.GetBitsPerEntry()), 8, 16);
        format.highBit = format.bitsStored - 1;
    }
    else
    {
        table.Apply8(bytes, static_cast<std::uint32_t>(std::min<std::size_t>(count, pixels)));
    }
    m_bModalityApplied = true;
}

bool ImageShow::LoadPixels(DICOMVRSet& set, PixelFormat& format, std::uint8_t* bytes,
                           std::uint32_t count)
{
    LoadOverlayPlane(set);
    const int depth = std::max(format.bitsAllocated, 8);
    const bool isColour = IsName(format.photometric, "RGB") || IsFullYbr(format.photometric);
    const std::size_t pixels = std::size_t(format.rows) * format.columns;
    std::size_t expected = 0;
    if (depth > 8 && depth <= 16)
    {
        expected = pixels * 2 * (isColour ? 3 : 1);
    }
    else if (format.bitsAllocated == 8)
    {
        expected = pixels;
    }
    if (expected == 0 || count < expected)
    {
        quillon::_error("Enter ImageShow::LoadDicomFile, invalid DICOMFile, or decompress error.it "
                        "should be %d pixel, but I got %d <%s>",
                        static_cast<int>(expected), static_cast<int>(count),
                        format.fileName.constBuffer());
        delete[] bytes;
        return false;
    }
    TakeModalityLUT(set, format, bytes, count);
    const Lettra shape = set.GetLettra(0x2050, 0x0020).Trim();
    if (isColour && depth > 8)
    {
        // Colour deeper than 8 bits shows its top 8 stored bits.
        ReduceColourTo8Bits(bytes, 3 * pixels, format.bitsStored);
        format.bitsAllocated = format.bitsStored = 8;
        format.highBit = 7;
        count = static_cast<std::uint32_t>(3 * pixels);
    }
    if (IsFullYbr(format.photometric) && count >= 3 * pixels)
    {
        ImageProcess::ConvertYbrFullToRgb(bytes, pixels, format.planar == 1);
        format.photometric = "RGB";
    }
    MetaMatrix* matrix = MakeMatrix(format, bytes, count);
    if (matrix == nullptr)
    {
        return false;
    }
    m_MetaImage->SetMatrix(matrix);
    if (shape.CompareNoCase("IDENTITY") == 0)
    {
        m_bInverse = 0;
    }
    else if (shape.CompareNoCase("INVERSE") == 0)
    {
        m_bInverse = 1;
    }
    else
    {
        m_bInverse = IsName(format.photometric, "MONOCHROME1") ? 1 : 0;
    }
    Lettra shutter = set.GetLettra(0x0018, 0x1600);
    if (shutter.Find('\\') >= 0)
    {
        shutter = shutter.Left(shutter.Find('\\'));
    }
    shutter = shutter.Trim();
    if (!shutter.IsEmpty())
    {
        quillon::_debug("%s shutter found !", shutter.constBuffer());
    }
    if (IsName(format.photometric, "PALETTE COLOR"))
    {
        auto* palette = new ColorLookupTable;
        if (palette->InitFromDataSet(set))
        {
            m_MetaImage->SetColorLUT(palette);
        }
        else
        {
            delete palette;
        }
    }
    InitAfterLoad(set);
    return true;
}

MetaMatrix* ImageShow::MakeMatrix(PixelFormat& format, std::uint8_t* bytes, std::uint32_t count)
{
    const int depth = std::max(format.bitsAllocated, 8);
    const bool isSigned = format.pixelRepresentation == 1;
    const int pixels = format.rows * format.columns;
    if (depth > 16)
    {
        delete[] bytes;
        return nullptr;
    }
    if (depth > 8)
    {
        // 16 bits allocated whatever the data set says: the buffer holds
        // two bytes a pixel.
        auto* matrix = new MetaMatrix16;
        matrix->Attach(bytes, 16, format.bitsStored, format.highBit, format.rows, format.columns,
                       isSigned ? -32767 : 0, isSigned ? 32767 : 65535, isSigned ? 1 : 0, 1);
        return matrix;
    }
    if (IsName(format.photometric, "MONOCHROME1") || IsName(format.photometric, "MONOCHROME2") ||
        IsName(format.photometric, "PALETTE COLOR"))
    {
        auto* matrix = new MetaMatrix8;
        matrix->Attach(bytes, 8, format.bitsStored, format.highBit, format.rows, format.columns, 0,
                       255, isSigned ? 1 : 0, 1);
        return matrix;
    }
    if (!IsName(format.photometric, "RGB"))
    {
        quillon::_error("Enter ImageShow::LoadDicomFile, get an invalid file!");
        delete[] bytes;
        return nullptr;
    }
    if (count < 3u * static_cast<std::uint32_t>(pixels))
    {
        quillon::_error("Enter ImageShow::LoadDicomFile, get an invalid file!");
        delete[] bytes;
        return nullptr;
    }
    if (format.planar == 1)
    {
        ImageProcess::InterleaveColourPlanes(bytes, static_cast<std::size_t>(pixels));
    }
    auto* matrix = new MetaMatrixRGB;
    matrix->Attach(bytes, 8, 8, 7, format.rows, format.columns, 0, 255, 0, 3);
    matrix->RGB2BGR();
    return matrix;
}
