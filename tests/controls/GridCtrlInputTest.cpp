// The grid under scripted mouse and keys: focus and selection by every
// mouse mode, dividers, keys, the wheel, in-place editing and its
// notifications, sorting, and the title tip's routing.
#include "ControlTestSupport.h"
#include "GridCtrl.h"
#include "WinProfile.h"

#include <string>
#include <vector>

namespace
{
// A parent that also records the grid's own notifications.
class CGridParent : public CTestParent
{
public:
    using CTestParent::CTestParent;
    std::vector<GridNotification> gridNotes;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        if (pHeader->idFrom == 100)
        {
            gridNotes.push_back(*reinterpret_cast<const GridNotification*>(lParam));
            *pResult = 0;
            return TRUE;
        }
        return CTestParent::OnNotify(wParam, lParam, pResult);
    }
};

class GridCtrlInputTest : public testing::Test
{
protected:
    GridCtrlInputTest()
    {
        m_grid.SetRowCount(30);
        m_grid.SetColumnCount(8);
        m_grid.SetFixedRowCount(1);
        m_grid.SetFixedColumnCount(1);
        m_grid.Create(CRect(0, 0, 300, 200), &m_parent, 100, WS_CHILD | WS_VISIBLE);
        for (int row = 0; row < 30; ++row)
            m_grid.SetRowHeight(row, 20);
        for (int col = 0; col < 8; ++col)
            m_grid.SetColumnWidth(col, 50);
        m_grid.ResetScrollBars();
        m_harness.PumpPending();
        m_parent.gridNotes.clear();
    }

    POINT At(int x, int y) { return CUiHarness::ScreenPoint(m_grid.m_hWnd, x, y); }
    // The centre of a cell while nothing is scrolled.
    POINT Cell(int row, int col) { return At(col * 50 + 25, row * 20 + 10); }
    void Click(POINT pt, UINT nModifier = 0)
    {
        if (nModifier != 0)
            m_harness.KeyDown(nModifier);
        m_harness.Click(enMouseButton::Left, pt);
        if (nModifier != 0)
            m_harness.KeyUp(nModifier);
        m_harness.PumpPending();
    }
    void Drag(POINT from, POINT to)
    {
        m_harness.MouseDown(enMouseButton::Left, from);
        m_harness.MouseMove(to);
        m_harness.MouseUp(enMouseButton::Left, to);
        m_harness.PumpPending();
    }
    void Press(UINT nKey, UINT nModifier = 0)
    {
        if (nModifier != 0)
            m_harness.KeyDown(nModifier);
        m_harness.KeyPress(nKey);
        if (nModifier != 0)
            m_harness.KeyUp(nModifier);
        m_harness.PumpPending();
    }
    void Type(const char* psz)
    {
        for (; *psz != '\0'; ++psz)
            ::SendMessageA(::GetFocus(), WM_CHAR, static_cast<unsigned char>(*psz), 0);
        m_harness.PumpPending();
    }
    std::string Text(int row, int col) { return LPCSTR(m_grid.GetItemText(row, col)); }

    CFailOnBlockHarness m_harness;
    CGridParent m_parent{CRect(100, 100, 500, 400)};
    CGridCtrl m_grid;
};

TEST_F(GridCtrlInputTest, EveryMouseModeSelectsWhatItShould)
{
    struct Case
    {
        const char* pszName;
        POINT from;
        POINT to;
        CCellRange expected;
    };
    const Case cases[] = {
        {"cells", Cell(2, 2), Cell(4, 3), CCellRange(2, 2, 4, 3)},
        {"rows", Cell(3, 0), Cell(5, 0), CCellRange(3, 1, 5, 7)},
        {"columns", Cell(0, 2), Cell(0, 4), CCellRange(1, 2, 29, 4)},
        {"all", Cell(0, 0), Cell(0, 0), CCellRange(1, 1, 29, 7)},
    };
    for (const Case& c : cases)
    {
        m_grid.ResetSelectedRange();
        Drag(c.from, c.to);
        EXPECT_EQ(m_grid.GetSelectedCellRange(), c.expected) << c.pszName;
        const CCellRange range = m_grid.GetSelectedCellRange();
        EXPECT_EQ(m_grid.GetSelectedCount(), range.GetRowSpan() * range.GetColSpan()) << c.pszName;
    }
    // Every release on a cell is told to the parent as a command.
    ASSERT_FALSE(m_parent.commands.empty());
    EXPECT_EQ(m_parent.commands.back().nId, 100U);
    EXPECT_EQ(m_parent.commands.back().hWndControl, m_grid.m_hWnd);
}

