// One chunk of a byte stream: a data block with a size and a position. In an
// input stream the size is the number of valid bytes and the position the
// read position; in an output stream the size is the capacity and the
// position the number of bytes used. A block that belongs to a caller is
// never freed, nor written to, by the stream.
#pragma once

#include "Array.h"

#include <cstdint>

struct BufferChunk
{
    std::uint32_t Size = 0;
    std::uint32_t Position = 0;
    int NotOwned = 0;
    // The owned block is a pull-sized one that may wait for the next chunk.
    bool Reusable = false;
    std::uint8_t* Data = nullptr;

    std::uint32_t GetLeft() const { return Size - Position; }
};

using ChunkList = Array<BufferChunk*>;

// A chunk with an owned block of the given size, or null when the memory
// cannot be had. A size above a quarter of ChunkReuseSize and up to it, as a
// stream's pulls have, gets a block of ChunkReuseSize bytes, which the
// process keeps for the next such chunk when this one is freed.
inline constexpr std::uint32_t ChunkReuseSize = 0x8000;
BufferChunk* NewChunk(std::uint32_t size);
// A chunk over a caller's block.
BufferChunk* NewChunk(std::uint8_t* block, std::uint32_t size, bool owned);
// Frees the chunk and, when it owns it, its block.
void FreeChunk(BufferChunk* chunk);
// Frees every chunk of the list and empties it.
void FreeChunks(ChunkList& chunks);
// Appends to target an owned copy of every chunk of source, with its size,
// its position and the bytes of its block that count (the first Size bytes
// of an input stream's chunk, the first Position bytes of an output
// stream's). False when memory runs out; the copies made stay in target.
bool CopyChunks(const ChunkList& source, ChunkList& target, std::uint32_t BufferChunk::*counted);
