#include "J2kCodecCall.h"

#include "CodecEntryCall.h"

#include "WinCRuntime.h"

namespace
{
constexpr const char* Quoral2KFile = "Quoral2K.dll";
constexpr const char* FreeName = "JPGDEL";

// (raw pixels, rows, columns, receives the length, 1 for signed samples).
using PFN_J2kEncode = unsigned char* (*)(const unsigned char*, int, int, int*, int);

constexpr const char* ColourPhotometrics[] = {"RGB", "YBR_ICT", "YBR_RCT"};

bool IsColour(const char* photometric)
{
    for (const char* colour : ColourPhotometrics)
    {
        if (photometric != nullptr && _stricmp(photometric, colour) == 0)
        {
            return true;
        }
    }
    return false;
}

std::string MakeName(const char* prefix, enCodecLayout layout, bool isEncode)
{
    return std::string(prefix) + GetCodecLayoutName(layout) + (isEncode ? "Encode" : "Decode");
}

} // namespace

bool J2kCodecCall::HasEntry(enCodecLayout layout)
{
    return layout != enCodecLayout::Bits12 && layout != enCodecLayout::YBR;
}

std::string J2kCodecCall::GetEntryName(enJ2kCoding coding, enCodecLayout layout, bool isEncode)
{
    return MakeName(coding == enJ2kCoding::Lossless ? "JP2_" : "JPC_", layout, isEncode);
}

std::string J2kCodecCall::GetRoutineName(enJ2kCoding coding, enCodecLayout layout, bool isEncode)
{
    return MakeName(coding == enJ2kCoding::Lossless ? "JP2KLossless_" : "JP2KLossy_", layout,
                    isEncode);
}

enCodecLayout J2kCodecCall::SelectLayout(const char* photometric, int bitsAllocated)
{
    if (IsColour(photometric))
    {
        return enCodecLayout::RGB;
    }
    return bitsAllocated > 8 ? enCodecLayout::Bits16 : enCodecLayout::Bits8;
}

bool J2kCodecCall::Encode(enJ2kCoding coding, enCodecLayout layout, CodecInput raw,
                          const CodecSink& sink, int rows, int columns, bool isSigned)
{
    if (!HasEntry(layout))
    {
        return false;
    }
    const std::string entryName = GetEntryName(coding, layout, true);
    const std::string routineName = GetRoutineName(coding, layout, true);
    if (!HasRawPixels(routineName.c_str(), raw, rows, columns, layout))
    {
        return false;
    }
    const CodecEntryPlan plan{entryName.c_str(), FreeName, enCodecGuard::Checked,
                              routineName.c_str()};
    return DoLibraryCall<PFN_J2kEncode>(
        Quoral2KFile, plan, raw, sink,
        [&](PFN_J2kEncode entry, const unsigned char* pRaw, int, std::int64_t& outLength)
        {
            int length = 0;
            unsigned char* pStream = entry(pRaw, rows, columns, &length, isSigned ? 1 : 0);
            outLength = length;
            return pStream;
        });
}

bool J2kCodecCall::Decode(enJ2kCoding coding, enCodecLayout layout, CodecInput data,
                          const CodecSink& sink, int& rows, int& columns)
{
    rows = 0;
    columns = 0;
    if (!HasEntry(layout))
    {
        return false;
    }
    const std::string entryName = GetEntryName(coding, layout, false);
    const std::string routineName = GetRoutineName(coding, layout, false);
    const CodecEntryPlan plan{entryName.c_str(), FreeName, enCodecGuard::Checked,
                              routineName.c_str()};
    return DoLibraryCall<PFN_CodecDecode>(
        Quoral2KFile, plan, data, sink,
        MakeDecodeInvoke(rows, columns, GetCodecLayoutBytes(layout)));
}

bool J2kCodecCall::Encode(enJ2kCoding coding, enCodecLayout layout, InBuffer& raw,
                          OutBuffer& output, int rows, int columns, bool isSigned)
{
    return Encode(coding, layout, GatherCodecInput(raw), MakeStreamSink(output), rows, columns,
                  isSigned);
}

bool J2kCodecCall::Decode(enJ2kCoding coding, enCodecLayout layout, InBuffer& data,
                          OutBuffer& output, int& rows, int& columns)
{
    return Decode(coding, layout, GatherCodecInput(data), MakeStreamSink(output), rows, columns);
}
