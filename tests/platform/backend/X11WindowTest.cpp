// Top-level windows on a real X server: painting compared with the headless
// dump, popups, capture as a pointer grab, cursors, and what a window
// manager does, played through the second connection since Xvfb has none
// (XMoveResizeWindow for a resize, a WM_DELETE_WINDOW message for the close
// box, XSetInputFocus for activation, unmapping for iconify).
#include "ResourceRegistry.h"
#include "TestPanes.h"
#include "UiHarness.h"
#include "WinCursor.h"
#include "WinInput.h"
#include "WinWindow.h"
#include "X11TestSupport.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xfixes.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace
{
// A 32 x 32 icon or cursor file at 24 bits with its AND mask.
std::vector<BYTE> MakeImageFile(WORD type, POINT hotSpot,
                                const std::function<COLORREF(int, int)>& colour,
                                const std::function<bool(int, int)>& transparent)
{
    constexpr int kSide = 32;
    std::vector<BYTE> bytes(22 + 40 + kSide * kSide * 3 + kSide * 4, 0);
    const WORD directory[3] = {0, type, 1};
    std::memcpy(bytes.data(), directory, sizeof(directory));
    bytes[6] = kSide;
    bytes[7] = kSide;
    const WORD planesOrX = type == 2 ? WORD(hotSpot.x) : 1;
    const WORD bitsOrY = type == 2 ? WORD(hotSpot.y) : 24;
    const DWORD size = DWORD(bytes.size() - 22);
    const DWORD offset = 22;
    std::memcpy(bytes.data() + 10, &planesOrX, 2);
    std::memcpy(bytes.data() + 12, &bitsOrY, 2);
    std::memcpy(bytes.data() + 14, &size, 4);
    std::memcpy(bytes.data() + 18, &offset, 4);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = kSide;
    header.biHeight = kSide * 2;
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::memcpy(bytes.data() + 22, &header, sizeof(header));
    BYTE* xorRows = bytes.data() + 22 + 40;
    BYTE* andRows = xorRows + kSide * kSide * 3;
    for (int y = 0; y < kSide; ++y)
    {
        const int stored = kSide - 1 - y;
        for (int x = 0; x < kSide; ++x)
        {
            const COLORREF c = colour(x, y);
            BYTE* pixel = xorRows + stored * kSide * 3 + x * 3;
            pixel[0] = GetBValue(c);
            pixel[1] = GetGValue(c);
            pixel[2] = GetRValue(c);
            if (transparent(x, y))
                andRows[stored * 4 + x / 8] |= BYTE(0x80 >> (x % 8));
        }
    }
    return bytes;
}

class X11WindowTest : public X11BackendTest
{
protected:
    // A frame with two panes, as the headless frame test has it.
    struct PaneScene
    {
        CFrameWnd* pFrame = new CFrameWnd;
        CPane left{RGB(240, 240, 200)};
        CPane right{RGB(200, 220, 250)};

        bool Build()
        {
            return pFrame->Create(nullptr, "Panes", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                  CRect(40, 30, 460, 290)) &&
                   left.Create(nullptr, "left", WS_VISIBLE | WS_CLIPSIBLINGS, CRect(4, 4, 204, 204),
                               pFrame, 1) &&
                   right.Create(nullptr, "right", WS_VISIBLE | WS_CLIPSIBLINGS,
                                CRect(210, 4, 400, 204), pFrame, 2) &&
                   (pFrame->ShowWindow(SW_SHOW), true);
        }
        ~PaneScene()
        {
            if (IsWindow(pFrame->m_hWnd))
                pFrame->DestroyWindow();
        }
    };

    // Waits until the server shows what the backend holds, and returns it.
    WindowPicture ScreenshotOnceEqual(HWND hTop, const WindowPicture& expected)
    {
        WindowPicture shot;
        PumpUntil(
            [&]
            {
                shot = TakeScreenshot(hTop);
                return shot.pixels == expected.pixels;
            });
        return shot;
    }

    static int CountDifferences(const WindowPicture& a, const WindowPicture& b)
    {
        if (a.nWidth != b.nWidth || a.nHeight != b.nHeight)
            return -1;
        int nDifferent = 0;
        for (std::size_t i = 0; i < a.pixels.size(); ++i)
            nDifferent += a.pixels[i] != b.pixels[i] ? 1 : 0;
        return nDifferent;
    }

    // The picture the headless backend dumps for the same scene.
    WindowPicture HeadlessScene()
    {
        SetDisplayBackend(nullptr);
        WindowPicture dumped;
        {
            PaneScene scene;
            EXPECT_TRUE(scene.Build());
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            const std::string path = testing::TempDir() + "x11-headless-panes.bmp";
            EXPECT_TRUE(SaveWindowPicture(scene.pFrame->m_hWnd, path.c_str()));
            EXPECT_TRUE(ReadPictureFile(path.c_str(), dumped));
            std::remove(path.c_str());
        }
        SetDisplayBackend(m_pBackend.get());
        return dumped;
    }

    void ReopenBackend(bool bUseSharedMemory)
    {
        SetDisplayBackend(nullptr);
        const std::string name = DisplayString(Outside());
        m_pBackend =
            std::make_unique<CX11Backend>(name.c_str(), CX11Backend::Options{bUseSharedMemory});
        ASSERT_TRUE(m_pBackend->IsOpen());
        SetDisplayBackend(m_pBackend.get());
    }

    std::string ReadUtf8Property(HWND hWnd, const char* pszName)
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* pData = nullptr;
        std::string value;
        if (XGetWindowProperty(Outside(), XidOf(hWnd), XInternAtom(Outside(), pszName, False), 0,
                               1024, False, AnyPropertyType, &type, &format, &count, &after,
                               &pData) == Success &&
            pData != nullptr)
            value.assign(reinterpret_cast<const char*>(pData), count);
        if (pData != nullptr)
            XFree(pData);
        return value;
    }
};

