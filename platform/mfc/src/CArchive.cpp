#include "AfxArchive.h"
#include "AfxFile.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <type_traits>

namespace
{
constexpr WORD kNullTag = 0;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr DWORD kBigClassTag = 0x80000000;
constexpr DWORD kMaxMapCount = 0x3FFFFFFE;
constexpr size_t kMinBufferSize = 128;
} // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void*)
    : m_pFile(pFile), m_bLoading((nMode & load) != 0),
      m_bNoFlushOnDelete((nMode & bNoFlushOnDelete) != 0),
      m_nBufferSize(std::max<size_t>(kMinBufferSize, nBufSize > 0 ? nBufSize : 0))
{
    if (m_pFile == nullptr)
        AfxThrowInvalidArgException();
    // Index 0 stands for the null object in both directions.
    m_loadArray.push_back({false, nullptr});
}

CArchive::~CArchive()
{
    if (m_bClosed)
        return;
    try
    {
        if (m_bNoFlushOnDelete)
            Abort();
        else
            Close();
    }
    catch (CException* e)
    {
        e->Delete();
    }
}

BOOL CArchive::IsBufferEmpty() const
{
    return m_nBufferPosition >= m_buffer.size();
}

CFile* CArchive::GetFile() const
{
    if (m_bClosed)
        return m_pFile;
    if (!m_bLoading)
    {
        const_cast<CArchive*>(this)->Flush();
        return m_pFile;
    }
    const size_t nUnread = m_buffer.size() - m_nBufferPosition;
    m_buffer.clear();
    m_nBufferPosition = 0;
    if (nUnread > 0)
        m_pFile->Seek(-static_cast<LONGLONG>(nUnread), CFile::current);
    return m_pFile;
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    UINT nRead = 0;
    while (nRead < nMax && (!IsBufferEmpty() || FillBuffer()))
    {
        const size_t nTake = std::min<size_t>(nMax - nRead, m_buffer.size() - m_nBufferPosition);
        std::memcpy(static_cast<BYTE*>(lpBuf) + nRead, m_buffer.data() + m_nBufferPosition, nTake);
        m_nBufferPosition += nTake;
        nRead += static_cast<UINT>(nTake);
    }
    return nRead;
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckStoring();
    const BYTE* pBytes = static_cast<const BYTE*>(lpBuf);
    m_buffer.insert(m_buffer.end(), pBytes, pBytes + nMax);
    if (m_buffer.size() >= m_nBufferSize)
        Flush();
}

void CArchive::Flush()
{
    if (m_bLoading)
        return;
    if (!m_buffer.empty())
        m_pFile->Write(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
    m_buffer.clear();
}

void CArchive::Close()
{
    if (m_bClosed)
        return;
    // A loading archive leaves the file just after what it consumed.
    GetFile();
    m_bClosed = TRUE;
}

void CArchive::Abort()
{
    m_buffer.clear();
    m_nBufferPosition = 0;
    m_bClosed = TRUE;
}

BOOL CArchive::ReadString(CString& rString)
{
    CheckLoading();
    std::string line;
    char ch = '\0';
    while (Read(&ch, 1) == 1)
    {
        line += ch;
        if (ch == '\n')
            break;
    }
    if (line.empty())
    {
        rString.Empty();
        return FALSE;
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    rString = line.c_str();
    return TRUE;
}

LPSTR CArchive::ReadString(LPSTR lpsz, UINT nMax)
{
    if (lpsz == nullptr || nMax == 0)
        return nullptr;
    CString strLine;
    if (!ReadString(strLine))
    {
        lpsz[0] = '\0';
        return nullptr;
    }
    const UINT nCopy = std::min<UINT>(static_cast<UINT>(strLine.GetLength()), nMax - 1);
    std::memcpy(lpsz, strLine.GetString(), nCopy);
    lpsz[nCopy] = '\0';
    return lpsz;
}

void CArchive::WriteString(LPCSTR lpsz)
{
    if (lpsz != nullptr)
        Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

DWORD_PTR CArchive::ReadCount()
{
    WORD wCount = 0;
    *this >> wCount;
    if (wCount != 0xFFFF)
        return wCount;
    DWORD dwCount = 0;
    *this >> dwCount;
    return dwCount;
}

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF)
    {
        *this << static_cast<WORD>(dwCount);
        return;
    }
    *this << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(dwCount);
}

UINT CArchive::GetObjectSchema()
{
    const UINT nSchema = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return nSchema;
}

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    if (pOb == nullptr)
    {
        *this << kNullTag;
        return;
    }
    if (auto it = m_storeMap.find(pOb); it != m_storeMap.end())
    {
        WriteTag(static_cast<WORD>(std::min<DWORD>(it->second, kBigObjectTag)), it->second);
        return;
    }
    const CRuntimeClass* pClass = pOb->GetRuntimeClass();
    if (!pOb->IsSerializable())
        AfxThrowArchiveException(CArchiveException::badClass, m_pFile->GetFilePath());
    WriteClass(pClass);
    AddMapped(pOb);
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    CheckLoading();
    WORD wTag = 0;
    *this >> wTag;
    DWORD dwTag = wTag;
    if (wTag == kBigObjectTag)
        *this >> dwTag;
    else if (wTag != kNewClassTag && (wTag & kClassTag) != 0)
        dwTag = kBigClassTag | (wTag & ~kClassTag);

    const CRuntimeClass* pClass = nullptr;
    if (wTag == kNewClassTag)
        pClass = ReadNewClass();
    else if ((dwTag & kBigClassTag) != 0)
        pClass = static_cast<const CRuntimeClass*>(LoadedAt(dwTag & ~kBigClassTag, true).pEntry);
    else
    {
        CObject* pOb = static_cast<CObject*>(LoadedAt(dwTag, false).pEntry);
        if (pOb != nullptr && pClassRefRequested != nullptr && !pOb->IsKindOf(pClassRefRequested))
            AfxThrowArchiveException(CArchiveException::badClass, m_pFile->GetFilePath());
        return pOb;
    }

    if (pClassRefRequested != nullptr && !pClass->IsDerivedFrom(pClassRefRequested))
        AfxThrowArchiveException(CArchiveException::badClass, m_pFile->GetFilePath());
    CObject* pOb = pClass->CreateObject();
    if (pOb == nullptr)
        AfxThrowMemoryException();
    // Registered before its contents so that it may refer to itself.
    m_loadArray.push_back({false, pOb});
    m_nObjectSchema = pClass->m_wSchema;
    try
    {
        pOb->Serialize(*this);
    }
    catch (...)
    {
        m_loadArray.back().pEntry = nullptr;
        delete pOb;
        throw;
    }
    return pOb;
}

