#include "GdiGlyphCache.h"
#include "GdiTestSurface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
HFONT MakeFont(const char* face, int height, int weight = FW_NORMAL, int escapement = 0)
{
    return CreateFontA(height, 0, escapement, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                       face);
}

struct FontScope
{
    FontScope(HDC dc, HFONT font) : m_dc(dc), m_font(font), m_old(SelectObject(dc, font)) {}
    ~FontScope()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_font);
    }
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old;
};

SIZE Extent(HDC dc, const char* text)
{
    SIZE size{};
    GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &size);
    return size;
}

// The bounding box of pixels that differ from the colour.
RECT InkBox(const GdiTestSurface& s, COLORREF background)
{
    RECT box{s.Width(), s.Height(), 0, 0};
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.At(x, y) != background)
            {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}
} // namespace

TEST(Text, MetricsFollowTheRequestedHeight)
{
    GdiTestSurface s(8, 8);
    {
        FontScope f(s.Dc(), MakeFont("Arial", -16));
        TEXTMETRICA tm{};
        ASSERT_TRUE(GetTextMetrics(s.Dc(), &tm));
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 16);
        EXPECT_EQ(tm.tmOverhang, 0);
        EXPECT_GT(tm.tmAveCharWidth, 0);
        EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
        EXPECT_EQ(Extent(s.Dc(), "Hello").cy, tm.tmHeight);
    }
    {
        // A positive height is the cell height.
        FontScope f(s.Dc(), MakeFont("Arial", 20));
        TEXTMETRICA tm{};
        GetTextMetrics(s.Dc(), &tm);
        EXPECT_NEAR(tm.tmHeight, 20, 1);
    }
}

TEST(Text, FaceNamesMapToInstalledFaces)
{
    GdiTestSurface s(8, 8);
    auto extentWith = [&](const char* face, const char* text)
    {
        FontScope f(s.Dc(), MakeFont(face, -14));
        return Extent(s.Dc(), text).cx;
    };
    const char* sample = "The quick brown fox";
    // The sans-serif names share one face.
    EXPECT_EQ(extentWith("Arial", sample), extentWith("MS Sans Serif", sample));
    EXPECT_EQ(extentWith("Arial", sample), extentWith("System", sample));
    EXPECT_NE(extentWith("Arial", sample), extentWith("Times New Roman", sample));
    EXPECT_EQ(extentWith("Times", sample), extentWith("Times New Roman", sample));
    // The fixed-pitch face gives every character one width.
    EXPECT_EQ(extentWith("Courier New", "iiii"), extentWith("Courier New", "MMMM"));
    EXPECT_GT(extentWith("\xe5\xae\x8b\xe4\xbd\x93", sample), 0);
}

TEST(Text, CharactersMissingFromTheFaceComeFromAnotherFace)
{
    GdiTestSurface s(8, 8);
    FontScope f(s.Dc(), MakeFont("Arial", -20));
    // The sans-serif face has no snowman (U+2603); a fallback face draws it
    // with its own width, where a missing glyph would take the face's
    // empty-box width, the same as an unassigned private-use character.
    const int snowman = Extent(s.Dc(), "\xE2\x98\x83").cx;
    const int missing = Extent(s.Dc(), "\xEE\x80\x80").cx;
    EXPECT_GT(snowman, 0);
    EXPECT_NE(snowman, missing);
}

TEST(Text, ExtentsGrowWithTheText)
{
    GdiTestSurface s(8, 8);
    FontScope f(s.Dc(), MakeFont("Arial", -12));
    const int a = Extent(s.Dc(), "ab").cx;
    const int b = Extent(s.Dc(), "abc").cx;
    EXPECT_GT(a, 0);
    EXPECT_GT(b, a);
    EXPECT_EQ(Extent(s.Dc(), "").cx, 0);
    // Bold widens the text.
    FontScope bold(s.Dc(), MakeFont("Arial", -12, FW_BOLD));
    EXPECT_GT(Extent(s.Dc(), "abc").cx, b);
}

