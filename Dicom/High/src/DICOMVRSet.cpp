#include "DICOMVRSet.h"

#include "DICOMDataSet.h"
#include "DataDictionary.h"
#include "DataSetArena.h"
#include "DataSetForms.h"
#include "UID.h"
#include "VRCode.h"
#include "VRGroup.h"
#include "VeltaroLog.h"

namespace
{

constexpr std::uint16_t PixelGroup = 0x7FE0;
constexpr std::uint16_t PixelElement = 0x0010;
constexpr std::uint16_t ItemGroup = 0xFFFE;
constexpr std::uint16_t ItemElement = 0xE000;
// The group length element's own bytes: tag, "UL", a 2-byte length, 4 bytes.
constexpr std::uint32_t GroupLengthSize = 12;

std::uint16_t DictionaryTypeCode(std::uint16_t group, std::uint16_t element)
{
    return DataDictionary::GetLibraryDictionary().Lookup(group, element);
}

bool IsPixelData(const VR& element)
{
    return element.GetGroup() == PixelGroup && element.GetElement() == PixelElement;
}

// The value of a fragment item: its (FFFE,E000) element.
const VR* FragmentOf(const DICOMVRSet& item)
{
    return item.GetVR(ItemGroup, ItemElement);
}

void PadToEven(VR* element)
{
    const unsigned int length = element->GetLength();
    std::uint8_t* data = static_cast<std::uint8_t*>(element->GetDataSetLength(length + 1));
    if (data != nullptr)
    {
        data[length] = '\0';
    }
}

// UI values are padded with NUL, never with a blank.
void NulPadUid(VR* element)
{
    const unsigned int length = element->GetLength();
    char* data = static_cast<char*>(element->GetData());
    if (element->GetTypeCode() == VRCode::UI && length > 0 && data[length - 1] == ' ')
    {
        data[length - 1] = '\0';
    }
}

// The elements, nodes and the group go, their arena references counted
// together.
void DestroyGroup(VRGroup* group, DataSetArena::Releases& releases)
{
    for (VRNode* node = group->First; node != nullptr;)
    {
        VRNode* next = node->Next;
        node->Element->~VR();
        releases.Free(node->Element);
        releases.Free(node);
        node = next;
    }
    group->~VRGroup();
    releases.Free(group);
}

void DestroyGroup(VRGroup* group)
{
    DataSetArena::Releases releases;
    DestroyGroup(group, releases);
}

} // namespace

std::uint32_t GetItemSize(const VR& element, const DICOMVRSet& item)
{
    if (IsPixelData(element))
    {
        const VR* fragment = FragmentOf(item);
        return fragment != nullptr ? 8 + fragment->GetLength() : 0;
    }
    return 16 + static_cast<std::uint32_t>(item.GetLength());
}

std::uint32_t GetElementSize(const VR& element)
{
    const std::uint16_t code = element.GetTypeCode();
    if (element.GetSQArray() == nullptr)
    {
        const bool longForm = VRCode::IsLongForm(code) || code == VRCode::Unknown;
        return 8 + (longForm ? 4 : 0) + element.GetLength();
    }
    std::uint32_t size = 12 + SequenceDelimiterSize;
    for (auto* node = element.GetSQArray()->GetHead(); node != nullptr; node = node->next)
    {
        size += GetItemSize(element, *node->item);
    }
    return size;
}

VR DICOMVRSet::ReservedVR;

DICOMVRSet::DICOMVRSet() = default;

DICOMVRSet::DICOMVRSet(const DICOMVRSet& other)
{
    other.CopyTo(*this);
}

DICOMVRSet::~DICOMVRSet()
{
    DICOMVRSet::Reset();
}

void DICOMVRSet::Reset()
{
    DataSetArena::Releases releases;
    while (m_first != nullptr)
    {
        VRGroup* group = m_first;
        m_first = group->Next;
        DestroyGroup(group, releases);
    }
    if (m_emptying != nullptr)
    {
        DestroyGroup(m_emptying, releases);
    }
    m_last = nullptr;
    m_groupCount = 0;
    m_emptying = nullptr;
    m_cache = nullptr;
    m_lastVR = nullptr;
    m_length = 0;
}

