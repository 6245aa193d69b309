// Owner-drawn frame menus: toolbar images by command, accelerator names,
// the menu's messages while it is tracked through the platform's menus,
// drawing of each kind of item, and the answer to typed mnemonics.
#include "CoolMenuManager.h"
#include "ControlTestSupport.h"
#include "ResourceRegistry.h"
#include "WinModule.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{
constexpr UINT kMenuId = 420;
constexpr UINT kAccelId = 420;
constexpr UINT kToolbarA = 401;
constexpr UINT kToolbarB = 402;
constexpr UINT kToolbarLarge = 403;
constexpr UINT kToolbarAbsent = 404;
constexpr UINT kToolbarWithoutBitmap = 405;
constexpr UINT ID_OPEN = 41001;
constexpr UINT ID_SAVE = 41002;
constexpr UINT ID_SELECT = 41003;
constexpr UINT ID_GRAY = 41004;
constexpr UINT ID_CUT = 41005;
constexpr UINT ID_PRINT = 41006;

const COLORREF kImageColours[] = {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200), RGB(200, 200, 0),
                                  RGB(200, 0, 200)};

// A strip of 16 x 15 button images: a square of its colour on light grey.
std::vector<std::uint8_t> ButtonStrip(std::vector<COLORREF> colours, int cx = 16, int cy = 15)
{
    return BitmapFileOf(int(colours.size()) * cx, cy,
                        [=](int x, int y)
                        {
                            const int nButton = x / cx;
                            const int xIn = x % cx;
                            return xIn >= 3 && xIn < cx - 3 && y >= 3 && y < cy - 3
                                       ? colours[std::size_t(nButton)]
                                       : RGB(192, 192, 192);
                        });
}

void RegisterResources()
{
    static const std::vector<std::uint8_t> stripA =
        ButtonStrip({kImageColours[0], kImageColours[1], kImageColours[2]});
    static const std::vector<std::uint8_t> stripB =
        ButtonStrip({kImageColours[3], kImageColours[4]});
    static const std::vector<std::uint8_t> stripLarge = ButtonStrip({kImageColours[0]}, 20, 20);
    static const ResourceDataEntry data[] = {
        {RT_BITMAP, MAKEINTRESOURCE(kToolbarA), stripA.data(), DWORD(stripA.size())},
        {RT_BITMAP, MAKEINTRESOURCE(kToolbarB), stripB.data(), DWORD(stripB.size())},
        {RT_BITMAP, MAKEINTRESOURCE(kToolbarLarge), stripLarge.data(), DWORD(stripLarge.size())},
    };
    static constexpr WORD idsA[] = {WORD(ID_OPEN), 0, WORD(ID_SAVE), WORD(ID_GRAY)};
    static constexpr WORD idsB[] = {WORD(ID_SAVE), WORD(ID_CUT)};
    static constexpr WORD idsLarge[] = {WORD(ID_PRINT)};
    static constexpr ToolbarTemplate toolbarA{16, 15, idsA};
    static constexpr ToolbarTemplate toolbarB{16, 15, idsB};
    static constexpr ToolbarTemplate toolbarLarge{20, 20, idsLarge};
    static const ResourceToolbarEntry toolbars[] = {
        {MAKEINTRESOURCE(kToolbarA), &toolbarA},
        {MAKEINTRESOURCE(kToolbarB), &toolbarB},
        {MAKEINTRESOURCE(kToolbarLarge), &toolbarLarge},
        {MAKEINTRESOURCE(kToolbarWithoutBitmap), &toolbarB},
    };
    static constexpr MenuItemTemplate fileItems[] = {
        {MF_STRING, ID_OPEN, "&Open\tCtrl+O", {}},
        {MF_STRING, ID_SAVE, "&Save", {}},
        {MF_SEPARATOR, 0, "", {}},
        {MF_STRING, ID_SELECT, "&Select all", {}},
        {MF_STRING, ID_GRAY, "&Gray", {}},
    };
    static constexpr MenuItemTemplate barItems[] = {{MF_POPUP, 0, "&File", fileItems}};
    static constexpr MenuTemplate menu{barItems};
    static const ResourceMenuEntry menus[] = {{MAKEINTRESOURCE(kMenuId), &menu}};
    static constexpr AcceleratorEntry accelerators[] = {
        {FVIRTKEY | FCONTROL, 'O', WORD(ID_OPEN)},
        {FVIRTKEY | FSHIFT | FALT, 'S', WORD(ID_SAVE)},
        {FVIRTKEY, VK_F5, WORD(ID_OPEN)},
    };
    static const ResourceAcceleratorEntry accelTables[] = {
        {MAKEINTRESOURCE(kAccelId), accelerators}};
    static const bool bDone =
        (RegisterModuleResources(
             GetModuleHandleA(nullptr),
             ResourceTables{
                 .data = data, .menus = menus, .accelerators = accelTables, .toolbars = toolbars}),
         true);
    static_cast<void>(bDone);
}

