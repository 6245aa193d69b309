// CProgressWnd and CPopupWnd: the progress window's layout, showing on a
// real range, the bar's drawing and its repaint only on a change of width,
// an empty range, cancelling (button while modal, Escape), the position kept
// in the profile, auto step on the clock; the popup's frame, shadow and
// closing on input.
#include "ProgressWnd.h"
#include "PopupWnd.h"

#include "ControlPictures.h"
#include "WinProfile.h"

#include <gtest/gtest.h>

namespace
{
constexpr UINT kBarId = 1003;
constexpr UINT kCancelId = 1005;

// The profile in memory for one test.
class CMemoryProfile
{
public:
    CMemoryProfile()
    {
        CProfileStore::SetInMemory(true);
        CProfileStore::ClearMemory();
    }
    ~CMemoryProfile()
    {
        CProfileStore::ClearMemory();
        CProfileStore::SetInMemory(false);
    }
};

CRect ChildRect(CWnd& parent, UINT nId)
{
    CRect rect;
    parent.GetDlgItem(int(nId))->GetWindowRect(&rect);
    parent.ScreenToClient(&rect);
    return rect;
}

class ProgressWndTest : public ::testing::Test
{
protected:
    CFailOnBlockHarness m_harness;
    CMemoryProfile m_profile;
    CTestParent m_host{CRect(0, 0, 200, 100)};
};

TEST_F(ProgressWndTest, FreshWindowIsLaidOutRoundFourLinesAndCentred)
{
    CProgressWnd progress(&m_host, "Loading");
    ASSERT_NE(progress.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(progress.IsWindowVisible());
    CRect client;
    progress.GetClientRect(&client);
    EXPECT_EQ(client.Width(), 390 + 20);
    CRect window;
    progress.GetWindowRect(&window);
    EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - window.Width()) / 2);
    EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - window.Height()) / 2);
    const CRect text = ChildRect(progress, 1004);
    const CRect bar = ChildRect(progress, kBarId);
    const CRect cancel = ChildRect(progress, kCancelId);
    EXPECT_EQ(text.left, 10);
    EXPECT_EQ(text.right, 400);
    EXPECT_GT(text.Height(), 3 * 8);
    EXPECT_EQ(cancel.right, 400);
    EXPECT_EQ(cancel.top, text.bottom + 10);
    EXPECT_EQ(bar.right, cancel.left - 10);
    EXPECT_EQ(client.Height(), text.Height() + cancel.Height() + 30);

    progress.ShowCancelButton(FALSE);
    EXPECT_EQ(ChildRect(progress, kBarId).right, 390) << "10 short of the text's right edge";
    progress.ShowProgress(FALSE);
    EXPECT_TRUE(ChildRect(progress, kBarId).IsRectEmpty());
}

TEST_F(ProgressWndTest, ShowsOnlyForARealRange)
{
    CProgressWnd progress(&m_host, "Loading");
    progress.SetRange(0, 1, 1);
    EXPECT_FALSE(progress.IsWindowVisible());
    progress.SetRange(0, 100, 1);
    EXPECT_TRUE(progress.IsWindowVisible());
    progress.Hide();
    EXPECT_EQ(progress.OffsetPos(5), 0);
    EXPECT_TRUE(progress.IsWindowVisible());
    EXPECT_EQ(progress.StepIt(), 5);
    EXPECT_EQ(progress.SetPos(40), 6);
}

