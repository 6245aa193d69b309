// Every file of the sample corpus is read whole and header-only: it reads,
// or it fails with a result of 0; a header-only read of a file with pixel
// data stops exactly at the pixel-data tag and holds what the whole read
// holds but the pixel data.
#include "DICOMFile.h"
#include "LibraryTestSupport.h"
#include "UID.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

// Files that cannot be read whole: cut short, coded otherwise than their
// transfer syntax says, deflated, or not DICOM data at all.
const std::set<std::string> BrokenFiles = {
    "pydicom/test_files/MR_truncated.dcm",
    "pydicom/test_files/rtplan_truncated.dcm",
    "pydicom/test_files/SC_rgb_jpeg.dcm",
    "pydicom/test_files/no_meta.dcm",
    "pydicom/test_files/image_dfl.dcm",
    "pydicom/test_files/zipMR.gz",
    "pydicom/test_files/dicomdirtests/TINY_ALPHA/README",
};

bool IsDocument(const fs::path& path)
{
    const std::string extension = path.extension().string();
    return extension == ".md" || extension == ".txt" || extension == ".tsv";
}

std::vector<std::string> CorpusFiles()
{
    std::vector<std::string> files;
    for (const char* folder : {"pydicom", "octave-dicom"})
    {
        const fs::path root = fs::path(SUITE_CORPUS_DIR) / folder;
        if (!fs::is_directory(root))
        {
            continue;
        }
        for (const auto& entry : fs::recursive_directory_iterator(root))
        {
            if (entry.is_regular_file() && !IsDocument(entry.path()))
            {
                files.push_back(fs::relative(entry.path(), SUITE_CORPUS_DIR).string());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::uint8_t> BytesAt(const std::string& path, std::uint32_t offset, std::size_t n)
{
    std::ifstream in(path, std::ios::binary);
    in.seekg(offset);
    std::vector<std::uint8_t> bytes(n);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(n));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

bool IsPixelTagAt(const std::string& path, std::uint32_t offset)
{
    const std::vector<std::uint8_t> little = {0xE0, 0x7F, 0x10, 0x00};
    const std::vector<std::uint8_t> big = {0x7F, 0xE0, 0x00, 0x10};
    const std::vector<std::uint8_t> bytes = BytesAt(path, offset, 4);
    return bytes == little || bytes == big;
}

class DICOMFileCorpus : public LibraryTest
{
};

TEST_F(DICOMFileCorpus, EveryFileReadsOrFailsCleanly)
{
    const std::vector<std::string> files = ::CorpusFiles();
    if (files.empty())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    for (const std::string& name : files)
    {
        SCOPED_TRACE(name);
        const std::string path = std::string(SUITE_CORPUS_DIR) + "/" + name;
        DICOMFile whole;
        const int read = whole.ReadFile(path.c_str());
        EXPECT_EQ(read != 0, BrokenFiles.count(name) == 0);

        DICOMFile header;
        const int stop = header.ReadFileNoImage(path.c_str());
        if (read == 0)
        {
            continue;
        }
        ASSERT_GT(stop, 0);
        EXPECT_EQ(header.GetUINT32(DICOMFile::StopOffsetGroup, DICOMFile::StopOffsetElement),
                  static_cast<unsigned int>(stop));
        if (whole.IsExist(0x7FE0, 0x0010) != 0)
        {
            EXPECT_TRUE(IsPixelTagAt(path, static_cast<std::uint32_t>(stop)));
        }
        else
        {
            EXPECT_EQ(static_cast<unsigned int>(stop), whole.GetFileSize());
        }
        DICOMDataSet beforePixels;
        whole.CopyTo(beforePixels, 0, DICOMFile::PixelDataTag - 1);
        header.Delete(DICOMFile::StopOffsetGroup, DICOMFile::StopOffsetElement);
        EXPECT_TRUE(header == beforePixels);
    }
}

} // namespace
