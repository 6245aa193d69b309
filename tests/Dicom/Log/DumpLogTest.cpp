// The dump functions write an object's text form into the library log.
#include "DICOMFile.h"
#include "LoggedTest.h"
#include "VR.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <new>
#include <string>

namespace
{

// A set whose text form cannot be built.
class BrokenSet : public DICOMDataSet
{
public:
    using DICOMDataSet::ToString;
    Lettra ToString() override { throw std::bad_alloc(); }
};

class BrokenFile : public DICOMFile
{
public:
    explicit BrokenFile(const char* path) : DICOMFile(path) {}
    using DICOMFile::ToString;
    Lettra ToString() override { throw std::bad_alloc(); }
};

class DumpLog : public LoggedLibraryTest
{
};

void FillPatient(DICOMVRSet& set)
{
    set.Add(0x0010, 0x0010, "ABCD^EFG");
    set.Add(0x0028, 0x0010, static_cast<unsigned short>(512));
}

// The entry _fdebug makes of a text: the time, three blanks, the text.
std::string DebugEntry(const Lettra& text)
{
    return "00:00:00   " + std::string(text) + "\r\n";
}

std::string FileBanner(const DICOMFile& file)
{
    char line[96];
    std::snprintf(line, sizeof(line),
                  "00:00:00  \n--------------- DICOM File Information (0x%x)---------------\r\n",
                  static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&file)));
    return line;
}

} // namespace

TEST_F(DumpLog, ASetIsWrittenAsItsDumpInOneEntry)
{
    DICOMDataSet set;
    FillPatient(set);
    const std::string appended = Appended([&] { DumpVRSet(&set); });
    EXPECT_EQ(appended, DebugEntry(set.ToString()));
    EXPECT_NE(appended.find("ABCD^EFG"), std::string::npos);
    EXPECT_NE(appended.find("512"), std::string::npos);
}

TEST_F(DumpLog, ASetDumpUsesTheObjectsOwnTextForm)
{
    DICOMFile file("/data/study/one.dcm");
    FillPatient(file);
    const std::string appended = Appended([&] { DumpVRSet(&file); });
    EXPECT_EQ(appended, DebugEntry(file.ToString()));
    EXPECT_EQ(appended.find("00:00:00   (File Name) , /data/study/one.dcm\r\n"), 0u);
}

TEST_F(DumpLog, AFileIsIntroducedByItsAddressAndLocation)
{
    DICOMFile file("/data/study/one.dcm");
    FillPatient(file);
    EXPECT_EQ(Appended([&] { DumpDicomFile(&file); }),
              FileBanner(file) + "00:00:00  File Location: /data/study/one.dcm\r\n" +
                  DebugEntry(file.ToString()));
}

TEST_F(DumpLog, NullPointersWriteNothing)
{
    EXPECT_EQ(Appended([] { DumpVRSet(nullptr); }), "");
    EXPECT_EQ(Appended([] { DumpDicomFile(nullptr); }), "");
}

TEST_F(DumpLog, AFailingTextFormIsLoggedAsAnError)
{
    BrokenSet set;
    EXPECT_EQ(Appended([&] { DumpVRSet(&set); }), "00:00:00  exception catched for DumpVRSet\r\n");
    BrokenFile file("two.dcm");
    EXPECT_EQ(Appended([&] { DumpDicomFile(&file); }),
              FileBanner(file) + "00:00:00  File Location: two.dcm\r\n" +
                  "00:00:00  exception catched for DumpDicomFile\r\n");
}
