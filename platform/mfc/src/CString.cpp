#include "AfxString.h"

#include "AfxResource.h"
#include "ResourceRegistry.h"

#include "WinMbString.h"
#include "WinPrintf.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace
{
constexpr LPCSTR kWhitespace = " \t\n\v\f\r";

LPCSTR SafeText(LPCSTR lpsz)
{
    return lpsz != nullptr ? lpsz : "";
}

int ClampIndex(int nIndex, int nLength)
{
    return std::clamp(nIndex, 0, nLength);
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

const unsigned char* Bytes(LPCSTR lpsz)
{
    return reinterpret_cast<const unsigned char*>(lpsz);
}

unsigned char* WritableBytes(LPSTR lpsz)
{
    return reinterpret_cast<unsigned char*>(lpsz);
}

// Every concatenation is a copy of its left side with the right one appended.
template <typename TLeft, typename TRight> CString Concatenate(const TLeft& lhs, const TRight& rhs)
{
    CString strResult(lhs);
    strResult += rhs;
    return strResult;
}
} // namespace

CString::CString(LPCSTR lpsz) : m_text(SafeText(lpsz)) {}

CString::CString(LPCSTR lpch, int nLength)
{
    if (lpch != nullptr && nLength > 0)
        m_text.assign(lpch, static_cast<size_t>(nLength));
}

CString::CString(char ch, int nRepeat)
{
    if (nRepeat > 0)
        m_text.assign(static_cast<size_t>(nRepeat), ch);
}

CString& CString::operator=(LPCSTR lpsz)
{
    m_text = SafeText(lpsz);
    return *this;
}

CString& CString::operator=(char ch)
{
    m_text.assign(1, ch);
    return *this;
}

CString& CString::operator+=(const CString& other)
{
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(LPCSTR lpsz)
{
    m_text += SafeText(lpsz);
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_text += ch;
    return *this;
}

char CString::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetLength())
        return '\0';
    return m_text[static_cast<size_t>(nIndex)];
}

void CString::SetAt(int nIndex, char ch)
{
    if (nIndex >= 0 && nIndex < GetLength())
        m_text[static_cast<size_t>(nIndex)] = ch;
}

int CString::Compare(LPCSTR lpsz) const
{
    return Sign(std::strcmp(m_text.c_str(), SafeText(lpsz)));
}

int CString::CompareNoCase(LPCSTR lpsz) const
{
    return Sign(_mbsicmp(Bytes(m_text.c_str()), Bytes(SafeText(lpsz))));
}

int CString::Collate(LPCSTR lpsz) const
{
    return Sign(_mbscoll(Bytes(m_text.c_str()), Bytes(SafeText(lpsz))));
}

int CString::CollateNoCase(LPCSTR lpsz) const
{
    return Sign(_mbsicoll(Bytes(m_text.c_str()), Bytes(SafeText(lpsz))));
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    const int nStart = ClampIndex(nFirst, GetLength());
    const int nEnd = ClampIndex(nStart + std::max(nCount, 0), GetLength());
    return CString(m_text.c_str() + nStart, nEnd - nStart);
}

CString CString::Left(int nCount) const
{
    return CString(m_text.c_str(), ClampIndex(nCount, GetLength()));
}

CString CString::Right(int nCount) const
{
    const int nTake = ClampIndex(nCount, GetLength());
    return CString(m_text.c_str() + GetLength() - nTake, nTake);
}

CString CString::SpanIncluding(LPCSTR lpszCharSet) const
{
    return Left(static_cast<int>(_mbsspn(Bytes(m_text.c_str()), Bytes(SafeText(lpszCharSet)))));
}

CString CString::SpanExcluding(LPCSTR lpszCharSet) const
{
    return Left(static_cast<int>(_mbscspn(Bytes(m_text.c_str()), Bytes(SafeText(lpszCharSet)))));
}

CString& CString::MakeUpper()
{
    _mbsupr(WritableBytes(m_text.data()));
    return *this;
}

CString& CString::MakeLower()
{
    _mbslwr(WritableBytes(m_text.data()));
    return *this;
}

