#include "CodecEntryCall.h"

#include "VeltaroLog.h"

#include <cstdint>

namespace
{
// The structured-exception code a C++ exception travels under; the filter
// has no name for it and logs only that it was entered.
constexpr unsigned long CppExceptionCode = 0xE06D7363;
} // namespace

bool DoGuardedCall(enCodecGuard guard, const char* routineName, const std::function<bool()>& call)
{
    try
    {
        return call();
    }
    catch (...)
    {
        if (guard == enCodecGuard::Checked)
        {
            ExceptionFilter(CppExceptionCode);
            _fatal("Error of exception at %s", routineName);
        }
        return false;
    }
}

bool AppendReturned(const unsigned char* pReturned, std::int64_t length, const CodecSink& sink)
{
    if (pReturned == nullptr || length < 0 || length > UINT32_MAX)
    {
        return false;
    }
    sink(pReturned, static_cast<std::uint32_t>(length));
    return true;
}

std::int64_t GetDecodedLength(int rows, int columns, int bytesPerPixel)
{
    if (rows < 0 || columns < 0)
    {
        return -1;
    }
    return static_cast<std::int64_t>(rows) * columns * bytesPerPixel;
}

bool HasRawPixels(const char* routineName, CodecInput raw, int rows, int columns,
                  enCodecLayout layout)
{
    const std::int64_t needed = GetDecodedLength(rows, columns, GetCodecLayoutBytes(layout));
    if (needed >= 0 && static_cast<std::uint64_t>(needed) <= raw.size())
    {
        return true;
    }
    _warning("Enter %s, %u bytes of raw pixels do not hold %d rows of %d columns", routineName,
             static_cast<unsigned>(raw.size()), rows, columns);
    return false;
}
