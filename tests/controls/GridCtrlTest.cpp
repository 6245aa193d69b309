// The grid's data and its pixels: shape changes, cells and their fields,
// the selection map, geometry, scroll bars and scrolling, sizes from the
// test font, painting and the text file.
#include "GridCtrl.h"
#include "ControlTestSupport.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace
{
class GridCtrlTest : public testing::Test
{
protected:
    // A grid window of rows x cols (fixed 1 x 1) in the parent's client.
    void MakeGrid(int nRows, int nCols, CRect rect = CRect(0, 0, 300, 200))
    {
        m_grid.SetRowCount(nRows);
        m_grid.SetColumnCount(nCols);
        m_grid.SetFixedRowCount(1);
        m_grid.SetFixedColumnCount(1);
        ASSERT_TRUE(m_grid.Create(rect, &m_parent, 100, WS_CHILD | WS_VISIBLE));
        for (int row = 0; row < nRows; ++row)
            m_grid.SetRowHeight(row, 20);
        for (int col = 0; col < nCols; ++col)
            m_grid.SetColumnWidth(col, 50);
        m_grid.ResetScrollBars();
        m_harness.PumpPending();
    }

    static std::string Text(CGridCtrl& grid, int row, int col)
    {
        return std::string(LPCSTR(grid.GetItemText(row, col)));
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_parent{CRect(100, 100, 500, 400)};
    CGridCtrl m_grid;
};

// A cell that counts its own deletion.
struct CountedCell : CGridCell
{
    explicit CountedCell(int* pDeleted) : m_pDeleted(pDeleted) {}
    ~CountedCell() override { ++*m_pDeleted; }
    int* m_pDeleted;
};

TEST_F(GridCtrlTest, ShapeChangesKeepCountsFocusAndFormats)
{
    CGridCtrl grid;
    EXPECT_EQ(grid.GetRowCount(), 0);
    // Inserting into an empty grid makes the missing row or column first.
    EXPECT_EQ(grid.InsertColumn("Name", DT_RIGHT), 0);
    EXPECT_EQ(grid.GetRowCount(), 1);
    EXPECT_EQ(Text(grid, 0, 0), "Name");
    EXPECT_EQ(grid.InsertColumn("Age", DT_CENTER), 1);
    EXPECT_EQ(grid.InsertRow("first"), 1);
    EXPECT_EQ(Text(grid, 1, 0), "first");
    // A new row takes the formats of the row above.
    EXPECT_EQ(grid.GetItemFormat(1, 0), UINT(DT_RIGHT));
    EXPECT_EQ(grid.GetItemFormat(1, 1), UINT(DT_CENTER));
    // A column inserted in the middle takes its format in every row.
    EXPECT_EQ(grid.InsertColumn("Mid", DT_LEFT | DT_VCENTER, 1), 1);
    EXPECT_EQ(grid.GetItemFormat(0, 1), UINT(DT_LEFT | DT_VCENTER));
    EXPECT_EQ(grid.GetItemFormat(1, 1), UINT(DT_LEFT | DT_VCENTER));
    EXPECT_EQ(Text(grid, 0, 2), "Age");
    EXPECT_EQ(grid.InsertColumn("x", 0, 3), -1);
    EXPECT_EQ(grid.InsertRow("x", 2), -1);

    CGridCtrl empty;
    EXPECT_EQ(empty.InsertRow("only"), 0);
    EXPECT_EQ(empty.GetColumnCount(), 1);
    EXPECT_EQ(Text(empty, 0, 0), "only");

    CGridCtrl sized(10, 6, 3, 2);
    EXPECT_EQ(sized.GetFixedRowCount(), 3);
    sized.SetFocusCell(5, 4);
    sized.SetRowCount(2);
    EXPECT_EQ(sized.GetFixedRowCount(), 2);
    EXPECT_FALSE(sized.GetFocusCell().IsValid());
    sized.SetFixedColumnCount(8);
    EXPECT_EQ(sized.GetColumnCount(), 8);
    EXPECT_TRUE(sized.DeleteColumn(0));
    EXPECT_EQ(sized.GetFixedColumnCount(), 7);
    EXPECT_FALSE(sized.DeleteRow(5));
    EXPECT_TRUE(sized.DeleteAllItems());
    EXPECT_EQ(sized.GetRowCount() + sized.GetColumnCount() + sized.GetFixedRowCount() +
                  sized.GetFixedColumnCount(),
              0);
}

TEST_F(GridCtrlTest, FocusMovesWithInsertedAndDeletedRowsAndColumns)
{
    CGridCtrl grid(6, 6, 1, 1);
    grid.SetFocusCell(3, 3);
    grid.DeleteRow(1);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(-1, -1)); // deleting a row resets focus first
    grid.SetFocusCell(3, 3);
    grid.DeleteColumn(1);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(-1, -1));
    EXPECT_EQ(grid.GetItemText(3, 1), CString());
    EXPECT_TRUE(grid.DeleteNonFixedRows());
    EXPECT_EQ(grid.GetRowCount(), 1);
}

