#include "WinSync.h"

#include "ChildProcess.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <thread>

namespace
{
// Lock files go to a folder of the test's own, removed at its end.
class WinSync : public testing::Test
{
protected:
    void SetUp() override { setenv("XDG_RUNTIME_DIR", m_folder.GetPath().c_str(), 1); }

    // A name no other test run uses.
    static std::string GetUniqueName(const char* stem)
    {
        static std::atomic<int> counter{0};
        return std::string("PlatformTest-") + stem + "-" + std::to_string(getpid()) + "-" +
               std::to_string(counter++);
    }

private:
    CTempFolder m_folder;
    // Restored before the folder goes.
    CScopedEnvironment m_runtimeDir{"XDG_RUNTIME_DIR"};
};

bool CreateMutexReportsExisting(const std::string& name)
{
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
    const bool existed = mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    CloseHandle(mutex);
    return existed;
}

TEST_F(WinSync, ANamedMutexExistsWhileAnyHandleIsOpen)
{
    const std::string name = GetUniqueName("mutex");
    HANDLE first = CreateMutexA(nullptr, FALSE, name.c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(CreateMutexReportsExisting(name));
    EXPECT_TRUE(CreateMutexReportsExisting("Global\\" + name));
    EXPECT_TRUE(CloseHandle(first));
    EXPECT_FALSE(CreateMutexReportsExisting(name));
}

// A name without "Global\" belongs to the session (the display); a
// "Global\" name is seen from every session.
TEST_F(WinSync, ALocalNameBelongsToItsSessionAndAGlobalNameToAll)
{
    const std::string name = GetUniqueName("session");
    SetNamedObjectSession(":7");
    HANDLE local = CreateMutexA(nullptr, FALSE, name.c_str());
    HANDLE global = CreateMutexA(nullptr, FALSE, ("Global\\" + name + "-g").c_str());
    EXPECT_TRUE(CreateMutexReportsExisting("Local\\" + name));
    SetNamedObjectSession(":8");
    EXPECT_FALSE(CreateMutexReportsExisting(name));
    EXPECT_FALSE(CreateMutexReportsExisting("Local\\" + name));
    EXPECT_TRUE(CreateMutexReportsExisting("Global\\" + name + "-g"));
    SetNamedObjectSession(nullptr);
    EXPECT_FALSE(CreateMutexReportsExisting(name));
    EXPECT_TRUE(CreateMutexReportsExisting(name + "-g"));
    SetNamedObjectSession(":7");
    EXPECT_TRUE(CreateMutexReportsExisting(name));
    SetNamedObjectSession(nullptr);
    CloseHandle(local);
    CloseHandle(global);
}

TEST_F(WinSync, ANamedMutexIsSeenByAnotherProcess)
{
    const std::string name = GetUniqueName("instance");
    HANDLE mine = CreateMutexA(nullptr, FALSE, name.c_str());
    ASSERT_NE(mine, nullptr);
    {
        CChildProcess child([&name](CChildProcess& self)
                            { self.Report(CreateMutexReportsExisting(name) ? 'e' : 'n'); });
        EXPECT_EQ(child.ReadReport(), 'e');
    }
    CloseHandle(mine);
    CChildProcess child([&name](CChildProcess& self)
                        { self.Report(CreateMutexReportsExisting(name) ? 'e' : 'n'); });
    EXPECT_EQ(child.ReadReport(), 'n');
}

TEST_F(WinSync, AMutexHolderThatCrashesLeavesNothingBehind)
{
    const std::string name = GetUniqueName("crash");
    CChildProcess child(
        [&name](CChildProcess& self)
        {
            CreateMutexA(nullptr, FALSE, name.c_str());
            self.Report('h');
            self.WaitForParent();
            self.Crash();
        });
    ASSERT_EQ(child.ReadReport(), 'h');
    EXPECT_TRUE(CreateMutexReportsExisting(name));
    child.LetGo();
    child.Wait();
    EXPECT_FALSE(CreateMutexReportsExisting(name));
}

// The file this process has open for the named object (its lock file or its
// shared memory), found among the process's descriptors.
std::filesystem::path FindOpenObjectFile(const std::string& name)
{
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
    {
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(entry.path(), error);
        if (!error && target.filename().string().find(name) != std::string::npos)
        {
            return target;
        }
    }
    return {};
}

// Owner and permission bits, or nothing when the file is missing.
std::optional<std::pair<uid_t, mode_t>> GetOwnerAndMode(const std::filesystem::path& path)
{
    struct stat info
    {
    };
    if (lstat(path.c_str(), &info) != 0)
    {
        return std::nullopt;
    }
    return std::make_pair(info.st_uid, info.st_mode & 07777);
}

TEST_F(WinSync, WithoutARuntimeFolderLockFilesGoToAFolderOfTheUsersOwn)
{
    CScopedEnvironment runtimeDir("XDG_RUNTIME_DIR");
    unsetenv("XDG_RUNTIME_DIR");
    const std::string name = GetUniqueName("private");
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
    ASSERT_NE(mutex, nullptr);
    const std::filesystem::path lockFile = FindOpenObjectFile(name);
    ASSERT_FALSE(lockFile.empty());
    EXPECT_EQ(GetOwnerAndMode(lockFile), std::make_pair(geteuid(), mode_t{0600}));
    EXPECT_EQ(GetOwnerAndMode(lockFile.parent_path()), std::make_pair(geteuid(), mode_t{0700}));
    CChildProcess child([&name](CChildProcess& self)
                        { self.Report(CreateMutexReportsExisting(name) ? 'e' : 'n'); });
    EXPECT_EQ(child.ReadReport(), 'e');
    CloseHandle(mutex);
    std::filesystem::remove(lockFile);
}

TEST_F(WinSync, AMutexOrdersThreadsOfThisProcess)
{
    HANDLE mutex = CreateMutexA(nullptr, TRUE, nullptr);
    ASSERT_NE(mutex, nullptr);
    EXPECT_EQ(WaitForSingleObject(mutex, INFINITE), WAIT_OBJECT_0) << "the owner enters again";
    DWORD otherWait = 0;
    BOOL otherRelease = TRUE;
    std::thread(
        [&]
        {
            otherWait = WaitForSingleObject(mutex, 10);
            otherRelease = ReleaseMutex(mutex);
        })
        .join();
    EXPECT_EQ(otherWait, WAIT_TIMEOUT);
    EXPECT_FALSE(otherRelease);
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_TRUE(ReleaseMutex(mutex));
    EXPECT_FALSE(ReleaseMutex(mutex));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
    std::thread([&] { otherWait = WaitForSingleObject(mutex, 10); }).join();
    EXPECT_EQ(otherWait, WAIT_OBJECT_0);
    CloseHandle(mutex);
}

// --- Shared memory -----------------------------------------------------------

HANDLE CreateShared(const std::string& name, DWORD size)
{
    return CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name.c_str());
}

TEST_F(WinSync, NewSharedMemoryIsZeroedAndJoinedByName)
{
    const std::string name = GetUniqueName("block");
    HANDLE first = CreateShared(name, 4);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    auto* view = static_cast<LONG*>(MapViewOfFile(first, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(*view, 0);
    *view = 0x12345678;

    HANDLE second = CreateShared(name, 64);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(MapViewOfFile(second, FILE_MAP_ALL_ACCESS, 0, 0, 64), nullptr)
        << "the existing object keeps its size";
    HANDLE opened = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, ("Global\\" + name).c_str());
    ASSERT_NE(opened, nullptr);
    auto* other = static_cast<LONG*>(MapViewOfFile(opened, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, view);
    EXPECT_EQ(*other, 0x12345678);

    EXPECT_TRUE(UnmapViewOfFile(view));
    EXPECT_TRUE(UnmapViewOfFile(other));
    for (HANDLE handle : {first, second, opened})
    {
        EXPECT_TRUE(CloseHandle(handle));
    }
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(WinSync, AViewKeepsTheObjectAfterItsHandleCloses)
{
    const std::string name = GetUniqueName("view");
    HANDLE mapping = CreateShared(name, 4096);
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    ASSERT_NE(view, nullptr);
    CloseHandle(mapping);
    HANDLE again = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    EXPECT_NE(again, nullptr);
    CloseHandle(again);
    UnmapViewOfFile(view);
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str()), nullptr);
}

TEST_F(WinSync, TwoProcessesShareTheBlock)
{
    const std::string name = GetUniqueName("share");
    HANDLE mapping = CreateShared(name, 4);
    auto* value = static_cast<volatile LONG*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(value, nullptr);
    *value = 1234;
    CChildProcess child(
        [&name](CChildProcess& self)
        {
            HANDLE opened = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
            auto* shared = static_cast<volatile LONG*>(
                opened != nullptr ? MapViewOfFile(opened, FILE_MAP_ALL_ACCESS, 0, 0, 0) : nullptr);
            if (shared == nullptr)
            {
                self.Report('f');
                return;
            }
            const bool sawParent = *shared == 1234;
            *shared = 5678;
            self.Report(sawParent ? 'y' : 'n');
        });
    EXPECT_EQ(child.ReadReport(), 'y');
    child.Wait();
    EXPECT_EQ(*value, 5678);
    UnmapViewOfFile(const_cast<LONG*>(value));
    HANDLE stillThere = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    EXPECT_NE(stillThere, nullptr) << "the parent's handle keeps it";
    CloseHandle(stillThere);
    CloseHandle(mapping);
}

// A child process that makes the named block, fills it with the byte and
// holds it until the parent lets it go; then it crashes.
std::unique_ptr<CChildProcess> HoldBlockUntilCrash(const std::string& name, DWORD size, int fill)
{
    auto child = std::make_unique<CChildProcess>(
        [&name, size, fill](CChildProcess& self)
        {
            HANDLE mapping = CreateShared(name, size);
            std::memset(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0), fill, size);
            self.Report('h');
            self.WaitForParent();
            self.Crash();
        });
    EXPECT_EQ(child->ReadReport(), 'h');
    return child;
}

TEST_F(WinSync, SharedMemoryOfACrashedHolderCountsAsAbsent)
{
    const std::string name = GetUniqueName("stale");
    const std::unique_ptr<CChildProcess> holder = HoldBlockUntilCrash(name, 4, 77);
    CChildProcess& child = *holder;
    HANDLE live = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    EXPECT_NE(live, nullptr);
    CloseHandle(live);
    child.LetGo();
    child.Wait();
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str()), nullptr);
    HANDLE fresh = CreateShared(name, 4);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    auto* value = static_cast<LONG*>(MapViewOfFile(fresh, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    EXPECT_EQ(*value, 0);
    UnmapViewOfFile(value);
    CloseHandle(fresh);
}

TEST_F(WinSync, SharedMemoryIsForItsUserOnlyWhateverTheCallerAsks)
{
    const std::string name = GetUniqueName("everyone");
    SECURITY_DESCRIPTOR descriptor{};
    ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE));
    SECURITY_ATTRIBUTES everyone{sizeof(SECURITY_ATTRIBUTES), &descriptor, TRUE};
    const mode_t oldMask = umask(0);
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, &everyone, PAGE_READWRITE, 0, 4096,
                                        ("Global\\" + name).c_str());
    umask(oldMask);
    ASSERT_NE(mapping, nullptr);
    EXPECT_EQ(GetOwnerAndMode(FindOpenObjectFile(name)), std::make_pair(geteuid(), mode_t{0600}));
    CloseHandle(mapping);
}

