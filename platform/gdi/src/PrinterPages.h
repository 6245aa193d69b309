// The document of one printer DC: the page being drawn and the PDF the
// finished pages go into, written to the output file or, for a queue of
// the print server, to a temporary file handed to the server at the end.
#pragma once

#include "GdiSurfaceHost.h"
#include "WinPrint.h"

#include <string>

struct _cairo_surface;

class PrinterPages
{
public:
    PrinterPages(std::string destination, std::string output);
    ~PrinterPages();
    PrinterPages(const PrinterPages&) = delete;
    PrinterPages& operator=(const PrinterPages&) = delete;

    // Whether the destination is one the DC can print to.
    static bool IsDestination(const std::string& destination);

    // The Win32 results: > 0 on success, SP_ERROR or SP_APPABORT.
    int StartDoc(const DOCINFOA& info);
    int StartPage();
    int EndPage(HDC hdc);
    int EndDoc();
    int AbortDoc();
    void SetAbortProc(ABORTPROC proc) { m_abortProc = proc; }

    // The page being drawn; empty between pages.
    GdiSurfaceInfo GetPage() const;

private:
    bool IsFile() const;
    void DropPage();
    // Finishes the PDF; the file stays only when bKeep.
    bool CloseDocument(bool bKeep);

    std::string m_destination;
    std::string m_output;
    std::string m_title;
    std::string m_pdfPath;
    ABORTPROC m_abortProc = nullptr;
    _cairo_surface* m_pPdf = nullptr;
    _cairo_surface* m_pPage = nullptr;
    int m_nJob = 0;
};
