// Window classes and windows: creation and destruction sequences, styles,
// longs, subclassing, properties, texts, Z order and hit testing.
#include "UserTestSupport.h"

#include "WinModule.h"

#include <cstring>

namespace
{
const RECT kTopRect{100, 50, 500, 350};
const RECT kChildRect{10, 20, 110, 80};

using WindowTest = UserTest;

TEST_F(WindowTest, CreationSendsItsMessagesInOrderWithTheClientAreaKnownInCreate)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    RECT inCreate{};
    static RECT* sInCreate = nullptr;
    sInCreate = &inCreate;
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) -> LRESULT
    {
        if (nMsg == WM_CREATE)
            GetClientRect(hWnd, sInCreate);
        return DefWindowProcA(hWnd, nMsg, wParam, lParam);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ClientInCreate";
    RegisterClassA(&wc);
    const HWND hChild = CreateWindowExA(0, "ClientInCreate", "", WS_CHILD | WS_BORDER, 0, 0, 50, 40,
                                        hTop, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hChild, nullptr);
    EXPECT_EQ(inCreate.right, 48);
    EXPECT_EQ(inCreate.bottom, 38);

    ClearMessages();
    const HWND hRecorded = CreateTestWindow(WS_CHILD, hTop, kChildRect);
    const std::vector<UINT> expected{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE};
    EXPECT_EQ(MessageIds({WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}), expected);
    const auto sizes = Messages({WM_SIZE});
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].hWnd, hRecorded);
    EXPECT_EQ(sizes[0].lParam, MAKELPARAM(100, 60));
    EXPECT_EQ(Messages({WM_MOVE})[0].lParam, MAKELPARAM(10, 20));
}

TEST_F(WindowTest, CreateAnsweringMinusOneDestroysTheWindowAndReturnsNull)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) -> LRESULT
    { return nMsg == WM_CREATE ? -1 : DefWindowProcA(hWnd, nMsg, wParam, lParam); };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RefusesCreate";
    RegisterClassA(&wc);
    EXPECT_EQ(CreateWindowExA(0, "RefusesCreate", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr),
              nullptr);
    EXPECT_TRUE(UserGetTopLevelWindows().empty());
}

TEST_F(WindowTest, StyleEditedInCreateStructDuringCreateIsIgnored)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    WNDCLASSA wc{};
    wc.lpfnWndProc = [](HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) -> LRESULT
    {
        if (nMsg == WM_CREATE)
            reinterpret_cast<CREATESTRUCTA*>(lParam)->style |= WS_HSCROLL | WS_VSCROLL;
        return DefWindowProcA(hWnd, nMsg, wParam, lParam);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "EditsCreateStruct";
    RegisterClassA(&wc);
    const HWND hPane = CreateWindowExA(0, "EditsCreateStruct", "", WS_CHILD | WS_VISIBLE, 0, 0, 200,
                                       100, hTop, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hPane, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(hPane, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
    RECT client;
    GetClientRect(hPane, &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);
}

TEST_F(WindowTest, DestructionSendsDestroyParentFirstAndNcDestroyChildrenFirstAndLast)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, kChildRect);
    const HWND hGrandChild = CreateTestWindow(WS_CHILD | WS_VISIBLE, hChild, RECT{0, 0, 5, 5});
    ClearMessages();
    ASSERT_TRUE(DestroyWindow(hTop));
    std::vector<std::pair<HWND, UINT>> order;
    for (const RecordedMessage& m : Messages({WM_DESTROY, WM_NCDESTROY}))
        order.emplace_back(m.hWnd, m.nMsg);
    const std::vector<std::pair<HWND, UINT>> expected{
        {hTop, WM_DESTROY},          {hChild, WM_DESTROY},   {hGrandChild, WM_DESTROY},
        {hGrandChild, WM_NCDESTROY}, {hChild, WM_NCDESTROY}, {hTop, WM_NCDESTROY}};
    EXPECT_EQ(order, expected);
    for (HWND hWnd : {hTop, hChild, hGrandChild})
    {
        EXPECT_FALSE(IsWindow(hWnd));
        const auto all = Messages();
        const auto last = std::find_if(all.rbegin(), all.rend(),
                                       [&](const RecordedMessage& m) { return m.hWnd == hWnd; });
        ASSERT_NE(last, all.rend());
        EXPECT_EQ(last->nMsg, UINT(WM_NCDESTROY));
    }
    const HWND hNext = CreateTopLevel(kTopRect);
    EXPECT_NE(hNext, hTop);
    EXPECT_NE(hNext, hChild);
    EXPECT_NE(hNext, hGrandChild);
}

