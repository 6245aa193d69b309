// What reading and building a DICOMDIR write to the library log.
#include "DicomDir.h"
#include "LoggedFolderTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

namespace
{
namespace fs = std::filesystem;

class LoggedDicomDir : public LoggedFolderTest
{
protected:
    void WriteImage(const char* name, const char* patient, const char* instance) const
    {
        DICOMFile file;
        file.SetTransferSyntax(UID("1.2.840.10008.1.2.1"));
        file.Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.7"));
        file.Add(0x0008, 0x0018, UID(instance));
        if (patient != nullptr)
        {
            file.Add(0x0010, 0x0020, patient);
        }
        const fs::path path = m_folder / "set" / name;
        fs::create_directories(path.parent_path());
        ASSERT_NE(file.WriteFile(path.string().c_str(), 1), 0);
    }

    // The DICOMDIR of one image, with the value of the first element of an
    // unsigned 32-bit tag replaced; its path.
    std::string WriteBrokenDirectory(std::uint16_t element, std::uint32_t value)
    {
        WriteImage("ONE", "P1", "1.2.3.4");
        DicomDir created;
        EXPECT_NE(created.CreateDicomDir((m_folder / "set").string().c_str(), nullptr, nullptr), 0);
        const std::string path = (m_folder / "set" / "DICOMDIR").string();
        Bytes bytes = ReadBytes(path);
        const std::uint8_t header[] = {
            0x04, 0x00, std::uint8_t(element), std::uint8_t(element >> 8), 'U', 'L', 0x04, 0x00};
        const auto at =
            std::search(bytes.begin(), bytes.end(), std::begin(header), std::end(header));
        EXPECT_NE(at, bytes.end());
        if (at != bytes.end())
        {
            std::memcpy(&*(at + 8), &value, sizeof value);
        }
        WriteBytes(path, bytes);
        return path;
    }
};
} // namespace

TEST_F(LoggedDicomDir, BuildingReportsSkippedDuplicatedAndDefaultedEntries)
{
    WriteImage("ONE", nullptr, "1.2.3.4");
    WriteImage("TWO", nullptr, "1.2.3.4");
    WriteImage("dicomdir", "P1", "1.2.3.5");
    DicomDir dir;
    EXPECT_EQ(dir.CreateDicomDir((m_folder / "set").string().c_str(), nullptr, nullptr), 0);
    const std::string text = LogText();
    EXPECT_NE(text.find("Enter DicomDir::CreateDicomDir, 1 of 2 files are not in the DICOMDIR"),
              std::string::npos);
    EXPECT_NE(text.find("Enter DicomDir::AddDirectory, total 3 files found in"), std::string::npos);
    EXPECT_NE(text.find("Enter DicomDir::AddPath, skipping"), std::string::npos);
    EXPECT_NE(text.find("Enter DicomDir::AddImage, duplicated SOP found at file <"),
              std::string::npos);
    EXPECT_NE(text.find("Cannot find <0x10, 0x20> in DICOMDIR, default value added"),
              std::string::npos);
}

TEST_F(LoggedDicomDir, AFileIDOutsideTheStrictFormIsWrittenWithAWarning)
{
    WriteImage("ONE", "P1", "1.2.3.4");
    WriteImage("series-2/img1.dcm", "P1", "1.2.3.5");
    DicomDir dir;
    ASSERT_EQ(dir.CreateDicomDir((m_folder / "set").string().c_str(), nullptr, nullptr), 1);
    const std::string text = LogText();
    EXPECT_NE(text.find("is referenced as series-2\\img1.dcm, which is not a conforming file ID"),
              std::string::npos);
    EXPECT_EQ(text.find("is referenced as ONE"), std::string::npos);
}

TEST_F(LoggedDicomDir, ReadFailuresNameTheirStep)
{
    DicomDir missing;
    EXPECT_EQ(missing.ReadDicomDir(PathOf("none").c_str()), 0);
    EXPECT_NE(LogText().find("Enter DicomDir::ReadDicomDir, invoke ReadFileTillTag failed !"),
              std::string::npos);

    const std::string path = WriteBrokenDirectory(0x1200, 0);
    DicomDir broken;
    EXPECT_EQ(broken.ReadDicomDir(path.c_str()), 0);
    EXPECT_NE(LogText().find("invoke LoadOneSequence of RootDirectoryFirstRecord failed !"),
              std::string::npos);
}

TEST_F(LoggedDicomDir, ABrokenChainIsLoggedAndTheReadGoesOn)
{
    // The first lower-level offset of the file is the PATIENT record's.
    const std::string path = WriteBrokenDirectory(0x1420, 0x7FFFFFF0u);
    DicomDir broken;
    EXPECT_EQ(broken.ReadDicomDir(path.c_str()), 1);
    const std::string text = LogText();
    EXPECT_NE(text.find("offset 2147483632 outside the records of"), std::string::npos);
    EXPECT_NE(text.find("Enter DicomDir::LoadSQ, the record at offset 2147483632 cannot be "
                        "loaded, its chain ends here"),
              std::string::npos);
}
