// DICOMVRSet: the ordered set of data elements every data set, command set,
// file, directory record and sequence item is built on. Elements live in
// per-group buckets sorted by tag; each group has a group length element
// (gggg,0000) that reads the group's running byte count, kept in step with
// the explicit VR little-endian size of the group's elements.
#pragma once

#include "Lettra.h"
#include "VR.h"
#include "VeltaroExport.h"

#include <cstdint>

template <typename T> class Array;
class DataSetArena;
class DICOMDataSet;
class DMarkup;
class UID;
struct VRGroup;
struct VRNode;

class VELTARO_API DICOMVRSet
{
public:
    // A short-lived handle on one tag of a set, returned by the call
    // operator; the element need not exist.
    class VELTARO_API Proxy
    {
    public:
        Proxy(DICOMVRSet* set, unsigned short group, unsigned short element);
        Proxy(const Proxy& other) = default;

        operator Lettra() const;
        operator short() const;
        operator unsigned short() const;
        operator int() const;
        operator unsigned int() const;
        operator float() const;
        operator double() const;

        Proxy& operator=(unsigned short value);
        Proxy& operator=(short value);
        Proxy& operator=(unsigned int value);
        Proxy& operator=(int value);
        Proxy& operator=(float value);
        Proxy& operator=(double value);
        Proxy& operator=(const char* text);
        Proxy& operator=(const Lettra& text);
        Proxy& operator=(const UID& uid);
        Proxy& operator=(DICOMVRSet& items);
        // Copies the other proxy's element under this proxy's tag, replacing
        // any element there; nothing changes when the other one is absent.
        Proxy& operator=(const Proxy& other);

        VR* GetVR() const;

    private:
        DICOMVRSet* m_set;
        std::uint16_t m_group;
        std::uint16_t m_element;
    };

    // Walks the set in its order: for each group its group length element,
    // then its elements. Removing the element it stands on ends its use.
    class VELTARO_API Iterator
    {
    public:
        explicit Iterator(const DICOMVRSet& set);

        void Restart();
        VR* Next();
        Iterator& operator++();
        Iterator operator++(int);
        VR* Current() const { return m_current; }
        VR* operator*() const { return m_current; }
        VR* operator()() const { return m_current; }
        int Index() const { return m_index; }
        explicit operator bool() const { return m_valid != 0; }

        operator short() const;
        operator unsigned short() const;
        operator int() const;
        operator unsigned int() const;
        operator Lettra() const;

    private:
        void Step();

        const DICOMVRSet* m_set;
        int m_count = 0;
        VRGroup* m_group = nullptr;
        VRNode* m_next = nullptr;
        VR* m_current = nullptr;
        int m_index = -1;
        int m_valid = 0;
    };

    // An empty element that lives as long as the library.
    static VR ReservedVR;

    DICOMVRSet();
    // An empty set, then a deep copy of the other.
    DICOMVRSet(const DICOMVRSet& other);
    virtual ~DICOMVRSet();

    // Destroys every group and element.
    virtual void Reset();

    // The memory image: every element in explicit VR little-endian coding,
    // group length elements first in their groups, nothing before or after.
    // A null buffer or a size of 0 or less asks for the image's size; a
    // buffer too small gets the image's start, a fatal log line and the
    // needed size as the result. Not const: coding fills in missing VR
    // codes, and file classes replace it with their Part 10 image.
    virtual int Serialize(unsigned char* buffer, int size);
    // Adds the elements of a memory image, replacing equal tags; the bytes
    // consumed, 0 for a null pointer or an image that cannot be decoded
    // (the elements decoded until then stay).
    virtual int Deserialize(const unsigned char* data, int size);
    // The set's XML document in the process's code page.
    virtual Lettra XmlSerialize();
    // Adds the elements of an XML document, replacing equal tags; 0 when it
    // holds no element record.
    virtual int XmlDeserialize(const Lettra& text);
    virtual int XmlDeserialize(const char* text);
    // The dump without elements shorter than minLength (sequences stay);
    // 0 asks for the whole dump of ToString().
    virtual Lettra ToString(int minLength);
    virtual Lettra ToString();

    // The array form of several sets appended to out, and read back into
    // new sets the caller owns; 1.
    static int VRSetArrayToXML(const Array<const DICOMVRSet*>* sets, Lettra* out);
    static int ADDSToXML(const Array<const DICOMDataSet*>* sets, Lettra* out);
    static int ADDSToXML(const Array<DICOMDataSet*>* sets, Lettra* out);
    static int XMLToVRSetArray(const Lettra* xml, Array<DICOMVRSet*>* sets);
    static int XMLToADDS(const Lettra* xml, Array<DICOMDataSet*>* sets);

    // Moves: the other set's elements pass to this one, leaving it empty.
    DICOMVRSet& operator=(DICOMVRSet& other);
    DICOMVRSet& TransferTo(DICOMVRSet& target);
    // Deep-copies every element into the target (replacing equal tags);
    // 0 when the target is this set.
    int CopyTo(DICOMVRSet& target) const;
    // The same for the tags (group << 16 | element) from first to last.
    int CopyTo(DICOMVRSet& target, unsigned int first, unsigned int last) const;
    // Moves every element of the other set here, replacing equal tags.
    DICOMVRSet& AppendFrom(DICOMVRSet& other);

