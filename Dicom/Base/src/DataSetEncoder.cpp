#include "DataSetEncoder.h"

#include "DataDictionary.h"
#include "OutBuffer.h"
#include "VR.h"
#include "VRCode.h"
#include "VeltaroLog.h"

#include <algorithm>
#include <cstring>

using namespace DataSetCoding;

namespace
{

constexpr std::uint32_t ShortLengthLimit = 0xFFFF;
// Values swapped for the big-endian coding go out in pieces of this size.
constexpr std::uint32_t SwapPieceSize = 0x10000;

const VR* FragmentOf(const DICOMVRSet& item)
{
    return item.GetVR(ItemGroup, ItemTag);
}

// UI values are padded with NUL bytes, never with blanks.
void NulPadUid(VR& element)
{
    char* data = static_cast<char*>(element.GetData());
    for (unsigned int i = element.GetLength(); i > 0 && data[i - 1] == ' '; --i)
    {
        data[i - 1] = '\0';
    }
}

// A long form of the same unit, so that a big-endian reader swaps the
// values as they were written.
std::uint16_t BigEndianLongForm(std::uint16_t code)
{
    switch (VRCode::GetSwapUnit(code))
    {
    case 2:
        return VRCode::OW;
    case 4:
        return code == VRCode::FL ? VRCode::OF : VRCode::OL;
    case 8:
        return code == VRCode::FD ? VRCode::OD : VRCode::OV;
    default:
        return VRCode::UN;
    }
}

} // namespace

// Pixel data always has a long-form VR: its length may be undefined.
DataSetEncoder::DataSetEncoder(OutBuffer& out, enCoding coding, std::uint16_t pixelTypeCode)
    : m_out(out), m_coding(coding),
      m_pixelTypeCode(VRCode::IsLongForm(pixelTypeCode) ? pixelTypeCode : VRCode::OW)
{
}

// Implicit coding leaves out the group length elements but that of group
// 0002.
bool DataSetEncoder::IsWritten(const VR& element) const
{
    return !IsImplicit() || element.GetElement() != 0 || element.GetGroup() == 0x0002;
}

// A VR that is unknown or UN is taken from the dictionary, else SQ for an
// element with items and UN for another; a dictionary's SQ is not taken for
// a value (a private tag may be a sequence under another creator). An
// element with items that is not pixel data is written as a sequence. The
// element keeps the VR found.
std::uint16_t DataSetEncoder::ResolveTypeCode(VR& element) const
{
    std::uint16_t code = element.GetTypeCode();
    const bool hasItems = element.GetSQArray() != nullptr;
    if (code == VRCode::Unknown || code == VRCode::UN)
    {
        code =
            DataDictionary::GetLibraryDictionary().Lookup(element.GetGroup(), element.GetElement());
        if (code == VRCode::Unknown || (code == VRCode::SQ && !hasItems && element.GetLength() > 0))
        {
            code = hasItems ? VRCode::SQ : VRCode::UN;
        }
    }
    if (hasItems && !IsPixelData(element.GetGroup(), element.GetElement()))
    {
        code = VRCode::SQ;
    }
    element.SetTypeCode(code);
    return code;
}

bool DataSetEncoder::IsLongForm(VR& element)
{
    const std::uint16_t code = ResolveTypeCode(element);
    const std::uint16_t written =
        IsPixelData(element.GetGroup(), element.GetElement()) ? m_pixelTypeCode : code;
    return VRCode::IsLongForm(written) || element.GetLength() > ShortLengthLimit;
}

// A value too long for a 2-byte length is written with a long-form VR,
// which the element keeps.
std::uint16_t DataSetEncoder::GetWrittenTypeCode(VR& element)
{
    const std::uint16_t code = ResolveTypeCode(element);
    if (IsPixelData(element.GetGroup(), element.GetElement()))
    {
        return m_pixelTypeCode;
    }
    if (element.GetLength() <= ShortLengthLimit || VRCode::IsLongForm(code))
    {
        return code;
    }
    const std::uint16_t longForm = IsBigEndian() ? BigEndianLongForm(code) : VRCode::OW;
    element.SetTypeCode(longForm);
    _fatal("Unmatched vr's Length, TypeCode set to '%c%c'", VRCode::FirstLetter(longForm),
           VRCode::SecondLetter(longForm));
    _fdebug(element.ToString());
    return longForm;
}

std::uint32_t DataSetEncoder::GetItemsSize(VR& element)
{
    std::uint32_t size = 8; // the sequence delimiter
    const bool pixel = IsPixelData(element.GetGroup(), element.GetElement());
    for (auto* node = element.GetSQArray()->GetHead(); node != nullptr; node = node->next)
    {
        if (pixel)
        {
            const VR* fragment = FragmentOf(*node->item);
            size += fragment != nullptr ? 8 + fragment->GetLength() : 0;
        }
        else
        {
            size += 16 + GetSize(*node->item);
        }
    }
    return size;
}

// An element with an item list is written with undefined length and its
// items in place of its value.
std::uint32_t DataSetEncoder::GetElementSize(VR& element)
{
    std::uint32_t size = 8;
    if (!IsImplicit() && IsLongForm(element))
    {
        size += 4;
    }
    return size + (element.GetSQArray() != nullptr ? GetItemsSize(element) : element.GetLength());
}

