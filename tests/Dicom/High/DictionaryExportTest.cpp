#include "ComDicomDataDictionary.h"
#include "DICOMFile.h"
#include "DMarkup.h"
#include "DataDictionary.h"
#include "DictionaryWriter.h"
#include "UID.h"
#include "VR.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace
{

constexpr std::uint16_t Code(const char (&vr)[3])
{
    return static_cast<std::uint16_t>(vr[0] << 8 | vr[1]);
}

constexpr DictionaryItem Record(std::uint16_t group, std::uint16_t element, const char (&vr)[3],
                                std::uint16_t vm, const char* keyword, const char* name,
                                const char* creator = nullptr)
{
    return {
        static_cast<std::uint32_t>(element) << 16 | group, Code(vr), vm, creator, keyword, name, 0};
}

constexpr DictionaryItem End = {0, 0, 0, nullptr, nullptr, nullptr, 0};

// A small dictionary: a padded name, a VM of any number, a record without
// keyword and name, and two private records of different creators.
const DictionaryItem TinyPublic[] = {
    Record(0x0010, 0x0010, "PN", 1, "PatientName", "Patient's Name"),
    Record(0x0008, 0x0016, "UI", 1, "SOPClassUID", "  SOP Class UID   "),
    Record(0x0008, 0x0008, "CS", 9999, "ImageType", "Image Type"),
    Record(0x0008, 0x0001, "UL", 1, nullptr, nullptr),
    End,
};

const DictionaryItem TinyPrivate[] = {
    Record(0x0009, 0x1010, "LO", 1, "AcmeCode", "?", "ACME 1.0"),
    Record(0x0009, 0x1011, "US", 2, "?", "Acme Count", "ACME"),
    End,
};

const DictionaryItem TinyCache[] = {
    {0x00100010u, Code("PN"), 1, nullptr, "PatientName", "Patient's Name", 7},
    Record(0x0009, 0x1010, "LO", 1, "AcmeCode", "?", "ACME 1.0"),
    End,
};

// The repeating overlay groups and the pixel data group.
const DictionaryItem OverlayPublic[] = {
    Record(0x0008, 0x0008, "CS", 9999, "ImageType", "Image Type"),
    Record(0x6000, 0x0010, "US", 1, "OverlayRows", "Overlay Rows"),
    Record(0x7FE0, 0x0010, "OW", 1, "PixelData", "Pixel Data"),
    End,
};

const DictionaryItem OverlayPrivate[] = {
    Record(0x6001, 0x1010, "LO", 1, "OverlayOwnText", "Overlay Own Text", "TAVUQELM"),
    Record(0x7001, 0x1010, "LO", 1, "AfterOverlays", "After Overlays", "TAVUQELM"),
    End,
};

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string OutputPath(const std::string& name)
{
    return std::string(SUITE_OUTPUT_DIR) + "/DictionaryExportTest_" + name;
}

// Little-endian bytes as the binary file holds them.
class Bytes
{
public:
    Bytes& U32(std::uint32_t value) { return Put(value, 4); }
    Bytes& U16(std::uint16_t value) { return Put(value, 2); }
    // A counted text with its NUL; null is a count of 0.
    Bytes& Text(const char* text)
    {
        if (text == nullptr)
        {
            return U32(0);
        }
        U32(static_cast<std::uint32_t>(std::strlen(text) + 1));
        m_bytes.append(text, std::strlen(text) + 1);
        return *this;
    }
    Bytes& Entry(std::uint16_t group, std::uint16_t element, const char (&vr)[3], std::uint16_t vm,
                 const char* creator, const char* keyword, const char* name,
                 std::uint32_t usage = 0)
    {
        U32(static_cast<std::uint32_t>(group) << 16 | element).U32(usage);
        U16(group).U16(element).U16(Code(vr)).U16(vm);
        return Text(creator).Text(keyword).Text(name);
    }
    const std::string& Get() const { return m_bytes; }

private:
    Bytes& Put(std::uint32_t value, int size)
    {
        for (int index = 0; index < size; ++index)
        {
            m_bytes.push_back(static_cast<char>(value >> (8 * index) & 0xFF));
        }
        return *this;
    }
    std::string m_bytes;
};

std::uint32_t ReadU32(const std::string& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int index = 3; index >= 0; --index)
    {
        value = value << 8 | static_cast<unsigned char>(bytes[offset + index]);
    }
    return value;
}

// A fixed field: the text, then NULs to its end.
std::string Field(const std::string& text, std::size_t size)
{
    return text + std::string(size - text.size(), '\0');
}

constexpr std::size_t CountOffset = 65648;

