// The clipboard store, its formats and the bridge to other programs.
#include "AtomNames.h"

#include "ClipboardBridge.h"
#include "PackedDib.h"
#include "UserRawInput.h"
#include "WinClipboard.h"
#include "WinError.h"
#include "WinGlobalMemory.h"
#include "WinWindow.h"

#include <algorithm>
#include <cstring>

namespace
{
struct ClipboardEntry
{
    UINT nFormat;
    HANDLE hData;
    // Made by the clipboard (a bitmap as a DIB, another program's data)
    // rather than set by a caller.
    bool bMade;
    bool bForeign;
};

struct ClipboardState
{
    bool bOpen = false;
    HWND hOpener = nullptr;
    HWND hOwner = nullptr;
    bool bChanged = false;
    DWORD dwSequence = 1;
    std::vector<ClipboardEntry> entries;
    CClipboardBridge* pBridge = nullptr;
};

ClipboardState& State()
{
    static ClipboardState state;
    return state;
}

bool IsGdiFormat(UINT nFormat)
{
    return nFormat == CF_BITMAP || nFormat == CF_PALETTE;
}

void FreeData(UINT nFormat, HANDLE hData)
{
    if (hData == nullptr)
        return;
    if (IsGdiFormat(nFormat))
        DeleteObject(static_cast<HGDIOBJ>(hData));
    else
        GlobalFree(hData);
}

void FreeEntries(bool bForeignOnly)
{
    auto& entries = State().entries;
    const auto end = std::remove_if(entries.begin(), entries.end(),
                                    [bForeignOnly](const ClipboardEntry& entry)
                                    {
                                        if (bForeignOnly && !entry.bForeign)
                                            return false;
                                        FreeData(entry.nFormat, entry.hData);
                                        return true;
                                    });
    entries.erase(end, entries.end());
}

ClipboardEntry* FindEntry(UINT nFormat)
{
    for (ClipboardEntry& entry : State().entries)
    {
        if (entry.nFormat == nFormat)
            return &entry;
    }
    return nullptr;
}

bool HasLocalContents()
{
    const auto& entries = State().entries;
    return std::any_of(entries.begin(), entries.end(),
                       [](const ClipboardEntry& entry) { return !entry.bForeign; });
}

std::vector<UINT> ForeignFormats()
{
    CClipboardBridge* pBridge = State().pBridge;
    return pBridge != nullptr && !HasLocalContents() ? pBridge->GetForeignFormats()
                                                     : std::vector<UINT>{};
}

HGLOBAL GlobalFromBytes(const std::vector<BYTE>& bytes)
{
    HGLOBAL hGlobal = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (void* p = GlobalLock(hGlobal))
    {
        std::memcpy(p, bytes.data(), bytes.size());
        GlobalUnlock(hGlobal);
    }
    return hGlobal;
}

std::vector<BYTE> BytesOfGlobal(HANDLE hGlobal)
{
    std::vector<BYTE> bytes;
    const auto* p = static_cast<const BYTE*>(GlobalLock(hGlobal));
    if (p == nullptr)
        return bytes;
    bytes.assign(p, p + GlobalSize(hGlobal));
    GlobalUnlock(hGlobal);
    return bytes;
}

// A 24-bit bottom-up packed DIB of a bitmap.
std::vector<BYTE> DibBytesOfBitmap(HBITMAP hBitmap)
{
    BITMAP bm{};
    if (GetObjectA(hBitmap, sizeof(bm), &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return {};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = bm.bmWidth;
    header.biHeight = bm.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    HGLOBAL hDib = PackBitmap(hBitmap, header, nullptr);
    std::vector<BYTE> bytes = BytesOfGlobal(hDib);
    GlobalFree(hDib);
    return bytes;
}

HBITMAP BitmapOfDibBytes(const std::vector<BYTE>& bytes)
{
    PackedDibLayout layout;
    if (!ParsePackedDib(bytes.data(), bytes.size(), layout))
        return nullptr;
    return CreateScreenBitmap(reinterpret_cast<const BITMAPINFO*>(bytes.data()),
                              bytes.data() + layout.nBitsOffset, nullptr);
}

// CF_DIB and CF_BITMAP stand for each other.
UINT CounterpartOf(UINT nFormat)
{
    if (nFormat == CF_DIB)
        return CF_BITMAP;
    if (nFormat == CF_BITMAP)
        return CF_DIB;
    return 0;
}

HANDLE Convert(UINT nFormat, const ClipboardEntry& source)
{
    if (nFormat == CF_DIB)
    {
        const std::vector<BYTE> bytes = DibBytesOfBitmap(static_cast<HBITMAP>(source.hData));
        return bytes.empty() ? nullptr : GlobalFromBytes(bytes);
    }
    return BitmapOfDibBytes(BytesOfGlobal(source.hData));
}

HANDLE FetchForeign(UINT nFormat)
{
    const std::vector<UINT> foreign = ForeignFormats();
    const bool bOffered = std::find(foreign.begin(), foreign.end(), nFormat) != foreign.end();
    if (bOffered)
    {
        const std::vector<BYTE> bytes = State().pBridge->FetchForeign(nFormat);
        if (bytes.empty())
            return nullptr;
        State().entries.push_back(ClipboardEntry{nFormat, GlobalFromBytes(bytes), true, true});
        return State().entries.back().hData;
    }
    const UINT nCounterpart = CounterpartOf(nFormat);
    if (nCounterpart == 0 ||
        std::find(foreign.begin(), foreign.end(), nCounterpart) == foreign.end() ||
        FetchForeign(nCounterpart) == nullptr)
        return nullptr;
    const HANDLE hData = Convert(nFormat, *FindEntry(nCounterpart));
    if (hData != nullptr)
        State().entries.push_back(ClipboardEntry{nFormat, hData, true, true});
    return hData;
}

std::vector<UINT> AvailableFormats()
{
    std::vector<UINT> formats;
    if (HasLocalContents())
    {
        for (const ClipboardEntry& entry : State().entries)
        {
            if (!entry.bForeign)
                formats.push_back(entry.nFormat);
        }
    }
    else
    {
        formats = ForeignFormats();
    }
    for (UINT nFormat : std::vector<UINT>(formats))
    {
        const UINT nCounterpart = CounterpartOf(nFormat);
        if (nCounterpart != 0 &&
            std::find(formats.begin(), formats.end(), nCounterpart) == formats.end())
            formats.push_back(nCounterpart);
    }
    return formats;
}

bool RequireOpen()
{
    if (!State().bOpen)
    {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return false;
    }
    return true;
}
} // namespace

CClipboardBridge::~CClipboardBridge() = default;

void SetClipboardBridge(CClipboardBridge* pBridge)
{
    State().pBridge = pBridge;
}

std::vector<BYTE> GetClipboardBytes(UINT nFormat)
{
    if (const ClipboardEntry* entry = FindEntry(nFormat); entry != nullptr && !entry->bForeign)
        return BytesOfGlobal(entry->hData);
    const ClipboardEntry* bitmap = FindEntry(CF_BITMAP);
    if (nFormat == CF_DIB && bitmap != nullptr && !bitmap->bForeign)
        return DibBytesOfBitmap(static_cast<HBITMAP>(bitmap->hData));
    return {};
}

void UserResetClipboard()
{
    ClipboardState& state = State();
    FreeEntries(false);
    state.bOpen = false;
    state.hOpener = nullptr;
    state.hOwner = nullptr;
    state.bChanged = false;
}

void ReleaseClipboardContents()
{
    ClipboardState& state = State();
    FreeEntries(false);
    state.hOwner = nullptr;
    ++state.dwSequence;
}

BOOL OpenClipboard(HWND hWndNewOwner)
{
    ClipboardState& state = State();
    if (hWndNewOwner != nullptr && !IsWindow(hWndNewOwner))
    {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (state.bOpen && state.hOpener != hWndNewOwner)
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    state.bOpen = true;
    state.hOpener = hWndNewOwner;
    return TRUE;
}

BOOL CloseClipboard()
{
    if (!RequireOpen())
        return FALSE;
    ClipboardState& state = State();
    state.bOpen = false;
    state.hOpener = nullptr;
    // What was fetched from another program was good while it was open.
    FreeEntries(true);
    if (state.bChanged)
    {
        state.bChanged = false;
        if (state.pBridge != nullptr)
            state.pBridge->OnContentsChanged();
    }
    return TRUE;
}

BOOL EmptyClipboard()
{
    if (!RequireOpen())
        return FALSE;
    ClipboardState& state = State();
    FreeEntries(false);
    state.hOwner = state.hOpener;
    state.bChanged = true;
    ++state.dwSequence;
    return TRUE;
}

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem)
{
    if (!RequireOpen())
        return nullptr;
    if (uFormat == 0 || hMem == nullptr)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    ClipboardState& state = State();
    // New data for a format replaces the old and what was made from it.
    for (UINT nFormat : {uFormat, CounterpartOf(uFormat)})
    {
        ClipboardEntry* entry = FindEntry(nFormat);
        if (entry == nullptr || (nFormat != uFormat && !entry->bMade))
            continue;
        FreeData(entry->nFormat, entry->hData);
        state.entries.erase(state.entries.begin() + (entry - state.entries.data()));
    }
    FreeEntries(true);
    state.entries.push_back(ClipboardEntry{uFormat, hMem, false, false});
    state.bChanged = true;
    ++state.dwSequence;
    return hMem;
}

HANDLE GetClipboardData(UINT uFormat)
{
    if (!RequireOpen())
        return nullptr;
    if (const ClipboardEntry* entry = FindEntry(uFormat))
        return entry->hData;
    if (!HasLocalContents())
        return FetchForeign(uFormat);
    const ClipboardEntry* source = FindEntry(CounterpartOf(uFormat));
    if (source == nullptr)
        return nullptr;
    const HANDLE hData = Convert(uFormat, *source);
    if (hData != nullptr)
        State().entries.push_back(ClipboardEntry{uFormat, hData, true, false});
    return hData;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    const std::vector<UINT> formats = AvailableFormats();
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

UINT EnumClipboardFormats(UINT format)
{
    if (!RequireOpen())
        return 0;
    const std::vector<UINT> formats = AvailableFormats();
    if (format == 0)
        return formats.empty() ? 0 : formats.front();
    const auto it = std::find(formats.begin(), formats.end(), format);
    SetLastError(NO_ERROR);
    return it == formats.end() || it + 1 == formats.end() ? 0 : *(it + 1);
}

int CountClipboardFormats()
{
    return static_cast<int>(AvailableFormats().size());
}

HWND GetClipboardOwner()
{
    const HWND hOwner = State().hOwner;
    return IsWindow(hOwner) ? hOwner : nullptr;
}

HWND GetOpenClipboardWindow()
{
    const ClipboardState& state = State();
    return state.bOpen && IsWindow(state.hOpener) ? state.hOpener : nullptr;
}

DWORD GetClipboardSequenceNumber()
{
    return State().dwSequence;
}

UINT RegisterClipboardFormatA(LPCSTR lpszFormat)
{
    const UINT nFormat = RegisterAtomName(lpszFormat);
    if (nFormat == 0)
        SetLastError(ERROR_INVALID_PARAMETER);
    return nFormat;
}

int GetClipboardFormatNameA(UINT format, LPSTR lpszFormatName, int cchMaxCount)
{
    const std::string* name = FindAtomName(format);
    if (name == nullptr || lpszFormatName == nullptr || cchMaxCount <= 0)
        return 0;
    const int nCount = std::min(static_cast<int>(name->size()), cchMaxCount - 1);
    std::memcpy(lpszFormatName, name->data(), static_cast<std::size_t>(nCount));
    lpszFormatName[nCount] = '\0';
    return nCount;
}
