#include "ViewSplitter.h"
#include "../../platform/FailOnBlockHarness.h"
#include "LogTestSupport.h"
#include "PictureDump.h"
#include "SplitterTestViews.h"

#include <string>
#include <utility>
#include <vector>

namespace
{

// Records every call of the active-view operation, as the viewer window's
// own splitter moves the highlight with it.
class CRecordingSplitter : public ViewSplitter
{
public:
    std::vector<std::pair<CWnd*, bool>> calls;

    CWnd* ActiveView(CWnd* view, bool set) override
    {
        calls.emplace_back(view, set);
        return ViewSplitter::ActiveView(view, set);
    }
};

// A parent that can refuse the activation a press asks for.
class CHostWnd : public CFrameWnd
{
public:
    int nAnswer = 0;

protected:
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
    {
        return nAnswer != 0 ? nAnswer : CFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostWnd, CFrameWnd)
ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

class ViewSplitterTest : public QuillonLogTest
{
protected:
    void TearDown() override
    {
        if (m_pHost != nullptr)
        {
            m_pHost->DestroyWindow();
        }
        QuillonLogTest::TearDown();
    }

    // A splitter of the given client size in a host window, with a grid of
    // rows x cols views of the class.
    void MakeSplitter(int width, int height, int rows, int cols, int gap,
                      CRuntimeClass* viewClass = RUNTIME_CLASS(CCellView))
    {
        m_pHost = new CHostWnd;
        ASSERT_TRUE(m_pHost->Create(nullptr, "Host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600)));
        ASSERT_TRUE(m_splitter.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE,
                                      CRect(0, 0, width, height), m_pHost, 1));
        m_splitter.SetGap(gap);
        m_splitter.SetGridSize(rows, cols);
        for (int row = 0; row < rows; ++row)
        {
            for (int col = 0; col < cols; ++col)
            {
                m_splitter.CreateView(row, col, viewClass, 10, 10, nullptr);
            }
        }
    }

    void Show(int rows, int cols)
    {
        m_splitter.SetViewLayout(rows, cols);
        m_splitter.RecalcLayout();
        m_harness.PumpPending();
    }

    // The rectangle of a view in the splitter's client coordinates.
    CRect GetCellRect(int row, int col)
    {
        CRect rect;
        m_splitter.GetPane(row, col)->GetWindowRect(&rect);
        m_splitter.ScreenToClient(&rect);
        return rect;
    }

    bool IsShown(int row, int col) { return m_splitter.GetPane(row, col)->IsWindowVisible(); }

    CFailOnBlockHarness m_harness;
    CHostWnd* m_pHost = nullptr;
    CRecordingSplitter m_splitter;
};

TEST_F(ViewSplitterTest, CellsShareTheClientAreaWithTheGapBetweenThem)
{
    struct Case
    {
        int width, height, rows, cols;
        std::vector<CRect> cells;
    };
    const Case cases[] = {
        {400,
         300,
         2,
         2,
         {CRect(0, 0, 199, 149), CRect(201, 0, 400, 149), CRect(0, 151, 199, 300),
          CRect(201, 151, 400, 300)}},
        // The pixel left over stays at the right.
        {401, 300, 1, 3, {CRect(0, 0, 132, 300), CRect(134, 0, 266, 300), CRect(268, 0, 400, 300)}},
    };
    for (const Case& c : cases)
    {
        MakeSplitter(c.width, c.height, c.rows, c.cols, 2);
        Show(c.rows, c.cols);
        for (int index = 0; index < c.rows * c.cols; ++index)
        {
            EXPECT_EQ(GetCellRect(index / c.cols, index % c.cols), c.cells[index])
                << c.width << " x " << c.height << ", cell " << index;
        }
        m_pHost->DestroyWindow();
        m_pHost = nullptr;
    }
}

TEST_F(ViewSplitterTest, ViewsAreFoundByTheirCellIds)
{
    MakeSplitter(400, 300, 2, 3, 2);
    EXPECT_EQ(ViewSplitter::GetCellId(0, 0), 0xE900u);
    for (int row = 0; row < 2; ++row)
    {
        for (int col = 0; col < 3; ++col)
        {
            CWnd* view = m_splitter.GetPane(row, col);
            ASSERT_NE(view, nullptr);
            EXPECT_EQ(static_cast<UINT>(view->GetDlgCtrlID()), 0xE900u + 16 * row + col);
            EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CCellView)));
            EXPECT_EQ(static_cast<CCellView*>(view)->nInitialUpdates, 1);
        }
    }
    EXPECT_EQ(m_splitter.GetPane(2, 0), nullptr);
    EXPECT_EQ(m_splitter.CreateView(2, 0, RUNTIME_CLASS(CCellView), 10, 10, nullptr), 0);
    EXPECT_EQ(m_splitter.CreateView(0, 3, RUNTIME_CLASS(CCellView), 10, 10, nullptr), 0);
    EXPECT_EQ(m_splitter.GetRows(), 2);
    EXPECT_EQ(m_splitter.GetCols(), 3);
}

