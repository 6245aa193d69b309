// Frames per second decoding one 512 x 512 frame through the library,
// beside the codec library's decode entry called directly on the same
// compressed frame (library loaded once, result given back with its free
// function). The library takes the frame the two ways the viewer does:
// FrameIterator::Seek, Next and Detach, and ImageProcess::ConvertToRaw and
// Detach. After the table it prints the times and the library's speed as a
// fraction of the direct call's.
#include "CpuTimeReporter.h"
#include "DICOMImage.h"
#include "FrameIterator.h"
#include "ImageProcess.h"
#include "SyntheticImages.h"
#include "UID.h"
#include "VeltaroLibrary.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;
using PFN_Decode = unsigned char* (*)(const unsigned char*, int*, int*, int);
using PFN_Free = void (*)(unsigned char*);

constexpr int Side = 512;

struct HandOverCase
{
    const char* name;
    const UID* syntax;
    int bitsAllocated;
    const char* entry; // the Quorex entry the library picks for it
};

const HandOverCase Cases[] = {
    {"JpegBaseline8", &UidTransferJpegBaselineProcess1, 8, "JPEGBaseline_8BitDecode"},
    {"JpegLosslessSV1_16", &UidTransferJpegLosslessProcFirstOrderPredict, 16,
     "JPEGProc14SV1_16BitDecode"},
};

void FillAttributes(DICOMImage& image, int bitsAllocated)
{
    image.Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.2"));
    image.Add(0x0008, 0x0018, UID("1.2.840.84658685.99.3"));
    image.Add(0x0028, 0x0002, static_cast<unsigned short>(1));
    image.Add(0x0028, 0x0004, "MONOCHROME2");
    image.Add(0x0028, 0x0010, static_cast<unsigned short>(Side));
    image.Add(0x0028, 0x0011, static_cast<unsigned short>(Side));
    image.Add(0x0028, 0x0100, static_cast<unsigned short>(bitsAllocated));
    image.Add(0x0028, 0x0101, static_cast<unsigned short>(bitsAllocated == 8 ? 8 : 12));
    image.Add(0x0028, 0x0102, static_cast<unsigned short>(bitsAllocated == 8 ? 7 : 11));
    image.Add(0x0028, 0x0103, static_cast<unsigned short>(0));
}

std::uint8_t* NewCopy(const Bytes& bytes)
{
    auto* buffer = new std::uint8_t[bytes.size()];
    std::memcpy(buffer, bytes.data(), bytes.size());
    return buffer;
}

// The image holding one compressed frame, coded by the library itself.
void MakeImage(const HandOverCase& c, DICOMImage& image)
{
    VeltaroInitialize();
    const Bytes raw = MakeBodySlice(Side, c.bitsAllocated);
    DICOMImage single;
    FillAttributes(single, c.bitsAllocated);
    single.SetTransferSyntax(UidTransferLittleEndianExplicit);
    single.CopyToPixelBuffer(NewCopy(raw), static_cast<unsigned>(raw.size()), 0, Side, Side,
                             static_cast<unsigned short>(c.bitsAllocated),
                             c.bitsAllocated == 8 ? 8 : 12, c.bitsAllocated == 8 ? 7 : 11);
    ImageProcess process(single, 0);
    process.ConvertTo(*c.syntax);
    const Bytes coded(process.GetCompPixelData(),
                      process.GetCompPixelData() + process.GetCompPixelLength());
    FillAttributes(image, c.bitsAllocated);
    image.SetTransferSyntax(*c.syntax);
    image.CopyToPixelBuffer(NewCopy(coded), static_cast<unsigned>(coded.size()), 0, Side, Side,
                            static_cast<unsigned short>(c.bitsAllocated),
                            c.bitsAllocated == 8 ? 8 : 12, c.bitsAllocated == 8 ? 7 : 11);
}

void ThroughIterator(benchmark::State& state, const HandOverCase* c)
{
    DICOMImage image;
    MakeImage(*c, image);
    for (auto _ : state)
    {
        FrameIterator iterator(&image);
        if (!iterator.Seek(0) || !iterator.Next())
        {
            state.SkipWithError("the frame did not decode");
            return;
        }
        delete[] static_cast<std::uint8_t*>(iterator.Detach());
    }
}

void ThroughProcess(benchmark::State& state, const HandOverCase* c)
{
    DICOMImage image;
    MakeImage(*c, image);
    for (auto _ : state)
    {
        ImageProcess process(image, 0);
        if (process.ConvertToRaw() == 0)
        {
            state.SkipWithError("the frame did not decode");
            return;
        }
        delete[] static_cast<std::uint8_t*>(process.Detach());
    }
}

void Direct(benchmark::State& state, const HandOverCase* c)
{
    DICOMImage image;
    MakeImage(*c, image);
    ImageProcess process(image, 0);
    const Bytes coded(process.GetCompPixelData(),
                      process.GetCompPixelData() + process.GetCompPixelLength());
    void* library = dlopen(QUOREX_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    const auto decode = reinterpret_cast<PFN_Decode>(dlsym(library, c->entry));
    const auto release = reinterpret_cast<PFN_Free>(dlsym(library, "jpgdel"));
    if (decode == nullptr || release == nullptr || coded.empty())
    {
        state.SkipWithError("the codec library or its entry is missing");
        return;
    }
    for (auto _ : state)
    {
        int rows = 0;
        int columns = 0;
        unsigned char* pixels =
            decode(coded.data(), &rows, &columns, static_cast<int>(coded.size()));
        benchmark::DoNotOptimize(pixels);
        release(pixels);
    }
    dlclose(library);
}

const bool Registered = []
{
    for (const HandOverCase& c : Cases)
    {
        const std::string name = std::string("HandOver/") + c.name;
        benchmark::RegisterBenchmark((name + "/FrameIterator").c_str(), ThroughIterator, &c)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((name + "/ImageProcess").c_str(), ThroughProcess, &c)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((name + "/Direct").c_str(), Direct, &c)
            ->Unit(benchmark::kMicrosecond);
    }
    return true;
}();

void PrintSummary(const BenchTimes& times)
{
    std::printf("\nOne 512 x 512 frame, CPU time\n");
    for (const HandOverCase& c : Cases)
    {
        const std::string name = std::string("HandOver/") + c.name;
        const double direct = GetBenchTime(times, name + "/Direct");
        for (const char* road : {"FrameIterator", "ImageProcess"})
        {
            const double library = GetBenchTime(times, name + "/" + road);
            if (library > 0.0 && direct > 0.0)
                std::printf("  %-20s %-13s %8.1f us  codec directly %8.1f us  ratio %5.3f  "
                            "(goal at least 0.98)\n",
                            c.name, road, library * 1e6, direct * 1e6, direct / library);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithSummary(argc, argv, PrintSummary);
}
