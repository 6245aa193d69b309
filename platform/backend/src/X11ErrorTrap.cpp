#include "X11ErrorTrap.h"

#include <cstdio>

namespace
{
CX11ErrorTrap* gTrap = nullptr;
bool gTrapped = false;

int OnError(Display* pDisplay, XErrorEvent* pError)
{
    if (gTrap != nullptr)
    {
        gTrapped = true;
        return 0;
    }
    char text[256] = "";
    XGetErrorText(pDisplay, pError->error_code, text, sizeof(text));
    std::fprintf(stderr, "X11: request %d failed: %s\n", int(pError->request_code), text);
    return 0;
}
} // namespace

void InstallX11ErrorHandler()
{
    XSetErrorHandler(&OnError);
}

CX11ErrorTrap::CX11ErrorTrap(Display* pDisplay) : m_pDisplay(pDisplay), m_pOuter(gTrap)
{
    XSync(m_pDisplay, False);
    gTrap = this;
    gTrapped = false;
}

CX11ErrorTrap::~CX11ErrorTrap()
{
    XSync(m_pDisplay, False);
    gTrap = m_pOuter;
}

bool CX11ErrorTrap::Check()
{
    XSync(m_pDisplay, False);
    return gTrapped;
}
