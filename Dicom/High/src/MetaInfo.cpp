#include "MetaInfo.h"

#include "FixDecoder.h"
#include "FixEncoder.h"
#include "InBuffer.h"
#include "OutBuffer.h"
#include "VR.h"
#include "VRCode.h"
#include "VeltaroLibrary.h"
#include "VeltaroLog.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <vector>

namespace
{

constexpr TransferSyntaxRow TransferSyntaxTable[] = {
    {"1.2.840.10008.1.2", VRCode::OW, enImplicitLittle},
    {"1.2.840.10008.1.2.1", VRCode::OW, enExplicitLittle},
    {"1.2.840.10008.1.2.2", VRCode::OW, enExplicitBig},
    {"1.2.840.10008.1.2.5", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.50", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.51", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.52", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.53", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.54", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.55", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.56", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.57", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.58", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.59", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.60", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.61", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.62", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.63", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.64", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.65", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.66", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.70", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.80", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.81", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.90", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.4.91", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.1.99", VRCode::OB, enExplicitLittle},
    {"1.2.840.10008.1.2.5", VRCode::OB, enExplicitLittle}, // never reached: row 3 wins
    {"1.2.840.10008.1.20", VRCode::OW, enImplicitLittle},
    {"1.2.84658685.219.55.13", VRCode::OB, enExplicitLittle},
    {"1.2.84658685.219.55.14", VRCode::OB, enExplicitLittle},
    {"1.2.84658685.219.55.15", VRCode::OB, enExplicitLittle},
    {"1.2.84658685.219.55.16", VRCode::OB, enExplicitLittle},
    {"1.2.84658685.219.55.99", VRCode::OB, enExplicitLittle},
};

constexpr char Magic[4] = {'D', 'I', 'C', 'M'};
// Bytes 16 to 27 of the preamble the library writes.
constexpr std::uint32_t PreambleTextOffset = 16;
// The meta group is looked at in pieces of at least this size.
constexpr std::uint32_t MetaReadAhead = 1024;
// A meta group without preamble is looked for in this many bytes at most:
// far more than any real group 0002 holds.
constexpr std::uint32_t MetaProbeSize = 0x10000;
// Element headers in explicit VR little endian: short and long form.
constexpr std::uint32_t ShortHeaderSize = 8;
constexpr std::uint32_t LongHeaderSize = 12;

std::uint16_t ReadLittle16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[1] << 8 | bytes[0]);
}

std::uint32_t ReadLittle32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(ReadLittle16(bytes + 2)) << 16 | ReadLittle16(bytes);
}

bool IsLetter(std::uint8_t byte)
{
    return std::isalpha(byte) != 0;
}

// The first bytes of a stream, unconsumed: in place when its first chunk
// holds them, else copied.
class StreamHead
{
public:
    // Looks at up to n bytes, as many as the stream can deliver.
    void Look(InBuffer& stream, std::uint32_t n)
    {
        m_size = stream.Ensure(n);
        m_data = stream.GetContiguous(m_size);
        if (m_data == nullptr)
        {
            m_copy.resize(m_size);
            m_size = stream.Peek(m_copy.data(), m_size);
            m_data = m_copy.data();
        }
    }
    std::size_t GetSize() const { return m_size; }
    const std::uint8_t& operator[](std::size_t index) const { return m_data[index]; }
    const std::uint8_t* GetData() const { return m_data; }

private:
    const std::uint8_t* m_data = nullptr;
    std::uint32_t m_size = 0;
    std::vector<std::uint8_t> m_copy;
};

// The byte count of the run of group 0002 elements heading the stream, in
// explicit VR little endian, measured without consuming anything; false
// when one of them has an undefined length or the run exceeds the probe.
// The run ends at the first element of another group, whatever its number,
// so a data set that starts below group 0002 is not taken for meta data.
bool MeasureMetaGroup(InBuffer& stream, std::uint32_t& size)
{
    StreamHead head;
    size = 0;
    while (true)
    {
        if (head.GetSize() < size + LongHeaderSize && head.GetSize() < MetaProbeSize)
        {
            const std::size_t wanted = std::min<std::size_t>(
                MetaProbeSize, std::max<std::size_t>(head.GetSize() * 2, size + MetaReadAhead));
            head.Look(stream, static_cast<std::uint32_t>(wanted));
        }
        if (head.GetSize() < size + ShortHeaderSize || ReadLittle16(&head[size]) != 0x0002)
        {
            return true;
        }
        const std::uint8_t* element = &head[size];
        const bool longForm = VRCode::IsLongForm(
            VRCode::Make(static_cast<char>(element[4]), static_cast<char>(element[5])));
        if (longForm && head.GetSize() < size + LongHeaderSize)
        {
            return false;
        }
        const std::uint32_t length =
            longForm ? ReadLittle32(element + 8) : ReadLittle16(element + 6);
        const std::uint64_t next = static_cast<std::uint64_t>(size) +
                                   (longForm ? LongHeaderSize : ShortHeaderSize) + length;
        if (length == 0xFFFFFFFF || next > MetaProbeSize)
        {
            return false;
        }
        size = static_cast<std::uint32_t>(next);
    }
}