TEST_F(WinSync, ACrashedHoldersBlockIsReplacedAtAnySize)
{
    const std::string name = GetUniqueName("resize");
    const std::unique_ptr<CChildProcess> holder = HoldBlockUntilCrash(name, 4096, 0xAB);
    holder->LetGo();
    holder->Wait();
    constexpr DWORD kLarger = 3 * 4096;
    HANDLE fresh = CreateShared(name, kLarger);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    const auto* bytes =
        static_cast<const unsigned char*>(MapViewOfFile(fresh, FILE_MAP_ALL_ACCESS, 0, 0, kLarger));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::count(bytes, bytes + kLarger, 0), static_cast<long>(kLarger));
    UnmapViewOfFile(bytes);
    CloseHandle(fresh);
}

TEST_F(WinSync, BadMappingRequestsFailCleanly)
{
    EXPECT_EQ(CreateShared(GetUniqueName("empty"), 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    int notAHandle = 0;
    EXPECT_EQ(CreateFileMappingA(&notAHandle, nullptr, PAGE_READWRITE, 0, 4, "x"), nullptr);
    EXPECT_EQ(MapViewOfFile(&notAHandle, FILE_MAP_ALL_ACCESS, 0, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(UnmapViewOfFile(&notAHandle));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, nullptr), nullptr);
}

TEST_F(WinSync, AnUnnamedMappingIsPrivateMemory)
{
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 100, nullptr);
    ASSERT_NE(mapping, nullptr);
    auto* bytes = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 100));
    ASSERT_NE(bytes, nullptr);
    std::memset(bytes, 'a', 100);
    EXPECT_TRUE(UnmapViewOfFile(bytes));
    EXPECT_TRUE(CloseHandle(mapping));
}
} // namespace
