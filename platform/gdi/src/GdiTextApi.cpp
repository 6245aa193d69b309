// Text output and measurement: TextOut, ExtTextOut, DrawText and the text
// metrics, drawn in the text colour (never through the mix mode).
#include "DeviceContext.h"
#include "FontEngine.h"
#include "GdiShapes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace
{
// Converts a device length back to logical units.
int ToLogicalLength(const DeviceContext& dc, int length, bool vertical)
{
    const DcState& s = dc.State();
    if (!dc.IsScaled())
        return length;
    const std::int64_t num = vertical ? s.windowExt.cy : s.windowExt.cx;
    const std::int64_t den = vertical ? s.viewportExt.cy : s.viewportExt.cx;
    return int(std::llround(double(length) * double(num) / double(den)));
}

RealFont* RealizeFor(const DeviceContext& dc)
{
    GdiFont* font = dc.GetFont();
    if (font == nullptr)
        font = GdiLookupAs<GdiFont>(GetStockObject(SYSTEM_FONT));
    const LOGFONTA& lf = font->m_logFont;
    // Logical font heights scale with the mapping mode.
    const int height = lf.lfHeight == 0 ? 0 : dc.ScaleY(lf.lfHeight);
    const int width = lf.lfWidth == 0 ? 0 : std::abs(dc.ScaleX(lf.lfWidth));
    int deviceHeight = height;
    if (lf.lfHeight != 0 && dc.IsScaled())
        deviceHeight = (lf.lfHeight < 0 ? -1 : 1) * std::max(1, std::abs(height));
    return FontEngine::Get().Realize(lf, deviceHeight, width);
}

// Advances in 26.6 pixels, one per character.
std::vector<std::int64_t> Advances(RealFont& font, const std::u32string& text)
{
    std::vector<std::int64_t> out;
    out.reserve(text.size());
    for (char32_t c : text)
        out.push_back(FontEngine::Get().GetAdvance(font, c));
    return out;
}

int TextWidth(RealFont& font, const std::u32string& text)
{
    std::int64_t total = 0;
    for (std::int64_t a : Advances(font, text))
        total += a;
    return int((total + 32) >> 6);
}

struct TextRun
{
    std::u32string text;
    int underlineIndex = -1; // the prefix-underlined character
};

// Draws a run with its cell's top-left corner at device (x, y) (for
// unrotated text), or its baseline origin computed from the alignment.
void DrawRun(DeviceContext& dc, DrawSession& session, RealFont& font, int x, int y,
             const TextRun& run, UINT align, const RECT* opaqueRect)
{
    Painter& painter = session.GetPainter();
    const TEXTMETRICA& tm = font.m_metrics;
    const std::vector<std::int64_t> advances = Advances(font, run.text);
    std::int64_t total = 0;
    for (std::int64_t a : advances)
        total += a;
    const double c = std::cos(font.m_escapement);
    const double s = std::sin(font.m_escapement);
    // Offsets of the baseline origin from the reference point, along and
    // across the baseline.
    double along = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        along = -total / 128.0;
    else if (align & TA_RIGHT)
        along = -total / 64.0;
    double down = tm.tmAscent;
    if ((align & TA_BASELINE) == TA_BASELINE)
        down = 0;
    else if (align & TA_BOTTOM)
        down = -tm.tmDescent;
    const double ox = x + along * c + down * s;
    const double oy = y - along * s + down * c;
    const std::uint32_t textPixel = PixelFromColorRef(dc.State().textColor);
    const bool mono = painter.IsMonochrome();

    // The text cell in opaque mode takes the background colour.
    const std::uint32_t bkPixel = PixelFromColorRef(dc.State().bkColor);
    auto fillQuad = [&](double a0, double a1, double d0, double d1, std::uint32_t pixel)
    {
        std::vector<POINT> quad;
        for (const auto& [a, d] :
             {std::pair{a0, d0}, std::pair{a1, d0}, std::pair{a1, d1}, std::pair{a0, d1}})
            quad.push_back(POINT{LONG(std::lround(ox + a * c + d * s)),
                                 LONG(std::lround(oy - a * s + d * c))});
        if (font.m_escapement == 0)
        {
            painter.FillRect(RECT{quad[0].x, quad[0].y, quad[2].x, quad[2].y},
                             PaintSource::Solid(pixel), R2_COPYPEN);
            return;
        }
        painter.FillRegion(PolygonCoverage(quad, ALTERNATE), PaintSource::Solid(pixel), R2_COPYPEN);
    };
    if (opaqueRect != nullptr)
        painter.FillRect(*opaqueRect, PaintSource::Solid(bkPixel), R2_COPYPEN);
    else if (dc.State().nBkMode == OPAQUE)
        fillQuad(0, total / 64.0, -tm.tmAscent, tm.tmDescent, bkPixel);

    std::int64_t pen = 0;
    for (std::size_t i = 0; i < run.text.size(); ++i)
    {
        const double px = ox + (pen / 64.0) * c;
        const double py = oy - (pen / 64.0) * s;
        FontEngine::Get().Render(font, run.text[i], std::llround(px * 64), std::llround(py * 64),
                                 [&](const GlyphImage& g, int originX, int originY)
                                 {
                                     for (int row = 0; row < g.height; ++row)
                                     {
                                         const int yy = originY - g.top + row;
                                         const std::uint8_t* cov = g.pCoverage + row * g.pitch;
                                         const int x0 = originX + g.left;
                                         painter.ForEachClippedSpan(
                                             yy, x0, x0 + g.width,
                                             [&](int a, int b)
                                             {
                                                 std::uint32_t* out = painter.At(a, yy);
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
                                                         const unsigned t =
                                                             (textPixel >> shift) & 0xFF;
                                                         const unsigned d = (*out >> shift) & 0xFF;
                                                         r |= ((t * k + d * (255 - k) + 127) / 255)
                                                              << shift;
                                                     }
                                                     *out = r;
                                                 }
                                             });
                                     }
                                 });
        if (int(i) == run.underlineIndex)
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

BOOL OutputText(HDC hdc, int x, int y, const TextRun& run, const RECT* opaque, const RECT* clip)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return FALSE;
    RealFont* font = RealizeFor(*dc);
    if (font == nullptr)
        return FALSE;
    DcState& state = dc->State();
    const bool updateCp = state.nTextAlign & TA_UPDATECP;
    if (updateCp)
    {
        x = state.current.x;
        y = state.current.y;
    }
    std::optional<Region> savedClip = state.clip;
    if (clip != nullptr)
    {
        const RECT d = dc->ToDevice(*clip);
        const Region r(d);
        state.clip = state.clip ? Region::Combine(*state.clip, r, RGN_AND) : r;
    }
    {
        DrawSession session(*dc);
        if (session.IsValid())
        {
            const POINT p = dc->ToDevice(x, y);
            RECT opaqueDevice{};
            if (opaque != nullptr)
            {
                const RECT d = dc->ToDevice(*opaque);
                opaqueDevice = RECT{std::min(d.left, d.right), std::min(d.top, d.bottom),
                                    std::max(d.left, d.right), std::max(d.top, d.bottom)};
            }
            DrawRun(*dc, session, *font, p.x, p.y, run, state.nTextAlign,
                    opaque ? &opaqueDevice : nullptr);
        }
    }
    state.clip = savedClip;
    if (updateCp)
        state.current.x += ToLogicalLength(*dc, TextWidth(*font, run.text), false);
    return TRUE;
}

