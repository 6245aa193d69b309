#include "DicomDir.h"

#include "BigEndianDecoder.h"
#include "DICOMImageIcon.h"
#include "FileBuffer.h"
#include "FileFinder.h"
#include "FixDecoder.h"
#include "FixEncoder.h"
#include "InBuffer.h"
#include "MetaInfo.h"
#include "OutBuffer.h"
#include "UID.h"
#include "VRCode.h"
#include "VeltaroLog.h"
#include "WinPathName.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
constexpr std::uint16_t DirGroup = 0x0004;
constexpr std::uint16_t PixelGroup = 0x7FE0;
constexpr std::uint16_t PixelElement = 0x0010;
// The Icon Image Sequence of IMAGE records.
constexpr std::uint16_t IconGroup = 0x0088;
constexpr std::uint16_t IconElement = 0x0200;
constexpr std::uint16_t ItemGroup = 0xFFFE;
constexpr std::uint16_t ItemTag = 0xE000;
constexpr std::uint16_t ItemDelimiter = 0xE00D;
constexpr std::uint16_t SequenceDelimiter = 0xE0DD;
constexpr std::uint32_t UndefinedLength = 0xFFFFFFFF;
constexpr int ReadShare = 0x40;
constexpr const char* ExplicitLittle = "1.2.840.10008.1.2.1";
constexpr const char* DirectoryStorage = "1.2.840.10008.1.3.10";
constexpr std::size_t MaxFileIDComponent = 8;
constexpr std::size_t MaxFileIDComponents = 8;

enum enLevel
{
    enPatient,
    enStudy,
    enSeries,
    enImage
};

struct Tag
{
    std::uint16_t group;
    std::uint16_t element;
};

struct LevelRecipe
{
    const char* type;
    Tag key;
    std::vector<Tag> copied;
};

const LevelRecipe& GetRecipe(int level)
{
    static const LevelRecipe recipes[] = {
        {"PATIENT",
         {0x0010, 0x0020},
         {{0x0008, 0x0005},
          {0x0010, 0x0020},
          {0x0010, 0x0010},
          {0x0010, 0x0040},
          {0x0010, 0x0030}}},
        {"STUDY",
         {0x0020, 0x000D},
         {{0x0008, 0x0005},
          {0x0020, 0x000D},
          {0x0020, 0x0010},
          {0x0008, 0x0020},
          {0x0008, 0x0030},
          {0x0008, 0x0050},
          {0x0008, 0x1030},
          {0x0020, 0x1070}}},
        {"SERIES",
         {0x0020, 0x000E},
         {{0x0008, 0x0005},
          {0x0020, 0x000E},
          {0x0020, 0x0011},
          {0x0008, 0x0021},
          {0x0008, 0x0031},
          {0x0008, 0x103E},
          {0x0008, 0x0060},
          {0x0018, 0x0015},
          {0x0008, 0x1070},
          {0x0008, 0x1010},
          {0x0018, 0x700A},
          {0x0008, 0x0080}}},
        {"IMAGE",
         {0x0008, 0x0018},
         {{0x0008, 0x0005},
          {0x0020, 0x0013},
          {0x0008, 0x0008},
          {0x0008, 0x0023},
          {0x0008, 0x0033},
          {0x0028, 0x0010},
          {0x0028, 0x0011},
          {0x0020, 0x4000},
          {0x0028, 0x0004}}},
    };
    return recipes[level];
}

struct DefaultValue
{
    int level;
    Tag tag;
    const char* value;
};

const DefaultValue DefaultValues[] = {
    {enPatient, {0x0010, 0x0020}, "PID.ABCD"},
    {enStudy, {0x0008, 0x0020}, "20000101"},
    {enStudy, {0x0008, 0x0030}, "090000"},
    {enStudy, {0x0020, 0x0010}, "0000"},
    {enStudy, {0x0020, 0x000D}, "1.2.840.5343.236.454.232.545454"},
    {enSeries, {0x0008, 0x0060}, "OT"},
    {enSeries, {0x0020, 0x000E}, "1.2.840.5343.236.454.232.545454.754"},
    {enSeries, {0x0020, 0x0011}, "0001"},
    {enImage, {0x0020, 0x0013}, "0002"},
};

