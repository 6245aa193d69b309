// Menus: items and their states, menus from resources, the popup tracking
// loop (owner draw, keyboard, mouse, command delivery), menu bars and
// accelerators.
#include "UserTestSupport.h"

#include "ResourceRegistry.h"
#include "WinModule.h"

#include <string>

namespace
{
const RECT kOwnerRect{100, 100, 600, 500};

using MenuTest = UserTest;

std::string Caption(HMENU hMenu, UINT nItem, UINT nFlags)
{
    char buffer[64] = {};
    GetMenuStringA(hMenu, nItem, buffer, sizeof(buffer), nFlags);
    return buffer;
}

TEST_F(MenuTest, ItemsAreFoundByPositionOrByCommandInSubmenus)
{
    const HMENU hBar = CreateMenu();
    const HMENU hFile = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuA(hFile, MF_STRING, 101, "&Open\tCtrl+O"));
    ASSERT_TRUE(AppendMenuA(hFile, MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(AppendMenuA(hFile, MF_STRING | MF_GRAYED, 102, "E&xit"));
    ASSERT_TRUE(AppendMenuA(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hFile), "&File"));
    ASSERT_TRUE(InsertMenuA(hFile, 102, MF_BYCOMMAND | MF_STRING, 103, "&Save"));

    EXPECT_EQ(GetMenuItemCount(hFile), 4);
    EXPECT_EQ(GetSubMenu(hBar, 0), hFile);
    EXPECT_EQ(GetMenuItemID(hBar, 0), UINT(-1)) << "a popup item has no id";
    EXPECT_EQ(GetMenuItemID(hFile, 2), 103u);
    EXPECT_EQ(Caption(hBar, 101, MF_BYCOMMAND), "&Open\tCtrl+O") << "found in the submenu";
    EXPECT_EQ(Caption(hFile, 3, MF_BYPOSITION), "E&xit");
    EXPECT_EQ(GetMenuStringA(hFile, 101, nullptr, 0, MF_BYCOMMAND), 12);

    EXPECT_EQ(CheckMenuItem(hBar, 101, MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(hBar, 101, MF_UNCHECKED), DWORD(MF_CHECKED));
    EXPECT_EQ(EnableMenuItem(hFile, 102, MF_ENABLED), BOOL(MF_GRAYED));
    EXPECT_EQ(CheckMenuItem(hBar, 999, MF_CHECKED), DWORD(-1));
    EXPECT_EQ(GetMenuState(hFile, 1, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    EXPECT_EQ(GetMenuState(hBar, 0, MF_BYPOSITION) >> 8, 4u) << "a popup reports its item count";

    ASSERT_TRUE(ModifyMenuA(hFile, 103, MF_BYCOMMAND | MF_STRING, 104, "Save &As"));
    EXPECT_EQ(GetMenuItemID(hFile, 2), 104u);
    ASSERT_TRUE(RemoveMenu(hFile, 1, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemCount(hFile), 3);
    EXPECT_FALSE(RemoveMenu(hFile, 7, MF_BYPOSITION));
    EXPECT_TRUE(DestroyMenu(hBar));
    EXPECT_FALSE(IsMenu(hFile)) << "destroying a menu destroys its submenus";
}

TEST_F(MenuTest, DeleteDestroysTheSubmenuAndRemoveKeepsIt)
{
    const HMENU hMenu = CreatePopupMenu();
    const HMENU hKept = CreatePopupMenu();
    const HMENU hDropped = CreatePopupMenu();
    AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hKept), "Kept");
    AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hDropped), "Dropped");
    EXPECT_FALSE(AppendMenuA(hMenu, MF_POPUP, 0x1234, "Not a menu"));
    ASSERT_TRUE(RemoveMenu(hMenu, 0, MF_BYPOSITION));
    ASSERT_TRUE(DeleteMenu(hMenu, 0, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(hKept));
    EXPECT_FALSE(IsMenu(hDropped));
    EXPECT_EQ(GetMenuItemCount(hMenu), 0);
    DestroyMenu(hKept);
    DestroyMenu(hMenu);
}

TEST_F(MenuTest, ItemInfoAndMenuInfoRoundTrip)
{
    const HMENU hMenu = CreatePopupMenu();
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_TYPE | MIIM_DATA | MIIM_STATE;
    info.fType = MFT_OWNERDRAW;
    info.fState = MFS_CHECKED;
    info.wID = 300;
    info.dwItemData = 0xABCDEF;
    ASSERT_TRUE(InsertMenuItemA(hMenu, 0, TRUE, &info));
    info = MENUITEMINFOA{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_TYPE | MIIM_DATA | MIIM_STATE;
    ASSERT_TRUE(GetMenuItemInfoA(hMenu, 300, FALSE, &info));
    EXPECT_EQ(info.fType, UINT(MFT_OWNERDRAW));
    EXPECT_EQ(info.fState, UINT(MFS_CHECKED));
    EXPECT_EQ(info.dwItemData, ULONG_PTR(0xABCDEF));

    char text[32] = {};
    MENUITEMINFOA textInfo{};
    textInfo.cbSize = sizeof(textInfo);
    textInfo.fMask = MIIM_STRING;
    textInfo.dwTypeData = const_cast<LPSTR>("&Zoom");
    ASSERT_TRUE(SetMenuItemInfoA(hMenu, 0, TRUE, &textInfo));
    textInfo.dwTypeData = text;
    textInfo.cch = sizeof(text);
    ASSERT_TRUE(GetMenuItemInfoA(hMenu, 0, TRUE, &textInfo));
    EXPECT_STREQ(text, "&Zoom");
    EXPECT_EQ(textInfo.cch, 5u);

    const HBRUSH hBrush = CreateSolidBrush(RGB(10, 20, 30));
    MENUINFO menuInfo{sizeof(MENUINFO), MIM_BACKGROUND | MIM_MENUDATA, 0, 0, hBrush, 0, 77};
    ASSERT_TRUE(SetMenuInfo(hMenu, &menuInfo));
    MENUINFO read{sizeof(MENUINFO), MIM_BACKGROUND | MIM_MENUDATA, 0, 0, nullptr, 0, 0};
    ASSERT_TRUE(GetMenuInfo(hMenu, &read));
    EXPECT_EQ(read.hbrBack, hBrush);
    EXPECT_EQ(read.dwMenuData, ULONG_PTR(77));
    DestroyMenu(hMenu);
    DeleteObject(hBrush);
}

constexpr MenuItemTemplate kViewItems[] = {
    {MF_STRING, 201, "&Zoom", {}},
    {MF_SEPARATOR, 0, nullptr, {}},
    {MF_STRING | MF_CHECKED, 202, "&Grid", {}},
};
constexpr MenuItemTemplate kBarItems[] = {{MF_POPUP, 0, "&View", kViewItems},
                                          {MF_STRING, 203, "&Help", {}}};
constexpr MenuTemplate kMenuTemplate{kBarItems};
const ResourceMenuEntry kMenus[] = {{MAKEINTRESOURCE(128), &kMenuTemplate}};
constexpr AcceleratorEntry kAccelerators[] = {
    {FVIRTKEY | FCONTROL, 'Z', 201},
    {FVIRTKEY, VK_F5, 203},
    {0, 'g', 202},
};
const ResourceAcceleratorEntry kAcceleratorTables[] = {{MAKEINTRESOURCE(128), kAccelerators}};
const auto kResourceModule = reinterpret_cast<HMODULE>(0x5EED1000);

void RegisterMenuResources()
{
    static const bool bDone = []
    {
        RegisterModuleResources(
            kResourceModule, ResourceTables{.menus = kMenus, .accelerators = kAcceleratorTables});
        return true;
    }();
    static_cast<void>(bDone);
}

TEST_F(MenuTest, MenusLoadFromModuleResources)
{
    RegisterMenuResources();
    const HMENU hMenu = LoadMenuA(kResourceModule, MAKEINTRESOURCE(128));
    ASSERT_NE(hMenu, nullptr);
    EXPECT_EQ(GetMenuItemCount(hMenu), 2);
    const HMENU hView = GetSubMenu(hMenu, 0);
    ASSERT_NE(hView, nullptr);
    EXPECT_EQ(GetMenuItemCount(hView), 3);
    EXPECT_EQ(GetMenuState(hView, 202, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));
    EXPECT_EQ(Caption(hMenu, 203, MF_BYCOMMAND), "&Help");
    EXPECT_EQ(LoadMenuA(kResourceModule, MAKEINTRESOURCE(129)), nullptr);
    DestroyMenu(hMenu);
}

// The menu messages an owner gets, in order, as short readable lines.
class MenuOwnerTest : public UserTest
{
protected:
    MenuOwnerTest()
    {
        m_hOwner = CreateTopLevel(kOwnerRect);
        m_harness.PumpPending();
        SetHandler(m_hOwner, [this](HWND, UINT nMsg, WPARAM wParam, LPARAM lParam)
                   { return OnOwnerMessage(nMsg, wParam, lParam); });
    }

    std::optional<LRESULT> OnOwnerMessage(UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        switch (nMsg)
        {
        case WM_INITMENUPOPUP:
            m_events.push_back("init " + std::to_string(LOWORD(lParam)));
            return 0;
        case WM_MEASUREITEM:
        {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            m_events.push_back("measure " + std::to_string(mis->itemID));
            mis->itemWidth = 80;
            mis->itemHeight = 20;
            return TRUE;
        }
        case WM_DRAWITEM:
        {
            const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            std::string line = "draw " + std::to_string(dis->itemID);
            line += dis->itemAction == ODA_DRAWENTIRE ? " entire" : " select";
            if (dis->itemState & ODS_SELECTED)
                line += " selected";
            if (dis->itemState & ODS_GRAYED)
                line += " grayed";
            m_events.push_back(line);
            EXPECT_EQ(dis->CtlType, UINT(ODT_MENU));
            EXPECT_EQ(dis->itemData, ULONG_PTR(0x1000 + dis->itemID));
            return TRUE;
        }
        case WM_MENUSELECT:
            if (HIWORD(wParam) == 0xFFFF && lParam == 0)
                m_events.push_back("closed");
            else
                m_events.push_back("select " + std::to_string(LOWORD(wParam)));
            return 0;
        case WM_MENUCHAR:
            m_events.push_back("char " + std::string(1, static_cast<char>(LOWORD(wParam))));
            return m_menuCharAnswer;
        case WM_COMMAND:
            m_events.push_back("command " + std::to_string(LOWORD(wParam)) + " from " +
                               std::to_string(HIWORD(wParam)));
            return 0;
        default:
            return std::nullopt;
        }
    }

    HMENU OwnerDrawnMenu(std::initializer_list<UINT> ids)
    {
        const HMENU hMenu = CreatePopupMenu();
        for (UINT nId : ids)
            AppendMenuA(hMenu, MF_OWNERDRAW, nId,
                        reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(0x1000 + nId)));
        return hMenu;
    }

    static HWND FindPopup() { return FindWindowA("#32768", nullptr); }

    HWND m_hOwner = nullptr;
    std::vector<std::string> m_events;
    LRESULT m_menuCharAnswer = 0;
};

TEST_F(MenuOwnerTest, TrackedOwnerDrawnPopupSendsTheDrawingProtocolMessageByMessage)
{
    const HMENU hMenu = OwnerDrawnMenu({11, 12, 13});
    EnableMenuItem(hMenu, 13, MF_GRAYED);
    m_harness.Script().KeyPress(VK_DOWN).KeyPress(VK_DOWN).KeyPress(VK_RETURN);
    EXPECT_TRUE(TrackPopupMenu(hMenu, TPM_LEFTALIGN, 200, 200, 0, m_hOwner, nullptr));
    const std::vector<std::string> expected = {
        "init 0",
        "measure 11",
        "measure 12",
        "measure 13",
        "draw 11 entire",
        "draw 12 entire",
        "draw 13 entire grayed",
        "select 11",
        "draw 11 select selected",
        "select 12",
        "draw 11 select",
        "draw 12 select selected",
        "closed",
    };
    EXPECT_EQ(m_events, expected);

    // Shown again: the items keep their sizes and are not measured again.
    m_events.clear();
    m_harness.Script().KeyPress(VK_ESCAPE);
    TrackPopupMenu(hMenu, TPM_LEFTALIGN, 200, 200, 0, m_hOwner, nullptr);
    EXPECT_EQ(std::count(m_events.begin(), m_events.end(), "measure 11"), 0);
    DestroyMenu(hMenu);
}

TEST_F(MenuOwnerTest, ChosenCommandIsPostedAndHandledAfterTheMenuCloses)
{
    const HMENU hMenu = OwnerDrawnMenu({21, 22});
    m_harness.Script().KeyPress(VK_DOWN).KeyPress(VK_RETURN);
    EXPECT_TRUE(TrackPopupMenu(hMenu, 0, 200, 200, 0, m_hOwner, nullptr));
    EXPECT_EQ(m_events.back(), "closed") << "nothing reaches the owner before the menu closes";
    m_harness.PumpPending();
    EXPECT_EQ(m_events.back(), "command 21 from 0");

    // With TPM_RETURNCMD the id comes back and nothing is posted.
    m_events.clear();
    m_harness.Script().KeyPress(VK_UP).KeyPress(VK_RETURN);
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD, 200, 200, 0, m_hOwner, nullptr), 22);
    m_harness.PumpPending();
    EXPECT_EQ(std::count(m_events.begin(), m_events.end(), "command 22 from 0"), 0);
    m_harness.Script().KeyPress(VK_ESCAPE);
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD, 200, 200, 0, m_hOwner, nullptr), 0);
    DestroyMenu(hMenu);
}

