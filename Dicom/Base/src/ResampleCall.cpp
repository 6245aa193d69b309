#include "ResampleCall.h"

#include "OutsideLibrary.h"
#include "VeltaroLog.h"

#include <climits>
#include <new>

namespace
{
// (source, width, height, source rectangle x, y, width, height, destination,
// width, height, destination rectangle x, y, width, height, mode) -> 1 when
// the destination was written.
template <class Sample>
using PFN_Resample = int (*)(const Sample*, int, int, int, int, int, int, Sample*, int, int, int,
                             int, int, int, int);

// Larger images than a 32-bit length can describe are not scaled.
constexpr std::int64_t LargestScaledImage = INT_MAX;

template <class Sample>
enResampleOutcome DoResample(const char* entryName, int samplesPerPixel, const Sample* source,
                             int width, int height, int newWidth, int newHeight, int mode,
                             std::unique_ptr<Sample[]>& scaled)
{
    const std::int64_t newLength =
        static_cast<std::int64_t>(newWidth) * newHeight * samplesPerPixel * sizeof(Sample);
    if (source == nullptr || width <= 0 || height <= 0 || newWidth <= 0 || newHeight <= 0 ||
        newLength > LargestScaledImage)
    {
        _warning("Enter %s, cannot scale %d x %d pixels to %d x %d", entryName, width, height,
                 newWidth, newHeight);
        return enResampleOutcome::Refused;
    }
    OutsideLibrary library;
    if (!library.DoLoad(ResampleCall::PemsolaFile) && !library.DoLoad(ResampleCall::EmsolaFile))
    {
        return enResampleOutcome::NoLibrary;
    }
    const auto entry = library.GetEntry<PFN_Resample<Sample>>(entryName);
    if (entry == nullptr)
    {
        return enResampleOutcome::NoEntry;
    }
    std::unique_ptr<Sample[]> destination(new (
        std::nothrow) Sample[static_cast<std::size_t>(newWidth) * newHeight * samplesPerPixel]);
    if (destination == nullptr ||
        entry(source, width, height, 0, 0, width, height, destination.get(), newWidth, newHeight, 0,
              0, newWidth, newHeight, mode) == 0)
    {
        return enResampleOutcome::Refused;
    }
    library.DoKeepLoaded();
    scaled = std::move(destination);
    return enResampleOutcome::Done;
}

} // namespace

enResampleOutcome ResampleCall::ResampleU8(const std::uint8_t* source, int width, int height,
                                           int newWidth, int newHeight, int mode,
                                           std::unique_ptr<std::uint8_t[]>& scaled)
{
    return DoResample("ResampleU8", 1, source, width, height, newWidth, newHeight, mode, scaled);
}

enResampleOutcome ResampleCall::ResampleS8(const std::int8_t* source, int width, int height,
                                           int newWidth, int newHeight, int mode,
                                           std::unique_ptr<std::int8_t[]>& scaled)
{
    return DoResample("ResampleS8", 1, source, width, height, newWidth, newHeight, mode, scaled);
}

enResampleOutcome ResampleCall::ResampleU16(const std::uint16_t* source, int width, int height,
                                            int newWidth, int newHeight, int mode,
                                            std::unique_ptr<std::uint16_t[]>& scaled)
{
    return DoResample("ResampleU16", 1, source, width, height, newWidth, newHeight, mode, scaled);
}

enResampleOutcome ResampleCall::ResampleS16(const std::int16_t* source, int width, int height,
                                            int newWidth, int newHeight, int mode,
                                            std::unique_ptr<std::int16_t[]>& scaled)
{
    return DoResample("ResampleS16", 1, source, width, height, newWidth, newHeight, mode, scaled);
}

enResampleOutcome ResampleCall::ResampleColor24(const std::uint8_t* source, int width, int height,
                                                int newWidth, int newHeight, int mode,
                                                std::unique_ptr<std::uint8_t[]>& scaled)
{
    return DoResample("ResampleColor24", 3, source, width, height, newWidth, newHeight, mode,
                      scaled);
}
