// Look-ups by tag in the built data dictionary: the inner loop of
// implicit-VR decoding, which must not allocate.
#include "CtSmallTags.h"
#include "DataDictionary.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{

std::atomic<long> Allocations{0};

DataDictionary& BuiltDictionary()
{
    static DataDictionary& dictionary = []() -> DataDictionary&
    {
        DataDictionary& library = DataDictionary::GetLibraryDictionary();
        library.Build();
        library.BuildCache();
        return library;
    }();
    return dictionary;
}

void LookupTagsOfARealFile(benchmark::State& state)
{
    DataDictionary& dictionary = BuiltDictionary();
    const long before = Allocations.load();
    for (auto _ : state)
    {
        for (const auto& tag : CtSmallTags)
        {
            benchmark::DoNotOptimize(dictionary.Lookup(tag[0], tag[1]));
        }
    }
    const long allocations = Allocations.load() - before;
    const double lookups = static_cast<double>(state.iterations()) * std::size(CtSmallTags);
    state.counters["lookups/s"] = benchmark::Counter(lookups, benchmark::Counter::kIsRate);
    state.counters["allocations"] = static_cast<double>(allocations);
}
BENCHMARK(LookupTagsOfARealFile);

void LookupEveryKnownTag(benchmark::State& state)
{
    DataDictionary& dictionary = BuiltDictionary();
    const int count = dictionary.GetCount();
    for (auto _ : state)
    {
        for (int i = 0; i < count; ++i)
        {
            const std::uint32_t key = dictionary.GetKey(i);
            benchmark::DoNotOptimize(dictionary.Lookup(static_cast<std::uint16_t>(key >> 16),
                                                       static_cast<std::uint16_t>(key)));
        }
    }
    state.counters["lookups/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * count, benchmark::Counter::kIsRate);
}
BENCHMARK(LookupEveryKnownTag);

void BuildTheDictionary(benchmark::State& state)
{
    for (auto _ : state)
    {
        DataDictionary dictionary;
        dictionary.Build();
        benchmark::DoNotOptimize(dictionary.GetCount());
    }
}
BENCHMARK(BuildTheDictionary)->Unit(benchmark::kMillisecond);

} // namespace

// Counts every allocation of the process, the library's included. The
// replacement pair allocates with malloc and frees with free; the compiler
// cannot see that they belong together.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size)
{
    Allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size != 0 ? size : 1))
    {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