// The tiny dictionary's nine records as binary entries, in key order.
std::string TinyEntries()
{
    return Bytes()
        .Entry(0x0008, 0x0000, "UL", 1, nullptr, "Group0008GroupLength", "Group 0008 Group Length")
        .Entry(0x0008, 0x0001, "UL", 1, nullptr, nullptr, nullptr)
        .Entry(0x0008, 0x0008, "CS", 9999, nullptr, "ImageType", "Image Type")
        .Entry(0x0008, 0x0016, "UI", 1, nullptr, "SOPClassUID", "SOP Class UID")
        .Entry(0x0009, 0x0000, "UL", 1, nullptr, "Group0009GroupLength", "Group 0009 Group Length")
        .Entry(0x0009, 0x1010, "LO", 1, "ACME 1.0", "AcmeCode", "?")
        .Entry(0x0009, 0x1011, "US", 2, "ACME", "?", "Acme Count")
        .Entry(0x0010, 0x0000, "UL", 1, nullptr, "Group0010GroupLength", "Group 0010 Group Length")
        .Entry(0x0010, 0x0010, "PN", 1, nullptr, "PatientName", "Patient's Name", 2)
        .Get();
}

const char TinyText[] = "\n"
                        "\t{ 0x0008, 0x0000, 'UL',      1, NULL, \"Group0008GroupLength\", \"Group "
                        "0008 Group Length\" }, \n"
                        "\t{ 0x0008, 0x0001, 'UL',      1, NULL, NULL, NULL }, \n"
                        "\t{ 0x0008, 0x0008, 'CS', MAX_VM, NULL, \"ImageType\"           , \"Image "
                        "Type\"              }, \n"
                        "\t{ 0x0008, 0x0016, 'UI',      1, NULL, \"SOPClassUID\"         , \"SOP "
                        "Class UID\"           }, \n"
                        "\n"
                        "\t{ 0x0010, 0x0000, 'UL',      1, NULL, \"Group0010GroupLength\", \"Group "
                        "0010 Group Length\" }, \n"
                        "\t{ 0x0010, 0x0010, 'PN',      1, NULL, \"PatientName\"         , "
                        "\"Patient's Name\"          }, \n"
                        "\n"
                        "\n"
                        "----------------------------------------------------\n"
                        "Private Tag:\n"
                        "\n"
                        "\t{ 0x0009, 0x0000, 'UL',      1, NULL, \"Group0009GroupLength\", \"Group "
                        "0009 Group Length\" }, \n"
                        "\t{ 0x0009, 0x1010, 'LO',      1, \"ACME 1.0\", \"AcmeCode\"            , "
                        "\"?\"                       }, \n"
                        "\t{ 0x0009, 0x1011, 'US',      2, \"ACME\"    , \"?\"                   , "
                        "\"Acme Count\"              }, \n";

const char TinyCacheText[] = "\n"
                             "\n"
                             "----------------------------------------------------\n"
                             "The recently used type is:\n"
                             "\t{ 0x0009, 0x1010, 'LO',      1, \"ACME 1.0\", \"AcmeCode\"         "
                             "   , \"?\"                       }, \n"
                             "\n"
                             "\t{ 0x0010, 0x0010, 'PN',      1, NULL, \"PatientName\"         , "
                             "\"Patient's Name\"          }, \n"
                             "\n"
                             "\n"
                             "----------------------------------------------------\n"
                             "Access frequence:\n"
                             "\t{ 0x0009, 0x1010, 'LO',     1,      0, \"ACME 1.0\", \"AcmeCode\"  "
                             "          , \"?\"                       }, \n"
                             "\t{ 0x0010, 0x0010, 'PN',     1,      7, NULL, \"PatientName\"       "
                             "  , \"Patient's Name\"          }, \n";

const char TinyDefinitions[] = "\n"
                               "//\n"
                               "// Group: 0x0008\n"
                               "#define  DC3Group0008GroupLength_GROUP             0x0008\n"
                               "#define  DC3Group0008GroupLength_ELEMENT           0x0000\n"
                               "#define  DC3_GROUP                                 0x0008\n"
                               "#define  DC3_ELEMENT                               0x0001\n"
                               "#define  DC3ImageType_GROUP                        0x0008\n"
                               "#define  DC3ImageType_ELEMENT                      0x0008\n"
                               "#define  DC3SOPClassUID_GROUP                      0x0008\n"
                               "#define  DC3SOPClassUID_ELEMENT                    0x0016\n"
                               "//\n"
                               "// Group: 0x0010\n"
                               "#define  DC3Group0010GroupLength_GROUP             0x0010\n"
                               "#define  DC3Group0010GroupLength_ELEMENT           0x0000\n"
                               "#define  DC3PatientName_GROUP                      0x0010\n"
                               "#define  DC3PatientName_ELEMENT                    0x0010";

