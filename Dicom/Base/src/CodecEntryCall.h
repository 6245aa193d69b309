// The steps every codec routine shares: find the entry and the library's
// free function, hand the input to the entry, append what it returned to the
// caller's sink, and meet a failure in the routine's guarding style.
#pragma once

#include "CodecCall.h"
#include "OutsideLibrary.h"

#include <climits>
#include <cstdint>
#include <functional>

// How a routine meets its failures. Checked routines (JPEG 2000, RLE) need
// the entry and the free function both, and log an exception with the
// routine's name; quiet routines (JPEG) need only the entry and let an
// exception end the call without a log line.
enum class enCodecGuard
{
    Checked,
    Quiet
};

struct CodecEntryPlan
{
    const char* entryName;
    const char* freeName;
    enCodecGuard guard;
    const char* routineName; // for the log of a checked routine
};

// Runs the call; an exception gives false.
bool DoGuardedCall(enCodecGuard guard, const char* routineName, const std::function<bool()>& call);

// Appends length bytes of a returned buffer. A null buffer, or a length
// that is negative or does not fit a 32-bit stream, gives false.
bool AppendReturned(const unsigned char* pReturned, std::int64_t length, const CodecSink& sink);

// rows x columns x bytes per pixel of a decoder's result; -1 when the
// entry reported a negative geometry.
std::int64_t GetDecodedLength(int rows, int columns, int bytesPerPixel);

// Whether raw input holds rows x columns pixels of the layout: the encoders
// read that many bytes whatever they are given. Logs a refusal.
bool HasRawPixels(const char* routineName, CodecInput raw, int rows, int columns,
                  enCodecLayout layout);

// Calls one entry of a loaded library. invoke(entry, data, length, outLength)
// calls the entry and sets outLength to the byte count of its result.
template <class Entry, class Invoke>
bool DoEntryCall(const OutsideLibrary& library, const CodecEntryPlan& plan, CodecInput input,
                 const CodecSink& sink, Invoke invoke)
{
    if (input.size() > static_cast<std::size_t>(INT_MAX))
    {
        return false;
    }
    const Entry entry = library.GetEntry<Entry>(plan.entryName);
    const PFN_CodecFree pFree = library.GetEntry<PFN_CodecFree>(plan.freeName);
    if (entry == nullptr || (plan.guard == enCodecGuard::Checked && pFree == nullptr))
    {
        return false;
    }
    OutsideBuffer returned(pFree);
    return DoGuardedCall(
        plan.guard, plan.routineName,
        [&]
        {
            std::int64_t outLength = -1;
            returned.Set(invoke(entry, input.data(), static_cast<int>(input.size()), outLength));
            return AppendReturned(returned.Get(), outLength, sink);
        });
}

// Loads the library by file name, calls the entry and frees the library.
template <class Entry, class Invoke>
bool DoLibraryCall(const char* fileName, const CodecEntryPlan& plan, CodecInput input,
                   const CodecSink& sink, Invoke invoke)
{
    OutsideLibrary library(fileName);
    return library.IsLoaded() && DoEntryCall<Entry>(library, plan, input, sink, invoke);
}

// Every decode entry: (data, receives rows, receives columns, data length).
using PFN_CodecDecode = unsigned char* (*)(const unsigned char*, int*, int*, int);

// The invoke step of a decoder: the result holds rows x columns pixels of
// bytesPerPixel bytes, as the entry reported them.
inline auto MakeDecodeInvoke(int& rows, int& columns, int bytesPerPixel)
{
    return [&rows, &columns, bytesPerPixel](PFN_CodecDecode entry, const unsigned char* pData,
                                            int length, std::int64_t& outLength)
    {
        unsigned char* pPixels = entry(pData, &rows, &columns, length);
        outLength = GetDecodedLength(rows, columns, bytesPerPixel);
        return pPixels;
    };
}
