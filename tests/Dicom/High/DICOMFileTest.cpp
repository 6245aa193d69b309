#include "DICOMFile.h"

#include "FileBuffer.h"
#include "FileTestSupport.h"
#include "MetaInfo.h"
#include "WinFile.h"
#include "WinHandle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace
{

constexpr std::uint32_t PixelBytes = SamplePixelCount * 2;

class DICOMFileTest : public FileFolderTest
{
protected:
    // The sample image written in the syntax, with or without its pixels.
    std::string WriteSample(const char* name, const UID& syntax, DICOMFile& file,
                            bool pixels = true)
    {
        FillSampleImage(file);
        if (!pixels)
        {
            file.Delete(0x7FE0, 0x0010);
        }
        file.SetTransferSyntax(syntax);
        const std::string path = PathOf(name);
        EXPECT_NE(file.WriteFile(path.c_str(), 1), 0);
        return path;
    }
};

struct SyntaxCase
{
    const char* name;
    const char* uid;
    const char* syntaxAfterRead; // a big-endian file is held in host order once read
    std::uint32_t pixelHeader;   // bytes before the pixel value
};

class NativeSyntax : public DICOMFileTest, public ::testing::WithParamInterface<SyntaxCase>
{
};

TEST_P(NativeSyntax, FileReadsBackEqual)
{
    DICOMFile written;
    const std::string path = WriteSample("sample.dcm", UID(GetParam().uid), written);
    DICOMFile read;
    ASSERT_NE(read.ReadFile(path.c_str()), 0);
    EXPECT_TRUE(read == written);
    UID syntax;
    read.GetTransferSyntax(syntax);
    EXPECT_STREQ(syntax, GetParam().syntaxAfterRead);
    EXPECT_STREQ(read.GetFileName(), path.c_str());
}

TEST_P(NativeSyntax, SizesAndOffsetsMatchTheBytesWritten)
{
    DICOMFile written;
    const std::string path = WriteSample("sample.dcm", UID(GetParam().uid), written);
    const Bytes bytes = ReadBytes(path);
    EXPECT_EQ(bytes.size(), written.GetEncodeSize(1));
    EXPECT_EQ(bytes.size(), written.GetFileSize());

    const std::vector<ElementAt> meta = WalkExplicitGroup(bytes, MetaInfo::PrefixSize, 0x0002);
    ASSERT_GE(meta.size(), 2u);
    EXPECT_EQ(meta[0].Tag, 0x00020000u);
    const std::uint32_t dataSetStart = meta.back().ValueOffset + meta.back().Length;
    EXPECT_EQ(ReadLittle32(bytes, meta[0].ValueOffset), dataSetStart - meta[1].Offset);

    DICOMFile header;
    const int stop = header.ReadFileNoImage(path.c_str());
    const std::uint32_t pixelOffset =
        static_cast<std::uint32_t>(bytes.size()) - PixelBytes - GetParam().pixelHeader;
    EXPECT_EQ(static_cast<std::uint32_t>(stop), pixelOffset);
    EXPECT_EQ(header.GetUINT32(DICOMFile::StopOffsetGroup, DICOMFile::StopOffsetElement),
              pixelOffset);
    EXPECT_EQ(header.IsExist(0x7FE0, 0x0010), 0);
}

TEST_P(NativeSyntax, MemoryImageIsTheFile)
{
    DICOMFile written;
    const std::string path = WriteSample("sample.dcm", UID(GetParam().uid), written);
    const Bytes file = ReadBytes(path);
    const int size = written.Serialize(nullptr, 0);
    ASSERT_EQ(static_cast<std::size_t>(size), file.size());
    Bytes image(static_cast<std::size_t>(size));
    EXPECT_EQ(written.Serialize(image.data(), size), size);
    EXPECT_EQ(image, file);

    DICOMFile read;
    EXPECT_EQ(read.Deserialize(image.data(), size), size);
    EXPECT_TRUE(read == written);
    DICOMFile header;
    const int stop = header.DeserializeTillTag(image.data(), size, DICOMFile::PixelDataTag);
    EXPECT_EQ(static_cast<std::uint32_t>(stop),
              static_cast<std::uint32_t>(size) - PixelBytes - GetParam().pixelHeader);
}

INSTANTIATE_TEST_SUITE_P(
    Syntaxes, NativeSyntax,
    ::testing::Values(SyntaxCase{"ImplicitLittle", "1.2.840.10008.1.2", "1.2.840.10008.1.2", 8},
                      SyntaxCase{"ExplicitLittle", "1.2.840.10008.1.2.1", "1.2.840.10008.1.2.1",
                                 12},
                      SyntaxCase{"ExplicitBig", "1.2.840.10008.1.2.2", "1.2.840.10008.1.2.1", 12}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DICOMFileTest, HeaderReadWithoutPixelDataEndsAtTheEndOfTheFile)
{
    DICOMFile written;
    const std::string path =
        WriteSample("header.dcm", UidTransferLittleEndianExplicit, written, false);
    DICOMFile header;
    EXPECT_EQ(static_cast<unsigned int>(header.ReadFileNoImage(path.c_str())),
              written.GetFileSize());
    header.Delete(DICOMFile::StopOffsetGroup, DICOMFile::StopOffsetElement);
    EXPECT_TRUE(header == written);
}

TEST_F(DICOMFileTest, HeaderReadEndsBeforeBytesTooFewForATag)
{
    DICOMFile written;
    const std::string path = WriteSample("trailing.dcm", UidTransferLittleEndian, written, false);
    Bytes bytes = ReadBytes(path);
    const std::size_t size = bytes.size();
    bytes.push_back(0x08);
    bytes.push_back(0x00);
    WriteBytes(path, bytes);
    DICOMFile header;
    EXPECT_EQ(static_cast<std::size_t>(header.ReadFileNoImage(path.c_str())), size);
    DICOMFile whole;
    EXPECT_NE(whole.ReadFile(path.c_str()), 0);
}

TEST_F(DICOMFileTest, BareDataSetStartsWithItsFirstElement)
{
    DICOMFile written;
    FillSampleImage(written);
    const std::string path = PathOf("bare.raw");
    ASSERT_NE(written.WriteFile(path.c_str(), 0), 0);
    const Bytes bytes = ReadBytes(path);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8),
              (Bytes{0x08, 0x00, 0x05, 0x00, 0x0A, 0x00, 0x00, 0x00}));
    EXPECT_EQ(bytes.size(), written.GetEncodeSize(0));
    DICOMFile read;
    ASSERT_NE(read.ReadFile(path.c_str()), 0);
    EXPECT_TRUE(read == written);
}

