#include "WinFile.h"

#include "ScopedEnvironment.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
HANDLE OpenForReading(const std::string& path, DWORD share = FILE_SHARE_READ)
{
    return CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

HANDLE CreateForWriting(const std::string& path, DWORD share = 0)
{
    return CreateFileA(path.c_str(), GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string ReadAll(HANDLE file)
{
    std::string text;
    char buffer[4];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    {
        text.append(buffer, read);
    }
    return text;
}

TEST(WinFile, WritesThenReadsBackWithZeroBytesAtTheEnd)
{
    CTempFolder folder;
    const std::string path = folder.GetPath("data.bin");
    HANDLE file = CreateForWriting(path);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "hello world", 11, &written, nullptr));
    EXPECT_EQ(written, 11u);
    EXPECT_TRUE(CloseHandle(file));

    file = OpenForReading(path);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(file, nullptr), 11u);
    EXPECT_EQ(ReadAll(file), "hello world");
    char byte = 0;
    DWORD read = 99;
    EXPECT_TRUE(ReadFile(file, &byte, 1, &read, nullptr));
    EXPECT_EQ(read, 0u);
    EXPECT_TRUE(CloseHandle(file));
}

TEST(WinFile, CreateAlwaysTruncatesAnExistingFileAndSaysItExisted)
{
    CTempFolder folder;
    const std::string path = folder.WriteFile("old.txt", "previous contents");
    HANDLE file = CreateForWriting(path);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(GetFileSize(file, nullptr), 0u);
    CloseHandle(file);
}

struct SOpenFailure
{
    DWORD access;
    DWORD creation;
    bool fileExists;
    DWORD error;
};

void PrintTo(const SOpenFailure& c, std::ostream* out)
{
    *out << std::hex << c.access << " creation " << c.creation << (c.fileExists ? " existing" : "");
}

class WinFileOpenFailure : public testing::TestWithParam<SOpenFailure>
{
};