TEST_F(MenuOwnerTest, NoNotifyKeepsTheOwnerOutOfTheSelection)
{
    const HMENU hMenu = CreatePopupMenu();
    AppendMenuA(hMenu, MF_STRING, 31, "&First");
    AppendMenuA(hMenu, MF_STRING, 32, "&Second");
    m_harness.Script().KeyPress(VK_DOWN).KeyPress(VK_RETURN);
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_NONOTIFY, 200, 200, 0, m_hOwner, nullptr),
              31);
    EXPECT_TRUE(m_events.empty());
    DestroyMenu(hMenu);
}

struct KeyCase
{
    const char* pszName;
    std::vector<UINT> keys;
    UINT nExpected;
};

class MenuKeyTest : public MenuOwnerTest, public ::testing::WithParamInterface<KeyCase>
{
};

// &Open, separator, &Recent > (&One, &Two), E&xit (grey), &Options, O&ther.
TEST_P(MenuKeyTest, KeysNavigateAndChoose)
{
    const HMENU hRecent = CreatePopupMenu();
    AppendMenuA(hRecent, MF_STRING, 51, "&One");
    AppendMenuA(hRecent, MF_STRING, 52, "&Two");
    const HMENU hMenu = CreatePopupMenu();
    AppendMenuA(hMenu, MF_STRING, 41, "&Open");
    AppendMenuA(hMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hRecent), "&Recent");
    AppendMenuA(hMenu, MF_STRING | MF_GRAYED, 42, "E&xit");
    AppendMenuA(hMenu, MF_STRING, 43, "&Options");
    AppendMenuA(hMenu, MF_STRING, 44, "O&ther");
    for (UINT nKey : GetParam().keys)
        m_harness.Script().KeyPress(nKey);
    EXPECT_EQ(UINT(TrackPopupMenu(hMenu, TPM_RETURNCMD, 200, 200, 0, m_hOwner, nullptr)),
              GetParam().nExpected)
        << GetParam().pszName;
    m_harness.Script().Clear();
    DestroyMenu(hMenu);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MenuKeyTest,
    ::testing::Values(
        KeyCase{"down skips the separator", {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}, 51},
        KeyCase{"up wraps to the last item", {VK_UP, VK_RETURN}, 44},
        KeyCase{"a grey item is not chosen", {VK_UP, VK_UP, VK_UP, VK_RETURN, VK_ESCAPE}, 0},
        KeyCase{"left closes the submenu", {'R', VK_LEFT, VK_DOWN, VK_DOWN, VK_RETURN}, 43},
        KeyCase{"escape closes one level", {'R', VK_ESCAPE, VK_UP, VK_RETURN}, 41},
        KeyCase{"a unique mnemonic chooses", {'T'}, 44},
        KeyCase{"a mnemonic opens a submenu", {'R', 'T'}, 52},
        KeyCase{"shared mnemonics step through", {'O', 'O', 'O', VK_RETURN}, 41}),
    [](const ::testing::TestParamInfo<KeyCase>& info)
    {
        std::string name = info.param.pszName;
        std::replace_if(
            name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
        return name;
    });

