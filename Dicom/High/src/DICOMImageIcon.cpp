#include "DICOMImageIcon.h"

#include "ImageProcess.h"
#include "ImageTags.h"
#include "RealImage.h"
#include "VOILookupTable.h"
#include "VeltaroLibrary.h"
#include "VeltaroLog.h"

#include <cstring>
#include <memory>
#include <string>
#include <strings.h>

using namespace ImageTags;

namespace
{

struct ModalitySide
{
    const char* modality;
    int side;
};

// Searched in this order; the first two letters of the modality decide.
constexpr ModalitySide ModalitySides[] = {
    {"CR", 256}, {"DR", 256}, {"DX", 256}, {"CT", 128}, {"SC", 256}, {"MR", 128}, {"NM", 128},
    {"US", 64},  {"OT", 256}, {"AS", 128}, {"BI", 128}, {"CD", 128}, {"CP", 128}, {"CS", 128},
    {"DD", 128}, {"DG", 128}, {"DM", 128}, {"EC", 128}, {"ES", 128}, {"FA", 128}, {"FS", 128},
    {"LP", 128}, {"LS", 128}, {"MA", 128}, {"MS", 128}, {"PT", 128}, {"RG", 128}, {"ST", 128},
    {"TG", 128}, {"XA", 128}, {"RF", 128}, {"RT", 128}, {"HC", 128}, {"DS", 128}, {"CF", 128},
    {"DF", 128}, {"VF", 128}};

constexpr int DefaultIconSide = 512;

// The attributes of the image's display that the Icon Image Sequence item
// brings its own (or no) values for.
constexpr std::uint16_t ReplacedByIconItem[][2] = {
    {0x0028, 0x0103}, {0x0028, 0x1050}, {0x0028, 0x1051}, {0x0028, 0x1052},
    {0x0028, 0x1053}, {0x0028, 0x3000}, {0x0028, 0x3010}};

int RoundUpToFour(std::int64_t value)
{
    return static_cast<int>((value + 3) / 4 * 4);
}

} // namespace

DICOMImageIcon::DICOMImageIcon(const DICOMImage& image) : DICOMImage(image)
{
    Filter(GetIconElementFilter());
    const bool isFromSequence = CopyIconSequence(image);
    int width = 0;
    int height = 0;
    GetIconSize(GetLettra(0x0008, 0x0060), GetUINT16(0x0028, 0x0011), GetUINT16(0x0028, 0x0010),
                width, height);
    int frame = 0;
    const int frames = image.GetNumberOfFrames();
    if (!isFromSequence && frames >= 2)
    {
        // The frame is addressed in the copied pixel data of all frames.
        frame = frames / 2;
        Add(0x0008, 0x1160, std::to_string(frame).c_str());
        Add(0x0028, 0x0008, image.GetLettra(0x0028, 0x0008));
    }
    if (!MakeIconPixels(frame, width, height))
    {
        KeepFittingPixels(width, height);
        return;
    }
    Add(0x0028, 0x1050, "127");
    Add(0x0028, 0x1051, "255");
    Add(0x0028, 0x1052, "0");
    Add(0x0028, 0x1053, "1");
    Add(0x0020, 0x4000, "Tavu ICON FILES");
    Delete(0x0028, 0x3000);
    Delete(0x0028, 0x3010);
    Add(0x0028, 0x0103, static_cast<unsigned short>(0));
}

DICOMImageIcon::DICOMImageIcon(const DICOMImageIcon& other)
    : DICOMImage(other), m_pAttachedImage(other.m_pAttachedImage)
{
}

DICOMImageIcon& DICOMImageIcon::operator=(const DICOMImageIcon& other)
{
    DICOMImage::operator=(other);
    m_pAttachedImage = other.m_pAttachedImage;
    return *this;
}

DICOMImageIcon::~DICOMImageIcon()
{
    AttachImage(nullptr);
}

void DICOMImageIcon::AttachImage(DICOMImage* image)
{
    if (m_pAttachedImage != nullptr && m_pAttachedImage->m_pAttachedIcon == this)
    {
        m_pAttachedImage->m_pAttachedIcon = nullptr;
    }
    m_pAttachedImage = image;
}

int DICOMImageIcon::SaveAsWindowsBitmap(const char* path)
{
    ImageProcess process(*this, 0);
    return process.SaveAsWindowsBitmap(path);
}

int DICOMImageIcon::GetIconSide(const char* modality)
{
    for (const ModalitySide& row : ModalitySides)
    {
        if (modality != nullptr && std::strncmp(modality, row.modality, 2) == 0)
        {
            return row.side > 0 ? row.side : DefaultIconSide;
        }
    }
    return DefaultIconSide;
}

