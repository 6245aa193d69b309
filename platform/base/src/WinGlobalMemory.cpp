#include "WinGlobalMemory.h"

#include "WinError.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_map>

namespace
{
struct SBlock
{
    void* data = nullptr;
    SIZE_T size = 0;
    LONG locks = 0;
    bool movable = false;
};

// Live blocks by handle. A movable block's handle is its record; a fixed
// block's handle is its data address.
struct SBlockTable
{
    std::mutex lock;
    std::unordered_map<HGLOBAL, SBlock*> blocks;
    std::unordered_map<const void*, HGLOBAL> handlesByAddress;
};

// Never destroyed: owners that go at process exit (static objects made
// before the first block) still free their blocks through it.
SBlockTable& GetBlockTable()
{
    static SBlockTable* const table = new SBlockTable;
    return *table;
}

// Never returns null for a successful allocation, also for size 0.
void* AllocateData(SIZE_T size, bool zero)
{
    const SIZE_T bytes = size == 0 ? 1 : size;
    return zero ? std::calloc(bytes, 1) : std::malloc(bytes);
}

SBlock* FindBlock(SBlockTable& table, HGLOBAL handle)
{
    const auto found = table.blocks.find(handle);
    return found == table.blocks.end() ? nullptr : found->second;
}

// Runs fn on the live block of handle under the table lock; an unknown handle
// sets ERROR_INVALID_HANDLE and gives failure.
template <typename T, typename F> T WithBlock(HGLOBAL handle, T failure, F fn)
{
    SBlockTable& table = GetBlockTable();
    std::lock_guard guard(table.lock);
    SBlock* block = FindBlock(table, handle);
    if (block == nullptr)
    {
        SetLastError(ERROR_INVALID_HANDLE);
        return failure;
    }
    return fn(table, *block);
}

HGLOBAL ReAllocFixed(SBlockTable& table, HGLOBAL handle, SBlock* block, SIZE_T size, UINT flags)
{
    if (size > block->size && (flags & GMEM_MOVEABLE) == 0)
    {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* data = size > block->size ? AllocateData(size, false) : block->data;
    if (data == nullptr)
    {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (data != block->data)
    {
        std::memcpy(data, block->data, block->size);
        std::free(block->data);
        table.blocks.erase(handle);
        table.handlesByAddress.erase(handle);
        block->data = data;
        table.blocks.emplace(data, block);
        table.handlesByAddress.emplace(data, data);
    }
    return data;
}

HGLOBAL ReAllocMovable(SBlockTable& table, HGLOBAL handle, SBlock* block, SIZE_T size)
{
    void* data = std::realloc(block->data, size == 0 ? 1 : size);
    if (data == nullptr)
    {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    table.handlesByAddress.erase(block->data);
    block->data = data;
    table.handlesByAddress.emplace(data, handle);
    return handle;
}
} // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T size)
{
    auto* block = new (std::nothrow) SBlock;
    void* data = AllocateData(size, (flags & GMEM_ZEROINIT) != 0);
    if (block == nullptr || data == nullptr)
    {
        delete block;
        std::free(data);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    block->data = data;
    block->size = size;
    block->movable = (flags & GMEM_MOVEABLE) != 0;
    const HGLOBAL handle = block->movable ? static_cast<HGLOBAL>(block) : data;
    SBlockTable& table = GetBlockTable();
    std::lock_guard guard(table.lock);
    table.blocks.emplace(handle, block);
    table.handlesByAddress.emplace(data, handle);
    return handle;
}

LPVOID GlobalLock(HGLOBAL handle)
{
    return WithBlock(handle, LPVOID(nullptr),
                     [](SBlockTable&, SBlock& block)
                     {
                         if (block.movable)
                         {
                             ++block.locks;
                         }
                         return block.data;
                     });
}

BOOL GlobalUnlock(HGLOBAL handle)
{
    return WithBlock(handle, BOOL(FALSE),
                     [](SBlockTable&, SBlock& block)
                     {
                         if (block.locks == 0)
                         {
                             SetLastError(block.movable ? ERROR_NOT_LOCKED : NO_ERROR);
                             return FALSE;
                         }
                         --block.locks;
                         if (block.locks == 0)
                         {
                             SetLastError(NO_ERROR);
                             return FALSE;
                         }
                         return TRUE;
                     });
}

SIZE_T GlobalSize(HGLOBAL handle)
{
    return WithBlock(handle, SIZE_T(0), [](SBlockTable&, SBlock& block) { return block.size; });
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, SIZE_T size, UINT flags)
{
    return WithBlock(
        handle, HGLOBAL(nullptr),
        [&](SBlockTable& table, SBlock& block)
        {
            if ((flags & GMEM_MODIFY) != 0)
            {
                return handle;
            }
            const SIZE_T oldSize = block.size;
            const HGLOBAL result = block.movable ? ReAllocMovable(table, handle, &block, size)
                                                 : ReAllocFixed(table, handle, &block, size, flags);
            if (result == nullptr)
            {
                return HGLOBAL(nullptr);
            }
            if (size > oldSize && (flags & GMEM_ZEROINIT) != 0)
            {
                std::memset(static_cast<char*>(block.data) + oldSize, 0, size - oldSize);
            }
            block.size = size;
            return result;
        });
}

HGLOBAL GlobalFree(HGLOBAL handle)
{
    if (handle == nullptr)
    {
        return nullptr;
    }
    // The data is released outside the lock, once no lookup can reach it.
    SBlock* block = WithBlock(handle, static_cast<SBlock*>(nullptr),
                              [&](SBlockTable& table, SBlock& found)
                              {
                                  table.blocks.erase(handle);
                                  table.handlesByAddress.erase(found.data);
                                  return &found;
                              });
    if (block == nullptr)
    {
        return handle;
    }
    std::free(block->data);
    delete block;
    return nullptr;
}

HGLOBAL GlobalHandle(LPCVOID address)
{
    SBlockTable& table = GetBlockTable();
    std::lock_guard guard(table.lock);
    const auto found = table.handlesByAddress.find(address);
    if (found == table.handlesByAddress.end())
    {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return found->second;
}

HLOCAL LocalAlloc(UINT flags, SIZE_T size)
{
    return GlobalAlloc(flags, size);
}

HLOCAL LocalFree(HLOCAL block)
{
    return GlobalFree(block);
}