TEST_F(GridCtrlInputTest, FocusNotificationsShiftAndCtrlSelection)
{
    Click(Cell(2, 2));
    EXPECT_EQ(m_grid.GetFocusCell(), CCellID(2, 2));
    ASSERT_EQ(m_parent.gridNotes.size(), 1U);
    EXPECT_EQ(int(m_parent.gridNotes[0].hdr.code), GVN_SELCHANGED);
    Click(Cell(3, 3));
    ASSERT_EQ(m_parent.gridNotes.size(), 3U);
    EXPECT_EQ(int(m_parent.gridNotes[1].hdr.code), GVN_SELCHANGING);
    EXPECT_EQ(m_parent.gridNotes[1].iRow, 2);
    EXPECT_EQ(int(m_parent.gridNotes[2].hdr.code), GVN_SELCHANGED);

    Click(Cell(5, 4), VK_SHIFT);
    EXPECT_EQ(m_grid.GetSelectedCellRange(), CCellRange(3, 3, 5, 4));
    // Ctrl keeps what was selected and adds the new cell.
    Click(Cell(7, 1), VK_CONTROL);
    EXPECT_EQ(m_grid.GetSelectedCount(), 7);
    EXPECT_TRUE(m_grid.GetItemState(7, 1) & GVIS_SELECTED);
    // With single-row selection the earlier selection goes.
    m_grid.SetSingleRowSelection();
    Click(Cell(8, 1), VK_CONTROL);
    EXPECT_EQ(m_grid.GetSelectedCount(), 1);
}

TEST_F(GridCtrlInputTest, ColumnAndRowDividersSizeAndAutoSize)
{
    // Drag the right edge of column 2 (x = 150) to x = 180.
    Drag(At(149, 10), At(180, 10));
    EXPECT_EQ(m_grid.GetColumnWidth(2), 80);
    // Dragging to the column's own left edge leaves it 0 wide, no less.
    Drag(At(179, 10), At(60, 10));
    EXPECT_EQ(m_grid.GetColumnWidth(2), 0);
    // Row divider: bottom of row 1 (y = 40) down by 10.
    Drag(At(25, 39), At(25, 50));
    EXPECT_EQ(m_grid.GetRowHeight(1), 30);

    // Column 2 is 0 wide now: column 3 ends at x = 150. A double click on
    // its edge fits it to its widest text.
    m_grid.SetItemText(0, 3, "a heading far wider than fifty");
    m_harness.AdvanceClock(1000);
    m_harness.Click(enMouseButton::Left, At(149, 10));
    m_harness.Click(enMouseButton::Left, At(149, 10));
    m_harness.PumpPending();
    EXPECT_GT(m_grid.GetColumnWidth(3), 100);
    // No cell under a resize stays selected or focused by the press.
    EXPECT_EQ(m_grid.GetSelectedCount(), 0);
}

