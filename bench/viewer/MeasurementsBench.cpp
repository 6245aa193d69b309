// Opening an image that carries 100,000 stored measurements, as the viewer
// opens a file: the file read, its frame decoded, every measurement of its
// group 6001 loaded, measured and labelled, and the image painted with them
// in an image pane. The goal is under 2 s, with none of the measurements
// dropped; the counters give the measurements loaded and the process's
// peak resident memory.
#include "AfxWin.h"
#include "BenchImages.h"
#include "ImageShow.h"
#include "MeasurementDocuments.h"
#include "MedImage.h"
#include "VeltaroLibrary.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace
{

constexpr int kMeasurements = 100000;
constexpr int kSide = 512;

// Callipers, angles, arrows and COBB angles in turn, spread over the image.
std::vector<StoredMeasurement> ManyMeasurements()
{
    const std::string style = StyleBlock(255, 255, 0, 1);
    std::vector<StoredMeasurement> items;
    items.reserve(kMeasurements);
    for (int i = 0; i < kMeasurements; ++i)
    {
        const int x = (i * 37) % (kSide - 80);
        const int y = (i * 101) % (kSide - 80);
        const POINT p1{x, y};
        const POINT p2{x + 20 + i % 50, y + 10 + i % 30};
        const POINT p3{x + 5, y + 60};
        switch (i % 4)
        {
        case 0:
            items.push_back({"XML", "ORoiCalliper", LineDocument("Calliper", p1, p2, style)});
            break;
        case 1:
            items.push_back({"XML", "ORoiAngle", AngleDocument(p1, p2, p3, style)});
            break;
        case 2:
            items.push_back({"XML", "ORoiArrow", LineDocument("Arrow", p1, p2, style)});
            break;
        default:
        {
            const POINT cobb[4] = {p1, p2, p3, {x + 70, y + 40}};
            items.push_back({"XML", "ORoiCOBBAngle", CobbDocument(cobb, style)});
            break;
        }
        }
    }
    return items;
}

// The measured image written once; empty when it cannot be.
std::string WriteMeasuredFile()
{
    VeltaroInitialize();
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("pelivo-bench-measurements-" + std::to_string(getpid()) + ".dcm");
    DICOMImage image;
    image.SetTransferSyntax(UidTransferLittleEndianExplicit);
    image.Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.7"));
    image.Add(0x0008, 0x0018, UID("1.2.826.0.1.3680043.8.27.9"));
    image.Add(0x0008, 0x0060, "OT");
    AddMonochrome12(image, kSide);
    image.Add(0x0028, 0x0030, "0.5\\0.5");
    std::vector<unsigned short> pixels(std::size_t(kSide) * kSide);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<unsigned short>((i * 7) % 4096);
    image.Add(0x7FE0, 0x0010, pixels.data(), static_cast<int>(pixels.size()));
    AddStoredMeasurements(image, ManyMeasurements());
    image.BuildMetaHead();
    return image.WriteFile(path.string().c_str(), 1) != 0 ? path.string() : std::string();
}

// Written on first use, removed when the program ends.
class MeasuredFile
{
public:
    MeasuredFile() : m_path(WriteMeasuredFile()) {}
    ~MeasuredFile()
    {
        if (!m_path.empty())
            std::filesystem::remove(m_path);
    }
    const std::string& GetPath() const { return m_path; }

private:
    std::string m_path;
};

// A host window with one image pane, as large as the image.
class PaneHost
{
public:
    PaneHost()
    {
        m_pHost->Create(nullptr, "Bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, kSide, kSide));
        m_pPane->Create(nullptr, "Pane", WS_CHILD | WS_VISIBLE, CRect(0, 0, kSide, kSide), m_pHost,
                        1);
    }
    ~PaneHost() { m_pHost->DestroyWindow(); }

    // The image painted in the pane, which lets go of it after.
    void Paint(ImageShow* show)
    {
        if (!m_pPane->AttachShow(show))
            return;
        m_pPane->Invalidate(FALSE);
        m_pPane->UpdateWindow();
        m_pPane->DetachShow();
    }

private:
    CFrameWnd* m_pHost = new CFrameWnd;
    MedImage* m_pPane = new MedImage;
};

int CountAnnotations(const ImageShow& show)
{
    int count = 0;
    for (auto* node = show.GetAnnotations().GetHead(); node != nullptr; node = node->next)
        ++count;
    return count;
}

double PeakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void OpenMeasuredImage(benchmark::State& state)
{
    static const MeasuredFile file;
    const std::string& path = file.GetPath();
    if (path.empty())
    {
        state.SkipWithError("the measured image cannot be written");
        return;
    }
    static PaneHost host;
    int loaded = 0;
    for (auto _ : state)
    {
        Corvane holder;
        if (!holder.LoadDicomFile(path.c_str()))
        {
            state.SkipWithError(("cannot load " + path).c_str());
            return;
        }
        auto show = std::make_unique<ImageShow>();
        show->AttachCorvane(holder, 0);
        show->EnsureLoaded();
        host.Paint(show.get());
        loaded = CountAnnotations(*show);
    }
    if (loaded != kMeasurements)
        state.SkipWithError(("measurements dropped: " + std::to_string(loaded)).c_str());
    state.counters["measurements"] = loaded;
    state.counters["peak_MB"] = PeakResidentMegabytes();
}

BENCHMARK(OpenMeasuredImage)
    ->Name("Viewer/Measurements/Open100k")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

} // namespace
