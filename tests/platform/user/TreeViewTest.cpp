// The tree view: items inserted and walked, expansion with its
// notifications (the first one, the user's ones), selection by mouse and
// keys, deletion, sorting with a comparator that is no order, and label
// editing begun, typed into through the keyboard path, ended and cancelled.
#include "UserTestSupport.h"

#include "WinDialog.h"
#include "WinInput.h"
#include "WinModule.h"
#include "WinTreeView.h"

#include <string>

namespace
{
constexpr int kTreeId = 31;

// One notification as the parent saw it: code, action and the item named
// (itemNew, or itemOld for deletions; the edited item for label edits).
struct Seen
{
    UINT nCode;
    UINT nAction;
    HTREEITEM hItem;
    std::string text; // label edits: the text carried, "<null>" for none

    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& seen)
{
    return out << "{code " << static_cast<int>(seen.nCode) << ", action " << seen.nAction
               << ", item " << seen.hItem << ", \"" << seen.text << "\"}";
}

class TreeViewTest : public UserTest
{
protected:
    TreeViewTest()
    {
        m_hParent = CreateTopLevel(RECT{100, 100, 400, 400});
        SetHandler(m_hParent, [this](HWND, UINT nMsg, WPARAM, LPARAM lParam)
                   { return nMsg == WM_NOTIFY ? OnNotify(lParam) : std::nullopt; });
        m_hTree = Create(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS);
    }

    HWND Create(DWORD dwStyle)
    {
        const HWND hTree = CreateWindowExA(
            0, WC_TREEVIEWA, "", dwStyle | WS_CHILD | WS_VISIBLE, 10, 10, 250, 200, m_hParent,
            reinterpret_cast<HMENU>(UINT_PTR(kTreeId)), GetModuleHandleA(nullptr), nullptr);
        m_harness.PumpPending();
        return hTree;
    }

    std::optional<LRESULT> OnNotify(LPARAM lParam)
    {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr->idFrom != kTreeId)
            return std::nullopt;
        const auto* tree = reinterpret_cast<const NMTREEVIEWA*>(lParam);
        const auto* disp = reinterpret_cast<const NMTVDISPINFOA*>(lParam);
        switch (hdr->code)
        {
        case TVN_SELCHANGINGA:
        case TVN_SELCHANGEDA:
        case TVN_ITEMEXPANDINGA:
        case TVN_ITEMEXPANDEDA:
            m_seen.push_back({hdr->code, tree->action, tree->itemNew.hItem, ""});
            if (hdr->code == TVN_ITEMEXPANDINGA)
                m_expandingState = tree->itemNew.state;
            if (m_onExpanding && hdr->code == TVN_ITEMEXPANDINGA)
                m_onExpanding(tree->itemNew.hItem);
            return hdr->code == TVN_SELCHANGINGA ? m_nSelChangingAnswer : 0;
        case TVN_DELETEITEMA:
            m_seen.push_back({hdr->code, 0, tree->itemOld.hItem, ""});
            return 0;
        case TVN_BEGINLABELEDITA:
        case TVN_ENDLABELEDITA:
            m_seen.push_back({hdr->code, 0, disp->item.hItem,
                              disp->item.pszText ? disp->item.pszText : "<null>"});
            return hdr->code == TVN_BEGINLABELEDITA ? m_nBeginEditAnswer : m_nEndEditAnswer;
        case NM_CLICK:
        case NM_DBLCLK:
            m_seen.push_back({hdr->code, 0, Selected(), ""});
            return 0;
        default:
            return std::nullopt;
        }
    }

