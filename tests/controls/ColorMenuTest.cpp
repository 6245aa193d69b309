// The colour popup menu and the menu button.
#include "ColorMenu.h"
#include "ControlTestSupport.h"
#include "DibTestHelpers.h"
#include "MenuButton.h"
#include "ResourceRegistry.h"
#include "WinModule.h"

namespace
{
constexpr UINT kFrameMenuId = 430;
constexpr UINT kButtonMenuId = 431;
constexpr UINT ID_COLOUR = 42001;
constexpr UINT ID_FIRST_COLOUR = 42100;
constexpr UINT ID_ZOOM_IN = 42201;
constexpr UINT ID_ZOOM_OUT = 42202;

void RegisterMenus()
{
    static constexpr MenuItemTemplate viewItems[] = {{MF_STRING, ID_COLOUR, "&Colour", {}}};
    static constexpr MenuItemTemplate barItems[] = {{MF_POPUP, 0, "&View", viewItems}};
    static constexpr MenuTemplate frameMenu{barItems};
    static constexpr MenuItemTemplate zoomItems[] = {{MF_STRING, ID_ZOOM_IN, "Zoom &in", {}},
                                                     {MF_STRING, ID_ZOOM_OUT, "Zoom &out", {}}};
    static constexpr MenuItemTemplate buttonBar[] = {{MF_POPUP, 0, "Zoom", zoomItems}};
    static constexpr MenuTemplate buttonMenu{buttonBar};
    static const ResourceMenuEntry menus[] = {{MAKEINTRESOURCE(kFrameMenuId), &frameMenu},
                                              {MAKEINTRESOURCE(kButtonMenuId), &buttonMenu}};
    static const bool bDone =
        (RegisterModuleResources(GetModuleHandleA(nullptr), ResourceTables{.menus = menus}), true);
    static_cast<void>(bDone);
}

// The swatch as the colour menu draws it for an action and a state.
void DrawSwatch(CColorMenu& menu, MemorySurface& surface, COLORREF cr, UINT nAction, UINT nState)
{
    DRAWITEMSTRUCT dis{ODT_MENU,     0,       ID_FIRST_COLOUR, nAction,
                       nState,       nullptr, surface.Dc(),    RECT{0, 0, 40, 25},
                       ULONG_PTR(cr)};
    menu.DrawItem(&dis);
}

TEST(ColorMenu, SwatchesFillWithTheirColourAndFrameTheSelection)
{
    CColorMenu menu;
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, ID_FIRST_COLOUR, 0, 0, 0};
    menu.MeasureItem(&mis);
    EXPECT_EQ(mis.itemWidth, 40u);
    EXPECT_EQ(mis.itemHeight, 25u);

    const COLORREF cr = RGB(0, 200, 100);
    MemorySurface surface(40, 25, RGB(255, 255, 255));
    DrawSwatch(menu, surface, cr, ODA_DRAWENTIRE, 0);
    EXPECT_EQ(surface.At(0, 0), cr);
    EXPECT_EQ(surface.At(20, 12), cr);
    DrawSwatch(menu, surface, cr, ODA_SELECT, ODS_SELECTED);
    EXPECT_EQ(surface.At(0, 0), RGB(255, 55, 155)) << "a frame in the inverted colour";
    EXPECT_EQ(surface.At(39, 24), RGB(255, 55, 155));
    EXPECT_EQ(surface.At(20, 12), cr);
    DrawSwatch(menu, surface, cr, ODA_SELECT, 0);
    EXPECT_EQ(surface.At(0, 0), cr) << "the frame taken away";
}

TEST(ColorMenu, AttachedMenuReplacesTheItemUnderItsText)
{
    RegisterMenus();
    CFailOnBlockHarness harness;
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "Colours", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               CRect(100, 100, 400, 300), nullptr, MAKEINTRESOURCE(kFrameMenuId)));
    CMenu* pView = pFrame->GetMenu()->GetSubMenu(0);
    HMENU hColours = nullptr;
    {
        CColorMenu menu;
        AttachColorMenu(menu, ID_COLOUR, ID_FIRST_COLOUR, pFrame);
        hColours = menu.m_hMenu;
    }
    ASSERT_TRUE(::IsMenu(hColours)) << "the window's menu owns it";
    EXPECT_EQ(pView->GetSubMenu(0)->m_hMenu, hColours);
    CString text;
    pView->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_EQ(text, CString("&Colour"));
    const COLORREF expected[] = {RGB(255, 0, 0),   RGB(0, 255, 0),    RGB(0, 0, 255),
                                 RGB(0, 255, 255), RGB(255, 0, 255),  RGB(255, 255, 0),
                                 RGB(0, 0, 0),     RGB(255, 255, 255)};
    ASSERT_EQ(::GetMenuItemCount(hColours), 8);
    for (UINT i = 0; i < 8; ++i)
    {
        MENUITEMINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_DATA | MIIM_FTYPE;
        ::GetMenuItemInfoA(hColours, i, TRUE, &info);
        EXPECT_EQ(info.wID, ID_FIRST_COLOUR + i);
        EXPECT_EQ(info.dwItemData, ULONG_PTR(expected[i]));
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    }
    pFrame->DestroyWindow();
}

