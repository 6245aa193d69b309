// What every call of an outside codec library takes and gives: the input as
// one contiguous block, the output appended through a sink, and the pixel
// layouts the entries are named by. Every routine also comes with an input
// and an output byte stream: the unread input is gathered into one block
// and the result written to the end of the output stream.
//
// The libraries are found by file name at each call and freed after it;
// nothing is kept between calls. A missing library or entry, a null result
// and an exception all come back as false.
#pragma once

#include "VeltaroExport.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

class InBuffer;
class OutBuffer;

// The bytes one call handed in: compressed data, or raw pixels row after
// row, 16-bit samples little endian, colour interleaved R, G, B.
using CodecInput = std::span<const std::uint8_t>;

// Receives the bytes a call produced, once, after the entry succeeded; the
// caller appends them to its output stream.
using CodecSink = std::function<void(const std::uint8_t* data, std::uint32_t length)>;

// The sample layout an entry is named by: "8Bit", "12Bit", "16Bit", "RGB",
// and "YBR": colour components as the stream codes them, not transformed.
enum class enCodecLayout
{
    Bits8,
    Bits12,
    Bits16,
    RGB,
    YBR
};

// Bytes one pixel takes in a layout: 1, 2, 2, 3 or 3.
VELTARO_API int GetCodecLayoutBytes(enCodecLayout layout);
// The layout as entry names spell it.
VELTARO_API const char* GetCodecLayoutName(enCodecLayout layout);

// Reads every byte the stream can still deliver into one block.
VELTARO_API std::vector<std::uint8_t> GatherCodecInput(InBuffer& input);
// A sink writing to the end of the stream; a write that falls short (the
// memory ran out) fails the call.
VELTARO_API CodecSink MakeStreamSink(OutBuffer& output);
