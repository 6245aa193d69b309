// Files per second reading the header of every file of the sample corpus:
// open, parse up to the pixel data, close. Ours through
// DICOMFile::ReadFileNoImage, dcmtk's through
// DcmFileFormat::loadFileUntilTag(PixelData), both over the files that both
// read. After the table it prints both rates and their ratio.
#include "CpuTimeReporter.h"
#include "DICOMFile.h"
#include "VeltaroLibrary.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/oflog/oflog.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

bool ReadOurs(const std::string& path)
{
    DICOMFile file;
    return file.ReadFileNoImage(path.c_str()) != 0;
}

bool ReadDcmtk(const std::string& path)
{
    DcmFileFormat file;
    return file
        .loadFileUntilTag(path.c_str(), EXS_Unknown, EGL_noChange, DCM_MaxReadLength,
                          ERM_autoDetect, DCM_PixelData)
        .good();
}

// Every regular file of the corpus that both read, in a fixed order.
std::vector<std::string> FindCorpusFiles()
{
    std::vector<std::string> paths;
    if (!fs::is_directory(SUITE_CORPUS_DIR))
        return paths;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(SUITE_CORPUS_DIR))
    {
        const std::string path = entry.path().string();
        if (entry.is_regular_file() && entry.path().extension() != ".md" &&
            entry.path().extension() != ".tsv" && entry.path().extension() != ".txt" &&
            ReadOurs(path) && ReadDcmtk(path))
            paths.push_back(path);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

const std::vector<std::string>& GetCorpusFiles()
{
    static const std::vector<std::string> paths = []
    {
        VeltaroInitialize();
        OFLog::configure(OFLogger::FATAL_LOG_LEVEL);
        return FindCorpusFiles();
    }();
    return paths;
}

template <bool (*Read)(const std::string&)> void ReadCorpusHeaders(benchmark::State& state)
{
    const std::vector<std::string>& paths = GetCorpusFiles();
    if (paths.empty())
    {
        state.SkipWithError("the sample corpus is missing");
        return;
    }
    for (auto _ : state)
    {
        for (const std::string& path : paths)
            benchmark::DoNotOptimize(Read(path));
    }
    state.counters["files/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * paths.size()), benchmark::Counter::kIsRate);
}

BENCHMARK(ReadCorpusHeaders<ReadOurs>)
    ->Name("CorpusHeaders/Veltaro")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ReadCorpusHeaders<ReadDcmtk>)->Name("CorpusHeaders/dcmtk")->Unit(benchmark::kMillisecond);

void PrintSummary(const BenchTimes& times)
{
    const double ours = GetBenchTime(times, "CorpusHeaders/Veltaro");
    const double peer = GetBenchTime(times, "CorpusHeaders/dcmtk");
    const double files = static_cast<double>(GetCorpusFiles().size());
    if (ours <= 0.0 || peer <= 0.0)
        return;
    std::printf("\nHeader reads of %.0f corpus files, CPU time\n", files);
    std::printf("  Veltaro %9.0f files/s  dcmtk %9.0f files/s  ratio %5.2f  (goal at least 4)\n",
                files / ours, files / peer, peer / ours);
}

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithSummary(argc, argv, PrintSummary);
}
