#include "CdRomDrive.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace
{
// The table writes a space, tab, newline or backslash in a path as a
// backslash and three octal digits.
std::string Unescape(const std::string& field)
{
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i)
    {
        if (field[i] == '\\' && i + 3 < field.size())
        {
            const std::string digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string::npos)
            {
                text += static_cast<char>(std::strtol(digits.c_str(), nullptr, 8));
                i += 3;
                continue;
            }
        }
        text += field[i];
    }
    return text;
}
} // namespace

std::string FindFirstCdRomDrive(const char* pszMountTable)
{
    std::ifstream table(pszMountTable != nullptr ? pszMountTable : "");
    std::string line;
    while (std::getline(table, line))
    {
        std::istringstream fields(line);
        std::string device;
        std::string mountPoint;
        std::string type;
        if (fields >> device >> mountPoint >> type && (type == "iso9660" || type == "udf"))
            return Unescape(mountPoint);
    }
    const char* pszHome = std::getenv("HOME");
    return pszHome != nullptr ? std::string(pszHome) : std::string();
}
