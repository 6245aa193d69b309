// Wall time decoding a 512 x 512 16-bit frame through "Quoral2K.dll", which
// decodes on OpenJPEG's worker threads, beside OpenJPEG called directly on
// the calling thread alone, on the same codestream: a CT-shaped frame coded
// losslessly here, and the irreversible CT frame of the corpus. Both decodes
// must give the same samples. After the table it prints both times and the
// speed-up.
#include "CorpusFrames.h"
#include "CpuTimeReporter.h"
#include "Quoral2K.h"

#include <benchmark/benchmark.h>
#include <openjpeg.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{

struct ThreadsCase
{
    const char* name;
    PFN_J2kDecode pDecode;
    const char* pFile; // null: the frame coded here
};

const ThreadsCase Cases[] = {
    {"CtLossless512", JP2_16BitDecode, nullptr},
    {"CtIrreversible512", JPC_16BitDecode, "pydicom/test_files/693_J2KI.dcm"},
};

// 512 x 512 signed 16-bit samples shaped like a CT slice, with texture.
ByteVector MakeLosslessFrame()
{
    ByteVector raw(512 * 512 * 2);
    for (size_t i = 0; i < raw.size() / 2; ++i)
    {
        const long nRow = static_cast<long>(i / 512) - 256;
        const long nColumn = static_cast<long>(i % 512) - 256;
        const long nValue = (nRow * nRow + nColumn * nColumn < 200 * 200)
                                ? 40 + static_cast<long>((i * 7919) % 211)
                                : -1000 + static_cast<long>((i * 104729) % 31);
        raw[2 * i] = static_cast<uint8_t>(nValue);
        raw[2 * i + 1] = static_cast<uint8_t>(nValue >> 8);
    }
    int nLength = 0;
    unsigned char* pCodestream = JP2_16BitEncode(raw.data(), 512, 512, &nLength, 1);
    if (pCodestream == nullptr)
        return {};
    ByteVector frame(pCodestream, pCodestream + nLength);
    JPGDEL(pCodestream);
    return frame;
}

ByteVector GetFrame(const ThreadsCase& c)
{
    if (c.pFile == nullptr)
        return MakeLosslessFrame();
    const std::vector<ByteVector> frames = ReadEncapsulatedFrames(GetCorpusPath(c.pFile), 1);
    return frames.size() == 1 ? frames[0] : ByteVector();
}

struct MemorySource
{
    const ByteVector* pFrame;
    size_t nPos;
};

OPJ_SIZE_T ReadMemory(void* pBuffer, OPJ_SIZE_T nBytes, void* pUser)
{
    auto* pSource = static_cast<MemorySource*>(pUser);
    if (pSource->nPos >= pSource->pFrame->size())
        return static_cast<OPJ_SIZE_T>(-1);
    const size_t nCount = std::min<size_t>(nBytes, pSource->pFrame->size() - pSource->nPos);
    std::memcpy(pBuffer, pSource->pFrame->data() + pSource->nPos, nCount);
    pSource->nPos += nCount;
    return nCount;
}

OPJ_OFF_T SkipMemory(OPJ_OFF_T nBytes, void* pUser)
{
    auto* pSource = static_cast<MemorySource*>(pUser);
    pSource->nPos =
        std::min<size_t>(pSource->pFrame->size(),
                         static_cast<size_t>(static_cast<OPJ_OFF_T>(pSource->nPos) + nBytes));
    return nBytes;
}

OPJ_BOOL SeekMemory(OPJ_OFF_T nPos, void* pUser)
{
    static_cast<MemorySource*>(pUser)->nPos = static_cast<size_t>(nPos);
    return OPJ_TRUE;
}

// OpenJPEG on the calling thread alone; the samples as 16-bit values.
std::vector<int16_t> DecodeDirectly(const ByteVector& frame)
{
    const bool bJp2 = frame.size() > 4 && frame[0] == 0 && frame[3] == 0x0C;
    opj_codec_t* pCodec = opj_create_decompress(bJp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    opj_setup_decoder(pCodec, &parameters);
    MemorySource source{&frame, 0};
    opj_stream_t* pStream = opj_stream_create(0x10000, OPJ_TRUE);
    opj_stream_set_user_data(pStream, &source, nullptr);
    opj_stream_set_user_data_length(pStream, frame.size());
    opj_stream_set_read_function(pStream, ReadMemory);
    opj_stream_set_skip_function(pStream, SkipMemory);
    opj_stream_set_seek_function(pStream, SeekMemory);
    opj_image_t* pImage = nullptr;
    std::vector<int16_t> samples;
    if (opj_read_header(pStream, pCodec, &pImage) && opj_decode(pCodec, pStream, pImage) &&
        opj_end_decompress(pCodec, pStream))
    {
        const opj_image_comp_t& component = pImage->comps[0];
        samples.assign(component.data, component.data + size_t{component.w} * component.h);
    }
    opj_image_destroy(pImage);
    opj_stream_destroy(pStream);
    opj_destroy_codec(pCodec);
    return samples;
}

std::vector<int16_t> DecodeThroughShim(const ThreadsCase& c, const ByteVector& frame)
{
    int nRows = 0;
    int nColumns = 0;
    unsigned char* pOut =
        c.pDecode(frame.data(), &nRows, &nColumns, static_cast<int>(frame.size()));
    if (pOut == nullptr)
        return {};
    std::vector<int16_t> samples(size_t(nRows) * size_t(nColumns));
    std::memcpy(samples.data(), pOut, samples.size() * sizeof(int16_t));
    JPGDEL(pOut);
    return samples;
}

void Shim(benchmark::State& state, const ThreadsCase* c)
{
    const ByteVector frame = GetFrame(*c);
    if (frame.empty() || DecodeThroughShim(*c, frame) != DecodeDirectly(frame))
    {
        state.SkipWithError("the frame is missing or the decodes differ");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeThroughShim(*c, frame));
}

void OpenJpegAlone(benchmark::State& state, const ThreadsCase* c)
{
    const ByteVector frame = GetFrame(*c);
    if (frame.empty())
    {
        state.SkipWithError("the frame is missing");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeDirectly(frame));
}

const bool Registered = []
{
    for (const ThreadsCase& c : Cases)
    {
        benchmark::RegisterBenchmark((std::string("J2k/") + c.name + "/Quoral2K").c_str(), Shim, &c)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string("J2k/") + c.name + "/OpenJpegOneThread").c_str(),
                                     OpenJpegAlone, &c)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    return true;
}();

void PrintSummary(const BenchTimes& times)
{
    std::printf("\n512 x 512 16-bit JPEG 2000 frame, wall time\n");
    for (const ThreadsCase& c : Cases)
    {
        const std::string name = std::string("J2k/") + c.name;
        const double shim = GetBenchTime(times, name + "/Quoral2K/real_time");
        const double alone = GetBenchTime(times, name + "/OpenJpegOneThread/real_time");
        if (shim > 0.0 && alone > 0.0)
            std::printf("  %-18s Quoral2K %7.2f ms  OpenJPEG on one thread %7.2f ms  speed-up "
                        "%5.2f  (goal at least 3)\n",
                        c.name, shim * 1e3, alone * 1e3, alone / shim);
    }
}

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithSummary(argc, argv, PrintSummary);
}
