// The start-up choice between the X11 display and the headless one.
#include "DisplayBackend.h"
#include "HeadlessBackend.h"
#include "X11Backend.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace
{
CDisplayBackend& Choose()
{
    const char* pszForced = std::getenv("PELIVO_DISPLAY");
    const std::string forced = pszForced != nullptr ? pszForced : "";
    const char* pszDisplay = std::getenv("DISPLAY");
    const bool bWantX11 =
        forced == "x11" || (forced != "headless" && pszDisplay != nullptr && *pszDisplay != '\0');
    if (!forced.empty() && forced != "x11" && forced != "headless")
        std::fprintf(stderr, "PELIVO_DISPLAY=%s is neither x11 nor headless: ignored\n",
                     forced.c_str());
    if (bWantX11)
    {
        static auto pX11 = std::make_unique<CX11Backend>();
        if (pX11->IsOpen())
            return *pX11;
        std::fprintf(stderr, "%s: the windows stay off screen (headless)\n", pX11->GetOpenError());
    }
    return GetHeadlessBackend();
}
} // namespace

CDisplayBackend& ChooseDisplayBackend()
{
    static CDisplayBackend& chosen = Choose();
    if (&GetDisplayBackend() != &chosen)
        SetDisplayBackend(&chosen == &GetHeadlessBackend() ? nullptr : &chosen);
    return chosen;
}
