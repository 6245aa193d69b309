// VR: one data element of the DICOM library. A tag, a value representation
// code, a value of bytes (inline when it is 64 bytes or shorter, otherwise
// in a heap buffer of its own) and, for sequences, the list of its item
// sets. Numbers are stored in the machine's byte order; the coders swap
// where a big-endian syntax needs it.
#pragma once

#include "Array.h"
#include "Lettra.h"
#include "VeltaroExport.h"

#include <cstddef>
#include <cstdint>

class DataSetArena;
class DICOMVRSet;
class UID;

class VELTARO_API VR
{
public:
    static constexpr std::uint32_t InlineSize = 64;
    static constexpr std::uint32_t UndefinedLength = 0xFFFFFFFF;

    VR();
    VR(unsigned short group, unsigned short element);
    explicit VR(unsigned int tag);
    VR(unsigned short group, unsigned short element, unsigned short value);
    VR(unsigned short group, unsigned short element, short value);
    VR(unsigned short group, unsigned short element, unsigned int value);
    VR(unsigned short group, unsigned short element, int value);
    VR(unsigned short group, unsigned short element, float value);
    VR(unsigned short group, unsigned short element, double value);
    VR(unsigned short group, unsigned short element, const char* text);
    VR(unsigned short group, unsigned short element, const Lettra& text);
    VR(unsigned short group, unsigned short element, const UID& uid);
    VR(unsigned short group, unsigned short element, const unsigned short* values, int count);
    VR(unsigned short group, unsigned short element, const short* values, int count);
    VR(unsigned short group, unsigned short element, const unsigned int* values, int count);
    VR(unsigned short group, unsigned short element, const int* values, int count);
    // A deep copy of value and item sets, owned by no set; an odd length is
    // padded to even with a NUL byte and logged.
    VR(const VR& other);
    virtual ~VR();

    // Elements come from the heap, or from the arena of the data sets a
    // decoder is filling; delete frees either kind.
    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, DataSetArena* arena);
    static void operator delete(void* block);
    static void operator delete(void* block, DataSetArena* arena);

    // One line describing the element for the set dump.
    virtual Lettra ToString() const;

    unsigned short GetGroup() const { return m_group; }
    unsigned short GetElement() const { return m_element; }
    unsigned int GetTag() const { return static_cast<unsigned int>(m_group) << 16 | m_element; }
    void SetTag(unsigned short group, unsigned short element);
    unsigned int GetLength() const { return m_length; }
    const void* GetData() const { return m_heap != nullptr ? m_heap : m_inline; }
    void* GetData() { return m_heap != nullptr ? m_heap : m_inline; }
    unsigned short GetTypeCode() const { return m_typeCode; }
    void SetTypeCode(unsigned int code) { m_typeCode = static_cast<std::uint16_t>(code); }
    ArrayOfPtr<DICOMVRSet*>* GetSQArray() const { return m_items; }
    // The number of item sets, 0 without an item list.
    int GetItemCount() const { return m_items != nullptr ? m_items->GetCount() : 0; }
    DICOMVRSet* GetOwner() const { return m_owner; }

    // Makes the value n bytes long (n rounded up to even) and returns the
    // buffer to write into, or null when a heap buffer cannot be had (the
    // element is then unchanged). Bytes beyond the old value are not cleared.
    void* GetDataSetLength(unsigned int n);
    // Frees the heap value and adopts the buffer (allocated with new[]) as
    // the value; Attach(nullptr, 0) empties the value.
    void Attach(void* buffer, unsigned int length);
    // Hands the value to the caller (to free with delete[]) and empties the
    // element; null for an empty inline value.
    void* Detach();

    ArrayOfPtr<DICOMVRSet*>* AddSQArray();
    ArrayOfPtr<DICOMVRSet*>* DetachSQArray();
    void DeleteSQArray();
    // Frees value and items, empties the length and clears the owner; tag and
    // VR code stay.
    void Reset();

    VR& operator=(short value);
    VR& operator=(unsigned short value);
    VR& operator=(int value);
    VR& operator=(unsigned int value);
    VR& operator=(float value);
    VR& operator=(double value);
    VR& operator=(const char* text);
    VR& operator=(const Lettra& text);
    // Appends a new item set and moves every element of the given set into it.
    VR& operator=(DICOMVRSet& items);
    VR& operator=(const VR& other);

    operator short() const;
    operator unsigned short() const;
    operator int() const;
    operator unsigned int() const;
    operator float() const;
    operator double() const;
    operator Lettra() const;

    // The value as text, less one final blank or NUL; returns 1.
    int Extract(Lettra& out) const;
    // A NUL-terminated copy into a buffer of size bytes; see the source for
    // the count returned.
    unsigned int Extract(char* buffer, unsigned int size) const;
    // The value as display text, chosen by the VR code.
    Lettra ToStringOfData() const;

protected:
    friend class DICOMVRSet;

    // Takes over the other element's value, items, VR code and owner,
    // leaving it empty; an undefined length becomes 0. Returns 1.
    int SetIf(VR* other);
    void SetOwner(DICOMVRSet* owner) { m_owner = owner; }
    void SetLength(unsigned int length) { m_length = length; }

private:
    void Init(unsigned short group, unsigned short element, std::uint16_t typeCode);
    void FreeValue();
    void SetBinary(const void* data, unsigned int length);
    void SetText(const char* text, unsigned int length);
    void CopyFrom(const VR& other);
    template <typename T> T ReadFirst() const;

    std::uint16_t m_group = 0;
    std::uint16_t m_element = 0;
    std::uint32_t m_length = 0;
    std::uint8_t m_inline[InlineSize] = {};
    std::uint8_t* m_heap = nullptr;
    std::uint32_t m_capacity = 0; // bytes of the heap buffer
    std::uint16_t m_typeCode = 0;
    ArrayOfPtr<DICOMVRSet*>* m_items = nullptr;
    DICOMVRSet* m_owner = nullptr;
};

// Equal tags, lengths, values and pairwise equal item sets; the VR code is
// not compared.
VELTARO_API bool operator==(const VR& a, const VR& b);
VELTARO_API bool operator!=(const VR& a, const VR& b);
VELTARO_API bool operator==(const VR& a, unsigned int tag);
