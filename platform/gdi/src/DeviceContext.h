// A device context: its attributes and selected objects, the saved-state
// stack, the coordinate mapping, the clip and the surface it draws on.
#pragma once

#include "GdiPainter.h"
#include "GdiSurfaceHost.h"
#include "GdiTools.h"

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

enum class enDcKind
{
    Memory,
    Screen,
    Info,
    Host,
    Printer,
};

class PrinterPages;

struct DcState
{
    HGDIOBJ hPen = nullptr;
    HGDIOBJ hBrush = nullptr;
    HGDIOBJ hFont = nullptr;
    HGDIOBJ hPalette = nullptr;
    HGDIOBJ hBitmap = nullptr;
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    int nBkMode = OPAQUE;
    int nRop2 = R2_COPYPEN;
    int nStretchMode = BLACKONWHITE;
    int nPolyFillMode = ALTERNATE;
    int nMapMode = MM_TEXT;
    UINT nTextAlign = TA_LEFT | TA_TOP;
    POINT windowOrg{0, 0};
    POINT viewportOrg{0, 0};
    SIZE windowExt{1, 1};
    SIZE viewportExt{1, 1};
    POINT current{0, 0};
    POINT brushOrg{0, 0};
    std::optional<Region> clip; // device coordinates
};

class DeviceContext
{
public:
    DeviceContext(enDcKind kind, GdiSurfaceHost* pHost);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    enDcKind GetKind() const { return m_kind; }
    GdiSurfaceHost* GetHost() const { return m_pHost; }
    // The document of a printer DC (null for every other kind).
    PrinterPages* GetPrinter() const { return m_pPrinter.get(); }
    void SetPrinter(std::unique_ptr<PrinterPages> pPrinter);
    DcState& State() { return m_state; }
    const DcState& State() const { return m_state; }
    HDC GetHandle() { return reinterpret_cast<HDC>(this); }

    // Selects an object of any kind and returns the previous one of that
    // kind (NULL on failure).
    HGDIOBJ Select(HGDIOBJ obj);
    int Save();
    bool Restore(int index);

    GdiPen* GetPen() const;
    GdiBrush* GetBrush() const;
    GdiFont* GetFont() const;
    GdiBitmap* GetBitmap() const;

    // Logical to device coordinates and back.
    POINT ToDevice(int x, int y) const;
    POINT ToLogical(int x, int y) const;
    RECT ToDevice(const RECT& rect) const;
    // Scales a logical length along x or y to device units.
    int ScaleX(int length) const;
    int ScaleY(int length) const;
    bool IsScaled() const;

    // The part of the device surface that drawing may touch: the visible
    // area intersected with the clip region (device coordinates).
    Region GetVisibleRegion() const;
    Region GetEffectiveClip() const;
    bool IsMonochrome() const;
    SIZE GetDeviceSize() const;

    // Brush as a paint source for this DC (null brush gives false).
    bool MakeBrushSource(const GdiBrush* brush, PaintSource& source) const;

    // Drawing calls recorded for tests (GdiRecorder.h).
    bool m_bRecording = false;
    std::vector<std::string> m_recording;

private:
    void SelectDefaults();
    HGDIOBJ& SlotFor(enGdiKind kind);

    enDcKind m_kind;
    GdiSurfaceHost* m_pHost;
    std::unique_ptr<PrinterPages> m_pPrinter;
    DcState m_state;
    std::vector<DcState> m_saved;
};

// Brings the part of the virtual screen a screen DC is about to be read
// from up to date with the display (device coordinates).
void ReadScreenInto(const RECT& rcScreen);

// The live DC of a handle, or null.
DeviceContext* LookupDC(HDC hdc);

// Records a drawing call on a DC that records (see GdiRecorder.h).
void GdiRecord(HDC hdc, const char* name, std::initializer_list<long long> args);

// One drawing call on a DC: offers a painter on the DC's pixels clipped to
// its effective clip, and reports the change to a window's host at the end.
class DrawSession
{
public:
    explicit DrawSession(DeviceContext& dc, bool bWrite = true);
    ~DrawSession();
    DrawSession(const DrawSession&) = delete;
    DrawSession& operator=(const DrawSession&) = delete;

    bool IsValid() const { return m_bValid; }
    Painter& GetPainter() { return *m_painter; }
    const Region& GetClip() const { return m_clip; }
    const PixelSurface& GetSurface() const { return m_surface; }
    POINT GetOrigin() const { return m_origin; }

private:
    DeviceContext& m_dc;
    bool m_bWrite;
    bool m_bValid = false;
    PixelSurface m_surface;
    POINT m_origin{0, 0};
    Region m_clip;
    std::optional<Painter> m_painter;
};

// The default 1 x 1 monochrome bitmap of a new memory DC.
HGDIOBJ GdiDefaultBitmap();
