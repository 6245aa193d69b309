// Drops from another X program: a client of the test plays a file manager
// and drags files over our window through XDND; a window that accepts files
// gets WM_DROPFILES with the paths, spaces and non-ASCII names included,
// and a window that does not is refused.
#include "OleDataStore.h"
#include "WinClipboard.h"
#include "WinDropFiles.h"
#include "WinGlobalMemory.h"
#include "WinOle.h"
#include "WinWindow.h"
#include "X11TestSupport.h"

#include "../LeftButtonDropSource.h"

#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>

#include <functional>
#include <future>
#include <poll.h>
#include <string>
#include <vector>

namespace
{
// What the dragging client heard back.
struct DragOutcome
{
    bool bStatus = false;
    bool bAccepted = false;
    bool bFinished = false;
    bool bDropAccepted = false;
    std::string action;
};

// Another client dragging a uri-list (and, with more than three types, a
// type list) from its own window to a point over the target window.
DragOutcome DragAsOtherClient(const std::string& displayName, Window target, POINT ptRoot,
                              std::string uriList, bool bManyTypes)
{
    DragOutcome outcome;
    Display* pDisplay = XOpenDisplay(displayName.c_str());
    if (pDisplay == nullptr)
        return outcome;
    const Window source =
        XCreateSimpleWindow(pDisplay, DefaultRootWindow(pDisplay), 0, 0, 1, 1, 0, 0, 0);
    const auto atom = [&](const char* pszName) { return XInternAtom(pDisplay, pszName, False); };
    const Atom selection = atom("XdndSelection");
    const Atom uriType = atom("text/uri-list");
    XSetSelectionOwner(pDisplay, selection, source, CurrentTime);
    const auto send = [&](const char* pszType, long l1, long l2, long l3, long l4)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = target;
        event.xclient.message_type = atom(pszType);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(source);
        event.xclient.data.l[1] = l1;
        event.xclient.data.l[2] = l2;
        event.xclient.data.l[3] = l3;
        event.xclient.data.l[4] = l4;
        XSendEvent(pDisplay, target, False, NoEventMask, &event);
        XFlush(pDisplay);
    };
    // Waits for a message of the type, serving data requests meanwhile.
    const auto await = [&](const char* pszType, XClientMessageEvent& reply)
    {
        for (int nWaited = 0; nWaited < 5000; nWaited += 10)
        {
            XEvent event{};
            while (XPending(pDisplay) > 0)
            {
                XNextEvent(pDisplay, &event);
                if (event.type == SelectionRequest)
                {
                    const XSelectionRequestEvent& request = event.xselectionrequest;
                    const bool bServed = request.target == uriType;
                    if (bServed)
                        XChangeProperty(pDisplay, request.requestor, request.property, uriType, 8,
                                        PropModeReplace,
                                        reinterpret_cast<const unsigned char*>(uriList.data()),
                                        static_cast<int>(uriList.size()));
                    XEvent notify{};
                    notify.xselection.type = SelectionNotify;
                    notify.xselection.requestor = request.requestor;
                    notify.xselection.selection = request.selection;
                    notify.xselection.target = request.target;
                    notify.xselection.property = bServed ? request.property : None;
                    notify.xselection.time = request.time;
                    XSendEvent(pDisplay, request.requestor, False, NoEventMask, &notify);
                    XFlush(pDisplay);
                }
                if (event.type == ClientMessage && event.xclient.message_type == atom(pszType))
                {
                    reply = event.xclient;
                    return true;
                }
            }
            pollfd fd{ConnectionNumber(pDisplay), POLLIN, 0};
            poll(&fd, 1, 10);
        }
        return false;
    };
    long nTypes = 5L << 24;
    long types[3] = {static_cast<long>(atom("text/x-moz-url")), static_cast<long>(uriType), 0};
    if (bManyTypes)
    {
        const Atom list[] = {atom("text/x-moz-url"), atom("application/x-kde-cutselection"),
                             atom("UTF8_STRING"), uriType};
        XChangeProperty(pDisplay, source, atom("XdndTypeList"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(list), 4);
        nTypes |= 1;
    }
    send("XdndEnter", nTypes, types[0], types[1], types[2]);
    send("XdndPosition", 0, (ptRoot.x << 16) | ptRoot.y, CurrentTime,
         static_cast<long>(atom("XdndActionCopy")));
    XClientMessageEvent reply{};
    outcome.bStatus = await("XdndStatus", reply);
    outcome.bAccepted = outcome.bStatus && (reply.data.l[1] & 1) != 0;
    if (outcome.bAccepted)
    {
        send("XdndDrop", 0, CurrentTime, 0, 0);
        outcome.bFinished = await("XdndFinished", reply);
        outcome.bDropAccepted = (reply.data.l[1] & 1) != 0;
        char* pszAction = reply.data.l[2] != 0
                              ? XGetAtomName(pDisplay, static_cast<Atom>(reply.data.l[2]))
                              : nullptr;
        outcome.action = pszAction != nullptr ? pszAction : "";
        if (pszAction != nullptr)
            XFree(pszAction);
    }
    else
    {
        send("XdndLeave", 0, 0, 0, 0);
    }
    XDestroyWindow(pDisplay, source);
    XCloseDisplay(pDisplay);
    return outcome;
}

class X11DropTest : public X11BackendTest
{
protected:
    void SetUp() override
    {
        X11BackendTest::SetUp();
        m_hTop = CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{100, 100, 500, 400});
        m_hFiles = CreateLoggedWindow(WS_CHILD | WS_VISIBLE, RECT{10, 10, 200, 200}, m_hTop);
        Settle();
    }

