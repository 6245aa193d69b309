// Inspection, creation, palettes, conversion and painting of packed DIBs.
#include "DibApi.h"

#include "DibLock.h"
#include "DibLog.h"
#include "DibPaint.h"
#include "GdiScreenDC.h"
#include "PackedDib.h"

#include <cstring>
#include <vector>

namespace
{
constexpr DWORD kInfoHeaderSize = sizeof(BITMAPINFOHEADER);

bool IsInfoHeader(const char* dib)
{
    DWORD size;
    std::memcpy(&size, dib, sizeof(size));
    return size == kInfoHeaderSize;
}

BITMAPINFOHEADER* Info(char* dib)
{
    return reinterpret_cast<BITMAPINFOHEADER*>(dib);
}

BITMAPCOREHEADER* Core(char* dib)
{
    return reinterpret_cast<BITMAPCOREHEADER*>(dib);
}

WORD NormaliseBitCount(WORD bitCount)
{
    if (bitCount <= 1)
        return 1;
    if (bitCount <= 4)
        return 4;
    if (bitCount <= 8)
        return 8;
    if (bitCount <= 24)
        return 24;
    return 4;
}

// Entries of the colour table that the block really holds, whatever the
// header claims.
WORD TableEntries(HDIB hdib, char* dib)
{
    const WORD count = DIBNumColors(dib);
    const std::uint64_t headerSize = IsInfoHeader(dib) ? kInfoHeaderSize : sizeof(BITMAPCOREHEADER);
    const std::uint64_t entrySize = IsInfoHeader(dib) ? sizeof(RGBQUAD) : sizeof(RGBTRIPLE);
    const std::uint64_t blockSize = GlobalSize(hdib);
    if (blockSize <= headerSize)
        return 0;
    const std::uint64_t room = (blockSize - headerSize) / entrySize;
    return room < count ? WORD(room) : count;
}

int Width(const RECT* r)
{
    return r->right - r->left;
}

int Height(const RECT* r)
{
    return r->bottom - r->top;
}

int PaintLocked(HDC hdc, LPRECT dst, LPRECT src, char* dib, bool allowStretch)
{
    return PaintDibRows(hdc, *dst, *src, reinterpret_cast<const BITMAPINFO*>(dib), FindDIBBits(dib),
                        int(DIBHeight(dib)), allowStretch);
}

int PaintWithPalette(HDC hdc, LPRECT dst, LPRECT src, HDIB hdib, HPALETTE palette,
                     bool allowStretch)
{
    if (hdib == nullptr || dst == nullptr || src == nullptr)
        return 0;
    DibLock lock(hdib);
    if (!lock)
        return 0;
    PaletteScope scope(hdc, palette, TRUE, palette != nullptr);
    return PaintLocked(hdc, dst, src, lock.Get(), allowStretch);
}

// Valid (bit count, compression) requests of the format changers; 0 when
// the request is refused.
WORD RequestedBitCount(WORD bitCount, DWORD compression)
{
    switch (bitCount)
    {
    case 0:
        return compression == BI_RLE4 ? 4 : compression == BI_RLE8 ? 8 : 0;
    case 1:
        return compression == BI_RGB ? 1 : 0;
    case 4:
        return compression == BI_RGB || compression == BI_RLE4 ? 4 : 0;
    case 8:
        return compression == BI_RGB || compression == BI_RLE8 ? 8 : 0;
    case 24:
        return compression == BI_RGB ? 24 : 0;
    default:
        return 0;
    }
}

// The bitmap at bitCount bits through GetDIBits, with the palette selected.
HDIB FillFromBitmap(HBITMAP bitmap, HPALETTE palette, WORD bitCount, DWORD compression)
{
    BITMAP bm{};
    if (GetObjectA(bitmap, sizeof(bm), &bm) == 0)
        return nullptr;
    BITMAPINFOHEADER header{};
    header.biSize = kInfoHeaderSize;
    header.biWidth = bm.bmWidth;
    header.biHeight = bm.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = compression;
    return PackBitmap(bitmap, header, palette);
}
} // namespace

DWORD DIBWidth(char* dib)
{
    return IsInfoHeader(dib) ? DWORD(Info(dib)->biWidth) : Core(dib)->bcWidth;
}

DWORD DIBHeight(char* dib)
{
    return IsInfoHeader(dib) ? DWORD(Info(dib)->biHeight) : Core(dib)->bcHeight;
}