TEST_F(GridCtrlInputTest, KeysMoveTheFocusWrapAndScroll)
{
    Click(Cell(1, 1));
    struct Step
    {
        UINT nKey;
        UINT nModifier;
        CCellID expected;
    };
    const Step steps[] = {
        {VK_RIGHT, 0, CCellID(1, 2)},      {VK_DOWN, 0, CCellID(2, 2)},
        {VK_LEFT, 0, CCellID(2, 1)},       {VK_LEFT, 0, CCellID(2, 1)}, // not into fixed cells
        {VK_UP, 0, CCellID(1, 1)},         {VK_UP, 0, CCellID(1, 1)},
        {VK_END, 0, CCellID(29, 1)},       {VK_HOME, 0, CCellID(1, 1)},
        {VK_TAB, VK_SHIFT, CCellID(1, 1)},
    };
    for (const Step& step : steps)
    {
        Press(step.nKey, step.nModifier);
        EXPECT_EQ(m_grid.GetFocusCell(), step.expected) << step.nKey;
    }
    // Tab at the end of a row wraps to the next row's first column.
    m_grid.SetFocusCell(3, 7);
    Press(VK_TAB);
    EXPECT_EQ(m_grid.GetFocusCell(), CCellID(4, 1));
    Press(VK_TAB, VK_SHIFT);
    EXPECT_EQ(m_grid.GetFocusCell(), CCellID(3, 7));
    // Tab on the very last cell stays.
    m_grid.SetFocusCell(29, 7);
    Press(VK_TAB);
    EXPECT_EQ(m_grid.GetFocusCell(), CCellID(29, 7));

    // Paging follows the rows scrolled; the focus cell comes into view.
    m_grid.SendMessage(WM_VSCROLL, SB_TOP);
    m_grid.SetFocusCell(1, 1);
    Press(VK_NEXT);
    EXPECT_EQ(m_grid.GetTopleftNonFixedCell().row, 10);
    EXPECT_EQ(m_grid.GetFocusCell(), CCellID(10, 1));
    m_grid.SendMessage(WM_VSCROLL, SB_TOP);
    m_grid.SetFocusCell(9, 1);
    Press(VK_DOWN);
    EXPECT_TRUE(m_grid.IsCellVisible(10, 1));
    // Shift extends the selection from the anchor.
    Press(VK_DOWN, VK_SHIFT);
    EXPECT_EQ(m_grid.GetSelectedCellRange(), CCellRange(10, 1, 11, 1));
}

TEST_F(GridCtrlInputTest, DeleteEmptiesEditableCellsOnly)
{
    m_grid.SetItemText(2, 2, "keep?");
    m_grid.SetItemText(2, 3, "locked");
    m_grid.SetItemState(2, 3, GVIS_READONLY);
    Click(Cell(2, 2));
    m_parent.gridNotes.clear();
    Press(VK_DELETE);
    EXPECT_EQ(Text(2, 2), "");
    EXPECT_TRUE(m_grid.GetModified(2, 2));
    ASSERT_EQ(m_parent.gridNotes.size(), 2U);
    EXPECT_EQ(int(m_parent.gridNotes[0].hdr.code), GVN_BEGINLABELEDIT);
    EXPECT_EQ(int(m_parent.gridNotes[1].hdr.code), GVN_ENDLABELEDIT);

    m_grid.SetFocusCell(2, 3);
    m_parent.gridNotes.clear();
    Press(VK_DELETE);
    EXPECT_EQ(Text(2, 3), "locked");
    EXPECT_TRUE(m_parent.gridNotes.empty());
}

TEST_F(GridCtrlInputTest, WheelScrollsByTheUsersSetting)
{
    struct Case
    {
        const char* pszSetting; // null: no value
        int nDelta;
        int nExpectedTop;
    };
    const Case cases[] = {
        {nullptr, -120, 4}, // three lines by default
        {"5", -120, 6},
        {"-1", -120, 10}, // a page
        {"2", 240, 1},    // up, already at the top
    };
    CProfileStore::SetInMemory(true);
    for (const Case& c : cases)
    {
        CProfileStore::GetApplicationStore().WriteProfileString("Control Panel\\Desktop",
                                                                "WheelScrollLines", c.pszSetting);
        m_grid.OnSettingChange(0, nullptr);
        m_grid.SendMessage(WM_VSCROLL, SB_TOP);
        m_grid.SetFocus();
        m_harness.Wheel(c.nDelta, Cell(3, 3));
        m_harness.PumpPending();
        EXPECT_EQ(m_grid.GetTopleftNonFixedCell().row, c.nExpectedTop)
            << (c.pszSetting != nullptr ? c.pszSetting : "none");
    }
    CProfileStore::ClearMemory();
    CProfileStore::SetInMemory(false);
}

