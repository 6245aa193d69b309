// DataSetArena: the memory of the elements of data sets being decoded. A
// decoder takes the element objects, list nodes and group buckets of a data
// set and of its items from a few large blocks instead of one heap block
// each. Every object taken counts as a reference to the arena, and its
// blocks go back to the heap when the last one is freed: an element taken
// out of its set and edited or kept on its own lives on as before.
//
// Objects are allocated by Allocate, from an arena or (without one) from the
// heap, and freed by Free, which tells the two apart by a word kept before
// each object. Only the thread that opened an arena allocates from it, and
// only until it closes it (later requests go to the heap); frees may come
// from any thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

class DICOMVRSet;

class DataSetArena
{
public:
    DataSetArena(const DataSetArena&) = delete;
    DataSetArena& operator=(const DataSetArena&) = delete;

    static DataSetArena* Open();
    // Ends allocation; the arena lives on while objects of it do.
    void Close();

    // size bytes aligned for any object, from the arena or, when it is
    // null, from the heap; throws std::bad_alloc as operator new does.
    static void* Allocate(std::size_t size, DataSetArena* arena);
    static void Free(void* object);

    // Frees many objects with one count per arena: a set destroying its
    // elements gives up its references on the arena at once.
    class Releases
    {
    public:
        Releases() = default;
        Releases(const Releases&) = delete;
        Releases& operator=(const Releases&) = delete;
        ~Releases();

        void Free(void* object);

    private:
        void Flush();

        DataSetArena* m_arena = nullptr;
        std::int64_t m_count = 0;
    };

    // A block of an arena's memory; one freed may wait for the next arena.
    struct Block;

private:
    DataSetArena() = default;
    ~DataSetArena();

    void* Take(std::size_t size);
    bool AddBlock(std::size_t size);
    static Block* TakeSpareBlock(std::size_t size);
    void Release(std::int64_t count);
    static DataSetArena* OwnerOf(void* object);
    static DataSetArena* FreeUnlessInArena(void* object);

    // While open the count carries a reserve, so that objects freed before
    // the close cannot bring it to 0; the close trades the reserve for the
    // objects handed out.
    std::atomic<std::int64_t> m_references{0};
    std::int64_t m_handedOut = 0;
    Block* m_blocks = nullptr;
    std::uint8_t* m_next = nullptr;
    std::uint8_t* m_end = nullptr;
    std::size_t m_nextBlockSize = 0;
    bool m_open = false;
};

// Lends an arena to a set while a decoder fills it: the set takes the nodes
// and groups of the elements pushed meanwhile from it.
class SetArenaLoan
{
public:
    SetArenaLoan(DICOMVRSet& set, DataSetArena* arena);
    SetArenaLoan(const SetArenaLoan&) = delete;
    SetArenaLoan& operator=(const SetArenaLoan&) = delete;
    ~SetArenaLoan();

private:
    DICOMVRSet& m_set;
    DataSetArena* m_previous;
};
