// System metrics, colours and parameters; cursors, icons and bitmaps from
// the system and from module resources; the caret.
#include "UserTestSupport.h"

#include "HeadlessBackend.h"
#include "ResourceRegistry.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{
using SystemTest = UserTest;

TEST_F(SystemTest, MetricsDescribeTheVirtualScreenAndKeepTheirRelations)
{
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL));
    EXPECT_GT(GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_GT(GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CXBORDER));
    EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2 * GetSystemMetrics(SM_CXBORDER));
    EXPECT_LT(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CXICON));
    EXPECT_GT(GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CYSIZE));
    EXPECT_GT(GetSystemMetrics(SM_CXDOUBLECLK), 0);
    EXPECT_EQ(GetSystemMetrics(-1), 0);
}

TEST_F(SystemTest, ColoursAndTheirBrushesAgree)
{
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), GetSysColor(COLOR_BTNFACE));
    EXPECT_NE(GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHIGHLIGHT));
    const HBRUSH hFace = GetSysColorBrush(COLOR_3DFACE);
    EXPECT_EQ(GetSysColorBrush(COLOR_3DFACE), hFace);
    LOGBRUSH brush{};
    ASSERT_EQ(GetObjectA(hFace, sizeof(brush), &brush), int(sizeof(brush)));
    EXPECT_EQ(brush.lbColor, GetSysColor(COLOR_3DFACE));
}

TEST_F(SystemTest, NonClientMetricsNameFontsAndFullWindowDragIsOn)
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    EXPECT_GT(std::strlen(metrics.lfMessageFont.lfFaceName), 0u);
    EXPECT_EQ(metrics.lfCaptionFont.lfWeight, FW_BOLD);
    EXPECT_EQ(metrics.iMenuHeight, GetSystemMetrics(SM_CYMENU));
    HFONT hFont = CreateFontIndirectA(&metrics.lfMenuFont);
    EXPECT_NE(hFont, nullptr);
    DeleteObject(hFont);
    BOOL bFull = FALSE;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &bFull, 0));
    EXPECT_TRUE(bFull);
    EXPECT_FALSE(SystemParametersInfoA(0xFFFF, 0, nullptr, 0));
}

TEST_F(SystemTest, SystemCursorsAreSharedAndSetCursorReturnsThePreviousOne)
{
    const HCURSOR hArrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(hArrow, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), hArrow);
    const HCURSOR hWait = LoadCursorA(nullptr, IDC_WAIT);
    EXPECT_NE(hWait, hArrow);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCE(12345)), nullptr);
    SetCursor(hArrow);
    EXPECT_EQ(SetCursor(hWait), hArrow);
    EXPECT_EQ(GetCursor(), hWait);
    EXPECT_EQ(GetHeadlessBackend().GetShownCursor(), hWait);
    CursorImageInfo info{};
    ASSERT_TRUE(GetCursorImageInfo(hWait, &info));
    EXPECT_EQ(info.nSystemId, 32514);
}

