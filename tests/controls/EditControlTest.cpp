// The flat edit's frames and bars, hot while hovered or focused, and the
// masked edit's character checks, literals, overwrite typing and digit
// limits.
#include "ControlTestSupport.h"
#include "FlatEdit.h"
#include "MaskEdit.h"
#include "WinBeep.h"

namespace
{
// ---------------------------------------------------------------- flat edit

class FlatEditTest : public testing::Test
{
protected:
    FlatEditTest()
    {
        m_edit.Create(WS_CHILD | WS_VISIBLE, CRect(40, 40, 200, 64), &m_parent, 71);
        m_other.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(40, 120, 200, 144), &m_parent, 72);
        m_harness.PumpPending();
    }

    std::uint32_t ParentPixel(int x, int y) const
    {
        return ClientPictureOf(m_parent.m_hWnd).GetPixel(x, y);
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_parent;
    CFlatEdit m_edit;
    CEdit m_other;
};

const std::uint32_t kEditFace = PixelOf(GetSysColor(COLOR_BTNFACE));
const std::uint32_t kEditHighlight = PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT));
const std::uint32_t kEditShadow = PixelOf(GetSysColor(COLOR_BTNSHADOW));

TEST_F(FlatEditTest, ColdFrameIsFlatWithBarsBesideIt)
{
    m_edit.DrawEdit(2, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
    // The client rectangle is (40, 40)-(200, 64) in the parent.
    EXPECT_EQ(ParentPixel(40, 50), kEditFace);
    for (int nRing = 1; nRing <= 4; ++nRing)
        EXPECT_EQ(ParentPixel(100, 40 - nRing), kEditFace) << nRing;
    EXPECT_EQ(ParentPixel(36, 50), kEditHighlight) << "the inner left bar, raised";
    EXPECT_EQ(ParentPixel(37, 50), kEditShadow);
    EXPECT_EQ(ParentPixel(33, 50), kEditHighlight) << "the outer left bar";
    EXPECT_EQ(ParentPixel(202, 50), kEditShadow) << "the right bar, sunken";
    EXPECT_EQ(ParentPixel(203, 50), kEditHighlight);
}

TEST_F(FlatEditTest, HotFrameIsSunken)
{
    m_edit.DrawEdit(1, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ParentPixel(39, 50), kEditShadow);
    EXPECT_EQ(ParentPixel(100, 39), kEditShadow);
    EXPECT_EQ(ParentPixel(200, 50), kEditHighlight);
    EXPECT_EQ(ParentPixel(100, 64), kEditHighlight);
    m_edit.EnableWindow(FALSE);
    m_edit.DrawEdit(1, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ParentPixel(39, 50), kEditHighlight) << "disabled: the first ring, no sunken frame";
}

TEST_F(FlatEditTest, HotWhileHoveredOrFocused)
{
    m_harness.MouseMove(CUiHarness::ScreenPoint(m_edit.m_hWnd, 10, 10));
    m_harness.PumpPending();
    m_harness.AdvanceClock(10);
    m_harness.PumpPending();
    EXPECT_EQ(ParentPixel(39, 50), kEditShadow) << "hovered";
    m_harness.MouseMove(CUiHarness::ScreenPoint(m_edit.m_hWnd, 10, 200));
    m_harness.PumpPending();
    m_harness.AdvanceClock(10);
    m_harness.PumpPending();
    EXPECT_EQ(ParentPixel(39, 50), kEditFace) << "left";
    m_edit.SetFocus();
    m_harness.PumpPending();
    EXPECT_EQ(ParentPixel(39, 50), kEditShadow) << "focused";
    ::SendMessageA(m_edit.m_hWnd, WM_CHAR, 'x', 0);
    m_harness.PumpPending();
    EXPECT_EQ(ParentPixel(39, 50), kEditShadow) << "still focused after painting";
    m_other.SetFocus();
    m_harness.PumpPending();
    EXPECT_EQ(ParentPixel(39, 50), kEditFace) << "focus lost";
}

TEST_F(FlatEditTest, IndentSetsTheMargins)
{
    m_edit.SetIndent(6);
    EXPECT_EQ(m_edit.GetMargins(), DWORD(MAKELONG(6, 1)));
}

// ---------------------------------------------------------------- masked edit

class MaskEditTest : public testing::Test
{
protected:
    MaskEditTest()
    {
        m_edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 200, 34), &m_parent, 81);
        m_harness.PumpPending();
        m_edit.SetFocus();
    }

    // Types each character as the keyboard would, and counts the beeps.
    int Type(const char* pszKeys)
    {
        ResetBeepCount();
        for (const char* p = pszKeys; *p != '\0'; ++p)
            m_edit.SendMessage(WM_CHAR, static_cast<unsigned char>(*p), 1);
        m_harness.PumpPending();
        return int(GetBeepCount());
    }

    CString Text() const
    {
        CString text;
        m_edit.GetWindowText(text);
        return text;
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_parent;
    CMaskEdit m_edit;
};

struct MaskCase
{
    const char* pszName;
    const char* pszMask;
    const char* pszLiteral;
    BOOL bDate;
    const char* pszKeys;
    const char* pszText;
    int nBeeps;
};

