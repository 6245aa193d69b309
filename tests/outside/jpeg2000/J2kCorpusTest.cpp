// The JPEG 2000 samples of the corpus decode to the pixels the peer toolkit
// gives (checksums made by tools/make_codec_references.py).
#include "CorpusFrames.h"
#include "Quoral2KFixture.h"

namespace
{
struct J2kReference
{
    const char* pFile;
    const char* pEntry;
    int nRows;
    int nColumns;
    size_t nLength;
    uint64_t nChecksum;
};

const J2kReference kReferences[] = {
#include "J2kCorpusReferences.inc"
};

std::string GetReferenceName(const ::testing::TestParamInfo<J2kReference>& info)
{
    return GetCorpusTestName(info.param.pFile);
}
} // namespace

class J2kCorpus : public Quoral2KFixture, public ::testing::WithParamInterface<J2kReference>
{
};

TEST_P(J2kCorpus, FrameMatchesPeerToolkit)
{
    if (!IsCorpusPresent())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    const J2kReference& reference = GetParam();
    const std::vector<ByteVector> frames =
        ReadEncapsulatedFrames(GetCorpusPath(reference.pFile), 1);
    ASSERT_EQ(frames.size(), 1u);

    const auto decoded = Decode(reference.pEntry, frames[0], GetEntryPixelBytes(reference.pEntry));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->nRows, reference.nRows);
    EXPECT_EQ(decoded->nColumns, reference.nColumns);
    EXPECT_EQ(decoded->pixels.size(), reference.nLength);
    EXPECT_EQ(GetFnv1a64(decoded->pixels.data(), decoded->pixels.size()), reference.nChecksum);
}

INSTANTIATE_TEST_SUITE_P(Corpus, J2kCorpus, ::testing::ValuesIn(kReferences), GetReferenceName);
