#include "OutBuffer.h"

#include "InBuffer.h"

#include <algorithm>
#include <cstring>

namespace
{

// When a chunk of a large write's own size cannot be had, the write goes
// into pieces of a quarter of it, or of 64 MiB for the largest writes.
constexpr std::uint32_t LargestQuarterWrite = 0x3FFFFFF;
constexpr std::uint32_t LargestPiece = 0x4000000;

} // namespace

OutBuffer::OutBuffer() = default;

OutBuffer::~OutBuffer()
{
    FreeChunks(m_chunks);
}

void OutBuffer::Reset()
{
    FreeChunks(m_chunks);
    m_chunkSize = DefaultChunkSize;
    m_total = 0;
}

BufferChunk* OutBuffer::AppendChunk(std::uint32_t capacity)
{
    BufferChunk* chunk = NewChunk(capacity);
    if (chunk != nullptr)
    {
        m_chunks.AddTail(chunk);
    }
    return chunk;
}

std::uint32_t OutBuffer::Write(const void* source, std::uint32_t n)
{
    const std::uint8_t* bytes = static_cast<const std::uint8_t*>(source);
    if (m_chunks.GetTail() == nullptr && AppendChunk(m_chunkSize) == nullptr)
    {
        return 0;
    }
    std::uint32_t piece = DefaultChunkSize;
    if (n >= m_chunkSize && m_chunks.GetTail()->item->GetLeft() < n)
    {
        if (AppendChunk(n) == nullptr)
        {
            piece = n <= LargestQuarterWrite ? n / 4 : LargestPiece;
        }
    }
    std::uint32_t done = 0;
    while (done < n)
    {
        BufferChunk* tail = m_chunks.GetTail()->item;
        if (tail->GetLeft() == 0)
        {
            tail = AppendChunk(piece);
            if (tail == nullptr)
            {
                break;
            }
        }
        const std::uint32_t part = std::min(n - done, tail->GetLeft());
        std::memcpy(tail->Data + tail->Position, bytes + done, part);
        tail->Position += part;
        done += part;
    }
    m_total += done;
    return done;
}

template <typename T> OutBuffer& OutBuffer::PutValue(T value)
{
    if (m_chunks.GetTail() == nullptr)
    {
        AppendChunk(m_chunkSize);
    }
    BufferChunk* tail = m_chunks.GetTail() != nullptr ? m_chunks.GetTail()->item : nullptr;
    if (tail != nullptr && tail->GetLeft() >= sizeof(T))
    {
        std::memcpy(tail->Data + tail->Position, &value, sizeof(T));
        tail->Position += sizeof(T);
        m_total += sizeof(T);
    }
    else
    {
        Write(&value, sizeof(T));
    }
    return *this;
}

OutBuffer& OutBuffer::Put4(std::uint32_t value)
{
    return PutValue(value);
}

OutBuffer& OutBuffer::Put2(std::uint16_t value)
{
    return PutValue(value);
}

OutBuffer& OutBuffer::Put1(std::uint8_t value)
{
    return PutValue(value);
}

int OutBuffer::Flush()
{
    int result = 1;
    for (auto* node = m_chunks.GetHead(); node != nullptr; node = node->next)
    {
        const BufferChunk* chunk = node->item;
        if (chunk->Position != 0 && WriteSink(chunk->Data, chunk->Position) == 0)
        {
            result = 0;
        }
    }
    FreeChunks(m_chunks);
    m_total = 0;
    return result;
}

void OutBuffer::CopyOut(void* target)
{
    std::uint8_t* bytes = static_cast<std::uint8_t*>(target);
    for (auto* node = m_chunks.GetHead(); node != nullptr; node = node->next)
    {
        const BufferChunk* chunk = node->item;
        if (chunk->Data != bytes) // a caller's block attached first is already in place
        {
            std::memmove(bytes, chunk->Data, chunk->Position);
        }
        bytes += chunk->Position;
    }
    FreeChunks(m_chunks);
    m_total = 0;
}

int OutBuffer::Attach(void* block, std::uint32_t capacity, bool owned)
{
    m_chunks.AddTail(NewChunk(static_cast<std::uint8_t*>(block), capacity, owned));
    return 1;
}

std::uint32_t OutBuffer::GetChunkCapacity(int index) const
{
    const BufferChunk* chunk = m_chunks.GetAt(index);
    return chunk != nullptr ? chunk->Size : 0;
}

int OutBuffer::TransferTo(InBuffer& target)
{
    for (auto* node = m_chunks.GetHead(); node != nullptr; node = node->next)
    {
        node->item->Size = node->item->Position;
        node->item->Position = 0;
    }
    m_chunks.MoveAllTo(target.m_chunks);
    FreeChunks(m_chunks);
    target.m_available += m_total;
    m_total = 0;
    return 1;
}

int OutBuffer::TransferTo(OutBuffer& target)
{
    if (m_chunks.MoveAllTo(target.m_chunks) == 0)
    {
        return 0;
    }
    target.m_total += m_total;
    m_total = 0;
    return 1;
}

int OutBuffer::CopyTo(OutBuffer& target) const
{
    if (!CopyChunks(m_chunks, target.m_chunks, &BufferChunk::Position))
    {
        return 0;
    }
    target.m_total = m_total;
    return 1;
}

int MemOutBuffer::Flush()
{
    Reset();
    return 0;
}

int MemOutBuffer::WriteSink(const void*, std::uint32_t)
{
    return 0;
}
