// The file one input of a fuzz target is written to, for code under test
// that reads files: one name per process, the file removed again however
// the input ends, since a fuzzing session runs millions of inputs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

class FuzzInputFile
{
public:
    // /tmp/<stem>-<process id><extension>, holding the bytes.
    FuzzInputFile(const char* stem, const char* extension, const std::uint8_t* data,
                  std::size_t size)
        : m_path(std::string("/tmp/") + stem + "-" + std::to_string(getpid()) + extension)
    {
        std::FILE* file = std::fopen(m_path.c_str(), "wb");
        if (file != nullptr)
        {
            const bool written = std::fwrite(data, 1, size, file) == size;
            m_bWritten = std::fclose(file) == 0 && written;
        }
    }
    FuzzInputFile(const FuzzInputFile&) = delete;
    FuzzInputFile& operator=(const FuzzInputFile&) = delete;
    ~FuzzInputFile() { std::remove(m_path.c_str()); }

    bool IsWritten() const { return m_bWritten; }
    const char* GetPath() const { return m_path.c_str(); }

private:
    std::string m_path;
    bool m_bWritten = false;
};
