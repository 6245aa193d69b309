// The GDI core's transfer speed beside a plain memory copy of the bytes the
// destination holds: a 512 x 512 8-bit DIB stretched to 1024 x 1024, and a
// full-surface BitBlt of 1024 x 1024 at 32 bits.
#include "WinGdi.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace
{
constexpr int kSurface = 1024;
constexpr int kDib = 512;
constexpr std::int64_t kSurfaceBytes = std::int64_t(kSurface) * kSurface * 4;

struct MemorySurface
{
    MemorySurface()
    {
        HDC screen = GetDC(nullptr);
        bitmap = CreateCompatibleBitmap(screen, kSurface, kSurface);
        ReleaseDC(nullptr, screen);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
    }
    ~MemorySurface()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    HBITMAP bitmap;
    HDC dc;
    HGDIOBJ old;
};

void StretchDibits8Bit(benchmark::State& state)
{
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
    bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi->bmiHeader.biWidth = kDib;
    bmi->bmiHeader.biHeight = kDib;
    bmi->bmiHeader.biPlanes = 1;
    bmi->bmiHeader.biBitCount = 8;
    for (int i = 0; i < 256; ++i)
        bmi->bmiColors[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
    std::vector<BYTE> bits(std::size_t(kDib) * kDib);
    for (std::size_t i = 0; i < bits.size(); ++i)
        bits[i] = BYTE(i * 31);
    MemorySurface target;
    SetStretchBltMode(target.dc, COLORONCOLOR);
    for (auto _ : state)
        benchmark::DoNotOptimize(StretchDIBits(target.dc, 0, 0, kSurface, kSurface, 0, 0, kDib,
                                               kDib, bits.data(), bmi, DIB_RGB_COLORS, SRCCOPY));
    state.SetBytesProcessed(state.iterations() * kSurfaceBytes);
}

void BitBltFullSurface(benchmark::State& state)
{
    MemorySurface source;
    MemorySurface target;
    PatBlt(source.dc, 0, 0, kSurface, kSurface, WHITENESS);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            BitBlt(target.dc, 0, 0, kSurface, kSurface, source.dc, 0, 0, SRCCOPY));
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