TEST_F(GridCtrlTest, CellFieldsAndTheirNeutralValuesOutsideTheGrid)
{
    CGridCtrl grid(3, 3, 1, 1);
    LOGFONT lf{};
    lf.lfHeight = -20;
    std::strcpy(lf.lfFaceName, "Serif");
    GV_ITEM item;
    item.row = 2;
    item.col = 1;
    item.mask = GVIF_TEXT | GVIF_IMAGE | GVIF_PARAM | GVIF_STATE | GVIF_BKCLR | GVIF_FGCLR |
                GVIF_FORMAT | GVIF_FONT;
    item.szText = "cell";
    item.iImage = 4;
    item.lParam = 77;
    item.state = GVIS_READONLY;
    item.crBkClr = RGB(1, 2, 3);
    item.crFgClr = RGB(4, 5, 6);
    item.nFormat = DT_RIGHT;
    item.lfFont = lf;
    EXPECT_TRUE(grid.SetItem(&item));

    GV_ITEM back;
    back.row = 2;
    back.col = 1;
    back.mask = item.mask;
    EXPECT_TRUE(grid.GetItem(&back));
    EXPECT_EQ(std::string(LPCSTR(back.szText)), "cell");
    EXPECT_EQ(back.iImage, 4);
    EXPECT_EQ(back.lParam, 77);
    EXPECT_EQ(back.state, UINT(GVIS_READONLY));
    EXPECT_EQ(back.crBkClr, RGB(1, 2, 3));
    EXPECT_EQ(back.crFgClr, RGB(4, 5, 6));
    EXPECT_EQ(back.nFormat, UINT(DT_RIGHT));
    EXPECT_EQ(back.lfFont.lfHeight, -20);
    EXPECT_FALSE(grid.IsCellEditable(2, 1));
    EXPECT_TRUE(grid.IsCellEditable(2, 2));

    // Defaults of a new cell.
    EXPECT_EQ(grid.GetItemImage(1, 1), -1);
    EXPECT_EQ(grid.GetItemBkColour(1, 1), CLR_DEFAULT_CELL);

    // Outside the grid: FALSE and the neutral values.
    back.row = 3;
    EXPECT_FALSE(grid.GetItem(&back));
    EXPECT_FALSE(grid.SetItemText(3, 0, "x"));
    EXPECT_EQ(Text(grid, -1, 0), "");
    EXPECT_EQ(grid.GetItemData(0, 3), 0);
    EXPECT_EQ(grid.GetItemImage(9, 9), -1);
    EXPECT_EQ(grid.GetItemState(9, 9), 0U);
    EXPECT_EQ(grid.GetItemFormat(9, 9), 0U);
    EXPECT_EQ(grid.GetItemBkColour(9, 9), 0U);
    EXPECT_EQ(grid.GetItemFgColour(9, 9), 0U);
    EXPECT_EQ(grid.GetItemFont(9, 9)->lfHeight, grid.GetItemFont(0, 0)->lfHeight);
    EXPECT_EQ(grid.GetRowHeight(9), -1);
    EXPECT_FALSE(grid.SetColumnWidth(1, -2));
}

TEST_F(GridCtrlTest, ModifiedFlagsOfTheGridAndItsCells)
{
    CGridCtrl grid(4, 4, 1, 1);
    grid.SetModified(TRUE, 2, 2);
    EXPECT_TRUE(grid.GetModified(2, 2));
    EXPECT_TRUE(grid.GetModified());
    // Row or column 0 asks for the grid-wide flag, not cell (0, 0).
    EXPECT_TRUE(grid.GetModified(0, 0));
    grid.SetModified(FALSE, 2, 2);
    EXPECT_FALSE(grid.GetModified(2, 2));
    grid.SetModified(TRUE, 3, 3);
    grid.SetModified(FALSE);
    EXPECT_FALSE(grid.GetModified(3, 3));
    EXPECT_FALSE(grid.GetModified());
}