    HTREEITEM Insert(const char* pszText, HTREEITEM hParent = TVI_ROOT, HTREEITEM hAfter = TVI_LAST,
                     int cChildren = 0, LPARAM lParam = 0)
    {
        TVINSERTSTRUCTA insert{};
        insert.hParent = hParent;
        insert.hInsertAfter = hAfter;
        insert.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM;
        insert.item.pszText = const_cast<LPSTR>(pszText);
        insert.item.cChildren = cChildren;
        insert.item.lParam = lParam;
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(m_hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }

    HTREEITEM Next(HTREEITEM hItem, UINT nCode) const
    {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(m_hTree, TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
    }

    HTREEITEM Selected() const { return Next(nullptr, TVGN_CARET); }

    std::string Text(HTREEITEM hItem) const
    {
        char szText[64] = {};
        TVITEMA item{};
        item.mask = TVIF_TEXT | TVIF_HANDLE;
        item.hItem = hItem;
        item.pszText = szText;
        item.cchTextMax = sizeof(szText);
        return SendMessageA(m_hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? szText
                                                                                       : "<none>";
    }

    UINT State(HTREEITEM hItem) const
    {
        TVITEMA item{};
        item.mask = TVIF_STATE | TVIF_HANDLE;
        item.hItem = hItem;
        item.stateMask = 0xFFFF;
        SendMessageA(m_hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.state;
    }

    // The children's texts, in order, joined by spaces.
    std::string Children(HTREEITEM hParent) const
    {
        std::string names;
        for (HTREEITEM h = Next(hParent, TVGN_CHILD); h != nullptr; h = Next(h, TVGN_NEXT))
            names += (names.empty() ? "" : " ") + Text(h);
        return names;
    }

    RECT ItemRect(HTREEITEM hItem, bool bTextOnly) const
    {
        RECT rc{};
        *reinterpret_cast<HTREEITEM*>(&rc) = hItem;
        EXPECT_TRUE(
            SendMessageA(m_hTree, TVM_GETITEMRECT, bTextOnly, reinterpret_cast<LPARAM>(&rc)));
        return rc;
    }

    void ClickAt(POINT pt)
    {
        m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(m_hTree, pt.x, pt.y));
        m_harness.PumpPending();
    }

    void ClickLabel(HTREEITEM hItem)
    {
        const RECT rc = ItemRect(hItem, true);
        ClickAt(POINT{rc.left + 3, (rc.top + rc.bottom) / 2});
    }

    void ClickButton(HTREEITEM hItem)
    {
        // The button sits half an indent before the row's own column.
        const RECT rc = ItemRect(hItem, true);
        const int nIndent = static_cast<int>(SendMessageA(m_hTree, TVM_GETINDENT, 0, 0));
        const POINT pt{rc.left - nIndent / 2 - 1, (rc.top + rc.bottom) / 2};
        TVHITTESTINFO hit{pt, 0, nullptr};
        SendMessageA(m_hTree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        ASSERT_EQ(hit.hItem, hItem);
        ASSERT_EQ(hit.flags, UINT(TVHT_ONITEMBUTTON));
        ClickAt(pt);
    }

    void Press(UINT nKey)
    {
        m_harness.KeyPress(nKey);
        m_harness.PumpPending();
    }

    HWND m_hParent = nullptr;
    HWND m_hTree = nullptr;
    std::vector<Seen> m_seen;
    std::function<void(HTREEITEM)> m_onExpanding;
    UINT m_expandingState = 0;
    LRESULT m_nSelChangingAnswer = 0;
    LRESULT m_nBeginEditAnswer = 0;
    LRESULT m_nEndEditAnswer = TRUE;
};

TEST_F(TreeViewTest, ItemsAreInsertedWhereAskedAndWalkedByEveryRelation)
{
    const HTREEITEM hB = Insert("b");
    const HTREEITEM hA = Insert("a", TVI_ROOT, TVI_FIRST);
    const HTREEITEM hD = Insert("d");
    const HTREEITEM hC = Insert("c", TVI_ROOT, TVI_SORT);
    const HTREEITEM hChild = Insert("child", hB);
    const HTREEITEM hAfterA = Insert("a2", TVI_ROOT, hA);
    EXPECT_EQ(Children(nullptr), "a a2 b c d");
    EXPECT_EQ(SendMessageA(m_hTree, TVM_GETCOUNT, 0, 0), 6);
    const struct
    {
        HTREEITEM hFrom;
        UINT nCode;
        HTREEITEM hExpected;
    } cases[] = {
        {nullptr, TVGN_ROOT, hA},         {hA, TVGN_NEXT, hAfterA},
        {hAfterA, TVGN_PREVIOUS, hA},     {hA, TVGN_PREVIOUS, nullptr},
        {hD, TVGN_NEXT, nullptr},         {hB, TVGN_CHILD, hChild},
        {hChild, TVGN_PARENT, hB},        {hB, TVGN_PARENT, nullptr},
        {nullptr, TVGN_CHILD, hA},        {hC, TVGN_NEXTVISIBLE, hD},
        {hB, TVGN_NEXTVISIBLE, hC},       {nullptr, TVGN_CARET, nullptr},
        {nullptr, TVGN_FIRSTVISIBLE, hA}, {nullptr, TVGN_LASTVISIBLE, hD},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Next(c.hFrom, c.nCode), c.hExpected) << Text(c.hFrom) << " code " << c.nCode;
    // A deleted item's handle is refused, never followed.
    EXPECT_TRUE(SendMessageA(m_hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hChild)));
    EXPECT_FALSE(SendMessageA(m_hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hChild)));
    EXPECT_EQ(Text(hChild), "<none>");
    EXPECT_EQ(Next(hChild, TVGN_NEXT), nullptr);
    EXPECT_EQ(Insert("orphan", hChild), nullptr);
}

TEST_F(TreeViewTest, AChildrenFlagShowsAButtonWhoseFirstExpansionTheParentFills)
{
    const HTREEITEM hFolder = Insert("folder", TVI_ROOT, TVI_LAST, 1);
    Insert("file");
    int nFills = 0;
    m_onExpanding = [this, &nFills](HTREEITEM hItem)
    {
        // Filled once: not again when the item was expanded before.
        if (!(State(hItem) & TVIS_EXPANDEDONCE))
        {
            ++nFills;
            Insert("one", hItem);
            Insert("two", hItem);
        }
    };
    ClickButton(hFolder);
    EXPECT_EQ(m_seen, (std::vector<Seen>{{TVN_ITEMEXPANDINGA, TVE_EXPAND, hFolder, ""},
                                         {TVN_ITEMEXPANDEDA, TVE_EXPAND, hFolder, ""}}));
    EXPECT_FALSE(m_expandingState & TVIS_EXPANDEDONCE);
    EXPECT_EQ(State(hFolder) & (TVIS_EXPANDED | TVIS_EXPANDEDONCE),
              UINT(TVIS_EXPANDED | TVIS_EXPANDEDONCE));
    EXPECT_EQ(Children(hFolder), "one two");
    EXPECT_EQ(Next(hFolder, TVGN_NEXTVISIBLE), Next(hFolder, TVGN_CHILD));

    // Programs' expansions after the first are not told; the user's are.
    m_seen.clear();
    EXPECT_TRUE(SendMessageA(m_hTree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(hFolder)));
    EXPECT_TRUE(SendMessageA(m_hTree, TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(hFolder)));
    EXPECT_TRUE(m_seen.empty());
    ClickButton(hFolder);
    EXPECT_EQ(m_seen, (std::vector<Seen>{{TVN_ITEMEXPANDINGA, TVE_COLLAPSE, hFolder, ""},
                                         {TVN_ITEMEXPANDEDA, TVE_COLLAPSE, hFolder, ""}}));
    EXPECT_EQ(nFills, 1);
    EXPECT_EQ(Children(hFolder), "one two");
}

TEST_F(TreeViewTest, ClicksAndKeysSelectWithTheirNotificationsAndAVetoKeepsTheSelection)
{
    const HTREEITEM hA = Insert("alpha");
    const HTREEITEM hB = Insert("beta", TVI_ROOT, TVI_LAST, 1);
    const HTREEITEM hB1 = Insert("beta one", hB);
    ClickLabel(hA);
    // NM_CLICK comes first, while the old selection holds.
    EXPECT_EQ(m_seen, (std::vector<Seen>{{UINT(NM_CLICK), 0, nullptr, ""},
                                         {TVN_SELCHANGINGA, TVC_BYMOUSE, hA, ""},
                                         {TVN_SELCHANGEDA, TVC_BYMOUSE, hA, ""}}));
    EXPECT_EQ(Selected(), hA);
    EXPECT_TRUE(State(hA) & TVIS_SELECTED);
    EXPECT_EQ(GetFocus(), m_hTree);

    m_seen.clear();
    Press(VK_DOWN);
    Press(VK_RIGHT); // expands beta
    Press(VK_RIGHT); // goes to its first child
    EXPECT_EQ(m_seen, (std::vector<Seen>{{TVN_SELCHANGINGA, TVC_BYKEYBOARD, hB, ""},
                                         {TVN_SELCHANGEDA, TVC_BYKEYBOARD, hB, ""},
                                         {TVN_ITEMEXPANDINGA, TVE_EXPAND, hB, ""},
                                         {TVN_ITEMEXPANDEDA, TVE_EXPAND, hB, ""},
                                         {TVN_SELCHANGINGA, TVC_BYKEYBOARD, hB1, ""},
                                         {TVN_SELCHANGEDA, TVC_BYKEYBOARD, hB1, ""}}));
    EXPECT_FALSE(State(hA) & TVIS_SELECTED);

    // Collapsing the branch that holds the selection selects its top.
    m_seen.clear();
    EXPECT_TRUE(SendMessageA(m_hTree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(hB)));
    EXPECT_EQ(Selected(), hB);

    m_seen.clear();
    m_nSelChangingAnswer = TRUE;
    Press(VK_UP);
    EXPECT_EQ(m_seen, (std::vector<Seen>{{TVN_SELCHANGINGA, TVC_BYKEYBOARD, hA, ""}}));
    EXPECT_EQ(Selected(), hB);
}

TEST_F(TreeViewTest, DeletingTellsOfEveryItemChildrenFirstAndMovesTheSelectionOn)
{
    const HTREEITEM hA = Insert("a");
    const HTREEITEM hA1 = Insert("a1", hA);
    const HTREEITEM hA11 = Insert("a11", hA1);
    const HTREEITEM hB = Insert("b");
    SendMessageA(m_hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hA11));
    EXPECT_TRUE(State(hA) & TVIS_EXPANDED) << "selecting shows the item";
    m_seen.clear();
    EXPECT_TRUE(SendMessageA(m_hTree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hA)));
    EXPECT_EQ(m_seen, (std::vector<Seen>{{TVN_SELCHANGINGA, TVC_UNKNOWN, hB, ""},
                                         {TVN_SELCHANGEDA, TVC_UNKNOWN, hB, ""},
                                         {TVN_DELETEITEMA, 0, hA11, ""},
                                         {TVN_DELETEITEMA, 0, hA1, ""},
                                         {TVN_DELETEITEMA, 0, hA, ""}}));
    EXPECT_EQ(Selected(), hB);
    EXPECT_EQ(SendMessageA(m_hTree, TVM_GETCOUNT, 0, 0), 1);
    // The items left go when the window does.
    m_seen.clear();
    DestroyWindow(m_hTree);
    EXPECT_EQ(m_seen, (std::vector<Seen>{{TVN_DELETEITEMA, 0, hB, ""}}));
}

