// DicomDir built from folders of small image files: records shared by key,
// duplicates and missing keys, skipped names, file IDs of nested and
// relative folders, and the offsets of the written file.
#include "DicomDir.h"
#include "FileFinder.h"
#include "FileTestSupport.h"
#include "PeerToolSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
struct ImageKeys
{
    const char* patient;
    const char* study;
    const char* series;
    const char* instance;
};

void WriteImage(const fs::path& path, const ImageKeys& keys)
{
    fs::create_directories(path.parent_path());
    DICOMFile file;
    file.SetTransferSyntax(UID("1.2.840.10008.1.2.1"));
    file.Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.7"));
    file.Add(0x0008, 0x0018, UID(keys.instance));
    if (keys.patient[0] != '\0')
    {
        file.Add(0x0010, 0x0020, keys.patient);
    }
    file.Add(0x0010, 0x0010, "Doe^Jane");
    file.Add(0x0020, 0x000D, UID(keys.study));
    file.Add(0x0020, 0x000E, UID(keys.series));
    file.Add(0x0008, 0x0060, "OT");
    ASSERT_NE(file.WriteFile(path.string().c_str(), 1), 0);
}

std::vector<DICOMVRSet*> Level(DICOMVRSet& parent)
{
    std::vector<DICOMVRSet*> records;
    Array<DICOMVRSet*>* children = DicomDir::GetChildren(parent);
    for (auto* node = children != nullptr ? children->GetHead() : nullptr; node != nullptr;
         node = node->next)
    {
        records.push_back(node->item);
    }
    return records;
}

std::string Text(DICOMVRSet* record, std::uint16_t group, std::uint16_t element)
{
    return static_cast<const char*>(record->GetLettra(group, element));
}

// The text between the brackets of each dcmdump line of the element.
std::set<std::string> DumpedValues(const std::vector<std::string>& lines, const char* tag)
{
    std::set<std::string> values;
    for (const std::string& line : lines)
    {
        const std::size_t open = line.find('[');
        const std::size_t close = line.rfind(']');
        if (line.find(tag) != std::string::npos && open != std::string::npos && close > open)
        {
            values.insert(line.substr(open + 1, close - open - 1));
        }
    }
    return values;
}

using DicomDirBuildTest = FileFolderTest;
} // namespace

TEST_F(DicomDirBuildTest, FilesAreSortedIntoSharedRecords)
{
    WriteImage(m_folder / "study" / "img1", {"P1", "1.2.3.1", "1.2.3.1.1", "1.2.3.1.1.1"});
    WriteImage(m_folder / "study" / "img2", {"P1", "1.2.3.1", "1.2.3.1.1", "1.2.3.1.1.2"});
    WriteImage(m_folder / "study" / "img3", {"P1", "1.2.3.1", "1.2.3.1.1", "1.2.3.1.1.1"});
    WriteImage(m_folder / "nopid1", {"", "1.2.3.2", "1.2.3.2.1", "1.2.3.2.1.1"});
    WriteImage(m_folder / "nopid2", {"", "1.2.3.2", "1.2.3.2.1", "1.2.3.2.1.2"});
    WriteImage(m_folder / "dicomdir", {"P9", "1.2.3.9", "1.2.3.9.1", "1.2.3.9.1.1"});
    WriteBytes(PathOf("junk"), Bytes(40, 0x41));

    // The junk file and the repeated instance are left out, so creation
    // does not report success; the DICOMDIR of the others is written.
    DicomDir created;
    EXPECT_EQ(created.CreateDicomDir(m_folder.string().c_str(), nullptr, "README"), 0);
    DicomDir dir;
    ASSERT_EQ(dir.ReadDicomDir(PathOf("DICOMDIR").c_str()), 1);
    EXPECT_EQ(Text(&dir, 0x0004, 0x1130), "TAVUQELM");
    EXPECT_EQ(Text(&dir, 0x0004, 0x1141), "README");

    // The walk meets the files of the top folder first ("dicomdir", "junk",
    // "nopid1", "nopid2" sort before "study"); the lower-case DICOMDIR is
    // skipped and the junk file cannot be read.
    const std::vector<DICOMVRSet*> patients = Level(dir);
    ASSERT_EQ(patients.size(), 2u);
    EXPECT_EQ(Text(patients[0], 0x0010, 0x0020), "PID.ABCD");
    EXPECT_EQ(Text(patients[1], 0x0010, 0x0020), "P1");
    EXPECT_EQ(patients[1]->GetUINT32(0x0004, 0x1400), 0u);
    EXPECT_EQ(dir.GetUINT32(0x0004, 0x1202), patients[0]->GetUINT32(0x0004, 0x1400));

    const std::vector<DICOMVRSet*> anonymous = Level(*Level(*Level(*patients[0])[0])[0]);
    ASSERT_EQ(anonymous.size(), 2u);
    EXPECT_EQ(Text(anonymous[0], 0x0004, 0x1500), "nopid1");
    EXPECT_EQ(Text(anonymous[1], 0x0004, 0x1500), "nopid2");

    const std::vector<DICOMVRSet*> studies = Level(*patients[1]);
    ASSERT_EQ(studies.size(), 1u);
    EXPECT_EQ(Text(studies[0], 0x0004, 0x1430), "STUDY");
    EXPECT_EQ(Text(studies[0], 0x0008, 0x0020), "20000101");
    EXPECT_EQ(Text(studies[0], 0x0008, 0x0030), "090000");
    const std::vector<DICOMVRSet*> series = Level(*studies[0]);
    ASSERT_EQ(series.size(), 1u);
    EXPECT_EQ(Text(series[0], 0x0020, 0x0011), "0001");
    const std::vector<DICOMVRSet*> images = Level(*series[0]);
    ASSERT_EQ(images.size(), 2u); // img3 repeats img1's SOP instance
    EXPECT_EQ(Text(images[0], 0x0004, 0x1500), "study\\img1");
    EXPECT_EQ(Text(images[1], 0x0004, 0x1500), "study\\img2");
    EXPECT_EQ(Text(images[0], 0x0004, 0x1511), "1.2.3.1.1.1");
    EXPECT_EQ(Text(images[0], 0x0004, 0x1510), "1.2.840.10008.5.1.4.1.1.7");
    EXPECT_EQ(Text(images[0], 0x0004, 0x1512), "1.2.840.10008.1.2.1");
    EXPECT_EQ(Text(images[0], 0x0020, 0x0013), "0002");
    EXPECT_EQ(images[0]->GetUINT16(0x0004, 0x1410), 0xFFFF);
    for (DICOMVRSet* image : images)
    {
        EXPECT_EQ(image->GetUINT32(0x0004, 0x1420), 0u);
        EXPECT_FALSE(image->IsExist(0x0088, 0x0200));
    }
}