TEST_F(MenuOwnerTest, UnansweredCharacterAsksTheOwnerThroughMenuChar)
{
    const HMENU hMenu = OwnerDrawnMenu({61, 62, 63});
    m_menuCharAnswer = MAKELRESULT(2, MNC_EXECUTE);
    m_harness.Script().KeyPress('Q');
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD, 200, 200, 0, m_hOwner, nullptr), 63);
    EXPECT_NE(std::find(m_events.begin(), m_events.end(), "char q"), m_events.end());

    m_menuCharAnswer = MAKELRESULT(0, MNC_CLOSE);
    m_harness.Script().KeyPress('Q');
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD, 200, 200, 0, m_hOwner, nullptr), 0);
    DestroyMenu(hMenu);
}

TEST_F(MenuOwnerTest, MouseChoosesAnItemAndAPressOutsideCancels)
{
    const HMENU hMenu = CreatePopupMenu();
    AppendMenuA(hMenu, MF_STRING, 71, "&First");
    AppendMenuA(hMenu, MF_STRING, 72, "&Second");
    POINT ptSecond{};
    m_harness.Script()
        .Do(
            [&]
            {
                RECT rcPopup{};
                GetWindowRect(FindPopup(), &rcPopup);
                const int nItemHeight = (rcPopup.bottom - rcPopup.top - 6) / 2;
                ptSecond = POINT{rcPopup.left + 20, rcPopup.top + 3 + nItemHeight * 3 / 2};
                UserQueueMouseMove(ptSecond);
            })
        .Do([&] { UserQueueMouseButton(enMouseButton::Left, true, ptSecond); })
        .Do([&] { UserQueueMouseButton(enMouseButton::Left, false, ptSecond); });
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD, 200, 200, 0, m_hOwner, nullptr), 72);
    EXPECT_EQ(FindPopup(), nullptr) << "the popup window is gone";

    m_harness.Script().MouseDown(enMouseButton::Left, POINT{50, 50});
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD, 200, 200, 0, m_hOwner, nullptr), 0);
    m_harness.Script().Clear();
    UserResetInput();
    DestroyMenu(hMenu);
}

