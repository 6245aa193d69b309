#include "X11Backend.h"

#include "TextRecode.h"
#include "UserRawInput.h"
#include "WinCodePage.h"
#include "WinCursor.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinSync.h"
#include "WinSysMetrics.h"
#include "WinWindow.h"

#include "IconImage.h"
#include "X11Clipboard.h"
#include "X11Cursors.h"
#include "X11DragSource.h"
#include "X11DropTarget.h"
#include "X11ErrorTrap.h"
#include "X11ForeignWindows.h"
#include "X11ImagePusher.h"
#include "X11InputMethod.h"
#include "X11Keyboard.h"
#include "X11ScreenReader.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <optional>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
constexpr long kWindowEvents = ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask |
                               ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                               EnterWindowMask | FocusChangeMask | PropertyChangeMask;
constexpr unsigned kGrabEvents =
    ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
constexpr int kWheelDelta = 120;
constexpr std::size_t kMaxDamageRects = 8;

enum enAtom
{
    kWmProtocols,
    kWmDeleteWindow,
    kWmState,
    kNetWmPing,
    kNetWmName,
    kNetWmIconName,
    kUtf8String,
    kNetWmState,
    kNetWmStateMaximizedVert,
    kNetWmStateMaximizedHorz,
    kNetWmStateHidden,
    kNetActiveWindow,
    kNetSupported,
    kNetWmWindowType,
    kNetWmWindowTypeNormal,
    kNetWmWindowTypeDialog,
    kNetWmWindowTypePopupMenu,
    kNetWmPid,
    kNetWmIcon,
    kMotifWmHints,
    kNetWmMoveResize,
    kAtomCount
};

const char* const kAtomNames[kAtomCount] = {
    "WM_PROTOCOLS",
    "WM_DELETE_WINDOW",
    "WM_STATE",
    "_NET_WM_PING",
    "_NET_WM_NAME",
    "_NET_WM_ICON_NAME",
    "UTF8_STRING",
    "_NET_WM_STATE",
    "_NET_WM_STATE_MAXIMIZED_VERT",
    "_NET_WM_STATE_MAXIMIZED_HORZ",
    "_NET_WM_STATE_HIDDEN",
    "_NET_ACTIVE_WINDOW",
    "_NET_SUPPORTED",
    "_NET_WM_WINDOW_TYPE",
    "_NET_WM_WINDOW_TYPE_NORMAL",
    "_NET_WM_WINDOW_TYPE_DIALOG",
    "_NET_WM_WINDOW_TYPE_POPUP_MENU",
    "_NET_WM_PID",
    "_NET_WM_ICON",
    "_MOTIF_WM_HINTS",
    "_NET_WM_MOVERESIZE",
};

Window ToXid(HWND hWnd)
{
    return static_cast<Window>(reinterpret_cast<std::uintptr_t>(hWnd));
}