TEST_F(X11WindowTest, FramePanesShowTheHeadlessPicturesPixelsThroughBothPushPaths)
{
    const WindowPicture headless = HeadlessScene();
    for (const bool bShm : {true, false})
    {
        ReopenBackend(bShm);
        EXPECT_EQ(Backend().IsUsingSharedMemory(), bShm);
        PaneScene scene;
        ASSERT_TRUE(scene.Build());
        const HWND hFrame = scene.pFrame->m_hWnd;
        EXPECT_LT(reinterpret_cast<std::uintptr_t>(hFrame), 0x20000000u) << "the frame's XID";
        ASSERT_TRUE(PumpUntil([&] { return scene.left.nPaints > 0 && scene.right.nPaints > 0; }));
        const WindowPicture expected = CropToShown(hFrame, headless);
        const WindowPicture shot = ScreenshotOnceEqual(hFrame, expected);
        EXPECT_EQ(CountDifferences(shot, expected), 0) << (bShm ? "shared memory" : "XPutImage");
        if (bShm)
        {
            const std::string path = std::string(SUITE_OUTPUT_DIR) + "/x11-frame-panes.bmp";
            WritePictureFile(shot, path.c_str());
        }
    }
}

TEST_F(X11WindowTest, DragWithCaptureAcrossTheOtherPaneStaysWithThePressedPane)
{
    PaneScene scene;
    ASSERT_TRUE(scene.Build());
    ASSERT_TRUE(PumpUntil([&] { return scene.right.nPaints > 0; }));
    const HWND hLeft = scene.left.m_hWnd;
    POINT start{20, 20};
    ClientToScreen(hLeft, &start);
    MovePointer(start);
    PressButton(1, true);
    MovePointer(POINT{start.x + 100, start.y + 60});
    MovePointer(POINT{start.x + 240, start.y + 150}); // over the right pane
    MovePointer(POINT{start.x + 460, start.y + 300}); // outside the frame
    PressButton(1, false);
    ASSERT_TRUE(
        PumpUntil([&] { return scene.left.stroke.size() >= 5 && GetCapture() == nullptr; }));

    EXPECT_TRUE(scene.left.bCaptureHeldInLoop);
    EXPECT_EQ(scene.left.stroke[2], CPoint(260, 170)) << "over the right pane";
    EXPECT_EQ(scene.left.stroke[3], CPoint(480, 320)) << "outside the frame";
    EXPECT_EQ(scene.right.nPaints, 1) << "the right pane saw nothing";
    ASSERT_TRUE(PumpUntil([&] { return scene.left.nPaints == 2; }));
    WindowPicture whole;
    UserGetWindowPicture(scene.pFrame->m_hWnd, false, whole);
    const WindowPicture shot =
        ScreenshotOnceEqual(scene.pFrame->m_hWnd, CropToShown(scene.pFrame->m_hWnd, whole));
    RECT frame{};
    UserGetShownRect(scene.pFrame->m_hWnd, true, &frame);
    POINT origin{0, 0};
    ClientToScreen(hLeft, &origin);
    EXPECT_EQ(CountPictureDifferences(shot, CPoint(origin.x - frame.left, origin.y - frame.top),
                                      DrawExpectedPane(scene.left)),
              0);
}

TEST_F(X11WindowTest, ResizeAndMoveByTheWindowManagerReachTheWindow)
{
    const HWND hWnd = CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 60, 450, 360});
    ASSERT_NE(hWnd, nullptr);
    Settle();
    const std::size_t nBefore = MessageLog().size();
    XMoveResizeWindow(Outside(), XidOf(hWnd), 200, 150, 520, 330);
    XSync(Outside(), False);
    ASSERT_TRUE(PumpUntil([&] { return FindLogged(hWnd, WM_MOVE, nBefore) != nullptr; }));

    const LoggedMessage* size = FindLogged(hWnd, WM_SIZE, nBefore);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->wParam, WPARAM(SIZE_RESTORED));
    EXPECT_EQ(LOWORD(size->lParam), 520);
    EXPECT_EQ(HIWORD(size->lParam), 330);
    EXPECT_NE(FindLogged(hWnd, WM_WINDOWPOSCHANGED, nBefore), nullptr);
    const LoggedMessage* move = FindLogged(hWnd, WM_MOVE, nBefore);
    EXPECT_EQ(GET_X_LPARAM(move->lParam), 200);
    EXPECT_EQ(GET_Y_LPARAM(move->lParam), 150);
    RECT client{};
    GetClientRect(hWnd, &client);
    EXPECT_EQ(client.right, 520);
    EXPECT_EQ(client.bottom, 330);
    POINT origin{0, 0};
    ClientToScreen(hWnd, &origin);
    EXPECT_EQ(origin.x, 200);
    EXPECT_EQ(origin.y, 150);
}

