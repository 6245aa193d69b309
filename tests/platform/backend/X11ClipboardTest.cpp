// The clipboard shared with other X clients: what this process puts on its
// clipboard reaches another client through the CLIPBOARD selection, text as
// UTF-8 and a DIB as image/bmp, and what another client holds is read the
// same way.
#include "PackedDib.h"
#include "WinClipboard.h"
#include "WinGlobalMemory.h"
#include "X11TestSupport.h"

#include "../base/ScopedCodePage.h"

#include <X11/Xatom.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <future>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
// Another X client asking for the clipboard as one target, on its own
// connection and thread while this thread pumps the layer's messages.
std::vector<unsigned char> FetchAsOtherClient(const std::string& displayName, const char* pszTarget)
{
    Display* pDisplay = XOpenDisplay(displayName.c_str());
    if (pDisplay == nullptr)
        return {};
    const Window window =
        XCreateSimpleWindow(pDisplay, DefaultRootWindow(pDisplay), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(pDisplay, "CLIPBOARD", False);
    const Atom target = XInternAtom(pDisplay, pszTarget, False);
    const Atom property = XInternAtom(pDisplay, "FETCHED", False);
    XConvertSelection(pDisplay, clipboard, target, property, window, CurrentTime);
    XFlush(pDisplay);
    std::vector<unsigned char> bytes;
    XEvent event{};
    for (int nWaited = 0; nWaited < 5000; nWaited += 20)
    {
        if (XCheckTypedWindowEvent(pDisplay, window, SelectionNotify, &event))
        {
            Atom type = None;
            int nFormat = 0;
            unsigned long nItems = 0;
            unsigned long nAfter = 0;
            unsigned char* pData = nullptr;
            if (event.xselection.property != None &&
                XGetWindowProperty(pDisplay, window, property, 0, 1 << 20, True, AnyPropertyType,
                                   &type, &nFormat, &nItems, &nAfter, &pData) == Success &&
                pData != nullptr)
            {
                bytes.assign(pData, pData + nItems);
                XFree(pData);
            }
            break;
        }
        pollfd fd{ConnectionNumber(pDisplay), POLLIN, 0};
        poll(&fd, 1, 20);
    }
    XDestroyWindow(pDisplay, window);
    XCloseDisplay(pDisplay);
    return bytes;
}

// The targets another client offers, each with its bytes.
using Offers = std::vector<std::pair<std::string, std::vector<unsigned char>>>;

std::vector<unsigned char> BytesOf(const std::string& text)
{
    return std::vector<unsigned char>(text.begin(), text.end());
}

// Another X client holding the CLIPBOARD selection with data for some
// targets, serving requests on its own connection and thread until it ends.
class CForeignOwner
{
public:
    CForeignOwner(const std::string& displayName, Offers offers) : m_offers(std::move(offers))
    {
        std::promise<bool> owning;
        std::future<bool> bOwning = owning.get_future();
        m_thread = std::thread([this, displayName, p = std::move(owning)]() mutable
                               { Run(displayName, p); });
        m_bOwning = bOwning.get();
    }
    ~CForeignOwner()
    {
        m_bStop = true;
        m_thread.join();
    }
    bool IsOwning() const { return m_bOwning; }

private:
    void Run(const std::string& displayName, std::promise<bool>& owning)
    {
        Display* pDisplay = XOpenDisplay(displayName.c_str());
        if (pDisplay == nullptr)
        {
            owning.set_value(false);
            return;
        }
        const Window window =
            XCreateSimpleWindow(pDisplay, DefaultRootWindow(pDisplay), 0, 0, 1, 1, 0, 0, 0);
        const Atom clipboard = XInternAtom(pDisplay, "CLIPBOARD", False);
        XSetSelectionOwner(pDisplay, clipboard, window, CurrentTime);
        owning.set_value(XGetSelectionOwner(pDisplay, clipboard) == window);
        while (!m_bStop)
        {
            XEvent event{};
            if (XCheckTypedWindowEvent(pDisplay, window, SelectionRequest, &event))
            {
                Serve(pDisplay, event.xselectionrequest);
                continue;
            }
            pollfd fd{ConnectionNumber(pDisplay), POLLIN, 0};
            poll(&fd, 1, 20);
            XPending(pDisplay);
        }
        XDestroyWindow(pDisplay, window);
        XCloseDisplay(pDisplay);
    }

    void Serve(Display* pDisplay, const XSelectionRequestEvent& request)
    {
        const Atom targets = XInternAtom(pDisplay, "TARGETS", False);
        bool bServed = false;
        if (request.target == targets)
        {
            std::vector<Atom> offered{targets};
            for (const auto& offer : m_offers)
                offered.push_back(XInternAtom(pDisplay, offer.first.c_str(), False));
            XChangeProperty(pDisplay, request.requestor, request.property, XA_ATOM, 32,
                            PropModeReplace, reinterpret_cast<const unsigned char*>(offered.data()),
                            static_cast<int>(offered.size()));
            bServed = true;
        }
        for (const auto& offer : m_offers)
        {
            if (request.target != XInternAtom(pDisplay, offer.first.c_str(), False))
                continue;
            XChangeProperty(pDisplay, request.requestor, request.property, request.target, 8,
                            PropModeReplace, offer.second.data(),
                            static_cast<int>(offer.second.size()));
            bServed = true;
        }
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = request.requestor;
        reply.xselection.selection = request.selection;
        reply.xselection.target = request.target;
        reply.xselection.property = bServed ? request.property : None;
        reply.xselection.time = request.time;
        XSendEvent(pDisplay, request.requestor, False, NoEventMask, &reply);
        XFlush(pDisplay);
    }

    Offers m_offers;
    std::atomic<bool> m_bStop{false};
    bool m_bOwning = false;
    std::thread m_thread;
};

class X11ClipboardTest : public X11BackendTest
{
protected:
    void TearDown() override
    {
        UserResetClipboard();
        X11BackendTest::TearDown();
    }

    std::vector<unsigned char> Fetch(const char* pszTarget)
    {
        std::string name = DisplayString(Outside());
        auto fetched = std::async(std::launch::async, FetchAsOtherClient, name, pszTarget);
        EXPECT_TRUE(PumpUntil(
            [&]
            { return fetched.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
        return fetched.get();
    }

    static void Put(UINT nFormat, const void* pBytes, std::size_t cbBytes)
    {
        HGLOBAL hMem = GlobalAlloc(GMEM_MOVEABLE, cbBytes);
        std::memcpy(GlobalLock(hMem), pBytes, cbBytes);
        GlobalUnlock(hMem);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        SetClipboardData(nFormat, hMem);
        CloseClipboard();
    }
};

TEST_F(X11ClipboardTest, TextReachesAnotherClientAsUtf8)
{
    CScopedCodePage latin(1252);
    const char text[] = "clipboard caf\xE9";
    Put(CF_TEXT, text, sizeof(text));
    const std::vector<unsigned char> fetched = Fetch("UTF8_STRING");
    EXPECT_EQ(std::string(fetched.begin(), fetched.end()), "clipboard caf\xC3\xA9");
}

TEST_F(X11ClipboardTest, DibReachesAnotherClientAsBitmapFile)
{
    std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + 2 * 2 * 4);
    const BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 16, 0, 0, 0, 0};
    std::memcpy(dib.data(), &header, sizeof(header));
    for (std::size_t i = sizeof(header); i < dib.size(); ++i)
        dib[i] = static_cast<BYTE>(i * 7);
    Put(CF_DIB, dib.data(), dib.size());
    const std::vector<unsigned char> fetched = Fetch("image/bmp");
    ASSERT_EQ(fetched.size(), sizeof(BITMAPFILEHEADER) + dib.size());
    EXPECT_EQ(fetched[0], 'B');
    EXPECT_EQ(fetched[1], 'M');
    EXPECT_TRUE(std::equal(dib.begin(), dib.end(), fetched.begin() + sizeof(BITMAPFILEHEADER)));
}

TEST_F(X11ClipboardTest, TextOfAnotherClientIsReadInTheAnsiPage)
{
    CScopedCodePage latin(1252);
    CForeignOwner owner(DisplayString(Outside()),
                        {{"UTF8_STRING", BytesOf("na\xC3\xAFve \xE2\x82\xAC")}});
    ASSERT_TRUE(owner.IsOwning());
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE hText = GetClipboardData(CF_TEXT);
    ASSERT_NE(hText, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(hText)), "na\xEFve \x80");
    GlobalUnlock(hText);
    CloseClipboard();
}

// A bitmap file with a core header, as older programs write it: 2 x 2 pixels
// of 24 bits, bottom row first.
std::vector<unsigned char> CoreHeaderBitmapFile()
{
    const unsigned char file[] = {'B', 'M', 42, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 2, 0,
                                  2, 0, 1, 0, 24, 0,
                                  // bottom row: blue, green; then padding
                                  0xFF, 0, 0, 0, 0xFF, 0, 0, 0,
                                  // top row: red, white
                                  0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0};
    return std::vector<unsigned char>(std::begin(file), std::end(file));
}

TEST_F(X11ClipboardTest, ImageOfAnotherClientIsReadAsDib)
{
    CForeignOwner owner(DisplayString(Outside()), {{"image/bmp", CoreHeaderBitmapFile()}});
    ASSERT_TRUE(owner.IsOwning());
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE hDib = GetClipboardData(CF_DIB);
    ASSERT_NE(hDib, nullptr);
    const void* pDib = GlobalLock(hDib);
    PackedDibLayout layout;
    ASSERT_TRUE(ParsePackedDib(pDib, GlobalSize(hDib), layout));
    EXPECT_EQ(layout.nHeaderSize, sizeof(BITMAPINFOHEADER));
    ASSERT_EQ(layout.nWidth, 2);
    ASSERT_EQ(layout.nHeight, 2);
    std::uint32_t pixels[4] = {};
    ASSERT_TRUE(DecodePackedDib(pDib, layout, pixels));
    EXPECT_EQ(pixels[0], 0xFF0000u);
    EXPECT_EQ(pixels[1], 0xFFFFFFu);
    EXPECT_EQ(pixels[2], 0x0000FFu);
    EXPECT_EQ(pixels[3], 0x00FF00u);
    GlobalUnlock(hDib);
    CloseClipboard();
}

TEST_F(X11ClipboardTest, BrokenImageOfAnotherClientIsNoData)
{
    std::vector<unsigned char> broken = CoreHeaderBitmapFile();
    broken.resize(30);
    CForeignOwner owner(DisplayString(Outside()), {{"image/bmp", broken}});
    ASSERT_TRUE(owner.IsOwning());
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(GetClipboardData(CF_DIB), nullptr);
    CloseClipboard();
}
// The output of a shell command, as bytes.
std::vector<unsigned char> CommandOutput(const std::string& command)
{
    std::vector<unsigned char> output;
    FILE* pPipe = popen(command.c_str(), "r");
    if (pPipe == nullptr)
        return output;
    unsigned char buffer[4096];
    std::size_t nRead = 0;
    while ((nRead = std::fread(buffer, 1, sizeof(buffer), pPipe)) > 0)
        output.insert(output.end(), buffer, buffer + nRead);
    pclose(pPipe);
    return output;
}

TEST_F(X11ClipboardTest, PngOfAnotherClientPastesAsDibTransparencyOverWhite)
{
    // Made by ImageMagick: a green pixel beside a transparent one.
    const std::vector<unsigned char> png = CommandOutput(
        "convert -size 2x1 xc:none -fill '#00FF00' -draw 'point 0,0' PNG32:- 2>/dev/null");
    ASSERT_GT(png.size(), 8U);
    // Offered beside a bitmap file of other pixels: the PNG is the one read.
    CForeignOwner owner(DisplayString(Outside()),
                        {{"image/bmp", CoreHeaderBitmapFile()}, {"image/png", png}});
    ASSERT_TRUE(owner.IsOwning());
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE hDib = GetClipboardData(CF_DIB);
    ASSERT_NE(hDib, nullptr);
    const void* pDib = GlobalLock(hDib);
    PackedDibLayout layout;
    ASSERT_TRUE(ParsePackedDib(pDib, GlobalSize(hDib), layout));
    ASSERT_EQ(layout.nWidth, 2);
    ASSERT_EQ(layout.nHeight, 1);
    std::uint32_t pixels[2] = {};
    ASSERT_TRUE(DecodePackedDib(pDib, layout, pixels));
    EXPECT_EQ(pixels[0], 0x00FF00u);
    EXPECT_EQ(pixels[1], 0xFFFFFFu);
    GlobalUnlock(hDib);
    CloseClipboard();
}

TEST_F(X11ClipboardTest, DibReachesAnotherClientAsPngThatImageMagickReads)
{
    // 2 x 2, bottom row first: blue, green; red, white on top.
    std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + 2 * 2 * 4);
    const BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 16, 0, 0, 0, 0};
    std::memcpy(dib.data(), &header, sizeof(header));
    const std::uint32_t rows[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};
    std::memcpy(dib.data() + sizeof(header), rows, sizeof(rows));
    Put(CF_DIB, dib.data(), dib.size());
    const std::vector<unsigned char> png = Fetch("image/png");
    ASSERT_GT(png.size(), 8U);
    char path[] = "/tmp/clipboard-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, png.data(), png.size()), ssize_t(png.size()));
    close(fd);
    const std::vector<unsigned char> text =
        CommandOutput(std::string("convert png:") + path + " txt:- 2>/dev/null");
    unlink(path);
    const std::string listing(text.begin(), text.end());
    for (const char* pszPixel :
         {"0,0: (255,0,0)", "1,0: (255,255,255)", "0,1: (0,0,255)", "1,1: (0,255,0)"})
        EXPECT_NE(listing.find(pszPixel), std::string::npos) << pszPixel << "\n" << listing;
}
} // namespace
