#include "DataSetArena.h"

#include "DICOMVRSet.h"
#include "SpareBlock.h"

#include <algorithm>
#include <new>

namespace
{

// The word before each object names its arena (null for the heap); it takes
// a whole alignment unit so that the object stays aligned.
constexpr std::size_t Alignment = __STDCPP_DEFAULT_NEW_ALIGNMENT__;
constexpr std::size_t TagSize = Alignment;
constexpr std::int64_t OpenReserve = std::int64_t{1} << 62;
constexpr std::size_t SmallestBlock = 0x1000;
constexpr std::size_t LargestBlock = 0x40000;

// What the last closed arena used: most data sets read in a row are alike,
// so the next one starts with a block that holds as much.
std::atomic<std::size_t> g_lastUse{0};

std::size_t RoundUp(std::size_t size)
{
    return (size + Alignment - 1) & ~(Alignment - 1);
}

void* TagObject(void* block, DataSetArena* arena)
{
    *static_cast<DataSetArena**>(block) = arena;
    return static_cast<std::uint8_t*>(block) + TagSize;
}

void* BlockOf(void* object)
{
    return static_cast<std::uint8_t*>(object) - TagSize;
}

} // namespace

struct DataSetArena::Block
{
    Block* next;
    std::size_t size;
};

static_assert(sizeof(DataSetArena*) <= TagSize);

namespace
{

// A file's meta group and its data set are decoded into two arenas, which
// live as long as the file: two freed blocks wait for the next file's.
SpareBlock<DataSetArena::Block> g_spareBlocks[2];

} // namespace

// A spare block that holds size bytes; one too small goes back to the heap.
DataSetArena::Block* DataSetArena::TakeSpareBlock(std::size_t size)
{
    for (auto& spare : g_spareBlocks)
    {
        Block* block = spare.Take();
        if (block != nullptr && block->size >= size)
        {
            return block;
        }
        ::operator delete(block);
    }
    return nullptr;
}

DataSetArena* DataSetArena::Open()
{
    auto* arena = new DataSetArena;
    arena->m_references.store(OpenReserve, std::memory_order_relaxed);
    arena->m_open = true;
    arena->m_nextBlockSize =
        std::clamp(g_lastUse.load(std::memory_order_relaxed), SmallestBlock, LargestBlock);
    return arena;
}

void DataSetArena::Close()
{
    std::size_t used = 0;
    for (const Block* block = m_blocks; block != nullptr; block = block->next)
    {
        used += block->size;
    }
    used -= static_cast<std::size_t>(m_end - m_next);
    g_lastUse.store(used, std::memory_order_relaxed);
    m_open = false;
    Release(OpenReserve - m_handedOut);
}

DataSetArena::~DataSetArena()
{
    while (m_blocks != nullptr)
    {
        Block* next = m_blocks->next;
        if (!std::ranges::any_of(g_spareBlocks, [&](auto& spare) { return spare.Keep(m_blocks); }))
        {
            ::operator delete(m_blocks);
        }
        m_blocks = next;
    }
}

void* DataSetArena::Allocate(std::size_t size, DataSetArena* arena)
{
    if (arena == nullptr || !arena->m_open)
    {
        return TagObject(::operator new(TagSize + size), nullptr);
    }
    return TagObject(arena->Take(TagSize + RoundUp(size)), arena);
}

void DataSetArena::Free(void* object)
{
    if (DataSetArena* arena = FreeUnlessInArena(object))
    {
        arena->Release(1);
    }
}

// An object of the heap goes back to it at once; one of an arena is left
// to the caller, who is given its arena.
DataSetArena* DataSetArena::FreeUnlessInArena(void* object)
{
    DataSetArena* arena = object != nullptr ? OwnerOf(object) : nullptr;
    if (object != nullptr && arena == nullptr)
    {
        ::operator delete(BlockOf(object));
    }
    return arena;
}

DataSetArena* DataSetArena::OwnerOf(void* object)
{
    return *static_cast<DataSetArena**>(BlockOf(object));
}

void* DataSetArena::Take(std::size_t size)
{
    if (static_cast<std::size_t>(m_end - m_next) < size && !AddBlock(size))
    {
        throw std::bad_alloc();
    }
    void* taken = m_next;
    m_next += size;
    ++m_handedOut;
    return taken;
}

// A new block is at least twice the last one, and holds the request.
bool DataSetArena::AddBlock(std::size_t size)
{
    const std::size_t header = RoundUp(sizeof(Block));
    const std::size_t wanted = std::max(m_nextBlockSize, size);
    Block* block = TakeSpareBlock(wanted);
    if (block == nullptr)
    {
        block = static_cast<Block*>(::operator new(header + wanted, std::nothrow));
        if (block == nullptr)
        {
            return false;
        }
        block->size = wanted;
    }
    const std::size_t capacity = block->size;
    block->next = m_blocks;
    m_blocks = block;
    m_next = reinterpret_cast<std::uint8_t*>(block) + header;
    m_end = m_next + capacity;
    m_nextBlockSize = std::min(capacity * 2, LargestBlock);
    return true;
}

void DataSetArena::Release(std::int64_t count)
{
    if (m_references.fetch_sub(count, std::memory_order_acq_rel) == count)
    {
        delete this;
    }
}

DataSetArena::Releases::~Releases()
{
    Flush();
}

void DataSetArena::Releases::Free(void* object)
{
    DataSetArena* arena = FreeUnlessInArena(object);
    if (arena == nullptr)
    {
        return;
    }
    if (arena != m_arena)
    {
        Flush();
        m_arena = arena;
    }
    ++m_count;
}

void DataSetArena::Releases::Flush()
{
    if (m_arena != nullptr && m_count > 0)
    {
        m_arena->Release(m_count);
    }
    m_arena = nullptr;
    m_count = 0;
}

SetArenaLoan::SetArenaLoan(DICOMVRSet& set, DataSetArena* arena)
    : m_set(set), m_previous(set.m_arena)
{
    set.m_arena = arena;
}

SetArenaLoan::~SetArenaLoan()
{
    m_set.m_arena = m_previous;
}
