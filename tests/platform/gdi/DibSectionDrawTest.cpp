// Drawing on DIB sections that are not 32-bit: calls work in the section's
// own bits and change only the pixels they draw.
#include "GdiTestDib.h"
#include "GdiTestSelected.h"
#include "GdiTestSurface.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
// A memory DC on an 8-bit bottom-up DIB section with the given table.
class IndexedSection
{
public:
    IndexedSection(int width, int height, const std::vector<COLORREF>& table)
        : m_width(width), m_height(height)
    {
        TestDib dib(width, height, 8, table);
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, dib.Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<std::uint8_t*>(bits);
        m_dc = CreateCompatibleDC(nullptr);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    ~IndexedSection()
    {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    IndexedSection(const IndexedSection&) = delete;
    IndexedSection& operator=(const IndexedSection&) = delete;

    HDC Dc() const { return m_dc; }
    // The table entry of pixel (x, y), y counted from the top.
    std::uint8_t& At(int x, int y) { return m_bits[std::size_t(m_height - 1 - y) * Stride() + x]; }
    std::vector<std::uint8_t> Bits() const
    {
        return std::vector<std::uint8_t>(m_bits, m_bits + Stride() * std::size_t(m_height));
    }

private:
    std::size_t Stride() const { return std::size_t((m_width + 3) / 4 * 4); }

    int m_width;
    int m_height;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    HDC m_dc = nullptr;
    std::uint8_t* m_bits = nullptr;
};

std::vector<COLORREF> Greys()
{
    std::vector<COLORREF> table;
    for (int i = 0; i < 256; ++i)
        table.push_back(RGB(i, i, i));
    return table;
}
} // namespace

TEST(DibSectionDraw, RubberBandsDrawnTwiceLeaveTheBitsAsTheyWere)
{
    using Band = std::function<void(HDC)>;
    const Band bands[] = {
        [](HDC dc)
        {
            MoveToEx(dc, 3, 40, nullptr);
            LineTo(dc, 60, 2);
        },
        [](HDC dc) { Rectangle(dc, 5, 5, 50, 37); },
        [](HDC dc) { Ellipse(dc, 10, 8, 55, 41); },
        [](HDC dc)
        {
            const POINT pts[] = {{2, 2}, {60, 30}, {5, 40}, {40, 3}};
            Polyline(dc, pts, 4);
        },
    };
    for (const int mode : {R2_NOT, R2_NOTXORPEN})
    {
        for (const Band& draw : bands)
        {
            IndexedSection section(64, 44, Greys());
            for (int y = 0; y < 44; ++y)
                for (int x = 0; x < 64; ++x)
                    section.At(x, y) = std::uint8_t(x * 4 + y);
            const std::vector<std::uint8_t> before = section.Bits();
            SetROP2(section.Dc(), mode);
            Selected pen(section.Dc(), CreatePen(PS_DOT, 1, RGB(200, 200, 200)));
            SelectObject(section.Dc(), GetStockObject(NULL_BRUSH));
            draw(section.Dc());
            EXPECT_NE(section.Bits(), before) << mode;
            draw(section.Dc());
            EXPECT_EQ(section.Bits(), before) << mode;
        }
    }
}

TEST(DibSectionDraw, PixelsACallDoesNotDrawKeepTheirEntries)
{
    // Entries 0 and 7 are both black: only drawing may turn one into the
    // other.
    std::vector<COLORREF> table(8, RGB(0, 0, 0));
    table[1] = RGB(255, 255, 255);
    IndexedSection section(16, 4, table);
    for (int x = 0; x < 16; ++x)
        section.At(x, 1) = 7;
    Selected pen(section.Dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    MoveToEx(section.Dc(), 2, 1, nullptr);
    LineTo(section.Dc(), 6, 1);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(section.At(x, 1), (x >= 2 && x < 6) ? 1 : 7) << x;
    EXPECT_EQ(GetPixel(section.Dc(), 9, 1), RGB(0, 0, 0));
}

TEST(DibSectionDraw, TextIsCombinedAtFullPrecisionBeforeItsEntriesAreChosen)
{
    // The same text on a 32-bit surface and on a grey section: each entry is
    // the grey the 32-bit pixel has.
    GdiTestSurface full(80, 24);
    IndexedSection grey(80, 24, Greys());
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 80; ++x)
            grey.At(x, y) = 255;
    for (HDC dc : {full.Dc(), grey.Dc()})
    {
        HFONT font =
            CreateFontA(-15, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
        Selected selected(dc, font);
        SetTextColor(dc, RGB(230, 230, 230));
        SetBkColor(dc, RGB(40, 40, 40));
        SetBkMode(dc, OPAQUE);
        TextOutA(dc, 2, 2, "WAVE wave", 9);
        TextOutA(dc, 5, 4, "WAVE", 4);
    }
    int text = 0;
    for (int y = 0; y < 24; ++y)
    {
        for (int x = 0; x < 80; ++x)
        {
            ASSERT_EQ(grey.At(x, y), GetRValue(full.At(x, y))) << x << "," << y;
            text += full.At(x, y) != RGB(255, 255, 255) && full.At(x, y) != RGB(40, 40, 40);
        }
    }
    EXPECT_GT(text, 0) << "the text has blended edges";
}

TEST(DibSectionDraw, SectionsBlitThroughTheirCurrentTable)
{
    IndexedSection section(4, 2, {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 0, 255)});
    section.At(0, 0) = 1;
    section.At(1, 0) = 2;
    GdiTestSurface target(4, 2);
    BitBlt(target.Dc(), 0, 0, 4, 2, section.Dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(target.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(target.At(1, 0), RGB(0, 0, 255));
    EXPECT_EQ(target.At(2, 0), RGB(0, 0, 0));
    // A new table changes later blits, and what drawing chooses.
    const RGBQUAD green{0, 255, 0, 0};
    ASSERT_EQ(SetDIBColorTable(section.Dc(), 1, 1, &green), 1u);
    BitBlt(target.Dc(), 0, 0, 4, 2, section.Dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(target.At(0, 0), RGB(0, 255, 0));
    // SetPixel answers with the colour the pixel took.
    EXPECT_EQ(SetPixel(section.Dc(), 3, 1, RGB(0, 250, 0)), RGB(0, 255, 0));
    EXPECT_EQ(section.At(3, 1), 1);
    // An 8-bit DIB stretched onto the section keeps its entries' colours.
    TestDib image(2, 1, 8, {RGB(0, 0, 255), RGB(0, 255, 0)});
    image.SetIndex8(0, 0, 1);
    image.SetIndex8(1, 0, 0);
    SetStretchBltMode(section.Dc(), COLORONCOLOR);
    StretchDIBits(section.Dc(), 0, 1, 4, 1, 0, 0, 2, 1, image.bits.data(), image.Info(),
                  DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(section.At(0, 1), 1);
    EXPECT_EQ(section.At(1, 1), 1);
    EXPECT_EQ(section.At(2, 1), 2);
    EXPECT_EQ(section.At(3, 1), 2);
}