TEST_F(MaskEditTest, CharactersAreCheckedAgainstTheMask)
{
    const MaskCase cases[] = {
        {"literals come by themselves", "99/99", "__/__", FALSE, "1234", "12/34", 0},
        {"letters are refused with a beep", "99/99", "__/__", FALSE, "1a2", "12/", 1},
        {"typing past the mask beeps", "99", "", FALSE, "123", "12", 1},
        {"# takes digits, space, k and m", "####", "", FALSE, "1 kmx", "1 km", 1},
        {"? takes letters and space", "???", "", FALSE, "a 1b", "a b", 1},
        {"a takes letters, digits and space", "aaa", "", FALSE, "x1 -", "x1 ", 1},
        {"A takes letters and digits", "AAA", "", FALSE, "x 1y", "x1y", 1},
        {"L takes letters only", "LL", "", FALSE, "1ab", "ab", 1},
        {"& takes anything printable", "&&&", "", FALSE, "-+*", "-+*", 0},
        {"another mask character takes nothing", "XX", "", FALSE, "ab", "", 2},
        {"date: a 4 starts no day, silently", "00/00", "__/__", TRUE, "4", "", 0},
        {"date: day 31 and month 12", "00/00", "__/__", TRUE, "3112", "31/12", 0},
        {"date: no day 32", "00/00", "__/__", TRUE, "32", "3", 0},
        {"date: no month 13", "00/00", "__/__", TRUE, "0113", "01/1", 0},
        {"date: no month 2x", "00/00", "__/__", TRUE, "012", "01/", 0},
        {"time: 4 then 8 refused at the 8", "00:00", "__:__", FALSE, "48", "4", 0},
        {"time: 47 then 59", "00:00", "__:__", FALSE, "4759", "47:59", 0},
        {"time: no 6 for the tens of minutes", "00:00", "__:__", FALSE, "126", "12:", 0},
        {"0 takes digits only, with a beep", "00", "", FALSE, "x", "", 1},
    };
    for (const MaskCase& c : cases)
    {
        m_edit.SetWindowText("");
        m_edit.SetMask(c.pszMask, c.pszLiteral);
        m_edit.m_isdate = c.bDate;
        EXPECT_EQ(Type(c.pszKeys), c.nBeeps) << c.pszName;
        EXPECT_EQ(Text(), CString(c.pszText)) << c.pszName;
    }
}

TEST_F(MaskEditTest, DateModeStartsOffAndTheTextImageIsTheMasksSize)
{
    CMaskEdit fresh;
    EXPECT_FALSE(fresh.m_isdate);
    m_edit.SetWindowText("1");
    m_edit.SetMask("00:00", "__:__");
    EXPECT_EQ(m_edit.m_str, CString("1    ")) << "the shown text, to the mask's length";
    m_edit.SetWindowText("12:00");
    m_edit.SetMask("00:00", "__:__");
    EXPECT_EQ(m_edit.m_str, CString("12:00"));
    // The minutes read the tens of minutes already there.
    m_edit.SetSel(3, 3);
    EXPECT_EQ(Type("59"), 0);
    EXPECT_EQ(Text(), CString("12:59"));
    m_edit.SetSel(3, 3);
    EXPECT_EQ(Type("6"), 0);
    EXPECT_EQ(Text(), CString("12:59")) << "no 6 for the tens of minutes";
}

TEST_F(MaskEditTest, TypingOverwritesAndASelectionCollapsesToItsStart)
{
    m_edit.SetMask("9999");
    Type("1234");
    m_edit.SetSel(1, 1);
    Type("7");
    EXPECT_EQ(Text(), CString("1734")) << "the character under the caret is replaced";
    m_edit.SetSel(0, 3);
    Type("5");
    EXPECT_EQ(Text(), CString("5734"));
    EXPECT_EQ(m_edit.GetSel(), DWORD(MAKELONG(1, 1)));
}

TEST_F(MaskEditTest, ValidCharactersPassEveryPosition)
{
    m_edit.SetMask("99", nullptr, "-");
    EXPECT_EQ(Type("-1"), 0);
    EXPECT_EQ(Text(), CString("-1"));
    m_edit.SetMask("99", "___", "");
    m_edit.SetWindowText("");
    m_edit.SetMask("99", "___", "");
    EXPECT_TRUE(m_edit.m_strLiteral.IsEmpty()) << "a template of another length is dropped";
    EXPECT_TRUE(m_edit.m_bUseMask);
}

TEST_F(MaskEditTest, InsertAndDeleteDoNothingWhileMasked)
{
    m_edit.SetMask("9999");
    Type("1234");
    m_edit.SetSel(1, 1);
    m_harness.KeyPress(VK_DELETE);
    m_harness.KeyPress(VK_INSERT);
    m_harness.PumpPending();
    EXPECT_EQ(Text(), CString("1234"));
    m_edit.SetMask(nullptr);
    EXPECT_FALSE(m_edit.m_bUseMask);
    m_harness.KeyPress(VK_DELETE);
    m_harness.PumpPending();
    EXPECT_EQ(Text(), CString("134")) << "an unmasked edit deletes";
}

TEST_F(MaskEditTest, BackspaceMovesBackAndWritesTheTemplate)
{
    m_edit.SetMask("99/99", "__/__");
    Type("1234");
    EXPECT_EQ(Type("\b"), 0);
    EXPECT_EQ(Text(), CString("12/34")) << "only the caret moved";
    EXPECT_EQ(m_edit.GetSel(), DWORD(MAKELONG(4, 4)));
    m_edit.m_strBackspace = "__/__";
    Type("\b");
    EXPECT_EQ(Text(), CString("12/_4"));
    EXPECT_EQ(m_edit.GetSel(), DWORD(MAKELONG(3, 3)));
    m_edit.SetSel(0, 0);
    EXPECT_EQ(Type("\b"), 1) << "nothing before the caret";
    m_edit.SetSel(0, 2);
    EXPECT_EQ(Type("\b"), 1) << "a selection";
}
} // namespace