TEST_F(DicomDirBuildTest, ARelativeFolderGivesTheSameFileIDs)
{
    WriteImage(m_folder / "sub" / "deeper" / "one", {"P1", "1.2.3", "1.2.3.4", "1.2.3.4.5"});
    const std::string relative = fs::relative(m_folder).string();
    DicomDir created;
    ASSERT_NE(created.CreateDicomDir(relative.c_str(), "REL", nullptr), 0);
    DicomDir dir;
    ASSERT_EQ(dir.ReadDicomDir(PathOf("DICOMDIR").c_str()), 1);
    DicomDir::Iterator patient(dir);
    DicomDir::Iterator study(patient);
    DicomDir::Iterator series(study);
    DicomDir::Iterator image(series);
    ASSERT_TRUE(image);
    EXPECT_EQ(Text(&image(), 0x0004, 0x1500), "sub\\deeper\\one");
    DICOMFile file;
    EXPECT_NE(file.ReadFileNoImage(dir.GetReferencedFilePath(image())), 0);
    // One patient: the root's first and last records are the same.
    EXPECT_EQ(dir.GetUINT32(0x0004, 0x1202), dir.GetUINT32(0x0004, 0x1200));
}

TEST_F(DicomDirBuildTest, OrdinaryFileNamesAreReferencedAndPeersListThemAll)
{
    const std::pair<const char*, ImageKeys> files[] = {
        {"study/img1.dcm", {"P1", "1.2.3.1", "1.2.3.1.1", "1.2.3.1.1.1"}},
        {"study/img2.dcm", {"P1", "1.2.3.1", "1.2.3.1.1", "1.2.3.1.1.2"}},
        {"CT-series/IM-0001-0001.dcm", {"P1", "1.2.3.1", "1.2.3.1.2", "1.2.3.1.2.1"}},
        {"a-rather-long-file-name-with-dashes.dcm", {"P2", "1.2.3.2", "1.2.3.2.1", "1.2.3.2.1.1"}},
        {"UPPER1", {"P2", "1.2.3.2", "1.2.3.2.1", "1.2.3.2.1.2"}},
    };
    std::set<std::string> expected;
    std::set<std::string> expectedPaths;
    for (const auto& [name, keys] : files)
    {
        WriteImage(m_folder / name, keys);
        std::string fileID = name;
        std::replace(fileID.begin(), fileID.end(), '/', '\\');
        expected.insert(fileID);
        expectedPaths.insert(name);
    }
    DicomDir created;
    ASSERT_EQ(created.CreateDicomDir(m_folder.string().c_str(), "ORDINARY", nullptr), 1);

    DicomDir dir;
    ASSERT_EQ(dir.ReadDicomDir(PathOf("DICOMDIR").c_str()), 1);
    std::set<std::string> listed;
    for (DicomDir::Iterator patient(dir); patient; ++patient)
        for (DicomDir::Iterator study(patient); study; ++study)
        {
            DicomDir::Iterator series(study);
            ASSERT_TRUE(series);
            for (; series; ++series)
            {
                DicomDir::Iterator image(series);
                ASSERT_TRUE(image);
                for (; image; ++image)
                {
                    listed.insert(Text(&image(), 0x0004, 0x1500));
                    DICOMFile file;
                    ASSERT_NE(file.ReadFileNoImage(dir.GetReferencedFilePath(image())), 0);
                    EXPECT_EQ(Text(&file, 0x0008, 0x0018), Text(&image(), 0x0004, 0x1511));
                }
            }
        }
    EXPECT_EQ(listed, expected);

    const auto dumpFileIDs = [&]
    {
        const PeerOutput dump = RunPeer("dcmdump -q +P 0004,1500 '" + PathOf("DICOMDIR") + "'");
        EXPECT_TRUE(dump.succeeded);
        return DumpedValues(dump.lines, "(0004,1500)");
    };
    if (HasPeerTool("dcmdump"))
    {
        EXPECT_EQ(dumpFileIDs(), expected);
    }
    const std::string python = GetPydicomPython();
    if (!python.empty())
    {
        // Each instance of the file set: its path below the folder, and
        // whether that file is there.
        const std::string script =
            "import os, sys\n"
            "from pydicom.fileset import FileSet\n"
            "fs = FileSet(sys.argv[1])\n"
            "for i in fs:\n"
            "    print('%s %s' % (os.path.exists(i.path), os.path.relpath(i.path, fs.path)))\n";
        const PeerOutput sets =
            RunPeer(python + " -W ignore -c \"" + script + "\" '" + PathOf("DICOMDIR") + "'");
        EXPECT_TRUE(sets.succeeded);
        std::set<std::string> found;
        for (const std::string& line : sets.lines)
        {
            EXPECT_EQ(line.rfind("True ", 0), 0u) << line;
            found.insert(line.substr(line.find(' ') + 1));
        }
        EXPECT_EQ(found, expectedPaths);
    }
    if (HasPeerTool("dcmgpdir") && HasPeerTool("dcmdump"))
    {
        // dcmgpdir loads the DICOMDIR to append a file it already lists,
        // and writes it again with every record it read.
        const PeerOutput append =
            RunPeer("cd '" + m_folder.string() + "' && dcmgpdir +A +I +D DICOMDIR UPPER1");
        EXPECT_TRUE(append.succeeded);
        for (const std::string& line : append.lines)
        {
            EXPECT_TRUE(line.rfind("E:", 0) != 0 && line.rfind("F:", 0) != 0) << line;
        }
        EXPECT_EQ(dumpFileIDs(), expected);
    }
}