// Elements a record of the level holds even without a value: the file's
// own when it has one, else an empty one.
const DefaultValue EmptyValues[] = {
    {enPatient, {0x0010, 0x0010}, ""},
    {enStudy, {0x0008, 0x0050}, ""},
    {enStudy, {0x0008, 0x1030}, ""},
};

std::uint16_t Swap16(std::uint16_t value)
{
    return static_cast<std::uint16_t>(value >> 8 | value << 8);
}

std::uint32_t Swap32(std::uint32_t value)
{
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

Lettra WithSeparator(const char* folder)
{
    Lettra path(folder != nullptr && folder[0] != '\0' ? folder : ".");
    const char last = path[path.GetLength() - 1];
    if (last != '\\' && last != '/')
    {
        path += '\\';
    }
    return path;
}

// The absolute form of a path with '/' separators, empty when it has none.
std::string GetAbsolute(const char* path)
{
    char absolute[_MAX_PATH] = {};
    return _fullpath(absolute, path, sizeof absolute) != nullptr ? std::string(absolute)
                                                                 : std::string();
}

bool IsFileIDCharacter(char ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_';
}
} // namespace

// ---------------------------------------------------------------- Iterator

DicomDir::Iterator::Iterator(DicomDir& dir)
{
    Start(&dir);
}

DicomDir::Iterator::Iterator(Iterator& parent)
{
    Start(parent.m_current);
}

DicomDir::Iterator::Iterator(const Iterator& other)
{
    *this = other;
}

DicomDir::Iterator& DicomDir::Iterator::operator=(const Iterator& other)
{
    if (this != &other)
    {
        delete m_cursor;
        m_cursor =
            other.m_cursor != nullptr ? new Array<DICOMVRSet*>::Iterator(*other.m_cursor) : nullptr;
        m_current = other.m_current;
    }
    return *this;
}

DicomDir::Iterator::~Iterator()
{
    delete m_cursor;
}

void DicomDir::Iterator::Start(DICOMVRSet* record)
{
    Array<DICOMVRSet*>* children = record != nullptr ? GetChildren(*record) : nullptr;
    if (children == nullptr)
    {
        return;
    }
    m_cursor = new Array<DICOMVRSet*>::Iterator(children);
    m_current = m_cursor->GetItem();
}

void DicomDir::Iterator::Next()
{
    if (m_cursor != nullptr && m_current != nullptr)
    {
        m_cursor->Next();
        m_current = m_cursor->GetItem();
    }
}

DicomDir::Iterator& DicomDir::Iterator::operator++()
{
    Next();
    return *this;
}

DicomDir::Iterator DicomDir::Iterator::operator++(int)
{
    // A copy, not the children: the parent constructor takes a plain reference.
    Iterator before(static_cast<const Iterator&>(*this));
    Next();
    return before;
}

// ---------------------------------------------------------------- DicomDir

DicomDir::DicomDir() = default;

DicomDir::DicomDir(const DicomDir& other)
    : DICOMFile(other), m_icons(other.m_icons), m_path(other.m_path)
{
}

DicomDir& DicomDir::operator=(DicomDir& other)
{
    if (this != &other)
    {
        DICOMFile::operator=(other);
        m_icons = other.m_icons;
        m_path = other.m_path;
    }
    return *this;
}

DicomDir::~DicomDir() = default;

void DicomDir::SetPath(const char* folder)
{
    m_path = WithSeparator(folder);
}

Array<DICOMVRSet*>* DicomDir::GetChildren(const DICOMVRSet& record)
{
    const VR* children = record.GetVR(ChildGroup, ChildElement);
    return children != nullptr ? children->GetSQArray() : nullptr;
}

Lettra DicomDir::GetReferencedFilePath(const DICOMVRSet& record) const
{
    const Lettra fileID = record.GetLettra(DirGroup, 0x1500);
    if (fileID.IsEmpty())
    {
        return fileID;
    }
    // The platform resolves each component without regard to case, so the
    // upper-case IDs find the files whatever case they were stored in.
    return m_path + fileID;
}