// A storm of sizes from the window manager, each arriving while the repaint
// of the size before still waits to be pushed: a push never reaches past
// the window or its surface, through either push path, and the window
// ends showing its last size.
TEST_F(X11WindowTest, AStormOfResizesIsSurvivedThroughBothPushPaths)
{
    constexpr int kResizes = 300;
    for (const bool bUseSharedMemory : {true, false, true})
    {
        ReopenBackend(bUseSharedMemory);
        PaneScene scene;
        ASSERT_TRUE(scene.Build());
        Settle();
        const Window xid = XidOf(scene.pFrame->m_hWnd);
        for (int i = 0; i < kResizes; ++i)
        {
            const bool bBig = i % 2 == 0;
            // The program sizes its window while the window manager's sizes
            // are still on their way: for a moment the two disagree.
            scene.pFrame->MoveWindow(bBig ? 5 + i % 50 : 300, bBig ? 5 : 200 + i % 30,
                                     bBig ? 90 + i % 13 : 900, bBig ? 70 : 700);
            scene.pFrame->Invalidate();
            scene.pFrame->UpdateWindow();
            // Down to a sliver, below the smallest size the frame keeps.
            XMoveResizeWindow(Outside(), xid, 20 + i % 7, 20, bBig ? 700 + i % 90 : 1 + i % 40,
                              bBig ? 500 + i % 60 : 1 + i % 30);
            XSync(Outside(), False);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
        }
        XMoveResizeWindow(Outside(), xid, 40, 30, 420, 260);
        XSync(Outside(), False);
        ASSERT_TRUE(PumpUntil(
            [&]
            {
                RECT client{};
                scene.pFrame->GetClientRect(&client);
                return client.right == 420 && client.bottom == 260;
            }));
        Settle();
        const WindowPicture painted =
            CropToShown(scene.pFrame->m_hWnd, PaintedPicture(scene.pFrame->m_hWnd));
        const WindowPicture shot = ScreenshotOnceEqual(scene.pFrame->m_hWnd, painted);
        EXPECT_EQ(CountDifferences(shot, painted), 0) << "shared memory " << bUseSharedMemory;
    }
}

TEST_F(X11WindowTest, CloseRequestComesAsSysCommandThenCloseAndDestroys)
{
    const HWND hWnd = CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 60, 450, 360});
    ASSERT_NE(hWnd, nullptr);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = XidOf(hWnd);
    event.xclient.message_type = XInternAtom(Outside(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(Outside(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(Outside(), XidOf(hWnd), False, NoEventMask, &event);
    XSync(Outside(), False);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hWnd); }));

    const LoggedMessage* command = FindLogged(hWnd, WM_SYSCOMMAND);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->wParam & 0xFFF0, WPARAM(SC_CLOSE));
    const LoggedMessage* close = FindLogged(hWnd, WM_CLOSE);
    ASSERT_NE(close, nullptr);
    EXPECT_GT(close, command);
    XWindowAttributes attributes{};
    EXPECT_EQ(XGetWindowAttributes(Outside(), XidOf(hWnd), &attributes), 0) << "X window gone";
}

