#include "InBuffer.h"

#include "OutBuffer.h"

#include <algorithm>
#include <cstring>

namespace
{

// One pull never asks the source for more than this, so that a length read
// from hostile data cannot make the stream allocate more than the source
// really holds.
constexpr std::uint32_t MaxPullSize = 0x100000;

// The unread bytes of an input chunk as a full chunk of its own.
BufferChunk* UnreadPart(BufferChunk* chunk)
{
    if (chunk->Position == 0)
    {
        return chunk;
    }
    BufferChunk* tail = NewChunk(chunk->GetLeft());
    if (tail != nullptr)
    {
        std::memcpy(tail->Data, chunk->Data + chunk->Position, chunk->GetLeft());
    }
    FreeChunk(chunk);
    return tail;
}

} // namespace

InBuffer::InBuffer() = default;

InBuffer::~InBuffer()
{
    FreeChunks(m_chunks);
}

void InBuffer::Reset()
{
    FreeChunks(m_chunks);
    m_chunkSize = DefaultChunkSize;
    m_available = 0;
}

std::uint32_t InBuffer::GetRemaining()
{
    return m_available;
}

int InBuffer::ReadChunk(std::uint32_t request)
{
    if (IsSourceEnded())
    {
        return 0;
    }
    request = std::clamp<std::uint32_t>(std::max(request, m_pullSize), 1, MaxPullSize);
    BufferChunk* chunk = NewChunk(request);
    if (chunk == nullptr)
    {
        return 0;
    }
    int delivered = 0;
    do
    {
        delivered = ReadSource(chunk->Data, request);
    } while (delivered == 0);
    if (delivered < 0)
    {
        FreeChunk(chunk);
        return 0;
    }
    const std::uint32_t size = static_cast<std::uint32_t>(delivered);
    // A short block is copied to one of its size, unless the block goes back
    // for the next pull anyway.
    if (size < request / 2 && !chunk->Reusable)
    {
        BufferChunk* exact = NewChunk(size);
        if (exact != nullptr)
        {
            std::memcpy(exact->Data, chunk->Data, size);
            FreeChunk(chunk);
            chunk = exact;
        }
    }
    chunk->Size = size;
    m_available += size;
    m_chunks.AddTail(chunk);
    return 1;
}

int InBuffer::FillAtLeast(std::uint32_t n)
{
    if (n != 0)
    {
        m_chunkSize = n;
    }
    const std::uint64_t target = static_cast<std::uint64_t>(m_available) + n;
    while (m_available < target)
    {
        m_chunkSize =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(target - m_available, 0xFFFFFFFFu));
        if (ReadChunk(m_chunkSize) == 0)
        {
            return 0;
        }
    }
    m_chunkSize = DefaultChunkSize;
    return 1;
}

std::uint32_t InBuffer::Ensure(std::uint32_t n)
{
    if (m_available < n)
    {
        FillAtLeast(n - m_available);
    }
    return std::min(n, m_available);
}

BufferChunk* InBuffer::GetHeadChunk()
{
    while (m_chunks.GetHead() != nullptr)
    {
        BufferChunk* head = m_chunks.GetHead()->item;
        if (head->GetLeft() > 0)
        {
            return head;
        }
        m_chunks.Remove(head);
        FreeChunk(head);
    }
    return nullptr;
}

// Takes up to n buffered bytes (copying them when target is not null),
// freeing every chunk it empties.
std::uint32_t InBuffer::TakeBuffered(std::uint8_t* target, std::uint32_t n)
{
    std::uint32_t done = 0;
    while (done < n)
    {
        BufferChunk* head = GetHeadChunk();
        if (head == nullptr)
        {
            break;
        }
        const std::uint32_t part = std::min(n - done, head->GetLeft());
        if (target != nullptr)
        {
            std::memcpy(target + done, head->Data + head->Position, part);
        }
        head->Position += part;
        done += part;
    }
    GetHeadChunk();
    m_consumed += done;
    m_available -= done;
    return done;
}

// Large reads go from the source straight into the target once the buffered
// bytes are used up, so that a long value is not held twice.
std::uint32_t InBuffer::ReadAcrossChunks(void* target, std::uint32_t n)
{
    std::uint8_t* bytes = static_cast<std::uint8_t*>(target);
    std::uint32_t done = TakeBuffered(bytes, n);
    while (done < n)
    {
        const std::uint32_t left = n - done;
        if (left >= DefaultChunkSize)
        {
            const int delivered = ReadSource(bytes + done, left);
            if (delivered < 0)
            {
                break;
            }
            done += static_cast<std::uint32_t>(delivered);
            m_consumed += static_cast<std::uint32_t>(delivered);
            continue;
        }
        if (ReadChunk(DefaultChunkSize) == 0)
        {
            break;
        }
        done += TakeBuffered(bytes + done, left);
    }
    return done;
}