// The levels below a directory, open to the test.
class OpenDicomDir : public DicomDir
{
public:
    using DicomDir::AddPatient;
};

TEST_F(DicomDirBuildTest, AFileThatGetsNoImageRecordLeavesNoRecordBehind)
{
    WriteImage(m_folder / "set" / "inside", {"P1", "1.2.3.1", "1.2.3.1.1", "1.2.3.1.1.1"});
    WriteImage(m_folder / "outside", {"P2", "1.2.3.2", "1.2.3.2.1", "1.2.3.2.1.1"});
    OpenDicomDir dir;
    dir.SetPath((m_folder / "set").string().c_str());
    EXPECT_EQ(dir.AddDicomFile((m_folder / "set" / "inside").string().c_str()), 1);
    // A file outside the folder has no file ID: neither its own PATIENT
    // record nor the STUDY and SERIES records made for it stay.
    DICOMFile outside;
    ASSERT_NE(outside.ReadFileNoImage((m_folder / "outside").string().c_str()), 0);
    EXPECT_EQ(dir.AddDicomFile((m_folder / "outside").string().c_str()), 0);
    EXPECT_EQ(dir.AddPatient(&dir, &outside), 0);
    ASSERT_EQ(Level(dir).size(), 1u);
    EXPECT_EQ(Text(Level(dir)[0], 0x0010, 0x0020), "P1");
    // Below a PATIENT record that stays, the STUDY made for the file goes.
    WriteImage(m_folder / "other", {"P1", "1.2.3.3", "1.2.3.3.1", "1.2.3.3.1.1"});
    DICOMFile other;
    ASSERT_NE(other.ReadFileNoImage((m_folder / "other").string().c_str()), 0);
    EXPECT_EQ(dir.AddPatient(&dir, &other), 0);
    ASSERT_EQ(Level(*Level(dir)[0]).size(), 1u);
    EXPECT_EQ(Text(Level(*Level(dir)[0])[0], 0x0020, 0x000D), "1.2.3.1");
}

