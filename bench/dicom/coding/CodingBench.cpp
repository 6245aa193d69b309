// Speed of the data-set coders on real files: data sets per second and MB/s
// for a large real header (a CT image's 270 elements up to the pixel data),
// for a large structure set of nested sequences, and for whole files read
// from disk through the file stream, pixel data included.
#include "DICOMDataSet.h"
#include "DataDictionary.h"
#include "FileBuffer.h"
#include "FixDecoder.h"
#include "FixEncoder.h"
#include "InBuffer.h"
#include "OutBuffer.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t BeforePixelData = 0x7FE0000F;
constexpr std::uint32_t EndOfMetaGroup = 0x0002FFFF;
constexpr std::uint32_t PreambleAndPrefix = 132;

void BuildDictionary()
{
    static const bool built = []
    {
        DataDictionary::GetLibraryDictionary().Build();
        return true;
    }();
    (void)built;
}

fs::path SampleOf(const char* name)
{
    return fs::path(SUITE_CORPUS_DIR) / name;
}

Bytes LoadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The data set of a Part 10 file: what follows the meta group.
Bytes DataSetOf(const Bytes& file)
{
    MemInBuffer stream(file.data() + PreambleAndPrefix,
                       static_cast<std::uint32_t>(file.size() - PreambleAndPrefix));
    DICOMDataSet meta;
    FixDecoder(stream).DecodeTillTag(&meta, EndOfMetaGroup, 0);
    const std::size_t offset = PreambleAndPrefix + stream.GetConsumed();
    return Bytes(file.begin() + static_cast<std::ptrdiff_t>(offset), file.end());
}

void Report(benchmark::State& state, std::size_t bytes)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["datasets/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The header of CT_small.dcm, explicit VR little endian, read up to the
// pixel data as a partial file read does.
void DecodeCtHeader(benchmark::State& state)
{
    BuildDictionary();
    const Bytes data = DataSetOf(LoadFile(SampleOf("pydicom/test_files/CT_small.dcm")));
    std::size_t header = 0;
    for (auto _ : state)
    {
        MemInBuffer stream(data.data(), static_cast<std::uint32_t>(data.size()));
        DICOMDataSet set;
        benchmark::DoNotOptimize(FixDecoder(stream).DecodeTillTag(&set, BeforePixelData, 0));
        header = stream.GetConsumed();
    }
    Report(state, header);
}
BENCHMARK(DecodeCtHeader);

// The same header written back in explicit VR little endian.
void EncodeCtHeader(benchmark::State& state)
{
    BuildDictionary();
    const Bytes data = DataSetOf(LoadFile(SampleOf("pydicom/test_files/CT_small.dcm")));
    MemInBuffer stream(data.data(), static_cast<std::uint32_t>(data.size()));
    DICOMDataSet set;
    FixDecoder(stream).DecodeTillTag(&set, BeforePixelData, 0);
    std::size_t written = 0;
    for (auto _ : state)
    {
        MemOutBuffer out;
        FixEncoder(out).EncodeExplicit(&set);
        written = out.GetTotal();
        benchmark::DoNotOptimize(written);
    }
    Report(state, written);
}
BENCHMARK(EncodeCtHeader);

// rtstruct.dcm: 130 KB of contours in nested sequences.
void DecodeStructureSet(benchmark::State& state)
{
    BuildDictionary();
    const Bytes data = DataSetOf(LoadFile(SampleOf("octave-dicom/rtstruct.dcm")));
    for (auto _ : state)
    {
        MemInBuffer stream(data.data(), static_cast<std::uint32_t>(data.size()));
        DICOMDataSet set;
        benchmark::DoNotOptimize(FixDecoder(stream).DecodeExplicit(&set));
    }
    Report(state, data.size());
}
BENCHMARK(DecodeStructureSet);

// A whole file from disk: open, meta group, data set with its pixel data.
void ReadWholeFile(benchmark::State& state, const char* name, bool implicitVR)
{
    BuildDictionary();
    const std::string path = SampleOf(name).string();
    const std::size_t size = static_cast<std::size_t>(fs::file_size(path));
    for (auto _ : state)
    {
        IFB file;
        file.Open(path.c_str(), 0x40);
        file.Skip(PreambleAndPrefix);
        DICOMDataSet meta;
        FixDecoder decoder(file);
        decoder.DecodeTillTag(&meta, EndOfMetaGroup, 0);
        DICOMDataSet set;
        benchmark::DoNotOptimize(implicitVR ? decoder.DecodeImplicit(&set)
                                            : decoder.DecodeExplicit(&set));
    }
    Report(state, size);
}
BENCHMARK_CAPTURE(ReadWholeFile, CtAnkle512x512, "octave-dicom/CT-MONO2-16-ankle.dcm", true);
BENCHMARK_CAPTURE(ReadWholeFile, CtSmall, "pydicom/test_files/CT_small.dcm", false);

} // namespace
