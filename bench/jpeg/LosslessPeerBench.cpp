// Lossless JPEG (process 14) decoded by "Quorex.dll" beside dcmtk's decoder
// on the same streams: the lossless frame of the sample corpus with the
// peer-made streams of tests/data/jpeg (8, 12, 15 and 16 bits, predictors 1
// to 7, grey and colour), and 512 x 512 frames coded here (8, 12 and 16
// bits and colour, first-order and chosen predictors). After the table it
// prints both times of each set and their ratio.
#include "CorpusFrames.h"
#include "CpuTimeReporter.h"
#include "Quorex.h"
#include "SyntheticImages.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/dcmjpeg/djcparam.h>
#include <dcmtk/dcmjpeg/djdijg12.h>
#include <dcmtk/dcmjpeg/djdijg16.h>
#include <dcmtk/dcmjpeg/djdijg8.h>

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

struct LosslessStream
{
    ByteVector data;
    int nPrecision = 0;
    int nComponents = 0;
    int nRows = 0;
    int nColumns = 0;
};

// Precision, size and components from the SOF3 segment; false when the
// stream has none.
bool ReadFrameHeader(LosslessStream& stream)
{
    const ByteVector& d = stream.data;
    size_t nPos = 2;
    while (nPos + 9 < d.size() && d[nPos] == 0xFF)
    {
        const int nMarker = d[nPos + 1];
        const size_t nLength = size_t(d[nPos + 2]) << 8 | d[nPos + 3];
        if (nMarker == 0xC3)
        {
            stream.nPrecision = d[nPos + 4];
            stream.nRows = d[nPos + 5] << 8 | d[nPos + 6];
            stream.nColumns = d[nPos + 7] << 8 | d[nPos + 8];
            stream.nComponents = d[nPos + 9];
            return true;
        }
        nPos += 2 + nLength;
    }
    return false;
}