CString& CString::MakeReverse()
{
    _mbsrev(WritableBytes(m_text.data()));
    return *this;
}

int CString::Replace(char chOld, char chNew)
{
    int nCount = 0;
    for (int nPos = Find(chOld); nPos >= 0; nPos = Find(chOld, nPos + 1))
    {
        m_text[static_cast<size_t>(nPos)] = chNew;
        ++nCount;
    }
    return nCount;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew)
{
    const int nOldLength = static_cast<int>(std::strlen(SafeText(lpszOld)));
    if (nOldLength == 0)
        return 0;
    const std::string strNew = SafeText(lpszNew);
    int nCount = 0;
    for (int nPos = Find(lpszOld); nPos >= 0;
         nPos = Find(lpszOld, nPos + static_cast<int>(strNew.size())))
    {
        m_text.replace(static_cast<size_t>(nPos), static_cast<size_t>(nOldLength), strNew);
        ++nCount;
    }
    return nCount;
}

int CString::Remove(char ch)
{
    const size_t nBefore = m_text.size();
    std::erase(m_text, ch);
    return static_cast<int>(nBefore - m_text.size());
}

int CString::Insert(int nIndex, char ch)
{
    m_text.insert(static_cast<size_t>(ClampIndex(nIndex, GetLength())), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCSTR lpsz)
{
    m_text.insert(static_cast<size_t>(ClampIndex(nIndex, GetLength())), SafeText(lpsz));
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    const int nStart = ClampIndex(nIndex, GetLength());
    const int nEnd = ClampIndex(nStart + std::max(nCount, 0), GetLength());
    m_text.erase(static_cast<size_t>(nStart), static_cast<size_t>(nEnd - nStart));
    return GetLength();
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::Trim(char chTarget)
{
    return TrimRight(chTarget).TrimLeft(chTarget);
}

CString& CString::Trim(LPCSTR lpszTargets)
{
    return TrimRight(lpszTargets).TrimLeft(lpszTargets);
}

CString& CString::TrimLeft()
{
    return TrimLeft(kWhitespace);
}

CString& CString::TrimLeft(char chTarget)
{
    const char szTarget[2] = {chTarget, '\0'};
    return TrimLeft(szTarget);
}

CString& CString::TrimLeft(LPCSTR lpszTargets)
{
    // Whole characters only, so a trail byte never counts as a target.
    const size_t nSpan = _mbsspn(Bytes(m_text.c_str()), Bytes(SafeText(lpszTargets)));
    m_text.erase(0, nSpan);
    return *this;
}

CString& CString::TrimRight()
{
    return TrimRight(kWhitespace);
}

CString& CString::TrimRight(char chTarget)
{
    const char szTarget[2] = {chTarget, '\0'};
    return TrimRight(szTarget);
}

CString& CString::TrimRight(LPCSTR lpszTargets)
{
    const unsigned char* pTargets = Bytes(SafeText(lpszTargets));
    const unsigned char* pBegin = Bytes(m_text.c_str());
    const unsigned char* pKeepEnd = pBegin;
    for (const unsigned char* p = pBegin; *p != '\0'; p = _mbsinc(p))
    {
        const unsigned char* pNext = _mbsinc(p);
        const std::string strChar(reinterpret_cast<const char*>(p), static_cast<size_t>(pNext - p));
        if (_mbsstr(pTargets, Bytes(strChar.c_str())) == nullptr)
            pKeepEnd = pNext;
    }
    m_text.resize(static_cast<size_t>(pKeepEnd - pBegin));
    return *this;
}

int CString::Find(char ch, int nStart) const
{
    if (nStart < 0 || nStart >= GetLength())
        return -1;
    const unsigned char* pBegin = Bytes(m_text.c_str());
    const unsigned char* pFound = _mbschr(pBegin + nStart, static_cast<unsigned char>(ch));
    return pFound != nullptr ? static_cast<int>(pFound - pBegin) : -1;
}

int CString::Find(LPCSTR lpszSub, int nStart) const
{
    if (nStart < 0 || nStart > GetLength())
        return -1;
    const unsigned char* pBegin = Bytes(m_text.c_str());
    const unsigned char* pFound = _mbsstr(pBegin + nStart, Bytes(SafeText(lpszSub)));
    return pFound != nullptr ? static_cast<int>(pFound - pBegin) : -1;
}

int CString::ReverseFind(char ch) const
{
    const unsigned char* pBegin = Bytes(m_text.c_str());
    const unsigned char* pFound = _mbsrchr(pBegin, static_cast<unsigned char>(ch));
    return pFound != nullptr ? static_cast<int>(pFound - pBegin) : -1;
}

int CString::FindOneOf(LPCSTR lpszCharSet) const
{
    const unsigned char* pBegin = Bytes(m_text.c_str());
    const unsigned char* pFound = _mbspbrk(pBegin, Bytes(SafeText(lpszCharSet)));
    return pFound != nullptr ? static_cast<int>(pFound - pBegin) : -1;
}

CString CString::Tokenize(LPCSTR lpszTokens, int& iStart) const
{
    if (iStart >= 0 && iStart < GetLength())
    {
        const unsigned char* pTokens = Bytes(SafeText(lpszTokens));
        const unsigned char* pStart = Bytes(m_text.c_str()) + iStart;
        pStart += _mbsspn(pStart, pTokens);
        const int nFirst = static_cast<int>(pStart - Bytes(m_text.c_str()));
        if (nFirst < GetLength())
        {
            const int nCount = static_cast<int>(_mbscspn(pStart, pTokens));
            iStart = nFirst + nCount + 1;
            return Mid(nFirst, nCount);
        }
    }
    iStart = -1;
    return CString();
}

void CString::FormatArguments(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    FormatV(lpszFormat, args);
    va_end(args);
}

void CString::FormatV(LPCSTR lpszFormat, va_list args)
{
    m_text.clear();
    AppendFormatV(lpszFormat, args);
}

void CString::AppendFormatArguments(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    AppendFormatV(lpszFormat, args);
    va_end(args);
}

void CString::AppendFormatV(LPCSTR lpszFormat, va_list args)
{
    va_list argsForLength;
    va_copy(argsForLength, args);
    const int nLength = _vscprintf(SafeText(lpszFormat), argsForLength);
    va_end(argsForLength);
    if (nLength <= 0)
        return;
    const size_t nOld = m_text.size();
    m_text.resize(nOld + static_cast<size_t>(nLength) + 1);
    _vsnprintf(m_text.data() + nOld, static_cast<size_t>(nLength) + 1, SafeText(lpszFormat), args);
    m_text.resize(nOld + static_cast<size_t>(nLength));
}

LPSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength())
        m_text.resize(static_cast<size_t>(nMinBufLength));
    return m_text.data();
}