// The other forms of a set are built by DataSetForms; these are its entry
// points on the set, so that subclasses can replace them.
int DICOMVRSet::Serialize(unsigned char* buffer, int size)
{
    return DataSetForms::Serialize(*this, buffer, size);
}

int DICOMVRSet::Deserialize(const unsigned char* data, int size)
{
    return DataSetForms::Deserialize(*this, data, size);
}

Lettra DICOMVRSet::XmlSerialize()
{
    return DataSetForms::XmlSerialize(*this);
}

int DICOMVRSet::XmlDeserialize(const Lettra& text)
{
    return DataSetForms::XmlDeserialize(*this, text);
}

int DICOMVRSet::XmlDeserialize(const char* text)
{
    return DataSetForms::XmlDeserialize(*this, text);
}

Lettra DICOMVRSet::ToString(int minLength)
{
    return minLength == 0 ? ToString() : ToStringOfTabStop(0, minLength);
}

Lettra DICOMVRSet::ToString()
{
    return ToStringOfTabStop(0, 0);
}

int DICOMVRSet::VRSetArrayToXML(const Array<const DICOMVRSet*>* sets, Lettra* out)
{
    return DataSetForms::VRSetArrayToXML(sets, out);
}

int DICOMVRSet::ADDSToXML(const Array<const DICOMDataSet*>* sets, Lettra* out)
{
    return DataSetForms::ADDSToXML(sets, out);
}

int DICOMVRSet::ADDSToXML(const Array<DICOMDataSet*>* sets, Lettra* out)
{
    return DataSetForms::ADDSToXML(sets, out);
}

int DICOMVRSet::XMLToVRSetArray(const Lettra* xml, Array<DICOMVRSet*>* sets)
{
    return DataSetForms::XMLToVRSetArray(xml, sets);
}

int DICOMVRSet::XMLToADDS(const Lettra* xml, Array<DICOMDataSet*>* sets)
{
    return DataSetForms::XMLToADDS(xml, sets);
}

int DICOMVRSet::XmlSerialize(DMarkup* markup) const
{
    return DataSetForms::XmlSerialize(*this, markup);
}

int DICOMVRSet::XmlDeserialize(DMarkup* markup)
{
    return DataSetForms::XmlDeserialize(*this, markup);
}

Lettra DICOMVRSet::ToStringOfTabStop(int depth, int minLength) const
{
    return DataSetForms::ToStringOfTabStop(*this, depth, minLength);
}

DICOMVRSet& DICOMVRSet::operator=(DICOMVRSet& other)
{
    other.TransferTo(*this);
    return *this;
}

DICOMVRSet& DICOMVRSet::TransferTo(DICOMVRSet& target)
{
    if (&target == this)
    {
        return target;
    }
    target.Reset();
    if (m_emptying != nullptr)
    {
        DestroyGroup(m_emptying);
        m_emptying = nullptr;
    }
    for (VRGroup* group = m_first; group != nullptr; group = group->Next)
    {
        for (VRNode* node = group->First; node != nullptr; node = node->Next)
        {
            node->Element->SetOwner(&target);
        }
    }
    target.m_first = m_first;
    target.m_last = m_last;
    target.m_groupCount = m_groupCount;
    target.m_length = m_length;
    m_first = m_last = nullptr;
    m_groupCount = 0;
    m_length = 0;
    m_cache = nullptr;
    m_lastVR = nullptr;
    return target;
}

int DICOMVRSet::CopyTo(DICOMVRSet& target) const
{
    return CopyTo(target, 0, 0xFFFFFFFF);
}

int DICOMVRSet::CopyTo(DICOMVRSet& target, unsigned int first, unsigned int last) const
{
    if (&target == this)
    {
        return 0;
    }
    for (Iterator it(*this); it; ++it)
    {
        const unsigned int tag = it.Current()->GetTag();
        if (tag > last)
        {
            break;
        }
        if (tag >= first)
        {
            target.Push(new VR(*it.Current()));
        }
    }
    return 1;
}

