#include "DeviceContext.h"

#include "PrinterPages.h"

#include <unordered_set>

namespace
{
std::unordered_set<const void*>& LiveDCs()
{
    static std::unordered_set<const void*> table;
    return table;
}

void AddRef(HGDIOBJ obj)
{
    if (GdiObject* o = GdiLookup(obj))
        o->AddSelect();
}

void Release(HGDIOBJ obj)
{
    if (GdiObject* o = GdiLookup(obj))
        o->ReleaseSelect();
}

std::vector<std::uint32_t>& ScreenPixels()
{
    static std::vector<std::uint32_t> pixels(std::size_t(GDI_SCREEN_WIDTH) * GDI_SCREEN_HEIGHT,
                                             0x008080);
    return pixels;
}

// Rounds a * b / c half away from zero in 64 bits.
int ScaleRound(std::int64_t a, std::int64_t b, std::int64_t c)
{
    if (c == 0)
        return static_cast<int>(a);
    std::int64_t num = a * b;
    const bool negative = (num < 0) != (c < 0);
    if (num < 0)
        num = -num;
    const std::int64_t den = c < 0 ? -c : c;
    const std::int64_t q = (num + den / 2) / den;
    return static_cast<int>(negative ? -q : q);
}

// One of the two coordinate spaces of a DC's mapping.
struct MappingSpace
{
    POINT org;
    SIZE ext;
};

// An unscaled mapping only shifts, so it never rounds.
POINT MapPoint(int x, int y, const MappingSpace& from, const MappingSpace& to, bool bScaled)
{
    if (!bScaled)
        return POINT{x - from.org.x + to.org.x, y - from.org.y + to.org.y};
    return POINT{ScaleRound(std::int64_t(x) - from.org.x, to.ext.cx, from.ext.cx) + to.org.x,
                 ScaleRound(std::int64_t(y) - from.org.y, to.ext.cy, from.ext.cy) + to.org.y};
}
} // namespace

namespace
{
GdiScreenReader gScreenReader = nullptr;
} // namespace

void GdiSetScreenReader(GdiScreenReader reader)
{
    gScreenReader = reader;
}

void ReadScreenInto(const RECT& rcScreen)
{
    RECT clipped;
    const RECT screen{0, 0, GDI_SCREEN_WIDTH, GDI_SCREEN_HEIGHT};
    if (gScreenReader != nullptr && IntersectRect(&clipped, &rcScreen, &screen))
        gScreenReader(clipped, GdiGetScreenSurface());
}

GdiSurfaceInfo GdiGetScreenSurface()
{
    auto& pixels = ScreenPixels();
    return GdiSurfaceInfo{reinterpret_cast<std::uint8_t*>(pixels.data()), GDI_SCREEN_WIDTH,
                          GDI_SCREEN_HEIGHT, GDI_SCREEN_WIDTH * 4};
}

DeviceContext* LookupDC(HDC hdc)
{
    if (hdc == nullptr || LiveDCs().count(hdc) == 0)
        return nullptr;
    return reinterpret_cast<DeviceContext*>(hdc);
}

DeviceContext::DeviceContext(enDcKind kind, GdiSurfaceHost* pHost) : m_kind(kind), m_pHost(pHost)
{
    LiveDCs().insert(this);
    SelectDefaults();
}

DeviceContext::~DeviceContext()
{
    for (DcState& saved : m_saved)
    {
        for (HGDIOBJ obj : {saved.hPen, saved.hBrush, saved.hFont, saved.hPalette, saved.hBitmap})
            Release(obj);
    }
    for (HGDIOBJ obj : {m_state.hPen, m_state.hBrush, m_state.hFont, m_state.hPalette})
        Release(obj);
    if (GdiBitmap* bitmap = GetBitmap())
    {
        bitmap->ReleaseSelect();
        if (bitmap->m_pSelectedIn == this)
            bitmap->m_pSelectedIn = nullptr;
    }
    LiveDCs().erase(this);
}

void DeviceContext::SetPrinter(std::unique_ptr<PrinterPages> pPrinter)
{
    m_pPrinter = std::move(pPrinter);
}

void DeviceContext::SelectDefaults()
{
    m_state.hPen = GetStockObject(BLACK_PEN);
    m_state.hBrush = GetStockObject(WHITE_BRUSH);
    m_state.hFont = GetStockObject(SYSTEM_FONT);
    m_state.hPalette = GetStockObject(DEFAULT_PALETTE);
    for (HGDIOBJ obj : {m_state.hPen, m_state.hBrush, m_state.hFont, m_state.hPalette})
        AddRef(obj);
    if (m_kind == enDcKind::Memory)
    {
        m_state.hBitmap = GdiDefaultBitmap();
        AddRef(m_state.hBitmap);
    }
}

