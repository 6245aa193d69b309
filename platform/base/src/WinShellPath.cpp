#include "WinShellPath.h"

#include "WinFile.h"
#include "WinMbString.h"

#include <cstring>

namespace
{
bool IsSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

const char* Next(const char* psz)
{
    return reinterpret_cast<const char*>(_mbsinc(reinterpret_cast<const unsigned char*>(psz)));
}

// The last separator, stepping whole characters; null when there is none.
const char* LastSeparator(const char* pszPath)
{
    const char* pLast = nullptr;
    for (const char* p = pszPath; *p != '\0'; p = Next(p))
    {
        if (IsSeparator(*p))
            pLast = p;
    }
    return pLast;
}

// The length of a leading "X:" drive, which belongs to the root.
std::size_t DriveLength(const char* pszPath)
{
    const char ch = pszPath[0];
    const bool bLetter = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
    return bLetter && pszPath[1] == ':' ? 2 : 0;
}
} // namespace

LPSTR PathFindFileNameA(LPCSTR pszPath)
{
    if (pszPath == nullptr)
        return nullptr;
    const char* pName = pszPath;
    for (const char* p = pszPath; *p != '\0'; p = Next(p))
    {
        const char* pAfter = Next(p);
        if ((IsSeparator(*p) || *p == ':') && *pAfter != '\0' && !IsSeparator(*pAfter))
            pName = pAfter;
    }
    return const_cast<LPSTR>(pName);
}

LPSTR PathFindExtensionA(LPCSTR pszPath)
{
    if (pszPath == nullptr)
        return nullptr;
    const char* pDot = nullptr;
    const char* p = pszPath;
    for (; *p != '\0'; p = Next(p))
    {
        if (IsSeparator(*p) || *p == ' ')
            pDot = nullptr;
        else if (*p == '.')
            pDot = p;
    }
    return const_cast<LPSTR>(pDot != nullptr ? pDot : p);
}

BOOL PathRemoveFileSpecA(LPSTR pszPath)
{
    if (pszPath == nullptr || *pszPath == '\0')
        return FALSE;
    const std::size_t nRoot = DriveLength(pszPath);
    const char* pLast = LastSeparator(pszPath + nRoot);
    if (pLast == nullptr)
    {
        // A bare name (or drive) leaves nothing but the drive.
        const bool bChanged = pszPath[nRoot] != '\0';
        pszPath[nRoot] = '\0';
        return bChanged ? TRUE : FALSE;
    }
    const std::size_t nCut = static_cast<std::size_t>(pLast - pszPath);
    // The root separator stays.
    const std::size_t nKeep = nCut == nRoot ? nCut + 1 : nCut;
    if (pszPath[nKeep] == '\0')
        return FALSE;
    pszPath[nKeep] = '\0';
    return TRUE;
}

LPSTR PathAddBackslashA(LPSTR pszPath)
{
    if (pszPath == nullptr)
        return nullptr;
    const std::size_t nLength = std::strlen(pszPath);
    const char* pLast = LastSeparator(pszPath);
    if (nLength == 0 || (pLast != nullptr && pLast[1] == '\0'))
        return pszPath + nLength;
    if (nLength + 2 > MAX_PATH)
        return nullptr;
    pszPath[nLength] = '/';
    pszPath[nLength + 1] = '\0';
    return pszPath + nLength + 1;
}

BOOL PathFileExistsA(LPCSTR pszPath)
{
    return pszPath != nullptr && GetFileAttributesA(pszPath) != INVALID_FILE_ATTRIBUTES ? TRUE
                                                                                        : FALSE;
}
