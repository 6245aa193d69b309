// The buckets of a DICOMVRSet: one VRGroup per group number present, holding
// its elements in ascending element order in a list of nodes. The group's
// running byte count lives in the value of its group length element, so
// that reading the element always reads the current count.
#pragma once

#include "DataSetArena.h"
#include "VR.h"

#include <cstdint>
#include <cstring>

// Nodes and groups come from the heap or from the arena of a set being
// decoded, as its elements do.
struct VRNode
{
    VR* Element;
    VRNode* Prev;
    VRNode* Next;

    static void* operator new(std::size_t size, DataSetArena* arena)
    {
        return DataSetArena::Allocate(size, arena);
    }
    static void operator delete(void* block) { DataSetArena::Free(block); }
    static void operator delete(void* block, DataSetArena*) { DataSetArena::Free(block); }
};

struct VRGroup
{
    explicit VRGroup(std::uint16_t number) : Number(number), LengthVR(number, 0, 0u) {}

    static void* operator new(std::size_t size, DataSetArena* arena)
    {
        return DataSetArena::Allocate(size, arena);
    }
    static void operator delete(void* block) { DataSetArena::Free(block); }
    static void operator delete(void* block, DataSetArena*) { DataSetArena::Free(block); }

    VRGroup* Prev = nullptr;
    VRGroup* Next = nullptr;
    VRNode* First = nullptr;
    VRNode* Last = nullptr;
    int Count = 0;
    std::uint16_t Number = 0;
    VR LengthVR;

    std::uint32_t GetLength() const
    {
        std::uint32_t length;
        std::memcpy(&length, LengthVR.GetData(), sizeof(length));
        return length;
    }
    void SetLength(std::uint32_t length)
    {
        std::memcpy(LengthVR.GetData(), &length, sizeof(length));
    }
};

// What one element adds to its group in the explicit VR little-endian
// coding: tag, VR and length (4 bytes more for the long forms, which an
// unknown VR becomes when coded) and the value; an element with an item
// list is coded with undefined length instead of its value, its items
// between item tags and delimiters (pixel data items count as their
// fragments).
std::uint32_t GetElementSize(const VR& element);
// What one item adds to the element that holds it.
std::uint32_t GetItemSize(const VR& element, const DICOMVRSet& item);
// What the sequence delimiter adds once an element has items.
inline constexpr std::uint32_t SequenceDelimiterSize = 8;
