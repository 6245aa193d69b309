#include "DataDictionary.h"

#include "DictionaryTables.h"
#include "VeltaroLog.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

// The look-up cache's source table holds no records: every look-up goes to
// the main table.
const DictionaryItem CacheDictionaryTable[] = {
    {0, 0, 0, nullptr, nullptr, nullptr, 0},
};

namespace
{

constexpr std::uint16_t OverlayGroup = 0x6000;
constexpr std::uint16_t OverlayPrivateGroup = 0x6001;
constexpr std::uint16_t OverlayGroupEnd = 0x60FF;
constexpr std::uint16_t EndOfOverlayElement = 0xFFFF;
constexpr std::uint16_t TypeCodeUL = 0x554C;
// "Group%04xGroupLength" and "Group %04x Group Length" with their NULs.
constexpr std::size_t GroupLengthKeywordSize = 21;
constexpr std::size_t GroupLengthNameSize = 24;

std::uint16_t GroupOf(const DictionaryItem& item)
{
    return static_cast<std::uint16_t>(item.Tag & 0xFFFF);
}

std::uint16_t ElementOf(const DictionaryItem& item)
{
    return static_cast<std::uint16_t>(item.Tag >> 16);
}

std::uint32_t TableTag(std::uint16_t group, std::uint16_t element)
{
    return static_cast<std::uint32_t>(element) << 16 | group;
}

std::uint32_t KeyOf(const DictionaryItem& item)
{
    return DataDictionary::MakeKey(GroupOf(item), ElementOf(item));
}

// Adds one table's records: group lengths are left out (the build makes
// them afresh), the repeating overlay groups are spread over every group
// they repeat in.
void Collect(const DictionaryItem* table, std::vector<DictionaryItem>& records)
{
    for (const DictionaryItem* item = table; item != nullptr && item->TypeCode != 0; ++item)
    {
        const std::uint16_t group = GroupOf(*item);
        const std::uint16_t element = ElementOf(*item);
        if (element == 0)
        {
            continue;
        }
        if (group != OverlayGroup && group != OverlayPrivateGroup)
        {
            records.push_back(*item);
            continue;
        }
        if (element == EndOfOverlayElement)
        {
            continue;
        }
        for (std::uint32_t repeat = group; repeat < OverlayGroupEnd; repeat += 2)
        {
            DictionaryItem copy = *item;
            copy.Tag = TableTag(static_cast<std::uint16_t>(repeat), element);
            records.push_back(copy);
        }
    }
}

bool KeywordStartsWith(const char* keyword, const char* prefix)
{
    for (; *prefix != '\0'; ++prefix, ++keyword)
    {
        if (std::tolower(static_cast<unsigned char>(*keyword)) !=
            std::tolower(static_cast<unsigned char>(*prefix)))
        {
            return false; // also where the keyword ends first
        }
    }
    return true;
}

} // namespace

DataDictionary::~DataDictionary() = default;

DataDictionary& DataDictionary::GetLibraryDictionary()
{
    static DataDictionary dictionary;
    return dictionary;
}

void DataDictionary::Build()
{
    Build(PublicDictionaryTable, PrivateDictionaryTable);
}

void DataDictionary::Build(const DictionaryItem* publicTable, const DictionaryItem* privateTable)
{
    _info("Building the DICOM Data Dictionary, please wait");
    Detach();
    std::vector<DictionaryItem> records;
    Collect(publicTable, records);
    Collect(privateTable, records);
    AddGroupLengths(records);
    m_items = std::move(records);
    SortByKey(m_keys, m_items);
}

void DataDictionary::BuildCache()
{
    BuildCache(CacheDictionaryTable);
}

void DataDictionary::BuildCache(const DictionaryItem* cacheTable)
{
    _info("Building the DICOM Data Dictionary Cache, please wait");
    std::vector<DictionaryItem> records;
    for (const DictionaryItem* item = cacheTable; item != nullptr && item->TypeCode != 0; ++item)
    {
        records.push_back(*item);
    }
    m_cacheItems = std::move(records);
    SortByKey(m_cacheKeys, m_cacheItems);
}