void* GetQuorex()
{
    static void* library = dlopen(QUOREX_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        throw std::runtime_error("cannot load " QUOREX_LIBRARY);
    return library;
}

template <typename Function> Function GetEntry(const char* pName)
{
    return reinterpret_cast<Function>(dlsym(GetQuorex(), pName));
}

ByteVector ReadWholeFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return ByteVector((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void AddStream(std::vector<LosslessStream>& streams, ByteVector data)
{
    LosslessStream stream;
    stream.data = std::move(data);
    if (ReadFrameHeader(stream))
        streams.push_back(std::move(stream));
}

std::vector<LosslessStream> GetRealStreams()
{
    std::vector<LosslessStream> streams;
    for (const ByteVector& frame :
         ReadEncapsulatedFrames(GetCorpusPath("pydicom/test_files/SC_rgb_jpeg_gdcm.dcm"), 1))
        AddStream(streams, frame);
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(SUITE_TEST_DATA_DIR "/jpeg"))
    {
        if (entry.path().filename().string().find("lossless") != std::string::npos)
            paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    for (const fs::path& path : paths)
        AddStream(streams, ReadWholeFile(path));
    return streams;
}

std::vector<LosslessStream> GetLargeStreams()
{
    struct Made
    {
        const char* pEntry;
        int nChannels, nBytes, nBits;
    };
    const Made made[] = {
        {"JPEGProc14SV1_8BitEncode", 1, 1, 8},   {"JPEGProc14_8BitEncode", 1, 1, 8},
        {"JPEGProc14SV1_16BitEncode", 1, 2, 12}, {"JPEGProc14_16BitEncode", 1, 2, 12},
        {"JPEGProc14SV1_16BitEncode", 1, 2, 16}, {"JPEGProc14_16BitEncode", 1, 2, 16},
        {"JPEGProc14SV1_RGBEncode", 3, 1, 8},    {"JPEGProc14_RGBEncode", 3, 1, 8},
    };
    const auto pDelete = GetEntry<PFN_jpgdel>("jpgdel");
    std::vector<LosslessStream> streams;
    for (const Made& m : made)
    {
        const ByteVector image = MakeShadedImage(512, m.nChannels, m.nBytes, m.nBits);
        int nLength = 0;
        unsigned char* pStream =
            GetEntry<PFN_JpegLosslessEncode>(m.pEntry)(image.data(), 512, 512, &nLength);
        if (pStream == nullptr)
            continue;
        AddStream(streams, ByteVector(pStream, pStream + nLength));
        pDelete(pStream);
    }
    return streams;
}

const std::vector<LosslessStream>& GetSet(int nSet)
{
    static const std::vector<LosslessStream> real = GetRealStreams();
    static const std::vector<LosslessStream> large = GetLargeStreams();
    return nSet == 0 ? real : large;
}

const char* GetDecodeEntry(const LosslessStream& stream)
{
    if (stream.nComponents == 3)
        return "JPEGProc14_RGBDecode";
    return stream.nPrecision <= 8 ? "JPEGProc14_8BitDecode" : "JPEGProc14_16BitDecode";
}

void DecodeByQuorex(benchmark::State& state)
{
    const std::vector<LosslessStream>& streams = GetSet(static_cast<int>(state.range(0)));
    std::vector<PFN_JpegDecode> decoders;
    for (const LosslessStream& stream : streams)
        decoders.push_back(GetEntry<PFN_JpegDecode>(GetDecodeEntry(stream)));
    const auto pDelete = GetEntry<PFN_jpgdel>("jpgdel");
    for (auto _ : state)
    {
        for (size_t i = 0; i < streams.size(); ++i)
        {
            int nRows = 0;
            int nColumns = 0;
            unsigned char* pPixels = decoders[i](streams[i].data.data(), &nRows, &nColumns,
                                                 static_cast<int>(streams[i].data.size()));
            if (pPixels == nullptr)
            {
                state.SkipWithError("a stream did not decode");
                return;
            }
            pDelete(pPixels);
        }
    }
}

std::unique_ptr<DJDecoder> MakeDcmtkDecoder(const DJCodecParameter& parameter, int nPrecision)
{
    if (nPrecision <= 8)
        return std::make_unique<DJDecompressIJG8Bit>(parameter, OFFalse);
    if (nPrecision <= 12)
        return std::make_unique<DJDecompressIJG12Bit>(parameter, OFFalse);
    return std::make_unique<DJDecompressIJG16Bit>(parameter, OFFalse);
}

void DecodeByDcmtk(benchmark::State& state)
{
    const std::vector<LosslessStream>& streams = GetSet(static_cast<int>(state.range(0)));
    const DJCodecParameter parameter(ECC_lossyYCbCr, EDC_never, EUC_never, EPC_colorByPixel);
    std::vector<ByteVector> outputs;
    for (const LosslessStream& stream : streams)
        outputs.emplace_back(size_t(stream.nRows) * size_t(stream.nColumns) *
                             size_t(stream.nComponents) * (stream.nPrecision > 8 ? 2 : 1));
    for (auto _ : state)
    {
        for (size_t i = 0; i < streams.size(); ++i)
        {
            std::unique_ptr<DJDecoder> decoder = MakeDcmtkDecoder(parameter, streams[i].nPrecision);
            ByteVector& input = const_cast<ByteVector&>(streams[i].data);
            if (decoder->init().bad() ||
                decoder
                    ->decode(input.data(), static_cast<Uint32>(input.size()), outputs[i].data(),
                             static_cast<Uint32>(outputs[i].size()), OFFalse)
                    .bad())
            {
                state.SkipWithError("dcmtk did not decode a stream");
                return;
            }
        }
    }
}

BENCHMARK(DecodeByQuorex)->Name("Lossless/Real/Quorex")->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeByDcmtk)->Name("Lossless/Real/dcmtk")->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeByQuorex)->Name("Lossless/Frames512/Quorex")->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeByDcmtk)->Name("Lossless/Frames512/dcmtk")->Arg(1)->Unit(benchmark::kMillisecond);

void PrintSummary(const BenchTimes& times)
{
    std::printf("\nLossless JPEG decoding, CPU time of one pass over each set\n");
    for (const char* pSet : {"Real", "Frames512"})
    {
        const std::string name = std::string("Lossless/") + pSet;
        const double ours = GetBenchTime(times, name + "/Quorex/0");
        const double oursLarge = GetBenchTime(times, name + "/Quorex/1");
        const double peer = GetBenchTime(times, name + "/dcmtk/0");
        const double peerLarge = GetBenchTime(times, name + "/dcmtk/1");
        const double our = ours > 0.0 ? ours : oursLarge;
        const double their = peer > 0.0 ? peer : peerLarge;
        if (our > 0.0 && their > 0.0)
            std::printf(
                "  %-10s Quorex %8.3f ms  dcmtk %8.3f ms  ratio %5.2f  (goal at least 1.5)\n", pSet,
                our * 1e3, their * 1e3, their / our);
    }
}

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithSummary(argc, argv, PrintSummary);
}
