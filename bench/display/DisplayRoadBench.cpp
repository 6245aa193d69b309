// Time from a 512 x 512 16-bit CT frame (12 bits stored, rescale -1024) to a
// windowed 8-bit DIB: at 1:1, and resized to 1024 x 1024. Ours goes the
// library's road (window table, 8-bit levels, the resampling library,
// packed DIB) and the matrices' display road (display-quality resampling of
// the samples, then the window); dcmtk renders the same frame with the same
// window into its own DIB. After the table it prints each figure with the
// peer's and the ratio.
#include "CpuTimeReporter.h"
#include "LookupTable.h"
#include "MetaMatrix16.h"
#include "RealImage.h"
#include "SyntheticImages.h"
#include "WinGlobalMemory.h"

#include <dcmtk/dcmdata/dcdatset.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmimgle/dcmimage.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{

constexpr int kSide = 512;
constexpr int kLarge = 1024;
constexpr int kCenter = 40;
constexpr int kWidth = 400;
constexpr float kIntercept = -1024.0f;

const std::vector<std::uint16_t>& GetSlice()
{
    static const std::vector<std::uint16_t> slice = MakeCtSlice(kSide);
    return slice;
}

std::unique_ptr<RealImage16> MakeRealImage()
{
    const std::vector<std::uint16_t>& slice = GetSlice();
    auto* pixels = new std::uint16_t[slice.size()];
    std::memcpy(pixels, slice.data(), slice.size() * sizeof(std::uint16_t));
    auto image =
        std::make_unique<RealImage16>(pixels, kSide, kSide, 12, 0, 4095, 0, 4095, kIntercept, 1.0f);
    image->GetLookupTable().Init(0, 4095, kIntercept, 1.0f, kWidth, kCenter);
    return image;
}

// The library's road: window table, 8-bit levels, resize, DIB.
void RenderThroughLibrary(RealImage16& image, int side)
{
    const std::unique_ptr<RealImage8> levels(image.Remap());
    if (side != kSide)
        levels->Scale(side, side);
    HGLOBAL dib = levels->CreateDIB();
    benchmark::DoNotOptimize(dib);
    GlobalFree(dib);
}

void LibraryAtOneToOne(benchmark::State& state)
{
    const std::unique_ptr<RealImage16> image = MakeRealImage();
    for (auto _ : state)
        RenderThroughLibrary(*image, kSide);
}

void LibraryResized(benchmark::State& state)
{
    const std::unique_ptr<RealImage16> image = MakeRealImage();
    for (auto _ : state)
        RenderThroughLibrary(*image, kLarge);
}

// The matrices' display road: display-quality resize of the samples, then
// the window table and the DIB.
void MatrixResized(benchmark::State& state)
{
    MetaMatrix16 image(16, 12, 11, kSide, kSide, 0, 4095, 0, 1);
    std::memcpy(image.GetPixelData(), GetSlice().data(), GetSlice().size() * sizeof(std::uint16_t));
    const LookupTable window(0, 4095, kIntercept, 1.0f, kWidth, kCenter);
    for (auto _ : state)
    {
        MetaMatrix16 scaled(image);
        scaled.ScaleOptimize(kLarge, kLarge);
        const std::unique_ptr<unsigned char[]> table(window.CreateLookupTable(12));
        const std::unique_ptr<MetaMatrix> levels(scaled.GetPixmap(table.get()));
        void* dib = levels->CreateDIB();
        benchmark::DoNotOptimize(dib);
        GlobalFree(dib);
    }
}

std::unique_ptr<DicomImage> MakeDcmtkImage(DcmDataset& dataset)
{
    dataset.putAndInsertString(DCM_PhotometricInterpretation, "MONOCHROME2");
    dataset.putAndInsertUint16(DCM_SamplesPerPixel, 1);
    dataset.putAndInsertUint16(DCM_Rows, kSide);
    dataset.putAndInsertUint16(DCM_Columns, kSide);
    dataset.putAndInsertUint16(DCM_BitsAllocated, 16);
    dataset.putAndInsertUint16(DCM_BitsStored, 12);
    dataset.putAndInsertUint16(DCM_HighBit, 11);
    dataset.putAndInsertUint16(DCM_PixelRepresentation, 0);
    dataset.putAndInsertString(DCM_RescaleIntercept, "-1024");
    dataset.putAndInsertString(DCM_RescaleSlope, "1");
    dataset.putAndInsertUint16Array(DCM_PixelData, GetSlice().data(),
                                    static_cast<unsigned long>(GetSlice().size()));
    auto image = std::make_unique<DicomImage>(&dataset, EXS_LittleEndianExplicit);
    if (image->getStatus() != EIS_Normal)
        return nullptr;
    return image;
}

void RenderThroughDcmtk(benchmark::State& state, int side)
{
    DcmDataset dataset;
    const std::unique_ptr<DicomImage> image = MakeDcmtkImage(dataset);
    if (image == nullptr)
    {
        state.SkipWithError("dcmtk cannot read the frame");
        return;
    }
    for (auto _ : state)
    {
        std::unique_ptr<DicomImage> scaled;
        DicomImage* rendered = image.get();
        if (side != kSide)
        {
            scaled.reset(image->createScaledImage(static_cast<unsigned long>(side),
                                                  static_cast<unsigned long>(side)));
            rendered = scaled.get();
        }
        rendered->setWindow(kCenter, kWidth);
        void* dib = nullptr;
        rendered->createWindowsDIB(dib, 0, 0, 8, 1, 1);
        benchmark::DoNotOptimize(dib);
        delete[] static_cast<std::uint8_t*>(dib);
    }
}

void DcmtkAtOneToOne(benchmark::State& state)
{
    RenderThroughDcmtk(state, kSide);
}

void DcmtkResized(benchmark::State& state)
{
    RenderThroughDcmtk(state, kLarge);
}

BENCHMARK(LibraryAtOneToOne)->Name("Window512/Library")->Unit(benchmark::kMicrosecond);
BENCHMARK(DcmtkAtOneToOne)->Name("Window512/dcmtk")->Unit(benchmark::kMicrosecond);
BENCHMARK(LibraryResized)->Name("WindowResize1024/Library")->Unit(benchmark::kMicrosecond);
BENCHMARK(MatrixResized)->Name("WindowResize1024/MatrixDisplay")->Unit(benchmark::kMicrosecond);
BENCHMARK(DcmtkResized)->Name("WindowResize1024/dcmtk")->Unit(benchmark::kMicrosecond);

void PrintLine(const BenchTimes& times, const std::string& ours, const std::string& peer,
               double goal)
{
    const double our = GetBenchTime(times, ours);
    const double their = GetBenchTime(times, peer);
    if (our <= 0.0 || their <= 0.0)
        return;
    std::printf("  %-32s %8.3f ms  dcmtk %8.3f ms  speed ratio %6.2f  (goal under %.1f ms)\n",
                ours.c_str(), our * 1e3, their * 1e3, their / our, goal);
}

void PrintSummary(const BenchTimes& times)
{
    std::printf("\nWindowed 8-bit DIB of a 512 x 512 16-bit frame, CPU time per frame\n");
    PrintLine(times, "Window512/Library", "Window512/dcmtk", 0.3);
    PrintLine(times, "WindowResize1024/Library", "WindowResize1024/dcmtk", 2.0);
    PrintLine(times, "WindowResize1024/MatrixDisplay", "WindowResize1024/dcmtk", 2.0);
}

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithSummary(argc, argv, PrintSummary);
}
