// The clipboard: registered formats, opening and ownership, data handed
// over and converted, and the bridge to other programs.
#include "UserTestSupport.h"

#include "ClipboardBridge.h"
#include "WinClipboard.h"
#include "WinGlobalMemory.h"

#include <cstring>
#include <string>

namespace
{
const RECT kRect{100, 100, 300, 300};

HGLOBAL GlobalText(const char* text)
{
    const std::size_t size = std::strlen(text) + 1;
    HGLOBAL hGlobal = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(hGlobal), text, size);
    GlobalUnlock(hGlobal);
    return hGlobal;
}

std::string TextOf(HANDLE hGlobal)
{
    const auto* p = static_cast<const char*>(GlobalLock(hGlobal));
    std::string text = p != nullptr ? p : "";
    GlobalUnlock(hGlobal);
    return text;
}

// A 2 x 2 bitmap: red, green on top; blue, white below.
HBITMAP MakeBitmap()
{
    HDC hdcScreen = GetDC(nullptr);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcScreen, 2, 2);
    ReleaseDC(nullptr, hdcScreen);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hBitmap);
    SetPixel(hdc, 0, 0, RGB(255, 0, 0));
    SetPixel(hdc, 1, 0, RGB(0, 255, 0));
    SetPixel(hdc, 0, 1, RGB(0, 0, 255));
    SetPixel(hdc, 1, 1, RGB(255, 255, 255));
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    return hBitmap;
}

class ClipboardTest : public UserTest
{
protected:
    ClipboardTest()
    {
        m_hWnd = CreateTopLevel(kRect);
        m_hOther = CreateTopLevel(kRect);
        OpenClipboard(m_hWnd);
        EmptyClipboard();
        CloseClipboard();
    }

    HWND m_hWnd = nullptr;
    HWND m_hOther = nullptr;
};

TEST_F(ClipboardTest, RegisteredFormatsHaveOneNumberPerNameWhateverTheCase)
{
    const UINT nFormat = RegisterClipboardFormatA("$$DRAGDROP_VISTREL");
    EXPECT_GE(nFormat, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormatA("$$dragdrop_vistrel"), nFormat);
    EXPECT_NE(RegisterClipboardFormatA("Grid Cells"), nFormat);
    EXPECT_EQ(RegisterWindowMessageA("$$DRAGDROP_VISTREL"), nFormat)
        << "messages and formats registered by name share their numbers";
    EXPECT_EQ(RegisterClipboardFormatA(""), 0u);
    EXPECT_EQ(RegisterClipboardFormatA(nullptr), 0u);
    char name[64] = {};
    EXPECT_EQ(GetClipboardFormatNameA(nFormat, name, sizeof(name)), 18);
    EXPECT_STREQ(name, "$$DRAGDROP_VISTREL");
    EXPECT_EQ(GetClipboardFormatNameA(CF_TEXT, name, sizeof(name)), 0);
}

TEST_F(ClipboardTest, OnlyOneWindowHoldsItOpenAndChangesNeedItOpen)
{
    const HGLOBAL hRefused = GlobalText("x");
    EXPECT_EQ(SetClipboardData(CF_TEXT, hRefused), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLIPBOARD_NOT_OPEN));
    GlobalFree(hRefused);
    ASSERT_TRUE(OpenClipboard(m_hWnd));
    EXPECT_EQ(GetOpenClipboardWindow(), m_hWnd);
    EXPECT_FALSE(OpenClipboard(m_hOther)) << "held open by another window";
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_TRUE(OpenClipboard(m_hOther));
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), m_hOther);
    EXPECT_TRUE(CloseClipboard());
}

TEST_F(ClipboardTest, HandedOverDataStaysUntilTheContentsChange)
{
    const UINT nPrivate = RegisterClipboardFormatA("Private Cells");
    const DWORD dwSequence = GetClipboardSequenceNumber();
    ASSERT_TRUE(OpenClipboard(m_hWnd));
    ASSERT_TRUE(EmptyClipboard());
    const HGLOBAL hText = GlobalText("Pelivo 1.0");
    EXPECT_EQ(SetClipboardData(CF_TEXT, hText), hText);
    SetClipboardData(nPrivate, GlobalText("a\tb"));
    ASSERT_TRUE(CloseClipboard());
    EXPECT_GT(GetClipboardSequenceNumber(), dwSequence);

    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(nPrivate));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
    ASSERT_TRUE(OpenClipboard(m_hOther));
    EXPECT_EQ(EnumClipboardFormats(0), UINT(CF_TEXT));
    EXPECT_EQ(EnumClipboardFormats(CF_TEXT), nPrivate);
    EXPECT_EQ(EnumClipboardFormats(nPrivate), 0u);
    EXPECT_EQ(GetClipboardData(CF_TEXT), hText);
    EXPECT_EQ(TextOf(GetClipboardData(CF_TEXT)), "Pelivo 1.0");
    EXPECT_EQ(TextOf(GetClipboardData(nPrivate)), "a\tb");
    EXPECT_EQ(GetClipboardData(CF_DIB), nullptr);
    EXPECT_EQ(GetClipboardOwner(), m_hWnd);
    // Emptying frees what the clipboard owned.
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GlobalSize(hText), 0u);
    EXPECT_EQ(CountClipboardFormats(), 0);
    CloseClipboard();
}