// Decodes the run of group 0002 elements heading the stream into the set,
// without consuming them; the run's byte count goes to size.
bool PeekMetaGroup(InBuffer& stream, DICOMVRSet& set, std::uint32_t& size)
{
    if (!MeasureMetaGroup(stream, size))
    {
        return false;
    }
    StreamHead bytes;
    bytes.Look(stream, size);
    if (bytes.GetSize() != size)
    {
        return false;
    }
    MemInBuffer group(bytes.GetData(), size);
    return FixDecoder(group).DecodeExplicit(&set) != 0;
}

void SetIfGiven(DICOMVRSet& set, std::uint16_t element, const Lettra& text)
{
    if (!text.IsEmpty())
    {
        set.Add(0x0002, element, text);
    }
}

int StoreText(Lettra& target, const char* text)
{
    if (text == nullptr)
    {
        return 0;
    }
    target = text;
    return 1;
}

} // namespace

MetaInfo::MetaInfo() = default;

int MetaInfo::FindTransferSyntax(const char* uid)
{
    const UID wanted(uid);
    for (int i = 0; i < GetTransferSyntaxCount(); ++i)
    {
        if (wanted == TransferSyntaxTable[i].Uid)
        {
            return i;
        }
    }
    return -1;
}

int MetaInfo::GetTransferSyntaxCount()
{
    return static_cast<int>(std::size(TransferSyntaxTable));
}

const TransferSyntaxRow& MetaInfo::GetTransferSyntaxRow(int index)
{
    return TransferSyntaxTable[index];
}

void MetaInfo::SetSyntaxRecord(const UID& uid)
{
    m_syntax.TransferSyntaxName = uid;
    m_syntax.Index = FindTransferSyntax(uid);
    if (m_syntax.Index < 0)
    {
        m_syntax.EndianType = enEndianUnknown;
        m_syntax.PixelVR = 0;
        return;
    }
    m_syntax.EndianType = TransferSyntaxTable[m_syntax.Index].EndianType;
    m_syntax.PixelVR = TransferSyntaxTable[m_syntax.Index].PixelVR;
}

void MetaInfo::SetTransferSyntax(const UID& uid)
{
    SetSyntaxRecord(uid);
    Delete(0x0002, 0x0010);
    Push(new VR(0x0002, 0x0010, uid));
}

void MetaInfo::GetTransferSyntax(UID& out) const
{
    out = m_syntax.TransferSyntaxName;
}

int MetaInfo::SettleTransferSyntax()
{
    const VR* syntax = GetVR(0x0002, 0x0010);
    if (syntax == nullptr)
    {
        _error("Invalid Meta Header!");
        SetSyntaxRecord(UidTransferLittleEndian);
        return 0;
    }
    SetSyntaxRecord(UID(static_cast<Lettra>(*syntax)));
    return m_syntax.EndianType != enEndianUnknown ? 1 : 0;
}

int MetaInfo::ParseMetaGroup(InBuffer& stream)
{
    std::uint32_t size = 0;
    if (!PeekMetaGroup(stream, *this, size))
    {
        return 0;
    }
    stream.Skip(size);
    return SettleTransferSyntax();
}

// A meta group whose transfer syntax is missing or unknown still leaves a
// syntax to read the data set with; one that cannot be decoded leaves the
// stream nowhere.
int MetaInfo::ReadMetaGroup(InBuffer& stream)
{
    std::uint32_t size = 0;
    if (!PeekMetaGroup(stream, *this, size))
    {
        _error("Enter MetaInfo::LoadMetaInfo, the file meta information cannot be decoded");
        return 0;
    }
    stream.Skip(size);
    SettleTransferSyntax();
    return 1;
}

