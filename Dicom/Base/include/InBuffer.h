// InBuffer: the chunked input stream every reader of DICOM data goes
// through. It pulls bytes from a source (a file, or nothing for a memory
// stream) into a list of chunks and hands them out in order; multi-byte
// values are read in host (little-endian) order. MemInBuffer reads only the
// blocks attached to it.
#pragma once

#include "BufferChunk.h"
#include "VeltaroExport.h"

#include <cstdint>
#include <cstring>

class OutBuffer;

class VELTARO_API InBuffer
{
public:
    static constexpr std::uint32_t DefaultChunkSize = 0x8000;

    InBuffer();
    InBuffer(const InBuffer&) = delete;
    InBuffer& operator=(const InBuffer&) = delete;
    virtual ~InBuffer();

    // Host-order reads; 0 (nothing consumed, the value untouched) when the
    // bytes cannot be had.
    virtual int Get4(std::uint32_t& value);
    virtual int Get2(std::uint16_t& value);
    virtual int Get1(std::uint8_t& value);
    // Frees every chunk; the count of consumed bytes stays.
    virtual void Reset();
    virtual int IsValid() const { return 1; }
    // Moves the unread bytes to the end of the output stream.
    virtual int TransferTo(OutBuffer& target);
    // Moves the chunks to the end of the other input stream; 0 when there is
    // nothing to move.
    virtual int TransferTo(InBuffer& target);
    // Appends a copy of every chunk to the other stream.
    virtual int CopyTo(InBuffer& target) const;
    // The most bytes the stream can still deliver: what it holds plus what
    // its source has left.
    virtual std::uint32_t GetRemaining();

    // Pulls from the source until n more bytes are buffered; 0 when the
    // source ended first.
    int FillAtLeast(std::uint32_t n);
    // Buffers up to n bytes; returns n, or what could be had.
    std::uint32_t Ensure(std::uint32_t n);
    std::uint32_t Read(void* target, std::uint32_t n)
    {
        // Most reads take a few bytes from the middle of the first chunk.
        const auto* head = m_chunks.GetHead();
        if (head != nullptr && head->item->GetLeft() > n)
        {
            BufferChunk* first = head->item;
            std::memcpy(target, first->Data + first->Position, n);
            first->Position += n;
            m_consumed += n;
            m_available -= n;
            return n;
        }
        return ReadAcrossChunks(target, n);
    }
    std::uint32_t Skip(std::uint32_t n);
    // Copies without consuming.
    std::uint32_t Peek(void* target, std::uint32_t n);
    std::uint32_t ReadAll(void* target);
    // Puts n bytes back in front of the stream; returns 1.
    int PutBack(const void* source, std::uint32_t n);
    // Appends a block of n valid bytes; an owned block (allocated with
    // new[]) is freed by the stream, another one is only read.
    int Attach(void* block, std::uint32_t n, bool owned);
    int Attach(const void* block, std::uint32_t n);
    // The next n bytes in place when the first chunk holds them all, else
    // null; nothing is consumed.
    const std::uint8_t* GetContiguous(std::uint32_t n);

    // The source is asked for at least n bytes at each pull: a reader that
    // knows it will want more than it asks for at first spares system calls.
    void SetPullSize(std::uint32_t n) { m_pullSize = n; }

    std::uint32_t GetConsumed() const { return m_consumed; }
    std::uint32_t GetAvailable() const { return m_available; }
    std::uint32_t GetChunkSize() const { return m_chunkSize; }
    int GetChunkCount() const { return m_chunks.GetCount(); }

protected:
    friend class OutBuffer;

    // Reads up to count bytes of the source into the block: the bytes
    // delivered, 0 when nothing came yet, -1 when the source has ended.
    virtual int ReadSource(void* block, std::uint32_t count) = 0;
    // True when the source is known to deliver nothing more, so that no
    // chunk is made for a pull; such a pull counts as one the source failed.
    virtual bool IsSourceEnded() { return false; }
    // Appends one chunk of up to `request` bytes from the source, or of the
    // pull size when that is more; 0 when the source has ended.
    int ReadChunk(std::uint32_t request);

private:
    std::uint32_t ReadAcrossChunks(void* target, std::uint32_t n);
    BufferChunk* GetHeadChunk();
    std::uint32_t TakeBuffered(std::uint8_t* target, std::uint32_t n);
    template <typename T> int GetValue(T& value);

    std::uint32_t m_consumed = 0;
    std::uint32_t m_chunkSize = DefaultChunkSize;
    std::uint32_t m_available = 0;
    std::uint32_t m_pullSize = 1;
    ChunkList m_chunks;
};

class VELTARO_API MemInBuffer : public InBuffer
{
public:
    MemInBuffer() = default;
    // A stream over the caller's bytes, which it never frees.
    MemInBuffer(const void* block, std::uint32_t n) { Attach(block, n); }
    virtual int IsEnd() const { return GetAvailable() == 0 ? 1 : 0; }

protected:
    int ReadSource(void* block, std::uint32_t count) override;
    bool IsSourceEnded() override { return true; }
};