TEST_P(WinFileOpenFailure, FailsWithTheWindowsCode)
{
    CTempFolder folder;
    const std::string path = folder.GetPath("f.txt");
    if (GetParam().fileExists)
    {
        folder.WriteFile("f.txt", "x");
    }
    SetLastError(0);
    EXPECT_EQ(
        CreateFileA(path.c_str(), GetParam().access, 0, nullptr, GetParam().creation, 0, nullptr),
        INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WinFileOpenFailure,
    testing::Values(SOpenFailure{GENERIC_READ, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND},
                    SOpenFailure{GENERIC_WRITE, CREATE_NEW, true, ERROR_FILE_EXISTS},
                    SOpenFailure{GENERIC_READ, TRUNCATE_EXISTING, true, ERROR_INVALID_PARAMETER},
                    SOpenFailure{GENERIC_READ, 0, true, ERROR_INVALID_PARAMETER}));

TEST(WinFile, OpeningAFolderIsRefused)
{
    CTempFolder folder;
    EXPECT_EQ(OpenForReading(folder.GetPath()), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(WinFile, OpensAnExistingFileWrittenInAnotherCaseWithEitherSeparator)
{
    CTempFolder folder;
    folder.WriteFile("Study/SERIES1/IMG001.DCM", "pixels");
    const std::string written = "C:" + folder.GetPath() + "\\study\\Series1\\img001.dcm";
    HANDLE file = OpenForReading(written);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadAll(file), "pixels");
    CloseHandle(file);
}

TEST(WinFile, AccessNotAskedForIsRefused)
{
    CTempFolder folder;
    const std::string path = folder.WriteFile("f.txt", "abc");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[3];
    DWORD read = 7;
    EXPECT_FALSE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(read, 0u);
    CloseHandle(file);

    file = OpenForReading(path);
    DWORD written = 7;
    EXPECT_FALSE(WriteFile(file, "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(file);
}

struct SSeekCase
{
    LONG distance;
    DWORD method;
    DWORD expected; // INVALID_SET_FILE_POINTER: refused
    DWORD error;
};

void PrintTo(const SSeekCase& c, std::ostream* out)
{
    *out << c.distance << " from " << c.method;
}

class WinFileSeek : public testing::TestWithParam<SSeekCase>
{
};

TEST_P(WinFileSeek, MovesFromTheGivenOrigin)
{
    CTempFolder folder;
    HANDLE file = OpenForReading(folder.WriteFile("ten.bin", "0123456789"));
    ASSERT_EQ(SetFilePointer(file, 4, nullptr, FILE_BEGIN), 4u);
    SetLastError(0);
    EXPECT_EQ(SetFilePointer(file, GetParam().distance, nullptr, GetParam().method),
              GetParam().expected);
    EXPECT_EQ(GetLastError(), GetParam().error);
    const DWORD position = SetFilePointer(file, 0, nullptr, FILE_CURRENT);
    EXPECT_EQ(position, GetParam().expected == INVALID_SET_FILE_POINTER ? 4u : GetParam().expected);
    CloseHandle(file);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WinFileSeek,
    testing::Values(SSeekCase{2, FILE_BEGIN, 2, 0}, SSeekCase{3, FILE_CURRENT, 7, 0},
                    SSeekCase{-1, FILE_CURRENT, 3, 0}, SSeekCase{-3, FILE_END, 7, 0},
                    SSeekCase{5, FILE_END, 15, 0},
                    SSeekCase{-5, FILE_CURRENT, INVALID_SET_FILE_POINTER, ERROR_NEGATIVE_SEEK},
                    SSeekCase{0, 7, INVALID_SET_FILE_POINTER, ERROR_INVALID_PARAMETER}));

TEST(WinFile, ClosingAnUnknownHandleFailsCleanly)
{
    int notAHandle = 0;
    EXPECT_FALSE(CloseHandle(&notAHandle));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    CTempFolder folder;
    HANDLE file = OpenForReading(folder.WriteFile("f", "x"));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file));
    DWORD read = 0;
    char byte;
    EXPECT_FALSE(ReadFile(file, &byte, 1, &read, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// --- Share modes ----------------------------------------------------------

struct SShareCase
{
    DWORD firstAccess;
    DWORD firstShare;
    DWORD secondAccess;
    DWORD secondShare;
    bool secondOpens;
};

void PrintTo(const SShareCase& c, std::ostream* out)
{
    *out << std::hex << c.firstAccess << "/" << c.firstShare << " then " << c.secondAccess << "/"
         << c.secondShare;
}

class WinFileShare : public testing::TestWithParam<SShareCase>
{
};

constexpr DWORD R = GENERIC_READ;
constexpr DWORD W = GENERIC_WRITE;
constexpr DWORD SR = FILE_SHARE_READ;
constexpr DWORD SW = FILE_SHARE_WRITE;

TEST_P(WinFileShare, ASecondOpenHonoursTheFirst)
{
    CTempFolder folder;
    const std::string path = folder.WriteFile("shared.bin", "data");
    const SShareCase& c = GetParam();
    HANDLE first =
        CreateFileA(path.c_str(), c.firstAccess, c.firstShare, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    HANDLE second = CreateFileA(path.c_str(), c.secondAccess, c.secondShare, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (c.secondOpens)
    {
        EXPECT_NE(second, INVALID_HANDLE_VALUE);
        CloseHandle(second);
    }
    else
    {
        EXPECT_EQ(second, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    CloseHandle(first);
    second = CreateFileA(path.c_str(), c.secondAccess, c.secondShare, nullptr, OPEN_EXISTING, 0,
                         nullptr);
    EXPECT_NE(second, INVALID_HANDLE_VALUE) << "the conflict ends with the first handle";
    CloseHandle(second);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WinFileShare,
    testing::Values(SShareCase{R, SR, R, SR, true}, SShareCase{R, SR, W, SR | SW, false},
                    SShareCase{R, SR | SW, W, SR | SW, true}, SShareCase{W, SR, R, SR | SW, true},
                    SShareCase{W, SR, R, SR, false}, SShareCase{W, 0, R, SR | SW, false},
                    SShareCase{R, 0, R, SR | SW, false}, SShareCase{W, SW, W, SW, true},
                    SShareCase{R | W, SR, R, SR | SW, true}, SShareCase{R | W, SR, R, SR, false},
                    SShareCase{R, SR | SW, R | W, SW, false}));

TEST(WinFile, RuntimeShareCodesMapToShareModes)
{
    CTempFolder folder;
    const std::string path = folder.GetPath("log.txt");
    FILE* log = _fsopen(path.c_str(), "a+b", _SH_DENYWR);
    ASSERT_NE(log, nullptr);
    errno = 0;
    EXPECT_EQ(_fsopen(path.c_str(), "a+b", _SH_DENYWR), nullptr);
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    FILE* reader = _fsopen(path.c_str(), "rb", _SH_DENYNO);
    ASSERT_NE(reader, nullptr) << "reading is what deny-write still allows";
    EXPECT_EQ(_fsopen(path.c_str(), "rb", _SH_DENYRW), nullptr) << "the log is open for writing";
    fclose(reader);
    fclose(log);
    log = _fsopen(path.c_str(), "rb", _SH_DENYRW);
    EXPECT_NE(log, nullptr);
    fclose(log);
}

TEST(WinFile, ARefusedWriteOpenLeavesTheFileIntact)
{
    CTempFolder folder;
    const std::string path = folder.WriteFile("keep.txt", "keep me");
    FILE* holder = _fsopen(path.c_str(), "rb", _SH_DENYWR);
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(_fsopen(path.c_str(), "wb", _SH_DENYNO), nullptr);
    EXPECT_EQ(CreateForWriting(path, FILE_SHARE_READ | FILE_SHARE_WRITE), INVALID_HANDLE_VALUE);
    fclose(holder);
    EXPECT_EQ(folder.ReadFile("keep.txt"), "keep me");
}

TEST(WinFile, AppendStreamReportsTheFileSizeAfterAWrite)
{
    CTempFolder folder;
    const std::string path = folder.WriteFile("append.txt", "12345");
    FILE* stream = _fsopen(path.c_str(), "a+b", _SH_DENYWR);
    ASSERT_NE(stream, nullptr);
    fputs("678\r\n", stream);
    EXPECT_EQ(ftell(stream), 10);
    fclose(stream);
    EXPECT_EQ(folder.ReadFile("append.txt"), "12345678\r\n");
}

TEST(WinFile, RuntimeOpenRefusesBadArguments)
{
    CTempFolder folder;
    errno = 0;
    EXPECT_EQ(_fsopen(folder.GetPath("x").c_str(), "q", _SH_DENYNO), nullptr);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(_fsopen(nullptr, "rb", _SH_DENYNO), nullptr);
    EXPECT_EQ(_fsopen(folder.GetPath("missing").c_str(), "rb", _SH_DENYNO), nullptr);
    EXPECT_EQ(errno, ENOENT);
}

TEST(WinFile, ShareModesHoldAgainstAnotherProcess)
{
    CTempFolder folder;
    const std::string path = folder.GetPath("other.log");
    int ready[2];
    int finish[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(finish), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        FILE* log = _fsopen(path.c_str(), "a+b", _SH_DENYWR);
        char byte = log != nullptr ? 'y' : 'n';
        (void)!write(ready[1], &byte, 1);
        (void)!read(finish[0], &byte, 1);
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'y');
    EXPECT_EQ(_fsopen(path.c_str(), "a+b", _SH_DENYWR), nullptr);
    (void)!write(finish[1], "x", 1);
    int status = 0;
    waitpid(child, &status, 0);
    FILE* log = _fsopen(path.c_str(), "a+b", _SH_DENYWR);
    EXPECT_NE(log, nullptr) << "the holder's exit ends the conflict";
    if (log != nullptr)
    {
        fclose(log);
    }
    for (int fd : {ready[0], ready[1], finish[0], finish[1]})
    {
        close(fd);
    }
}

// --- Names and attributes ------------------------------------------------

TEST(WinFile, DeletesFilesButNotFolders)
{
    CTempFolder folder;
    const std::string path = folder.WriteFile("gone.txt", "x");
    EXPECT_TRUE(DeleteFileA(path.c_str()));
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(DeleteFileA(path.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(DeleteFileA(folder.GetPath().c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST(WinFile, MoveRefusesAnExistingTargetSoRotationDeletesFirst)
{
    CTempFolder folder;
    const std::string log = folder.WriteFile("Veltaro.log", "new");
    const std::string bak = folder.WriteFile("Veltaro.log.bak", "old");
    EXPECT_FALSE(MoveFileA(log.c_str(), bak.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(DeleteFileA(bak.c_str()));
    EXPECT_TRUE(MoveFileA(log.c_str(), bak.c_str()));
    EXPECT_EQ(folder.ReadFile("Veltaro.log.bak"), "new");
    EXPECT_EQ(GetFileAttributesA(log.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(MoveFileA(log.c_str(), bak.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(WinFile, AttributesFollowWritePermissionAndFolders)
{
    CTempFolder folder;
    const std::string path = folder.WriteFile("dict.txt", "x");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesA(path.c_str()), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA(path.c_str()), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(GetFileAttributesA(folder.GetPath().c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA((folder.GetPath() + "\\").c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA(folder.GetPath("none").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(SetFileAttributesA(folder.GetPath("none").c_str(), FILE_ATTRIBUTE_NORMAL));
}

class WinFileTempPath : public testing::Test
{
private:
    CScopedEnvironment m_tmpdir{"TMPDIR"};
};

TEST_F(WinFileTempPath, EndsWithASeparator)
{
    char buffer[MAX_PATH];
    unsetenv("TMPDIR");
    EXPECT_EQ(GetTempPathA(MAX_PATH, buffer), 5u);
    EXPECT_STREQ(buffer, "/tmp/");
    setenv("TMPDIR", "/var/scratch", 1);
    EXPECT_EQ(GetTempPathA(MAX_PATH, buffer), 13u);
    EXPECT_STREQ(buffer, "/var/scratch/");
    EXPECT_EQ(GetTempPathA(5, buffer), 14u) << "too small: the size needed with the NUL";
}
} // namespace