TEST_F(X11WindowTest, FocusGivenByTheDisplayActivatesAndFocusTakenDeactivates)
{
    const HWND hFirst =
        CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 60, 350, 260});
    const HWND hSecond =
        CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{400, 60, 700, 260});
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == hSecond; }));
    std::size_t nBefore = MessageLog().size();
    XSetInputFocus(Outside(), XidOf(hFirst), RevertToParent, CurrentTime);
    XSync(Outside(), False);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == hFirst; }));
    const LoggedMessage* deactivated = FindLogged(hSecond, WM_ACTIVATE, nBefore);
    ASSERT_NE(deactivated, nullptr);
    EXPECT_EQ(LOWORD(deactivated->wParam), WA_INACTIVE);
    EXPECT_EQ(deactivated->lParam, reinterpret_cast<LPARAM>(hFirst));
    const LoggedMessage* activated = FindLogged(hFirst, WM_ACTIVATE, nBefore);
    ASSERT_NE(activated, nullptr);
    EXPECT_EQ(LOWORD(activated->wParam), WA_ACTIVE);
    EXPECT_NE(FindLogged(hFirst, WM_SETFOCUS, nBefore), nullptr);
    EXPECT_EQ(GetFocus(), hFirst);

    nBefore = MessageLog().size();
    XSetInputFocus(Outside(), PointerRoot, RevertToPointerRoot, CurrentTime);
    XSync(Outside(), False);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == nullptr; }));
    EXPECT_NE(FindLogged(hFirst, WM_KILLFOCUS, nBefore), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(X11WindowTest, IconifiedByTheWindowManagerIsMinimisedUntilMappedAgain)
{
    const HWND hWnd = CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 60, 450, 360});
    Settle();
    std::size_t nBefore = MessageLog().size();
    XUnmapWindow(Outside(), XidOf(hWnd)); // what a window manager does to iconify
    XSync(Outside(), False);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(hWnd) != FALSE; }));
    const LoggedMessage* size = FindLogged(hWnd, WM_SIZE, nBefore);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->wParam, WPARAM(SIZE_MINIMIZED));
    EXPECT_TRUE(IsWindowVisible(hWnd));

    nBefore = MessageLog().size();
    XMapWindow(Outside(), XidOf(hWnd));
    XSync(Outside(), False);
    ASSERT_TRUE(PumpUntil([&] { return !IsIconic(hWnd); }));
    size = FindLogged(hWnd, WM_SIZE, nBefore);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->wParam, WPARAM(SIZE_RESTORED));
    EXPECT_EQ(LOWORD(size->lParam), 400 - 2 * GetSystemMetrics(SM_CXFRAME));
}

TEST_F(X11WindowTest, TitleIsUtf8AndHidingWithdrawsTheWindow)
{
    const HWND hWnd = CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 60, 450, 360});
    SetWindowTextA(hWnd, "Pelivo - \xC3\xBC"
                         "ber.dcm");
    Settle();
    EXPECT_EQ(ReadUtf8Property(hWnd, "_NET_WM_NAME"), "Pelivo - \xC3\xBC"
                                                      "ber.dcm");
    // Bytes that are no UTF-8 (a Latin-1 patient name) never reach the
    // display as they are.
    SetWindowTextA(hWnd, "Pelivo - \xC4neas^R\xFC"
                         "diger");
    Settle();
    EXPECT_EQ(ReadUtf8Property(hWnd, "_NET_WM_NAME"), "Pelivo - \xEF\xBF\xBDneas^R\xEF\xBF\xBD"
                                                      "diger");
    XWindowAttributes attributes{};
    XGetWindowAttributes(Outside(), XidOf(hWnd), &attributes);
    EXPECT_EQ(attributes.map_state, IsViewable);
    EXPECT_FALSE(attributes.override_redirect);
    ShowWindow(hWnd, SW_HIDE);
    Settle();
    XGetWindowAttributes(Outside(), XidOf(hWnd), &attributes);
    EXPECT_EQ(attributes.map_state, IsUnmapped);
    EXPECT_FALSE(IsIconic(hWnd)) << "our own unmap is no iconify";
}

TEST_F(X11WindowTest, PopupIsOverrideRedirectAndItsCaptureGrabsThePointer)
{
    const HWND hOwner =
        CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 60, 450, 360});
    const HWND hPopup = CreateLoggedWindow(WS_POPUP | WS_BORDER, RECT{300, 300, 400, 380}, hOwner,
                                           WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    ASSERT_NE(hPopup, nullptr);
    ShowWindow(hPopup, SW_SHOWNOACTIVATE);
    Settle();
    XWindowAttributes attributes{};
    ASSERT_NE(XGetWindowAttributes(Outside(), XidOf(hPopup), &attributes), 0);
    EXPECT_TRUE(attributes.override_redirect);
    EXPECT_EQ(attributes.map_state, IsViewable);
    EXPECT_EQ(attributes.x, 300) << "a popup shows its whole window";
    EXPECT_EQ(attributes.width, 100);

    SetCapture(hPopup);
    Settle();
    const std::size_t nBefore = MessageLog().size();
    MovePointer(POINT{120, 100}); // over the owner, far from the popup
    ASSERT_TRUE(PumpUntil([&] { return FindLogged(hPopup, WM_MOUSEMOVE, nBefore) != nullptr; }));
    const LoggedMessage* move = FindLogged(hPopup, WM_MOUSEMOVE, nBefore);
    POINT client{120, 100};
    ScreenToClient(hPopup, &client);
    EXPECT_EQ(GET_X_LPARAM(move->lParam), client.x);
    EXPECT_EQ(GET_Y_LPARAM(move->lParam), client.y);
    EXPECT_LT(client.x, 0);
    EXPECT_EQ(FindLogged(hOwner, WM_MOUSEMOVE, nBefore), nullptr);
    const Window root = DefaultRootWindow(Outside());
    EXPECT_EQ(XGrabPointer(Outside(), root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync,
                           None, None, CurrentTime),
              AlreadyGrabbed);

    ReleaseCapture();
    Settle();
    EXPECT_EQ(XGrabPointer(Outside(), root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync,
                           None, None, CurrentTime),
              GrabSuccess);
    XUngrabPointer(Outside(), CurrentTime);
    XSync(Outside(), False);
}