// Removes "&" prefixes: "&&" is a literal "&", "&x" underlines x.
TextRun StripPrefix(const std::u32string& text, bool keepPrefix)
{
    TextRun run;
    if (keepPrefix)
    {
        run.text = text;
        return run;
    }
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == U'&' && i + 1 < text.size())
        {
            ++i;
            if (text[i] != U'&')
                run.underlineIndex = int(run.text.size());
        }
        else if (text[i] == U'&')
        {
            continue;
        }
        run.text.push_back(text[i]);
    }
    return run;
}

std::vector<std::u32string> SplitLines(const std::u32string& text, bool singleLine)
{
    std::vector<std::u32string> lines;
    if (singleLine)
    {
        std::u32string line;
        for (char32_t c : text)
            if (c != U'\r' && c != U'\n')
                line.push_back(c);
        lines.push_back(line);
        return lines;
    }
    std::u32string current;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == U'\r' || text[i] == U'\n')
        {
            if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n')
                ++i;
            lines.push_back(current);
            current.clear();
            continue;
        }
        current.push_back(text[i]);
    }
    lines.push_back(current);
    return lines;
}

// Breaks a line at spaces so that each piece fits the width; a single word
// wider than the width stays whole.
std::vector<std::u32string> WrapLine(RealFont& font, const std::u32string& line, int width,
                                     bool keepPrefix)
{
    std::vector<std::u32string> out;
    std::u32string current;
    std::size_t i = 0;
    while (i <= line.size())
    {
        std::size_t j = line.find(U' ', i);
        if (j == std::u32string::npos)
            j = line.size();
        const std::u32string word = line.substr(i, j - i);
        const std::u32string candidate = current.empty() ? word : current + U" " + word;
        if (!current.empty() && TextWidth(font, StripPrefix(candidate, keepPrefix).text) > width)
        {
            out.push_back(current);
            current = word;
        }
        else
        {
            current = candidate;
        }
        i = j + 1;
    }
    out.push_back(current);
    return out;
}