int CALLBACK NoOrder(LPARAM a, LPARAM b, LPARAM)
{
    // Rock, paper, scissors: every item beats another.
    return (b - a + 3) % 3 == 1 ? -1 : 1;
}

int CALLBACK ByData(LPARAM a, LPARAM b, LPARAM lParamSort)
{
    return lParamSort * static_cast<int>(a - b);
}

TEST_F(TreeViewTest, SortingByDataKeepsEveryChildEvenWithAComparatorThatIsNoOrder)
{
    const HTREEITEM hRoot = Insert("root");
    const char* names[] = {"c", "a", "d", "b", "e"};
    const LPARAM data[] = {3, 1, 4, 2, 5};
    for (int i = 0; i < 5; ++i)
        Insert(names[i], hRoot, TVI_LAST, 0, data[i]);
    TVSORTCB sort{hRoot, ByData, -1};
    EXPECT_TRUE(SendMessageA(m_hTree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)));
    EXPECT_EQ(Children(hRoot), "e d c b a");
    EXPECT_TRUE(SendMessageA(m_hTree, TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(hRoot)));
    EXPECT_EQ(Children(hRoot), "a b c d e");
    sort.lpfnCompare = NoOrder;
    EXPECT_TRUE(SendMessageA(m_hTree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)));
    std::string sorted = Children(hRoot);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, "    abcde");
}

