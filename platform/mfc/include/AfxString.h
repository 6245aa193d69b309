// CString: the MFC string of the window side, multibyte text in the process
// ANSI code page. Lengths and positions count bytes, as in MFC's MBCS build;
// searching, case and comparison without case step over whole characters.
#pragma once

#include "PlatformUIExport.h"
#include "WinTypes.h"

#include <cstdarg>
#include <string>
#include <type_traits>

class PLATFORMUI_API CString
{
public:
    CString() = default;
    CString(const CString& other) = default;
    CString(CString&& other) noexcept = default;
    CString(LPCSTR lpsz);
    CString(LPCSTR lpch, int nLength);
    CString(char ch, int nRepeat = 1);
    ~CString() = default;

    CString& operator=(const CString& other) = default;
    CString& operator=(CString&& other) noexcept = default;
    CString& operator=(LPCSTR lpsz);
    CString& operator=(char ch);

    CString& operator+=(const CString& other);
    CString& operator+=(LPCSTR lpsz);
    CString& operator+=(char ch);

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    LPCSTR GetString() const { return m_text.c_str(); }
    operator LPCSTR() const { return m_text.c_str(); }

    char GetAt(int nIndex) const;
    void SetAt(int nIndex, char ch);
    char operator[](int nIndex) const { return GetAt(nIndex); }

    // strcmp order; the NoCase forms and Collate follow the ANSI code page.
    int Compare(LPCSTR lpsz) const;
    int CompareNoCase(LPCSTR lpsz) const;
    int Collate(LPCSTR lpsz) const;
    int CollateNoCase(LPCSTR lpsz) const;

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCSTR lpszCharSet) const;
    CString SpanExcluding(LPCSTR lpszCharSet) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    int Replace(char chOld, char chNew);
    int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCSTR lpsz);
    int Delete(int nIndex, int nCount = 1);

    CString& Trim();
    CString& Trim(char chTarget);
    CString& Trim(LPCSTR lpszTargets);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(LPCSTR lpszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(LPCSTR lpszTargets);

    // Byte positions, -1 when absent.
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR lpszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR lpszCharSet) const;
    CString Tokenize(LPCSTR lpszTokens, int& iStart) const;

    // Windows-runtime formatting ("%ld" 32-bit, "%I64d", "%ls" 16-bit text).
    // A CString argument is passed as its text, as MFC code expects.
    template <class... Args> void Format(LPCSTR lpszFormat, const Args&... args)
    {
        FormatArguments(lpszFormat, FormatArgument(args)...);
    }
    template <class... Args> void AppendFormat(LPCSTR lpszFormat, const Args&... args)
    {
        AppendFormatArguments(lpszFormat, FormatArgument(args)...);
    }
    void FormatV(LPCSTR lpszFormat, va_list args);
    void AppendFormatV(LPCSTR lpszFormat, va_list args);

    // The string resource from the module that holds it (current resource
    // module first); FALSE and an empty string when no module has it.
    BOOL LoadString(UINT nID);

    // A writable buffer of at least nMinBufLength characters plus the NUL;
    // ReleaseBuffer(-1) takes the length up to the first NUL.
    LPSTR GetBuffer(int nMinBufLength);
    LPSTR GetBuffer() { return GetBuffer(0); }
    LPSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    void Preallocate(int nLength);
    void FreeExtra();

private:
    template <class T> static decltype(auto) FormatArgument(const T& value)
    {
        if constexpr (std::is_same_v<T, CString>)
            return value.GetString();
        else
            return (value);
    }
    void FormatArguments(LPCSTR lpszFormat, ...);
    void AppendFormatArguments(LPCSTR lpszFormat, ...);

    std::string m_text;
};

PLATFORMUI_API CString operator+(const CString& lhs, const CString& rhs);
PLATFORMUI_API CString operator+(const CString& lhs, LPCSTR rhs);
PLATFORMUI_API CString operator+(LPCSTR lhs, const CString& rhs);
PLATFORMUI_API CString operator+(const CString& lhs, char rhs);
PLATFORMUI_API CString operator+(char lhs, const CString& rhs);

inline bool operator==(const CString& lhs, const CString& rhs)
{
    return lhs.Compare(rhs) == 0;
}
inline bool operator==(const CString& lhs, LPCSTR rhs)
{
    return lhs.Compare(rhs) == 0;
}
inline bool operator==(LPCSTR lhs, const CString& rhs)
{
    return rhs.Compare(lhs) == 0;
}
inline bool operator!=(const CString& lhs, const CString& rhs)
{
    return lhs.Compare(rhs) != 0;
}
inline bool operator!=(const CString& lhs, LPCSTR rhs)
{
    return lhs.Compare(rhs) != 0;
}
inline bool operator!=(LPCSTR lhs, const CString& rhs)
{
    return rhs.Compare(lhs) != 0;
}
inline bool operator<(const CString& lhs, const CString& rhs)
{
    return lhs.Compare(rhs) < 0;
}
inline bool operator<(const CString& lhs, LPCSTR rhs)
{
    return lhs.Compare(rhs) < 0;
}
inline bool operator>(const CString& lhs, const CString& rhs)
{
    return lhs.Compare(rhs) > 0;
}
inline bool operator>(const CString& lhs, LPCSTR rhs)
{
    return lhs.Compare(rhs) > 0;
}
inline bool operator<=(const CString& lhs, const CString& rhs)
{
    return lhs.Compare(rhs) <= 0;
}
inline bool operator<=(const CString& lhs, LPCSTR rhs)
{
    return lhs.Compare(rhs) <= 0;
}
inline bool operator>=(const CString& lhs, const CString& rhs)
{
    return lhs.Compare(rhs) >= 0;
}
inline bool operator>=(const CString& lhs, LPCSTR rhs)
{
    return lhs.Compare(rhs) >= 0;
}