HWND ToHandle(Window xid)
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(xid));
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT UnionOf(const RECT& a, const RECT& b)
{
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

bool Overlap(const RECT& a, const RECT& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

DWORD StyleOf(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongPtrA(hWnd, GWL_STYLE));
}

// The display as the session of named objects: the name without its
// screen number, so that every screen of one display is one session.
std::string GetDisplaySession(Display* pDisplay)
{
    std::string name = DisplayString(pDisplay);
    const std::size_t colon = name.rfind(':');
    const std::size_t dot = name.find('.', colon == std::string::npos ? 0 : colon);
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

struct TopLevel
{
    bool bPopup = false;
    bool bSelfDrawn = false; // undecorated: caption and border are ours
    bool bMapped = false;    // we asked for it to show
    bool bIconic = false;    // the window manager iconified it
    bool bMaximized = false; // as last told to the window manager
    int nUnmapsExpected = 0;
    RECT rcShown{};           // as the X server has it, root coordinates
    std::vector<RECT> damage; // window coordinates

    // Whether the window manager frames it (and our caption and border are
    // left out of what the X window shows).
    bool IsFramed() const { return !bPopup && !bSelfDrawn; }
};

// The _NET_WM_MOVERESIZE direction of a hit code; -1 for none.
long MoveResizeDirection(int nHitTest)
{
    switch (nHitTest)
    {
    case HTTOPLEFT:
        return 0;
    case HTTOP:
        return 1;
    case HTTOPRIGHT:
        return 2;
    case HTRIGHT:
        return 3;
    case HTBOTTOMRIGHT:
        return 4;
    case HTBOTTOM:
        return 5;
    case HTBOTTOMLEFT:
        return 6;
    case HTLEFT:
        return 7;
    case HTCAPTION:
        return 8;
    default:
        return -1;
    }
}
} // namespace

struct CX11Backend::Impl
{
    Display* pDisplay = nullptr;
    std::string openError;
    Window root = 0;
    Visual* pVisual = nullptr;
    int nDepth = 0;
    Colormap colormap = 0;
    GC gc = nullptr;
    std::array<Atom, kAtomCount> atoms{};
    std::unique_ptr<CX11ImagePusher> pPusher;
    std::unique_ptr<CX11Cursors> pCursors;
    std::unique_ptr<CX11ForeignWindows> pForeign;
    std::unique_ptr<CX11Clipboard> pClipboard;
    std::unique_ptr<CX11InputMethod> pInputMethod;
    // A key press the input method took as part of a sequence: it goes out
    // with the text the sequence ends in, or with none.
    std::optional<XKeyEvent> pendingKey;
    std::unique_ptr<CX11DropTarget> pDropTarget;
    std::unique_ptr<CX11DragSource> pDragSource;
    std::map<Window, TopLevel> windows;
    Window grabbed = 0;
    Cursor cursor = 0;
    bool bActiveWindowSupported = false;
    // Changes the display made itself, applied to the layer: not sent back.
    int nApplyingDisplay = 0;
    Window focusLost = 0;
    int wakePipe[2] = {-1, -1};
    std::array<UINT, 256> keycodeVirtKeys{};
    bool bSelfDrawnFrames = false;

    bool Open(LPCSTR lpszDisplay, const Options& options);
    void Close();
    TopLevel* Find(HWND hWnd);
    void ReadSupported();
    void MapKeycodes();
    void SetWindowType(Window xid, Atom type);
    void SetSizeHints(HWND hWnd, Window xid, const TopLevel& top);
    void SetTitle(Window xid, LPCSTR lpszText);
    void SetIcon(HWND hWnd);
    void SetMaximizedProperty(Window xid, bool bMaximized);
    // Asks the window manager for no decorations (or its own again).
    void SetUndecorated(Window xid, bool bUndecorated);
    void SendNetState(Window xid, bool bAdd, Atom first, Atom second);
    void ApplyGeometry(HWND hWnd, TopLevel& top);
    void AddDamage(TopLevel& top, RECT rect);
    void OnShownResized(Window xid, TopLevel& top);
    void PushDamage(HWND hWnd, TopLevel& top);
    int ReadEvents();
    void HandleEvent(XEvent& event);
    void OnConfigure(Window xid, TopLevel& top);
    void OnClientMessage(const XClientMessageEvent& event);
    void OnFocus(const XFocusChangeEvent& event);
    void OnStateProperty(Window xid, TopLevel& top);
    void OnUnmap(Window xid, TopLevel& top);
    void OnKey(XKeyEvent& event);
    void QueueKey(XKeyEvent& event, const std::string& typed);
    void QueueCommittedText(const std::string& typed);
    void FlushPendingKey();
    void OnButton(const XButtonEvent& event);
    void FinishFocusChange();
    void DrainWakePipe();
    bool QueryPointer(POINT& pt, unsigned& mask);
};

bool CX11Backend::Impl::Open(LPCSTR lpszDisplay, const Options& options)
{
    bSelfDrawnFrames = options.bSelfDrawnFrames;
    pDisplay = XOpenDisplay(lpszDisplay);
    if (pDisplay == nullptr)
    {
        openError = std::string("cannot open the X display ") +
                    (lpszDisplay != nullptr ? lpszDisplay : XDisplayName(nullptr));
        return false;
    }
    InstallX11ErrorHandler();
    const int nScreen = DefaultScreen(pDisplay);
    root = RootWindow(pDisplay, nScreen);
    XVisualInfo info{};
    if (!XMatchVisualInfo(pDisplay, nScreen, 24, TrueColor, &info) || info.red_mask != 0xFF0000 ||
        info.green_mask != 0xFF00 || info.blue_mask != 0xFF)
    {
        openError = "the X display has no 24-bit true-colour visual";
        Close();
        return false;
    }
    pVisual = info.visual;
    nDepth = info.depth;
    colormap = XCreateColormap(pDisplay, root, pVisual, AllocNone);
    XInternAtoms(pDisplay, const_cast<char**>(kAtomNames), kAtomCount, False, atoms.data());
    pPusher =
        std::make_unique<CX11ImagePusher>(pDisplay, pVisual, nDepth, options.bUseSharedMemory);
    pCursors = std::make_unique<CX11Cursors>(pDisplay);
    pClipboard = std::make_unique<CX11Clipboard>(pDisplay);
    pInputMethod = std::make_unique<CX11InputMethod>(pDisplay);
    pDropTarget = std::make_unique<CX11DropTarget>(pDisplay);
    pDragSource = std::make_unique<CX11DragSource>(pDisplay);
    Bool bDetectable = False;
    XkbSetDetectableAutoRepeat(pDisplay, True, &bDetectable);
    MapKeycodes();
    ReadSupported();
    XSelectInput(pDisplay, root, PropertyChangeMask);
    if (pipe2(wakePipe, O_NONBLOCK | O_CLOEXEC) != 0)
        wakePipe[0] = wakePipe[1] = -1;
    SetNamedObjectSession(GetDisplaySession(pDisplay).c_str());
    // A window manager that starts after this sees us listening already.
    XSync(pDisplay, False);
    return true;
}

void CX11Backend::Impl::Close()
{
    if (pDisplay == nullptr)
        return;
    for (const auto& [xid, top] : windows)
        XDestroyWindow(pDisplay, xid);
    windows.clear();
    pForeign.reset();
    pInputMethod.reset();
    pDragSource.reset();
    pDropTarget.reset();
    pClipboard.reset();
    pCursors.reset();
    pPusher.reset();
    if (gc != nullptr)
        XFreeGC(pDisplay, gc);
    if (colormap != 0)
        XFreeColormap(pDisplay, colormap);
    XCloseDisplay(pDisplay);
    pDisplay = nullptr;
    for (int& fd : wakePipe)
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
}

TopLevel* CX11Backend::Impl::Find(HWND hWnd)
{
    const auto it = windows.find(ToXid(hWnd));
    return it != windows.end() ? &it->second : nullptr;
}

void CX11Backend::Impl::ReadSupported()
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* pData = nullptr;
    bActiveWindowSupported = false;
    if (XGetWindowProperty(pDisplay, root, atoms[kNetSupported], 0, 4096, False, XA_ATOM, &type,
                           &format, &count, &after, &pData) == Success &&
        pData != nullptr && format == 32)
    {
        const auto* pAtoms = reinterpret_cast<const Atom*>(pData);
        bActiveWindowSupported =
            std::find(pAtoms, pAtoms + count, atoms[kNetActiveWindow]) != pAtoms + count;
    }
    if (pData != nullptr)
        XFree(pData);
}

