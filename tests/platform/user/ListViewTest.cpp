// The list view in report mode with its header, and the progress bar:
// columns, items, sub-items and item data, selection, focus and the
// selection mark under scripted clicks and keys, the notifications a parent
// hears, sorting through comparators good and bad, owner-drawn header
// items, and what the controls look like.
#include "UserTestSupport.h"

#include "WinListView.h"
#include "WinModule.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

namespace
{
constexpr int kListId = 31;

// What a notification said, copied while the parent handled it.
struct Heard
{
    UINT code;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
};

class ListViewTest : public UserTest
{
protected:
    ListViewTest()
    {
        m_hParent = CreateTopLevel(RECT{100, 100, 500, 400});
        SetHandler(m_hParent,
                   [this](HWND, UINT nMsg, WPARAM, LPARAM lParam) -> std::optional<LRESULT>
                   {
                       if (nMsg == WM_NOTIFY)
                           return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
                       if (nMsg == WM_DRAWITEM)
                       {
                           m_draws.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                           return TRUE;
                       }
                       return std::nullopt;
                   });
        m_harness.PumpPending();
    }

    LRESULT OnNotify(const NMHDR& hdr)
    {
        if (hdr.idFrom != kListId)
            return 0;
        // Focus changes, Enter and keys come with records of their own.
        if (hdr.code == NM_SETFOCUS || hdr.code == NM_KILLFOCUS || hdr.code == NM_RETURN ||
            hdr.code == LVN_KEYDOWN)
        {
            m_heard.push_back(Heard{hdr.code, -1, -1, 0, 0});
            return 0;
        }
        const auto& item = reinterpret_cast<const NMLISTVIEW&>(hdr);
        m_heard.push_back(
            Heard{hdr.code, item.iItem, item.iSubItem, item.uNewState, item.uOldState});
        return hdr.code == LVN_ITEMCHANGING && item.iItem == m_nRefused &&
                       (item.uNewState & LVIS_SELECTED)
                   ? TRUE
                   : 0;
    }

    // A report list of three columns and nRows rows "row N" | "N*10" | "odd"
    // or "even", with item data N.
    HWND CreateList(int nRows, DWORD dwStyle = LVS_REPORT)
    {
        const HWND hList = CreateWindowExA(
            0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | dwStyle, 10, 10, 360, 250, m_hParent,
            reinterpret_cast<HMENU>(kListId), GetModuleHandleA(nullptr), nullptr);
        const char* const titles[] = {"Name", "Value", "Parity"};
        const int widths[] = {120, 80, 90};
        for (int i = 0; i < 3; ++i)
        {
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.fmt = i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
            column.cx = widths[i];
            column.pszText = const_cast<LPSTR>(titles[i]);
            SendMessageA(hList, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&column));
        }
        for (int n = 0; n < nRows; ++n)
            AddRow(hList, n);
        m_harness.PumpPending();
        m_heard.clear();
        return hList;
    }

