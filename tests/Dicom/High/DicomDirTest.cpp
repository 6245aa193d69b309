// DicomDir: the corpus's DICOMDIRs read and walked as dcmdump links their
// records, broken record offsets ending their chains, and directories built from
// folders of real files read back equal with offsets that match the bytes.
#include "DicomDir.h"
#include "DicomDirReferenceLines.h"
#include "FileFinder.h"
#include "FileTestSupport.h"
#include "PeerToolSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace
{
struct WalkedRecord
{
    int depth;
    std::string type;
    std::string key;
    bool operator==(const WalkedRecord&) const = default;
};

std::string KeyOf(DICOMVRSet& record)
{
    const std::string type = static_cast<const char*>(record.GetLettra(0x0004, 0x1430));
    const std::map<std::string, std::pair<std::uint16_t, std::uint16_t>> keys = {
        {"PATIENT", {0x0010, 0x0020}},
        {"STUDY", {0x0020, 0x000D}},
        {"SERIES", {0x0020, 0x000E}},
        {"IMAGE", {0x0004, 0x1500}}};
    const auto found = keys.find(type);
    return found == keys.end()
               ? std::string()
               : std::string(record.GetLettra(found->second.first, found->second.second));
}

void Walk(DicomDir::Iterator& level, int depth, std::vector<WalkedRecord>& out)
{
    for (; level; ++level)
    {
        out.push_back(
            {depth, static_cast<const char*>(level().GetLettra(0x0004, 0x1430)), KeyOf(level())});
        DicomDir::Iterator children(level);
        Walk(children, depth + 1, out);
    }
}

std::vector<WalkedRecord> WalkAll(DicomDir& dir)
{
    std::vector<WalkedRecord> out;
    DicomDir::Iterator top(dir);
    Walk(top, 0, out);
    return out;
}

// "TYPE key/TYPE key/..." for every record, sorted: two trees with the same
// records under the same parents give the same list whatever their order.
void Paths(DicomDir::Iterator& level, const std::string& prefix, std::vector<std::string>& out)
{
    for (; level; ++level)
    {
        const std::string path = prefix + "/" +
                                 static_cast<const char*>(level().GetLettra(0x0004, 0x1430)) + " " +
                                 KeyOf(level());
        out.push_back(path);
        DicomDir::Iterator children(level);
        Paths(children, path, out);
    }
}

std::vector<std::string> SortedPaths(DicomDir& dir)
{
    std::vector<std::string> out;
    DicomDir::Iterator top(dir);
    Paths(top, "", out);
    std::sort(out.begin(), out.end());
    return out;
}

// Every record below the root, through the children each record links.
std::vector<DICOMVRSet*> RecordsBelow(DICOMVRSet& root)
{
    std::vector<DICOMVRSet*> records;
    std::vector<DICOMVRSet*> pending = {&root};
    while (!pending.empty())
    {
        DICOMVRSet* record = pending.back();
        pending.pop_back();
        Array<DICOMVRSet*>* children = DicomDir::GetChildren(*record);
        for (auto* node = children != nullptr ? children->GetHead() : nullptr; node != nullptr;
             node = node->next)
        {
            records.push_back(node->item);
            pending.push_back(node->item);
        }
    }
    return records;
}

std::uint32_t Get32(const Bytes& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

void Put32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    std::memcpy(bytes.data() + at, &value, 4);
}

class DicomDirTest : public FileFolderTest
{
protected:
    void SetUp() override
    {
        FileFolderTest::SetUp();
        if (!fs::is_directory(DirTestFolder))
        {
            GTEST_SKIP() << "corpus folder not found: " << DirTestFolder;
        }
    }

    // The three patient folders of the corpus's file set, copied.
    void CopyPatients(const fs::path& target)
    {
        for (const char* patient : {"77654033", "98892001", "98892003"})
        {
            fs::copy(DirTestFolder / patient, target / patient, fs::copy_options::recursive);
        }
        for (const auto& entry : fs::recursive_directory_iterator(target))
        {
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
        }
    }
};
// Peer toolkits that are installed read and validate the file without an
// error.
void ExpectPeersAccept(const std::string& path)
{
    for (const auto& [tool, options, prefix] :
         {std::tuple{"dciodvfy", "", "Error"}, std::tuple{"dcmdump", "-q", "E:"}})
    {
        if (!HasPeerTool(tool))
        {
            continue;
        }
        const PeerOutput output = RunPeer(std::string(tool) + " " + options + " '" + path + "'");
        std::vector<std::string> errors;
        std::copy_if(output.lines.begin(), output.lines.end(), std::back_inserter(errors),
                     [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
        if (!output.succeeded)
        {
            errors.emplace_back("exit status not 0");
        }
        EXPECT_EQ(errors, std::vector<std::string>{}) << tool;
    }
}

// The tests that need no corpus file.
using DicomDirFileTest = FileFolderTest;
} // namespace

TEST_F(DicomDirTest, EveryCorpusDirectoryWalksAsTheReferenceLinksIt)
{
    std::map<std::string, std::vector<WalkedRecord>> expected;
    for (const RecordLine& line : ReferenceLines)
    {
        auto& records = expected[line.file];
        if (line.depth >= 0)
        {
            records.push_back({line.depth, line.type, line.key});
        }
    }
    ASSERT_EQ(expected.size(), 8u);
    for (const auto& [name, records] : expected)
    {
        SCOPED_TRACE(name);
        DicomDir dir;
        ASSERT_EQ(dir.ReadDicomDir((DirTestFolder / name).string().c_str()), 1);
        EXPECT_EQ(WalkAll(dir), records);
        EXPECT_FALSE(dir.IsExist(0x0004, 0x1220));
    }
}

// Its records lost their zero offsets without their item lengths being
// mended, so the last record claims 24 bytes more than the file has left.
// dcmdump and pydicom read the file whole: 52 records, the last ending with
// the file.
TEST_F(DicomDirTest, TheDirectoryWithoutZeroOffsetsReadsAsAFileAndAsADirectory)
{
    const std::string path = (DirTestFolder / "DICOMDIR-nooffset").string();
    DICOMFile file;
    ASSERT_NE(file.ReadFile(path.c_str()), 0);
    const VR* records = file.GetVR(0x0004, 0x1220);
    ASSERT_NE(records, nullptr);
    ASSERT_EQ(records->GetItemCount(), 52);
    const DICOMVRSet* last = file.GetSequence(0x0004, 0x1220, 51);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(std::string(last->GetLettra(0x0004, 0x1500)), "98892003\\MR700\\4648");
    EXPECT_EQ(std::string(last->GetLettra(0x0020, 0x0013)), "7");
    EXPECT_FALSE(last->IsExist(0x0004, 0x1400));

    DicomDir dir;
    ASSERT_EQ(dir.ReadDicomDir(path.c_str()), 1);
    DicomDir complete;
    ASSERT_EQ(complete.ReadDicomDir((DirTestFolder / "DICOMDIR").string().c_str()), 1);
    EXPECT_EQ(WalkAll(dir), WalkAll(complete));
}

TEST_F(DicomDirTest, ReferencedFilesAreFoundWhateverTheCaseOnDisk)
{
    CopyPatients(m_folder);
    fs::rename(m_folder / "77654033" / "CR1", m_folder / "77654033" / "cr1");
    fs::copy(DirTestFolder / "DICOMDIR", m_folder / "DICOMDIR");
    DicomDir dir;
    ASSERT_EQ(dir.ReadDicomDir(PathOf("DICOMDIR").c_str()), 1);
    int images = 0;
    for (DicomDir::Iterator patient(dir); patient; ++patient)
        for (DicomDir::Iterator study(patient); study; ++study)
            for (DicomDir::Iterator series(study); series; ++series)
                for (DicomDir::Iterator image(series); image; ++image)
                {
                    DICOMFile file;
                    const Lettra path = dir.GetReferencedFilePath(image());
                    ASSERT_NE(file.ReadFileNoImage(path), 0) << static_cast<const char*>(path);
                    EXPECT_EQ(std::string(file.GetLettra(0x0008, 0x0018)),
                              std::string(image().GetLettra(0x0004, 0x1511)));
                    ++images;
                }
    EXPECT_EQ(images, 31);
}

TEST_F(DicomDirTest, ABrokenRecordOffsetEndsItsChainAndKeepsTheRest)
{
    const Bytes good = ReadBytes((DirTestFolder / "DICOMDIR").string());
    ASSERT_GT(good.size(), 3200u);
    DicomDir whole;
    ASSERT_EQ(whole.ReadDicomDir((DirTestFolder / "DICOMDIR").string().c_str()), 1);
    const std::vector<WalkedRecord> all = WalkAll(whole);
    const auto secondPatient = std::find_if(all.begin() + 1, all.end(),
                                            [](const WalkedRecord& r) { return r.depth == 0; });
    ASSERT_NE(secondPatient, all.end());
    const std::vector<WalkedRecord> firstPatientOnly(all.begin(), secondPatient);
    std::vector<WalkedRecord> firstPatientAlone = {all.front()};
    firstPatientAlone.insert(firstPatientAlone.end(), secondPatient, all.end());

    // Offsets of the reference file: the first PATIENT record at 396, its
    // first IMAGE record (the last of its series) at 856. A record's first
    // element is (0004,1400), its value 16 bytes after the item tag; the
    // value of (0004,1420) follows 22 bytes later.
    struct Case
    {
        const char* name;
        std::size_t at;
        std::uint32_t value;
        const std::vector<WalkedRecord>* expected;
    };
    const Case cases[] = {
        {"next points at itself", 856 + 16, 856, &all},
        {"lower points back at the patient", 856 + 38, 396, &all},
        {"lower outside the file", 396 + 38, 0x7FFFFFF0u, &firstPatientAlone},
        {"next inside an element", 396 + 16, 400, &firstPatientOnly},
    };
    for (const Case& item : cases)
    {
        SCOPED_TRACE(item.name);
        Bytes bytes = good;
        Put32(bytes, item.at, item.value);
        WriteBytes(PathOf("DICOMDIR"), bytes);
        DicomDir dir;
        ASSERT_EQ(dir.ReadDicomDir(PathOf("DICOMDIR").c_str()), 1);
        EXPECT_EQ(WalkAll(dir), *item.expected);
    }
}

TEST_F(DicomDirTest, ADirectoryCutShortKeepsTheRecordsBeforeTheCut)
{
    const Bytes good = ReadBytes((DirTestFolder / "DICOMDIR").string());
    DicomDir whole;
    ASSERT_EQ(whole.ReadDicomDir((DirTestFolder / "DICOMDIR").string().c_str()), 1);
    const std::vector<WalkedRecord> all = WalkAll(whole);
    WriteBytes(PathOf("DICOMDIR"), Bytes(good.begin(), good.begin() + 2000));
    DicomDir dir;
    ASSERT_EQ(dir.ReadDicomDir(PathOf("DICOMDIR").c_str()), 1);
    const std::vector<WalkedRecord> kept = WalkAll(dir);
    // The records lie in the file in the order of the walk; the one the cut
    // runs through keeps the elements before it.
    ASSERT_GT(kept.size(), 1u);
    ASSERT_LT(kept.size(), all.size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end() - 1, all.begin()));
}

TEST_F(DicomDirTest, WithoutItsFirstRecordTheReadFails)
{
    Bytes bytes = ReadBytes((DirTestFolder / "DICOMDIR").string());
    Put32(bytes, 0x166, 0);
    WriteBytes(PathOf("DICOMDIR"), bytes);
    DicomDir dir;
    EXPECT_EQ(dir.ReadDicomDir(PathOf("DICOMDIR").c_str()), 0);
}

TEST_F(DicomDirTest, TheRootOffsetSitsWhereTheBrokenCaseExpectsIt)
{
    // The root-offset case above patches the value of (0004,1200) in place.
    const Bytes good = ReadBytes((DirTestFolder / "DICOMDIR").string());
    EXPECT_EQ(Get32(good, 0x166), 396u);
    EXPECT_EQ(Get32(good, 856 + 16), 0u);
    EXPECT_EQ(Get32(good, 396 + 38), 510u);
}

TEST_F(DicomDirFileTest, MissingFileFails)
{
    DicomDir dir;
    EXPECT_EQ(dir.ReadDicomDir(PathOf("none").c_str()), 0);
}

TEST_F(DicomDirTest, IteratorsOverASeriesAndALeaf)
{
    DicomDir dir;
    ASSERT_EQ(dir.ReadDicomDir((DirTestFolder / "DICOMDIR").string().c_str()), 1);
    DicomDir::Iterator patient(dir);
    DicomDir::Iterator study(patient);
    ++study; // the second study of the first patient: one series of four images
    DicomDir::Iterator series(study);
    DicomDir::Iterator image(series);
    ASSERT_TRUE(image);
    DicomDir::Iterator saved = image;
    DicomDir::Iterator before = image++;
    EXPECT_EQ(KeyOf(before()), "77654033\\CT2\\17106");
    EXPECT_EQ(KeyOf(image.Current()), "77654033\\CT2\\17136");
    image.Next();
    ++image;
    EXPECT_EQ(KeyOf(image()), "77654033\\CT2\\17196");
    image.Next();
    EXPECT_FALSE(image);
    image.Next();
    EXPECT_FALSE(image);
    EXPECT_TRUE(saved);
    EXPECT_EQ(KeyOf(saved()), "77654033\\CT2\\17106");
    DicomDir::Iterator leaf(saved);
    EXPECT_FALSE(leaf);
    ++series;
    EXPECT_FALSE(series);
}

TEST_F(DicomDirTest, CreatedDirectoryReadsBackAsTheReferenceOne)
{
    CopyPatients(m_folder);
    DicomDir created;
    ASSERT_NE(created.CreateDicomDir(m_folder.string().c_str(), "TESTSET", nullptr), 0);

    DicomDir reference;
    ASSERT_EQ(reference.ReadDicomDir((DirTestFolder / "DICOMDIR").string().c_str()), 1);
    DicomDir back;
    ASSERT_EQ(back.ReadDicomDir(PathOf("DICOMDIR").c_str()), 1);
    EXPECT_EQ(SortedPaths(back), SortedPaths(reference));
    EXPECT_EQ(std::string(back.GetLettra(0x0004, 0x1130)), "TESTSET");

    // Every offset the file holds points at a record's item tag; each record
    // is named by exactly one offset, and the first follows the header of
    // the record sequence.
    const Bytes bytes = ReadBytes(PathOf("DICOMDIR"));
    std::multiset<std::uint32_t> offsets = {back.GetUINT32(0x0004, 0x1200)};
    const std::vector<DICOMVRSet*> records = RecordsBelow(back);
    for (DICOMVRSet* record : records)
    {
        for (std::uint16_t element : {0x1400, 0x1420})
        {
            if (record->GetUINT32(0x0004, element) != 0)
            {
                offsets.insert(record->GetUINT32(0x0004, element));
            }
        }
    }
    ASSERT_EQ(records.size(), 52u);
    EXPECT_EQ(offsets.size(), records.size());
    EXPECT_EQ(std::set<std::uint32_t>(offsets.begin(), offsets.end()).size(), records.size());
    for (std::uint32_t offset : offsets)
    {
        ASSERT_LT(offset + 4, bytes.size());
        EXPECT_EQ(Get32(bytes, offset), 0xE000FFFEu) << offset;
    }
    const std::uint32_t first = back.GetUINT32(0x0004, 0x1200);
    EXPECT_EQ(Get32(bytes, first - 12), 0x12200004u);
    EXPECT_EQ(Get32(bytes, first - 4), 0xFFFFFFFFu);
    EXPECT_EQ(Get32(bytes, bytes.size() - 8), 0xE0DDFFFEu);
    // A single patient would make the last root record the first one.
    EXPECT_NE(back.GetUINT32(0x0004, 0x1202), first);
}

TEST_F(DicomDirFileTest, FileIDsAreThePathsBelowTheFolder)
{
    const std::string folder = m_folder.string();
    fs::create_directories(m_folder / "study");
    struct Case
    {
        std::string path;
        const char* fileID;
    };
    const Case cases[] = {
        {folder + "/study/img1", "study\\img1"},
        {folder + "/study/img1.dcm", "study\\img1.dcm"},
        {folder + "/a/b_2/C9", "a\\b_2\\C9"},
        {folder + "/a-much-longer-name.dcm", "a-much-longer-name.dcm"},
        {folder + "/study/../IMG2", "IMG2"},
        {"/elsewhere/img1", ""},
        {folder, ""},
    };
    for (const Case& item : cases)
    {
        EXPECT_EQ(std::string(DicomDir::MakeFileID(folder.c_str(), item.path.c_str())), item.fileID)
            << item.path;
    }
    const std::string relative = fs::relative(m_folder).string();
    EXPECT_EQ(std::string(DicomDir::MakeFileID(relative.c_str(), (folder + "/study/img1").c_str())),
              "study\\img1");
    EXPECT_EQ(std::string(DicomDir::MakeFileID((relative + "\\").c_str(),
                                               (relative + "\\study\\img1").c_str())),
              "study\\img1");
}

TEST(DicomDirFileID, OnlyTheStrictFormConforms)
{
    const std::pair<const char*, bool> cases[] = {
        {"STUDY\\IMG1", true},
        {"A\\B_2\\C9", true},
        {"ABCDEFGH", true},
        {"A\\B\\C\\D\\E\\F\\G\\H", true},
        {"A\\B\\C\\D\\E\\F\\G\\H\\I", false},
        {"ABCDEFGHI", false},
        {"study\\img1", false},
        {"IMG1.DCM", false},
        {"IMG-1", false},
        {"A\\\\B", false},
        {"A\\", false},
        {"", false},
        {nullptr, false},
    };
    for (const auto& [fileID, conforming] : cases)
    {
        EXPECT_EQ(DicomDir::IsConformingFileID(fileID), conforming)
            << (fileID != nullptr ? fileID : "null");
    }
}

TEST_F(DicomDirTest, ADirectoryReadFromAFileIsWrittenAgainWithFreshOffsets)
{
    DicomDir dir;
    ASSERT_EQ(dir.ReadDicomDir((DirTestFolder / "DICOMDIR-reordered").string().c_str()), 1);
    const std::vector<WalkedRecord> before = WalkAll(dir);
    ASSERT_NE(dir.WriteDicomDir(PathOf("DICOMDIR").c_str(), "AGAIN", nullptr), 0);
    EXPECT_TRUE(WalkAll(dir).empty()); // the object holds the flat form now
    DicomDir back;
    ASSERT_EQ(back.ReadDicomDir(PathOf("DICOMDIR").c_str()), 1);
    EXPECT_EQ(WalkAll(back), before);
    EXPECT_EQ(std::string(back.GetLettra(0x0004, 0x1130)), "AGAIN");
}

TEST_F(DicomDirTest, CreatedImageRecordsCarryAnIconOfTheirImage)
{
    CopyPatients(m_folder);
    DicomDir created;
    ASSERT_NE(created.CreateDicomDir(m_folder.string().c_str(), "ICONS", nullptr), 0);
    DicomDir back;
    ASSERT_EQ(back.ReadDicomDir(PathOf("DICOMDIR").c_str()), 1);

    int icons = 0;
    for (DICOMVRSet* record : RecordsBelow(back))
    {
        if (std::string(record->GetLettra(0x0004, 0x1430)) != "IMAGE")
        {
            continue;
        }
        SCOPED_TRACE(static_cast<const char*>(record->GetLettra(0x0004, 0x1500)));
        const VR* sequence = record->GetVR(0x0088, 0x0200);
        ASSERT_NE(sequence, nullptr);
        ASSERT_EQ(sequence->GetItemCount(), 1);
        const DICOMVRSet* icon = record->GetSequence(0x0088, 0x0200, 0);
        // The corpus's images are 16 x 16, smaller than any icon.
        EXPECT_EQ(icon->GetUINT16(0x0028, 0x0010), 16);
        EXPECT_EQ(icon->GetUINT16(0x0028, 0x0011), 16);
        EXPECT_EQ(icon->GetUINT16(0x0028, 0x0100), 8);
        EXPECT_STREQ(icon->GetLettra(0x0028, 0x0004), "MONOCHROME2");
        const VR* pixels = icon->GetVR(0x7FE0, 0x0010);
        ASSERT_NE(pixels, nullptr);
        EXPECT_EQ(pixels->GetLength(), 256u);
        ++icons;
    }
    EXPECT_EQ(icons, 31);

    ExpectPeersAccept(PathOf("DICOMDIR"));
}

TEST_F(DicomDirTest, IconsCanBeLeftOut)
{
    CopyPatients(m_folder);
    DicomDir created;
    created.SetIcons(0);
    ASSERT_NE(created.CreateDicomDir(m_folder.string().c_str(), "NOICONS", nullptr), 0);
    const Bytes bytes = ReadBytes(PathOf("DICOMDIR"));
    const Bytes iconTag = {0x88, 0x00, 0x00, 0x02};
    EXPECT_EQ(std::search(bytes.begin(), bytes.end(), iconTag.begin(), iconTag.end()), bytes.end());
}

TEST_F(DicomDirTest, IconsOfLargeCompressedColourAndMultiFrameImagesAreValid)
{
    struct Case
    {
        const char* file;
        const char* name;
        const char* photometric;
        int columns;
        int rows;
    };
    // Files whose own attributes the validator accepts in a directory.
    const Case cases[] = {
        {"pydicom/test_files/JPEG2000.dcm", "NMJ2K", "MONOCHROME2", 32, 128},
        {"pydicom/test_files/SC_rgb_rle_2frame.dcm", "RGB2", "PALETTE COLOR", 100, 100},
    };
    std::map<std::string, const Case*> byName;
    for (const Case& c : cases)
    {
        fs::copy_file(fs::path(SUITE_CORPUS_DIR) / c.file, m_folder / c.name);
        fs::permissions(m_folder / c.name, fs::perms::owner_write, fs::perm_options::add);
        byName[c.name] = &c;
    }
    DicomDir created;
    ASSERT_NE(created.CreateDicomDir(m_folder.string().c_str(), "ICONS", nullptr), 0);
    DicomDir back;
    ASSERT_EQ(back.ReadDicomDir(PathOf("DICOMDIR").c_str()), 1);

    int icons = 0;
    for (DicomDir::Iterator patient(back); patient; ++patient)
    {
        for (DicomDir::Iterator study(patient); study; ++study)
        {
            for (DicomDir::Iterator series(study); series; ++series)
            {
                for (DicomDir::Iterator image(series); image; ++image)
                {
                    const std::string fileID =
                        static_cast<const char*>(image().GetLettra(0x0004, 0x1500));
                    SCOPED_TRACE(fileID);
                    ASSERT_EQ(byName.count(fileID), 1u);
                    const Case& c = *byName[fileID];
                    const DICOMVRSet* icon = image().GetSequence(0x0088, 0x0200, 0);
                    ASSERT_NE(icon, nullptr);
                    EXPECT_STREQ(icon->GetLettra(0x0028, 0x0004), c.photometric);
                    EXPECT_EQ(icon->GetUINT16(0x0028, 0x0011), c.columns);
                    EXPECT_EQ(icon->GetUINT16(0x0028, 0x0010), c.rows);
                    EXPECT_EQ(icon->GetUINT16(0x0028, 0x0100), 8);
                    const VR* pixels = icon->GetVR(0x7FE0, 0x0010);
                    ASSERT_NE(pixels, nullptr);
                    EXPECT_EQ(pixels->GetLength(), static_cast<unsigned>(c.columns * c.rows));
                    ++icons;
                }
            }
        }
    }
    EXPECT_EQ(icons, 2);
    ExpectPeersAccept(PathOf("DICOMDIR"));
}
