// CImagePad: the cell grid (a 1 x 1 grid growing by the gaps), the parts of
// a cell and the hit codes, paging, selection and its notifications, the
// DIBs it owns freed when replaced or removed, and a picture of a pad.
#include "ImagePad.h"

#include "ControlPictures.h"
#include "DibTestHelpers.h"
#include "WinListView.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace
{
constexpr UINT kPadId = 5001;

// A parent that records the pad's notifications as (code, item).
class CPadParent : public CTestParent
{
public:
    using CTestParent::CTestParent;
    std::vector<std::pair<int, int>> notes;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        const auto* notify = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (notify->hdr.idFrom == kPadId)
        {
            EXPECT_EQ(notify->iSubItem, -1);
            notes.emplace_back(int(notify->hdr.code), notify->iItem);
            return TRUE;
        }
        return CTestParent::OnNotify(wParam, lParam, pResult);
    }
};

class ImagePadTest : public ::testing::Test
{
protected:
    // Client 400 x 300: cells of 100 x 60 fit 3 columns and 3 rows.
    // Without the page strip the pad pages with a scroll bar.
    void CreatePad(DWORD dwFlagsToRemove = 0)
    {
        m_pad.ModifyFlag(dwFlagsToRemove, 0);
        ASSERT_TRUE(m_pad.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &m_parent, kPadId));
        m_pad.SetLayout(100, 60);
    }

    void AddItems(int nCount)
    {
        for (int i = 0; i < nCount; ++i)
            m_pad.InsertItem(MakeIndexedDib(16, 8), nullptr, DWORD(100 + i),
                             CString(char('A' + i % 26)));
    }

    int Notes(int nCode) const
    {
        int n = 0;
        for (const auto& note : m_parent.notes)
            n += note.first == nCode ? 1 : 0;
        return n;
    }

    CFailOnBlockHarness m_harness;
    CPadParent m_parent{CRect(0, 0, 420, 320)};
    CImagePad m_pad;
};

TEST_F(ImagePadTest, CellsFollowTheGridAndPartsNestInThem)
{
    CreatePad(CImagePad::kPageStrip);
    AddItems(5);
    int nWidth = 0;
    int nHeight = 0;
    int nRows = 0;
    int nColumns = 0;
    m_pad.GetLayout(nWidth, nHeight, nRows, nColumns);
    EXPECT_EQ(nColumns, 3);
    EXPECT_EQ(nRows, 3);
    CRect cell;
    ASSERT_TRUE(m_pad.GetItemRect(4, &cell, CImagePad::enPartCell));
    // Item 4: row 1, column 1; border 1 for cells below 128 pixels.
    EXPECT_EQ(cell.left, 2 + (nWidth + 4 + 2));
    EXPECT_EQ(cell.top, 2 + (nHeight + 4 + 20 + 2));
    EXPECT_EQ(cell.Width(), nWidth + 2);
    EXPECT_EQ(cell.Height(), nHeight + 20 + 2);
    CRect picture;
    CRect label;
    CRect head;
    ASSERT_TRUE(m_pad.GetItemRect(4, &picture, CImagePad::enPartPicture));
    ASSERT_TRUE(m_pad.GetItemRect(4, &label, CImagePad::enPartLabel));
    ASSERT_TRUE(m_pad.GetItemRect(4, &head, CImagePad::enPartHead));
    EXPECT_EQ(picture.top, cell.top + 21);
    EXPECT_EQ(picture.Size(), CSize(nWidth, nHeight));
    EXPECT_EQ(label.Width(), 1 + 24);
    EXPECT_EQ(label.left, cell.left + 1 + (nWidth - 24) / 2);
    EXPECT_EQ(head.Height(), 20);
    EXPECT_FALSE(m_pad.GetItemRect(4, &cell, 9));
    EXPECT_FALSE(m_pad.GetItemRect(7, &cell, CImagePad::enPartCell));

    int nItem = -1;
    CPoint point = label.CenterPoint();
    EXPECT_EQ(m_pad.HitTestEx(&point, nItem), CImagePad::enHitLabel);
    EXPECT_EQ(nItem, 4);
    point = CPoint(head.left + 1, head.top + 1);
    EXPECT_EQ(m_pad.HitTestEx(&point, nItem), CImagePad::enPartHead);
    point = picture.CenterPoint();
    EXPECT_EQ(m_pad.HitTestEx(&point, nItem), CImagePad::enPartPicture);
    ASSERT_TRUE(m_pad.GetItemRect(4, &cell, CImagePad::enPartCell));
    point = CPoint(cell.left, cell.bottom - 1);
    EXPECT_EQ(m_pad.HitTestEx(&point, nItem), CImagePad::enHitCell);
    point = CPoint(399, 299);
    EXPECT_EQ(m_pad.HitTestEx(&point, nItem), CImagePad::enPartNone);
    EXPECT_EQ(nItem, -1);
    m_pad.UpdateWindow();
    DumpPicture(m_parent.GetSafeHwnd(), "imagepad");
}

