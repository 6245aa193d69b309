// Views: initial update, drawing through OnDraw and activation in their
// frame when pressed.
#include "../FailOnBlockHarness.h"
#include "AfxWin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<std::string> gEvents;

class CTestView : public CView
{
public:
    std::string name;
    int nInitialUpdates = 0;
    COLORREF color = RGB(0, 0, 255);

    void OnDraw(CDC* pDC) override
    {
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(&client, color);
    }
    void OnInitialUpdate() override
    {
        ++nInitialUpdates;
        CView::OnInitialUpdate();
    }
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override
    {
        gEvents.push_back((bActivate ? "activate " : "deactivate ") + name);
        CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    }
};

class CAskingFrame : public CFrameWnd
{
public:
    int nAnswer = 0;

protected:
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
    {
        gEvents.push_back("frame asked");
        return nAnswer != 0 ? nAnswer : CFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CAskingFrame, CFrameWnd)
ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

class ViewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        gEvents.clear();
        m_pFrame = new CAskingFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     CRect(0, 0, 400, 300)));
        m_pLeft = MakeView("left", CRect(0, 0, 150, 200), AFX_IDW_PANE_FIRST);
        m_pRight = MakeView("right", CRect(160, 0, 300, 200), AFX_IDW_PANE_FIRST + 1);
        m_harness.PumpPending();
        gEvents.clear();
    }

    CTestView* MakeView(const char* name, const CRect& rect, UINT nID)
    {
        auto* pView = new CTestView;
        pView->name = name;
        CCreateContext context;
        context.m_pCurrentFrame = m_pFrame;
        EXPECT_TRUE(pView->Create(nullptr, name, WS_VISIBLE, rect, m_pFrame, nID, &context));
        return pView;
    }

    CFailOnBlockHarness m_harness;
    CAskingFrame* m_pFrame = nullptr;
    CTestView* m_pLeft = nullptr;
    CTestView* m_pRight = nullptr;
};

TEST_F(ViewTest, InitialUpdateRunsOnItsMessageAndAgainWhenSentAgain)
{
    m_pLeft->SendMessage(WM_INITIALUPDATE);
    EXPECT_EQ(m_pLeft->nInitialUpdates, 1);
    RECT update;
    EXPECT_TRUE(::GetUpdateRect(m_pLeft->m_hWnd, &update, FALSE));
    m_pLeft->SendMessage(WM_INITIALUPDATE);
    EXPECT_EQ(m_pLeft->nInitialUpdates, 2);
}

TEST_F(ViewTest, PaintDrawsThroughOnDraw)
{
    m_pRight->color = RGB(255, 0, 0);
    m_pRight->Invalidate();
    m_harness.PumpPending();
    WindowPicture picture;
    ASSERT_TRUE(UserGetWindowPicture(m_pRight->m_hWnd, true, picture));
    EXPECT_EQ(picture.GetPixel(10, 10), 0xFF0000u);
}

TEST_F(ViewTest, PressedViewBecomesActiveAfterTheFrameIsAsked)
{
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(m_pLeft->m_hWnd, 5, 5));
    m_harness.PumpPending();
    EXPECT_EQ(gEvents, (std::vector<std::string>{"frame asked", "activate left"}));
    EXPECT_EQ(m_pFrame->GetActiveView(), m_pLeft);
    EXPECT_EQ(CWnd::GetFocus(), m_pLeft);
    gEvents.clear();
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(m_pRight->m_hWnd, 5, 5));
    m_harness.PumpPending();
    EXPECT_EQ(gEvents,
              (std::vector<std::string>{"frame asked", "deactivate left", "activate right"}));
    EXPECT_EQ(m_pFrame->GetActiveView(), m_pRight);
}

TEST_F(ViewTest, FrameRefusingActivationKeepsTheActiveView)
{
    m_pFrame->SetActiveView(m_pRight);
    gEvents.clear();
    m_pFrame->nAnswer = MA_NOACTIVATE;
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(m_pLeft->m_hWnd, 5, 5));
    m_harness.PumpPending();
    EXPECT_EQ(gEvents, (std::vector<std::string>{"frame asked"}));
    EXPECT_EQ(m_pFrame->GetActiveView(), m_pRight);
}

TEST_F(ViewTest, DestroyedActiveViewLeavesTheFrameWithoutOne)
{
    m_pFrame->SetActiveView(m_pLeft);
    m_pLeft->DestroyWindow();
    EXPECT_EQ(m_pFrame->GetActiveView(), nullptr);
}
} // namespace
