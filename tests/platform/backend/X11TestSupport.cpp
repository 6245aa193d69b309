#include "X11TestSupport.h"

#include "WinCursor.h"
#include "WinMessageQueue.h"
#include "WinPaint.h"
#include "WinWindow.h"
#include "XvfbServer.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace
{
std::unique_ptr<CXvfbServer> gServer;

LRESULT CALLBACK LoggingProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    MessageLog().push_back(LoggedMessage{hWnd, nMsg, wParam, lParam});
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}
} // namespace

std::vector<LoggedMessage>& MessageLog()
{
    static std::vector<LoggedMessage> log;
    return log;
}

HWND CreateLoggedWindow(DWORD dwStyle, const RECT& rc, HWND hParent, DWORD dwExStyle)
{
    static const bool bRegistered = []
    {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &LoggingProc;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "X11LoggedWindow";
        return RegisterClassA(&wc) != 0;
    }();
    if (!bRegistered)
        return nullptr;
    return CreateWindowExA(dwExStyle, "X11LoggedWindow", "logged", dwStyle, rc.left, rc.top,
                           rc.right - rc.left, rc.bottom - rc.top, hParent, nullptr, nullptr,
                           nullptr);
}

const LoggedMessage* FindLogged(HWND hWnd, UINT nMsg, std::size_t nFrom)
{
    const std::vector<LoggedMessage>& log = MessageLog();
    for (std::size_t i = nFrom; i < log.size(); ++i)
    {
        if (log[i].hWnd == hWnd && log[i].nMsg == nMsg)
            return &log[i];
    }
    return nullptr;
}

void X11BackendTest::SetUpTestSuite()
{
    gServer = std::make_unique<CXvfbServer>();
}

void X11BackendTest::TearDownTestSuite()
{
    gServer.reset();
}

void X11BackendTest::SetUp()
{
    ASSERT_TRUE(gServer->IsRunning()) << gServer->GetError();
    UserDestroyAllWindows();
    MessageLog().clear();
    m_pBackend = std::make_unique<CX11Backend>(gServer->GetDisplayName().c_str());
    ASSERT_TRUE(m_pBackend->IsOpen()) << m_pBackend->GetOpenError();
    SetDisplayBackend(m_pBackend.get());
    m_pOutside = XOpenDisplay(gServer->GetDisplayName().c_str());
    ASSERT_NE(m_pOutside, nullptr);
    // Start every test with the pointer in a corner no window covers.
    MovePointer(POINT{1900, 1060});
}

namespace
{
std::function<void()>& SoonStep()
{
    static std::function<void()> step;
    return step;
}

void CALLBACK OnSoon(HWND hWnd, UINT, UINT_PTR nId, DWORD)
{
    KillTimer(hWnd, nId);
    const std::function<void()> step = std::move(SoonStep());
    SoonStep() = nullptr;
    if (step)
        step();
}
} // namespace

void X11BackendTest::RunSoon(HWND hOwner, std::function<void()> step)
{
    SoonStep() = std::move(step);
    SetTimer(hOwner, 0x50, 0, &OnSoon);
}

WindowPicture X11BackendTest::PaintedPicture(HWND hTop)
{
    WindowPicture picture;
    const std::string path = testing::TempDir() + "x11-painted.bmp";
    EXPECT_TRUE(SaveWindowPicture(hTop, path.c_str()));
    EXPECT_TRUE(ReadPictureFile(path.c_str(), picture));
    std::remove(path.c_str());
    return picture;
}

WindowPicture X11BackendTest::ShownPicture(HWND hTop, const char* pszName)
{
    m_pBackend->Sync();
    XSync(m_pOutside, False);
    const WindowPicture shot = TakeScreenshot(hTop);
    WritePictureFile(shot, (std::string(SUITE_OUTPUT_DIR) + "/" + pszName).c_str());
    return shot;
}

void X11BackendTest::Click(POINT ptScreen)
{
    MovePointer(ptScreen);
    PressButton(1, true);
    PressButton(1, false);
}

void X11BackendTest::TearDown()
{
    SoonStep() = nullptr;
    UserDestroyAllWindows();
    SetDisplayBackend(nullptr);
    m_pBackend.reset();
    if (m_pOutside != nullptr)
        XCloseDisplay(m_pOutside);
    m_pOutside = nullptr;
}

bool X11BackendTest::PumpUntil(const std::function<bool()>& done, int nTimeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nTimeoutMs);
    for (;;)
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        XSync(m_pOutside, False);
        m_pBackend->Wait(20);
    }
}

void X11BackendTest::Settle()
{
    // Each round may ask the server for more (a paint pushed, a window
    // mapped); a few rounds see it all through.
    for (int nRound = 0; nRound < 4; ++nRound)
    {
        XSync(m_pOutside, False);
        m_pBackend->Sync();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

std::string X11BackendTest::DisplayName()
{
    return gServer != nullptr ? gServer->GetDisplayName() : std::string();
}

WindowPicture X11BackendTest::TakeScreenshot(HWND hTop)
{
    WindowPicture picture;
    RECT shown{};
    if (!UserGetShownRect(hTop, !UserIsSelfDrawnFrame(hTop), &shown))
        return picture;
    picture.nWidth = shown.right - shown.left;
    picture.nHeight = shown.bottom - shown.top;
    XImage* pImage = XGetImage(m_pOutside, DefaultRootWindow(m_pOutside), shown.left, shown.top,
                               static_cast<unsigned>(picture.nWidth),
                               static_cast<unsigned>(picture.nHeight), AllPlanes, ZPixmap);
    if (pImage == nullptr)
        return WindowPicture{};
    for (int y = 0; y < picture.nHeight; ++y)
    {
        for (int x = 0; x < picture.nWidth; ++x)
            picture.pixels.push_back(
                static_cast<std::uint32_t>(XGetPixel(pImage, x, y) & 0xFFFFFF));
    }
    XDestroyImage(pImage);
    return picture;
}

WindowPicture X11BackendTest::CropToShown(HWND hTop, const WindowPicture& whole)
{
    RECT window{};
    RECT shown{};
    GetWindowRect(hTop, &window);
    // A frame drawing its own caption shows whole.
    UserGetShownRect(hTop, !UserIsSelfDrawnFrame(hTop), &shown);
    WindowPicture part;
    part.nWidth = shown.right - shown.left;
    part.nHeight = shown.bottom - shown.top;
    for (int y = 0; y < part.nHeight; ++y)
    {
        for (int x = 0; x < part.nWidth; ++x)
            part.pixels.push_back(
                whole.GetPixel(shown.left - window.left + x, shown.top - window.top + y));
    }
    return part;
}

void X11BackendTest::MovePointer(POINT ptScreen)
{
    XTestFakeMotionEvent(m_pOutside, DefaultScreen(m_pOutside), ptScreen.x, ptScreen.y, 0);
    XSync(m_pOutside, False);
}

void X11BackendTest::PressButton(unsigned nButton, bool bDown)
{
    XTestFakeButtonEvent(m_pOutside, nButton, bDown ? True : False, 0);
    XSync(m_pOutside, False);
}

void X11BackendTest::PressKey(unsigned long keysym, bool bDown)
{
    const KeyCode code = XKeysymToKeycode(m_pOutside, keysym);
    ASSERT_NE(code, 0) << "no key for the symbol " << keysym;
    XTestFakeKeyEvent(m_pOutside, code, bDown ? True : False, 0);
    XSync(m_pOutside, False);
}
