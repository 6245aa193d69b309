// The status bar's parts as drawn: each drawing kind's border, owner-drawn
// parts drawn by the parent with their data, and the size grip the last part
// stops before.
#include "UserTestSupport.h"

#include "WinBars.h"
#include "WinGdi.h"

#include <vector>

namespace
{
constexpr int kStatusId = 61;

class StatusBarPartsTest : public UserTest
{
protected:
    StatusBarPartsTest()
    {
        m_hParent = CreateTopLevel(RECT{100, 100, 500, 300});
        SetHandler(m_hParent,
                   [this](HWND, UINT nMsg, WPARAM, LPARAM lParam) -> std::optional<LRESULT>
                   {
                       if (nMsg != WM_DRAWITEM)
                           return std::nullopt;
                       const auto* pDraw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                       m_drawn.push_back(*pDraw);
                       const HBRUSH hBrush = CreateSolidBrush(RGB(0, 0, 200));
                       FillRect(pDraw->hDC, &pDraw->rcItem, hBrush);
                       DeleteObject(hBrush);
                       return TRUE;
                   });
    }

    HWND Create(DWORD dwStyle)
    {
        const HWND hStatus = CreateWindowExA(
            0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | dwStyle, 0, 0, 0, 0, m_hParent,
            reinterpret_cast<HMENU>(UINT_PTR(kStatusId)), nullptr, nullptr);
        SendMessageA(hStatus, WM_SIZE, 0, 0);
        const int edges[] = {100, 200, 300, -1};
        SendMessageA(hStatus, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
        return hStatus;
    }

    static RECT PartRect(HWND hStatus, int nPart)
    {
        RECT rc{};
        SendMessageA(hStatus, SB_GETRECT, nPart, reinterpret_cast<LPARAM>(&rc));
        return rc;
    }

    HWND m_hParent = nullptr;
    std::vector<DRAWITEMSTRUCT> m_drawn;
};

TEST_F(StatusBarPartsTest, EachDrawingKindHasItsBorder)
{
    const HWND hStatus = Create(0);
    SendMessageA(hStatus, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("sunken"));
    SendMessageA(hStatus, SB_SETTEXTA, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>("raised"));
    SendMessageA(hStatus, SB_SETTEXTA, 2 | SBT_NOBORDERS, reinterpret_cast<LPARAM>("plain"));
    UpdateWindow(hStatus);
    const WindowPicture picture = ClientPicture(hStatus);
    const struct
    {
        int nPart;
        int nLeft; // the border's colour on the left and on the right
        int nRight;
    } cases[] = {{0, COLOR_3DSHADOW, COLOR_3DHILIGHT},
                 {1, COLOR_3DLIGHT, COLOR_3DDKSHADOW},
                 {2, COLOR_BTNFACE, COLOR_BTNFACE}};
    for (const auto& c : cases)
    {
        const RECT rc = PartRect(hStatus, c.nPart);
        EXPECT_EQ(picture.GetPixel(rc.left, rc.top + 3), SurfacePixel(GetSysColor(c.nLeft)))
            << c.nPart;
        EXPECT_EQ(picture.GetPixel(rc.right - 1, rc.top + 3), SurfacePixel(GetSysColor(c.nRight)))
            << c.nPart;
    }
}

TEST_F(StatusBarPartsTest, AnOwnerDrawnPartIsDrawnByTheParentWithItsData)
{
    const HWND hStatus = Create(0);
    SendMessageA(hStatus, SB_SETTEXTA, 1 | SBT_OWNERDRAW, 0x5EED);
    UpdateWindow(hStatus);
    ASSERT_EQ(m_drawn.size(), 1U);
    EXPECT_EQ(m_drawn[0].CtlID, UINT(kStatusId));
    EXPECT_EQ(m_drawn[0].itemID, 1U);
    EXPECT_EQ(m_drawn[0].itemData, ULONG_PTR(0x5EED));
    EXPECT_EQ(m_drawn[0].hwndItem, hStatus);
    // Inside the part's border.
    const RECT part = PartRect(hStatus, 1);
    EXPECT_GT(m_drawn[0].rcItem.left, part.left);
    EXPECT_LT(m_drawn[0].rcItem.right, part.right);
    EXPECT_EQ(SendMessageA(hStatus, SB_GETTEXTA, 1, 0), 0x5EED);
    const WindowPicture picture = ClientPicture(hStatus);
    EXPECT_EQ(picture.GetPixel((part.left + part.right) / 2, (part.top + part.bottom) / 2),
              SurfacePixel(RGB(0, 0, 200)));
}

TEST_F(StatusBarPartsTest, TheLastPartStopsBeforeTheSizeGrip)
{
    const HWND hPlain = Create(0);
    const RECT plain = PartRect(hPlain, 3);
    DestroyWindow(hPlain);
    const HWND hStatus = Create(SBARS_SIZEGRIP);
    SendMessageA(hStatus, SB_SETTEXTA, 3, reinterpret_cast<LPARAM>("last"));
    UpdateWindow(hStatus);
    const RECT last = PartRect(hStatus, 3);
    EXPECT_EQ(plain.right - last.right, GetSystemMetrics(SM_CXVSCROLL));
    RECT client{};
    GetClientRect(hStatus, &client);
    // The grip's ridges lie in the corner.
    const WindowPicture picture = ClientPicture(hStatus);
    int nRidge = 0;
    for (int y = client.bottom - GetSystemMetrics(SM_CXVSCROLL); y < client.bottom; ++y)
        for (int x = last.right; x < client.right; ++x)
            nRidge += picture.GetPixel(x, y) != SurfacePixel(GetSysColor(COLOR_BTNFACE));
    EXPECT_GT(nRidge, 4);
    SaveWindowPicture(hStatus, (testing::TempDir() + "status-grip.bmp").c_str());
}
} // namespace
