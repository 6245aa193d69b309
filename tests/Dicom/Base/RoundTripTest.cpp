#include "CodingTestSupport.h"
#include "ElementTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace
{

namespace fs = std::filesystem;

const enSyntax AllSyntaxes[] = {enSyntax::ImplicitLittle, enSyntax::ExplicitLittle,
                                enSyntax::ExplicitBig};

Bytes LoadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Decodes a file's data set in the syntax its meta information (or its
// first element) names; stream holds what is left unread.
int DecodeFile(const Bytes& file, DICOMVRSet& set, std::uint32_t* left = nullptr)
{
    const DataSetPlace place = LocateDataSet(file);
    const Bytes data(file.begin() + static_cast<std::ptrdiff_t>(place.offset), file.end());
    MemInBuffer stream(data.data(), static_cast<std::uint32_t>(data.size()));
    int result = 0;
    switch (place.syntax)
    {
    case enSyntax::ImplicitLittle:
        result = FixDecoder(stream).DecodeImplicit(&set);
        break;
    case enSyntax::ExplicitLittle:
        result = FixDecoder(stream).DecodeExplicit(&set);
        break;
    default:
        result = BigEndianDecoder(stream).Decode(&set);
        break;
    }
    if (left != nullptr)
    {
        *left = stream.GetAvailable();
    }
    return result;
}

// Encoding the set, decoding the bytes and encoding again gives an equal
// set and the same bytes, in each of the three syntaxes.
::testing::AssertionResult RoundTrips(DICOMVRSet& set)
{
    for (const enSyntax syntax : AllSyntaxes)
    {
        const Bytes first = EncodeSet(set, syntax);
        DICOMDataSet back;
        if (DecodeBytes(first, syntax, &back) != 1)
        {
            return ::testing::AssertionFailure() << NameOf(syntax) << ": the encoded set fails";
        }
        if (back != set)
        {
            return ::testing::AssertionFailure() << NameOf(syntax) << ": the sets differ";
        }
        if (EncodeSet(back, syntax) != first)
        {
            return ::testing::AssertionFailure() << NameOf(syntax) << ": the bytes differ";
        }
    }
    return ::testing::AssertionSuccess();
}

class RoundTrip : public DictionaryTest
{
};

// Sequences of defined and undefined length inside each other, in each
// syntax as input.
TEST_F(RoundTrip, NestedSequencesOfBothLengthForms)
{
    for (const enSyntax syntax : AllSyntaxes)
    {
        StreamBuilder inner(syntax);
        inner.TextElement(0x0008, 0x1150, "UI", std::string("1.2.840.10008.5.1.4.1.1.4\0", 26))
            .TextElement(0x0008, 0x1155, "UI", "1.2.3.4 ");
        StreamBuilder definedItem(syntax); // an undefined-length sequence in a defined item
        definedItem.Header(0x0008, 0x1199, "SQ", 0xFFFFFFFF)
            .Item()
            .Raw(inner.GetBytes())
            .ItemEnd()
            .SequenceEnd()
            .TextElement(0x0020, 0x000E, "UI", "1.2.5 ");
        StreamBuilder body(syntax); // a defined sequence of one defined and one undefined item
        body.Item(static_cast<std::uint32_t>(definedItem.GetSize()))
            .Raw(definedItem.GetBytes())
            .Item()
            .Header(0x0008, 0x1199, "SQ", static_cast<std::uint32_t>(8 + inner.GetSize()))
            .Item(static_cast<std::uint32_t>(inner.GetSize()))
            .Raw(inner.GetBytes())
            .ItemEnd();
        StreamBuilder stream(syntax);
        stream.TextElement(0x0008, 0x0060, "CS", "MR")
            .Header(0x0008, 0x1115, "SQ", static_cast<std::uint32_t>(body.GetSize()))
            .Raw(body.GetBytes())
            .Element(0x0028, 0x0010, "US",
                     syntax == enSyntax::ExplicitBig ? Bytes{0, 64} : Bytes{64, 0})
            .Header(0x7FE0, 0x0010, "OB", 0xFFFFFFFF)
            .Item(0)
            .Item(4)
            .Raw({1, 2, 3, 4})
            .SequenceEnd();
        DICOMDataSet set;
        ASSERT_EQ(DecodeBytes(stream.GetBytes(), syntax, &set), 1) << NameOf(syntax);
        ASSERT_EQ(set.GetVR(0x0008, 0x1115)->GetItemCount(), 2);
        for (int item = 0; item < 2; ++item)
        {
            const DICOMVRSet* series = set.GetSequence(0x0008, 0x1115, item);
            ASSERT_NE(series, nullptr);
            const DICOMVRSet* sop = series->GetSequence(0x0008, 0x1199, 0);
            ASSERT_NE(sop, nullptr);
            EXPECT_EQ(std::string(sop->GetLettra(0x0008, 0x1155)), "1.2.3.4");
        }
        EXPECT_EQ(set.GetUINT16(0x0028, 0x0010), 64);
        EXPECT_TRUE(RoundTrips(set)) << "input " << NameOf(syntax);
    }
}

TEST_F(RoundTrip, BigAndLittleEndianFilesGiveEqualSets)
{
    const std::pair<const char*, const char*> pairs[] = {
        {"ExplVR_LitEndNoMeta.dcm", "ExplVR_BigEndNoMeta.dcm"},
        {"MR_small.dcm", "MR_small_expb.dcm"},
    };
    for (const auto& [little, big] : pairs)
    {
        DICOMDataSet littleSet;
        DICOMDataSet bigSet;
        ASSERT_EQ(DecodeFile(LoadFile(fs::path(SUITE_TEST_DATA_DIR) / "dicom" / little), littleSet),
                  1);
        ASSERT_EQ(DecodeFile(LoadFile(fs::path(SUITE_TEST_DATA_DIR) / "dicom" / big), bigSet), 1);
        EXPECT_GT(littleSet.GetVRCount(), 20);
        EXPECT_TRUE(littleSet == bigSet) << little;
        EXPECT_EQ(EncodeSet(littleSet, enSyntax::ExplicitBig),
                  EncodeSet(bigSet, enSyntax::ExplicitBig));
    }
}

// Private sequences of undefined length, unknown to the dictionary, nested
// two deep in implicit VR.
TEST_F(RoundTrip, NestedPrivateSequences)
{
    DICOMDataSet set;
    ASSERT_EQ(
        DecodeFile(LoadFile(fs::path(SUITE_TEST_DATA_DIR) / "dicom" / "nested_priv_SQ.dcm"), set),
        1);
    const DICOMVRSet* outer = set.GetSequence(0x0001, 0x0001, 0);
    ASSERT_NE(outer, nullptr);
    const DICOMVRSet* inner = outer->GetSequence(0x0001, 0x0001, 0);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(std::string(inner->GetLettra(0x0001, 0x0001)), "Double Nested SQ");
    EXPECT_EQ(std::string(outer->GetLettra(0x0001, 0x0002)), "Nested SQ");
    EXPECT_TRUE(RoundTrips(set));
}

// A private sequence coded as UN of undefined length holds implicit VR
// items inside explicit VR data.
TEST_F(RoundTrip, SequenceCodedAsUN)
{
    DICOMDataSet set;
    ASSERT_EQ(
        DecodeFile(LoadFile(fs::path(SUITE_TEST_DATA_DIR) / "dicom" / "UN_sequence.dcm"), set), 1);
    const DICOMVRSet* study = set.GetSequence(0x4453, 0x100C, 0);
    ASSERT_NE(study, nullptr);
    const DICOMVRSet* series = study->GetSequence(0x0008, 0x1115, 0);
    ASSERT_NE(series, nullptr);
    const DICOMVRSet* sop = series->GetSequence(0x0008, 0x1199, 0);
    ASSERT_NE(sop, nullptr);
    EXPECT_EQ(std::string(sop->GetLettra(0x0008, 0x1150)), "1.2.840.10008.5.1.4.1.1.2");
    EXPECT_TRUE(RoundTrips(set));
    EXPECT_EQ(set.GetVR(0x4453, 0x100C)->GetTypeCode(), VRCode::SQ); // as the encoders wrote it
}

// Files whose data set is broken or not a native coding: each must fail.
const std::set<std::string> BrokenFiles = {
    "MR_truncated.dcm",                // pixel data cut short
    "rtplan_truncated.dcm",            // cut inside a sequence
    "no_meta.dcm",                     // a stray byte before the data set
    "SC_rgb_jpeg.dcm",                 // implicit data under an explicit syntax
    "image_dfl.dcm",                   // deflated
    "zipMR.gz",                        // gzip
    "README.txt",                      // text
    "dicomdirtests/README.txt",        // text
    "dicomdirtests/TINY_ALPHA/README", // text
};

std::vector<std::string> CorpusFiles()
{
    std::vector<std::string> files;
    const fs::path root = fs::path(SUITE_CORPUS_DIR) / "pydicom" / "test_files";
    if (!fs::is_directory(root))
    {
        return files;
    }
    for (const auto& entry : fs::recursive_directory_iterator(root))
    {
        if (entry.is_regular_file())
        {
            files.push_back(fs::relative(entry.path(), root).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class CorpusFile : public DictionaryTest, public ::testing::WithParamInterface<std::string>
{
};

INSTANTIATE_TEST_SUITE_P(Pydicom, CorpusFile, ::testing::ValuesIn(CorpusFiles()),
                         [](const auto& info)
                         {
                             std::string name = info.param;
                             std::replace_if(
                                 name.begin(), name.end(),
                                 [](char c)
                                 { return !std::isalnum(static_cast<unsigned char>(c)); },
                                 '_');
                             return name;
                         });

TEST_P(CorpusFile, DecodesAndRoundTripsOrFails)
{
    const Bytes file = LoadFile(fs::path(SUITE_CORPUS_DIR) / "pydicom" / "test_files" / GetParam());
    DICOMDataSet set;
    std::uint32_t left = 0;
    const int result = DecodeFile(file, set, &left);
    if (BrokenFiles.count(GetParam()) != 0)
    {
        EXPECT_EQ(result, 0);
        return;
    }
    ASSERT_EQ(result, 1);
    EXPECT_EQ(left, 0u);
    EXPECT_FALSE(set.IsEmpty());
    EXPECT_TRUE(RoundTrips(set));
}

TEST(CorpusFiles, AreThere)
{
    EXPECT_GT(CorpusFiles().size(), 100u);
}

} // namespace
