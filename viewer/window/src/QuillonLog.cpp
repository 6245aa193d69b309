#include "QuillonLog.h"

#include "FileLog.h"
#include "Lettra.h"
#include "LogEntry.h"

namespace quillon
{

namespace
{

constexpr const char* LogFileName = "Brevant.LOG";
constexpr int SpareLogNames = 9;

} // namespace

bool OpenQuillonLog(const char* path)
{
    return OpenRotatedLog(GetQuillonLog(), path, QuillonLogRotateSize) != 0;
}

bool OpenQuillonLogIn(const char* folder)
{
    const Lettra base(folder != nullptr ? folder : "");
    if (OpenQuillonLog(base + LogFileName))
    {
        return true;
    }
    for (int number = 1; number <= SpareLogNames; ++number)
    {
        Lettra path;
        path.Format("%sBrevant.%d.LOG", static_cast<const char*>(base), number);
        if (OpenQuillonLog(path))
        {
            return true;
        }
    }
    return false;
}

} // namespace quillon
