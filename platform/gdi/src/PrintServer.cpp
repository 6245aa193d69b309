#include "PrintServer.h"

#include <cups/cups.h>

#include <cstdio>

namespace
{
// The server, socket or encryption named by the environment may change
// between calls (tests start a server of their own), so the library's
// cached choice is forgotten before each request.
void ForgetCachedServer()
{
    cupsSetServer(nullptr);
}
} // namespace

std::vector<std::string> GetPrintServerQueues()
{
    ForgetCachedServer();
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    std::vector<std::string> queues;
    for (int i = 0; i < count; ++i)
    {
        if (dests[i].instance != nullptr)
            continue;
        if (dests[i].is_default)
            queues.insert(queues.begin(), dests[i].name);
        else
            queues.emplace_back(dests[i].name);
    }
    cupsFreeDests(count, dests);
    return queues;
}

int SubmitToPrintServer(const std::string& queue, const std::string& pdfPath,
                        const std::string& title)
{
    ForgetCachedServer();
    cups_option_t* options = nullptr;
    int nOptions = cupsAddOption("document-format", "application/pdf", 0, &options);
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.c_str(), pdfPath.c_str(), title.c_str(),
                                   nOptions, options);
    cupsFreeOptions(nOptions, options);
    if (job == 0)
        std::fprintf(stderr, "printing: the queue \"%s\" refused the job: %s\n", queue.c_str(),
                     cupsLastErrorString());
    return job;
}