// Takes elements from the head of the other set, so that no walk of it is
// left standing on a group that has just been removed.
DICOMVRSet& DICOMVRSet::AppendFrom(DICOMVRSet& other)
{
    if (&other == this)
    {
        return *this;
    }
    for (VR* element = other.GetFirstVR(); element != nullptr; element = other.GetFirstVR())
    {
        Push(other.TakeOut(element->GetGroup(), element->GetElement()));
    }
    return *this;
}

int DICOMVRSet::GetVRCount() const
{
    int count = 0;
    for (const VRGroup* group = m_first; group != nullptr; group = group->Next)
    {
        count += group->Count + 1;
    }
    return count;
}

int DICOMVRSet::Package()
{
    const std::uint32_t before = m_length;
    m_length = 0;
    for (VRGroup* group = m_first; group != nullptr; group = group->Next)
    {
        Package(group->Number);
        m_length += GroupLengthSize + group->GetLength();
    }
    return m_length == before ? 1 : 0;
}

int DICOMVRSet::Package(unsigned short number)
{
    VRGroup* group = FindGroup(number);
    if (group == nullptr)
    {
        return 0;
    }
    std::uint32_t length = 0;
    for (VRNode* node = group->First; node != nullptr; node = node->Next)
    {
        VR* element = node->Element;
        NulPadUid(element);
        if (element->GetItemCount() > 0)
        {
            for (auto* item = element->GetSQArray()->GetHead(); item != nullptr; item = item->next)
            {
                item->item->Package();
            }
        }
        length += GetElementSize(*element);
    }
    group->SetLength(length);
    return 1;
}

VRGroup* DICOMVRSet::FindGroup(unsigned short number) const
{
    if (m_cache != nullptr && m_cache->Number == number)
    {
        return m_cache;
    }
    for (VRGroup* group = m_first; group != nullptr && group->Number <= number; group = group->Next)
    {
        if (group->Number == number)
        {
            m_cache = group;
            return group;
        }
    }
    return nullptr;
}

VR* DICOMVRSet::GetVR(unsigned short group, unsigned short element) const
{
    const VRGroup* bucket = FindGroup(group);
    if (bucket == nullptr || element == 0)
    {
        return nullptr;
    }
    for (const VRNode* node = bucket->First; node != nullptr; node = node->Next)
    {
        const unsigned short number = node->Element->GetElement();
        if (number == element)
        {
            return node->Element;
        }
        if (number > element)
        {
            break;
        }
    }
    return nullptr;
}

int DICOMVRSet::IsExist(unsigned short group, unsigned short element) const
{
    if (element == 0)
    {
        return FindGroup(group) != nullptr ? 1 : 0;
    }
    return GetVR(group, element) != nullptr ? 1 : 0;
}

int DICOMVRSet::IsExist(unsigned int tag) const
{
    return IsExist(static_cast<unsigned short>(tag >> 16), static_cast<unsigned short>(tag));
}

VR* DICOMVRSet::GetFirstVR() const
{
    return m_first != nullptr ? m_first->First->Element : nullptr;
}

VR* DICOMVRSet::GetLastVR() const
{
    return m_last != nullptr ? m_last->Last->Element : nullptr;
}

DICOMVRSet* DICOMVRSet::GetSequence(unsigned short group, unsigned short element, int index) const
{
    const VR* holder = GetVR(group, element);
    if (holder == nullptr || holder->GetSQArray() == nullptr)
    {
        return nullptr;
    }
    return holder->GetSQArray()->GetAt(index);
}

unsigned short DICOMVRSet::GetUINT16(unsigned short group, unsigned short element) const
{
    const VR* found = GetVR(group, element);
    return found != nullptr ? static_cast<unsigned short>(*found) : 0;
}

