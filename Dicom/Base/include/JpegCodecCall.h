// Calls of the JPEG codec libraries "Quorex.dll" and "Quoral.dll": one
// encode and one decode per process and sample layout, as the entries are
// named ("JPEGBaseline_8BitEncode", "JPEGProc14_RGBDecode", ...).
//
// Each call loads "Quorex.dll", calls the entry, appends its result to the
// sink, gives the result back with the library's "jpgdel" and frees the
// library. A missing library or entry, a null result or an exception (also
// one thrown by the sink) gives false without a log line. A missing "jpgdel"
// does not stop the call; the result then stays with the library.
//
// The lossless 16-bit decode is the one call that chooses its library: see
// SelectLossless16Library.
#pragma once

#include "CodecCall.h"
#include "VeltaroExport.h"

#include <string>

enum class enJpegProcess
{
    Baseline,     // "JPEGBaseline": 8Bit, RGB
    Proc14,       // "JPEGProc14": 8Bit, 16Bit, RGB (lossless)
    Proc14SV1,    // "JPEGProc14SV1": 8Bit, 16Bit, RGB (lossless, first predictor)
    ExtendedProc, // "JPEGExtendedProc": 8Bit, 12Bit, RGB
    SpectralProc, // "JPEGSpectralProc": 8Bit, 12Bit, RGB
    FullProgress  // "JPEGFullProgress": 8Bit, 12Bit, RGB
};

class VELTARO_API JpegCodecCall
{
public:
    // Whether the libraries have entries of that process and layout (the
    // same pairs encode and decode; "YBR", of the lossy processes only,
    // decodes only).
    static bool HasEntry(enJpegProcess process, enCodecLayout layout);
    // "<process>_<layout>Encode" or "...Decode".
    static std::string GetEntryName(enJpegProcess process, enCodecLayout layout, bool isEncode);
    static bool IsLossless(enJpegProcess process);

    // Compresses rows x columns pixels of the layout; the input must hold
    // them all. Quality (1 to 100) goes to the lossy processes only.
    static bool Encode(enJpegProcess process, enCodecLayout layout, CodecInput raw,
                       const CodecSink& sink, int rows, int columns, int quality);
    static bool Encode(enJpegProcess process, enCodecLayout layout, InBuffer& raw,
                       OutBuffer& output, int rows, int columns, int quality);

    // Decompresses one frame; rows and columns receive what the entry
    // reported, and rows x columns x bytes of the layout go to the output.
    static bool Decode(enJpegProcess process, enCodecLayout layout, CodecInput data,
                       const CodecSink& sink, int& rows, int& columns);
    static bool Decode(enJpegProcess process, enCodecLayout layout, InBuffer& data,
                       OutBuffer& output, int& rows, int& columns);
    // Decompresses one frame of a lossy process in the 8-bit layouts (8Bit,
    // RGB, YBR) straight into target, through the library's
    // "<process>_<layout>DecodeInto" entry. False, with nothing to rely on in
    // target, when the library lacks the entry, the stream is not an 8-bit
    // DCT stream, its image does not fill target exactly, or it is damaged:
    // Decode then gives the answer and its log lines.
    static bool DecodeInto(enJpegProcess process, enCodecLayout layout, CodecInput data,
                           std::span<std::uint8_t> target, int& rows, int& columns);

    // The library that decodes a lossless 16-bit frame: "Quoral.dll" for a
    // frame shorter than 64 bytes or one whose lossless frame header (FF C3)
    // gives a sample precision of 15, "Quorex.dll" for every other frame.
    // Both libraries must load for that decode to go ahead.
    static const char* SelectLossless16Library(CodecInput data);

private:
    static bool DoDecodeLossless16(CodecInput data, const CodecSink& sink, int& rows, int& columns);
};
