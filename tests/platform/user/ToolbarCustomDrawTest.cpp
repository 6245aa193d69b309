// The toolbar's custom drawing: the item states its parent is told and the
// item-prepaint answers that keep parts of the default drawing, seen in the
// pixels of a checked button and of the hot one.
#include "UserTestSupport.h"

#include "WinBars.h"
#include "WinGdi.h"
#include "WinImageList.h"

#include <vector>

namespace
{
constexpr int kToolbarId = 51;
constexpr COLORREF kImage = RGB(200, 0, 0);
constexpr COLORREF kHotTrack = RGB(0, 160, 0);

class ToolbarCustomDrawTest : public UserTest
{
protected:
    ToolbarCustomDrawTest()
    {
        m_hParent = CreateTopLevel(RECT{100, 100, 400, 200});
        SetHandler(m_hParent,
                   [this](HWND, UINT nMsg, WPARAM, LPARAM lParam) -> std::optional<LRESULT>
                   {
                       if (nMsg != WM_NOTIFY ||
                           reinterpret_cast<const NMHDR*>(lParam)->code != NM_CUSTOMDRAW)
                           return std::nullopt;
                       auto* pDraw = reinterpret_cast<NMTBCUSTOMDRAW*>(lParam);
                       if (pDraw->nmcd.dwDrawStage == CDDS_PREPAINT)
                           return CDRF_NOTIFYITEMDRAW;
                       m_states.push_back({pDraw->nmcd.dwItemSpec, pDraw->nmcd.uItemState});
                       pDraw->clrHighlightHotTrack = kHotTrack;
                       return m_nItemAnswer;
                   });
        m_hToolbar = CreateWindowExA(
            0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 300, 30,
            m_hParent, reinterpret_cast<HMENU>(UINT_PTR(kToolbarId)), nullptr, nullptr);
        m_hImages = ImageList_Create(16, 15, ILC_COLOR24, 1, 1);
        const HDC hdcScreen = GetDC(nullptr);
        const HBITMAP hBitmap = CreateCompatibleBitmap(hdcScreen, 16, 15);
        ReleaseDC(nullptr, hdcScreen);
        const HDC hdc = CreateCompatibleDC(nullptr);
        const HGDIOBJ hOld = SelectObject(hdc, hBitmap);
        const RECT rc{0, 0, 16, 15};
        const HBRUSH hBrush = CreateSolidBrush(kImage);
        FillRect(hdc, &rc, hBrush);
        DeleteObject(hBrush);
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        ImageList_Add(m_hImages, hBitmap, nullptr);
        DeleteObject(hBitmap);
        SendMessageA(m_hToolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_hImages));
        const TBBUTTON buttons[] = {
            {0, 201, TBSTATE_ENABLED | TBSTATE_CHECKED, TBSTYLE_CHECK, {}, 0, 0},
            {0, 202, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
            {0, 203, TBSTATE_ENABLED | TBSTATE_INDETERMINATE, TBSTYLE_BUTTON, {}, 0, 0},
        };
        SendMessageA(m_hToolbar, TB_ADDBUTTONS, std::size(buttons),
                     reinterpret_cast<LPARAM>(buttons));
        m_harness.PumpPending();
    }

    ~ToolbarCustomDrawTest() override
    {
        DestroyWindow(m_hToolbar);
        ImageList_Destroy(m_hImages);
    }

    RECT ItemRect(int nIndex) const
    {
        RECT rc{};
        SendMessageA(m_hToolbar, TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&rc));
        return rc;
    }

    WindowPicture Draw(UINT nAnswer)
    {
        m_nItemAnswer = nAnswer;
        m_states.clear();
        InvalidateRect(m_hToolbar, nullptr, TRUE);
        UpdateWindow(m_hToolbar);
        return ClientPicture(m_hToolbar);
    }

    HWND m_hParent = nullptr;
    HWND m_hToolbar = nullptr;
    HIMAGELIST m_hImages = nullptr;
    LRESULT m_nItemAnswer = CDRF_DODEFAULT;
    std::vector<std::pair<DWORD_PTR, UINT>> m_states;
};

TEST_F(ToolbarCustomDrawTest, TheParentIsToldEachButtonsState)
{
    const RECT hot = ItemRect(1);
    m_harness.MouseMove(CUiHarness::ScreenPoint(m_hToolbar, hot.left + 3, hot.top + 3));
    m_harness.PumpPending();
    Draw(CDRF_DODEFAULT);
    EXPECT_EQ(m_states, (std::vector<std::pair<DWORD_PTR, UINT>>{
                            {201, CDIS_CHECKED}, {202, CDIS_HOT}, {203, CDIS_INDETERMINATE}}));
}

TEST_F(ToolbarCustomDrawTest, ItemAnswersLeaveOutEdgesOffsetAndCheckedFace)
{
    const RECT rc = ItemRect(0);
    // The checked button's image sits one pixel right and down unless told not to.
    const int xImage = rc.left + (rc.right - rc.left - 16) / 2;
    const int yImage = rc.top + (rc.bottom - rc.top - 15) / 2;
    const std::uint32_t face = SurfacePixel(GetSysColor(COLOR_BTNFACE));
    const std::uint32_t shadow = SurfacePixel(GetSysColor(COLOR_BTNSHADOW));
    const std::uint32_t image = SurfacePixel(kImage);
    const struct
    {
        UINT nAnswer;
        bool bEdge;      // the sunken edge's shadow at the top left
        bool bLightFace; // the checked button's lighter face
        bool bOffset;    // the image moved by a pixel
    } cases[] = {
        {CDRF_DODEFAULT, true, true, true},
        {TBCDRF_NOEDGES, false, true, true},
        {TBCDRF_NOBACKGROUND, true, false, true},
        {TBCDRF_NOOFFSET, true, true, false},
        {TBCDRF_NOEDGES | TBCDRF_NOBACKGROUND | TBCDRF_NOOFFSET, false, false, false},
    };
    for (const auto& c : cases)
    {
        const WindowPicture picture = Draw(c.nAnswer);
        EXPECT_EQ(picture.GetPixel(rc.left, rc.top + 4) == shadow, c.bEdge) << c.nAnswer;
        EXPECT_EQ(picture.GetPixel(rc.left + 2, rc.top + 2) != face, c.bLightFace) << c.nAnswer;
        EXPECT_EQ(picture.GetPixel(xImage, yImage) != image, c.bOffset) << c.nAnswer;
        EXPECT_EQ(picture.GetPixel(xImage + 1, yImage + 1), image) << c.nAnswer;
    }
}

TEST_F(ToolbarCustomDrawTest, HotTrackHighlightFillsTheHotButtonInTheParentsColour)
{
    const RECT hot = ItemRect(1);
    m_harness.MouseMove(CUiHarness::ScreenPoint(m_hToolbar, hot.left + 3, hot.top + 3));
    m_harness.PumpPending();
    EXPECT_NE(Draw(CDRF_DODEFAULT).GetPixel(hot.left + 1, hot.top + 1), SurfacePixel(kHotTrack));
    const WindowPicture picture = Draw(TBCDRF_HILITEHOTTRACK);
    EXPECT_EQ(picture.GetPixel(hot.left + 1, hot.top + 1), SurfacePixel(kHotTrack));
    const RECT other = ItemRect(2);
    EXPECT_NE(picture.GetPixel(other.left + 1, other.top + 1), SurfacePixel(kHotTrack));
    SaveWindowPicture(m_hToolbar, (testing::TempDir() + "toolbar-hot-track.bmp").c_str());
}
} // namespace