    static void AddRow(HWND hList, int n)
    {
        std::string name = "row " + std::to_string(n);
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = n;
        item.pszText = name.data();
        item.lParam = n;
        const int nAt = static_cast<int>(
            SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        std::string value = std::to_string(n * 10);
        std::string parity = n % 2 != 0 ? "odd" : "even";
        SetText(hList, nAt, 1, value);
        SetText(hList, nAt, 2, parity);
    }

    static void SetText(HWND hList, int nItem, int nSub, std::string text)
    {
        LVITEMA item{};
        item.iSubItem = nSub;
        item.pszText = text.data();
        SendMessageA(hList, LVM_SETITEMTEXTA, static_cast<WPARAM>(nItem),
                     reinterpret_cast<LPARAM>(&item));
    }

    static std::string Text(HWND hList, int nItem, int nSub)
    {
        char buffer[64] = {};
        LVITEMA item{};
        item.iSubItem = nSub;
        item.pszText = buffer;
        item.cchTextMax = sizeof(buffer);
        SendMessageA(hList, LVM_GETITEMTEXTA, static_cast<WPARAM>(nItem),
                     reinterpret_cast<LPARAM>(&item));
        return buffer;
    }

    static LPARAM Data(HWND hList, int nItem)
    {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = nItem;
        SendMessageA(hList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.lParam;
    }

    static std::vector<int> Selected(HWND hList)
    {
        std::vector<int> items;
        for (int i = -1;
             (i = static_cast<int>(SendMessageA(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(i),
                                                LVNI_SELECTED))) >= 0;)
            items.push_back(i);
        return items;
    }

    static int Mark(HWND hList)
    {
        return static_cast<int>(SendMessageA(hList, LVM_GETSELECTIONMARK, 0, 0));
    }

    // The screen point in the middle of a cell.
    static POINT CellPoint(HWND hList, int nItem, int nSub)
    {
        RECT rc{};
        rc.top = nSub;
        rc.left = LVIR_BOUNDS;
        SendMessageA(hList, LVM_GETSUBITEMRECT, static_cast<WPARAM>(nItem),
                     reinterpret_cast<LPARAM>(&rc));
        if (nSub == 0)
        {
            RECT rcLabel{};
            rcLabel.left = LVIR_LABEL;
            SendMessageA(hList, LVM_GETITEMRECT, static_cast<WPARAM>(nItem),
                         reinterpret_cast<LPARAM>(&rcLabel));
            rc = rcLabel;
        }
        return CUiHarness::ScreenPoint(hList, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }

    std::vector<UINT> HeardCodes(std::initializer_list<UINT> kinds) const
    {
        std::vector<UINT> codes;
        for (const Heard& heard : m_heard)
        {
            if (std::find(kinds.begin(), kinds.end(), heard.code) != kinds.end())
                codes.push_back(heard.code);
        }
        return codes;
    }

    HWND m_hParent = nullptr;
    std::vector<Heard> m_heard;
    std::vector<DRAWITEMSTRUCT> m_draws;
    int m_nRefused = -1;
};

TEST_F(ListViewTest, ColumnsItemsSubItemsAndItemDataComeBackAsSet)
{
    const HWND hList = CreateList(4);
    EXPECT_EQ(SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(Text(hList, 2, 0), "row 2");
    EXPECT_EQ(Text(hList, 2, 1), "20");
    EXPECT_EQ(Text(hList, 3, 2), "odd");
    EXPECT_EQ(Data(hList, 3), 3);
    EXPECT_EQ(SendMessageA(hList, LVM_GETCOLUMNWIDTH, 1, 0), 80);
    char title[16] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = title;
    column.cchTextMax = sizeof(title);
    ASSERT_TRUE(SendMessageA(hList, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(title, "Value");
    EXPECT_EQ(column.fmt, LVCFMT_RIGHT);

    // The header shows the columns.
    const HWND hHeader = reinterpret_cast<HWND>(SendMessageA(hList, LVM_GETHEADER, 0, 0));
    ASSERT_NE(hHeader, nullptr);
    EXPECT_EQ(SendMessageA(hHeader, HDM_GETITEMCOUNT, 0, 0), 3);

    // An item inserted in the middle moves the later ones down.
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = 1;
    item.pszText = const_cast<LPSTR>("inserted");
    item.lParam = 99;
    EXPECT_EQ(SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), 1);
    EXPECT_EQ(Text(hList, 1, 0), "inserted");
    EXPECT_EQ(Text(hList, 2, 1), "10");
    EXPECT_TRUE(SendMessageA(hList, LVM_DELETEITEM, 0, 0));
    EXPECT_EQ(Data(hList, 0), 99);
    EXPECT_EQ(HeardCodes({LVN_INSERTITEM, LVN_DELETEITEM}),
              (std::vector<UINT>{LVN_INSERTITEM, LVN_DELETEITEM}));
}

// A comparator that answers at random, so no order is consistent with it.
int CALLBACK RandomOrder(LPARAM, LPARAM, LPARAM lParamSort)
{
    auto* pState = reinterpret_cast<unsigned*>(lParamSort);
    *pState = *pState * 1103515245U + 12345U;
    return static_cast<int>((*pState >> 16) % 3) - 1;
}

// By tens, descending: rows within one ten compare equal.
int CALLBACK ByTensDescending(LPARAM lParam1, LPARAM lParam2, LPARAM)
{
    return static_cast<int>(lParam2 / 10 - lParam1 / 10);
}

TEST_F(ListViewTest, SortByComparatorIsStableAndSurvivesOneThatIsNoOrder)
{
    const HWND hList = CreateList(57);
    ASSERT_TRUE(SendMessageA(hList, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&ByTensDescending)));
    std::vector<LPARAM> expected;
    for (int ten = 5; ten >= 0; --ten)
        for (int n = ten * 10; n < std::min(ten * 10 + 10, 57); ++n)
            expected.push_back(n);
    std::vector<LPARAM> order;
    for (int i = 0; i < 57; ++i)
        order.push_back(Data(hList, i));
    EXPECT_EQ(order, expected);
    EXPECT_EQ(Text(hList, 0, 1), "500") << "sub-items move with their item";

    unsigned state = 7;
    ASSERT_TRUE(SendMessageA(hList, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&state),
                             reinterpret_cast<LPARAM>(&RandomOrder)));
    ASSERT_EQ(SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0), 57);
    std::vector<LPARAM> after;
    for (int i = 0; i < 57; ++i)
    {
        after.push_back(Data(hList, i));
        EXPECT_EQ(Text(hList, i, 0), "row " + std::to_string(Data(hList, i)));
    }
    std::sort(after.begin(), after.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(after, expected) << "every item is still there once";
}

TEST_F(ListViewTest, SelectionMarkKeepsTheLastSelectedRowThroughClicksOnEmptySpace)
{
    const HWND hList = CreateList(5);
    EXPECT_EQ(Mark(hList), -1);
    m_harness.Click(enMouseButton::Left, CellPoint(hList, 2, 0));
    m_harness.PumpPending();
    EXPECT_EQ(Selected(hList), std::vector<int>{2});
    EXPECT_EQ(Mark(hList), 2);
    EXPECT_EQ(SendMessageA(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 2);

    // Below the last row: the selection goes, the mark stays.
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(hList, 50, 220));
    m_harness.PumpPending();
    EXPECT_TRUE(Selected(hList).empty());
    EXPECT_EQ(Mark(hList), 2);

    // Keys move the selection and the mark with it.
    m_harness.Click(enMouseButton::Left, CellPoint(hList, 1, 0));
    m_harness.KeyPress(VK_DOWN);
    m_harness.KeyPress(VK_DOWN);
    m_harness.PumpPending();
    EXPECT_EQ(Selected(hList), std::vector<int>{3});
    EXPECT_EQ(Mark(hList), 3);

    SendMessageA(hList, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(Mark(hList), -1);
}

TEST_F(ListViewTest, ShiftAndControlClicksSelectRangesFromTheMarkAndToggle)
{
    const HWND hList = CreateList(6);
    m_harness.Click(enMouseButton::Left, CellPoint(hList, 1, 0));
    m_harness.KeyDown(VK_SHIFT);
    m_harness.Click(enMouseButton::Left, CellPoint(hList, 3, 0));
    m_harness.KeyUp(VK_SHIFT);
    m_harness.PumpPending();
    EXPECT_EQ(Selected(hList), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Mark(hList), 1);
    m_harness.KeyDown(VK_CONTROL);
    m_harness.Click(enMouseButton::Left, CellPoint(hList, 2, 0));
    m_harness.Click(enMouseButton::Left, CellPoint(hList, 5, 0));
    m_harness.KeyUp(VK_CONTROL);
    m_harness.PumpPending();
    EXPECT_EQ(Selected(hList), (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(Mark(hList), 5);
}

TEST_F(ListViewTest, SingleSelectionAndARefusedChangeKeepOneSelectedRow)
{
    const HWND hList = CreateList(4, LVS_REPORT | LVS_SINGLESEL);
    LVITEMA state{};
    state.state = LVIS_SELECTED;
    state.stateMask = LVIS_SELECTED;
    SendMessageA(hList, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    SendMessageA(hList, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(Selected(hList), std::vector<int>{2});
    EXPECT_EQ(SendMessageA(hList, LVM_GETSELECTEDCOUNT, 0, 0), 1);

    m_nRefused = 3;
    m_heard.clear();
    m_harness.Click(enMouseButton::Left, CellPoint(hList, 3, 0));
    m_harness.PumpPending();
    EXPECT_TRUE(Selected(hList).empty()) << "row 2 let go, row 3 was refused";
    const auto changed = std::find_if(
        m_heard.begin(), m_heard.end(),
        [](const Heard& heard) { return heard.code == LVN_ITEMCHANGED && heard.iItem == 2; });
    ASSERT_NE(changed, m_heard.end());
    EXPECT_EQ(changed->uOldState & LVIS_SELECTED, UINT(LVIS_SELECTED));
    EXPECT_EQ(changed->uNewState & LVIS_SELECTED, 0U);
}

TEST_F(ListViewTest, DoubleClickIsAClickThenADoubleClickAndRightClicksSaySo)
{
    const HWND hList = CreateList(3);
    const POINT pt = CellPoint(hList, 1, 0);
    m_harness.Click(enMouseButton::Left, pt);
    m_harness.Click(enMouseButton::Left, pt);
    m_harness.Click(enMouseButton::Right, CellPoint(hList, 2, 0));
    m_harness.PumpPending();
    EXPECT_EQ(HeardCodes({NM_CLICK, NM_DBLCLK, NM_RCLICK}),
              (std::vector<UINT>{NM_CLICK, NM_DBLCLK, NM_CLICK, NM_RCLICK}));
    const auto dbl = std::find_if(m_heard.begin(), m_heard.end(),
                                  [](const Heard& heard) { return heard.code == NM_DBLCLK; });
    EXPECT_EQ(dbl->iItem, 1);
    EXPECT_EQ(Selected(hList), std::vector<int>{2}) << "a right click selects its row";
}

TEST_F(ListViewTest, OnlyFullRowSelectionMakesTheWholeRowTheItem)
{
    const HWND hList = CreateList(3);
    LVHITTESTINFO hit{};
    POINT pt = CellPoint(hList, 1, 2);
    ScreenToClient(hList, &pt);
    hit.pt = pt;
    EXPECT_EQ(SendMessageA(hList, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(SendMessageA(hList, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.iSubItem, 2);

    SendMessageA(hList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    hit.pt = pt;
    EXPECT_EQ(SendMessageA(hList, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    m_harness.Click(enMouseButton::Left, CellPoint(hList, 1, 2));
    m_harness.PumpPending();
    EXPECT_EQ(Selected(hList), std::vector<int>{1});
}

TEST_F(ListViewTest, HeaderClickBecomesColumnClickWithItsColumn)
{
    const HWND hList = CreateList(2);
    const HWND hHeader = reinterpret_cast<HWND>(SendMessageA(hList, LVM_GETHEADER, 0, 0));
    RECT rc{};
    SendMessageA(hHeader, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rc));
    m_harness.Click(enMouseButton::Left,
                    CUiHarness::ScreenPoint(hHeader, (rc.left + rc.right) / 2, rc.bottom / 2));
    m_harness.PumpPending();
    ASSERT_EQ(HeardCodes({LVN_COLUMNCLICK}), std::vector<UINT>{LVN_COLUMNCLICK});
    const auto click =
        std::find_if(m_heard.begin(), m_heard.end(),
                     [](const Heard& heard) { return heard.code == LVN_COLUMNCLICK; });
    EXPECT_EQ(click->iItem, -1);
    EXPECT_EQ(click->iSubItem, 1);

    // A press let go outside the item clicks nothing.
    m_heard.clear();
    m_harness.MouseDown(enMouseButton::Left,
                        CUiHarness::ScreenPoint(hHeader, (rc.left + rc.right) / 2, rc.bottom / 2));
    m_harness.MouseUp(enMouseButton::Left, CUiHarness::ScreenPoint(hHeader, 5, rc.bottom / 2));
    m_harness.PumpPending();
    EXPECT_TRUE(HeardCodes({LVN_COLUMNCLICK}).empty());
}

TEST_F(ListViewTest, DraggedDividerResizesTheColumnAndTheRowsFollow)
{
    const HWND hList = CreateList(2);
    const HWND hHeader = reinterpret_cast<HWND>(SendMessageA(hList, LVM_GETHEADER, 0, 0));
    SetWindowLongPtrA(hHeader, GWL_STYLE, GetWindowLongPtrA(hHeader, GWL_STYLE) | HDS_FULLDRAG);
    m_harness.MouseDown(enMouseButton::Left, CUiHarness::ScreenPoint(hHeader, 120, 5));
    m_harness.MouseMove(CUiHarness::ScreenPoint(hHeader, 150, 5));
    m_harness.MouseUp(enMouseButton::Left, CUiHarness::ScreenPoint(hHeader, 160, 5));
    m_harness.PumpPending();
    EXPECT_EQ(SendMessageA(hList, LVM_GETCOLUMNWIDTH, 0, 0), 160);
    RECT rc{};
    rc.top = 1;
    rc.left = LVIR_BOUNDS;
    SendMessageA(hList, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(rc.left, 160);
}

TEST_F(ListViewTest, OwnerDrawnHeaderItemIsDrawnByTheParentPressedWhileHeld)
{
    const HWND hHeader =
        CreateWindowExA(0, WC_HEADERA, "", WS_CHILD | WS_VISIBLE | HDS_BUTTONS, 10, 10, 300, 24,
                        m_hParent, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    HDITEMA item{};
    item.mask = HDI_WIDTH | HDI_FORMAT | HDI_LPARAM;
    item.cxy = 100;
    item.fmt = HDF_OWNERDRAW;
    item.lParam = 1234;
    SendMessageA(hHeader, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    m_harness.PumpPending();
    ASSERT_FALSE(m_draws.empty());
    EXPECT_EQ(m_draws.back().CtlType, UINT(ODT_HEADER));
    EXPECT_EQ(m_draws.back().CtlID, 7U);
    EXPECT_EQ(m_draws.back().itemData, 1234U);
    EXPECT_EQ(m_draws.back().itemState & ODS_SELECTED, 0U);
    EXPECT_EQ(m_draws.back().rcItem.right, 100);

    m_draws.clear();
    m_harness.MouseDown(enMouseButton::Left, CUiHarness::ScreenPoint(hHeader, 40, 10));
    m_harness.PumpPending();
    ASSERT_FALSE(m_draws.empty());
    EXPECT_EQ(m_draws.back().itemState & ODS_SELECTED, UINT(ODS_SELECTED));
    m_harness.MouseUp(enMouseButton::Left, CUiHarness::ScreenPoint(hHeader, 40, 10));
    m_harness.PumpPending();
    EXPECT_EQ(m_draws.back().itemState & ODS_SELECTED, 0U);
}

TEST_F(ListViewTest, ProgressBarKeepsItsPositionInRangeAndStepsRoundTheTop)
{
    const HWND hBar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 270, 300,
                                      20, m_hParent, nullptr, nullptr, nullptr);
    SendMessageA(hBar, PBM_SETRANGE32, 10, 60);
    EXPECT_EQ(SendMessageA(hBar, PBM_SETPOS, 100, 0), 10) << "the old position";
    EXPECT_EQ(SendMessageA(hBar, PBM_GETPOS, 0, 0), 60);
    SendMessageA(hBar, PBM_SETPOS, 50, 0);
    SendMessageA(hBar, PBM_SETSTEP, 15, 0);
    EXPECT_EQ(SendMessageA(hBar, PBM_STEPIT, 0, 0), 50);
    EXPECT_EQ(SendMessageA(hBar, PBM_GETPOS, 0, 0), 15);
    EXPECT_EQ(SendMessageA(hBar, PBM_DELTAPOS, static_cast<WPARAM>(-20), 0), 15);
    EXPECT_EQ(SendMessageA(hBar, PBM_GETPOS, 0, 0), 10);
    PBRANGE range{};
    EXPECT_EQ(SendMessageA(hBar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range)), 60);
    EXPECT_EQ(range.iLow, 10);
}

TEST_F(ListViewTest, ReportWithGridLinesFullRowSelectionAndColoursLooksRight)
{
    const HWND hList = CreateList(12);
    SendMessageA(hList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    SendMessageA(hList, LVM_SETBKCOLOR, 0, RGB(224, 224, 224));
    SendMessageA(hList, LVM_SETTEXTBKCOLOR, 0, RGB(224, 224, 224));
    SendMessageA(hList, LVM_SETTEXTCOLOR, 0, RGB(0, 0, 128));
    const HWND hBar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 270, 360,
                                      18, m_hParent, nullptr, nullptr, nullptr);
    SendMessageA(hBar, PBM_SETPOS, 45, 0);
    SetFocus(hList);
    m_harness.Click(enMouseButton::Left, CellPoint(hList, 3, 1));
    m_harness.PumpPending();

    const WindowPicture picture = ClientPicture(hList);
    RECT rcRow{};
    rcRow.left = LVIR_BOUNDS;
    SendMessageA(hList, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&rcRow));
    EXPECT_EQ(picture.GetPixel(rcRow.right - 3, rcRow.top + 2),
              SurfacePixel(GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_EQ(picture.GetPixel(rcRow.right - 3, rcRow.top - 3), SurfacePixel(RGB(224, 224, 224)));
    // The grid line under the row above runs across every column.
    for (const int x : {5, 150, rcRow.right - 3})
        EXPECT_EQ(picture.GetPixel(x, rcRow.top - 1), SurfacePixel(GetSysColor(COLOR_BTNFACE)));
    const std::string path = std::string(SUITE_OUTPUT_DIR) + "/list-view-report.bmp";
    SaveWindowPicture(m_hParent, path.c_str());
}

// The list box and the list view scroll alike: the same steps move the
// first shown row the same way, by each list's own page.
constexpr int kScrolledRows = 30;

enum class enScrollStep
{
    WheelDown,
    PageDown,
    Bottom,
    LineUp,
    Top,
    Show20,
    Show2,
    KeyEnd,
    KeyHome,
};

struct ScrollCase
{
    const char* pszName;
    std::vector<enScrollStep> steps;
    // The first shown row expected: a + b * page.
    int a;
    int b;
};

class ListScrollTest : public ListViewTest,
                       public testing::WithParamInterface<std::tuple<bool, ScrollCase>>
{
protected:
    HWND CreateScrolledList(bool bListView)
    {
        if (bListView)
        {
            const HWND hList = CreateList(kScrolledRows);
            SetWindowPos(hList, nullptr, 0, 0, 360, 140, SWP_NOMOVE | SWP_NOZORDER);
            return hList;
        }
        const HWND hList = CreateWindowExA(0, "ListBox", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 10,
                                           10, 200, 120, m_hParent, nullptr, nullptr, nullptr);
        for (int i = 0; i < kScrolledRows; ++i)
        {
            const std::string text = "row " + std::to_string(i);
            SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        return hList;
    }

    static int Top(HWND hList, bool bListView)
    {
        return static_cast<int>(
            SendMessageA(hList, bListView ? LVM_GETTOPINDEX : LB_GETTOPINDEX, 0, 0));
    }

    static int Page(HWND hList, bool bListView)
    {
        if (bListView)
            return static_cast<int>(SendMessageA(hList, LVM_GETCOUNTPERPAGE, 0, 0));
        RECT client{};
        GetClientRect(hList, &client);
        return client.bottom / static_cast<int>(SendMessageA(hList, LB_GETITEMHEIGHT, 0, 0));
    }

    static void Play(HWND hList, bool bListView, enScrollStep step)
    {
        const auto scroll = [hList](WORD nCode)
        { SendMessageA(hList, WM_VSCROLL, MAKEWPARAM(nCode, 0), 0); };
        const auto show = [hList, bListView](int nItem)
        {
            SendMessageA(hList, bListView ? LVM_ENSUREVISIBLE : LB_SETCURSEL,
                         static_cast<WPARAM>(nItem), 0);
        };
        switch (step)
        {
        case enScrollStep::WheelDown:
            SendMessageA(hList, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
            return;
        case enScrollStep::PageDown:
            return scroll(SB_PAGEDOWN);
        case enScrollStep::Bottom:
            return scroll(SB_BOTTOM);
        case enScrollStep::LineUp:
            return scroll(SB_LINEUP);
        case enScrollStep::Top:
            return scroll(SB_TOP);
        case enScrollStep::Show20:
            return show(20);
        case enScrollStep::Show2:
            return show(2);
        case enScrollStep::KeyEnd:
            SendMessageA(hList, WM_KEYDOWN, VK_END, 0);
            return;
        case enScrollStep::KeyHome:
            SendMessageA(hList, WM_KEYDOWN, VK_HOME, 0);
            return;
        }
    }
};

TEST_P(ListScrollTest, StepsMoveTheFirstShownRowByThePage)
{
    const auto& [bListView, testCase] = GetParam();
    const HWND hList = CreateScrolledList(bListView);
    const int nPage = Page(hList, bListView);
    ASSERT_GT(nPage, 2);
    ASSERT_LT(nPage, 10);
    for (const enScrollStep step : testCase.steps)
        Play(hList, bListView, step);
    const int nExpected = testCase.a + testCase.b * nPage;
    EXPECT_EQ(Top(hList, bListView), nExpected);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(hList, SB_VERT, &info);
    EXPECT_EQ(info.nPos, nExpected) << "the scroll bar follows";
    m_harness.PumpPending();
    if (std::getenv("SUITE_KEEP_PICTURES") != nullptr)
        SaveWindowPicture(hList, (testing::TempDir() + (bListView ? "list-view-" : "list-box-") +
                                  testCase.pszName + ".bmp")
                                     .c_str());
}

INSTANTIATE_TEST_SUITE_P(
    BothLists, ListScrollTest,
    testing::Combine(
        testing::Bool(),
        testing::Values(
            ScrollCase{"Wheel", {enScrollStep::WheelDown, enScrollStep::WheelDown}, 2, 0},
            ScrollCase{"WheelAndPage", {enScrollStep::WheelDown, enScrollStep::PageDown}, 1, 1},
            ScrollCase{"Bottom", {enScrollStep::Bottom}, kScrolledRows, -1},
            ScrollCase{
                "PastTheBottom", {enScrollStep::Bottom, enScrollStep::PageDown}, kScrolledRows, -1},
            ScrollCase{"LineUpFromTheTop", {enScrollStep::LineUp}, 0, 0},
            ScrollCase{"TopAgain", {enScrollStep::PageDown, enScrollStep::Top}, 0, 0},
            ScrollCase{"BringIntoViewBelow", {enScrollStep::Show20}, 21, -1},
            ScrollCase{"BringIntoViewAbove", {enScrollStep::Show20, enScrollStep::Show2}, 2, 0},
            ScrollCase{"KeysEndAndHome", {enScrollStep::KeyEnd, enScrollStep::KeyHome}, 0, 0})),
    [](const testing::TestParamInfo<std::tuple<bool, ScrollCase>>& info)
    {
        return std::string(std::get<0>(info.param) ? "ListView" : "ListBox") +
               std::get<1>(info.param).pszName;
    });
} // namespace
