// The MFC file classes: CFile over a Win32 file handle (share modes honoured
// between handles), CStdioFile for lines of text, CMemFile over a memory
// block and CSharedFile over a global memory handle that can be handed over
// (Detach) and taken in (SetHandle). Failures throw CFileException, except
// Open, which reports through its CFileException argument.
#pragma once

#include "AfxException.h"
#include "AfxObject.h"
#include "AfxString.h"
#include "WinGlobalMemory.h"

#include <vector>

class PLATFORMUI_API CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition
    {
        begin = 0,
        current = 1,
        end = 2
    };

    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE hFile);
    // Throws CFileException when the file cannot be opened.
    CFile(LPCSTR lpszFileName, UINT nOpenFlags);
    ~CFile() override;

    operator HANDLE() const { return m_hFile; }

    // shareCompat opens exclusively, as shareExclusive does; modeCreate
    // truncates unless modeNoTruncate is given.
    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void Flush();
    virtual void Close();
    // Closes without reporting errors.
    virtual void Abort();

    virtual CString GetFilePath() const { return m_strFileName; }
    virtual CString GetFileName() const;
    virtual CString GetFileTitle() const;
    virtual void SetFilePath(LPCSTR lpszNewName) { m_strFileName = lpszNewName; }

    HANDLE m_hFile;

protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;
};

// Text lines through a file handle. Lines are read up to "\n" and come back
// without their line end ("\n" or "\r\n"); nothing is translated on writing.
class PLATFORMUI_API CStdioFile : public CFile
{
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile() = default;
    CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags);
    ~CStdioFile() override;

    // At most nMax - 1 characters; a longer line comes back in pieces.
    // NULL at the end of the file.
    virtual LPSTR ReadString(LPSTR lpsz, UINT nMax);
    // FALSE at the end of the file.
    virtual BOOL ReadString(CString& rString);
    virtual void WriteString(LPCSTR lpsz);

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    void Flush() override;
    void Close() override;
    void Abort() override;

private:
    // -1 at the end of the file.
    int ReadChar();
    int PeekChar();
    // Gives back read-ahead bytes so the handle stands where the caller is.
    void DropReadAhead();

    std::vector<char> m_readAhead;
    size_t m_nReadPosition = 0;
};

// A file in memory that grows in steps of nGrowBytes; with 0 it cannot grow
// and writing past its buffer throws CMemoryException.
class PLATFORMUI_API CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    ~CMemFile() override;

    // A caller's buffer: with nGrowBytes 0 its whole size is the file's
    // content, otherwise the file starts empty. The buffer stays the caller's.
    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    // Hands the buffer (allocated with malloc unless attached) to the caller
    // and leaves the file empty.
    BYTE* Detach();

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    virtual void SetLength(ULONGLONG dwNewLen);
    void Flush() override;
    void Close() override;
    void Abort() override;

protected:
    virtual BYTE* Alloc(SIZE_T nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
    virtual void Free(BYTE* lpMem);
    virtual void GrowFile(SIZE_T dwNewLen);
    void ReleaseBuffer();

    SIZE_T m_nGrowBytes;
    SIZE_T m_nPosition = 0;
    SIZE_T m_nBufferSize = 0;
    SIZE_T m_nFileSize = 0;
    BYTE* m_lpBuffer = nullptr;
    BOOL m_bAutoDelete = TRUE;
};

// A memory file in one global memory block, the form of clipboard and drag
// data. The block is freed with the file unless Detach hands it out.
class PLATFORMUI_API CSharedFile : public CMemFile
{
    DECLARE_DYNAMIC(CSharedFile)
public:
    explicit CSharedFile(UINT nAllocFlags = GMEM_DDESHARE | GMEM_MOVEABLE, UINT nGrowBytes = 4096);
    ~CSharedFile() override;

    // The unlocked block; the file is left empty.
    HGLOBAL Detach();
    // Takes a block in: its whole GlobalSize is the file's content, and
    // without bAllowGrow writing past it throws.
    void SetHandle(HGLOBAL hGlobalMemory, BOOL bAllowGrow = TRUE);

protected:
    BYTE* Alloc(SIZE_T nBytes) override;
    BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes) override;
    void Free(BYTE* lpMem) override;

    UINT m_nAllocFlags;
    HGLOBAL m_hGlobalMemory = nullptr;
    SIZE_T m_nSharedGrowBytes;
};
