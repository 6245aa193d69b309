// The list view's extras: label editing begun, typed, committed, cancelled
// and refused; owner-drawn rows measured and drawn by the parent; state
// images beside the label; sub-item rectangles and hit tests across the
// grid of cells.
#include "UserTestSupport.h"

#include "WinListView.h"
#include "WinModule.h"

#include <cstring>
#include <string>
#include <vector>

namespace
{
constexpr int kListId = 41;
constexpr int kWidths[] = {110, 70, 90};

struct EditHeard
{
    UINT code;
    int iItem;
    bool bHasText;
    std::string text;
    HWND hEdit; // the list's edit control while the parent heard it
};

class ListViewExtrasTest : public UserTest
{
protected:
    ListViewExtrasTest()
    {
        m_hParent = CreateTopLevel(RECT{100, 100, 420, 340});
        SetHandler(m_hParent, [this](HWND, UINT nMsg, WPARAM, LPARAM lParam)
                   { return OnParentMessage(nMsg, lParam); });
        m_harness.PumpPending();
    }

    std::optional<LRESULT> OnParentMessage(UINT nMsg, LPARAM lParam)
    {
        if (nMsg == WM_MEASUREITEM)
        {
            auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            m_nMeasures++;
            if (measure.CtlType == ODT_LISTVIEW && m_nOwnerRowHeight > 0)
                measure.itemHeight = static_cast<UINT>(m_nOwnerRowHeight);
            return TRUE;
        }
        if (nMsg == WM_DRAWITEM)
        {
            const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            m_draws.push_back(draw);
            HBRUSH hBrush =
                CreateSolidBrush((draw.itemState & ODS_SELECTED) ? RGB(200, 0, 0) : RGB(0, 150, 0));
            FillRect(draw.hDC, &draw.rcItem, hBrush);
            DeleteObject(hBrush);
            return TRUE;
        }
        if (nMsg != WM_NOTIFY)
            return std::nullopt;
        const auto& hdr = *reinterpret_cast<const NMHDR*>(lParam);
        if (hdr.code != LVN_BEGINLABELEDITA && hdr.code != LVN_ENDLABELEDITA)
            return 0;
        const auto& info = reinterpret_cast<const NMLVDISPINFOA&>(hdr);
        const HWND hEdit =
            reinterpret_cast<HWND>(SendMessageA(hdr.hwndFrom, LVM_GETEDITCONTROL, 0, 0));
        m_edits.push_back(EditHeard{hdr.code, info.item.iItem, info.item.pszText != nullptr,
                                    info.item.pszText != nullptr ? info.item.pszText : "", hEdit});
        return hdr.code == LVN_BEGINLABELEDITA ? m_beginAnswer : m_endAnswer;
    }

    HWND CreateList(int nRows, DWORD dwStyle = LVS_REPORT)
    {
        const HWND hList = CreateWindowExA(
            0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | dwStyle, 10, 10, 290, 200, m_hParent,
            reinterpret_cast<HMENU>(kListId), GetModuleHandleA(nullptr), nullptr);
        for (int i = 0; i < 3; ++i)
        {
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = kWidths[i];
            column.pszText = const_cast<LPSTR>("column");
            SendMessageA(hList, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&column));
        }
        for (int n = 0; n < nRows; ++n)
        {
            std::string name = "item " + std::to_string(n);
            LVITEMA item{};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = n;
            item.pszText = name.data();
            item.lParam = 100 + n;
            SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        m_harness.PumpPending();
        return hList;
    }

    static std::string Text(HWND hList, int nItem)
    {
        char buffer[64] = {};
        LVITEMA item{};
        item.pszText = buffer;
        item.cchTextMax = sizeof(buffer);
        SendMessageA(hList, LVM_GETITEMTEXTA, static_cast<WPARAM>(nItem),
                     reinterpret_cast<LPARAM>(&item));
        return buffer;
    }

