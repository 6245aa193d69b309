// The library's data dictionary: every element it knows, public and private,
// with its value representation, multiplicity, private creator, keyword and
// name. Built once from the static tables into one table sorted by tag.
#pragma once

#include "VeltaroExport.h"

#include <cstdint>
#include <vector>

// One dictionary record. In the static tables the tag is group | element << 16;
// the VR code holds the first letter in the high byte ("UL" is 0x554C), and
// a VM of 9999 stands for any number.
struct DictionaryItem
{
    std::uint32_t Tag;
    std::uint16_t TypeCode;
    std::uint16_t VM;
    const char* PrivateCreator; // null for public elements
    const char* Keyword;        // "?" where a private element's keyword is unknown
    const char* Name;           // "?" where unknown
    std::uint32_t UsageCount;   // look-ups that found the record in a built table
};

class VELTARO_API DataDictionary
{
public:
    static constexpr std::uint32_t NotFound = 0xFFFFFFFF;
    static constexpr std::uint16_t AnyNumber = 9999;

    DataDictionary() = default;
    ~DataDictionary();
    DataDictionary(const DataDictionary&) = delete;
    DataDictionary& operator=(const DataDictionary&) = delete;

    // The one dictionary of the library, built by its start-up.
    static DataDictionary& GetLibraryDictionary();

    // Builds from the library's public and private tables, or from the given
    // tables (each ended by a record whose VR code is 0).
    void Build();
    void Build(const DictionaryItem* publicTable, const DictionaryItem* privateTable);
    void BuildCache();
    void BuildCache(const DictionaryItem* cacheTable);

    // The VR code of a tag, 0 when unknown; the keyword is copied into the
    // buffer (at most size bytes, emptied first) when one is given.
    std::uint16_t Lookup(std::uint16_t group, std::uint16_t element, char* keyword = nullptr,
                         int size = 0);
    // The record of a tag or null, counted like a look-up by tag.
    const DictionaryItem* Find(std::uint16_t group, std::uint16_t element);
    // The key (group << 16 | element) of the first record, in key order, whose
    // keyword begins with the text, ignoring case; NotFound when none does,
    // 0 for a null text.
    std::uint32_t Lookup(const char* keyword) const;

    // Frees both tables, logs the counters and clears them.
    void Detach();

    bool IsEmpty() const { return m_keys.empty(); }
    int GetCount() const { return static_cast<int>(m_keys.size()); }
    std::uint32_t GetKey(int index) const { return m_keys[index]; }
    const DictionaryItem& GetItem(int index) const { return m_items[index]; }
    bool HasCache() const { return !m_cacheKeys.empty(); }
    int GetCacheCount() const { return static_cast<int>(m_cacheKeys.size()); }
    std::uint32_t GetCacheKey(int index) const { return m_cacheKeys[index]; }
    const DictionaryItem& GetCacheItem(int index) const { return m_cacheItems[index]; }

    std::uint32_t GetCheckCount() const { return CheckCount; }
    std::uint32_t GetCacheHittedCount() const { return CacheHittedCount; }

    static std::uint32_t MakeKey(std::uint16_t group, std::uint16_t element)
    {
        return static_cast<std::uint32_t>(group) << 16 | element;
    }

private:
    static int Search(const std::vector<std::uint32_t>& keys, std::uint32_t key);
    static void SortByKey(std::vector<std::uint32_t>& keys, std::vector<DictionaryItem>& items);
    void AddGroupLengths(std::vector<DictionaryItem>& records);

    std::vector<std::uint32_t> m_keys;
    std::vector<DictionaryItem> m_items;
    std::vector<std::uint32_t> m_cacheKeys;
    std::vector<DictionaryItem> m_cacheItems;
    std::vector<char> m_groupLengthTexts; // keywords and names made by the build
    std::uint32_t CheckCount = 0;
    std::uint32_t CacheHittedCount = 0;
};
