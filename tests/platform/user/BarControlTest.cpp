// The toolbar and status bar controls: check buttons and check groups
// under scripted clicks, commands to the parent, custom-draw answers, tips
// of the buttons, and the status bar's parts and texts.
#include "UserTestSupport.h"

#include "WinBars.h"
#include "WinImageList.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
constexpr int kToolbarId = 41;
constexpr int kStatusId = 42;

class BarControlTest : public UserTest
{
protected:
    BarControlTest()
    {
        m_hParent = CreateTopLevel(RECT{100, 100, 500, 300});
        SetHandler(m_hParent,
                   [this](HWND, UINT nMsg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
                   {
                       if (nMsg == WM_COMMAND)
                           m_commands.push_back(LOWORD(wParam));
                       if (nMsg == WM_NOTIFY &&
                           reinterpret_cast<const NMHDR*>(lParam)->code == TTN_NEEDTEXTA)
                       {
                           auto* pInfo = reinterpret_cast<NMTTDISPINFOA*>(lParam);
                           // Asked as if by the toolbar, for the command.
                           std::snprintf(pInfo->szText, sizeof(pInfo->szText), "Tip %d%s",
                                         static_cast<int>(pInfo->hdr.idFrom),
                                         pInfo->hdr.hwndFrom == m_hToolbar
                                             ? ""
                                             : " (not asked by the toolbar)");
                           return 0;
                       }
                       if (nMsg == WM_NOTIFY &&
                           reinterpret_cast<const NMHDR*>(lParam)->code == NM_CUSTOMDRAW)
                       {
                           const auto* pDraw = reinterpret_cast<const NMCUSTOMDRAW*>(lParam);
                           m_stages.push_back(pDraw->dwDrawStage);
                           if (pDraw->dwDrawStage == CDDS_PREPAINT)
                               return m_nPrePaintAnswer;
                           if (pDraw->dwDrawStage == CDDS_ITEMPREPAINT && pDraw->dwItemSpec == 102)
                               return CDRF_SKIPDEFAULT;
                       }
                       return std::nullopt;
                   });
        m_hToolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT,
                                     0, 0, 400, 30, m_hParent, reinterpret_cast<HMENU>(kToolbarId),
                                     nullptr, nullptr);
        // A push button, a separator, a check button and a group of two.
        const TBBUTTON buttons[] = {
            {0, 101, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
            {0, 0, 0, TBSTYLE_SEP, {}, 0, 0},
            {1, 102, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
            {2, 103, TBSTATE_ENABLED | TBSTATE_CHECKED, TBSTYLE_CHECKGROUP, {}, 0, 0},
            {3, 104, TBSTATE_ENABLED, TBSTYLE_CHECKGROUP, {}, 0, 0},
            {4, 105, 0, TBSTYLE_BUTTON, {}, 0, 0},
        };
        SendMessageA(m_hToolbar, TB_ADDBUTTONS, std::size(buttons),
                     reinterpret_cast<LPARAM>(buttons));
        m_harness.PumpPending();
    }

    void ClickButton(int idCommand)
    {
        const int nIndex =
            static_cast<int>(SendMessageA(m_hToolbar, TB_COMMANDTOINDEX, idCommand, 0));
        RECT rect{};
        SendMessageA(m_hToolbar, TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&rect));
        m_harness.Click(enMouseButton::Left,
                        CUiHarness::ScreenPoint(m_hToolbar, (rect.left + rect.right) / 2,
                                                (rect.top + rect.bottom) / 2));
        m_harness.PumpPending();
    }

    bool IsChecked(int idCommand)
    {
        return SendMessageA(m_hToolbar, TB_ISBUTTONCHECKED, idCommand, 0) != FALSE;
    }

    HWND m_hParent = nullptr;
    HWND m_hToolbar = nullptr;
    std::vector<int> m_commands;
    std::vector<DWORD> m_stages;
    LRESULT m_nPrePaintAnswer = CDRF_DODEFAULT;
};

TEST_F(BarControlTest, ButtonsSendTheirCommandAndCheckButtonsToggleOrStayInTheirGroup)
{
    ClickButton(101);
    ClickButton(102);
    EXPECT_TRUE(IsChecked(102));
    ClickButton(102);
    EXPECT_FALSE(IsChecked(102));
    ClickButton(104);
    EXPECT_TRUE(IsChecked(104));
    EXPECT_FALSE(IsChecked(103));
    // A checked group button stays checked when pressed again.
    ClickButton(104);
    EXPECT_TRUE(IsChecked(104));
    // A disabled button does nothing.
    ClickButton(105);
    EXPECT_EQ(m_commands, (std::vector<int>{101, 102, 102, 104, 104}));
}

TEST_F(BarControlTest, ReleaseAwayFromThePressedButtonSendsNothing)
{
    RECT first{}, second{};
    SendMessageA(m_hToolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageA(m_hToolbar, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&second));
    m_harness.MouseDown(enMouseButton::Left,
                        CUiHarness::ScreenPoint(m_hToolbar, first.left + 3, 5));
    m_harness.MouseMove(CUiHarness::ScreenPoint(m_hToolbar, second.left + 3, 5));
    m_harness.MouseUp(enMouseButton::Left, CUiHarness::ScreenPoint(m_hToolbar, second.left + 3, 5));
    m_harness.PumpPending();
    EXPECT_TRUE(m_commands.empty());
    EXPECT_FALSE(IsChecked(102));
}

TEST_F(BarControlTest, CustomDrawAnswersDecideWhatIsAskedAndDrawn)
{
    UpdateWindow(m_hToolbar);
    m_stages.clear();
    m_nPrePaintAnswer = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    InvalidateRect(m_hToolbar, nullptr, TRUE);
    UpdateWindow(m_hToolbar);
    // The separator is no item; each of the five buttons is asked, and only
    // the post-paint stage of the whole bar follows.
    EXPECT_EQ(m_stages, (std::vector<DWORD>{CDDS_PREPAINT, CDDS_ITEMPREPAINT, CDDS_ITEMPREPAINT,
                                            CDDS_ITEMPREPAINT, CDDS_ITEMPREPAINT, CDDS_ITEMPREPAINT,
                                            CDDS_POSTPAINT}));
    m_stages.clear();
    m_nPrePaintAnswer = CDRF_SKIPDEFAULT;
    InvalidateRect(m_hToolbar, nullptr, TRUE);
    UpdateWindow(m_hToolbar);
    EXPECT_EQ(m_stages, (std::vector<DWORD>{CDDS_PREPAINT}));
}

TEST_F(BarControlTest, ToolbarWithTipsHasAToolForEachButtonShownAndAsksItsParentTheText)
{
    const HWND hBar = CreateWindowExA(
        0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS, 0, 0,
        400, 30, m_hParent, reinterpret_cast<HMENU>(kToolbarId), nullptr, nullptr);
    DestroyWindow(m_hToolbar);
    m_hToolbar = hBar;
    const TBBUTTON buttons[] = {
        {0, 101, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
        {0, 0, 0, TBSTYLE_SEP, {}, 0, 0},
        {1, 102, TBSTATE_ENABLED | TBSTATE_HIDDEN, TBSTYLE_BUTTON, {}, 0, 0},
        {2, 105, 0, TBSTYLE_BUTTON, {}, 0, 0},
    };
    SendMessageA(m_hToolbar, TB_ADDBUTTONS, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
    const HWND hTip = reinterpret_cast<HWND>(SendMessageA(m_hToolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(hTip, nullptr);
    const auto restOn = [&](int nIndex)
    {
        RECT rect{};
        SendMessageA(m_hToolbar, TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&rect));
        m_harness.MouseMove(CUiHarness::ScreenPoint(m_hToolbar, rect.left + 4, rect.top + 4));
        m_harness.PumpPending();
        m_harness.AdvanceClock(500);
        m_harness.PumpPending();
        char szText[80] = {};
        if (IsWindowVisible(hTip))
            GetWindowTextA(hTip, szText, sizeof(szText));
        return std::string(szText);
    };
    // A disabled button has its tip too; the hidden one has no tool.
    EXPECT_EQ(restOn(3), "Tip 105");
    EXPECT_EQ(SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0), 2);
    SendMessageA(m_hToolbar, TB_HIDEBUTTON, 102, MAKELPARAM(FALSE, 0));
    EXPECT_EQ(restOn(2), "Tip 102");
    EXPECT_EQ(SendMessageA(hTip, TTM_GETTOOLCOUNT, 0, 0), 3);
    DestroyWindow(m_hToolbar);
    EXPECT_FALSE(IsWindow(hTip));
}

// An image of two halves: light yellow on the left, white on the right.
HBITMAP MakeHalvesBitmap(int nImages)
{
    const HDC hdcScreen = GetDC(nullptr);
    const HBITMAP hBitmap = CreateCompatibleBitmap(hdcScreen, 16 * nImages, 15);
    ReleaseDC(nullptr, hdcScreen);
    const HDC hdc = CreateCompatibleDC(nullptr);
    const HGDIOBJ hOld = SelectObject(hdc, hBitmap);
    for (int i = 0; i < nImages; ++i)
    {
        for (auto [nLeft, colour] :
             {std::pair{0, RGB(255, 255, 160)}, std::pair{8, RGB(255, 255, 255)}})
        {
            const RECT rc{16 * i + nLeft, 0, 16 * i + nLeft + 8, 15};
            const HBRUSH hBrush = CreateSolidBrush(colour);
            FillRect(hdc, &rc, hBrush);
            DeleteObject(hBrush);
        }
    }
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    return hBitmap;
}

TEST_F(BarControlTest, AddedBitmapsGrowTheImagesAndDisabledButtonsShowThemEmbossed)
{
    const HWND hBar =
        CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 400,
                        30, m_hParent, nullptr, nullptr, nullptr);
    const HBITMAP hBitmap = MakeHalvesBitmap(2);
    TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(hBitmap)};
    EXPECT_EQ(SendMessageA(hBar, TB_ADDBITMAP, 2, reinterpret_cast<LPARAM>(&add)), 0);
    EXPECT_EQ(SendMessageA(hBar, TB_ADDBITMAP, 2, reinterpret_cast<LPARAM>(&add)), 2);
    const auto hImages = reinterpret_cast<HIMAGELIST>(SendMessageA(hBar, TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(hImages, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(hImages), 4);
    add.nID = 0;
    EXPECT_EQ(SendMessageA(hBar, TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&add)), -1);
    DeleteObject(hBitmap);

    const TBBUTTON buttons[] = {
        {3, 201, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
        {3, 202, 0, TBSTYLE_BUTTON, {}, 0, 0},
    };
    SendMessageA(hBar, TB_ADDBUTTONS, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
    UpdateWindow(hBar);
    const WindowPicture picture = ClientPicture(hBar);
    if (std::getenv("SUITE_KEEP_PICTURES") != nullptr)
        SaveWindowPicture(hBar, (testing::TempDir() + "toolbar-embossed.bmp").c_str());
    const auto imagePixel = [&](int nIndex, int x, int y)
    {
        RECT rc{};
        SendMessageA(hBar, TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&rc));
        // The image is centred in the button.
        return picture.GetPixel(rc.left + (rc.right - rc.left - 16) / 2 + x,
                                rc.top + (rc.bottom - rc.top - 15) / 2 + y);
    };
    EXPECT_EQ(imagePixel(0, 4, 7), SurfacePixel(RGB(255, 255, 160)));
    EXPECT_EQ(imagePixel(0, 12, 7), SurfacePixel(RGB(255, 255, 255)));
    // Light yellow is no background: it turns into the shadow; white goes.
    EXPECT_EQ(imagePixel(1, 4, 7), SurfacePixel(GetSysColor(COLOR_3DSHADOW)));
    EXPECT_EQ(imagePixel(1, 12, 7), SurfacePixel(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(imagePixel(1, 8, 7), SurfacePixel(GetSysColor(COLOR_3DHILIGHT)));
    DestroyWindow(hBar);
}

TEST_F(BarControlTest, StatusBarPartsEndAtTheirEdgesAndKeepTheirTexts)
{
    const HWND hStatus =
        CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_hParent,
                        reinterpret_cast<HMENU>(kStatusId), nullptr, nullptr);
    ASSERT_NE(hStatus, nullptr);
    SendMessageA(hStatus, WM_SIZE, 0, 0);
    RECT rcParent{}, rcStatus{};
    GetClientRect(m_hParent, &rcParent);
    GetWindowRect(hStatus, &rcStatus);
    MapWindowPoints(nullptr, m_hParent, reinterpret_cast<POINT*>(&rcStatus), 2);
    EXPECT_EQ(rcStatus.bottom, rcParent.bottom);
    EXPECT_EQ(rcStatus.right - rcStatus.left, rcParent.right);

    const int edges[] = {150, 250, -1};
    ASSERT_TRUE(SendMessageA(hStatus, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges)));
    SendMessageA(hStatus, SB_SETTEXTA, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>("NUM"));
    char szText[16] = {};
    const LRESULT nInfo = SendMessageA(hStatus, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(szText));
    EXPECT_STREQ(szText, "NUM");
    EXPECT_EQ(LOWORD(nInfo), 3);
    EXPECT_EQ(HIWORD(nInfo), SBT_POPOUT);
    RECT rcLast{};
    ASSERT_TRUE(SendMessageA(hStatus, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&rcLast)));
    EXPECT_EQ(rcLast.right, rcStatus.right - rcStatus.left);
    EXPECT_GT(rcLast.left, 250);
}
} // namespace
