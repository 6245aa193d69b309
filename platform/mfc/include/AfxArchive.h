// CArchive: a buffered binary stream over a CFile, either loading or
// storing. Numbers are little-endian in their Windows widths (int and LONG
// 4 bytes); strings carry a length prefix; objects of serialisable classes
// are written once with their class and referred back to afterwards.
// Reading past the end throws CArchiveException::endOfFile.
#pragma once

#include "AfxException.h"
#include "AfxObject.h"
#include "AfxString.h"

#include <unordered_map>
#include <vector>

class CFile;

class PLATFORMUI_API CArchive
{
public:
    enum Mode
    {
        store = 0,
        load = 1,
        bNoFlushOnDelete = 2,
        bNoByteSwap = 4
    };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    // Flushes a storing archive that was not closed (unless bNoFlushOnDelete).
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return m_bLoading; }
    BOOL IsStoring() const { return !m_bLoading; }
    BOOL IsBufferEmpty() const;
    // The file, positioned just after what the archive has stored or
    // loaded, so callers may use it directly between archive operations.
    CFile* GetFile() const;

    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    void Flush();
    void Close();
    void Abort();

    // A line without its line end; FALSE (or NULL) at the end of the data.
    BOOL ReadString(CString& rString);
    LPSTR ReadString(LPSTR lpsz, UINT nMax);
    void WriteString(LPCSTR lpsz);

    DWORD_PTR ReadCount();
    void WriteCount(DWORD_PTR dwCount);

    // The schema of the object being loaded, once; then (UINT)-1.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    void WriteObject(const CObject* pOb);

    CArchive& operator<<(BYTE by);
    CArchive& operator<<(WORD w);
    CArchive& operator<<(LONG l);
    CArchive& operator<<(DWORD dw);
    CArchive& operator<<(short w);
    CArchive& operator<<(char ch);
    CArchive& operator<<(signed char ch);
    CArchive& operator<<(bool b);
    CArchive& operator<<(float f);
    CArchive& operator<<(double d);
    CArchive& operator<<(LONGLONG ll);
    CArchive& operator<<(ULONGLONG ull);
    CArchive& operator<<(const CString& str);
    CArchive& operator<<(LPCSTR lpsz);
    CArchive& operator<<(const CObject* pOb);

    CArchive& operator>>(BYTE& by);
    CArchive& operator>>(WORD& w);
    CArchive& operator>>(LONG& l);
    CArchive& operator>>(DWORD& dw);
    CArchive& operator>>(short& w);
    CArchive& operator>>(char& ch);
    CArchive& operator>>(signed char& ch);
    CArchive& operator>>(bool& b);
    CArchive& operator>>(float& f);
    CArchive& operator>>(double& d);
    CArchive& operator>>(LONGLONG& ll);
    CArchive& operator>>(ULONGLONG& ull);
    CArchive& operator>>(CString& str);
    CArchive& operator>>(CObject*& pOb);

private:
    struct LoadedEntry
    {
        bool bIsClass;
        void* pEntry;
    };

    template <class T> CArchive& Store(const T& value);
    template <class T> CArchive& Load(T& value);
    void ReadExactly(void* lpBuf, UINT nCount);
    void CheckLoading() const;
    void CheckStoring() const;
    // Loading only: reads more of the file; FALSE at its end.
    BOOL FillBuffer() const;
    void WriteTag(WORD wTag, DWORD dwIndex);
    void WriteClass(const CRuntimeClass* pClass);
    CRuntimeClass* ReadNewClass();
    const LoadedEntry& LoadedAt(DWORD dwIndex, bool bWantClass) const;
    DWORD AddMapped(const void* pEntry);

    CFile* m_pFile;
    BOOL m_bLoading;
    BOOL m_bNoFlushOnDelete;
    BOOL m_bClosed = FALSE;
    UINT m_nObjectSchema = static_cast<UINT>(-1);
    size_t m_nBufferSize;
    mutable std::vector<BYTE> m_buffer;
    mutable size_t m_nBufferPosition = 0;
    std::unordered_map<const void*, DWORD> m_storeMap;
    std::vector<LoadedEntry> m_loadArray;
};
