// Every uncompressed file of the sample corpus that reads goes through the
// memory image and the XML form and back.
//
// The memory image carries everything: reading it back gives an equal set,
// and coding that set again gives the same bytes.
//
// The XML form carries less, so its round trip is compared element by
// element: the same tags in the same order, the same item counts, the
// dictionary's VR (UN for a tag it lacks), and the values the form carries:
// - texts, cut at a NUL byte and trimmed at both ends (the form writes them
//   whole and reads them trimmed, blank-padded to even): the texts of a
//   repertoire the form converts (the set's Specific Character Set, or that
//   of the set holding it) always where the process's code page is UTF-8 (the
//   document is handed back in that code page), other texts when that code
//   page holds them (the document passes through UTF-8 and back, which replaces
//   bytes the code page cannot read);
// - 16-bit and 32-bit integers (US, SS, UL, SL), the first 11 of each value;
// - no value at all for AT, FD, FL, OB, OD, OF, OL, OV, OW, UT and the pixel
//   data (the form writes only their display text and reads nothing back).
// Where the file's VR is of another kind than the dictionary's, and for
// UN, SV and UV, the form writes the file's display text and reads it under
// another rule, so only the tag and VR are compared.
#include "DICOMDataSet.h"
#include "DICOMFile.h"
#include "DICOMVRSet.h"
#include "DicomDictionary.h"
#include "LibraryTestSupport.h"
#include "UID.h"
#include "VR.h"
#include "VRCode.h"
#include "WinCodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kMaxNumbers = 11;
constexpr unsigned int kUtf8 = 65001;

enum class Kind
{
    Text,
    Number16,
    Number32,
    NoValue,
    Other
};

// Whether the code's two letters stand in a list of codes apart by blanks.
bool IsListed(std::uint16_t code, const char* codes)
{
    const char letters[3] = {VRCode::FirstLetter(code), VRCode::SecondLetter(code), '\0'};
    return code != VRCode::Unknown && std::strstr(codes, letters) != nullptr;
}

Kind KindOf(std::uint16_t code)
{
    struct KindCodes
    {
        Kind kind;
        const char* codes;
    };
    static const KindCodes kinds[] = {
        {Kind::Text, "AE AS CS DA DS DT IS LO LT PN SH ST TM UI UC UR"},
        {Kind::Number16, "US SS"},
        {Kind::Number32, "UL SL"},
        {Kind::NoValue, "AT FD FL OB OD OF OL OV OW UT SQ"},
    };
    for (const KindCodes& entry : kinds)
    {
        if (IsListed(code, entry.codes))
            return entry.kind;
    }
    return Kind::Other;
}

std::uint16_t DictionaryCode(const VR& element)
{
    const std::uint16_t code = DicomDictionary::Lookup(element.GetGroup(), element.GetElement());
    return code == VRCode::Unknown ? static_cast<std::uint16_t>(VRCode::UN) : code;
}

std::string Trimmed(const VR& element)
{
    const auto* data = static_cast<const char*>(element.GetData());
    std::string text(data, element.GetLength());
    text = text.substr(0, text.find('\0'));
    const auto isBlank = [](char ch) { return std::isspace(static_cast<unsigned char>(ch)) != 0; };
    while (!text.empty() && isBlank(text.back()))
        text.pop_back();
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    return std::string(first, text.end());
}

// The bytes of the first 11 numbers of size bytes each.
Bytes LeadingNumbers(const VR& element, std::size_t size)
{
    const auto* data = static_cast<const std::uint8_t*>(element.GetData());
    const std::size_t count = std::min<std::size_t>(element.GetLength() / size, kMaxNumbers);
    return Bytes(data, data + count * size);
}

// The Specific Character Set terms the XML form converts.
bool IsConvertedTerm(const std::string& term)
{
    static const char* const terms[] = {"ISO_IR 100", "ISO_IR 101", "ISO_IR 109", "ISO_IR 110",
                                        "ISO_IR 144", "ISO_IR 127", "ISO_IR 126", "ISO_IR 138",
                                        "ISO_IR 148", "ISO_IR 192"};
    return std::find(std::begin(terms), std::end(terms), term) != std::end(terms);
}

// Whether the set's texts are converted: its own term decides, else the
// repertoire it inherits.
bool IsConvertedSet(const DICOMVRSet& set, bool inherited)
{
    const VR* term = set.GetVR(0x0008, 0x0005);
    return term != nullptr ? IsConvertedTerm(Trimmed(*term)) : inherited;
}

bool FollowsRepertoire(std::uint16_t code)
{
    return IsListed(code, "SH LO ST LT PN UC");
}

bool CodePageHolds(const std::string& text)
{
    Lettra copy(text.c_str(), static_cast<int>(text.size()));
    copy.ToCharacterSet(kUtf8);
    copy.FromCharacterSet(kUtf8);
    return std::string(copy.constBuffer(), copy.GetLength()) == text;
}

