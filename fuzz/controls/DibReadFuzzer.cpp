// libFuzzer target of CDib::Read: every input is read from a memory file,
// which the reader must refuse or accept without touching memory outside
// what it allocated.
#include "Dib.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CMemFile file(const_cast<BYTE*>(data), UINT(size));
    CDib dib;
    if (dib.Read(file) == 0)
    {
        // A refused file leaves nothing behind.
        if (dib.IsValid())
            std::abort();
        return 0;
    }
    // Touch every byte the object claims to hold through its saved form.
    CMemFile saved;
    const DWORD written = dib.Save(saved);
    saved.SeekToBegin();
    volatile BYTE sink = 0;
    BYTE byte = 0;
    for (DWORD i = 0; i < written && saved.Read(&byte, 1) == 1; ++i)
        sink = BYTE(sink ^ byte);
    return 0;
}
