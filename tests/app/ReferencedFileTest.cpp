// Referenced File IDs found below a DICOMDIR's folder: as written, or by a
// component that differs in case or carries a ";1" version suffix.
#include "ReferencedFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{
namespace fs = std::filesystem;

TEST(ReferencedFileTest, ComponentsMatchAsWrittenOrWithoutCaseAndVersion)
{
    const fs::path folder =
        fs::temp_directory_path() /
        ("pelivorun-refid-" + std::to_string(reinterpret_cast<std::uintptr_t>(&folder)));
    fs::create_directories(folder / "patient" / "SERIES1");
    for (const char* name : {"patient/SERIES1/img1;1", "patient/SERIES1/IMG2"})
        std::ofstream(folder / name) << "x";
    const std::string base = folder.string() + "/";
    const struct
    {
        const char* fileID;
        const char* expected;
    } cases[] = {{"PATIENT\\SERIES1\\IMG1", "patient/SERIES1/img1;1"},
                 {"patient\\series1\\img2", "patient/SERIES1/IMG2"},
                 {"PATIENT\\SERIES1\\IMG2 ", "patient/SERIES1/IMG2"},
                 {"PATIENT\\NONE\\IMG3", "patient/NONE/IMG3"}};
    for (const auto& c : cases)
        EXPECT_EQ(ResolveReferencedFile(base, c.fileID), (folder / c.expected).string())
            << c.fileID;
    fs::remove_all(folder);
}
} // namespace
