// Screen capture under X: the screen DC reads the root window.
#include "X11TestSupport.h"

#include "DibApi.h"

#include <cstdio>
#include <fstream>

namespace
{
class X11CaptureTest : public X11BackendTest
{
protected:
    // A popup (shown where it is, with no frame) painted in two colours once
    // the server shows it.
    HWND MakePaintedPopup(const RECT& rc)
    {
        const HWND hWnd = CreateLoggedWindow(WS_POPUP | WS_VISIBLE, rc);
        Settle();
        HDC hdc = GetDC(hWnd);
        HBRUSH red = CreateSolidBrush(RGB(220, 20, 40));
        HBRUSH blue = CreateSolidBrush(RGB(10, 80, 230));
        const RECT left{0, 0, (rc.right - rc.left) / 2, rc.bottom - rc.top};
        const RECT right{left.right, 0, rc.right - rc.left, rc.bottom - rc.top};
        FillRect(hdc, &left, red);
        FillRect(hdc, &right, blue);
        DeleteObject(red);
        DeleteObject(blue);
        ReleaseDC(hWnd, hdc);
        return hWnd;
    }
};

struct CapturedPixels
{
    int nWidth = 0;
    int nHeight = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, top row first
};

// The pixels of a 24-bit packed DIB; the DIB is freed.
CapturedPixels ReadDib(HDIB hdib)
{
    CapturedPixels out;
    char* dib = static_cast<char*>(GlobalLock(hdib));
    if (dib == nullptr)
        return out;
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
    out.nWidth = header->biWidth;
    out.nHeight = header->biHeight;
    const int rowBytes = ((24 * out.nWidth + 31) / 32) * 4;
    const auto* bits = reinterpret_cast<const BYTE*>(FindDIBBits(dib));
    for (int y = 0; y < out.nHeight && header->biBitCount == 24; ++y)
        for (int x = 0; x < out.nWidth; ++x)
        {
            const BYTE* p = bits + (out.nHeight - 1 - y) * rowBytes + 3 * x;
            out.pixels.push_back(std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0]);
        }
    GlobalUnlock(hdib);
    DestroyDIB(hdib);
    return out;
}

std::uint32_t BigEndian32(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 |
           std::uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

// A screenshot of the whole root window taken by xwd (x11-apps), as pixels.
CapturedPixels XwdScreenshot(const std::string& display)
{
    const std::string path = testing::TempDir() + "capture-root.xwd";
    const std::string command = "xwd -root -silent -display " + display + " -out '" + path + "'";
    CapturedPixels shot;
    if (std::system(command.c_str()) != 0)
    {
        ADD_FAILURE() << command;
        return shot;
    }
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    if (bytes.size() < 100)
        return shot;
    // The file header: 25 big-endian 32-bit fields, then the window's name.
    const std::uint32_t headerSize = BigEndian32(bytes, 0);
    const std::uint32_t width = BigEndian32(bytes, 16);
    const std::uint32_t height = BigEndian32(bytes, 20);
    const std::uint32_t byteOrder = BigEndian32(bytes, 28);
    const std::uint32_t bitsPerPixel = BigEndian32(bytes, 44);
    const std::uint32_t bytesPerLine = BigEndian32(bytes, 48);
    const std::uint32_t colours = BigEndian32(bytes, 76);
    const std::size_t start = headerSize + std::size_t(colours) * 12;
    // The server may keep 24-bit pixels in three bytes or in four.
    const std::uint32_t pixelBytes = bitsPerPixel / 8;
    if ((pixelBytes != 3 && pixelBytes != 4) || byteOrder != 0 ||
        start + std::size_t(bytesPerLine) * height > bytes.size())
    {
        ADD_FAILURE() << "xwd wrote " << bitsPerPixel << "-bit pixels in byte order " << byteOrder;
        return shot;
    }
    shot.nWidth = int(width);
    shot.nHeight = int(height);
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
        {
            const std::size_t at = start + std::size_t(y) * bytesPerLine + pixelBytes * x;
            shot.pixels.push_back(std::uint32_t(bytes[at + 2]) << 16 |
                                  std::uint32_t(bytes[at + 1]) << 8 | bytes[at]);
        }
    return shot;
}
} // namespace

TEST_F(X11CaptureTest, CapturedWindowEqualsItsPictureDump)
{
    const HWND hWnd = MakePaintedPopup(RECT{200, 150, 440, 330});
    const WindowPicture dump = PaintedPicture(hWnd);
    const CapturedPixels captured = ReadDib(CopyWindowToDIB(hWnd, PW_WINDOW));
    ASSERT_EQ(captured.nWidth, dump.nWidth);
    ASSERT_EQ(captured.nHeight, dump.nHeight);
    EXPECT_TRUE(captured.pixels == dump.pixels);
    EXPECT_EQ(captured.pixels[std::size_t(90) * 240 + 60], 0xDC1428u);
    EXPECT_EQ(captured.pixels[std::size_t(90) * 240 + 180], 0x0A50E6u);
    WritePictureFile(dump, (std::string(SUITE_OUTPUT_DIR) + "/x11-captured-window.bmp").c_str());
}

TEST_F(X11CaptureTest, ScreenRectangleEqualsThatPartOfAnXwdScreenshot)
{
    MakePaintedPopup(RECT{300, 200, 500, 300});
    // Half over the window, half over the root window's own background.
    RECT rect{250, 180, 450, 400};
    const CapturedPixels captured = ReadDib(CopyScreenToDIB(&rect));
    const CapturedPixels root = XwdScreenshot(DisplayName());
    ASSERT_GT(root.nWidth, 450);
    ASSERT_EQ(captured.nWidth, 200);
    ASSERT_EQ(captured.nHeight, 220);
    int nDifferences = 0;
    for (int y = 0; y < captured.nHeight; ++y)
        for (int x = 0; x < captured.nWidth; ++x)
            nDifferences += captured.pixels[std::size_t(y) * 200 + x] !=
                            root.pixels[std::size_t(rect.top + y) * root.nWidth + rect.left + x];
    EXPECT_EQ(nDifferences, 0);
    EXPECT_EQ(captured.pixels[std::size_t(50) * 200 + 100], 0xDC1428u);
}
