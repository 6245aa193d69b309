#include "Lettra.h"

#include "WinCodePage.h"
#include "WinMbString.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>
#include <string>
#include <utility>

const LettraEmptyText lettraEmptyText = {{-1, 0, 0}, {'\0', '\0', '\0', '\0'}};

namespace
{

const unsigned char* U(const char* text)
{
    return reinterpret_cast<const unsigned char*>(text);
}

unsigned char* U(char* text)
{
    return reinterpret_cast<unsigned char*>(text);
}

const char* Safe(const char* text)
{
    return text != nullptr ? text : "";
}

int Length(const char* text)
{
    return text != nullptr ? static_cast<int>(std::strlen(text)) : 0;
}

// True when the character of `length` bytes at ch is one of the set's characters.
bool IsCharacterInSet(const char* ch, std::size_t length, const char* set)
{
    for (const unsigned char* s = U(set); *s != 0; s = _mbsinc(s))
    {
        if (_mbclen(s) == length && std::memcmp(s, ch, length) == 0)
            return true;
    }
    return false;
}

bool IsSingleByteSpace(const char* p)
{
    return _mbclen(U(p)) == 1 && _ismbcspace(static_cast<unsigned char>(*p));
}

// "C" classification: bytes from 0x80 belong to no class.
bool IsAsciiClass(unsigned char ch, int (*test)(int))
{
    return ch < 0x80 && test(ch) != 0;
}

// Joins up to `count` texts (0: no limit) until `next` gives null, in a
// working buffer that starts at 256 bytes and grows to the bytes used + the
// next text + 256 whenever the next text does not fit.
template <typename Next> void JoinTexts(Lettra& out, int count, const char* first, Next next)
{
    int used = 0;
    char* buffer = out.GetBuffer(256);
    const char* text = first;
    for (int taken = 0; text != nullptr && (count == 0 || taken < count); ++taken)
    {
        const int length = Length(text);
        if (used + length > out.GetAllocLength())
        {
            out.ReleaseBuffer(used);
            buffer = out.GetBuffer(used + length + 256);
        }
        std::memcpy(buffer + used, text, static_cast<std::size_t>(length));
        used += length;
        text = next();
    }
    out.ReleaseBuffer(used);
}

} // namespace

// ---- construction and destruction ----------------------------------------

Lettra::Lettra(Lettra&& source) noexcept
{
    if (GetRefs(source.GetData()) >= 0)
    {
        m_pchData = source.m_pchData;
        source.Init();
    }
    else
        CopyFrom(source);
}

Lettra::Lettra(const char* text)
{
    Init();
    AssignCopy(Length(text), text);
}

Lettra::Lettra(const unsigned char* text) : Lettra(reinterpret_cast<const char*>(text)) {}

Lettra::Lettra(const char* text, int length)
{
    Init();
    if (text != nullptr && length > 0)
        AssignCopy(length, text);
}

Lettra::Lettra(char ch, int count)
{
    Init();
    if (count > 0)
    {
        AllocBuffer(count);
        std::memset(m_pchData, ch, static_cast<std::size_t>(count));
    }
}

Lettra::Lettra(int value)
{
    Init();
    Format("%d", value);
}

Lettra::Lettra(long value)
{
    Init();
    Format("%I64d", static_cast<LONGLONG>(value));
}

Lettra::Lettra(unsigned value)
{
    Init();
    Format("%u", value);
}

Lettra::Lettra(unsigned long value)
{
    Init();
    Format("%I64u", static_cast<ULONGLONG>(value));
}

Lettra::Lettra(double value)
{
    Init();
    Format("%g", value);
}

Lettra::Lettra(int value, const char* format)
{
    Init();
    Format(format, value);
}

// A caller's format reads a long as a Windows long: 32 bits.
Lettra::Lettra(long value, const char* format)
{
    Init();
    Format(format, static_cast<LONG>(value));
}

Lettra::Lettra(unsigned value, const char* format)
{
    Init();
    Format(format, value);
}

Lettra::Lettra(unsigned long value, const char* format)
{
    Init();
    Format(format, static_cast<DWORD>(value));
}

Lettra::Lettra(double value, const char* format)
{
    Init();
    Format(format, value);
}

Lettra::Lettra(const WCHAR* text)
{
    Init();
    *this = text;
}