void CArchive::WriteTag(WORD wTag, DWORD dwIndex)
{
    *this << wTag;
    if (wTag == kBigObjectTag)
        *this << dwIndex;
}

void CArchive::WriteClass(const CRuntimeClass* pClass)
{
    if (auto it = m_storeMap.find(pClass); it != m_storeMap.end())
    {
        if (it->second < kBigObjectTag)
            *this << static_cast<WORD>(kClassTag | it->second);
        else
            WriteTag(kBigObjectTag, kBigClassTag | it->second);
        return;
    }
    *this << kNewClassTag;
    pClass->Store(*this);
    AddMapped(pClass);
}

CRuntimeClass* CArchive::ReadNewClass()
{
    UINT nSchema = 0;
    CRuntimeClass* pClass = CRuntimeClass::Load(*this, &nSchema);
    if (pClass == nullptr)
        AfxThrowArchiveException(CArchiveException::badClass, m_pFile->GetFilePath());
    if (pClass->m_wSchema != nSchema)
        AfxThrowArchiveException(CArchiveException::badSchema, m_pFile->GetFilePath());
    if (m_loadArray.size() > kMaxMapCount)
        AfxThrowArchiveException(CArchiveException::badIndex, m_pFile->GetFilePath());
    m_loadArray.push_back({true, pClass});
    return pClass;
}

const CArchive::LoadedEntry& CArchive::LoadedAt(DWORD dwIndex, bool bWantClass) const
{
    if (dwIndex >= m_loadArray.size() ||
        (dwIndex != 0 && m_loadArray[dwIndex].bIsClass != bWantClass) ||
        (dwIndex == 0 && bWantClass))
        AfxThrowArchiveException(CArchiveException::badIndex, m_pFile->GetFilePath());
    return m_loadArray[dwIndex];
}

DWORD CArchive::AddMapped(const void* pEntry)
{
    const DWORD dwIndex = static_cast<DWORD>(m_storeMap.size()) + 1;
    if (dwIndex > kMaxMapCount)
        AfxThrowArchiveException(CArchiveException::badIndex, m_pFile->GetFilePath());
    m_storeMap.emplace(pEntry, dwIndex);
    return dwIndex;
}

void CArchive::ReadExactly(void* lpBuf, UINT nCount)
{
    if (Read(lpBuf, nCount) != nCount)
        AfxThrowArchiveException(CArchiveException::endOfFile, m_pFile->GetFilePath());
}

void CArchive::CheckLoading() const
{
    if (!m_bLoading || m_bClosed)
        AfxThrowArchiveException(CArchiveException::writeOnly, m_pFile->GetFilePath());
}

void CArchive::CheckStoring() const
{
    if (m_bLoading || m_bClosed)
        AfxThrowArchiveException(CArchiveException::readOnly, m_pFile->GetFilePath());
}

