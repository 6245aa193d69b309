#include "DataSetDecoder.h"

#include "DICOMDataSet.h"
#include "DataDictionary.h"
#include "DataSetArena.h"
#include "DataSetForms.h"
#include "InBuffer.h"
#include "VR.h"
#include "VRCode.h"
#include "VeltaroLog.h"

#include <cstring>
#include <memory>
#include <new>

using namespace DataSetCoding;

namespace
{

std::uint16_t DictionaryTypeCode(std::uint16_t group, std::uint16_t element)
{
    return DataDictionary::GetLibraryDictionary().Lookup(group, element);
}

} // namespace

void DataSetCoding::SwapUnits(std::uint8_t* data, std::uint32_t length, int unit)
{
    if (unit < 2)
    {
        return;
    }
    for (std::uint32_t start = 0; start + unit <= length; start += unit)
    {
        for (int low = 0, high = unit - 1; low < high; ++low, --high)
        {
            const std::uint8_t byte = data[start + low];
            data[start + low] = data[start + high];
            data[start + high] = byte;
        }
    }
}

DataSetDecoder::DataSetDecoder(InBuffer& stream, enCoding coding, int depth, DataSetArena* arena)
    : m_stream(stream), m_coding(coding), m_depth(depth), m_arena(arena)
{
}

DataSetDecoder::ArenaOpening::ArenaOpening(DataSetArena*& arena)
    : m_arena(arena), m_opened(arena == nullptr)
{
    if (m_opened)
    {
        m_arena = DataSetArena::Open();
    }
}

DataSetDecoder::ArenaOpening::~ArenaOpening()
{
    if (m_opened)
    {
        m_arena->Close();
        m_arena = nullptr;
    }
}

VR* DataSetDecoder::NewElement(std::uint16_t group, std::uint16_t element)
{
    return new (m_arena) VR(group, element);
}

// A file stream is refilled a whole chunk at a time, only when fewer than
// the 4 bytes of a tag are left.
bool DataSetDecoder::HasHeadBytes()
{
    if (m_stream.GetAvailable() < 4)
    {
        m_stream.FillAtLeast(m_stream.GetChunkSize());
    }
    return m_stream.GetAvailable() >= 4;
}

bool DataSetDecoder::ReadTag(Header& header)
{
    if (m_stream.Read(header.tagBytes, 4) != 4)
    {
        return false;
    }
    header.group = DataSetCoding::Read16(header.tagBytes, IsBigEndian());
    header.element = DataSetCoding::Read16(header.tagBytes + 2, IsBigEndian());
    return true;
}

bool DataSetDecoder::Read16(std::uint16_t& value)
{
    std::uint8_t bytes[2];
    if (m_stream.Read(bytes, 2) != 2)
    {
        return false;
    }
    value = DataSetCoding::Read16(bytes, IsBigEndian());
    return true;
}

bool DataSetDecoder::Read32(std::uint32_t& value)
{
    std::uint8_t bytes[4];
    if (m_stream.Read(bytes, 4) != 4)
    {
        return false;
    }
    value = DataSetCoding::Read32(bytes, IsBigEndian());
    return true;
}

// The VR and the length of an element that is not an item tag. An explicit
// stream may carry 00 00 for the VR: the dictionary's VR is taken then (UN
// in the full little-endian loop when the dictionary has none) and a
// 2-byte length follows.
bool DataSetDecoder::ReadTypeAndLength(Header& header, enLoop loop)
{
    if (m_coding == enCoding::Implicit)
    {
        header.typeCode = DictionaryTypeCode(header.group, header.element);
        header.typeFromDictionary = true;
        return Read32(header.length);
    }
    std::uint8_t letters[2];
    if (m_stream.Read(letters, 2) != 2)
    {
        return false;
    }
    header.typeCode = VRCode::Make(static_cast<char>(letters[0]), static_cast<char>(letters[1]));
    if (header.typeCode == VRCode::Unknown)
    {
        header.typeCode = DictionaryTypeCode(header.group, header.element);
        header.typeFromDictionary = true;
        if (header.typeCode == VRCode::Unknown && loop == enFullLoop && !IsBigEndian())
        {
            header.typeCode = VRCode::UN;
        }
        std::uint16_t shortLength = 0;
        const bool read = Read16(shortLength);
        header.length = shortLength;
        return read;
    }
    if (VRCode::IsLongForm(header.typeCode))
    {
        std::uint16_t reserved = 0;
        return Read16(reserved) && Read32(header.length);
    }
    std::uint16_t shortLength = 0;
    const bool read = Read16(shortLength);
    header.length = shortLength;
    return read;
}