std::uint32_t DataSetEncoder::GetSize(DICOMVRSet& set)
{
    std::uint32_t size = 0;
    for (DICOMVRSet::Iterator it(set); it; ++it)
    {
        if (IsWritten(*it.Current()))
        {
            size += GetElementSize(*it.Current());
        }
    }
    return size;
}

// The bytes of the elements that follow a group length element in its
// group, as this coding writes them.
std::uint32_t DataSetEncoder::GetGroupLength(DICOMVRSet::Iterator position)
{
    const std::uint16_t group = position.Current()->GetGroup();
    std::uint32_t length = 0;
    for (++position; position && position.Current()->GetGroup() == group; ++position)
    {
        length += GetElementSize(*position.Current());
    }
    return length;
}

int DataSetEncoder::Encode(DICOMVRSet& set)
{
    for (DICOMVRSet::Iterator it(set); it; ++it)
    {
        VR& element = *it.Current();
        if (!IsWritten(element))
        {
            continue;
        }
        if (element.GetElement() == 0)
        {
            EncodeGroupLength(element, it);
        }
        else
        {
            EncodeElement(element);
        }
    }
    return 1;
}

// A group length is written as the exact count of the bytes that follow it
// in its group.
void DataSetEncoder::EncodeGroupLength(VR& element, const DICOMVRSet::Iterator& position)
{
    WriteTag(element.GetGroup(), 0);
    if (!IsImplicit())
    {
        m_out.Put1('U').Put1('L');
        Write16(4);
    }
    else
    {
        Write32(4);
    }
    Write32(GetGroupLength(position));
}

void DataSetEncoder::EncodeElement(VR& element)
{
    WriteTag(element.GetGroup(), element.GetElement());
    const std::uint16_t stored = element.GetTypeCode() != VRCode::Unknown
                                     ? element.GetTypeCode()
                                     : DataDictionary::GetLibraryDictionary().Lookup(
                                           element.GetGroup(), element.GetElement());
    if (stored == VRCode::UI)
    {
        NulPadUid(element);
    }
    const bool hasItems = element.GetSQArray() != nullptr;
    const std::uint32_t length = hasItems ? UndefinedLength : element.GetLength();
    std::uint16_t written = element.GetTypeCode();
    if (IsImplicit())
    {
        Write32(length);
    }
    else
    {
        written = GetWrittenTypeCode(element);
        m_out.Put1(static_cast<std::uint8_t>(VRCode::FirstLetter(written)))
            .Put1(static_cast<std::uint8_t>(VRCode::SecondLetter(written)));
        if (IsLongForm(element))
        {
            Write16(0);
            Write32(length);
        }
        else
        {
            Write16(static_cast<std::uint16_t>(length));
        }
    }
    if (hasItems)
    {
        EncodeItems(element);
    }
    else
    {
        WriteValue(element, written);
    }
}

void DataSetEncoder::EncodeItems(VR& element)
{
    const bool pixel = IsPixelData(element.GetGroup(), element.GetElement());
    for (auto* node = element.GetSQArray()->GetHead(); node != nullptr; node = node->next)
    {
        if (pixel)
        {
            const VR* fragment = FragmentOf(*node->item);
            if (fragment != nullptr)
            {
                WriteTag(ItemGroup, ItemTag);
                Write32(fragment->GetLength());
                m_out.Write(fragment->GetData(), fragment->GetLength());
            }
            continue;
        }
        WriteTag(ItemGroup, ItemTag);
        Write32(UndefinedLength);
        Encode(*node->item);
        WriteTag(ItemGroup, ItemDelimiter);
        Write32(0);
    }
    WriteTag(ItemGroup, SequenceDelimiter);
    Write32(0);
}

void DataSetEncoder::WriteTag(std::uint16_t group, std::uint16_t element)
{
    Write16(group);
    Write16(element);
}

void DataSetEncoder::Write16(std::uint16_t value)
{
    m_out.Put2(IsBigEndian() ? static_cast<std::uint16_t>(value << 8 | value >> 8) : value);
}

void DataSetEncoder::Write32(std::uint32_t value)
{
    if (IsBigEndian())
    {
        value = (value >> 24) | ((value >> 8) & 0xFF00) | ((value << 8) & 0xFF0000) | (value << 24);
    }
    m_out.Put4(value);
}

// The big-endian coding swaps the values of binary VRs on a copy, piece by
// piece; the stored value stays in host order.
void DataSetEncoder::WriteValue(const VR& element, std::uint16_t writtenCode)
{
    const auto* data = static_cast<const std::uint8_t*>(element.GetData());
    const std::uint32_t length = element.GetLength();
    const int unit = IsBigEndian() ? VRCode::GetSwapUnit(writtenCode) : 1;
    if (unit < 2)
    {
        m_out.Write(data, length);
        return;
    }
    std::uint8_t piece[SwapPieceSize];
    for (std::uint32_t done = 0; done < length;)
    {
        const std::uint32_t part = std::min(length - done, SwapPieceSize);
        std::memcpy(piece, data + done, part);
        SwapUnits(piece, part, unit);
        m_out.Write(piece, part);
        done += part;
    }
}