Lettra DicomDir::MakeFileID(const char* folder, const char* path)
{
    std::string base = GetAbsolute(WithSeparator(folder));
    const std::string file = GetAbsolute(path);
    if (base.empty() || file.empty())
    {
        return Lettra();
    }
    if (base.back() != '/')
    {
        base += '/';
    }
    if (file.size() <= base.size() || file.compare(0, base.size(), base) != 0)
    {
        return Lettra();
    }
    // The absolute forms separate by '/' only.
    std::string fileID = file.substr(base.size());
    std::replace(fileID.begin(), fileID.end(), '/', '\\');
    return Lettra(fileID.c_str());
}

bool DicomDir::IsConformingFileID(const char* fileID)
{
    if (fileID == nullptr)
    {
        return false;
    }
    std::size_t components = 1;
    std::size_t length = 0;
    for (const char* ch = fileID;; ++ch)
    {
        if (*ch == '\\' || *ch == '\0')
        {
            if (length == 0 || components > MaxFileIDComponents)
            {
                return false;
            }
            if (*ch == '\0')
            {
                return true;
            }
            ++components;
            length = 0;
        }
        else if (!IsFileIDCharacter(*ch) || ++length > MaxFileIDComponent)
        {
            return false;
        }
    }
}

// ---------------------------------------------------------------- reading

int DicomDir::ReadDicomDir(const char* path)
{
    Reset();
    const int stopOffset = ReadFileTillTag(path, 0x00041220);
    if (stopOffset == 0)
    {
        _error("Enter DicomDir::ReadDicomDir, invoke ReadFileTillTag failed !");
        return 0;
    }
    Delete(StopOffsetGroup, StopOffsetElement);
    char folder[_MAX_DIR] = {};
    char drive[_MAX_DRIVE] = {};
    _splitpath(GetFileName(), drive, folder, nullptr, nullptr);
    SetPath(folder[0] != '\0' ? (Lettra(drive) + folder) : Lettra("."));
    m_loaded.clear();
    const unsigned int offset = GetUINT32(DirGroup, 0x1200);
    // A file set without records says so by a zero offset and an empty
    // record sequence; that is an empty directory, not a broken one.
    if (offset == 0 && IsEmptyRecordSequence(static_cast<unsigned int>(stopOffset)))
    {
        Delete(DirGroup, 0x1220);
        return 1;
    }
    auto* record = new DICOMDataSet();
    if (LoadOneSequence(offset, record) == 0)
    {
        _error("Enter DicomDir::ReadDicomDir, invoke LoadOneSequence of "
               "RootDirectoryFirstRecord failed !");
        delete record;
        return 0;
    }
    Delete(DirGroup, 0x1220);
    Push(ChildGroup, ChildElement, record);
    const int result = LoadSQ(record, this);
    m_loaded.clear();
    return result;
}

int DicomDir::IsEmptyRecordSequence(unsigned int offset)
{
    IFB stream;
    if (!stream.Open(GetFileName(), ReadShare))
    {
        return 0;
    }
    stream.Seek(static_cast<std::int32_t>(offset), SEEK_SET);
    std::uint8_t bytes[20] = {};
    const std::uint32_t count = stream.Read(bytes, sizeof bytes);
    stream.Close();
    const bool big = GetMeta().GetEndianType() == enExplicitBig;
    const bool implicit = GetMeta().GetEndianType() == enImplicitLittle;
    const std::uint32_t lengthAt = implicit ? 4 : 8;
    if (count < lengthAt + 4)
    {
        return 0;
    }
    std::uint32_t length = 0;
    std::memcpy(&length, bytes + lengthAt, 4);
    length = big ? Swap32(length) : length;
    if (length == 0)
    {
        return 1;
    }
    std::uint16_t next[2] = {};
    if (length != UndefinedLength || count < lengthAt + 8)
    {
        return 0;
    }
    std::memcpy(next, bytes + lengthAt + 4, 4);
    const std::uint16_t group = big ? Swap16(next[0]) : next[0];
    const std::uint16_t element = big ? Swap16(next[1]) : next[1];
    return group == ItemGroup && element == SequenceDelimiter ? 1 : 0;
}

