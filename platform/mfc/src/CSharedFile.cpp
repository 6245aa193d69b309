#include "AfxFile.h"

#include "WinError.h"

IMPLEMENT_DYNAMIC(CSharedFile, CMemFile)

CSharedFile::CSharedFile(UINT nAllocFlags, UINT nGrowBytes)
    : CMemFile(nGrowBytes), m_nAllocFlags(nAllocFlags), m_nSharedGrowBytes(nGrowBytes)
{
}

CSharedFile::~CSharedFile()
{
    ReleaseBuffer();
}

HGLOBAL CSharedFile::Detach()
{
    HGLOBAL hGlobalMemory = m_hGlobalMemory;
    if (hGlobalMemory != nullptr)
        GlobalUnlock(hGlobalMemory);
    m_hGlobalMemory = nullptr;
    CMemFile::Detach();
    m_nGrowBytes = m_nSharedGrowBytes;
    return hGlobalMemory;
}

void CSharedFile::SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow)
{
    ReleaseBuffer();
    BYTE* lpBuffer = static_cast<BYTE*>(GlobalLock(hGlobalMemory));
    if (lpBuffer == nullptr)
        AfxThrowFileException(CFileException::invalidFile, static_cast<LONG>(GetLastError()));
    m_hGlobalMemory = hGlobalMemory;
    m_lpBuffer = lpBuffer;
    m_nBufferSize = m_nFileSize = GlobalSize(hGlobalMemory);
    m_nPosition = 0;
    m_bAutoDelete = TRUE;
    m_nGrowBytes = bAllowGrow ? m_nSharedGrowBytes : 0;
}

BYTE* CSharedFile::Alloc(SIZE_T nBytes)
{
    HGLOBAL hGlobalMemory = GlobalAlloc(m_nAllocFlags, nBytes);
    if (hGlobalMemory == nullptr)
        return nullptr;
    m_hGlobalMemory = hGlobalMemory;
    return static_cast<BYTE*>(GlobalLock(hGlobalMemory));
}

BYTE* CSharedFile::Realloc(BYTE*, SIZE_T nBytes)
{
    GlobalUnlock(m_hGlobalMemory);
    HGLOBAL hNew = GlobalReAlloc(m_hGlobalMemory, nBytes, m_nAllocFlags);
    if (hNew == nullptr)
    {
        // The old block stays as it was; keep it locked for the file.
        GlobalLock(m_hGlobalMemory);
        return nullptr;
    }
    m_hGlobalMemory = hNew;
    return static_cast<BYTE*>(GlobalLock(hNew));
}

void CSharedFile::Free(BYTE*)
{
    if (m_hGlobalMemory == nullptr)
        return;
    GlobalUnlock(m_hGlobalMemory);
    GlobalFree(m_hGlobalMemory);
    m_hGlobalMemory = nullptr;
}