void CX11Backend::Impl::MapKeycodes()
{
    keycodeVirtKeys.fill(0);
    int nMin = 0;
    int nMax = 0;
    XDisplayKeycodes(pDisplay, &nMin, &nMax);
    for (int code = std::max(nMin, 0); code <= std::min(nMax, 255); ++code)
    {
        XKeyEvent probe{};
        probe.type = KeyPress;
        probe.display = pDisplay;
        probe.keycode = static_cast<unsigned>(code);
        keycodeVirtKeys[std::size_t(code)] = GetX11VirtualKey(pDisplay, probe);
    }
}

void CX11Backend::Impl::SetWindowType(Window xid, Atom type)
{
    XChangeProperty(pDisplay, xid, atoms[kNetWmWindowType], XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&type), 1);
}

void CX11Backend::Impl::SetSizeHints(HWND hWnd, Window xid, const TopLevel& top)
{
    XSizeHints* pHints = XAllocSizeHints();
    if (pHints == nullptr)
        return;
    // Static gravity: the position we give is where our part of the window
    // goes, whatever frame the window manager puts around it.
    pHints->flags = PPosition | USPosition | PWinGravity | PMinSize;
    pHints->x = top.rcShown.left;
    pHints->y = top.rcShown.top;
    pHints->win_gravity = StaticGravity;
    MINMAXINFO info{};
    info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    SendMessageA(hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT rcWindow{};
    RECT rcShown{};
    GetWindowRect(hWnd, &rcWindow);
    UserGetShownRect(hWnd, top.IsFramed(), &rcShown);
    const int frameX = (rcWindow.right - rcWindow.left) - (rcShown.right - rcShown.left);
    const int frameY = (rcWindow.bottom - rcWindow.top) - (rcShown.bottom - rcShown.top);
    pHints->min_width = std::max(1, static_cast<int>(info.ptMinTrackSize.x) - frameX);
    pHints->min_height = std::max(1, static_cast<int>(info.ptMinTrackSize.y) - frameY);
    XSetWMNormalHints(pDisplay, xid, pHints);
    XFree(pHints);
}

void CX11Backend::Impl::SetTitle(Window xid, LPCSTR lpszText)
{
    const std::string title = Recode(lpszText != nullptr ? lpszText : "", GetACP(), CP_UTF8);
    for (const enAtom name : {kNetWmName, kNetWmIconName})
        XChangeProperty(pDisplay, xid, atoms[name], atoms[kUtf8String], 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.c_str()),
                        static_cast<int>(title.size()));
    char* pTitle = const_cast<char*>(title.c_str());
    XTextProperty property{};
    if (Xutf8TextListToTextProperty(pDisplay, &pTitle, 1, XStdICCTextStyle, &property) >= Success)
    {
        XSetWMName(pDisplay, xid, &property);
        XSetWMIconName(pDisplay, xid, &property);
        XFree(property.value);
    }
}

void CX11Backend::Impl::SetIcon(HWND hWnd)
{
    const auto hIcon = reinterpret_cast<HICON>(GetClassLongPtrA(hWnd, GCLP_HICON));
    IconImage image;
    if (hIcon == nullptr || !GetIconImage(hIcon, image))
        return;
    // Width, height and the ARGB pixels, each a CARDINAL, which Xlib keeps
    // in a long.
    std::vector<long> data{image.nWidth, image.nHeight};
    for (std::size_t i = 0; i < image.colors.size(); ++i)
        data.push_back(image.transparent[i] ? 0L
                                            : static_cast<long>(0xFF000000u | image.colors[i]));
    XChangeProperty(pDisplay, ToXid(hWnd), atoms[kNetWmIcon], XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data.data()),
                    static_cast<int>(data.size()));
}

void CX11Backend::Impl::SetMaximizedProperty(Window xid, bool bMaximized)
{
    const Atom states[] = {atoms[kNetWmStateMaximizedVert], atoms[kNetWmStateMaximizedHorz]};
    XChangeProperty(pDisplay, xid, atoms[kNetWmState], XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states), bMaximized ? 2 : 0);
}

