// Device-context creation, attributes and coordinate mapping.
#include "DeviceContext.h"
#include "PrinterPages.h"

#include <cstring>

namespace
{
GdiGetDCHook gGetDCHook = nullptr;
GdiReleaseDCHook gReleaseDCHook = nullptr;

template <typename T, typename F> T WithDC(HDC hdc, T failure, F fn)
{
    DeviceContext* dc = LookupDC(hdc);
    return dc != nullptr ? fn(*dc) : failure;
}

template <typename T> T Exchange(T& slot, T value)
{
    T old = slot;
    slot = value;
    return old;
}

bool IsDisplay(LPCSTR driver)
{
    return driver != nullptr &&
           (std::strcmp(driver, "DISPLAY") == 0 || std::strcmp(driver, "display") == 0);
}

bool IsPrinterDriver(LPCSTR driver)
{
    return driver == nullptr || std::strcmp(driver, "WINSPOOL") == 0 ||
           std::strcmp(driver, "winspool") == 0;
}

HDC CreatePrinterDC(LPCSTR device, LPCSTR output)
{
    if (device == nullptr || !PrinterPages::IsDestination(device))
        return nullptr;
    auto* dc = new DeviceContext(enDcKind::Printer, nullptr);
    dc->SetPrinter(std::make_unique<PrinterPages>(device, output != nullptr ? output : ""));
    return dc->GetHandle();
}

int GetPrinterCaps(int index)
{
    switch (index)
    {
    case HORZRES:
        return GDI_PRINTER_PAGE_WIDTH;
    case VERTRES:
        return GDI_PRINTER_PAGE_HEIGHT;
    case HORZSIZE:
        return 210;
    case VERTSIZE:
        return 297;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return GDI_PRINTER_DPI;
    case BITSPIXEL:
        return 24;
    case ASPECTX:
    case ASPECTY:
        return 300;
    default:
        return -1;
    }
}
} // namespace

GdiSurfaceHost::~GdiSurfaceHost() = default;

void GdiSurfaceHost::OnDrawn(const RECT&) {}

void GdiSurfaceHost::OnReleaseDC() {}

HDC GdiCreateHostDC(GdiSurfaceHost* pHost)
{
    if (pHost == nullptr)
        return nullptr;
    return (new DeviceContext(enDcKind::Host, pHost))->GetHandle();
}

void GdiSetWindowDCHooks(GdiGetDCHook getDC, GdiReleaseDCHook releaseDC)
{
    gGetDCHook = getDC;
    gReleaseDCHook = releaseDC;
}

HDC GetDC(HWND hWnd)
{
    if (hWnd == nullptr)
        return (new DeviceContext(enDcKind::Screen, nullptr))->GetHandle();
    return gGetDCHook != nullptr ? gGetDCHook(hWnd, false) : nullptr;
}

int ReleaseDC(HWND hWnd, HDC hdc)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return 0;
    if (dc->GetKind() == enDcKind::Screen)
    {
        delete dc;
        return 1;
    }
    return gReleaseDCHook != nullptr ? gReleaseDCHook(hWnd, hdc) : 0;
}

HDC CreateCompatibleDC(HDC hdc)
{
    if (hdc != nullptr && LookupDC(hdc) == nullptr)
        return nullptr;
    return (new DeviceContext(enDcKind::Memory, nullptr))->GetHandle();
}

HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output, const void*)
{
    if (IsPrinterDriver(driver))
        return CreatePrinterDC(device, output);
    if (!IsDisplay(driver))
        return nullptr;
    return (new DeviceContext(enDcKind::Screen, nullptr))->GetHandle();
}

HDC CreateICA(LPCSTR driver, LPCSTR, LPCSTR, const void*)
{
    if (!IsDisplay(driver))
        return nullptr;
    return (new DeviceContext(enDcKind::Info, nullptr))->GetHandle();
}

BOOL DeleteDC(HDC hdc)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return FALSE;
    GdiSurfaceHost* host = dc->GetHost();
    delete dc;
    if (host != nullptr)
        host->OnReleaseDC();
    return TRUE;
}

int SaveDC(HDC hdc)
{
    return WithDC(hdc, 0, [](DeviceContext& dc) { return dc.Save(); });
}

BOOL RestoreDC(HDC hdc, int savedDC)
{
    return WithDC(hdc, FALSE, [&](DeviceContext& dc) { return BOOL(dc.Restore(savedDC)); });
}

