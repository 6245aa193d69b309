#include "DICOMImage.h"

#include "DICOMImageIcon.h"
#include "ImageTags.h"
#include "VRCode.h"
#include "VeltaroLog.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>

using namespace ImageTags;

namespace
{

// An attribute every image needs, with the text its absence is logged with
// (after the caller's prefix) and, for three of them, the value a repair
// fills in.
enum class enRepair
{
    None,
    StudyId,
    HighBit,
    PixelRepresentation
};

struct RequiredAttribute
{
    std::uint16_t group;
    std::uint16_t element;
    const char* text;
    enRepair repair;
};

constexpr RequiredAttribute RequiredAttributes[] = {
    {0x0008, 0x0016, "(0x0008, 0x0016) SOP Class UID", enRepair::None},
    {0x0008, 0x0018, "(0x0008, 0x0018) SOP Instance UID", enRepair::None},
    {0x0010, 0x0020, "(0x0010, 0x0020) Patient ID", enRepair::None},
    {0x0010, 0x0010, "(0x0010, 0x0010) Patient Name", enRepair::None},
    {0x0010, 0x0030, "(0x0010, 0x0030) Patient Birth Date", enRepair::None},
    {0x0010, 0x0040, "(0x0010, 0x0040) Patient Sex", enRepair::None},
    {0x0020, 0x000D, "(0x0020, 0x000d) Study Instance UID", enRepair::None},
    {0x0008, 0x0020, "(0x0008, 0x0020) Study Date", enRepair::None},
    {0x0008, 0x0030, "(0x0008, 0x0030) Study Time", enRepair::None},
    {0x0008, 0x0090, "(0x0008, 0x0090) Referring Pyhisican Name", enRepair::None},
    {0x0020, 0x0010, "(0x0020, 0x0010) Study ID", enRepair::StudyId},
    {0x0008, 0x0050, "(0x0008, 0x0050) Accession Number", enRepair::None},
    {0x0008, 0x0060, "(0x0008, 0x0060) Modality.", enRepair::None},
    {0x0020, 0x000E, "(0x0020, 0x000e) Series Instance UID", enRepair::None},
    {0x0020, 0x0011, "(0x0020, 0x0011) Series Number", enRepair::None},
    {0x0020, 0x0013, "(0x0020, 0x0013) Image Number", enRepair::None},
    {0x0028, 0x0002, "(0x0020, 0x0002) Sample Per Pixel", enRepair::None},
    {0x0028, 0x0004, "(0x0028, 0x0004) Photometric Interpretation", enRepair::None},
    {0x0028, 0x0010, "(0x0028, 0x0010) Rows", enRepair::None},
    {0x0028, 0x0011, "(0x0028, 0x0011) Columns", enRepair::None},
    {0x0028, 0x0100, "(0x0028, 0x0100) Bits Allocated", enRepair::None},
    {0x0028, 0x0101, "(0x0028, 0x0101) Bits Stored", enRepair::None},
    {0x0028, 0x0102, "(0x0028, 0x0102) High Bit", enRepair::HighBit},
    {0x0028, 0x0103, "(0x0028, 0x0103) Pixel Representation", enRepair::PixelRepresentation},
    {0x7FE0, 0x0010, "(0x7fe0, 0x0010) Pixel Data", enRepair::None},
};

// The repair checks the patient's name before the patient ID.
constexpr int RepairOrder[] = {0,  1,  3,  2,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                               13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
static_assert(std::size(RepairOrder) == std::size(RequiredAttributes));

// The identifiers a repair rewrites as clean UI values, in this order.
constexpr std::uint16_t Identifiers[][2] = {
    {0x0010, 0x0020}, {0x0020, 0x000D}, {0x0020, 0x000E}, {0x0008, 0x0018}};

bool IsNativeSyntax(const UID& syntax)
{
    return syntax == UidTransferLittleEndian || syntax == UidTransferLittleEndianExplicit ||
           syntax == UidTransferBigEndianExplicit;
}

// A buffer of even length: an odd one is copied one byte longer with a
// trailing 0 and the old one freed.
std::uint8_t* MakeEvenLength(std::uint8_t* buffer, unsigned& length)
{
    if (length % 2 == 0)
    {
        return buffer;
    }
    auto* even = new (std::nothrow) std::uint8_t[length + 1];
    if (even != nullptr)
    {
        std::memcpy(even, buffer, length);
        even[length] = 0;
        ++length;
    }
    delete[] buffer;
    return even;
}

} // namespace

DICOMImage::DICOMImage() = default;

DICOMImage::DICOMImage(const DICOMFile& file) : DICOMFile(file) {}

DICOMImage::DICOMImage(const DICOMVRSet& set) : DICOMFile(set) {}

DICOMImage::DICOMImage(const char* path) : DICOMFile(path) {}

DICOMImage::DICOMImage(const DICOMImage& other) : DICOMFile(other) {}

DICOMImage::~DICOMImage()
{
    AttachIcon(nullptr);
}

DICOMImage& DICOMImage::operator=(const DICOMImage& other)
{
    DICOMFile::operator=(other);
    m_pAttachedIcon = other.m_pAttachedIcon;
    m_nReferenceCount = other.m_nReferenceCount;
    return *this;
}

void DICOMImage::AttachIcon(DICOMImageIcon* icon)
{
    if (m_pAttachedIcon != nullptr && m_pAttachedIcon->m_pAttachedImage == this)
    {
        m_pAttachedIcon->m_pAttachedImage = nullptr;
    }
    m_pAttachedIcon = icon;
}

void DICOMImage::DecReferenceCount()
{
    if (--m_nReferenceCount < 0)
    {
        m_nReferenceCount = 0;
    }
}

int DICOMImage::ReleasePixelData()
{
    Delete(PixelGroup, PixelElement);
    return 1;
}

int DICOMImage::ConvertToRaw()
{
    return ConvertTo(UidTransferLittleEndianExplicit);
}

int DICOMImage::ConvertToKnowFormat(const UID& uid)
{
    if (!IsExist(PixelGroup, PixelElement))
    {
        _warning("Enter DICOMImage::ConvertTo, it's NOT a regular DICOM Image!");
    }
    if (uid.IsEmpty())
    {
        _fatal("Enter DICOMImage::ConvertTo, Empty UID!");
        return 0;
    }
    UID current;
    GetTransferSyntax(current);
    if (current.IsEmpty())
    {
        SetTransferSyntax(uid);
        return 1;
    }
    if (current == uid)
    {
        return 1;
    }
    const bool isNative = IsNativeSyntax(current) && IsNativeSyntax(uid);
    if (!isNative || current == UidTransferBigEndianExplicit)
    {
        _debug("Enter DICOMImage::ConvertTo, from <%s> to <%s>", static_cast<const char*>(current),
               static_cast<const char*>(uid));
    }
    if (!isNative)
    {
        return 0;
    }
    // The values stay in host order; the byte order is applied on writing.
    SetTransferSyntax(uid);
    return 1;
}

int DICOMImage::IsValid()
{
    return CheckPresence("DICOMImage::IsValid", "Enter DICOMImage::IsValid, FileLocation : %s",
                         false);
}

int DICOMImage::FixMe()
{
    NormaliseIdentifiers();
    return CheckPresence("DICOMImage::FixMe", "Enter DICOMImage::FixMe, FileLocation : %s", true);
}

void DICOMImage::NormaliseIdentifiers()
{
    for (const auto& tag : Identifiers)
    {
        const UID uid(GetLettra(tag[0], tag[1]));
        if (!uid.IsEmpty())
        {
            Push(new VR(tag[0], tag[1], uid));
        }
    }
}

int DICOMImage::CheckPresence(const char* prefix, const char* enterLine, bool repair)
{
    for (int step = 0; step < static_cast<int>(std::size(RequiredAttributes)); ++step)
    {
        const RequiredAttribute& attribute = RequiredAttributes[repair ? RepairOrder[step] : step];
        if (IsExist(attribute.group, attribute.element))
        {
            continue;
        }
        _debug(enterLine, GetFileName());
        _debug("%s: %s", prefix, attribute.text);
        if (!repair || attribute.repair == enRepair::None)
        {
            return 0;
        }
        if (attribute.repair == enRepair::StudyId)
        {
            Add(attribute.group, attribute.element, "99");
        }
        else
        {
            const unsigned short value = attribute.repair == enRepair::HighBit ? 7 : 0;
            Add(attribute.group, attribute.element, value);
        }
    }
    return 1;
}

int DICOMImage::GetNumberOfFrames() const
{
    if (IsEmpty())
    {
        return 0;
    }
    if (!IsExist(0x0028, 0x0008))
    {
        return 1;
    }
    const long count = ReadDecimalOrHex(GetLettra(0x0028, 0x0008));
    return count > INT32_MAX ? INT32_MAX : count < INT32_MIN ? INT32_MIN : static_cast<int>(count);
}

int DICOMImage::GetFramesPresent() const
{
    const int claimed = GetNumberOfFrames();
    const VR* pixel = GetVR(PixelGroup, PixelElement);
    if (claimed <= 1)
    {
        return std::max(claimed, 0);
    }
    if (pixel == nullptr)
    {
        return 0;
    }
    if (pixel->GetSQArray() != nullptr)
    {
        // Item 0 is the offset table; frame n is item n + 1.
        return std::clamp(pixel->GetItemCount() - 1, 0, claimed);
    }
    const std::uint32_t size = GetFrameSize();
    return size == 0
               ? 0
               : static_cast<int>(std::min<std::uint64_t>(claimed, pixel->GetLength() / size));
}

long DICOMImage::ReadDecimalOrHex(const Lettra& text)
{
    const long value = std::strtol(text, nullptr, 10);
    return value != 0 ? value : std::strtol(text, nullptr, 16);
}

std::uint32_t DICOMImage::GetFrameSize() const
{
    std::uint64_t samples = static_cast<std::uint64_t>(GetUINT16(0x0028, 0x0010)) *
                            GetUINT16(0x0028, 0x0011) * GetUINT16(0x0028, 0x0002);
    if (HasSubsampledFrames())
    {
        samples = samples / 3 * 2;
    }
    const unsigned bitsAllocated = GetUINT16(0x0028, 0x0100);
    std::uint64_t size = samples;
    if (bitsAllocated >= 8)
    {
        size = samples * ((bitsAllocated + 7) / 8);
    }
    else if (bitsAllocated > 0)
    {
        size = (samples * bitsAllocated + 7) / 8;
    }
    return size > UINT32_MAX ? 0 : static_cast<std::uint32_t>(size);
}

bool DICOMImage::HasSubsampledFrames() const
{
    UID syntax;
    GetTransferSyntax(syntax);
    const Lettra photometric = GetLettra(0x0028, 0x0004);
    return IsNativeSyntax(syntax) && GetUINT16(0x0028, 0x0002) == 3 &&
           GetUINT16(0x0028, 0x0100) == 8 &&
           (photometric == "YBR_FULL_422" || photometric == "YBR_PARTIAL_422");
}

const VR* DICOMImage::GetFrameFragment(int frame) const
{
    const VR* pixel = GetVR(PixelGroup, PixelElement);
    if (pixel == nullptr || frame < 0 || frame >= pixel->GetItemCount() - 1)
    {
        return nullptr;
    }
    const DICOMVRSet* item = pixel->GetSQArray()->GetAt(frame + 1);
    return item != nullptr ? item->GetVR(ItemGroup, ItemTag) : nullptr;
}

const std::uint8_t* DICOMImage::GetPixelAddress(int frame) const
{
    const VR* pixel = GetVR(PixelGroup, PixelElement);
    if (pixel == nullptr)
    {
        return nullptr;
    }
    if (pixel->GetSQArray() != nullptr)
    {
        const VR* fragment = GetFrameFragment(frame);
        return fragment != nullptr ? static_cast<const std::uint8_t*>(fragment->GetData())
                                   : nullptr;
    }
    if (GetPixelLength(frame) == 0)
    {
        return nullptr;
    }
    const int frameCount = GetNumberOfFrames();
    const std::uint8_t* data = static_cast<const std::uint8_t*>(pixel->GetData());
    return frameCount <= 1 ? data : data + static_cast<std::size_t>(frame) * GetFrameSize();
}

std::uint32_t DICOMImage::GetPixelLength(int frame) const
{
    const VR* pixel = GetVR(PixelGroup, PixelElement);
    if (pixel == nullptr)
    {
        return 0;
    }
    if (pixel->GetSQArray() != nullptr)
    {
        const VR* fragment = GetFrameFragment(frame);
        return fragment != nullptr ? fragment->GetLength() : 0;
    }
    const int frameCount = GetNumberOfFrames();
    if (frameCount <= 1)
    {
        return frame == 0 ? pixel->GetLength() : 0;
    }
    // A frame is given only when it lies wholly inside the value.
    const std::uint64_t size = GetFrameSize();
    const bool isInside = frame >= 0 && frame < frameCount &&
                          (static_cast<std::uint64_t>(frame) + 1) * size <= pixel->GetLength();
    return isInside ? static_cast<std::uint32_t>(size) : 0;
}

int DICOMImage::CopyToPixelBuffer(void* buffer, unsigned length, int frame, unsigned columns,
                                  unsigned rows, unsigned short bitsAllocated,
                                  unsigned short bitsStored, unsigned short highBit)
{
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    if (!IsExist(PixelGroup, PixelElement))
    {
        Add(PixelGroup, PixelElement);
    }
    bytes = MakeEvenLength(bytes, length);
    if (bytes == nullptr)
    {
        return 0;
    }
    Add(0x0028, 0x0010, static_cast<unsigned short>(rows));
    Add(0x0028, 0x0011, static_cast<unsigned short>(columns));
    Add(0x0028, 0x0100, bitsAllocated);
    Add(0x0028, 0x0101, bitsStored);
    Add(0x0028, 0x0102, highBit);
    const int frameCount = GetNumberOfFrames();
    UID syntax;
    GetTransferSyntax(syntax);
    const int stored = IsNativeSyntax(syntax) ? StoreNative(bytes, length, frame, frameCount)
                                              : StoreEncapsulated(bytes, length, frame, frameCount);
    Package(PixelGroup);
    return stored;
}

int DICOMImage::StoreEncapsulated(std::uint8_t* buffer, unsigned length, int frame, int frameCount)
{
    if (GetVR(PixelGroup, PixelElement)->GetSQArray() == nullptr)
    {
        Delete(PixelGroup, PixelElement);
        for (int item = 0; item <= frameCount; ++item)
        {
            auto* set = new DICOMDataSet;
            set->Push(new VR(ItemGroup, ItemTag));
            Push(PixelGroup, PixelElement, set);
        }
    }
    VR* pixel = GetVR(PixelGroup, PixelElement);
    if (pixel == nullptr)
    {
        delete[] buffer;
        return 0;
    }
    pixel->SetTypeCode(VRCode::OB);
    auto* fragment = const_cast<VR*>(GetFrameFragment(frame));
    if (fragment == nullptr)
    {
        delete[] buffer;
        return 0;
    }
    fragment->Attach(buffer, length);
    return 1;
}

int DICOMImage::StoreNative(std::uint8_t* buffer, unsigned length, int frame, int frameCount)
{
    std::unique_ptr<std::uint8_t[]> owned(buffer);
    VR* pixel = GetVR(PixelGroup, PixelElement);
    pixel->DeleteSQArray();
    const std::uint64_t size = GetFrameSize();
    if (length < size)
    {
        return 0;
    }
    if (frameCount <= 1)
    {
        pixel->Attach(owned.release(), length);
        return 1;
    }
    const std::uint64_t total = size * static_cast<std::uint64_t>(frameCount);
    if (frame < 0 || frame >= frameCount || total > UINT32_MAX)
    {
        return 0;
    }
    auto* data = static_cast<std::uint8_t*>(pixel->GetDataSetLength(static_cast<unsigned>(total)));
    if (data == nullptr)
    {
        return 0;
    }
    std::memcpy(data + size * static_cast<std::uint64_t>(frame), owned.get(), size);
    return 1;
}
