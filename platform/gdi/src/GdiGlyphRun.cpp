#include "GdiGlyphRun.h"

#include "GdiShapes.h"

#include <cmath>

std::vector<std::int64_t> GetAdvances(RealFont& font, const std::u32string& text)
{
    std::vector<std::int64_t> out;
    out.reserve(text.size());
    for (char32_t c : text)
        out.push_back(FontEngine::Get().GetAdvance(font, c));
    return out;
}

int GetTextWidth(RealFont& font, const std::u32string& text)
{
    std::int64_t total = 0;
    for (std::int64_t a : GetAdvances(font, text))
        total += a;
    return int((total + 32) >> 6);
}

void Painter::DrawGlyphRun(const GlyphRun& run)
{
    RealFont& font = *run.pFont;
    const TEXTMETRICA& tm = font.m_metrics;
    const std::vector<std::int64_t> advances = GetAdvances(font, run.text);
    std::int64_t total = 0;
    for (std::int64_t a : advances)
        total += a;
    const double c = std::cos(font.m_escapement);
    const double s = std::sin(font.m_escapement);
    // Offsets of the baseline origin from the reference point, along and
    // across the baseline.
    double along = 0;
    if ((run.nAlign & TA_CENTER) == TA_CENTER)
        along = -total / 128.0;
    else if (run.nAlign & TA_RIGHT)
        along = -total / 64.0;
    double down = tm.tmAscent;
    if ((run.nAlign & TA_BASELINE) == TA_BASELINE)
        down = 0;
    else if (run.nAlign & TA_BOTTOM)
        down = -tm.tmDescent;
    const double ox = run.origin.x + along * c + down * s;
    const double oy = run.origin.y - along * s + down * c;
    const std::uint32_t textPixel = run.textColor;
    const bool mono = IsMonochrome();
    // The cell, the glyphs and the lines may cover a pixel more than once.
    KeepRowCopies();

    // A box along the baseline: [a0, a1) along it, [d0, d1) below it.
    auto fillQuad = [&](double a0, double a1, double d0, double d1, std::uint32_t pixel)
    {
        std::vector<POINT> quad;
        for (const auto& [a, d] :
             {std::pair{a0, d0}, std::pair{a1, d0}, std::pair{a1, d1}, std::pair{a0, d1}})
            quad.push_back(POINT{LONG(std::lround(ox + a * c + d * s)),
                                 LONG(std::lround(oy - a * s + d * c))});
        if (font.m_escapement == 0)
        {
            FillRect(RECT{quad[0].x, quad[0].y, quad[2].x, quad[2].y}, PaintSource::Solid(pixel),
                     R2_COPYPEN);
            return;
        }
        FillCoverage(PolygonCoverage(quad, ALTERNATE), PaintSource::Solid(pixel), R2_COPYPEN);
    };
    if (run.opaqueRect)
        FillRect(*run.opaqueRect, PaintSource::Solid(run.bkColor), R2_COPYPEN);
    else if (run.bOpaque)
        fillQuad(0, total / 64.0, -tm.tmAscent, tm.tmDescent, run.bkColor);

    auto blendGlyph = [&](const GlyphImage& g, int originX, int originY)
    {
        for (int row = 0; row < g.height; ++row)
        {
            const int yy = originY - g.top + row;
            const std::uint8_t* cov = g.pCoverage + row * g.pitch;
            const int x0 = originX + g.left;
            EditSpan(yy, x0, x0 + g.width,
                     [&](std::uint32_t* out, int a, int b)
                     {
                         for (int xx = a; xx < b; ++xx, ++out)
                         {
                             const unsigned k = cov[xx - x0];
                             if (k == 0)
                                 continue;
                             if (mono)
                             {
                                 if (k >= 128)
                                     *out = ToMonochrome(textPixel);
                                 continue;
                             }
                             std::uint32_t r = 0;
                             for (int shift = 0; shift < 24; shift += 8)
                             {
                                 const unsigned t = (textPixel >> shift) & 0xFF;
                                 const unsigned d = (*out >> shift) & 0xFF;
                                 r |= ((t * k + d * (255 - k) + 127) / 255) << shift;
                             }
                             *out = r;
                         }
                     });
        }
    };
    std::int64_t pen = 0;
    for (std::size_t i = 0; i < run.text.size(); ++i)
    {
        const double px = ox + (pen / 64.0) * c;
        const double py = oy - (pen / 64.0) * s;
        FontEngine::Get().Render(font, run.text[i], std::llround(px * 64), std::llround(py * 64),
                                 blendGlyph);
        if (int(i) == run.nUnderlineIndex)
            fillQuad(pen / 64.0, (pen + advances[i]) / 64.0, 1, 2, textPixel);
        pen += advances[i];
    }
    const double width = total / 64.0;
    if (font.m_bUnderline)
        fillQuad(0, width, font.m_nUnderlinePos, font.m_nUnderlinePos + font.m_nLineThickness,
                 textPixel);
    if (font.m_bStrikeOut)
        fillQuad(0, width, -font.m_nStrikePos, -font.m_nStrikePos + font.m_nLineThickness,
                 textPixel);
}
