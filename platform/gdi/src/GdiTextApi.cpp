// Text output and measurement: TextOut, ExtTextOut, DrawText and the text
// metrics. The DC's font, colours, alignment and clip become glyph runs for
// the painter.
#include "DeviceContext.h"
#include "GdiGlyphRun.h"
#include "GdiTextLayout.h"

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

// A run of characters at a device point, in the DC's text colours.
GlyphRun MakeGlyphRun(const DeviceContext& dc, RealFont& font, POINT origin, const TextRun& run,
                      UINT align)
{
    GlyphRun glyphs;
    glyphs.pFont = &font;
    glyphs.text = run.text;
    glyphs.nUnderlineIndex = run.underlineIndex;
    glyphs.origin = origin;
    glyphs.nAlign = align;
    glyphs.textColor = PixelFromColorRef(dc.State().textColor);
    glyphs.bOpaque = dc.State().nBkMode == OPAQUE;
    glyphs.bkColor = PixelFromColorRef(dc.State().bkColor);
    return glyphs;
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
            GlyphRun glyphs = MakeGlyphRun(*dc, *font, dc->ToDevice(x, y), run, state.nTextAlign);
            if (opaque != nullptr)
            {
                const RECT d = dc->ToDevice(*opaque);
                glyphs.opaqueRect = RECT{std::min(d.left, d.right), std::min(d.top, d.bottom),
                                         std::max(d.left, d.right), std::max(d.top, d.bottom)};
            }
            session.GetPainter().DrawGlyphRun(glyphs);
        }
    }
    state.clip = savedClip;
    if (updateCp)
        state.current.x += ToLogicalLength(*dc, GetTextWidth(*font, run.text), false);
    return TRUE;
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
    size->cx = ToLogicalLength(*dc, GetTextWidth(*font, chars), false);
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
    const RECT device = dc->ToDevice(*rect);
    const TextBlock block = LayoutTextBlock(*font, DecodeAnsi(text, length), device, format);
    if (format & DT_CALCRECT)
    {
        rect->right = rect->left + ToLogicalLength(*dc, block.nWidth, false);
        rect->bottom = rect->top + ToLogicalLength(*dc, block.nHeight, true);
        return ToLogicalLength(*dc, block.nHeight, true);
    }
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
            for (std::size_t i = 0; i < block.runs.size(); ++i)
                session.GetPainter().DrawGlyphRun(
                    MakeGlyphRun(*dc, *font, block.origins[i], block.runs[i], TA_LEFT | TA_TOP));
        }
    }
    state.nTextAlign = savedAlign;
    state.clip = savedClip;
    return ToLogicalLength(*dc, block.nHeight, true);
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
