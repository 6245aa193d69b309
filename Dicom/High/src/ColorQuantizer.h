// ColorQuantizer: reduces a 24-bit image to 8-bit palette indices.
//
// Colours fall into a grid of 64 x 64 x 64 cells (the top six bits of the
// three bytes of a pixel, in memory order). Building a palette takes the
// 256 most frequent cells, then orders the first 236 of them by class (red,
// green, blue, grey) onto the display levels 8..243 of the 8-bit palette.
// Every pixel then takes its cell's palette entry, or the nearest one; the
// grid caches the nearest entry of each cell, so each cell is searched once.
#pragma once

#include "VeltaroExport.h"
#include "WinGdi.h"

#include <cstdint>
#include <memory>

class VELTARO_API ColorQuantizer
{
public:
    enum enLayout : int
    {
        Interleaved = 0, // R, G, B bytes a pixel
        Planar = 1       // three planes of width x height bytes, one after the other
    };
    enum enMode : int
    {
        GivenPalette = 0, // map onto the caller's palette as it is
        BuildPalette = 1  // build the palette from the image, then map
    };

    static constexpr int PaletteSize = 256;
    static constexpr int Shift = 2;
    static constexpr int LevelCount = 64;
    static constexpr int PlaneSize = LevelCount * LevelCount;
    static constexpr int GridSize = PlaneSize * LevelCount;
    static constexpr int CountLimit = 32760;

    ColorQuantizer();
    ColorQuantizer(const ColorQuantizer&) = delete;
    ColorQuantizer& operator=(const ColorQuantizer&) = delete;
    ~ColorQuantizer();

    // The pixels stay the caller's and must outlive the quantiser's use of
    // them. With count non-zero the colours are counted now, else by the
    // first Quantize that builds a palette.
    void SetSource(const std::uint8_t* pixels, int width, int height, enLayout layout = Interleaved,
                   int count = 1);
    // Writes width x height indices and, when building, the palette (levels
    // 0..252). 0; -1 without size, indices or palette; -2 when no colour was
    // counted.
    int Quantize(std::uint8_t* indices, RGBQUAD* palette, enMode mode);
    // Frees the grid and forgets the source.
    void Release();

    // Distinct grid cells among the pixels counted.
    int GetColorCount() const { return m_nColorCount; }

private:
    bool AllocateGrid();
    void CountColors();
    int GetCell(std::uint64_t pixel) const;
    void TakeFrequentCells();
    void OrderByClass();
    void MapPixels(std::uint8_t* indices);
    int FindNearest(int cell) const;

    const std::uint8_t* m_pSource = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
    enLayout m_enLayout = Interleaved;
    bool m_bCounted = false;
    RGBQUAD m_palette[PaletteSize] = {};
    std::unique_ptr<std::int16_t[]> m_grid;
    int m_nColorCount = 0;
};