int DicomDir::LoadOneSequence(unsigned int offset, DICOMDataSet* record)
{
    _debug("Enter DicomDir::LoadOneSequence, Offset: %d (0x%x)", offset, offset);
    if (record == nullptr)
    {
        return 0;
    }
    // A record met twice means the offsets run in a circle (or two parents
    // share a record); following them would never end.
    if (!m_loaded.insert(offset).second)
    {
        _error("Enter DicomDir::LoadOneSequence, record at offset %u met twice", offset);
        return 0;
    }
    return LoadItem(offset, record);
}

int DicomDir::LoadItem(unsigned int offset, DICOMDataSet* record)
{
    IFB stream;
    if (!stream.Open(GetFileName(), ReadShare))
    {
        _error("Enter DICOMFile::Load, Cannot open file: %s", GetFileName());
        return 0;
    }
    const std::uint32_t size = stream.GetFileSize();
    if (offset < MetaInfo::PrefixSize || offset >= size || size - offset < 8)
    {
        _error("Enter DicomDir::LoadOneSequence, offset %u outside the records of %s", offset,
               GetFileName());
        return 0;
    }
    stream.Seek(static_cast<std::int32_t>(offset), SEEK_SET);
    const int endian = GetMeta().GetEndianType();
    const bool big = endian == enExplicitBig;
    while (true)
    {
        std::uint16_t group = 0;
        std::uint16_t element = 0;
        std::uint32_t length = 0;
        if (!stream.Get2(group) || !stream.Get2(element) || !stream.Get4(length))
        {
            _error("Enter DicomDir::LoadOneSequence, the file ends at offset %u", offset);
            return 0;
        }
        if (big)
        {
            group = Swap16(group);
            element = Swap16(element);
            length = Swap32(length);
        }
        if (group != ItemGroup)
        {
            return 0;
        }
        if (element == ItemDelimiter)
        {
            continue;
        }
        if (element != ItemTag)
        {
            if (element != SequenceDelimiter)
            {
                _error("Invalid VR: (%4.4x, %4.4x)", group, element);
            }
            return 0;
        }
        // Some writers drop elements from a record without mending its item
        // length; the record then ends at the next item tag or at the end of
        // the file, whichever comes first.
        std::unique_ptr<std::uint8_t[]> body;
        std::unique_ptr<InBuffer> memory;
        InBuffer* source = &stream;
        if (length != UndefinedLength)
        {
            const std::uint32_t left = size - stream.Tell() + stream.GetAvailable();
            const std::uint32_t taken = length < left ? length : left;
            body.reset(new std::uint8_t[taken == 0 ? 1 : taken]);
            if (stream.Read(body.get(), taken) != taken)
            {
                return 0;
            }
            memory = std::make_unique<MemInBuffer>(body.get(), taken);
            source = memory.get();
        }
        return DecodeRecord(*source, endian, record);
    }
}

int DicomDir::DecodeRecord(InBuffer& source, int endian, DICOMDataSet* record)
{
    constexpr std::uint32_t BelowItemTags = 0xFFFDFFFF;
    std::uint32_t result = 0;
    if (endian == enExplicitBig)
    {
        BigEndianDecoder decoder(source);
        result = decoder.DecodeTillTag(record, BelowItemTags);
    }
    else
    {
        FixDecoder decoder(source);
        result = decoder.DecodeTillTag(record, BelowItemTags, endian == enImplicitLittle ? 1 : 0);
    }
    if (result == 0xFFFFFFFF || record->IsEmpty())
    {
        _error("Enter DicomDir::LoadOneSequence, the record cannot be decoded");
        return 0;
    }
    return 1;
}

int DicomDir::LoadSQ(DICOMDataSet* record, DICOMDataSet* parent)
{
    LoadChain(record, parent, 0);
    return 1;
}

