// Printing. A printer DC draws each page of a document onto an A4 page of
// 2480 x 3508 pixels at 300 dpi; every finished page goes into a PDF
// document. A document printed to a destination of the print server is
// handed to it when the document ends; one printed to a file is that PDF.
// An aborted document (AbortDoc, an abort procedure answering FALSE, or a
// printer DC deleted before EndDoc) leaves no file behind.
#pragma once

#include "PlatformGDIExport.h"
#include "WinGdi.h"

#include <string>
#include <vector>

typedef struct _DOCINFOA
{
    int cbSize;
    LPCSTR lpszDocName;
    LPCSTR lpszOutput; // a file path that overrides the DC's output, or NULL
    LPCSTR lpszDatatype;
    DWORD fwType;
} DOCINFOA, *LPDOCINFOA;
using DOCINFO = DOCINFOA;

// Asked while a page is handed over; FALSE ends the document.
using ABORTPROC = BOOL (*)(HDC hdc, int nCode);

#define SP_ERROR (-1)
#define SP_APPABORT (-2)
#define SP_USERABORT (-3)
#define SP_OUTOFDISK (-4)
#define SP_OUTOFMEMORY (-5)

// The printer page every printer DC reports.
#define GDI_PRINTER_PAGE_WIDTH 2480
#define GDI_PRINTER_PAGE_HEIGHT 3508
#define GDI_PRINTER_DPI 300

// The destination that writes the PDF to the DC's output path.
#define GDI_PRINT_TO_FILE "Print to file (PDF)"

// The destinations a document can be printed to: the print server's
// queues (default first), then GDI_PRINT_TO_FILE. With no print server
// only the file remains.
PLATFORMGDI_API std::vector<std::string> GdiGetPrintDestinations();

extern "C"
{
    // A printer DC: CreateDCA(NULL or "WINSPOOL", destination, output, NULL),
    // where output is the file path for GDI_PRINT_TO_FILE.
    PLATFORMGDI_API int StartDocA(HDC hdc, const DOCINFOA* lpdi);
    PLATFORMGDI_API int StartPage(HDC hdc);
    PLATFORMGDI_API int EndPage(HDC hdc);
    PLATFORMGDI_API int EndDoc(HDC hdc);
    PLATFORMGDI_API int AbortDoc(HDC hdc);
    PLATFORMGDI_API int SetAbortProc(HDC hdc, ABORTPROC proc);
}

inline int StartDoc(HDC hdc, const DOCINFOA* lpdi)
{
    return StartDocA(hdc, lpdi);
}