TEST_F(ImagePadTest, OneByOneGridGrowsByTheGapsAndPagesOneRow)
{
    CreatePad();
    AddItems(3);
    m_pad.SetFixLayout(1, 1);
    int nWidth = 0;
    int nHeight = 0;
    int nRows = 0;
    int nColumns = 0;
    m_pad.GetLayout(nWidth, nHeight, nRows, nColumns);
    CRect client;
    m_pad.GetClientRect(&client);
    EXPECT_EQ(nRows, 1);
    EXPECT_EQ(nColumns, 1);
    // All the room less one gap, the border of the small cells before (1)
    // and the margin, then grown by the gap.
    EXPECT_EQ(nWidth, client.Width() - (4 + 2) - 2 + 4);
    EXPECT_EQ(nHeight, client.Height() - (20 + 4 + 2) - 2 + 4);
    m_pad.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(m_pad.GetTopIndex(), 1);
    m_pad.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    m_pad.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(m_pad.GetTopIndex(), 2) << "clamped to the last item";
    m_pad.SendMessage(WM_VSCROLL, SB_PAGEUP);
    EXPECT_EQ(m_pad.GetTopIndex(), 1);
    m_pad.EnsureVisible(0);
    EXPECT_EQ(m_pad.GetTopIndex(), 0);
}

TEST_F(ImagePadTest, SelectionNotifiesEveryTimeAndClicksSelect)
{
    CreatePad(CImagePad::kPageStrip);
    AddItems(4);
    EXPECT_EQ(m_pad.SetCurSel(2), -1);
    EXPECT_EQ(m_pad.SetCurSel(2), 2);
    EXPECT_EQ(Notes(LVN_ITEMCHANGED), 2) << "the same selection is notified again";
    EXPECT_EQ(m_pad.SetCurSel(9), -1);

    CRect picture;
    ASSERT_TRUE(m_pad.GetItemRect(1, &picture, CImagePad::enPartPicture));
    const POINT at = CUiHarness::ScreenPoint(m_pad.GetSafeHwnd(), picture.CenterPoint().x,
                                             picture.CenterPoint().y);
    m_harness.Click(enMouseButton::Left, at);
    m_harness.PumpPending();
    EXPECT_EQ(m_pad.GetCurSel(), 1);
    ASSERT_FALSE(m_parent.notes.empty());
    EXPECT_EQ(m_parent.notes.back(), std::make_pair(int(NM_CLICK), 1));

    m_pad.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(399, 299));
    EXPECT_EQ(m_parent.notes.back(), std::make_pair(int(NM_RCLICK), -1));
    m_pad.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(picture.left + 1, picture.top + 1));
    EXPECT_EQ(m_parent.notes.back(), std::make_pair(int(NM_DBLCLK), 1));
}