HGDIOBJ& DeviceContext::SlotFor(enGdiKind kind)
{
    switch (kind)
    {
    case enGdiKind::Pen:
        return m_state.hPen;
    case enGdiKind::Brush:
        return m_state.hBrush;
    case enGdiKind::Font:
        return m_state.hFont;
    case enGdiKind::Palette:
        return m_state.hPalette;
    default:
        return m_state.hBitmap;
    }
}

HGDIOBJ DeviceContext::Select(HGDIOBJ handle)
{
    GdiObject* obj = GdiLookup(handle);
    if (obj == nullptr || obj->GetKind() == enGdiKind::Region)
        return nullptr;
    if (obj->GetKind() == enGdiKind::Bitmap)
    {
        if (m_kind != enDcKind::Memory)
            return nullptr;
        auto* bitmap = static_cast<GdiBitmap*>(obj);
        if (!bitmap->IsStock() && bitmap->m_pSelectedIn != nullptr && bitmap->m_pSelectedIn != this)
            return nullptr;
        if (GdiBitmap* old = GetBitmap(); old != nullptr && old->m_pSelectedIn == this)
            old->m_pSelectedIn = nullptr;
        if (!bitmap->IsStock())
            bitmap->m_pSelectedIn = this;
    }
    HGDIOBJ& slot = SlotFor(obj->GetKind());
    HGDIOBJ previous = slot;
    AddRef(handle);
    Release(previous);
    slot = handle;
    return previous;
}

int DeviceContext::Save()
{
    m_saved.push_back(m_state);
    for (HGDIOBJ obj :
         {m_state.hPen, m_state.hBrush, m_state.hFont, m_state.hPalette, m_state.hBitmap})
        AddRef(obj);
    return static_cast<int>(m_saved.size());
}

bool DeviceContext::Restore(int index)
{
    const int count = static_cast<int>(m_saved.size());
    if (index < 0)
        index = count + 1 + index;
    if (index < 1 || index > count)
        return false;
    DcState target = m_saved[std::size_t(index - 1)];
    for (int i = count; i > index - 1; --i)
    {
        DcState& dropped = m_saved.back();
        for (HGDIOBJ obj :
             {dropped.hPen, dropped.hBrush, dropped.hFont, dropped.hPalette, dropped.hBitmap})
            Release(obj);
        m_saved.pop_back();
    }
    const DcState current = m_state;
    m_state = target;
    m_state.hPen = current.hPen;
    m_state.hBrush = current.hBrush;
    m_state.hFont = current.hFont;
    m_state.hPalette = current.hPalette;
    m_state.hBitmap = current.hBitmap;
    for (HGDIOBJ obj : {target.hPen, target.hBrush, target.hFont, target.hPalette, target.hBitmap})
    {
        if (obj != nullptr && GdiLookup(obj) != nullptr)
            Select(obj);
    }
    return true;
}

GdiPen* DeviceContext::GetPen() const
{
    return GdiLookupAs<GdiPen>(m_state.hPen);
}

GdiBrush* DeviceContext::GetBrush() const
{
    return GdiLookupAs<GdiBrush>(m_state.hBrush);
}

GdiFont* DeviceContext::GetFont() const
{
    return GdiLookupAs<GdiFont>(m_state.hFont);
}

GdiBitmap* DeviceContext::GetBitmap() const
{
    return GdiLookupAs<GdiBitmap>(m_state.hBitmap);
}

bool DeviceContext::IsScaled() const
{
    return m_state.nMapMode != MM_TEXT && (m_state.windowExt.cx != m_state.viewportExt.cx ||
                                           m_state.windowExt.cy != m_state.viewportExt.cy);
}

POINT DeviceContext::ToDevice(int x, int y) const
{
    const DcState& s = m_state;
    return MapPoint(x, y, {s.windowOrg, s.windowExt}, {s.viewportOrg, s.viewportExt}, IsScaled());
}

POINT DeviceContext::ToLogical(int x, int y) const
{
    const DcState& s = m_state;
    return MapPoint(x, y, {s.viewportOrg, s.viewportExt}, {s.windowOrg, s.windowExt}, IsScaled());
}

RECT DeviceContext::ToDevice(const RECT& rect) const
{
    const POINT a = ToDevice(rect.left, rect.top);
    const POINT b = ToDevice(rect.right, rect.bottom);
    return RECT{a.x, a.y, b.x, b.y};
}

int DeviceContext::ScaleX(int length) const
{
    if (!IsScaled())
        return length;
    return ScaleRound(length, m_state.viewportExt.cx, m_state.windowExt.cx);
}

int DeviceContext::ScaleY(int length) const
{
    if (!IsScaled())
        return length;
    return ScaleRound(length, m_state.viewportExt.cy, m_state.windowExt.cy);
}

