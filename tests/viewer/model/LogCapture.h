// The lines the viewer library's log receives while a capture lives: the log
// is opened on one temporary file of the test program, and each line written
// since the capture began is read back without its time. The file stays open
// for the whole program, since the log keeps a stream it was given.
#pragma once

#include "FileLog.h"
#include "QuillonLog.h"

#include <cstdio>
#include <string>
#include <vector>

class LogCapture
{
public:
    LogCapture() : m_file(SharedFile())
    {
        quillon::GetQuillonLog().On(m_file);
        Clear();
    }
    ~LogCapture() { quillon::GetQuillonLog().Off(); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Forgets the lines written so far.
    void Clear()
    {
        quillon::GetQuillonLog().Flush();
        std::fseek(m_file, 0, SEEK_END);
        m_start = std::ftell(m_file);
    }

    std::vector<std::string> Lines() const
    {
        quillon::GetQuillonLog().Flush();
        std::fseek(m_file, m_start, SEEK_SET);
        std::string text;
        char buffer[4096];
        for (std::size_t read = 0; (read = std::fread(buffer, 1, sizeof buffer, m_file)) > 0;)
        {
            text.append(buffer, read);
        }
        // The log goes on writing at the end.
        std::fseek(m_file, 0, SEEK_END);
        std::vector<std::string> lines;
        for (std::size_t start = 0; start < text.size();)
        {
            std::size_t end = text.find("\r\n", start);
            if (end == std::string::npos)
            {
                end = text.size();
            }
            const std::string line = text.substr(start, end - start);
            // "hh:mm:ss  " comes first.
            lines.push_back(line.size() >= 10 && line[2] == ':' && line[5] == ':' ? line.substr(10)
                                                                                  : line);
            start = end + 2;
        }
        return lines;
    }

    bool Contains(const std::string& text) const
    {
        for (const std::string& line : Lines())
        {
            if (line.find(text) != std::string::npos)
            {
                return true;
            }
        }
        return false;
    }

private:
    static std::FILE* SharedFile()
    {
        static std::FILE* const file = std::tmpfile();
        return file;
    }

    std::FILE* m_file;
    long m_start = 0;
};