// The cursor image the server shows against the authored bitmaps.
TEST_F(X11WindowTest, CursorsShowTheAuthoredImagesAndShowCursorHidesThem)
{
    int nEventBase = 0;
    int nErrorBase = 0;
    ASSERT_TRUE(XFixesQueryExtension(Outside(), &nEventBase, &nErrorBase));
    const HWND hWnd = CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 60, 450, 360});
    POINT inside{100, 100};
    ClientToScreen(hWnd, &inside);
    MovePointer(inside);
    Settle();
    struct Case
    {
        LPCSTR id;
        int xHot;
        int yHot;
    };
    for (const Case& c : {Case{IDC_WAIT, 15, 15}, Case{IDC_SIZEWE, 15, 15}, Case{IDC_ARROW, 0, 0},
                          Case{IDC_IBEAM, 15, 15}})
    {
        SetCursor(LoadCursorA(nullptr, c.id));
        Settle();
        XFixesCursorImage* pImage = XFixesGetCursorImage(Outside());
        ASSERT_NE(pImage, nullptr);
        EXPECT_EQ(pImage->width, 32);
        EXPECT_EQ(pImage->xhot, c.xHot);
        EXPECT_EQ(pImage->yhot, c.yHot);
        int nBlack = 0;
        int nWhite = 0;
        for (int i = 0; i < pImage->width * pImage->height; ++i)
        {
            const unsigned long pixel = pImage->pixels[i] & 0xFFFFFFFFUL;
            nBlack += pixel == 0xFF000000UL ? 1 : 0;
            nWhite += pixel == 0xFFFFFFFFUL ? 1 : 0;
        }
        EXPECT_GT(nBlack, 10);
        EXPECT_GT(nWhite, 10);
        XFree(pImage);
    }
    ShowCursor(FALSE);
    Settle();
    XFixesCursorImage* pHidden = XFixesGetCursorImage(Outside());
    ASSERT_NE(pHidden, nullptr);
    bool bAnyShown = false;
    for (int i = 0; i < pHidden->width * pHidden->height; ++i)
        bAnyShown = bAnyShown || (pHidden->pixels[i] & 0xFF000000UL) != 0;
    EXPECT_FALSE(bAnyShown);
    XFree(pHidden);
    ShowCursor(TRUE);
}
} // namespace

namespace
{
TEST_F(X11WindowTest, ClassIconBecomesTheWindowIconAndModuleCursorsShowTheirImage)
{
    static const std::vector<BYTE> kIcon = MakeImageFile(
        1, POINT{0, 0}, [](int x, int) { return x < 16 ? RGB(255, 0, 0) : RGB(0, 0, 255); },
        [](int, int y) { return y < 8; });
    static const std::vector<BYTE> kCursor = MakeImageFile(
        2, POINT{7, 9},
        [](int x, int y)
        { return x >= 5 && x < 15 && y >= 5 && y < 15 ? RGB(0, 0, 0) : RGB(255, 255, 255); },
        [](int x, int y) { return x >= 20 || y >= 20; });
    static const ResourceDataEntry kData[] = {
        {RT_GROUP_ICON, MAKEINTRESOURCE(128), kIcon.data(), DWORD(kIcon.size())},
        {RT_GROUP_CURSOR, MAKEINTRESOURCE(140), kCursor.data(), DWORD(kCursor.size())},
    };
    const auto hModule = reinterpret_cast<HMODULE>(0x5EED1100);
    RegisterModuleResources(hModule, ResourceTables{.data = kData});
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = hModule;
    wc.hIcon = LoadIconA(hModule, MAKEINTRESOURCE(128));
    wc.lpszClassName = "X11IconWindow";
    ASSERT_NE(wc.hIcon, nullptr);
    ASSERT_NE(RegisterClassA(&wc), 0);
    const HWND hWnd = CreateWindowExA(0, "X11IconWindow", "icon", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      50, 60, 400, 300, nullptr, nullptr, hModule, nullptr);
    ASSERT_NE(hWnd, nullptr);

    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* pData = nullptr;
    ASSERT_EQ(XGetWindowProperty(Outside(), XidOf(hWnd),
                                 XInternAtom(Outside(), "_NET_WM_ICON", False), 0, 4096, False,
                                 XA_CARDINAL, &type, &format, &count, &after, &pData),
              Success);
    ASSERT_NE(pData, nullptr);
    const auto* values = reinterpret_cast<const long*>(pData);
    ASSERT_EQ(count, 2u + 32 * 32);
    EXPECT_EQ(values[0], 32);
    EXPECT_EQ(values[1], 32);
    EXPECT_EQ(values[2 + 2 * 32 + 3] & 0xFFFFFFFF, 0) << "transparent";
    EXPECT_EQ(values[2 + 20 * 32 + 3] & 0xFFFFFFFF, 0xFFFF0000) << "opaque red";
    EXPECT_EQ(values[2 + 20 * 32 + 25] & 0xFFFFFFFF, 0xFF0000FF) << "opaque blue";
    XFree(pData);

    POINT inside{100, 100};
    ClientToScreen(hWnd, &inside);
    MovePointer(inside);
    Settle();
    SetCursor(LoadCursorA(hModule, MAKEINTRESOURCE(140)));
    Settle();
    XFixesCursorImage* pImage = XFixesGetCursorImage(Outside());
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->xhot, 7);
    EXPECT_EQ(pImage->yhot, 9);
    EXPECT_EQ(pImage->pixels[6 * pImage->width + 6] & 0xFFFFFFFF, 0xFF000000) << "black";
    EXPECT_EQ(pImage->pixels[17 * pImage->width + 17] & 0xFFFFFFFF, 0xFFFFFFFF) << "white";
    EXPECT_EQ(pImage->pixels[25 * pImage->width + 25] & 0xFF000000, 0u) << "transparent";
    XFree(pImage);
}
} // namespace

