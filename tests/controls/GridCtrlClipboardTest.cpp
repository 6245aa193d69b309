// The grid's text exchange: copy, cut and paste through the clipboard,
// OLE drags of the selection onto cells of the same and another grid, and
// line scrolling that moves the pixels and repaints only the strip.
#include "ControlTestSupport.h"
#include "GridCtrl.h"

#include <string>

namespace
{
class GridCtrlClipboardTest : public testing::Test
{
protected:
    GridCtrlClipboardTest()
    {
        MakeGrid(m_grid, CRect(0, 0, 300, 200), 100);
        m_harness.PumpPending();
    }

    void MakeGrid(CGridCtrl& grid, CRect rect, UINT nID)
    {
        grid.SetRowCount(8);
        grid.SetColumnCount(5);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
        grid.Create(rect, &m_parent, nID, WS_CHILD | WS_VISIBLE);
        for (int row = 0; row < 8; ++row)
            grid.SetRowHeight(row, 20);
        for (int col = 0; col < 5; ++col)
            grid.SetColumnWidth(col, 50);
        grid.ResetScrollBars();
    }

    static std::string ClipboardText()
    {
        COleDataObject obj;
        if (!obj.AttachClipboard())
            return "<none>";
        HGLOBAL hMem = obj.GetGlobalData(CF_TEXT);
        if (hMem == nullptr)
            return "<no text>";
        std::string text(static_cast<const char*>(::GlobalLock(hMem)));
        ::GlobalUnlock(hMem);
        ::GlobalFree(hMem);
        return text;
    }

    static void PutOnClipboard(const std::string& text)
    {
        HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        std::strcpy(static_cast<char*>(::GlobalLock(hMem)), text.c_str());
        ::GlobalUnlock(hMem);
        auto* pSource = new COleDataSource;
        pSource->CacheGlobalData(CF_TEXT, hMem);
        pSource->SetClipboard();
    }

    static std::string Text(CGridCtrl& grid, int row, int col)
    {
        return LPCSTR(grid.GetItemText(row, col));
    }

    // Plays the script to its end; the drag's own loop plays the steps
    // that come while it runs.
    void RunScript()
    {
        while (!m_harness.Script().IsDone())
        {
            m_harness.Script().PlayNext();
            m_harness.PumpPending();
        }
        m_harness.PumpPending();
    }

