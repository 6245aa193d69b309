#include "AtomNames.h"

#include <map>
#include <strings.h>
#include <vector>

namespace
{
constexpr UINT kFirstAtom = 0xC000;
constexpr UINT kLastAtom = 0xFFFF;

struct NoCase
{
    bool operator()(const std::string& a, const std::string& b) const
    {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    }
};

struct AtomTable
{
    std::map<std::string, UINT, NoCase> numbers;
    std::vector<std::string> names; // index = number - kFirstAtom
};

AtomTable& Table()
{
    static AtomTable table;
    return table;
}
} // namespace

UINT RegisterAtomName(LPCSTR lpszName)
{
    if (lpszName == nullptr || lpszName[0] == '\0')
        return 0;
    AtomTable& table = Table();
    if (const auto it = table.numbers.find(lpszName); it != table.numbers.end())
        return it->second;
    const UINT nAtom = kFirstAtom + static_cast<UINT>(table.names.size());
    if (nAtom > kLastAtom)
        return 0;
    table.numbers.emplace(lpszName, nAtom);
    table.names.emplace_back(lpszName);
    return nAtom;
}

const std::string* FindAtomName(UINT nAtom)
{
    const AtomTable& table = Table();
    if (nAtom < kFirstAtom || nAtom - kFirstAtom >= table.names.size())
        return nullptr;
    return &table.names[nAtom - kFirstAtom];
}
