// Screen capture into bitmaps and packed DIBs.
#include "DibApi.h"

#include "DibLog.h"
#include "WinWindow.h"

#include <algorithm>

namespace
{
// The part of the rectangle on the screen the DC shows.
RECT ClipToScreen(const RECT& rect, HDC screen)
{
    return RECT{std::max<LONG>(rect.left, 0), std::max<LONG>(rect.top, 0),
                std::min<LONG>(rect.right, GetDeviceCaps(screen, HORZRES)),
                std::min<LONG>(rect.bottom, GetDeviceCaps(screen, VERTRES))};
}

bool WindowArea(HWND hWnd, WORD area, RECT& rect)
{
    if (hWnd == nullptr)
        return false;
    if (area == PW_WINDOW)
        return GetWindowRect(hWnd, &rect) != FALSE;
    if (area != PW_CLIENT || !GetClientRect(hWnd, &rect))
        return false;
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    ClientToScreen(hWnd, &corners[0]);
    ClientToScreen(hWnd, &corners[1]);
    rect = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return true;
}

HDIB BitmapToScreenDIB(HBITMAP bitmap)
{
    if (bitmap == nullptr)
        return nullptr;
    HPALETTE palette = GetSystemPalette();
    HDIB hdib = BitmapToDIB(bitmap, palette);
    if (palette != nullptr)
        DeleteObject(palette);
    DeleteObject(bitmap);
    return hdib;
}
} // namespace

HBITMAP CopyScreenToBitmap(LPRECT screenRect)
{
    if (screenRect == nullptr || IsRectEmpty(screenRect))
        return nullptr;
    HDC screen = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    HDC memory = CreateCompatibleDC(screen);
    const RECT clipped = ClipToScreen(*screenRect, screen);
    HBITMAP bitmap = nullptr;
    // A rectangle wholly off the screen has nothing to copy.
    if (!IsRectEmpty(&clipped))
        bitmap = CreateCompatibleBitmap(screen, clipped.right - clipped.left,
                                        clipped.bottom - clipped.top);
    if (bitmap != nullptr)
    {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, clipped.right - clipped.left, clipped.bottom - clipped.top, screen,
               clipped.left, clipped.top, SRCCOPY);
        SelectObject(memory, old);
    }
    else
    {
        LogDibFailure("CopyScreenToBitmap", "the rectangle shows nothing of the screen");
    }
    DeleteDC(memory);
    DeleteDC(screen);
    return bitmap;
}

HDIB CopyScreenToDIB(LPRECT screenRect)
{
    return BitmapToScreenDIB(CopyScreenToBitmap(screenRect));
}

HBITMAP CopyWindowToBitmap(HWND hWnd, WORD area)
{
    RECT rect;
    return WindowArea(hWnd, area, rect) ? CopyScreenToBitmap(&rect) : nullptr;
}

HDIB CopyWindowToDIB(HWND hWnd, WORD area)
{
    RECT rect;
    return WindowArea(hWnd, area, rect) ? CopyScreenToDIB(&rect) : nullptr;
}