TEST_F(TreeViewTest, ALabelEditTypedIntoAndCancelledLeavesTheLabel)
{
    const HTREEITEM hItem = Insert("Studies");
    const HWND hEdit = reinterpret_cast<HWND>(
        SendMessageA(m_hTree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(hItem)));
    ASSERT_NE(hEdit, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(m_hTree, TVM_GETEDITCONTROL, 0, 0)), hEdit);
    EXPECT_EQ(GetFocus(), hEdit);
    EXPECT_EQ(GetParent(hEdit), m_hTree);
    char szText[32] = {};
    GetWindowTextA(hEdit, szText, sizeof(szText));
    EXPECT_STREQ(szText, "Studies");
    // The whole label is selected: typing replaces it, key by key.
    Press('X');
    Press('Y');
    GetWindowTextA(hEdit, szText, sizeof(szText));
    EXPECT_STREQ(szText, "xy");
    Press(VK_ESCAPE);
    EXPECT_EQ(m_seen, (std::vector<Seen>{{TVN_SELCHANGINGA, TVC_UNKNOWN, hItem, ""},
                                         {TVN_SELCHANGEDA, TVC_UNKNOWN, hItem, ""},
                                         {TVN_BEGINLABELEDITA, 0, hItem, "Studies"},
                                         {TVN_ENDLABELEDITA, 0, hItem, "<null>"}}));
    EXPECT_FALSE(IsWindow(hEdit));
    EXPECT_EQ(SendMessageA(m_hTree, TVM_GETEDITCONTROL, 0, 0), 0);
    EXPECT_EQ(Text(hItem), "Studies");
    EXPECT_EQ(GetFocus(), m_hTree);
}

