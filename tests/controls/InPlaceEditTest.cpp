// The in-place editors: how the first character sets up the text and the
// selection, which keys end an edit and what the owner is told, widening
// while typing, the dropped width of the combo box, and the editors'
// deleting themselves once their windows are gone.
#include "InPlaceEdit.h"
#include "ControlTestSupport.h"
#include "InPlaceComboBox.h"

#include <functional>
#include <iterator>
#include <vector>

namespace
{
constexpr UINT kEditorId = 8;
constexpr int kRow = 3;
constexpr int kColumn = 5;

class InPlaceEditTest : public testing::Test
{
public:
    // Presses a key, with Ctrl held when asked, and lets everything run.
    void Press(UINT nKey, bool bControl = false)
    {
        if (bControl)
            m_harness.KeyDown(VK_CONTROL);
        m_harness.KeyPress(nKey);
        if (bControl)
            m_harness.KeyUp(VK_CONTROL);
        m_harness.PumpPending();
    }
    void Type(const char* pszText)
    {
        for (const char* p = pszText; *p != '\0'; ++p)
            ::SendMessageA(::GetFocus(), WM_CHAR, static_cast<unsigned char>(*p), 0);
        m_harness.PumpPending();
    }
    void ClickOther()
    {
        m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(m_other.m_hWnd, 5, 5));
        m_harness.PumpPending();
    }

protected:
    InPlaceEditTest()
    {
        m_other.Create("Other", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(300, 200, 380, 230),
                       &m_parent, 99);
        m_harness.PumpPending();
    }

    CInPlaceEdit* NewEdit(UINT nFirstChar, CRect rect = CRect(10, 10, 110, 32))
    {
        auto* pEdit = new CInPlaceEdit(&m_parent, rect, 0, kEditorId, kRow, kColumn,
                                       CString("Hello"), nFirstChar);
        m_harness.PumpPending();
        return pEdit;
    }

    CInPlaceComboBox* NewCombo(UINT nFirstChar, DWORD dwStyle = CBS_DROPDOWN,
                               const char* pszInitial = "Hello")
    {
        CStringArray items;
        items.Add("Axial");
        items.Add("Coronal");
        items.Add("Sagittal");
        CRect rect(10, 10, 110, 32);
        auto* pCombo = new CInPlaceComboBox(&m_parent, rect, dwStyle, kEditorId, kRow, kColumn,
                                            items, CString(pszInitial), nFirstChar);
        m_harness.PumpPending();
        return pCombo;
    }

    static CString Text(HWND hWnd)
    {
        CString text;
        CWnd::FromHandle(hWnd)->GetWindowText(text);
        return text;
    }

