#include "VR.h"

#include "DICOMDataSet.h"
#include "DataDictionary.h"
#include "DataSetArena.h"
#include "UID.h"
#include "VRCode.h"
#include "VeltaroLog.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace
{

constexpr unsigned short CommandField = 0x0100;

struct CommandName
{
    std::uint16_t value;
    const char* name;
};

constexpr CommandName CommandNames[] = {
    {0x0001, "C-Store-RQ"},   {0x8001, "C-Store-RSP"},       {0x0010, "C-Get-RQ"},
    {0x8010, "C-Get-RSP"},    {0x0020, "C-Find-RQ"},         {0x8020, "C-Find-RSP"},
    {0x0021, "C-Move-RQ"},    {0x8021, "C-Move-RSP"},        {0x0030, "C-Echo-RQ"},
    {0x8030, "C-Echo-RSP"},   {0x0100, "N-Event-Report-RQ"}, {0x8100, "N-Event-Report-RSP"},
    {0x0110, "N-Get-RQ"},     {0x8110, "N-Get-RSP"},         {0x0120, "N-Set-RQ"},
    {0x8120, "N-Set-RSP"},    {0x0130, "N-Action-RQ"},       {0x8130, "N-Action-RSP"},
    {0x0140, "N-Create-RQ"},  {0x8140, "N-Create-RSP"},      {0x0150, "N-Delete-RQ"},
    {0x8150, "N-Delete-RSP"}, {0x0FFF, "C-Cancel-RQ"},       {0x8FFF, "C-Cancel-RSP"},
};

// How a value is turned into display text: the set dump's line shows
// numbers with their hexadecimal form and names the UIDs it knows.
enum enTextStyle
{
    enPlainText,
    enLineText
};

template <typename T> T ReadAt(const std::uint8_t* data, unsigned int index)
{
    T value;
    std::memcpy(&value, data + index * sizeof(T), sizeof(T));
    return value;
}

// The value bytes as text, up to limit bytes and the first NUL.
Lettra TextOf(const std::uint8_t* data, unsigned int length, unsigned int limit)
{
    const unsigned int count = std::min(length, limit);
    const void* end = std::memchr(data, '\0', count);
    const int size = end != nullptr ? static_cast<int>(static_cast<const std::uint8_t*>(end) - data)
                                    : static_cast<int>(count);
    return Lettra(reinterpret_cast<const char*>(data), size);
}

template <typename T>
void AppendNumbers(Lettra& text, const std::uint8_t* data, unsigned int length,
                   unsigned int maxCount, const char* format)
{
    const unsigned int count = std::min<unsigned int>(length / sizeof(T), maxCount);
    for (unsigned int i = 0; i < count; ++i)
    {
        text.AppendFormat(format, ReadAt<T>(data, i));
    }
}

// Integers in format, or in lineFormat with their hexadecimal form (of their
// bits) as the dump line shows them.
template <typename T, typename Bits>
void AppendIntegers(Lettra& text, const std::uint8_t* data, unsigned int length, enTextStyle style,
                    const char* format, const char* lineFormat)
{
    if (style != enLineText)
    {
        AppendNumbers<T>(text, data, length, 11, format);
        return;
    }
    const unsigned int count = std::min<unsigned int>(length / sizeof(T), 11);
    for (unsigned int i = 0; i < count; ++i)
    {
        const T value = ReadAt<T>(data, i);
        text.AppendFormat(lineFormat, value, static_cast<Bits>(value));
    }
}

bool IsPrintableOrNul(std::uint8_t byte)
{
    return byte == 0 || (byte >= 32 && byte <= 125);
}

Lettra UnknownText(const std::uint8_t* data, unsigned int length, enTextStyle style)
{
    Lettra text;
    if (length == 2)
    {
        const std::uint16_t value = ReadAt<std::uint16_t>(data, 0);
        text.Format(" (%d|%x)", value, value);
        return text;
    }
    if (length == 4)
    {
        const std::uint32_t value = ReadAt<std::uint32_t>(data, 0);
        text.Format("[%d|%x]", value, value);
        return text;
    }
    const unsigned int head = std::min(length, 16u);
    if (std::all_of(data, data + head, IsPrintableOrNul))
    {
        return TextOf(data, length, 64);
    }
    for (unsigned int i = 0; i < head; ++i)
    {
        if (style == enLineText)
        {
            text.AppendFormat("%2.2x (%c)", data[i], data[i]);
        }
        else
        {
            text.AppendFormat("%2.2x ", data[i]);
        }
    }
    return text;
}

Lettra UidText(const std::uint8_t* data, unsigned int length, enTextStyle style)
{
    Lettra text = TextOf(data, length, length).Trim();
    if (style == enLineText)
    {
        char name[256];
        if (UID(static_cast<const char*>(text)).Lookup(name, sizeof(name)) != 0)
        {
            text.AppendFormat(" (%s)", name);
        }
    }
    return text;
}

Lettra ValueText(std::uint16_t code, const std::uint8_t* data, unsigned int length,
                 enTextStyle style)
{
    Lettra text;
    switch (code)
    {
    case VRCode::AE:
    case VRCode::AS:
    case VRCode::CS:
    case VRCode::DA:
    case VRCode::DS:
    case VRCode::DT:
    case VRCode::IS:
    case VRCode::LO:
    case VRCode::PN:
    case VRCode::SH:
    case VRCode::ST:
    case VRCode::TM:
        return TextOf(data, length, 256);
    case VRCode::LT:
    case VRCode::UT:
    case VRCode::UC:
    case VRCode::UR:
        return TextOf(data, length, 512);
    case VRCode::UI:
        return UidText(data, length, style);
    case VRCode::AT:
        for (unsigned int i = 0; i + 4 <= length; i += 4)
        {
            text.AppendFormat(" (%4.4x, %4.4x) ", ReadAt<std::uint16_t>(data + i, 0),
                              ReadAt<std::uint16_t>(data + i, 1));
        }
        return text;
    case VRCode::US:
        AppendIntegers<std::uint16_t, std::uint16_t>(text, data, length, style, "%4d",
                                                     "%4d (0x%04x)");
        return text;
    case VRCode::SS:
        AppendIntegers<std::int16_t, std::uint16_t>(text, data, length, style, "%4d",
                                                    "%4d (0x%04x)");
        return text;
    case VRCode::UL:
    case VRCode::OL:
        AppendIntegers<std::uint32_t, std::uint32_t>(text, data, length, style, "%4lu",
                                                     "%4lu (0x%04x)");
        return text;
    case VRCode::SL:
        AppendIntegers<std::int32_t, std::uint32_t>(text, data, length, style, "%4ld",
                                                    "%4ld (0x%04x)");
        return text;
    case VRCode::SV:
        AppendNumbers<std::int64_t>(text, data, length, 6, "%4lld");
        return text;
    case VRCode::UV:
    case VRCode::OV:
        AppendNumbers<std::uint64_t>(text, data, length, 6, "%4llu");
        return text;
    case VRCode::FL:
        AppendNumbers<float>(text, data, length, 11, "%f  ");
        return text;
    case VRCode::FD:
    case VRCode::OD:
        AppendNumbers<double>(text, data, length, 6, "%f  ");
        return text;
    case VRCode::NO:
        if (style == enLineText)
        {
            return text;
        }
        [[fallthrough]];
    case VRCode::OB:
        AppendNumbers<std::uint8_t>(text, data, length, 11, "%2.2x ");
        return text;
    case VRCode::OW:
        AppendNumbers<std::uint16_t>(text, data, length, 11, "%4.4x ");
        return text;
    case VRCode::SQ:
        return Lettra("Sequence Item");
    case VRCode::UN:
    case VRCode::Unknown:
        return UnknownText(data, length, style);
    default:
        return text;
    }
}

const char* CommandNameOf(std::uint16_t value)
{
    for (const CommandName& entry : CommandNames)
    {
        if (entry.value == value)
        {
            return entry.name;
        }
    }
    return nullptr;
}

} // namespace

