// The animated statics: the sine-wave marquee on its 15 ms timer and the
// snake busy indicator's steps, reversals and painting.
#include "ControlTestSupport.h"
#include "SinusLabel.h"
#include "SnakeCtrl.h"

#include <cmath>

namespace
{
const COLORREF kMarqueeText = RGB(255, 255, 192);

class CProbeSinusLabel : public CSinusLabel
{
public:
    using CSinusLabel::m_nCharIndex;
    using CSinusLabel::m_nPhase;
    using CSinusLabel::m_rcStrip;
};

class SinusLabelTest : public testing::Test
{
protected:
    SinusLabelTest()
    {
        m_label.Create("", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(10, 10, 310, 110), &m_parent, 61);
        m_harness.PumpPending();
    }

    void Ticks(int nCount)
    {
        for (int i = 0; i < nCount; ++i)
        {
            m_harness.AdvanceClock(15);
            m_harness.PumpPending();
        }
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_parent;
    CProbeSinusLabel m_label;
};

TEST_F(SinusLabelTest, TextScrollsInFromTheRightAlongTheWave)
{
    m_label.SetText("MMMM");
    m_label.Start();
    Ticks(20);
    WindowPicture picture = ClientPictureOf(m_label.m_hWnd);
    // Twenty moves of 2 pixels after the first character entered at the
    // right; everything left of it is still black.
    const int nLeftmost = [&]
    {
        for (int x = 0; x < picture.nWidth; ++x)
            if (CountPixels(picture, CRect(x, 0, x + 1, picture.nHeight), RGB(0, 0, 0)) <
                picture.nHeight)
                return x;
        return -1;
    }();
    EXPECT_GE(nLeftmost, 300 - 20 * 2 - 2);
    EXPECT_LE(nLeftmost, 300 - 20 * 2 + 3);
    EXPECT_GT(CountPixels(picture, CRect(nLeftmost, 0, nLeftmost + 6, 100), kMarqueeText), 0)
        << "in the marquee's colour";
    // The wave: the phase has moved back three half-degrees a tick.
    EXPECT_EQ(m_label.m_nPhase, 719 - 3 * 19) << "the first step wrapped to the last entry";
    Ticks(100);
    picture = ClientPictureOf(m_label.m_hWnd);
    // Columns far apart on the wave hold the text at different heights.
    const auto topOf = [&](int x)
    {
        for (int y = 0; y < picture.nHeight; ++y)
            if (picture.GetPixel(x, y) == PixelOf(kMarqueeText))
                return y;
        return -1;
    };
    int nHighest = 100;
    int nLowest = -1;
    for (int x = 100; x < 300; x += 4)
    {
        const int y = topOf(x);
        if (y < 0)
            continue;
        nHighest = std::min(nHighest, y);
        nLowest = std::max(nLowest, y);
    }
    EXPECT_GT(nLowest - nHighest, 10) << "the text swings with the wave";
    m_label.Stop();
    const WindowPicture stopped = ClientPictureOf(m_label.m_hWnd);
    Ticks(5);
    EXPECT_EQ(ClientPictureOf(m_label.m_hWnd).pixels, stopped.pixels) << "stopped";
}

TEST_F(SinusLabelTest, EmptyTextDrawsNothingAndANewTextStartsAtItsBeginning)
{
    m_label.Start();
    Ticks(10);
    const WindowPicture picture = ClientPictureOf(m_label.m_hWnd);
    EXPECT_EQ(CountPixels(picture, CRect(0, 0, 300, 100), RGB(0, 0, 0)), 300 * 100);
    m_label.SetText("AB");
    Ticks(3);
    EXPECT_EQ(m_label.m_nCharIndex, 1) << "the first character is fed";
    m_label.SetText("ÄÖ");
    EXPECT_EQ(m_label.m_nCharIndex, 0);
    Ticks(3);
    EXPECT_EQ(m_label.m_nCharIndex, 2) << "one whole character of two bytes";
    m_label.MoveWindow(10, 10, 200, 60);
    Ticks(3);
    EXPECT_EQ(m_label.m_rcStrip.Width() >= 200, true) << "buffers rebuilt for the new size";
    m_label.Stop();
}

// ---------------------------------------------------------------- snake

class CProbeSnake : public CSnakeCtrl
{
public:
    using CSnakeCtrl::m_crLeft;
    using CSnakeCtrl::m_crRight;
    using CSnakeCtrl::m_nDirection;
    using CSnakeCtrl::m_nLength;
    using CSnakeCtrl::m_nStep;
    using CSnakeCtrl::m_nTail;
    using CSnakeCtrl::m_nTimerID;
};

class SnakeCtrlTest : public testing::Test
{
protected:
    SnakeCtrlTest()
    {
        m_snake.Create("Busy", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(10, 10, 210, 30), &m_parent,
                       62);
        m_harness.PumpPending();
    }

