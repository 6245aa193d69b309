// Helpers of the file and meta information tests: a folder of their own for
// each test, a sample image data set holding every kind of value the coders
// treat apart, and raw bytes in and out of files.
#pragma once

#include "DICOMDataSet.h"
#include "DICOMFile.h"
#include "LibraryTestSupport.h"
#include "MetaInfo.h"
#include "UID.h"
#include "VR.h"
#include "VRCode.h"
#include "WinFile.h"
#include "WinHandle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Empty for anything but a regular file.
inline Bytes ReadBytes(const std::string& path)
{
    if (!std::filesystem::is_regular_file(path))
    {
        return {};
    }
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A handle that shares the file with nobody, as another program holding
// it open exclusively has; the caller closes it.
inline HANDLE HoldExclusively(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The library started, and a folder for the test's files.
class FileFolderTest : public LibraryTest
{
protected:
    void SetUp() override
    {
        LibraryTest::SetUp();
        m_folder = std::filesystem::temp_directory_path() /
                   ("veltaro-files-" + std::to_string(getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override
    {
        std::filesystem::remove_all(m_folder);
        LibraryTest::TearDown();
    }

    std::string PathOf(const char* name) const { return (m_folder / name).string(); }
    // The names of the files the folder holds.
    std::vector<std::string> FolderEntries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder))
        {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    std::filesystem::path m_folder;
};

inline constexpr std::uint32_t SamplePixelCount = 16;

// A 4 x 4 16-bit image with texts, UIDs, numbers of every binary VR, a tag
// list, a private element and a sequence with a nested sequence.
inline void FillSampleImage(DICOMVRSet& set)
{
    set.Add(0x0008, 0x0005, "ISO_IR 100");
    set.Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.4"));
    set.Add(0x0008, 0x0018, UID("1.2.840.84658685.77.1.2.3"));
    set.Add(0x0008, 0x0060, "MR");
    set.Add(0x0008, 0x9459, 29.97f);
    set.Add(0x0008, 0x2134, -1.25);
    set.Add(0x0010, 0x0010, "Doe^Jane");
    set.Add(0x0018, 0x6020, -70000);
    set.Add(0x0018, 0x9219, static_cast<short>(-12));
    const unsigned short pointer[2] = {0x0020, 0x9157};
    set.Add(0x0020, 0x9165, pointer, 2);
    set.GetVR(0x0020, 0x9165)->SetTypeCode(VRCode::AT);
    set.Add(0x0020, 0x0032, "-120.5\\-98.25\\33");
    set.Add(0x0009, 0x0010, "SAMPLE CREATOR");
    set.Add(0x0009, 0x1001, "private text");

    DICOMDataSet nested;
    nested.Add(0x0008, 0x0100, "T-D1100");
    DICOMDataSet first;
    first.Add(0x0008, 0x1150, UID("1.2.840.10008.5.1.4.1.1.4"));
    first.Add(0x0008, 0x1155, UID("1.2.840.84658685.77.1.2.1"));
    first.Add(0x0008, 0x2218, nested);
    DICOMDataSet second;
    second.Add(0x0008, 0x1150, UID("1.2.840.10008.5.1.4.1.1.4"));
    second.Add(0x0008, 0x1155, UID("1.2.840.84658685.77.1.2.2"));
    set.Add(0x0008, 0x1140, first);
    set.Add(0x0008, 0x1140, second);

    set.Add(0x0028, 0x0002, static_cast<unsigned short>(1));
    set.Add(0x0028, 0x0004, "MONOCHROME2");
    set.Add(0x0028, 0x0010, static_cast<unsigned short>(4));
    set.Add(0x0028, 0x0011, static_cast<unsigned short>(4));
    set.Add(0x0028, 0x0100, static_cast<unsigned short>(16));
    set.Add(0x0028, 0x0101, static_cast<unsigned short>(12));
    set.Add(0x0028, 0x0102, static_cast<unsigned short>(11));
    unsigned short pixels[SamplePixelCount];
    for (std::uint32_t i = 0; i < SamplePixelCount; ++i)
    {
        pixels[i] = static_cast<unsigned short>(0x0102 * i + 3);
    }
    set.Add(0x7FE0, 0x0010, pixels, static_cast<int>(SamplePixelCount));
    set.GetVR(0x7FE0, 0x0010)->SetTypeCode(VRCode::OW);
}

// The tags of the explicit VR little-endian elements that start at offset,
// with each element's offset, while their group is the one given; sequences
// and items are not entered.
struct ElementAt
{
    std::uint32_t Tag;
    std::uint32_t Offset;
    std::uint32_t ValueOffset;
    std::uint32_t Length;
};

inline std::vector<ElementAt> WalkExplicitGroup(const Bytes& bytes, std::uint32_t offset,
                                                std::uint16_t group)
{
    std::vector<ElementAt> elements;
    while (offset + 8 <= bytes.size())
    {
        const std::uint16_t elementGroup =
            static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
        if (elementGroup != group)
        {
            break;
        }
        const std::uint16_t number =
            static_cast<std::uint16_t>(bytes[offset + 2] | bytes[offset + 3] << 8);
        const std::uint16_t code = VRCode::Make(static_cast<char>(bytes[offset + 4]),
                                                static_cast<char>(bytes[offset + 5]));
        ElementAt element = {static_cast<std::uint32_t>(group) << 16 | number, offset, 0, 0};
        if (VRCode::IsLongForm(code))
        {
            element.Length = static_cast<std::uint32_t>(
                bytes[offset + 8] | bytes[offset + 9] << 8 | bytes[offset + 10] << 16 |
                static_cast<std::uint32_t>(bytes[offset + 11]) << 24);
            element.ValueOffset = offset + 12;
        }
        else
        {
            element.Length = static_cast<std::uint32_t>(bytes[offset + 6] | bytes[offset + 7] << 8);
            element.ValueOffset = offset + 8;
        }
        elements.push_back(element);
        offset = element.ValueOffset + element.Length;
    }
    return elements;
}

inline std::uint32_t ReadLittle32(const Bytes& bytes, std::uint32_t offset)
{
    return static_cast<std::uint32_t>(bytes[offset] | bytes[offset + 1] << 8 |
                                      bytes[offset + 2] << 16) |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

// The sample image as a Part 10 file in explicit VR little endian.
inline Bytes SampleImageFile()
{
    DICOMFile file;
    FillSampleImage(file);
    file.SetTransferSyntax(UidTransferLittleEndianExplicit);
    Bytes image(file.GetEncodeSize(1));
    file.Serialize(image.data(), static_cast<int>(image.size()));
    return image;
}

// Inputs that no read can use, made in the folder; each returns its path.
inline std::string MakeMissingFile(const std::string& folder)
{
    return folder + "/missing.dcm";
}

inline std::string MakeDirectory(const std::string& folder)
{
    const std::string path = folder + "/folder.dcm";
    std::filesystem::create_directory(path);
    return path;
}

inline std::string MakeEmptyFile(const std::string& folder)
{
    const std::string path = folder + "/empty.dcm";
    WriteBytes(path, {});
    return path;
}

inline std::string MakeZerosFile(const std::string& folder)
{
    const std::string path = folder + "/zeros.dcm";
    WriteBytes(path, Bytes(4096, 0));
    return path;
}

// The sample cut after "DICM".
inline std::string MakePreambleOnlyFile(const std::string& folder)
{
    Bytes image = SampleImageFile();
    image.resize(MetaInfo::PrefixSize);
    const std::string path = folder + "/preamble.dcm";
    WriteBytes(path, image);
    return path;
}

// The sample cut in the middle of its patient name.
inline std::string MakeTruncatedFile(const std::string& folder)
{
    Bytes image = SampleImageFile();
    const std::string name = "Doe^Jane";
    const auto at = std::search(image.begin(), image.end(), name.begin(), name.end());
    image.erase(at + 3, image.end());
    const std::string path = folder + "/truncated.dcm";
    WriteBytes(path, image);
    return path;
}