TEST_F(TreeViewTest, ALabelEditEndsWithTheParentsAnswerAndTheParentMayRefuseToBegin)
{
    const HTREEITEM hItem = Insert("Series");
    const struct
    {
        UINT nEndKey; // 0: the focus leaves for the parent
        LRESULT nAnswer;
        const char* pszLabel;
    } cases[] = {{VK_RETURN, TRUE, "Series2"}, {VK_RETURN, FALSE, "Series"}, {0, TRUE, "Series2"}};
    for (const auto& c : cases)
    {
        TVITEMA reset{
            TVIF_TEXT | TVIF_HANDLE, hItem, 0, 0, const_cast<LPSTR>("Series"), 0, 0, 0, 0, 0};
        SendMessageA(m_hTree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&reset));
        m_seen.clear();
        m_nEndEditAnswer = c.nAnswer;
        SendMessageA(m_hTree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(hItem));
        Press(VK_END);
        Press('2');
        if (c.nEndKey != 0)
            Press(c.nEndKey);
        else
            SetFocus(m_hParent);
        m_harness.PumpPending();
        ASSERT_FALSE(m_seen.empty());
        EXPECT_EQ(m_seen.back(), (Seen{TVN_ENDLABELEDITA, 0, hItem, "Series2"}));
        EXPECT_EQ(Text(hItem), c.pszLabel);
        EXPECT_EQ(SendMessageA(m_hTree, TVM_GETEDITCONTROL, 0, 0), 0);
    }
    m_seen.clear();
    m_nBeginEditAnswer = TRUE;
    EXPECT_EQ(SendMessageA(m_hTree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(hItem)), 0);
    EXPECT_EQ(m_seen, (std::vector<Seen>{{TVN_BEGINLABELEDITA, 0, hItem, "Series2"}}));
}

TEST_F(TreeViewTest, F2AndASecondClickOnTheSelectedLabelBeginAnEdit)
{
    const HTREEITEM hItem = Insert("Images");
    ClickLabel(hItem);
    Press(VK_F2);
    EXPECT_NE(SendMessageA(m_hTree, TVM_GETEDITCONTROL, 0, 0), 0);
    Press(VK_ESCAPE);
    // Later than a double click's time, so that the press is a click of its own.
    m_harness.AdvanceClock(GetDoubleClickTime() + 10);
    ClickLabel(hItem);
    EXPECT_EQ(SendMessageA(m_hTree, TVM_GETEDITCONTROL, 0, 0), 0)
        << "not before a double click's time";
    m_harness.AdvanceClock(GetDoubleClickTime() + 10);
    m_harness.PumpPending();
    EXPECT_NE(SendMessageA(m_hTree, TVM_GETEDITCONTROL, 0, 0), 0);
}

// The dialog of the next test: its commands and the tree's label edits.
std::vector<std::string> g_dialogSeen;