bool DataSetDecoder::CheckDepth() const
{
    if (m_depth >= MaxNestingDepth)
    {
        _error("Items and sequences nest deeper than %d levels", MaxNestingDepth);
        return false;
    }
    return true;
}

bool DataSetDecoder::CheckLength(const DICOMVRSet& set, const Header& header)
{
    if (header.length < LengthLimit)
    {
        return true;
    }
    if (IsPixelData(header.group, header.element))
    {
        _warning("Get a huge Pixeldata of %d (0x%0x)", header.length, header.length);
        return true;
    }
    _fdebug(DataSetForms::ToStringOfTabStop(set, 0, 0));
    _error("The value of length %d is crazy (great then %d) !", header.length, LengthLimit);
    return false;
}

// What the stream holds already needs no question to its source.
bool DataSetDecoder::CheckRemaining(const Header& header)
{
    if (header.length <= m_stream.GetAvailable())
    {
        return true;
    }
    const std::uint32_t remaining = m_stream.GetRemaining();
    if (header.length <= remaining)
    {
        return true;
    }
    _error("The value of (%4.4x, %4.4x) of length %u runs past the end of the data (%u bytes "
           "left)",
           header.group, header.element, header.length, remaining);
    return false;
}

bool DataSetDecoder::AttachItem(DICOMVRSet* set, DICOMVRSet* item)
{
    return set->Push(item) != 0;
}

int DataSetDecoder::Decode(DICOMVRSet* set, bool closedByDelimiter)
{
    const ArenaOpening opening(m_arena);
    const SetArenaLoan loan(*set, m_arena);
    while (true)
    {
        if (!HasHeadBytes())
        {
            if (closedByDelimiter)
            {
                _error("The data ended inside an item or a sequence of undefined length");
                return 0;
            }
            return 1;
        }
        Header header = {};
        if (!ReadTag(header))
        {
            return 0;
        }
        const enStep step = DecodeElement(set, header, enFullLoop);
        if (step != enStepNext)
        {
            return step == enStepClosed ? 1 : 0;
        }
    }
}

std::uint32_t DataSetDecoder::DecodeTillTag(DICOMVRSet* set, std::uint32_t stopTag)
{
    const ArenaOpening opening(m_arena);
    const SetArenaLoan loan(*set, m_arena);
    while (true)
    {
        if (!HasHeadBytes())
        {
            return TillTagEnded;
        }
        Header header = {};
        if (!ReadTag(header))
        {
            return TillTagFailed;
        }
        const std::uint32_t tag = static_cast<std::uint32_t>(header.group) << 16 | header.element;
        if (tag > stopTag)
        {
            m_stream.PutBack(header.tagBytes, 4);
            return tag;
        }
        const enStep step = DecodeElement(set, header, enTillTagLoop);
        if (step == enStepClosed)
        {
            return TillTagDelimiter;
        }
        if (step == enStepFailed)
        {
            return TillTagFailed;
        }
    }
}

DataSetDecoder::enStep DataSetDecoder::DecodeElement(DICOMVRSet* set, const Header& tag,
                                                     enLoop loop)
{
    if (tag.group == ItemGroup)
    {
        return DecodeItemTag(set, tag, loop);
    }
    Header header = tag;
    if (!ReadTypeAndLength(header, loop))
    {
        _error("The data ended inside the header of (%4.4x, %4.4x)", header.group, header.element);
        return enStepFailed;
    }
    if (header.length == UndefinedLength)
    {
        return DecodeUndefinedLength(set, header);
    }
    if (header.typeCode == VRCode::SQ)
    {
        return header.typeFromDictionary ? DecodeGuessedSequence(set, header, m_coding)
                                         : DecodeSequenceBody(set, header);
    }
    if (IsSequenceCodedAsUN(header))
    {
        return DecodeGuessedSequence(set, header, enCoding::Implicit);
    }
    return DecodeValue(set, header);
}

// A sequence that passed through a reader that did not know it arrives as
// UN; its items are in implicit VR little endian.
bool DataSetDecoder::IsSequenceCodedAsUN(const Header& header) const
{
    return header.typeCode == VRCode::UN && m_coding != enCoding::Implicit &&
           DictionaryTypeCode(header.group, header.element) == VRCode::SQ;
}

