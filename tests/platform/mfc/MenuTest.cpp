// CMenu and the frame's menus: owner-drawn items reaching their CMenu, the
// command-update walk over a popup whose handlers change it, menu bars
// loaded with the frame and accelerators.
#include "../FailOnBlockHarness.h"
#include "AfxWin.h"
#include "ResourceRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
constexpr UINT kMenuId = 300;
constexpr UINT kAccelId = 300;
constexpr UINT ID_ZOOM = 40001;
constexpr UINT ID_GRID = 40002;
constexpr UINT ID_RULER = 40003;
constexpr UINT ID_SERIES_FIRST = 40100;
constexpr UINT ID_NO_HANDLER = 40200;
constexpr UINT ID_OWNER_FIRST = 50000;

constexpr MenuItemTemplate kViewItems[] = {
    {MF_STRING, ID_SERIES_FIRST, "Old series", {}},
    {MF_STRING, ID_ZOOM, "&Zoom\tCtrl+Z", {}},
    {MF_STRING, ID_GRID, "&Grid", {}},
    {MF_STRING, ID_NO_HANDLER, "&Nothing", {}},
    {MF_STRING, ID_RULER, "&Ruler", {}},
};
constexpr MenuItemTemplate kBarItems[] = {{MF_POPUP, 0, "&View", kViewItems}};
constexpr MenuTemplate kMenu{kBarItems};
const ResourceMenuEntry kMenus[] = {{MAKEINTRESOURCE(kMenuId), &kMenu}};
constexpr AcceleratorEntry kAccelerators[] = {{FVIRTKEY | FCONTROL, 'Z', ID_ZOOM},
                                              {FVIRTKEY, VK_F7, ID_NO_HANDLER}};
const ResourceAcceleratorEntry kAccelTables[] = {{MAKEINTRESOURCE(kAccelId), kAccelerators}};
const ResourceRegistrar kRegistrar({.menus = kMenus, .accelerators = kAccelTables});

// Items measured and drawn by the object of their own menu.
class COwnerMenu : public CMenu
{
public:
    explicit COwnerMenu(std::vector<std::string>& log, std::string name)
        : m_log(log), m_name(std::move(name))
    {
    }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override
    {
        m_log.push_back(m_name + " measures " + std::to_string(lpMIS->itemID));
        lpMIS->itemWidth = 60;
        lpMIS->itemHeight = 18;
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        m_log.push_back(m_name + " draws " + std::to_string(lpDIS->itemID));
    }

private:
    std::vector<std::string>& m_log;
    std::string m_name;
};

class CMenuFrame : public CFrameWnd
{
public:
    std::vector<std::string> calls;
    int nRulerUpdates = 0;
    bool bEditWhileUpdating = true;

protected:
    afx_msg void OnZoom() { calls.push_back("zoom"); }
    afx_msg void OnGrid() { calls.push_back("grid"); }
    afx_msg void OnRuler() { calls.push_back("ruler"); }
    afx_msg void OnSeries(UINT nID) { calls.push_back("series " + std::to_string(nID)); }
    afx_msg void OnOwnerItem(UINT nID) { calls.push_back("owner " + std::to_string(nID)); }
    afx_msg void OnUpdateGrid(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnUpdateRuler(CCmdUI* pCmdUI)
    {
        ++nRulerUpdates;
        pCmdUI->Enable(FALSE);
    }
    // Replaces the series items in front of the zoom item while the walk
    // runs, as the viewer's series list does: one item out, three in.
    afx_msg void OnUpdateSeries(CCmdUI* pCmdUI)
    {
        if (!bEditWhileUpdating)
            return;
        bEditWhileUpdating = false;
        pCmdUI->m_pMenu->DeleteMenu(0, MF_BYPOSITION);
        for (UINT i = 0; i < 3; ++i)
            pCmdUI->m_pMenu->InsertMenu(i, MF_BYPOSITION | MF_STRING, ID_SERIES_FIRST + 1 + i,
                                        "Series");
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuFrame, CFrameWnd)
ON_COMMAND(ID_ZOOM, OnZoom)
ON_COMMAND(ID_GRID, OnGrid)
ON_COMMAND(ID_RULER, OnRuler)
ON_COMMAND_RANGE(ID_SERIES_FIRST, ID_SERIES_FIRST + 10, OnSeries)
ON_COMMAND_RANGE(ID_OWNER_FIRST, ID_OWNER_FIRST + 100, OnOwnerItem)
ON_UPDATE_COMMAND_UI(ID_GRID, OnUpdateGrid)
ON_UPDATE_COMMAND_UI(ID_RULER, OnUpdateRuler)
ON_UPDATE_COMMAND_UI_RANGE(ID_SERIES_FIRST, ID_SERIES_FIRST + 10, OnUpdateSeries)
END_MESSAGE_MAP()

class MfcMenuTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CMenuFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Menus", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     CRect(100, 100, 500, 400), nullptr, MAKEINTRESOURCE(kMenuId)));
        m_harness.PumpPending();
    }
    void TearDown() override
    {
        if (IsWindow(m_hFrame()))
            m_pFrame->DestroyWindow();
    }
    HWND m_hFrame() const { return m_pFrame->m_hWnd; }

    CFailOnBlockHarness m_harness;
    CMenuFrame* m_pFrame = nullptr;
};