const char TinyCSharp[] =
    "\n"
    "\n"
    "\t\t\t#region Group: 0008\n"
    "\n"
    "\t\t\ttable.Add ( TAGS.Group0008GroupLength, DICOMVR.TypeCode.UL )  ;\n"
    "\t\t\ttable.Add ( TAGS.,                     DICOMVR.TypeCode.UL )  ;\n"
    "\t\t\ttable.Add ( TAGS.ImageType,            DICOMVR.TypeCode.CS )  ;\n"
    "\t\t\ttable.Add ( TAGS.SOPClassUID,          DICOMVR.TypeCode.UI )  ;\n"
    "\n"
    "\t\t\t#endregion\n"
    "\n"
    "\n"
    "\t\t\t#region Group: 0010\n"
    "\n"
    "\t\t\ttable.Add ( TAGS.Group0010GroupLength, DICOMVR.TypeCode.UL )  ;\n"
    "\t\t\ttable.Add ( TAGS.PatientName,          DICOMVR.TypeCode.PN )  ;\n"
    "\n"
    "\t\t\t#endregion\n"
    "\n"
    "\n"
    "///--------------------------- enum TAGS ---------------------------------------------------\n"
    "\n"
    "\t\tenum TAGS\n"
    "\t\t{\n"
    "\n"
    "\t\t\t#region Group: 0008\n"
    "\n"
    "\t\t\tGroup0008GroupLength  = 0x00080000  ,\n"
    "\t\t\t                      = 0x00080001  ,\n"
    "\t\t\tImageType             = 0x00080008  ,\n"
    "\t\t\tSOPClassUID           = 0x00080016  ,\n"
    "\n"
    "\t\t\t#endregion\n"
    "\n"
    "\t\t\t#region Group: 0010\n"
    "\n"
    "\t\t\tGroup0010GroupLength  = 0x00100000  ,\n"
    "\t\t\tPatientName           = 0x00100010  ,\n"
    "\n"
    "\t\t\t#endregion\n"
    "\n"
    "\t\t};\n"
    "\n"
    "\n"
    "\n"
    "///----------------------------- enum GROUPS "
    "-------------------------------------------------\n"
    "\n"
    "\t\tenum GROUPS\n"
    "\t\t{\n"
    "\n"
    "\t\t\t#region Group: 0008\n"
    "\n"
    "\t\t\tGroup0008GroupLength  = 0x0008  ,\n"
    "\t\t\t                      = 0x0008  ,\n"
    "\t\t\tImageType             = 0x0008  ,\n"
    "\t\t\tSOPClassUID           = 0x0008  ,\n"
    "\n"
    "\t\t\t#endregion\n"
    "\n"
    "\t\t\t#region Group: 0010\n"
    "\n"
    "\t\t\tGroup0010GroupLength  = 0x0010  ,\n"
    "\t\t\tPatientName           = 0x0010  ,\n"
    "\n"
    "\t\t\t#endregion\n"
    "\n"
    "\t\t};\n"
    "\n"
    "\n"
    "\n"
    "///----------------------------- enum ELEMENTS "
    "-------------------------------------------------\n"
    "\n"
    "\t\tenum ELEMENTS\n"
    "\t\t{\n"
    "\t\t\t#region Group: 0008\n"
    "\n"
    "\t\t\tGroup0008GroupLength  = 0x0000  ,\n"
    "\t\t\t                      = 0x0001  ,\n"
    "\t\t\tImageType             = 0x0008  ,\n"
    "\t\t\tSOPClassUID           = 0x0016  ,\n"
    "\n"
    "\t\t\t#endregion\n"
    "\n"
    "\t\t\t#region Group: 0010\n"
    "\n"
    "\t\t\tGroup0010GroupLength  = 0x0000  ,\n"
    "\t\t\tPatientName           = 0x0010  ,\n"
    "\n"
    "\t\t\t#endregion\n"
    "\n"
    "\t\t};\n";

