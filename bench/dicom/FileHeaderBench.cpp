// Header-only reads of a series: what a viewer does when it opens a folder
// of 500 CT slices and sorts them before showing the first. Each file holds
// a real-sized CT header (about 3 KB: the library's image template, the
// acquisition, geometry and display elements, a referenced-image sequence
// and a private group) and a 256 x 256 16-bit image that the read skips.
#include "DICOMFile.h"
#include "UID.h"
#include "VeltaroLibrary.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

namespace fs = std::filesystem;

constexpr int SeriesSize = 500;
constexpr int ImageSide = 256;

struct TextElement
{
    std::uint16_t group;
    std::uint16_t element;
    const char* text;
};

// Acquisition, equipment, geometry and display elements of a CT slice.
constexpr TextElement CtTexts[] = {
    {0x0008, 0x0005, "ISO_IR 100"},
    {0x0008, 0x0008, "ORIGINAL\\PRIMARY\\AXIAL"},
    {0x0008, 0x0012, "20231002"},
    {0x0008, 0x0013, "101523.250"},
    {0x0008, 0x0022, "20231002"},
    {0x0008, 0x0032, "101501.125"},
    {0x0008, 0x0050, "ACC-2023-118877"},
    {0x0008, 0x0060, "CT"},
    {0x0008, 0x0070, "Sample Medical Systems"},
    {0x0008, 0x0080, "General Hospital of Sampletown"},
    {0x0008, 0x0081, "1 Hospital Road, Sampletown"},
    {0x0008, 0x0090, "Referrer^Robert^^Dr."},
    {0x0008, 0x1010, "CTROOM2"},
    {0x0008, 0x1030, "CT THORAX ABDOMEN WITH CONTRAST"},
    {0x0008, 0x103E, "Axial 1.25mm Standard"},
    {0x0008, 0x1040, "Radiology"},
    {0x0008, 0x1090, "Scanner 64"},
    {0x0010, 0x0010, "Sample^Patient^Middle"},
    {0x0010, 0x0020, "PID-00012345"},
    {0x0010, 0x0030, "19610412"},
    {0x0010, 0x0040, "F"},
    {0x0010, 0x1010, "062Y"},
    {0x0010, 0x1020, "1.68"},
    {0x0010, 0x1030, "71"},
    {0x0018, 0x0015, "CHEST"},
    {0x0018, 0x0022, "HELICAL MODE"},
    {0x0018, 0x0050, "1.25"},
    {0x0018, 0x0060, "120"},
    {0x0018, 0x0088, "1.25"},
    {0x0018, 0x0090, "500.000000"},
    {0x0018, 0x1020, "SW 12.4.7"},
    {0x0018, 0x1100, "360.000000"},
    {0x0018, 0x1110, "949.075012"},
    {0x0018, 0x1111, "541.000000"},
    {0x0018, 0x1120, "0.0"},
    {0x0018, 0x1130, "168.000000"},
    {0x0018, 0x1140, "CW"},
    {0x0018, 0x1150, "800"},
    {0x0018, 0x1151, "250"},
    {0x0018, 0x1152, "5"},
    {0x0018, 0x1160, "BODY FILTER"},
    {0x0018, 0x1170, "30"},
    {0x0018, 0x1190, "0.700000"},
    {0x0018, 0x1210, "STANDARD"},
    {0x0018, 0x5100, "FFS"},
    {0x0020, 0x0010, "118877"},
    {0x0020, 0x0011, "3"},
    {0x0020, 0x0012, "1"},
    {0x0020, 0x0037, "1.000000\\0.000000\\0.000000\\0.000000\\1.000000\\0.000000"},
    {0x0020, 0x0052, "1.2.840.84658685.77.2023.1002.4"},
    {0x0020, 0x1040, "SN"},
    {0x0028, 0x0004, "MONOCHROME2"},
    {0x0028, 0x0030, "0.703125\\0.703125"},
    {0x0028, 0x1050, "40\\400"},
    {0x0028, 0x1051, "400\\1500"},
    {0x0028, 0x1052, "-1024"},
    {0x0028, 0x1053, "1"},
    {0x0028, 0x1055, "WINDOW1\\WINDOW2"},
};