Bytes AllBytes(const VR& element)
{
    const auto* data = static_cast<const std::uint8_t*>(element.GetData());
    return Bytes(data, data + element.GetLength());
}

std::vector<const VR*> Elements(const DICOMVRSet& set)
{
    std::vector<const VR*> elements;
    for (DICOMVRSet::Iterator it(set); it; ++it)
    {
        if ((*it)->GetElement() != 0)
            elements.push_back(*it);
    }
    return elements;
}

void ExpectSameAsXmlCarries(const DICOMVRSet& original, const DICOMVRSet& back,
                            bool inheritedConverted);

void ExpectSameElement(const VR& original, const VR& back, bool converted)
{
    SCOPED_TRACE(::testing::Message() << std::hex << original.GetTag());
    const std::uint16_t code = DictionaryCode(original);
    EXPECT_EQ(back.GetTypeCode(), code);
    const Kind kind = KindOf(code);
    const bool sameKind = KindOf(original.GetTypeCode()) == kind;
    if (original.GetTag() == DICOMFile::PixelDataTag || kind == Kind::NoValue)
    {
        EXPECT_EQ(back.GetLength(), 0u);
    }
    else if (sameKind && kind == Kind::Text &&
             (converted && FollowsRepertoire(code) ? GetACP() == CP_UTF8
                                                   : CodePageHolds(Trimmed(original))))
    {
        EXPECT_EQ(Trimmed(back), Trimmed(original));
    }
    else if (sameKind && kind == Kind::Number16)
    {
        EXPECT_EQ(AllBytes(back), LeadingNumbers(original, 2));
    }
    else if (sameKind && kind == Kind::Number32)
    {
        EXPECT_EQ(AllBytes(back), LeadingNumbers(original, 4));
    }
    if (code != VRCode::SQ && code != VRCode::UN)
    {
        EXPECT_EQ(back.GetItemCount(), 0);
        return;
    }
    ASSERT_EQ(back.GetItemCount(), original.GetItemCount());
    auto* theirs = back.GetSQArray() ? back.GetSQArray()->GetHead() : nullptr;
    for (auto* ours = original.GetSQArray() ? original.GetSQArray()->GetHead() : nullptr; ours;
         ours = ours->next, theirs = theirs->next)
    {
        ExpectSameAsXmlCarries(*ours->item, *theirs->item, converted);
    }
}

void ExpectSameAsXmlCarries(const DICOMVRSet& original, const DICOMVRSet& back,
                            bool inheritedConverted)
{
    const bool converted = IsConvertedSet(original, inheritedConverted);
    const std::vector<const VR*> ours = Elements(original);
    const std::vector<const VR*> theirs = Elements(back);
    ASSERT_EQ(theirs.size(), ours.size());
    for (std::size_t i = 0; i < ours.size(); ++i)
    {
        ASSERT_EQ(theirs[i]->GetTag(), ours[i]->GetTag());
        ExpectSameElement(*ours[i], *theirs[i], converted);
    }
}

fs::path CorpusPath(const char* folder)
{
    return fs::path(SUITE_CORPUS_DIR) / "pydicom" / folder;
}