TEST_F(SystemTest, ShowCursorCountsAndHidesWhileNegative)
{
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(GetHeadlessBackend().GetShownCursor(), nullptr);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_EQ(GetHeadlessBackend().GetShownCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

// A cursor file: header, one 32 x 32 entry with its hot spot, then a body.
std::array<BYTE, 30> MakeCursorFile(WORD type, WORD hotX, WORD hotY)
{
    std::array<BYTE, 30> bytes{};
    const WORD header[3] = {0, type, 1};
    std::memcpy(bytes.data(), header, sizeof(header));
    bytes[6] = 32;
    bytes[7] = 32;
    std::memcpy(bytes.data() + 10, &hotX, 2);
    std::memcpy(bytes.data() + 12, &hotY, 2);
    const DWORD size = 8;
    const DWORD offset = 22;
    std::memcpy(bytes.data() + 14, &size, 4);
    std::memcpy(bytes.data() + 18, &offset, 4);
    return bytes;
}

TEST_F(SystemTest, ResourceCursorsAndIconsComeFromTheirModule)
{
    static const auto kCursor = MakeCursorFile(2, 5, 7);
    static const auto kIcon = MakeCursorFile(1, 0, 0);
    static const BYTE kBroken[] = {0, 0, 2, 0};
    static const ResourceDataEntry kData[] = {
        {RT_GROUP_CURSOR, MAKEINTRESOURCE(140), kCursor.data(), DWORD(kCursor.size())},
        {RT_GROUP_CURSOR, MAKEINTRESOURCE(141), kBroken, DWORD(sizeof(kBroken))},
        {RT_GROUP_ICON, MAKEINTRESOURCE(148), kIcon.data(), DWORD(kIcon.size())},
    };
    const auto hModule = reinterpret_cast<HMODULE>(0x5EED0000);
    RegisterModuleResources(hModule, ResourceTables{.data = kData});
    const HCURSOR hCursor = LoadCursorA(hModule, MAKEINTRESOURCE(140));
    ASSERT_NE(hCursor, nullptr);
    EXPECT_EQ(LoadCursorA(hModule, MAKEINTRESOURCE(140)), hCursor);
    CursorImageInfo info{};
    ASSERT_TRUE(GetCursorImageInfo(hCursor, &info));
    EXPECT_EQ(info.hotSpot.x, 5);
    EXPECT_EQ(info.hotSpot.y, 7);
    EXPECT_EQ(info.size.cx, 32);
    EXPECT_EQ(info.cbFileBytes, kCursor.size());
    EXPECT_EQ(LoadCursorA(hModule, MAKEINTRESOURCE(141)), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_DATA_NOT_FOUND));
    EXPECT_EQ(LoadCursorA(hModule, MAKEINTRESOURCE(142)), nullptr);
    EXPECT_NE(LoadIconA(hModule, MAKEINTRESOURCE(148)), nullptr);
    EXPECT_EQ(LoadImageA(hModule, MAKEINTRESOURCE(148), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR),
              LoadIconA(hModule, MAKEINTRESOURCE(148)));
    EXPECT_EQ(LoadIconA(hModule, MAKEINTRESOURCE(140)), nullptr) << "a cursor is not an icon";
}

// A bitmap loads alike from a whole file registered as data, from a packed
// DIB (a compiled resource's form) and from an authored file, which the
// resource store hands out without its file header.
TEST_F(SystemTest, BitmapsLoadFromTheirModuleAndBrokenOnesFail)
{
    // A 2 x 1 bitmap file at 24 bits: blue then red.
    struct alignas(4) BitmapFile
    {
        BYTE bytes[14 + 40 + 8];
    };
    static BitmapFile file{};
    BITMAPFILEHEADER fileHeader{0x4D42, sizeof(file.bytes), 0, 0, 54};
    BITMAPINFOHEADER info{40, 2, 1, 1, 24, BI_RGB, 8, 0, 0, 0, 0};
    const BYTE pixels[8] = {255, 0, 0, 0, 0, 255, 0, 0};
    std::memcpy(file.bytes, &fileHeader, 14);
    std::memcpy(file.bytes + 14, &info, 40);
    std::memcpy(file.bytes + 54, pixels, 8);
    static const std::string s_strPath =
        (std::filesystem::temp_directory_path() /
         ("SystemTest.bitmap." + std::to_string(::getpid()) + ".bmp"))
            .string();
    std::ofstream(s_strPath, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.bytes), sizeof(file.bytes));
    static const BYTE kTruncated[20] = {'B', 'M'};
    static const ResourceDataEntry kData[] = {
        {RT_BITMAP, MAKEINTRESOURCE(199), file.bytes, DWORD(sizeof(file.bytes))},
        {RT_BITMAP, MAKEINTRESOURCE(198), file.bytes + 14, DWORD(sizeof(file.bytes) - 14)},
        {RT_BITMAP, MAKEINTRESOURCE(131), kTruncated, DWORD(sizeof(kTruncated))},
        {RT_BITMAP, MAKEINTRESOURCE(133), file.bytes + 14, 30},
    };
    static const ResourceFileEntry kFiles[] = {
        {RT_BITMAP, MAKEINTRESOURCE(197), s_strPath.c_str()},
    };
    const auto hModule = reinterpret_cast<HMODULE>(0x5EED1000);
    RegisterModuleResources(hModule, ResourceTables{.data = kData, .files = kFiles});
    for (const int id : {199, 198, 197})
    {
        HBITMAP hBitmap = LoadBitmapA(hModule, MAKEINTRESOURCE(id));
        ASSERT_NE(hBitmap, nullptr) << id;
        HDC hdc = CreateCompatibleDC(nullptr);
        HGDIOBJ hOld = SelectObject(hdc, hBitmap);
        EXPECT_EQ(GetPixel(hdc, 0, 0), RGB(0, 0, 255)) << id;
        EXPECT_EQ(GetPixel(hdc, 1, 0), RGB(255, 0, 0)) << id;
        SelectObject(hdc, hOld);
        DeleteDC(hdc);
        DeleteObject(hBitmap);
    }
    std::filesystem::remove(s_strPath);
    EXPECT_EQ(LoadBitmapA(hModule, MAKEINTRESOURCE(131)), nullptr);
    EXPECT_EQ(LoadBitmapA(hModule, MAKEINTRESOURCE(133)), nullptr) << "a header cut short";
    EXPECT_EQ(LoadBitmapA(hModule, MAKEINTRESOURCE(132)), nullptr);
}

TEST_F(SystemTest, CaretIsAnInvertedBoxShownWhileItsHideCountIsZero)
{
    const HWND hTop = CreateTopLevel(RECT{0, 0, 100, 100});
    m_harness.PumpPending();
    const std::uint32_t white = SurfacePixel(RGB(255, 255, 255));
    ASSERT_TRUE(CreateCaret(hTop, nullptr, 2, 10));
    SetCaretPos(10, 10);
    EXPECT_EQ(ClientPicture(hTop).GetPixel(10, 10), white);
    ShowCaret(hTop);
    EXPECT_EQ(ClientPicture(hTop).GetPixel(10, 10), 0u);
    SetCaretPos(20, 10);
    EXPECT_EQ(ClientPicture(hTop).GetPixel(10, 10), white);
    EXPECT_EQ(ClientPicture(hTop).GetPixel(21, 19), 0u);
    InvalidateRect(hTop, nullptr, TRUE);
    m_harness.PumpPending();
    EXPECT_EQ(ClientPicture(hTop).GetPixel(21, 19), 0u) << "painting keeps the caret";
    HideCaret(hTop);
    EXPECT_EQ(ClientPicture(hTop).GetPixel(21, 19), white);
    POINT pos;
    GetCaretPos(&pos);
    EXPECT_EQ(pos.x, 20);
    DestroyCaret();
}
} // namespace