DataSetDecoder::enStep DataSetDecoder::DecodeItemTag(DICOMVRSet* set, const Header& tag,
                                                     enLoop loop)
{
    Header header = tag;
    if (!Read32(header.length))
    {
        _error("The data ended inside the header of (%4.4x, %4.4x)", header.group, header.element);
        return enStepFailed;
    }
    if (header.element == SequenceDelimiter || header.element == ItemDelimiter)
    {
        return enStepClosed;
    }
    if (header.length != UndefinedLength && header.element != ItemTag)
    {
        if (m_coding == enCoding::Implicit && loop == enFullLoop)
        {
            _debug("Invalid VR: (%4.4x, %4.4x)", header.group, header.element);
        }
        else
        {
            _error("Invalid VR: (%4.4x, %4.4x)", header.group, header.element);
        }
        return enStepFailed;
    }
    if (!CheckDepth())
    {
        return enStepFailed;
    }
    auto item = std::make_unique<DICOMDataSet>();
    int decoded = 0;
    if (header.length == UndefinedLength)
    {
        DataSetDecoder inner(m_stream, m_coding, m_depth + 1, m_arena);
        decoded = inner.Decode(item.get(), true);
    }
    else
    {
        const std::optional<std::uint32_t> length = GetItemBodyLength(header);
        decoded = length.has_value() ? DecodeBody(item.get(), *length) : 0;
    }
    if (decoded == 0 || !AttachItem(set, item.release()))
    {
        return enStepFailed;
    }
    return enStepNext;
}

// Writers that drop elements from an item without mending its length leave
// the last item of the data running past its end. Such an item ends where
// the data does; it is read only when that end falls between two of its
// elements, as a cut inside a value still fails, and an item with nothing
// left of it is none.
std::optional<std::uint32_t> DataSetDecoder::GetItemBodyLength(const Header& header)
{
    if (header.length <= m_stream.GetAvailable())
    {
        return header.length;
    }
    const std::uint32_t remaining = m_stream.GetRemaining();
    if (header.length <= remaining)
    {
        return header.length;
    }
    if (remaining == 0)
    {
        CheckRemaining(header);
        return std::nullopt;
    }
    _warning("The item of length %u runs past the end of the data, closed after %u bytes",
             header.length, remaining);
    return remaining;
}

// The element is pushed with length 0; its content follows up to the
// sequence delimiter: the fragments of pixel data, or items that attach to
// it. An undefined-length UN holds its items in implicit VR little endian.
DataSetDecoder::enStep DataSetDecoder::DecodeUndefinedLength(DICOMVRSet* set, const Header& header)
{
    VR* element = NewElement(header.group, header.element);
    element->SetTypeCode(header.typeCode);
    element->AddSQArray(); // kept even when no item follows
    set->Push(element);
    if (IsPixelData(header.group, header.element))
    {
        return DecodeFragments(set) != 0 ? enStepNext : enStepFailed;
    }
    if (!CheckDepth())
    {
        return enStepFailed;
    }
    const enCoding coding = header.typeCode == VRCode::UN ? enCoding::Implicit : m_coding;
    DataSetDecoder content(m_stream, coding, m_depth + 1, m_arena);
    return content.Decode(set, true) != 0 ? enStepNext : enStepFailed;
}

DataSetDecoder::enStep DataSetDecoder::DecodeSequenceBody(DICOMVRSet* set, const Header& header)
{
    if (!CheckLength(*set, header) || !CheckRemaining(header) || !CheckDepth())
    {
        return enStepFailed;
    }
    VR* element = NewElement(header.group, header.element);
    element->SetTypeCode(header.typeCode);
    set->Push(element);
    return DecodeBody(set, header.length) != 0 ? enStepNext : enStepFailed;
}

// A body of defined length is decoded by a loop of its own over just its
// bytes.
int DataSetDecoder::DecodeBody(DICOMVRSet* set, std::uint32_t length)
{
    BodyBytes body;
    if (!TakeBody(length, false, body))
    {
        return 0;
    }
    MemInBuffer stream(body.data, body.size);
    DataSetDecoder inner(stream, m_coding, m_depth + 1, m_arena);
    const int decoded = inner.Decode(set, false);
    ReleaseBody(body);
    return decoded;
}

