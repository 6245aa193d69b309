// Builds DIB headers, colour tables and bits for tests.
#pragma once

#include "WinGdi.h"

#include <cstdint>
#include <cstring>
#include <vector>

struct TestDib
{
    std::vector<std::uint8_t> info; // header + colour table (or masks)
    std::vector<std::uint8_t> bits;

    TestDib(int width, int height, int bitCount, std::vector<COLORREF> table = {},
            DWORD compression = BI_RGB, std::vector<DWORD> masks = {})
    {
        BITMAPINFOHEADER h{};
        h.biSize = sizeof(h);
        h.biWidth = width;
        h.biHeight = height;
        h.biPlanes = 1;
        h.biBitCount = WORD(bitCount);
        h.biCompression = compression;
        h.biClrUsed = DWORD(table.size());
        info.resize(sizeof(h));
        std::memcpy(info.data(), &h, sizeof(h));
        for (DWORD m : masks)
            Append(&m, 4);
        for (COLORREF c : table)
        {
            RGBQUAD q{GetBValue(c), GetGValue(c), GetRValue(c), 0};
            Append(&q, 4);
        }
        const int rows = height < 0 ? -height : height;
        bits.assign(std::size_t(RowBytes(width, bitCount)) * std::size_t(rows), 0);
    }
    static int RowBytes(int width, int bitCount) { return ((bitCount * width + 31) / 32) * 4; }
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
    BITMAPINFOHEADER& Header() { return *reinterpret_cast<BITMAPINFOHEADER*>(info.data()); }
    std::uint8_t* Row(int stored)
    {
        return bits.data() +
               std::size_t(stored) * std::size_t(RowBytes(Header().biWidth, Header().biBitCount));
    }
    // Sets the 8-bit index of a pixel in stored-row coordinates.
    void SetIndex8(int x, int stored, std::uint8_t v) { Row(stored)[x] = v; }

private:
    void Append(const void* p, std::size_t n)
    {
        const auto* b = static_cast<const std::uint8_t*>(p);
        info.insert(info.end(), b, b + n);
    }
};
