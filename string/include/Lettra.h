// Lettra: the string of every deliverable. A byte string in the process ANSI
// code page whose one member points at NUL-terminated text; in front of the
// text, in the same block, lies a LettraData header. Copies share the block
// by an interlocked reference count and every write makes the text private
// first; all empty strings point at one static text that is never counted.
#pragma once

#include "LettraExport.h"
#include "WinInterlocked.h"
#include "WinOleAuto.h"
#include "WinTypes.h"

#include <cstdarg>

struct LettraData
{
    // Number of strings sharing the block; -1 for a locked buffer and for
    // the shared empty text. Changed only by interlocked operations.
    LONG nRefs;
    int nDataLength;  // bytes of text, without the NUL
    int nAllocLength; // capacity in bytes, without the NUL

    char* data() { return reinterpret_cast<char*>(this + 1); }
};
static_assert(sizeof(LettraData) == 12);

// The shared empty text: its header followed directly by a NUL.
struct LettraEmptyText
{
    LettraData header;
    char text[4];
};

extern LETTRA_API const LettraEmptyText lettraEmptyText;

class LETTRA_API Lettra
{
public:
    class Token;
    class DFileName;

    // Construction and destruction.
    Lettra() { Init(); }
    Lettra(const Lettra& source);
    Lettra(Lettra&& source) noexcept;
    Lettra(const char* text);
    Lettra(const unsigned char* text);
    Lettra(const char* text, int length);
    Lettra(char ch, int count);
    Lettra(int value);
    Lettra(long value);
    Lettra(unsigned value);
    Lettra(unsigned long value);
    Lettra(double value);
    Lettra(int value, const char* format);
    Lettra(long value, const char* format);
    Lettra(unsigned value, const char* format);
    Lettra(unsigned long value, const char* format);
    Lettra(double value, const char* format);
    Lettra(const WCHAR* text);
    // Joins up to `count` texts (0: no limit), stopping at the first null.
    // It takes at least two texts so that Lettra(int, const char* format)
    // stays the two-argument form.
    Lettra(int count, const char* first, const char* second, ...);
    ~Lettra() { Release(); }

    static Lettra Concat(const char* first, ...);
    static Lettra Concat(int count, const char* first, ...);

    // Assignment and concatenation.
    Lettra& operator=(const Lettra& source);
    Lettra& operator=(Lettra&& source) noexcept;
    Lettra& operator=(const char* text);
    Lettra& operator=(const unsigned char* text);
    Lettra& operator=(char ch);
    Lettra& operator=(const WCHAR* text);
    Lettra& Append(char ch);
    Lettra& Append(const char* text);
    Lettra& Append(const Lettra& text);
    Lettra& operator+=(char ch) { return Append(ch); }
    Lettra& operator+=(const char* text) { return Append(text); }
    Lettra& operator+=(const Lettra& text) { return Append(text); }
    void Repeat(char ch, int count);
    void Repeat(const char* text, int count);
    Lettra operator--();
    Lettra operator--(int);