namespace
{
// The second connection as a window manager: it takes the map and configure
// requests, announces _NET_ACTIVE_WINDOW and records the client messages the
// backend sends to the root window.
class X11ManagedWindowTest : public X11WindowTest
{
protected:
    void SetUp() override
    {
        X11WindowTest::SetUp();
        const Window root = DefaultRootWindow(Outside());
        XSelectInput(Outside(), root, SubstructureRedirectMask | SubstructureNotifyMask);
        const Atom supported[] = {Intern("_NET_ACTIVE_WINDOW"), Intern("_NET_WM_STATE")};
        XChangeProperty(Outside(), root, Intern("_NET_SUPPORTED"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(supported), 2);
        Settle();
    }

    void TearDown() override
    {
        XDeleteProperty(Outside(), DefaultRootWindow(Outside()), Intern("_NET_SUPPORTED"));
        X11WindowTest::TearDown();
    }

    Atom Intern(const char* pszName) { return XInternAtom(Outside(), pszName, False); }

    // Serves the requests that came so far.
    void Serve()
    {
        while (XPending(Outside()) > 0)
        {
            XEvent event;
            XNextEvent(Outside(), &event);
            if (event.type == MapRequest)
            {
                XMapWindow(Outside(), event.xmaprequest.window);
            }
            else if (event.type == ConfigureRequest)
            {
                const XConfigureRequestEvent& request = event.xconfigurerequest;
                XWindowChanges changes{request.x, request.y, request.width, request.height, 0,
                                       0,         0};
                XConfigureWindow(Outside(), request.window,
                                 request.value_mask & (CWX | CWY | CWWidth | CWHeight), &changes);
            }
            else if (event.type == ClientMessage)
            {
                m_requests.push_back(event.xclient);
            }
        }
        XSync(Outside(), False);
    }

    bool ServeUntil(const std::function<bool()>& done)
    {
        return PumpUntil(
            [&]
            {
                Serve();
                return done();
            });
    }

    const XClientMessageEvent* FindRequest(const char* pszType) const
    {
        const Atom type = XInternAtom(Outside(), pszType, True);
        for (const XClientMessageEvent& request : m_requests)
        {
            if (request.message_type == type)
                return &request;
        }
        return nullptr;
    }

    std::vector<XClientMessageEvent> m_requests;
};

TEST_F(X11ManagedWindowTest, MaximiseRestoreAndActivationAreAskedOfTheWindowManager)
{
    const HWND hFirst =
        CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 60, 450, 360});
    const HWND hSecond =
        CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{500, 60, 900, 360});
    XWindowAttributes attributes{};
    ASSERT_TRUE(ServeUntil(
        [&]
        {
            return XGetWindowAttributes(Outside(), XidOf(hSecond), &attributes) &&
                   attributes.map_state == IsViewable;
        }));

    m_requests.clear();
    SetActiveWindow(hFirst);
    ASSERT_TRUE(ServeUntil([&] { return FindRequest("_NET_ACTIVE_WINDOW") != nullptr; }));
    EXPECT_EQ(FindRequest("_NET_ACTIVE_WINDOW")->window, XidOf(hFirst));

    m_requests.clear();
    ShowWindow(hFirst, SW_SHOWMAXIMIZED);
    ASSERT_TRUE(ServeUntil([&] { return FindRequest("_NET_WM_STATE") != nullptr; }));
    const XClientMessageEvent* maximise = FindRequest("_NET_WM_STATE");
    EXPECT_EQ(maximise->window, XidOf(hFirst));
    EXPECT_EQ(maximise->data.l[0], 1) << "add";
    EXPECT_EQ(Atom(maximise->data.l[1]), Intern("_NET_WM_STATE_MAXIMIZED_VERT"));
    EXPECT_EQ(Atom(maximise->data.l[2]), Intern("_NET_WM_STATE_MAXIMIZED_HORZ"));

    m_requests.clear();
    ShowWindow(hFirst, SW_RESTORE);
    ASSERT_TRUE(ServeUntil([&] { return FindRequest("_NET_WM_STATE") != nullptr; }));
    EXPECT_EQ(FindRequest("_NET_WM_STATE")->data.l[0], 0) << "remove";
}

