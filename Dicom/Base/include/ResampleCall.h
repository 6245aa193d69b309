// Calls of the resampling library: "Pemsola.dll", else "Emsola.dll", with
// the entries "ResampleU8", "ResampleS8", "ResampleU16", "ResampleS16" and
// "ResampleColor24". A call scales a whole image (rows of pixels without
// padding, top row first) to a new size; the mode is the library's own
// choice of filter (0 plain, 1 display quality).
//
// After a successful call the library stays loaded for the next image.
#pragma once

#include "VeltaroExport.h"

#include <cstdint>
#include <memory>

enum class enResampleOutcome
{
    Done,      // the scaled image was handed over
    NoLibrary, // neither library loaded; GetLastError tells why
    NoEntry,   // the library lacks the entry; it was freed again
    Refused    // a size was not positive or too large, or the entry refused
};

class VELTARO_API ResampleCall
{
public:
    static constexpr const char* PemsolaFile = "Pemsola.dll";
    static constexpr const char* EmsolaFile = "Emsola.dll";

    // On Done, scaled receives a new image of newWidth x newHeight pixels;
    // otherwise it is left as it was.
    static enResampleOutcome ResampleU8(const std::uint8_t* source, int width, int height,
                                        int newWidth, int newHeight, int mode,
                                        std::unique_ptr<std::uint8_t[]>& scaled);
    static enResampleOutcome ResampleS8(const std::int8_t* source, int width, int height,
                                        int newWidth, int newHeight, int mode,
                                        std::unique_ptr<std::int8_t[]>& scaled);
    static enResampleOutcome ResampleU16(const std::uint16_t* source, int width, int height,
                                         int newWidth, int newHeight, int mode,
                                         std::unique_ptr<std::uint16_t[]>& scaled);
    static enResampleOutcome ResampleS16(const std::int16_t* source, int width, int height,
                                         int newWidth, int newHeight, int mode,
                                         std::unique_ptr<std::int16_t[]>& scaled);
    // Three bytes a pixel, each sample scaled on its own.
    static enResampleOutcome ResampleColor24(const std::uint8_t* source, int width, int height,
                                             int newWidth, int newHeight, int mode,
                                             std::unique_ptr<std::uint8_t[]>& scaled);
};