const char TinyXml[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Tavuqelm>\r\n"
                       "<DicomDictionary>\r\n"
                       "<PublicTag>\r\n"
                       "<Group>Group 0008<Item Group=\"0008\" Element=\"0000\" VR=\"UL\" "
                       "Tag=\"Group0008GroupLength\" Description=\"Group 0008 Group Length\"/>\r\n"
                       "<Item Group=\"0008\" Element=\"0001\" VR=\"UL\"/>\r\n"
                       "<Item Group=\"0008\" Element=\"0008\" VR=\"CS\" Tag=\"ImageType\" "
                       "Description=\"Image Type\"/>\r\n"
                       "<Item Group=\"0008\" Element=\"0016\" VR=\"UI\" Tag=\"SOPClassUID\" "
                       "Description=\"SOP Class UID\"/>\r\n"
                       "</Group>\r\n"
                       "<Group>Group 0010<Item Group=\"0010\" Element=\"0000\" VR=\"UL\" "
                       "Tag=\"Group0010GroupLength\" Description=\"Group 0010 Group Length\"/>\r\n"
                       "<Item Group=\"0010\" Element=\"0010\" VR=\"PN\" Tag=\"PatientName\" "
                       "Description=\"Patient&apos;s Name\"/>\r\n"
                       "</Group>\r\n"
                       "</PublicTag>\r\n"
                       "<PrivateTag>\r\n"
                       "<Group>Group 0009<Item Group=\"0009\" Element=\"0000\" VR=\"UL\" "
                       "Tag=\"Group0009GroupLength\" Description=\"Group 0009 Group Length\"/>\r\n"
                       "<Item Group=\"0009\" Element=\"1010\" VR=\"LO\" Owner=\"ACME 1.0\" "
                       "Tag=\"AcmeCode\" Description=\"?\"/>\r\n"
                       "<Item Group=\"0009\" Element=\"1011\" VR=\"US\" Owner=\"ACME\" Tag=\"?\" "
                       "Description=\"Acme Count\"/>\r\n"
                       "</Group>\r\n"
                       "</PrivateTag>\r\n"
                       "</DicomDictionary>\r\n"
                       "</Tavuqelm>\r\n";

const char TinyCacheXml[] = "<Cache>\r\n"
                            "<Group>Group 0009<Item Group=\"0009\" Element=\"1010\" VR=\"LO\" "
                            "Owner=\"ACME 1.0\" Tag=\"AcmeCode\" Description=\"?\"/>\r\n"
                            "</Group>\r\n"
                            "<Group>Group 0010<Item Group=\"0010\" Element=\"0010\" VR=\"PN\" "
                            "Tag=\"PatientName\" Description=\"Patient&apos;s Name\"/>\r\n"
                            "</Group>\r\n"
                            "</Cache>\r\n"
                            "</DicomDictionary>\r\n"
                            "</Tavuqelm>\r\n";

class TinyDictionaryExport : public ::testing::Test
{
protected:
    void SetUp() override { dictionary.Build(TinyPublic, TinyPrivate); }

    // Writes with the writer member and reads the file back.
    std::string Write(bool (DictionaryWriter::*write)(const char*) const, const char* name)
    {
        const std::string path = OutputPath(name);
        EXPECT_TRUE((DictionaryWriter(dictionary).*write)(path.c_str()));
        return ReadFile(path);
    }

    DataDictionary dictionary;
};

} // namespace

TEST_F(TinyDictionaryExport, BinaryHeaderHasItsFixedFields)
{
    const std::string bytes = Write(&DictionaryWriter::WriteBinary, "header.bin");
    ASSERT_GT(bytes.size(), CountOffset + 4);
    EXPECT_EQ(bytes.substr(0, 32), Field("#!|~@$BinDictionary\r\n", 32));
    EXPECT_EQ(bytes.substr(32, 16), Field("2.53", 16));
    const std::string built = bytes.substr(48, 32);
    EXPECT_NE(built[0], '\0');
    EXPECT_EQ(built.back(), '\0');
    const std::string changeLog = bytes.substr(80, 65536);
    EXPECT_EQ(changeLog.substr(0, 4), "2.50");
    EXPECT_EQ(changeLog.find_first_not_of('\0', changeLog.find('\0')), std::string::npos);
    EXPECT_EQ(bytes.substr(65616, 32), Field("#!|~@$ByTAVUQELM\r\n", 32));
    EXPECT_EQ(ReadU32(bytes, CountOffset), 9u);
}

TEST_F(TinyDictionaryExport, BinaryEntriesFollowTheCountInKeyOrder)
{
    dictionary.Lookup(0x0010, 0x0010);
    dictionary.Lookup(0x0010, 0x0010);
    const std::string bytes = Write(&DictionaryWriter::WriteBinary, "entries.bin");
    EXPECT_EQ(bytes.substr(CountOffset), Bytes().U32(9).Get() + TinyEntries());
}