TEST(Text, OpaqueModeFillsTheCellAndTextIgnoresTheMixMode)
{
    GdiTestSurface s(80, 30, RGB(255, 255, 255));
    FontScope f(s.Dc(), MakeFont("Arial", -16));
    SetBkColor(s.Dc(), RGB(0, 0, 255));
    SetTextColor(s.Dc(), RGB(255, 0, 0));
    SetROP2(s.Dc(), R2_XORPEN);
    TextOutA(s.Dc(), 5, 5, "  ", 2);
    const SIZE cell = Extent(s.Dc(), "  ");
    EXPECT_EQ(s.Count(RGB(0, 0, 255)), cell.cx * cell.cy);
    EXPECT_EQ(s.At(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(s.At(5 + cell.cx, 5), RGB(255, 255, 255));

    s.Fill(RGB(255, 255, 255));
    SetBkMode(s.Dc(), TRANSPARENT);
    TextOutA(s.Dc(), 5, 5, "MW", 2);
    EXPECT_GT(s.Count(RGB(255, 0, 0)), 10);
    EXPECT_EQ(s.Count(RGB(0, 255, 255)), 0); // no XOR of red on white
    EXPECT_EQ(s.Count(RGB(0, 0, 255)), 0);
}

TEST(Text, WindowOriginAndMappingApplyToText)
{
    GdiTestSurface s(100, 60);
    FontScope f(s.Dc(), MakeFont("Arial", -12));
    SetBkMode(s.Dc(), TRANSPARENT);
    SetWindowOrgEx(s.Dc(), 50, 50, nullptr);
    TextOutA(s.Dc(), 50, 50, "M", 1);
    const RECT plain = InkBox(s, RGB(255, 255, 255));
    EXPECT_LT(plain.left, 4);
    EXPECT_LT(plain.top, 6);

    s.Fill(RGB(255, 255, 255));
    SetWindowOrgEx(s.Dc(), 0, 0, nullptr);
    SetMapMode(s.Dc(), MM_ANISOTROPIC);
    SetWindowExtEx(s.Dc(), 1, 1, nullptr);
    SetViewportExtEx(s.Dc(), 3, 3, nullptr);
    TextOutA(s.Dc(), 0, 0, "M", 1);
    const RECT scaled = InkBox(s, RGB(255, 255, 255));
    EXPECT_NEAR(scaled.bottom - scaled.top, 3 * (plain.bottom - plain.top), 3);
}

TEST(Text, EscapementRotatesTheText)
{
    GdiTestSurface s(80, 80);
    FontScope f(s.Dc(), MakeFont("Arial", -14, FW_NORMAL, 900));
    SetBkMode(s.Dc(), TRANSPARENT);
    TextOutA(s.Dc(), 20, 70, "Rotated", 7);
    const RECT box = InkBox(s, RGB(255, 255, 255));
    EXPECT_GT(box.bottom - box.top, 2 * (box.right - box.left));
    EXPECT_LE(box.bottom, 71);
}

TEST(Text, DrawTextMeasuresAlignsAndBreaks)
{
    GdiTestSurface s(200, 100);
    FontScope f(s.Dc(), MakeFont("Arial", -12));
    TEXTMETRICA tm{};
    GetTextMetrics(s.Dc(), &tm);

    RECT calc{0, 0, 0, 0};
    const int h = DrawTextA(s.Dc(), "&File", -1, &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(h, tm.tmHeight);
    EXPECT_EQ(calc.right, Extent(s.Dc(), "File").cx);
    EXPECT_EQ(s.Count(RGB(0, 0, 0)), 0); // measuring draws nothing
    RECT raw{0, 0, 0, 0};
    DrawTextA(s.Dc(), "&File", -1, &raw, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(raw.right, Extent(s.Dc(), "&File").cx);

    RECT lines{0, 0, 0, 0};
    EXPECT_EQ(DrawTextA(s.Dc(), "one\r\ntwo\nthree", -1, &lines, DT_CALCRECT), 3 * tm.tmHeight);
    RECT wrap{0, 0, Extent(s.Dc(), "word word").cx, 0};
    EXPECT_EQ(DrawTextA(s.Dc(), "word word word", -1, &wrap, DT_CALCRECT | DT_WORDBREAK),
              2 * tm.tmHeight);

    RECT ellipsis{0, 0, 40, 20};
    DrawTextA(s.Dc(), "A long piece of text", -1, &ellipsis,
              DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(ellipsis.right, 40);

    // Centred in both directions, clipped to the rectangle.
    SetBkMode(s.Dc(), TRANSPARENT);
    RECT box{20, 20, 180, 80};
    DrawTextA(s.Dc(), "Mid", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const RECT ink = InkBox(s, RGB(255, 255, 255));
    EXPECT_NEAR((ink.left + ink.right) / 2, 100, 3);
    EXPECT_NEAR((ink.top + ink.bottom) / 2, 50, 4);
}

// Text painted again at the same places takes its glyphs from the cache,
// and the pixels are those of glyphs rasterised anew: plain, synthesised
// bold and italic, turned, and a size between whole pixels of the pen.
TEST(Text, RepaintedTextTakesCachedGlyphsWithTheSamePixels)
{
    struct Case
    {
        const char* face;
        int height;
        int weight;
        BYTE italic;
        int escapement;
    };
    const Case cases[] = {{"Arial", -13, FW_NORMAL, FALSE, 0},
                          {"Arial", -16, FW_BOLD, TRUE, 0},
                          {"Times New Roman", -21, FW_NORMAL, FALSE, 450},
                          {"Courier New", 11, FW_NORMAL, FALSE, 0}};
    const char* label = "W 400 L 40  Im 1/24 \xc3\xa9";
    for (const Case& c : cases)
    {
        const auto paint = [&](GdiTestSurface& s)
        {
            FontScope f(s.Dc(),
                        CreateFontA(c.height, 0, c.escapement, 0, c.weight, c.italic, FALSE, FALSE,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, DEFAULT_PITCH, c.face));
            SetBkMode(s.Dc(), TRANSPARENT);
            SetTextColor(s.Dc(), RGB(20, 40, 200));
            for (int i = 0; i < 3; ++i)
                TextOutA(s.Dc(), 7 + i * 3, 70 + i * 37, label, int(std::strlen(label)));
        };
        GdiSetGlyphCacheEnabled(false);
        GdiTestSurface fresh(260, 200);
        paint(fresh);
        GdiSetGlyphCacheEnabled(true);
        GdiTestSurface first(260, 200);
        paint(first);
        const std::uint64_t nAfterFirst = GdiGetRasterizedGlyphCount();
        GdiTestSurface again(260, 200);
        paint(again);
        EXPECT_EQ(GdiGetRasterizedGlyphCount(), nAfterFirst) << c.face << " " << c.height;
        int nInk = 0;
        int nDifferent = 0;
        for (int y = 0; y < fresh.Height(); ++y)
            for (int x = 0; x < fresh.Width(); ++x)
            {
                nInk += fresh.At(x, y) != RGB(255, 255, 255) ? 1 : 0;
                nDifferent += (first.At(x, y) != fresh.At(x, y) ? 1 : 0) +
                              (again.At(x, y) != fresh.At(x, y) ? 1 : 0);
            }
        EXPECT_GT(nInk, 200) << c.face << " " << c.height;
        EXPECT_EQ(nDifferent, 0) << c.face << " " << c.height;
    }
}
