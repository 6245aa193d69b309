// One typical paint of an image pane on its off-screen surface: a 1024 x 1024
// 8-bit DIB section with a grey colour table, the image stretched onto it, 50
// lines in the mix modes the panes use and 20 text labels.
#include "GdiBenchSurfaces.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace
{
constexpr int kSurface = 1024;
constexpr int kImage = 512;
constexpr int kLines = 50;
constexpr int kLabels = 20;

// The pane's off-screen surface: an 8-bit grey DIB section.
HBITMAP GreySection()
{
    const std::vector<BYTE> info = GreyDibInfo(kSurface, kSurface);
    void* bits = nullptr;
    return CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()),
                            DIB_RGB_COLORS, &bits, nullptr, 0);
}

void PanePaint8Bit(benchmark::State& state)
{
    const std::vector<BYTE> imageInfo = GreyDibInfo(kImage, kImage);
    std::vector<BYTE> image(std::size_t(kImage) * kImage);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = BYTE((i % kImage) ^ (i / kImage));
    CBenchMemoryDC pane(GreySection());
    SetStretchBltMode(pane.Get(), COLORONCOLOR);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HFONT font =
        CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ oldPen = SelectObject(pane.Get(), pen);
    HGDIOBJ oldFont = SelectObject(pane.Get(), font);
    SetBkMode(pane.Get(), TRANSPARENT);
    SetTextColor(pane.Get(), RGB(255, 255, 255));
    const int modes[] = {R2_COPYPEN, R2_NOT, R2_NOTXORPEN, R2_MERGEPEN, R2_NOTCOPYPEN};
    char label[32];
    for (auto _ : state)
    {
        StretchDIBits(pane.Get(), 0, 0, kSurface, kSurface, 0, 0, kImage, kImage, image.data(),
                      reinterpret_cast<const BITMAPINFO*>(imageInfo.data()), DIB_RGB_COLORS,
                      SRCCOPY);
        for (int i = 0; i < kLines; ++i)
        {
            SetROP2(pane.Get(), modes[i % 5]);
            MoveToEx(pane.Get(), 10 + i * 20, 5, nullptr);
            LineTo(pane.Get(), kSurface - 10 - i * 20, kSurface - 5);
        }
        SetROP2(pane.Get(), R2_COPYPEN);
        for (int i = 0; i < kLabels; ++i)
        {
            std::snprintf(label, sizeof(label), "W %d L %d  Im %d", 400 + i, 40 - i, i + 1);
            TextOutA(pane.Get(), 8 + (i % 2) * 700, 8 + (i / 2) * 100, label,
                     int(std::strlen(label)));
        }
        benchmark::ClobberMemory();
    }
    SelectObject(pane.Get(), oldPen);
    SelectObject(pane.Get(), oldFont);
    DeleteObject(pen);
    DeleteObject(font);
}
} // namespace

BENCHMARK(PanePaint8Bit)->Unit(benchmark::kMillisecond);