Lettra::Lettra(int count, const char* first, const char* second, ...)
{
    Init();
    if (count < 0)
        return;
    va_list args;
    va_start(args, second);
    bool secondTaken = false;
    JoinTexts(*this, count, first,
              [&]()
              {
                  if (secondTaken)
                      return va_arg(args, const char*);
                  secondTaken = true;
                  return second;
              });
    va_end(args);
}

Lettra Lettra::Concat(const char* first, ...)
{
    Lettra result;
    va_list args;
    va_start(args, first);
    JoinTexts(result, 0, first, [&]() { return va_arg(args, const char*); });
    va_end(args);
    return result;
}

Lettra Lettra::Concat(int count, const char* first, ...)
{
    Lettra result;
    if (count < 0)
        return result;
    va_list args;
    va_start(args, first);
    JoinTexts(result, count, first, [&]() { return va_arg(args, const char*); });
    va_end(args);
    return result;
}

void Lettra::CopyFrom(const Lettra& source)
{
    Init();
    AssignCopy(source.GetLength(), source.m_pchData);
}

// ---- block management -------------------------------------------------------

void Lettra::AllocBuffer(int length)
{
    if (length <= 0)
    {
        Init();
        return;
    }
    const std::size_t bytes = sizeof(LettraData) + static_cast<std::size_t>(length) + 1;
    char* block = new (std::nothrow) char[bytes];
    if (block == nullptr)
        block = new (std::nothrow) char[bytes];
    if (block == nullptr)
        throw std::bad_alloc();
    auto* data = reinterpret_cast<LettraData*>(block);
    data->nRefs = 1;
    data->nDataLength = length;
    data->nAllocLength = length;
    data->data()[length] = '\0';
    m_pchData = data->data();
}

void Lettra::FreeData(LettraData* data)
{
    delete[] reinterpret_cast<char*>(data);
}

// The copy is made before the shared block is released, so that another
// string's release on another thread cannot free it under the copy. A
// shared block emptied in place is given up for the empty string, which is
// read-only.
void Lettra::CopyBeforeWrite()
{
    LettraData* data = GetData();
    if (GetRefs(data) <= 1)
        return;
    Lettra copy;
    copy.AllocBuffer(data->nDataLength);
    if (data->nDataLength > 0)
        std::memcpy(copy.m_pchData, m_pchData, static_cast<std::size_t>(data->nDataLength) + 1);
    std::swap(m_pchData, copy.m_pchData);
}

void Lettra::AllocBeforeWrite(int length)
{
    LettraData* data = GetData();
    if (GetRefs(data) > 1 || length > data->nAllocLength)
    {
        Release();
        AllocBuffer(length);
    }
}

void Lettra::AllocCopy(Lettra& destination, int copyLength, int copyIndex, int extraLength) const
{
    destination.Release();
    const int total = copyLength + extraLength;
    if (total == 0)
        return;
    destination.AllocBuffer(total);
    std::memcpy(destination.m_pchData, m_pchData + copyIndex, static_cast<std::size_t>(copyLength));
}

// Copies `length` bytes into this string's own block when it is private and
// large enough, else into a new block; text may point into this string.
void Lettra::AssignCopy(int length, const char* text)
{
    LettraData* data = GetData();
    if (GetRefs(data) > 1 || length > data->nAllocLength)
    {
        Lettra fresh;
        fresh.AllocBuffer(length);
        if (length > 0)
            std::memcpy(fresh.m_pchData, text, static_cast<std::size_t>(length));
        std::swap(m_pchData, fresh.m_pchData);
        return;
    }
    if (IsEmptyData(data))
        return;
    if (length > 0)
        std::memmove(m_pchData, text, static_cast<std::size_t>(length));
    data->nDataLength = length;
    m_pchData[length] = '\0';
}

void Lettra::ConcatCopy(int length1, const char* text1, int length2, const char* text2)
{
    const int total = length1 + length2;
    Lettra fresh;
    if (total > 0)
    {
        fresh.AllocBuffer(total);
        std::memcpy(fresh.m_pchData, text1, static_cast<std::size_t>(length1));
        std::memcpy(fresh.m_pchData + length1, text2, static_cast<std::size_t>(length2));
    }
    std::swap(m_pchData, fresh.m_pchData);
}