TEST_F(ProgressWndTest, BarShowsThePercentageInBothColours)
{
    CProgressWnd progress(&m_host, "Loading");
    progress.SetRange(0, 100, 1);
    progress.SetText("Reading %d files\nfrom %s", 12, "the archive");
    progress.SetPos(50);
    progress.PeekAndPump();
    DumpPicture(progress.GetSafeHwnd(), "progress-half");
    CWnd* pBar = progress.GetDlgItem(int(kBarId));
    const CClientPixels pixels(pBar->GetSafeHwnd());
    const COLORREF bar = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF rest = GetSysColor(COLOR_WINDOW);
    const int half = pixels.Width() / 2;
    EXPECT_EQ(pixels.At(1, 1), bar);
    EXPECT_EQ(pixels.At(pixels.Width() - 2, 1), rest);
    // The caption straddles the edge: the bar's colour right of it, the
    // other left of it.
    int textOverBar = 0;
    int textOverRest = 0;
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = half - 30; x < half + 30; ++x)
        {
            textOverBar += x < half && pixels.At(x, y) == rest ? 1 : 0;
            textOverRest += x >= half && pixels.At(x, y) == bar ? 1 : 0;
        }
    EXPECT_GT(textOverBar, 0);
    EXPECT_GT(textOverRest, 0);

    progress.SetProgressText("%s", "Almost there");
    EXPECT_EQ(pBar->GetWindowTextLength(), 12);
    CString caption;
    pBar->GetWindowText(caption);
    EXPECT_STREQ(caption, "Almost there");
}

TEST_F(ProgressWndTest, RepaintsOnlyWhenTheWidthChanges)
{
    CProgressWnd progress(&m_host, "Loading");
    progress.SetRange(0, 100000, 1);
    progress.SetPos(50000);
    progress.PeekAndPump();
    CWnd* pBar = progress.GetDlgItem(int(kBarId));
    auto mark = [&]
    {
        CClientDC dc(pBar);
        dc.SetPixel(0, 0, RGB(1, 2, 3));
    };
    mark();
    EXPECT_EQ(progress.SetPos(50001), 50000);
    EXPECT_EQ(CClientPixels(pBar->GetSafeHwnd()).At(0, 0), RGB(1, 2, 3)) << "not repainted";
    progress.SetPos(90000);
    EXPECT_NE(CClientPixels(pBar->GetSafeHwnd()).At(0, 0), RGB(1, 2, 3));
}

TEST_F(ProgressWndTest, EmptyOrReversedRangeDrawsNoBar)
{
    CProgressWnd progress(&m_host, "Loading");
    progress.Show();
    for (int upper : {5, 2})
    {
        progress.SetRange(5, upper, 1);
        progress.SetPos(3);
        progress.SetPos(7);
        progress.PeekAndPump();
        const CClientPixels pixels(progress.GetDlgItem(int(kBarId))->GetSafeHwnd());
        for (int x = 0; x < pixels.Width(); x += 7)
            EXPECT_EQ(pixels.At(x, pixels.Height() / 2), GetSysColor(COLOR_WINDOW)) << x;
    }
}

TEST_F(ProgressWndTest, CancelButtonEndsTheModalWindowAndFreesTheParent)
{
    CProgressWnd progress(&m_host, "Loading");
    ASSERT_TRUE(progress.GoModal("Loading"));
    EXPECT_FALSE(m_host.IsWindowEnabled());
    progress.SetRange(0, 100, 1);
    progress.PeekAndPump();
    EXPECT_FALSE(progress.Cancelled());
    const HWND hCancel = progress.GetDlgItem(int(kCancelId))->GetSafeHwnd();
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(hCancel, 5, 5));
    progress.PeekAndPump();
    EXPECT_TRUE(progress.Cancelled());
    EXPECT_EQ(progress.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(m_host.IsWindowEnabled());
}

TEST_F(ProgressWndTest, EscapeCancelsOnlyWhenAskedAndClearStartsAgain)
{
    CProgressWnd progress(&m_host, "Loading");
    progress.SetRange(0, 100, 1);
    progress.PostMessage(WM_CHAR, VK_ESCAPE, 0);
    progress.PeekAndPump(FALSE);
    EXPECT_FALSE(progress.Cancelled());
    progress.PostMessage(WM_CHAR, VK_ESCAPE, 0);
    progress.PeekAndPump(TRUE);
    EXPECT_TRUE(progress.Cancelled());
    EXPECT_FALSE(progress.IsWindowVisible());
    ASSERT_NE(progress.GetSafeHwnd(), nullptr) << "a modeless window stays";
    progress.SetPos(30);
    progress.Clear();
    EXPECT_FALSE(progress.Cancelled());
    EXPECT_EQ(progress.SetPos(1), 0);
}

