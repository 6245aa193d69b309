// Dropped files: the HDROP block, the calls that read it, and drops
// injected at a screen point.
#include "WinDropFiles.h"

#include "OleDataStore.h"
#include "OleDragSession.h"
#include "WinClipboard.h"
#include "WinGlobalMemory.h"
#include "WinWindow.h"

#include <cstring>
#include <string_view>
#include <strings.h>

namespace
{
constexpr UINT kCountQuery = 0xFFFFFFFF;

HGLOBAL BlockOf(HDROP hDrop)
{
    return reinterpret_cast<HGLOBAL>(hDrop);
}

// The paths of a locked block, checked against its size: a header pointing
// outside the block, or a list running off its end, gives what is sound.
std::vector<std::string> ReadPaths(const BYTE* pBlock, SIZE_T nSize)
{
    std::vector<std::string> paths;
    if (nSize < sizeof(DROPFILES))
        return paths;
    DROPFILES header{};
    std::memcpy(&header, pBlock, sizeof(header));
    if (header.fWide || header.pFiles < sizeof(DROPFILES) || header.pFiles >= nSize)
        return paths;
    const char* pText = reinterpret_cast<const char*>(pBlock + header.pFiles);
    const char* pEnd = reinterpret_cast<const char*>(pBlock + nSize);
    while (pText < pEnd && *pText != '\0')
    {
        const auto* pNul = static_cast<const char*>(std::memchr(pText, 0, pEnd - pText));
        if (pNul == nullptr)
            break;
        paths.emplace_back(pText, pNul);
        pText = pNul + 1;
    }
    return paths;
}
int HexValue(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// Percent escapes decoded; a broken escape stays as it is.
std::string Unescape(std::string_view text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const int nHigh = i + 2 < text.size() && text[i] == '%' ? HexValue(text[i + 1]) : -1;
        const int nLow = nHigh >= 0 ? HexValue(text[i + 2]) : -1;
        if (nLow < 0)
        {
            decoded += text[i];
            continue;
        }
        decoded += static_cast<char>(nHigh * 16 + nLow);
        i += 2;
    }
    return decoded;
}

// The path of one "file:" URI, empty when it names none of this machine.
std::string PathOfFileUri(std::string_view uri)
{
    constexpr std::string_view kScheme = "file:";
    if (uri.size() < kScheme.size() || strncasecmp(uri.data(), kScheme.data(), kScheme.size()) != 0)
        return {};
    uri.remove_prefix(kScheme.size());
    if (uri.substr(0, 2) == "//")
    {
        uri.remove_prefix(2);
        const std::size_t nSlash = uri.find('/');
        if (nSlash == std::string_view::npos)
            return {};
        const std::string_view host = uri.substr(0, nSlash);
        if (!host.empty() && host != "localhost")
            return {};
        uri.remove_prefix(nSlash);
    }
    if (uri.empty() || uri.front() != '/')
        return {};
    std::string path = Unescape(uri);
    // A path cut short by an escaped NUL is no path of this system.
    return path.find('\0') == std::string::npos ? path : std::string();
}
} // namespace

std::vector<std::string> PathsOfUriList(const std::string& uriList)
{
    std::vector<std::string> paths;
    std::size_t nStart = 0;
    while (nStart < uriList.size())
    {
        std::size_t nEnd = uriList.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = uriList.size();
        std::string_view line(uriList.data() + nStart, nEnd - nStart);
        nStart = nEnd + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        std::string path = PathOfFileUri(line);
        if (!path.empty())
            paths.push_back(std::move(path));
    }
    return paths;
}

std::string UriListOfPaths(const std::vector<std::string>& paths)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string list;
    for (const std::string& path : paths)
    {
        list += "file://";
        for (const char ch : path)
        {
            const auto byte = static_cast<unsigned char>(ch);
            const bool bLetterOrDigit =
                (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
            if (bLetterOrDigit || ch == '-' || ch == '.' || ch == '_' || ch == '~' || ch == '/')
            {
                list += ch;
                continue;
            }
            list += '%';
            list += kHex[byte >> 4];
            list += kHex[byte & 0x0F];
        }
        list += "\r\n";
    }
    return list;
}