void Lettra::ConcatInPlace(int length, const char* text)
{
    if (length <= 0)
        return;
    LettraData* data = GetData();
    if (GetRefs(data) <= 1 && !IsEmptyData(data) &&
        data->nAllocLength >= data->nDataLength + length)
    {
        std::memmove(m_pchData + data->nDataLength, text, static_cast<std::size_t>(length));
        data->nDataLength += length;
        m_pchData[data->nDataLength] = '\0';
        return;
    }
    ConcatCopy(data->nDataLength, m_pchData, length, text);
}

// ---- assignment and concatenation -----------------------------------------

Lettra& Lettra::operator=(const Lettra& source)
{
    if (m_pchData == source.m_pchData)
        return *this;
    LettraData* data = GetData();
    LettraData* sourceData = source.GetData();
    if ((GetRefs(data) < 0 && !IsEmptyData(data)) || GetRefs(sourceData) < 0)
        AssignCopy(sourceData->nDataLength, source.m_pchData);
    else
    {
        InterlockedIncrement(&sourceData->nRefs);
        Release();
        m_pchData = source.m_pchData;
    }
    return *this;
}

Lettra& Lettra::operator=(Lettra&& source) noexcept
{
    if (this == &source)
        return *this;
    const LettraData* data = GetData();
    if ((GetRefs(data) < 0 && !IsEmptyData(data)) || GetRefs(source.GetData()) < 0)
        return *this = static_cast<const Lettra&>(source);
    Release();
    m_pchData = source.m_pchData;
    source.Init();
    return *this;
}

Lettra& Lettra::operator=(const char* text)
{
    AssignCopy(Length(text), text);
    return *this;
}

Lettra& Lettra::operator=(const unsigned char* text)
{
    return *this = reinterpret_cast<const char*>(text);
}

Lettra& Lettra::operator=(char ch)
{
    AssignCopy(1, &ch);
    return *this;
}

Lettra& Lettra::Append(char ch)
{
    ConcatInPlace(1, &ch);
    return *this;
}

Lettra& Lettra::Append(const char* text)
{
    ConcatInPlace(Length(text), text);
    return *this;
}

Lettra& Lettra::Append(const Lettra& text)
{
    ConcatInPlace(text.GetLength(), text.m_pchData);
    return *this;
}

void Lettra::Repeat(char ch, int count)
{
    *this = Lettra(ch, count);
}

void Lettra::Repeat(const char* text, int count)
{
    const Lettra piece(text);
    if (count <= 0 || piece.IsEmpty())
        return;
    GetBuffer(GetLength() + piece.GetLength() * count);
    for (int i = 0; i < count; ++i)
        ConcatInPlace(piece.GetLength(), piece.m_pchData);
}

Lettra Lettra::operator--()
{
    if (!IsEmpty())
        *this = Left(GetLength() - 1);
    return *this;
}

Lettra Lettra::operator--(int)
{
    Lettra before(*this);
    --*this;
    return before;
}

Lettra operator+(const Lettra& a, const Lettra& b)
{
    Lettra result;
    result.ConcatCopy(a.GetLength(), a.m_pchData, b.GetLength(), b.m_pchData);
    return result;
}

Lettra operator+(const Lettra& a, const char* b)
{
    Lettra result;
    result.ConcatCopy(a.GetLength(), a.m_pchData, Length(b), Safe(b));
    return result;
}

Lettra operator+(const char* a, const Lettra& b)
{
    Lettra result;
    result.ConcatCopy(Length(a), Safe(a), b.GetLength(), b.m_pchData);
    return result;
}

Lettra operator+(const Lettra& a, char b)
{
    Lettra result;
    result.ConcatCopy(a.GetLength(), a.m_pchData, 1, &b);
    return result;
}

Lettra operator+(char a, const Lettra& b)
{
    Lettra result;
    result.ConcatCopy(1, &a, b.GetLength(), b.m_pchData);
    return result;
}

// ---- access and buffers ----------------------------------------------------

void Lettra::SetAt(int index, char ch)
{
    if (index < 0 || index >= GetLength())
        return;
    CopyBeforeWrite();
    m_pchData[index] = ch;
}

char* Lettra::GetBuffer(int minLength)
{
    LettraData* data = GetData();
    if (GetRefs(data) > 1 || minLength > data->nAllocLength)
    {
        const int length = data->nDataLength;
        Lettra fresh;
        fresh.AllocBuffer(std::max(minLength, length));
        std::memcpy(fresh.m_pchData, m_pchData, static_cast<std::size_t>(length) + 1);
        fresh.GetData()->nDataLength = length;
        std::swap(m_pchData, fresh.m_pchData);
    }
    return m_pchData;
}

