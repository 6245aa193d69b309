// The MFC face of OLE data transfer: text dragged between two windows and
// within one, moved (the source cuts after the drop) or copied with Ctrl,
// Escape, the start rectangle, and the clipboard through a data source.
#include "../FailOnBlockHarness.h"
#include "AfxOle.h"
#include "AfxWin.h"
#include "WinClipboard.h"
#include "WinGlobalMemory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
HGLOBAL TextBlock(const std::string& text)
{
    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(hBlock), text.c_str(), text.size() + 1);
    GlobalUnlock(hBlock);
    return hBlock;
}

std::string TextOf(HGLOBAL hBlock)
{
    std::string text = static_cast<const char*>(GlobalLock(hBlock));
    GlobalUnlock(hBlock);
    GlobalFree(hBlock);
    return text;
}

class CTextPane;

// Takes text: a copy with Ctrl, else a move; logs each call.
class CTextDropTarget : public COleDropTarget
{
public:
    CTextDropTarget(CTextPane* pPane, std::vector<std::string>& log) : m_pPane(pPane), m_log(log) {}
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* pData, DWORD dwKeyState, CPoint point) override
    {
        Log("enter", point);
        return Answer(pData, dwKeyState);
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* pData, DWORD dwKeyState, CPoint point) override
    {
        Log("over", point);
        return Answer(pData, dwKeyState);
    }
    void OnDragLeave(CWnd*) override { m_log.push_back(Name() + " leave"); }
    BOOL OnDrop(CWnd*, COleDataObject* pData, DROPEFFECT dropEffect, CPoint point) override;

private:
    std::string Name() const;
    void Log(const char* pszWhat, CPoint point)
    {
        m_log.push_back(Name() + " " + pszWhat + " " + std::to_string(point.x) + "," +
                        std::to_string(point.y));
    }
    static DROPEFFECT Answer(COleDataObject* pData, DWORD dwKeyState)
    {
        if (!pData->IsDataAvailable(CF_TEXT))
            return DROPEFFECT_NONE;
        return (dwKeyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }

    CTextPane* m_pPane;
    std::vector<std::string>& m_log;
};

class CTextPane : public CWnd
{
public:
    CTextPane(std::string name, std::string text, std::vector<std::string>& log)
        : m_name(std::move(name)), m_text(std::move(text)), m_target(this, log)
    {
    }

    std::string m_name;
    std::string m_text;
    CTextDropTarget m_target;
    DROPEFFECT m_lastDrag = 0xFFFF;
    CRect m_rectStart;

protected:
    afx_msg void OnLButtonDown(UINT, CPoint)
    {
        auto* pSource = new COleDataSource;
        pSource->CacheGlobalData(CF_TEXT, TextBlock(m_text));
        m_lastDrag = pSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE,
                                         m_rectStart.IsRectNull() ? nullptr : &m_rectStart);
        // A move leaves the source without what it gave.
        if ((m_lastDrag & DROPEFFECT_MOVE) != 0)
            m_text.clear();
        delete pSource;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTextPane, CWnd)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

std::string CTextDropTarget::Name() const
{
    return m_pPane->m_name;
}

BOOL CTextDropTarget::OnDrop(CWnd*, COleDataObject* pData, DROPEFFECT dropEffect, CPoint point)
{
    Log(dropEffect == DROPEFFECT_COPY ? "drop copy" : "drop move", point);
    HGLOBAL hText = pData->GetGlobalData(CF_TEXT);
    if (hText == nullptr)
        return FALSE;
    m_pPane->m_text += TextOf(hText);
    return TRUE;
}

class OleTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "Host", WS_POPUP | WS_VISIBLE,
                                    CRect(100, 100, 700, 400), nullptr, 0));
        for (CTextPane* pPane : {&m_left, &m_right})
        {
            const int nLeft = pPane == &m_left ? 0 : 300;
            ASSERT_TRUE(pPane->Create(nullptr, "pane", WS_CHILD | WS_VISIBLE,
                                      CRect(nLeft, 0, nLeft + 200, 200), &m_host, 1));
            ASSERT_TRUE(pPane->m_target.Register(pPane));
        }
    }
    void TearDown() override { m_host.DestroyWindow(); }

    static POINT At(CWnd& wnd, int x, int y) { return CUiHarness::ScreenPoint(wnd.m_hWnd, x, y); }
    void DragFromLeft()
    {
        // Far from the last press: no double click.
        m_harness.AdvanceClock(1000);
        m_harness.MouseDown(enMouseButton::Left, At(m_left, 10, 10));
        m_harness.PumpPending();
        while (m_harness.Script().PlayNext())
        {
        }
        m_harness.PumpPending();
    }

    CFailOnBlockHarness m_harness;
    std::vector<std::string> m_log;
    CWnd m_host;
    CTextPane m_left{"left", "alpha", m_log};
    CTextPane m_right{"right", "", m_log};
};

