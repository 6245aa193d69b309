// The viewer program, headless, from its start to the first paint of its
// image: started on one file (the 512 x 512 corpus CT) as on a command
// line, and started empty, then opening a folder of 500 small CT files of
// one series through Open File. Each run makes the application, its frame,
// the viewer window and its grid anew, and ends when every message the
// start and the opening queued, the paints included, has been handled.
#include "BenchImages.h"
#include "MainFrm.h"
#include "ModalAnswers.h"
#include "PelivoRunApp.h"
#include "PelivoWebView.h"
#include "WinFileDialog.h"
#include "WinProfile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
namespace fs = std::filesystem;

constexpr int kFiles = 500;
constexpr int kSide = 64;
const char kSeries[] = "1.2.826.0.1.3680043.8.27.3";

void PumpAll()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (msg.message == WM_QUIT)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Starts the program, runs the step, paints, and ends the program; false
// when it did not start or nothing was shown.
bool RunProgram(std::vector<std::string> arguments, void (*step)(CMainFrame&))
{
    arguments.insert(arguments.begin(), "PelivoRunBench");
    CPelivoRunApp app(std::move(arguments), RUNTIME_CLASS(CPelivoWebView),
                      "PelivoRunBench." + std::to_string(::getpid()));
    if (!app.InitInstance())
        return false;
    auto* pFrame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    if (step != nullptr)
        step(*pFrame);
    PumpAll();
    const bool bShown = !pFrame->GetViewer()->IsHotImageEmpty();
    app.ExitInstance();
    pFrame->DestroyWindow();
    PumpAll();
    return bShown;
}

// Written once per run, before the first timed start.
const std::vector<std::string>& SeriesFiles()
{
    static const std::vector<std::string> files = WriteSmallSeries(
        fs::temp_directory_path() / "pelivorun_open_bench", kFiles, kSide, kSeries);
    return files;
}

void OpenSeriesFolder(CMainFrame& frame)
{
    const std::vector<std::string>& files = SeriesFiles();
    std::vector<std::string> names;
    for (const std::string& path : files)
        names.push_back(fs::path(path).filename().string());
    SetModalAnswerHook([](const ModalRequest& request) -> std::optional<INT_PTR>
                       { return request.kind == enModalKind::FileDialog ? IDOK : IDCANCEL; });
    SetFileDialogChoice({fs::path(files.front()).parent_path().string(), names, 0});
    frame.SendMessage(WM_COMMAND, ID_FILE_OPEN);
    SetModalAnswerHook(nullptr);
}

void StartOnOneFile(benchmark::State& state)
{
    CProfileStore::SetInMemory(true);
    const std::string file =
        (fs::path(SUITE_CORPUS_DIR) / "octave-dicom/CT-MONO2-16-ankle.dcm").string();
    for (auto _ : state)
    {
        if (!RunProgram({file}, nullptr))
            state.SkipWithError("the program did not show the file");
    }
}

void StartAndOpen500Files(benchmark::State& state)
{
    CProfileStore::SetInMemory(true);
    if (SeriesFiles().empty())
    {
        state.SkipWithError("cannot write the series files");
        return;
    }
    for (auto _ : state)
    {
        if (!RunProgram({}, &OpenSeriesFolder))
            state.SkipWithError("the program did not show the series");
    }
}

BENCHMARK(StartOnOneFile)
    ->Name("PelivoRun/StartToFirstPaint/OneFile")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(StartAndOpen500Files)
    ->Name("PelivoRun/StartToFirstPaint/Open500Files")
    ->Unit(benchmark::kMillisecond);
} // namespace