LPSTR CString::GetBufferSetLength(int nNewLength)
{
    m_text.resize(static_cast<size_t>(std::max(nNewLength, 0)));
    return m_text.data();
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(std::strlen(m_text.c_str()));
    m_text.resize(static_cast<size_t>(std::min(nNewLength, GetLength())));
}

void CString::Preallocate(int nLength)
{
    if (nLength > 0)
        m_text.reserve(static_cast<size_t>(nLength));
}

void CString::FreeExtra()
{
    m_text.shrink_to_fit();
}

CString operator+(const CString& lhs, const CString& rhs)
{
    return Concatenate(lhs, rhs);
}

CString operator+(const CString& lhs, LPCSTR rhs)
{
    return Concatenate(lhs, rhs);
}

CString operator+(LPCSTR lhs, const CString& rhs)
{
    return Concatenate(lhs, rhs);
}

CString operator+(const CString& lhs, char rhs)
{
    return Concatenate(lhs, rhs);
}

CString operator+(char lhs, const CString& rhs)
{
    return Concatenate(lhs, rhs);
}

BOOL CString::LoadString(UINT nID)
{
    LPCSTR pszText = FindStringResource(AfxFindStringResourceHandle(nID), nID);
    *this = pszText;
    return pszText != nullptr;
}