    static std::pair<int, int> Selection(HWND hEdit)
    {
        DWORD dwStart = 0;
        DWORD dwEnd = 0;
        ::SendMessageA(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                       reinterpret_cast<LPARAM>(&dwEnd));
        return {int(dwStart), int(dwEnd)};
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_parent;
    CButton m_other;
};

// ---------------------------------------------------------------- first character

struct FirstCharCase
{
    const char* pszName;
    UINT nFirstChar;
    const char* pszText;
    int nSelStart;
    int nSelEnd;
};

TEST_F(InPlaceEditTest, FirstCharacterSetsTextAndSelection)
{
    const FirstCharCase cases[] = {
        {"a mouse click puts the caret at the end", VK_LBUTTON, "Hello", 5, 5},
        {"Enter puts the caret at the end", VK_RETURN, "Hello", 5, 5},
        {"backspace deletes the last character", VK_BACK, "Hell", 4, 4},
        {"Tab selects the text", VK_TAB, "Hello", 0, 5},
        {"space selects the text", VK_SPACE, "Hello", 0, 5},
        {"Page Up selects the text", VK_PRIOR, "Hello", 0, 5},
        {"Home selects the text", VK_HOME, "Hello", 0, 5},
        {"an arrow selects the text", VK_DOWN, "Hello", 0, 5},
        {"a typed letter replaces the text", 'x', "x", 1, 1},
        {"a typed digit replaces the text", '7', "7", 1, 1},
    };
    for (const FirstCharCase& c : cases)
    {
        CInPlaceEdit* pEdit = NewEdit(c.nFirstChar);
        const HWND hEdit = pEdit->GetSafeHwnd();
        EXPECT_EQ(::GetFocus(), hEdit) << c.pszName;
        EXPECT_EQ(Text(hEdit), CString(c.pszText)) << c.pszName;
        EXPECT_EQ(Selection(hEdit), std::make_pair(c.nSelStart, c.nSelEnd)) << c.pszName;
        ::DestroyWindow(hEdit);
    }
}

TEST_F(InPlaceEditTest, ComboFirstCharacterSetsTheFieldsTextAndSelection)
{
    const FirstCharCase cases[] = {
        {"a mouse click puts the caret at the end", VK_LBUTTON, "Hello", 5, 5},
        {"Enter puts the caret at the end", VK_RETURN, "Hello", 5, 5},
        {"backspace deletes the last character", VK_BACK, "Hell", 4, 4},
        {"Page Down selects the text", VK_NEXT, "Hello", 0, 5},
        {"an arrow selects the text", VK_LEFT, "Hello", 0, 5},
        {"Tab is typed, and a field takes no tab", VK_TAB, "Hello", 0, 5},
        {"space is typed over the text", VK_SPACE, " ", 1, 1},
        {"a typed letter replaces the text", 'x', "x", 1, 1},
    };
    for (const FirstCharCase& c : cases)
    {
        CInPlaceComboBox* pCombo = NewCombo(c.nFirstChar);
        const HWND hField = ::GetDlgItem(pCombo->GetSafeHwnd(), IDC_COMBO_EDIT);
        EXPECT_EQ(::GetFocus(), hField) << c.pszName;
        EXPECT_EQ(Text(pCombo->GetSafeHwnd()), CString(c.pszText)) << c.pszName;
        EXPECT_EQ(Selection(hField), std::make_pair(c.nSelStart, c.nSelEnd)) << c.pszName;
        ::DestroyWindow(pCombo->GetSafeHwnd());
    }
}

TEST_F(InPlaceEditTest, ComboSelectsTheFirstChoiceTheInitialTextStarts)
{
    CStringArray items;
    items.Add("Axial");
    items.Add("Coronal");
    CRect rect(10, 10, 110, 32);
    auto* pCombo = new CInPlaceComboBox(&m_parent, rect, CBS_DROPDOWNLIST, kEditorId, kRow, kColumn,
                                        items, CString("Cor"), VK_LBUTTON);
    EXPECT_EQ(pCombo->GetCurSel(), 1);
    EXPECT_EQ(Text(pCombo->GetSafeHwnd()), CString("Coronal"));
    EXPECT_EQ(::GetFocus(), pCombo->GetSafeHwnd());
    ::DestroyWindow(pCombo->GetSafeHwnd());
}

// ---------------------------------------------------------------- ending keys

struct EndCase
{
    const char* pszName;
    UINT nFirstChar;
    std::function<void(InPlaceEditTest&)> act;
    bool bEnds;
    UINT nLastKey;
    const char* pszText;
};

class InPlaceEndTest : public InPlaceEditTest
{
protected:
    void Check(HWND hEditor, const EndCase& c)
    {
        if (!c.bEnds)
        {
            EXPECT_TRUE(m_parent.notifications.empty()) << c.pszName;
            EXPECT_TRUE(::IsWindow(hEditor)) << c.pszName;
            ::DestroyWindow(hEditor);
            m_parent.notifications.clear();
            return;
        }
        ASSERT_EQ(m_parent.notifications.size(), 1u) << c.pszName;
        const GV_DISPINFO& info = m_parent.notifications[0];
        EXPECT_EQ(info.hdr.hwndFrom, hEditor) << c.pszName;
        EXPECT_EQ(info.hdr.idFrom, kEditorId) << c.pszName;
        EXPECT_EQ(info.hdr.code, UINT(GVN_ENDLABELEDIT)) << c.pszName;
        EXPECT_EQ(info.item.mask, UINT(GVIF_TEXT | GVIF_PARAM)) << c.pszName;
        EXPECT_EQ(info.item.row, kRow) << c.pszName;
        EXPECT_EQ(info.item.col, kColumn) << c.pszName;
        EXPECT_EQ(info.item.szText, CString(c.pszText)) << c.pszName;
        EXPECT_EQ(info.item.lParam, LPARAM(c.nLastKey)) << c.pszName;
        EXPECT_FALSE(::IsWindow(hEditor)) << c.pszName << ": closed and deleted";
        m_parent.notifications.clear();
    }
};

// Both editors end alike on these.
const EndCase kSharedEndCases[] = {
    {"Esc puts the initial text back", 'x',
     [](InPlaceEditTest& t)
     {
         t.Type("yz");
         t.Press(VK_ESCAPE);
     },
     true, VK_ESCAPE, "Hello"},
    {"Tab keeps the typed text", 'x',
     [](InPlaceEditTest& t)
     {
         t.Type("yz");
         t.Press(VK_TAB);
     },
     true, VK_TAB, "xyz"},
};

const EndCase kEditEndCases[] = {
    {"Enter keeps the typed text", VK_LBUTTON, [](InPlaceEditTest& t) { t.Press(VK_RETURN); }, true,
     VK_RETURN, "Hello"},
    {"an arrow ends an edit started by typing", 'x', [](InPlaceEditTest& t) { t.Press(VK_DOWN); },
     true, VK_DOWN, "x"},
    {"Page Up ends an edit started by typing", 'x', [](InPlaceEditTest& t) { t.Press(VK_PRIOR); },
     true, VK_PRIOR, "x"},
    {"an arrow moves the caret in an edit started by a click", VK_LBUTTON,
     [](InPlaceEditTest& t) { t.Press(VK_LEFT); }, false, 0, ""},
    {"Ctrl and an arrow end an edit started by a click", VK_LBUTTON,
     [](InPlaceEditTest& t) { t.Press(VK_UP, true); }, true, VK_UP, "Hello"},
    {"Ctrl and Page Down end an edit started by a click", VK_LBUTTON,
     [](InPlaceEditTest& t) { t.Press(VK_NEXT, true); }, true, VK_NEXT, "Hello"},
    {"Home does not end an edit", 'x', [](InPlaceEditTest& t) { t.Press(VK_HOME); }, false, 0, ""},
    {"a click elsewhere ends with no key", 'x', [](InPlaceEditTest& t) { t.ClickOther(); }, true, 0,
     "x"},
};

TEST_F(InPlaceEndTest, EditEndingKeysTellTheOwner)
{
    std::vector<EndCase> cases(std::begin(kSharedEndCases), std::end(kSharedEndCases));
    cases.insert(cases.end(), std::begin(kEditEndCases), std::end(kEditEndCases));
    for (const EndCase& c : cases)
    {
        const HWND hEdit = NewEdit(c.nFirstChar)->GetSafeHwnd();
        c.act(*this);
        Check(hEdit, c);
    }
}

const EndCase kComboEndCases[] = {
    {"Enter keeps the text", VK_LBUTTON, [](InPlaceEditTest& t) { t.Press(VK_RETURN); }, true,
     VK_RETURN, "Hello"},
    {"an arrow picks a choice and does not end", 'x', [](InPlaceEditTest& t) { t.Press(VK_DOWN); },
     false, 0, ""},
    {"Ctrl and an arrow end", 'x', [](InPlaceEditTest& t) { t.Press(VK_DOWN, true); }, true,
     VK_DOWN, "x"},
    {"Ctrl and Page Up end", VK_LBUTTON, [](InPlaceEditTest& t) { t.Press(VK_PRIOR, true); }, true,
     VK_PRIOR, "Hello"},
    {"a click elsewhere ends with no key", 'x', [](InPlaceEditTest& t) { t.ClickOther(); }, true, 0,
     "x"},
};

TEST_F(InPlaceEndTest, ComboEndingKeysTellTheOwner)
{
    std::vector<EndCase> cases(std::begin(kSharedEndCases), std::end(kSharedEndCases));
    cases.insert(cases.end(), std::begin(kComboEndCases), std::end(kComboEndCases));
    for (const EndCase& c : cases)
    {
        const HWND hCombo = NewCombo(c.nFirstChar)->GetSafeHwnd();
        c.act(*this);
        Check(hCombo, c);
    }
}

TEST_F(InPlaceEndTest, DropDownListComboEndsOnItsOwnKeysAndFocusLoss)
{
    const EndCase cases[] = {
        {"Esc", VK_LBUTTON,
         [](InPlaceEditTest& t)
         {
             t.Press(VK_DOWN);
             t.Press(VK_ESCAPE);
         },
         true, VK_ESCAPE, "Coronal"},
        {"Enter after choosing", VK_LBUTTON,
         [](InPlaceEditTest& t)
         {
             t.Press(VK_DOWN);
             t.Press(VK_RETURN);
         },
         true, VK_RETURN, "Sagittal"},
        {"Ctrl and an arrow", VK_LBUTTON, [](InPlaceEditTest& t) { t.Press(VK_RIGHT, true); }, true,
         VK_RIGHT, "Coronal"},
        {"a click elsewhere", VK_LBUTTON, [](InPlaceEditTest& t) { t.ClickOther(); }, true, 0,
         "Coronal"},
    };
    for (const EndCase& c : cases)
    {
        const HWND hCombo = NewCombo(c.nFirstChar, CBS_DROPDOWNLIST, "Coronal")->GetSafeHwnd();
        EXPECT_EQ(::GetFocus(), hCombo) << c.pszName;
        c.act(*this);
        Check(hCombo, c);
    }
}

// ---------------------------------------------------------------- sizes

TEST_F(InPlaceEditTest, TypingWidensTheEditUpToTheParentsRightEdge)
{
    CInPlaceEdit* pEdit = NewEdit('a', CRect(200, 10, 250, 32));
    const HWND hEdit = pEdit->GetSafeHwnd();
    CRect rcParent;
    m_parent.GetClientRect(&rcParent);
    const auto rightEdge = [&]
    {
        CRect rc;
        ::GetWindowRect(hEdit, &rc);
        m_parent.ScreenToClient(&rc);
        return rc.right;
    };
    const auto expectedRight = [&]
    {
        CClientDC dc(CWnd::FromHandle(hEdit));
        CFont* pOld = dc.SelectObject(CWnd::FromHandle(hEdit)->GetFont());
        const int cx = dc.GetTextExtent(Text(hEdit) + "  ").cx;
        dc.SelectObject(pOld);
        return std::max<LONG>(250, std::min<LONG>(200 + cx, rcParent.right));
    };
    EXPECT_EQ(rightEdge(), 250) << "a short text fits";
    for (const char* pszPart : {"bcdefgh", "ijklmnop", "qrstuvwxyz", "0123456789", "ABCDEFGHIJ"})
    {
        for (const char* p = pszPart; *p != '\0'; ++p)
            ::SendMessageA(hEdit, WM_CHAR, static_cast<unsigned char>(*p), 0);
        m_harness.PumpPending();
        EXPECT_EQ(rightEdge(), expectedRight()) << Text(hEdit);
    }
    EXPECT_EQ(rightEdge(), rcParent.right) << "never beyond the parent";
    DumpPicture(m_parent.m_hWnd, "in-place-edit");
    ::DestroyWindow(hEdit);
}

TEST_F(InPlaceEditTest, ComboDropsAsWideAsItsWidestChoice)
{
    CStringArray items;
    items.Add("CT");
    items.Add("Magnetic resonance angiography");
    items.Add("US");
    CRect rect(10, 10, 60, 30);
    auto* pCombo = new CInPlaceComboBox(&m_parent, rect, CBS_DROPDOWN, kEditorId, kRow, kColumn,
                                        items, CString("CT"), VK_LBUTTON);
    CClientDC dc(&m_parent);
    CFont* pOld = dc.SelectObject(m_parent.GetFont());
    const int nExpected = dc.GetTextExtent(CString("Magnetic resonance angiography")).cx +
                          GetSystemMetrics(SM_CXVSCROLL) + 2 * dc.GetTextExtent(CString(" ")).cx;
    dc.SelectObject(pOld);
    EXPECT_EQ(pCombo->GetDroppedWidth(), nExpected);
    EXPECT_EQ(rect.Width(), nExpected) << "the cell's rectangle widened";
    EXPECT_EQ(rect.bottom, 30 + 4 * 20 + GetSystemMetrics(SM_CYHSCROLL)) << "room for four lines";
    CRect rcWindow;
    pCombo->GetWindowRect(&rcWindow);
    EXPECT_EQ(rcWindow.Width(), nExpected);
    EXPECT_EQ(pCombo->GetCurSel(), 0);
    m_harness.PumpPending();
    DumpPicture(m_parent.m_hWnd, "in-place-combo");
    ::DestroyWindow(pCombo->GetSafeHwnd());
}

// ---------------------------------------------------------------- messages, life

TEST_F(InPlaceEditTest, AltCombinationsAreSwallowedAndEveryKeyIsWanted)
{
    CInPlaceEdit* pEdit = NewEdit(VK_LBUTTON);
    MSG sysChar{pEdit->GetSafeHwnd(), WM_SYSCHAR, 'f', 0, 0, {0, 0}};
    MSG plainChar{pEdit->GetSafeHwnd(), WM_CHAR, 'f', 0, 0, {0, 0}};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(m_parent.GetSafeHwnd(), &sysChar));
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(m_parent.GetSafeHwnd(), &plainChar));
    EXPECT_EQ(pEdit->SendMessage(WM_GETDLGCODE), LRESULT(DLGC_WANTALLKEYS));
    ::DestroyWindow(pEdit->GetSafeHwnd());
}

