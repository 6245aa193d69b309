// A small frame with two child panes that paint everything through an
// off-screen DC, a scripted drag across one of them, and the dumped window
// picture compared with the same drawing made on memory DCs.
#include "../FailOnBlockHarness.h"
#include "TestPanes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{
class FramePaneTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Panes", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                     CRect(40, 30, 460, 290)));
        ASSERT_TRUE(m_left.Create(nullptr, "left", WS_VISIBLE | WS_CLIPSIBLINGS,
                                  CRect(4, 4, 204, 204), m_pFrame, 1));
        ASSERT_TRUE(m_right.Create(nullptr, "right", WS_VISIBLE | WS_CLIPSIBLINGS,
                                   CRect(210, 4, 400, 204), m_pFrame, 2));
        m_pFrame->ShowWindow(SW_SHOW);
        m_harness.PumpPending();
    }

    CPoint OriginInFrame(const CWnd& pane) const
    {
        CRect frameRect;
        m_pFrame->GetWindowRect(&frameRect);
        CPoint origin(0, 0);
        pane.ClientToScreen(&origin);
        return CPoint(origin.x - frameRect.left, origin.y - frameRect.top);
    }

    CFailOnBlockHarness m_harness;
    CFrameWnd* m_pFrame = nullptr;
    CPane m_left{RGB(240, 240, 200)};
    CPane m_right{RGB(200, 220, 250)};
};

TEST_F(FramePaneTest, DraggedStrokeShowsLiveAndTheDumpedPictureMatchesTheDrawing)
{
    ASSERT_EQ(m_left.nPaints, 1);
    ASSERT_EQ(m_right.nPaints, 1);
    const HWND hLeft = m_left.m_hWnd;
    std::uint32_t liveStrokePixel = 0;
    m_harness.Script()
        .MouseMove(CUiHarness::ScreenPoint(hLeft, 60, 40))
        .MouseMove(CUiHarness::ScreenPoint(hLeft, 120, 150))
        .Do(
            [&]
            {
                // Drawn through the client DC at once, before any repaint.
                WindowPicture live;
                UserGetWindowPicture(hLeft, true, live);
                liveStrokePixel = live.GetPixel(90, 95);
            })
        .MouseMove(CUiHarness::ScreenPoint(hLeft, 260, 170))
        .MouseUp(enMouseButton::Left, CUiHarness::ScreenPoint(hLeft, 260, 170));
    m_harness.MouseDown(enMouseButton::Left, CUiHarness::ScreenPoint(hLeft, 20, 20));
    m_harness.PumpPending();

    EXPECT_TRUE(m_left.bCaptureHeldInLoop);
    EXPECT_EQ(liveStrokePixel, 0xC81E1Eu);
    ASSERT_EQ(m_left.stroke.size(), 5u);
    EXPECT_EQ(m_left.stroke[3], CPoint(260, 170)) << "captured moves outside the pane";
    EXPECT_EQ(m_left.nPaints, 2);
    EXPECT_EQ(m_right.nPaints, 1);

    const std::string path = testing::TempDir() + "frame-panes.bmp";
    ASSERT_TRUE(SaveWindowPicture(m_pFrame->m_hWnd, path.c_str()));
    WindowPicture dumped;
    ASSERT_TRUE(ReadPictureFile(path.c_str(), dumped));
    std::remove(path.c_str());
    EXPECT_EQ(dumped.nWidth, 420);
    EXPECT_EQ(dumped.nHeight, 260);
    EXPECT_EQ(CountPictureDifferences(dumped, OriginInFrame(m_left), DrawExpectedPane(m_left)), 0);
    EXPECT_EQ(CountPictureDifferences(dumped, OriginInFrame(m_right), DrawExpectedPane(m_right)),
              0);
    // The stroke left the left pane, but the right pane never saw it.
    const CPoint gap = OriginInFrame(m_left) + CPoint(203, 100);
    EXPECT_EQ(dumped.GetPixel(gap.x, gap.y), 0xFFFFFFu) << "the frame's own background";
}
} // namespace
