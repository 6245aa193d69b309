// PlgBlt: the source rectangle onto a parallelogram of the destination.
// Every destination pixel whose centre lies in the parallelogram takes the
// source pixel its centre maps back to, so quarter turns and mirrors copy
// each pixel exactly once.
#include "DeviceContext.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace
{
// floor(n / d) for any signs, d != 0.
std::int64_t FloorDiv(std::int64_t n, std::int64_t d)
{
    const std::int64_t q = n / d;
    return (n % d != 0 && ((n < 0) != (d < 0))) ? q - 1 : q;
}

// The pixels of a rectangle of a DC as 0x00RRGGBB rows, through a 32-bit
// DIB section, so that mappings and monochrome sources are converted the
// way BitBlt does.
std::vector<std::uint32_t> CopyOut(HDC hdc, int x, int y, int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<std::uint32_t> pixels;
    if (hBitmap == nullptr || bits == nullptr)
        return pixels;
    HDC hMem = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hMem, hBitmap);
    if (BitBlt(hMem, 0, 0, width, height, hdc, x, y, SRCCOPY))
    {
        const auto* first = static_cast<const std::uint32_t*>(bits);
        pixels.assign(first, first + std::size_t(width) * std::size_t(height));
    }
    SelectObject(hMem, hOld);
    DeleteDC(hMem);
    DeleteObject(hBitmap);
    return pixels;
}

// The mask's pixels as 0 or 1 for the source rectangle; empty when the
// mask cannot be read.
std::vector<std::uint8_t> ReadMask(HBITMAP hbmMask, int x, int y, int width, int height)
{
    std::vector<std::uint8_t> mask;
    HDC hMem = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hMem, hbmMask);
    if (hOld != nullptr)
    {
        SetTextColor(hMem, RGB(0, 0, 0));
        SetBkColor(hMem, RGB(255, 255, 255));
        const std::vector<std::uint32_t> pixels = CopyOut(hMem, x, y, width, height);
        for (std::uint32_t pixel : pixels)
            mask.push_back((pixel & 0xFFFFFF) != 0 ? 1 : 0);
        SelectObject(hMem, hOld);
    }
    DeleteDC(hMem);
    return mask;
}
} // namespace

BOOL PlgBlt(HDC hdcDest, const POINT* lpPoint, HDC hdcSrc, int xSrc, int ySrc, int width,
            int height, HBITMAP hbmMask, int xMask, int yMask)
{
    DeviceContext* dst = LookupDC(hdcDest);
    if (dst == nullptr || lpPoint == nullptr || LookupDC(hdcSrc) == nullptr || width <= 0 ||
        height <= 0)
        return FALSE;
    GdiRecord(hdcDest, "PlgBlt",
              {lpPoint[0].x, lpPoint[0].y, lpPoint[1].x, lpPoint[1].y, lpPoint[2].x, lpPoint[2].y,
               xSrc, ySrc, width, height});
    const POINT p0 = dst->ToDevice(lpPoint[0].x, lpPoint[0].y);
    const POINT p1 = dst->ToDevice(lpPoint[1].x, lpPoint[1].y);
    const POINT p2 = dst->ToDevice(lpPoint[2].x, lpPoint[2].y);
    const std::int64_t e1x = p1.x - p0.x;
    const std::int64_t e1y = p1.y - p0.y;
    const std::int64_t e2x = p2.x - p0.x;
    const std::int64_t e2y = p2.y - p0.y;
    const std::int64_t det = e1x * e2y - e1y * e2x;
    if (det == 0)
        return FALSE;
    const std::vector<std::uint32_t> source = CopyOut(hdcSrc, xSrc, ySrc, width, height);
    if (source.empty())
        return FALSE;
    std::vector<std::uint8_t> mask;
    if (hbmMask != nullptr && (mask = ReadMask(hbmMask, xMask, yMask, width, height)).empty())
        return FALSE;

    DrawSession session(*dst);
    if (!session.IsValid())
        return FALSE;
    const RECT clip = session.GetClip().GetBounds();
    const auto corner = {p0.x, p1.x, p2.x, p1.x + p2.x - p0.x};
    const auto cornerY = {p0.y, p1.y, p2.y, p1.y + p2.y - p0.y};
    const int left = std::max<int>(clip.left, std::min(corner));
    const int right = std::min<int>(clip.right, std::max(corner));
    const int top = std::max<int>(clip.top, std::min(cornerY));
    const int bottom = std::min<int>(clip.bottom, std::max(cornerY));
    Painter& painter = session.GetPainter();
    for (int y = top; y < bottom; ++y)
    {
        for (int x = left; x < right; ++x)
        {
            // The pixel's centre, doubled to stay in integers, in the
            // parallelogram's own axes scaled to source pixels.
            const std::int64_t cx = 2 * std::int64_t(x) + 1 - 2 * std::int64_t(p0.x);
            const std::int64_t cy = 2 * std::int64_t(y) + 1 - 2 * std::int64_t(p0.y);
            const std::int64_t u = FloorDiv((cx * e2y - cy * e2x) * width, 2 * det);
            const std::int64_t v = FloorDiv((cy * e1x - cx * e1y) * height, 2 * det);
            if (u < 0 || u >= width || v < 0 || v >= height || !painter.IsVisible(x, y))
                continue;
            const std::size_t at = std::size_t(v) * std::size_t(width) + std::size_t(u);
            if (mask.empty() || mask[at] != 0)
                painter.PutPixel(x, y, source[at]);
        }
    }
    return TRUE;
}