TEST_F(DICOMFileTest, ImplicitFilesLeaveOutTheWorkingGroup)
{
    for (const UID& syntax : {UidTransferLittleEndian, UidTransferLittleEndianExplicit})
    {
        DICOMFile written;
        FillSampleImage(written);
        written.Add(DICOMFile::StopOffsetGroup, DICOMFile::StopOffsetElement, 1234u);
        written.SetTransferSyntax(syntax);
        const std::string path = PathOf("working.dcm");
        ASSERT_NE(written.WriteFile(path.c_str(), 1), 0);
        EXPECT_EQ(written.GetUINT32(DICOMFile::StopOffsetGroup, DICOMFile::StopOffsetElement),
                  1234u);
        DICOMFile read;
        ASSERT_NE(read.ReadFile(path.c_str()), 0);
        EXPECT_EQ(read.IsExist(DICOMFile::StopOffsetGroup, 0),
                  syntax == UidTransferLittleEndian ? 0 : 1);
    }
}

TEST_F(DICOMFileTest, MetaElementsOfTheDataSetGoToTheHeaderOnly)
{
    DICOMFile written;
    FillSampleImage(written);
    written.Add(0x0002, 0x0013, "STRAY");
    written.SetTransferSyntax(UidTransferLittleEndianExplicit);
    const std::string path = PathOf("stray.dcm");
    ASSERT_NE(written.WriteFile(path.c_str(), 1), 0);
    EXPECT_EQ(written.IsExist(0x0002, 0x0013), 1);
    DICOMFile read;
    ASSERT_NE(read.ReadFile(path.c_str()), 0);
    EXPECT_EQ(read.IsExist(0x0002, 0), 0);
    DICOMDataSet meta;
    EXPECT_EQ(read.GetMetaInfo(&meta), 1);
    EXPECT_STREQ(meta.GetLettra(0x0002, 0x0013), "TQELM20001.0");
    EXPECT_EQ(read.GetMetaInfo(nullptr), 0);
    EXPECT_EQ(written.RemoveMetaHead(), 1);
    EXPECT_EQ(written.IsExist(0x0002, 0), 0);
}

TEST_F(DICOMFileTest, SerializeIntoASmallBufferAsksForMore)
{
    DICOMFile file;
    FillSampleImage(file);
    file.SetTransferSyntax(UidTransferLittleEndianExplicit);
    const int size = file.Serialize(nullptr, 0);
    Bytes buffer(static_cast<std::size_t>(size) - 1, 0xEE);
    EXPECT_EQ(file.Serialize(buffer.data(), size - 1), size);
    EXPECT_EQ(std::string(buffer.begin() + 128, buffer.begin() + 132), "DICM");
}

