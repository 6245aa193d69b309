// The rich edit control: the protected-edit sequence as a message table
// (EN_PROTECTED with the originating message before the edit, EN_CHANGE
// after it), character formats over selections, the line and character
// arithmetic, and typing through the keyboard path.
#include "UserTestSupport.h"

#include "WinModule.h"
#include "WinRichEdit.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace
{
constexpr int kRichId = 61;

// What the parent heard, and the control's text at that moment.
struct RichHeard
{
    UINT code; // EN_PROTECTED, EN_CHANGE or EN_SELCHANGE
    UINT msg;  // EN_PROTECTED: the originating message
    WPARAM wParam;
    LONG cpMin;
    LONG cpMax;
    std::string text;
};

class RichEditTest : public UserTest
{
protected:
    RichEditTest()
    {
        m_hParent = CreateTopLevel(RECT{60, 60, 460, 300});
        SetHandler(m_hParent, [this](HWND, UINT nMsg, WPARAM wParam, LPARAM lParam)
                   { return OnParent(nMsg, wParam, lParam); });
        m_hRich = CreateWindowExA(0, RICHEDIT_CLASSA, "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 10,
                                  10, 380, 200, m_hParent, reinterpret_cast<HMENU>(kRichId),
                                  GetModuleHandleA(nullptr), nullptr);
        m_harness.PumpPending();
    }

    std::optional<LRESULT> OnParent(UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        if (nMsg == WM_COMMAND && LOWORD(wParam) == kRichId && HIWORD(wParam) == EN_CHANGE)
        {
            m_heard.push_back(RichHeard{EN_CHANGE, 0, 0, 0, 0, Text()});
            return 0;
        }
        if (nMsg != WM_NOTIFY)
            return std::nullopt;
        const auto& hdr = *reinterpret_cast<const NMHDR*>(lParam);
        if (hdr.code == EN_PROTECTED)
        {
            const auto& info = reinterpret_cast<const ENPROTECTED&>(hdr);
            m_heard.push_back(RichHeard{EN_PROTECTED, info.msg, info.wParam, info.chrg.cpMin,
                                        info.chrg.cpMax, Text()});
            if (m_bUpperCase && info.msg == WM_CHAR)
                const_cast<ENPROTECTED&>(info).wParam = std::toupper(static_cast<int>(info.wParam));
            return m_protectedAnswer;
        }
        if (hdr.code == EN_SELCHANGE)
        {
            const auto& info = reinterpret_cast<const SELCHANGE&>(hdr);
            m_heard.push_back(
                RichHeard{EN_SELCHANGE, 0, 0, info.chrg.cpMin, info.chrg.cpMax, Text()});
        }
        return 0;
    }

    std::string Text() const
    {
        char buffer[256] = {};
        GetWindowTextA(m_hRich, buffer, sizeof(buffer));
        return buffer;
    }

    void SetSel(LONG nFrom, LONG nTo) const
    {
        CHARRANGE range{nFrom, nTo};
        SendMessageA(m_hRich, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    }

    CHARRANGE GetSel() const
    {
        CHARRANGE range{};
        SendMessageA(m_hRich, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        return range;
    }

    void SetFormat(WPARAM nFlags, DWORD dwMask, DWORD dwEffects, COLORREF crColor = 0,
                   LONG yHeight = 0, const char* pszFace = "") const
    {
        CHARFORMATA format{};
        format.cbSize = sizeof(format);
        format.dwMask = dwMask;
        format.dwEffects = dwEffects;
        format.crTextColor = crColor;
        format.yHeight = yHeight;
        std::strncpy(format.szFaceName, pszFace, sizeof(format.szFaceName) - 1);
        SendMessageA(m_hRich, EM_SETCHARFORMAT, nFlags, reinterpret_cast<LPARAM>(&format));
    }

    CHARFORMATA GetFormat(LONG nFrom, LONG nTo) const
    {
        SetSel(nFrom, nTo);
        CHARFORMATA format{};
        format.cbSize = sizeof(format);
        SendMessageA(m_hRich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return format;
    }

    // The script editor's set-up: everything typed or set is protected.
    void ProtectEverything(const char* pszText)
    {
        SetFormat(SCF_DEFAULT, CFM_PROTECTED, CFE_PROTECTED);
        SetWindowTextA(m_hRich, pszText);
        SendMessageA(m_hRich, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE | ENM_PROTECTED);
    }

    HWND m_hParent = nullptr;
    HWND m_hRich = nullptr;
    std::vector<RichHeard> m_heard;
    LRESULT m_protectedAnswer = 0;
    bool m_bUpperCase = false; // revise typed characters to upper case
};

enum class enAction
{
    TypeX,
    Backspace,
    Delete,
    Cut,
    Paste,
    ReplaceSel,
    Enter,
};

struct ProtectCase
{
    const char* name;
    enAction action;
    LONG nSelFrom;
    LONG nSelTo;
    UINT msg;
    WPARAM wParam;
    LONG cpMin;
    LONG cpMax;
    const char* pszAfter;
};

class RichProtected : public RichEditTest, public ::testing::WithParamInterface<ProtectCase>
{
protected:
    void Do(enAction action)
    {
        switch (action)
        {
        case enAction::TypeX:
            m_harness.KeyPress('X');
            break;
        case enAction::Backspace:
            m_harness.KeyPress(VK_BACK);
            break;
        case enAction::Delete:
            m_harness.KeyPress(VK_DELETE);
            break;
        case enAction::Cut:
            SendMessageA(m_hRich, WM_CUT, 0, 0);
            break;
        case enAction::Paste:
            SendMessageA(m_hRich, WM_PASTE, 0, 0);
            break;
        case enAction::ReplaceSel:
            SendMessageA(m_hRich, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("pq"));
            break;
        case enAction::Enter:
            m_harness.KeyPress(VK_RETURN);
            break;
        }
        m_harness.PumpPending();
    }
};

TEST_P(RichProtected, ProtectedCarriesTheMessageBeforeTheEditAndChangeFollows)
{
    const ProtectCase& c = GetParam();
    ProtectEverything("abc\rdef");
    if (c.action == enAction::Paste)
    {
        // Something on the clipboard to paste.
        SetSel(4, 6);
        SendMessageA(m_hRich, WM_COPY, 0, 0);
    }
    SetFocus(m_hRich);
    SetSel(c.nSelFrom, c.nSelTo);
    m_harness.PumpPending();
    m_heard.clear();
    Do(c.action);
    ASSERT_GE(m_heard.size(), 2U);
    const RichHeard& protectedHeard = m_heard[0];
    EXPECT_EQ(protectedHeard.code, UINT(EN_PROTECTED));
    EXPECT_EQ(protectedHeard.msg, c.msg);
    EXPECT_EQ(protectedHeard.wParam, c.wParam);
    EXPECT_EQ(protectedHeard.cpMin, c.cpMin);
    EXPECT_EQ(protectedHeard.cpMax, c.cpMax);
    EXPECT_EQ(protectedHeard.text, "abc\rdef") << "told before the edit";
    EXPECT_EQ(m_heard[1].code, UINT(EN_CHANGE));
    EXPECT_EQ(m_heard[1].text, c.pszAfter) << "told after the edit";
    EXPECT_EQ(Text(), c.pszAfter);
}

INSTANTIATE_TEST_SUITE_P(
    RichEdit, RichProtected,
    ::testing::Values(
        ProtectCase{"TypedCharacter", enAction::TypeX, 1, 1, WM_CHAR, 'x', 1, 1, "axbc\rdef"},
        ProtectCase{"TypedOverSelection", enAction::TypeX, 1, 3, WM_CHAR, 'x', 1, 3, "ax\rdef"},
        ProtectCase{"Backspace", enAction::Backspace, 2, 2, WM_KEYDOWN, VK_BACK, 1, 2, "ac\rdef"},
        ProtectCase{"DeleteJoinsLines", enAction::Delete, 3, 3, WM_KEYDOWN, VK_DELETE, 3, 4,
                    "abcdef"},
        ProtectCase{"Cut", enAction::Cut, 0, 2, WM_CUT, 0, 0, 2, "c\rdef"},
        ProtectCase{"Paste", enAction::Paste, 7, 7, WM_PASTE, 0, 7, 7, "abc\rdefde"},
        ProtectCase{"ReplaceSelection", enAction::ReplaceSel, 4, 5, EM_REPLACESEL, TRUE, 4, 5,
                    "abc\rpqef"},
        ProtectCase{"Enter", enAction::Enter, 2, 2, WM_CHAR, '\r', 2, 2, "ab\rc\rdef"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RichEditTest, RefusedOrUnaskedProtectedEditsChangeNothing)
{
    ProtectEverything("abc");
    SetFocus(m_hRich);
    SetSel(1, 1);
    m_heard.clear();
    m_protectedAnswer = 1;
    m_harness.KeyPress('X');
    m_harness.PumpPending();
    ASSERT_EQ(m_heard.size(), 1U);
    EXPECT_EQ(m_heard[0].code, UINT(EN_PROTECTED));
    EXPECT_EQ(Text(), "abc");

    // Without ENM_PROTECTED nobody is asked and the protection holds.
    SendMessageA(m_hRich, EM_SETEVENTMASK, 0, ENM_CHANGE);
    m_heard.clear();
    m_harness.KeyPress('X');
    m_harness.PumpPending();
    EXPECT_TRUE(m_heard.empty());
    EXPECT_EQ(Text(), "abc");

    // Text that is not protected edits without asking.
    SetSel(0, -1);
    SetFormat(SCF_SELECTION, CFM_PROTECTED, 0);
    SendMessageA(m_hRich, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_PROTECTED);
    SetSel(3, 3);
    m_heard.clear();
    m_harness.KeyPress('X');
    m_harness.PumpPending();
    ASSERT_EQ(m_heard.size(), 1U);
    EXPECT_EQ(m_heard[0].code, UINT(EN_CHANGE));
    EXPECT_EQ(Text(), "abcx");

    // WM_SETTEXT replaces everything whatever is protected.
    ProtectEverything("abc");
    SetWindowTextA(m_hRich, "new");
    EXPECT_EQ(Text(), "new");
}

TEST_F(RichEditTest, AParentsRevisedMessageIsDoneInsteadOnce)
{
    ProtectEverything("ab");
    SetFocus(m_hRich);
    SetSel(2, 2);
    m_heard.clear();
    m_bUpperCase = true;
    m_harness.KeyPress('C');
    m_harness.PumpPending();
    EXPECT_EQ(Text(), "abC");
    // The original 'c', then the revised 'C' asked once more and done.
    std::vector<WPARAM> asked;
    for (const RichHeard& heard : m_heard)
        if (heard.code == EN_PROTECTED)
            asked.push_back(heard.wParam);
    EXPECT_EQ(asked, (std::vector<WPARAM>{'c', 'C'}));
    EXPECT_EQ(std::count_if(m_heard.begin(), m_heard.end(),
                            [](const RichHeard& heard) { return heard.code == EN_CHANGE; }),
              1);
}

TEST_F(RichEditTest, ACharacterOfSeveralBytesIsInsertedWholeOnce)
{
    SendMessageA(m_hRich, EM_SETEVENTMASK, 0, ENM_CHANGE);
    // "é" in UTF-8 arrives as two WM_CHAR messages.
    SendMessageA(m_hRich, WM_CHAR, 0xC3, 0);
    EXPECT_EQ(Text(), "");
    SendMessageA(m_hRich, WM_CHAR, 0xA9, 0);
    EXPECT_EQ(Text(), "\xC3\xA9");
    ASSERT_EQ(m_heard.size(), 1U);
    EXPECT_EQ(m_heard[0].code, UINT(EN_CHANGE));
    SetFocus(m_hRich);
    m_harness.KeyPress(VK_BACK);
    m_harness.PumpPending();
    EXPECT_EQ(Text(), "") << "Backspace takes the whole character";
}

TEST_F(RichEditTest, FormatChangesOfProtectedTextAskWithTheirOwnMessage)
{
    ProtectEverything("abcdef");
    SetSel(1, 4);
    m_heard.clear();
    SetFormat(SCF_SELECTION, CFM_COLOR, 0, RGB(255, 0, 0));
    ASSERT_EQ(m_heard.size(), 1U);
    EXPECT_EQ(m_heard[0].msg, UINT(EM_SETCHARFORMAT));
    EXPECT_EQ(m_heard[0].cpMin, 1);
    EXPECT_EQ(m_heard[0].cpMax, 4);
    EXPECT_EQ(GetFormat(1, 4).crTextColor, RGB(255, 0, 0));
    m_protectedAnswer = 1;
    SetSel(0, 1);
    SetFormat(SCF_SELECTION, CFM_COLOR, 0, RGB(0, 255, 0));
    EXPECT_NE(GetFormat(0, 1).crTextColor, RGB(0, 255, 0));
}

TEST_F(RichEditTest, FormatsApplyToTheSelectionAndReportWhatIsCommon)
{
    SetWindowTextA(m_hRich, "Hello world");
    SetSel(0, 5);
    SetFormat(SCF_SELECTION, CFM_BOLD | CFM_COLOR, CFE_BOLD, RGB(0, 0, 255));
    const CHARFORMATA hello = GetFormat(0, 5);
    EXPECT_TRUE(hello.dwMask & CFM_BOLD);
    EXPECT_TRUE(hello.dwEffects & CFE_BOLD);
    EXPECT_TRUE(hello.dwMask & CFM_COLOR);
    EXPECT_EQ(hello.crTextColor, RGB(0, 0, 255));
    const CHARFORMATA mixed = GetFormat(3, 8);
    EXPECT_FALSE(mixed.dwMask & CFM_BOLD) << "bold in part";
    EXPECT_FALSE(mixed.dwMask & CFM_COLOR);
    EXPECT_TRUE(mixed.dwMask & CFM_FACE) << "one face all through";
    EXPECT_FALSE(GetFormat(6, 11).dwEffects & CFE_BOLD);

    SetFormat(SCF_ALL, CFM_SIZE | CFM_FACE | CFM_CHARSET, 0, 0, 200, "Courier New");
    const CHARFORMATA all = GetFormat(0, 11);
    EXPECT_EQ(all.yHeight, 200);
    EXPECT_STREQ(all.szFaceName, "Courier New");
    EXPECT_FALSE(all.dwMask & CFM_BOLD) << "the bold part stays bold";

    // A format set on an empty selection waits for what is typed there.
    SetFocus(m_hRich);
    SetSel(11, 11);
    SetFormat(SCF_SELECTION, CFM_ITALIC, CFE_ITALIC);
    m_harness.KeyPress('Z');
    m_harness.PumpPending();
    EXPECT_EQ(Text(), "Hello worldz");
    EXPECT_TRUE(GetFormat(11, 12).dwEffects & CFE_ITALIC);
    EXPECT_FALSE(GetFormat(10, 11).dwEffects & CFE_ITALIC);

    // The default format is what new text gets.
    SetFormat(SCF_DEFAULT, CFM_BOLD, CFE_BOLD);
    SetWindowTextA(m_hRich, "fresh");
    EXPECT_TRUE(GetFormat(0, 5).dwEffects & CFE_BOLD);
    CHARFORMATA def{};
    def.cbSize = sizeof(def);
    SendMessageA(m_hRich, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&def));
    EXPECT_TRUE(def.dwEffects & CFE_BOLD);
    CHARFORMATA tooSmall{};
    tooSmall.cbSize = 12;
    EXPECT_EQ(SendMessageA(m_hRich, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&tooSmall)),
              FALSE);
}

TEST_F(RichEditTest, LineAndCharacterIndexesAgreeWithTheStoredText)
{
    SetWindowTextA(m_hRich, "ab\r\n\ncdef\rg");
    const std::string stored = "ab\r\rcdef\rg";
    EXPECT_EQ(Text(), stored);
    EXPECT_EQ(SendMessageA(m_hRich, WM_GETTEXTLENGTH, 0, 0), LRESULT(stored.size()));
    // The reference: line starts from the stored text itself.
    std::vector<int> starts{0};
    for (std::size_t i = 0; i < stored.size(); ++i)
        if (stored[i] == '\r')
            starts.push_back(static_cast<int>(i) + 1);
    EXPECT_EQ(SendMessageA(m_hRich, EM_GETLINECOUNT, 0, 0), LRESULT(starts.size()));
    for (std::size_t nLine = 0; nLine < starts.size(); ++nLine)
        EXPECT_EQ(SendMessageA(m_hRich, EM_LINEINDEX, nLine, 0), starts[nLine]) << nLine;
    EXPECT_EQ(SendMessageA(m_hRich, EM_LINEINDEX, starts.size(), 0), -1);
    for (int nPos = 0; nPos <= static_cast<int>(stored.size()); ++nPos)
    {
        const auto nLine = static_cast<int>(std::upper_bound(starts.begin(), starts.end(), nPos) -
                                            starts.begin() - 1);
        const std::size_t nEnd =
            stored.find('\r', static_cast<std::size_t>(starts[std::size_t(nLine)]));
        const int nLength =
            (nEnd == std::string::npos ? static_cast<int>(stored.size()) : static_cast<int>(nEnd)) -
            starts[std::size_t(nLine)];
        EXPECT_EQ(SendMessageA(m_hRich, EM_EXLINEFROMCHAR, 0, nPos), nLine) << nPos;
        EXPECT_EQ(SendMessageA(m_hRich, EM_LINEFROMCHAR, nPos, 0), nLine) << nPos;
        EXPECT_EQ(SendMessageA(m_hRich, EM_LINELENGTH, nPos, 0), nLength) << nPos;
    }
    for (const auto& [nFrom, nTo] :
         std::vector<std::pair<LONG, LONG>>{{0, 2}, {2, 5}, {4, 11}, {9, -1}, {3, 3}})
    {
        char buffer[32] = {};
        TEXTRANGEA range{{nFrom, nTo}, buffer};
        const std::string expected = stored.substr(
            std::size_t(nFrom), nTo < 0 ? std::string::npos : std::size_t(nTo - nFrom));
        EXPECT_EQ(SendMessageA(m_hRich, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)),
                  LRESULT(expected.size()));
        EXPECT_EQ(std::string(buffer), expected);
    }
    SetSel(0, -1);
    EXPECT_EQ(GetSel().cpMax, LONG(stored.size()));
    SetSel(-1, 0);
    EXPECT_EQ(GetSel().cpMin, GetSel().cpMax) << "a start of -1 drops the selection";
}

TEST_F(RichEditTest, TypingGoesThroughTheKeyboardPathWithTabsLinesAndSelection)
{
    SendMessageA(m_hRich, EM_SETEVENTMASK, 0, ENM_SELCHANGE);
    SetFocus(m_hRich);
    m_harness.PumpPending();
    for (const UINT nKey :
         {UINT('I'), UINT('F'), UINT(VK_TAB), UINT('A'), UINT(VK_RETURN), UINT('B')})
        m_harness.KeyPress(nKey);
    m_harness.PumpPending();
    EXPECT_EQ(Text(), "if\ta\rb");
    m_harness.KeyPress(VK_UP);
    m_harness.KeyDown(VK_SHIFT);
    m_harness.KeyPress(VK_HOME);
    m_harness.KeyUp(VK_SHIFT);
    m_harness.PumpPending();
    // Up keeps the caret's x as near as the characters allow.
    const CHARRANGE sel = GetSel();
    EXPECT_EQ(sel.cpMin, 0);
    EXPECT_GE(sel.cpMax, 1);
    EXPECT_LE(sel.cpMax, 2);
    ASSERT_FALSE(m_heard.empty());
    EXPECT_EQ(m_heard.back().code, UINT(EN_SELCHANGE));
    EXPECT_EQ(m_heard.back().cpMin, sel.cpMin);
    EXPECT_EQ(m_heard.back().cpMax, sel.cpMax);
    m_harness.KeyPress('W');
    m_harness.KeyPress(VK_END);
    m_harness.KeyPress(VK_BACK);
    m_harness.PumpPending();
    const std::string firstLine = "if\ta";
    EXPECT_EQ(Text(),
              "w" + firstLine.substr(std::size_t(sel.cpMax), std::size_t(3 - sel.cpMax)) + "\rb");
}

TEST_F(RichEditTest, ScriptLooksColouredWithTabStops)
{
    SetFormat(SCF_DEFAULT, CFM_FACE | CFM_SIZE | CFM_CHARSET, 0, 0, 200, "Courier New");
    PARAFORMAT para{};
    para.cbSize = sizeof(para);
    para.dwMask = PFM_TABSTOPS;
    para.cTabCount = 32;
    for (int i = 0; i < 32; ++i)
        para.rgxTabs[i] = 288 * (i + 1);
    EXPECT_TRUE(SendMessageA(m_hRich, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&para)));
    const std::string script = "Begin\r\tx := 42; // answer\r\t\ts := \"text\"\rEnd";
    SetWindowTextA(m_hRich, script.c_str());
    const auto colour = [&](const char* pszPart, COLORREF cr, bool bBold)
    {
        const auto nFrom = static_cast<LONG>(script.find(pszPart));
        SetSel(nFrom, nFrom + static_cast<LONG>(std::strlen(pszPart)));
        SetFormat(SCF_SELECTION, CFM_COLOR | CFM_BOLD, bBold ? CFE_BOLD : 0, cr);
    };
    colour("Begin", RGB(0, 0, 255), true);
    colour("42", RGB(255, 0, 255), false);
    colour("// answer", RGB(0, 128, 0), false);
    colour("\"text\"", RGB(255, 0, 255), false);
    colour("End", RGB(0, 0, 255), true);
    SetSel(0, 0);
    m_harness.PumpPending();
    const WindowPicture picture = ClientPicture(m_hRich);
    // Blue ink in the first line, none right of the word.
    int nBlue = 0;
    for (int x = 0; x < 60; ++x)
        for (int y = 0; y < 14; ++y)
            nBlue += picture.GetPixel(x, y) == SurfacePixel(RGB(0, 0, 255)) ? 1 : 0;
    EXPECT_GT(nBlue, 10);
    // The second line's text starts at the first tab stop (0.2 inch).
    int nFirstInk = -1;
    for (int x = 0; x < 100 && nFirstInk < 0; ++x)
        for (int y = 16; y < 30; ++y)
            if (picture.GetPixel(x, y) != SurfacePixel(GetSysColor(COLOR_WINDOW)))
            {
                nFirstInk = x;
                break;
            }
    EXPECT_GE(nFirstInk, 19);
    EXPECT_LE(nFirstInk, 24);
    const std::string path = std::string(SUITE_OUTPUT_DIR) + "/rich-edit-script.bmp";
    SaveWindowPicture(m_hParent, path.c_str());
}
} // namespace

namespace
{
TEST_F(RichEditTest, ScrollsByParagraphsWithTheCaretBarAndWheel)
{
    const HWND hScrolled = CreateWindowExA(
        0, RICHEDIT_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 10, 10, 200, 100,
        m_hParent, reinterpret_cast<HMENU>(kRichId + 1), GetModuleHandleA(nullptr), nullptr);
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line " + std::to_string(i) + (i < 39 ? "\r" : "");
    SetWindowTextA(hScrolled, text.c_str());
    SetFocus(hScrolled);
    m_harness.KeyDown(VK_CONTROL);
    m_harness.KeyPress(VK_END);
    m_harness.KeyUp(VK_CONTROL);
    m_harness.PumpPending();
    const auto first = [&] { return SendMessageA(hScrolled, EM_GETFIRSTVISIBLELINE, 0, 0); };
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(hScrolled, SB_VERT, &info);
    EXPECT_EQ(info.nMax, 39);
    ASSERT_GT(info.nPage, 1U);
    EXPECT_EQ(first(), LRESULT(40 - info.nPage)) << "the caret's line is the last one shown";
    EXPECT_EQ(info.nPos, first());
    SendMessageA(hScrolled, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(first(), 0);
    m_harness.Wheel(-120, CUiHarness::ScreenPoint(hScrolled, 50, 50));
    m_harness.PumpPending();
    EXPECT_EQ(first(), 1);
    info.fMask = SIF_POS;
    GetScrollInfo(hScrolled, SB_VERT, &info);
    EXPECT_EQ(info.nPos, 1) << "the bar follows the wheel";
    const std::string path = std::string(SUITE_OUTPUT_DIR) + "/rich-edit-scrolled.bmp";
    SaveWindowPicture(m_hParent, path.c_str());
}

TEST_F(RichEditTest, PaintCarryingADcDrawsTheControlIntoThatDc)
{
    SetWindowTextA(m_hRich, "painted elsewhere");
    m_harness.PumpPending();
    HDC hScreen = GetDC(nullptr);
    HDC hMem = CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, 380, 200);
    ReleaseDC(nullptr, hScreen);
    HGDIOBJ hOld = SelectObject(hMem, hBitmap);
    const RECT all{0, 0, 380, 200};
    HBRUSH hRed = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(hMem, &all, hRed);
    SendMessageA(m_hRich, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hMem), 0);
    SendMessageA(m_hRich, WM_PAINT, reinterpret_cast<WPARAM>(hMem), 0);
    // The control's background and its text reached the memory bitmap.
    EXPECT_EQ(GetPixel(hMem, 300, 150), GetSysColor(COLOR_WINDOW));
    int nInk = 0;
    for (int x = 0; x < 100; ++x)
        for (int y = 0; y < 20; ++y)
            nInk += GetPixel(hMem, x, y) == GetSysColor(COLOR_WINDOWTEXT) ? 1 : 0;
    EXPECT_GT(nInk, 10);
    SelectObject(hMem, hOld);
    DeleteObject(hBitmap);
    DeleteObject(hRed);
    DeleteDC(hMem);
}
} // namespace