TEST_F(GridCtrlTest, SelectionMapFollowsTheCellsOnLargeGrids)
{
    // Rows past 65,535 and wide grids must not share keys.
    CGridCtrl grid(70000, 3, 1, 1);
    EXPECT_TRUE(grid.SetItemState(1, 1, GVIS_SELECTED));
    EXPECT_TRUE(grid.SetItemState(65537, 1, GVIS_SELECTED));
    EXPECT_TRUE(grid.SetItemState(1, 2, GVIS_SELECTED));
    EXPECT_EQ(grid.GetSelectedCount(), 3);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 1, 65537, 2));
    grid.SetItemState(65537, 1, 0);
    EXPECT_EQ(grid.GetSelectedCount(), 2);

    // Shrinking empties the cells it removes, so they leave the map.
    grid.SetItemState(60000, 2, GVIS_SELECTED);
    grid.SetRowCount(50000);
    EXPECT_EQ(grid.GetSelectedCount(), 2);
}

TEST_F(GridCtrlTest, SetCellReplacesAndDeletesTheOldCell)
{
    CGridCtrl grid(3, 3, 1, 1);
    int nDeleted = 0;
    auto* pFirst = new CountedCell(&nDeleted);
    pFirst->szText = "first";
    EXPECT_TRUE(grid.SetCell(1, 1, pFirst));
    grid.SetItemState(1, 1, GVIS_SELECTED);
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_TRUE(grid.SetCell(1, 1, pFirst)); // the same cell stays
    EXPECT_EQ(nDeleted, 0);

    auto* pSecond = new CountedCell(&nDeleted);
    pSecond->state = 0;
    EXPECT_TRUE(grid.SetCell(1, 1, pSecond));
    EXPECT_EQ(nDeleted, 1);
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_EQ(grid.GetCell(1, 1), pSecond);

    auto* pSelected = new CGridCell;
    pSelected->state = GVIS_SELECTED;
    EXPECT_TRUE(grid.SetCell(2, 2, pSelected));
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_FALSE(grid.SetCell(5, 5, pSelected));
    grid.DeleteAllItems();
    EXPECT_EQ(nDeleted, 2);
}

TEST_F(GridCtrlTest, GeometryOfCellsRangesAndPoints)
{
    MakeGrid(20, 10);
    CRect rect;
    ASSERT_TRUE(m_grid.GetCellRect(0, 0, rect));
    EXPECT_EQ(rect, CRect(0, 0, 49, 19));
    ASSERT_TRUE(m_grid.GetCellRect(2, 3, rect));
    EXPECT_EQ(rect, CRect(150, 40, 199, 59));
    // The range rectangle reaches the last cell's far edges.
    ASSERT_TRUE(m_grid.GetCellRangeRect(CCellRange(1, 1, 2, 3), rect));
    EXPECT_EQ(rect, CRect(50, 20, 200, 60));

    struct PointCase
    {
        CPoint point;
        BOOL bAllowFixed;
        CCellID expected;
    };
    const PointCase cases[] = {
        {CPoint(10, 10), TRUE, CCellID(0, 0)},   {CPoint(10, 10), FALSE, CCellID(-1, -1)},
        {CPoint(60, 10), FALSE, CCellID(-1, 1)}, {CPoint(60, 25), FALSE, CCellID(1, 1)},
        {CPoint(149, 39), TRUE, CCellID(1, 2)},  {CPoint(-1, 5), TRUE, CCellID(0, -1)},
    };
    for (const PointCase& c : cases)
        EXPECT_EQ(m_grid.GetCellFromPt(c.point, c.bAllowFixed), c.expected)
            << c.point.x << "," << c.point.y;

    // Both scroll bars show: the client is 300 x 200 less their widths, so
    // row 9 and column 5 are cut by its edges.
    CRect client;
    m_grid.GetClientRect(client);
    ASSERT_LT(client.Height(), 200);
    ASSERT_GT(client.Height(), 180);
    ASSERT_LT(client.Width(), 300);
    ASSERT_GT(client.Width(), 250);
    EXPECT_EQ(m_grid.GetVisibleNonFixedCellRange(&rect), CCellRange(1, 1, 9, 5));
    EXPECT_EQ(rect, CRect(0, 0, client.right, client.bottom));
    EXPECT_EQ(m_grid.GetUnobstructedNonFixedCellRange(), CCellRange(1, 1, 8, 4));
    EXPECT_TRUE(m_grid.IsCellVisible(9, 5));
    EXPECT_FALSE(m_grid.IsCellVisible(10, 5));
    EXPECT_FALSE(m_grid.IsCellVisible(1, 6));
    EXPECT_EQ(m_grid.GetVirtualWidth(), 500);
    EXPECT_EQ(m_grid.GetVirtualHeight(), 400);
    EXPECT_EQ(m_grid.GetTopleftNonFixedCell(), CCellID(1, 1));

    m_grid.SetColumnWidth(4, 20); // column 5 now ends inside
    EXPECT_EQ(m_grid.GetUnobstructedNonFixedCellRange().GetMaxCol(), 5);
}