VR::VR() = default;

VR::VR(unsigned short group, unsigned short element) : m_group(group), m_element(element) {}

VR::VR(unsigned int tag)
    : m_group(static_cast<std::uint16_t>(tag >> 16)), m_element(static_cast<std::uint16_t>(tag))
{
}

VR::VR(unsigned short group, unsigned short element, unsigned short value)
{
    Init(group, element, VRCode::US);
    SetBinary(&value, sizeof(value));
}

VR::VR(unsigned short group, unsigned short element, short value)
{
    Init(group, element, VRCode::SS);
    SetBinary(&value, sizeof(value));
}

VR::VR(unsigned short group, unsigned short element, unsigned int value)
{
    Init(group, element, VRCode::UL);
    SetBinary(&value, sizeof(value));
}

VR::VR(unsigned short group, unsigned short element, int value)
{
    Init(group, element, VRCode::SL);
    SetBinary(&value, sizeof(value));
}

VR::VR(unsigned short group, unsigned short element, float value)
{
    Init(group, element, VRCode::FL);
    SetBinary(&value, sizeof(value));
}

VR::VR(unsigned short group, unsigned short element, double value)
{
    Init(group, element, VRCode::FD);
    SetBinary(&value, sizeof(value));
}

VR::VR(unsigned short group, unsigned short element, const char* text)
{
    Init(group, element, VRCode::Unknown);
    *this = text;
}

