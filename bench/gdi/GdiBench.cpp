// The GDI core's transfer speed beside a plain memory copy of the bytes the
// destination holds: a 512 x 512 8-bit DIB stretched to 1024 x 1024, and a
// full-surface BitBlt of 1024 x 1024 at 32 bits.
#include "GdiBenchSurfaces.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace
{
constexpr int kSurface = 1024;
constexpr int kDib = 512;
constexpr std::int64_t kSurfaceBytes = std::int64_t(kSurface) * kSurface * 4;

void StretchDibits8Bit(benchmark::State& state)
{
    const std::vector<BYTE> info = GreyDibInfo(kDib, kDib);
    const auto* bmi = reinterpret_cast<const BITMAPINFO*>(info.data());
    std::vector<BYTE> bits(std::size_t(kDib) * kDib);
    for (std::size_t i = 0; i < bits.size(); ++i)
        bits[i] = BYTE(i * 31);
    CBenchMemoryDC target(CreateScreenFormatBitmap(kSurface, kSurface));
    SetStretchBltMode(target.Get(), COLORONCOLOR);
    for (auto _ : state)
        benchmark::DoNotOptimize(StretchDIBits(target.Get(), 0, 0, kSurface, kSurface, 0, 0, kDib,
                                               kDib, bits.data(), bmi, DIB_RGB_COLORS, SRCCOPY));
    state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
}

void BitBltFullSurface(benchmark::State& state)
{
    CBenchMemoryDC source(CreateScreenFormatBitmap(kSurface, kSurface));
    CBenchMemoryDC target(CreateScreenFormatBitmap(kSurface, kSurface));
    PatBlt(source.Get(), 0, 0, kSurface, kSurface, WHITENESS);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            BitBlt(target.Get(), 0, 0, kSurface, kSurface, source.Get(), 0, 0, SRCCOPY));
    state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
}

void MemcpySameBytes(benchmark::State& state)
{
    std::vector<BYTE> from(std::size_t(kSurfaceBytes), 0x5A);
    std::vector<BYTE> to(static_cast<std::size_t>(kSurfaceBytes));
    for (auto _ : state)
    {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
}
} // namespace

BENCHMARK(StretchDibits8Bit)->Unit(benchmark::kMillisecond);
BENCHMARK(BitBltFullSurface)->Unit(benchmark::kMillisecond);
BENCHMARK(MemcpySameBytes)->Unit(benchmark::kMillisecond);