// The records of one level are followed along their next offsets in a loop
// and only the levels below recurse, so a long level cannot exhaust the
// stack. A record that cannot be loaded (an offset outside the records, a
// record met before, a broken item) ends its chain: the records loaded so
// far stay, and so do the other chains.
void DicomDir::LoadChain(DICOMDataSet* record, DICOMDataSet* parent, int depth)
{
    for (DICOMDataSet* current = record; current != nullptr;)
    {
        const unsigned int lower = current->GetUINT32(DirGroup, 0x1420);
        if (lower != 0)
        {
            LoadLowerLevel(current, lower, depth + 1);
        }
        const unsigned int next = current->GetUINT32(DirGroup, 0x1400);
        current = next != 0 ? LoadLinkedRecord(next, parent) : nullptr;
    }
}

void DicomDir::LoadLowerLevel(DICOMDataSet* record, unsigned int offset, int depth)
{
    if (depth >= MaxDepth)
    {
        _error("Enter DicomDir::LoadSQ, records nest deeper than %d levels, the record at offset "
               "%u and its level are left out",
               MaxDepth, offset);
        return;
    }
    DICOMDataSet* child = LoadLinkedRecord(offset, record);
    if (child != nullptr)
    {
        LoadChain(child, record, depth);
    }
}

DICOMDataSet* DicomDir::LoadLinkedRecord(unsigned int offset, DICOMDataSet* parent)
{
    auto* record = new DICOMDataSet();
    if (LoadOneSequence(offset, record) == 0)
    {
        _warning("Enter DicomDir::LoadSQ, the record at offset %u cannot be loaded, its chain "
                 "ends here",
                 offset);
        delete record;
        return nullptr;
    }
    parent->Push(ChildGroup, ChildElement, record);
    return record;
}

// ---------------------------------------------------------------- building

void DicomDir::WalkFolder(const char* folder, StringList& paths)
{
    const Lettra root = WithSeparator(folder);
    FileFinder finder;
    if (finder.FindFile(root + "*.*") == 0)
    {
        return;
    }
    bool filesTaken = false;
    do
    {
        if (finder.IsDots())
        {
            continue;
        }
        if (finder.IsDirectory())
        {
            WalkFolder(finder.GetFilePath(), paths);
        }
        else if (!filesTaken)
        {
            filesTaken = true;
            FileFinder files;
            for (int more = files.FindFile(root + "*.*"); more != 0; more = files.FindNextFile())
            {
                if (!files.IsDirectory())
                {
                    paths.AddTail(files.GetFilePath());
                }
            }
        }
    } while (finder.FindNextFile() != 0);
}

int DicomDir::CreateDicomDir(const char* folder, const char* fileSetID,
                             const char* descriptorFileID)
{
    _info("Enter DicomDir::CreateDicomDir <%s>", folder != nullptr ? folder : ".");
    SetTransferSyntax(UID(ExplicitLittle));
    StringList found;
    WalkFolder(folder, found);
    _info("Enter DicomDir::AddDirectory, total %d files found in %s", found.GetCount(),
          folder != nullptr ? folder : ".");
    StringList paths;
    for (const auto* node = found.GetHead(); node != nullptr; node = node->next)
    {
        char name[_MAX_FNAME] = {};
        char extension[_MAX_EXT] = {};
        _splitpath(node->item, nullptr, nullptr, name, extension);
        if (Lettra(name).CompareNoCase("DICOMDIR") == 0 && extension[0] == '\0')
        {
            _warning("Enter DicomDir::AddPath, skipping %s", static_cast<const char*>(node->item));
            continue;
        }
        paths.AddTail(node->item);
    }
    if (paths.IsEmpty())
    {
        _warning("Enter DicomDir::AddDirectory, nothing found!");
        return 0;
    }
    SetPath(folder);
    Add(DirGroup, 0x1130, "tavuqelm");
    Add(DirGroup, 0x1212, static_cast<unsigned short>(0));
    int leftOut = 0;
    for (const auto* node = paths.GetHead(); node != nullptr; node = node->next)
    {
        leftOut += AddDicomFile(node->item) == 0 ? 1 : 0;
    }
    const int written = WriteDicomDir(m_path + "DICOMDIR", fileSetID, descriptorFileID);
    if (leftOut != 0)
    {
        _warning("Enter DicomDir::CreateDicomDir, %d of %d files are not in the DICOMDIR", leftOut,
                 paths.GetCount());
        return 0;
    }
    return written;
}

