// The sortable list: rows kept with their texts and values, column clicks
// by scripted mouse input sorting as numbers, dd-mm-yyyy dates or text, and
// the arrow its header draws on the sorted column.
#include "ColumnSortList.h"
#include "AfxArchive.h"
#include "AfxFile.h"
#include "AppTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
constexpr UINT kListId = 77;

class ColumnSortListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateHost(420, 200));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL,
                                  CRect(0, 0, 420, 200), &m_host, kListId));
        const char* titles[] = {"Index", "Number", "Date", "Name"};
        for (int i = 0; i < 4; ++i)
            m_list.InsertColumn(i, titles[i], LVCFMT_LEFT, 100);
        m_list.SetColumnCount(4);
    }

    void AddRows(const std::vector<std::vector<const char*>>& rows)
    {
        for (const auto& row : rows)
        {
            std::vector<CString> texts(row.begin(), row.end());
            const int nRow = m_list.AddRow(texts);
            m_list.SetRowValue(nRow, nRow);
        }
    }

    std::vector<std::string> Column(int nColumn) const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < m_list.GetItemCount(); ++i)
            texts.emplace_back(static_cast<LPCSTR>(m_list.GetItemText(i, nColumn)));
        return texts;
    }

    // A click in the middle of a column's header button.
    void ClickHeader(int nColumn)
    {
        RECT rc{};
        ASSERT_TRUE(m_list.GetSortHeader().GetItemRect(nColumn, &rc));
        const POINT pt = CUiHarness::ScreenPoint(
            m_list.GetSortHeader().m_hWnd, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        // Apart in time, so that two clicks never make a double click.
        m_ui.AdvanceClock(1000);
        m_ui.Click(enMouseButton::Left, pt);
        m_ui.PumpPending();
    }

    CFailOnBlockHarness m_ui;
    CHostWnd m_host;
    CColumnSortList m_list;
};

struct SortCase
{
    int nColumn;
    int nClicks;
    std::vector<std::string> expected;
};

TEST_F(ColumnSortListTest, ColumnClicksSortNumbersDatesAndText)
{
    AddRows({{"0", "10", "15-01-2006", "beta"},
             {"1", "9", "01-02-2005", "Alpha"},
             {"2", "100", "31-12-2004", "gamma"},
             {"3", "9.5", "02-02-2005", "alpha"}});
    const SortCase cases[] = {
        {1, 1, {"9", "9.5", "10", "100"}},
        {1, 1, {"100", "10", "9.5", "9"}},
        {2, 1, {"31-12-2004", "01-02-2005", "02-02-2005", "15-01-2006"}},
        {2, 1, {"15-01-2006", "02-02-2005", "01-02-2005", "31-12-2004"}},
        {3, 1, {"alpha", "Alpha", "beta", "gamma"}},
        {1, 2, {"100", "10", "9.5", "9"}},
    };
    for (const SortCase& c : cases)
    {
        for (int i = 0; i < c.nClicks; ++i)
            ClickHeader(c.nColumn);
        EXPECT_EQ(Column(c.nColumn), c.expected) << "column " << c.nColumn;
    }
    // Every row still carries the value it was given, whatever its place.
    for (int i = 0; i < m_list.GetItemCount(); ++i)
        EXPECT_EQ(std::to_string(m_list.GetRowValue(i)),
                  std::string(static_cast<LPCSTR>(m_list.GetItemText(i, 0))));
}

TEST_F(ColumnSortListTest, DirectionTogglesOnTheSameColumnAndRestartsOnAnother)
{
    AddRows({{"0", "2", "", "b"}, {"1", "1", "", "a"}});
    const std::pair<int, bool> steps[] = {{1, true}, {1, false}, {1, true}, {3, true}, {1, true}};
    for (const auto& [nColumn, bAscending] : steps)
    {
        ClickHeader(nColumn);
        EXPECT_EQ(m_list.GetSortColumn(), nColumn);
        EXPECT_EQ(m_list.IsAscending(), bAscending);
        EXPECT_EQ(m_list.GetSortHeader().GetSortColumn(), nColumn);
        EXPECT_EQ(m_list.GetSortHeader().IsAscending(), bAscending);
    }
}

