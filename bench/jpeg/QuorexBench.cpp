// Frames per second of every decode process of "Quorex.dll" at 512x512,
// called through its entries as the DICOM library calls them; for the 8-bit
// processes also the same stream decoded by libjpeg-turbo directly.
#include "Quorex.h"
#include "SyntheticImages.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <jpeglib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
constexpr int kSize = 512;

using ByteVector = std::vector<uint8_t>;

class Library
{
public:
    Library() : m_hModule(dlopen(QUOREX_LIBRARY, RTLD_NOW | RTLD_LOCAL))
    {
        if (m_hModule == nullptr)
        {
            throw std::runtime_error("cannot load " QUOREX_LIBRARY);
        }
    }
    template <typename Function> Function Get(const std::string& name) const
    {
        return reinterpret_cast<Function>(dlsym(m_hModule, name.c_str()));
    }

private:
    void* m_hModule;
};

const Library& GetLibrary()
{
    static const Library library;
    return library;
}

struct Process
{
    const char* pPrefix;
    const char* pLayout;
    bool bLossless;
    bool bTurboToo; // libjpeg-turbo can decode it as well
};

ByteVector Encode(const Process& process)
{
    const std::string layout = process.pLayout;
    const int nChannels = layout == "RGB" ? 3 : 1;
    const int nBytes = layout == "8Bit" || layout == "RGB" ? 1 : 2;
    const ByteVector image = MakeShadedImage(kSize, nChannels, nBytes, nBytes == 1 ? 8 : 12);
    const std::string entry = std::string(process.pPrefix) + "_" + layout + "Encode";
    int nLength = 0;
    unsigned char* pStream =
        process.bLossless
            ? GetLibrary().Get<PFN_JpegLosslessEncode>(entry)(image.data(), kSize, kSize, &nLength)
            : GetLibrary().Get<PFN_JpegLossyEncode>(entry)(image.data(), kSize, kSize, 90,
                                                           &nLength);
    if (pStream == nullptr)
    {
        throw std::runtime_error(entry + " failed");
    }
    ByteVector stream(pStream, pStream + nLength);
    GetLibrary().Get<PFN_jpgdel>("jpgdel")(pStream);
    return stream;
}

void SetFrameRate(benchmark::State& state)
{
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void DecodeThroughQuorex(benchmark::State& state, const Process& process)
{
    const ByteVector stream = Encode(process);
    const auto pDecode = GetLibrary().Get<PFN_JpegDecode>(std::string(process.pPrefix) + "_" +
                                                          process.pLayout + "Decode");
    const auto pDelete = GetLibrary().Get<PFN_jpgdel>("jpgdel");
    for (auto _ : state)
    {
        int nRows = 0;
        int nColumns = 0;
        unsigned char* pPixels =
            pDecode(stream.data(), &nRows, &nColumns, static_cast<int>(stream.size()));
        if (pPixels == nullptr)
        {
            state.SkipWithError("decode failed");
            break;
        }
        benchmark::DoNotOptimize(pPixels);
        pDelete(pPixels);
    }
    SetFrameRate(state);
}

// The plain libjpeg-turbo decode: same output colour space and buffer size.
void DecodeThroughTurbo(benchmark::State& state, const Process& process)
{
    const ByteVector stream = Encode(process);
    const bool bColour = std::string(process.pLayout) == "RGB";
    ByteVector pixels(size_t(kSize) * kSize * (bColour ? 3 : 1));
    for (auto _ : state)
    {
        jpeg_decompress_struct info;
        jpeg_error_mgr errors;
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, stream.data(), stream.size());
        jpeg_read_header(&info, TRUE);
        info.out_color_space = bColour ? JCS_RGB : JCS_GRAYSCALE;
        jpeg_start_decompress(&info);
        const size_t nRowBytes = size_t(info.output_width) * info.output_components;
        while (info.output_scanline < info.output_height)
        {
            JSAMPROW pRow = pixels.data() + info.output_scanline * nRowBytes;
            jpeg_read_scanlines(&info, &pRow, 1);
        }
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(pixels.data());
    }
    SetFrameRate(state);
}

const Process kProcesses[] = {
    {"JPEGBaseline", "8Bit", false, true},       {"JPEGBaseline", "RGB", false, true},
    {"JPEGExtendedProc", "8Bit", false, true},   {"JPEGExtendedProc", "RGB", false, true},
    {"JPEGSpectralProc", "8Bit", false, true},   {"JPEGSpectralProc", "RGB", false, true},
    {"JPEGFullProgress", "8Bit", false, true},   {"JPEGFullProgress", "RGB", false, true},
    {"JPEGExtendedProc", "12Bit", false, false}, {"JPEGSpectralProc", "12Bit", false, false},
    {"JPEGFullProgress", "12Bit", false, false}, {"JPEGProc14", "8Bit", true, false},
    {"JPEGProc14", "16Bit", true, false},        {"JPEGProc14", "RGB", true, false},
    {"JPEGProc14SV1", "8Bit", true, false},      {"JPEGProc14SV1", "16Bit", true, false},
    {"JPEGProc14SV1", "RGB", true, false},
};

bool DoRegister()
{
    for (const Process& process : kProcesses)
    {
        const std::string name = std::string(process.pPrefix) + "_" + process.pLayout;
        benchmark::RegisterBenchmark(("Decode512/" + name + "/Quorex").c_str(), DecodeThroughQuorex,
                                     process)
            ->Unit(benchmark::kMillisecond);
        if (process.bTurboToo)
        {
            benchmark::RegisterBenchmark(("Decode512/" + name + "/libjpeg-turbo").c_str(),
                                         DecodeThroughTurbo, process)
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}

const bool kRegistered = DoRegister();
} // namespace
