#include "WinModule.h"

#include "ChildProgram.h"
#include "TempFolder.h"
#include "WinError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <link.h>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace
{
using AnswerProc = int (*)();

constexpr const char* kTestModule = "PlatformTestModule.dll";

std::string GetModulePath(HMODULE module)
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    return std::string(path, length);
}

std::string GetFolder(const std::string& path)
{
    return path.substr(0, path.find_last_of('/') + 1);
}

class WinModule : public testing::Test
{
protected:
    void TearDown() override { ClearFakeModules(); }
};

TEST_F(WinModule, LoadsNameDotDllFromTheCallersFolder)
{
    HMODULE module = LoadLibraryA(kTestModule);
    ASSERT_NE(module, nullptr);
    const std::string path = GetModulePath(module);
    EXPECT_TRUE(path.ends_with("/libPlatformTestModule.so")) << path;
    EXPECT_EQ(GetFolder(path), GetFolder(GetModulePath(nullptr)));
    EXPECT_EQ(GetModuleHandleA(kTestModule), module);
    EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(WinModule, FindsEntriesByTheirExactNameOnly)
{
    HMODULE module = LoadLibraryA(kTestModule);
    ASSERT_NE(module, nullptr);
    auto answer = CastFarProc<AnswerProc>(GetProcAddress(module, "TestModuleAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    for (const char* missing : {"testmoduleanswer", "TESTMODULEANSWER", "NoSuchEntry", "malloc"})
    {
        SetLastError(0);
        EXPECT_EQ(GetProcAddress(module, missing), nullptr) << missing;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND)) << missing;
    }
    FreeLibrary(module);
}

TEST_F(WinModule, CountsLoadsAndKeepsCodeMappedAfterTheLastFree)
{
    HMODULE first = LoadLibraryA(kTestModule);
    HMODULE second = LoadLibraryA(kTestModule);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    auto answer = CastFarProc<AnswerProc>(GetProcAddress(first, "TestModuleAnswer"));
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_FALSE(FreeLibrary(second));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(answer(), 42);
}

TEST_F(WinModule, AnAbsentLibraryGivesNullAndModNotFound)
{
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA("NoSuchLibrary.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(LoadLibraryA("C:\\nowhere\\NoSuchLibrary.dll"), nullptr);
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_EQ(GetModuleHandleA("NoSuchLibrary.dll"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "x"), nullptr);
}

TEST_F(WinModule, LoadsFromTheCurrentDirectoryAndFromAWindowsPath)
{
    HMODULE module = LoadLibraryA(kTestModule);
    const std::string original = GetModulePath(module);
    FreeLibrary(module);
    CTempFolder folder;
    std::filesystem::copy_file(original, folder.GetPath("libCwdModule.so"));
    std::filesystem::copy_file(original, folder.GetPath("libPathModule.so"));
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.GetPath());
    HMODULE fromCurrent = LoadLibraryA("CwdModule.dll");
    std::filesystem::current_path(previous);
    ASSERT_NE(fromCurrent, nullptr);
    EXPECT_EQ(GetModulePath(fromCurrent), folder.GetPath("libCwdModule.so"));

    const std::string windowsPath = "D:" + folder.GetPath() + "\\PathModule.dll";
    HMODULE fromPath = LoadLibraryA(windowsPath.c_str());
    ASSERT_NE(fromPath, nullptr);
    EXPECT_NE(GetProcAddress(fromPath, "TestModuleTwice"), nullptr);
    FreeLibrary(fromCurrent);
    FreeLibrary(fromPath);
}

// The loadable segments of one object of the process and its lowest
// loaded address.
struct LoadedObject
{
    std::string name;
    std::uintptr_t base = UINTPTR_MAX;
    std::vector<std::pair<std::uintptr_t, std::uintptr_t>> segments; // [start, end)
};

std::vector<LoadedObject> GetLoadedObjects()
{
    std::vector<LoadedObject> objects;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data)
        {
            LoadedObject object;
            object.name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i)
            {
                const ElfW(Phdr)& segment = info->dlpi_phdr[i];
                if (segment.p_type != PT_LOAD || segment.p_memsz == 0)
                    continue;
                const std::uintptr_t start = info->dlpi_addr + segment.p_vaddr;
                object.base = std::min(object.base, start);
                object.segments.emplace_back(start, start + segment.p_memsz);
            }
            static_cast<std::vector<LoadedObject>*>(data)->push_back(std::move(object));
            return 0;
        },
        &objects);
    return objects;
}

