// libFuzzer target of the bitmap-file reader: every input is written to a
// file and read back through ReadDIBFile, which must refuse or accept it
// without touching memory outside what it allocated.
#include "DibApi.h"
#include "WinFile.h"
#include "WinHandle.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace
{
// The file of one input in the temporary folder, removed again however the
// run ends: a fuzzing session runs millions of inputs.
class InputFile
{
public:
    InputFile()
    {
        std::error_code error;
        std::filesystem::path folder = std::filesystem::temp_directory_path(error);
        if (error)
            folder = "/tmp";
        m_path = (folder / ("fuzz-readdib-" + std::to_string(getpid()) + ".bmp")).string();
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile() { std::remove(m_path.c_str()); }

    const std::string& GetPath() const { return m_path; }

private:
    std::string m_path;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const InputFile input;
    std::FILE* file = std::fopen(input.GetPath().c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    HANDLE handle = CreateFileA(input.GetPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    if (HDIB dib = ReadDIBFile(handle))
    {
        // Touch every byte the reader claims to hold.
        const char* block = static_cast<const char*>(GlobalLock(dib));
        volatile char sink = 0;
        for (SIZE_T i = 0; i < GlobalSize(dib); ++i)
            sink = char(sink ^ block[i]);
        GlobalUnlock(dib);
        DestroyDIB(dib);
    }
    CloseHandle(handle);
    return 0;
}
