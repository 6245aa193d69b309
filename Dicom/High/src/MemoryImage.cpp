#include "MemoryImage.h"

#include "OutBuffer.h"
#include "VeltaroLog.h"

int CopyOutMemoryImage(MemOutBuffer& stream, unsigned char* buffer, int size, const char* owner)
{
    const int needed = static_cast<int>(stream.GetTotal());
    if (needed > size)
    {
        _fatal("Enter %s::Serialize, your buffer (%d Bytes) is too small (need %d bytes)", owner,
               size, needed);
        return needed;
    }
    stream.CopyOut(buffer);
    return needed;
}