    static RECT ItemRect(HWND hList, int nItem, int nCode)
    {
        RECT rc{nCode, 0, 0, 0};
        SendMessageA(hList, LVM_GETITEMRECT, static_cast<WPARAM>(nItem),
                     reinterpret_cast<LPARAM>(&rc));
        return rc;
    }

    void Type(const char* pszKeys)
    {
        for (const char* p = pszKeys; *p != '\0'; ++p)
            m_harness.KeyPress(static_cast<UINT>(*p));
        m_harness.PumpPending();
    }

    HWND m_hParent = nullptr;
    std::vector<EditHeard> m_edits;
    std::vector<DRAWITEMSTRUCT> m_draws;
    LRESULT m_beginAnswer = FALSE;
    LRESULT m_endAnswer = TRUE;
    int m_nOwnerRowHeight = 0;
    int m_nMeasures = 0;
};

TEST_F(ListViewExtrasTest, LabelEditTypedThenEnterCommitsThroughTheParent)
{
    const HWND hList = CreateList(4);
    const HWND hEdit = reinterpret_cast<HWND>(SendMessageA(hList, LVM_EDITLABELA, 2, 0));
    ASSERT_NE(hEdit, nullptr);
    EXPECT_EQ(GetParent(hEdit), hList);
    EXPECT_EQ(GetFocus(), hEdit);
    ASSERT_EQ(m_edits.size(), 1U);
    EXPECT_EQ(m_edits[0].code, LVN_BEGINLABELEDITA);
    EXPECT_EQ(m_edits[0].iItem, 2);
    EXPECT_EQ(m_edits[0].text, "item 2");
    EXPECT_EQ(m_edits[0].hEdit, hEdit) << "the edit is there while the start is asked";
    char text[32] = {};
    GetWindowTextA(hEdit, text, sizeof(text));
    EXPECT_STREQ(text, "item 2");

    // The whole text is selected, so typing replaces it.
    Type("NEW");
    m_harness.KeyPress(VK_RETURN);
    m_harness.PumpPending();
    ASSERT_EQ(m_edits.size(), 2U);
    EXPECT_EQ(m_edits[1].code, LVN_ENDLABELEDITA);
    EXPECT_TRUE(m_edits[1].bHasText);
    EXPECT_EQ(m_edits[1].text, "new");
    EXPECT_EQ(m_edits[1].hEdit, hEdit) << "the edit is still there while the end is told";
    EXPECT_EQ(Text(hList, 2), "new");
    EXPECT_FALSE(IsWindow(hEdit));
    EXPECT_EQ(SendMessageA(hList, LVM_GETEDITCONTROL, 0, 0), 0);
    EXPECT_EQ(GetFocus(), hList);
}

struct EndCase
{
    const char* name;
    UINT nEndKey;       // 0: the focus goes elsewhere
    LRESULT endAnswer;  // the parent's answer to the end
    bool bExpectText;   // the end carries a text
    bool bExpectStored; // the item shows it afterwards
};

class LabelEditEnd : public ListViewExtrasTest, public ::testing::WithParamInterface<EndCase>
{
};

TEST_P(LabelEditEnd, EndsAsTheKeyAndTheParentSay)
{
    const EndCase& c = GetParam();
    m_endAnswer = c.endAnswer;
    const HWND hList = CreateList(3);
    const HWND hOther = CreateTestWindow(WS_CHILD | WS_VISIBLE, m_hParent, RECT{0, 215, 50, 235});
    ASSERT_NE(SendMessageA(hList, LVM_EDITLABELA, 1, 0), 0);
    Type("XY");
    if (c.nEndKey != 0)
        m_harness.KeyPress(c.nEndKey);
    else
        SetFocus(hOther);
    m_harness.PumpPending();
    ASSERT_EQ(m_edits.size(), 2U);
    EXPECT_EQ(m_edits[1].code, LVN_ENDLABELEDITA);
    EXPECT_EQ(m_edits[1].bHasText, c.bExpectText);
    EXPECT_EQ(Text(hList, 1), c.bExpectStored ? "xy" : "item 1");
    EXPECT_EQ(SendMessageA(hList, LVM_GETEDITCONTROL, 0, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(ListView, LabelEditEnd,
                         ::testing::Values(EndCase{"EnterAccepted", VK_RETURN, TRUE, true, true},
                                           EndCase{"EnterRefused", VK_RETURN, FALSE, true, false},
                                           EndCase{"EscapeCancels", VK_ESCAPE, TRUE, false, false},
                                           EndCase{"FocusLostCommits", 0, TRUE, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListViewExtrasTest, RefusedStartLeavesNoEditAndBadItemsNone)
{
    const HWND hList = CreateList(3);
    m_beginAnswer = TRUE;
    EXPECT_EQ(SendMessageA(hList, LVM_EDITLABELA, 0, 0), 0);
    EXPECT_EQ(GetWindow(hList, GW_CHILD) == nullptr ||
                  GetWindow(GetWindow(hList, GW_CHILD), GW_HWNDNEXT) == nullptr,
              true)
        << "only the header is left";
    EXPECT_EQ(SendMessageA(hList, LVM_GETEDITCONTROL, 0, 0), 0);
    m_beginAnswer = FALSE;
    EXPECT_EQ(SendMessageA(hList, LVM_EDITLABELA, 7, 0), 0);
    EXPECT_EQ(SendMessageA(hList, LVM_EDITLABELA, static_cast<WPARAM>(-1), 0), 0);
    ASSERT_EQ(m_edits.size(), 1U);

    // Deleting the item being edited cancels the editing.
    ASSERT_NE(SendMessageA(hList, LVM_EDITLABELA, 2, 0), 0);
    SendMessageA(hList, LVM_DELETEITEM, 2, 0);
    ASSERT_EQ(m_edits.size(), 3U);
    EXPECT_FALSE(m_edits[2].bHasText);
    EXPECT_EQ(SendMessageA(hList, LVM_GETEDITCONTROL, 0, 0), 0);
}

TEST_F(ListViewExtrasTest, SecondClickOnTheFocusedLabelEditsOnceNoDoubleClickFollows)
{
    const HWND hList = CreateList(3, LVS_REPORT | LVS_EDITLABELS);
    const RECT rcLabel = ItemRect(hList, 1, LVIR_LABEL);
    const POINT pt =
        CUiHarness::ScreenPoint(hList, rcLabel.left + 10, (rcLabel.top + rcLabel.bottom) / 2);
    m_harness.Click(enMouseButton::Left, pt);
    m_harness.AdvanceClock(600);
    m_harness.PumpPending();
    EXPECT_TRUE(m_edits.empty()) << "the first click only selects";
    m_harness.AdvanceClock(600);
    m_harness.Click(enMouseButton::Left, pt);
    m_harness.PumpPending();
    EXPECT_TRUE(m_edits.empty()) << "not before the double-click time";
    m_harness.AdvanceClock(600);
    m_harness.PumpPending();
    ASSERT_EQ(m_edits.size(), 1U);
    EXPECT_EQ(m_edits[0].iItem, 1);
    m_harness.KeyPress(VK_ESCAPE);
    m_harness.PumpPending();
    EXPECT_EQ(m_edits.size(), 2U);
}

TEST_F(ListViewExtrasTest, OwnerDrawnRowsAreMeasuredAndDrawnByTheParent)
{
    m_nOwnerRowHeight = 30;
    const HWND hList = CreateList(3, LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS);
    EXPECT_GE(m_nMeasures, 1);
    const RECT rc0 = ItemRect(hList, 0, LVIR_BOUNDS);
    EXPECT_EQ(rc0.bottom - rc0.top, 30);
    LVITEMA state{};
    state.state = LVIS_SELECTED;
    state.stateMask = LVIS_SELECTED;
    SendMessageA(hList, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    m_draws.clear();
    InvalidateRect(hList, nullptr, TRUE);
    UpdateWindow(hList);
    ASSERT_EQ(m_draws.size(), 3U);
    for (UINT i = 0; i < 3; ++i)
    {
        const DRAWITEMSTRUCT& draw = m_draws[i];
        EXPECT_EQ(draw.CtlType, UINT(ODT_LISTVIEW));
        EXPECT_EQ(draw.CtlID, UINT(kListId));
        EXPECT_EQ(draw.itemID, i);
        EXPECT_EQ(draw.itemAction, UINT(ODA_DRAWENTIRE));
        EXPECT_EQ((draw.itemState & ODS_SELECTED) != 0, i == 1);
        EXPECT_EQ(draw.itemData, ULONG_PTR(100 + i));
        EXPECT_EQ(draw.hwndItem, hList);
        const RECT bounds = ItemRect(hList, static_cast<int>(i), LVIR_BOUNDS);
        EXPECT_TRUE(EqualRect(&draw.rcItem, &bounds));
    }
    const WindowPicture picture = ClientPicture(hList);
    EXPECT_EQ(picture.GetPixel(50, ItemRect(hList, 1, LVIR_BOUNDS).top + 15),
              SurfacePixel(RGB(200, 0, 0)));
    EXPECT_EQ(picture.GetPixel(50, rc0.top + 15), SurfacePixel(RGB(0, 150, 0)));
    const std::string path = std::string(SUITE_OUTPUT_DIR) + "/list-view-owner-draw.bmp";
    SaveWindowPicture(m_hParent, path.c_str());
}

TEST_F(ListViewExtrasTest, StateImagesSitLeftOfTheLabelAndAnswerTheHitTest)
{
    const HWND hList = CreateList(4);
    // Two 12 x 12 state images: a red square and a blue one.
    HIMAGELIST hStates = ImageList_Create(12, 12, ILC_COLOR32, 2, 0);
    HDC hScreen = GetDC(nullptr);
    HBITMAP hStrip = CreateCompatibleBitmap(hScreen, 24, 12);
    HDC hMem = CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = SelectObject(hMem, hStrip);
    const RECT red{0, 0, 12, 12};
    const RECT blue{12, 0, 24, 12};
    HBRUSH hRed = CreateSolidBrush(RGB(220, 0, 0));
    HBRUSH hBlue = CreateSolidBrush(RGB(0, 0, 220));
    FillRect(hMem, &red, hRed);
    FillRect(hMem, &blue, hBlue);
    SelectObject(hMem, hOld);
    DeleteDC(hMem);
    ReleaseDC(nullptr, hScreen);
    ImageList_Add(hStates, hStrip, nullptr);
    SendMessageA(hList, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(hStates));
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(hList, LVM_GETIMAGELIST, LVSIL_STATE, 0)),
              hStates);
    for (int i = 0; i < 3; ++i)
    {
        LVITEMA state{};
        state.state = static_cast<UINT>(INDEXTOSTATEIMAGEMASK(i % 2 + 1));
        state.stateMask = LVIS_STATEIMAGEMASK;
        SendMessageA(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&state));
    }
    EXPECT_EQ(SendMessageA(hList, LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK),
              INDEXTOSTATEIMAGEMASK(2));
    m_harness.PumpPending();

    const RECT bounds = ItemRect(hList, 0, LVIR_BOUNDS);
    const RECT label = ItemRect(hList, 0, LVIR_LABEL);
    EXPECT_EQ(label.left, bounds.left + 12);
    const WindowPicture picture = ClientPicture(hList);
    const auto stateColour = [&](int nItem)
    {
        const RECT rc = ItemRect(hList, nItem, LVIR_BOUNDS);
        return picture.GetPixel(rc.left + 6, (rc.top + rc.bottom) / 2);
    };
    EXPECT_EQ(stateColour(0), SurfacePixel(RGB(220, 0, 0)));
    EXPECT_EQ(stateColour(1), SurfacePixel(RGB(0, 0, 220)));
    EXPECT_EQ(stateColour(3), SurfacePixel(GetSysColor(COLOR_WINDOW))) << "no state image";

    LVHITTESTINFO hit{};
    hit.pt = POINT{bounds.left + 5, (bounds.top + bounds.bottom) / 2};
    EXPECT_EQ(SendMessageA(hList, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 0);
    EXPECT_EQ(hit.flags, UINT(LVHT_ONITEMSTATEICON));
    hit.pt.x = label.left + 20;
    SendMessageA(hList, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    EXPECT_EQ(hit.flags, UINT(LVHT_ONITEMLABEL));
    const std::string path = std::string(SUITE_OUTPUT_DIR) + "/list-view-state-images.bmp";
    SaveWindowPicture(m_hParent, path.c_str());
    DestroyWindow(hList);
    ImageList_Destroy(hStates);
    DeleteObject(hStrip);
    DeleteObject(hRed);
    DeleteObject(hBlue);
}

TEST_F(ListViewExtrasTest, EverySubItemRectangleAnswersItsOwnHitTest)
{
    const HWND hList = CreateList(5);
    const RECT row0 = ItemRect(hList, 0, LVIR_BOUNDS);
    const int nRowHeight = row0.bottom - row0.top;
    for (int nItem = 0; nItem < 5; ++nItem)
    {
        int nLeft = 0;
        for (int nSub = 0; nSub < 3; ++nSub)
        {
            RECT rc{LVIR_BOUNDS, nSub, 0, 0};
            ASSERT_TRUE(SendMessageA(hList, LVM_GETSUBITEMRECT, static_cast<WPARAM>(nItem),
                                     reinterpret_cast<LPARAM>(&rc)));
            const int nRight =
                nSub == 0 ? kWidths[0] + kWidths[1] + kWidths[2] : nLeft + kWidths[nSub];
            const RECT expected{nLeft, row0.top + nItem * nRowHeight, nRight,
                                row0.top + (nItem + 1) * nRowHeight};
            EXPECT_TRUE(EqualRect(&rc, &expected)) << nItem << "," << nSub;
            // Column 0 answers for its own column, not the whole row.
            const int nX = nSub == 0 ? kWidths[0] / 2 : (rc.left + rc.right) / 2;
            for (const int nY : {expected.top, expected.bottom - 1})
            {
                LVHITTESTINFO hit{};
                hit.pt = POINT{nX, nY};
                EXPECT_EQ(
                    SendMessageA(hList, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)),
                    nItem);
                EXPECT_EQ(hit.iItem, nItem);
                EXPECT_EQ(hit.iSubItem, nSub);
            }
            nLeft += kWidths[nSub];
        }
    }
    LVHITTESTINFO beyond{};
    beyond.pt = POINT{kWidths[0] + kWidths[1] + kWidths[2] + 5, row0.top + 2};
    EXPECT_EQ(SendMessageA(hList, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&beyond)), -1);
    EXPECT_EQ(beyond.iSubItem, -1);
    RECT bad{LVIR_BOUNDS, 3, 0, 0};
    EXPECT_FALSE(SendMessageA(hList, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&bad)));
}
} // namespace

namespace
{
TEST_F(ListViewExtrasTest, DestroyingTheListWhileEditingLeavesNothingBehind)
{
    const HWND hList = CreateList(2);
    const HWND hEdit = reinterpret_cast<HWND>(SendMessageA(hList, LVM_EDITLABELA, 0, 0));
    ASSERT_NE(hEdit, nullptr);
    DestroyWindow(hList);
    m_harness.PumpPending();
    EXPECT_FALSE(IsWindow(hEdit));
    EXPECT_FALSE(IsWindow(hList));
}
} // namespace