std::u32string EndEllipsis(RealFont& font, std::u32string text, int width)
{
    if (TextWidth(font, text) <= width)
        return text;
    while (!text.empty() && TextWidth(font, text + U"...") > width)
        text.pop_back();
    return text + U"...";
}

std::u32string PathEllipsis(RealFont& font, const std::u32string& text, int width)
{
    if (TextWidth(font, text) <= width)
        return text;
    const std::size_t slash = text.find_last_of(U"\\/");
    if (slash == std::u32string::npos)
        return EndEllipsis(font, text, width);
    std::u32string head = text.substr(0, slash);
    const std::u32string tail = text.substr(slash);
    while (!head.empty() && TextWidth(font, head + U"..." + tail) > width)
        head.pop_back();
    return head + U"..." + tail;
}
} // namespace

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA metrics)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || metrics == nullptr)
        return FALSE;
    RealFont* font = RealizeFor(*dc);
    if (font == nullptr)
        return FALSE;
    *metrics = font->m_metrics;
    if (dc->IsScaled())
    {
        for (LONG* v : {&metrics->tmHeight, &metrics->tmAscent, &metrics->tmDescent,
                        &metrics->tmInternalLeading, &metrics->tmExternalLeading})
            *v = ToLogicalLength(*dc, *v, true);
        for (LONG* v : {&metrics->tmAveCharWidth, &metrics->tmMaxCharWidth})
            *v = ToLogicalLength(*dc, *v, false);
    }
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int length, LPSIZE size)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || size == nullptr || length < 0 || (text == nullptr && length > 0))
        return FALSE;
    RealFont* font = RealizeFor(*dc);
    if (font == nullptr)
        return FALSE;
    const std::u32string chars = DecodeAnsi(text, length);
    size->cx = ToLogicalLength(*dc, TextWidth(*font, chars), false);
    size->cy = ToLogicalLength(*dc, font->m_metrics.tmHeight, true);
    return TRUE;
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int length)
{
    GdiRecord(hdc, "TextOutA", {x, y, length});
    if (length < 0 || (text == nullptr && length > 0))
        return FALSE;
    TextRun run;
    run.text = DecodeAnsi(text, length);
    return OutputText(hdc, x, y, run, nullptr, nullptr);
}

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length,
                 const INT*)
{
    GdiRecord(hdc, "ExtTextOutA", {x, y, options, length});
    if (text == nullptr && length > 0)
        return FALSE;
    TextRun run;
    run.text = DecodeAnsi(text, int(std::min<UINT>(length, 0x7FFFFFFF)));
    const RECT* opaque = (options & ETO_OPAQUE) ? rect : nullptr;
    const RECT* clip = (options & ETO_CLIPPED) ? rect : nullptr;
    return OutputText(hdc, x, y, run, opaque, clip);
}

