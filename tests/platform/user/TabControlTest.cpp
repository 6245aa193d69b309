// The tab control: tabs kept and selected, switching by mouse and keys with
// its notifications and the parent's veto, a tip for each tab asked of the
// parent and renumbered as tabs go, the display area on every side the tabs
// can take, and rows of tabs.
#include "UserTestSupport.h"

#include "WinGdi.h"
#include "WinInput.h"
#include "WinModule.h"
#include "WinSysMetrics.h"
#include "WinTabControl.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace
{
constexpr int kTabId = 44;

class TabControlTest : public UserTest
{
protected:
    TabControlTest()
    {
        m_hParent = CreateTopLevel(RECT{100, 100, 500, 400});
        SetHandler(m_hParent, [this](HWND, UINT nMsg, WPARAM, LPARAM lParam)
                   { return nMsg == WM_NOTIFY ? OnNotify(lParam) : std::nullopt; });
    }

    HWND Create(DWORD dwStyle, const std::vector<const char*>& titles, int cx = 300, int cy = 200)
    {
        m_hTab = CreateWindowExA(0, WC_TABCONTROLA, "", dwStyle | WS_CHILD | WS_VISIBLE, 10, 10, cx,
                                 cy, m_hParent, reinterpret_cast<HMENU>(UINT_PTR(kTabId)),
                                 GetModuleHandleA(nullptr), nullptr);
        for (const char* pszTitle : titles)
            Insert(Count(), pszTitle);
        m_harness.PumpPending();
        return m_hTab;
    }

    std::optional<LRESULT> OnNotify(LPARAM lParam)
    {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr->code == TTN_NEEDTEXTA && hdr->hwndFrom == m_hTab)
        {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
            m_tipAsks.push_back(static_cast<int>(hdr->idFrom));
            std::snprintf(info->szText, sizeof(info->szText), "Tip of %s",
                          Title(static_cast<int>(hdr->idFrom)).c_str());
            return 0;
        }
        if (hdr->idFrom != kTabId)
            return std::nullopt;
        if (hdr->code == TCN_SELCHANGING || hdr->code == TCN_SELCHANGE || hdr->code == NM_CLICK)
        {
            m_seen.push_back({hdr->code, Selected()});
            return hdr->code == TCN_SELCHANGING ? m_nVeto : 0;
        }
        return std::nullopt;
    }

    int Insert(int nAt, const char* pszTitle)
    {
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = const_cast<LPSTR>(pszTitle);
        item.lParam = 1000 + nAt;
        return static_cast<int>(
            SendMessageA(m_hTab, TCM_INSERTITEMA, nAt, reinterpret_cast<LPARAM>(&item)));
    }

    int Count() const { return static_cast<int>(SendMessageA(m_hTab, TCM_GETITEMCOUNT, 0, 0)); }
    int Selected() const { return static_cast<int>(SendMessageA(m_hTab, TCM_GETCURSEL, 0, 0)); }

    std::string Title(int nIndex) const
    {
        char szText[64] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = szText;
        item.cchTextMax = sizeof(szText);
        return SendMessageA(m_hTab, TCM_GETITEMA, nIndex, reinterpret_cast<LPARAM>(&item))
                   ? szText
                   : "<none>";
    }

    RECT TabRect(int nIndex) const
    {
        RECT rc{};
        EXPECT_TRUE(SendMessageA(m_hTab, TCM_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&rc)));
        return rc;
    }

    void ClickTab(int nIndex)
    {
        const RECT rc = TabRect(nIndex);
        m_harness.AdvanceClock(1000); // no double click
        m_harness.Click(
            enMouseButton::Left,
            CUiHarness::ScreenPoint(m_hTab, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
        m_harness.PumpPending();
    }

    // The tip shown after the pointer rests on a tab; empty when none shows.
    std::string RestOn(int nIndex)
    {
        const HWND hTip = reinterpret_cast<HWND>(SendMessageA(m_hTab, TCM_GETTOOLTIPS, 0, 0));
        const RECT rc = TabRect(nIndex);
        m_harness.MouseMove(CUiHarness::ScreenPoint(m_hTab, rc.left + 3, rc.top + 3));
        m_harness.PumpPending();
        m_harness.AdvanceClock(600);
        m_harness.PumpPending();
        char szText[80] = {};
        if (IsWindowVisible(hTip))
            GetWindowTextA(hTip, szText, sizeof(szText));
        return szText;
    }

    HWND m_hParent = nullptr;
    HWND m_hTab = nullptr;
    std::vector<std::pair<UINT, int>> m_seen; // code, selection at the time
    std::vector<int> m_tipAsks;
    LRESULT m_nVeto = 0;
};

TEST_F(TabControlTest, TabsKeepTheirItemsAndTheSelectionFollowsInsertionsAndDeletions)
{
    Create(0, {});
    EXPECT_EQ(Selected(), -1);
    EXPECT_EQ(Insert(0, "Axial"), 0);
    EXPECT_EQ(Selected(), 0) << "the first tab of an empty control is selected";
    EXPECT_EQ(Insert(9, "Sagittal"), 1) << "past the end: appended";
    EXPECT_EQ(Insert(0, "Coronal"), 0);
    EXPECT_EQ(Selected(), 1) << "the selected tab moved along";
    EXPECT_EQ(Title(0) + "|" + Title(1) + "|" + Title(2), "Coronal|Axial|Sagittal");
    TCITEMA item{};
    item.mask = TCIF_PARAM;
    SendMessageA(m_hTab, TCM_GETITEMA, 2, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.lParam, 1009);
    EXPECT_EQ(Title(3), "<none>");
    // Setting the selection tells nobody and answers the old one.
    EXPECT_EQ(SendMessageA(m_hTab, TCM_SETCURSEL, 2, 0), 1);
    EXPECT_EQ(SendMessageA(m_hTab, TCM_SETCURSEL, 7, 0), -1);
    EXPECT_EQ(Selected(), 2);
    EXPECT_TRUE(SendMessageA(m_hTab, TCM_DELETEITEM, 0, 0));
    EXPECT_EQ(Selected(), 1);
    EXPECT_TRUE(SendMessageA(m_hTab, TCM_DELETEITEM, 1, 0));
    EXPECT_EQ(Selected(), -1) << "the selected tab went";
    EXPECT_FALSE(SendMessageA(m_hTab, TCM_DELETEITEM, 5, 0));
    EXPECT_TRUE(m_seen.empty());
}

TEST_F(TabControlTest, ClickingATabAsksTheParentSwitchesAndTellsAndAVetoKeepsTheTab)
{
    Create(TCS_FOCUSONBUTTONDOWN, {"Image", "Series", "Study"});
    ClickTab(2);
    // Each notification with the selection as it stood when it was sent.
    using Table = std::vector<std::pair<UINT, int>>;
    EXPECT_EQ(m_seen, (Table{{TCN_SELCHANGING, 0}, {TCN_SELCHANGE, 2}, {UINT(NM_CLICK), 2}}));
    EXPECT_EQ(GetFocus(), m_hTab);
    m_seen.clear();
    ClickTab(2);
    EXPECT_EQ(m_seen, (Table{{UINT(NM_CLICK), 2}}));
    m_seen.clear();
    m_harness.KeyPress(VK_LEFT);
    m_harness.PumpPending();
    EXPECT_EQ(m_seen, (Table{{TCN_SELCHANGING, 2}, {TCN_SELCHANGE, 1}}));
    m_seen.clear();
    m_nVeto = TRUE;
    ClickTab(0);
    EXPECT_EQ(m_seen, (Table{{TCN_SELCHANGING, 1}, {UINT(NM_CLICK), 1}}));
    EXPECT_EQ(Selected(), 1);
}

TEST_F(TabControlTest, EachTabHasATipAskedOfTheParentByIndexAndTheToolsFollowTheTabs)
{
    Create(TCS_TOOLTIPS, {"First", "Second", "Third"});
    const HWND hTip = reinterpret_cast<HWND>(SendMessageA(m_hTab, TCM_GETTOOLTIPS, 0, 0));
    ASSERT_NE(hTip, nullptr);
    EXPECT_EQ(SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0), 3);
    EXPECT_EQ(RestOn(1), "Tip of Second");
    EXPECT_EQ(m_tipAsks, std::vector<int>{1});
    // Moving to another tab shows that tab's tip; the selection is not touched.
    EXPECT_EQ(RestOn(2), "Tip of Third");
    EXPECT_EQ(Selected(), 0);

    // A text the caller sets for a tool stays through layout changes.
    TOOLINFOA info{};
    info.cbSize = sizeof(info);
    info.hwnd = m_hTab;
    info.uId = 0;
    info.lpszText = const_cast<LPSTR>("Own text");
    SendMessageA(hTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageA(m_hTab, TCM_DELETEITEM, 1, 0);
    EXPECT_EQ(SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0), 2);
    // The tools are renumbered: tool 1 now lies on what was the third tab.
    info.uId = 1;
    info.lpszText = nullptr;
    ASSERT_TRUE(SendMessageA(hTip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)));
    const RECT rc = TabRect(1);
    EXPECT_TRUE(EqualRect(&info.rect, &rc));
    m_tipAsks.clear();
    EXPECT_EQ(RestOn(1), "Tip of Third");
    EXPECT_EQ(RestOn(0), "Own text");
    EXPECT_EQ(m_tipAsks, std::vector<int>{1});
    DestroyWindow(m_hTab);
    EXPECT_FALSE(IsWindow(hTip));
}