VR::VR(unsigned short group, unsigned short element, const Lettra& text)
{
    Init(group, element, VRCode::Unknown);
    *this = text;
}

VR::VR(unsigned short group, unsigned short element, const UID& uid)
{
    Init(group, element, VRCode::UI);
    const char* text = uid;
    unsigned int length = uid.GetLength();
    while (length > 0 && text[length - 1] == ' ')
    {
        --length;
    }
    std::uint8_t* data = static_cast<std::uint8_t*>(GetDataSetLength(length));
    std::memcpy(data, text, length);
    if (m_length > length)
    {
        data[length] = '\0';
    }
}

VR::VR(unsigned short group, unsigned short element, const unsigned short* values, int count)
{
    Init(group, element, VRCode::US);
    SetBinary(values, count > 0 && values != nullptr ? 2u * count : 0);
}

VR::VR(unsigned short group, unsigned short element, const short* values, int count)
{
    Init(group, element, VRCode::SS);
    SetBinary(values, count > 0 && values != nullptr ? 2u * count : 0);
}

VR::VR(unsigned short group, unsigned short element, const unsigned int* values, int count)
{
    Init(group, element, VRCode::UL);
    SetBinary(values, count > 0 && values != nullptr ? 4u * count : 0);
}

VR::VR(unsigned short group, unsigned short element, const int* values, int count)
{
    Init(group, element, VRCode::SL);
    SetBinary(values, count > 0 && values != nullptr ? 4u * count : 0);
}

VR::VR(const VR& other) : m_group(other.m_group), m_element(other.m_element)
{
    CopyFrom(other);
}

VR::~VR()
{
    delete[] m_heap;
    if (m_items != nullptr)
    {
        DeleteSQArray();
    }
}

void* VR::operator new(std::size_t size)
{
    return DataSetArena::Allocate(size, nullptr);
}

void* VR::operator new(std::size_t size, DataSetArena* arena)
{
    return DataSetArena::Allocate(size, arena);
}

void VR::operator delete(void* block)
{
    DataSetArena::Free(block);
}

void VR::operator delete(void* block, DataSetArena*)
{
    DataSetArena::Free(block);
}

void VR::Init(unsigned short group, unsigned short element, std::uint16_t typeCode)
{
    m_group = group;
    m_element = element;
    m_typeCode = typeCode;
}

void VR::SetTag(unsigned short group, unsigned short element)
{
    m_group = group;
    m_element = element;
}

void VR::FreeValue()
{
    delete[] m_heap;
    m_heap = nullptr;
    m_capacity = 0;
    m_length = 0;
}

void VR::SetBinary(const void* data, unsigned int length)
{
    FreeValue();
    void* target = GetDataSetLength(length);
    if (target != nullptr && length > 0)
    {
        std::memcpy(target, data, length);
        if (m_length > length)
        {
            static_cast<std::uint8_t*>(target)[length] = '\0';
        }
    }
}

// Texts take one spare byte on the heap so that the pad blank fits.
void VR::SetText(const char* text, unsigned int length)
{
    FreeValue();
    const unsigned int padded = length + (length & 1u);
    std::uint8_t* target = m_inline;
    if (padded > InlineSize)
    {
        target = new (std::nothrow) std::uint8_t[length + 1];
        if (target == nullptr)
        {
            return;
        }
        m_heap = target;
        m_capacity = length + 1;
    }
    std::memcpy(target, text, length);
    if (padded > length)
    {
        target[length] = ' ';
    }
    m_length = padded;
}

void VR::CopyFrom(const VR& other)
{
    Reset();
    m_typeCode = other.m_typeCode;
    SetBinary(other.GetData(), other.m_length);
    if ((other.m_length & 1u) != 0)
    {
        _assert("(vr.Length & 0x01) == 0", __FILE__, __LINE__);
        _warning("VR::VR (VR & vr), (%4.4x, %4.4x, %4d)", other.m_group, other.m_element,
                 other.m_length);
    }
    if (other.m_items != nullptr)
    {
        AddSQArray();
        for (auto* node = other.m_items->GetHead(); node != nullptr; node = node->next)
        {
            m_items->AddTail(new DICOMDataSet(*node->item));
        }
    }
}