TEST_F(WindowTest, DestroyedWindowLosesFocusAndCaptureFirst)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, kChildRect);
    SetFocus(hChild);
    SetCapture(hChild);
    bool bCleanInDestroy = false;
    SetHandler(hChild,
               [&](HWND, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT>
               {
                   if (nMsg == WM_DESTROY)
                       bCleanInDestroy = GetFocus() != hChild && GetCapture() == nullptr;
                   return std::nullopt;
               });
    DestroyWindow(hChild);
    EXPECT_TRUE(bCleanInDestroy);
    EXPECT_EQ(CountMessages(hChild, WM_CANCELMODE), 1);
    EXPECT_EQ(CountMessages(hChild, WM_KILLFOCUS), 1);
    EXPECT_EQ(GetFocus(), hTop);
}

TEST_F(WindowTest, HandlesFitInThirtyTwoBitsWithTheWindowPrefix)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const auto value = reinterpret_cast<std::uintptr_t>(hTop);
    EXPECT_EQ(value >> 32, 0u);
    EXPECT_EQ(value & 0xC0000000u, 0x40000000u);
}

TEST_F(WindowTest, NewWindowsGoOnTopOfTheirSiblings)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hFirst = CreateTestWindow(WS_CHILD, hTop, kChildRect, 1);
    const HWND hSecond = CreateTestWindow(WS_CHILD, hTop, kChildRect, 2);
    EXPECT_EQ(GetWindow(hTop, GW_CHILD), hSecond);
    EXPECT_EQ(GetWindow(hSecond, GW_HWNDNEXT), hFirst);
    EXPECT_EQ(GetWindow(hFirst, GW_HWNDNEXT), nullptr);
    SetWindowPos(hSecond, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(hTop, GW_CHILD), hFirst);
    EXPECT_EQ(GetDlgItem(hTop, 2), hSecond);
    EXPECT_EQ(GetDlgCtrlID(hFirst), 1);
    EXPECT_EQ(GetParent(hFirst), hTop);
    EXPECT_TRUE(IsChild(hTop, hFirst));
}

TEST_F(WindowTest, ReplacedWindowProcedureChainsToThePreviousOne)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    static WNDPROC sPrevious = nullptr;
    static std::vector<int> sCalls;
    sCalls.clear();
    const WNDPROC hook = [](HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) -> LRESULT
    {
        if (nMsg == WM_USER + 1)
            sCalls.push_back(1);
        return CallWindowProcA(sPrevious, hWnd, nMsg, wParam, lParam);
    };
    sPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hTop, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(hook)));
    ASSERT_NE(sPrevious, nullptr);
    SetHandler(hTop,
               [](HWND, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT>
               {
                   if (nMsg != WM_USER + 1)
                       return std::nullopt;
                   sCalls.push_back(2);
                   return 42;
               });
    EXPECT_EQ(SendMessageA(hTop, WM_USER + 1, 0, 0), 42);
    EXPECT_EQ(sCalls, (std::vector<int>{1, 2}));
    EXPECT_EQ(GetWindowLongPtrA(hTop, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(hook));
}

TEST_F(WindowTest, WindowLongsReachStylesIdsUserDataAndExtraBytes)
{
    WNDCLASSA wc{};
    wc.style = CS_PARENTDC | CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.cbWndExtra = 4;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = "FolderCtrl";
    ASSERT_NE(RegisterClassA(&wc), 0);
    EXPECT_EQ(RegisterClassA(&wc), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS));
    WNDCLASSA found{};
    EXPECT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "foldercTRL", &found));
    EXPECT_EQ(found.cbWndExtra, 4);

    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hWnd =
        CreateWindowExA(WS_EX_CLIENTEDGE, "FolderCtrl", "", 0x50000000, 0, 0, 20, 20, hTop,
                        reinterpret_cast<HMENU>(7), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(hWnd, GWL_STYLE), 0x50000000);
    EXPECT_EQ(GetWindowLongPtrA(hWnd, GWL_EXSTYLE), WS_EX_CLIENTEDGE);
    EXPECT_EQ(GetWindowLongPtrA(hWnd, GWL_ID), 7);
    EXPECT_EQ(SetWindowLongA(hWnd, 0, 1234), 0);
    EXPECT_EQ(GetWindowLongA(hWnd, 0), 1234);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongA(hWnd, 4), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));
    SetWindowLongPtrA(hWnd, GWL_USERDATA, 99);
    EXPECT_EQ(GetWindowLongPtrA(hWnd, GWL_USERDATA), 99);
    char name[32];
    EXPECT_EQ(GetClassNameA(hWnd, name, sizeof(name)), 10);
    EXPECT_STREQ(name, "FolderCtrl");
}

