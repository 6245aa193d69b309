// Cursors and icons (system ones and module resources, loaded once and
// shared), the current cursor with its display counter, and bitmaps from
// module resources.
#include "BitmapFile.h"
#include "DisplayBackend.h"
#include "FrameDrawing.h"
#include "IconImage.h"
#include "ResourceRegistry.h"
#include "WinCursor.h"
#include "WinError.h"
#include "WinMenu.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <tuple>
#include <vector>

namespace
{
struct CursorObject
{
    WORD nSystemId = 0;
    POINT hotSpot{0, 0};
    SIZE size{32, 32};
    std::vector<BYTE> fileBytes;
};

constexpr WORD kSystemCursors[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643,
                                   32644, 32645, 32646, 32648, 32649, 32650, 32651};
constexpr WORD kSystemIcons[] = {32512, 32513, 32514, 32515, 32516};

using CursorKey = std::tuple<bool, HMODULE, std::string>;

struct CursorTable
{
    std::map<CursorKey, std::unique_ptr<CursorObject>> loaded;
    std::vector<std::unique_ptr<CursorObject>> created; // by the program, until destroyed
    HCURSOR hCurrent = nullptr;
    int nShowCount = 0;
};

CursorTable& Cursors()
{
    static CursorTable table;
    return table;
}

std::string NameKey(LPCSTR lpName)
{
    std::string key = "#";
    if (IS_INTRESOURCE(lpName))
        return key.append(std::to_string(reinterpret_cast<ULONG_PTR>(lpName)));
    key = lpName;
    for (char& ch : key)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return key;
}

WORD ReadWord(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

// The first image entry of an icon or cursor file: size and hot spot.
bool ParseIconFile(std::span<const BYTE> bytes, bool bCursor, CursorObject& object)
{
    constexpr std::size_t kHeader = 6;
    constexpr std::size_t kEntry = 16;
    if (bytes.size() < kHeader + kEntry || ReadWord(bytes.data()) != 0)
        return false;
    const WORD type = ReadWord(bytes.data() + 2);
    const WORD count = ReadWord(bytes.data() + 4);
    if (type != (bCursor ? 2 : 1) || count == 0 || bytes.size() < kHeader + kEntry * count)
        return false;
    const BYTE* entry = bytes.data() + kHeader;
    object.size = SIZE{entry[0] == 0 ? 256 : entry[0], entry[1] == 0 ? 256 : entry[1]};
    if (bCursor)
        object.hotSpot = POINT{ReadWord(entry + 4), ReadWord(entry + 6)};
    object.fileBytes.assign(bytes.begin(), bytes.end());
    return true;
}

HICON LoadShared(HINSTANCE hInstance, LPCSTR lpName, bool bCursor)
{
    if (lpName == nullptr)
        return nullptr;
    CursorTable& table = Cursors();
    const CursorKey key{bCursor, hInstance, NameKey(lpName)};
    if (const auto it = table.loaded.find(key); it != table.loaded.end())
        return reinterpret_cast<HICON>(it->second.get());
    auto object = std::make_unique<CursorObject>();
    if (hInstance == nullptr)
    {
        const auto id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(lpName));
        const auto& known =
            bCursor ? std::span<const WORD>(kSystemCursors) : std::span<const WORD>(kSystemIcons);
        if (!IS_INTRESOURCE(lpName) || std::find(known.begin(), known.end(), id) == known.end())
        {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        object->nSystemId = id;
    }
    else
    {
        const auto bytes =
            FindResourceBytes(hInstance, bCursor ? RT_GROUP_CURSOR : RT_GROUP_ICON, lpName);
        if (!ParseIconFile(bytes, bCursor, *object))
        {
            SetLastError(bytes.empty() ? ERROR_RESOURCE_NAME_NOT_FOUND
                                       : ERROR_RESOURCE_DATA_NOT_FOUND);
            return nullptr;
        }
    }
    const auto handle = reinterpret_cast<HICON>(object.get());
    table.loaded.emplace(key, std::move(object));
    return handle;
}

const CursorObject* FindObject(HCURSOR hCursor)
{
    for (const auto& [key, object] : Cursors().loaded)
    {
        if (reinterpret_cast<HCURSOR>(object.get()) == hCursor)
            return object.get();
    }
    for (const auto& object : Cursors().created)
    {
        if (reinterpret_cast<HCURSOR>(object.get()) == hCursor)
            return object.get();
    }
    return nullptr;
}

BOOL DestroyObject(HICON hIcon)
{
    auto& created = Cursors().created;
    const auto it = std::find_if(created.begin(), created.end(),
                                 [hIcon](const auto& object)
                                 { return reinterpret_cast<HICON>(object.get()) == hIcon; });
    if (it == created.end())
        return FindObject(hIcon) != nullptr; // shared ones live as long as the process
    created.erase(it);
    return TRUE;
}

// A device-dependent bitmap from a bitmap resource. The store keeps an
// authored bitmap file as a packed DIB, as a compiled resource holds it;
// bytes registered as data may still be the whole file. The two never mix
// up: no DIB header is 0x4D42 ("BM") bytes long.
HBITMAP BitmapFromResourceBytes(std::span<const BYTE> bytes)
{
    const bool bFile = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
    const std::vector<BYTE> file = bFile ? std::vector<BYTE>() : BitmapFileOfPackedDib(bytes);
    CBitmapBytesSource source(bFile ? bytes : std::span<const BYTE>(file));
    BitmapFileContents contents;
    if (!ReadBitmapFile(source, contents))
        return nullptr;
    return CreateScreenBitmap(reinterpret_cast<const BITMAPINFO*>(contents.dib.data()),
                              contents.dib.data() + contents.layout.nBitsOffset, nullptr);
}
} // namespace

HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR cursorName)
{
    return LoadShared(hInstance, cursorName, true);
}

