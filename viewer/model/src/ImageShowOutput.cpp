// The output forms of ImageShow: the displayed image as a secondary
// capture data set or DICOM file, and the full-view DIB as a bitmap or JPEG
// file. Every file is written beside its target first and renamed over it,
// so that a failed save leaves an existing file whole.
#include "ImageShow.h"

#include "DICOMImage.h"
#include "NativePath.h"
#include "PackedDib.h"
#include "QuillonLog.h"
#include "UID.h"
#include "UniqueUID.h"
#include "VR.h"
#include "VRCode.h"
#include "WinFile.h"
#include "WinProcessInfo.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{

constexpr const char* SecondaryCaptureClass = "1.2.840.10008.5.1.4.1.1.7";

// The elements the secondary capture takes from the shown image: character
// set, study, patient and series.
constexpr unsigned int CopiedTags[] = {0x00080005, 0x00080020, 0x00080030, 0x00080050, 0x00080060,
                                       0x00080090, 0x00081030, 0x0008103E, 0x00100010, 0x00100020,
                                       0x00100030, 0x00100040, 0x0020000D, 0x0020000E, 0x00200010,
                                       0x00200011, 0x00200013, 0x00200060};
// Of those, the ones the secondary capture must carry, empty when unknown.
constexpr unsigned int RequiredTags[] = {0x00080020, 0x00080030, 0x00080050, 0x00080090,
                                         0x00100010, 0x00100020, 0x00100030, 0x00100040,
                                         0x00200010, 0x00200011, 0x00200013, 0x00200060};

unsigned short GroupOf(unsigned int tag)
{
    return static_cast<unsigned short>(tag >> 16);
}

unsigned short ElementOf(unsigned int tag)
{
    return static_cast<unsigned short>(tag & 0xFFFF);
}