class CMenuFrame : public CFrameWnd
{
public:
    std::vector<UINT> commands;

protected:
    afx_msg void OnCommandRange(UINT nID) { commands.push_back(nID); }
    afx_msg void OnCut() { commands.push_back(ID_CUT); }
    afx_msg void OnUpdateSelect(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuFrame, CFrameWnd)
ON_COMMAND_RANGE(ID_OPEN, ID_SELECT, OnCommandRange)
ON_COMMAND(ID_CUT, OnCut)
ON_UPDATE_COMMAND_UI(ID_SELECT, OnUpdateSelect)
END_MESSAGE_MAP()

// Writes down the menu messages the frame gets, newest hook first.
class CMenuRecorder : public CSubclassWnd
{
public:
    std::vector<std::string> log;

    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        switch (msg)
        {
        case WM_INITMENUPOPUP:
            log.push_back("init");
            break;
        case WM_MEASUREITEM:
            log.push_back("measure " +
                          std::to_string(reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemID));
            break;
        case WM_DRAWITEM:
        {
            const auto* pDis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            log.push_back(std::string(pDis->itemAction == ODA_SELECT ? "select " : "draw ") +
                          std::to_string(pDis->itemID) +
                          ((pDis->itemState & ODS_SELECTED) ? " on" : ""));
            break;
        }
        case WM_MENUSELECT:
            log.push_back("menuselect " + std::to_string(LOWORD(wp)) + " " +
                          std::to_string(HIWORD(wp)));
            break;
        case WM_COMMAND:
            log.push_back("command " + std::to_string(LOWORD(wp)));
            break;
        default:
            break;
        }
        return CSubclassWnd::WindowProc(msg, wp, lp);
    }
};

class CProbeMenuManager : public CCoolMenuManager
{
public:
    using CCoolMenuManager::AppendAccelName;
};

class CoolMenuManagerTest : public testing::Test
{
protected:
    CoolMenuManagerTest()
    {
        RegisterResources();
        m_pFrame = new CMenuFrame;
        m_pFrame->Create(nullptr, "Menus", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                         CRect(100, 100, 500, 400), nullptr, MAKEINTRESOURCE(kMenuId));
        m_pFrame->LoadAccelTable(MAKEINTRESOURCE(kAccelId));
        m_manager.Install(m_pFrame);
        m_harness.PumpPending();
    }
    ~CoolMenuManagerTest() override
    {
        if (::IsWindow(m_hFrame()))
            m_pFrame->DestroyWindow();
    }

    HWND m_hFrame() const { return m_pFrame->GetSafeHwnd(); }
    CMenu* FileMenu() const { return m_pFrame->GetMenu()->GetSubMenu(0); }

    void OpenAndClose()
    {
        m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(FileMenu()->m_hMenu), 0);
        m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    }

    UINT ItemType(UINT nPos) const
    {
        MENUITEMINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        FileMenu()->GetMenuItemInfo(nPos, &info, TRUE);
        return info.fType;
    }

    ULONG_PTR ItemData(UINT nPos) const
    {
        MENUITEMINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        FileMenu()->GetMenuItemInfo(nPos, &info, TRUE);
        return info.dwItemData;
    }

    CFailOnBlockHarness m_harness;
    CMenuFrame* m_pFrame = nullptr;
    CProbeMenuManager m_manager;
};

