#include "FileLog.h"

#include "WinFile.h"

#include <cstring>

int CFileLog::FlushCounter = 0;

CFileLog::CFileLog() = default;

CFileLog::CFileLog(const CFileLog& other)
    : CChronex(other), m_file(other.m_file), m_ownedFile(other.m_ownedFile)
{
    // A builder attached to a log flushes it when it goes; a copy of a log
    // must not reach back to an original it may outlive.
    Detach();
    std::memcpy(m_path, other.m_path, sizeof m_path);
}

CFileLog& CFileLog::operator=(const CFileLog& other)
{
    if (this != &other)
    {
        CChronex::operator=(other);
        std::memcpy(m_path, other.m_path, sizeof m_path);
        m_file = other.m_file;
        m_ownedFile = other.m_ownedFile;
    }
    return *this;
}

CFileLog::~CFileLog()
{
    CChronex::Off();
    LetGoOfFile();
}

int CFileLog::On(const char* path)
{
    CChronex::Off();
    LetGoOfFile();
    m_file = nullptr;
    SetPath(nullptr);
    if (path == nullptr)
    {
        return 0;
    }
    FILE* file = _fsopen(path, "a+b", _SH_DENYWR);
    if (file == nullptr)
    {
        return 0;
    }
    m_file = file;
    m_ownedFile = std::shared_ptr<FILE>(file, std::fclose);
    SetPath(path);
    CChronex::On();
    return 1;
}

int CFileLog::On(FILE* stream)
{
    CChronex::Off();
    LetGoOfFile();
    SetPath(nullptr);
    m_file = stream;
    CChronex::On();
    return 1;
}

int CFileLog::On()
{
    CChronex::Off();
    LetGoOfFile();
    m_file = stdout;
    CChronex::On();
    return 1;
}

void CFileLog::Off()
{
    CChronex::Off();
    LetGoOfFile();
}

long CFileLog::GetFileSize() const
{
    return m_file != nullptr ? std::ftell(m_file) : -1;
}

int CFileLog::IsLogOn() const
{
    return m_file != nullptr ? 1 : 0;
}

void CFileLog::Flush()
{
    if (m_file != nullptr)
    {
        std::fflush(m_file);
    }
}

void CFileLog::Flush(const char* text, int)
{
    if (m_file != nullptr)
    {
        std::fputs(text, m_file);
    }
    if (FlushCounter++ > LineOfDelayFlush)
    {
        Flush();
        FlushCounter = 0;
    }
}

// Closes an own file unless a copy still shares it; a given stream stays.
void CFileLog::LetGoOfFile()
{
    if (m_ownedFile != nullptr)
    {
        std::fflush(m_file);
        m_ownedFile.reset();
        m_file = nullptr;
    }
}

void CFileLog::SetPath(const char* path)
{
    std::memset(m_path, 0, sizeof m_path);
    if (path != nullptr)
    {
        std::strncpy(m_path, path, sizeof m_path - 1);
    }
}