void Lettra::ReleaseBuffer(int newLength)
{
    CopyBeforeWrite();
    LettraData* data = GetData();
    if (IsEmptyData(data))
        return;
    if (newLength < 0)
        newLength =
            static_cast<int>(strnlen(m_pchData, static_cast<std::size_t>(data->nAllocLength)));
    newLength = std::min(newLength, data->nAllocLength);
    data->nDataLength = newLength;
    m_pchData[newLength] = '\0';
}

char* Lettra::GetBufferSetLength(int newLength)
{
    GetBuffer(newLength);
    LettraData* data = GetData();
    if (!IsEmptyData(data) && newLength >= 0)
    {
        data->nDataLength = newLength;
        m_pchData[newLength] = '\0';
    }
    return m_pchData;
}

void Lettra::FreeExtra()
{
    const LettraData* data = GetData();
    if (data->nAllocLength <= data->nDataLength)
        return;
    Lettra fresh;
    fresh.AssignCopy(data->nDataLength, m_pchData);
    std::swap(m_pchData, fresh.m_pchData);
}

char* Lettra::LockBuffer()
{
    char* text = GetBuffer(0);
    if (!IsEmptyData(GetData()))
        InterlockedExchange(&GetData()->nRefs, -1);
    return text;
}

void Lettra::UnlockBuffer()
{
    if (!IsEmptyData(GetData()))
        InterlockedExchange(&GetData()->nRefs, 1);
}

void Lettra::Empty()
{
    const LettraData* data = GetData();
    if (data->nDataLength == 0)
        return;
    if (GetRefs(data) < 0)
        AssignCopy(0, "");
    else
        Release();
}

// ---- comparison ------------------------------------------------------------

int Lettra::Compare(const char* text) const
{
    return _mbscmp(U(m_pchData), U(Safe(text)));
}

int Lettra::CompareNoCase(const char* text) const
{
    return _mbsicmp(U(m_pchData), U(Safe(text)));
}

int Lettra::Collate(const char* text) const
{
    return _mbscoll(U(m_pchData), U(Safe(text)));
}

int Lettra::CollateNoCase(const char* text) const
{
    return _mbsicoll(U(m_pchData), U(Safe(text)));
}

bool operator==(const Lettra& a, const Lettra& b)
{
    return a.Compare(b) == 0;
}

bool operator==(const Lettra& a, const char* b)
{
    return _mbscmp(U(a.constBuffer()), U(Safe(b))) == 0;
}

bool operator==(const char* a, const Lettra& b)
{
    return b.Compare(a) == 0;
}

bool operator!=(const Lettra& a, const Lettra& b)
{
    return a.Compare(b) != 0;
}

bool operator!=(const Lettra& a, const char* b)
{
    return a.Compare(b) != 0;
}

bool operator!=(const char* a, const Lettra& b)
{
    return b.Compare(a) != 0;
}

bool operator<(const Lettra& a, const Lettra& b)
{
    return a.Compare(b) < 0;
}

bool operator<(const Lettra& a, const char* b)
{
    return a.Compare(b) < 0;
}

bool operator<(const char* a, const Lettra& b)
{
    return b.Compare(a) > 0;
}

bool operator>(const Lettra& a, const Lettra& b)
{
    return a.Compare(b) > 0;
}

bool operator>(const Lettra& a, const char* b)
{
    return a.Compare(b) > 0;
}

bool operator>(const char* a, const Lettra& b)
{
    return b.Compare(a) < 0;
}

bool operator<=(const Lettra& a, const Lettra& b)
{
    return a.Compare(b) <= 0;
}

bool operator<=(const Lettra& a, const char* b)
{
    return a.Compare(b) <= 0;
}

bool operator<=(const char* a, const Lettra& b)
{
    return b.Compare(a) >= 0;
}

bool operator>=(const Lettra& a, const Lettra& b)
{
    return a.Compare(b) >= 0;
}

bool operator>=(const Lettra& a, const char* b)
{
    return a.Compare(b) >= 0;
}

bool operator>=(const char* a, const Lettra& b)
{
    return b.Compare(a) <= 0;
}

// ---- search ----------------------------------------------------------------

int Lettra::Find(char ch) const
{
    return Find(ch, 0);
}

int Lettra::Find(char ch, int start) const
{
    start = std::max(start, 0);
    if (start >= GetLength())
        return -1;
    const unsigned char* found = _mbschr(U(m_pchData + start), static_cast<unsigned char>(ch));
    return found == nullptr ? -1 : static_cast<int>(found - U(m_pchData));
}