    DragOutcome Drag(HWND hOver, const std::string& uriList, bool bManyTypes = false)
    {
        POINT pt{20, 30};
        ClientToScreen(hOver, &pt);
        auto dragged =
            std::async(std::launch::async, DragAsOtherClient, std::string(DisplayString(Outside())),
                       XidOf(m_hTop), pt, uriList, bManyTypes);
        EXPECT_TRUE(PumpUntil(
            [&]
            { return dragged.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
        Settle();
        return dragged.get();
    }

    std::vector<std::string> DroppedPaths()
    {
        const LoggedMessage* pDrop = FindLogged(m_hFiles, WM_DROPFILES);
        if (pDrop == nullptr)
            return {};
        const auto hDrop = reinterpret_cast<HDROP>(pDrop->wParam);
        std::vector<std::string> paths = GetDropFilesPaths(hDrop);
        DragFinish(hDrop);
        return paths;
    }

    HWND m_hTop = nullptr;
    HWND m_hFiles = nullptr;
};

TEST_F(X11DropTest, FilesOfAnotherProgramArriveAsWmDropFiles)
{
    DragAcceptFiles(m_hFiles, TRUE);
    const DragOutcome outcome =
        Drag(m_hFiles, "# dragged\r\nfile:///tmp/two%20words.dcm\r\nfile://localhost/tmp/"
                       "%C3%A9t%C3%A9/caf%C3%A9.dcm\r\nhttp://example.org/x\r\n");
    EXPECT_TRUE(outcome.bAccepted);
    EXPECT_TRUE(outcome.bFinished);
    EXPECT_TRUE(outcome.bDropAccepted);
    EXPECT_EQ(outcome.action, "XdndActionCopy");
    EXPECT_EQ(DroppedPaths(), (std::vector<std::string>{"/tmp/two words.dcm",
                                                        "/tmp/\xC3\xA9t\xC3\xA9/caf\xC3\xA9.dcm"}));
}

TEST_F(X11DropTest, TypesBeyondThreeAreReadFromTheSourcesList)
{
    DragAcceptFiles(m_hFiles, TRUE);
    const DragOutcome outcome = Drag(m_hFiles, "file:///data/a.dcm\n", true);
    EXPECT_TRUE(outcome.bDropAccepted);
    EXPECT_EQ(DroppedPaths(), std::vector<std::string>{"/data/a.dcm"});
}

TEST_F(X11DropTest, AWindowThatTakesNoFilesRefusesTheDrag)
{
    const DragOutcome outcome = Drag(m_hFiles, "file:///tmp/a.dcm\r\n");
    EXPECT_TRUE(outcome.bStatus);
    EXPECT_FALSE(outcome.bAccepted);
    EXPECT_EQ(FindLogged(m_hFiles, WM_DROPFILES), nullptr);
}

// A drop target registered through OLE reads the files itself.
class CFileTarget final : public IDropTarget
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override
    {
        *ppv = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* pData, DWORD, POINTL,
                                        DWORD* pdwEffect) override
    {
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        *pdwEffect = pData->QueryGetData(&format) == S_OK ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* pdwEffect) override
    {
        *pdwEffect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* pData, DWORD, POINTL, DWORD* pdwEffect) override
    {
        const std::vector<BYTE> bytes = GetDataObjectBytes(pData, CF_HDROP);
        HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::copy(bytes.begin(), bytes.end(), static_cast<BYTE*>(GlobalLock(hBlock)));
        GlobalUnlock(hBlock);
        paths = GetDropFilesPaths(reinterpret_cast<HDROP>(hBlock));
        GlobalFree(hBlock);
        *pdwEffect = DROPEFFECT_COPY;
        return S_OK;
    }
    std::vector<std::string> paths;
};

TEST_F(X11DropTest, AnOleTargetReadsTheFilesOfTheDrop)
{
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    CFileTarget target;
    ASSERT_EQ(RegisterDragDrop(m_hFiles, &target), S_OK);
    const DragOutcome outcome = Drag(m_hFiles, "file:///srv/images/b.dcm\r\n");
    EXPECT_TRUE(outcome.bDropAccepted);
    EXPECT_EQ(target.paths, std::vector<std::string>{"/srv/images/b.dcm"});
    RevokeDragDrop(m_hFiles);
    OleUninitialize();
}
// Another program that takes drops: its window says so, it accepts copies
// and reads the files as a uri-list. It also plays the user, pressing on our
// window, dragging to its own and letting go, on its own connection.
struct TakenDrop
{
    bool bEntered = false;
    std::string types;
    std::string uriList;
    bool bFinishedSent = false;
};

TakenDrop TakeDropAsOtherClient(const std::string& displayName, POINT ptPress, RECT rcOwn)
{
    TakenDrop taken;
    Display* pDisplay = XOpenDisplay(displayName.c_str());
    if (pDisplay == nullptr)
        return taken;
    const auto atom = [&](const char* pszName) { return XInternAtom(pDisplay, pszName, False); };
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    const Window own =
        XCreateWindow(pDisplay, DefaultRootWindow(pDisplay), rcOwn.left, rcOwn.top,
                      rcOwn.right - rcOwn.left, rcOwn.bottom - rcOwn.top, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
    const long nVersion = 5;
    XChangeProperty(pDisplay, own, atom("XdndAware"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&nVersion), 1);
    XMapRaised(pDisplay, own);
    XSync(pDisplay, False);
    const POINT ptOwn{(rcOwn.left + rcOwn.right) / 2, (rcOwn.top + rcOwn.bottom) / 2};
    // The user's steps, one every 150 ms, while the protocol is served.
    const std::vector<std::function<void()>> steps{
        [&] { XTestFakeMotionEvent(pDisplay, -1, ptPress.x, ptPress.y, 0); },
        [&] { XTestFakeButtonEvent(pDisplay, 1, True, 0); },
        [&] { XTestFakeMotionEvent(pDisplay, -1, ptPress.x + 20, ptPress.y, 0); },
        [&] { XTestFakeMotionEvent(pDisplay, -1, ptOwn.x, ptOwn.y, 0); },
        [&] { XTestFakeMotionEvent(pDisplay, -1, ptOwn.x + 5, ptOwn.y, 0); },
        [&] { XTestFakeButtonEvent(pDisplay, 1, False, 0); },
    };
    std::size_t nStep = 0;
    Window source = 0;
    for (int nWaited = 0; nWaited < 8000 && !taken.bFinishedSent; nWaited += 10)
    {
        if (nStep < steps.size() && nWaited >= int(nStep + 1) * 150)
        {
            steps[nStep++]();
            XFlush(pDisplay);
        }
        while (XPending(pDisplay) > 0)
        {
            XEvent event{};
            XNextEvent(pDisplay, &event);
            if (event.type == SelectionNotify && event.xselection.property != None)
            {
                Atom type = None;
                int nFormat = 0;
                unsigned long nItems = 0;
                unsigned long nAfter = 0;
                unsigned char* pData = nullptr;
                XGetWindowProperty(pDisplay, own, event.xselection.property, 0, 1 << 16, True,
                                   AnyPropertyType, &type, &nFormat, &nItems, &nAfter, &pData);
                if (pData != nullptr)
                {
                    taken.uriList.assign(reinterpret_cast<const char*>(pData), nItems);
                    XFree(pData);
                }
                XEvent finished{};
                finished.xclient.type = ClientMessage;
                finished.xclient.window = source;
                finished.xclient.message_type = atom("XdndFinished");
                finished.xclient.format = 32;
                finished.xclient.data.l[0] = static_cast<long>(own);
                finished.xclient.data.l[1] = 1;
                finished.xclient.data.l[2] = static_cast<long>(atom("XdndActionCopy"));
                XSendEvent(pDisplay, source, False, NoEventMask, &finished);
                XFlush(pDisplay);
                taken.bFinishedSent = true;
            }
            if (event.type != ClientMessage)
                continue;
            const XClientMessageEvent& message = event.xclient;
            source = static_cast<Window>(message.data.l[0]);
            if (message.message_type == atom("XdndEnter"))
            {
                taken.bEntered = true;
                for (int i = 2; i < 5; ++i)
                {
                    if (message.data.l[i] == 0)
                        continue;
                    char* pszName = XGetAtomName(pDisplay, static_cast<Atom>(message.data.l[i]));
                    taken.types += std::string(pszName) + ";";
                    XFree(pszName);
                }
            }
            else if (message.message_type == atom("XdndPosition"))
            {
                XEvent status{};
                status.xclient.type = ClientMessage;
                status.xclient.window = source;
                status.xclient.message_type = atom("XdndStatus");
                status.xclient.format = 32;
                status.xclient.data.l[0] = static_cast<long>(own);
                status.xclient.data.l[1] = 1 | 2;
                status.xclient.data.l[4] = static_cast<long>(atom("XdndActionCopy"));
                XSendEvent(pDisplay, source, False, NoEventMask, &status);
                XFlush(pDisplay);
            }
            else if (message.message_type == atom("XdndDrop"))
            {
                XConvertSelection(pDisplay, atom("XdndSelection"), atom("text/uri-list"),
                                  atom("TAKEN"), own, static_cast<Time>(message.data.l[2]));
                XFlush(pDisplay);
            }
        }
        pollfd fd{ConnectionNumber(pDisplay), POLLIN, 0};
        poll(&fd, 1, 10);
    }
    XDestroyWindow(pDisplay, own);
    XCloseDisplay(pDisplay);
    return taken;
}

TEST_F(X11DropTest, FilesDraggedFromOurWindowReachAnotherProgramAsAUriList)
{
    HRESULT hr = E_FAIL;
    DWORD dwEffect = 0xFFFF;
    const std::vector<std::string> paths{"/tmp/a b.dcm", "/tmp/\xC3\xA9.dcm"};
    std::vector<LoggedMessage>& log = MessageLog();
    const std::size_t nFrom = log.size();
    POINT ptPress{30, 30};
    ClientToScreen(m_hFiles, &ptPress);
    auto taken =
        std::async(std::launch::async, TakeDropAsOtherClient, std::string(DisplayString(Outside())),
                   ptPress, RECT{600, 100, 800, 300});
    const bool bPressed = PumpUntil([&] { return FindLogged(m_hFiles, WM_LBUTTONDOWN, nFrom); });
    if (bPressed)
    {
        COleDataStore* pData = COleDataStore::Create();
        pData->SetGlobal(CF_HDROP, reinterpret_cast<HGLOBAL>(CreateDropFiles(paths, POINT{})));
        CLeftButtonDropSource source;
        hr = DoDragDrop(pData, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &dwEffect);
        pData->Release();
    }
    const TakenDrop drop = taken.get();
    ASSERT_TRUE(bPressed);
    EXPECT_TRUE(drop.bEntered);
    EXPECT_EQ(drop.types, "text/uri-list;UTF8_STRING;text/plain;charset=utf-8;");
    EXPECT_EQ(drop.uriList, "file:///tmp/a%20b.dcm\r\nfile:///tmp/%C3%A9.dcm\r\n");
    EXPECT_EQ(hr, DRAGDROP_S_DROP);
    EXPECT_EQ(dwEffect, DWORD(DROPEFFECT_COPY));
}
} // namespace
