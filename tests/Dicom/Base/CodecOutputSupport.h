// Helpers of the codec call tests: what a call appends to its sink, and a
// decode call's result gathered in one value.
#pragma once

#include "CodecCall.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// Collects what a codec call appends.
struct CollectedOutput
{
    std::vector<std::uint8_t> bytes;
    int appends = 0;

    CodecSink GetSink()
    {
        return [this](const std::uint8_t* data, std::uint32_t length)
        {
            bytes.insert(bytes.end(), data, data + length);
            ++appends;
        };
    }
    bool IsAll(std::uint8_t value) const
    {
        return std::all_of(bytes.begin(), bytes.end(),
                           [value](std::uint8_t b) { return b == value; });
    }
};

// A decode call's result, the size it reported and what it appended.
struct DecodedFrame
{
    bool isDecoded = false;
    int rows = 0;
    int columns = 0;
    CollectedOutput output;
};

// The frame the call (JpegCodecCall or J2kCodecCall) decodes from the stream.
template <typename Call, typename Coding>
DecodedFrame DecodeFrame(Coding coding, enCodecLayout layout,
                         const std::vector<std::uint8_t>& stream)
{
    DecodedFrame frame;
    frame.isDecoded =
        Call::Decode(coding, layout, stream, frame.output.GetSink(), frame.rows, frame.columns);
    return frame;
}
