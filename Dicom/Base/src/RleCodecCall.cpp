#include "RleCodecCall.h"

#include "CodecEntryCall.h"

namespace
{
constexpr const char* VennetFile = "Vennet.dll";

// (frame, its length, receives the length of the pixels).
using PFN_RleDecode = unsigned char* (*)(const unsigned char*, int, int*);
} // namespace

bool RleCodecCall::Decode(CodecInput frame, const CodecSink& sink)
{
    const CodecEntryPlan plan{"RLE_Dec", "Vennet_DEL", enCodecGuard::Checked, "RLE_Decode"};
    return DoLibraryCall<PFN_RleDecode>(
        VennetFile, plan, frame, sink,
        [](PFN_RleDecode entry, const unsigned char* pFrame, int length, std::int64_t& outLength)
        {
            int pixelLength = 0;
            unsigned char* pPixels = entry(pFrame, length, &pixelLength);
            outLength = pixelLength;
            return pPixels;
        });
}

bool RleCodecCall::Decode(InBuffer& frame, OutBuffer& output)
{
    return Decode(GatherCodecInput(frame), MakeStreamSink(output));
}
