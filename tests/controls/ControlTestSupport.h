// What the control tests share: a top-level parent window that records the
// notifications and commands its children send, window pixels, and
// pictures for looking at.
#pragma once

#include "../platform/FailOnBlockHarness.h"
#include "AfxWin.h"
#include "BitmapFile.h"
#include "GridItem.h"
#include "UiHarness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

struct RecordedCommand
{
    UINT nId;
    UINT nCode;
    HWND hWndControl;
};

class CTestParent : public CWnd
{
public:
    // A visible popup window with a white background at rect (screen).
    explicit CTestParent(const CRect& rect = CRect(100, 100, 500, 400))
    {
        CreateEx(0,
                 AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                     static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))),
                 "Parent", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
    }
    ~CTestParent() override
    {
        if (GetSafeHwnd() != nullptr)
            DestroyWindow();
    }

    std::vector<GV_DISPINFO> notifications;
    std::vector<RecordedCommand> commands;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        // Only the in-place editors (id 8) send the display-info record;
        // a grid's own notification of the same code is shorter.
        if (pHeader->code == UINT(GVN_ENDLABELEDIT) && pHeader->idFrom == 8)
        {
            notifications.push_back(*reinterpret_cast<const GV_DISPINFO*>(lParam));
            *pResult = 0;
            return TRUE;
        }
        return CWnd::OnNotify(wParam, lParam, pResult);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
        return TRUE;
    }
};

// The client area of a window as its top-level surface shows it.
inline WindowPicture ClientPictureOf(HWND hWnd)
{
    WindowPicture picture;
    UserGetWindowPicture(hWnd, true, picture);
    return picture;
}

// A surface pixel (0x00RRGGBB) for a COLORREF.
inline std::uint32_t PixelOf(COLORREF colour)
{
    return (std::uint32_t(GetRValue(colour)) << 16) | (std::uint32_t(GetGValue(colour)) << 8) |
           GetBValue(colour);
}

inline int CountPixels(const WindowPicture& picture, const CRect& rect, COLORREF colour)
{
    int nCount = 0;
    for (int y = std::max<int>(rect.top, 0); y < std::min<int>(rect.bottom, picture.nHeight); ++y)
        for (int x = std::max<int>(rect.left, 0); x < std::min<int>(rect.right, picture.nWidth);
             ++x)
            nCount += picture.GetPixel(x, y) == PixelOf(colour) ? 1 : 0;
    return nCount;
}

// Pixels within nTolerance of colour in each of red, green and blue: the
// smoothed edges of small text leave few pixels in the exact colour.
inline int CountPixelsNear(const WindowPicture& picture, const CRect& rect, COLORREF colour,
                           int nTolerance)
{
    const auto near = [&](std::uint32_t pixel)
    {
        return std::abs(int((pixel >> 16) & 0xFF) - GetRValue(colour)) <= nTolerance &&
               std::abs(int((pixel >> 8) & 0xFF) - GetGValue(colour)) <= nTolerance &&
               std::abs(int(pixel & 0xFF) - GetBValue(colour)) <= nTolerance;
    };
    int nCount = 0;
    for (int y = std::max<int>(rect.top, 0); y < std::min<int>(rect.bottom, picture.nHeight); ++y)
        for (int x = std::max<int>(rect.left, 0); x < std::min<int>(rect.right, picture.nWidth);
             ++x)
            nCount += near(picture.GetPixel(x, y)) ? 1 : 0;
    return nCount;
}

// When SUITE_PICTURE_DIR names a folder, the picture tests also write
// their pictures there as bitmap files, to be looked at.
inline void DumpPicture(HWND hWnd, const std::string& name)
{
    if (const char* pszFolder = std::getenv("SUITE_PICTURE_DIR"))
        SaveWindowPicture(hWnd, (std::string(pszFolder) + "/" + name + ".bmp").c_str(), true);
}

// A script step: keeps the picture of the popup menu shown now, and writes
// it as the others.
inline std::function<void()> KeepMenuPicture(const std::string& name, WindowPicture& picture)
{
    return [name, &picture]
    {
        const HWND hPopup = ::FindWindowA("#32768", nullptr);
        DumpPicture(hPopup, name);
        UserGetWindowPicture(hPopup, true, picture);
    };
}

// A 24-bit bitmap file whose pixel (x, y from the top) has colour(x, y).
inline std::vector<std::uint8_t> BitmapFileOf(int nWidth, int nHeight,
                                              const std::function<COLORREF(int, int)>& colour)
{
    PackedDibFormat format;
    format.nWidth = nWidth;
    format.nHeight = nHeight;
    format.nBitCount = 24;
    return BuildBitmapFile(format,
                           [&](int y, std::uint8_t* row)
                           {
                               for (int x = 0; x < nWidth; ++x)
                               {
                                   const COLORREF cr = colour(x, y);
                                   row[3 * x] = GetBValue(cr);
                                   row[3 * x + 1] = GetGValue(cr);
                                   row[3 * x + 2] = GetRValue(cr);
                               }
                           });
}

// A square icon of one colour, opaque everywhere; the caller destroys it.
inline HICON MakeSolidIcon(COLORREF colour, int nSize = 16)
{
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hColour = ::CreateCompatibleBitmap(hScreen, nSize, nSize);
    HDC hdc = ::CreateCompatibleDC(hScreen);
    ::ReleaseDC(nullptr, hScreen);
    HGDIOBJ hOld = ::SelectObject(hdc, hColour);
    HBRUSH hBrush = ::CreateSolidBrush(colour);
    RECT all{0, 0, nSize, nSize};
    ::FillRect(hdc, &all, hBrush);
    ::DeleteObject(hBrush);
    ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);
    HBITMAP hMask = ::CreateBitmap(nSize, nSize, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, hMask, hColour};
    HICON hIcon = ::CreateIconIndirect(&info);
    ::DeleteObject(hMask);
    ::DeleteObject(hColour);
    return hIcon;
}

// What a DC holds, as a picture.
inline WindowPicture PictureOfDC(HDC hdc, int nWidth, int nHeight)
{
    WindowPicture picture;
    picture.nWidth = nWidth;
    picture.nHeight = nHeight;
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            picture.pixels.push_back(PixelOf(::GetPixel(hdc, x, y)));
    return picture;
}
