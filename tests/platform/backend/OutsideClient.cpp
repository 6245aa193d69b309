#include "OutsideClient.h"

#include <chrono>
#include <poll.h>

namespace
{
constexpr int kWaitMs = 20000;

// Other programs' windows may go at any moment, between listing them and
// asking about them: the errors of such requests are expected, and Xlib's
// default handler would end the test program.
class CIgnoredXErrors
{
public:
    explicit CIgnoredXErrors(Display* pDisplay)
        : m_pDisplay(pDisplay), m_previous(XSetErrorHandler(&Ignore))
    {
    }
    ~CIgnoredXErrors()
    {
        XSync(m_pDisplay, False);
        XSetErrorHandler(m_previous);
    }
    CIgnoredXErrors(const CIgnoredXErrors&) = delete;
    CIgnoredXErrors& operator=(const CIgnoredXErrors&) = delete;

private:
    static int Ignore(Display*, XErrorEvent*) { return 0; }

    Display* m_pDisplay;
    XErrorHandler m_previous;
};
} // namespace

COutsideClient::COutsideClient(const std::string& displayName)
    : m_pDisplay(XOpenDisplay(displayName.c_str()))
{
}

COutsideClient::~COutsideClient()
{
    if (m_pDisplay != nullptr)
        XCloseDisplay(m_pDisplay);
}

void COutsideClient::CoverScreen()
{
    const Window root = DefaultRootWindow(m_pDisplay);
    XWindowAttributes rootAttributes{};
    XGetWindowAttributes(m_pDisplay, root, &rootAttributes);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    const Window cover =
        XCreateWindow(m_pDisplay, root, 0, 0, static_cast<unsigned>(rootAttributes.width),
                      static_cast<unsigned>(rootAttributes.height), 0, CopyFromParent, InputOutput,
                      CopyFromParent, CWOverrideRedirect, &attributes);
    XMapRaised(m_pDisplay, cover);
    XSync(m_pDisplay, False);
    XSetInputFocus(m_pDisplay, cover, RevertToNone, CurrentTime);
    XSync(m_pDisplay, False);
}

void COutsideClient::Watch(Window xid)
{
    XSelectInput(m_pDisplay, xid, FocusChangeMask);
    XSync(m_pDisplay, False);
}

bool COutsideClient::WaitForFocusIn(Window xid)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    for (;;)
    {
        while (XPending(m_pDisplay) > 0)
        {
            XEvent event;
            XNextEvent(m_pDisplay, &event);
            if (event.type == FocusIn && event.xfocus.window == xid)
                return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd ready{ConnectionNumber(m_pDisplay), POLLIN, 0};
        poll(&ready, 1, static_cast<int>(left.count()));
    }
}

Window COutsideClient::GetTopWindow() const
{
    Window rootReturn = 0;
    Window parent = 0;
    Window* pChildren = nullptr;
    unsigned int count = 0;
    Window top = 0;
    CIgnoredXErrors ignored(m_pDisplay);
    XQueryTree(m_pDisplay, DefaultRootWindow(m_pDisplay), &rootReturn, &parent, &pChildren, &count);
    for (unsigned int i = 0; i < count; ++i)
    {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(m_pDisplay, pChildren[i], &attributes) &&
            attributes.map_state == IsViewable)
            top = pChildren[i];
    }
    if (pChildren != nullptr)
        XFree(pChildren);
    return top;
}

Window COutsideClient::GetFocus() const
{
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_pDisplay, &focus, &revert);
    return focus;
}

Window WindowInLine(const std::string& line)
{
    const std::size_t blank = line.find(' ');
    return blank == std::string::npos ? 0 : static_cast<Window>(std::stoul(line.substr(blank + 1)));
}