    WindowPicture Painted()
    {
        m_snake.Invalidate();
        m_snake.UpdateWindow();
        m_harness.PumpPending();
        return ClientPictureOf(m_snake.m_hWnd);
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_parent;
    CProbeSnake m_snake;
};

TEST_F(SnakeCtrlTest, HeadRunsToTheEndWaitsForTheTailAndTurns)
{
    m_snake.SetElapse(0);
    m_snake.SetMax(10);
    m_snake.m_nLength = 3;
    m_snake.m_nStep = 4;
    m_snake.Start();
    EXPECT_EQ(m_snake.m_nTimerID, 0u) << "no interval, no timer";
    // (head, tail) after each step, from head 6 and tail 3.
    const std::vector<std::pair<int, int>> expected = {
        {10, 7},  // clamped exactly at the end
        {10, 7},  // the end reached: the tail waits a step
        {10, 10}, // the tail catches up
        {6, 10},  // turned: the head leaves the right end
        {2, 6},   // a snake's length from the end, the tail follows
        {0, 2},   // the left end
        {0, 2},   // the end reached
        {0, 0},   // the tail catches up
        {4, 0},   // turned again
    };
    for (const auto& [nHead, nTail] : expected)
    {
        const int nReturned = m_snake.StepIt();
        EXPECT_EQ(nReturned, m_snake.GetPos());
        EXPECT_EQ(std::make_pair(m_snake.GetPos(), m_snake.m_nTail), std::make_pair(nHead, nTail));
    }
}

TEST_F(SnakeCtrlTest, HeadAlwaysShowsTheEndColour)
{
    m_snake.SetGradientFill(RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(m_snake.GetGradientStartColor(), RGB(255, 0, 0));
    EXPECT_EQ(m_snake.GetGradientEndColor(), RGB(0, 0, 255));
    m_snake.SetElapse(0);
    m_snake.Start();
    EXPECT_EQ(m_snake.m_crRight, RGB(0, 0, 255));
    while (m_snake.m_nDirection == 0)
        m_snake.StepIt();
    EXPECT_EQ(m_snake.m_crLeft, RGB(0, 0, 255)) << "running left, the head is on the left";
    EXPECT_EQ(m_snake.m_crRight, RGB(255, 0, 0));
    while (m_snake.m_nDirection == 1)
        m_snake.StepIt();
    EXPECT_EQ(m_snake.m_crRight, RGB(0, 0, 255));
}

TEST_F(SnakeCtrlTest, PaintsAGradientFromTailToHeadOnTheBackground)
{
    m_snake.SetElapse(0);
    m_snake.SetBkColor(RGB(255, 255, 255));
    m_snake.SetGradientFill(RGB(255, 0, 0), RGB(0, 0, 255));
    m_snake.SetWindowTextA("");
    m_snake.Start(); // tail 40, head 80 of 100: x 80 to 160 of 200
    const WindowPicture picture = Painted();
    EXPECT_EQ(picture.GetPixel(40, 10), PixelOf(RGB(255, 255, 255)));
    EXPECT_EQ(picture.GetPixel(170, 10), PixelOf(RGB(255, 255, 255)));
    const std::uint32_t nAtTail = picture.GetPixel(80, 10);
    EXPECT_GT(nAtTail >> 16, 240u) << "nearly all red";
    EXPECT_LT(nAtTail & 0xFF, 15u);
    const std::uint32_t nNearHead = picture.GetPixel(158, 10);
    EXPECT_GT(nNearHead & 0xFF, 240u) << "nearly all blue";
    EXPECT_LT(nNearHead >> 16, 15u);
    const std::uint32_t nMiddle = picture.GetPixel(120, 10);
    EXPECT_NEAR(double(nMiddle >> 16), 128.0, 4.0);
    EXPECT_NEAR(double(nMiddle & 0xFF), 128.0, 4.0);
}

TEST_F(SnakeCtrlTest, MaximumOfZeroOrLessDrawsAnEmptySnake)
{
    m_snake.SetElapse(0);
    m_snake.SetBkColor(RGB(0, 128, 0));
    m_snake.SetWindowTextA("");
    m_snake.Start();
    for (int nMax : {0, -5})
    {
        m_snake.SetMax(nMax);
        const WindowPicture picture = Painted();
        EXPECT_EQ(CountPixels(picture, CRect(0, 0, 200, 20), RGB(0, 128, 0)), 200 * 20) << nMax;
    }
}

TEST_F(SnakeCtrlTest, TimerStepsUntilStoppedAndTheCaptionComesFromTheWindow)
{
    CProbeSnake subclassed;
    // A static of the platform's own, as a dialog makes it.
    const HWND hPlain =
        ::CreateWindowExA(0, "Static", "Loading", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 40, 200, 20,
                          m_parent.m_hWnd, reinterpret_cast<HMENU>(63), nullptr, nullptr);
    subclassed.SubclassWindow(hPlain);
    subclassed.SetBkColor(RGB(255, 255, 255));
    subclassed.SetMax(1000);
    subclassed.Start();
    const int nStart = subclassed.GetPos();
    m_harness.AdvanceClock(10);
    m_harness.PumpPending();
    m_harness.AdvanceClock(10);
    m_harness.PumpPending();
    EXPECT_EQ(subclassed.GetPos(), nStart + 2);
    const WindowPicture picture = ClientPictureOf(subclassed.m_hWnd);
    EXPECT_GT(CountPixels(picture, CRect(0, 0, 200, 20), RGB(0, 0, 0)), 10) << "the caption";
    subclassed.Stop();
    EXPECT_EQ(subclassed.GetPos(), 0);
    EXPECT_EQ(subclassed.m_nTail, 0);
    m_harness.AdvanceClock(50);
    m_harness.PumpPending();
    EXPECT_EQ(subclassed.GetPos(), 0);
    subclassed.Restart();
    EXPECT_EQ(subclassed.m_nTimerID, 0u) << "restarts only a running snake";
    subclassed.ResetProgress();
    EXPECT_EQ(subclassed.m_nDirection, 0);
}
} // namespace
