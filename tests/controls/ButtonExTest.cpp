// The owner-drawn button with icons, flat mode and colours: its edges in
// each state, icons and text, the hover state by scripted mouse moves, and
// the settings that keep or free what it owns.
#include "ButtonEx.h"
#include "ControlTestSupport.h"
#include "DibTestHelpers.h"

namespace
{
constexpr UINT kButtonId = 11;

class CProbeButtonEx : public CButtonEx
{
public:
    using CButtonEx::m_hIconIn;
    using CButtonEx::m_hIconOut;
    using CButtonEx::m_MouseOnButton;
    using CButtonEx::m_nAlign;
};

class ButtonExTest : public testing::Test
{
protected:
    ButtonExTest()
    {
        m_button.Create("Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 20, 120, 60),
                        &m_parent, kButtonId);
        m_harness.PumpPending();
    }

    // The button drawn in a state into a surface of its own size.
    WindowPicture Draw(UINT nState)
    {
        MemorySurface surface(100, 40, RGB(255, 0, 255));
        DRAWITEMSTRUCT dis{
            ODT_BUTTON,   kButtonId,           0, ODA_DRAWENTIRE, nState, m_button.m_hWnd,
            surface.Dc(), RECT{0, 0, 100, 40}, 0};
        m_button.DrawItem(&dis);
        return PictureOfDC(surface.Dc(), 100, 40);
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_parent;
    CProbeButtonEx m_button;
};

const std::uint32_t kFace = PixelOf(GetSysColor(COLOR_BTNFACE));
const std::uint32_t kHighlight = PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT));
const std::uint32_t kShadow = PixelOf(GetSysColor(COLOR_BTNSHADOW));