std::uint32_t InBuffer::Skip(std::uint32_t n)
{
    std::uint32_t done = TakeBuffered(nullptr, n);
    while (done < n && ReadChunk(std::min(n - done, MaxPullSize)) != 0)
    {
        done += TakeBuffered(nullptr, n - done);
    }
    return done;
}

std::uint32_t InBuffer::Peek(void* target, std::uint32_t n)
{
    const std::uint32_t count = Ensure(n);
    std::uint8_t* bytes = static_cast<std::uint8_t*>(target);
    std::uint32_t done = 0;
    for (auto* node = m_chunks.GetHead(); node != nullptr && done < count; node = node->next)
    {
        const BufferChunk* chunk = node->item;
        const std::uint32_t part = std::min(count - done, chunk->GetLeft());
        std::memcpy(bytes + done, chunk->Data + chunk->Position, part);
        done += part;
    }
    return done;
}

std::uint32_t InBuffer::ReadAll(void* target)
{
    return Read(target, m_available);
}

template <typename T> int InBuffer::GetValue(T& value)
{
    BufferChunk* head = GetHeadChunk();
    if (head != nullptr && head->GetLeft() >= sizeof(T))
    {
        std::memcpy(&value, head->Data + head->Position, sizeof(T));
        head->Position += sizeof(T);
        m_consumed += sizeof(T);
        m_available -= sizeof(T);
        return 1;
    }
    if (Ensure(sizeof(T)) < sizeof(T))
    {
        return 0;
    }
    Read(&value, sizeof(T));
    return 1;
}

int InBuffer::Get4(std::uint32_t& value)
{
    return GetValue(value);
}

int InBuffer::Get2(std::uint16_t& value)
{
    return GetValue(value);
}

int InBuffer::Get1(std::uint8_t& value)
{
    return GetValue(value);
}

// Bytes go back into the first chunk only when the stream owns its block;
// a caller's block is never written to, though a read position may move
// back over bytes that are already the same.
int InBuffer::PutBack(const void* source, std::uint32_t n)
{
    if (n == 0)
    {
        return 1;
    }
    BufferChunk* head = m_chunks.GetHead() != nullptr ? m_chunks.GetHead()->item : nullptr;
    const bool fitsBefore = head != nullptr && head->Position >= n;
    if (fitsBefore && head->NotOwned == 0)
    {
        head->Position -= n;
        std::memcpy(head->Data + head->Position, source, n);
    }
    else if (fitsBefore && std::memcmp(head->Data + head->Position - n, source, n) == 0)
    {
        head->Position -= n;
    }
    else
    {
        BufferChunk* chunk = NewChunk(n);
        if (chunk == nullptr)
        {
            return 0;
        }
        std::memcpy(chunk->Data, source, n);
        m_chunks.AddHead(chunk);
    }
    m_available += n;
    m_consumed -= n;
    return 1;
}

int InBuffer::Attach(void* block, std::uint32_t n, bool owned)
{
    m_chunks.AddTail(NewChunk(static_cast<std::uint8_t*>(block), n, owned));
    m_available += n;
    return 1;
}

// The block is never written through the stream, which holds it as its
// input chunks hold every caller's block.
int InBuffer::Attach(const void* block, std::uint32_t n)
{
    return Attach(const_cast<void*>(block), n, false);
}

const std::uint8_t* InBuffer::GetContiguous(std::uint32_t n)
{
    const BufferChunk* head = GetHeadChunk();
    if (head == nullptr || head->GetLeft() < n)
    {
        return nullptr;
    }
    return head->Data + head->Position;
}

int InBuffer::TransferTo(OutBuffer& target)
{
    ChunkList full;
    for (auto* node = m_chunks.GetHead(); node != nullptr; node = node->next)
    {
        BufferChunk* chunk = UnreadPart(node->item);
        if (chunk != nullptr && chunk->Size > 0)
        {
            chunk->Position = chunk->Size;
            full.AddTail(chunk);
        }
        else if (chunk != nullptr)
        {
            FreeChunk(chunk);
        }
    }
    m_chunks.RemoveAll();
    full.MoveAllTo(target.m_chunks);
    target.m_total += m_available;
    m_available = 0;
    return 1;
}

int InBuffer::TransferTo(InBuffer& target)
{
    if (m_chunks.MoveAllTo(target.m_chunks) == 0)
    {
        return 0;
    }
    target.m_available += m_available;
    m_available = 0;
    return 1;
}

int InBuffer::CopyTo(InBuffer& target) const
{
    if (!CopyChunks(m_chunks, target.m_chunks, &BufferChunk::Size))
    {
        return 0;
    }
    target.m_available = m_available;
    return 1;
}

int MemInBuffer::ReadSource(void*, std::uint32_t)
{
    return -1;
}
