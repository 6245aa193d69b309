// Lettra against std::string on the same work: copy, append, find and
// format. After the usual table it prints, for each kind of work, the time
// of Lettra divided by the time of std::string.
#include "CpuTimeReporter.h"
#include "Lettra.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>
#include <string>

namespace
{

const std::string kText(200, 'x');
const char kPiece[] = "0123456789";
constexpr int kPieces = 100;

std::string MakeHaystack()
{
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "abcdefghi ";
    return text + "needle!";
}

void CopyLettra(benchmark::State& state)
{
    const Lettra source(kText.c_str());
    for (auto _ : state)
    {
        Lettra copy(source);
        benchmark::DoNotOptimize(copy.constBuffer());
    }
}

void CopyStdString(benchmark::State& state)
{
    const std::string source(kText);
    for (auto _ : state)
    {
        std::string copy(source);
        benchmark::DoNotOptimize(copy.data());
    }
}

void AppendLettra(benchmark::State& state)
{
    for (auto _ : state)
    {
        Lettra text;
        for (int i = 0; i < kPieces; ++i)
            text += kPiece;
        benchmark::DoNotOptimize(text.constBuffer());
    }
}

void AppendStdString(benchmark::State& state)
{
    for (auto _ : state)
    {
        std::string text;
        for (int i = 0; i < kPieces; ++i)
            text += kPiece;
        benchmark::DoNotOptimize(text.data());
    }
}

void FindLettra(benchmark::State& state)
{
    const Lettra haystack(MakeHaystack().c_str());
    for (auto _ : state)
        benchmark::DoNotOptimize(haystack.Find("needle"));
}

void FindStdString(benchmark::State& state)
{
    const std::string haystack = MakeHaystack();
    for (auto _ : state)
        benchmark::DoNotOptimize(haystack.find("needle"));
}

void FormatLettra(benchmark::State& state)
{
    int i = 0;
    for (auto _ : state)
    {
        ++i;
        Lettra text;
        text.Format("%s=%d (%.2f)", "value", i, 0.5 * i);
        benchmark::DoNotOptimize(text.constBuffer());
    }
}

void FormatStdString(benchmark::State& state)
{
    int i = 0;
    for (auto _ : state)
    {
        ++i;
        const int length = std::snprintf(nullptr, 0, "%s=%d (%.2f)", "value", i, 0.5 * i);
        std::string text(static_cast<std::size_t>(length), '\0');
        std::snprintf(text.data(), text.size() + 1, "%s=%d (%.2f)", "value", i, 0.5 * i);
        benchmark::DoNotOptimize(text.data());
    }
}

BENCHMARK(CopyLettra)->Name("Copy/Lettra");
BENCHMARK(CopyStdString)->Name("Copy/std::string");
BENCHMARK(AppendLettra)->Name("Append/Lettra");
BENCHMARK(AppendStdString)->Name("Append/std::string");
BENCHMARK(FindLettra)->Name("Find/Lettra");
BENCHMARK(FindStdString)->Name("Find/std::string");
BENCHMARK(FormatLettra)->Name("Format/Lettra");
BENCHMARK(FormatStdString)->Name("Format/std::string");

void PrintRatiosToStdString(const BenchTimes& times)
{
    std::cout << "\nLettra time / std::string time (below 1: Lettra is faster)\n";
    for (const char* work : {"Copy", "Append", "Find", "Format"})
    {
        const auto lettra = times.find(std::string(work) + "/Lettra");
        const auto standard = times.find(std::string(work) + "/std::string");
        if (lettra == times.end() || standard == times.end() || standard->second <= 0.0)
            continue;
        std::printf("  %-7s %6.2f\n", work, lettra->second / standard->second);
    }
}

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithSummary(argc, argv, PrintRatiosToStdString);
}
