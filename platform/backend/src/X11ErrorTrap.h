// X protocol errors. Xlib's default handler ends the process; the backend's
// handler reports an error on standard error and goes on, since requests on
// windows another client just destroyed fail in the normal course. A trap
// catches the errors of the requests made while it lives instead.
#pragma once

#include <X11/Xlib.h>

// Installs the backend's handler (once per process).
void InstallX11ErrorHandler();

class CX11ErrorTrap
{
public:
    explicit CX11ErrorTrap(Display* pDisplay);
    ~CX11ErrorTrap();
    CX11ErrorTrap(const CX11ErrorTrap&) = delete;
    CX11ErrorTrap& operator=(const CX11ErrorTrap&) = delete;

    // Waits for the server and tells whether any request since the trap
    // was set failed.
    bool Check();

private:
    Display* m_pDisplay;
    CX11ErrorTrap* m_pOuter;
};