void FillSlice(DICOMVRSet& set, int index)
{
    DCMHeader.CopyTo(set);
    for (const TextElement& text : CtTexts)
    {
        set.Add(text.group, text.element, text.text);
    }
    const std::string suffix = std::to_string(index + 1);
    set.Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.2"));
    set.Add(0x0008, 0x0018, UID(("1.2.840.84658685.77.2023.1002.3." + suffix).c_str()));
    set.Add(0x0020, 0x000D, UID("1.2.840.84658685.77.2023.1002.1"));
    set.Add(0x0020, 0x000E, UID("1.2.840.84658685.77.2023.1002.2"));
    set.Add(0x0020, 0x0013, suffix.c_str());
    const std::string z = std::to_string(-150.0 + 1.25 * index);
    set.Add(0x0020, 0x0032, ("-180.000000\\-180.000000\\" + z).c_str());
    set.Add(0x0020, 0x1041, z.c_str());
    for (int item = 0; item < 3; ++item)
    {
        DICOMDataSet reference;
        reference.Add(0x0008, 0x1150, UID("1.2.840.10008.5.1.4.1.1.2"));
        reference.Add(0x0008, 0x1155,
                      UID(("1.2.840.84658685.77.2023.1002.9." + std::to_string(item)).c_str()));
        set.Add(0x0008, 0x1140, reference);
    }
    set.Add(0x0009, 0x0010, "SAMPLE_CT_PRIVATE");
    for (std::uint16_t element = 0x1001; element <= 0x1014; ++element)
    {
        set.Add(0x0009, element, "private acquisition detail");
    }
    set.Add(0x0028, 0x0010, static_cast<unsigned short>(ImageSide));
    set.Add(0x0028, 0x0011, static_cast<unsigned short>(ImageSide));
    set.Add(0x0028, 0x0100, static_cast<unsigned short>(16));
    set.Add(0x0028, 0x0101, static_cast<unsigned short>(12));
    set.Add(0x0028, 0x0102, static_cast<unsigned short>(11));
    set.Add(0x0028, 0x0103, static_cast<unsigned short>(1));
    std::vector<short> pixels(ImageSide * ImageSide, static_cast<short>(index));
    set.Add(0x7FE0, 0x0010, pixels.data(), static_cast<int>(pixels.size()));
}

// One series per transfer syntax, written once and removed at exit.
class Series
{
public:
    explicit Series(const UID& syntax)
    {
        VeltaroInitialize();
        m_folder = fs::temp_directory_path() / ("veltaro-bench-series-" + std::to_string(getpid()) +
                                                "-" + static_cast<const char*>(syntax));
        fs::create_directories(m_folder);
        for (int i = 0; i < SeriesSize; ++i)
        {
            DICOMFile slice;
            FillSlice(slice, i);
            slice.SetTransferSyntax(syntax);
            char name[32];
            std::snprintf(name, sizeof name, "CT%04d.dcm", i + 1);
            m_paths.push_back((m_folder / name).string());
            slice.WriteFile(m_paths.back().c_str(), 1);
        }
    }
    ~Series() { fs::remove_all(m_folder); }
    Series(const Series&) = delete;
    Series& operator=(const Series&) = delete;

    const std::vector<std::string>& GetPaths() const { return m_paths; }

private:
    fs::path m_folder;
    std::vector<std::string> m_paths;
};

const Series& SeriesOf(int syntax)
{
    static const Series implicitSeries(UidTransferLittleEndian);
    static const Series explicitSeries(UidTransferLittleEndianExplicit);
    return syntax == 0 ? implicitSeries : explicitSeries;
}

// Arg 0: implicit VR little endian; 1: explicit VR little endian.
void ReadSeriesHeaders(benchmark::State& state)
{
    const Series& series = SeriesOf(static_cast<int>(state.range(0)));
    std::int64_t stopped = 0;
    for (auto _ : state)
    {
        for (const std::string& path : series.GetPaths())
        {
            DICOMFile header;
            stopped += header.ReadFileNoImage(path.c_str());
        }
    }
    benchmark::DoNotOptimize(stopped);
    state.counters["files/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * SeriesSize, benchmark::Counter::kIsRate);
    state.counters["header bytes"] =
        static_cast<double>(stopped) / static_cast<double>(state.iterations() * SeriesSize);
}
BENCHMARK(ReadSeriesHeaders)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
