// The rendering chain on the sample corpus: for every image file the peer
// renders (tools/make_viewer_chain_references.py), the full-view DIB an
// ImageShow builds at 1:1 equals the peer's rendering within one level, or
// the file is one the viewer refuses, for the reason named below. Grey,
// MONOCHROME1, signed, rescaled, palette, RGB, YBR and JPEG-coded images are
// among them.
#include "ImageShowTestSupport.h"
#include "ReferenceImage.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace
{

struct ChainReference
{
    const char* file;
    const char* reference;
};

const ChainReference ChainReferences[] = {
#include "ChainCorpusReferences.inc"
};

// Files the viewer does not show, and why.
const std::map<std::string, std::string> Refused = {
    {"pydicom/test_files/image_dfl.dcm", "deflated data set"},
};

std::string CorpusPath(const std::string& name)
{
    return std::string(SUITE_CORPUS_DIR) + "/" + name;
}

} // namespace

class ImageShowCorpusTest : public ImageShowTest,
                            public ::testing::WithParamInterface<ChainReference>
{
};

TEST_P(ImageShowCorpusTest, RendersAsThePeerDoes)
{
    const ChainReference& entry = GetParam();
    if (!std::filesystem::is_directory(CorpusPath("pydicom")))
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    Corvane holder;
    holder.LoadDicomFile(CorpusPath(entry.file).c_str());
    ImageShow show;
    show.AttachCorvane(holder, 0);
    show.BuildFullViewDIB();
    const auto refused = Refused.find(entry.file);
    if (refused != Refused.end())
    {
        EXPECT_TRUE(show.GetDIB().IsEmpty()) << "shown after all: " << refused->second;
        return;
    }
    const ReferenceImage expected =
        ReadReferenceImage(std::string(SUITE_TEST_DATA_DIR) + "/viewer_chain/" + entry.reference);
    ASSERT_FALSE(expected.IsEmpty()) << entry.reference;
    const bool palette = show.GetMetaImage()->GetColorLUT() != nullptr;
    const DIBPixels rendered = ReadDIB(show.GetDIB(), palette);
    ASSERT_EQ(rendered.width, expected.width);
    ASSERT_EQ(rendered.height, expected.height);
    ASSERT_EQ(rendered.channels, expected.channels);
    EXPECT_EQ(CompareWithReference(expected, rendered.samples), "");
}

// Test names from the corpus path: letters and digits only.
std::string ReferenceName(const ::testing::TestParamInfo<ChainReference>& info)
{
    std::string name;
    for (const char* c = info.param.file; *c != 0; ++c)
    {
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, ImageShowCorpusTest, ::testing::ValuesIn(ChainReferences),
                         ReferenceName);