HWND WindowFromDC(HDC hdc)
{
    return WithDC(hdc, HWND(nullptr),
                  [](DeviceContext& dc)
                  { return dc.GetHost() != nullptr ? dc.GetHost()->GetWindow() : HWND(nullptr); });
}

int GetDeviceCaps(HDC hdc, int index)
{
    const DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return 0;
    if (dc->GetKind() == enDcKind::Printer)
    {
        const int caps = GetPrinterCaps(index);
        if (caps >= 0)
            return caps;
    }
    switch (index)
    {
    case HORZRES:
        return GDI_SCREEN_WIDTH;
    case VERTRES:
        return GDI_SCREEN_HEIGHT;
    case HORZSIZE:
        return GDI_SCREEN_WIDTH * 254 / (GDI_SCREEN_DPI * 10);
    case VERTSIZE:
        return GDI_SCREEN_HEIGHT * 254 / (GDI_SCREEN_DPI * 10);
    case LOGPIXELSX:
    case LOGPIXELSY:
        return GDI_SCREEN_DPI;
    case PLANES:
        return 1;
    case BITSPIXEL:
        return 32;
    case NUMCOLORS:
        return -1;
    case ASPECTX:
    case ASPECTY:
        return 36;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case SIZEPALETTE:
    case NUMRESERVED:
        return 0;
    default:
        return 0;
    }
}

COLORREF SetTextColor(HDC hdc, COLORREF color)
{
    return WithDC(hdc, COLORREF(CLR_INVALID),
                  [&](DeviceContext& dc)
                  { return Exchange(dc.State().textColor, color & 0xFFFFFF); });
}

COLORREF GetTextColor(HDC hdc)
{
    return WithDC(hdc, COLORREF(CLR_INVALID),
                  [](DeviceContext& dc) { return dc.State().textColor; });
}

COLORREF SetBkColor(HDC hdc, COLORREF color)
{
    return WithDC(hdc, COLORREF(CLR_INVALID),
                  [&](DeviceContext& dc)
                  { return Exchange(dc.State().bkColor, color & 0xFFFFFF); });
}

COLORREF GetBkColor(HDC hdc)
{
    return WithDC(hdc, COLORREF(CLR_INVALID), [](DeviceContext& dc) { return dc.State().bkColor; });
}

int SetBkMode(HDC hdc, int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return WithDC(hdc, 0, [&](DeviceContext& dc) { return Exchange(dc.State().nBkMode, mode); });
}

int GetBkMode(HDC hdc)
{
    return WithDC(hdc, 0, [](DeviceContext& dc) { return dc.State().nBkMode; });
}

int SetROP2(HDC hdc, int mode)
{
    if (mode < R2_BLACK || mode > R2_WHITE)
        return 0;
    return WithDC(hdc, 0, [&](DeviceContext& dc) { return Exchange(dc.State().nRop2, mode); });
}

int GetROP2(HDC hdc)
{
    return WithDC(hdc, 0, [](DeviceContext& dc) { return dc.State().nRop2; });
}

int SetStretchBltMode(HDC hdc, int mode)
{
    if (mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    return WithDC(hdc, 0,
                  [&](DeviceContext& dc) { return Exchange(dc.State().nStretchMode, mode); });
}

int GetStretchBltMode(HDC hdc)
{
    return WithDC(hdc, 0, [](DeviceContext& dc) { return dc.State().nStretchMode; });
}

int SetPolyFillMode(HDC hdc, int mode)
{
    if (mode != ALTERNATE && mode != WINDING)
        return 0;
    return WithDC(hdc, 0,
                  [&](DeviceContext& dc) { return Exchange(dc.State().nPolyFillMode, mode); });
}

int GetPolyFillMode(HDC hdc)
{
    return WithDC(hdc, 0, [](DeviceContext& dc) { return dc.State().nPolyFillMode; });
}

UINT SetTextAlign(HDC hdc, UINT align)
{
    return WithDC(hdc, UINT(GDI_ERROR),
                  [&](DeviceContext& dc) { return Exchange(dc.State().nTextAlign, align); });
}

UINT GetTextAlign(HDC hdc)
{
    return WithDC(hdc, UINT(GDI_ERROR), [](DeviceContext& dc) { return dc.State().nTextAlign; });
}

BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old)
{
    return WithDC(hdc, FALSE,
                  [&](DeviceContext& dc)
                  {
                      const POINT previous = Exchange(dc.State().brushOrg, POINT{x, y});
                      if (old != nullptr)
                          *old = previous;
                      return TRUE;
                  });
}