void CX11Backend::Impl::SetUndecorated(Window xid, bool bUndecorated)
{
    if (!bUndecorated)
    {
        XDeleteProperty(pDisplay, xid, atoms[kMotifWmHints]);
        return;
    }
    // flags (decorations given), functions, decorations (none), input
    // mode, status.
    const long hints[5] = {2, 0, 0, 0, 0};
    XChangeProperty(pDisplay, xid, atoms[kMotifWmHints], atoms[kMotifWmHints], 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
}

void CX11Backend::Impl::SendNetState(Window xid, bool bAdd, Atom first, Atom second)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = xid;
    event.xclient.message_type = atoms[kNetWmState];
    event.xclient.format = 32;
    event.xclient.data.l[0] = bAdd ? 1 : 0;
    event.xclient.data.l[1] = static_cast<long>(first);
    event.xclient.data.l[2] = static_cast<long>(second);
    event.xclient.data.l[3] = 1;
    XSendEvent(pDisplay, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

void CX11Backend::Impl::ApplyGeometry(HWND hWnd, TopLevel& top)
{
    // What the display did itself is not sent back: it has it already.
    if (nApplyingDisplay > 0)
        return;
    const DWORD dwStyle = StyleOf(hWnd);
    if (dwStyle & WS_MINIMIZE)
    {
        if (top.bMapped && !top.bIconic)
            XIconifyWindow(pDisplay, ToXid(hWnd), DefaultScreen(pDisplay));
        return;
    }
    if (top.bIconic && top.bMapped)
    {
        top.bIconic = false;
        XMapWindow(pDisplay, ToXid(hWnd));
    }
    const bool bMaximized = (dwStyle & WS_MAXIMIZE) != 0;
    if (!top.bPopup && bMaximized != top.bMaximized)
    {
        top.bMaximized = bMaximized;
        if (top.bMapped)
            SendNetState(ToXid(hWnd), bMaximized, atoms[kNetWmStateMaximizedVert],
                         atoms[kNetWmStateMaximizedHorz]);
        else
            SetMaximizedProperty(ToXid(hWnd), bMaximized);
    }
    RECT rcShown{};
    if (!UserGetShownRect(hWnd, top.IsFramed(), &rcShown) || SameRect(rcShown, top.rcShown))
        return;
    const bool bSized = rcShown.right - rcShown.left != top.rcShown.right - top.rcShown.left ||
                        rcShown.bottom - rcShown.top != top.rcShown.bottom - top.rcShown.top;
    top.rcShown = rcShown;
    if (bSized)
        OnShownResized(ToXid(hWnd), top);
    XMoveResizeWindow(pDisplay, ToXid(hWnd), rcShown.left, rcShown.top,
                      static_cast<unsigned>(std::max(1L, long(rcShown.right - rcShown.left))),
                      static_cast<unsigned>(std::max(1L, long(rcShown.bottom - rcShown.top))));
}

void CX11Backend::Impl::OnShownResized(Window xid, TopLevel& top)
{
    // Damage kept for the old size may pass the new one, and a part never
    // shown before (our own frame, once undecorated) may show now: all of
    // it goes again.
    pPusher->Forget(xid);
    top.damage.clear();
    AddDamage(top, RECT{0, 0, top.rcShown.right - top.rcShown.left,
                        top.rcShown.bottom - top.rcShown.top});
}

void CX11Backend::Impl::AddDamage(TopLevel& top, RECT rect)
{
    const RECT bounds{0, 0, top.rcShown.right - top.rcShown.left,
                      top.rcShown.bottom - top.rcShown.top};
    rect = RECT{std::max(rect.left, bounds.left), std::max(rect.top, bounds.top),
                std::min(rect.right, bounds.right), std::min(rect.bottom, bounds.bottom)};
    if (rect.left >= rect.right || rect.top >= rect.bottom)
        return;
    for (RECT& existing : top.damage)
    {
        if (Overlap(existing, rect))
        {
            existing = UnionOf(existing, rect);
            return;
        }
    }
    if (top.damage.size() == kMaxDamageRects)
    {
        for (std::size_t i = 1; i < top.damage.size(); ++i)
            top.damage[0] = UnionOf(top.damage[0], top.damage[i]);
        top.damage.resize(1);
        top.damage[0] = UnionOf(top.damage[0], rect);
        return;
    }
    top.damage.push_back(rect);
}

void CX11Backend::Impl::PushDamage(HWND hWnd, TopLevel& top)
{
    if (top.damage.empty() || !top.bMapped)
        return;
    const GdiSurfaceInfo surface = UserGetTopLevelSurface(hWnd);
    RECT rcWindow{};
    GetWindowRect(hWnd, &rcWindow);
    const POINT origin{top.rcShown.left - rcWindow.left, top.rcShown.top - rcWindow.top};
    const SIZE size{top.rcShown.right - top.rcShown.left, top.rcShown.bottom - top.rcShown.top};
    if (gc == nullptr)
        gc = XCreateGC(pDisplay, ToXid(hWnd), 0, nullptr);
    for (const RECT& rect : top.damage)
        pPusher->Push(ToXid(hWnd), gc, surface, origin, size, rect);
    top.damage.clear();
}

int CX11Backend::Impl::ReadEvents()
{
    int nCount = 0;
    while (XPending(pDisplay) > 0)
    {
        XEvent event;
        XNextEvent(pDisplay, &event);
        ++nCount;
        if (pInputMethod->Filter(event))
        {
            if (event.type == KeyPress && event.xkey.keycode != 0)
            {
                FlushPendingKey();
                pendingKey = event.xkey;
            }
            continue;
        }
        HandleEvent(event);
    }
    FinishFocusChange();
    return nCount;
}

void CX11Backend::Impl::HandleEvent(XEvent& event)
{
    if (pClipboard->HandleEvent(event) || pDragSource->HandleEvent(event))
        return;
    if (event.type == MappingNotify)
    {
        XRefreshKeyboardMapping(&event.xmapping);
        MapKeycodes();
        return;
    }
    if (event.type == PropertyNotify && event.xproperty.window == root)
    {
        if (event.xproperty.atom == atoms[kNetSupported])
            ReadSupported();
        return;
    }
    const auto it = windows.find(event.xany.window);
    if (it == windows.end())
        return;
    const Window xid = it->first;
    TopLevel& top = it->second;
    switch (event.type)
    {
    case Expose:
        AddDamage(top, RECT{event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                            event.xexpose.y + event.xexpose.height});
        break;
    case ConfigureNotify:
        if (!top.bPopup)
            OnConfigure(xid, top);
        break;
    case ClientMessage:
        OnClientMessage(event.xclient);
        break;
    case FocusIn:
    case FocusOut:
        OnFocus(event.xfocus);
        break;
    case MapNotify:
        if (top.bIconic)
        {
            top.bIconic = false;
            ++nApplyingDisplay;
            ShowWindow(ToHandle(xid), SW_RESTORE);
            --nApplyingDisplay;
            // The window manager's size, not the layer's memory, wins.
            OnConfigure(xid, top);
        }
        break;
    case UnmapNotify:
        OnUnmap(xid, top);
        break;
    case PropertyNotify:
        if (event.xproperty.atom == atoms[kNetWmState])
            OnStateProperty(xid, top);
        break;
    case KeyPress:
    case KeyRelease:
        OnKey(event.xkey);
        break;
    case ButtonPress:
    case ButtonRelease:
        OnButton(event.xbutton);
        break;
    case MotionNotify:
        UserQueueMouseMove(POINT{event.xmotion.x_root, event.xmotion.y_root});
        break;
    case EnterNotify:
        if (event.xcrossing.mode == NotifyNormal)
            UserQueueMouseMove(POINT{event.xcrossing.x_root, event.xcrossing.y_root});
        break;
    default:
        break;
    }
}

void CX11Backend::Impl::OnConfigure(Window xid, TopLevel& top)
{
    const HWND hWnd = ToHandle(xid);
    if (top.bIconic || (StyleOf(hWnd) & WS_MINIMIZE))
        return;
    // Under a reparenting window manager the event's position is relative to
    // its frame: ask where the window really is.
    XWindowAttributes attributes{};
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XGetWindowAttributes(pDisplay, xid, &attributes) ||
        !XTranslateCoordinates(pDisplay, xid, root, 0, 0, &x, &y, &child))
        return;
    const RECT rcShown{x, y, x + attributes.width, y + attributes.height};
    const bool bSized = rcShown.right - rcShown.left != top.rcShown.right - top.rcShown.left ||
                        rcShown.bottom - rcShown.top != top.rcShown.bottom - top.rcShown.top;
    top.rcShown = rcShown;
    if (bSized)
        OnShownResized(xid, top);
    ++nApplyingDisplay;
    UserMoveShownRect(hWnd, top.IsFramed(), rcShown);
    --nApplyingDisplay;
}

void CX11Backend::Impl::OnClientMessage(const XClientMessageEvent& event)
{
    if (pForeign != nullptr && pForeign->HandleRequest(event))
        return;
    if (pDropTarget->HandleClientMessage(event))
        return;
    if (event.message_type != atoms[kWmProtocols] || event.format != 32)
        return;
    const auto protocol = static_cast<Atom>(event.data.l[0]);
    if (protocol == atoms[kNetWmPing])
    {
        XEvent reply{};
        reply.xclient = event;
        reply.xclient.window = root;
        XSendEvent(pDisplay, root, False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &reply);
        return;
    }
    const HWND hWnd = ToHandle(event.window);
    // A window disabled under a modal window ignores its close box.
    if (protocol == atoms[kWmDeleteWindow] && IsWindowEnabled(hWnd))
        PostMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CX11Backend::Impl::OnFocus(const XFocusChangeEvent& event)
{
    if (event.mode == NotifyGrab || event.mode == NotifyUngrab || event.detail == NotifyPointer ||
        event.detail == NotifyInferior)
        return;
    pInputMethod->SetFocus(event.window, event.type == FocusIn);
    if (event.type == FocusOut)
    {
        focusLost = event.window;
        return;
    }
    focusLost = 0;
    const HWND hWnd = ToHandle(event.window);
    if (GetActiveWindow() == hWnd || !IsWindowEnabled(hWnd))
        return;
    ++nApplyingDisplay;
    SetActiveWindow(hWnd);
    --nApplyingDisplay;
}

void CX11Backend::Impl::FinishFocusChange()
{
    // Focus leaving for a window of another client: nothing of ours is active.
    const Window lost = focusLost;
    focusLost = 0;
    if (lost == 0 || GetActiveWindow() != ToHandle(lost))
        return;
    ++nApplyingDisplay;
    SetActiveWindow(nullptr);
    --nApplyingDisplay;
}

void CX11Backend::Impl::OnUnmap(Window xid, TopLevel& top)
{
    if (top.nUnmapsExpected > 0)
    {
        --top.nUnmapsExpected;
        return;
    }
    // Not asked by us: the window manager iconified the window.
    if (top.bPopup || top.bIconic)
        return;
    top.bIconic = true;
    ++nApplyingDisplay;
    ShowWindow(ToHandle(xid), SW_SHOWMINNOACTIVE);
    --nApplyingDisplay;
}

void CX11Backend::Impl::OnStateProperty(Window xid, TopLevel& top)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* pData = nullptr;
    int nMaximized = 0;
    if (XGetWindowProperty(pDisplay, xid, atoms[kNetWmState], 0, 64, False, XA_ATOM, &type, &format,
                           &count, &after, &pData) == Success &&
        pData != nullptr && format == 32)
    {
        const auto* pStates = reinterpret_cast<const Atom*>(pData);
        nMaximized =
            static_cast<int>(std::count_if(pStates, pStates + count,
                                           [this](Atom state) {
                                               return state == atoms[kNetWmStateMaximizedVert] ||
                                                      state == atoms[kNetWmStateMaximizedHorz];
                                           }));
    }
    if (pData != nullptr)
        XFree(pData);
    const bool bMaximized = nMaximized == 2;
    const HWND hWnd = ToHandle(xid);
    if (bMaximized == top.bMaximized || top.bIconic)
        return;
    top.bMaximized = bMaximized;
    if (bMaximized == (IsZoomed(hWnd) != FALSE))
        return;
    ++nApplyingDisplay;
    ShowWindow(hWnd, bMaximized ? SW_SHOWMAXIMIZED : SW_RESTORE);
    --nApplyingDisplay;
    // The window manager's size, not the layer's guess, wins.
    OnConfigure(xid, top);
}

void CX11Backend::Impl::OnKey(XKeyEvent& event)
{
    KeySym sym = NoSymbol;
    const std::string typed =
        event.type == KeyPress ? pInputMethod->LookupText(event, sym) : std::string();
    // Key code 0: the text an input method made of the keys before.
    if (event.keycode == 0)
    {
        if (pendingKey)
        {
            XKeyEvent key = *pendingKey;
            pendingKey.reset();
            QueueKey(key, typed);
        }
        else
            QueueCommittedText(typed);
        return;
    }
    FlushPendingKey();
    // Delete types nothing, as on the keyboards the layer stands for.
    QueueKey(event, sym == XK_Delete || sym == XK_KP_Delete ? std::string() : typed);
}

void CX11Backend::Impl::QueueKey(XKeyEvent& event, const std::string& typed)
{
    const UINT nVirtKey = GetX11VirtualKey(pDisplay, event);
    if (nVirtKey == 0)
        return;
    KeyStroke stroke = GetX11ScanCode(event.keycode);
    if (stroke.nScanCode == 0)
        stroke =
            KeyStroke{static_cast<BYTE>(MapVirtualKeyA(nVirtKey, MAPVK_VK_TO_VSC)), false, nullptr};
    const bool bDown = event.type == KeyPress;
    // AltGr is right Alt with left Ctrl, as Windows reports it, so that the
    // characters it types come as WM_CHAR, not as Alt menu keys.
    const bool bAltGr = IsX11AltGr(pDisplay, event);
    const KeyStroke control = GetX11ScanCode(kLeftControlKeycode);
    if (bAltGr && bDown)
        UserQueueKeyStroke(VK_LCONTROL, true, control);
    const std::string text = Recode(typed, CP_UTF8, GetACP());
    if (bDown)
        stroke.pszText = text.c_str();
    UserQueueKeyStroke(nVirtKey, bDown, stroke);
    if (bAltGr && !bDown)
        UserQueueKeyStroke(VK_LCONTROL, false, control);
}

// Text without a key of its own (a word an input-method server committed)
// comes as the packet key, as Windows delivers such text.
void CX11Backend::Impl::QueueCommittedText(const std::string& typed)
{
    if (typed.empty())
        return;
    const std::string text = Recode(typed, CP_UTF8, GetACP());
    UserQueueKeyStroke(kVirtKeyPacket, true, KeyStroke{0, false, text.c_str()});
    UserQueueKeyStroke(kVirtKeyPacket, false, KeyStroke{0, false, nullptr});
}

// A key the input method kept that ended no sequence (a dead key): it
// goes out typing nothing.
void CX11Backend::Impl::FlushPendingKey()
{
    if (!pendingKey)
        return;
    XKeyEvent key = *pendingKey;
    pendingKey.reset();
    QueueKey(key, std::string());
}

void CX11Backend::Impl::OnButton(const XButtonEvent& event)
{
    const POINT pt{event.x_root, event.y_root};
    const bool bDown = event.type == ButtonPress;
    switch (event.button)
    {
    case Button1:
        UserQueueMouseButton(enMouseButton::Left, bDown, pt);
        break;
    case Button2:
        UserQueueMouseButton(enMouseButton::Middle, bDown, pt);
        break;
    case Button3:
        UserQueueMouseButton(enMouseButton::Right, bDown, pt);
        break;
    case Button4:
    case Button5:
        if (bDown)
            UserQueueMouseWheel(event.button == Button4 ? kWheelDelta : -kWheelDelta, pt);
        break;
    default:
        break;
    }
}

void CX11Backend::Impl::DrainWakePipe()
{
    char bytes[64];
    while (wakePipe[0] >= 0 && read(wakePipe[0], bytes, sizeof(bytes)) > 0)
    {
    }
}

bool CX11Backend::Impl::QueryPointer(POINT& pt, unsigned& mask)
{
    Window rootReturn = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    if (!XQueryPointer(pDisplay, root, &rootReturn, &child, &rootX, &rootY, &x, &y, &mask))
        return false;
    pt = POINT{rootX, rootY};
    return true;
}

CX11Backend::CX11Backend(LPCSTR lpszDisplay) : CX11Backend(lpszDisplay, Options{}) {}

CX11Backend::CX11Backend(LPCSTR lpszDisplay, const Options& options) : m(std::make_unique<Impl>())
{
    if (m->Open(lpszDisplay, options))
        m->pForeign = std::make_unique<CX11ForeignWindows>(m->pDisplay, *this);
}

CX11Backend::~CX11Backend()
{
    m->Close();
}

bool CX11Backend::IsOpen() const
{
    return m->pDisplay != nullptr;
}

LPCSTR CX11Backend::GetOpenError() const
{
    return m->openError.c_str();
}

bool CX11Backend::IsUsingSharedMemory() const
{
    return m->pPusher != nullptr && m->pPusher->IsUsingShm();
}

void CX11Backend::ReadScreen(const RECT& rcScreen, const GdiSurfaceInfo& screen)
{
    if (!IsOpen())
        return CDisplayBackend::ReadScreen(rcScreen, screen);
    Flush();
    XSync(m->pDisplay, False);
    FillDesktop(rcScreen, screen);
    ReadX11Screen(m->pDisplay, m->root, rcScreen, screen);
}

void CX11Backend::Sync()
{
    if (!IsOpen())
        return;
    Flush();
    XSync(m->pDisplay, False);
    m->ReadEvents();
}

void CX11Backend::OnInstalled()
{
    if (!IsOpen())
        return CDisplayBackend::OnInstalled();
    const Screen* pScreen = DefaultScreenOfDisplay(m->pDisplay);
    UserSetScreenSize(WidthOfScreen(pScreen), HeightOfScreen(pScreen));
}

void CX11Backend::Wake()
{
    if (m->wakePipe[1] >= 0)
    {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = write(m->wakePipe[1], &byte, 1);
    }
}

HWND CX11Backend::CreateTopLevelHandle(DWORD dwStyle, DWORD, HWND hOwner)
{
    if (!IsOpen())
        return nullptr;
    Impl& x = *m;
    const bool bPopup = (dwStyle & WS_CAPTION) != WS_CAPTION;
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;
    attributes.border_pixel = 0;
    attributes.colormap = x.colormap;
    attributes.event_mask = kWindowEvents;
    attributes.bit_gravity = NorthWestGravity;
    attributes.override_redirect = bPopup ? True : False;
    attributes.save_under = bPopup ? True : False;
    const Window xid =
        XCreateWindow(x.pDisplay, x.root, 0, 0, 1, 1, 0, x.nDepth, InputOutput, x.pVisual,
                      CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask | CWBitGravity |
                          CWOverrideRedirect | CWSaveUnder,
                      &attributes);
    if (xid == 0)
        return nullptr;
    TopLevel top;
    top.bPopup = bPopup;
    top.bSelfDrawn = !bPopup && x.bSelfDrawnFrames;
    x.windows.emplace(xid, top);
    x.pForeign->MarkOwnWindow(xid);
    x.pInputMethod->Attach(xid);
    if (bPopup)
    {
        x.SetWindowType(xid, x.atoms[kNetWmWindowTypePopupMenu]);
        return ToHandle(xid);
    }
    x.pDropTarget->MarkWindow(xid);
    Atom protocols[] = {x.atoms[kWmDeleteWindow], x.atoms[kNetWmPing]};
    XSetWMProtocols(x.pDisplay, xid, protocols, 2);
    const long pid = getpid();
    XChangeProperty(x.pDisplay, xid, x.atoms[kNetWmPid], XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    XWMHints* pHints = XAllocWMHints();
    if (pHints != nullptr)
    {
        pHints->flags = InputHint | StateHint;
        pHints->input = True;
        pHints->initial_state = NormalState;
        XSetWMHints(x.pDisplay, xid, pHints);
        XFree(pHints);
    }
    XClassHint classHint{const_cast<char*>("pelivo"), const_cast<char*>("Pelivo")};
    XSetClassHint(x.pDisplay, xid, &classHint);
    const bool bOwned = hOwner != nullptr && x.Find(hOwner) != nullptr;
    if (bOwned)
        XSetTransientForHint(x.pDisplay, xid, ToXid(hOwner));
    x.SetWindowType(xid, x.atoms[bOwned ? kNetWmWindowTypeDialog : kNetWmWindowTypeNormal]);
    if (top.bSelfDrawn)
        x.SetUndecorated(xid, true);
    return ToHandle(xid);
}

void CX11Backend::OnTopLevelCreated(HWND hWnd)
{
    TopLevel* top = m->Find(hWnd);
    if (top == nullptr)
        return;
    m->ApplyGeometry(hWnd, *top);
    char title[1024] = "";
    GetWindowTextA(hWnd, title, sizeof(title));
    if (!top->bPopup)
    {
        m->SetTitle(ToXid(hWnd), title);
        m->SetIcon(hWnd);
    }
    XDefineCursor(m->pDisplay, ToXid(hWnd), m->cursor);
}

void CX11Backend::OnTopLevelFrameChanged(HWND hWnd)
{
    TopLevel* top = m->Find(hWnd);
    if (top == nullptr || top->bPopup)
        return;
    const bool bSelfDrawn = m->bSelfDrawnFrames || UserIsSelfDrawnFrame(hWnd);
    if (bSelfDrawn == top->bSelfDrawn)
        return;
    top->bSelfDrawn = bSelfDrawn;
    m->SetUndecorated(ToXid(hWnd), bSelfDrawn);
    m->ApplyGeometry(hWnd, *top);
    m->SetSizeHints(hWnd, ToXid(hWnd), *top);
    XFlush(m->pDisplay);
}

bool CX11Backend::BeginMoveSize(HWND hWnd, int nHitTest, POINT ptScreen)
{
    const TopLevel* top = m->Find(hWnd);
    const long nDirection = MoveResizeDirection(nHitTest);
    if (top == nullptr || !top->bSelfDrawn || !top->bMapped || nDirection < 0)
        return false;
    // The window manager takes the pointer from here: ours lets it go.
    if (m->grabbed != 0)
    {
        XUngrabPointer(m->pDisplay, CurrentTime);
        m->grabbed = 0;
    }
    ReleaseCapture();
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = ToXid(hWnd);
    event.xclient.message_type = m->atoms[kNetWmMoveResize];
    event.xclient.format = 32;
    event.xclient.data.l[0] = ptScreen.x;
    event.xclient.data.l[1] = ptScreen.y;
    event.xclient.data.l[2] = nDirection;
    event.xclient.data.l[3] = Button1;
    event.xclient.data.l[4] = 1; // asked by an application
    XSendEvent(m->pDisplay, m->root, False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    XFlush(m->pDisplay);
    return true;
}

void CX11Backend::OnTopLevelDestroyed(HWND hWnd)
{
    const Window xid = ToXid(hWnd);
    if (m->Find(hWnd) == nullptr)
        return;
    if (m->grabbed == xid)
    {
        XUngrabPointer(m->pDisplay, CurrentTime);
        m->grabbed = 0;
    }
    m->pPusher->Forget(xid);
    m->pInputMethod->Detach(xid);
    XDestroyWindow(m->pDisplay, xid);
    m->windows.erase(xid);
    if (m->focusLost == xid)
        m->focusLost = 0;
    XFlush(m->pDisplay);
}

void CX11Backend::OnTopLevelShown(HWND hWnd, bool bShown)
{
    TopLevel* top = m->Find(hWnd);
    if (top == nullptr || top->bMapped == bShown)
        return;
    const Window xid = ToXid(hWnd);
    top->bMapped = bShown;
    if (!bShown)
    {
        ++top->nUnmapsExpected;
        if (top->bPopup)
            XUnmapWindow(m->pDisplay, xid);
        else
            XWithdrawWindow(m->pDisplay, xid, DefaultScreen(m->pDisplay));
        top->bIconic = false;
        XFlush(m->pDisplay);
        return;
    }
    m->ApplyGeometry(hWnd, *top);
    if (!top->bPopup)
        m->SetSizeHints(hWnd, xid, *top);
    XMapRaised(m->pDisplay, xid);
    m->AddDamage(*top, RECT{0, 0, top->rcShown.right - top->rcShown.left,
                            top->rcShown.bottom - top->rcShown.top});
    XFlush(m->pDisplay);
}

void CX11Backend::OnTopLevelMoved(HWND hWnd, const RECT&)
{
    if (TopLevel* top = m->Find(hWnd))
        m->ApplyGeometry(hWnd, *top);
}

void CX11Backend::OnTopLevelTextChanged(HWND hWnd, LPCSTR lpszText)
{
    const TopLevel* top = m->Find(hWnd);
    if (top != nullptr && !top->bPopup)
        m->SetTitle(ToXid(hWnd), lpszText);
}

void CX11Backend::OnSurfaceChanged(HWND hWndTop, const RECT& rcChanged)
{
    TopLevel* top = m->Find(hWndTop);
    if (top == nullptr)
        return;
    RECT rcWindow{};
    GetWindowRect(hWndTop, &rcWindow);
    RECT rect = rcChanged;
    OffsetRect(&rect, rcWindow.left - top->rcShown.left, rcWindow.top - top->rcShown.top);
    m->AddDamage(*top, rect);
}

void CX11Backend::Flush()
{
    if (!IsOpen())
        return;
    for (auto& [xid, top] : m->windows)
        m->PushDamage(ToHandle(xid), top);
    m->pPusher->Finish();
    XFlush(m->pDisplay);
}

void CX11Backend::TakeReadyInput()
{
    if (IsOpen())
        m->ReadEvents();
}

bool CX11Backend::Poll()
{
    return IsOpen() && m->ReadEvents() > 0;
}

void CX11Backend::Wait(DWORD dwTimeoutMs)
{
    if (!IsOpen())
        return;
    Flush();
    if (XPending(m->pDisplay) > 0)
        return;
    pollfd fds[2] = {{ConnectionNumber(m->pDisplay), POLLIN, 0}, {m->wakePipe[0], POLLIN, 0}};
    const int nTimeout = dwTimeoutMs == INFINITE ? -1 : static_cast<int>(dwTimeoutMs);
    while (poll(fds, m->wakePipe[0] >= 0 ? 2 : 1, nTimeout) < 0 && errno == EINTR)
    {
    }
    m->DrainWakePipe();
}

CForeignDragTarget* CX11Backend::GetForeignDragTarget()
{
    return m->pDragSource.get();
}

CForeignWindows* CX11Backend::GetForeignWindows()
{
    return m->pForeign.get();
}

void CX11Backend::OnCursorChanged(HCURSOR hCursor, bool bShown)
{
    if (!IsOpen())
        return;
    m->cursor = m->pCursors->Get(hCursor, bShown);
    for (const auto& [xid, top] : m->windows)
        XDefineCursor(m->pDisplay, xid, m->cursor);
    if (m->grabbed != 0)
        XChangeActivePointerGrab(m->pDisplay, kGrabEvents, m->cursor, CurrentTime);
    XFlush(m->pDisplay);
}

void CX11Backend::OnTopLevelActivated(HWND hWnd)
{
    TopLevel* top = m->Find(hWnd);
    if (top == nullptr || top->bPopup || !top->bMapped || m->nApplyingDisplay > 0)
        return;
    const Window xid = ToXid(hWnd);
    if (m->bActiveWindowSupported)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = xid;
        event.xclient.message_type = m->atoms[kNetActiveWindow];
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1; // an application's request
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(m->pDisplay, m->root, False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &event);
    }
    else
    {
        // No window manager: raise and focus ourselves.
        XRaiseWindow(m->pDisplay, xid);
        XSetInputFocus(m->pDisplay, xid, RevertToParent, CurrentTime);
    }
    XFlush(m->pDisplay);
}

void CX11Backend::OnCaptureChanged(HWND hCapture)
{
    if (!IsOpen())
        return;
    const HWND hTop = hCapture != nullptr ? GetAncestor(hCapture, GA_ROOT) : nullptr;
    const TopLevel* top = m->Find(hTop);
    if (top == nullptr || !top->bMapped)
    {
        if (m->grabbed != 0)
            XUngrabPointer(m->pDisplay, CurrentTime);
        m->grabbed = 0;
        XFlush(m->pDisplay);
        return;
    }
    const Window xid = ToXid(hTop);
    if (m->grabbed == xid)
        return;
    if (XGrabPointer(m->pDisplay, xid, False, kGrabEvents, GrabModeAsync, GrabModeAsync, None,
                     m->cursor, CurrentTime) == GrabSuccess)
        m->grabbed = xid;
}

bool CX11Backend::QueryCursorPos(POINT& pt)
{
    unsigned mask = 0;
    return IsOpen() && m->QueryPointer(pt, mask);
}

bool CX11Backend::QueryKeyDown(UINT nVirtKey, bool& bDown)
{
    if (!IsOpen())
        return false;
    if (nVirtKey == VK_LBUTTON || nVirtKey == VK_RBUTTON || nVirtKey == VK_MBUTTON)
    {
        POINT pt{};
        unsigned mask = 0;
        if (!m->QueryPointer(pt, mask))
            return false;
        const unsigned button = nVirtKey == VK_LBUTTON   ? Button1Mask
                                : nVirtKey == VK_RBUTTON ? Button3Mask
                                                         : Button2Mask;
        bDown = (mask & button) != 0;
        return true;
    }
    char keys[32];
    XQueryKeymap(m->pDisplay, keys);
    bDown = false;
    for (std::size_t code = 0; code < m->keycodeVirtKeys.size() && !bDown; ++code)
    {
        const UINT nKey = m->keycodeVirtKeys[code];
        const bool bMatches =
            nKey != 0 &&
            (nKey == nVirtKey ||
             (nVirtKey == VK_SHIFT && (nKey == VK_LSHIFT || nKey == VK_RSHIFT)) ||
             (nVirtKey == VK_CONTROL && (nKey == VK_LCONTROL || nKey == VK_RCONTROL)) ||
             (nVirtKey == VK_MENU && (nKey == VK_LMENU || nKey == VK_RMENU)));
        bDown = bMatches && (keys[code / 8] & (1 << (code % 8))) != 0;
    }
    return true;
}
