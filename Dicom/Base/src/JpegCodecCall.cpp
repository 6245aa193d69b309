#include "JpegCodecCall.h"

#include "CodecEntryCall.h"

#include <climits>
#include <cstdint>

namespace
{
constexpr const char* QuorexFile = "Quorex.dll";
constexpr const char* QuoralFile = "Quoral.dll";
constexpr const char* FreeName = "jpgdel";

// The entries as "Quorex.dll" exports them.
using PFN_JpegLossyEncode = unsigned char* (*)(const unsigned char*, int, int, int, int*);
using PFN_JpegLosslessEncode = unsigned char* (*)(const unsigned char*, int, int, int*);
using PFN_JpegDecodeInto = int (*)(const unsigned char*, int, unsigned char*, int, int*, int*);

// A stream this short holds no frame header worth scanning for.
constexpr std::size_t ShortestScannedFrame = 64;
constexpr std::uint16_t LosslessFrameMarker = 0xFFC3;
constexpr std::uint8_t Precision15 = 15;

const char* GetProcessPrefix(enJpegProcess process)
{
    switch (process)
    {
    case enJpegProcess::Baseline:
        return "JPEGBaseline";
    case enJpegProcess::Proc14:
        return "JPEGProc14";
    case enJpegProcess::Proc14SV1:
        return "JPEGProc14SV1";
    case enJpegProcess::ExtendedProc:
        return "JPEGExtendedProc";
    case enJpegProcess::SpectralProc:
        return "JPEGSpectralProc";
    case enJpegProcess::FullProgress:
        return "JPEGFullProgress";
    }
    return "";
}

std::uint16_t ReadBigEndian16(CodecInput data, std::size_t position)
{
    return static_cast<std::uint16_t>(data[position] << 8 | data[position + 1]);
}

// Walks the marker segments after the start of image. A segment length
// below 2 cannot be stepped over, so the walk ends there as at the end of
// the stream.
bool IsQuoralFrame(CodecInput data)
{
    if (data.size() < ShortestScannedFrame)
    {
        return true;
    }
    std::size_t position = 2;
    while (position + 4 <= data.size())
    {
        const std::uint16_t marker = ReadBigEndian16(data, position);
        const std::uint16_t length = ReadBigEndian16(data, position + 2);
        if (marker == LosslessFrameMarker)
        {
            return position + 4 < data.size() && data[position + 4] == Precision15;
        }
        if (length < 2)
        {
            return false;
        }
        position += 2 + static_cast<std::size_t>(length);
    }
    return false;
}

} // namespace

bool JpegCodecCall::HasEntry(enJpegProcess process, enCodecLayout layout)
{
    switch (layout)
    {
    case enCodecLayout::Bits8:
    case enCodecLayout::RGB:
        return true;
    case enCodecLayout::Bits12:
        return process == enJpegProcess::ExtendedProc || process == enJpegProcess::SpectralProc ||
               process == enJpegProcess::FullProgress;
    case enCodecLayout::Bits16:
        return IsLossless(process);
    case enCodecLayout::YBR:
        return !IsLossless(process);
    }
    return false;
}

std::string JpegCodecCall::GetEntryName(enJpegProcess process, enCodecLayout layout, bool isEncode)
{
    return std::string(GetProcessPrefix(process)) + "_" + GetCodecLayoutName(layout) +
           (isEncode ? "Encode" : "Decode");
}

bool JpegCodecCall::IsLossless(enJpegProcess process)
{
    return process == enJpegProcess::Proc14 || process == enJpegProcess::Proc14SV1;
}

bool JpegCodecCall::Encode(enJpegProcess process, enCodecLayout layout, CodecInput raw,
                           const CodecSink& sink, int rows, int columns, int quality)
{
    if (!HasEntry(process, layout) || layout == enCodecLayout::YBR)
    {
        return false;
    }
    const std::string entryName = GetEntryName(process, layout, true);
    if (!HasRawPixels(entryName.c_str(), raw, rows, columns, layout))
    {
        return false;
    }
    const CodecEntryPlan plan{entryName.c_str(), FreeName, enCodecGuard::Quiet, entryName.c_str()};
    if (IsLossless(process))
    {
        return DoLibraryCall<PFN_JpegLosslessEncode>(
            QuorexFile, plan, raw, sink,
            [&](PFN_JpegLosslessEncode entry, const unsigned char* pRaw, int,
                std::int64_t& outLength)
            {
                int length = 0;
                unsigned char* pStream = entry(pRaw, rows, columns, &length);
                outLength = length;
                return pStream;
            });
    }
    return DoLibraryCall<PFN_JpegLossyEncode>(
        QuorexFile, plan, raw, sink,
        [&](PFN_JpegLossyEncode entry, const unsigned char* pRaw, int, std::int64_t& outLength)
        {
            int length = 0;
            unsigned char* pStream = entry(pRaw, rows, columns, quality, &length);
            outLength = length;
            return pStream;
        });
}