void DICOMImageIcon::GetIconSize(const char* modality, int columns, int rows, int& width,
                                 int& height)
{
    width = 0;
    height = 0;
    if (columns <= 0 || rows <= 0)
    {
        return;
    }
    const std::int64_t longer = columns > rows ? columns : rows;
    std::int64_t side = GetIconSide(modality);
    if (longer <= side)
    {
        side = longer;
    }
    width = RoundUpToFour(columns * side / longer);
    height = RoundUpToFour(rows * side / longer);
}

// The image's own icon, when it has one, stands in for its pixels.
bool DICOMImageIcon::CopyIconSequence(const DICOMImage& image)
{
    const DICOMVRSet* item = image.GetSequence(0x0088, 0x0200, 0);
    if (item == nullptr)
    {
        return false;
    }
    for (const auto& tag : ReplacedByIconItem)
    {
        Delete(tag[0], tag[1]);
    }
    item->CopyTo(*this);
    _debug("Find IconImageSequence in DICOMImage, good! Width: %d, Height: %d",
           GetUINT16(0x0028, 0x0011), GetUINT16(0x0028, 0x0010));
    SetTransferSyntax(UidTransferLittleEndianExplicit);
    return true;
}

// The frame as an 8-bit image, by the image's VOI LUT when it has one and
// else by its window, brought to the icon's size and written as the icon's
// only frame.
bool DICOMImageIcon::MakeIconPixels(int frame, int width, int height)
{
    if (IsExist(PixelGroup, PixelElement) == 0)
    {
        return false;
    }
    UID syntax;
    GetTransferSyntax(syntax);
    const bool isNative = IsCompressed(syntax) == 0;
    if (isNative && GetPixelLength(frame) < GetFrameSize())
    {
        _warning("Enter DICOMImageIcon, frame %d holds fewer bytes than its geometry needs", frame);
        return false;
    }
    std::unique_ptr<RealImage> real;
    {
        ImageProcess process(*this, frame);
        real.reset(process.CreateRealImage());
    }
    if (real == nullptr)
    {
        return false;
    }
    std::unique_ptr<RealImage8> grey;
    const VOILookupTable voi(*this);
    if (voi.IsValid() != 0)
    {
        _debug("Enter DICOMImageIcon, VOI LUT found !");
        grey.reset(voi.Apply(*real));
    }
    if (grey == nullptr)
    {
        grey.reset(RemapWindow(*real));
    }
    if (grey == nullptr)
    {
        return false;
    }
    if ((grey->GetWidth() > width || grey->GetHeight() > height) && grey->Scale(width, height) == 0)
    {
        _warning("Enter DICOMImageIcon, cannot scale %d x %d to %d x %d", grey->GetWidth(),
                 grey->GetHeight(), width, height);
        return false;
    }
    if (strcasecmp(grey->GetPhotometric(), "MONOCHROME1") == 0)
    {
        grey->Invert();
    }
    // The icon holds this one frame.
    grey->SetNumberOfFrames(1);
    grey->SetFrameIndex(0);
    Delete(0x0028, 0x0008);
    return FormatTo(grey.get()) != 0;
}

// The window's levels; MONOCHROME1 through the inverted window, so that
// levels are rounded after the inversion as the inverse presentation of
// DICOM does.
RealImage8* DICOMImageIcon::RemapWindow(RealImage& real)
{
    const bool isInverse = strcasecmp(real.GetPhotometric(), "MONOCHROME1") == 0;
    if (isInverse)
    {
        real.GetLookupTable().SetInverted(1);
    }
    RealImage8* grey = real.Remap();
    if (grey != nullptr && isInverse)
    {
        grey->SetPhotometric("MONOCHROME2");
    }
    return grey;
}

// Copied pixels serve as the icon only when they are one whole 8-bit frame
// of at most the icon's size, as icons are; an image's full-size pixels are
// no icon.
void DICOMImageIcon::KeepFittingPixels(int width, int height)
{
    UID syntax;
    GetTransferSyntax(syntax);
    const bool isWhole = IsCompressed(syntax) != 0 || GetPixelLength(0) >= GetFrameSize();
    const bool fits = !IsExist(0x0028, 0x0008) && GetUINT16(0x0028, 0x0100) == 8 && width > 0 &&
                      height > 0 && GetUINT16(0x0028, 0x0011) <= width &&
                      GetUINT16(0x0028, 0x0010) <= height && isWhole;
    if (!fits)
    {
        if (IsExist(PixelGroup, PixelElement) != 0)
        {
            _warning("Enter DICOMImageIcon, no icon could be made of <%s>", GetFileName());
        }
        Delete(0x0028, 0x0008);
        Delete(0x0008, 0x1160);
        ReleasePixelData();
    }
}