TEST_F(CoolMenuManagerTest, ToolbarImagesAreNumberedByCommand)
{
    EXPECT_TRUE(m_manager.LoadToolbar(kToolbarA));
    EXPECT_TRUE(m_manager.LoadToolbar(kToolbarB));
    EXPECT_FALSE(m_manager.LoadToolbar(kToolbarLarge)) << "another image size";
    EXPECT_FALSE(m_manager.LoadToolbar(kToolbarAbsent));
    EXPECT_FALSE(m_manager.LoadToolbar(kToolbarWithoutBitmap));
    EXPECT_EQ(m_manager.GetButtonIndex(WORD(ID_OPEN)), 0);
    EXPECT_EQ(m_manager.GetButtonIndex(WORD(ID_SAVE)), 1);
    EXPECT_EQ(m_manager.GetButtonIndex(WORD(ID_GRAY)), 2);
    EXPECT_EQ(m_manager.GetButtonIndex(WORD(ID_CUT)), 4)
        << "the second strip's images follow its buttons; a known command keeps its image";
    EXPECT_EQ(m_manager.GetButtonIndex(WORD(ID_PRINT)), -1);
    m_pFrame->SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(m_manager.GetButtonIndex(WORD(ID_CUT)), 4) << "reloaded on a colour change";
    m_manager.Destroy();
    EXPECT_EQ(m_manager.GetButtonIndex(WORD(ID_OPEN)), -1);
}

TEST_F(CoolMenuManagerTest, AcceleratorNamesFollowTheTextLaterEntriesFirst)
{
    m_manager.LoadToolbar(kToolbarA);
    OpenAndClose();
    CString text;
    FileMenu()->GetMenuString(ID_OPEN, text, MF_BYCOMMAND);
    EXPECT_EQ(text, CString("&Open\tF5, Ctrl+O"));
    FileMenu()->GetMenuString(ID_SAVE, text, MF_BYCOMMAND);
    EXPECT_EQ(text, CString("&Save\tAlt+Shift+S"));
    FileMenu()->GetMenuString(ID_SELECT, text, MF_BYCOMMAND);
    EXPECT_EQ(text, CString("&Select all"));
    const ACCEL* pAccel = m_manager.GetAccel(WORD(ID_OPEN));
    ASSERT_NE(pAccel, nullptr);
    EXPECT_EQ(pAccel->key, WORD(VK_F5));
    EXPECT_EQ(pAccel->cmd, 2) << "two entries back to the other one of the command";
    CString name("Keep\tthis");
    EXPECT_FALSE(m_manager.AppendAccelName(name, ID_CUT));
    EXPECT_EQ(name, CString("Keep")) << "an old accelerator text goes even without a new one";
}

TEST_F(CoolMenuManagerTest, PopupsAreOwnerDrawnWhileOpenAndConvertedBackAfter)
{
    m_manager.LoadToolbar(kToolbarA);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(FileMenu()->m_hMenu), 0);
    for (UINT i = 0; i < FileMenu()->GetMenuItemCount(); ++i)
    {
        EXPECT_TRUE(ItemType(i) & MFT_OWNERDRAW) << i;
        EXPECT_NE(ItemData(i), 0u) << i;
    }
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    for (UINT i = 0; i < FileMenu()->GetMenuItemCount(); ++i)
    {
        EXPECT_FALSE(ItemType(i) & MFT_OWNERDRAW) << i;
        EXPECT_EQ(ItemData(i), 0u) << i;
    }
    EXPECT_TRUE(ItemType(2) & MFT_SEPARATOR);
}