int Lettra::Find(const char* text) const
{
    return Find(text, 0);
}

int Lettra::Find(const char* text, int start) const
{
    start = std::max(start, 0);
    if (text == nullptr || start > GetLength())
        return -1;
    const unsigned char* found = _mbsstr(U(m_pchData + start), U(text));
    return found == nullptr ? -1 : static_cast<int>(found - U(m_pchData));
}

int Lettra::FindOneOf(const char* set) const
{
    const unsigned char* found = _mbspbrk(U(m_pchData), U(Safe(set)));
    return found == nullptr ? -1 : static_cast<int>(found - U(m_pchData));
}

int Lettra::ReverseFind(char ch) const
{
    const unsigned char* found = _mbsrchr(U(m_pchData), static_cast<unsigned char>(ch));
    return found == nullptr ? -1 : static_cast<int>(found - U(m_pchData));
}

int Lettra::NCFind(const char* text) const
{
    Lettra upperText(*this);
    upperText.MakeUpper();
    Lettra upperPattern(text);
    upperPattern.MakeUpper();
    return upperText.Find(upperPattern);
}

int Lettra::NCFind(char ch) const
{
    if (IsEmpty())
        return -1;
    Lettra upperText(*this);
    upperText.MakeUpper();
    return upperText.Find(static_cast<char>(std::toupper(static_cast<unsigned char>(ch))));
}

int Lettra::Count(char ch) const
{
    return static_cast<int>(std::count(m_pchData, m_pchData + GetLength(), ch));
}

int Lettra::Count(const char* text) const
{
    const int length = Length(text);
    if (length == 0)
        return 0;
    int count = 0;
    for (const unsigned char* p = _mbsstr(U(m_pchData), U(text)); p != nullptr;
         p = _mbsstr(p + length, U(text)))
        ++count;
    return count;
}

// ---- extraction ------------------------------------------------------------

Lettra Lettra::Mid(int first, int count) const
{
    const int length = GetLength();
    first = std::max(first, 0);
    count = std::max(count, 0);
    if (first > length)
        return Lettra();
    count = static_cast<int>(std::min<long long>(count, static_cast<long long>(length) - first));
    if (first == 0 && count == length)
        return *this;
    Lettra result;
    AllocCopy(result, count, first, 0);
    return result;
}

Lettra Lettra::Mid(int first) const
{
    return Mid(first, GetLength() - std::max(first, 0));
}

Lettra Lettra::Left(int count) const
{
    count = std::max(count, 0);
    if (count >= GetLength())
        return *this;
    Lettra result;
    AllocCopy(result, count, 0, 0);
    return result;
}

Lettra Lettra::Right(int count) const
{
    count = std::max(count, 0);
    if (count >= GetLength())
        return *this;
    Lettra result;
    AllocCopy(result, count, GetLength() - count, 0);
    return result;
}

Lettra Lettra::SpanIncluding(const char* set) const
{
    return Left(static_cast<int>(_mbsspn(U(m_pchData), U(Safe(set)))));
}

Lettra Lettra::SpanExcluding(const char* set) const
{
    return Left(static_cast<int>(_mbscspn(U(m_pchData), U(Safe(set)))));
}

// ---- trimming and case -----------------------------------------------------

namespace
{

// Start of the trailing run of characters that `matches`, or null.
template <typename Match> const char* FindTrailingRun(const char* text, Match matches)
{
    const char* run = nullptr;
    for (const char* p = text; *p != '\0'; p = reinterpret_cast<const char*>(_mbsinc(U(p))))
    {
        if (matches(p))
        {
            if (run == nullptr)
                run = p;
        }
        else
            run = nullptr;
    }
    return run;
}

// End of the leading run of characters that `matches`.
template <typename Match> const char* SkipLeadingRun(const char* text, Match matches)
{
    const char* p = text;
    while (*p != '\0' && matches(p))
        p = reinterpret_cast<const char*>(_mbsinc(U(p)));
    return p;
}

} // namespace

void Lettra::TrimRight()
{
    CopyBeforeWrite();
    // A last byte that is no space, alone or as the trail of a double-byte
    // character, ends no run of spaces: no need to walk the characters.
    const std::size_t length = std::strlen(m_pchData);
    if (length == 0 || !_ismbcspace(static_cast<unsigned char>(m_pchData[length - 1])))
        return;
    const char* run = FindTrailingRun(m_pchData, IsSingleByteSpace);
    if (run != nullptr)
        ReleaseBuffer(static_cast<int>(run - m_pchData));
}