int DicomDir::AddDicomFile(const char* path)
{
    DICOMFile file;
    if (file.ReadFileNoImage(path) == 0)
    {
        _error("Cannot read file: %s", path != nullptr ? path : "");
        return 0;
    }
    const Lettra fileID = MakeFileID(m_path, file.GetFileName());
    if (fileID.IsEmpty())
    {
        _error("Enter DicomDir::AddDicomFile, <%s> cannot be referenced from %s",
               file.GetFileName(), static_cast<const char*>(m_path));
        return 0;
    }
    if (!IsConformingFileID(fileID))
    {
        _warning("Enter DicomDir::AddDicomFile, <%s> is referenced as %s, which is not a "
                 "conforming file ID (at most eight components of up to eight upper-case "
                 "letters, digits or underscores)",
                 file.GetFileName(), static_cast<const char*>(fileID));
    }
    return AddPatient(this, &file);
}

DICOMVRSet* DicomDir::FindChild(DICOMVRSet* parent, std::uint16_t group, std::uint16_t element,
                                const Lettra& key)
{
    Array<DICOMVRSet*>* children = GetChildren(*parent);
    for (auto* node = children != nullptr ? children->GetHead() : nullptr; node != nullptr;
         node = node->next)
    {
        if (node->item->GetLettra(group, element).Compare(key) == 0)
        {
            return node->item;
        }
    }
    return nullptr;
}

DICOMVRSet* DicomDir::AddRecord(DICOMVRSet* parent, DICOMFile* file, int level, bool& made)
{
    const LevelRecipe& recipe = GetRecipe(level);
    const Lettra key = file->GetLettra(recipe.key.group, recipe.key.element);
    DICOMVRSet* found = FindChild(parent, recipe.key.group, recipe.key.element, key);
    made = found == nullptr;
    if (found != nullptr)
    {
        return found;
    }
    auto* record = new DICOMDataSet();
    record->Add(DirGroup, 0x1430, recipe.type);
    for (const Tag& tag : recipe.copied)
    {
        const VR* element = file->GetVR(tag.group, tag.element);
        if (element != nullptr)
        {
            record->Push(new VR(*element));
        }
    }
    parent->Push(ChildGroup, ChildElement, record);
    return record;
}

// A record made for the file goes again when nothing could be added below
// it, so that no record is left without the images it was made for.
int DicomDir::AddBelow(DICOMVRSet* parent, DICOMFile* file, int level)
{
    bool made = false;
    DICOMVRSet* record = AddRecord(parent, file, level, made);
    int added = 0;
    switch (level)
    {
    case enPatient:
        added = AddStudy(record, file);
        break;
    case enStudy:
        added = AddSeries(record, file);
        break;
    default:
        added = AddImage(record, file);
        break;
    }
    if (added == 0 && made)
    {
        GetChildren(*parent)->Remove(record);
        delete record;
    }
    return added;
}

int DicomDir::AddPatient(DICOMVRSet* parent, DICOMFile* file)
{
    return AddBelow(parent, file, enPatient);
}

int DicomDir::AddStudy(DICOMVRSet* parent, DICOMFile* file)
{
    return AddBelow(parent, file, enStudy);
}

int DicomDir::AddSeries(DICOMVRSet* parent, DICOMFile* file)
{
    return AddBelow(parent, file, enSeries);
}

