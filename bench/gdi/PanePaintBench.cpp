// One typical paint of an image pane on its off-screen surface: a 1024 x 1024
// 8-bit DIB section with a grey colour table, the image stretched onto it, 50
// lines in the mix modes the panes use and 20 text labels.
#include "WinGdi.h"

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

std::vector<BYTE> GreyInfo(int width, int height)
{
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
    bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi->bmiHeader.biWidth = width;
    bmi->bmiHeader.biHeight = height;
    bmi->bmiHeader.biPlanes = 1;
    bmi->bmiHeader.biBitCount = 8;
    for (int i = 0; i < 256; ++i)
        bmi->bmiColors[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
    return info;
}

// The pane's off-screen surface: an 8-bit grey DIB section in a memory DC.
struct GreySection
{
    GreySection()
    {
        const std::vector<BYTE> info = GreyInfo(kSurface, kSurface);
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()),
                                  DIB_RGB_COLORS, &bits, nullptr, 0);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, bitmap);
    }
    ~GreySection()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    HBITMAP bitmap;
    HDC dc;
    HGDIOBJ old;
};

void PanePaint8Bit(benchmark::State& state)
{
    const std::vector<BYTE> imageInfo = GreyInfo(kImage, kImage);
    std::vector<BYTE> image(std::size_t(kImage) * kImage);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = BYTE((i % kImage) ^ (i / kImage));
    GreySection pane;
    SetStretchBltMode(pane.dc, COLORONCOLOR);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HFONT font =
        CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ oldPen = SelectObject(pane.dc, pen);
    HGDIOBJ oldFont = SelectObject(pane.dc, font);
    SetBkMode(pane.dc, TRANSPARENT);
    SetTextColor(pane.dc, RGB(255, 255, 255));
    const int modes[] = {R2_COPYPEN, R2_NOT, R2_NOTXORPEN, R2_MERGEPEN, R2_NOTCOPYPEN};
    char label[32];
    for (auto _ : state)
    {
        StretchDIBits(pane.dc, 0, 0, kSurface, kSurface, 0, 0, kImage, kImage, image.data(),
                      reinterpret_cast<const BITMAPINFO*>(imageInfo.data()), DIB_RGB_COLORS,
                      SRCCOPY);
        for (int i = 0; i < kLines; ++i)
        {
            SetROP2(pane.dc, modes[i % 5]);
            MoveToEx(pane.dc, 10 + i * 20, 5, nullptr);
            LineTo(pane.dc, kSurface - 10 - i * 20, kSurface - 5);
        }
        SetROP2(pane.dc, R2_COPYPEN);
        for (int i = 0; i < kLabels; ++i)
        {
            std::snprintf(label, sizeof(label), "W %d L %d  Im %d", 400 + i, 40 - i, i + 1);
            TextOutA(pane.dc, 8 + (i % 2) * 700, 8 + (i / 2) * 100, label, int(std::strlen(label)));
        }
        benchmark::ClobberMemory();
    }
    SelectObject(pane.dc, oldPen);
    SelectObject(pane.dc, oldFont);
    DeleteObject(pen);
    DeleteObject(font);
}
} // namespace

BENCHMARK(PanePaint8Bit)->Unit(benchmark::kMillisecond);