// A sequence the stream does not name as one (the dictionary's SQ of an
// implicit or unstated VR, or a UN the dictionary knows as a sequence) is
// taken as a sequence only when its body holds items and nothing else. A
// private tag may be a sequence under one creator and a value under another;
// otherwise the body is kept as a UN value. An odd body is judged with the
// pad byte it gets as a value, so that a value written back is judged the
// same way.
DataSetDecoder::enStep DataSetDecoder::DecodeGuessedSequence(DICOMVRSet* set, const Header& header,
                                                             enCoding coding)
{
    if (!CheckLength(*set, header) || !CheckRemaining(header) || !CheckDepth())
    {
        return enStepFailed;
    }
    BodyBytes body;
    if (!TakeBody(header.length, true, body))
    {
        return enStepFailed;
    }
    DICOMDataSet trial;
    VR* sequence = NewElement(header.group, header.element);
    sequence->SetTypeCode(VRCode::SQ);
    trial.Push(sequence);
    const bool bigEndian = coding == enCoding::ExplicitBig;
    const bool items = body.size >= 8 && DataSetCoding::Read16(body.data, bigEndian) == ItemGroup &&
                       DataSetCoding::Read16(body.data + 2, bigEndian) == ItemTag;
    MemInBuffer stream(body.data, body.size);
    DataSetDecoder inner(stream, coding, m_depth + 1, m_arena);
    if (items && inner.Decode(&trial, false) == 1 && trial.GetVRCount() == 2)
    {
        set->Push(trial.TakeOut(header.group, header.element));
    }
    else
    {
        VR* value = NewElement(header.group, header.element);
        value->SetTypeCode(VRCode::UN);
        void* data = value->GetDataSetLength(header.length);
        if (data == nullptr)
        {
            delete value;
            ReleaseBody(body);
            _assert("Data != NULL", "FixDecoder", __LINE__);
            return enStepFailed;
        }
        std::memcpy(data, body.data, value->GetLength());
        set->Push(value);
    }
    ReleaseBody(body);
    return enStepNext;
}

// The body is read in place when the stream holds it in one piece (and no
// pad byte is wanted), else into a block of its own.
bool DataSetDecoder::TakeBody(std::uint32_t length, bool padToEven, BodyBytes& body)
{
    const std::uint32_t pad = padToEven ? (length & 1u) : 0;
    body.inPlace = pad == 0 ? m_stream.GetContiguous(length) : nullptr;
    body.size = length + pad;
    if (body.inPlace != nullptr)
    {
        body.data = body.inPlace;
        body.length = length;
        return true;
    }
    body.owned.reset(new (std::nothrow) std::uint8_t[body.size > 0 ? body.size : 1]);
    if (body.owned == nullptr || m_stream.Read(body.owned.get(), length) != length)
    {
        _error("Cannot read a body of %u bytes", length);
        return false;
    }
    if (pad != 0)
    {
        body.owned[length] = 0;
    }
    body.data = body.owned.get();
    body.length = length;
    return true;
}

void DataSetDecoder::ReleaseBody(BodyBytes& body)
{
    if (body.inPlace != nullptr)
    {
        m_stream.Skip(body.length);
        body.inPlace = nullptr;
    }
}

DataSetDecoder::enStep DataSetDecoder::DecodeValue(DICOMVRSet* set, const Header& header)
{
    if (!CheckLength(*set, header) || !CheckRemaining(header))
    {
        return enStepFailed;
    }
    std::unique_ptr<VR> element(NewElement(header.group, header.element));
    element->SetTypeCode(header.typeCode);
    std::uint8_t* data = static_cast<std::uint8_t*>(element->GetDataSetLength(header.length));
    if (data == nullptr)
    {
        _assert("Data != NULL", "FixDecoder", __LINE__);
        return enStepFailed;
    }
    if (m_stream.Read(data, header.length) != header.length)
    {
        _error("The value of (%4.4x, %4.4x) is cut short", header.group, header.element);
        return enStepFailed;
    }
    if (element->GetLength() > header.length)
    {
        data[header.length] = '\0';
    }
    if (IsBigEndian())
    {
        SwapUnits(data, header.length, VRCode::GetSwapUnit(header.typeCode));
    }
    set->Push(element.release());
    return enStepNext;
}

int DataSetDecoder::DecodeFragments(DICOMVRSet* set)
{
    const ArenaOpening opening(m_arena);
    const SetArenaLoan loan(*set, m_arena);
    while (true)
    {
        if (!HasHeadBytes())
        {
            _error("The data ended inside the fragments of the pixel data");
            return 0;
        }
        Header header = {};
        if (!ReadTag(header) || !Read32(header.length))
        {
            _error("The data ended inside a fragment header");
            return 0;
        }
        if (header.group == ItemGroup && header.element == SequenceDelimiter)
        {
            return 1;
        }
        if (!CheckRemaining(header))
        {
            return 0;
        }
        if (header.group != ItemGroup || header.element != ItemTag)
        {
            m_stream.Skip(header.length);
            continue;
        }
        std::unique_ptr<VR> fragment(NewElement(ItemGroup, ItemTag));
        std::uint8_t* data = static_cast<std::uint8_t*>(fragment->GetDataSetLength(header.length));
        if (data == nullptr || m_stream.Read(data, header.length) != header.length)
        {
            _error("Cannot read a fragment of %u bytes", header.length);
            return 0;
        }
        if (fragment->GetLength() > header.length)
        {
            data[header.length] = '\0';
        }
        auto item = std::make_unique<DICOMDataSet>();
        item->Push(fragment.release());
        if (!AttachItem(set, item.release()))
        {
            return 0;
        }
    }
}
