#include "PrinterPages.h"

#include "PrintServer.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace
{
constexpr double kPointsPerPixel = 72.0 / GDI_PRINTER_DPI;

int gNextJob = 1;

// A file of our own for a document a queue receives; empty on failure.
std::string MakeSpoolFile()
{
    const char* folder = std::getenv("TMPDIR");
    std::string path =
        std::string(folder != nullptr && *folder ? folder : "/tmp") + "/printjob-XXXXXX.pdf";
    const int fd = mkstemps(path.data(), 4);
    if (fd < 0)
        return std::string();
    close(fd);
    return path;
}
} // namespace

PrinterPages::PrinterPages(std::string destination, std::string output)
    : m_destination(std::move(destination)), m_output(std::move(output))
{
}

PrinterPages::~PrinterPages()
{
    AbortDoc();
}

bool PrinterPages::IsDestination(const std::string& destination)
{
    if (destination == GDI_PRINT_TO_FILE)
        return true;
    const std::vector<std::string> queues = GetPrintServerQueues();
    return std::find(queues.begin(), queues.end(), destination) != queues.end();
}

bool PrinterPages::IsFile() const
{
    return m_destination == GDI_PRINT_TO_FILE;
}

int PrinterPages::StartDoc(const DOCINFOA& info)
{
    if (m_pPdf != nullptr)
        return SP_ERROR;
    m_title = info.lpszDocName != nullptr ? info.lpszDocName : "";
    if (info.lpszOutput != nullptr && *info.lpszOutput != '\0')
        m_output = info.lpszOutput;
    m_pdfPath = IsFile() ? m_output : MakeSpoolFile();
    if (m_pdfPath.empty())
    {
        std::fprintf(stderr, "printing: \"%s\" has no file to print to\n", m_title.c_str());
        return SP_ERROR;
    }
    m_pPdf = cairo_pdf_surface_create(m_pdfPath.c_str(), GDI_PRINTER_PAGE_WIDTH * kPointsPerPixel,
                                      GDI_PRINTER_PAGE_HEIGHT * kPointsPerPixel);
    if (cairo_surface_status(m_pPdf) != CAIRO_STATUS_SUCCESS)
    {
        std::fprintf(stderr, "printing: cannot write %s\n", m_pdfPath.c_str());
        CloseDocument(false);
        return SP_ERROR;
    }
    if (!m_title.empty())
        cairo_pdf_surface_set_metadata(m_pPdf, CAIRO_PDF_METADATA_TITLE, m_title.c_str());
    m_nJob = gNextJob++;
    return m_nJob;
}

int PrinterPages::StartPage()
{
    if (m_pPdf == nullptr)
        return SP_ERROR;
    DropPage();
    m_pPage = cairo_image_surface_create(CAIRO_FORMAT_RGB24, GDI_PRINTER_PAGE_WIDTH,
                                         GDI_PRINTER_PAGE_HEIGHT);
    if (cairo_surface_status(m_pPage) != CAIRO_STATUS_SUCCESS)
    {
        DropPage();
        return SP_ERROR;
    }
    // Paper is white.
    std::memset(cairo_image_surface_get_data(m_pPage), 0xFF,
                std::size_t(cairo_image_surface_get_stride(m_pPage)) * GDI_PRINTER_PAGE_HEIGHT);
    return 1;
}

int PrinterPages::EndPage(HDC hdc)
{
    if (m_pPdf == nullptr || m_pPage == nullptr)
        return SP_ERROR;
    // The application may stop the document while its page is handed over.
    if (m_abortProc != nullptr && !m_abortProc(hdc, 0))
    {
        AbortDoc();
        return SP_APPABORT;
    }
    cairo_surface_mark_dirty(m_pPage);
    cairo_t* cr = cairo_create(m_pPdf);
    cairo_scale(cr, kPointsPerPixel, kPointsPerPixel);
    cairo_set_source_surface(cr, m_pPage, 0, 0);
    // One pixel of the page stays one printer dot.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_show_page(cr);
    const cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    DropPage();
    return status == CAIRO_STATUS_SUCCESS ? 1 : SP_ERROR;
}

int PrinterPages::EndDoc()
{
    if (m_pPdf == nullptr)
        return SP_ERROR;
    DropPage();
    if (IsFile())
        return CloseDocument(true) ? 1 : SP_ERROR;
    if (!CloseDocument(true))
        return SP_ERROR;
    const int job = SubmitToPrintServer(m_destination, m_pdfPath, m_title);
    std::remove(m_pdfPath.c_str());
    return job > 0 ? 1 : SP_ERROR;
}

int PrinterPages::AbortDoc()
{
    DropPage();
    if (m_pPdf == nullptr)
        return SP_ERROR;
    CloseDocument(false);
    return 1;
}

GdiSurfaceInfo PrinterPages::GetPage() const
{
    if (m_pPage == nullptr)
        return GdiSurfaceInfo{};
    return GdiSurfaceInfo{cairo_image_surface_get_data(m_pPage), GDI_PRINTER_PAGE_WIDTH,
                          GDI_PRINTER_PAGE_HEIGHT, cairo_image_surface_get_stride(m_pPage)};
}

void PrinterPages::DropPage()
{
    if (m_pPage != nullptr)
        cairo_surface_destroy(m_pPage);
    m_pPage = nullptr;
}

bool PrinterPages::CloseDocument(bool bKeep)
{
    cairo_surface_finish(m_pPdf);
    const bool bWritten = cairo_surface_status(m_pPdf) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(m_pPdf);
    m_pPdf = nullptr;
    if (!bKeep || !bWritten)
        std::remove(m_pdfPath.c_str());
    return bWritten;
}
