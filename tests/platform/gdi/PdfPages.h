// The pages of a PDF file as pixels, rasterised by pdftoppm (poppler-utils),
// for tests that look at what was printed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct PdfPage
{
    int nWidth = 0;
    int nHeight = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, top row first

    std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * nWidth + x]; }
    // The bounds of the pixels that are clearly not white, as left, top, right,
    // bottom (exclusive) within the given area; all zero when none is.
    struct Bounds
    {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };
    Bounds InkBounds(int left, int top, int right, int bottom) const;
    Bounds InkBounds() const { return InkBounds(0, 0, nWidth, nHeight); }
    // Whether the page shows the picture (pixel(x, y), 0x00RRGGBB) with its
    // top-left corner at (left, top). The rasteriser may blend a pixel with
    // its left and upper neighbours, so each channel only has to lie within
    // the range of those pixels of the picture.
    bool Shows(int left, int top, int width, int height,
               const std::function<std::uint32_t(int, int)>& pixel) const;
    // Writes the page as a PNG file to look at.
    bool SavePng(const std::string& path) const;
};

// The document's title as pdfinfo reads it; empty when it has none.
std::string PdfTitle(const std::string& path);
// Every page at the given resolution; empty when pdftoppm fails.
std::vector<PdfPage> RasterisePdf(const std::string& path, int dpi = 300);