INT_PTR TreeDialogProc(HWND, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_COMMAND)
        g_dialogSeen.push_back("command " + std::to_string(LOWORD(wParam)));
    if (nMsg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == TVN_ENDLABELEDITA)
    {
        const auto* info = reinterpret_cast<const NMTVDISPINFOA*>(lParam);
        g_dialogSeen.push_back(std::string("end ") +
                               (info->item.pszText != nullptr ? info->item.pszText : "<null>"));
    }
    return FALSE;
}

TEST_F(TreeViewTest, InADialogEnterAndEscapeEndTheLabelEditNotTheDialog)
{
    constexpr DWORD kItemStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    const DialogItemTemplate items[] = {
        {WC_TREEVIEWA, "", 40, kItemStyle | WS_BORDER | TVS_EDITLABELS, 0, 7, 7, 120, 80},
        {"Button", "OK", IDOK, kItemStyle | BS_DEFPUSHBUTTON, 0, 140, 7, 50, 14},
        {"Button", "Cancel", IDCANCEL, kItemStyle, 0, 140, 24, 50, 14},
    };
    const DialogTemplate dialog{WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_SETFONT,
                                0,
                                10,
                                10,
                                200,
                                100,
                                "Folders",
                                "MS Shell Dlg",
                                8,
                                items};
    const HWND hDlg = CreateDialogIndirectParamA(nullptr, &dialog, m_hParent, TreeDialogProc, 0);
    ASSERT_NE(hDlg, nullptr);
    const HWND hTree = GetDlgItem(hDlg, 40);
    TVINSERTSTRUCTA insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<LPSTR>("Scans");
    const auto hItem = reinterpret_cast<HTREEITEM>(
        SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    // Keys go through the dialog as its loop hands them on.
    const auto press = [this, hDlg](UINT nKey)
    {
        m_harness.KeyPress(nKey);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!IsDialogMessageA(hDlg, &msg))
            {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
    };
    g_dialogSeen.clear();
    SendMessageA(hTree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(hItem));
    press(VK_END);
    press('2');
    press(VK_RETURN);
    SendMessageA(hTree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(hItem));
    press('X');
    press(VK_ESCAPE);
    EXPECT_EQ(g_dialogSeen, (std::vector<std::string>{"end Scans2", "end <null>"}));
    EXPECT_TRUE(IsWindow(hDlg));
    DestroyWindow(hDlg);
}

TEST_F(TreeViewTest, PictureShowsLinesButtonsAndTheSelection)
{
    const HTREEITEM hStudy = Insert("Study 1");
    const HTREEITEM hSeries = Insert("Series 1", hStudy);
    Insert("Image 1", hSeries);
    Insert("Image 2", hSeries);
    Insert("Series 2", hStudy, TVI_LAST, 1);
    Insert("Study 2", TVI_ROOT, TVI_LAST, 1);
    SendMessageA(m_hTree, TVM_ENSUREVISIBLE, 0,
                 reinterpret_cast<LPARAM>(Next(hSeries, TVGN_CHILD)));
    SetFocus(m_hTree);
    SendMessageA(m_hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hSeries));
    UpdateWindow(m_hTree);
    SaveWindowPicture(m_hTree, (testing::TempDir() + "tree-view.bmp").c_str());
    const WindowPicture picture = ClientPicture(m_hTree);
    const RECT rcLabel = ItemRect(hSeries, true);
    EXPECT_EQ(picture.GetPixel(rcLabel.left + 1, rcLabel.top + 2),
              SurfacePixel(GetSysColor(COLOR_HIGHLIGHT)));
    const RECT rcStudy2 = ItemRect(Next(hStudy, TVGN_NEXT), true);
    // Study 2's button: a frame at the middle of the indent before its label.
    const int nIndent = static_cast<int>(SendMessageA(m_hTree, TVM_GETINDENT, 0, 0));
    const int xMid = rcStudy2.left - nIndent / 2 - 1;
    const int yMid = (rcStudy2.top + rcStudy2.bottom) / 2;
    EXPECT_EQ(picture.GetPixel(xMid, yMid), SurfacePixel(GetSysColor(COLOR_WINDOWTEXT)));
}
} // namespace