TEST_F(TinyDictionaryExport, BinaryCachePartFollowsTheMainTable)
{
    dictionary.BuildCache(TinyCache);
    const std::string bytes = Write(&DictionaryWriter::WriteBinary, "cache.bin");
    const std::string cache =
        Bytes()
            .U32(2)
            .Entry(0x0009, 0x1010, "LO", 1, "ACME 1.0", "AcmeCode", "?")
            .Entry(0x0010, 0x0010, "PN", 1, nullptr, "PatientName", "Patient's Name", 7)
            .Get();
    ASSERT_GT(bytes.size(), cache.size());
    EXPECT_EQ(bytes.substr(bytes.size() - cache.size()), cache);
    EXPECT_EQ(bytes.size(), CountOffset + 4 + TinyEntries().size() + cache.size());
}

TEST_F(TinyDictionaryExport, TextIsTheCTableOfPublicThenPrivateRecords)
{
    EXPECT_EQ(Write(&DictionaryWriter::WriteText, "table.txt"), TinyText);
}

TEST_F(TinyDictionaryExport, TextEndsWithTheCacheAndItsUsageCounts)
{
    dictionary.BuildCache(TinyCache);
    const std::string text = Write(&DictionaryWriter::WriteText, "cache.txt");
    ASSERT_GT(text.size(), std::strlen(TinyCacheText));
    EXPECT_EQ(text.substr(0, std::strlen(TinyText)), TinyText);
    EXPECT_EQ(text.substr(std::strlen(TinyText)), TinyCacheText);
}

TEST_F(TinyDictionaryExport, DefinitionsAlignTheirValues)
{
    EXPECT_EQ(Write(&DictionaryWriter::WriteTagDefineText, "defines.h"), TinyDefinitions);
}

TEST_F(TinyDictionaryExport, CSharpHasTheTableAndThreeEnums)
{
    EXPECT_EQ(Write(&DictionaryWriter::WriteTagDefineTextCS, "tags.cs"), TinyCSharp);
}

TEST_F(TinyDictionaryExport, XmlGroupsItemsBySection)
{
    EXPECT_EQ(Write(&DictionaryWriter::WriteXML, "tags.xml"), TinyXml);
}

TEST_F(TinyDictionaryExport, XmlAddsTheCacheSectionLast)
{
    dictionary.BuildCache(TinyCache);
    const std::string xml = Write(&DictionaryWriter::WriteXML, "cache.xml");
    const std::size_t cache = xml.find("<Cache>");
    ASSERT_NE(cache, std::string::npos);
    EXPECT_EQ(xml.substr(cache), TinyCacheXml);
}

TEST(DictionaryExportGroups, DefinitionsAndCSharpKeepTheFirstOverlayGroupOnly)
{
    DataDictionary dictionary;
    dictionary.Build(OverlayPublic, OverlayPrivate);
    DictionaryWriter writer(dictionary);
    const std::string definitionsPath = OutputPath("overlay.h");
    const std::string csharpPath = OutputPath("overlay.cs");
    ASSERT_TRUE(writer.WriteTagDefineText(definitionsPath.c_str()));
    ASSERT_TRUE(writer.WriteTagDefineTextCS(csharpPath.c_str()));
    const std::string definitions = ReadFile(definitionsPath);
    const std::string csharp = ReadFile(csharpPath);
    for (const char* group : {"0x0008", "0x6000", "0x7FE0"})
    {
        EXPECT_NE(definitions.find(std::string("// Group: ") + group), std::string::npos) << group;
    }
    for (const char* group : {"0008", "6000", "7fe0"})
    {
        EXPECT_NE(csharp.find(std::string("#region Group: ") + group), std::string::npos) << group;
    }
    // Every other repetition of the overlay group, and the private groups.
    EXPECT_EQ(definitions.find("0x6002"), std::string::npos);
    EXPECT_EQ(definitions.find("0x60FE"), std::string::npos);
    EXPECT_EQ(definitions.find("OverlayOwnText"), std::string::npos);
    EXPECT_EQ(csharp.find("6002"), std::string::npos);
    EXPECT_EQ(csharp.find("AfterOverlays"), std::string::npos);
    EXPECT_EQ(std::count(definitions.begin(), definitions.end(), '\n'), 3 * 2 + 6 * 2);
}

TEST(DictionaryExportGroups, XmlLeavesOutGroups6001To6FFE)
{
    DataDictionary dictionary;
    dictionary.Build(OverlayPublic, OverlayPrivate);
    const std::string path = OutputPath("overlay.xml");
    ASSERT_TRUE(DictionaryWriter(dictionary).WriteXML(path.c_str()));
    DMarkup xml;
    ASSERT_TRUE(xml.Load(path.c_str()));
    std::vector<std::string> groups;
    for (const char* section :
         {"/Tavuqelm/DicomDictionary/PublicTag", "/Tavuqelm/DicomDictionary/PrivateTag"})
    {
        ASSERT_TRUE(xml.GotoPath(section));
        for (xml.FirstSib(); std::string(xml.GetTagName()) == "Group"; xml.NextSib())
        {
            ASSERT_TRUE(xml.FindChildElem("Item"));
            groups.emplace_back(xml.GetChildAttrib("Group"));
        }
    }
    EXPECT_EQ(groups, (std::vector<std::string>{"0008", "6000", "7fe0", "7001"}));
}