TEST_F(GridCtrlInputTest, EditingBegunByClickAndCharacterEndsWithItsKey)
{
    m_grid.SetItemText(2, 2, "old");
    Click(Cell(2, 2));
    // A press on the focus cell and a release open the editor.
    Click(Cell(2, 2));
    CWnd* pEdit = m_grid.GetDlgItem(IDC_INPLACE_EDIT);
    ASSERT_NE(pEdit, nullptr);
    Type("er");
    m_parent.gridNotes.clear();
    Press(VK_RETURN);
    EXPECT_EQ(m_grid.GetDlgItem(IDC_INPLACE_EDIT), nullptr);
    EXPECT_EQ(Text(2, 2), "older");
    EXPECT_TRUE(m_grid.GetModified(2, 2));
    ASSERT_FALSE(m_parent.gridNotes.empty());
    EXPECT_EQ(int(m_parent.gridNotes.back().hdr.code), GVN_ENDLABELEDIT);

    // A typed character replaces the text; Escape keeps the old one.
    m_grid.SetFocus();
    ::SendMessage(m_grid.m_hWnd, WM_CHAR, 'z', 0);
    m_harness.PumpPending();
    ASSERT_NE(m_grid.GetDlgItem(IDC_INPLACE_EDIT), nullptr);
    Press(VK_ESCAPE);
    EXPECT_EQ(Text(2, 2), "older");

    // Down commits and opens the editor on the cell below.
    m_grid.SetFocus();
    ::SendMessage(m_grid.m_hWnd, WM_CHAR, 'n', 0);
    m_harness.PumpPending();
    Type("ew");
    Press(VK_DOWN);
    EXPECT_EQ(Text(2, 2), "new");
    EXPECT_EQ(m_grid.GetFocusCell(), CCellID(3, 2));
    ASSERT_NE(m_grid.GetDlgItem(IDC_INPLACE_EDIT), nullptr);
    // Focus loss ends the edit too.
    Type("x");
    m_parent.SetFocus();
    m_harness.PumpPending();
    EXPECT_EQ(m_grid.GetDlgItem(IDC_INPLACE_EDIT), nullptr);
    EXPECT_EQ(Text(3, 2), "x");

    // Read-only cells and a read-only grid open nothing.
    m_grid.SetItemState(4, 4, GVIS_READONLY);
    m_grid.SetFocusCell(4, 4);
    m_grid.SetFocus();
    ::SendMessage(m_grid.m_hWnd, WM_CHAR, 'q', 0);
    m_harness.PumpPending();
    EXPECT_EQ(m_grid.GetDlgItem(IDC_INPLACE_EDIT), nullptr);
}

TEST_F(GridCtrlInputTest, SortingKeepsSelectionAndCellsInStep)
{
    const char* texts[] = {"pear", "apple", "fig", "apple", "kiwi"};
    m_grid.SetRowCount(6);
    for (int row = 1; row < 6; ++row)
    {
        m_grid.SetItemText(row, 1, texts[row - 1]);
        m_grid.SetItemData(row, 2, LPARAM(10 - row));
        m_grid.SetItemText(row, 2, std::to_string(10 - row).c_str());
    }
    m_grid.SetSelectedRange(2, 1, 3, 2);
    m_grid.SetFocusCell(2, 1);
    ASSERT_TRUE(m_grid.SortTextItems(1, TRUE));
    EXPECT_EQ(m_grid.GetSelectedCount(), 0);
    EXPECT_FALSE(m_grid.GetFocusCell().IsValid());
    std::vector<std::string> sorted;
    for (int row = 1; row < 6; ++row)
    {
        sorted.push_back(Text(row, 1));
        EXPECT_EQ(m_grid.GetItemState(row, 1) & GVIS_SELECTED, 0U);
    }
    EXPECT_EQ(sorted, (std::vector<std::string>{"apple", "apple", "fig", "kiwi", "pear"}));
    // Rows move whole: "pear" kept its number.
    EXPECT_EQ(Text(5, 2), "9");

    ASSERT_TRUE(m_grid.SortTextItems(1, FALSE));
    EXPECT_EQ(Text(1, 1), "pear");
    const PFNLVCOMPARE byValue = [](LPARAM a, LPARAM b, LPARAM) -> int { return int(a - b); };
    ASSERT_TRUE(m_grid.SortItems(byValue, 2, TRUE));
    for (int row = 1; row < 5; ++row)
        EXPECT_LT(m_grid.GetItemData(row, 2), m_grid.GetItemData(row + 1, 2));

    // Fewer than two rows to sort: FALSE, nothing changes.
    m_grid.SetRowCount(2);
    m_grid.SetSelectedRange(1, 1, 1, 1);
    EXPECT_FALSE(m_grid.SortTextItems(1, TRUE));
    EXPECT_EQ(m_grid.GetSelectedCount(), 1);
}