TEST_F(X11ManagedWindowTest, MaximisedByTheWindowManagerGivesSizeMaximizedAndItsSize)
{
    const HWND hWnd = CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 60, 450, 360});
    for (int nRound = 0; nRound < 4; ++nRound)
    {
        Serve();
        Settle();
    }
    const std::size_t nBefore = MessageLog().size();
    const Atom states[] = {Intern("_NET_WM_STATE_MAXIMIZED_VERT"),
                           Intern("_NET_WM_STATE_MAXIMIZED_HORZ")};
    XChangeProperty(Outside(), XidOf(hWnd), Intern("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states), 2);
    XMoveResizeWindow(Outside(), XidOf(hWnd), 0, 30, 1920, 1000);
    XSync(Outside(), False);
    ASSERT_TRUE(ServeUntil(
        [&]
        {
            RECT client{};
            GetClientRect(hWnd, &client);
            return IsZoomed(hWnd) && client.right == 1920 && client.bottom == 1000;
        }));
    const LoggedMessage* size = FindLogged(hWnd, WM_SIZE, nBefore);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->wParam, WPARAM(SIZE_MAXIMIZED));
    POINT origin{0, 0};
    ClientToScreen(hWnd, &origin);
    EXPECT_EQ(origin.y, 30);
}
} // namespace

namespace
{
// Frames that draw their own caption and border: shown whole and
// undecorated, and moved and sized by the window manager when asked.
class X11SelfDrawnFrameTest : public X11ManagedWindowTest
{
protected:
    // The motif hints of a window: flags and decorations, or (-1, -1).
    std::pair<long, long> MotifHints(HWND hWnd)
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* pData = nullptr;
        std::pair<long, long> hints{-1, -1};
        const Atom name = Intern("_MOTIF_WM_HINTS");
        if (XGetWindowProperty(Outside(), XidOf(hWnd), name, 0, 5, False, name, &type, &format,
                               &count, &after, &pData) == Success &&
            pData != nullptr && count == 5)
        {
            const auto* pValues = reinterpret_cast<const long*>(pData);
            hints = {pValues[0], pValues[2]};
        }
        if (pData != nullptr)
            XFree(pData);
        return hints;
    }
    SIZE XSizeOf(HWND hWnd)
    {
        XWindowAttributes attributes{};
        XGetWindowAttributes(Outside(), XidOf(hWnd), &attributes);
        return SIZE{attributes.width, attributes.height};
    }
};

TEST_F(X11SelfDrawnFrameTest, AMarkedFrameIsShownWholeWithoutDecorationsUntilUnmarked)
{
    const RECT rc{60, 50, 460, 350};
    const HWND hWnd = CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, rc);
    ASSERT_TRUE(ServeUntil([&] { return XSizeOf(hWnd).cy > 1; }));
    EXPECT_EQ(MotifHints(hWnd), (std::pair<long, long>{-1, -1}));
    EXPECT_LT(XSizeOf(hWnd).cy, 300);

    UserSetSelfDrawnFrame(hWnd, TRUE);
    // The X window and the window agree on the whole window at last, late
    // news of the framed size notwithstanding.
    RECT rcWindow{};
    ASSERT_TRUE(ServeUntil(
        [&]
        {
            GetWindowRect(hWnd, &rcWindow);
            return XSizeOf(hWnd).cy == 300 && rcWindow.bottom - rcWindow.top == 300;
        }));
    EXPECT_EQ(MotifHints(hWnd), (std::pair<long, long>{2, 0}));
    EXPECT_EQ(XSizeOf(hWnd).cx, 400);
    EXPECT_EQ(rcWindow.right - rcWindow.left, 400);
    // The caption is ours on the screen.
    ScreenshotOnceEqual(hWnd, CropToShown(hWnd, PaintedPicture(hWnd)));
    const WindowPicture shot = ShownPicture(hWnd, "x11-self-drawn-frame.bmp");
    const int y = GetSystemMetrics(SM_CYFRAME) + 4;
    const std::uint32_t bgr = shot.GetPixel(150, y);
    const COLORREF shown = RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    EXPECT_TRUE(shown == GetSysColor(COLOR_ACTIVECAPTION) ||
                shown == GetSysColor(COLOR_INACTIVECAPTION));

    UserSetSelfDrawnFrame(hWnd, FALSE);
    ASSERT_TRUE(ServeUntil([&] { return XSizeOf(hWnd).cy < 300; }));
    EXPECT_EQ(MotifHints(hWnd), (std::pair<long, long>{-1, -1}));
}

