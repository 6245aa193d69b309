#include "DictionaryWriter.h"

#include "DICOMFile.h"
#include "DMarkup.h"
#include "DataDictionary.h"
#include "FileBuffer.h"
#include "UID.h"
#include "VR.h"
#include "VeltaroLog.h"
#include "WinFile.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace
{

// The fixed fields of the binary dictionary file's header.
constexpr char BinaryMagic[] = "#!|~@$BinDictionary\r\n";
constexpr char BinarySignature[] = "#!|~@$ByTAVUQELM\r\n";
constexpr char DictionaryVersion[] = "2.53";
constexpr char DictionaryBuilt[] = __DATE__ " " __TIME__;
constexpr char DictionaryChangeLog[] =
    "2.50  Public elements of the standard's data dictionary\r\n"
    "2.51  Private elements of the vendors' dictionaries\r\n"
    "2.52  Group lengths made for every group; repeating overlay groups spread\r\n"
    "2.53  Private elements of the TAVUQELM creator\r\n";
constexpr std::uint32_t MagicFieldSize = 32;
constexpr std::uint32_t VersionFieldSize = 16;
constexpr std::uint32_t BuiltFieldSize = 32;
constexpr std::uint32_t ChangeLogFieldSize = 65536;
constexpr int DenyBoth = 0x10;

constexpr std::uint16_t AnyNumber = DataDictionary::AnyNumber;

// The overlay and curve groups repeat; the definitions and C# files keep only
// the first of them, the XML file none of the odd ones.
constexpr std::uint16_t DefinitionsSkipFirst = 0x6001;
constexpr std::uint16_t DefinitionsSkipLast = 0x7EFF;
constexpr std::uint16_t XmlSkipFirst = 0x6001;
constexpr std::uint16_t XmlSkipLast = 0x6FFE;

// Items and delimiters: tags of the coding, not elements of a data set.
constexpr std::uint16_t ItemGroup = 0xFFFE;

constexpr char TextSeparator[] = "\n\n----------------------------------------------------\n";
constexpr char XmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

std::uint16_t GroupOfKey(std::uint32_t key)
{
    return static_cast<std::uint16_t>(key >> 16);
}

std::uint16_t ElementOfKey(std::uint32_t key)
{
    return static_cast<std::uint16_t>(key & 0xFFFF);
}

bool IsPublicGroup(std::uint16_t group)
{
    return (group & 1) == 0;
}

char FirstLetter(std::uint16_t typeCode)
{
    return static_cast<char>(typeCode >> 8);
}

char SecondLetter(std::uint16_t typeCode)
{
    return static_cast<char>(typeCode & 0xFF);
}

std::size_t LengthOf(const char* text)
{
    return text != nullptr ? std::strlen(text) : 0;
}

// The name without its leading and trailing blanks.
std::string_view Trimmed(const char* name)
{
    std::string_view text(name);
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
    {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// One record of a table with the key it is sorted by.
struct Record
{
    std::uint32_t Key;
    const DictionaryItem* Entry;

    const DictionaryItem& Item() const { return *Entry; }

    std::uint16_t Group() const { return GroupOfKey(Key); }
    std::uint16_t Element() const { return ElementOfKey(Key); }
};

// A null path is refused with a log line.
bool HasPath(const char* path)
{
    if (path == nullptr)
    {
        _error("No file name given for the dictionary file");
    }
    return path != nullptr;
}

std::vector<Record> MainRecords(const DataDictionary& dictionary)
{
    std::vector<Record> records;
    records.reserve(static_cast<std::size_t>(dictionary.GetCount()));
    for (int index = 0; index < dictionary.GetCount(); ++index)
    {
        records.push_back({dictionary.GetKey(index), &dictionary.GetItem(index)});
    }
    return records;
}

std::vector<Record> CacheRecords(const DataDictionary& dictionary)
{
    std::vector<Record> records;
    for (int index = 0; index < dictionary.GetCacheCount(); ++index)
    {
        records.push_back({dictionary.GetCacheKey(index), &dictionary.GetCacheItem(index)});
    }
    return records;
}

template <typename Keep> std::vector<Record> Filtered(std::vector<Record> records, Keep keep)
{
    std::erase_if(records, [&](const Record& record) { return !keep(record); });
    return records;
}

// The public records of the groups the definitions and C# files cover.
std::vector<Record> DefinitionRecords(const DataDictionary& dictionary)
{
    return Filtered(MainRecords(dictionary),
                    [](const Record& record)
                    {
                        return IsPublicGroup(record.Group()) &&
                               (record.Group() < DefinitionsSkipFirst ||
                                record.Group() > DefinitionsSkipLast);
                    });
}

// Follows the groups of records walked in key order.
class GroupWalk
{
public:
    enum enStep
    {
        enSameGroup,
        enFirstGroup,
        enNextGroup,
    };

    GroupWalk() = default;
    // A walk that counts as being in the group already.
    explicit GroupWalk(std::uint16_t group) : m_started(true), m_group(group) {}

    enStep Step(std::uint16_t group)
    {
        const enStep step = !m_started         ? enFirstGroup
                            : group != m_group ? enNextGroup
                                               : enSameGroup;
        m_started = true;
        m_group = group;
        return step;
    }

private:
    bool m_started = false;
    std::uint16_t m_group = 0;
};

// The longest private creator, keyword and untrimmed name of a table.
struct Widths
{
    std::size_t Creator = 0;
    std::size_t Keyword = 0;
    std::size_t Name = 0;
};

Widths MeasureWidths(const std::vector<Record>& records)
{
    Widths widths;
    for (const Record& record : records)
    {
        widths.Creator = std::max(widths.Creator, LengthOf(record.Item().PrivateCreator));
        widths.Keyword = std::max(widths.Keyword, LengthOf(record.Item().Keyword));
        widths.Name = std::max(widths.Name, LengthOf(record.Item().Name));
    }
    return widths;
}

// ---------------------------------------------------------------------------
// Text files

// A file opened in text mode; texts of the dictionary go out as they stand,
// never as formats.
class TextFile
{
public:
    bool Open(const char* path)
    {
        if (!HasPath(path))
        {
            return false;
        }
        m_file.reset(std::fopen(path, "wt"));
        if (!m_file)
        {
            _error("Cannot open the dictionary file %s for writing", path);
        }
        return m_file != nullptr;
    }

    __attribute__((format(printf, 2, 3))) void Print(const char* format, ...)
    {
        va_list arguments;
        va_start(arguments, format);
        std::vfprintf(m_file.get(), format, arguments);
        va_end(arguments);
    }

    void Put(std::string_view text) { std::fwrite(text.data(), 1, text.size(), m_file.get()); }

    void Blanks(std::size_t count)
    {
        for (; count > 0; --count)
        {
            std::fputc(' ', m_file.get());
        }
    }

    // Closes the file; true when every write reached it.
    bool Close()
    {
        const bool written = std::ferror(m_file.get()) == 0;
        return std::fclose(m_file.release()) == 0 && written;
    }

private:
    struct Closer
    {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> m_file;
};

// A text in double quotes, then blanks up to width + 2 characters.
void PutQuoted(TextFile& file, std::string_view text, std::size_t width)
{
    file.Put("\"");
    file.Put(text);
    file.Put("\"");
    file.Blanks(width > text.size() ? width - text.size() : 0);
}

void PutQuotedOrNull(TextFile& file, const char* text, std::size_t width)
{
    if (text != nullptr)
    {
        PutQuoted(file, text, width);
    }
    else
    {
        file.Put("NULL");
    }
}

// Creator, keyword and name of a C table line, and the line's end.
void PutTableTexts(TextFile& file, const DictionaryItem& item, const Widths& widths)
{
    PutQuotedOrNull(file, item.PrivateCreator, widths.Creator);
    file.Put(", ");
    PutQuotedOrNull(file, item.Keyword, widths.Keyword);
    file.Put(", ");
    if (item.Name != nullptr)
    {
        PutQuoted(file, Trimmed(item.Name), widths.Name);
    }
    else
    {
        PutQuotedOrNull(file, item.Keyword, widths.Name);
    }
    file.Put(" }, \n");
}

void PutTableLine(TextFile& file, const Record& record, const Widths& widths)
{
    const DictionaryItem& item = record.Item();
    if (item.VM == AnyNumber)
    {
        file.Print("\t{ 0x%04x, 0x%04x, '%c%c', %s, ", record.Group(), record.Element(),
                   FirstLetter(item.TypeCode), SecondLetter(item.TypeCode), "MAX_VM");
    }
    else
    {
        file.Print("\t{ 0x%04x, 0x%04x, '%c%c', %6d, ", record.Group(), record.Element(),
                   FirstLetter(item.TypeCode), SecondLetter(item.TypeCode), item.VM);
    }
    PutTableTexts(file, item, widths);
}

// Table lines with a line break before the first line of every new group.
void PutTableLines(TextFile& file, const std::vector<Record>& records, const Widths& widths,
                   GroupWalk& groups)
{
    for (const Record& record : records)
    {
        if (groups.Step(record.Group()) != GroupWalk::enSameGroup)
        {
            file.Put("\n");
        }
        PutTableLine(file, record, widths);
    }
}

void PutAccessFrequencies(TextFile& file, const std::vector<Record>& records, const Widths& widths)
{
    for (const Record& record : records)
    {
        const DictionaryItem& item = record.Item();
        file.Print("\t{ 0x%04x, 0x%04x, '%c%c', %5d, %6d, ", record.Group(), record.Element(),
                   FirstLetter(item.TypeCode), SecondLetter(item.TypeCode), item.VM,
                   item.UsageCount);
        PutTableTexts(file, item, widths);
    }
}

const char* KeywordOf(const DictionaryItem& item)
{
    return item.Keyword != nullptr ? item.Keyword : "";
}

// Blank padding that brings a keyword to the longest one's length.
int PaddingOf(const DictionaryItem& item, const Widths& widths)
{
    return static_cast<int>(widths.Keyword - std::strlen(KeywordOf(item)));
}

// One pass of the C# file: each group is a region, each record one line made
// by putLine.
template <typename PutLine>
void PutRegions(TextFile& file, const std::vector<Record>& records, const char* openRegion,
                PutLine putLine)
{
    GroupWalk groups;
    for (const Record& record : records)
    {
        const GroupWalk::enStep step = groups.Step(record.Group());
        if (step == GroupWalk::enNextGroup)
        {
            file.Put("\n\n\t\t\t#endregion\n");
        }
        if (step != GroupWalk::enSameGroup)
        {
            file.Print(openRegion, record.Group());
        }
        putLine(record);
    }
    file.Put("\n\n\t\t\t#endregion");
}

// One enum of the C# file, valued by the number value gives.
template <typename Value>
void PutEnum(TextFile& file, const std::vector<Record>& records, const Widths& widths,
             const char* opening, const char* valueFormat, Value value)
{
    file.Put(opening);
    PutRegions(file, records, "\n\t\t\t#region Group: %04x\n",
               [&](const Record& record)
               {
                   file.Print("\n\t\t\t%s %-*s = ", KeywordOf(record.Item()),
                              PaddingOf(record.Item(), widths), "");
                   file.Print(valueFormat, value(record));
                   file.Put("  ,");
               });
    file.Put("\n\n\t\t};\n");
}

// ---------------------------------------------------------------------------
// Binary file

void PutField(OutBuffer& out, const char* text, std::uint32_t size)
{
    std::vector<char> field(size, '\0');
    std::memcpy(field.data(), text, std::min<std::size_t>(std::strlen(text), size));
    out.Write(field.data(), size);
}

void PutCountedText(OutBuffer& out, const char* text)
{
    if (text == nullptr)
    {
        out.Put4(0);
        return;
    }
    const auto count = static_cast<std::uint32_t>(std::strlen(text) + 1);
    out.Put4(count);
    out.Write(text, count);
}

void PutEntry(OutBuffer& out, const Record& record)
{
    const DictionaryItem& item = record.Item();
    out.Put4(record.Key).Put4(item.UsageCount);
    out.Put2(record.Group()).Put2(record.Element()).Put2(item.TypeCode).Put2(item.VM);
    PutCountedText(out, item.PrivateCreator);
    PutCountedText(out, item.Keyword);
    PutCountedText(out, item.Name != nullptr ? std::string(Trimmed(item.Name)).c_str() : nullptr);
}

// An entry that cannot be written is logged and left out; the rest go on.
void PutEntries(OutBuffer& out, const std::vector<Record>& records)
{
    out.Put4(static_cast<std::uint32_t>(records.size()));
    for (const Record& record : records)
    {
        try
        {
            PutEntry(out, record);
        }
        catch (...)
        {
            _fatal("Except ad DictionaryItem::Serialize");
        }
    }
}

// A file left read-only refuses the first open; it is made writable and
// tried once more.
bool OpenBinary(OFB& file, const char* path)
{
    if (!HasPath(path))
    {
        return false;
    }
    if (file.OpenForWrite(path, DenyBoth) != 0)
    {
        return true;
    }
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    return file.OpenForWrite(path, DenyBoth) != 0;
}

// ---------------------------------------------------------------------------
// XML document

std::string HexText(std::uint16_t value)
{
    char text[8];
    std::snprintf(text, sizeof(text), "%04x", value);
    return text;
}

void PutXmlItem(DMarkup& xml, const Record& record)
{
    const DictionaryItem& item = record.Item();
    const char typeCode[] = {FirstLetter(item.TypeCode), SecondLetter(item.TypeCode), '\0'};
    xml.AddElem("Item");
    xml.SetAttrib("Group", HexText(record.Group()).c_str());
    xml.SetAttrib("Element", HexText(record.Element()).c_str());
    xml.SetAttrib("VR", typeCode);
    if (item.PrivateCreator != nullptr)
    {
        xml.SetAttrib("Owner", item.PrivateCreator);
    }
    if (item.Keyword != nullptr)
    {
        xml.SetAttrib("Tag", item.Keyword);
    }
    if (item.Name != nullptr)
    {
        xml.SetAttrib("Description", std::string(Trimmed(item.Name)).c_str());
    }
}

// One section: a "Group" element per group holding an "Item" per record.
void PutXmlSection(DMarkup& xml, const char* path, const std::vector<Record>& records)
{
    xml.CreatePath(path);
    GroupWalk groups;
    for (const Record& record : records)
    {
        const GroupWalk::enStep step = groups.Step(record.Group());
        if (step == GroupWalk::enNextGroup)
        {
            xml.OutOfElem();
        }
        if (step != GroupWalk::enSameGroup)
        {
            xml.AddElem("Group", ("Group " + HexText(record.Group())).c_str());
            xml.IntoElem();
        }
        PutXmlItem(xml, record);
    }
}

} // namespace

bool DictionaryWriter::WriteBinary(const char* path) const
{
    OFB file;
    if (!OpenBinary(file, path))
    {
        return false;
    }
    PutField(file, BinaryMagic, MagicFieldSize);
    PutField(file, DictionaryVersion, VersionFieldSize);
    PutField(file, DictionaryBuilt, BuiltFieldSize);
    PutField(file, DictionaryChangeLog, ChangeLogFieldSize);
    PutField(file, BinarySignature, MagicFieldSize);
    PutEntries(file, MainRecords(m_dictionary));
    if (m_dictionary.HasCache())
    {
        PutEntries(file, CacheRecords(m_dictionary));
    }
    const bool written = file.Flush() != 0;
    file.Close();
    return written;
}

bool DictionaryWriter::WriteText(const char* path) const
{
    TextFile file;
    if (!file.Open(path))
    {
        return false;
    }
    const std::vector<Record> records = MainRecords(m_dictionary);
    const Widths widths = MeasureWidths(records);
    // The group remembered between lines starts at 0000, so group 0000
    // gets no line break of its own.
    GroupWalk groups(0);
    PutTableLines(
        file, Filtered(records, [](const Record& record) { return IsPublicGroup(record.Group()); }),
        widths, groups);
    file.Put(TextSeparator);
    file.Put("Private Tag:\n");
    PutTableLines(
        file,
        Filtered(records, [](const Record& record) { return !IsPublicGroup(record.Group()); }),
        widths, groups);
    if (m_dictionary.HasCache())
    {
        const std::vector<Record> cache = CacheRecords(m_dictionary);
        file.Put(TextSeparator);
        file.Put("The recently used type is:\n");
        PutTableLines(file, cache, widths, groups);
        file.Put(TextSeparator);
        file.Put("Access frequence:\n");
        PutAccessFrequencies(file, cache, widths);
    }
    return file.Close();
}

bool DictionaryWriter::WriteTagDefineText(const char* path) const
{
    TextFile file;
    if (!file.Open(path))
    {
        return false;
    }
    const Widths widths = MeasureWidths(MainRecords(m_dictionary));
    GroupWalk groups;
    for (const Record& record : DefinitionRecords(m_dictionary))
    {
        if (groups.Step(record.Group()) != GroupWalk::enSameGroup)
        {
            file.Print("\n//\n// Group: 0x%04X", record.Group());
        }
        const char* keyword = KeywordOf(record.Item());
        const std::size_t blanks = widths.Keyword + 11 - std::strlen(keyword);
        file.Print("\n#define  DC3%s_GROUP  ", keyword);
        file.Blanks(blanks);
        file.Print("0x%04X", record.Group());
        file.Print("\n#define  DC3%s_ELEMENT", keyword);
        file.Blanks(blanks);
        file.Print("0x%04X", record.Element());
    }
    return file.Close();
}

bool DictionaryWriter::WriteTagDefineTextCS(const char* path) const
{
    TextFile file;
    if (!file.Open(path))
    {
        return false;
    }
    const Widths widths = MeasureWidths(MainRecords(m_dictionary));
    const std::vector<Record> records = DefinitionRecords(m_dictionary);
    PutRegions(file, records, "\n\n\t\t\t#region Group: %04x\n",
               [&](const Record& record)
               {
                   file.Print("\n\t\t\ttable.Add ( TAGS.%s, %-*s%s%c%c )  ;",
                              KeywordOf(record.Item()), PaddingOf(record.Item(), widths), "",
                              "DICOMVR.TypeCode.", FirstLetter(record.Item().TypeCode),
                              SecondLetter(record.Item().TypeCode));
               });
    PutEnum(file, records, widths,
            "\n\n\n///--------------------------- enum TAGS "
            "---------------------------------------------------\n\n\t\tenum TAGS\n\t\t{\n",
            "0x%08x", [](const Record& record) { return record.Key; });
    PutEnum(file, records, widths,
            "\n\n\n///----------------------------- enum GROUPS "
            "-------------------------------------------------\n\n\t\tenum GROUPS\n\t\t{\n",
            "0x%04x", [](const Record& record) { return unsigned{record.Group()}; });
    PutEnum(file, records, widths,
            "\n\n\n///----------------------------- enum ELEMENTS "
            "-------------------------------------------------\n\n\t\tenum ELEMENTS\n\t\t{",
            "0x%04x", [](const Record& record) { return unsigned{record.Element()}; });
    return file.Close();
}

bool DictionaryWriter::WriteXML(const char* path) const
{
    if (!HasPath(path))
    {
        return false;
    }
    const auto covered = [](std::uint16_t group)
    { return group < XmlSkipFirst || group > XmlSkipLast; };
    const std::vector<Record> records = MainRecords(m_dictionary);
    DMarkup xml(XmlDeclaration);
    PutXmlSection(xml, "/Tavuqelm/DicomDictionary/PublicTag",
                  Filtered(records, [&](const Record& record)
                           { return IsPublicGroup(record.Group()) && covered(record.Group()); }));
    PutXmlSection(xml, "/Tavuqelm/DicomDictionary/PrivateTag",
                  Filtered(records, [&](const Record& record)
                           { return !IsPublicGroup(record.Group()) && covered(record.Group()); }));
    if (m_dictionary.HasCache())
    {
        PutXmlSection(xml, "/Tavuqelm/DicomDictionary/Cache", CacheRecords(m_dictionary));
    }
    if (!xml.Save(path))
    {
        _error("Cannot open the dictionary file %s for writing", path);
        return false;
    }
    return true;
}

bool DictionaryWriter::WriteDicomFile(const char* path) const
{
    if (!HasPath(path))
    {
        return false;
    }
    DICOMFile file;
    FillDicomFile(file);
    return file.WriteFile(path, 1) != 0;
}

void DictionaryWriter::FillDicomFile(DICOMFile& file) const
{
    for (const Record& record : MainRecords(m_dictionary))
    {
        if (record.Group() == ItemGroup)
        {
            continue;
        }
        VR* element = new VR(record.Group(), record.Element());
        element->SetTypeCode(record.Item().TypeCode);
        file.Push(element);
    }
    file.SetTransferSyntax(UidTransferLittleEndianExplicit);
}