TEST_F(GridCtrlInputTest, ListModeSelectsRowsAndSortsOnHeadingClicks)
{
    m_grid.SetListMode();
    m_grid.SetRowCount(4);
    m_grid.SetItemText(1, 2, "b");
    m_grid.SetItemText(2, 2, "c");
    m_grid.SetItemText(3, 2, "a");
    Click(Cell(2, 3));
    EXPECT_EQ(m_grid.GetSelectedCellRange(), CCellRange(2, 1, 2, 7));
    Click(Cell(0, 2));
    EXPECT_EQ(Text(1, 2), "a");
    m_harness.AdvanceClock(1000); // not a double click
    Click(Cell(0, 2));
    EXPECT_EQ(Text(1, 2), "c");
}

TEST_F(GridCtrlInputTest, GetNextItemWalksInEachDirection)
{
    m_grid.SetItemState(3, 4, GVIS_MODIFIED);
    m_grid.SetItemState(6, 2, GVIS_MODIFIED);
    m_grid.SetItemState(3, 1, GVIS_MODIFIED);
    CCellID start(3, 2);
    EXPECT_EQ(m_grid.GetNextItem(start, GVNI_MODIFIED | GVNI_ALL), CCellID(3, 4));
    EXPECT_EQ(m_grid.GetNextItem(start, GVNI_MODIFIED | GVNI_BELOW), CCellID(6, 2));
    EXPECT_EQ(m_grid.GetNextItem(start, GVNI_MODIFIED | GVNI_TOLEFT), CCellID(3, 1));
    EXPECT_EQ(m_grid.GetNextItem(start, GVNI_MODIFIED | GVNI_ABOVE), CCellID(-1, -1));
    EXPECT_EQ(m_grid.GetNextItem(start, GVNI_MODIFIED), CCellID(-1, -1));
}

TEST_F(GridCtrlInputTest, TitleTipShowsOverTheCellAndPassesInputOn)
{
    m_grid.SetItemText(2, 2, "a text much wider than its cell");
    m_grid.SetFocus();
    m_harness.MouseMove(Cell(2, 2));
    m_harness.PumpPending();
    const HWND hTip = ::FindWindowA(TITLETIP_CLASSNAME, nullptr);
    ASSERT_NE(hTip, nullptr);
    ASSERT_TRUE(::IsWindowVisible(hTip));
    EXPECT_EQ(::GetCapture(), hTip);
    CRect tip;
    ::GetWindowRect(hTip, tip);
    CRect cell;
    m_grid.GetCellRect(2, 2, cell);
    m_grid.ClientToScreen(cell);
    EXPECT_EQ(tip.TopLeft(), cell.TopLeft());
    EXPECT_GT(tip.Width(), cell.Width());
    DumpPicture(hTip, "grid_title_tip");

    // A click through the tip reaches the grid at the same place.
    m_harness.Click(enMouseButton::Left, Cell(2, 2));
    m_harness.PumpPending();
    EXPECT_EQ(m_grid.GetFocusCell(), CCellID(2, 2));

    // A key hides it and still reaches the grid.
    m_harness.MouseMove(Cell(3, 3));
    m_harness.PumpPending();
    m_grid.SetItemText(3, 3, "another long text for a tip");
    m_harness.MouseMove(Cell(3, 2));
    m_harness.MouseMove(Cell(3, 3));
    m_harness.PumpPending();
    Press(VK_RIGHT);
    EXPECT_FALSE(::IsWindowVisible(hTip));
    EXPECT_NE(::GetCapture(), hTip);

    // Moving out of the grid hides it.
    m_harness.MouseMove(Cell(4, 3));
    m_harness.PumpPending();
    m_harness.MouseMove(CUiHarness::ScreenPoint(m_parent.m_hWnd, 350, 250));
    m_harness.PumpPending();
    EXPECT_FALSE(::IsWindowVisible(hTip));
}
} // namespace