// The module of any address of the program or of a library, its first
// header byte included, is the object's lowest loaded address; the program
// is the module of a null name. How the linker laid the program out (which
// changes with the length of the paths built into it) makes no difference.
TEST_F(WinModule, EveryAddressOfALoadedObjectBelongsToItsModule)
{
    HMODULE module = LoadLibraryA(kTestModule);
    ASSERT_NE(module, nullptr);
    const std::vector<LoadedObject> objects = GetLoadedObjects();
    ASSERT_FALSE(objects.empty());
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr)), objects.front().base);
    for (const LoadedObject& object : objects)
    {
        if (object.segments.empty() || object.name.find("linux-vdso") != std::string::npos)
            continue;
        for (const auto& [start, end] : object.segments)
        {
            for (const std::uintptr_t address : {start, start + (end - start) / 2, end - 1})
            {
                HMODULE owner = nullptr;
                EXPECT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                                   GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                               reinterpret_cast<LPCSTR>(address), &owner))
                    << object.name << " at " << std::hex << address;
                EXPECT_EQ(reinterpret_cast<std::uintptr_t>(owner), object.base)
                    << object.name << " at " << std::hex << address;
            }
        }
    }
    FreeLibrary(module);
}

// A program in a folder of a long name (the program's path 200 characters
// long) still finds a library beside itself.
TEST_F(WinModule, AProgramWithALongPathLoadsFromItsFolder)
{
    CTempFolder temp;
    const std::string program = "ModuleLookupProbe";
    const std::size_t nFolder = 200 - program.size() - 1;
    const std::filesystem::path folder =
        temp.GetPath() + "/" + std::string(nFolder - temp.GetPath().size() - 1, 'p');
    std::filesystem::create_directory(folder);
    ASSERT_EQ((folder / program).string().size(), 200u);
    std::filesystem::copy_file(std::string(SUITE_OUTPUT_DIR) + "/" + program, folder / program);
    std::filesystem::copy_file(std::string(SUITE_OUTPUT_DIR) + "/libPlatformTestModule.so",
                               folder / "libPlatformTestModule.so");
    CChildProgram probe((folder / program).string(), {});
    EXPECT_EQ(probe.WaitForLine(""), (folder / "libPlatformTestModule.so").string());
    EXPECT_EQ(probe.Wait(), 0);
}

TEST_F(WinModule, NamesTheProgramAndTheModuleOfAnAddress)
{
    char expected[MAX_PATH] = {};
    ASSERT_GT(readlink("/proc/self/exe", expected, sizeof expected - 1), 0);
    EXPECT_EQ(GetModulePath(nullptr), expected);
    EXPECT_EQ(GetModulePath(GetModuleHandleA(nullptr)), expected);

    HMODULE module = LoadLibraryA(kTestModule);
    FARPROC entry = GetProcAddress(module, "TestModuleTwice");
    HMODULE owner = nullptr;
    EXPECT_TRUE(GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                       GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   reinterpret_cast<LPCSTR>(entry), &owner));
    EXPECT_EQ(owner, module);
    FreeLibrary(module);
}

TEST_F(WinModule, CutsALongFileNameToTheBuffer)
{
    char buffer[5];
    EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, sizeof buffer), 5u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(buffer), GetModulePath(nullptr).substr(0, 4));
}

void* FakeCreate()
{
    return nullptr;
}

int FakeDelete()
{
    return 7;
}

TEST_F(WinModule, FakesAreFoundBeforeAnyFile)
{
    const FakeModuleEntry entries[] = {MakeFakeModuleEntry("jpgcreate", &FakeCreate),
                                       MakeFakeModuleEntry("jpgdel", &FakeDelete)};
    RegisterFakeModule("Quorex.dll", entries);
    HMODULE module = LoadLibraryA("C:\\Program\\QUOREX.DLL");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(GetFakeModuleLoadCount("quorex.dll"), 1);
    EXPECT_EQ(GetModuleHandleA("Quorex.dll"), module);
    EXPECT_EQ(GetModulePath(module), "Quorex.dll");
    auto remove = CastFarProc<int (*)()>(GetProcAddress(module, "jpgdel"));
    ASSERT_NE(remove, nullptr);
    EXPECT_EQ(remove(), 7);
    auto create = CastFarProc<void* (*)()>(GetProcAddress(module, "jpgcreate"));
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(create(), nullptr);
    EXPECT_EQ(GetProcAddress(module, "JPGDEL"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetFakeModuleLoadCount("Quorex.dll"), 0);
    EXPECT_FALSE(FreeLibrary(module));
}

TEST_F(WinModule, AnAbsentFakeHidesARealLibrary)
{
    RegisterAbsentModule(kTestModule);
    EXPECT_EQ(LoadLibraryA(kTestModule), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    UnregisterFakeModule(kTestModule);
    HMODULE module = LoadLibraryA(kTestModule);
    EXPECT_NE(module, nullptr);
    FreeLibrary(module);
}

TEST_F(WinModule, AFakeWithoutEntriesLoadsButOffersNothing)
{
    RegisterFakeModule("Vennet.dll", {});
    HMODULE module = LoadLibraryA("Vennet.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(GetProcAddress(module, "Vennet_DEL"), nullptr);
    ClearFakeModules();
    EXPECT_EQ(GetFakeModuleLoadCount("Vennet.dll"), -1);
    EXPECT_EQ(GetProcAddress(module, "Vennet_DEL"), nullptr) << "a cleared fake is gone";
    EXPECT_FALSE(FreeLibrary(module));
}
} // namespace