unsigned int DICOMVRSet::GetUINT32(unsigned short group, unsigned short element) const
{
    const VR* found = GetVR(group, element);
    return found != nullptr ? static_cast<unsigned int>(*found) : 0;
}

Lettra DICOMVRSet::GetLettra(unsigned short group, unsigned short element) const
{
    Lettra text;
    const VR* found = GetVR(group, element);
    if (found != nullptr)
    {
        found->Extract(text);
    }
    return text;
}

float DICOMVRSet::GetFloat(unsigned short group, unsigned short element) const
{
    const VR* found = GetVR(group, element);
    return found != nullptr ? static_cast<float>(*found) : 0.0f;
}

double DICOMVRSet::GetDouble(unsigned short group, unsigned short element) const
{
    const VR* found = GetVR(group, element);
    return found != nullptr ? static_cast<double>(*found) : 0.0;
}

VRGroup* DICOMVRSet::AddGroup(unsigned short number)
{
    VRGroup* group = new (m_arena) VRGroup(number);
    group->LengthVR.SetOwner(this);
    VRGroup* after = m_last;
    while (after != nullptr && after->Number > number)
    {
        after = after->Prev;
    }
    group->Prev = after;
    group->Next = after != nullptr ? after->Next : m_first;
    (group->Next != nullptr ? group->Next->Prev : m_last) = group;
    (after != nullptr ? after->Next : m_first) = group;
    ++m_groupCount;
    m_length += GroupLengthSize;
    m_cache = group;
    return group;
}

// Elements mostly arrive in ascending order, so the place is searched from
// the end of the group.
int DICOMVRSet::Push(VR* element)
{
    if (element->GetLength() == VR::UndefinedLength)
    {
        element->SetLength(0);
    }
    if (element->GetElement() == 0)
    {
        delete element;
        return 1;
    }
    const bool odd = (element->GetLength() & 1u) != 0;
    if (odd)
    {
        _assert("(vr->Length & 0x01) == 0", __FILE__, __LINE__);
        _warning("DICOMVRSet::Push (vr), vr: (%4.4x, %4.4x, %4d)", element->GetGroup(),
                 element->GetElement(), element->GetLength());
    }
    element->SetOwner(this);
    m_lastVR = element;
    if (element->GetTypeCode() == VRCode::Unknown)
    {
        element->SetTypeCode(DictionaryTypeCode(element->GetGroup(), element->GetElement()));
    }
    VRGroup* group = FindGroup(element->GetGroup());
    if (group == nullptr)
    {
        group = AddGroup(element->GetGroup());
    }
    VRNode* before = group->Last;
    while (before != nullptr && before->Element->GetElement() > element->GetElement())
    {
        before = before->Prev;
    }
    if (before != nullptr && before->Element->GetElement() == element->GetElement())
    {
        if (odd)
        {
            PadToEven(element);
        }
        const std::uint32_t oldSize = GetElementSize(*before->Element);
        const std::uint32_t newSize = GetElementSize(*element);
        delete before->Element;
        before->Element = element;
        group->SetLength(group->GetLength() - oldSize + newSize);
        m_length = m_length - oldSize + newSize;
        return 1;
    }
    if (odd)
    {
        _assert("(vr -> Length & 0x01) == 0", __FILE__, __LINE__);
        _warning("VRGroup::Push, (%4.4x, %4.4x, %4d)", element->GetGroup(), element->GetElement(),
                 element->GetLength());
        PadToEven(element);
    }
    VRNode* node =
        new (m_arena) VRNode{element, before, before != nullptr ? before->Next : group->First};
    (node->Next != nullptr ? node->Next->Prev : group->Last) = node;
    (before != nullptr ? before->Next : group->First) = node;
    ++group->Count;
    const std::uint32_t size = GetElementSize(*element);
    group->SetLength(group->GetLength() + size);
    m_length += size;
    return 1;
}

