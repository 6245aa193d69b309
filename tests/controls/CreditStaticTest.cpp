// CCreditStatic: the lines and their styles in the still picture, the blank
// gap of a heading escape alone, scrolling one pixel per tick on the
// replaceable clock, widths measured only on the first pass, the speeds,
// and bitmap lines and a background image seen through grey 192.
#include "CreditStatic.h"

#include "ControlPictures.h"
#include "ResourceRegistry.h"

#include <gtest/gtest.h>

namespace
{
constexpr COLORREF kGrey = RGB(192, 192, 192);

// Left half see-through grey, right half green.
const std::vector<std::uint8_t> kLogo =
    BitmapFileOf(20, 10, [](int x, int) { return x < 10 ? kGrey : RGB(0, 160, 0); });
const std::vector<std::uint8_t> kBlue = BitmapFileOf(8, 8, [](int, int) { return RGB(0, 0, 200); });
const ResourceDataEntry kResources[] = {
    {RT_BITMAP, "LOGO", kLogo.data(), DWORD(kLogo.size())},
    {RT_BITMAP, MAKEINTRESOURCE(301), kBlue.data(), DWORD(kBlue.size())}};
const ResourceRegistrar kRegistrar(ResourceTables{.data = kResources});

class CreditStaticTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            m_credits.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 250, 210), &m_host, 4001));
    }

    CClientPixels Still()
    {
        m_credits.Invalidate();
        m_credits.UpdateWindow();
        return CClientPixels(m_credits.GetSafeHwnd());
    }

    // The first row from the top holding a pixel of the colour; -1 if none.
    static int FirstRow(const CClientPixels& pixels, COLORREF colour, int from = 0)
    {
        for (int y = from; y < pixels.Height(); ++y)
            for (int x = 0; x < pixels.Width(); ++x)
                if (pixels.At(x, y) == colour)
                    return y;
        return -1;
    }

    void Tick(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            m_harness.AdvanceClock(DWORD(m_credits.GetSpeed()));
            m_harness.PumpPending();
        }
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_host{CRect(0, 0, 260, 220)};
    CCreditStatic m_credits;
};

TEST_F(CreditStaticTest, StillPictureShowsEachLineInItsStyle)
{
    m_credits.SetCredits("Title\t|Group\n|Name");
    const CClientPixels pixels = Still();
    DumpPicture(m_host.GetSafeHwnd(), "credits-still");
    const int red = FirstRow(pixels, RGB(255, 0, 0));
    const int yellow = FirstRow(pixels, RGB(255, 255, 0));
    const int white = FirstRow(pixels, RGB(255, 255, 255));
    ASSERT_GE(red, 0);
    EXPECT_GT(yellow, red);
    EXPECT_GT(white, yellow);
    EXPECT_EQ(pixels.At(2, pixels.Height() - 2), RGB(0, 0, 0));
}

TEST_F(CreditStaticTest, HeadingEscapeAloneLeavesAGapOfOneW)
{
    m_credits.SetCredits("Name");
    const int plain = FirstRow(Still(), RGB(255, 255, 255));
    m_credits.SetCredits("\t|Name");
    const int gapped = FirstRow(Still(), RGB(255, 255, 255));
    CClientDC dc(&m_credits);
    CFont heading;
    heading.CreateFont(30, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, PROOF_QUALITY, 6, "Arial");
    CFont* pOld = dc.SelectObject(&heading);
    const int nW = dc.GetTextExtent("W").cy;
    dc.SelectObject(pOld);
    ASSERT_GE(plain, 0);
    EXPECT_EQ(gapped - plain, nW);
}