    // Access and buffers.
    int GetLength() const { return GetData()->nDataLength; }
    bool IsEmpty() const { return GetData()->nDataLength == 0; }
    int GetAllocLength() const { return GetData()->nAllocLength; }
    const char* constBuffer() const { return m_pchData; }
    operator const char*() const { return m_pchData; }
    char GetAt(int index) const { return m_pchData[index]; }
    char operator[](int index) const { return m_pchData[index]; }
    char Char() const { return m_pchData[0]; }
    void SetAt(int index, char ch);
    char* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);
    char* GetBufferSetLength(int newLength);
    void FreeExtra();
    char* LockBuffer();
    void UnlockBuffer();
    void Empty();

    // Comparison.
    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;
    int Collate(const char* text) const;
    int CollateNoCase(const char* text) const;

    // Search: byte offsets, -1 when not found.
    int Find(char ch) const;
    int Find(char ch, int start) const;
    int Find(const char* text) const;
    int Find(const char* text, int start) const;
    int FindOneOf(const char* set) const;
    int ReverseFind(char ch) const;
    int NCFind(const char* text) const;
    int NCFind(char ch) const;
    int Count(char ch) const;
    int Count(const char* text) const;

    // Extraction.
    Lettra Mid(int first, int count) const;
    Lettra Mid(int first) const;
    Lettra Left(int count) const;
    Lettra Right(int count) const;
    Lettra SpanIncluding(const char* set) const;
    Lettra SpanExcluding(const char* set) const;

    // Trimming and case.
    void TrimRight();
    void TrimRight(char ch);
    void TrimRight(const char* set);
    void TrimLeft();
    void TrimLeft(char ch);
    void TrimLeft(const char* set);
    Lettra Trim() const;
    void MakeUpper();
    void MakeLower();
    void MakeReverse();
    void CharToOemA();
    void OemToCharA();

    // Editing.
    int Insert(int index, char ch);
    int Insert(int index, const char* text);
    int Delete(int index, int count = 1);
    int Replace(char oldChar, char newChar);
    int Replace(const char* oldText, const char* newText);
    int Remove(const char* text);
    int Remove(char ch);
    int RemoveSpace();
    int RemovePunctuation();
    int RemoveControl();
    int NCRemove(const char* text);
    int NCRemove(char ch);
    int ReplaceTabs(int tabSize);

    // Formatting: printf formats with the platform's conventions ("%ld" is
    // 32-bit, "%I64d" 64-bit, "%ls" UTF-16 text); never writes past its buffer.
    void Format(const char* format, ...);
    void FormatV(const char* format, va_list args);
    void AppendFormat(const char* format, ...);
    void AppendFormatV(const char* format, va_list args);
    // The formatted text, the error code and the system's text for the code
    // (the last error when code is 0).
    void FormatMessageA(DWORD code, const char* format, ...);
    Lettra DigitFormat(const char* format) const;

    // Parsing.
    int Int() const;
    long Long() const;
    double Double() const;
    bool Bool() const;

    // Character classes of single bytes ("C" classes; bytes from 0x80 have none).
    bool IsDigit(int index) const;
    bool IsAlNum(int index) const;
    bool IsAlpha(int index) const;
    bool IsUpper(int index) const;
    bool IsLower(int index) const;
    bool IsSpace(int index) const;
    bool IsDigit() const;
    bool IsAlNum() const;
    bool IsAlpha() const;
    bool IsUpper() const;
    bool IsLower() const;
    bool IsSpace() const;

    // Code pages; false, with the text unchanged, on failure.
    bool ToCharacterSet(UINT codePage);
    bool FromCharacterSet(UINT codePage);
    bool ToUnicode();
    bool FromUnicode();
    BSTR AllocSysString() const;
    BSTR SetSysString(BSTR* string) const;

    // Lists kept in one string, elements separated by one byte.
    Lettra Elements(int from, int to, char separator) const;
    Lettra Element(int index, char separator) const;
    int IndexOfElement(const char* value, char separator) const;
    int IndexOfElement(double value, char separator) const;
    int IndexOfElement(int value, char separator) const;
    int IndexOfElement(char value, char separator) const;
    int IndexOfElement(bool value, char separator) const;

    // Longest common subsequence of the bytes over this string's length.
    float Similar(const char* text) const;
    float Similar(const Lettra& text) const;

    friend LETTRA_API Lettra operator+(const Lettra& a, const Lettra& b);
    friend LETTRA_API Lettra operator+(const Lettra& a, const char* b);
    friend LETTRA_API Lettra operator+(const char* a, const Lettra& b);
    friend LETTRA_API Lettra operator+(const Lettra& a, char b);
    friend LETTRA_API Lettra operator+(char a, const Lettra& b);

protected:
    LettraData* GetData() const { return reinterpret_cast<LettraData*>(m_pchData) - 1; }
    void Init() { m_pchData = const_cast<char*>(lettraEmptyText.text); }
    void AllocBuffer(int length);
    static void FreeData(LettraData* data);
    static void Release(LettraData* data);
    void Release();
    void CopyBeforeWrite();
    void AllocBeforeWrite(int length);
    void AllocCopy(Lettra& destination, int copyLength, int copyIndex, int extraLength) const;
    void AssignCopy(int length, const char* text);
    void ConcatCopy(int length1, const char* text1, int length2, const char* text2);
    void ConcatInPlace(int length, const char* text);

    // Upper bound of the formatted length, walking the arguments by type.
    static int GetFormattedLength(const char* format, va_list args);
    // Writes at most size bytes with the NUL; returns the full length.
    static int VFormat(char* buffer, int size, const char* format, va_list args);
    static BSTR AllocSysString(const char* text, int length);
    static int ReAllocSysString(const char* text, BSTR* string, int length);

    char* m_pchData;