// A display smaller than the virtual screen (an X display of 1280 x 1024): a
// popup opened at its lower right corner opens up and to the left, whole on
// the display, as do the screen metrics.
TEST_F(MenuOwnerTest, PopupAtTheCornerOfASmallerDisplayStaysOnIt)
{
    UserSetScreenSize(1280, 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    RECT rcWork{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcWork, 0);
    EXPECT_EQ(rcWork.right, 1280);
    const HMENU hMenu = CreatePopupMenu();
    AppendMenuA(hMenu, MF_STRING, 81, "A rather long first item");
    AppendMenuA(hMenu, MF_STRING, 82, "Second");
    RECT rcPopup{};
    m_harness.Script().Do([&] { GetWindowRect(FindPopup(), &rcPopup); }).KeyPress(VK_ESCAPE);
    TrackPopupMenu(hMenu, TPM_RETURNCMD, 1250, 1010, 0, m_hOwner, nullptr);
    UserSetScreenSize(GDI_SCREEN_WIDTH, GDI_SCREEN_HEIGHT);
    DestroyMenu(hMenu);
    EXPECT_GT(rcPopup.right, rcPopup.left);
    EXPECT_LE(rcPopup.right, 1280);
    EXPECT_LE(rcPopup.bottom, 1024);
    EXPECT_EQ(rcPopup.bottom, 1010) << "opened upwards from the point";
    EXPECT_EQ(rcPopup.right, 1250) << "and leftwards";
}

TEST_F(MenuOwnerTest, BackgroundBrushPaintsThePopupAndHoverOpensASubmenu)
{
    const COLORREF kBack = RGB(40, 90, 160);
    const HBRUSH hBrush = CreateSolidBrush(kBack);
    const HMENU hSub = CreatePopupMenu();
    AppendMenuA(hSub, MF_STRING, 82, "Inner");
    const HMENU hMenu = CreatePopupMenu();
    AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), "&More");
    MENUINFO info{sizeof(MENUINFO), MIM_BACKGROUND, 0, 0, hBrush, 0, 0};
    SetMenuInfo(hMenu, &info);
    WindowPicture picture;
    int nPopupsAfterHover = 0;
    m_harness.Script()
        .Do(
            [&]
            {
                UserGetWindowPicture(FindPopup(), false, picture);
                RECT rcPopup{};
                GetWindowRect(FindPopup(), &rcPopup);
                UserQueueMouseMove(POINT{rcPopup.left + 10, rcPopup.top + 8});
            })
        .Wait(500)
        .Do(
            [&]
            {
                for (HWND hTop : UserGetTopLevelWindows())
                {
                    char name[16] = {};
                    GetClassNameA(hTop, name, sizeof(name));
                    nPopupsAfterHover += std::string(name) == "#32768" ? 1 : 0;
                }
            })
        .KeyPress(VK_DOWN)
        .KeyPress(VK_RETURN);
    EXPECT_EQ(TrackPopupMenu(hMenu, TPM_RETURNCMD, 200, 200, 0, m_hOwner, nullptr), 82);
    ASSERT_GT(picture.nWidth, 10);
    // The bottom-left inside the frame, below the item, shows the brush.
    EXPECT_EQ(picture.GetPixel(picture.nWidth / 2, picture.nHeight - 4), SurfacePixel(kBack));
    EXPECT_EQ(nPopupsAfterHover, 2) << "resting on a popup item opens its submenu";
    EXPECT_EQ(std::count(m_events.begin(), m_events.end(), "init 0"), 2);
    DestroyMenu(hMenu);
    DeleteObject(hBrush);
}