BOOL CArchive::FillBuffer() const
{
    m_buffer.erase(m_buffer.begin(),
                   m_buffer.begin() + static_cast<std::ptrdiff_t>(m_nBufferPosition));
    m_nBufferPosition = 0;
    const size_t nOld = m_buffer.size();
    m_buffer.resize(nOld + m_nBufferSize);
    const UINT nRead = m_pFile->Read(m_buffer.data() + nOld, static_cast<UINT>(m_nBufferSize));
    m_buffer.resize(nOld + nRead);
    return nRead > 0;
}

template <class T> CArchive& CArchive::Store(const T& value)
{
    static_assert(std::is_trivially_copyable_v<T>);
    Write(&value, sizeof(T));
    return *this;
}

template <class T> CArchive& CArchive::Load(T& value)
{
    static_assert(std::is_trivially_copyable_v<T>);
    ReadExactly(&value, sizeof(T));
    return *this;
}

CArchive& CArchive::operator<<(BYTE by)
{
    return Store(by);
}
CArchive& CArchive::operator<<(WORD w)
{
    return Store(w);
}
CArchive& CArchive::operator<<(LONG l)
{
    return Store(l);
}
CArchive& CArchive::operator<<(DWORD dw)
{
    return Store(dw);
}
CArchive& CArchive::operator<<(short w)
{
    return Store(w);
}
CArchive& CArchive::operator<<(char ch)
{
    return Store(ch);
}
CArchive& CArchive::operator<<(signed char ch)
{
    return Store(ch);
}
CArchive& CArchive::operator<<(bool b)
{
    return Store(static_cast<BYTE>(b ? 1 : 0));
}
CArchive& CArchive::operator<<(float f)
{
    return Store(f);
}
CArchive& CArchive::operator<<(double d)
{
    return Store(d);
}
CArchive& CArchive::operator<<(LONGLONG ll)
{
    return Store(ll);
}
CArchive& CArchive::operator<<(ULONGLONG ull)
{
    return Store(ull);
}

// Length prefix: one byte below 255, else 0xFF and a word below 0xFFFF,
// else 0xFF, 0xFFFF and a double word.
CArchive& CArchive::operator<<(const CString& str)
{
    const DWORD dwLength = static_cast<DWORD>(str.GetLength());
    if (dwLength < 0xFF)
        *this << static_cast<BYTE>(dwLength);
    else if (dwLength < 0xFFFF)
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(dwLength);
    else
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << dwLength;
    Write(str.GetString(), dwLength);
    return *this;
}

CArchive& CArchive::operator<<(LPCSTR lpsz)
{
    return *this << CString(lpsz);
}

CArchive& CArchive::operator<<(const CObject* pOb)
{
    WriteObject(pOb);
    return *this;
}

CArchive& CArchive::operator>>(BYTE& by)
{
    return Load(by);
}
CArchive& CArchive::operator>>(WORD& w)
{
    return Load(w);
}
CArchive& CArchive::operator>>(LONG& l)
{
    return Load(l);
}
CArchive& CArchive::operator>>(DWORD& dw)
{
    return Load(dw);
}
CArchive& CArchive::operator>>(short& w)
{
    return Load(w);
}
CArchive& CArchive::operator>>(char& ch)
{
    return Load(ch);
}
CArchive& CArchive::operator>>(signed char& ch)
{
    return Load(ch);
}
CArchive& CArchive::operator>>(bool& b)
{
    BYTE by = 0;
    Load(by);
    b = by != 0;
    return *this;
}
CArchive& CArchive::operator>>(float& f)
{
    return Load(f);
}
CArchive& CArchive::operator>>(double& d)
{
    return Load(d);
}
CArchive& CArchive::operator>>(LONGLONG& ll)
{
    return Load(ll);
}
CArchive& CArchive::operator>>(ULONGLONG& ull)
{
    return Load(ull);
}

CArchive& CArchive::operator>>(CString& str)
{
    BYTE byLength = 0;
    *this >> byLength;
    DWORD dwLength = byLength;
    if (byLength == 0xFF)
    {
        WORD wLength = 0;
        *this >> wLength;
        dwLength = wLength;
        if (wLength == 0xFFFF)
            *this >> dwLength;
    }
    // Read in pieces so that a damaged length cannot demand a huge block
    // before the data runs out.
    std::string text;
    char chunk[4096];
    while (text.size() < dwLength)
    {
        const UINT nChunk =
            static_cast<UINT>(std::min<size_t>(sizeof(chunk), dwLength - text.size()));
        ReadExactly(chunk, nChunk);
        text.append(chunk, nChunk);
    }
    str = CString(text.c_str(), static_cast<int>(text.size()));
    return *this;
}

CArchive& CArchive::operator>>(CObject*& pOb)
{
    pOb = ReadObject(nullptr);
    return *this;
}