// The corpus files that read and whose data is not compressed.
std::vector<std::string> UncompressedFiles()
{
    std::vector<std::string> files;
    const fs::path root = CorpusPath("test_files");
    if (!fs::is_directory(root))
        return files;
    std::vector<fs::directory_entry> entries(fs::recursive_directory_iterator(root), {});
    const fs::path charsets = CorpusPath("charset_files");
    if (fs::is_directory(charsets))
        entries.insert(entries.end(), fs::directory_iterator(charsets), {});
    for (const auto& entry : entries)
    {
        if (!entry.is_regular_file())
            continue;
        DICOMFile file;
        if (file.ReadFileNoImage(entry.path().c_str()) == 0)
            continue;
        UID syntax;
        file.GetTransferSyntax(syntax);
        if (syntax == UidTransferLittleEndian || syntax == UidTransferLittleEndianExplicit ||
            syntax == UidTransferBigEndianExplicit)
        {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class DataSetFormsCorpus : public LibraryTest
{
protected:
    // The file's data set, or false when it does not read.
    static bool ReadDataSet(const std::string& path, DICOMDataSet& set)
    {
        DICOMFile file;
        if (file.ReadFile(path.c_str()) == 0)
            return false;
        file.CopyTo(set);
        return true;
    }

    static Bytes Image(DICOMVRSet& set)
    {
        Bytes bytes(static_cast<std::size_t>(set.Serialize(nullptr, 0)));
        EXPECT_EQ(set.Serialize(bytes.data(), static_cast<int>(bytes.size())),
                  static_cast<int>(bytes.size()));
        return bytes;
    }

    // Checks the data set of each file that reads; returns how many it
    // checked.
    template <typename Check>
    static int CheckEachDataSet(const std::vector<std::string>& files, Check check)
    {
        int checked = 0;
        for (const std::string& path : files)
        {
            SCOPED_TRACE(path);
            DICOMDataSet set;
            if (!ReadDataSet(path, set))
                continue;
            check(set);
            ++checked;
        }
        return checked;
    }
};

TEST_F(DataSetFormsCorpus, MemoryImageRoundTripIsByteExact)
{
    const std::vector<std::string> files = UncompressedFiles();
    if (files.empty())
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    const int checked = CheckEachDataSet(
        files,
        [](DICOMDataSet& set)
        {
            const Bytes image = Image(set);
            DICOMDataSet back;
            ASSERT_EQ(back.Deserialize(image.data(), static_cast<int>(image.size())),
                      static_cast<int>(image.size()));
            EXPECT_TRUE(back == set);
            EXPECT_TRUE(Image(back) == image);
        });
    EXPECT_GT(checked, 40);
}

TEST_F(DataSetFormsCorpus, XmlRoundTripKeepsWhatTheFormCarries)
{
    const std::vector<std::string> files = UncompressedFiles();
    if (files.empty())
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    const int checked = CheckEachDataSet(files,
                                         [](DICOMDataSet& set)
                                         {
                                             DICOMDataSet back;
                                             EXPECT_EQ(back.XmlDeserialize(set.XmlSerialize()),
                                                       set.IsEmpty() != 0 ? 0 : 1);
                                             ExpectSameAsXmlCarries(set, back, false);
                                         });
    EXPECT_GT(checked, 40);
}

// The names as a peer toolkit decodes them to UTF-8 (the form adds the
// value's padding after them).
TEST_F(DataSetFormsCorpus, NamesOfSingleByteAndUtf8FilesShowAsTheyDecode)
{
    struct Case
    {
        const char* file;
        const char* utf8;
    };
    const Case cases[] = {
        {"chrArab.dcm",
         "\xd9\x82\xd8\xa8\xd8\xa7\xd9\x86\xd9\x8a^\xd9\x84\xd9\x86\xd8\xb2\xd8\xa7\xd8\xb1"},
        {"chrFren.dcm", "Buc^J\xc3\xa9r\xc3\xb4me"},
        {"chrFrenMulti.dcm", "Buc^J\xc3\xa9r\xc3\xb4me"},
        {"chrGerm.dcm", "\xc3\x84neas^R\xc3\xbc"
                        "diger"},
        {"chrGreek.dcm",
         "\xce\x94\xce\xb9\xce\xbf\xce\xbd\xcf\x85\xcf\x83\xce\xb9\xce\xbf\xcf\x82"},
        {"chrHbrw.dcm",
         "\xd7\xa9\xd7\xa8\xd7\x95\xd7\x9f^\xd7\x93\xd7\x91\xd7\x95\xd7\xa8\xd7\x94"},
        {"chrRuss.dcm", "\xd0\x9b\xd1\x8e\xd0\xba"
                        "ce\xd0\xbc\xd0\xb1yp\xd0\xb3"},
        {"chrX1.dcm", "Wang^XiaoDong=\xe7\x8e\x8b^\xe5\xb0\x8f\xe6\x9d\xb1="},
    };
    if (!fs::is_directory(CorpusPath("charset_files")))
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    if (GetACP() != CP_UTF8)
        GTEST_SKIP() << "the names need a document handed back in UTF-8";
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        DICOMDataSet set;
        ASSERT_TRUE(ReadDataSet((CorpusPath("charset_files") / c.file).string(), set));
        Lettra xml = set.XmlSerialize();
        xml.ToCharacterSet(kUtf8);
        const std::string doc(xml.constBuffer(), xml.GetLength());
        EXPECT_NE(doc.find(std::string("<Value>") + c.utf8), std::string::npos);
    }
}

TEST_F(DataSetFormsCorpus, LatinNameInsideASequenceSurvivesTheXmlForm)
{
    const fs::path path = CorpusPath("test_files") / "test-SR.dcm";
    if (!fs::is_regular_file(path))
        GTEST_SKIP() << "corpus file not found: " << path;
    DICOMDataSet set;
    ASSERT_TRUE(ReadDataSet(path.string(), set));
    const DICOMVRSet* observer = set.GetSequence(0x0040, 0xA073, 0);
    ASSERT_NE(observer, nullptr);
    ASSERT_EQ(Trimmed(*observer->GetVR(0x0040, 0xA075)), "Riesmeier^J\xf6rg");

    Lettra xml = set.XmlSerialize();
    DICOMDataSet back;
    ASSERT_EQ(back.XmlDeserialize(xml), 1);
    const DICOMVRSet* observerBack = back.GetSequence(0x0040, 0xA073, 0);
    ASSERT_NE(observerBack, nullptr);
    EXPECT_EQ(Trimmed(*observerBack->GetVR(0x0040, 0xA075)), "Riesmeier^J\xf6rg");
    if (GetACP() == CP_UTF8)
    {
        EXPECT_NE(std::string(xml.constBuffer(), xml.GetLength()).find("Riesmeier^J\xc3\xb6rg"),
                  std::string::npos);
    }
}

} // namespace