// The target written through a temporary file beside it, renamed over it
// only when the writer succeeded.
template <class Write> bool WriteReplacing(const char* path, Write write)
{
    const std::string temporary =
        std::string(path) + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
    if (!write(temporary.c_str()))
    {
        DeleteFileA(temporary.c_str());
        return false;
    }
    if (std::rename(ResolveNativePath(temporary.c_str()).c_str(),
                    ResolveNativePath(path).c_str()) != 0)
    {
        quillon::_error("Enter ImageShow::WriteReplacing, cannot replace %s", path);
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

// The DIB's pixels, top row first: one grey level per pixel when every
// colour is grey, else R, G, B.
struct DisplayPixels
{
    int width = 0;
    int height = 0;
    bool grey = true;
    std::vector<std::uint8_t> samples;
};

bool ReadDisplayPixels(const DIBHolder& dib, DisplayPixels& out)
{
    const SIZE_T size = GlobalSize(dib.GetDIB());
    const void* block = GlobalLock(dib.GetDIB());
    if (block == nullptr)
    {
        return false;
    }
    PackedDibLayout layout;
    std::vector<std::uint32_t> colours;
    bool decoded = ParsePackedDib(block, size, layout);
    if (decoded)
    {
        colours.resize(std::size_t(layout.nWidth) * layout.nHeight);
        decoded = DecodePackedDib(block, layout, colours.data());
    }
    GlobalUnlock(dib.GetDIB());
    if (!decoded)
    {
        return false;
    }
    out.width = layout.nWidth;
    out.height = layout.nHeight;
    for (std::uint32_t colour : colours)
    {
        out.grey = out.grey && (colour & 0xFF) == (colour >> 8 & 0xFF) &&
                   (colour & 0xFF) == (colour >> 16 & 0xFF);
    }
    out.samples.reserve(colours.size() * (out.grey ? 1 : 3));
    for (std::uint32_t colour : colours)
    {
        if (out.grey)
        {
            out.samples.push_back(static_cast<std::uint8_t>(colour));
            continue;
        }
        out.samples.push_back(static_cast<std::uint8_t>(colour >> 16));
        out.samples.push_back(static_cast<std::uint8_t>(colour >> 8));
        out.samples.push_back(static_cast<std::uint8_t>(colour));
    }
    return true;
}

void AddPixels(DICOMFile& out, const DisplayPixels& pixels)
{
    out.Add(0x0028, 0x0002, static_cast<unsigned short>(pixels.grey ? 1 : 3));
    out.Add(0x0028, 0x0004, pixels.grey ? "MONOCHROME2" : "RGB");
    if (!pixels.grey)
    {
        out.Add(0x0028, 0x0006, static_cast<unsigned short>(0));
    }
    out.Add(0x0028, 0x0010, static_cast<unsigned short>(pixels.height));
    out.Add(0x0028, 0x0011, static_cast<unsigned short>(pixels.width));
    out.Add(0x0028, 0x0100, static_cast<unsigned short>(8));
    out.Add(0x0028, 0x0101, static_cast<unsigned short>(8));
    out.Add(0x0028, 0x0102, static_cast<unsigned short>(7));
    out.Add(0x0028, 0x0103, static_cast<unsigned short>(0));
    out.Add(0x7FE0, 0x0010);
    VR* element = out.GetVR(0x7FE0, 0x0010);
    element->SetTypeCode(VRCode::OB);
    const auto count = static_cast<unsigned int>(pixels.samples.size());
    auto* bytes = static_cast<std::uint8_t*>(element->GetDataSetLength(count));
    std::memcpy(bytes, pixels.samples.data(), count);
    if (count % 2 != 0)
    {
        bytes[count] = 0;
    }
}

// A UID of the shown image, or a new one where it has none.
void CopyOrMakeUID(const DICOMVRSet& source, DICOMFile& out, unsigned short element)
{
    if (!source.GetLettra(0x0020, element).Trim().IsEmpty())
    {
        source.CopyTo(out, 0x00200000u | element, 0x00200000u | element);
        return;
    }
    out.Add(0x0020, element, UID(quillon::GenUniqueUID(UidGeneratedRoot)));
}

} // namespace

template <class Writer> bool ImageShow::WithFullView(Writer write)
{
    const bool hadDIB = !m_DIB.IsEmpty();
    BuildFullViewDIB();
    const bool done = !m_DIB.IsEmpty() && write(m_DIB);
    if (!hadDIB)
    {
        ReleaseImageData();
    }
    return done;
}

bool ImageShow::GetCurrentDicomImage(DICOMFile& out)
{
    out.Reset();
    const DICOMImage* source = GetDicomImage();
    if (source == nullptr)
    {
        quillon::_error("Enter ImageShow::GetCurrentDicomImage, DICOM File is empty");
        return false;
    }
    DisplayPixels pixels;
    if (!WithFullView([&pixels](const DIBHolder& dib) { return ReadDisplayPixels(dib, pixels); }))
    {
        quillon::_error("Enter ImageShow::GetCurrentDicomImage, m_MetaImage is empty");
        return false;
    }
    out.SetTransferSyntax(UidTransferLittleEndianExplicit);
    for (unsigned int tag : CopiedTags)
    {
        source->CopyTo(out, tag, tag);
    }
    for (unsigned int tag : RequiredTags)
    {
        if (out.IsExist(tag) == 0)
        {
            out.Add(GroupOf(tag), ElementOf(tag));
        }
    }
    if (out.GetLettra(0x0008, 0x0060).Trim().IsEmpty())
    {
        out.Add(0x0008, 0x0060, "OT");
    }
    CopyOrMakeUID(*source, out, 0x000D);
    CopyOrMakeUID(*source, out, 0x000E);
    out.Add(0x0008, 0x0008, "DERIVED\\SECONDARY");
    out.Add(0x0008, 0x0016, UID(SecondaryCaptureClass));
    out.Add(0x0008, 0x0018, UID(quillon::GenUniqueUID(UidGeneratedRoot)));
    out.Add(0x0008, 0x0064, "WSD");
    out.Add(0x0020, 0x0020, GetPatientOrientation());
    AddPixels(out, pixels);
    return true;
}

bool ImageShow::SaveAsDicomFile(const char* path)
{
    quillon::_debug("Enter ImageShow::SaveAsDicomFile, filename : [%s]",
                    path != nullptr ? path : "");
    if (path == nullptr)
    {
        return false;
    }
    DICOMImage image;
    return GetCurrentDicomImage(image) && image.WriteFile(path, 1) != 0;
}

bool ImageShow::SaveAsBitmap(const char* path)
{
    quillon::_debug("Enter ImageShow::SaveAsBitmap, filename : [%s]", path != nullptr ? path : "");
    return path != nullptr && WithFullView(
                                  [path](const DIBHolder& dib)
                                  {
                                      return WriteReplacing(path, [&dib](const char* temporary)
                                                            { return dib.SaveBitmap(temporary); });
                                  });
}

bool ImageShow::SaveAsJPEG(const char* path)
{
    quillon::_debug("Enter ImageShow::SaveAsJPEG, filename : [%s]", path != nullptr ? path : "");
    return path != nullptr && WithFullView(
                                  [path](const DIBHolder& dib)
                                  {
                                      return WriteReplacing(path, [&dib](const char* temporary)
                                                            { return dib.SaveJPEG(temporary); });
                                  });
}