TEST_F(WindowTest, StyleChangesSendStyleMessagesAndTakeEffectAtOnce)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, kChildRect);
    const POINT inside = CUiHarness::ScreenPoint(hChild, 5, 5);
    EXPECT_EQ(WindowFromPoint(inside), hChild);
    SetWindowLongPtrA(hChild, GWL_STYLE, GetWindowLongPtrA(hChild, GWL_STYLE) | WS_DISABLED);
    EXPECT_EQ(WindowFromPoint(inside), hTop);
    EXPECT_EQ(MessageIds({WM_STYLECHANGING, WM_STYLECHANGED}),
              (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
}

TEST_F(WindowTest, PropertiesAreFoundWithoutRegardToCase)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    EXPECT_TRUE(SetPropA(hTop, "Pelivo", reinterpret_cast<HANDLE>(1)));
    EXPECT_EQ(GetPropA(hTop, "PELIVO"), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(RemovePropA(hTop, "pelivo"), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(GetPropA(hTop, "Pelivo"), nullptr);
}

TEST_F(WindowTest, TextsGoThroughSetTextAndGetTextSoSubclassesSeeThem)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    SetHandler(hTop,
               [](HWND, UINT nMsg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
               {
                   if (nMsg != WM_GETTEXT)
                       return std::nullopt;
                   std::strncpy(reinterpret_cast<char*>(lParam), "answered", wParam);
                   return 8;
               });
    EXPECT_TRUE(SetWindowTextA(hTop, "Pelivo - image.dcm"));
    EXPECT_EQ(GetWindowTextLengthA(hTop), 18);
    char text[64];
    EXPECT_EQ(GetWindowTextA(hTop, text, sizeof(text)), 8);
    EXPECT_STREQ(text, "answered");
    EXPECT_EQ(CountMessages(hTop, WM_SETTEXT), 1);
    EXPECT_EQ(FindWindowA(nullptr, "Pelivo - image.dcm"), hTop);
}

TEST_F(WindowTest, WindowFromPointFindsTheDeepestVisibleEnabledWindow)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hBelow = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{0, 0, 200, 200});
    const HWND hAbove = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, RECT{50, 50, 150, 150});
    const HWND hInner = CreateTestWindow(WS_CHILD | WS_VISIBLE, hAbove, RECT{0, 0, 20, 20});
    EXPECT_EQ(WindowFromPoint(CUiHarness::ScreenPoint(hTop, 55, 55)), hInner);
    EXPECT_EQ(WindowFromPoint(CUiHarness::ScreenPoint(hTop, 100, 100)), hAbove);
    EXPECT_EQ(WindowFromPoint(CUiHarness::ScreenPoint(hTop, 10, 10)), hBelow);
    EnableWindow(hAbove, FALSE);
    EXPECT_EQ(WindowFromPoint(CUiHarness::ScreenPoint(hTop, 100, 100)), hBelow);
    ShowWindow(hBelow, SW_HIDE);
    EXPECT_EQ(WindowFromPoint(CUiHarness::ScreenPoint(hTop, 100, 100)), hTop);
    SetHandler(hTop,
               [](HWND, UINT nMsg, WPARAM, LPARAM) -> std::optional<LRESULT> {
                   return nMsg == WM_NCHITTEST ? std::optional<LRESULT>(HTTRANSPARENT)
                                               : std::nullopt;
               });
    EXPECT_EQ(WindowFromPoint(CUiHarness::ScreenPoint(hTop, 100, 100)), nullptr);
}

