// The call of the resampling library: "Pemsola.dll", else "Emsola.dll",
// loaded by name around each call.
#pragma once

#include "WinModule.h"

#include <cstddef>
#include <new>

namespace matrix
{

// One resampling entry: source image and rectangle, target image and
// rectangle, mode; 0 when it refused the call.
template <class Sample>
using ResampleEntry = int (*)(const Sample*, int, int, int, int, int, int, Sample*, int, int, int,
                              int, int, int, int);

// The library loaded for one call and released afterwards.
class CResampleLibrary
{
public:
    CResampleLibrary();
    ~CResampleLibrary();
    CResampleLibrary(const CResampleLibrary&) = delete;
    CResampleLibrary& operator=(const CResampleLibrary&) = delete;

    // The entry, or null (logged) when the library or the entry is missing.
    FARPROC GetEntry(const char* name) const;

private:
    HMODULE m_hModule;
};

// Resamples a columns x rows image of samplesPerPixel interleaved samples to
// width x height with the display mode (1). Returns a new[] buffer, or null
// when the library, the entry or the call fails.
template <class Sample>
Sample* Resample(const char* entryName, const Sample* source, int columns, int rows, int width,
                 int height, int samplesPerPixel)
{
    CResampleLibrary library;
    const auto entry = CastFarProc<ResampleEntry<Sample>>(library.GetEntry(entryName));
    if (entry == nullptr)
        return nullptr;
    const std::size_t count =
        std::size_t(width) * std::size_t(height) * std::size_t(samplesPerPixel);
    Sample* target = new (std::nothrow) Sample[count]();
    if (target == nullptr)
        return nullptr;
    int result = 0;
    try
    {
        result = entry(source, columns, rows, 0, 0, columns, rows, target, width, height, 0, 0,
                       width, height, 1);
    }
    catch (...)
    {
        result = 0;
    }
    if (result == 0)
    {
        delete[] target;
        return nullptr;
    }
    return target;
}

} // namespace matrix
