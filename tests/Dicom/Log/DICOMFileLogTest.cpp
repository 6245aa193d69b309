// What the library start-up, the shut-down and the failures of file reads
// and writes write to the library log.
#include "DICOMFile.h"
#include "FileBuffer.h"
#include "LoggedFolderTest.h"
#include "VeltaroLibrary.h"
#include "WinClock.h"
#include "WinFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

namespace
{

namespace fs = std::filesystem;

// The library log on a file of the test's folder, the clock at 12:00:00.
class LoggedFiles : public LoggedFolderTest
{
protected:
    LoggedFiles() : m_clock(MakeSystemTime(2007, 3, 15, 12, 0, 0)), m_installed(m_clock) {}

    std::string WriteSample(const char* name, const UID& syntax) const
    {
        DICOMFile file;
        FillSampleImage(file);
        file.SetTransferSyntax(syntax);
        const std::string path = PathOf(name);
        EXPECT_NE(file.WriteFile(path.c_str(), 1), 0);
        return path;
    }

    CManualClock m_clock;
    CScopedPlatformClock m_installed;
};

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(LoggedFiles, StartUpLogsTheBanner)
{
    VeltaroUninitialize();
    OpenLog();
    const std::string text = Appended([] { VeltaroInitialize(); });
    const std::string expectedStart =
        "\r\n\r\n12:00:00  * * * * * * * * * * * * * * * * * * * * * * * * * * \n\r\n"
        "12:00:00  Veltaro 2000 (Intel X86) \r\n"
        "12:00:00  Built ";
    EXPECT_EQ(text.substr(0, expectedStart.size()), expectedStart);
    const std::string expectedEnd =
        "12:00:00  Standard Edition on Windows NT/2000/XP/2003/2008/Windows 7\r\n"
        "\r\n\r\n"
        "12:00:00  Version : 4.2.5.0\r\n"
        "\r\n\r\n"
        "12:00:00  Building the DICOM Data Dictionary, please wait\r\n";
    EXPECT_TRUE(Contains(text, expectedEnd)) << text;
    EXPECT_TRUE(Contains(text, "12:00:00  Building the DICOM Data Dictionary Cache, please wait"));
}

TEST_F(LoggedFiles, ShutDownWritesTheClosingLinesAndSwitchesTheLogOff)
{
    VeltaroUninitialize();
    const std::string text = LogText();
    EXPECT_TRUE(Contains(text, "\r\nVeltaro closing.\r\n")) << text;
    EXPECT_EQ(GetVeltaroLog().IsLogOn(), 0);
}

struct ReadFailure
{
    const char* name;
    std::string (*make)(const std::string& folder);
    const char* wholeRead;  // in the log of ReadFile
    const char* headerRead; // in the log of ReadFileNoImage
};

class ReadFailureLog : public LoggedFiles, public ::testing::WithParamInterface<ReadFailure>
{
};

TEST_P(ReadFailureLog, NamesTheFile)
{
    const std::string path = GetParam().make(m_folder.string());
    DICOMFile file;
    int result = -1;
    std::string text = Appended([&] { result = file.ReadFile(path.c_str()); });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(Contains(text, std::string(GetParam().wholeRead) + path)) << text;
    text = Appended([&] { result = file.ReadFileNoImage(path.c_str()); });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(Contains(text, std::string(GetParam().headerRead) + path)) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadFailureLog,
    ::testing::Values(
        ReadFailure{"Missing", MakeMissingFile, "Enter DICOMFile::Load, Cannot open file: ",
                    "DICOMFile::ReadFileTillTag, cannot open file: "},
        ReadFailure{"Directory", MakeDirectory, "Enter DICOMFile::Load, Cannot open file: ",
                    "DICOMFile::ReadFileTillTag, cannot open file: "},
        ReadFailure{"Zeros", MakeZerosFile,
                    "Cannot LoadMetaInfo\r\n12:00:00  Enter DICOMFile::Load, Cannot read file: ",
                    "DICOMFile::ReadFileTillTag, Parse file failed: "},
        ReadFailure{"Truncated", MakeTruncatedFile, "Enter DICOMFile::Load, Cannot read file: ",
                    "DICOMFile::ReadFileTillTag, Parse file failed: "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoggedFiles, FileHeldByAnotherHandleIsLogged)
{
    const std::string path = WriteSample("held.dcm", UidTransferLittleEndianExplicit);
    HANDLE lock = HoldExclusively(path);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    DICOMFile file;
    FillSampleImage(file);
    file.SetTransferSyntax(UidTransferLittleEndian);
    EXPECT_TRUE(Contains(Appended([&] { file.ReadFile(path.c_str()); }),
                         "Enter DICOMFile::Load, Cannot open file: " + path));
    EXPECT_TRUE(Contains(Appended([&] { file.WriteFile(path.c_str(), 1); }),
                         "DICOMFile::WriteFile, cannot open file: " + path));
    CloseHandle(lock);
}

TEST_F(LoggedFiles, UnknownSyntaxFailsTheWriteWithItsEndianType)
{
    DICOMFile file;
    FillSampleImage(file);
    file.SetTransferSyntax(UID("1.2.3.4"));
    int result = -1;
    const std::string text =
        Appended([&] { result = file.WriteFile(PathOf("unknown.dcm").c_str(), 1); });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(Contains(text, "Invalid EndianType of ImageTransferSyntax : = 0")) << text;
}

TEST_F(LoggedFiles, MissingTransferSyntaxIsAnInvalidMetaHeader)
{
    const std::string path = WriteSample("nosyntax.dcm", UidTransferLittleEndian);
    Bytes bytes = ReadBytes(path);
    const std::string syntax = "1.2.840.10008.1.2";
    auto at = std::search(bytes.begin(), bytes.end(), syntax.begin(), syntax.end());
    at[-6] = 0x11; // (0002,0010) becomes (0002,0011), which names nothing
    WriteBytes(path, bytes);
    DICOMFile file;
    int result = 0;
    const std::string text = Appended([&] { result = file.ReadFile(path.c_str()); });
    EXPECT_NE(result, 0);
    EXPECT_TRUE(Contains(text, "12:00:00  Invalid Meta Header!\r\n")) << text;
}

TEST_F(LoggedFiles, SmallSerializeBufferIsLogged)
{
    DICOMFile file;
    FillSampleImage(file);
    file.SetTransferSyntax(UidTransferLittleEndianExplicit);
    const int size = file.Serialize(nullptr, 0);
    Bytes buffer(static_cast<std::size_t>(size));
    const std::string text = Appended([&] { file.Serialize(buffer.data(), size - 1); });
    EXPECT_TRUE(Contains(text, "Enter DICOMFile::Serialize, your buffer (" +
                                   std::to_string(size - 1) + " Bytes) is too small (need " +
                                   std::to_string(size) + " bytes)"))
        << text;
}

} // namespace
