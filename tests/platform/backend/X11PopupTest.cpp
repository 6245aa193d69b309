// Menus and drop-down lists on a real X server: each opens as an
// override-redirect window that grabs the pointer while it is up, shows the
// pixels the layer painted, and takes the click that chooses an item.
#include "UiHarness.h"
#include "WinControls.h"
#include "WinInput.h"
#include "WinMenu.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"
#include "X11TestSupport.h"

#include <cstdio>
#include <functional>
#include <string>

namespace
{
class X11PopupTest : public X11BackendTest
{
protected:
    // A popup as the X server has it.
    struct PopupState
    {
        bool bOverrideRedirect = false;
        bool bViewable = false;
        bool bPointerGrabbed = false;
    };

    PopupState ReadPopupState(HWND hPopup)
    {
        PopupState state;
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(Outside(), XidOf(hPopup), &attributes) != 0)
        {
            state.bOverrideRedirect = attributes.override_redirect != False;
            state.bViewable = attributes.map_state == IsViewable;
        }
        state.bPointerGrabbed = IsPointerGrabbed();
        return state;
    }

    bool IsPointerGrabbed()
    {
        const Window root = DefaultRootWindow(Outside());
        const int nResult = XGrabPointer(Outside(), root, False, ButtonPressMask, GrabModeAsync,
                                         GrabModeAsync, None, None, CurrentTime);
        if (nResult == GrabSuccess)
            XUngrabPointer(Outside(), CurrentTime);
        XSync(Outside(), False);
        return nResult == AlreadyGrabbed;
    }
};

TEST_F(X11PopupTest, TrackedMenuGrabsThePointerShowsItsItemsAndTakesTheClick)
{
    const HWND hOwner =
        CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 60, 450, 360});
    const HMENU hMenu = CreatePopupMenu();
    AppendMenuA(hMenu, MF_STRING, 101, "&Open");
    AppendMenuA(hMenu, MF_STRING | MF_CHECKED, 102, "&Keep");
    AppendMenuA(hMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(hMenu, MF_STRING | MF_GRAYED, 103, "E&xit");
    Settle();

    HWND hPopup = nullptr;
    PopupState open;
    WindowPicture painted;
    WindowPicture shown;
    RunSoon(hOwner,
            [&]
            {
                hPopup = GetCapture();
                open = ReadPopupState(hPopup);
                painted = PaintedPicture(hPopup);
                shown = ShownPicture(hPopup, "x11-popup-menu.bmp");
                RECT rcItem{};
                GetMenuItemRect(hOwner, hMenu, 1, &rcItem);
                Click(CentreOf(rcItem));
            });
    const UINT nChosen = static_cast<UINT>(TrackPopupMenu(
        hMenu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, 200, 150, 0, hOwner, nullptr));

    EXPECT_EQ(nChosen, 102u);
    ASSERT_NE(hPopup, nullptr);
    EXPECT_NE(hPopup, hOwner);
    EXPECT_TRUE(open.bOverrideRedirect);
    EXPECT_TRUE(open.bViewable);
    EXPECT_TRUE(open.bPointerGrabbed);
    EXPECT_EQ(shown.nWidth, painted.nWidth);
    EXPECT_EQ(shown.nHeight, painted.nHeight);
    EXPECT_EQ(shown.pixels, painted.pixels);
    Settle();
    EXPECT_FALSE(IsWindow(hPopup));
    EXPECT_FALSE(IsPointerGrabbed());
    DestroyMenu(hMenu);
}

TEST_F(X11PopupTest, DropDownListGrabsThePointerShowsItsItemsAndTakesTheClick)
{
    const HWND hOwner =
        CreateLoggedWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{50, 60, 450, 360});
    const HWND hCombo =
        CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 20, 20, 160,
                        150, hOwner, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ASSERT_NE(hCombo, nullptr);
    for (const char* pszItem : {"Axial", "Coronal", "Sagittal", "Oblique"})
        SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem));
    SendMessageA(hCombo, CB_SETCURSEL, 0, 0);
    Settle();

    RECT rcCombo{};
    GetWindowRect(hCombo, &rcCombo);
    Click(CentreOf(rcCombo));
    ASSERT_TRUE(PumpUntil([&] { return SendMessageA(hCombo, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    const HWND hList = GetCapture();
    ASSERT_NE(hList, nullptr);
    ASSERT_NE(hList, hCombo);
    Settle();
    const PopupState open = ReadPopupState(hList);
    EXPECT_TRUE(open.bOverrideRedirect);
    EXPECT_TRUE(open.bViewable);
    EXPECT_TRUE(open.bPointerGrabbed);
    const WindowPicture painted = PaintedPicture(hList);
    const WindowPicture shown = ShownPicture(hList, "x11-popup-dropdown.bmp");
    EXPECT_EQ(shown.pixels, painted.pixels);

    RECT rcItem{};
    SendMessageA(hList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rcItem));
    MapWindowPoints(hList, nullptr, reinterpret_cast<POINT*>(&rcItem), 2);
    const std::size_t nBefore = MessageLog().size();
    Click(CentreOf(rcItem));
    ASSERT_TRUE(PumpUntil([&] { return SendMessageA(hCombo, CB_GETDROPPEDSTATE, 0, 0) == 0; }));
    EXPECT_EQ(SendMessageA(hCombo, CB_GETCURSEL, 0, 0), 2);
    const LoggedMessage* pCommand = FindLogged(hOwner, WM_COMMAND, nBefore);
    ASSERT_NE(pCommand, nullptr);
    EXPECT_EQ(LOWORD(pCommand->wParam), 7);
    Settle();
    EXPECT_FALSE(ReadPopupState(hList).bViewable);
    EXPECT_FALSE(IsPointerGrabbed());
}
} // namespace