TEST_F(WindowTest, SizeChangesSendPositionMessagesAndSize)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, kChildRect);
    ClearMessages();
    MoveWindow(hChild, 10, 20, 150, 90, TRUE);
    EXPECT_EQ(
        MessageIds({WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE}),
        (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE}));
    EXPECT_EQ(Messages({WM_SIZE})[0].lParam, MAKELPARAM(150, 90));
    ClearMessages();
    MoveWindow(hChild, 30, 40, 150, 90, TRUE);
    EXPECT_EQ(MessageIds({WM_SIZE, WM_MOVE}), (std::vector<UINT>{WM_MOVE}));
    RECT rect;
    GetWindowRect(hChild, &rect);
    EXPECT_EQ(rect.left, kTopRect.left + 30);
    EXPECT_EQ(rect.top, kTopRect.top + 40);
}

TEST_F(WindowTest, NoRedrawMovesInvalidateNothing)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, kChildRect);
    m_harness.PumpPending();
    MoveWindow(hChild, 50, 50, 80, 80, FALSE);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(hTop, &update, FALSE));
    EXPECT_FALSE(GetUpdateRect(hChild, &update, FALSE));
    MoveWindow(hChild, 60, 50, 80, 80, TRUE);
    EXPECT_TRUE(GetUpdateRect(hTop, &update, FALSE));
    EXPECT_TRUE(GetUpdateRect(hChild, &update, FALSE));
}

TEST_F(WindowTest, HidingInvalidatesTheUncoveredParentArea)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE, hTop, kChildRect);
    m_harness.PumpPending();
    EXPECT_TRUE(ShowWindow(hChild, SW_HIDE));
    RECT update;
    ASSERT_TRUE(GetUpdateRect(hTop, &update, FALSE));
    EXPECT_TRUE(EqualRect(&update, &kChildRect));
    EXPECT_FALSE(IsWindowVisible(hChild));
    EXPECT_EQ(CountMessages(hChild, WM_SHOWWINDOW), 1);
}

TEST_F(WindowTest, BordersAndScrollBarsTakeTheirPlaceFromTheClientArea)
{
    const HWND hTop = CreateTopLevel(kTopRect);
    const HWND hChild = CreateTestWindow(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, hTop,
                                         RECT{0, 0, 100, 100}, 0, WS_EX_CLIENTEDGE);
    RECT client;
    GetClientRect(hChild, &client);
    EXPECT_EQ(client.right, 100 - 2 * 3 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(client.bottom, 100 - 2 * 3);
    POINT origin{0, 0};
    ClientToScreen(hChild, &origin);
    EXPECT_EQ(origin.x, kTopRect.left + 3);
    RECT adjusted{0, 0, 100, 100};
    AdjustWindowRectEx(&adjusted, WS_CHILD | WS_BORDER, FALSE, WS_EX_CLIENTEDGE);
    EXPECT_EQ(adjusted.left, -3);
    EXPECT_EQ(adjusted.right, 103);
    POINT pts[1] = {{0, 0}};
    MapWindowPoints(hChild, hTop, pts, 1);
    EXPECT_EQ(pts[0].x, 3);
    EXPECT_EQ(pts[0].y, 3);
}

TEST_F(WindowTest, CaptionedTopLevelWindowsReserveTheirFrame)
{
    const HWND hFrame = CreateTopLevel(RECT{0, 0, 400, 300}, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    RECT client;
    GetClientRect(hFrame, &client);
    RECT adjusted = client;
    AdjustWindowRectEx(&adjusted, WS_OVERLAPPEDWINDOW, FALSE, 0);
    EXPECT_EQ(adjusted.right - adjusted.left, 400);
    EXPECT_EQ(adjusted.bottom - adjusted.top, 300);
    EXPECT_EQ(GetActiveWindow(), hFrame);
    EXPECT_EQ(SendMessageA(hFrame, WM_NCHITTEST, 0, MAKELPARAM(200, 10)), HTCAPTION);
    EXPECT_EQ(SendMessageA(hFrame, WM_NCHITTEST, 0, MAKELPARAM(1, 150)), HTLEFT);
    EXPECT_EQ(SendMessageA(hFrame, WM_NCHITTEST, 0, MAKELPARAM(200, 150)), HTCLIENT);
}
} // namespace
