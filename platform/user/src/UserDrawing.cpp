// The focus rectangle, drawing in a state, icons through their masks and
// icons made from bitmaps.
#include "IconImage.h"

#include "WinDrawing.h"
#include "WinSysMetrics.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace
{
// Keeps what a call changes in the caller's DC.
class SavedDC
{
public:
    explicit SavedDC(HDC hdc) : m_hdc(hdc), m_nSaved(SaveDC(hdc)) {}
    ~SavedDC() { RestoreDC(m_hdc, m_nSaved); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC m_hdc;
    int m_nSaved;
};

HBRUSH FocusPatternBrush()
{
    static HBRUSH hBrush = []
    {
        static const WORD kRows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
        HBITMAP hPattern = CreateBitmap(8, 8, 1, 1, kRows);
        HBRUSH hPatternBrush = CreatePatternBrush(hPattern);
        DeleteObject(hPattern);
        return hPatternBrush;
    }();
    return hBrush;
}

SIZE ItemSize(HDC hdc, LPARAM lData, WPARAM wData, UINT nType)
{
    switch (nType)
    {
    case DST_TEXT:
    case DST_PREFIXTEXT:
    {
        const auto* text = reinterpret_cast<LPCSTR>(lData);
        const int nLength =
            wData != 0 ? static_cast<int>(wData) : static_cast<int>(std::strlen(text));
        RECT rect{0, 0, 0, 0};
        DrawTextA(hdc, text, nLength, &rect,
                  DT_SINGLELINE | DT_CALCRECT | (nType == DST_TEXT ? DT_NOPREFIX : 0));
        return SIZE{rect.right, rect.bottom};
    }
    case DST_ICON:
    {
        IconImage image;
        return GetIconImage(reinterpret_cast<HICON>(lData), image)
                   ? SIZE{image.nWidth, image.nHeight}
                   : SIZE{0, 0};
    }
    case DST_BITMAP:
    {
        BITMAP bm{};
        GetObjectA(reinterpret_cast<HBITMAP>(lData), sizeof(bm), &bm);
        return SIZE{bm.bmWidth, bm.bmHeight};
    }
    default:
        return SIZE{0, 0};
    }
}

// Draws the item in its own colours at (x, y) of the DC.
void DrawItem(HDC hdc, DRAWSTATEPROC callback, LPARAM lData, WPARAM wData, int x, int y, SIZE size,
              UINT nType)
{
    switch (nType)
    {
    case DST_TEXT:
    case DST_PREFIXTEXT:
    {
        const auto* text = reinterpret_cast<LPCSTR>(lData);
        const int nLength =
            wData != 0 ? static_cast<int>(wData) : static_cast<int>(std::strlen(text));
        RECT rect{x, y, x + size.cx, y + size.cy};
        SetBkMode(hdc, TRANSPARENT);
        DrawTextA(hdc, text, nLength, &rect,
                  DT_SINGLELINE | DT_NOCLIP | (nType == DST_TEXT ? DT_NOPREFIX : 0));
        return;
    }
    case DST_ICON:
        DrawIconEx(hdc, x, y, reinterpret_cast<HICON>(lData), size.cx, size.cy, 0, nullptr,
                   DI_NORMAL);
        return;
    case DST_BITMAP:
    {
        HDC hdcBitmap = CreateCompatibleDC(hdc);
        HGDIOBJ hOld = SelectObject(hdcBitmap, reinterpret_cast<HBITMAP>(lData));
        BitBlt(hdc, x, y, size.cx, size.cy, hdcBitmap, 0, 0, SRCCOPY);
        SelectObject(hdcBitmap, hOld);
        DeleteDC(hdcBitmap);
        return;
    }
    default:
        if (callback != nullptr)
        {
            SavedDC saved(hdc);
            SetViewportOrgEx(hdc, x, y, nullptr);
            callback(hdc, lData, wData, size.cx, size.cy);
        }
        return;
    }
}

// Paints a colour wherever the item's shape is: the item drawn black on
// white gives the shape, which then takes the brush.
void DrawShape(HDC hdc, DRAWSTATEPROC callback, LPARAM lData, WPARAM wData, int x, int y, SIZE size,
               UINT nType, HBRUSH hBrush)
{
    PixelCanvas shape(size.cx, size.cy);
    if (!shape.IsValid())
        return;
    shape.Fill(RGB(255, 255, 255));
    HGDIOBJ hOldFont = SelectObject(shape.GetDC(), GetCurrentObject(hdc, OBJ_FONT));
    SetTextColor(shape.GetDC(), RGB(0, 0, 0));
    DrawItem(shape.GetDC(), callback, lData, wData, 0, 0, size, nType);
    SelectObject(shape.GetDC(), hOldFont);
    // Dark pixels are the shape; light ones (white, soft glyph edges) not.
    for (int i = 0; i < size.cx * size.cy; ++i)
    {
        const std::uint32_t pixel = shape.Pixels()[i];
        const unsigned nLight = ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
        shape.Pixels()[i] = nLight > 3 * 192 ? 0x00FFFFFF : 0;
    }
    PaintShape(hdc, shape, x, y, size, hBrush);
}
} // namespace

void PaintShape(HDC hdc, const PixelCanvas& shape, int x, int y, SIZE size, HBRUSH hBrush)
{
    SavedDC saved(hdc);
    SelectObject(hdc, hBrush);
    // The pattern where the source is black, the destination elsewhere.
    BitBlt(hdc, x, y, size.cx, size.cy, shape.GetDC(), 0, 0, 0x00B8074A);
}

BOOL DrawFocusRect(HDC hdc, const RECT* lprc)
{
    if (hdc == nullptr || lprc == nullptr || IsRectEmpty(lprc))
        return FALSE;
    SavedDC saved(hdc);
    // Pattern 1 bits take the background colour, 0 bits the text colour:
    // white inverts the dot, black leaves the pixel between dots.
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkColor(hdc, RGB(255, 255, 255));
    SelectObject(hdc, FocusPatternBrush());
    const int nWidth = lprc->right - lprc->left;
    const int nHeight = lprc->bottom - lprc->top;
    PatBlt(hdc, lprc->left, lprc->top, nWidth, 1, PATINVERT);
    if (nHeight > 1)
        PatBlt(hdc, lprc->left, lprc->bottom - 1, nWidth, 1, PATINVERT);
    if (nHeight > 2)
    {
        PatBlt(hdc, lprc->left, lprc->top + 1, 1, nHeight - 2, PATINVERT);
        if (nWidth > 1)
            PatBlt(hdc, lprc->right - 1, lprc->top + 1, 1, nHeight - 2, PATINVERT);
    }
    return TRUE;
}

BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT, HBRUSH,
                UINT diFlags)
{
    IconImage image;
    if (hdc == nullptr || !GetIconImage(hIcon, image))
        return FALSE;
    if (cxWidth == 0)
        cxWidth = (diFlags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : image.nWidth;
    if (cyWidth == 0)
        cyWidth = (diFlags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : image.nHeight;
    if ((diFlags & DI_NORMAL) == 0)
        diFlags |= DI_NORMAL;
    return DrawIconImage(hdc, image, xLeft, yTop, cxWidth, cyWidth, diFlags) ? TRUE : FALSE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON hIcon)
{
    return DrawIconEx(hdc, x, y, hIcon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

BOOL DrawStateA(HDC hdc, HBRUSH hbrFore, DRAWSTATEPROC qfnCallBack, LPARAM lData, WPARAM wData,
                int x, int y, int cx, int cy, UINT uFlags)
{
    const UINT nType = uFlags & 0x000F;
    if (hdc == nullptr || (nType != DST_COMPLEX && lData == 0) ||
        (nType == DST_COMPLEX && qfnCallBack == nullptr))
        return FALSE;
    SIZE size = ItemSize(hdc, lData, wData, nType);
    if (cx != 0)
        size.cx = cx;
    if (cy != 0)
        size.cy = cy;
    if (size.cx <= 0 || size.cy <= 0)
        return FALSE;
    if (uFlags & DSS_DISABLED)
    {
        DrawShape(hdc, qfnCallBack, lData, wData, x + 1, y + 1, size, nType,
                  GetSysColorBrush(COLOR_3DHILIGHT));
        DrawShape(hdc, qfnCallBack, lData, wData, x, y, size, nType,
                  GetSysColorBrush(COLOR_3DSHADOW));
        return TRUE;
    }
    if (uFlags & DSS_MONO)
    {
        DrawShape(hdc, qfnCallBack, lData, wData, x, y, size, nType,
                  hbrFore != nullptr ? hbrFore : GetSysColorBrush(COLOR_WINDOWTEXT));
        return TRUE;
    }
    SavedDC saved(hdc);
    DrawItem(hdc, qfnCallBack, lData, wData, x, y, size, nType);
    return TRUE;
}

HICON CreateIconIndirect(PICONINFO piconinfo)
{
    if (piconinfo == nullptr || piconinfo->hbmColor == nullptr)
        return nullptr;
    BITMAP bm{};
    if (GetObjectA(piconinfo->hbmColor, sizeof(bm), &bm) == 0 || bm.bmWidth <= 0 ||
        bm.bmHeight <= 0)
        return nullptr;
    IconImage image;
    image.nWidth = bm.bmWidth;
    image.nHeight = bm.bmHeight;
    image.colors.assign(std::size_t(bm.bmWidth) * bm.bmHeight, 0);
    image.transparent.assign(image.colors.size(), false);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, piconinfo->hbmColor);
    for (int y = 0; y < bm.bmHeight; ++y)
    {
        for (int x = 0; x < bm.bmWidth; ++x)
        {
            const COLORREF color = GetPixel(hdc, x, y);
            image.colors[std::size_t(y) * bm.bmWidth + x] =
                (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
        }
    }
    if (piconinfo->hbmMask != nullptr)
    {
        SelectObject(hdc, piconinfo->hbmMask);
        for (int y = 0; y < bm.bmHeight; ++y)
        {
            for (int x = 0; x < bm.bmWidth; ++x)
                image.transparent[std::size_t(y) * bm.bmWidth + x] = GetPixel(hdc, x, y) != 0;
        }
    }
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    const POINT hotSpot{static_cast<LONG>(piconinfo->xHotspot),
                        static_cast<LONG>(piconinfo->yHotspot)};
    return CreateIconFromFile(EncodeIconFile(image, !piconinfo->fIcon, hotSpot), !piconinfo->fIcon);
}
