// Packed DIBs: a bitmap information header, its colour table and the pixel
// rows in one movable global memory block. Free functions to create,
// inspect, convert, paint, save and load them. Every handle, palette and
// bitmap a function returns belongs to the caller.
#pragma once

#include "AfxFile.h"
#include "AfxGdi.h"
#include "WinGdi.h"
#include "WinGlobalMemory.h"
#include "ZentiqExport.h"

using HDIB = HGLOBAL;

// Result codes of the save and print functions; 0 is success.
enum enDibResult : WORD
{
    DIB_OK = 0,
    DIB_ERR_MEMORY = 1,
    DIB_ERR_READ = 2,
    DIB_ERR_LOCK = 3,
    DIB_ERR_OPEN = 4,
    DIB_ERR_CREATEPAL = 5,
    DIB_ERR_GETDC = 6,
    DIB_ERR_CREATEDDB = 7,
    DIB_ERR_STRETCHBLT = 8,
    DIB_ERR_STRETCHDIBITS = 9,
    DIB_ERR_SETDIBITSTODEVICE = 10,
    DIB_ERR_STARTDOC = 11,
    DIB_ERR_NOGDIMODULE = 12,
    DIB_ERR_SETABORTPROC = 13,
    DIB_ERR_STARTPAGE = 14,
    DIB_ERR_NEWFRAME = 15,
    DIB_ERR_ENDPAGE = 16,
    DIB_ERR_ENDDOC = 17,
    DIB_ERR_SETDIBITS = 18,
    DIB_ERR_FILENOTFOUND = 19,
    DIB_ERR_INVALIDHANDLE = 20,
    DIB_ERR_GENERAL = 21,
};

// Inspection of a locked block. A header whose size field is not 40 is read
// as a core header.
ZENTIQ_API DWORD DIBWidth(char* dib);
ZENTIQ_API DWORD DIBHeight(char* dib);
ZENTIQ_API WORD DIBNumColors(char* dib);
ZENTIQ_API WORD PaletteSize(char* dib);
ZENTIQ_API char* FindDIBBits(char* dib);

// Creation and copying. The bit count is normalised to 1, 4, 8 or 24 (above
// 24 gives 4).
ZENTIQ_API HDIB CreateDIB(DWORD width, DWORD height, WORD bitCount);
ZENTIQ_API HANDLE CopyHandle(HANDLE block);
ZENTIQ_API WORD DestroyDIB(HDIB dib);
// Reports a result code; shows nothing.
ZENTIQ_API void DIBError(int code);

// Palettes.
ZENTIQ_API HPALETTE CreateDIBPalette(HDIB dib);
ZENTIQ_API BOOL CreateDIBPalette(HDIB dib, CPalette* palette);
ZENTIQ_API int PalEntriesOnDevice(HDC hdc);
ZENTIQ_API HPALETTE GetSystemPalette();

// Conversion to and from device-dependent bitmaps.
ZENTIQ_API HBITMAP DIBToBitmap(HDIB dib, HPALETTE palette);
ZENTIQ_API HDIB BitmapToDIB(HBITMAP bitmap, HPALETTE palette);
ZENTIQ_API HDIB AllocRoomForDIB(BITMAPINFOHEADER header, HBITMAP bitmap);
ZENTIQ_API HDIB ChangeBitmapFormat(HBITMAP bitmap, WORD bitCount, DWORD compression,
                                   HPALETTE palette);
ZENTIQ_API HDIB ChangeDIBFormat(HDIB dib, WORD bitCount, DWORD compression);

// Painting: COLORONCOLOR is set on the DC; the result is the GDI call's
// (scan lines for DIBs, the blit's BOOL for bitmaps), 0 on failure.
ZENTIQ_API int PaintDIB(HDC hdc, LPRECT dst, LPRECT src, HDIB dib, HPALETTE palette);
ZENTIQ_API int PaintDIB(HDC hdc, LPRECT dst, HDIB dib, LPRECT src, CPalette* palette);
ZENTIQ_API int PaintDIBPixelByPixel(HDC hdc, LPRECT dst, LPRECT src, HDIB dib, HPALETTE palette);
ZENTIQ_API int PaintBitmap(HDC hdc, LPRECT dst, HBITMAP bitmap, LPRECT src, HPALETTE palette);

// Files. The CFile form of SaveDIB lets the file's exceptions through.
ZENTIQ_API WORD SaveDIB(HDIB dib, LPCSTR path);
ZENTIQ_API BOOL SaveDIB(HDIB dib, CFile& file);
ZENTIQ_API HDIB LoadDIB(LPCSTR path);
ZENTIQ_API HDIB ReadDIBFile(HANDLE file);
ZENTIQ_API HDIB ReadDIBFile(CFile& file);

// Screen capture: what the screen shows, clipped to it. Null for an empty
// rectangle or one wholly off the screen. The window forms take the window
// rectangle (PW_WINDOW) or the client area (PW_CLIENT).
enum enCaptureArea : WORD
{
    PW_WINDOW = 1,
    PW_CLIENT = 2,
};
ZENTIQ_API HBITMAP CopyScreenToBitmap(LPRECT screenRect);
ZENTIQ_API HDIB CopyScreenToDIB(LPRECT screenRect);
ZENTIQ_API HBITMAP CopyWindowToBitmap(HWND hWnd, WORD area);
ZENTIQ_API HDIB CopyWindowToDIB(HWND hWnd, WORD area);

// Printing through the print dialog, with a "PRINTING" abort dialog from
// the program's resources while the page is handed over. Best fit fills the
// page's width, or its height when the picture is relatively taller; scaled
// multiplies the DIB's size by the scales; any other option stretches the
// picture over the whole page. The document name is cut to 31 characters.
enum enPrintOption : WORD
{
    PW_BESTFIT = 1,
    PW_STRETCHTOPAGE = 2,
    PW_SCALE = 3,
};
ZENTIQ_API WORD PrintDIB(HDIB dib, WORD option, WORD xScale, WORD yScale, LPSTR docName);
ZENTIQ_API WORD PrintWindow(HWND hWnd, WORD area, WORD option, WORD xScale, WORD yScale,
                            LPSTR docName);
ZENTIQ_API WORD PrintScreen(LPRECT screenRect, WORD option, WORD xScale, WORD yScale,
                            LPSTR docName);
