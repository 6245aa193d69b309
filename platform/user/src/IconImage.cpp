#include "IconImage.h"

#include "PackedDib.h"
#include "WinCursor.h"
#include "WinDrawing.h"

#include <cstddef>
#include <cstring>

namespace
{
constexpr std::size_t kDirectoryBytes = 6;
constexpr std::size_t kEntryBytes = 16;
constexpr int kMaxIconSide = 512;
constexpr COLORREF kKeyColor = RGB(255, 0, 255);

template <typename T> T ReadAt(const BYTE* p)
{
    T value;
    std::memcpy(&value, p, sizeof(value));
    return value;
}

template <typename T> void Append(std::vector<BYTE>& bytes, T value)
{
    const auto* p = reinterpret_cast<const BYTE*>(&value);
    bytes.insert(bytes.end(), p, p + sizeof(value));
}

// Draws a system icon's shape on a key-coloured square.
void DrawSystemShape(HDC hdc, WORD nSystemId)
{
    struct Look
    {
        COLORREF fill;
        COLORREF outline;
        COLORREF glyphColor;
        const char* glyph;
    };
    const Look look =
        nSystemId == 32513   ? Look{RGB(220, 30, 30), RGB(128, 0, 0), RGB(255, 255, 255), "X"}
        : nSystemId == 32514 ? Look{RGB(40, 90, 200), RGB(0, 0, 128), RGB(255, 255, 255), "?"}
        : nSystemId == 32515 ? Look{RGB(250, 210, 0), RGB(0, 0, 0), RGB(0, 0, 0), "!"}
        : nSystemId == 32516 ? Look{RGB(255, 255, 255), RGB(0, 0, 160), RGB(0, 0, 160), "i"}
                             : Look{RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 128), ""};
    HBRUSH hFill = CreateSolidBrush(look.fill);
    HPEN hOutline = CreatePen(PS_SOLID, 2, look.outline);
    HGDIOBJ hOldBrush = SelectObject(hdc, hFill);
    HGDIOBJ hOldPen = SelectObject(hdc, hOutline);
    if (nSystemId == 32515)
    {
        const POINT triangle[] = {{16, 2}, {30, 29}, {2, 29}};
        Polygon(hdc, triangle, 3);
    }
    else if (nSystemId >= 32513 && nSystemId <= 32516)
    {
        Ellipse(hdc, 2, 2, 30, 30);
    }
    else
    {
        Rectangle(hdc, 3, 5, 29, 27);
        const RECT title{4, 6, 28, 11};
        HBRUSH hTitle = CreateSolidBrush(look.glyphColor);
        FillRect(hdc, &title, hTitle);
        DeleteObject(hTitle);
    }
    SelectObject(hdc, hOldPen);
    SelectObject(hdc, hOldBrush);
    DeleteObject(hOutline);
    DeleteObject(hFill);
    if (look.glyph[0] == '\0')
        return;
    HFONT hFont = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ hOldFont = SelectObject(hdc, hFont);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, look.glyphColor);
    RECT rect{2, nSystemId == 32515 ? 8 : 2, 30, 30};
    DrawTextA(hdc, look.glyph, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(hdc, hOldFont);
    DeleteObject(hFont);
}
} // namespace