int DICOMVRSet::AttachItem(VR* element, DICOMVRSet* item)
{
    std::uint32_t added = GetItemSize(*element, *item);
    if (element->GetSQArray() == nullptr)
    {
        added += SequenceDelimiterSize;
    }
    element->AddSQArray()->AddTail(item);
    VRGroup* group = element->GetOwner() == this ? FindGroup(element->GetGroup()) : nullptr;
    if (group != nullptr)
    {
        group->SetLength(group->GetLength() + added);
        m_length += added;
    }
    return 1;
}

int DICOMVRSet::Push(unsigned short group, unsigned short element, DICOMVRSet* item)
{
    VR* holder = GetVR(group, element);
    if (holder == nullptr)
    {
        Push(new VR(group, element));
        holder = GetVR(group, element);
    }
    if (holder == nullptr)
    {
        _error("Enter DICOMVRSet::Push (Group, Element, SQDO), vr == NULL!");
        delete item;
        return 0;
    }
    return AttachItem(holder, item);
}

int DICOMVRSet::Push(DICOMVRSet* item)
{
    if (m_lastVR == nullptr)
    {
        _error("Enter DICOMVRSet::Push (SQDO), LastVR == NULL!");
        delete item;
        return 0;
    }
    return AttachItem(m_lastVR, item);
}

template <typename T>
int DICOMVRSet::AddNumber(unsigned short group, unsigned short element, T value)
{
    VR* found = GetVR(group, element);
    if (found == nullptr)
    {
        return Push(new VR(group, element, value));
    }
    *found = value;
    return 1;
}

template <typename T>
int DICOMVRSet::AddNumbers(unsigned short group, unsigned short element, const T* values, int count)
{
    VR* found = GetVR(group, element);
    if (found == nullptr)
    {
        return Push(new VR(group, element, values, count));
    }
    found->SetBinary(values, count > 0 && values != nullptr ? sizeof(T) * count : 0);
    return 1;
}

int DICOMVRSet::Add(unsigned short group, unsigned short element, unsigned short value)
{
    return AddNumber(group, element, value);
}

int DICOMVRSet::Add(unsigned short group, unsigned short element, short value)
{
    return AddNumber(group, element, value);
}

int DICOMVRSet::Add(unsigned short group, unsigned short element, unsigned int value)
{
    return AddNumber(group, element, value);
}

int DICOMVRSet::Add(unsigned short group, unsigned short element, int value)
{
    return AddNumber(group, element, value);
}

int DICOMVRSet::Add(unsigned short group, unsigned short element, float value)
{
    return AddNumber(group, element, value);
}

int DICOMVRSet::Add(unsigned short group, unsigned short element, double value)
{
    return AddNumber(group, element, value);
}

int DICOMVRSet::Add(unsigned short group, unsigned short element, const char* text)
{
    return AddNumber(group, element, text);
}

int DICOMVRSet::Add(unsigned short group, unsigned short element, const Lettra& text)
{
    return AddNumber(group, element, static_cast<const char*>(text));
}

int DICOMVRSet::Add(unsigned short group, unsigned short element, const UID& uid)
{
    VR* found = GetVR(group, element);
    if (found == nullptr)
    {
        return Push(new VR(group, element, uid));
    }
    *found = static_cast<const char*>(uid);
    return 1;
}

int DICOMVRSet::Add(unsigned short group, unsigned short element, const unsigned short* values,
                    int count)
{
    return AddNumbers(group, element, values, count);
}

int DICOMVRSet::Add(unsigned short group, unsigned short element, const short* values, int count)
{
    return AddNumbers(group, element, values, count);
}

int DICOMVRSet::Add(unsigned short group, unsigned short element, const unsigned int* values,
                    int count)
{
    return AddNumbers(group, element, values, count);
}

int DICOMVRSet::Add(unsigned short group, unsigned short element, const int* values, int count)
{
    return AddNumbers(group, element, values, count);
}

int DICOMVRSet::Add(unsigned short group, unsigned short element, DICOMVRSet& items)
{
    DICOMDataSet* item = new DICOMDataSet;
    items.TransferTo(*item);
    return Push(group, element, item);
}