bool JpegCodecCall::Decode(enJpegProcess process, enCodecLayout layout, CodecInput data,
                           const CodecSink& sink, int& rows, int& columns)
{
    rows = 0;
    columns = 0;
    if (!HasEntry(process, layout))
    {
        return false;
    }
    if (process == enJpegProcess::Proc14 && layout == enCodecLayout::Bits16)
    {
        return DoDecodeLossless16(data, sink, rows, columns);
    }
    const std::string entryName = GetEntryName(process, layout, false);
    const CodecEntryPlan plan{entryName.c_str(), FreeName, enCodecGuard::Quiet, entryName.c_str()};
    return DoLibraryCall<PFN_CodecDecode>(
        QuorexFile, plan, data, sink, MakeDecodeInvoke(rows, columns, GetCodecLayoutBytes(layout)));
}

bool JpegCodecCall::DecodeInto(enJpegProcess process, enCodecLayout layout, CodecInput data,
                               std::span<std::uint8_t> target, int& rows, int& columns)
{
    rows = 0;
    columns = 0;
    const bool isEightBitLayout = layout == enCodecLayout::Bits8 || layout == enCodecLayout::RGB ||
                                  layout == enCodecLayout::YBR;
    if (IsLossless(process) || !isEightBitLayout || data.size() > INT_MAX ||
        target.size() > INT_MAX || target.empty())
    {
        return false;
    }
    const OutsideLibrary library(QuorexFile);
    const std::string entryName = GetEntryName(process, layout, false) + "Into";
    const auto entry = library.GetEntry<PFN_JpegDecodeInto>(entryName.c_str());
    if (entry == nullptr)
    {
        return false;
    }
    return DoGuardedCall(enCodecGuard::Quiet, entryName.c_str(),
                         [&]
                         {
                             return entry(data.data(), static_cast<int>(data.size()), target.data(),
                                          static_cast<int>(target.size()), &rows, &columns) == 1;
                         });
}

bool JpegCodecCall::Encode(enJpegProcess process, enCodecLayout layout, InBuffer& raw,
                           OutBuffer& output, int rows, int columns, int quality)
{
    return Encode(process, layout, GatherCodecInput(raw), MakeStreamSink(output), rows, columns,
                  quality);
}

bool JpegCodecCall::Decode(enJpegProcess process, enCodecLayout layout, InBuffer& data,
                           OutBuffer& output, int& rows, int& columns)
{
    return Decode(process, layout, GatherCodecInput(data), MakeStreamSink(output), rows, columns);
}

const char* JpegCodecCall::SelectLossless16Library(CodecInput data)
{
    return IsQuoralFrame(data) ? QuoralFile : QuorexFile;
}

bool JpegCodecCall::DoDecodeLossless16(CodecInput data, const CodecSink& sink, int& rows,
                                       int& columns)
{
    const OutsideLibrary quorex(QuorexFile);
    const OutsideLibrary quoral(QuoralFile);
    if (!quorex.IsLoaded() || !quoral.IsLoaded())
    {
        return false;
    }
    const std::string entryName = GetEntryName(enJpegProcess::Proc14, enCodecLayout::Bits16, false);
    const CodecEntryPlan plan{entryName.c_str(), FreeName, enCodecGuard::Quiet, entryName.c_str()};
    const OutsideLibrary& chosen = IsQuoralFrame(data) ? quoral : quorex;
    return DoEntryCall<PFN_CodecDecode>(
        chosen, plan, data, sink,
        MakeDecodeInvoke(rows, columns, GetCodecLayoutBytes(enCodecLayout::Bits16)));
}
