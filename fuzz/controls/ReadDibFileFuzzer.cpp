// libFuzzer target of the bitmap-file reader: every input is written to a
// file and read back through ReadDIBFile, which must refuse or accept it
// without touching memory outside what it allocated.
#include "DibApi.h"
#include "WinFile.h"
#include "WinHandle.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/fuzz-readdib-" + std::to_string(getpid()) + ".bmp";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
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
