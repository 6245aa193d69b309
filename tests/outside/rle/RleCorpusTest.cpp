// Every frame of the RLE samples of the corpus decodes to the pixels the peer
// toolkits give (checksums made by tools/make_codec_references.py).
#include "CorpusFrames.h"
#include "VennetFixture.h"

#include <string>

namespace
{
struct RleReference
{
    const char* pFile;
    size_t nFrames;
    size_t nFrame;
    size_t nLength;
    uint64_t nChecksum;
};

const RleReference kReferences[] = {
#include "RleCorpusReferences.inc"
};

std::string GetReferenceName(const ::testing::TestParamInfo<RleReference>& info)
{
    return GetCorpusTestName(info.param.pFile) + "_frame" + std::to_string(info.param.nFrame);
}
} // namespace

class RleCorpus : public VennetFixture, public ::testing::WithParamInterface<RleReference>
{
};

TEST_P(RleCorpus, FrameMatchesPeerToolkit)
{
    if (!IsCorpusPresent())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    const RleReference& reference = GetParam();
    const std::vector<ByteVector> frames =
        ReadEncapsulatedFrames(GetCorpusPath(reference.pFile), reference.nFrames);
    ASSERT_EQ(frames.size(), reference.nFrames);

    const auto pixels = Decode(frames[reference.nFrame]);
    ASSERT_TRUE(pixels.has_value());
    EXPECT_EQ(pixels->size(), reference.nLength);
    EXPECT_EQ(GetFnv1a64(pixels->data(), pixels->size()), reference.nChecksum);
}

INSTANTIATE_TEST_SUITE_P(Corpus, RleCorpus, ::testing::ValuesIn(kReferences), GetReferenceName);