HDROP CreateDropFiles(const std::vector<std::string>& paths, POINT ptClient, BOOL fNC)
{
    SIZE_T nSize = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths)
        nSize += path.size() + 1;
    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, nSize);
    if (hBlock == nullptr)
        return nullptr;
    auto* pBlock = static_cast<BYTE*>(GlobalLock(hBlock));
    const DROPFILES header{sizeof(DROPFILES), ptClient, fNC, FALSE};
    std::memcpy(pBlock, &header, sizeof(header));
    char* pText = reinterpret_cast<char*>(pBlock + sizeof(DROPFILES));
    for (const std::string& path : paths)
    {
        std::memcpy(pText, path.c_str(), path.size() + 1);
        pText += path.size() + 1;
    }
    GlobalUnlock(hBlock);
    return reinterpret_cast<HDROP>(hBlock);
}

std::vector<std::string> GetDropFilesPaths(HDROP hDrop)
{
    const auto* pBlock = static_cast<const BYTE*>(GlobalLock(BlockOf(hDrop)));
    if (pBlock == nullptr)
        return {};
    std::vector<std::string> paths = ReadPaths(pBlock, GlobalSize(BlockOf(hDrop)));
    GlobalUnlock(BlockOf(hDrop));
    return paths;
}

UINT DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch)
{
    const std::vector<std::string> paths = GetDropFilesPaths(hDrop);
    if (iFile == kCountQuery)
        return static_cast<UINT>(paths.size());
    if (iFile >= paths.size())
        return 0;
    const std::string& path = paths[iFile];
    if (lpszFile == nullptr)
        return static_cast<UINT>(path.size());
    if (cch == 0)
        return 0;
    const std::size_t nCopied = std::min<std::size_t>(path.size(), cch - 1);
    std::memcpy(lpszFile, path.data(), nCopied);
    lpszFile[nCopied] = '\0';
    return static_cast<UINT>(nCopied);
}

BOOL DragQueryPoint(HDROP hDrop, LPPOINT lppt)
{
    const auto* pBlock = static_cast<const BYTE*>(GlobalLock(BlockOf(hDrop)));
    if (pBlock == nullptr || lppt == nullptr || GlobalSize(BlockOf(hDrop)) < sizeof(DROPFILES))
    {
        if (pBlock != nullptr)
            GlobalUnlock(BlockOf(hDrop));
        return FALSE;
    }
    DROPFILES header{};
    std::memcpy(&header, pBlock, sizeof(header));
    GlobalUnlock(BlockOf(hDrop));
    *lppt = header.pt;
    return header.fNC ? FALSE : TRUE;
}

void DragFinish(HDROP hDrop)
{
    GlobalFree(BlockOf(hDrop));
}

void DragAcceptFiles(HWND hWnd, BOOL fAccept)
{
    const LONG_PTR exStyle = GetWindowLongPtrA(hWnd, GWL_EXSTYLE);
    SetWindowLongPtrA(hWnd, GWL_EXSTYLE,
                      fAccept ? exStyle | WS_EX_ACCEPTFILES : exStyle & ~WS_EX_ACCEPTFILES);
}

DWORD DropFilesAt(POINT ptScreen, const std::vector<std::string>& paths, DWORD grfKeyState)
{
    HDROP hDrop = CreateDropFiles(paths, POINT{0, 0});
    if (hDrop == nullptr)
        return DROPEFFECT_NONE;
    COleDataStore* pStore = COleDataStore::Create();
    pStore->SetGlobal(CF_HDROP, reinterpret_cast<HGLOBAL>(hDrop));
    DWORD dwEffect = DROPEFFECT_NONE;
    {
        COleDragSession session(pStore, DROPEFFECT_COPY);
        dwEffect = session.Drop(ptScreen, grfKeyState);
    }
    pStore->Release();
    return dwEffect;
}