TEST_F(DICOMFileTest, UnknownSyntaxCannotBeWritten)
{
    DICOMFile file;
    FillSampleImage(file);
    file.SetTransferSyntax(UID("1.2.3.4"));
    EXPECT_EQ(file.GetEncodeSize(1), 0u);
    Bytes buffer(4096);
    EXPECT_EQ(file.Serialize(buffer.data(), static_cast<int>(buffer.size())), 0);
    EXPECT_EQ(file.WriteFile(PathOf("unknown.dcm").c_str(), 1), 0);
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(DICOMFileTest, FailedWriteLeavesTheGoodFileInPlace)
{
    DICOMFile good;
    const std::string path = WriteSample("good.dcm", UidTransferLittleEndianExplicit, good);
    const Bytes before = ReadBytes(path);
    DICOMFile bad;
    FillSampleImage(bad);
    bad.SetTransferSyntax(UID("1.2.3.4"));
    EXPECT_EQ(bad.WriteFile(path.c_str(), 1), 0);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"good.dcm"});
}

TEST_F(DICOMFileTest, FileHeldByAnotherHandleIsNotReplaced)
{
    DICOMFile good;
    const std::string path = WriteSample("held.dcm", UidTransferLittleEndianExplicit, good);
    const Bytes before = ReadBytes(path);
    DFB reader;
    ASSERT_NE(reader.OpenForRead(path.c_str(), 0x20), 0);
    good.SetTransferSyntax(UidTransferLittleEndian);
    EXPECT_EQ(good.WriteFile(path.c_str(), 1), 0);
    reader.Close();
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"held.dcm"});
    EXPECT_NE(good.WriteFile(path.c_str(), 1), 0);
    EXPECT_NE(ReadBytes(path), before);
}

TEST_F(DICOMFileTest, WriteIntoAMissingFolderFails)
{
    DICOMFile file;
    FillSampleImage(file);
    file.SetTransferSyntax(UidTransferLittleEndianExplicit);
    EXPECT_EQ(file.WriteFile(PathOf("missing/file.dcm").c_str(), 1), 0);
}

struct BadInput
{
    const char* name;
    std::string (*make)(const std::string& folder);
};

class UnreadableInput : public DICOMFileTest, public ::testing::WithParamInterface<BadInput>
{
};

TEST_P(UnreadableInput, GivesAFailureResult)
{
    const std::string path = GetParam().make(m_folder.string());
    DICOMFile file;
    EXPECT_EQ(file.ReadFile(path.c_str()), 0);
    EXPECT_EQ(file.ReadFileNoImage(path.c_str()), 0);
    const Bytes bytes = ReadBytes(path);
    DICOMFile image;
    EXPECT_EQ(image.Deserialize(bytes.data(), static_cast<int>(bytes.size())), 0);
}