int SetMapMode(HDC hdc, int mode)
{
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return 0;
    return WithDC(hdc, 0,
                  [&](DeviceContext& dc)
                  {
                      const int previous = Exchange(dc.State().nMapMode, mode);
                      if (mode == MM_TEXT)
                      {
                          dc.State().windowExt = SIZE{1, 1};
                          dc.State().viewportExt = SIZE{1, 1};
                      }
                      return previous;
                  });
}

int GetMapMode(HDC hdc)
{
    return WithDC(hdc, 0, [](DeviceContext& dc) { return dc.State().nMapMode; });
}

namespace
{
BOOL SetPointField(HDC hdc, POINT DcState::*field, POINT value, LPPOINT old)
{
    return WithDC(hdc, FALSE,
                  [&](DeviceContext& dc)
                  {
                      const POINT previous = Exchange(dc.State().*field, value);
                      if (old != nullptr)
                          *old = previous;
                      return TRUE;
                  });
}

template <typename T> BOOL GetStateField(HDC hdc, T DcState::*field, T* out)
{
    return WithDC(hdc, FALSE,
                  [&](DeviceContext& dc)
                  {
                      if (out != nullptr)
                          *out = dc.State().*field;
                      return TRUE;
                  });
}

BOOL OffsetPointField(HDC hdc, POINT DcState::*field, int dx, int dy, LPPOINT old)
{
    POINT current;
    if (!GetStateField(hdc, field, &current))
        return FALSE;
    return SetPointField(hdc, field, POINT{current.x + dx, current.y + dy}, old);
}

BOOL SetExtent(HDC hdc, SIZE DcState::*field, int cx, int cy, LPSIZE old)
{
    if (cx == 0 || cy == 0)
        return FALSE;
    return WithDC(hdc, FALSE,
                  [&](DeviceContext& dc)
                  {
                      if (old != nullptr)
                          *old = dc.State().*field;
                      // Only the scalable mapping modes take extents.
                      if (dc.State().nMapMode == MM_ISOTROPIC ||
                          dc.State().nMapMode == MM_ANISOTROPIC)
                          dc.State().*field = SIZE{cx, cy};
                      return TRUE;
                  });
}
} // namespace

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old)
{
    return SetPointField(hdc, &DcState::windowOrg, POINT{x, y}, old);
}

BOOL GetWindowOrgEx(HDC hdc, LPPOINT pt)
{
    return GetStateField(hdc, &DcState::windowOrg, pt);
}

BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT old)
{
    return OffsetPointField(hdc, &DcState::windowOrg, dx, dy, old);
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old)
{
    return SetPointField(hdc, &DcState::viewportOrg, POINT{x, y}, old);
}

BOOL GetViewportOrgEx(HDC hdc, LPPOINT pt)
{
    return GetStateField(hdc, &DcState::viewportOrg, pt);
}

BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old)
{
    return OffsetPointField(hdc, &DcState::viewportOrg, dx, dy, old);
}

BOOL SetWindowExtEx(HDC hdc, int cx, int cy, LPSIZE old)
{
    return SetExtent(hdc, &DcState::windowExt, cx, cy, old);
}

BOOL GetWindowExtEx(HDC hdc, LPSIZE size)
{
    return GetStateField(hdc, &DcState::windowExt, size);
}

BOOL SetViewportExtEx(HDC hdc, int cx, int cy, LPSIZE old)
{
    return SetExtent(hdc, &DcState::viewportExt, cx, cy, old);
}

BOOL GetViewportExtEx(HDC hdc, LPSIZE size)
{
    return GetStateField(hdc, &DcState::viewportExt, size);
}

BOOL LPtoDP(HDC hdc, LPPOINT pts, int count)
{
    return WithDC(hdc, FALSE,
                  [&](DeviceContext& dc)
                  {
                      for (int i = 0; i < count; ++i)
                          pts[i] = dc.ToDevice(pts[i].x, pts[i].y);
                      return TRUE;
                  });
}

BOOL DPtoLP(HDC hdc, LPPOINT pts, int count)
{
    return WithDC(hdc, FALSE,
                  [&](DeviceContext& dc)
                  {
                      for (int i = 0; i < count; ++i)
                          pts[i] = dc.ToLogical(pts[i].x, pts[i].y);
                      return TRUE;
                  });
}
