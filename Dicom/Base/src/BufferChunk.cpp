#include "BufferChunk.h"

#include <new>

BufferChunk* NewChunk(std::uint32_t size)
{
    std::uint8_t* block = new (std::nothrow) std::uint8_t[size > 0 ? size : 1];
    if (block == nullptr)
    {
        return nullptr;
    }
    return NewChunk(block, size, true);
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
    if (chunk->NotOwned == 0)
    {
        delete[] chunk->Data;
    }
    delete chunk;
}

void FreeChunks(ChunkList& chunks)
{
    for (auto* node = chunks.GetHead(); node != nullptr; node = node->next)
    {
        FreeChunk(node->item);
    }
    chunks.RemoveAll();
}