TEST_F(CoolMenuManagerTest, TrackedMenuSendsItsMessagesThroughThePlatformsMenus)
{
    m_manager.LoadToolbar(kToolbarA);
    CMenuRecorder recorder;
    recorder.HookWindow(m_pFrame);
    WindowPicture picture;
    m_harness.Script()
        .KeyPress(VK_DOWN)
        .Do(KeepMenuPicture("cool-menu", picture))
        .KeyPress(VK_RETURN);
    EXPECT_TRUE(FileMenu()->TrackPopupMenu(TPM_LEFTALIGN, 150, 150, m_pFrame));
    m_harness.PumpPending();
    const std::string open = std::to_string(ID_OPEN);
    const std::vector<std::string> expected = {
        "init",
        "measure " + open,
        "measure " + std::to_string(ID_SAVE),
        "measure 0",
        "measure " + std::to_string(ID_SELECT),
        "measure " + std::to_string(ID_GRAY),
        "draw " + open,
        "draw " + std::to_string(ID_SAVE),
        "draw 0",
        "draw " + std::to_string(ID_SELECT),
        "draw " + std::to_string(ID_GRAY),
        "menuselect " + open + " " + std::to_string(MF_HILITE | MF_OWNERDRAW),
        "select " + open + " on",
        "menuselect 0 65535",
        "command " + open,
    };
    EXPECT_EQ(recorder.log, expected);
    EXPECT_EQ(m_pFrame->commands, std::vector<UINT>{ID_OPEN});
    EXPECT_FALSE(ItemType(0) & MFT_OWNERDRAW) << "converted back once the menu closed";
    // The image of the selected first item is in the picture, on the
    // highlight beside it.
    ASSERT_GT(picture.nWidth, 0);
    EXPECT_GT(CountPixels(picture, CRect(0, 0, 30, 30), kImageColours[0]), 40);
    EXPECT_GT(CountPixels(picture, CRect(30, 0, picture.nWidth, 30), GetSysColor(COLOR_HIGHLIGHT)),
              100);
    EXPECT_EQ(CountPixels(picture, CRect(0, 0, picture.nWidth, picture.nHeight), kImageColours[2]),
              0)
        << "the disabled item's image is embossed, not in its colour";
    recorder.HookWindow(nullptr);
}

TEST_F(CoolMenuManagerTest, TypedCharacterAnswersWithItsMnemonicItem)
{
    m_manager.LoadToolbar(kToolbarA);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(FileMenu()->m_hMenu), 0);
    const auto ask = [&](char ch)
    {
        return m_pFrame->SendMessage(WM_MENUCHAR, MAKEWPARAM(ch, MF_POPUP),
                                     reinterpret_cast<LPARAM>(FileMenu()->m_hMenu));
    };
    EXPECT_EQ(ask('o'), MAKELRESULT(0, MNC_EXECUTE)) << "the only match";
    EXPECT_EQ(ask('G'), MAKELRESULT(4, MNC_EXECUTE));
    EXPECT_EQ(ask('s'), MAKELRESULT(1, MNC_SELECT)) << "two matches: the first";
    MENUITEMINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    FileMenu()->GetMenuItemInfo(1, &info, TRUE);
    info.fState |= MFS_HILITE;
    FileMenu()->SetMenuItemInfo(1, &info, TRUE);
    EXPECT_EQ(ask('s'), MAKELRESULT(3, MNC_SELECT)) << "the next after the highlighted one";
    EXPECT_EQ(ask('z'), 0);
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
}

// ---------------------------------------------------------------- drawing

class CoolMenuDrawTest : public CoolMenuManagerTest
{
protected:
    CoolMenuDrawTest()
    {
        m_manager.LoadToolbar(kToolbarA);
        m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(FileMenu()->m_hMenu), 0);
    }
    ~CoolMenuDrawTest() override { m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0); }

    // The item drawn by the manager into a surface of its own.
    WindowPicture Draw(UINT nPos, UINT nState, UINT nAction = ODA_DRAWENTIRE)
    {
        HDC hScreen = ::GetDC(nullptr);
        HDC hdc = ::CreateCompatibleDC(hScreen);
        HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, kWidth, kHeight);
        ::ReleaseDC(nullptr, hScreen);
        HGDIOBJ hOld = ::SelectObject(hdc, hBitmap);
        RECT all{0, 0, kWidth, kHeight};
        ::FillRect(hdc, &all, ::GetSysColorBrush(COLOR_MENU));
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, FileMenu()->GetMenuItemID(int(nPos)),
                              0,        0, ItemData(nPos)};
        EXPECT_TRUE(m_pFrame->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
        m_measured = mis;
        DRAWITEMSTRUCT dis{ODT_MENU,
                           0,
                           FileMenu()->GetMenuItemID(int(nPos)),
                           nAction,
                           nState,
                           reinterpret_cast<HWND>(FileMenu()->m_hMenu),
                           hdc,
                           RECT{0, 0, kWidth, int(mis.itemHeight)},
                           ItemData(nPos)};
        EXPECT_TRUE(m_pFrame->SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));
        const WindowPicture picture = PictureOfDC(hdc, kWidth, int(mis.itemHeight));
        ::SelectObject(hdc, hOld);
        ::DeleteObject(hBitmap);
        ::DeleteDC(hdc);
        return picture;
    }

    static constexpr int kWidth = 160;
    static constexpr int kHeight = 40;
    MEASUREITEMSTRUCT m_measured{};
};