TEST_F(ProgressWndTest, RemembersItsPositionInTheProfile)
{
    CProfileStore store = CProfileStore::GetApplicationStore();
    store.WriteProfileInt("ProgressBar Settings", "X Position", 100);
    store.WriteProfileInt("ProgressBar Settings", "Y Position", 50);
    {
        CProgressWnd progress;
        progress.SetRememberPosition(TRUE);
        ASSERT_TRUE(progress.Create(&m_host, "Loading"));
        CRect window;
        progress.GetWindowRect(&window);
        EXPECT_EQ(window.TopLeft(), CPoint(100, 50));
        progress.SetWindowPos(nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    EXPECT_EQ(int(store.GetProfileInt("ProgressBar Settings", "X Position", -1)), 30);
    EXPECT_EQ(int(store.GetProfileInt("ProgressBar Settings", "Y Position", -1)), 40);

    store.WriteProfileInt("ProgressBar Settings", "X Position", GetSystemMetrics(SM_CXSCREEN));
    CProgressWnd offScreen;
    offScreen.SetRememberPosition(TRUE);
    ASSERT_TRUE(offScreen.Create(&m_host, "Loading"));
    CRect window;
    offScreen.GetWindowRect(&window);
    EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - window.Width()) / 2);
}

TEST_F(ProgressWndTest, AutoStepStepsOnTheClock)
{
    CProgressWnd progress(&m_host, "Loading");
    progress.SetRange(0, 100, 2);
    EXPECT_FALSE(progress.SetAutoStep(TRUE));
    for (int i = 0; i < 3; ++i)
    {
        m_harness.AdvanceClock(100);
        m_harness.PumpPending();
    }
    EXPECT_TRUE(progress.SetAutoStep(FALSE));
    m_harness.AdvanceClock(500);
    m_harness.PumpPending();
    EXPECT_EQ(progress.SetPos(0), 6);
}

class PopupWndTest : public ::testing::TestWithParam<UINT>
{
protected:
    CFailOnBlockHarness m_harness;
};

TEST_P(PopupWndTest, ClosesAtTheFirstKeyOrClickWhenAsked)
{
    CPopupWnd staying;
    ASSERT_TRUE(staying.Create(nullptr, CRect(0, 0, 100, 50)));
    staying.SendMessage(GetParam(), 0, 0);
    m_harness.PumpPending();
    EXPECT_NE(staying.GetSafeHwnd(), nullptr);
    staying.DestroyWindow();

    CPopupWnd closing;
    closing.m_bCloseOnInput = TRUE;
    ASSERT_TRUE(closing.Create(nullptr, CRect(0, 0, 100, 50)));
    EXPECT_EQ(::GetCapture(), closing.GetSafeHwnd());
    closing.SendMessage(GetParam(), 0, 0);
    m_harness.PumpPending();
    EXPECT_EQ(closing.GetSafeHwnd(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Input, PopupWndTest,
                         ::testing::Values(WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN,
                                           WM_MBUTTONDOWN, WM_RBUTTONDOWN));

TEST(PopupWnd, DrawsAFramedTextBoxWithADitheredShadow)
{
    CFailOnBlockHarness harness;
    CPopupWnd popup;
    popup.m_strText = "A popup text long enough to break into lines";
    ASSERT_TRUE(popup.Create(nullptr, CRect(20, 20, 180, 90)));
    popup.UpdateWindow();
    DumpPicture(popup.GetSafeHwnd(), "popup");
    const CClientPixels pixels(popup.GetSafeHwnd());
    EXPECT_EQ(pixels.At(1, 30), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(pixels.At(160 - 8 - 1, 30), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(pixels.At(5, 58), GetSysColor(COLOR_INFOBK));
    // In the bottom band every other pixel is darkened to black.
    const COLORREF a = pixels.At(40, 66);
    const COLORREF b = pixels.At(41, 66);
    EXPECT_NE(a, b);
    EXPECT_TRUE(a == RGB(0, 0, 0) || b == RGB(0, 0, 0));
    EXPECT_EQ(pixels.At(40, 67) == RGB(0, 0, 0), b == RGB(0, 0, 0));
}
} // namespace
