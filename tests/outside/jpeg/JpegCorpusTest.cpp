// Every JPEG file of the corpus decodes to the pixels a peer toolkit gives
// (checksums made by tools/jpeg/make_corpus_references.py).
#include "CorpusFrames.h"
#include "DicomJpegStream.h"
#include "PeerReference.h"
#include "QuorexCaller.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const PeerReference kCorpusReferences[] = {
#include "JpegCorpusReferences.inc"
};

class JpegCorpusTest : public ::testing::TestWithParam<PeerReference>
{
};

TEST_P(JpegCorpusTest, DecodesToThePeerPixels)
{
    const PeerReference& reference = GetParam();
    const ByteVector stream =
        ReadJpegStreamOfFile(std::string(SUITE_CORPUS_DIR) + "/" + reference.pName);
    ASSERT_FALSE(stream.empty()) << reference.pName;
    const QuorexCaller quorex;
    ASSERT_TRUE(quorex.IsLoaded());

    ExpectPeerPixels(quorex.Decode(reference.pEntry, stream), reference);
}

std::string GetCaseName(const ::testing::TestParamInfo<PeerReference>& info)
{
    return GetCorpusTestName(info.param.pName);
}

INSTANTIATE_TEST_SUITE_P(Corpus, JpegCorpusTest, ::testing::ValuesIn(kCorpusReferences),
                         GetCaseName);
} // namespace
