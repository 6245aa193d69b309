#include "X11Cursors.h"

#include "WinCursor.h"
#include "WinModule.h"

#include <algorithm>
#include <cstdio>

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
    const WORD nId = GetCursorImageInfo(hCursor, &info) ? info.nSystemId : 0;
    return LoadNamed(FileNameOf(nId));
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