void Lettra::TrimRight(char ch)
{
    CopyBeforeWrite();
    const char* run =
        FindTrailingRun(m_pchData, [ch](const char* p) { return _mbclen(U(p)) == 1 && *p == ch; });
    if (run != nullptr)
        ReleaseBuffer(static_cast<int>(run - m_pchData));
}

void Lettra::TrimRight(const char* set)
{
    const char* chars = Safe(set);
    CopyBeforeWrite();
    const char* run = FindTrailingRun(m_pchData, [chars](const char* p)
                                      { return IsCharacterInSet(p, _mbclen(U(p)), chars); });
    if (run != nullptr)
        ReleaseBuffer(static_cast<int>(run - m_pchData));
}

void Lettra::TrimLeft()
{
    CopyBeforeWrite();
    Delete(0, static_cast<int>(SkipLeadingRun(m_pchData, IsSingleByteSpace) - m_pchData));
}

void Lettra::TrimLeft(char ch)
{
    CopyBeforeWrite();
    const char* end =
        SkipLeadingRun(m_pchData, [ch](const char* p) { return _mbclen(U(p)) == 1 && *p == ch; });
    Delete(0, static_cast<int>(end - m_pchData));
}

void Lettra::TrimLeft(const char* set)
{
    const char* chars = Safe(set);
    if (*chars == '\0')
        return;
    CopyBeforeWrite();
    const char* end = SkipLeadingRun(m_pchData, [chars](const char* p)
                                     { return IsCharacterInSet(p, _mbclen(U(p)), chars); });
    Delete(0, static_cast<int>(end - m_pchData));
}

Lettra Lettra::Trim() const
{
    Lettra result(*this);
    result.TrimRight();
    result.TrimLeft();
    return result;
}

void Lettra::MakeUpper()
{
    CopyBeforeWrite();
    if (!IsEmpty())
        _mbsupr(U(m_pchData));
}

void Lettra::MakeLower()
{
    CopyBeforeWrite();
    if (!IsEmpty())
        _mbslwr(U(m_pchData));
}

void Lettra::MakeReverse()
{
    CopyBeforeWrite();
    if (!IsEmpty())
        _mbsrev(U(m_pchData));
}

// An OEM-to-UTF-8 result may be longer than its source, so the conversion
// goes into a new buffer of up to three bytes per source byte.
void Lettra::ConvertOem(bool toOem)
{
    const int length = GetLength();
    if (length == 0)
        return;
    Lettra converted;
    char* buffer = converted.GetBuffer(3 * length);
    const BOOL done = toOem ? ::CharToOemBuffA(m_pchData, buffer, static_cast<DWORD>(length) + 1)
                            : ::OemToCharBuffA(m_pchData, buffer, static_cast<DWORD>(length) + 1);
    converted.ReleaseBuffer(-1);
    if (done)
        *this = converted;
}

void Lettra::CharToOemA()
{
    ConvertOem(true);
}

void Lettra::OemToCharA()
{
    ConvertOem(false);
}

// ---- editing ---------------------------------------------------------------

int Lettra::Insert(int index, char ch)
{
    return Insert(index, Lettra(ch, 1));
}

int Lettra::Insert(int index, const char* text)
{
    const Lettra piece(text);
    const int length = GetLength();
    if (piece.IsEmpty())
        return length;
    index = std::clamp(index, 0, length);
    const int newLength = length + piece.GetLength();
    LettraData* data = GetData();
    if (GetRefs(data) > 1 || data->nAllocLength < newLength)
    {
        Lettra fresh;
        fresh.AllocBuffer(newLength);
        std::memcpy(fresh.m_pchData, m_pchData, static_cast<std::size_t>(index));
        std::memcpy(fresh.m_pchData + index, piece.m_pchData,
                    static_cast<std::size_t>(piece.GetLength()));
        std::memcpy(fresh.m_pchData + index + piece.GetLength(), m_pchData + index,
                    static_cast<std::size_t>(length - index));
        std::swap(m_pchData, fresh.m_pchData);
        return newLength;
    }
    std::memmove(m_pchData + index + piece.GetLength(), m_pchData + index,
                 static_cast<std::size_t>(length - index) + 1);
    std::memcpy(m_pchData + index, piece.m_pchData, static_cast<std::size_t>(piece.GetLength()));
    data->nDataLength = newLength;
    return newLength;
}