TEST_F(ImagePadTest, EachPadDrawsItsOwnPress)
{
    CreatePad(CImagePad::kPageStrip);
    AddItems(2);
    CTestParent otherParent(CRect(500, 0, 900, 300));
    CImagePad other;
    ASSERT_TRUE(
        other.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &otherParent, kPadId + 1));
    other.SetLayout(100, 60);
    other.InsertItem(MakeIndexedDib(16, 8), nullptr, 0, "Z");
    m_harness.PumpPending();
    // The first pad's selection was the last highlight drawn anywhere.
    m_pad.SetCurSel(0);
    CRect head;
    CRect picture;
    ASSERT_TRUE(other.GetItemRect(0, &head, CImagePad::enPartHead));
    ASSERT_TRUE(other.GetItemRect(0, &picture, CImagePad::enPartPicture));
    // While the button is held on the other pad's item, its head grips are
    // drawn sunken: shadow at the top left.
    COLORREF pressed = 0;
    m_harness.Script()
        .Do([&] { pressed = CClientPixels(other.GetSafeHwnd()).At(head.left + 2, head.top + 8); })
        .MouseUp(enMouseButton::Left,
                 CUiHarness::ScreenPoint(other.GetSafeHwnd(), picture.CenterPoint().x,
                                         picture.CenterPoint().y));
    other.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON,
                      MAKELPARAM(picture.CenterPoint().x, picture.CenterPoint().y));
    EXPECT_EQ(pressed, GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(other.GetCurSel(), 0);
}

TEST_F(ImagePadTest, ItemsKeepDataAndLabelsAndRemoveSelectedMovesBack)
{
    CreatePad(CImagePad::kPageStrip);
    AddItems(4);
    EXPECT_EQ(m_pad.GetItemData(3), 103u);
    EXPECT_EQ(m_pad.GetItemData(4), 0u);
    EXPECT_STREQ(m_pad.GetItemLabel(1), "B");
    EXPECT_STREQ(m_pad.GetItemLabel(-1), "");
    m_pad.SetCurSel(2);
    EXPECT_EQ(m_pad.RemoveSelected(), 2);
    EXPECT_EQ(m_pad.GetItemCount(), 3);
    EXPECT_EQ(m_pad.GetCurSel(), 1);
    EXPECT_EQ(m_pad.GetItemData(2), 103u);
    m_pad.RemoveAll();
    EXPECT_EQ(m_pad.GetItemCount(), 0);
    EXPECT_EQ(m_pad.GetCurSel(), -1);
}

TEST_F(ImagePadTest, ReplacedAndRemovedDibsAreFreedUnlessNotOwned)
{
    CreatePad(CImagePad::kPageStrip);
    HDIB hFirst = MakeIndexedDib(4, 4);
    HPALETTE hPalette = CreateDIBPalette(hFirst);
    ASSERT_EQ(m_pad.InsertItem(hFirst, hPalette, 1, "a"), 0);
    HDIB hSecond = MakeIndexedDib(4, 4);
    // Storing at an index replaces the item there and frees its DIB.
    EXPECT_EQ(m_pad.InsertItem(0, hSecond, nullptr, 2, "b"), 0);
    EXPECT_EQ(GlobalSize(hFirst), 0u) << "freed";
    EXPECT_EQ(m_pad.GetItemData(0), 2u);

    m_pad.SetOwnership(FALSE, FALSE);
    HDIB hKept = MakeIndexedDib(4, 4);
    EXPECT_TRUE(m_pad.SetItem(0, hKept, nullptr, 3, "c"));
    m_pad.RemoveItem(0);
    EXPECT_NE(GlobalSize(hKept), 0u) << "not the pad's";
    EXPECT_NE(GlobalSize(hSecond), 0u);
    DestroyDIB(hKept);
    DestroyDIB(hSecond);
    EXPECT_FALSE(m_pad.SetItem(0, nullptr, nullptr, 0, "x"));
    EXPECT_EQ(m_pad.InsertItem("/no/such/file.bmp", 0, "x"), -1);
}

TEST_F(ImagePadTest, PageStripTakesTheTopOnlyWhenItemsOverflow)
{
    CreatePad();
    ASSERT_NE(m_pad.GetPageStrip(), nullptr);
    AddItems(2);
    EXPECT_FALSE(m_pad.GetPageStrip()->IsWindowVisible());
    CRect first;
    m_pad.GetItemRect(0, &first, CImagePad::enPartCell);
    EXPECT_EQ(first.top, 2);
    AddItems(10);
    EXPECT_TRUE(m_pad.GetPageStrip()->IsWindowVisible());
    m_pad.GetItemRect(0, &first, CImagePad::enPartCell);
    EXPECT_GT(first.top, 20);
}
} // namespace