TEST(DictionaryExportGroups, TextKeepsEveryGroup)
{
    DataDictionary dictionary;
    dictionary.Build(OverlayPublic, OverlayPrivate);
    const std::string path = OutputPath("overlay.txt");
    ASSERT_TRUE(DictionaryWriter(dictionary).WriteText(path.c_str()));
    const std::string text = ReadFile(path);
    for (const char* line :
         {"{ 0x6000, 0x0010, 'US',", "{ 0x60fe, 0x0010, 'US',", "{ 0x6001, 0x1010, 'LO',",
          "{ 0x60fd, 0x1010, 'LO',", "{ 0x7fe0, 0x0010, 'OW',"})
    {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
}

// Each writer once, by name, for the tests that try them all.
struct WriterCase
{
    const char* Name;
    bool (DictionaryWriter::*Write)(const char*) const;
    bool (ComDicomDataDictionary::*Save)(const char*);
};

const WriterCase WriterCases[] = {
    {"bin", &DictionaryWriter::WriteBinary, &ComDicomDataDictionary::SaveBinary},
    {"txt", &DictionaryWriter::WriteText, &ComDicomDataDictionary::SaveText},
    {"h", &DictionaryWriter::WriteTagDefineText, &ComDicomDataDictionary::SaveTagDefineText},
    {"cs", &DictionaryWriter::WriteTagDefineTextCS, &ComDicomDataDictionary::SaveTagDefineTextCS},
    {"xml", &DictionaryWriter::WriteXML, &ComDicomDataDictionary::SaveXML},
    {"dcm", &DictionaryWriter::WriteDicomFile, &ComDicomDataDictionary::SaveTagToDicomFile},
};

TEST(DictionaryExportFailure, UnopenablePathGivesFalseAndNoFile)
{
    const std::string folder = OutputPath("missing-folder");
    std::filesystem::remove_all(folder);
    ComDicomDataDictionary exporter;
    for (const WriterCase& writer : WriterCases)
    {
        const std::string path = folder + "/dictionary." + writer.Name;
        EXPECT_FALSE((exporter.*writer.Save)(path.c_str())) << writer.Name;
        EXPECT_FALSE((exporter.*writer.Save)(nullptr)) << writer.Name;
        EXPECT_FALSE(std::filesystem::exists(folder)) << writer.Name;
    }
}

TEST(DictionaryExportFailure, ReadOnlyBinaryFileIsReplaced)
{
    const std::string path = OutputPath("read-only.bin");
    std::filesystem::remove(path);
    std::ofstream(path) << "old";
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    DataDictionary dictionary;
    dictionary.Build(TinyPublic, TinyPrivate);
    EXPECT_TRUE(DictionaryWriter(dictionary).WriteBinary(path.c_str()));
    EXPECT_EQ(ReadU32(ReadFile(path), CountOffset), 9u);
}

// The library's own tables, written once by the exporter for all checks.
class LibraryDictionaryExport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dictionary.Build();
        dictionary.BuildCache();
    }

    // The exporter's file of the library's tables, read back.
    static std::string Save(bool (ComDicomDataDictionary::*save)(const char*), const char* name)
    {
        const std::string path = OutputPath(std::string("library.") + name);
        ComDicomDataDictionary exporter;
        EXPECT_TRUE((exporter.*save)(path.c_str()));
        return ReadFile(path);
    }

    DataDictionary dictionary;
};

TEST_F(LibraryDictionaryExport, BinaryHoldsEveryRecordAndNoCache)
{
    const std::string bytes = Save(&ComDicomDataDictionary::SaveBinary, "bin");
    ASSERT_FALSE(dictionary.HasCache());
    ASSERT_EQ(ReadU32(bytes, CountOffset), static_cast<std::uint32_t>(dictionary.GetCount()));
    const std::string first = Bytes()
                                  .Entry(0x0000, 0x0000, "UL", 1, nullptr, "Group0000GroupLength",
                                         "Group 0000 Group Length")
                                  .Get();
    EXPECT_EQ(bytes.substr(CountOffset + 4, first.size()), first);
    // Walking the entries ends exactly at the end of the file.
    std::size_t offset = CountOffset + 4;
    for (int index = 0; index < dictionary.GetCount() && offset < bytes.size(); ++index)
    {
        ASSERT_EQ(ReadU32(bytes, offset), dictionary.GetKey(index)) << index;
        offset += 16;
        for (int text = 0; text < 3; ++text)
        {
            offset += 4 + ReadU32(bytes, offset);
        }
    }
    EXPECT_EQ(offset, bytes.size());
}

