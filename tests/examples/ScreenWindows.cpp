#include "ScreenWindows.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

bool WaitFor(const std::function<bool()>& done, int nTimeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nTimeoutMs);
    while (!done())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

pid_t StartScreenProgram(const std::string& display, const std::string& program,
                         const std::vector<std::string>& arguments)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    setenv("DISPLAY", display.c_str(), 1);
    unsetenv("PELIVO_DISPLAY");
    const std::string path = std::string(SUITE_OUTPUT_DIR) + "/" + program;
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
}

int WaitForProgramExit(pid_t& pid, int nTimeoutMs)
{
    int status = 0;
    const bool bEnded = WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, nTimeoutMs);
    if (!bEnded)
        return -1;
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Window FindWindowOf(Display* pDisplay, pid_t pid)
{
    const Atom pidAtom = XInternAtom(pDisplay, "_NET_WM_PID", False);
    Window rootReturn = 0;
    Window parent = 0;
    Window* pChildren = nullptr;
    unsigned count = 0;
    Window found = 0;
    XQueryTree(pDisplay, DefaultRootWindow(pDisplay), &rootReturn, &parent, &pChildren, &count);
    for (unsigned i = 0; i < count && found == 0; ++i)
    {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* pData = nullptr;
        XWindowAttributes attributes{};
        if (XGetWindowProperty(pDisplay, pChildren[i], pidAtom, 0, 1, False, XA_CARDINAL, &type,
                               &format, &items, &after, &pData) == Success &&
            pData != nullptr && items == 1 && *reinterpret_cast<long*>(pData) == pid &&
            XGetWindowAttributes(pDisplay, pChildren[i], &attributes) &&
            attributes.map_state == IsViewable)
            found = pChildren[i];
        if (pData != nullptr)
            XFree(pData);
    }
    if (pChildren != nullptr)
        XFree(pChildren);
    return found;
}

WindowPicture ReadWindow(Display* pDisplay, Window window, int nWidth, int nHeight)
{
    WindowPicture picture;
    XImage* pImage = XGetImage(pDisplay, window, 0, 0, static_cast<unsigned>(nWidth),
                               static_cast<unsigned>(nHeight), AllPlanes, ZPixmap);
    if (pImage == nullptr)
        return picture;
    picture.nWidth = nWidth;
    picture.nHeight = nHeight;
    for (int y = 0; y < nHeight; ++y)
    {
        for (int x = 0; x < nWidth; ++x)
            picture.pixels.push_back(
                static_cast<std::uint32_t>(XGetPixel(pImage, x, y) & 0xFFFFFF));
    }
    XDestroyImage(pImage);
    return picture;
}

void RequestClose(Display* pDisplay, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(pDisplay, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(pDisplay, "WM_DELETE_WINDOW", False));
    XSendEvent(pDisplay, window, False, NoEventMask, &event);
    XSync(pDisplay, False);
}