TEST_F(InPlaceEditTest, WithoutAWindowTheCreatorDeletesIt)
{
    CRect rect(0, 0, 10, 10);
    auto* pEdit = new CInPlaceEdit(nullptr, rect, 0, kEditorId, 0, 0, CString("x"), 'a');
    EXPECT_EQ(pEdit->GetSafeHwnd(), nullptr);
    delete pEdit;
}

TEST_F(InPlaceEditTest, DestroyingTheOwnerWhileEditingEndsAndDeletesTheEditors)
{
    auto* pParent = new CTestParent(CRect(120, 120, 420, 320));
    CRect rect(10, 10, 110, 32);
    const HWND hEdit =
        (new CInPlaceEdit(pParent, rect, 0, kEditorId, 1, 2, CString("Hello"), 'q'))->GetSafeHwnd();
    CStringArray items;
    items.Add("One");
    CRect rcCombo(10, 50, 110, 72);
    const HWND hCombo = (new CInPlaceComboBox(pParent, rcCombo, CBS_DROPDOWN, kEditorId + 1, 1, 3,
                                              items, CString("One"), VK_LBUTTON))
                            ->GetSafeHwnd();
    m_harness.PumpPending();
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(hCombo, IDC_COMBO_EDIT));
    pParent->DestroyWindow();
    m_harness.PumpPending();
    EXPECT_FALSE(::IsWindow(hEdit));
    EXPECT_FALSE(::IsWindow(hCombo));
    delete pParent;
}
} // namespace