TEST_F(ViewSplitterTest, MoreThanSixteenColumnsAreRefused)
{
    OpenLog();
    MakeSplitter(400, 300, 2, 16, 0);
    std::string lines = Appended([&] { m_splitter.SetGridSize(3, 17); });
    EXPECT_NE(lines.find("refused 3 X 17"), std::string::npos) << lines;
    EXPECT_EQ(m_splitter.GetRows(), 2);
    EXPECT_EQ(m_splitter.GetCols(), 16);
    EXPECT_EQ(m_splitter.GetPane(1, 15)->GetDlgCtrlID(), 0xE91F);
}

TEST_F(ViewSplitterTest, TheShownPartIsHeldWithinTheGrid)
{
    MakeSplitter(400, 300, 4, 4, 2);
    int rows = 0;
    int cols = 0;
    EXPECT_TRUE(m_splitter.SetViewLayout(5, 9));
    m_splitter.GetViewLayout(&rows, &cols);
    EXPECT_EQ(std::make_pair(rows, cols), std::make_pair(4, 4));

    Show(1, 2);
    EXPECT_TRUE(IsShown(0, 1));
    EXPECT_FALSE(IsShown(0, 2));
    EXPECT_FALSE(IsShown(1, 0));
    // No rows: nothing is placed until a positive count comes.
    m_splitter.SetViewLayout(-1, 2);
    m_splitter.GetViewLayout(&rows, &cols);
    EXPECT_EQ(std::make_pair(rows, cols), std::make_pair(0, 2));
    const CRect before = GetCellRect(0, 1);
    m_splitter.RecalcLayout();
    EXPECT_EQ(GetCellRect(0, 1), before);
    EXPECT_TRUE(IsShown(0, 1));
}

TEST_F(ViewSplitterTest, BlowUpAndRestoreKeepTheGrid)
{
    OpenLog();
    MakeSplitter(400, 300, 2, 2, 2);
    Show(2, 2);
    CWnd* active = m_splitter.GetPane(1, 0);
    m_splitter.ActivateView(active);

    std::string lines = Appended([&] { m_splitter.ToggleBlowup(); });
    m_harness.PumpPending();
    EXPECT_TRUE(m_splitter.IsBlownUp());
    EXPECT_NE(lines.find("Enter ViewSplitter::BlowupActiveView, layout : 0x22\r\n"),
              std::string::npos)
        << lines;
    EXPECT_EQ(GetCellRect(1, 0), CRect(0, 0, 400, 300));
    EXPECT_TRUE(IsShown(1, 0));
    EXPECT_FALSE(IsShown(0, 0));
    EXPECT_FALSE(IsShown(1, 1));

    lines = Appended([&] { m_splitter.ToggleBlowup(); });
    m_harness.PumpPending();
    EXPECT_FALSE(m_splitter.IsBlownUp());
    EXPECT_NE(lines.find("Enter ViewSplitter::Restore, layout : 0x80000022\r\n"), std::string::npos)
        << lines;
    EXPECT_EQ(GetCellRect(1, 0), CRect(0, 151, 199, 300));
    EXPECT_TRUE(IsShown(0, 0));
    EXPECT_TRUE(IsShown(1, 1));
    EXPECT_EQ(m_splitter.GetActiveView(), active) << "the active view stays";
}

TEST_F(ViewSplitterTest, ABlowUpFollowsSizeChangesAndSetViewLayoutEndsIt)
{
    MakeSplitter(400, 300, 2, 2, 2);
    Show(2, 2);
    m_splitter.ActivateView(m_splitter.GetPane(0, 1));
    m_splitter.ToggleBlowup();
    m_splitter.MoveWindow(0, 0, 300, 200);
    EXPECT_EQ(GetCellRect(0, 1), CRect(0, 0, 300, 200));
    Show(2, 2);
    EXPECT_FALSE(m_splitter.IsBlownUp());
    EXPECT_EQ(GetCellRect(0, 1), CRect(151, 0, 300, 99));
}

TEST_F(ViewSplitterTest, AnActiveViewThatIsNoLongerShownGivesWayToTheFirstCell)
{
    MakeSplitter(400, 300, 2, 2, 2);
    Show(2, 2);
    m_splitter.ActivateView(m_splitter.GetPane(1, 1));
    Show(1, 2);
    EXPECT_EQ(m_splitter.GetActiveView(), m_splitter.GetPane(0, 0));
    m_splitter.ActivateView(m_splitter.GetPane(0, 1));
    Show(2, 2);
    EXPECT_EQ(m_splitter.GetActiveView(), m_splitter.GetPane(0, 1));
}

