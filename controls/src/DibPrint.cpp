// Printing packed DIBs, windows and the screen on one page.
#include "DibApi.h"

#include "DibLock.h"
#include "DibLog.h"
#include "WinDialog.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinPrintDialog.h"
#include "WinWindow.h"

#include <algorithm>
#include <limits>
#include <string>

namespace
{
// One print job runs at a time: the abort dialog and whether the user
// cancelled belong to it.
HWND gAbortDialog = nullptr;
bool gUserAbort = false;

INT_PTR AbortDialogProc(HWND hDlg, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG)
    {
        SetFocus(GetDlgItem(hDlg, IDCANCEL));
        return FALSE;
    }
    if (msg == WM_COMMAND)
    {
        gUserAbort = true;
        DestroyWindow(hDlg);
        gAbortDialog = nullptr;
        return TRUE;
    }
    return FALSE;
}

// Lets the user reach the abort dialog while a page is handed over.
BOOL AbortProc(HDC, int)
{
    MSG msg;
    while (!gUserAbort && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        if (gAbortDialog != nullptr && IsDialogMessageA(gAbortDialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return !gUserAbort;
}

void CloseAbortDialog()
{
    if (gAbortDialog != nullptr)
        DestroyWindow(gAbortDialog);
    gAbortDialog = nullptr;
}

HDC AskPrinterDC()
{
    PRINTDLGA pd{};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = GetFocus();
    pd.Flags = PD_RETURNDC;
    pd.nCopies = 1;
    if (!PrintDlgA(&pd))
        return nullptr;
    if (pd.hDevNames != nullptr)
        GlobalFree(pd.hDevNames);
    return pd.hDC;
}

// A length on the page; the sizes a header claims can be far beyond any.
LONG PageLength(double length)
{
    return LONG(std::clamp(length, 0.0, double(std::numeric_limits<LONG>::max())));
}

// Where the picture goes on the page (origin 0, 0).
SIZE PrintSize(HDC hdc, WORD option, WORD xScale, WORD yScale, DWORD width, DWORD height)
{
    const int pageWidth = GetDeviceCaps(hdc, HORZRES);
    const int pageHeight = GetDeviceCaps(hdc, VERTRES);
    const double dpiX = GetDeviceCaps(hdc, LOGPIXELSX);
    const double dpiY = GetDeviceCaps(hdc, LOGPIXELSY);
    if (option == PW_SCALE)
        return SIZE{PageLength(double(xScale) * width), PageLength(double(yScale) * height)};
    if (option != PW_BESTFIT)
        return SIZE{pageWidth, pageHeight};
    const double fitHeight = dpiY * pageWidth * height / (dpiX * width);
    if (fitHeight <= pageHeight)
        return SIZE{pageWidth, PageLength(fitHeight)};
    // A picture relatively taller than the page would run off its bottom:
    // it fills the page's height instead.
    return SIZE{PageLength(dpiX * pageHeight * width / (dpiY * height)), pageHeight};
}

WORD PrintPage(HDC hdc, char* dib, const SIZE& size, LPSTR docName)
{
    const std::string name = docName != nullptr ? std::string(docName).substr(0, 31) : "";
    DOCINFOA info{sizeof(DOCINFOA), name.c_str(), nullptr, nullptr, 0};
    if (StartDocA(hdc, &info) <= 0)
        return DIB_ERR_STARTDOC;
    if (StartPage(hdc) <= 0)
        return DIB_ERR_STARTPAGE;
    WORD result = DIB_OK;
    const int width = int(DIBWidth(dib));
    const int height = int(DIBHeight(dib));
    const int lines =
        StretchDIBits(hdc, 0, 0, size.cx, size.cy, 0, 0, width, height, FindDIBBits(dib),
                      reinterpret_cast<BITMAPINFO*>(dib), DIB_RGB_COLORS, SRCCOPY);
    if (lines == 0 || lines == int(GDI_ERROR))
        result = DIB_ERR_STRETCHDIBITS;
    if (EndPage(hdc) <= 0)
        return DIB_ERR_ENDPAGE;
    if (!gUserAbort && EndDoc(hdc) <= 0)
        return DIB_ERR_ENDDOC;
    return result;
}

WORD PrintCaptured(HDIB hdib, WORD option, WORD xScale, WORD yScale, LPSTR docName)
{
    if (hdib == nullptr)
        return DIB_ERR_GENERAL;
    const WORD result = PrintDIB(hdib, option, xScale, yScale, docName);
    DestroyDIB(hdib);
    return result;
}
} // namespace

WORD PrintDIB(HDIB hdib, WORD option, WORD xScale, WORD yScale, LPSTR docName)
{
    if (hdib == nullptr)
        return DIB_ERR_INVALIDHANDLE;
    DibLock lock(hdib);
    if (!lock)
        return DIB_ERR_LOCK;
    // A picture without pixels has no size to print at.
    if (DIBWidth(lock.Get()) == 0 || DIBHeight(lock.Get()) == 0)
    {
        LogDibFailure("PrintDIB", "Invalid Handle");
        return DIB_ERR_INVALIDHANDLE;
    }
    HDC hdc = AskPrinterDC();
    if (hdc == nullptr)
        return DIB_ERR_GETDC;
    SetStretchBltMode(hdc, COLORONCOLOR);
    const SIZE size =
        PrintSize(hdc, option, xScale, yScale, DIBWidth(lock.Get()), DIBHeight(lock.Get()));
    gUserAbort = false;
    gAbortDialog = CreateDialogParamA(nullptr, "PRINTING", GetFocus(), AbortDialogProc, 0);
    WORD result = DIB_ERR_SETABORTPROC;
    if (SetAbortProc(hdc, AbortProc) > 0)
        result = PrintPage(hdc, lock.Get(), size, docName);
    CloseAbortDialog();
    DeleteDC(hdc);
    if (result != DIB_OK)
        LogDibFailure("PrintDIB", gUserAbort ? "cancelled" : "the printer failed");
    return result;
}

WORD PrintWindow(HWND hWnd, WORD area, WORD option, WORD xScale, WORD yScale, LPSTR docName)
{
    if (hWnd == nullptr)
        return DIB_ERR_INVALIDHANDLE;
    return PrintCaptured(CopyWindowToDIB(hWnd, area), option, xScale, yScale, docName);
}

WORD PrintScreen(LPRECT screenRect, WORD option, WORD xScale, WORD yScale, LPSTR docName)
{
    return PrintCaptured(CopyScreenToDIB(screenRect), option, xScale, yScale, docName);
}