int DicomDir::AddImage(DICOMVRSet* parent, DICOMFile* file)
{
    const Lettra sopInstance = file->GetLettra(0x0008, 0x0018);
    // IMAGE records keep the instance UID as the Referenced SOP Instance UID.
    if (FindChild(parent, DirGroup, 0x1511, sopInstance) != nullptr)
    {
        _error("Enter DicomDir::AddImage, duplicated SOP found at file <%s>", file->GetFileName());
        return 0;
    }
    const Lettra fileID = MakeFileID(m_path, file->GetFileName());
    if (fileID.IsEmpty())
    {
        return 0;
    }
    bool made = false;
    DICOMVRSet* image = AddRecord(parent, file, enImage, made);
    image->Add(DirGroup, 0x1500, fileID);
    image->Add(DirGroup, 0x1510, file->GetLettra(0x0008, 0x0016));
    image->Add(DirGroup, 0x1511, sopInstance);
    UID syntax;
    file->GetTransferSyntax(syntax);
    image->Add(DirGroup, 0x1512, syntax);
    AddIcon(image, file);
    return 1;
}

// The icon of a file read without its pixel data is made again from the
// whole file. A record whose file yields no icon is written without one.
void DicomDir::AddIcon(DICOMVRSet* record, DICOMFile* file)
{
    if (m_icons == 0)
    {
        return;
    }
    auto icon = std::make_unique<DICOMImageIcon>(DICOMImage(*file));
    if (icon->IsExist(PixelGroup, PixelElement) == 0)
    {
        DICOMImage whole;
        if (whole.ReadFile(file->GetFileName()) == 0)
        {
            _warning("Enter DicomDir::AddImage, cannot read the pixels of <%s>",
                     file->GetFileName());
            return;
        }
        icon = std::make_unique<DICOMImageIcon>(whole);
    }
    if (icon->IsExist(PixelGroup, PixelElement) == 0)
    {
        _warning("Enter DicomDir::AddImage, no icon image for <%s>", file->GetFileName());
        return;
    }
    DICOMDataSet item;
    icon->TransferTo(static_cast<DICOMVRSet&>(item));
    record->Add(IconGroup, IconElement, item);
}

// ---------------------------------------------------------------- writing

void DicomDir::AddDefaults(DICOMVRSet* parent, int level)
{
    Array<DICOMVRSet*>* children = GetChildren(*parent);
    for (auto* node = children != nullptr ? children->GetHead() : nullptr; node != nullptr;
         node = node->next)
    {
        for (const DefaultValue& value : DefaultValues)
        {
            if (value.level == level &&
                node->item->GetLettra(value.tag.group, value.tag.element).IsEmpty())
            {
                node->item->Add(value.tag.group, value.tag.element, value.value);
                _error("Cannot find <0x%x, 0x%x> in DICOMDIR, default value added", value.tag.group,
                       value.tag.element);
            }
        }
        for (const DefaultValue& value : EmptyValues)
        {
            if (value.level == level && !node->item->IsExist(value.tag.group, value.tag.element))
            {
                node->item->Add(value.tag.group, value.tag.element, value.value);
            }
        }
        if (level < enImage)
        {
            AddDefaults(node->item, level + 1);
        }
    }
}

std::uint32_t DicomDir::CalcFirstOffset()
{
    std::uint32_t start = GetMeta().GetHeaderSize();
    OFB unused;
    FixEncoder sizer(unused);
    start += sizer.ExplicitSize(this);
    // The element header of the record sequence, of undefined length.
    start += 12;
    _debug("Enter DicomDir::WriteDicomDir, PH: %d (0x%0x)", start, start);
    return start;
}

void DicomDir::CalcOffsets(Array<DICOMVRSet*>* records, std::uint32_t& offset)
{
    OFB unused;
    FixEncoder sizer(unused);
    for (auto* node = records->GetHead(); node != nullptr; node = node->next)
    {
        DICOMVRSet* record = node->item;
        VR* children = record->TakeOut(ChildGroup, ChildElement);
        record->Add(DirGroup, 0x1400, 0u);
        record->Add(DirGroup, 0x1410, static_cast<unsigned short>(0xFFFF));
        record->Add(DirGroup, 0x1420, 0u);
        // The item tag and length before the record, the delimiter after.
        const std::uint32_t length = sizer.ExplicitSize(record) + 16;
        _debug("Enter CalcLength, get length: %d (0x%0x)", length, length);
        offset += length;
        if (children != nullptr && children->GetItemCount() > 0)
        {
            record->Add(DirGroup, 0x1420, offset);
            _debug("Enter CalcLowerOffset, get length (lower): %d", offset);
            CalcOffsets(children->GetSQArray(), offset);
            _debug("Enter CalcLowerOffset, get length (next): %d", offset);
        }
        else
        {
            _debug("Enter CalcLowerOffset, get length (leaf): %d", offset);
        }
        record->Add(DirGroup, 0x1400, node->next != nullptr ? offset : 0u);
        if (children != nullptr)
        {
            record->Push(children);
        }
    }
}