TEST_F(TabControlTest, AdjustRectTurnsTheWindowIntoTheDisplayAreaAndBackOnEverySide)
{
    const DWORD styles[] = {0, TCS_BOTTOM, TCS_VERTICAL | TCS_MULTILINE,
                            TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE};
    for (const DWORD dwStyle : styles)
    {
        Create(dwStyle, {"One", "Two"});
        RECT client{};
        GetClientRect(m_hTab, &client);
        RECT display = client;
        SendMessageA(m_hTab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
        // Inside the window, clear of every tab, the tabs on the styled side.
        RECT inside{};
        EXPECT_TRUE(IntersectRect(&inside, &display, &client));
        EXPECT_TRUE(EqualRect(&inside, &display)) << dwStyle;
        for (int i = 0; i < 2; ++i)
        {
            const RECT tab = TabRect(i);
            RECT overlap{};
            EXPECT_FALSE(IntersectRect(&overlap, &tab, &display)) << dwStyle;
            const bool bSide = (dwStyle & TCS_VERTICAL)
                                   ? ((dwStyle & TCS_RIGHT) ? tab.left >= display.right
                                                            : tab.right <= display.left)
                                   : ((dwStyle & TCS_BOTTOM) ? tab.top >= display.bottom
                                                             : tab.bottom <= display.top);
            EXPECT_TRUE(bSide) << dwStyle;
        }
        SendMessageA(m_hTab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&display));
        EXPECT_TRUE(EqualRect(&display, &client)) << dwStyle;
        DestroyWindow(m_hTab);
    }
}