int DICOMVRSet::Add(unsigned short group, unsigned short element)
{
    if (IsExist(group, element) == 0)
    {
        Push(new VR(group, element));
    }
    return 1;
}

int DICOMVRSet::Add(unsigned int tag)
{
    return Add(static_cast<unsigned short>(tag >> 16), static_cast<unsigned short>(tag));
}

void DICOMVRSet::ForgetPointersInto(const VRGroup* group)
{
    if (m_cache == group)
    {
        m_cache = nullptr;
    }
    if (m_lastVR != nullptr && m_lastVR->GetGroup() == group->Number)
    {
        m_lastVR = nullptr;
    }
}

void DICOMVRSet::RemoveGroup(VRGroup* group)
{
    ForgetPointersInto(group);
    (group->Prev != nullptr ? group->Prev->Next : m_first) = group->Next;
    (group->Next != nullptr ? group->Next->Prev : m_last) = group->Prev;
    --m_groupCount;
    m_length -= GroupLengthSize + group->GetLength();
    group->Prev = group->Next = nullptr;
}

void DICOMVRSet::UnlinkElement(VRGroup* group, VRNode* node)
{
    (node->Prev != nullptr ? node->Prev->Next : group->First) = node->Next;
    (node->Next != nullptr ? node->Next->Prev : group->Last) = node->Prev;
    --group->Count;
    const std::uint32_t size = GetElementSize(*node->Element);
    group->SetLength(group->GetLength() - size);
    node->Element->SetOwner(nullptr);
    if (m_lastVR == node->Element)
    {
        m_lastVR = nullptr;
    }
    delete node;
}

VR* DICOMVRSet::TakeOut(unsigned short group, unsigned short element)
{
    VRGroup* bucket = FindGroup(group);
    VR* found = GetVR(group, element);
    if (found == nullptr)
    {
        return nullptr;
    }
    VRNode* node = bucket->First;
    while (node->Element != found)
    {
        node = node->Next;
    }
    m_length -= GetElementSize(*found);
    UnlinkElement(bucket, node);
    if (bucket->Count == 0)
    {
        RemoveGroup(bucket);
        DestroyGroup(bucket);
    }
    m_cache = nullptr;
    return found;
}

int DICOMVRSet::Delete(unsigned short group, unsigned short element)
{
    VR* found = TakeOut(group, element);
    delete found;
    return found != nullptr ? 1 : 0;
}

int DICOMVRSet::Delete(const DICOMVRSet& other)
{
    for (const VRGroup* group = other.m_first; group != nullptr; group = group->Next)
    {
        for (const VRNode* node = group->First; node != nullptr; node = node->Next)
        {
            Delete(node->Element->GetGroup(), node->Element->GetElement());
        }
    }
    return 1;
}

int DICOMVRSet::DeleteGroup(unsigned short number)
{
    VRGroup* group = FindGroup(number);
    if (group == nullptr)
    {
        return 0;
    }
    RemoveGroup(group);
    DestroyGroup(group);
    return 1;
}

int DICOMVRSet::Filter(const DICOMVRSet& filter)
{
    if (filter.IsEmpty() != 0)
    {
        _warning("Enter DICOMVRSt::Filter, empty Filter DVRS!");
    }
    for (VRGroup* group = m_first; group != nullptr;)
    {
        VRGroup* nextGroup = group->Next;
        for (VRNode* node = group->First; node != nullptr;)
        {
            VRNode* next = node->Next;
            const VR* element = node->Element;
            if (filter.IsExist(element->GetGroup(), element->GetElement()) == 0)
            {
                Delete(element->GetGroup(), element->GetElement());
            }
            node = next;
        }
        group = nextGroup;
    }
    if (IsEmpty() != 0)
    {
        _warning("Enter DICOMVRSet::Filter, get empty result!");
    }
    return 1;
}