INSTANTIATE_TEST_SUITE_P(Files, UnreadableInput,
                         ::testing::Values(BadInput{"Missing", MakeMissingFile},
                                           BadInput{"Directory", MakeDirectory},
                                           BadInput{"Empty", MakeEmptyFile},
                                           BadInput{"Zeros", MakeZerosFile},
                                           BadInput{"PreambleOnly", MakePreambleOnlyFile},
                                           BadInput{"Truncated", MakeTruncatedFile}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DICOMFileTest, FileLockedByAnotherHandleCannotBeRead)
{
    DICOMFile written;
    const std::string path = WriteSample("locked.dcm", UidTransferLittleEndianExplicit, written);
    HANDLE lock = HoldExclusively(path);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    DICOMFile file;
    EXPECT_EQ(file.ReadFile(path.c_str()), 0);
    EXPECT_EQ(file.ReadFileNoImage(path.c_str()), 0);
    EXPECT_EQ(file.ReadMetaHead(path.c_str()), 0);
    CloseHandle(lock);
    EXPECT_NE(file.ReadFile(path.c_str()), 0);
}

TEST_F(DICOMFileTest, ReadMetaHeadLeavesTheDataSet)
{
    DICOMFile written;
    const std::string path = WriteSample("meta.dcm", UidTransferBigEndianExplicit, written);
    DICOMFile file;
    file.Add(0x0010, 0x0010, "Kept^Name");
    ASSERT_EQ(file.ReadMetaHead(path.c_str()), 1);
    EXPECT_STREQ(file.GetLettra(0x0010, 0x0010), "Kept^Name");
    UID syntax;
    file.GetTransferSyntax(syntax);
    EXPECT_STREQ(syntax, "1.2.840.10008.1.2.2");
}

TEST_F(DICOMFileTest, FileNameKeepsItsFirst259Characters)
{
    DICOMFile file;
    EXPECT_EQ(file.ValidateFileName(""), 0);
    EXPECT_EQ(file.ValidateFileName(nullptr), 0);
    const std::string longName(300, 'n');
    EXPECT_EQ(file.ValidateFileName(longName.c_str()), 1);
    EXPECT_EQ(std::string(file.GetFileName()), longName.substr(0, 259));
    EXPECT_EQ(file.ValidateFileName(file.GetFileName()), 1);
    EXPECT_EQ(std::strlen(file.GetFileName()), 259u);
    EXPECT_EQ(file.GetFileSize(), 0u);
    EXPECT_EQ(file.ValidateFileName(m_folder.c_str()), 1);
    EXPECT_EQ(file.GetFileSize(), 0u);
}

TEST_F(DICOMFileTest, CopiesTakeElementsSyntaxAndNameButNoOtherMetaElements)
{
    DICOMFile source("named.dcm");
    FillSampleImage(source);
    source.SetTransferSyntax(UidTransferBigEndianExplicit);
    source.BuildMetaHead();

    const DICOMFile copy(source);
    EXPECT_TRUE(copy == source);
    EXPECT_STREQ(copy.GetFileName(), "named.dcm");
    DICOMDataSet meta;
    copy.GetMetaInfo(&meta);
    EXPECT_EQ(meta.GetVRCount(), 2); // group length and transfer syntax

    DICOMFile assigned;
    assigned.Add(0x0011, 0x0010, "GONE");
    assigned = source;
    EXPECT_TRUE(assigned == source);
    UID syntax;
    assigned.GetTransferSyntax(syntax);
    EXPECT_STREQ(syntax, "1.2.840.10008.1.2.2");

    DICOMFile moved;
    moved.Add(0x0011, 0x0010, "KEPT");
    DICOMFile donor(source);
    EXPECT_EQ(donor.TransferTo(moved), 1);
    EXPECT_TRUE(donor.IsEmpty() != 0);
    EXPECT_STREQ(moved.GetLettra(0x0011, 0x0010), "KEPT");
    EXPECT_STREQ(moved.GetFileName(), "named.dcm");

    const DICOMFile fromSet(static_cast<const DICOMVRSet&>(source));
    fromSet.GetTransferSyntax(syntax);
    EXPECT_STREQ(syntax, "1.2.840.10008.1.2.1");
    EXPECT_STREQ(fromSet.GetFileName(), "");
}

TEST_F(DICOMFileTest, ResetKeepsNameAndSyntax)
{
    DICOMFile file("kept.dcm");
    FillSampleImage(file);
    file.SetTransferSyntax(UidTransferLittleEndian);
    file.Reset();
    EXPECT_TRUE(file.IsEmpty() != 0);
    DICOMDataSet meta;
    file.GetMetaInfo(&meta);
    EXPECT_TRUE(meta.IsEmpty() != 0);
    UID syntax;
    file.GetTransferSyntax(syntax);
    EXPECT_STREQ(syntax, "1.2.840.10008.1.2");
    EXPECT_STREQ(file.GetFileName(), "kept.dcm");
}

TEST_F(DICOMFileTest, ConvertToRelabelsWhatNeedsNoRecoding)
{
    DICOMFile header;
    header.Add(0x0008, 0x0060, "MR");
    header.SetTransferSyntax(UidTransferLittleEndian);
    EXPECT_EQ(header.ConvertTo(UidTransferBigEndianExplicit), 1);
    UID syntax;
    header.GetTransferSyntax(syntax);
    EXPECT_STREQ(syntax, "1.2.840.10008.1.2.1");

    DICOMFile image;
    FillSampleImage(image);
    image.SetTransferSyntax(UidTransferLittleEndian);
    EXPECT_EQ(image.ConvertTo(UidTransferBigEndianExplicit), 1);
    image.GetTransferSyntax(syntax);
    EXPECT_STREQ(syntax, "1.2.840.10008.1.2.2");
    // No encoder writes RLE: the recoding fails and the label stays.
    EXPECT_EQ(image.ConvertTo(UidTransferRleLossless), 0);
    image.GetTransferSyntax(syntax);
    EXPECT_STREQ(syntax, "1.2.840.10008.1.2.2");
}

TEST_F(DICOMFileTest, ToStringNamesTheFileAndDumpsBothSets)
{
    DICOMFile file("dump.dcm");
    file.Add(0x0008, 0x0060, "MR");
    file.SetTransferSyntax(UidTransferLittleEndianExplicit);
    const std::string text = static_cast<const char*>(file.ToString());
    EXPECT_EQ(text.rfind("(File Name) , dump.dcm\r\n", 0), 0u);
    EXPECT_NE(text.find("(0002, 0010)"), std::string::npos);
    EXPECT_NE(text.find("(0008, 0060)"), std::string::npos);
    EXPECT_LT(text.find("(0002, 0010)"), text.find("(0008, 0060)"));
}

} // namespace