TEST_F(CreditStaticTest, ScrollsOnePixelPerTickAndMeasuresOnlyTheFirstPass)
{
    EXPECT_FALSE(m_credits.StartScrolling()) << "no lines";
    m_credits.SetCredits("Hi");
    ASSERT_TRUE(m_credits.StartScrolling());
    EXPECT_EQ(m_credits.GetSpeed(), 40);
    // The first line starts after one line height of ticks.
    Tick(18 + 12);
    const int widest = m_credits.GetWidestLine();
    EXPECT_GT(widest, 0);
    const CClientPixels early(m_credits.GetSafeHwnd());
    const int top = FirstRow(early, RGB(255, 255, 255));
    ASSERT_GT(top, 150);
    Tick(5);
    const CClientPixels later(m_credits.GetSafeHwnd());
    DumpPicture(m_host.GetSafeHwnd(), "credits-scrolling");
    EXPECT_EQ(FirstRow(later, RGB(255, 255, 255)), top - 5);
    // Painting while scrolling leaves the picture to the timer.
    m_credits.Invalidate();
    m_credits.UpdateWindow();
    EXPECT_EQ(FirstRow(CClientPixels(m_credits.GetSafeHwnd()), RGB(255, 255, 255)), top - 5);

    // The list has wrapped: a wider line no longer widens the text area,
    // and is clipped to it.
    m_credits.SetCredits("A much wider line than before");
    Tick(18 + 12);
    EXPECT_EQ(m_credits.GetWidestLine(), widest);
    const CClientPixels clipped(m_credits.GetSafeHwnd());
    const int left = (clipped.Width() - widest) / 2;
    for (int y = 0; y < clipped.Height(); ++y)
        EXPECT_NE(clipped.At(left - 1, y), RGB(255, 255, 255)) << y;
    m_credits.EndScrolling();
    EXPECT_FALSE(m_credits.IsScrolling());
}

TEST_F(CreditStaticTest, SpeedIndexSelectsAndNonzeroStores)
{
    m_credits.SetSpeed(2, 0);
    EXPECT_EQ(m_credits.GetSpeed(), 10);
    m_credits.SetSpeed(0, 100);
    EXPECT_EQ(m_credits.GetSpeed(), 100);
    m_credits.SetSpeed(1);
    EXPECT_EQ(m_credits.GetSpeed(), 40);
}

TEST_F(CreditStaticTest, GreyOfBitmapLinesAndTextAreaShowsTheBackgroundImage)
{
    EXPECT_FALSE(m_credits.SetBkImage(999));
    ASSERT_TRUE(m_credits.SetBkImage(301));
    m_credits.SetCredits("LOGO^|Name");
    const CClientPixels opaque = Still();
    // Not transparent: the bitmap as it is, the black canvas through.
    const int logoTop = FirstRow(opaque, RGB(0, 160, 0));
    ASSERT_GE(logoTop, 0);
    const int centre = opaque.Width() / 2;
    EXPECT_EQ(opaque.At(centre - 5, logoTop + 2), kGrey);
    EXPECT_EQ(opaque.At(2, opaque.Height() - 2), RGB(0, 0, 200));

    m_credits.SetTransparent(TRUE);
    const CClientPixels seeThrough = Still();
    DumpPicture(m_host.GetSafeHwnd(), "credits-image");
    EXPECT_EQ(seeThrough.At(centre - 5, logoTop + 2), RGB(0, 0, 200));
    EXPECT_EQ(seeThrough.At(centre + 5, logoTop + 2), RGB(0, 160, 0));
    EXPECT_EQ(seeThrough.At(2, seeThrough.Height() - 2), RGB(0, 0, 200));
    EXPECT_GE(FirstRow(seeThrough, RGB(255, 255, 255)), logoTop + 10);
}

TEST_F(CreditStaticTest, MissingBitmapLineIsDrawnAsText)
{
    m_credits.SetCredits("NOSUCH^");
    const CClientPixels pixels = Still();
    int drawn = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < pixels.Width(); ++x)
            drawn += pixels.At(x, y) != RGB(0, 0, 0) ? 1 : 0;
    EXPECT_GT(drawn, 0);
}

TEST_F(CreditStaticTest, GradientRunsFromTheColourToBlack)
{
    m_credits.SetColor(CCreditStatic::enBackgroundColor, RGB(0, 0, 255));
    m_credits.SetGradient(CCreditStatic::enGradientToBlack);
    m_credits.SetCredits("");
    const CClientPixels pixels = Still();
    DumpPicture(m_host.GetSafeHwnd(), "credits-gradient");
    EXPECT_EQ(pixels.At(0, 100), RGB(0, 0, 255));
    EXPECT_LT(GetBValue(pixels.At(pixels.Width() - 1, 100)), 5);
    EXPECT_GT(GetBValue(pixels.At(60, 100)), GetBValue(pixels.At(180, 100)));
}
} // namespace
