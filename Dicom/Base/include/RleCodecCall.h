// The call of the RLE codec library "Vennet.dll" (entry "RLE_Dec", free
// function "Vennet_DEL"). RLE is decode-only.
//
// The entry takes one whole frame: the 64-byte header (segment count and
// offsets) followed by its segments. It puts the segments back together
// itself, most significant byte first and colour plane by plane as the
// standard stores them, and returns the pixels in the layout of
// uncompressed little-endian data: samples interleaved, least significant
// byte first. Handing it single segments would lose that ordering.
//
// The call needs the library, the entry and the free function; when one is
// missing it gives false at once, without a log line. An exception during
// the call (also one thrown by the sink) is logged as "Error of exception at
// RLE_Decode" and gives false.
#pragma once

#include "CodecCall.h"
#include "VeltaroExport.h"

class VELTARO_API RleCodecCall
{
public:
    // Decodes one frame; the pixels (as many bytes as the entry reported)
    // go to the output.
    static bool Decode(CodecInput frame, const CodecSink& sink);
    static bool Decode(InBuffer& frame, OutBuffer& output);
};