bool DecodeIconFile(std::span<const BYTE> bytes, IconImage& image)
{
    if (bytes.size() < kDirectoryBytes + kEntryBytes || ReadAt<WORD>(bytes.data()) != 0 ||
        ReadAt<WORD>(bytes.data() + 4) == 0)
        return false;
    const BYTE* entry = bytes.data() + kDirectoryBytes;
    const DWORD nOffset = ReadAt<DWORD>(entry + 12);
    if (nOffset >= bytes.size() || bytes.size() - nOffset < sizeof(BITMAPINFOHEADER))
        return false;
    const BYTE* data = bytes.data() + nOffset;
    const std::size_t nAvailable = bytes.size() - nOffset;
    if (data[0] == 0x89 && data[1] == 'P')
        return false;
    const auto header = ReadAt<BITMAPINFOHEADER>(data);
    const int nWidth = header.biWidth;
    const int nHeight = header.biHeight / 2;
    const int nBits = header.biBitCount;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || nWidth <= 0 || nHeight <= 0 ||
        nWidth > kMaxIconSide || nHeight > kMaxIconSide ||
        (nBits != 1 && nBits != 4 && nBits != 8 && nBits != 16 && nBits != 24 && nBits != 32))
        return false;
    const std::size_t nColors =
        nBits <= 8 ? (header.biClrUsed != 0 ? header.biClrUsed : std::size_t(1) << nBits) : 0;
    const std::size_t nStride = ((std::size_t(nWidth) * nBits + 31) / 32) * 4;
    const std::size_t nMaskStride = ((std::size_t(nWidth) + 31) / 32) * 4;
    const std::size_t nTable = header.biSize;
    const std::size_t nColorBits = nTable + nColors * 4;
    const std::size_t nMaskBits = nColorBits + nStride * nHeight;
    if (nColors > 256 || nMaskBits + nMaskStride * nHeight > nAvailable)
        return false;
    // The colours are a DIB of half the stated height; the mask follows it.
    std::vector<BYTE> dib(data, data + nMaskBits);
    const LONG nColorHeight = nHeight;
    std::memcpy(dib.data() + offsetof(BITMAPINFOHEADER, biHeight), &nColorHeight,
                sizeof(nColorHeight));
    PackedDibLayout layout;
    if (!ParsePackedDib(dib.data(), dib.size(), layout))
        return false;
    image.nWidth = nWidth;
    image.nHeight = nHeight;
    image.colors.assign(std::size_t(nWidth) * nHeight, 0);
    if (!DecodePackedDib(dib.data(), layout, image.colors.data()))
        return false;
    image.transparent.assign(image.colors.size(), false);
    bool bAlpha = false;
    std::vector<BYTE> alpha(image.colors.size(), 0);
    for (int y = 0; y < nHeight; ++y)
    {
        const std::size_t nStored = std::size_t(nHeight - 1 - y);
        const BYTE* row = dib.data() + layout.nBitsOffset + nStored * nStride;
        const BYTE* mask = data + nMaskBits + nStored * nMaskStride;
        for (int x = 0; x < nWidth; ++x)
        {
            const std::size_t i = std::size_t(y) * nWidth + x;
            alpha[i] = nBits == 32 ? row[x * 4 + 3] : 0;
            image.transparent[i] = ((mask[x / 8] >> (7 - x % 8)) & 1) != 0;
            bAlpha = bAlpha || alpha[i] != 0;
        }
    }
    // A 32-bit image with an alpha channel says itself what shows.
    for (std::size_t i = 0; bAlpha && i < alpha.size(); ++i)
        image.transparent[i] = alpha[i] < 128;
    return true;
}

bool MakeSystemIcon(WORD nSystemId, IconImage& image)
{
    constexpr int kSide = 32;
    PixelCanvas canvas(kSide, kSide);
    if (!canvas.IsValid())
        return false;
    canvas.Fill(kKeyColor);
    DrawSystemShape(canvas.GetDC(), nSystemId);
    const std::uint32_t* pixels = canvas.Pixels();
    image.nWidth = kSide;
    image.nHeight = kSide;
    image.colors.assign(pixels, pixels + kSide * kSide);
    image.transparent.assign(image.colors.size(), false);
    const std::uint32_t key = 0x00FF00FF;
    for (std::size_t i = 0; i < image.colors.size(); ++i)
    {
        image.colors[i] &= 0x00FFFFFF;
        image.transparent[i] = image.colors[i] == key;
    }
    return true;
}

