// What FrameIterator and ImageProcess share to decode and encode one frame:
// the compressed transfer syntaxes with the codec call each goes to, the
// choice of the entry's sample layout, and the decoding of a frame into a
// buffer of native little-endian samples with the checks and log lines
// both classes write (each with its own class and member name).
#pragma once

#include "CodecCall.h"
#include "J2kCodecCall.h"
#include "JpegCodecCall.h"
#include "UID.h"

#include <cstdint>
#include <functional>

enum class enFrameCodec
{
    Jpeg,
    J2k,
    Rle
};

struct FrameSyntax
{
    const UID* syntax;
    const char* decoderName; // "JPEGProc14Decode"
    const char* encoderName; // "JPEGProc14Encode", null for RLE
    enFrameCodec codec;
    enJpegProcess process; // JPEG only
    enJ2kCoding coding;    // JPEG 2000 only
    // The private 13- to 16-bit full progression syntaxes store samples
    // shifted right by 1 to 4 bits in a 12-bit stream.
    int shift;
};

// The row of a compressed syntax the classes decode, or null.
const FrameSyntax* FindFrameSyntax(const UID& syntax);

// Colour images go to the "RGB" entries; grey images of more than 8 bits
// allocated to "16Bit" (lossless JPEG, JPEG 2000) or "12Bit" (the other
// JPEG processes but baseline, which has 8-bit entries only); the private
// syntaxes always to "12Bit"; the rest to "8Bit".
enCodecLayout SelectFrameLayout(const FrameSyntax& row, bool isColour, int bitsAllocated);

// Whether a photometric interpretation names three colour samples
// ("RGB" and the "YBR_" family), in any case.
bool IsColourPhotometric(const char* photometric);

// One decoding, described for its log lines: "<owner>::<reportName>, Row =
// ..." and "Invoke <decoderName> failed".
struct FrameDecodeJob
{
    const char* owner;      // "FrameIterator", "ImageProcess"
    const char* reportName; // member named in the geometry lines
    const FrameSyntax* row;
    enCodecLayout layout;
    int rows;
    int columns;
    int bitsAllocated;
};

struct DecodedFrame
{
    std::uint8_t* buffer = nullptr; // new[]; the caller owns it
    std::uint32_t length = 0;
};

// Decodes one compressed frame. JPEG and JPEG 2000 results are checked
// against the geometry (a mismatch is logged, a short result is padded
// with zeros to rows x columns x bits allocated / 8 bytes); the private
// syntaxes' samples are shifted back. RLE frames go whole to the codec,
// which gives interleaved little-endian samples. On failure the log line
// is written and nothing is allocated.
bool DecodeFrame(const FrameDecodeJob& job, CodecInput data, DecodedFrame& out);

// Runs one decoding or encoding step. An exception escaping it goes to the
// library's exception filter and is logged as "Error of exception at " and
// the step's name; the result is then 0.
int RunGuardedStep(const char* where, const std::function<int()>& step);
