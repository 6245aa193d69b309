#include "BufferChunk.h"

#include "SpareBlock.h"

#include <cstring>
#include <new>

namespace
{

SpareBlock<std::uint8_t> g_spareBlock;

bool IsPullSized(std::uint32_t size)
{
    return size > ChunkReuseSize / 4 && size <= ChunkReuseSize;
}

std::uint8_t* TakeReusableBlock()
{
    std::uint8_t* block = g_spareBlock.Take();
    return block != nullptr ? block : new (std::nothrow) std::uint8_t[ChunkReuseSize];
}

void GiveBackReusableBlock(std::uint8_t* block)
{
    if (!g_spareBlock.Keep(block))
    {
        delete[] block;
    }
}

} // namespace

BufferChunk* NewChunk(std::uint32_t size)
{
    const bool reusable = IsPullSized(size);
    std::uint8_t* block =
        reusable ? TakeReusableBlock() : new (std::nothrow) std::uint8_t[size > 0 ? size : 1];
    if (block == nullptr)
    {
        return nullptr;
    }
    BufferChunk* chunk = NewChunk(block, size, true);
    chunk->Reusable = reusable;
    return chunk;
}

BufferChunk* NewChunk(std::uint8_t* block, std::uint32_t size, bool owned)
{
    BufferChunk* chunk = new BufferChunk;
    chunk->Size = size;
    chunk->NotOwned = owned ? 0 : 1;
    chunk->Data = block;
    return chunk;
}

void FreeChunk(BufferChunk* chunk)
{
    if (chunk->NotOwned == 0 && chunk->Reusable)
    {
        GiveBackReusableBlock(chunk->Data);
    }
    else if (chunk->NotOwned == 0)
    {
        delete[] chunk->Data;
    }
    delete chunk;
}

bool CopyChunks(const ChunkList& source, ChunkList& target, std::uint32_t BufferChunk::*counted)
{
    for (auto* node = source.GetHead(); node != nullptr; node = node->next)
    {
        const BufferChunk* chunk = node->item;
        BufferChunk* copy = NewChunk(chunk->Size);
        if (copy == nullptr)
        {
            return false;
        }
        std::memcpy(copy->Data, chunk->Data, chunk->*counted);
        copy->Position = chunk->Position;
        target.AddTail(copy);
    }
    return true;
}

void FreeChunks(ChunkList& chunks)
{
    for (auto* node = chunks.GetHead(); node != nullptr; node = node->next)
    {
        FreeChunk(node->item);
    }
    chunks.RemoveAll();
}