    POINT Cell(CGridCtrl& grid, int row, int col)
    {
        return CUiHarness::ScreenPoint(grid.m_hWnd, col * 50 + 25, row * 20 + 10);
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_parent{CRect(100, 100, 800, 500)};
    CGridCtrl m_grid;
};

TEST_F(GridCtrlClipboardTest, CopyWritesTheRangeWithTabsAndGapsForUnselectedCells)
{
    m_grid.SetItemText(1, 1, "a");
    m_grid.SetItemText(1, 2, "");
    m_grid.SetItemText(2, 2, "d");
    m_grid.SetItemText(2, 3, "e");
    m_grid.SetItemState(1, 1, GVIS_SELECTED);
    m_grid.SetItemState(1, 2, GVIS_SELECTED);
    m_grid.SetItemState(2, 3, GVIS_SELECTED);
    m_grid.SetFocusCell(1, 1);
    m_grid.SetFocus();
    m_harness.KeyDown(VK_CONTROL);
    m_harness.KeyPress('C');
    m_harness.KeyUp(VK_CONTROL);
    m_harness.PumpPending();
    // An empty selected cell gives a space; an unselected one nothing.
    EXPECT_EQ(ClipboardText(), "a\t \t\n\t\te");

    m_grid.ResetSelectedRange();
    EXPECT_EQ(m_grid.CopyTextFromGrid(), nullptr);
}

TEST_F(GridCtrlClipboardTest, PasteSplitsLinesAndFieldsAndSkipsReadOnlyCells)
{
    m_grid.SetItemText(2, 3, "locked");
    m_grid.SetItemState(2, 3, GVIS_READONLY);
    m_grid.SetItemText(3, 1, "will be emptied");
    PutOnClipboard("one,,two\tthree\n four , x\n\n5\t6\t7\t8\t9");
    m_grid.SetFocusCell(1, 1);
    m_grid.SendMessage(WM_COMMAND, ID_EDIT_PASTE, 0);
    // Two commas make one separator: "two" goes next to "one".
    EXPECT_EQ(Text(m_grid, 1, 1), "one");
    EXPECT_EQ(Text(m_grid, 1, 2), "two");
    EXPECT_EQ(Text(m_grid, 1, 3), "three");
    EXPECT_EQ(Text(m_grid, 2, 1), "four");
    EXPECT_EQ(Text(m_grid, 2, 2), "x");
    EXPECT_EQ(Text(m_grid, 2, 3), "locked");
    EXPECT_EQ(Text(m_grid, 3, 1), "");
    // Past the last column the tokens are dropped.
    EXPECT_EQ(Text(m_grid, 4, 4), "8");
    EXPECT_TRUE(m_grid.GetModified(1, 1));

    // Into a read-only cell nothing goes; without text nothing happens.
    m_grid.SetItemState(5, 1, GVIS_READONLY);
    COleDataObject obj;
    ASSERT_TRUE(obj.AttachClipboard());
    EXPECT_FALSE(m_grid.PasteTextToGrid(CCellID(5, 1), &obj));
    m_grid.SetEditable(FALSE);
    EXPECT_FALSE(m_grid.PasteTextToGrid(CCellID(5, 2), &obj));
}

TEST_F(GridCtrlClipboardTest, CutEmptiesSelectedEditableCellsAndUpdatesCommands)
{
    m_grid.SetItemText(1, 1, "cut me");
    m_grid.SetItemText(1, 2, "keep me");
    m_grid.SetItemState(1, 2, GVIS_READONLY);
    m_grid.SetSelectedRange(1, 1, 1, 2);
    m_grid.SendMessage(WM_COMMAND, ID_EDIT_CUT, 0);
    EXPECT_EQ(ClipboardText(), "cut me\tkeep me");
    EXPECT_EQ(Text(m_grid, 1, 1), "");
    EXPECT_EQ(Text(m_grid, 1, 2), "keep me");

    // A command state that remembers what the handler said.
    struct CEnableRecord : CCmdUI
    {
        BOOL bEnabled = FALSE;
        void Enable(BOOL bOn) override { bEnabled = bOn; }
    };
    CEnableRecord state;
    state.m_nID = ID_EDIT_PASTE;
    m_grid.SetFocusCell(2, 2);
    state.DoUpdate(&m_grid, FALSE);
    EXPECT_TRUE(state.bEnabled);
    m_grid.SetEditable(FALSE);
    state.DoUpdate(&m_grid, FALSE);
    EXPECT_FALSE(state.bEnabled);
}

TEST_F(GridCtrlClipboardTest, DragMovesAndCopiesWithinAndBetweenGrids)
{
    CGridCtrl other;
    MakeGrid(other, CRect(350, 0, 650, 200), 101);
    m_grid.EnableDragAndDrop();
    other.EnableDragAndDrop();
    m_grid.SetItemText(1, 1, "A");
    m_grid.SetItemText(1, 2, "B");
    m_harness.PumpPending();

    // Select two cells, then drag them from a selected cell to the other
    // grid: a move empties the source.
    m_harness.MouseDown(enMouseButton::Left, Cell(m_grid, 1, 1));
    m_harness.MouseMove(Cell(m_grid, 1, 2));
    m_harness.MouseUp(enMouseButton::Left, Cell(m_grid, 1, 2));
    m_harness.PumpPending();
    ASSERT_EQ(m_grid.GetSelectedCount(), 2);
    m_harness.AdvanceClock(1000);
    m_harness.Script()
        .MouseDown(enMouseButton::Left, Cell(m_grid, 1, 1))
        .MouseMove(Cell(m_grid, 2, 1))
        .MouseMove(Cell(other, 3, 2))
        .MouseMove(Cell(other, 3, 2))
        .MouseUp(enMouseButton::Left, Cell(other, 3, 2));
    RunScript();
    EXPECT_EQ(Text(other, 3, 2), "A");
    EXPECT_EQ(Text(other, 3, 3), "B");
    EXPECT_EQ(Text(m_grid, 1, 1), "");
    EXPECT_EQ(Text(m_grid, 1, 2), "");
    EXPECT_EQ(other.GetItemState(3, 2) & GVIS_DROPHILITED, 0U);

    // With Ctrl held the source keeps its text; a drop onto the same grid
    // over the source works too.
    other.SetSelectedRange(3, 2, 3, 3);
    other.SetFocus();
    m_harness.PumpPending();
    m_harness.Script()
        .Key(VK_CONTROL, true)
        .MouseDown(enMouseButton::Left, Cell(other, 3, 2))
        .MouseMove(Cell(other, 4, 2))
        .MouseMove(Cell(other, 3, 3))
        .MouseMove(Cell(other, 3, 3))
        .MouseUp(enMouseButton::Left, Cell(other, 3, 3))
        .Key(VK_CONTROL, false);
    RunScript();
    EXPECT_EQ(Text(other, 3, 2), "A");
    EXPECT_EQ(Text(other, 3, 3), "A");
    EXPECT_EQ(Text(other, 3, 4), "B");
}

TEST_F(GridCtrlClipboardTest, LineScrollingRepaintsOnlyTheUncoveredStrip)
{
    for (int row = 1; row < 8; ++row)
        m_grid.SetItemText(row, 1, std::to_string(row).c_str());
    m_grid.SetRowCount(30);
    for (int row = 8; row < 30; ++row)
        m_grid.SetRowHeight(row, 20);
    m_grid.ResetScrollBars();
    m_grid.Invalidate();
    m_harness.PumpPending();
    const WindowPicture before = ClientPictureOf(m_grid.m_hWnd);

    m_grid.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    CRect update;
    ASSERT_TRUE(::GetUpdateRect(m_grid.m_hWnd, update, FALSE));
    CRect client;
    m_grid.GetClientRect(client);
    EXPECT_EQ(update.top, client.bottom - 20);
    EXPECT_EQ(update.bottom, client.bottom);
    m_harness.PumpPending();
    const WindowPicture after = ClientPictureOf(m_grid.m_hWnd);
    DumpPicture(m_grid.m_hWnd, "grid_scrolled_line");
    // The rows moved up by one row: what was at y 50 is now at y 30.
    for (int x = 50; x < 100; x += 5)
        EXPECT_EQ(after.GetPixel(x, 30), before.GetPixel(x, 50)) << x;
    // The fixed row stays.
    for (int x = 50; x < 100; x += 5)
        EXPECT_EQ(after.GetPixel(x, 10), before.GetPixel(x, 10)) << x;
}
} // namespace