int Lettra::Delete(int index, int count)
{
    const int length = GetLength();
    index = std::max(index, 0);
    if (count <= 0 || index >= length)
        return length;
    count = std::min(count, length - index);
    CopyBeforeWrite();
    std::memmove(m_pchData + index, m_pchData + index + count,
                 static_cast<std::size_t>(length - index - count) + 1);
    GetData()->nDataLength = length - count;
    return length;
}

int Lettra::Replace(char oldChar, char newChar)
{
    if (oldChar == newChar)
        return 0;
    int count = 0;
    for (char* p = m_pchData; *p != '\0'; p = reinterpret_cast<char*>(_mbsinc(U(p))))
    {
        if (*p != oldChar)
            continue;
        if (count++ == 0)
        {
            const std::ptrdiff_t offset = p - m_pchData;
            CopyBeforeWrite();
            p = m_pchData + offset;
        }
        *p = newChar;
    }
    return count;
}

int Lettra::Replace(const char* oldText, const char* newText)
{
    const int oldLength = Length(oldText);
    if (oldLength == 0)
        return 0;
    const char* replacement = Safe(newText);
    const int newLength = Length(replacement);
    // The text may hold NULs: every NUL-separated segment is searched.
    std::string result;
    int count = 0;
    const char* end = m_pchData + GetLength();
    for (const char* segment = m_pchData; segment <= end; segment += std::strlen(segment) + 1)
    {
        const char* p = segment;
        for (const unsigned char* found = _mbsstr(U(p), U(oldText)); found != nullptr;
             found = _mbsstr(U(p), U(oldText)))
        {
            result.append(p, reinterpret_cast<const char*>(found));
            result.append(replacement, static_cast<std::size_t>(newLength));
            p = reinterpret_cast<const char*>(found) + oldLength;
            ++count;
        }
        result.append(p);
        if (segment + std::strlen(segment) < end)
            result.push_back('\0');
    }
    if (count > 0)
        AssignCopy(static_cast<int>(result.size()), result.data());
    return count;
}

int Lettra::Remove(const char* text)
{
    return Replace(text, nullptr);
}

namespace
{

// Removes the bytes for which `matches` holds; returns how many.
template <typename Match> int RemoveBytes(Lettra& text, Match matches)
{
    const int length = text.GetLength();
    const char* source = text.constBuffer();
    const int count = static_cast<int>(std::count_if(
        source, source + length, [&](char ch) { return matches(static_cast<unsigned char>(ch)); }));
    if (count == 0)
        return 0;
    char* buffer = text.GetBuffer(length);
    char* end = std::remove_if(buffer, buffer + length,
                               [&](char ch) { return matches(static_cast<unsigned char>(ch)); });
    text.ReleaseBuffer(static_cast<int>(end - buffer));
    return count;
}

} // namespace

int Lettra::Remove(char ch)
{
    return RemoveBytes(*this,
                       [ch](unsigned char c) { return c == static_cast<unsigned char>(ch); });
}

int Lettra::RemoveSpace()
{
    return RemoveBytes(*this, [](unsigned char c) { return IsAsciiClass(c, std::isspace); });
}

int Lettra::RemovePunctuation()
{
    return RemoveBytes(*this, [](unsigned char c) { return IsAsciiClass(c, std::ispunct); });
}

int Lettra::RemoveControl()
{
    return RemoveBytes(*this, [](unsigned char c) { return IsAsciiClass(c, std::iscntrl); });
}

int Lettra::NCRemove(const char* text)
{
    const int length = Length(text);
    if (length == 0)
        return 0;
    int count = 0;
    for (int position = NCFind(text); position >= 0; position = NCFind(text))
    {
        *this = Left(position) + Mid(position + length);
        ++count;
    }
    return count;
}

int Lettra::NCRemove(char ch)
{
    const char text[2] = {ch, '\0'};
    return NCRemove(text);
}

int Lettra::ReplaceTabs(int tabSize)
{
    if (tabSize <= 0)
        return 0;
    int count = 0;
    for (int position = Find('\t'); position >= 0; position = Find('\t'))
    {
        *this = Left(position) + Lettra(' ', tabSize - position % tabSize) + Mid(position + 1);
        ++count;
    }
    return count;
}