int DrawTextA(HDC hdc, LPCSTR text, int length, LPRECT rect, UINT format)
{
    GdiRecord(hdc, "DrawTextA", {length, format});
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || rect == nullptr || text == nullptr)
        return 0;
    if (length < 0)
        length = int(std::strlen(text));
    RealFont* font = RealizeFor(*dc);
    if (font == nullptr)
        return 0;
    const bool singleLine = format & DT_SINGLELINE;
    const bool noPrefix = format & DT_NOPREFIX;
    const RECT device = dc->ToDevice(*rect);
    const int width = device.right - device.left;
    std::vector<std::u32string> lines;
    for (const std::u32string& line : SplitLines(DecodeAnsi(text, length), singleLine))
    {
        if ((format & DT_WORDBREAK) && !singleLine)
        {
            for (std::u32string& piece : WrapLine(*font, line, width, noPrefix))
                lines.push_back(std::move(piece));
        }
        else
        {
            lines.push_back(line);
        }
    }
    std::vector<TextRun> runs;
    int maxWidth = 0;
    for (const std::u32string& line : lines)
    {
        TextRun run = StripPrefix(line, noPrefix);
        if (format & DT_PATH_ELLIPSIS)
            run.text = PathEllipsis(*font, run.text, width);
        else if (format & DT_END_ELLIPSIS)
            run.text = EndEllipsis(*font, run.text, width);
        maxWidth = std::max(maxWidth, TextWidth(*font, run.text));
        runs.push_back(std::move(run));
    }
    const TEXTMETRICA& tm = font->m_metrics;
    const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    const int textHeight = lineHeight * int(runs.size());
    if (format & DT_CALCRECT)
    {
        rect->right = rect->left + ToLogicalLength(*dc, maxWidth, false);
        rect->bottom = rect->top + ToLogicalLength(*dc, textHeight, true);
        return ToLogicalLength(*dc, textHeight, true);
    }
    int top = device.top;
    if (singleLine && (format & DT_VCENTER))
        top = device.top + (device.bottom - device.top - textHeight) / 2;
    else if (singleLine && (format & DT_BOTTOM))
        top = device.bottom - textHeight;

    DcState& state = dc->State();
    const UINT savedAlign = state.nTextAlign;
    const std::optional<Region> savedClip = state.clip;
    state.nTextAlign = TA_LEFT | TA_TOP;
    if (!(format & DT_NOCLIP))
    {
        const Region r(
            RECT{std::min(device.left, device.right), std::min(device.top, device.bottom),
                 std::max(device.left, device.right), std::max(device.top, device.bottom)});
        state.clip = state.clip ? Region::Combine(*state.clip, r, RGN_AND) : r;
    }
    {
        DrawSession session(*dc);
        if (session.IsValid())
        {
            int y = top;
            for (const TextRun& run : runs)
            {
                const int w = TextWidth(*font, run.text);
                int x = device.left;
                if (format & DT_CENTER)
                    x = device.left + (width - w) / 2;
                else if (format & DT_RIGHT)
                    x = device.right - w;
                DrawRun(*dc, session, *font, x, y, run, TA_LEFT | TA_TOP, nullptr);
                y += lineHeight;
            }
        }
    }
    state.nTextAlign = savedAlign;
    state.clip = savedClip;
    return ToLogicalLength(*dc, textHeight, true);
}

int GetTextFaceA(HDC hdc, int size, LPSTR name)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return 0;
    GdiFont* font = dc->GetFont();
    const char* face = font ? font->m_logFont.lfFaceName : "System";
    const int length = int(std::strlen(face));
    if (name == nullptr)
        return length + 1;
    if (size <= 0)
        return 0;
    const int n = std::min(length, size - 1);
    std::memcpy(name, face, std::size_t(n));
    name[n] = '\0';
    return n;
}
