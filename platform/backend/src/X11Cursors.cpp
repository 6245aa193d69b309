#include "X11Cursors.h"

#include "IconImage.h"
#include "WinModule.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{
struct SystemCursorFile
{
    WORD nId;
    const char* pszName;
};

constexpr SystemCursorFile kSystemCursorFiles[] = {
    {32512, "arrow"},   {32513, "ibeam"},    {32514, "wait"},     {32515, "cross"},
    {32516, "uparrow"}, {32642, "sizenwse"}, {32643, "sizenesw"}, {32644, "sizewe"},
    {32645, "sizens"},  {32646, "sizeall"},  {32648, "no"},       {32649, "hand"},
    {32650, "wait"},    {32651, "arrow"},
};

const char* FileNameOf(WORD nSystemId)
{
    for (const SystemCursorFile& file : kSystemCursorFiles)
    {
        if (file.nId == nSystemId)
            return file.pszName;
    }
    return "arrow";
}
} // namespace

CX11Cursors::CX11Cursors(Display* pDisplay) : m_pDisplay(pDisplay) {}

CX11Cursors::~CX11Cursors()
{
    for (const auto& [name, cursor] : m_loaded)
    {
        if (cursor != 0)
            XFreeCursor(m_pDisplay, cursor);
    }
    for (const auto& [handle, cursor] : m_images)
    {
        if (cursor != 0)
            XFreeCursor(m_pDisplay, cursor);
    }
    if (m_invisible != 0)
        XFreeCursor(m_pDisplay, m_invisible);
}

std::string CX11Cursors::GetFolder()
{
    HMODULE hModule = nullptr;
    char path[MAX_PATH * 4];
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&FileNameOf), &hModule) ||
        GetModuleFileNameA(hModule, path, sizeof(path)) == 0)
        return "cursors";
    std::string folder(path);
    folder.resize(folder.find_last_of('/') + 1);
    return folder + "cursors";
}

Cursor CX11Cursors::Get(HCURSOR hCursor, bool bShown)
{
    if (!bShown || hCursor == nullptr)
    {
        if (m_invisible == 0)
        {
            const char empty = 0;
            const Window root = DefaultRootWindow(m_pDisplay);
            const Pixmap blank = XCreateBitmapFromData(m_pDisplay, root, &empty, 1, 1);
            XColor black{};
            m_invisible = XCreatePixmapCursor(m_pDisplay, blank, blank, &black, &black, 0, 0);
            XFreePixmap(m_pDisplay, blank);
        }
        return m_invisible;
    }
    CursorImageInfo info{};
    if (!GetCursorImageInfo(hCursor, &info))
        return LoadNamed("arrow");
    if (info.pFileBytes != nullptr)
    {
        if (const Cursor cursor = FromImage(hCursor, info))
            return cursor;
    }
    return LoadNamed(FileNameOf(info.nSystemId));
}

Cursor CX11Cursors::LoadNamed(const char* pszName)
{
    if (const auto it = m_loaded.find(pszName); it != m_loaded.end())
        return it->second;
    const Window root = DefaultRootWindow(m_pDisplay);
    const std::string base = GetFolder() + "/" + pszName;
    unsigned width = 0;
    unsigned height = 0;
    unsigned maskWidth = 0;
    unsigned maskHeight = 0;
    int xHot = 0;
    int yHot = 0;
    int unused = 0;
    Pixmap source = 0;
    Pixmap mask = 0;
    Cursor cursor = 0;
    const bool bRead = XReadBitmapFile(m_pDisplay, root, (base + ".xbm").c_str(), &width, &height,
                                       &source, &xHot, &yHot) == BitmapSuccess &&
                       XReadBitmapFile(m_pDisplay, root, (base + "_mask.xbm").c_str(), &maskWidth,
                                       &maskHeight, &mask, &unused, &unused) == BitmapSuccess;
    if (bRead && width == maskWidth && height == maskHeight)
    {
        XColor black{};
        XColor white{};
        white.red = white.green = white.blue = 0xFFFF;
        cursor = XCreatePixmapCursor(m_pDisplay, source, mask, &black, &white,
                                     static_cast<unsigned>(std::max(xHot, 0)),
                                     static_cast<unsigned>(std::max(yHot, 0)));
    }
    else
    {
        std::fprintf(stderr, "X11: the cursor image %s.xbm (or its mask) cannot be read\n",
                     base.c_str());
    }
    if (source != 0)
        XFreePixmap(m_pDisplay, source);
    if (mask != 0)
        XFreePixmap(m_pDisplay, mask);
    m_loaded.emplace(pszName, cursor);
    return cursor;
}

Cursor CX11Cursors::FromImage(HCURSOR hCursor, const CursorImageInfo& info)
{
    if (const auto it = m_images.find(hCursor); it != m_images.end())
        return it->second;
    IconImage image;
    Cursor cursor = 0;
    if (GetIconImage(hCursor, image))
    {
        const std::size_t rowBytes = std::size_t(image.nWidth + 7) / 8;
        std::vector<char> source(rowBytes * std::size_t(image.nHeight), 0);
        std::vector<char> mask(source.size(), 0);
        for (int y = 0; y < image.nHeight; ++y)
        {
            for (int x = 0; x < image.nWidth; ++x)
            {
                const std::size_t i = std::size_t(y) * std::size_t(image.nWidth) + std::size_t(x);
                const std::uint32_t pixel = image.colors[i];
                const int luminance =
                    (((pixel >> 16) & 0xFF) * 3 + ((pixel >> 8) & 0xFF) * 6 + (pixel & 0xFF)) / 10;
                const std::size_t at = std::size_t(y) * rowBytes + std::size_t(x / 8);
                const char bit = static_cast<char>(1 << (x % 8));
                if (!image.transparent[i])
                    mask[at] |= bit;
                if (!image.transparent[i] && luminance < 0x80)
                    source[at] |= bit;
            }
        }
        const Window root = DefaultRootWindow(m_pDisplay);
        const auto width = static_cast<unsigned>(image.nWidth);
        const auto height = static_cast<unsigned>(image.nHeight);
        const Pixmap sourceMap =
            XCreateBitmapFromData(m_pDisplay, root, source.data(), width, height);
        const Pixmap maskMap = XCreateBitmapFromData(m_pDisplay, root, mask.data(), width, height);
        XColor black{};
        XColor white{};
        white.red = white.green = white.blue = 0xFFFF;
        cursor = XCreatePixmapCursor(
            m_pDisplay, sourceMap, maskMap, &black, &white,
            static_cast<unsigned>(std::clamp<LONG>(info.hotSpot.x, 0, image.nWidth - 1)),
            static_cast<unsigned>(std::clamp<LONG>(info.hotSpot.y, 0, image.nHeight - 1)));
        XFreePixmap(m_pDisplay, sourceMap);
        XFreePixmap(m_pDisplay, maskMap);
    }
    m_images.emplace(hCursor, cursor);
    return cursor;
}
