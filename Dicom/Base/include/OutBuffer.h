// OutBuffer: the chunked output stream every writer of DICOM data goes
// through. Written bytes collect in a list of chunks and go to a sink (a
// file, or nothing for a memory stream) when flushed; multi-byte values are
// written in host (little-endian) order.
#pragma once

#include "BufferChunk.h"
#include "VeltaroExport.h"

#include <cstdint>

class InBuffer;

class VELTARO_API OutBuffer
{
public:
    static constexpr std::uint32_t DefaultChunkSize = 0x8000;

    OutBuffer();
    OutBuffer(const OutBuffer&) = delete;
    OutBuffer& operator=(const OutBuffer&) = delete;
    virtual ~OutBuffer();

    virtual OutBuffer& Put4(std::uint32_t value);
    virtual OutBuffer& Put2(std::uint16_t value);
    virtual OutBuffer& Put1(std::uint8_t value);
    // Frees every chunk.
    virtual void Reset();
    // Sends every chunk to the sink and frees it; 1 when every write
    // succeeded.
    virtual int Flush();
    virtual int IsValid() const { return 1; }
    // Hands the written bytes to the end of an input stream.
    virtual int TransferTo(InBuffer& target);
    virtual int TransferTo(OutBuffer& target);
    virtual int CopyTo(OutBuffer& target) const;

    // Returns the bytes written: n, unless memory ran out.
    std::uint32_t Write(const void* source, std::uint32_t n);
    // Copies every chunk's bytes into target, in order, and frees the chunks.
    void CopyOut(void* target);
    // Appends an empty chunk over the caller's block, which writes fill
    // first; an owned block (allocated with new[]) is freed by the stream.
    int Attach(void* block, std::uint32_t capacity, bool owned);

    // Bytes written and not yet flushed.
    std::uint32_t GetTotal() const { return m_total; }
    int GetChunkCount() const { return m_chunks.GetCount(); }
    // The capacity of the chunk at index, 0 when there is none.
    std::uint32_t GetChunkCapacity(int index) const;

protected:
    friend class InBuffer;

    // Writes the block to the sink; nonzero on success.
    virtual int WriteSink(const void* block, std::uint32_t n) = 0;

private:
    template <typename T> OutBuffer& PutValue(T value);
    BufferChunk* AppendChunk(std::uint32_t capacity);

    std::uint32_t m_chunkSize = DefaultChunkSize;
    std::uint32_t m_total = 0;
    ChunkList m_chunks;
};

class VELTARO_API MemOutBuffer : public OutBuffer
{
public:
    // There is no sink: the content is dropped and 0 returned.
    int Flush() override;

protected:
    int WriteSink(const void* block, std::uint32_t n) override;
};