WORD DIBNumColors(char* dib)
{
    if (IsInfoHeader(dib) && Info(dib)->biClrUsed != 0)
        return WORD(Info(dib)->biClrUsed);
    const WORD bitCount = IsInfoHeader(dib) ? Info(dib)->biBitCount : Core(dib)->bcBitCount;
    switch (bitCount)
    {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

WORD PaletteSize(char* dib)
{
    if (!IsInfoHeader(dib))
        return WORD(DIBNumColors(dib) * sizeof(RGBTRIPLE));
    if (Info(dib)->biClrUsed != 0)
        return WORD(Info(dib)->biClrUsed * sizeof(RGBQUAD));
    return WORD(DIBNumColors(dib) * sizeof(RGBQUAD));
}

char* FindDIBBits(char* dib)
{
    DWORD headerSize;
    std::memcpy(&headerSize, dib, sizeof(headerSize));
    return dib + headerSize + PaletteSize(dib);
}

HDIB CreateDIB(DWORD width, DWORD height, WORD bitCount)
{
    PackedDibFormat format;
    format.nWidth = int(width);
    format.nHeight = int(height);
    format.nBitCount = NormaliseBitCount(bitCount);
    format.nColors = format.nBitCount <= 8 ? 1u << format.nBitCount : 0;
    if (width > 0x7FFFFFFF || height > 0x7FFFFFFF || GetPackedDibSize(format) == 0)
    {
        LogDibFailure("CreateDIB", "the image is too large");
        return nullptr;
    }
    HDIB hdib = CreatePackedDib(format, {});
    if (hdib == nullptr)
        LogDibFailure("CreateDIB", "Couldn't allocate memory!");
    return hdib;
}

HANDLE CopyHandle(HANDLE block)
{
    if (block == nullptr)
        return nullptr;
    const SIZE_T size = GlobalSize(block);
    HGLOBAL copy = GlobalAlloc(GHND, size);
    if (copy == nullptr)
        return nullptr;
    DibLock from(block);
    DibLock to(copy);
    if (!from || !to)
    {
        GlobalFree(copy);
        return nullptr;
    }
    std::memcpy(to.Get(), from.Get(), size);
    return copy;
}

WORD DestroyDIB(HDIB dib)
{
    if (dib != nullptr)
        GlobalFree(dib);
    return DIB_OK;
}

void DIBError(int) {}

HPALETTE CreateDIBPalette(HDIB hdib)
{
    if (hdib == nullptr)
        return nullptr;
    DibLock lock(hdib);
    if (!lock)
        return nullptr;
    char* dib = lock.Get();
    const WORD count = TableEntries(hdib, dib);
    if (count == 0)
        return nullptr;
    const bool info = IsInfoHeader(dib);
    return CreateTablePalette(dib + (info ? kInfoHeaderSize : sizeof(BITMAPCOREHEADER)), count,
                              info ? sizeof(RGBQUAD) : sizeof(RGBTRIPLE));
}

BOOL CreateDIBPalette(HDIB hdib, CPalette* palette)
{
    if (palette == nullptr)
        return FALSE;
    HPALETTE handle = CreateDIBPalette(hdib);
    if (handle == nullptr)
        return FALSE;
    return palette->Attach(handle);
}

int PalEntriesOnDevice(HDC hdc)
{
    const unsigned bits = unsigned(GetDeviceCaps(hdc, PLANES) * GetDeviceCaps(hdc, BITSPIXEL));
    return int(1u << (bits % 32));
}

HPALETTE GetSystemPalette()
{
    CGdiScreenDC screen;
    if (screen.Get() == nullptr)
        return nullptr;
    const WORD count = WORD(PalEntriesOnDevice(screen.Get()));
    std::vector<BYTE> block(sizeof(LOGPALETTE) + std::size_t(count) * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = count;
    GetSystemPaletteEntries(screen.Get(), 0, count, palette->palPalEntry);
    return CreatePalette(palette);
}

HBITMAP DIBToBitmap(HDIB hdib, HPALETTE palette)
{
    if (hdib == nullptr)
        return nullptr;
    DibLock lock(hdib);
    if (!lock)
        return nullptr;
    HBITMAP bitmap = CreateScreenBitmap(reinterpret_cast<BITMAPINFO*>(lock.Get()),
                                        FindDIBBits(lock.Get()), palette);
    if (bitmap == nullptr)
        LogDibFailure("DIBToBitmap", "Error creating Device Dependent Bitmap");
    return bitmap;
}

HDIB AllocRoomForDIB(BITMAPINFOHEADER header, HBITMAP bitmap)
{
    HDIB hdib = AllocPackedDibFor(header, bitmap);
    if (hdib == nullptr)
        LogDibFailure("AllocRoomForDIB", "Couldn't allocate memory!");
    return hdib;
}

HDIB BitmapToDIB(HBITMAP bitmap, HPALETTE palette)
{
    if (bitmap == nullptr)
        return nullptr;
    BITMAP bm{};
    if (GetObjectA(bitmap, sizeof(bm), &bm) == 0)
        return nullptr;
    if (palette == nullptr)
        palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    const int bits = bm.bmPlanes * bm.bmBitsPixel;
    const WORD bitCount = bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24;
    return FillFromBitmap(bitmap, palette, bitCount, BI_RGB);
}

HDIB ChangeBitmapFormat(HBITMAP bitmap, WORD bitCount, DWORD compression, HPALETTE palette)
{
    const WORD target = RequestedBitCount(bitCount, compression);
    if (bitmap == nullptr || target == 0)
        return nullptr;
    return FillFromBitmap(bitmap, palette, target, compression);
}

HDIB ChangeDIBFormat(HDIB hdib, WORD bitCount, DWORD compression)
{
    if (hdib == nullptr)
        return nullptr;
    WORD own = 0;
    {
        DibLock lock(hdib);
        if (!lock)
            return nullptr;
        own =
            IsInfoHeader(lock.Get()) ? Info(lock.Get())->biBitCount : Core(lock.Get())->bcBitCount;
    }
    WORD target = 0;
    if (bitCount == 0 && compression == BI_RGB)
        target = own;
    else if (bitCount == 0)
        target = (compression == BI_RLE4 && own == 4) || (compression == BI_RLE8 && own == 8)
                     ? RequestedBitCount(0, compression)
                     : 0;
    else
        target = RequestedBitCount(bitCount, compression);
    if (target == 0)
        return nullptr;
    HPALETTE palette = CreateDIBPalette(hdib);
    if (palette == nullptr)
        return nullptr;
    HBITMAP bitmap = DIBToBitmap(hdib, palette);
    if (bitmap == nullptr)
    {
        DeleteObject(palette);
        return nullptr;
    }
    HDIB result = FillFromBitmap(bitmap, palette, target, compression);
    DeleteObject(bitmap);
    DeleteObject(palette);
    return result;
}

int PaintDIB(HDC hdc, LPRECT dst, LPRECT src, HDIB hdib, HPALETTE palette)
{
    return PaintWithPalette(hdc, dst, src, hdib, palette, true);
}

int PaintDIB(HDC hdc, LPRECT dst, HDIB hdib, LPRECT src, CPalette* palette)
{
    if (hdib == nullptr || dst == nullptr || src == nullptr)
        return 0;
    DibLock lock(hdib);
    if (!lock)
        return 0;
    HPALETTE handle = palette ? static_cast<HPALETTE>(palette->m_hObject) : nullptr;
    PaletteScope scope(hdc, handle, TRUE, false);
    return PaintLocked(hdc, dst, src, lock.Get(), true);
}

int PaintDIBPixelByPixel(HDC hdc, LPRECT dst, LPRECT src, HDIB hdib, HPALETTE palette)
{
    return PaintWithPalette(hdc, dst, src, hdib, palette, false);
}

int PaintBitmap(HDC hdc, LPRECT dst, HBITMAP bitmap, LPRECT src, HPALETTE palette)
{
    if (dst == nullptr || src == nullptr)
        return 0;
    HDC memory = CreateCompatibleDC(hdc);
    if (memory == nullptr)
        return 0;
    int result = 0;
    {
        PaletteScope memoryPalette(memory, palette, TRUE, false);
        PaletteScope targetPalette(hdc, palette, TRUE, palette != nullptr);
        HGDIOBJ old = SelectObject(memory, bitmap);
        SetStretchBltMode(hdc, COLORONCOLOR);
        if (Width(dst) == Width(src) && Height(dst) == Height(src))
            result = BitBlt(hdc, dst->left, dst->top, Width(dst), Height(dst), memory, src->left,
                            src->top, SRCCOPY);
        else
            result = StretchBlt(hdc, dst->left, dst->top, Width(dst), Height(dst), memory,
                                src->left, src->top, Width(src), Height(src), SRCCOPY);
        if (old != nullptr)
            SelectObject(memory, old);
    }
    DeleteDC(memory);
    return result;
}
