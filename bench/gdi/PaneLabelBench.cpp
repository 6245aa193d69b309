// The labels of one image pane painted on its 512 x 512 screen-format
// surface: four corner blocks of patient, study and image lines in the
// pane font, as every window/level drag frame repaints them. Run with the
// glyph cache off (every glyph rasterised anew, as text was drawn before
// the cache) and on; the figures of both are printed side by side.
#include "GdiBenchSurfaces.h"
#include "GdiGlyphCache.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace
{
constexpr int kSurface = 512;

void PaneLabels(benchmark::State& state)
{
    const bool bCache = state.range(0) != 0;
    CBenchMemoryDC pane(CreateScreenFormatBitmap(kSurface, kSurface));
    HFONT font =
        CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ oldFont = SelectObject(pane.Get(), font);
    SetBkMode(pane.Get(), TRANSPARENT);
    SetTextColor(pane.Get(), RGB(255, 255, 255));
    // Cleared once: the image under the labels is the pane benchmark's part.
    PatBlt(pane.Get(), 0, 0, kSurface, kSurface, BLACKNESS);
    const char* corners[4][4] = {
        {"ANONYMIZED^PATIENT", "ID: 0000123456", "M 45Y", "1970-01-01"},
        {"Tavu General Hospital", "CT ANKLE", "2026-12-11 09:41:07", "Se: 3"},
        {"Im: 12/240", "Zoom: 212%", "Loc: -124.50 mm", "Thk: 1.25 mm"},
        {"W: 400 L: 40", "120 kV 250 mA", "Tilt: 0.0", "R"}};
    GdiSetGlyphCacheEnabled(bCache);
    const std::uint64_t nBefore = GdiGetRasterizedGlyphCount();
    std::uint64_t nFrames = 0;
    char line[64];
    for (auto _ : state)
    {
        for (int corner = 0; corner < 4; ++corner)
        {
            const int x = corner % 2 == 0 ? 6 : kSurface - 170;
            const int y = corner < 2 ? 6 : kSurface - 78;
            for (int row = 0; row < 4; ++row)
            {
                // The window and level change with every frame of a drag.
                const char* text = corners[corner][row];
                if (corner == 3 && row == 0)
                {
                    std::snprintf(line, sizeof(line), "W: %d L: %d", 400 + int(nFrames % 50),
                                  40 - int(nFrames % 30));
                    text = line;
                }
                TextOutA(pane.Get(), x, y + row * 18, text, int(std::strlen(text)));
            }
        }
        ++nFrames;
        benchmark::ClobberMemory();
    }
    state.counters["glyphs rasterised per frame"] =
        double(GdiGetRasterizedGlyphCount() - nBefore) / double(nFrames == 0 ? 1 : nFrames);
    state.SetLabel(bCache ? "glyph cache on" : "glyph cache off (before)");
    GdiSetGlyphCacheEnabled(true);
    SelectObject(pane.Get(), oldFont);
    DeleteObject(font);
}
} // namespace

BENCHMARK(PaneLabels)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