void* VR::GetDataSetLength(unsigned int n)
{
    if (n > 0xFFFFFFFEu)
    {
        return nullptr;
    }
    n += n & 1u;
    if (m_length >= n && n < InlineSize)
    {
        m_length = n;
        return GetData();
    }
    if (m_heap == nullptr)
    {
        if (n > InlineSize)
        {
            std::uint8_t* buffer = new (std::nothrow) std::uint8_t[n];
            if (buffer == nullptr)
            {
                return nullptr;
            }
            std::memcpy(buffer, m_inline, InlineSize);
            m_heap = buffer;
            m_capacity = n;
        }
    }
    else if (m_capacity < n)
    {
        std::uint8_t* buffer = new (std::nothrow) std::uint8_t[n];
        if (buffer == nullptr)
        {
            return nullptr;
        }
        std::memcpy(buffer, m_heap, std::min(m_length, n));
        delete[] m_heap;
        m_heap = buffer;
        m_capacity = n;
    }
    m_length = n;
    return GetData();
}

void VR::Attach(void* buffer, unsigned int length)
{
    FreeValue();
    if (buffer != nullptr)
    {
        m_heap = static_cast<std::uint8_t*>(buffer);
        m_capacity = length;
        m_length = length;
    }
}

void* VR::Detach()
{
    void* value = m_heap;
    if (value == nullptr && m_length > 0)
    {
        value = new (std::nothrow) std::uint8_t[m_length];
        if (value != nullptr)
        {
            std::memcpy(value, m_inline, m_length);
        }
    }
    m_heap = nullptr;
    m_capacity = 0;
    m_length = 0;
    return value;
}

ArrayOfPtr<DICOMVRSet*>* VR::AddSQArray()
{
    if (m_items == nullptr)
    {
        m_items = new ArrayOfPtr<DICOMVRSet*>;
    }
    return m_items;
}

ArrayOfPtr<DICOMVRSet*>* VR::DetachSQArray()
{
    ArrayOfPtr<DICOMVRSet*>* items = m_items;
    m_items = nullptr;
    return items;
}

void VR::DeleteSQArray()
{
    if (m_items != nullptr)
    {
        m_items->DeleteAll();
        delete m_items;
        m_items = nullptr;
    }
}

void VR::Reset()
{
    FreeValue();
    DeleteSQArray();
    m_owner = nullptr;
}

int VR::SetIf(VR* other)
{
    Reset();
    m_heap = other->m_heap;
    m_capacity = other->m_capacity;
    m_length = other->m_length == UndefinedLength ? 0 : other->m_length;
    if (m_heap == nullptr)
    {
        std::memcpy(m_inline, other->m_inline, InlineSize);
    }
    m_items = other->m_items;
    m_typeCode = other->m_typeCode;
    m_owner = other->m_owner;
    other->m_heap = nullptr;
    other->m_capacity = 0;
    other->m_length = 0;
    other->m_items = nullptr;
    other->m_owner = nullptr;
    return 1;
}

VR& VR::operator=(short value)
{
    SetBinary(&value, sizeof(value));
    return *this;
}

VR& VR::operator=(unsigned short value)
{
    SetBinary(&value, sizeof(value));
    return *this;
}

VR& VR::operator=(int value)
{
    SetBinary(&value, sizeof(value));
    return *this;
}

VR& VR::operator=(unsigned int value)
{
    SetBinary(&value, sizeof(value));
    return *this;
}

VR& VR::operator=(float value)
{
    SetBinary(&value, sizeof(value));
    return *this;
}

VR& VR::operator=(double value)
{
    SetBinary(&value, sizeof(value));
    return *this;
}

VR& VR::operator=(const char* text)
{
    SetText(text != nullptr ? text : "", text != nullptr ? std::strlen(text) : 0);
    return *this;
}

VR& VR::operator=(const Lettra& text)
{
    SetText(text, static_cast<unsigned int>(text.GetLength()));
    return *this;
}

VR& VR::operator=(DICOMVRSet& items)
{
    DICOMDataSet* item = new DICOMDataSet;
    items.TransferTo(*item);
    AddSQArray()->AddTail(item);
    return *this;
}

VR& VR::operator=(const VR& other)
{
    if (this != &other)
    {
        DICOMVRSet* owner = m_owner;
        const std::uint16_t typeCode = m_typeCode;
        CopyFrom(other);
        m_owner = owner;
        m_typeCode = typeCode;
    }
    return *this;
}