TEST_F(DicomDirBuildTest, NothingToAddWritesNothing)
{
    DicomDir empty;
    EXPECT_EQ(empty.CreateDicomDir(m_folder.string().c_str(), nullptr, nullptr), 0);
    WriteImage(m_folder / "DICOMDIR", {"P1", "1.2.3", "1.2.3.4", "1.2.3.4.5"});
    DicomDir onlyDir;
    EXPECT_EQ(onlyDir.CreateDicomDir(m_folder.string().c_str(), nullptr, nullptr), 0);
    DicomDir noRecords;
    EXPECT_EQ(noRecords.WriteDicomDir(PathOf("OUT").c_str(), nullptr, nullptr), 0);
    EXPECT_FALSE(fs::exists(PathOf("OUT")));
}

TEST_F(DicomDirBuildTest, FileFinderListsAFolderInOrder)
{
    WriteBytes(PathOf("b.dat"), Bytes(3, 1));
    WriteBytes(PathOf("A.txt"), Bytes(5, 1));
    fs::create_directories(m_folder / "c");
    FileFinder finder;
    EXPECT_EQ(finder.GetFileName(), Lettra());
    EXPECT_EQ(finder.MatchesMask(~0u), 0);
    ASSERT_NE(finder.FindFile((m_folder.string() + "\\*.*").c_str()), 0);
    std::vector<std::string> names;
    do
    {
        names.push_back(static_cast<const char*>(finder.GetFileName()));
        if (std::string(finder.GetFileName()) == "A.txt")
        {
            EXPECT_EQ(std::string(finder.GetFileTitle()), "A");
            EXPECT_EQ(fs::path(static_cast<const char*>(finder.GetFilePath())), m_folder / "A.txt");
            EXPECT_FALSE(finder.IsDirectory());
            DDateTime written;
            EXPECT_EQ(finder.GetLastWriteTime(written), 1);
            EXPECT_GE(written.GetYear(), 2000);
            FILETIME raw = {};
            EXPECT_EQ(finder.GetCreationTime(raw), 1);
            EXPECT_NE(raw.dwHighDateTime, 0u);
        }
        if (names.back() == "c" || names.back() == ".")
        {
            EXPECT_NE(finder.IsDirectory(), 0);
        }
        EXPECT_EQ(finder.IsDots(), names.back() == "." || names.back() == ".." ? 1 : 0);
    } while (finder.FindNextFile() != 0);
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "A.txt", "b.dat", "c"}));
    FILETIME none = {};
    EXPECT_EQ(finder.GetLastAccessTime(none), 0);
    EXPECT_EQ(finder.FindFile((m_folder.string() + "\\*.none").c_str()), 0);
}

TEST(StringListTest, JoinEndsEveryStringWithTheSeparator)
{
    StringList list;
    EXPECT_EQ(std::string(list.Join(";")), "");
    list.AddTail(Lettra("a"));
    list.AddTail(Lettra("bc"));
    EXPECT_EQ(std::string(list.Join(";")), "a;bc;");
}

TEST_F(DicomDirBuildTest, RecordsNestedTooDeepAreLeftOut)
{
    for (int depth : {DicomDir::MaxDepth - 1, DicomDir::MaxDepth + 4})
    {
        SCOPED_TRACE(depth);
        DicomDir written;
        DICOMVRSet* parent = &written;
        for (int level = 0; level < depth; ++level)
        {
            auto* record = new DICOMDataSet();
            record->Add(0x0004, 0x1430, "PRIVATE");
            parent->Push(DicomDir::ChildGroup, DicomDir::ChildElement, record);
            parent = record;
        }
        ASSERT_NE(written.WriteDicomDir(PathOf("DICOMDIR").c_str(), nullptr, nullptr), 0);
        DicomDir dir;
        ASSERT_EQ(dir.ReadDicomDir(PathOf("DICOMDIR").c_str()), 1);
        int levels = 0;
        for (DICOMVRSet* record = &dir; !Level(*record).empty(); record = Level(*record)[0])
        {
            ++levels;
        }
        EXPECT_EQ(levels, std::min(depth, DicomDir::MaxDepth));
    }
}