TEST_F(GridCtrlTest, ScrollBarsAndLineAndPageScrolling)
{
    MakeGrid(20, 10);
    CRect client;
    m_grid.GetClientRect(client);
    const int nPageHeight = client.Height() - 20;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    m_grid.GetScrollInfo(SB_VERT, &si, SIF_ALL);
    EXPECT_EQ(si.nMax, 400 - 20 - 1);
    EXPECT_EQ(si.nPage, UINT(nPageHeight));
    m_grid.GetScrollInfo(SB_HORZ, &si, SIF_ALL);
    EXPECT_EQ(si.nMax, 500 - 50 - 1);
    EXPECT_EQ(si.nPage, UINT(client.Width() - 50));

    m_grid.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(m_grid.GetScrollPos32(SB_VERT), 20);
    EXPECT_EQ(m_grid.GetTopleftNonFixedCell(), CCellID(2, 1));
    CRect rect;
    EXPECT_FALSE(m_grid.GetCellRect(1, 1, rect)); // scrolled away
    ASSERT_TRUE(m_grid.GetCellRect(2, 1, rect));
    EXPECT_EQ(rect.top, 20);
    m_grid.SendMessage(WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(m_grid.GetScrollPos32(SB_VERT), 0);
    m_grid.SendMessage(WM_VSCROLL, SB_LINEUP, 0); // at the top nothing moves
    EXPECT_EQ(m_grid.GetScrollPos32(SB_VERT), 0);

    m_grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(m_grid.GetScrollPos32(SB_VERT), nPageHeight);
    // The bottom: the last position the page allows, the first row whose
    // top reaches it at the top.
    m_grid.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    const int nLast = 400 - 20 - nPageHeight;
    EXPECT_EQ(m_grid.GetScrollPos32(SB_VERT), nLast);
    EXPECT_EQ(m_grid.GetTopleftNonFixedCell().row, 1 + (nLast + 19) / 20);
    m_grid.SendMessage(WM_VSCROLL, SB_TOP, 0);
    m_grid.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(m_grid.GetTopleftNonFixedCell(), CCellID(1, 2));

    // EnsureVisible brings the last cell in whole.
    m_grid.EnsureVisible(19, 9);
    ASSERT_TRUE(m_grid.GetCellRect(19, 9, rect));
    EXPECT_LE(rect.bottom, client.bottom);
    EXPECT_LE(rect.right, client.right);

    // A grid whose cells fit has no scrolling.
    m_grid.SetRowCount(3);
    m_grid.SetColumnCount(3);
    m_grid.ResetScrollBars();
    m_grid.GetScrollInfo(SB_VERT, &si, SIF_RANGE);
    EXPECT_EQ(si.nMax, 0);
}

TEST_F(GridCtrlTest, SizesFromTheFontAndExpandingToFit)
{
    MakeGrid(3, 3);
    m_grid.SetItemText(1, 1, "a much longer text");
    m_grid.SetItemText(2, 2, "x");
    CClientDC dc(&m_grid);
    CFont* pOld =
        dc.SelectObject(CFont::FromHandle(reinterpret_cast<HFONT>(m_grid.SendMessage(WM_GETFONT))));
    const CSize text = dc.GetTextExtent("a much longer text");
    const CSize space = dc.GetTextExtent(" ");
    dc.SelectObject(pOld);

    ASSERT_TRUE(m_grid.AutoSizeColumn(1));
    EXPECT_EQ(m_grid.GetColumnWidth(1), text.cx + 4 * space.cx);
    ASSERT_TRUE(m_grid.AutoSizeRow(1));
    EXPECT_EQ(m_grid.GetRowHeight(1), text.cy + 2 * space.cx);
    EXPECT_FALSE(m_grid.AutoSizeColumn(7));

    m_grid.AutoSize();
    EXPECT_EQ(m_grid.GetColumnWidth(1), text.cx + 4 * space.cx);

    // 300 pixels over three columns, the remainder to the first.
    m_grid.SetColumnWidth(0, 10);
    m_grid.SetColumnWidth(1, 10);
    m_grid.SetColumnWidth(2, 11);
    m_grid.ExpandColumnsToFit();
    EXPECT_EQ(m_grid.GetColumnWidth(0) + m_grid.GetColumnWidth(1) + m_grid.GetColumnWidth(2), 300);
    EXPECT_EQ(m_grid.GetColumnWidth(0), 100);
    EXPECT_EQ(m_grid.GetColumnWidth(2), 100);
    // Wider than the window: the columns narrow, never below zero.
    m_grid.SetColumnWidth(0, 500);
    m_grid.SetColumnWidth(1, 2);
    m_grid.SetColumnWidth(2, 2);
    m_grid.ExpandColumnsToFit();
    EXPECT_GE(m_grid.GetColumnWidth(1), 0);
    EXPECT_LT(m_grid.GetColumnWidth(0), 500);

    CGridCtrl empty;
    ASSERT_TRUE(empty.Create(CRect(0, 0, 100, 100), &m_parent, 101, WS_CHILD));
    empty.DeleteAllItems();
    empty.ExpandToFit(); // nothing to spread over
    EXPECT_EQ(empty.GetColumnCount(), 0);
}

TEST_F(GridCtrlTest, PaintsCellsFixedCellsSelectionFocusAndLines)
{
    MakeGrid(6, 5);
    m_grid.SetItemBkColour(2, 2, RGB(255, 0, 0));
    m_grid.SetItemState(3, 3, GVIS_SELECTED);
    m_grid.SetFocusCell(4, 1);
    m_grid.SetFixedBkColor(RGB(0, 0, 200));
    m_grid.SetGridColor(RGB(0, 255, 0));
    m_grid.SetItemText(1, 1, "Text");
    m_grid.Invalidate();
    m_harness.PumpPending();
    const WindowPicture picture = ClientPictureOf(m_grid.m_hWnd);
    DumpPicture(m_grid.m_hWnd, "grid_paint");

    EXPECT_EQ(picture.GetPixel(105 + 20, 45), PixelOf(RGB(255, 0, 0)));
    EXPECT_EQ(picture.GetPixel(150 + 20, 65), PixelOf(::GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_EQ(picture.GetPixel(20, 5), PixelOf(RGB(0, 0, 200)));
    // Grid lines along the right and bottom edges of non-fixed cells.
    EXPECT_EQ(picture.GetPixel(99, 30), PixelOf(RGB(0, 255, 0)));
    EXPECT_EQ(picture.GetPixel(75, 39), PixelOf(RGB(0, 255, 0)));
    // The focus cell is framed in black.
    EXPECT_EQ(picture.GetPixel(60, 80), PixelOf(RGB(0, 0, 0)));
    // Right of and below the cells: the background colour.
    EXPECT_EQ(picture.GetPixel(290, 150), PixelOf(m_grid.GetBkColor()));

    m_grid.SetGridLines(GVL_HORZ);
    m_harness.PumpPending();
    const WindowPicture horizontal = ClientPictureOf(m_grid.m_hWnd);
    EXPECT_NE(horizontal.GetPixel(149, 30), PixelOf(RGB(0, 255, 0)));
    EXPECT_EQ(horizontal.GetPixel(175, 39), PixelOf(RGB(0, 255, 0)));
    m_grid.SetGridLines(GVL_NONE);
    m_harness.PumpPending();
    EXPECT_EQ(CountPixels(ClientPictureOf(m_grid.m_hWnd), CRect(50, 20, 250, 120), RGB(0, 255, 0)),
              0);
}

TEST_F(GridCtrlTest, FixedCellsOnTheFocusLineAreDrawnSunkenAndBold)
{
    MakeGrid(6, 5);
    m_grid.SetItemText(0, 2, "WWW");
    m_grid.SetItemText(0, 3, "WWW");
    m_grid.SetFocusCell(2, 2);
    m_grid.Invalidate();
    m_harness.PumpPending();
    const WindowPicture picture = ClientPictureOf(m_grid.m_hWnd);
    DumpPicture(m_grid.m_hWnd, "grid_focus_headings");
    const COLORREF crText = m_grid.GetFixedTextColor();
    const int nBold = CountPixelsNear(picture, CRect(100, 0, 150, 20), crText, 60);
    const int nPlain = CountPixelsNear(picture, CRect(150, 0, 200, 20), crText, 60);
    EXPECT_GT(nPlain, 0);
    EXPECT_GT(nBold, nPlain);
    // Raised: a light top edge; sunken: the top edge in shadow.
    EXPECT_EQ(picture.GetPixel(170, 0), PixelOf(::GetSysColor(COLOR_3DHIGHLIGHT)));
    EXPECT_NE(picture.GetPixel(120, 0), PixelOf(::GetSysColor(COLOR_3DHIGHLIGHT)));
}

TEST_F(GridCtrlTest, SavedFileLoadsBackAndOlderFilesLoadAsBefore)
{
    CGridCtrl grid(4, 3, 1, 1);
    ASSERT_TRUE(grid.Create(CRect(0, 0, 200, 200), &m_parent, 102, WS_CHILD));
    const char* texts[4][3] = {
        {"Name", "Age", "Note"}, {"Ann", "31", ""}, {"Bob", "", "tall"}, {"", "", ""}};
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            grid.SetItemText(row, col, texts[row][col]);
    const std::string path = testing::TempDir() + "grid_file.csv";
    ASSERT_TRUE(grid.Save(path.c_str()));
    std::ifstream in(path);
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), "Name,Age,Note\nAnn,31,\nBob,,tall\n,,\n");

    CGridCtrl loaded;
    ASSERT_TRUE(loaded.Create(CRect(0, 0, 200, 200), &m_parent, 103, WS_CHILD));
    ASSERT_TRUE(loaded.Load(path.c_str()));
    ASSERT_EQ(loaded.GetRowCount(), 4);
    ASSERT_EQ(loaded.GetColumnCount(), 3);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            EXPECT_EQ(Text(loaded, row, col), texts[row][col]) << row << "," << col;
    EXPECT_EQ(loaded.GetItemFormat(2, 1), UINT(DT_CENTER | DT_VCENTER | DT_SINGLELINE));

    // A file of an older build (title row twice, CR LF, a line too short
    // and one too long, a title ending in a comma) loads as it always did.
    const std::string oldPath = testing::TempDir() + "grid_old.csv";
    const std::string longText(5000, 'w');
    {
        std::ofstream out(oldPath, std::ios::binary);
        out << "A,B,\r\nA,B,\r\nx\r\n1,2,3,4\r\n" << longText << ",y\r\n";
    }
    ASSERT_TRUE(loaded.Load(oldPath.c_str()));
    ASSERT_EQ(loaded.GetColumnCount(), 3);
    ASSERT_EQ(loaded.GetRowCount(), 5);
    EXPECT_EQ(Text(loaded, 0, 2), "");
    EXPECT_EQ(Text(loaded, 1, 0), "A");
    EXPECT_EQ(Text(loaded, 2, 0), "x");
    EXPECT_EQ(Text(loaded, 2, 1), "");
    EXPECT_EQ(Text(loaded, 3, 2), "3");
    EXPECT_EQ(Text(loaded, 4, 0), longText);
    EXPECT_EQ(Text(loaded, 4, 1), "y");

    EXPECT_FALSE(loaded.Load((testing::TempDir() + "no/such/file.csv").c_str()));
    EXPECT_EQ(loaded.GetRowCount(), 5); // nothing loaded, nothing lost
    std::remove(path.c_str());
    std::remove(oldPath.c_str());
}
} // namespace
