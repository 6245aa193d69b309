// The column header on its own: the notification table of a divider drag
// (with full drag and without), the steps a parent can refuse, clicks and
// double clicks, and bitmaps beside the text.
#include "UserTestSupport.h"

#include "WinListView.h"
#include "WinModule.h"

#include <string>
#include <vector>

namespace
{
constexpr int kHeaderId = 52;

struct HeaderHeard
{
    UINT code;
    int iItem;
    int cxy; // -1 without a width in the record
};

bool operator==(const HeaderHeard& a, const HeaderHeard& b)
{
    return a.code == b.code && a.iItem == b.iItem && a.cxy == b.cxy;
}

std::ostream& operator<<(std::ostream& out, const HeaderHeard& heard)
{
    return out << "{" << -static_cast<int>(heard.code) << ", " << heard.iItem << ", " << heard.cxy
               << "}";
}

class HeaderTest : public UserTest
{
protected:
    HeaderTest()
    {
        m_hParent = CreateTopLevel(RECT{50, 50, 450, 150});
        SetHandler(m_hParent,
                   [this](HWND, UINT nMsg, WPARAM, LPARAM lParam) -> std::optional<LRESULT>
                   {
                       if (nMsg != WM_NOTIFY)
                           return std::nullopt;
                       const auto& header = *reinterpret_cast<const NMHEADERA*>(lParam);
                       const bool bWidth =
                           header.pitem != nullptr && (header.pitem->mask & HDI_WIDTH);
                       m_heard.push_back(HeaderHeard{header.hdr.code, header.iItem,
                                                     bWidth ? header.pitem->cxy : -1});
                       return header.hdr.code == m_nRefused ? TRUE : FALSE;
                   });
        m_harness.PumpPending();
    }

    HWND CreateHeader(DWORD dwStyle)
    {
        const HWND hHeader = CreateWindowExA(
            0, WC_HEADERA, "", WS_CHILD | WS_VISIBLE | dwStyle, 0, 0, 400, 24, m_hParent,
            reinterpret_cast<HMENU>(kHeaderId), GetModuleHandleA(nullptr), nullptr);
        for (int i = 0; i < 3; ++i)
        {
            HDITEMA item{};
            item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
            item.cxy = 100;
            item.fmt = HDF_STRING | HDF_LEFT;
            item.pszText = const_cast<LPSTR>(i == 0 ? "First" : (i == 1 ? "Second" : "Third"));
            SendMessageA(hHeader, HDM_INSERTITEMA, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&item));
        }
        m_harness.PumpPending();
        m_heard.clear();
        return hHeader;
    }

    static int Width(HWND hHeader, int nItem)
    {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        SendMessageA(hHeader, HDM_GETITEMA, static_cast<WPARAM>(nItem),
                     reinterpret_cast<LPARAM>(&item));
        return item.cxy;
    }

    // Drags the divider right of item 0 (at x 100) to x 100 + dx in two moves.
    void DragFirstDivider(HWND hHeader, int dx)
    {
        m_harness.MouseDown(enMouseButton::Left, CUiHarness::ScreenPoint(hHeader, 100, 10));
        m_harness.MouseMove(CUiHarness::ScreenPoint(hHeader, 100 + dx / 2, 10));
        m_harness.MouseMove(CUiHarness::ScreenPoint(hHeader, 100 + dx, 10));
        m_harness.MouseUp(enMouseButton::Left, CUiHarness::ScreenPoint(hHeader, 100 + dx, 10));
        m_harness.PumpPending();
    }

    HWND m_hParent = nullptr;
    std::vector<HeaderHeard> m_heard;
    UINT m_nRefused = 0;
};

struct DragCase
{
    const char* name;
    DWORD dwStyle;
    UINT nRefused;
    std::vector<HeaderHeard> heard;
    int nFinalWidth;
};

class HeaderDrag : public HeaderTest, public ::testing::WithParamInterface<DragCase>
{
};

TEST_P(HeaderDrag, NotificationsFollowTheTable)
{
    const DragCase& c = GetParam();
    m_nRefused = c.nRefused;
    const HWND hHeader = CreateHeader(HDS_BUTTONS | c.dwStyle);
    DragFirstDivider(hHeader, 40);
    EXPECT_EQ(m_heard, c.heard);
    EXPECT_EQ(Width(hHeader, 0), c.nFinalWidth);
    EXPECT_EQ(Width(hHeader, 1), 100);
}