TEST_F(ViewSplitterTest, APressActivatesTheViewUnderTheMouse)
{
    MakeSplitter(400, 300, 2, 2, 2);
    Show(2, 2);
    m_splitter.calls.clear();
    CWnd* target = m_splitter.GetPane(1, 1);
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(target->m_hWnd, 5, 5));
    m_harness.PumpPending();
    ASSERT_EQ(m_splitter.calls.size(), 5u);
    for (std::size_t call = 0; call < 4; ++call)
    {
        EXPECT_FALSE(m_splitter.calls[call].second) << call;
    }
    EXPECT_EQ(m_splitter.calls[4], std::make_pair(target, true));
    EXPECT_EQ(m_splitter.GetActiveView(), target);
}

TEST_F(ViewSplitterTest, ARefusedActivationLeavesTheActiveView)
{
    MakeSplitter(400, 300, 2, 2, 2);
    Show(2, 2);
    CWnd* active = m_splitter.GetActiveView();
    m_pHost->nAnswer = MA_NOACTIVATE;
    m_splitter.calls.clear();
    m_harness.Click(enMouseButton::Left,
                    CUiHarness::ScreenPoint(m_splitter.GetPane(1, 1)->m_hWnd, 5, 5));
    m_harness.PumpPending();
    EXPECT_TRUE(m_splitter.calls.empty());
    EXPECT_EQ(m_splitter.GetActiveView(), active);
}

TEST_F(ViewSplitterTest, CellsWhoseViewFailedAreLeftOut)
{
    MakeSplitter(400, 300, 2, 2, 2);
    ViewSplitter splitter;
    ASSERT_TRUE(splitter.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300),
                                m_pHost, 2));
    splitter.SetGap(2);
    splitter.SetGridSize(2, 2);
    EXPECT_EQ(splitter.CreateView(0, 0, RUNTIME_CLASS(CCellView), 10, 10, nullptr), 1);
    EXPECT_EQ(splitter.CreateView(0, 1, RUNTIME_CLASS(CRefusedView), 10, 10, nullptr), 0);
    EXPECT_EQ(splitter.CreateView(1, 1, RUNTIME_CLASS(CCellView), 10, 10, nullptr), 1);
    splitter.SetViewLayout(2, 2);
    splitter.RecalcLayout();
    splitter.ToggleBlowup();
    splitter.ToggleBlowup();
    m_harness.PumpPending();
    EXPECT_EQ(splitter.GetPane(0, 1), nullptr);
    CRect rect;
    splitter.GetPane(1, 1)->GetWindowRect(&rect);
    splitter.ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(201, 151, 400, 300));
    Array<CWnd*> shown;
    splitter.GetAllVisibleView(shown);
    EXPECT_EQ(shown.GetCount(), 2);
    splitter.DestroyWindow();
}
} // namespace

namespace
{

// The viewer window's empty grid: 2 x 2 views of one pane each, white gap
// lines between them, each pane framed in blue on black.
TEST_F(ViewSplitterTest, AnEmptyGridOfTwoByTwoViews)
{
    MakeSplitter(640, 480, 2, 2, 2, RUNTIME_CLASS(CLayoutCellView));
    Show(2, 2);
    m_splitter.Invalidate(TRUE);
    m_harness.PumpPending();
    DumpPicture(m_splitter.m_hWnd, "ViewSplitter2x2");
    WindowPicture picture;
    ASSERT_TRUE(UserGetWindowPicture(m_splitter.m_hWnd, true, picture));
    const auto white = 0xFFFFFFu;
    const auto blue = 0x0000FFu;
    // Cells of 319 x 239 at 0 and 321 across, 0 and 241 down; the gap
    // columns 319 and 320 and rows 239 and 240 stay white.
    EXPECT_EQ(picture.GetPixel(319, 100), white);
    EXPECT_EQ(picture.GetPixel(320, 400), white);
    EXPECT_EQ(picture.GetPixel(100, 240), white);
    for (const CPoint origin : {CPoint(0, 0), CPoint(321, 0), CPoint(0, 241), CPoint(321, 241)})
    {
        // The pane's frame runs one pixel inside the view.
        EXPECT_EQ(picture.GetPixel(origin.x + 1, origin.y + 1), blue)
            << origin.x << "," << origin.y;
        EXPECT_EQ(picture.GetPixel(origin.x + 317, origin.y + 120), blue);
        EXPECT_EQ(picture.GetPixel(origin.x + 150, origin.y + 237), blue);
        EXPECT_EQ(picture.GetPixel(origin.x + 150, origin.y + 120), 0u) << "black inside";
        EXPECT_EQ(picture.GetPixel(origin.x, origin.y + 120), 0u) << "black outside the frame";
    }
}
} // namespace
