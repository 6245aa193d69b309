#include "AfxFile.h"

#include <cstring>

namespace
{
constexpr UINT kReadAheadSize = 4096;

// Cuts "\n" or "\r\n" from the end of a line.
size_t WithoutLineEnd(LPCSTR lpsz, size_t nLength)
{
    if (nLength > 0 && lpsz[nLength - 1] == '\n')
        --nLength;
    if (nLength > 0 && lpsz[nLength - 1] == '\r')
        --nLength;
    return nLength;
}
} // namespace

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

CStdioFile::CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags) : CFile(lpszFileName, nOpenFlags) {}

CStdioFile::~CStdioFile() = default;

int CStdioFile::ReadChar()
{
    if (m_nReadPosition == m_readAhead.size())
    {
        m_readAhead.resize(kReadAheadSize);
        m_readAhead.resize(CFile::Read(m_readAhead.data(), kReadAheadSize));
        m_nReadPosition = 0;
        if (m_readAhead.empty())
            return -1;
    }
    return static_cast<unsigned char>(m_readAhead[m_nReadPosition++]);
}

int CStdioFile::PeekChar()
{
    const int ch = ReadChar();
    if (ch >= 0)
        --m_nReadPosition;
    return ch;
}

void CStdioFile::DropReadAhead()
{
    const size_t nUnread = m_readAhead.size() - m_nReadPosition;
    m_readAhead.clear();
    m_nReadPosition = 0;
    if (nUnread > 0)
        CFile::Seek(-static_cast<LONGLONG>(nUnread), current);
}

LPSTR CStdioFile::ReadString(LPSTR lpsz, UINT nMax)
{
    if (lpsz == nullptr || nMax == 0)
        return nullptr;
    size_t nLength = 0;
    bool bEndOfLine = false;
    while (nLength + 1 < nMax && !bEndOfLine)
    {
        const int ch = ReadChar();
        if (ch < 0)
            break;
        lpsz[nLength++] = static_cast<char>(ch);
        bEndOfLine = ch == '\n';
    }
    if (nLength == 0)
    {
        lpsz[0] = '\0';
        return nullptr;
    }
    // A "\r\n" cut by the buffer's end is still one line end.
    if (!bEndOfLine && lpsz[nLength - 1] == '\r' && PeekChar() == '\n')
        ReadChar();
    lpsz[WithoutLineEnd(lpsz, nLength)] = '\0';
    return lpsz;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    std::string line;
    int ch = ReadChar();
    if (ch < 0)
    {
        rString.Empty();
        return FALSE;
    }
    for (; ch >= 0; ch = ReadChar())
    {
        line += static_cast<char>(ch);
        if (ch == '\n')
            break;
    }
    rString = CString(line.c_str(), static_cast<int>(WithoutLineEnd(line.c_str(), line.size())));
    return TRUE;
}

void CStdioFile::WriteString(LPCSTR lpsz)
{
    if (lpsz != nullptr)
        Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    const size_t nBuffered = std::min<size_t>(nCount, m_readAhead.size() - m_nReadPosition);
    if (nBuffered > 0)
        std::memcpy(lpBuf, m_readAhead.data() + m_nReadPosition, nBuffered);
    m_nReadPosition += nBuffered;
    const UINT nRest = nCount - static_cast<UINT>(nBuffered);
    return static_cast<UINT>(nBuffered) +
           (nRest > 0 ? CFile::Read(static_cast<char*>(lpBuf) + nBuffered, nRest) : 0);
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    DropReadAhead();
    CFile::Write(lpBuf, nCount);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    DropReadAhead();
    return CFile::Seek(lOff, nFrom);
}

ULONGLONG CStdioFile::GetPosition() const
{
    return CFile::GetPosition() - (m_readAhead.size() - m_nReadPosition);
}

void CStdioFile::Flush()
{
    DropReadAhead();
    CFile::Flush();
}

void CStdioFile::Close()
{
    m_readAhead.clear();
    m_nReadPosition = 0;
    CFile::Close();
}

void CStdioFile::Abort()
{
    m_readAhead.clear();
    m_nReadPosition = 0;
    CFile::Abort();
}
