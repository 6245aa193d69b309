// Windows of programs of other kinds on the X display: found by the desktop
// walk and by their titles, asked to come forward through the window
// manager, and never sent messages they could not take.
#include "../DesktopWalk.h"
#include "X11TestSupport.h"

#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"

#include <X11/Xatom.h>

#include <chrono>
#include <cstring>
#include <poll.h>
#include <string>
#include <vector>

namespace
{
class X11OtherProgramsTest : public X11BackendTest
{
protected:
    Window CreateOutsideWindow()
    {
        const Window xid =
            XCreateSimpleWindow(Outside(), DefaultRootWindow(Outside()), 10, 10, 100, 80, 0, 0, 0);
        XMapWindow(Outside(), xid);
        return xid;
    }

    static HWND HandleOf(Window xid) { return reinterpret_cast<HWND>(xid); }

    // The next event of the type on the outside connection, within a
    // generous bound.
    bool WaitForOutsideEvent(int type, XEvent& event)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (XCheckTypedEvent(Outside(), type, &event) == False)
        {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            pollfd ready{ConnectionNumber(Outside()), POLLIN, 0};
            poll(&ready, 1, static_cast<int>(left.count()));
        }
        return true;
    }
};

TEST_F(X11OtherProgramsTest, TheirWindowsFollowOursInTheDesktopWalkWithTheirTitles)
{
    const Window plain = CreateOutsideWindow();
    XStoreName(Outside(), plain, "Plain Title");
    const Window unicode = CreateOutsideWindow();
    const char* const title = "Bl\xC3\xA5 \xC3\xB6ga";
    XChangeProperty(Outside(), unicode, XInternAtom(Outside(), "_NET_WM_NAME", False),
                    XInternAtom(Outside(), "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title),
                    static_cast<int>(std::strlen(title)));
    // A helper window such as a selection owner's is no program's window.
    const Window helper = XCreateWindow(Outside(), DefaultRootWindow(Outside()), -1, -1, 1, 1, 0,
                                        CopyFromParent, InputOnly, CopyFromParent, 0, nullptr);
    XSync(Outside(), False);
    const HWND hOwn =
        CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{200, 200, 400, 300});
    Settle();

    EXPECT_EQ(WalkDesktop(), (std::vector<HWND>{hOwn, HandleOf(unicode), HandleOf(plain)}));
    char text[64] = "";
    EXPECT_EQ(GetWindowTextA(HandleOf(unicode), text, sizeof text),
              static_cast<int>(std::strlen(title)));
    EXPECT_STREQ(text, title);
    EXPECT_EQ(FindWindowA(nullptr, "Plain Title"), HandleOf(plain));
    EXPECT_EQ(FindWindowA(nullptr, "logged"), hOwn);

    XDestroyWindow(Outside(), plain);
    XDestroyWindow(Outside(), helper);
    XSync(Outside(), False);
    EXPECT_FALSE(IsWindow(HandleOf(plain)));
    EXPECT_EQ(FindWindowA(nullptr, "Plain Title"), nullptr);
}

TEST_F(X11OtherProgramsTest, AProgramOfAnotherKindTakesNoMessagesButComesForward)
{
    const Window other = CreateOutsideWindow();
    XSync(Outside(), False);
    XSelectInput(Outside(), DefaultRootWindow(Outside()), SubstructureRedirectMask);
    XSync(Outside(), False);

    EXPECT_EQ(SendMessageA(HandleOf(other), WM_USER + 62, 0, 11240), 0);
    EXPECT_FALSE(PostMessageA(HandleOf(other), WM_USER, 0, 0));
    EXPECT_EQ(GetPropA(HandleOf(other), "Pelivo"), nullptr);
    EXPECT_EQ(GetLastActivePopup(HandleOf(other)), HandleOf(other));
    EXPECT_TRUE(SetForegroundWindow(HandleOf(other)));

    // Playing the window manager, the outside connection receives the request.
    XEvent event{};
    ASSERT_TRUE(WaitForOutsideEvent(ClientMessage, event));
    EXPECT_EQ(event.xclient.message_type, XInternAtom(Outside(), "_NET_ACTIVE_WINDOW", False));
    EXPECT_EQ(event.xclient.window, other);
}
} // namespace