    // Elements in iteration order, group length elements included.
    int GetVRCount() const;
    // The running explicit VR little-endian size of the whole set.
    int GetLength() const { return static_cast<int>(m_length); }
    // The number of groups.
    int GetSize() const { return m_groupCount; }
    int IsEmpty() const { return m_groupCount == 0 ? 1 : 0; }
    // Computes every group length and the total again; 1 when the total
    // did not change.
    int Package();
    // Computes one group's length again; 0 when the group does not exist.
    int Package(unsigned short group);

    // The element or null; never a group length element.
    VR* GetVR(unsigned short group, unsigned short element) const;
    // Element number 0 asks for the group.
    int IsExist(unsigned short group, unsigned short element) const;
    int IsExist(unsigned int tag) const;
    VR* GetFirstVR() const;
    VR* GetLastVR() const;
    // Item number index (from 0) of the element, or null.
    DICOMVRSet* GetSequence(unsigned short group, unsigned short element, int index) const;
    unsigned short GetUINT16(unsigned short group, unsigned short element) const;
    unsigned int GetUINT32(unsigned short group, unsigned short element) const;
    Lettra GetLettra(unsigned short group, unsigned short element) const;
    float GetFloat(unsigned short group, unsigned short element) const;
    double GetDouble(unsigned short group, unsigned short element) const;

    // Takes ownership of the element, replacing one of equal tag; an element
    // with element number 0 is destroyed at once. Returns 1.
    int Push(VR* element);
    // Appends the item (owned from then on) to the element at the tag,
    // creating the element when there is none; 0 (item destroyed) when that
    // cannot be done.
    int Push(unsigned short group, unsigned short element, DICOMVRSet* item);

    int Add(unsigned short group, unsigned short element, unsigned short value);
    int Add(unsigned short group, unsigned short element, short value);
    int Add(unsigned short group, unsigned short element, unsigned int value);
    int Add(unsigned short group, unsigned short element, int value);
    int Add(unsigned short group, unsigned short element, float value);
    int Add(unsigned short group, unsigned short element, double value);
    int Add(unsigned short group, unsigned short element, const char* text);
    int Add(unsigned short group, unsigned short element, const Lettra& text);
    int Add(unsigned short group, unsigned short element, const UID& uid);
    int Add(unsigned short group, unsigned short element, const unsigned short* values, int count);
    int Add(unsigned short group, unsigned short element, const short* values, int count);
    int Add(unsigned short group, unsigned short element, const unsigned int* values, int count);
    int Add(unsigned short group, unsigned short element, const int* values, int count);
    // Appends one item holding the given set's elements, moved out of it.
    int Add(unsigned short group, unsigned short element, DICOMVRSet& items);
    // An empty element when the tag (for element 0, the group) is absent.
    int Add(unsigned short group, unsigned short element);
    int Add(unsigned int tag);

    // Removes the element and hands it over with its owner cleared; null
    // for element number 0 or an absent tag.
    VR* TakeOut(unsigned short group, unsigned short element);
    int Delete(unsigned short group, unsigned short element);
    // Deletes every tag present in the other set.
    int Delete(const DICOMVRSet& other);
    int DeleteGroup(unsigned short group);
    // Deletes every element whose tag the filter set lacks.
    int Filter(const DICOMVRSet& filter);
    // Hands out the contents one element at a time, each group starting
    // with a free copy of its group length element; null when empty.
    VR* Pop();

    Proxy operator()(unsigned short group, unsigned short element);
    Proxy operator()(unsigned int tag);
    Proxy operator[](unsigned int tag);
    Proxy operator()(unsigned short group, unsigned short element) const;
    Proxy operator()(unsigned int tag) const;
    Proxy operator[](unsigned int tag) const;

protected:
    friend class DataSetDecoder;
    friend class SetArenaLoan;

    // The element records of this set at the markup's current level.
    int XmlSerialize(DMarkup* markup) const;
    // Reads the first element record at the markup's current level and
    // every sibling after it; 0 when there is none.
    int XmlDeserialize(DMarkup* markup);
    // The dump at nesting depth depth (0 to 40).
    Lettra ToStringOfTabStop(int depth, int minLength) const;

    // Appends the item to the element most recently pushed.
    int Push(DICOMVRSet* item);

private:
    VRGroup* FindGroup(unsigned short group) const;
    VRGroup* AddGroup(unsigned short group);
    void RemoveGroup(VRGroup* group);
    void UnlinkElement(VRGroup* group, VRNode* node);
    int AttachItem(VR* element, DICOMVRSet* item);
    void ForgetPointersInto(const VRGroup* group);
    template <typename T> int AddNumber(unsigned short group, unsigned short element, T value);
    template <typename T>
    int AddNumbers(unsigned short group, unsigned short element, const T* values, int count);

    VRGroup* m_first = nullptr;
    VRGroup* m_last = nullptr;
    int m_groupCount = 0;
    VRGroup* m_emptying = nullptr;
    mutable VRGroup* m_cache = nullptr;
    VR* m_lastVR = nullptr;
    std::uint32_t m_length = 0;
    // The arena a decoder lends the set while it fills it.
    DataSetArena* m_arena = nullptr;
};

// Each call returns the next element in the set's order, null at the end.
class VELTARO_API VRSetIterator
{
public:
    explicit VRSetIterator(const DICOMVRSet& set);
    VR* operator()();

private:
    DICOMVRSet::Iterator m_iterator;
    int m_calls = 0;
};

// Equal when both walks, group length elements left out, meet equal
// elements and end together.
VELTARO_API bool operator==(const DICOMVRSet& a, const DICOMVRSet& b);
VELTARO_API bool operator!=(const DICOMVRSet& a, const DICOMVRSet& b);
