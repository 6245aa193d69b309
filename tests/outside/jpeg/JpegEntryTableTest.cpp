// The libraries export their entries under the exact names the DICOM library
// looks up.
#include "ShimLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{
// The defined dynamic symbols of lib<name>.so in the output folder, sorted.
std::vector<std::string> ReadExportedNames(const std::string& name)
{
    const std::string command = "nm -D --defined-only --format=posix " +
                                std::string(SUITE_OUTPUT_DIR) + "/lib" + name + ".so";
    std::vector<std::string> names;
    FILE* pPipe = popen(command.c_str(), "r");
    if (pPipe == nullptr)
    {
        return names;
    }
    char line[512];
    while (std::fgets(line, sizeof(line), pPipe) != nullptr)
    {
        names.emplace_back(line, std::strcspn(line, " \n"));
    }
    pclose(pPipe);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> GetQuorexEntryNames()
{
    struct Process
    {
        const char* pPrefix;
        std::vector<const char*> layouts;
    };
    const Process kProcesses[] = {
        {"JPEGBaseline", {"8Bit", "RGB"}},
        {"JPEGProc14", {"8Bit", "16Bit", "RGB"}},
        {"JPEGProc14SV1", {"8Bit", "16Bit", "RGB"}},
        {"JPEGExtendedProc", {"8Bit", "12Bit", "RGB"}},
        {"JPEGSpectralProc", {"8Bit", "12Bit", "RGB"}},
        {"JPEGFullProgress", {"8Bit", "12Bit", "RGB"}},
    };
    std::vector<std::string> names;
    for (const Process& process : kProcesses)
    {
        for (const char* pLayout : process.layouts)
        {
            for (const char* pDirection : {"Encode", "Decode"})
            {
                names.push_back(std::string(process.pPrefix) + "_" + pLayout + pDirection);
            }
        }
    }
    for (const char* pPrefix :
         {"JPEGBaseline", "JPEGExtendedProc", "JPEGSpectralProc", "JPEGFullProgress"})
    {
        names.push_back(std::string(pPrefix) + "_YBRDecode");
        for (const char* pLayout : {"8Bit", "RGB", "YBR"})
        {
            names.push_back(std::string(pPrefix) + "_" + pLayout + "DecodeInto");
        }
    }
    names.push_back("jpgdel");
    return names;
}

TEST(JpegEntryTableTest, QuorexExportsEveryEntry)
{
    const ShimLibrary library("Quorex");
    ASSERT_TRUE(library.IsLoaded());
    for (const std::string& name : GetQuorexEntryNames())
    {
        EXPECT_NE(library.GetEntry<void*>(name.c_str()), nullptr) << name;
    }
}

TEST(JpegEntryTableTest, QuorexExportsNothingElse)
{
    std::vector<std::string> expected = GetQuorexEntryNames();
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ReadExportedNames("Quorex"), expected);
}

TEST(JpegEntryTableTest, QuoralExportsOnlyTheSixteenBitLosslessDecode)
{
    EXPECT_EQ(ReadExportedNames("Quoral"),
              (std::vector<std::string>{"JPEGProc14_16BitDecode", "jpgdel"}));
}

TEST(JpegEntryTableTest, ReleasingNullIsHarmless)
{
    const ShimLibrary library("Quorex");
    const auto pDelete = library.GetEntry<void (*)(unsigned char*)>("jpgdel");
    ASSERT_NE(pDelete, nullptr);
    pDelete(nullptr);
}
} // namespace