TEST_F(ClipboardTest, BitmapsAndDibsStandForEachOther)
{
    ASSERT_TRUE(OpenClipboard(m_hWnd));
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, MakeBitmap());
    CloseClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));

    ASSERT_TRUE(OpenClipboard(m_hWnd));
    const HANDLE hDib = GetClipboardData(CF_DIB);
    ASSERT_NE(hDib, nullptr);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(hDib));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biWidth, 2);
    EXPECT_EQ(header->biHeight, 2) << "bottom-up";
    const auto* bits = reinterpret_cast<const BYTE*>(header + 1);
    // The first stored row is the image's bottom row: blue, then white.
    EXPECT_EQ(bits[0], 255);
    EXPECT_EQ(bits[2], 0);
    EXPECT_EQ(bits[3] & bits[4] & bits[5], 255);
    const std::vector<BYTE> packed(reinterpret_cast<const BYTE*>(header),
                                   reinterpret_cast<const BYTE*>(header) + GlobalSize(hDib));
    GlobalUnlock(hDib);

    // A DIB set by a caller comes back as a bitmap with the same pixels.
    EmptyClipboard();
    HGLOBAL hCopy = GlobalAlloc(GMEM_MOVEABLE, packed.size());
    std::memcpy(GlobalLock(hCopy), packed.data(), packed.size());
    GlobalUnlock(hCopy);
    SetClipboardData(CF_DIB, hCopy);
    const auto hBitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_NE(hBitmap, nullptr);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hBitmap);
    EXPECT_EQ(GetPixel(hdc, 1, 0), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(hdc, 0, 1), RGB(0, 0, 255));
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    EXPECT_EQ(GetClipboardBytes(CF_DIB), packed);
    CloseClipboard();
}

class FakeBridge : public CClipboardBridge
{
public:
    void OnContentsChanged() override { ++m_nChanges; }
    std::vector<UINT> GetForeignFormats() override { return m_formats; }
    std::vector<BYTE> FetchForeign(UINT nFormat) override
    {
        ++m_nFetches;
        if (nFormat != CF_TEXT)
            return {};
        const std::string text = "from another program";
        return std::vector<BYTE>(text.c_str(), text.c_str() + text.size() + 1);
    }

    int m_nChanges = 0;
    int m_nFetches = 0;
    std::vector<UINT> m_formats;
};

TEST_F(ClipboardTest, BridgeHearsOfNewContentsAndSuppliesAnotherProgramsData)
{
    FakeBridge bridge;
    SetClipboardBridge(&bridge);
    OpenClipboard(m_hWnd);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, GlobalText("ours"));
    EXPECT_EQ(bridge.m_nChanges, 0) << "told when the clipboard closes";
    CloseClipboard();
    EXPECT_EQ(bridge.m_nChanges, 1);
    const std::vector<BYTE> ours = GetClipboardBytes(CF_TEXT);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(ours.data())), "ours");

    // Another program takes the clipboard.
    ReleaseClipboardContents();
    bridge.m_formats = {CF_TEXT};
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(GetClipboardBytes(CF_TEXT).empty());
    OpenClipboard(m_hWnd);
    EXPECT_EQ(TextOf(GetClipboardData(CF_TEXT)), "from another program");
    EXPECT_EQ(TextOf(GetClipboardData(CF_TEXT)), "from another program");
    EXPECT_EQ(bridge.m_nFetches, 1) << "fetched once while open";
    EXPECT_EQ(GetClipboardData(CF_DIB), nullptr);
    CloseClipboard();
    EXPECT_EQ(bridge.m_nChanges, 1) << "reading changes nothing";
    SetClipboardBridge(nullptr);
}

} // namespace