TEST_F(TabControlTest, MultilineTabsWrapIntoRowsAndTheDisplayAreaShrinksByARowEach)
{
    Create(TCS_MULTILINE, {"Patient", "Study", "Series", "Image", "Overlay", "Report"}, 140, 200);
    const int nRows = static_cast<int>(SendMessageA(m_hTab, TCM_GETROWCOUNT, 0, 0));
    EXPECT_GE(nRows, 3);
    RECT display{0, 0, 140, 200};
    SendMessageA(m_hTab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    const RECT first = TabRect(0);
    const int nRowHeight = first.bottom - first.top;
    MoveWindow(m_hTab, 10, 10, 1000, 200, TRUE);
    EXPECT_EQ(SendMessageA(m_hTab, TCM_GETROWCOUNT, 0, 0), 1);
    RECT wide{0, 0, 140, 200};
    SendMessageA(m_hTab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&wide));
    EXPECT_EQ(display.top - wide.top, (nRows - 1) * nRowHeight);
}

TEST_F(TabControlTest, ALineThatDoesNotFitScrollsByItsArrowsAndToTheTabSelected)
{
    Create(0, {"Patient", "Study", "Series", "Image", "Overlay", "Report", "Print"}, 220, 120);
    const int cxArrow = GetSystemMetrics(SM_CXHSCROLL);
    const RECT first = TabRect(0);
    const int yRow = (first.top + first.bottom) / 2;
    EXPECT_GT(TabRect(6).right, 220) << "past the end";
    // The arrows lie over the line's end and are no tab.
    TCHITTESTINFO hit{POINT{220 - cxArrow, yRow}, 0};
    EXPECT_EQ(SendMessageA(m_hTab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    const auto clickAt = [this](int x, int y)
    {
        m_harness.AdvanceClock(1000);
        m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(m_hTab, x, y));
        m_harness.PumpPending();
    };
    clickAt(220 - cxArrow / 2, yRow);
    EXPECT_EQ(TabRect(1).left, first.left) << "the second tab starts the line";
    EXPECT_EQ(Selected(), 0) << "scrolling selects nothing";
    UpdateWindow(m_hTab);
    SaveWindowPicture(m_hTab, (testing::TempDir() + "tab-scrolled.bmp").c_str());
    clickAt(220 - cxArrow - cxArrow / 2, yRow);
    EXPECT_EQ(TabRect(0).left, first.left);
    SendMessageA(m_hTab, TCM_SETCURFOCUS, 6, 0);
    EXPECT_EQ(Selected(), 6);
    EXPECT_LE(TabRect(6).right, 220 - 2 * cxArrow) << "the tab selected comes into sight";
    EXPECT_GE(TabRect(5).right, TabRect(6).left);
}

TEST_F(TabControlTest, OwnerDrawnTabsAreDrawnByTheParentWithTheirState)
{
    std::vector<DRAWITEMSTRUCT> drawn;
    SetHandler(m_hParent,
               [&drawn](HWND, UINT nMsg, WPARAM, LPARAM lParam) -> std::optional<LRESULT>
               {
                   if (nMsg != WM_DRAWITEM)
                       return std::nullopt;
                   drawn.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                   return TRUE;
               });
    Create(TCS_OWNERDRAWFIXED, {"One", "Two"});
    SendMessageA(m_hTab, TCM_SETCURSEL, 1, 0);
    drawn.clear();
    UpdateWindow(m_hTab);
    ASSERT_EQ(drawn.size(), 2U);
    for (const DRAWITEMSTRUCT& draw : drawn)
    {
        EXPECT_EQ(draw.CtlType, UINT(ODT_TAB));
        EXPECT_EQ(draw.CtlID, UINT(kTabId));
        EXPECT_EQ(draw.hwndItem, m_hTab);
        // The item data is the tab's lParam; the selected tab comes last, lifted.
        EXPECT_EQ(draw.itemData, ULONG_PTR(1000 + draw.itemID));
        EXPECT_EQ(draw.itemState, draw.itemID == 1 ? UINT(ODS_SELECTED) : 0U);
    }
    EXPECT_EQ(drawn.back().itemID, 1U);
    EXPECT_LT(drawn.back().rcItem.top, TabRect(1).top);
}

TEST_F(TabControlTest, PicturesOfTabsOnEachSide)
{
    LOGFONTA font{};
    font.lfHeight = -12;
    std::strcpy(font.lfFaceName, "DejaVu Sans");
    const struct
    {
        DWORD dwStyle;
        int nEscapement;
        const char* pszName;
    } sides[] = {{TCS_FOCUSONBUTTONDOWN, 0, "top"},
                 {TCS_BOTTOM, 0, "bottom"},
                 {TCS_VERTICAL | TCS_MULTILINE, 900, "left"},
                 {TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, 2700, "right"}};
    for (const auto& side : sides)
    {
        Create(side.dwStyle, {"Axial", "Coronal", "Sagittal"}, 260, 160);
        font.lfEscapement = side.nEscapement;
        const HFONT hFont = CreateFontIndirectA(&font);
        SendMessageA(m_hTab, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
        SendMessageA(m_hTab, TCM_SETCURSEL, 1, 0);
        UpdateWindow(m_hTab);
        SaveWindowPicture(m_hTab, (testing::TempDir() + "tab-" + side.pszName + ".bmp").c_str());
        // The selected tab has no edge toward the display area: its face runs
        // into it.
        const WindowPicture picture = ClientPicture(m_hTab);
        const RECT tab = TabRect(1);
        // Where the display area's frame runs past the tab.
        const POINT join = (side.dwStyle & TCS_VERTICAL)
                               ? POINT{(side.dwStyle & TCS_RIGHT) ? tab.left - 1 : tab.right,
                                       (tab.top + tab.bottom) / 2}
                               : POINT{(tab.left + tab.right) / 2,
                                       (side.dwStyle & TCS_BOTTOM) ? tab.top - 1 : tab.bottom};
        EXPECT_EQ(picture.GetPixel(join.x, join.y), SurfacePixel(GetSysColor(COLOR_BTNFACE)))
            << side.pszName;
        DestroyWindow(m_hTab);
        DeleteObject(hFont);
    }
}
} // namespace
