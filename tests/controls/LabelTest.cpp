// The label: colours and font reaching its painting, flashing text and
// background on the timer, edges, and links opened through the desktop's
// opener (replaced here, so nothing starts).
#include "Label.h"
#include "../platform/base/ScopedEnvironment.h"
#include "../platform/base/TempFolder.h"
#include "ControlTestSupport.h"
#include "WinShellExecute.h"

#include <filesystem>

namespace
{
class LabelTest : public testing::Test
{
protected:
    LabelTest()
    {
        m_label.Create("Pelivo", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(10, 10, 210, 50), &m_parent,
                       51);
        m_harness.PumpPending();
    }

    CString Text() const
    {
        CString text;
        m_label.GetWindowText(text);
        return text;
    }

    WindowPicture Painted()
    {
        m_label.Invalidate();
        m_label.UpdateWindow();
        m_harness.PumpPending();
        return ClientPictureOf(m_label.m_hWnd);
    }

    void Tick()
    {
        m_harness.AdvanceClock(500);
        m_harness.PumpPending();
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_parent;
    CLabel m_label;
};

TEST_F(LabelTest, ColoursAndFontReachThePainting)
{
    m_label.SetTextColor(RGB(200, 0, 0)).SetBkColor(RGB(0, 0, 120));
    WindowPicture picture = Painted();
    EXPECT_EQ(picture.GetPixel(195, 35), PixelOf(RGB(0, 0, 120)));
    const int nSmall = CountPixelsNear(picture, CRect(0, 0, 200, 40), RGB(200, 0, 0), 60);
    EXPECT_GT(nSmall, 20);
    m_label.SetFontSize(30).SetFontBold(TRUE);
    picture = Painted();
    EXPECT_GT(CountPixelsNear(picture, CRect(0, 0, 200, 40), RGB(200, 0, 0), 60), 3 * nSmall)
        << "a larger, bold font";
    EXPECT_EQ(m_label.SetText("Other")
                  .SetFontName("A face name much longer than a font allows")
                  .SetFontItalic(TRUE)
                  .SetFontUnderline(TRUE)
                  .GetSafeHwnd(),
              m_label.m_hWnd);
    EXPECT_EQ(Text(), CString("Other"));
}

TEST_F(LabelTest, EdgesComeAndGo)
{
    m_label.SetSunken(TRUE).SetBorder(TRUE);
    EXPECT_TRUE(m_label.GetExStyle() & WS_EX_STATICEDGE);
    EXPECT_TRUE(m_label.GetStyle() & WS_BORDER);
    m_label.SetSunken(FALSE).SetBorder(FALSE);
    EXPECT_FALSE(m_label.GetExStyle() & WS_EX_STATICEDGE);
    EXPECT_FALSE(m_label.GetStyle() & WS_BORDER);
}

TEST_F(LabelTest, FlashingTextAlternatesWithNothingAndComesBack)
{
    m_label.FlashText(TRUE);
    EXPECT_EQ(Text(), CString("Pelivo"));
    Tick();
    EXPECT_EQ(Text(), CString(""));
    Tick();
    EXPECT_EQ(Text(), CString("Pelivo"));
    Tick();
    EXPECT_EQ(Text(), CString(""));
    m_label.FlashText(FALSE);
    EXPECT_EQ(Text(), CString("Pelivo"));
    Tick();
    EXPECT_EQ(Text(), CString("Pelivo")) << "stopped";
}

TEST_F(LabelTest, FlashingBackgroundAlternatesWithTheButtonFace)
{
    m_label.SetBkColor(RGB(0, 120, 0));
    m_label.FlashBackground(TRUE);
    EXPECT_EQ(Painted().GetPixel(195, 35), PixelOf(GetSysColor(COLOR_BTNFACE)));
    Tick();
    EXPECT_EQ(ClientPictureOf(m_label.m_hWnd).GetPixel(195, 35), PixelOf(RGB(0, 120, 0)));
    Tick();
    EXPECT_EQ(ClientPictureOf(m_label.m_hWnd).GetPixel(195, 35),
              PixelOf(GetSysColor(COLOR_BTNFACE)));
    m_label.FlashBackground(FALSE);
    EXPECT_EQ(Painted().GetPixel(195, 35), PixelOf(RGB(0, 120, 0)));
}

TEST_F(LabelTest, StoppingEitherFlashingLeavesTheLabelsOwnText)
{
    m_label.FlashBackground(TRUE);
    m_label.FlashText(FALSE);
    EXPECT_EQ(Text(), CString("Pelivo")) << "no flashing text to put back";
    m_label.FlashText(TRUE);
    Tick();
    EXPECT_EQ(Text(), CString(""));
    m_label.FlashBackground(FALSE);
    EXPECT_EQ(Text(), CString("Pelivo"));
    m_label.SetText("New");
    m_label.FlashText(FALSE);
    EXPECT_EQ(Text(), CString("New")) << "an old saved text never comes back";
}

TEST_F(LabelTest, LinkClickOpensTheTextWithTheDesktopsOpener)
{
    CScopedEnvironment path("PATH");
    CTempFolder folder;
    const std::string opener = folder.WriteFile("xdg-open", "#!/bin/sh\n");
    std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    setenv("PATH", folder.GetPath().c_str(), 1);
    std::vector<std::string> opened;
    SetShellOpenerLauncher(
        [&](LPCSTR, LPCSTR lpszTarget)
        {
            opened.emplace_back(lpszTarget);
            return true;
        });
    m_label.SetText("http://www.example.org/");
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(m_label.m_hWnd, 5, 5));
    m_harness.PumpPending();
    EXPECT_TRUE(opened.empty()) << "without SS_NOTIFY the click goes through";
    m_label.SetLink(TRUE);
    EXPECT_TRUE(m_label.GetStyle() & SS_NOTIFY);
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(m_label.m_hWnd, 5, 5));
    m_harness.PumpPending();
    EXPECT_EQ(opened, std::vector<std::string>{"http://www.example.org/"});
    m_label.SetLink(FALSE);
    EXPECT_FALSE(m_label.GetStyle() & SS_NOTIFY);
    m_label.ModifyStyle(0, SS_NOTIFY);
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(m_label.m_hWnd, 5, 5));
    m_harness.PumpPending();
    EXPECT_EQ(opened.size(), 1u) << "a label that is no link opens nothing";
    SetShellOpenerLauncher(nullptr);
}

TEST_F(LabelTest, LinkCursorShowsOverTheLabel)
{
    const HCURSOR hHand = ::LoadCursorA(nullptr, IDC_CROSS);
    m_label.SetLink(TRUE).SetLinkCursor(hHand);
    m_harness.MouseMove(CUiHarness::ScreenPoint(m_label.m_hWnd, 5, 5));
    m_harness.PumpPending();
    EXPECT_EQ(::GetCursor(), hHand);
}
} // namespace