void DicomDir::Flatten(Array<DICOMVRSet*>* records, DICOMDataSet& flat)
{
    for (auto* node = records->GetHead(); node != nullptr; node = node->next)
    {
        DICOMVRSet* record = node->item;
        VR* children = record->TakeOut(ChildGroup, ChildElement);
        flat.Push(DirGroup, 0x1220, record);
        if (children != nullptr)
        {
            Array<DICOMVRSet*>* items = children->DetachSQArray();
            delete children;
            if (items != nullptr)
            {
                Flatten(items, flat);
                delete items;
            }
        }
    }
}

int DicomDir::WriteDicomDir(const char* path, const char* fileSetID, const char* descriptorFileID)
{
    _debug("Enter DicomDir::WriteDicomDir, %d top-level records",
           GetChildren(*this) != nullptr ? GetChildren(*this)->GetCount() : 0);
    AddDefaults(this, enPatient);
    VR* top = TakeOut(ChildGroup, ChildElement);
    if (top == nullptr)
    {
        return 0;
    }
    std::unique_ptr<VR> topOwner(top);
    SetTransferSyntax(UID(ExplicitLittle));
    Add(DirGroup, 0x1130, Lettra(fileSetID != nullptr ? fileSetID : "TAVUQELM").Left(16));
    if (descriptorFileID != nullptr)
    {
        Add(DirGroup, 0x1141, descriptorFileID);
    }
    Add(DirGroup, 0x1200, 0u);
    Add(DirGroup, 0x1202, 0u);
    Add(DirGroup, 0x1212, static_cast<unsigned short>(0));
    Delete(DirGroup, 0x1220);
    DeleteGroup(StopOffsetGroup);
    if (BuildMetaHead() == 0)
    {
        return 0;
    }
    std::uint32_t offset = CalcFirstOffset();
    Array<DICOMVRSet*>* records = top->GetSQArray();
    if (records == nullptr || records->IsEmpty())
    {
        return 0;
    }
    const std::uint32_t first = offset;
    CalcOffsets(records, offset);
    std::uint32_t last = first;
    for (auto* node = records->GetHead(); node->next != nullptr; node = node->next)
    {
        const unsigned int next = node->item->GetUINT32(DirGroup, 0x1400);
        last = next;
    }
    Add(DirGroup, 0x1200, first);
    Add(DirGroup, 0x1202, last);
    DICOMDataSet flat;
    CopyTo(flat);
    Array<DICOMVRSet*>* items = top->DetachSQArray();
    Flatten(items, flat);
    delete items;
    // Only the elements change hands: the meta group the offsets were
    // computed with must stay as it is.
    ClearDataSet();
    AppendFrom(flat);
    return WriteFile(path, 1);
}

int DicomDir::BuildMetaHead()
{
    const Lettra instance = GetMeta().GetLettra(0x0002, 0x0003);
    if (!instance.IsEmpty())
    {
        return 1;
    }
    const Lettra uid = GenUniqueUID(UidDicomDirRoot);
    _debug("Enter DicomDir::BuildMetaHead, uid : %s", static_cast<const char*>(uid));
    if (uid.IsEmpty())
    {
        _error("Enter DicomDir::BuildMetaHead, no instance UID could be made under %s",
               static_cast<const char*>(UidDicomDirRoot));
        return 0;
    }
    return GetMeta().BuildMetaGroup(UID(DirectoryStorage), UID(uid));
}