TEST(ColorMenu, TrackedPopupShowsItsSwatchesAndAnswersTheChosenColour)
{
    CFailOnBlockHarness harness;
    CTestParent parent;
    CColorMenu menu;
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 160, 0)};
    for (UINT i = 0; i < 3; ++i)
        menu.AppendColorMenuItem(ID_FIRST_COLOUR + i, colours[i]);
    WindowPicture picture;
    harness.Script()
        .KeyPress(VK_DOWN)
        .KeyPress(VK_DOWN)
        .Do(KeepMenuPicture("colour-menu", picture))
        .KeyPress(VK_RETURN);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, 150, 150, &parent),
              BOOL(ID_FIRST_COLOUR + 1));
    ASSERT_GT(picture.nHeight, 3 * 25 - 1);
    // Three swatches of 25 rows, the selected second one framed in its
    // inverted colour.
    for (int i = 0; i < 3; ++i)
        EXPECT_GT(CountPixels(picture, CRect(0, 0, picture.nWidth, picture.nHeight), colours[i]),
                  30 * 15)
            << i;
    EXPECT_GT(CountPixels(picture, CRect(0, 0, picture.nWidth, picture.nHeight), RGB(255, 255, 0)),
              40)
        << "the frame of the selected blue swatch";
}

TEST(ColorMenu, MenuNeverAttachedIsDestroyedWithIt)
{
    HMENU hMenu = nullptr;
    {
        CColorMenu menu;
        menu.AppendColorMenuItem(ID_FIRST_COLOUR, RGB(1, 2, 3));
        hMenu = menu.m_hMenu;
    }
    EXPECT_FALSE(::IsMenu(hMenu));
}

// ---------------------------------------------------------------- menu button

class MenuButtonTest : public testing::Test
{
protected:
    MenuButtonTest()
    {
        RegisterMenus();
        m_button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(20, 20, 60, 44), &m_parent,
                        7);
        m_harness.PumpPending();
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_parent;
    CMenuButton m_button;
};

TEST_F(MenuButtonTest, DrawsAPushFrameWithAnArrowPointingRight)
{
    MemorySurface surface(40, 24, RGB(255, 0, 255));
    DRAWITEMSTRUCT dis{ODT_BUTTON,         7, 0, ODA_DRAWENTIRE, 0, m_button.m_hWnd, surface.Dc(),
                       RECT{0, 0, 40, 24}, 0};
    m_button.DrawItem(&dis);
    const COLORREF crText = GetSysColor(COLOR_BTNTEXT);
    const COLORREF crFace = GetSysColor(COLOR_BTNFACE);
    // Four vertical lines from x = 18, each a pixel shorter at both ends.
    for (int k = 0; k < 4; ++k)
    {
        EXPECT_EQ(surface.At(18 + k, 9 + k), crText) << k;
        EXPECT_EQ(surface.At(18 + k, 15 - k), crText) << k;
        EXPECT_EQ(surface.At(18 + k, 16 - k), crFace) << k << ": the end point is left out";
        EXPECT_EQ(surface.At(18 + k, 8 + k), crFace) << k;
    }
    EXPECT_EQ(surface.At(22, 12), crFace);
    EXPECT_EQ(surface.At(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT)) << "a raised push frame";

    dis.itemState = ODS_SELECTED | ODS_DISABLED | ODS_FOCUS;
    m_button.DrawItem(&dis);
    EXPECT_EQ(surface.At(18, 9), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_NE(surface.At(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT)) << "pushed";
    int nDotted = 0;
    for (int y = 4; y < 20; ++y)
        nDotted += surface.At(3, y) != crFace ? 1 : 0;
    EXPECT_GE(nDotted, 6) << "the dotted focus rectangle three pixels in";
}

TEST_F(MenuButtonTest, SingleClickAnswersTheChosenCommandOrNothing)
{
    m_harness.Script().KeyPress(VK_DOWN).KeyPress(VK_DOWN).KeyPress(VK_RETURN);
    EXPECT_EQ(m_button.DoSingleClick(kButtonMenuId), DWORD(ID_ZOOM_OUT));
    m_harness.Script().KeyPress(VK_ESCAPE);
    EXPECT_EQ(m_button.DoSingleClick(kButtonMenuId), 0u);
    m_harness.PumpPending();
    EXPECT_TRUE(m_parent.commands.empty()) << "the command is answered, not sent";
    EXPECT_EQ(m_button.DoSingleClick(9999), 0u) << "no such menu";
}
} // namespace