int MetaInfo::LoadMetaInfo(InBuffer& stream)
{
    Reset();
    std::uint8_t prefix[PrefixSize];
    const std::uint32_t buffered = stream.Ensure(PrefixSize);
    if (buffered == PrefixSize && stream.Peek(prefix, PrefixSize) == PrefixSize &&
        std::memcmp(prefix + PreambleSize, Magic, sizeof Magic) == 0)
    {
        stream.Read(m_preamble, PreambleSize);
        stream.Skip(sizeof Magic);
        return ReadMetaGroup(stream);
    }
    std::memset(m_preamble, 0, PreambleSize);
    return DetectWithoutPreamble(stream);
}

// A stream that starts with group 0002 holds a meta group without preamble
// when those elements decode and name a transfer syntax; nothing is
// consumed when they do not.
bool MetaInfo::IsMetaGroupWithoutPreamble(InBuffer& stream)
{
    DICOMDataSet probe;
    std::uint32_t size = 0;
    return PeekMetaGroup(stream, probe, size) && probe.GetVR(0x0002, 0x0010) != nullptr;
}

// Without "DICM" the stream holds a meta group without preamble, or a raw
// data set: explicit VR when bytes 4 and 5 are letters, big endian when
// the group then reads as a small number only in big-endian order,
// implicit VR little endian otherwise. Anything whose first group is 0 or
// the item group starts no data set.
int MetaInfo::DetectWithoutPreamble(InBuffer& stream)
{
    std::uint8_t start[ShortHeaderSize];
    if (stream.Peek(start, ShortHeaderSize) != ShortHeaderSize)
    {
        _error("Enter MetaInfo::LoadMetaInfo, %u bytes hold no data set", stream.GetAvailable());
        return 0;
    }
    const std::uint16_t group = ReadLittle16(start);
    if (group == 0x0002 && IsMetaGroupWithoutPreamble(stream))
    {
        return ReadMetaGroup(stream);
    }
    if (group == 0x0000 || group >= 0xFFFE)
    {
        _error("Enter MetaInfo::LoadMetaInfo, no data set starts with group %4.4x", group);
        return 0;
    }
    const bool explicitVR = IsLetter(start[4]) && IsLetter(start[5]);
    if (explicitVR && start[0] == 0 && start[1] != 0)
    {
        SetTransferSyntax(UidTransferBigEndianExplicit);
    }
    else
    {
        SetTransferSyntax(explicitVR ? UidTransferLittleEndianExplicit : UidTransferLittleEndian);
    }
    return 1;
}

int MetaInfo::BuildMetaGroup(const UID& sopClass, const UID& sopInstance)
{
    Reset();
    Push(new VR(0x0002, 0x0002, sopClass));
    Push(new VR(0x0002, 0x0003, sopInstance));
    Push(new VR(0x0002, 0x0010, m_syntax.TransferSyntaxName));
    GetDefaultMetaElements().CopyTo(*this);
    SetIfGiven(*this, 0x0016, m_sourceApplicationAE);
    SetIfGiven(*this, 0x0012, m_implementationClassUID);
    SetIfGiven(*this, 0x0013, m_implementationVersionName);
    std::memset(m_preamble, 0, PreambleSize);
    std::memcpy(m_preamble + PreambleTextOffset, VeltaroImplementationVersionName,
                std::strlen(VeltaroImplementationVersionName));
    return 1;
}

int MetaInfo::WriteHeader(OutBuffer& out)
{
    out.Write(m_preamble, PreambleSize);
    out.Write(Magic, sizeof Magic);
    FixEncoder encoder(out);
    encoder.SetPixelVR(VRCode::OW);
    return encoder.EncodeExplicit(this);
}

std::uint32_t MetaInfo::GetHeaderSize()
{
    MemOutBuffer sizing;
    return FixEncoder(sizing).ExplicitSize(this) + PrefixSize;
}

int MetaInfo::SetSourceApplicationAE(const char* text)
{
    return StoreText(m_sourceApplicationAE, text);
}

int MetaInfo::SetImplementationClassUID(const char* text)
{
    return StoreText(m_implementationClassUID, text);
}

int MetaInfo::SetImplementationVersionName(const char* text)
{
    return StoreText(m_implementationVersionName, text);
}