std::vector<BYTE> EncodeIconFile(const IconImage& image, bool bCursor, POINT hotSpot)
{
    const std::size_t nStride = std::size_t(image.nWidth) * 4;
    const std::size_t nMaskStride = ((std::size_t(image.nWidth) + 31) / 32) * 4;
    const std::size_t nImageBytes =
        sizeof(BITMAPINFOHEADER) + (nStride + nMaskStride) * std::size_t(image.nHeight);
    std::vector<BYTE> bytes;
    Append<WORD>(bytes, 0);
    Append<WORD>(bytes, bCursor ? 2 : 1);
    Append<WORD>(bytes, 1);
    bytes.push_back(static_cast<BYTE>(image.nWidth >= 256 ? 0 : image.nWidth));
    bytes.push_back(static_cast<BYTE>(image.nHeight >= 256 ? 0 : image.nHeight));
    bytes.push_back(0);
    bytes.push_back(0);
    Append<WORD>(bytes, bCursor ? static_cast<WORD>(hotSpot.x) : 1);
    Append<WORD>(bytes, bCursor ? static_cast<WORD>(hotSpot.y) : 32);
    Append<DWORD>(bytes, static_cast<DWORD>(nImageBytes));
    Append<DWORD>(bytes, static_cast<DWORD>(kDirectoryBytes + kEntryBytes));
    // The colours as a 32-bit DIB, its header stating the mask's rows too.
    PackedDibFormat format;
    format.nWidth = image.nWidth;
    format.nHeight = image.nHeight;
    format.nBitCount = 32;
    const std::size_t nStart = bytes.size();
    bytes.resize(nStart + std::size_t(GetPackedDibSize(format)));
    WritePackedDib(format, bytes.data() + nStart,
                   [&image](int y, std::uint8_t* row)
                   {
                       for (int x = 0; x < image.nWidth; ++x, row += 4)
                       {
                           const std::size_t i = std::size_t(y) * image.nWidth + x;
                           const std::uint32_t color =
                               image.transparent[i] ? 0 : (image.colors[i] | 0xFF000000u);
                           std::memcpy(row, &color, sizeof(color));
                       }
                   });
    const LONG nStatedHeight = image.nHeight * 2;
    std::memcpy(bytes.data() + nStart + offsetof(BITMAPINFOHEADER, biHeight), &nStatedHeight,
                sizeof(nStatedHeight));
    for (int y = image.nHeight - 1; y >= 0; --y)
    {
        std::vector<BYTE> row(nMaskStride, 0);
        for (int x = 0; x < image.nWidth; ++x)
        {
            if (image.transparent[std::size_t(y) * image.nWidth + x])
                row[std::size_t(x) / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        }
        bytes.insert(bytes.end(), row.begin(), row.end());
    }
    return bytes;
}

bool GetIconImage(HICON hIcon, IconImage& image)
{
    CursorImageInfo info{};
    if (!GetCursorImageInfo(hIcon, &info))
        return false;
    if (info.pFileBytes != nullptr)
        return DecodeIconFile(std::span<const BYTE>(info.pFileBytes, info.cbFileBytes), image);
    return info.nSystemId != 0 && MakeSystemIcon(info.nSystemId, image);
}

bool DrawIconImage(HDC hdc, const IconImage& image, int x, int y, int cx, int cy, UINT diFlags)
{
    PixelCanvas colors(image.nWidth, image.nHeight);
    PixelCanvas mask(image.nWidth, image.nHeight);
    if (!colors.IsValid() || !mask.IsValid())
        return false;
    for (std::size_t i = 0; i < image.colors.size(); ++i)
    {
        // An AND mask of white keeps the DC's pixel; an XOR image of black
        // leaves it as it is.
        colors.Pixels()[i] = image.transparent[i] ? 0 : image.colors[i];
        mask.Pixels()[i] = image.transparent[i] ? 0x00FFFFFF : 0;
    }
    SetStretchBltMode(hdc, COLORONCOLOR);
    if (diFlags & DI_MASK)
        StretchBlt(hdc, x, y, cx, cy, mask.GetDC(), 0, 0, image.nWidth, image.nHeight, SRCAND);
    if (diFlags & DI_IMAGE)
        StretchBlt(hdc, x, y, cx, cy, colors.GetDC(), 0, 0, image.nWidth, image.nHeight,
                   (diFlags & DI_MASK) ? SRCINVERT : SRCCOPY);
    return true;
}