private:
    static bool IsEmptyData(const LettraData* data) { return data == &lettraEmptyText.header; }
    static LONG GetRefs(const LettraData* data)
    {
        return __atomic_load_n(&data->nRefs, __ATOMIC_ACQUIRE);
    }
    void CopyFrom(const Lettra& source);
    bool Recode(UINT from, UINT to);
    void ConvertOem(bool toOem);
};

inline Lettra::Lettra(const Lettra& source)
{
    if (GetRefs(source.GetData()) >= 0)
    {
        m_pchData = source.m_pchData;
        InterlockedIncrement(&GetData()->nRefs);
    }
    else
        CopyFrom(source);
}

inline void Lettra::Release()
{
    Release(GetData());
    Init();
}

inline void Lettra::Release(LettraData* data)
{
    if (!IsEmptyData(data) && InterlockedDecrement(&data->nRefs) <= 0)
        FreeData(data);
}

// Walks a Lettra word by word, line by line or by a separator, without
// copying it. The string must outlive the token and stay unchanged, or the
// token must be restarted.
class LETTRA_API Lettra::Token
{
public:
    // The first token is current after construction.
    Token(const Lettra& source, bool skipPunctuation = false);

    bool Next();
    // A word ends only at white space or at the separator.
    bool Next(char separator);
    bool NextLine();
    bool operator++() { return Next(); }
    bool operator++(int) { return Next(); }

    Lettra Current() const;
    operator Lettra() const { return Current(); }
    Lettra operator()() const { return Current(); }
    bool IsValid() const { return m_start >= 0 && m_end >= m_start; }
    explicit operator bool() const { return m_more; }

    void Clear();
    void Restart();
    bool SkipPunctuation(bool on);

protected:
    // First position at or after pos that is not white space, -1 at the end.
    int FindWhitespace(int position) const;
    int FindChar(int position, char ch) const;

    const Lettra* m_source;
    const char* m_text;
    int m_start;
    int m_end;
    int m_next;
    bool m_more;
    int m_length;
    bool m_skipPunctuation;

private:
    // separator < 0: the word rule of Next().
    bool Scan(int separator);
    bool IsWordByte(unsigned char ch, int separator) const;
};

// Splits a file path into drive, folder, name and extension. A relative path
// is completed with the current directory; rooted ("\a", "/a") and UNC-style
// ("\\server\share\a") paths are kept as given. Both separators are accepted.
class LETTRA_API Lettra::DFileName
{
public:
    explicit DFileName(const char* path);

    // Moves the file name into another folder.
    void SetPath(const char* folder);

    const char* FullFileName() const { return m_fullFileName; }
    const char* FileName() const { return m_fileName; }
    const char* FileExt() const { return m_ext; }
    const char* Drive() const { return m_drive; }
    const char* FilePath() const;
    // Non-zero when name equals the file name, ignoring case.
    int IsFile(const char* name) const;

protected:
    void Init(const char* path);

    char m_fileName[520];
    char m_fullFileName[520];
    mutable char m_filePath[520];
    char m_drive[260];
    char m_folder[260];
    char m_name[260];
    char m_ext[260];
};

LETTRA_API bool operator==(const Lettra& a, const Lettra& b);
LETTRA_API bool operator==(const Lettra& a, const char* b);
LETTRA_API bool operator==(const char* a, const Lettra& b);
LETTRA_API bool operator!=(const Lettra& a, const Lettra& b);
LETTRA_API bool operator!=(const Lettra& a, const char* b);
LETTRA_API bool operator!=(const char* a, const Lettra& b);
LETTRA_API bool operator<(const Lettra& a, const Lettra& b);
LETTRA_API bool operator<(const Lettra& a, const char* b);
LETTRA_API bool operator<(const char* a, const Lettra& b);
LETTRA_API bool operator>(const Lettra& a, const Lettra& b);
LETTRA_API bool operator>(const Lettra& a, const char* b);
LETTRA_API bool operator>(const char* a, const Lettra& b);
LETTRA_API bool operator<=(const Lettra& a, const Lettra& b);
LETTRA_API bool operator<=(const Lettra& a, const char* b);
LETTRA_API bool operator<=(const char* a, const Lettra& b);
LETTRA_API bool operator>=(const Lettra& a, const Lettra& b);
LETTRA_API bool operator>=(const Lettra& a, const char* b);
LETTRA_API bool operator>=(const char* a, const Lettra& b);