TEST_F(OleTest, AMoveCutsTheSourceAfterTheDropAndCtrlCopies)
{
    struct Case
    {
        bool bCtrl;
        DROPEFFECT expected;
        const char* pszLeftAfter;
    };
    for (const Case& c : {Case{true, DROPEFFECT_COPY, "alpha"}, Case{false, DROPEFFECT_MOVE, ""}})
    {
        m_left.m_text = "alpha";
        m_right.m_text.clear();
        m_log.clear();
        m_left.m_lastDrag = 0xFFFF;
        if (c.bCtrl)
            m_harness.Script().Key(VK_CONTROL, true);
        m_harness.Script()
            .MouseMove(At(m_right, 20, 30))
            .MouseMove(At(m_right, 25, 35))
            .MouseUp(enMouseButton::Left, At(m_right, 25, 35));
        if (c.bCtrl)
            m_harness.Script().Key(VK_CONTROL, false);
        DragFromLeft();
        EXPECT_EQ(m_left.m_lastDrag, c.expected);
        EXPECT_EQ(m_left.m_text, c.pszLeftAfter);
        EXPECT_EQ(m_right.m_text, "alpha");
        // The start over the source itself (Ctrl going down is seen there),
        // then the right pane in client points; the drop asks over once more
        // for its default effect.
        std::vector<std::string> expected{"left enter 10,10",  "left leave",
                                          "right enter 20,30", "right over 25,35",
                                          "right over 25,35",  "right drop move 25,35"};
        if (c.bCtrl)
        {
            expected.insert(expected.begin() + 1, "left over 10,10");
            expected.back() = "right drop copy 25,35";
        }
        EXPECT_EQ(m_log, expected);
    }
}

TEST_F(OleTest, ADropInsideTheSourceWindowWorks)
{
    m_harness.Script()
        .MouseMove(At(m_left, 50, 60))
        .Key(VK_CONTROL, true)
        .MouseUp(enMouseButton::Left, At(m_left, 50, 60))
        .Key(VK_CONTROL, false);
    DragFromLeft();
    EXPECT_EQ(m_left.m_lastDrag, DROPEFFECT_COPY);
    EXPECT_EQ(m_left.m_text, "alphaalpha");
}

TEST_F(OleTest, EscapeLeavesBothWindowsAsTheyWere)
{
    m_harness.Script()
        .MouseMove(At(m_right, 20, 30))
        .KeyPress(VK_ESCAPE)
        .MouseUp(enMouseButton::Left, At(m_right, 20, 30));
    DragFromLeft();
    EXPECT_EQ(m_left.m_lastDrag, DROPEFFECT_NONE);
    EXPECT_EQ(m_left.m_text, "alpha");
    EXPECT_EQ(m_right.m_text, "");
    EXPECT_EQ(m_log.back(), "right leave");
}

TEST_F(OleTest, ADragWaitsUntilThePointerLeavesTheStartRectangle)
{
    // Released inside the rectangle: the drag never starts.
    m_left.m_rectStart = CRect(At(m_left, 0, 0), CSize(30, 30));
    m_harness.Script()
        .MouseMove(At(m_left, 12, 12))
        .MouseUp(enMouseButton::Left, At(m_left, 12, 12));
    DragFromLeft();
    EXPECT_EQ(m_left.m_lastDrag, DROPEFFECT_NONE);
    EXPECT_TRUE(m_log.empty());
    EXPECT_EQ(GetCapture(), nullptr);

    m_harness.Script()
        .MouseMove(At(m_left, 12, 12))
        .MouseMove(At(m_right, 5, 5))
        .MouseUp(enMouseButton::Left, At(m_right, 5, 5));
    DragFromLeft();
    EXPECT_EQ(m_left.m_lastDrag, DROPEFFECT_MOVE);
    EXPECT_EQ(m_right.m_text, "alpha");
}

TEST_F(OleTest, ADataSourceOnTheClipboardReadsBackThroughADataObject)
{
    auto* pSource = new COleDataSource;
    pSource->CacheGlobalData(CF_TEXT, TextBlock("1\t2\n3\t4"));
    pSource->SetClipboard(); // the clipboard owns it now
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));

    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
    EXPECT_FALSE(data.IsDataAvailable(CF_DIB));
    EXPECT_EQ(TextOf(data.GetGlobalData(CF_TEXT)), "1\t2\n3\t4");
    EXPECT_EQ(data.GetGlobalData(CF_DIB), nullptr);
    data.BeginEnumFormats();
    FORMATETC format{};
    ASSERT_TRUE(data.GetNextFormat(&format));
    EXPECT_EQ(format.cfFormat, CF_TEXT);
    EXPECT_FALSE(data.GetNextFormat(&format));
}
} // namespace