SIZE DeviceContext::GetDeviceSize() const
{
    if (m_kind == enDcKind::Memory)
    {
        GdiBitmap* bitmap = GetBitmap();
        return bitmap ? SIZE{bitmap->GetWidth(), bitmap->GetHeight()} : SIZE{0, 0};
    }
    if (m_kind == enDcKind::Host)
    {
        if (m_pHost->GetVisibleRects().empty())
            return SIZE{0, 0};
        const RECT bounds = GetVisibleRegion().GetBounds();
        return SIZE{bounds.right, bounds.bottom};
    }
    if (m_kind == enDcKind::Printer)
        return SIZE{GDI_PRINTER_PAGE_WIDTH, GDI_PRINTER_PAGE_HEIGHT};
    return SIZE{GDI_SCREEN_WIDTH, GDI_SCREEN_HEIGHT};
}

bool DeviceContext::IsMonochrome() const
{
    GdiBitmap* bitmap = m_kind == enDcKind::Memory ? GetBitmap() : nullptr;
    return bitmap != nullptr && bitmap->IsMonochrome();
}

Region DeviceContext::GetVisibleRegion() const
{
    switch (m_kind)
    {
    case enDcKind::Memory:
    {
        const SIZE size = GetDeviceSize();
        return Region(RECT{0, 0, size.cx, size.cy});
    }
    case enDcKind::Screen:
        return Region(RECT{0, 0, GDI_SCREEN_WIDTH, GDI_SCREEN_HEIGHT});
    case enDcKind::Info:
        return Region();
    case enDcKind::Printer:
        return Region(RECT{0, 0, GDI_PRINTER_PAGE_WIDTH, GDI_PRINTER_PAGE_HEIGHT});
    case enDcKind::Host:
        break;
    }
    Region visible;
    for (const RECT& rect : m_pHost->GetVisibleRects())
        visible = Region::Combine(visible, Region(rect), RGN_OR);
    const GdiSurfaceInfo info = m_pHost->GetSurface();
    const POINT origin = m_pHost->GetOrigin();
    return visible.Intersect(
        RECT{-origin.x, -origin.y, info.nWidth - origin.x, info.nHeight - origin.y});
}

Region DeviceContext::GetEffectiveClip() const
{
    Region visible = GetVisibleRegion();
    if (!m_state.clip)
        return visible;
    return Region::Combine(visible, *m_state.clip, RGN_AND);
}

bool DeviceContext::MakeBrushSource(const GdiBrush* brush, PaintSource& source) const
{
    if (brush == nullptr || brush->m_nStyle == BS_NULL)
        return false;
    source = PaintSource{};
    source.pBrush = brush;
    source.brushOrg = m_state.brushOrg;
    source.foreground = PixelFromColorRef(m_state.textColor);
    source.background = PixelFromColorRef(m_state.bkColor);
    switch (brush->m_nStyle)
    {
    case BS_PATTERN:
        source.kind = PaintSource::enKind::Pattern;
        break;
    case BS_HATCHED:
        source.kind = PaintSource::enKind::Hatch;
        source.foreground = PixelFromColorRef(brush->m_color);
        source.bOpaqueHatch = m_state.nBkMode == OPAQUE;
        break;
    default:
        source.kind = PaintSource::enKind::Solid;
        source.color = PixelFromColorRef(brush->m_color);
        break;
    }
    return true;
}

DrawSession::DrawSession(DeviceContext& dc, bool bWrite) : m_dc(dc), m_bWrite(bWrite)
{
    switch (dc.GetKind())
    {
    case enDcKind::Memory:
        if (GdiBitmap* bitmap = dc.GetBitmap())
            m_surface = bitmap->GetSurface();
        break;
    case enDcKind::Screen:
    {
        const GdiSurfaceInfo info = GdiGetScreenSurface();
        m_surface = PixelSurface::Rows32(info.pTop, info.nWidth, info.nHeight, info.nStride, false);
        break;
    }
    case enDcKind::Host:
    {
        const GdiSurfaceInfo info = dc.GetHost()->GetSurface();
        m_surface = PixelSurface::Rows32(info.pTop, info.nWidth, info.nHeight, info.nStride, false);
        m_origin = dc.GetHost()->GetOrigin();
        break;
    }
    case enDcKind::Printer:
    {
        const GdiSurfaceInfo info = dc.GetPrinter()->GetPage();
        m_surface = PixelSurface::Rows32(info.pTop, info.nWidth, info.nHeight, info.nStride, false);
        break;
    }
    case enDcKind::Info:
        break;
    }
    if (!m_surface.IsValid())
        return;
    m_clip = dc.GetEffectiveClip();
    m_painter.emplace(m_surface, m_origin, m_clip);
    m_bValid = true;
}

DrawSession::~DrawSession()
{
    if (!m_bValid || !m_bWrite)
        return;
    m_painter->Flush();
    const RECT dirty = m_painter->GetDirty();
    if (dirty.right > dirty.left && m_dc.GetKind() == enDcKind::Host)
        m_dc.GetHost()->OnDrawn(dirty);
}