template <typename T> T VR::ReadFirst() const
{
    T value;
    std::memcpy(&value, GetData(), sizeof(T));
    return value;
}

VR::operator short() const
{
    return m_length >= 2 ? ReadFirst<std::int16_t>() : 0;
}

VR::operator unsigned short() const
{
    return m_length >= 2 ? ReadFirst<std::uint16_t>() : 0;
}

VR::operator int() const
{
    if (m_length > 2)
    {
        return ReadFirst<std::int32_t>();
    }
    return m_length == 2 ? ReadFirst<std::int16_t>() : 0;
}

VR::operator unsigned int() const
{
    if (m_length > 2)
    {
        return ReadFirst<std::uint32_t>();
    }
    return m_length == 2 ? ReadFirst<std::uint16_t>() : 0;
}

VR::operator float() const
{
    return m_length >= 4 ? ReadFirst<float>() : 0.0f;
}

VR::operator double() const
{
    return m_length >= 8 ? ReadFirst<double>() : 0.0;
}

VR::operator Lettra() const
{
    Lettra text;
    Extract(text);
    return text;
}

int VR::Extract(Lettra& out) const
{
    const char* data = static_cast<const char*>(GetData());
    unsigned int length = m_length;
    if (length > 0 && (data[length - 1] == ' ' || data[length - 1] == '\0'))
    {
        --length;
    }
    out = Lettra(data, static_cast<int>(length));
    return 1;
}

// Shorter than the buffer: all of it, a final blank turned into the NUL
// (and not counted). Otherwise the first size - 1 bytes.
unsigned int VR::Extract(char* buffer, unsigned int size) const
{
    if (buffer == nullptr || size == 0)
    {
        return 0;
    }
    const char* data = static_cast<const char*>(GetData());
    if (m_length < size)
    {
        std::memcpy(buffer, data, m_length);
        buffer[m_length] = '\0';
        if (m_length > 0 && buffer[m_length - 1] == ' ')
        {
            buffer[m_length - 1] = '\0';
            return m_length - 1;
        }
        return m_length;
    }
    std::memcpy(buffer, data, size - 1);
    buffer[size - 1] = '\0';
    return size - 1;
}

Lettra VR::ToStringOfData() const
{
    return ValueText(m_typeCode, static_cast<const std::uint8_t*>(GetData()), m_length,
                     enPlainText);
}

Lettra VR::ToString() const
{
    Lettra line;
    line.Format("(%4.4x, %4.4x), %4d, ", m_group, m_element, m_length);
    char keyword[128];
    std::uint16_t code = m_typeCode;
    const std::uint16_t known =
        DataDictionary::GetLibraryDictionary().Lookup(m_group, m_element, keyword, sizeof(keyword));
    Lettra description(keyword);
    if (code == VRCode::Unknown)
    {
        code = known;
        if (known == VRCode::Unknown)
        {
            description = "?";
        }
    }
    if (code != VRCode::Unknown)
    {
        line.AppendFormat("%c%c, ", VRCode::FirstLetter(code), VRCode::SecondLetter(code));
    }
    line.AppendFormat("%-30s, ", static_cast<const char*>(description));
    line +=
        ValueText(m_typeCode, static_cast<const std::uint8_t*>(GetData()), m_length, enLineText);
    if (m_group == 0 && m_element == CommandField)
    {
        const char* name = CommandNameOf(static_cast<unsigned short>(*this));
        if (name != nullptr)
        {
            line.AppendFormat(" (%s)", name);
        }
        else
        {
            line += "???";
        }
    }
    return line;
}

bool operator==(const VR& a, const VR& b)
{
    if (a.GetGroup() != b.GetGroup() || a.GetElement() != b.GetElement() ||
        a.GetLength() != b.GetLength() ||
        std::memcmp(a.GetData(), b.GetData(), a.GetLength()) != 0 ||
        a.GetItemCount() != b.GetItemCount())
    {
        return false;
    }
    if (a.GetItemCount() == 0)
    {
        return true;
    }
    auto* left = a.GetSQArray()->GetHead();
    for (auto* right = b.GetSQArray()->GetHead(); right != nullptr;
         right = right->next, left = left->next)
    {
        if (*left->item != *right->item)
        {
            return false;
        }
    }
    return true;
}

bool operator!=(const VR& a, const VR& b)
{
    return !(a == b);
}

bool operator==(const VR& a, unsigned int tag)
{
    return a.GetTag() == tag;
}
