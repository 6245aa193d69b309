// A small frame with two child panes that paint everything through an
// off-screen DC, a scripted drag across one of them, and the dumped window
// picture compared with the same drawing made on memory DCs.
#include "../FailOnBlockHarness.h"
#include "AfxWin.h"
#include "MemDC.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{
const COLORREF kStrokeColor = RGB(200, 30, 30);

// Background, a grid and the stroke dragged so far, in pane coordinates.
void DrawPane(CDC& dc, const CRect& client, COLORREF background, const std::vector<CPoint>& stroke)
{
    dc.FillSolidRect(&client, background);
    CPen gridPen(PS_DOT, 1, RGB(90, 90, 90));
    CPen* pOldPen = dc.SelectObject(&gridPen);
    for (int x = 0; x < client.right; x += 20)
    {
        dc.MoveTo(x, 0);
        dc.LineTo(x, client.bottom);
    }
    CPen strokePen(PS_SOLID, 3, kStrokeColor);
    dc.SelectObject(&strokePen);
    if (!stroke.empty())
    {
        dc.MoveTo(stroke.front());
        for (const CPoint& pt : stroke)
            dc.LineTo(pt);
    }
    dc.SelectObject(pOldPen);
}

class CPane : public CWnd
{
public:
    explicit CPane(COLORREF background) : m_background(background) {}

    std::vector<CPoint> stroke;
    int nPaints = 0;
    bool bCaptureHeldInLoop = false;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }

    afx_msg void OnPaint()
    {
        ++nPaints;
        CPaintDC dc(this);
        CMemDC memDC(&dc);
        CRect client;
        GetClientRect(&client);
        DrawPane(memDC, client, m_background, stroke);
    }

    // A drag loop as the panes run them: capture, GetMessage, live drawing
    // through a client DC, repaint at the end.
    afx_msg void OnLButtonDown(UINT, CPoint point)
    {
        stroke.assign(1, point);
        SetCapture();
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0))
        {
            if (::GetCapture() != m_hWnd)
                break;
            bCaptureHeldInLoop = true;
            if (msg.message == WM_MOUSEMOVE)
            {
                const CPoint next(msg.lParam);
                CClientDC dc(this);
                CPen pen(PS_SOLID, 3, kStrokeColor);
                CPen* pOld = dc.SelectObject(&pen);
                dc.MoveTo(stroke.back());
                dc.LineTo(next);
                dc.SelectObject(pOld);
                stroke.push_back(next);
            }
            else if (msg.message == WM_LBUTTONUP)
            {
                stroke.push_back(CPoint(msg.lParam));
                ReleaseCapture();
                Invalidate(FALSE);
                return;
            }
            else
            {
                ::DispatchMessageA(&msg);
            }
        }
    }

    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_background;
};

BEGIN_MESSAGE_MAP(CPane, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

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

    // What the pane's drawing gives on a memory DC of the pane's size.
    static WindowPicture ExpectedPane(const CPane& pane, COLORREF background)
    {
        CRect client;
        pane.GetClientRect(&client);
        CClientDC screen(nullptr);
        CDC memDC;
        memDC.CreateCompatibleDC(&screen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&screen, client.Width(), client.Height());
        CBitmap* pOld = memDC.SelectObject(&bitmap);
        DrawPane(memDC, client, background, pane.stroke);
        WindowPicture picture;
        picture.nWidth = client.Width();
        picture.nHeight = client.Height();
        for (int y = 0; y < picture.nHeight; ++y)
        {
            for (int x = 0; x < picture.nWidth; ++x)
            {
                const COLORREF c = memDC.GetPixel(x, y);
                picture.pixels.push_back((std::uint32_t(GetRValue(c)) << 16) |
                                         (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c));
            }
        }
        memDC.SelectObject(pOld);
        return picture;
    }

    // Compares the pane's part of the frame picture with the expected one.
    static int CountDifferences(const WindowPicture& frame, const CPoint& origin,
                                const WindowPicture& expected)
    {
        int nDifferent = 0;
        for (int y = 0; y < expected.nHeight; ++y)
        {
            for (int x = 0; x < expected.nWidth; ++x)
            {
                if (frame.GetPixel(origin.x + x, origin.y + y) != expected.GetPixel(x, y))
                    ++nDifferent;
            }
        }
        return nDifferent;
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
    EXPECT_EQ(
        CountDifferences(dumped, OriginInFrame(m_left), ExpectedPane(m_left, RGB(240, 240, 200))),
        0);
    EXPECT_EQ(
        CountDifferences(dumped, OriginInFrame(m_right), ExpectedPane(m_right, RGB(200, 220, 250))),
        0);
    // The stroke left the left pane, but the right pane never saw it.
    const CPoint gap = OriginInFrame(m_left) + CPoint(203, 100);
    EXPECT_EQ(dumped.GetPixel(gap.x, gap.y), 0xFFFFFFu) << "the frame's own background";
}
} // namespace
