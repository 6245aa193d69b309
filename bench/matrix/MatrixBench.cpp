// The display work of a 512 x 512 16-bit matrix (a windowed 8-bit DIB, flips,
// a quarter turn, a 2x display-quality scale) beside a plain copy of the same
// 512 KiB. After the usual table it prints each time divided by the copy's.
#include "CpuTimeReporter.h"
#include "MetaMatrix16.h"
#include "WinGlobalMemory.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace
{

constexpr int kSide = 512;
constexpr std::size_t kBytes = std::size_t(kSide) * kSide * 2;
const char kCopyName[] = "Copy/memcpy";

// A 12-bit image: a smooth gradient with noise, as a CT slice would be.
MetaMatrix16 MakeImage()
{
    MetaMatrix16 matrix(16, 12, 11, kSide, kSide, 0, 4095, 0, 1);
    auto* samples = reinterpret_cast<std::uint16_t*>(matrix.GetPixelData());
    std::mt19937 random(512);
    std::uniform_int_distribution<int> noise(-40, 40);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            samples[y * kSide + x] =
                std::uint16_t(std::clamp(4 * (x + y) + noise(random), 0, 4095));
    matrix.CalcMinMaxPixelValue(0);
    return matrix;
}

// Window 2000 wide at 1500: the table the viewer builds for one window.
std::vector<unsigned char> MakeWindowTable()
{
    std::vector<unsigned char> table(65536);
    for (int value = 0; value < 65536; ++value)
        table[std::size_t(value)] = std::uint8_t(std::clamp((value - 500) * 255 / 2000, 0, 255));
    return table;
}

void Copy(benchmark::State& state)
{
    const std::vector<char> source(kBytes, 7);
    std::vector<char> target(kBytes);
    for (auto _ : state)
    {
        std::memcpy(target.data(), source.data(), kBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}

void WindowedDib(benchmark::State& state)
{
    const MetaMatrix16 image = MakeImage();
    std::vector<unsigned char> table = MakeWindowTable();
    for (auto _ : state)
    {
        const std::unique_ptr<MetaMatrix> map(image.GetPixmap(table.data()));
        void* dib = map->CreateDIB();
        benchmark::DoNotOptimize(dib);
        GlobalFree(dib);
    }
}

void FlipVertical(benchmark::State& state)
{
    MetaMatrix16 image = MakeImage();
    for (auto _ : state)
    {
        image.FlipVertical();
        benchmark::DoNotOptimize(image.GetPixelData());
    }
}

void FlipHorizontal(benchmark::State& state)
{
    MetaMatrix16 image = MakeImage();
    for (auto _ : state)
    {
        image.FlipHorizontal();
        benchmark::DoNotOptimize(image.GetPixelData());
    }
}

void QuarterTurn(benchmark::State& state)
{
    MetaMatrix16 image = MakeImage();
    for (auto _ : state)
    {
        image.Rotate(MetaMatrix::enRotateClockwise);
        benchmark::DoNotOptimize(image.GetPixelData());
    }
}

void DisplayScale2x(benchmark::State& state)
{
    const MetaMatrix16 image = MakeImage();
    for (auto _ : state)
    {
        MetaMatrix16 scaled(image);
        scaled.ScaleOptimize(2 * kSide, 2 * kSide);
        if (scaled.GetWidth() != 2 * kSide)
        {
            state.SkipWithError("the resampling library Pemsola.dll is missing");
            return;
        }
        benchmark::DoNotOptimize(scaled.GetPixelData());
    }
}

BENCHMARK(Copy)->Name(kCopyName);
BENCHMARK(WindowedDib)->Name("Matrix16/WindowedDib");
BENCHMARK(FlipVertical)->Name("Matrix16/FlipVertical");
BENCHMARK(FlipHorizontal)->Name("Matrix16/FlipHorizontal");
BENCHMARK(QuarterTurn)->Name("Matrix16/QuarterTurn");
BENCHMARK(DisplayScale2x)->Name("Matrix16/DisplayScale2x")->Unit(benchmark::kMillisecond);

void PrintRatiosToCopy(const BenchTimes& times)
{
    const auto copy = times.find(kCopyName);
    if (copy == times.end() || copy->second <= 0.0)
        return;
    std::cout << "\nTime / time of a 512 KiB memcpy, 512 x 512 16-bit matrix\n";
    for (const auto& [name, seconds] : times)
    {
        if (name != kCopyName)
            std::printf("  %-26s %8.2f\n", name.c_str(), seconds / copy->second);
    }
}

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithSummary(argc, argv, PrintRatiosToCopy);
}