TEST_F(CoolMenuDrawTest, SelectedItemShowsItsRaisedImageBesideTheHighlight)
{
    const WindowPicture picture = Draw(0, ODS_SELECTED);
    const CRect box(0, 0, 20, picture.nHeight);
    EXPECT_EQ(CountPixels(picture, box, kImageColours[0]), 10 * 9) << "the whole image square";
    // A raised edge round the button box, whose top is centred.
    const int top = (picture.nHeight - 19) / 2;
    EXPECT_EQ(picture.GetPixel(0, top + 5), PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(picture.GetPixel(19, top + 5), PixelOf(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(picture.GetPixel(kWidth - 2, 1), PixelOf(GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_GT(
        CountPixels(picture, CRect(22, 0, 100, picture.nHeight), GetSysColor(COLOR_HIGHLIGHTTEXT)),
        10)
        << "the text in the highlight's text colour";
    EXPECT_EQ(m_measured.itemHeight, UINT(std::max(GetSystemMetrics(SM_CYMENU), 0)));
}

TEST_F(CoolMenuDrawTest, DisabledImageIsEmbossedAndItsTextGrey)
{
    const WindowPicture picture = Draw(4, ODS_GRAYED);
    const CRect box(0, 0, 20, picture.nHeight);
    EXPECT_EQ(CountPixels(picture, box, kImageColours[2]), 0);
    EXPECT_GT(CountPixels(picture, box, GetSysColor(COLOR_BTNSHADOW)), 40);
    EXPECT_GT(CountPixels(picture, box, GetSysColor(COLOR_BTNHIGHLIGHT)), 10);
    EXPECT_GT(
        CountPixels(picture, CRect(22, 0, kWidth, picture.nHeight), GetSysColor(COLOR_GRAYTEXT)),
        10);
}

TEST_F(CoolMenuDrawTest, CheckedItemWithoutImageGetsASunkenCheckMark)
{
    const WindowPicture picture = Draw(3, ODS_CHECKED);
    // The system check mark, smaller than the box, centred, with a sunken
    // edge one pixel outside it.
    const CRect box(0, 0, 20, picture.nHeight);
    EXPECT_GT(CountPixels(picture, box, GetSysColor(COLOR_BTNSHADOW)), 8);
    EXPECT_GT(CountPixels(picture, box, RGB(0, 0, 0)), 5) << "the mark";
}

TEST_F(CoolMenuDrawTest, SeparatorIsAnEtchedLineAcrossTheMiddle)
{
    const WindowPicture picture = Draw(2, 0);
    EXPECT_EQ(m_measured.itemHeight, UINT(GetSystemMetrics(SM_CYMENU) / 2));
    const int y = picture.nHeight / 2;
    EXPECT_EQ(picture.GetPixel(kWidth / 2, y), PixelOf(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(picture.GetPixel(kWidth / 2, y + 1), PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT)));
}

TEST_F(CoolMenuDrawTest, ItemsOfOthersAreLeftToThem)
{
    DRAWITEMSTRUCT dis{ODT_MENU, 0, 7, ODA_DRAWENTIRE, 0, nullptr, nullptr, RECT{}, RGB(1, 2, 3)};
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, 7, 0, 0, RGB(1, 2, 3)};
    EXPECT_FALSE(m_pFrame->SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));
    EXPECT_FALSE(m_pFrame->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
}

TEST(CoolMenuDot, RadioDotIsABlackDotOnWhite)
{
    const HBITMAP hDot = CCoolMenuManager::GetMFCDotBitmap();
    BITMAP bm{};
    ASSERT_NE(::GetObjectA(hDot, sizeof(bm), &bm), 0);
    EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXMENUCHECK));
    CCoolMenuManager::FixMFCDotBitmap();
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hdc, hDot);
    EXPECT_EQ(::GetPixel(hdc, bm.bmWidth / 2, bm.bmHeight / 2), RGB(0, 0, 0));
    EXPECT_EQ(::GetPixel(hdc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(::GetPixel(hdc, bm.bmWidth / 2 - 3, bm.bmHeight / 2), RGB(255, 255, 255));
    ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);
}
} // namespace