HICON LoadIconA(HINSTANCE hInstance, LPCSTR iconName)
{
    return LoadShared(hInstance, iconName, false);
}

BOOL DestroyCursor(HCURSOR hCursor)
{
    return DestroyObject(hCursor);
}

BOOL DestroyIcon(HICON hIcon)
{
    return DestroyObject(hIcon);
}

HICON CreateIconFromFile(std::vector<BYTE> fileBytes, bool bCursor)
{
    auto object = std::make_unique<CursorObject>();
    if (!ParseIconFile(fileBytes, bCursor, *object))
        return nullptr;
    const auto handle = reinterpret_cast<HICON>(object.get());
    Cursors().created.push_back(std::move(object));
    return handle;
}

HCURSOR SetCursor(HCURSOR hCursor)
{
    CursorTable& table = Cursors();
    const HCURSOR hPrevious = table.hCurrent;
    table.hCurrent = hCursor;
    if (hCursor != hPrevious)
        GetDisplayBackend().OnCursorChanged(hCursor, table.nShowCount >= 0);
    return hPrevious;
}

HCURSOR GetCursor()
{
    return Cursors().hCurrent;
}

int ShowCursor(BOOL show)
{
    CursorTable& table = Cursors();
    table.nShowCount += show ? 1 : -1;
    GetDisplayBackend().OnCursorChanged(table.hCurrent, table.nShowCount >= 0);
    return table.nShowCount;
}

BOOL GetCursorImageInfo(HCURSOR hCursor, CursorImageInfo* info)
{
    const CursorObject* object = FindObject(hCursor);
    if (object == nullptr || info == nullptr)
        return FALSE;
    *info = CursorImageInfo{object->hotSpot, object->size, object->nSystemId,
                            object->fileBytes.empty() ? nullptr : object->fileBytes.data(),
                            static_cast<DWORD>(object->fileBytes.size())};
    return TRUE;
}

HBITMAP LoadBitmapA(HINSTANCE hInstance, LPCSTR bitmapName)
{
    if (hInstance == nullptr && bitmapName == MAKEINTRESOURCE(OBM_CHECK))
        return CreateCheckMarkBitmap();
    if (hInstance == nullptr || bitmapName == nullptr)
        return nullptr;
    HBITMAP hBitmap = BitmapFromResourceBytes(FindResourceBytes(hInstance, RT_BITMAP, bitmapName));
    if (hBitmap == nullptr)
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return hBitmap;
}

HANDLE LoadImageA(HINSTANCE hInstance, LPCSTR name, UINT type, int, int, UINT flags)
{
    if (flags & LR_LOADFROMFILE)
        return nullptr;
    switch (type)
    {
    case IMAGE_BITMAP:
        return LoadBitmapA(hInstance, name);
    case IMAGE_ICON:
        return LoadIconA(hInstance, name);
    case IMAGE_CURSOR:
        return LoadCursorA(hInstance, name);
    default:
        return nullptr;
    }
}
