// The rich edit object as a script editor uses it: protected text whose
// every edit is reflected to the control itself as EN_PROTECTED (with the
// message that caused it, before the edit) and then EN_CHANGE, formats by
// selection, and the text and line members.
#include "../FailOnBlockHarness.h"
#include "AfxWin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
// Hears its own notifications, as a script editor does, and remembers the
// text each one saw.
class CProtectedEdit : public CRichEditCtrl
{
public:
    std::vector<std::string> heard;

protected:
    afx_msg void OnProtected(NMHDR* pNotify, LRESULT* pResult)
    {
        const auto* pInfo = reinterpret_cast<const ENPROTECTED*>(pNotify);
        heard.push_back("protected " + std::to_string(pInfo->msg) + " " +
                        std::to_string(pInfo->chrg.cpMin) + "-" +
                        std::to_string(pInfo->chrg.cpMax) + " [" + Text() + "]");
        *pResult = 0;
    }
    afx_msg void OnChange() { heard.push_back("change [" + Text() + "]"); }

    std::string Text() const
    {
        CString text;
        GetTextRange(0, -1, text);
        return std::string(text);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProtectedEdit, CRichEditCtrl)
ON_NOTIFY_REFLECT(EN_PROTECTED, OnProtected)
ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
END_MESSAGE_MAP()

class RichEditCtrlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "Parent", WS_POPUP | WS_VISIBLE,
                                      CRect(100, 100, 500, 300), nullptr, 0));
        ASSERT_TRUE(m_edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(5, 5, 395, 195),
                                  &m_parent, 9));
        CHARFORMATA cf{};
        cf.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_BOLD | CFM_PROTECTED;
        cf.dwEffects = CFE_PROTECTED;
        cf.yHeight = 200;
        cf.bCharSet = 238;
        std::strcpy(cf.szFaceName, "Courier New");
        ASSERT_TRUE(m_edit.SetDefaultCharFormat(cf));
        m_edit.SetWindowText("one\rtwo");
        m_edit.SetEventMask(ENM_CHANGE | ENM_SELCHANGE | ENM_PROTECTED);
    }

    CFailOnBlockHarness m_harness;
    CWnd m_parent;
    CProtectedEdit m_edit;
};

TEST_F(RichEditCtrlTest, EveryEditOfProtectedTextIsAskedFirstAndToldAfter)
{
    m_edit.SetSel(3, 3);
    m_edit.ReplaceSel("!");
    m_edit.SetSel(0, 1);
    m_edit.Cut();
    EXPECT_EQ(
        m_edit.heard,
        (std::vector<std::string>{
            "protected " + std::to_string(EM_REPLACESEL) + " 3-3 [one\rtwo]", "change [one!\rtwo]",
            "protected " + std::to_string(WM_CUT) + " 0-1 [one!\rtwo]", "change [ne!\rtwo]"}));
}

TEST_F(RichEditCtrlTest, MembersReachTheTextLinesAndFormats)
{
    EXPECT_EQ(m_edit.GetTextLength(), 7);
    EXPECT_EQ(m_edit.GetLineCount(), 2);
    EXPECT_EQ(m_edit.LineIndex(1), 4);
    EXPECT_EQ(m_edit.LineFromChar(5), 1);
    EXPECT_EQ(m_edit.LineLength(5), 3);
    char line[16] = {};
    EXPECT_EQ(m_edit.GetLine(1, line, sizeof(line)), 3);
    EXPECT_EQ(std::string(line, 3), "two");
    m_edit.SetSel(4, 7);
    EXPECT_EQ(std::string(m_edit.GetSelText()), "two");
    EXPECT_EQ(m_edit.GetSelectionType(), WORD(SEL_TEXT | SEL_MULTICHAR));
    CHARFORMATA cf{};
    cf.dwMask = CFM_COLOR | CFM_BOLD;
    cf.dwEffects = CFE_BOLD;
    cf.crTextColor = RGB(255, 0, 0);
    EXPECT_TRUE(m_edit.SetSelectionCharFormat(cf));
    CHARFORMATA back{};
    EXPECT_TRUE(m_edit.GetSelectionCharFormat(back) & CFM_BOLD);
    EXPECT_EQ(back.crTextColor, RGB(255, 0, 0));
    EXPECT_EQ(back.bCharSet, 238);
    EXPECT_STREQ(back.szFaceName, "Courier New");
    EXPECT_TRUE(back.dwEffects & CFE_PROTECTED);
    long nStart = 0;
    long nEnd = 0;
    m_edit.GetSel(nStart, nEnd);
    EXPECT_EQ(nStart, 4);
    EXPECT_EQ(nEnd, 7);
}
} // namespace