class MenuBarTest : public MenuOwnerTest
{
protected:
    HWND CreateFrame(HMENU hMenu)
    {
        const HWND hFrame =
            CreateWindowExA(0, "UserTestWindow", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                            100, 400, 300, nullptr, hMenu, GetModuleHandleA(nullptr), nullptr);
        SetHandler(hFrame, [this](HWND, UINT nMsg, WPARAM wParam, LPARAM lParam)
                   { return OnOwnerMessage(nMsg, wParam, lParam); });
        m_harness.PumpPending();
        return hFrame;
    }
};

TEST_F(MenuBarTest, BarTakesRoomAboveTheClientAreaAndAnswersHitTests)
{
    RegisterMenuResources();
    const HMENU hMenu = LoadMenuA(kResourceModule, MAKEINTRESOURCE(128));
    const HWND hPlain = CreateFrame(nullptr);
    const HWND hFrame = CreateFrame(hMenu);
    RECT rcPlain{};
    RECT rcFrame{};
    GetClientRect(hPlain, &rcPlain);
    GetClientRect(hFrame, &rcFrame);
    EXPECT_EQ(rcPlain.bottom - rcFrame.bottom, GetSystemMetrics(SM_CYMENU) + 1);
    EXPECT_EQ(GetMenu(hFrame), hMenu);
    RECT rcItem{};
    ASSERT_TRUE(GetMenuItemRect(hFrame, hMenu, 1, &rcItem));
    const POINT ptItem{rcItem.left + 3, rcItem.top + 3};
    EXPECT_EQ(SendMessageA(hFrame, WM_NCHITTEST, 0, MAKELPARAM(ptItem.x, ptItem.y)), HTMENU);
    POINT ptClient{0, 0};
    ClientToScreen(hFrame, &ptClient);
    EXPECT_GE(ptClient.y, rcItem.bottom);
    DestroyWindow(hFrame);
    EXPECT_FALSE(IsMenu(hMenu)) << "the menu bar goes with its window";
}