INSTANTIATE_TEST_SUITE_P(
    Header, HeaderDrag,
    ::testing::Values(
        DragCase{"FullDrag",
                 HDS_FULLDRAG,
                 0,
                 {{HDN_BEGINTRACKA, 0, 100},
                  {HDN_TRACKA, 0, 120},
                  {HDN_ITEMCHANGINGA, 0, 120},
                  {HDN_ITEMCHANGEDA, 0, 120},
                  {HDN_TRACKA, 0, 140},
                  {HDN_ITEMCHANGINGA, 0, 140},
                  {HDN_ITEMCHANGEDA, 0, 140},
                  {HDN_ENDTRACKA, 0, 140}},
                 140},
        DragCase{"OutlineOnly",
                 0,
                 0,
                 {{HDN_BEGINTRACKA, 0, 100},
                  {HDN_TRACKA, 0, 120},
                  {HDN_TRACKA, 0, 140},
                  {HDN_ENDTRACKA, 0, 140},
                  {HDN_ITEMCHANGINGA, 0, 140},
                  {HDN_ITEMCHANGEDA, 0, 140}},
                 140},
        DragCase{"BeginRefused", HDS_FULLDRAG, HDN_BEGINTRACKA, {{HDN_BEGINTRACKA, 0, 100}}, 100},
        DragCase{"ChangeRefused",
                 0,
                 HDN_ITEMCHANGINGA,
                 {{HDN_BEGINTRACKA, 0, 100},
                  {HDN_TRACKA, 0, 120},
                  {HDN_TRACKA, 0, 140},
                  {HDN_ENDTRACKA, 0, 140},
                  {HDN_ITEMCHANGINGA, 0, 140}},
                 100},
        DragCase{"EndRefusedGoesBack",
                 HDS_FULLDRAG,
                 HDN_ENDTRACKA,
                 {{HDN_BEGINTRACKA, 0, 100},
                  {HDN_TRACKA, 0, 120},
                  {HDN_ITEMCHANGINGA, 0, 120},
                  {HDN_ITEMCHANGEDA, 0, 120},
                  {HDN_TRACKA, 0, 140},
                  {HDN_ITEMCHANGINGA, 0, 140},
                  {HDN_ITEMCHANGEDA, 0, 140},
                  {HDN_ENDTRACKA, 0, 140},
                  {HDN_ITEMCHANGINGA, 0, 100},
                  {HDN_ITEMCHANGEDA, 0, 100}},
                 100}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HeaderTest, ClicksAndDoubleClicksNameTheirItemOrDivider)
{
    const HWND hHeader = CreateHeader(HDS_BUTTONS);
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(hHeader, 150, 10));
    m_harness.PumpPending();
    ASSERT_EQ(m_heard.size(), 1U);
    EXPECT_EQ(m_heard[0], (HeaderHeard{HDN_ITEMCLICKA, 1, -1}));
    // A press that leaves its item before the release is no click.
    m_heard.clear();
    m_harness.AdvanceClock(1000);
    m_harness.MouseDown(enMouseButton::Left, CUiHarness::ScreenPoint(hHeader, 150, 10));
    m_harness.MouseMove(CUiHarness::ScreenPoint(hHeader, 250, 10));
    m_harness.MouseUp(enMouseButton::Left, CUiHarness::ScreenPoint(hHeader, 250, 10));
    m_harness.PumpPending();
    EXPECT_EQ(m_heard, std::vector<HeaderHeard>{});
    m_heard.clear();
    SendMessageA(hHeader, WM_LBUTTONDBLCLK, 0, MAKELPARAM(250, 10));
    SendMessageA(hHeader, WM_LBUTTONDBLCLK, 0, MAKELPARAM(199, 10));
    EXPECT_EQ(m_heard, (std::vector<HeaderHeard>{{HDN_ITEMDBLCLICKA, 2, -1},
                                                 {HDN_DIVIDERDBLCLICKA, 1, -1}}));
}

TEST_F(HeaderTest, BitmapsSitBesideTheTextOnTheSideAsked)
{
    const HWND hHeader = CreateHeader(HDS_BUTTONS);
    HDC hScreen = GetDC(nullptr);
    HBITMAP hArrow = CreateCompatibleBitmap(hScreen, 16, 16);
    HDC hMem = CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = SelectObject(hMem, hArrow);
    const RECT all{0, 0, 16, 16};
    HBRUSH hBlue = CreateSolidBrush(RGB(0, 0, 200));
    FillRect(hMem, &all, hBlue);
    SelectObject(hMem, hOld);
    DeleteDC(hMem);
    ReleaseDC(nullptr, hScreen);
    for (int i = 0; i < 2; ++i)
    {
        HDITEMA item{};
        item.mask = HDI_FORMAT | HDI_BITMAP;
        item.fmt = HDF_STRING | HDF_BITMAP | (i == 1 ? HDF_BITMAP_ON_RIGHT : 0);
        item.hbm = hArrow;
        SendMessageA(hHeader, HDM_SETITEMA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
    }
    HDITEMA back{};
    back.mask = HDI_BITMAP | HDI_FORMAT;
    SendMessageA(hHeader, HDM_GETITEMA, 1, reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(back.hbm, hArrow);
    EXPECT_TRUE(back.fmt & HDF_BITMAP_ON_RIGHT);
    m_harness.PumpPending();
    const WindowPicture picture = ClientPicture(hHeader);
    const std::uint32_t blue = SurfacePixel(RGB(0, 0, 200));
    const auto blueColumns = [&](int x0, int x1)
    {
        std::vector<int> columns;
        for (int x = x0; x < x1; ++x)
            if (picture.GetPixel(x, 12) == blue)
                columns.push_back(x);
        return columns;
    };
    const std::vector<int> left = blueColumns(0, 100);
    ASSERT_EQ(left.size(), 16U);
    EXPECT_LT(left.front(), 20) << "on the left of the first item";
    const std::vector<int> right = blueColumns(100, 200);
    ASSERT_EQ(right.size(), 16U);
    EXPECT_GT(right.front(), 170) << "on the right of the second item";
    EXPECT_TRUE(blueColumns(200, 300).empty());
    const std::string path = std::string(SUITE_OUTPUT_DIR) + "/header-bitmaps.bmp";
    SaveWindowPicture(m_hParent, path.c_str());
    DestroyWindow(hHeader);
    DeleteObject(hArrow);
    DeleteObject(hBlue);
}
} // namespace