VR* DICOMVRSet::Pop()
{
    if (m_emptying != nullptr && m_emptying->First == nullptr)
    {
        DestroyGroup(m_emptying);
        m_emptying = nullptr;
    }
    if (m_emptying == nullptr)
    {
        VRGroup* group = m_first;
        if (group == nullptr)
        {
            m_length = 0;
            return nullptr;
        }
        RemoveGroup(group);
        m_length += group->GetLength(); // the elements leave one by one
        m_emptying = group;
        return new VR(group->Number, 0, group->GetLength());
    }
    VRNode* node = m_emptying->First;
    VR* element = node->Element;
    m_length -= GetElementSize(*element);
    UnlinkElement(m_emptying, node);
    return element;
}

VR* DICOMVRSet::Proxy::GetVR() const
{
    return m_set->GetVR(m_group, m_element);
}

DICOMVRSet::Proxy DICOMVRSet::operator()(unsigned short group, unsigned short element)
{
    return Proxy(this, group, element);
}

DICOMVRSet::Proxy DICOMVRSet::operator()(unsigned int tag)
{
    return Proxy(this, static_cast<unsigned short>(tag >> 16), static_cast<unsigned short>(tag));
}

DICOMVRSet::Proxy DICOMVRSet::operator[](unsigned int tag)
{
    return (*this)(tag);
}

// A proxy on a constant set is for reading; it holds the set as every
// proxy does.
DICOMVRSet::Proxy DICOMVRSet::operator()(unsigned short group, unsigned short element) const
{
    return Proxy(const_cast<DICOMVRSet*>(this), group, element);
}

DICOMVRSet::Proxy DICOMVRSet::operator()(unsigned int tag) const
{
    return Proxy(const_cast<DICOMVRSet*>(this), static_cast<unsigned short>(tag >> 16),
                 static_cast<unsigned short>(tag));
}

DICOMVRSet::Proxy DICOMVRSet::operator[](unsigned int tag) const
{
    return (*this)(tag);
}

DICOMVRSet::Proxy::Proxy(DICOMVRSet* set, unsigned short group, unsigned short element)
    : m_set(set), m_group(group), m_element(element)
{
}

DICOMVRSet::Proxy::operator Lettra() const
{
    return m_set->GetLettra(m_group, m_element);
}

DICOMVRSet::Proxy::operator short() const
{
    return static_cast<short>(m_set->GetUINT16(m_group, m_element));
}

DICOMVRSet::Proxy::operator unsigned short() const
{
    return m_set->GetUINT16(m_group, m_element);
}

DICOMVRSet::Proxy::operator int() const
{
    return static_cast<int>(m_set->GetUINT32(m_group, m_element));
}

DICOMVRSet::Proxy::operator unsigned int() const
{
    return m_set->GetUINT32(m_group, m_element);
}

DICOMVRSet::Proxy::operator float() const
{
    return m_set->GetFloat(m_group, m_element);
}

DICOMVRSet::Proxy::operator double() const
{
    return m_set->GetDouble(m_group, m_element);
}

DICOMVRSet::Proxy& DICOMVRSet::Proxy::operator=(unsigned short value)
{
    m_set->Add(m_group, m_element, value);
    return *this;
}

DICOMVRSet::Proxy& DICOMVRSet::Proxy::operator=(short value)
{
    m_set->Add(m_group, m_element, value);
    return *this;
}

DICOMVRSet::Proxy& DICOMVRSet::Proxy::operator=(unsigned int value)
{
    m_set->Add(m_group, m_element, value);
    return *this;
}

DICOMVRSet::Proxy& DICOMVRSet::Proxy::operator=(int value)
{
    m_set->Add(m_group, m_element, value);
    return *this;
}

DICOMVRSet::Proxy& DICOMVRSet::Proxy::operator=(float value)
{
    m_set->Add(m_group, m_element, value);
    return *this;
}

DICOMVRSet::Proxy& DICOMVRSet::Proxy::operator=(double value)
{
    m_set->Add(m_group, m_element, value);
    return *this;
}

DICOMVRSet::Proxy& DICOMVRSet::Proxy::operator=(const char* text)
{
    m_set->Add(m_group, m_element, text);
    return *this;
}