TEST_F(MenuBarTest, AltLetterOpensThePopupAndEnterPostsTheCommand)
{
    RegisterMenuResources();
    const HWND hFrame = CreateFrame(LoadMenuA(kResourceModule, MAKEINTRESOURCE(128)));
    SetFocus(hFrame);
    m_harness.KeyDown(VK_MENU);
    m_harness.KeyPress('V');
    m_harness.Script().Key(VK_MENU, false).KeyPress(VK_DOWN).KeyPress(VK_RETURN);
    m_harness.PumpPending();
    const std::vector<std::string> expected = {"select 0",   "init 0", "select 201",
                                               "select 202", "closed", "command 202 from 0"};
    EXPECT_EQ(m_events, expected);
}

TEST_F(MenuBarTest, PressOnTheBarOpensThePopupAndAClickChooses)
{
    RegisterMenuResources();
    const HMENU hMenu = LoadMenuA(kResourceModule, MAKEINTRESOURCE(128));
    const HWND hFrame = CreateFrame(hMenu);
    RECT rcView{};
    GetMenuItemRect(hFrame, hMenu, 0, &rcView);
    const POINT ptView{rcView.left + 5, rcView.top + 5};
    POINT ptZoom{};
    m_harness.Click(enMouseButton::Left, ptView);
    m_harness.Script()
        .Do(
            [&]
            {
                RECT rcPopup{};
                GetWindowRect(FindPopup(), &rcPopup);
                ptZoom = POINT{rcPopup.left + 20, rcPopup.top + 8};
                UserQueueMouseMove(ptZoom);
            })
        .Do([&] { UserQueueMouseButton(enMouseButton::Left, true, ptZoom); })
        .Do([&] { UserQueueMouseButton(enMouseButton::Left, false, ptZoom); });
    m_harness.PumpPending();
    m_harness.PumpPending();
    EXPECT_EQ(m_events.back(), "command 201 from 0");
    EXPECT_EQ(GetCapture(), nullptr);
}