TEST_F(ColumnSortListTest, EightDigitDicomDatesAndEmptyCellsSortAsNumbers)
{
    AddRows({{"0", "20050102", "", ""}, {"1", "", "", ""}, {"2", "19991231", "", ""}});
    m_list.SortByColumn(1);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"", "19991231", "20050102"}));
}

TEST_F(ColumnSortListTest, AMixedColumnKeepsEveryRow)
{
    // Names and numbers mixed give no total order: the sort must neither
    // lose nor repeat a row.
    AddRows({{"0", "b", "", ""},
             {"1", "3", "", ""},
             {"2", "a", "", ""},
             {"3", "1", "", ""},
             {"4", "c", "", ""},
             {"5", "2", "", ""}});
    m_list.SortByColumn(1);
    std::vector<std::string> sorted = Column(1);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"1", "2", "3", "a", "b", "c"}));
}

TEST_F(ColumnSortListTest, RowsNeedEveryColumnsText)
{
    bool bThrown = false;
    try
    {
        m_list.AddRow({CString("0"), CString("1")});
    }
    catch (CInvalidArgException* e)
    {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    EXPECT_FALSE(m_list.SetRowValue(5, 1));
    m_list.DeleteAllRows();
    EXPECT_EQ(m_list.GetItemCount(), 0);
}

TEST_F(ColumnSortListTest, TheSortedColumnShowsAnArrowUpThenDown)
{
    AddRows({{"0", "10", "15-01-2006", "beta"}, {"1", "9", "01-02-2005", "Alpha"}});
    CSortArrowHeader& header = m_list.GetSortHeader();
    RECT rc{};
    ASSERT_TRUE(header.GetItemRect(1, &rc));
    const int o = (rc.bottom - rc.top) / 4;
    const COLORREF crShadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF crHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const auto drawnAt = [&](int x, int y)
    {
        UpdateWindow(m_host.m_hWnd);
        WindowPicture picture;
        UserGetWindowPicture(header.m_hWnd, true, picture);
        return PixelOf(picture, x, y);
    };

    ClickHeader(1);
    KeepPicture(m_host.m_hWnd, "SortArrowUp");
    // Up: the shadowed left edge runs from the base up to the tip, the lit
    // base along the bottom.
    EXPECT_EQ(drawnAt(rc.right - 3 * o - 1, rc.bottom - o - 1), crShadow);
    EXPECT_EQ(drawnAt(rc.right - 2 * o - 1, rc.bottom - o - 1), crHighlight);
    EXPECT_EQ(drawnAt(rc.right - o - 1, rc.bottom - o - 1), crHighlight);

    ClickHeader(1);
    KeepPicture(m_host.m_hWnd, "SortArrowDown");
    // Down: the shadowed top edge, the lit right edge running to the tip.
    EXPECT_EQ(drawnAt(rc.right - 2 * o - 1, rc.top + o), crShadow);
    EXPECT_EQ(drawnAt(rc.right - o - 1, rc.top + o), crHighlight);

    // The column sorted before keeps no arrow once another is sorted.
    ClickHeader(3);
    EXPECT_EQ(drawnAt(rc.right - 2 * o - 1, rc.top + o), GetSysColor(COLOR_BTNFACE));
}

TEST_F(ColumnSortListTest, HeaderWidthsGoThroughAnArchive)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        m_list.GetSortHeader().Serialize(ar);
    }
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = 30;
    m_list.GetSortHeader().SetItem(2, &item);
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load);
        m_list.GetSortHeader().Serialize(ar);
    }
    RECT rc{};
    m_list.GetSortHeader().GetItemRect(2, &rc);
    EXPECT_EQ(rc.right - rc.left, 100);
}
} // namespace