DICOMVRSet::Proxy& DICOMVRSet::Proxy::operator=(const Lettra& text)
{
    m_set->Add(m_group, m_element, text);
    return *this;
}

DICOMVRSet::Proxy& DICOMVRSet::Proxy::operator=(const UID& uid)
{
    m_set->Add(m_group, m_element, uid);
    return *this;
}

DICOMVRSet::Proxy& DICOMVRSet::Proxy::operator=(DICOMVRSet& items)
{
    m_set->Add(m_group, m_element, items);
    return *this;
}

DICOMVRSet::Proxy& DICOMVRSet::Proxy::operator=(const Proxy& other)
{
    const VR* source = other.GetVR();
    if (source != nullptr)
    {
        VR* copy = new VR(*source);
        copy->SetTag(m_group, m_element);
        m_set->Push(copy);
    }
    return *this;
}

DICOMVRSet::Iterator::Iterator(const DICOMVRSet& set) : m_set(&set)
{
    Restart();
}

void DICOMVRSet::Iterator::Restart()
{
    m_count = m_set->GetVRCount();
    m_group = m_set->m_first;
    m_next = m_group != nullptr ? m_group->First : nullptr;
    m_current = m_group != nullptr ? &m_group->LengthVR : nullptr;
    m_index = m_current != nullptr ? 0 : -1;
    m_valid = m_current != nullptr ? 1 : 0;
}

void DICOMVRSet::Iterator::Step()
{
    if (m_current == nullptr)
    {
        return;
    }
    if (m_next != nullptr)
    {
        m_current = m_next->Element;
        m_next = m_next->Next;
    }
    else
    {
        m_group = m_group->Next;
        m_current = m_group != nullptr ? &m_group->LengthVR : nullptr;
        m_next = m_group != nullptr ? m_group->First : nullptr;
    }
    m_index = m_current != nullptr ? m_index + 1 : -1;
    m_valid = m_current != nullptr ? 1 : 0;
}

VR* DICOMVRSet::Iterator::Next()
{
    Step();
    return m_current;
}

DICOMVRSet::Iterator& DICOMVRSet::Iterator::operator++()
{
    Step();
    return *this;
}

DICOMVRSet::Iterator DICOMVRSet::Iterator::operator++(int)
{
    Iterator before = *this;
    Step();
    return before;
}

DICOMVRSet::Iterator::operator short() const
{
    return m_current != nullptr ? static_cast<short>(*m_current) : 0;
}

DICOMVRSet::Iterator::operator unsigned short() const
{
    return m_current != nullptr ? static_cast<unsigned short>(*m_current) : 0;
}

DICOMVRSet::Iterator::operator int() const
{
    return m_current != nullptr ? static_cast<int>(*m_current) : 0;
}

DICOMVRSet::Iterator::operator unsigned int() const
{
    return m_current != nullptr ? static_cast<unsigned int>(*m_current) : 0;
}

DICOMVRSet::Iterator::operator Lettra() const
{
    Lettra text;
    if (m_current != nullptr)
    {
        m_current->Extract(text);
    }
    return text;
}

VRSetIterator::VRSetIterator(const DICOMVRSet& set) : m_iterator(set) {}

VR* VRSetIterator::operator()()
{
    VR* element = m_calls++ == 0 ? m_iterator.Current() : m_iterator.Next();
    return element;
}

bool operator==(const DICOMVRSet& a, const DICOMVRSet& b)
{
    DICOMVRSet::Iterator left(a);
    DICOMVRSet::Iterator right(b);
    while (true)
    {
        while (left && left.Current()->GetElement() == 0)
        {
            ++left;
        }
        while (right && right.Current()->GetElement() == 0)
        {
            ++right;
        }
        if (!left || !right)
        {
            return !left && !right;
        }
        if (*left.Current() != *right.Current())
        {
            _debug("vrA != vrB");
            return false;
        }
        ++left;
        ++right;
    }
}

bool operator!=(const DICOMVRSet& a, const DICOMVRSet& b)
{
    return !(a == b);
}