// One group-length record (gggg,0000) UL for every group present, in the
// order the groups first occur.
void DataDictionary::AddGroupLengths(std::vector<DictionaryItem>& records)
{
    std::vector<bool> seen(0x10000, false);
    std::vector<std::uint16_t> groups;
    for (const DictionaryItem& item : records)
    {
        const std::uint16_t group = GroupOf(item);
        if (!seen[group])
        {
            seen[group] = true;
            groups.push_back(group);
        }
    }
    m_groupLengthTexts.assign(groups.size() * (GroupLengthKeywordSize + GroupLengthNameSize), '\0');
    char* text = m_groupLengthTexts.data();
    for (const std::uint16_t group : groups)
    {
        char* keyword = text;
        std::snprintf(keyword, GroupLengthKeywordSize, "Group%04xGroupLength", group);
        char* name = keyword + GroupLengthKeywordSize;
        std::snprintf(name, GroupLengthNameSize, "Group %04x Group Length", group);
        text = name + GroupLengthNameSize;
        records.push_back({TableTag(group, 0), TypeCodeUL, 1, nullptr, keyword, name, 0});
    }
}

// Orders the records by key; records that share a key keep the order in
// which the tables list them, so a look-up answers with the first listed.
void DataDictionary::SortByKey(std::vector<std::uint32_t>& keys, std::vector<DictionaryItem>& items)
{
    std::stable_sort(items.begin(), items.end(),
                     [](const DictionaryItem& a, const DictionaryItem& b)
                     { return KeyOf(a) < KeyOf(b); });
    keys.resize(items.size());
    std::transform(items.begin(), items.end(), keys.begin(), KeyOf);
}

// The first index holding the key, or -1.
int DataDictionary::Search(const std::vector<std::uint32_t>& keys, std::uint32_t key)
{
    const auto found = std::lower_bound(keys.begin(), keys.end(), key);
    return found != keys.end() && *found == key ? static_cast<int>(found - keys.begin()) : -1;
}

const DictionaryItem* DataDictionary::Find(std::uint16_t group, std::uint16_t element)
{
    ++CheckCount;
    const std::uint32_t key = MakeKey(group, element);
    const int cached = Search(m_cacheKeys, key);
    if (cached >= 0)
    {
        ++CacheHittedCount;
        return &m_cacheItems[cached];
    }
    const int index = Search(m_keys, key);
    if (index < 0)
    {
        return nullptr;
    }
    DictionaryItem& item = m_items[index];
    ++item.UsageCount;
    return &item;
}

std::uint16_t DataDictionary::Lookup(std::uint16_t group, std::uint16_t element, char* keyword,
                                     int size)
{
    const bool hasBuffer = keyword != nullptr && size > 0;
    if (hasBuffer)
    {
        keyword[0] = '\0';
    }
    const DictionaryItem* item = Find(group, element);
    if (item == nullptr)
    {
        return 0;
    }
    if (hasBuffer && item->Keyword != nullptr)
    {
        std::strncpy(keyword, item->Keyword, static_cast<std::size_t>(size - 1));
        keyword[size - 1] = '\0';
    }
    return item->TypeCode;
}

std::uint32_t DataDictionary::Lookup(const char* keyword) const
{
    if (keyword == nullptr)
    {
        return 0;
    }
    for (std::size_t index = 0; index < m_items.size(); ++index)
    {
        const char* candidate = m_items[index].Keyword != nullptr ? m_items[index].Keyword : "";
        if (KeywordStartsWith(candidate, keyword))
        {
            return m_keys[index];
        }
    }
    return NotFound;
}

void DataDictionary::Detach()
{
    m_keys.clear();
    m_keys.shrink_to_fit();
    m_items.clear();
    m_items.shrink_to_fit();
    m_cacheKeys.clear();
    m_cacheKeys.shrink_to_fit();
    m_cacheItems.clear();
    m_cacheItems.shrink_to_fit();
    m_groupLengthTexts.clear();
    m_groupLengthTexts.shrink_to_fit();

    _debug("CheckCount : %d, CacheHittedCount : %d", CheckCount, CacheHittedCount);
    const float ratio = CheckCount != 0
                            ? static_cast<float>(CacheHittedCount) / static_cast<float>(CheckCount)
                            : 0.0f;
    if (ratio != 0.0f)
    {
        _debug("Dictionary Cache Hit Ratio = %f", ratio);
    }
    CheckCount = 0;
    CacheHittedCount = 0;
}
