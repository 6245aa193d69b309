// The document calls of a printer DC.
#include "DeviceContext.h"
#include "PrintServer.h"
#include "PrinterPages.h"

namespace
{
template <typename F> int WithPrinter(HDC hdc, F fn)
{
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || dc->GetPrinter() == nullptr)
        return SP_ERROR;
    return fn(*dc->GetPrinter());
}
} // namespace

std::vector<std::string> GdiGetPrintDestinations()
{
    std::vector<std::string> destinations = GetPrintServerQueues();
    destinations.emplace_back(GDI_PRINT_TO_FILE);
    return destinations;
}

int StartDocA(HDC hdc, const DOCINFOA* lpdi)
{
    if (lpdi == nullptr)
        return SP_ERROR;
    return WithPrinter(hdc, [&](PrinterPages& pages) { return pages.StartDoc(*lpdi); });
}

int StartPage(HDC hdc)
{
    return WithPrinter(hdc, [](PrinterPages& pages) { return pages.StartPage(); });
}

int EndPage(HDC hdc)
{
    return WithPrinter(hdc, [&](PrinterPages& pages) { return pages.EndPage(hdc); });
}

int EndDoc(HDC hdc)
{
    return WithPrinter(hdc, [](PrinterPages& pages) { return pages.EndDoc(); });
}

int AbortDoc(HDC hdc)
{
    return WithPrinter(hdc, [](PrinterPages& pages) { return pages.AbortDoc(); });
}

int SetAbortProc(HDC hdc, ABORTPROC proc)
{
    return WithPrinter(hdc,
                       [&](PrinterPages& pages)
                       {
                           pages.SetAbortProc(proc);
                           return 1;
                       });
}
