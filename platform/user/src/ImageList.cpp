// Image lists: each image held as pixels with its transparency, drawn
// through the icon-image drawing, and given out as bitmaps or icons.
#include "IconImage.h"

#include "WinCursor.h"
#include "WinDrawing.h"
#include "WinError.h"
#include "WinImageList.h"
#include "WinSysMetrics.h"

#include <map>
#include <memory>

namespace
{
constexpr ULONG_PTR kFirstImageList = 0x40000;
constexpr int kOverlays = 15;

struct ImageListData
{
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
    COLORREF bkColor = CLR_NONE;
    std::vector<IconImage> images;
    int overlays[kOverlays + 1] = {};
    // The images as bitmaps for IMAGEINFO, made when asked for.
    HBITMAP hbmImage = nullptr;
    HBITMAP hbmMask = nullptr;

    ~ImageListData() { DropStrips(); }
    void DropStrips()
    {
        DeleteObject(hbmImage);
        DeleteObject(hbmMask);
        hbmImage = nullptr;
        hbmMask = nullptr;
    }
};

struct ImageListTable
{
    std::map<ULONG_PTR, std::unique_ptr<ImageListData>> lists;
    ULONG_PTR nNext = kFirstImageList;
};

ImageListTable& Table()
{
    static ImageListTable table;
    return table;
}

ImageListData* Find(HIMAGELIST himl)
{
    auto& lists = Table().lists;
    const auto it = lists.find(reinterpret_cast<ULONG_PTR>(himl));
    if (it == lists.end())
    {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second.get();
}

std::uint32_t PixelOf(COLORREF color)
{
    return (static_cast<std::uint32_t>(GetRValue(color)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}

// The bitmap's pixels as 0x00RRGGBB, top row first.
std::vector<std::uint32_t> ReadPixels(HBITMAP hBitmap, int& nWidth, int& nHeight)
{
    BITMAP bm{};
    if (hBitmap == nullptr || GetObjectA(hBitmap, sizeof(bm), &bm) == 0)
        return {};
    nWidth = bm.bmWidth;
    nHeight = bm.bmHeight;
    std::vector<std::uint32_t> pixels(std::size_t(nWidth) * nHeight);
    BITMAPINFO info{};
    info.bmiHeader =
        BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), nWidth, -nHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC hdc = GetDC(nullptr);
    const int nRows = GetDIBits(hdc, hBitmap, 0, static_cast<UINT>(nHeight), pixels.data(), &info,
                                DIB_RGB_COLORS);
    ReleaseDC(nullptr, hdc);
    if (nRows == 0)
        return {};
    for (std::uint32_t& pixel : pixels)
        pixel &= 0x00FFFFFF;
    return pixels;
}

// Cuts a strip of images; isTransparent tells for each pixel.
template <typename TTransparent>
int AddStrip(ImageListData& list, const std::vector<std::uint32_t>& pixels, int nWidth, int nHeight,
             TTransparent isTransparent)
{
    if (pixels.empty() || nWidth < list.cx || list.cx <= 0)
        return -1;
    const int nFirst = static_cast<int>(list.images.size());
    for (int nImage = 0; nImage < nWidth / list.cx; ++nImage)
    {
        IconImage image;
        image.nWidth = list.cx;
        image.nHeight = list.cy;
        image.colors.assign(std::size_t(list.cx) * list.cy, 0);
        image.transparent.assign(image.colors.size(), true);
        for (int y = 0; y < std::min(list.cy, nHeight); ++y)
        {
            for (int x = 0; x < list.cx; ++x)
            {
                const std::size_t nFrom = std::size_t(y) * nWidth + nImage * list.cx + x;
                const std::size_t nTo = std::size_t(y) * list.cx + x;
                image.colors[nTo] = pixels[nFrom];
                image.transparent[nTo] = (list.flags & ILC_MASK) && isTransparent(nFrom);
            }
        }
        list.images.push_back(std::move(image));
    }
    list.DropStrips();
    return nFirst;
}

// The image at the list's size, nearest pixel.
IconImage FitImage(const IconImage& source, int cx, int cy)
{
    IconImage image;
    image.nWidth = cx;
    image.nHeight = cy;
    image.colors.resize(std::size_t(cx) * cy);
    image.transparent.resize(image.colors.size());
    for (int y = 0; y < cy; ++y)
    {
        for (int x = 0; x < cx; ++x)
        {
            const std::size_t nFrom = std::size_t(y * source.nHeight / cy) * source.nWidth +
                                      std::size_t(x * source.nWidth / cx);
            image.colors[std::size_t(y) * cx + x] = source.colors[nFrom];
            image.transparent[std::size_t(y) * cx + x] = source.transparent[nFrom];
        }
    }
    return image;
}

void Blend(IconImage& image, COLORREF blend, int nPercent)
{
    const std::uint32_t over = PixelOf(blend);
    for (std::uint32_t& pixel : image.colors)
    {
        std::uint32_t mixed = 0;
        for (int shift = 0; shift <= 16; shift += 8)
        {
            const std::uint32_t a = (pixel >> shift) & 0xFF;
            const std::uint32_t b = (over >> shift) & 0xFF;
            mixed |= ((a * (100 - nPercent) + b * nPercent + 50) / 100) << shift;
        }
        pixel = mixed;
    }
}

void BuildStrips(ImageListData& list)
{
    if (list.hbmImage != nullptr)
        return;
    const int nWidth = std::max<int>(1, list.cx * static_cast<int>(list.images.size()));
    HDC hdcScreen = GetDC(nullptr);
    list.hbmImage = CreateCompatibleBitmap(hdcScreen, nWidth, list.cy);
    ReleaseDC(nullptr, hdcScreen);
    list.hbmMask = CreateBitmap(nWidth, list.cy, 1, 1, nullptr);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, list.hbmImage);
    for (std::size_t n = 0; n < list.images.size(); ++n)
    {
        const IconImage& image = list.images[n];
        for (int y = 0; y < image.nHeight; ++y)
        {
            for (int x = 0; x < image.nWidth; ++x)
            {
                const std::uint32_t pixel = image.colors[std::size_t(y) * image.nWidth + x];
                SetPixel(hdc, static_cast<int>(n) * list.cx + x, y,
                         RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
            }
        }
    }
    SelectObject(hdc, list.hbmMask);
    for (std::size_t n = 0; n < list.images.size(); ++n)
    {
        const IconImage& image = list.images[n];
        for (int y = 0; y < image.nHeight; ++y)
        {
            for (int x = 0; x < image.nWidth; ++x)
            {
                const bool bClear = image.transparent[std::size_t(y) * image.nWidth + x];
                SetPixel(hdc, static_cast<int>(n) * list.cx + x, y,
                         bClear ? RGB(255, 255, 255) : RGB(0, 0, 0));
            }
        }
    }
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
}
} // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int)
{
    if (cx <= 0 || cy <= 0)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto list = std::make_unique<ImageListData>();
    list->cx = cx;
    list->cy = cy;
    list->flags = flags;
    std::fill(std::begin(list->overlays), std::end(list->overlays), -1);
    ImageListTable& table = Table();
    const ULONG_PTR nHandle = table.nNext++;
    table.lists.emplace(nHandle, std::move(list));
    return reinterpret_cast<HIMAGELIST>(nHandle);
}

BOOL ImageList_Destroy(HIMAGELIST himl)
{
    return Table().lists.erase(reinterpret_cast<ULONG_PTR>(himl)) != 0;
}

int ImageList_GetImageCount(HIMAGELIST himl)
{
    const ImageListData* list = Find(himl);
    return list != nullptr ? static_cast<int>(list->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy)
{
    const ImageListData* list = Find(himl);
    if (list == nullptr || cx == nullptr || cy == nullptr)
        return FALSE;
    *cx = list->cx;
    *cy = list->cy;
    return TRUE;
}

int ImageList_Add(HIMAGELIST himl, HBITMAP hbmImage, HBITMAP hbmMask)
{
    ImageListData* list = Find(himl);
    if (list == nullptr)
        return -1;
    int nWidth = 0;
    int nHeight = 0;
    const std::vector<std::uint32_t> pixels = ReadPixels(hbmImage, nWidth, nHeight);
    int nMaskWidth = 0;
    int nMaskHeight = 0;
    const std::vector<std::uint32_t> mask = ReadPixels(hbmMask, nMaskWidth, nMaskHeight);
    const bool bMask = !mask.empty() && nMaskWidth == nWidth && nMaskHeight == nHeight;
    return AddStrip(*list, pixels, nWidth, nHeight,
                    [&](std::size_t n) { return bMask && mask[n] != 0; });
}

int ImageList_AddMasked(HIMAGELIST himl, HBITMAP hbmImage, COLORREF crMask)
{
    ImageListData* list = Find(himl);
    if (list == nullptr)
        return -1;
    int nWidth = 0;
    int nHeight = 0;
    const std::vector<std::uint32_t> pixels = ReadPixels(hbmImage, nWidth, nHeight);
    const std::uint32_t key = PixelOf(crMask);
    return AddStrip(*list, pixels, nWidth, nHeight,
                    [&](std::size_t n) { return crMask != CLR_NONE && pixels[n] == key; });
}

int ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON hicon)
{
    ImageListData* list = Find(himl);
    IconImage icon;
    if (list == nullptr || !GetIconImage(hicon, icon) || i >= static_cast<int>(list->images.size()))
        return -1;
    IconImage fitted = FitImage(icon, list->cx, list->cy);
    list->DropStrips();
    if (i < 0)
    {
        list->images.push_back(std::move(fitted));
        return static_cast<int>(list->images.size()) - 1;
    }
    list->images[static_cast<std::size_t>(i)] = std::move(fitted);
    return i;
}

BOOL ImageList_Remove(HIMAGELIST himl, int i)
{
    ImageListData* list = Find(himl);
    if (list == nullptr || i >= static_cast<int>(list->images.size()))
        return FALSE;
    if (i < 0)
        list->images.clear();
    else
        list->images.erase(list->images.begin() + i);
    list->DropStrips();
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk)
{
    ImageListData* list = Find(himl);
    if (list == nullptr)
        return CLR_NONE;
    const COLORREF previous = list->bkColor;
    list->bkColor = clrBk;
    return previous;
}

COLORREF ImageList_GetBkColor(HIMAGELIST himl)
{
    const ImageListData* list = Find(himl);
    return list != nullptr ? list->bkColor : CLR_NONE;
}

BOOL ImageList_SetOverlayImage(HIMAGELIST himl, int iImage, int iOverlay)
{
    ImageListData* list = Find(himl);
    if (list == nullptr || iOverlay < 1 || iOverlay > kOverlays || iImage < 0 ||
        iImage >= static_cast<int>(list->images.size()))
        return FALSE;
    list->overlays[iOverlay] = iImage;
    return TRUE;
}

BOOL ImageList_DrawEx(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, int dx, int dy,
                      COLORREF rgbBk, COLORREF rgbFg, UINT fStyle)
{
    const ImageListData* list = Find(himl);
    if (list == nullptr || hdcDst == nullptr || i < 0 || i >= static_cast<int>(list->images.size()))
        return FALSE;
    const int cx = dx > 0 ? dx : list->cx;
    const int cy = dy > 0 ? dy : list->cy;
    IconImage image = list->images[static_cast<std::size_t>(i)];
    if (fStyle & ILD_MASK)
    {
        for (std::size_t n = 0; n < image.colors.size(); ++n)
            image.colors[n] = image.transparent[n] ? 0x00FFFFFF : 0;
        std::fill(image.transparent.begin(), image.transparent.end(), false);
        return DrawIconImage(hdcDst, image, x, y, cx, cy, DI_NORMAL) ? TRUE : FALSE;
    }
    if (fStyle & (ILD_BLEND50 | ILD_BLEND25))
    {
        const COLORREF blend =
            rgbFg == CLR_DEFAULT || rgbFg == CLR_NONE ? GetSysColor(COLOR_HIGHLIGHT) : rgbFg;
        Blend(image, blend, (fStyle & ILD_BLEND50) ? 50 : 25);
    }
    // Without ILD_TRANSPARENT a background colour fills what the mask
    // leaves.
    const COLORREF background = rgbBk == CLR_DEFAULT ? list->bkColor : rgbBk;
    if ((fStyle & ILD_TRANSPARENT) == 0 && background != CLR_NONE)
    {
        for (std::size_t n = 0; n < image.colors.size(); ++n)
        {
            if (image.transparent[n])
                image.colors[n] = PixelOf(background);
        }
        std::fill(image.transparent.begin(), image.transparent.end(), false);
    }
    DrawIconImage(hdcDst, image, x, y, cx, cy, DI_NORMAL);
    const int nOverlay = static_cast<int>((fStyle & ILD_OVERLAYMASK) >> 8);
    if (nOverlay >= 1 && nOverlay <= kOverlays && list->overlays[nOverlay] >= 0)
        DrawIconImage(hdcDst, list->images[static_cast<std::size_t>(list->overlays[nOverlay])], x,
                      y, cx, cy, DI_NORMAL);
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdcDst, int x, int y, UINT fStyle)
{
    return ImageList_DrawEx(himl, i, hdcDst, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, fStyle);
}

BOOL ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* pImageInfo)
{
    ImageListData* list = Find(himl);
    if (list == nullptr || pImageInfo == nullptr || i < 0 ||
        i >= static_cast<int>(list->images.size()))
        return FALSE;
    BuildStrips(*list);
    pImageInfo->hbmImage = list->hbmImage;
    pImageInfo->hbmMask = (list->flags & ILC_MASK) ? list->hbmMask : nullptr;
    pImageInfo->rcImage = RECT{i * list->cx, 0, (i + 1) * list->cx, list->cy};
    return TRUE;
}

HICON ImageList_GetIcon(HIMAGELIST himl, int i, UINT)
{
    const ImageListData* list = Find(himl);
    if (list == nullptr || i < 0 || i >= static_cast<int>(list->images.size()))
        return nullptr;
    return CreateIconFromFile(
        EncodeIconFile(list->images[static_cast<std::size_t>(i)], false, POINT{0, 0}), false);
}

HIMAGELIST ImageList_LoadImageA(HINSTANCE hi, LPCSTR lpbmp, int cx, int cGrow, COLORREF crMask,
                                UINT, UINT)
{
    HBITMAP hBitmap = LoadBitmapA(hi, lpbmp);
    BITMAP bm{};
    if (hBitmap == nullptr || GetObjectA(hBitmap, sizeof(bm), &bm) == 0)
        return nullptr;
    const UINT flags = ILC_COLOR32 | (crMask != CLR_NONE ? ILC_MASK : 0);
    const HIMAGELIST himl = ImageList_Create(cx, bm.bmHeight, flags, bm.bmWidth / cx, cGrow);
    if (himl != nullptr)
        ImageList_AddMasked(himl, hBitmap, crMask);
    DeleteObject(hBitmap);
    return himl;
}