TEST_F(LibraryDictionaryExport, TextShowsAnyNumberAndPrivateCreators)
{
    const std::string text = Save(&ComDicomDataDictionary::SaveText, "txt");
    EXPECT_EQ(text.rfind("\t{ 0x0000, 0x0000, 'UL',      1, NULL, \"Group0000GroupLength\" ", 0),
              0u);
    EXPECT_NE(text.find("\t{ 0x0000, 0x0901, 'AT', MAX_VM, NULL, \"OffendingElement\" "),
              std::string::npos);
    const std::size_t privateTag = text.find("\nPrivate Tag:\n");
    ASSERT_NE(privateTag, std::string::npos);
    const std::size_t creator = text.find("\"GEMS_ACQU_01\"", privateTag);
    ASSERT_NE(creator, std::string::npos);
    const std::size_t after = text.find_first_not_of(' ', creator + 14);
    EXPECT_EQ(text.substr(after, 2), ", ");
    EXPECT_EQ(text.find("\"GEMS_ACQU_01\""), creator);
    EXPECT_NE(text.find("\t{ 0x60fe, 0x3000, 'OW',"), std::string::npos);
}

TEST_F(LibraryDictionaryExport, DefinitionsCoverTheFirstOverlayGroupOnly)
{
    const std::string definitions = Save(&ComDicomDataDictionary::SaveTagDefineText, "h");
    EXPECT_EQ(
        definitions.rfind("\n//\n// Group: 0x0000\n#define  DC3Group0000GroupLength_GROUP  ", 0),
        0u);
    EXPECT_NE(definitions.find("\n// Group: 0x6000\n"), std::string::npos);
    EXPECT_NE(definitions.find("\n// Group: 0x7FE0\n"), std::string::npos);
    EXPECT_EQ(definitions.find("\n// Group: 0x6002\n"), std::string::npos);
    EXPECT_EQ(definitions.find("\n// Group: 0x60FE\n"), std::string::npos);
    EXPECT_EQ(definitions.find("\n// Group: 0x0009\n"), std::string::npos);
}

TEST_F(LibraryDictionaryExport, CSharpHasItsFourPassesInOrder)
{
    const std::string csharp = Save(&ComDicomDataDictionary::SaveTagDefineTextCS, "cs");
    std::size_t from = 0;
    for (const char* text : {"\n\n\t\t\t#region Group: 0000\n", "\t\tenum TAGS\n\t\t{\n",
                             "\t\tenum GROUPS\n\t\t{\n", "\t\tenum ELEMENTS\n\t\t{\n"})
    {
        const std::size_t found = csharp.find(text, from);
        ASSERT_NE(found, std::string::npos) << text;
        from = found + 1;
    }
    EXPECT_NE(csharp.find("#region Group: 6000"), std::string::npos);
    EXPECT_EQ(csharp.find("#region Group: 6002"), std::string::npos);
    EXPECT_EQ(csharp.substr(csharp.size() - 5), "\t\t};\n");
}

TEST_F(LibraryDictionaryExport, XmlHasBothSectionsWithoutTheOverlayRepetitions)
{
    const std::string text = Save(&ComDicomDataDictionary::SaveXML, "xml");
    DMarkup xml(text.c_str());
    ASSERT_TRUE(xml.IsWellFormed());
    ASSERT_TRUE(xml.GotoPath("/Tavuqelm/DicomDictionary"));
    std::vector<std::string> sections;
    for (; !std::string(xml.GetTagName()).empty(); xml.NextSib())
    {
        sections.emplace_back(xml.GetTagName());
    }
    EXPECT_EQ(sections, (std::vector<std::string>{"PublicTag", "PrivateTag"}));

    ASSERT_TRUE(xml.GotoPath("/Tavuqelm/DicomDictionary/PublicTag/Group"));
    EXPECT_EQ(std::string(xml.GetParentTagName()), "Group");
    EXPECT_EQ(std::string(xml.GetTagName()), "Item");
    EXPECT_EQ(std::string(xml.GetAttrib("Group")), "0000");
    EXPECT_EQ(std::string(xml.GetAttrib("Element")), "0000");
    EXPECT_EQ(std::string(xml.GetAttrib("VR")), "UL");
    EXPECT_EQ(std::string(xml.GetAttrib("Tag")), "Group0000GroupLength");
    EXPECT_EQ(std::string(xml.GetAttrib("Description")), "Group 0000 Group Length");
    EXPECT_NE(text.find("<Group>Group 6000<"), std::string::npos);
    EXPECT_NE(text.find("<Group>Group 7fe0<"), std::string::npos);
    for (const char* group : {"6001", "6002", "60fe", "6ffe"})
    {
        EXPECT_EQ(text.find(std::string("Group=\"") + group), std::string::npos) << group;
    }
}

