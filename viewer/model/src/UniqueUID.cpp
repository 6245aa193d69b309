#include "UniqueUID.h"

#include "UID.h"
#include "WinFile.h"
#include "WinInterlocked.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace quillon
{
namespace
{

constexpr std::size_t MaxLength = 62;
constexpr std::size_t CutLength = 60;

LONG volatile s_nCounter = 0;
char s_szUID[MaxLength + 64];

std::string Join(const std::string& root, const char* suffix)
{
    const std::size_t dot = root.rfind('.');
    const bool endsInZero = (dot == std::string::npos ? root : root.substr(dot + 1)) == "0";
    return root + (endsInZero ? "." : "") + suffix;
}

} // namespace

const char* GenUniqueUID(const char* root)
{
    const std::string given = root != nullptr ? root : "";
    const LONG counter = InterlockedIncrement(&s_nCounter);
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "%s.%d.%ld", GetUidMachinePart().c_str(),
                  static_cast<int>(counter), static_cast<long>(std::time(nullptr)));
    std::string text = Join(given, suffix);
    // What follows the root is at most 43 characters (19 of the machine
    // part, the counter and the time with their dots), so a cut root
    // always keeps some of its characters.
    if (text.size() > MaxLength)
    {
        text = Join(given.substr(0, CutLength - std::strlen(suffix)), suffix);
    }
    if (!text.empty() && text[0] == '.')
    {
        text[0] = '1';
    }
    std::snprintf(s_szUID, sizeof s_szUID, "%s", text.c_str());
    return s_szUID;
}

} // namespace quillon

void MakeTempDicomFileName(Lettra& out)
{
    char folder[MAX_PATH] = {};
    const DWORD length = GetTempPathA(sizeof folder, folder);
    out = length > 0 && length < sizeof folder ? folder : "/tmp/";
    out += quillon::GenUniqueUID(UidGeneratedRoot);
    out += ".dcm";
}