TEST_F(MfcMenuTest, FrameLoadsItsMenuBarFromTheResources)
{
    CMenu* pBar = m_pFrame->GetMenu();
    ASSERT_NE(pBar, nullptr);
    EXPECT_EQ(pBar->GetMenuItemCount(), 1u);
    CString caption;
    pBar->GetSubMenu(0)->GetMenuString(ID_ZOOM, caption, MF_BYCOMMAND);
    EXPECT_EQ(caption, CString("&Zoom\tCtrl+Z"));
}

TEST_F(MfcMenuTest, UpdateWalkSurvivesHandlersThatEditThePopup)
{
    CMenu* pView = m_pFrame->GetMenu()->GetSubMenu(0);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pView->m_hMenu), 0);
    ASSERT_EQ(pView->GetMenuItemCount(), 7u);
    EXPECT_EQ(pView->GetMenuItemID(0), ID_SERIES_FIRST + 1);
    EXPECT_EQ(pView->GetMenuState(ID_GRID, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));
    EXPECT_EQ(pView->GetMenuState(ID_NO_HANDLER, MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED))
        << "no handler: disabled";
    EXPECT_EQ(pView->GetMenuState(ID_ZOOM, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(m_pFrame->nRulerUpdates, 1) << "every item once, the one after the edit included";
    EXPECT_EQ(pView->GetMenuState(ID_RULER, MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED));
}

TEST_F(MfcMenuTest, AcceleratorsOfTheFrameBecomeCommandsAndDisabledItemsDoNothing)
{
    ASSERT_TRUE(m_pFrame->LoadAccelTable(MAKEINTRESOURCE(kAccelId)));
    m_harness.KeyDown(VK_CONTROL);
    m_harness.PumpPending();
    MSG msg{m_hFrame(), WM_KEYDOWN, 'Z', 0, 0, {0, 0}};
    EXPECT_TRUE(m_pFrame->PreTranslateMessage(&msg));
    EXPECT_EQ(m_pFrame->calls, std::vector<std::string>{"zoom"});
    m_harness.KeyUp(VK_CONTROL);
    m_harness.PumpPending();
    MSG f7{m_hFrame(), WM_KEYDOWN, VK_F7, 0, 0, {0, 0}};
    EXPECT_TRUE(m_pFrame->PreTranslateMessage(&f7)) << "taken, but its item has no handler";
    EXPECT_EQ(m_pFrame->calls.size(), 1u);
}

TEST_F(MfcMenuTest, OwnerDrawnItemsReachTheirOwnMenuObjects)
{
    std::vector<std::string> log;
    COwnerMenu popup(log, "popup");
    COwnerMenu sub(log, "sub");
    ASSERT_TRUE(popup.CreatePopupMenu());
    ASSERT_TRUE(sub.CreatePopupMenu());
    sub.AppendMenu(MF_OWNERDRAW, ID_OWNER_FIRST + 72, reinterpret_cast<LPCSTR>(2));
    popup.AppendMenu(MF_OWNERDRAW, ID_OWNER_FIRST + 71, reinterpret_cast<LPCSTR>(1));
    popup.AppendMenu(MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub.m_hMenu), "More");
    m_harness.Script().KeyPress(VK_DOWN).KeyPress(VK_DOWN).KeyPress(VK_RIGHT).KeyPress(VK_RETURN);
    EXPECT_TRUE(popup.TrackPopupMenu(TPM_LEFTALIGN, 150, 150, m_pFrame));
    m_harness.PumpPending();
    const std::vector<std::string> expected = {
        "popup measures 50071", "popup draws 50071", "popup draws 50071", "popup draws 50071",
        "sub measures 50072",   "sub draws 50072",   "sub draws 50072"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(m_pFrame->calls, std::vector<std::string>{"owner 50072"});
    // The submenu goes with the popup that holds it.
    sub.Detach();
}
TEST_F(MfcMenuTest, OwnerDrawnPopupItemsAndSeparatorsReachTheirMenuWithTheirData)
{
    std::vector<std::string> log;
    COwnerMenu popup(log, "popup");
    COwnerMenu sub(log, "sub");
    ASSERT_TRUE(popup.CreatePopupMenu());
    ASSERT_TRUE(sub.CreatePopupMenu());
    sub.AppendMenu(MF_OWNERDRAW, ID_OWNER_FIRST + 73, reinterpret_cast<LPCSTR>(3));
    popup.AppendMenu(MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.m_hMenu),
                     reinterpret_cast<LPCSTR>(1));
    popup.AppendMenu(MF_OWNERDRAW | MF_SEPARATOR, 0, reinterpret_cast<LPCSTR>(2));
    popup.AppendMenu(MF_OWNERDRAW, ID_OWNER_FIRST + 74, reinterpret_cast<LPCSTR>(4));
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    ASSERT_TRUE(popup.GetMenuItemInfo(1, &info, TRUE));
    EXPECT_EQ(info.dwItemData, ULONG_PTR(2));
    EXPECT_EQ(info.fType, UINT(MFT_SEPARATOR | MFT_OWNERDRAW));
    m_harness.Script().KeyPress(VK_ESCAPE);
    EXPECT_TRUE(popup.TrackPopupMenu(TPM_LEFTALIGN, 150, 150, m_pFrame));
    const auto count = [&](const std::string& prefix)
    {
        return std::count_if(log.begin(), log.end(),
                             [&](const std::string& line) { return line.starts_with(prefix); });
    };
    EXPECT_EQ(count("popup measures"), 3) << "the popup item and the separator included";
    EXPECT_EQ(count("popup draws"), 3);
    sub.Detach();
}
} // namespace