namespace
{

using Tags = std::vector<std::uint32_t>;

// The tags (group << 16 | element) of a set's elements, group lengths and
// the groups given left out, in the set's order.
Tags TagsOf(const DICOMVRSet& set, std::uint16_t skippedGroup)
{
    Tags tags;
    for (DICOMVRSet::Iterator it(set); it; ++it)
    {
        const VR& element = *it.Current();
        if (element.GetElement() != 0 && element.GetGroup() != skippedGroup)
        {
            tags.push_back(DataDictionary::MakeKey(element.GetGroup(), element.GetElement()));
        }
    }
    return tags;
}

// The distinct keys of the dictionary's records but group lengths, items and
// delimiters and the group given.
Tags KeysOf(const DataDictionary& dictionary, std::uint16_t skippedGroup)
{
    Tags keys;
    for (int index = 0; index < dictionary.GetCount(); ++index)
    {
        const std::uint32_t key = dictionary.GetKey(index);
        const auto group = static_cast<std::uint16_t>(key >> 16);
        if ((key & 0xFFFF) != 0 && group != 0xFFFE && group != skippedGroup &&
            (keys.empty() || keys.back() != key))
        {
            keys.push_back(key);
        }
    }
    return keys;
}

constexpr std::uint16_t NoGroup = 0xFFFF;
constexpr std::uint16_t MetaGroup = 0x0002;

class DicomFileExport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DataDictionary::GetLibraryDictionary().Build();
        DataDictionary::GetLibraryDictionary().BuildCache();
    }
    void TearDown() override { DataDictionary::GetLibraryDictionary().Detach(); }

    static const DataDictionary& Library() { return DataDictionary::GetLibraryDictionary(); }
};

} // namespace

TEST_F(DicomFileExport, GetDicomTagNeedsAFileAndABuiltDictionary)
{
    EXPECT_EQ(GetDicomTag(nullptr), 0);
    DataDictionary::GetLibraryDictionary().Detach();
    DICOMFile file;
    EXPECT_EQ(GetDicomTag(&file), 0);
    EXPECT_EQ(file.GetVRCount(), 0);
}

TEST_F(DicomFileExport, GetDicomTagPushesOneEmptyElementPerTag)
{
    DICOMFile file;
    ASSERT_EQ(GetDicomTag(&file), 1);
    EXPECT_EQ(TagsOf(file, NoGroup), KeysOf(Library(), NoGroup));
    for (DICOMVRSet::Iterator it(file); it; ++it)
    {
        if (it.Current()->GetElement() != 0)
        {
            ASSERT_EQ(it.Current()->GetLength(), 0u);
        }
    }
    EXPECT_EQ(file.GetVR(0x0010, 0x0010)->GetTypeCode(), Code("PN"));
    EXPECT_EQ(file.GetVR(0x6002, 0x3000)->GetTypeCode(), Code("OW"));
    EXPECT_EQ(file.GetVR(0xFFFE, 0xE000), nullptr);
    UID syntax;
    file.GetTransferSyntax(syntax);
    EXPECT_TRUE(syntax == UidTransferLittleEndianExplicit);
}

TEST_F(DicomFileExport, SavedFileReadsBackWithEveryTag)
{
    const std::string path = OutputPath("tags.dcm");
    ComDicomDataDictionary exporter;
    ASSERT_TRUE(exporter.SaveTagToDicomFile(path.c_str()));
    DICOMFile file;
    ASSERT_NE(file.ReadFile(path.c_str()), 0);
    // The meta group goes to the file meta information.
    EXPECT_EQ(TagsOf(file, MetaGroup), KeysOf(Library(), MetaGroup));
    EXPECT_EQ(file.GetVR(0x0010, 0x0010)->GetTypeCode(), Code("PN"));
    EXPECT_EQ(file.GetVR(0x60FE, 0x3000)->GetTypeCode(), Code("OW"));
    EXPECT_EQ(file.GetVR(0x7FE0, 0x0010)->GetLength(), 0u);
    UID syntax;
    file.GetTransferSyntax(syntax);
    EXPECT_TRUE(syntax == UidTransferLittleEndianExplicit);
}