class AcceleratorTest : public MenuBarTest
{
protected:
    int Translate(HWND hWnd, HACCEL hAccel, UINT nMsg, WPARAM wParam)
    {
        MSG msg{hWnd, nMsg, wParam, 0, 0, {0, 0}};
        return TranslateAcceleratorA(hWnd, hAccel, &msg);
    }
};

TEST_F(AcceleratorTest, KeysOfTheTableBecomeCommandsFromAnAccelerator)
{
    RegisterMenuResources();
    const HWND hFrame = CreateFrame(LoadMenuA(kResourceModule, MAKEINTRESOURCE(128)));
    const HACCEL hAccel = LoadAcceleratorsA(kResourceModule, MAKEINTRESOURCE(128));
    ASSERT_NE(hAccel, nullptr);
    EXPECT_EQ(CopyAcceleratorTableA(hAccel, nullptr, 0), 3);
    EXPECT_EQ(Translate(hFrame, hAccel, WM_KEYDOWN, 'Z'), 0) << "Ctrl is not down";
    EXPECT_EQ(Translate(hFrame, hAccel, WM_KEYDOWN, VK_F5), 1);
    EXPECT_EQ(Translate(hFrame, hAccel, WM_CHAR, 'g'), 1);
    EXPECT_EQ(Translate(hFrame, hAccel, WM_CHAR, 'G'), 0) << "characters match exactly";
    // The message-time state of Ctrl counts.
    m_harness.KeyDown(VK_CONTROL);
    m_harness.PumpPending();
    EXPECT_EQ(Translate(hFrame, hAccel, WM_KEYDOWN, 'Z'), 1);
    m_harness.KeyUp(VK_CONTROL);
    m_harness.PumpPending();
    const std::vector<std::string> commands = {"command 203 from 1", "init 0", "command 202 from 1",
                                               "init 0", "command 201 from 1"};
    EXPECT_EQ(m_events, commands);
    DestroyAcceleratorTable(hAccel);
}

TEST_F(AcceleratorTest, AnItemTheMenuUpdateDisablesTakesTheKeyAndDoesNothing)
{
    RegisterMenuResources();
    const HMENU hMenu = LoadMenuA(kResourceModule, MAKEINTRESOURCE(128));
    const HWND hFrame = CreateFrame(hMenu);
    SetHandler(hFrame,
               [this, hMenu](HWND, UINT nMsg, WPARAM wParam, LPARAM lParam)
               {
                   if (nMsg == WM_INITMENUPOPUP)
                       EnableMenuItem(hMenu, 201, MF_GRAYED);
                   return OnOwnerMessage(nMsg, wParam, lParam);
               });
    ACCEL accel{FVIRTKEY, VK_F2, 201};
    const HACCEL hAccel = CreateAcceleratorTableA(&accel, 1);
    EXPECT_EQ(Translate(hFrame, hAccel, WM_KEYDOWN, VK_F2), 1);
    EXPECT_EQ(m_events, std::vector<std::string>{"init 0"});
    DestroyAcceleratorTable(hAccel);
}

TEST_F(MenuTest, SystemCheckMarkIsAMonochromeBitmap)
{
    const HBITMAP hCheck = LoadBitmapA(nullptr, MAKEINTRESOURCE(OBM_CHECK));
    ASSERT_NE(hCheck, nullptr);
    BITMAP bm{};
    ASSERT_EQ(GetObjectA(hCheck, sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXMENUCHECK));
    DeleteObject(hCheck);
}
} // namespace
