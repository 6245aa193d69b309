// Calls of the JPEG 2000 codec library "Quoral2K.dll": reversible coding
// through the "JP2_" entries, irreversible coding through the "JPC_"
// entries, each for the layouts "8Bit", "16Bit" and "RGB".
//
// Each call needs the library, the entry and the library's "JPGDEL"; when
// one of them is missing the call gives false at once, without a log line.
// An exception during the call (also one thrown by the sink) is logged as
// "Error of exception at " and the routine's name ("JP2KLossless_8BitDecode",
// "JP2KLossy_RGBEncode", ...) and gives false. The result is given back with
// "JPGDEL" and the library freed on every way out.
#pragma once

#include "CodecCall.h"
#include "VeltaroExport.h"

#include <string>

enum class enJ2kCoding
{
    Lossless, // "JP2_" entries, routines "JP2KLossless_..."
    Lossy     // "JPC_" entries, routines "JP2KLossy_..."
};

class VELTARO_API J2kCodecCall
{
public:
    // "8Bit", "16Bit" and "RGB" have entries; "12Bit" and "YBR" have none.
    static bool HasEntry(enCodecLayout layout);
    static std::string GetEntryName(enJ2kCoding coding, enCodecLayout layout, bool isEncode);
    static std::string GetRoutineName(enJ2kCoding coding, enCodecLayout layout, bool isEncode);

    // The layout for a frame: colour images ("RGB", "YBR_ICT" and
    // "YBR_RCT", in any case: the decoder undoes the colour transform
    // itself) go to "RGB", other images of more than 8 bits allocated to
    // "16Bit", the rest to "8Bit".
    static enCodecLayout SelectLayout(const char* photometric, int bitsAllocated);

    // Compresses rows x columns pixels of the layout; the input must hold
    // them all. isSigned marks two's complement samples.
    static bool Encode(enJ2kCoding coding, enCodecLayout layout, CodecInput raw,
                       const CodecSink& sink, int rows, int columns, bool isSigned);
    static bool Encode(enJ2kCoding coding, enCodecLayout layout, InBuffer& raw, OutBuffer& output,
                       int rows, int columns, bool isSigned);

    // Decompresses one frame (a bare codestream or a JP2 file); rows and
    // columns receive what the entry reported, and rows x columns x bytes
    // of the layout go to the output.
    static bool Decode(enJ2kCoding coding, enCodecLayout layout, CodecInput data,
                       const CodecSink& sink, int& rows, int& columns);
    static bool Decode(enJ2kCoding coding, enCodecLayout layout, InBuffer& data, OutBuffer& output,
                       int& rows, int& columns);
};