TEST_F(ButtonExTest, BecomesOwnerDrawnKeepingItsOtherStyles)
{
    EXPECT_EQ(m_button.GetStyle() & BS_TYPEMASK, DWORD(BS_OWNERDRAW));
    EXPECT_TRUE(m_button.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(CButtonEx::GetVersionI(), 23);
    EXPECT_STREQ(CButtonEx::GetVersionC(), "2.3");
}

TEST_F(ButtonExTest, EdgesFollowTheFlatModeTheHoverAndThePress)
{
    struct Case
    {
        const char* pszName;
        BOOL bFlat;
        int bHot;
        BOOL bBorder;
        UINT nState;
        std::uint32_t left;   // at (0, 20)
        std::uint32_t top;    // at (50, 0)
        std::uint32_t bottom; // at (50, 39)
        std::uint32_t right;  // at (99, 20)
    };
    const Case cases[] = {
        {"flat at rest: no edge", TRUE, 0, TRUE, 0, kFace, kFace, kFace, kFace},
        {"flat and hot: raised", TRUE, 1, TRUE, 0, kHighlight, kHighlight, kShadow, kShadow},
        {"flat and pressed: sunken", TRUE, 1, TRUE, ODS_SELECTED, kShadow, kShadow, kHighlight,
         kHighlight},
        {"flat and hot without border", TRUE, 1, FALSE, 0, kFace, kFace, kFace, kFace},
        {"flat and pressed without border", TRUE, 1, FALSE, ODS_SELECTED, kFace, kFace, kFace,
         kFace},
        {"raised at rest", FALSE, 0, TRUE, 0, kHighlight, kHighlight,
         PixelOf(GetSysColor(COLOR_3DDKSHADOW)), PixelOf(GetSysColor(COLOR_3DDKSHADOW))},
        {"pressed: a shadow frame", FALSE, 0, TRUE, ODS_SELECTED, kShadow, kShadow, kShadow,
         kShadow},
    };
    for (const Case& c : cases)
    {
        m_button.SetFlat(c.bFlat);
        m_button.DrawBorder(c.bBorder);
        m_button.m_MouseOnButton = c.bHot;
        const WindowPicture picture = Draw(c.nState);
        EXPECT_EQ(picture.GetPixel(0, 20), c.left) << c.pszName;
        EXPECT_EQ(picture.GetPixel(50, 0), c.top) << c.pszName;
        EXPECT_EQ(picture.GetPixel(50, 39), c.bottom) << c.pszName;
        EXPECT_EQ(picture.GetPixel(99, 20), c.right) << c.pszName;
    }
    m_button.m_MouseOnButton = 0;
}

TEST_F(ButtonExTest, FocusFramesAButtonThatIsNotFlat)
{
    m_button.SetFlat(FALSE);
    const WindowPicture picture = Draw(ODS_FOCUS);
    EXPECT_EQ(picture.GetPixel(0, 20), 0u) << "a black frame";
    EXPECT_EQ(picture.GetPixel(1, 20), kHighlight) << "the edges inside it";
    int nDots = 0;
    for (int y = 5; y < 35; ++y)
        nDots += picture.GetPixel(4, y) != kFace ? 1 : 0;
    EXPECT_GT(nDots, 8) << "a dotted focus rectangle";
}

TEST_F(ButtonExTest, ColoursFollowTheActiveState)
{
    m_button.SetInactiveBgColor(RGB(0, 0, 128));
    m_button.SetActiveBgColor(RGB(0, 128, 0));
    m_button.SetActiveFgColor(RGB(255, 255, 0));
    EXPECT_EQ(m_button.GetActiveFgColor(), RGB(255, 255, 0));
    EXPECT_EQ(Draw(0).GetPixel(10, 20), PixelOf(RGB(0, 0, 128)));
    m_button.m_MouseOnButton = 1;
    const WindowPicture hot = Draw(0);
    EXPECT_EQ(hot.GetPixel(10, 20), PixelOf(RGB(0, 128, 0)));
    EXPECT_GT(CountPixels(hot, CRect(30, 5, 70, 35), RGB(255, 255, 0)), 5) << "the text";
    m_button.m_MouseOnButton = 0;
    m_button.SetDefaultActiveBgColor();
    m_button.m_MouseOnButton = 1;
    EXPECT_EQ(Draw(0).GetPixel(10, 20), kFace);
    m_button.m_MouseOnButton = 0;
}

TEST_F(ButtonExTest, DisabledTextIsEmbossedNotInItsColour)
{
    m_button.SetInactiveFgColor(RGB(200, 0, 0));
    const WindowPicture enabled = Draw(0);
    EXPECT_GT(CountPixels(enabled, CRect(0, 0, 100, 40), RGB(200, 0, 0)), 5);
    const WindowPicture disabled = Draw(ODS_DISABLED);
    EXPECT_EQ(CountPixels(disabled, CRect(0, 0, 100, 40), RGB(200, 0, 0)), 0);
    EXPECT_GT(CountPixels(disabled, CRect(30, 5, 70, 35), GetSysColor(COLOR_BTNSHADOW)), 5);
    EXPECT_GT(CountPixels(disabled, CRect(30, 5, 70, 35), GetSysColor(COLOR_BTNHIGHLIGHT)), 5);
}

TEST_F(ButtonExTest, IconsShowByStateAndPlace)
{
    const HICON hHot = MakeSolidIcon(RGB(255, 0, 0));
    const HICON hNormal = MakeSolidIcon(RGB(0, 0, 255));
    m_button.SetIcon(hHot, hNormal, 16, 16);
    // Left of the text, 3 pixels in, centred vertically.
    WindowPicture picture = Draw(0);
    EXPECT_EQ(CountPixels(picture, CRect(3, 12, 19, 28), RGB(0, 0, 255)), 16 * 16);
    m_button.m_MouseOnButton = 1;
    picture = Draw(ODS_SELECTED);
    EXPECT_EQ(CountPixels(picture, CRect(4, 13, 20, 29), RGB(255, 0, 0)), 16 * 16)
        << "the hot icon, pressed in by a pixel";
    m_button.m_MouseOnButton = 0;
    m_button.SetAlign(1);
    m_button.SetAlign(2);
    EXPECT_EQ(m_button.m_nAlign, 1) << "an unknown alignment keeps the last";
    picture = Draw(0);
    EXPECT_EQ(CountPixels(picture, CRect(42, 3, 58, 19), RGB(0, 0, 255)), 16 * 16)
        << "above the text, centred";
    picture = Draw(ODS_DISABLED);
    EXPECT_EQ(CountPixels(picture, CRect(0, 0, 100, 40), RGB(0, 0, 255)), 0) << "embossed";
    m_button.SetShowText(FALSE);
    picture = Draw(0);
    EXPECT_EQ(CountPixels(picture, CRect(42, 12, 58, 28), RGB(0, 0, 255)), 16 * 16)
        << "without text, in the middle";
}

TEST_F(ButtonExTest, IconSettingsShareOrClearTheIcons)
{
    m_button.SetIcon(MakeSolidIcon(RGB(255, 0, 0)), nullptr, 16, 16);
    EXPECT_NE(m_button.m_hIconIn, nullptr);
    EXPECT_EQ(m_button.m_hIconOut, m_button.m_hIconIn) << "the hot icon serves for both";
    m_button.SetIcon(0, 0);
    EXPECT_EQ(m_button.m_hIconIn, nullptr);
    EXPECT_EQ(m_button.m_hIconOut, nullptr);
    m_button.SetIcon(nullptr, MakeSolidIcon(RGB(0, 0, 255)));
    EXPECT_EQ(m_button.m_hIconIn, nullptr) << "no hot icon clears both";
    EXPECT_EQ(m_button.m_hIconOut, nullptr);
    EXPECT_TRUE(m_button.SetBtnCursor(-1));
    EXPECT_FALSE(m_button.SetBtnCursor(4321)) << "no such cursor resource";
}

TEST_F(ButtonExTest, FlatButtonIsHotWhileTheMouseIsOverIt)
{
    m_harness.MouseMove(CUiHarness::ScreenPoint(m_button.m_hWnd, 10, 10));
    m_harness.PumpPending();
    EXPECT_EQ(m_button.m_MouseOnButton, 1);
    EXPECT_EQ(::GetCapture(), m_button.m_hWnd);
    m_harness.MouseMove(CUiHarness::ScreenPoint(m_button.m_hWnd, 30, 20));
    m_harness.PumpPending();
    EXPECT_EQ(m_button.m_MouseOnButton, 1);
    m_harness.MouseMove(CUiHarness::ScreenPoint(m_button.m_hWnd, 150, 20));
    m_harness.PumpPending();
    EXPECT_EQ(m_button.m_MouseOnButton, 0);
    EXPECT_EQ(::GetCapture(), nullptr);

    m_harness.MouseMove(CUiHarness::ScreenPoint(m_button.m_hWnd, 10, 10));
    m_harness.PumpPending();
    m_button.SetFocus();
    m_parent.SetFocus();
    EXPECT_EQ(m_button.m_MouseOnButton, 0) << "losing the focus cools it";

    m_button.SetFlat(FALSE);
    m_harness.MouseMove(CUiHarness::ScreenPoint(m_button.m_hWnd, 150, 20));
    m_harness.MouseMove(CUiHarness::ScreenPoint(m_button.m_hWnd, 10, 10));
    m_harness.PumpPending();
    EXPECT_EQ(m_button.m_MouseOnButton, 0) << "only a flat button gets hot";
}

TEST_F(ButtonExTest, CaptureTakenAwayLeavesTheNewHolderAlone)
{
    m_harness.MouseMove(CUiHarness::ScreenPoint(m_button.m_hWnd, 10, 10));
    m_harness.PumpPending();
    ASSERT_EQ(::GetCapture(), m_button.m_hWnd);
    m_parent.SetCapture();
    EXPECT_EQ(::GetCapture(), m_parent.m_hWnd);
    EXPECT_EQ(m_button.m_MouseOnButton, 1) << "hot until the mouse moves out";
    ::ReleaseCapture();
}
} // namespace