TEST_F(X11SelfDrawnFrameTest, APressOnItsCaptionOrEdgeAsksTheWindowManagerToMoveOrSizeIt)
{
    const HWND hWnd = CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{60, 50, 460, 350});
    UserSetSelfDrawnFrame(hWnd, TRUE);
    ASSERT_TRUE(ServeUntil([&] { return XSizeOf(hWnd).cy == 300; }));
    struct
    {
        int nHit;
        long nDirection;
    } const cases[] = {{HTCAPTION, 8}, {HTBOTTOMRIGHT, 4}, {HTLEFT, 7}};
    for (const auto& c : cases)
    {
        m_requests.clear();
        SendMessageA(hWnd, WM_NCLBUTTONDOWN, static_cast<WPARAM>(c.nHit), MAKELPARAM(210, 60));
        ASSERT_TRUE(ServeUntil([&] { return FindRequest("_NET_WM_MOVERESIZE") != nullptr; }))
            << c.nHit;
        const XClientMessageEvent* pRequest = FindRequest("_NET_WM_MOVERESIZE");
        EXPECT_EQ(pRequest->window, XidOf(hWnd));
        EXPECT_EQ(pRequest->data.l[0], 210);
        EXPECT_EQ(pRequest->data.l[1], 60);
        EXPECT_EQ(pRequest->data.l[2], c.nDirection);
        EXPECT_EQ(pRequest->data.l[3], 1);
    }
}

TEST_F(X11SelfDrawnFrameTest, TheBackendOptionLeavesEveryFrameToItsWindow)
{
    SetDisplayBackend(nullptr);
    const std::string name = DisplayString(Outside());
    CX11Backend::Options options;
    options.bSelfDrawnFrames = true;
    m_pBackend = std::make_unique<CX11Backend>(name.c_str(), options);
    ASSERT_TRUE(m_pBackend->IsOpen());
    SetDisplayBackend(m_pBackend.get());
    const HWND hWnd = CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{60, 50, 460, 350});
    ASSERT_TRUE(ServeUntil([&] { return XSizeOf(hWnd).cy == 300; }));
    EXPECT_EQ(MotifHints(hWnd), (std::pair<long, long>{2, 0}));
    // Popups stay as they were.
    const HWND hPopup = CreateLoggedWindow(WS_POPUP | WS_VISIBLE, RECT{500, 50, 600, 150});
    Settle();
    EXPECT_EQ(MotifHints(hPopup), (std::pair<long, long>{-1, -1}));
}

// A bar of one colour, lying along a horizontal side or standing along a
// vertical one.
class CColourBar : public CControlBar
{
public:
    explicit CColourBar(COLORREF colour) : m_colour(colour) { m_bAutoDelete = TRUE; }

    BOOL Create(CWnd* pParent, UINT nID)
    {
        m_dwStyle = CBRS_TOP | CBRS_GRIPPER;
        return CWnd::Create(AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE,
                            CRect(0, 0, 0, 0), pParent, nID);
    }
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override
    {
        return bHorz ? CSize(140, 28) : CSize(34, 120);
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        CRect rect;
        GetClientRect(&rect);
        dc.FillSolidRect(&rect, m_colour);
    }

    COLORREF m_colour;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColourBar, CControlBar)
ON_WM_PAINT()
END_MESSAGE_MAP()

TEST_F(X11WindowTest, AFrameWithBarsDockedOnTwoSidesShowsWhatItPaints)
{
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "Docked bars", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                               CRect(40, 30, 520, 380)));
    CPane view(RGB(250, 250, 240));
    ASSERT_TRUE(
        view.Create(nullptr, "view", WS_VISIBLE, CRect(0, 0, 0, 0), pFrame, AFX_IDW_PANE_FIRST));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    auto* pToolBar = new CToolBar;
    pToolBar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(pToolBar->CreateEx(
        pFrame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_SIZE_DYNAMIC));
    const UINT ids[] = {0x8101, 0x8102, ID_SEPARATOR, 0x8103, 0x8104};
    pToolBar->SetButtons(ids, 5);
    pToolBar->SetSizes(CSize(23, 22), CSize(16, 15));
    pToolBar->EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBar(pToolBar, AFX_IDW_DOCKBAR_TOP);
    const struct
    {
        COLORREF colour;
        UINT nDockBarID;
    } sides[] = {{RGB(200, 60, 60), AFX_IDW_DOCKBAR_TOP},
                 {RGB(60, 160, 60), AFX_IDW_DOCKBAR_LEFT},
                 {RGB(60, 90, 200), AFX_IDW_DOCKBAR_LEFT}};
    UINT nID = 0xE830;
    for (const auto& side : sides)
    {
        auto* pBar = new CColourBar(side.colour);
        ASSERT_TRUE(pBar->Create(pFrame, nID++));
        pBar->EnableDocking(CBRS_ALIGN_ANY);
        pFrame->DockControlBar(pBar, side.nDockBarID);
    }
    pFrame->ShowWindow(SW_SHOW);
    Settle();
    const HWND hFrame = pFrame->m_hWnd;
    const WindowPicture expected = CropToShown(hFrame, PaintedPicture(hFrame));
    const WindowPicture shot = ScreenshotOnceEqual(hFrame, expected);
    EXPECT_EQ(CountDifferences(shot, expected), 0);
    ShownPicture(hFrame, "x11-docked-bars.bmp");
    pFrame->DestroyWindow();
}
} // namespace
