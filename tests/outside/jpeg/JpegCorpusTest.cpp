// Every JPEG file of the corpus decodes to the pixels a peer toolkit gives
// (checksums made by tools/jpeg/make_corpus_references.py).
#include "CorpusFrames.h"
#include "Crc32.h"
#include "DicomJpegStream.h"
#include "QuorexCaller.h"

#include <gtest/gtest.h>

#include <ostream>

namespace
{
struct CorpusReference
{
    const char* pFile;
    const char* pEntry;
    int nRows;
    int nColumns;
    size_t nLength;
    uint32_t nCrc;
};

const CorpusReference kCorpusReferences[] = {
#include "JpegCorpusReferences.inc"
};

void PrintTo(const CorpusReference& reference, std::ostream* pStream)
{
    *pStream << reference.pFile << " through " << reference.pEntry;
}

class JpegCorpusTest : public ::testing::TestWithParam<CorpusReference>
{
};

TEST_P(JpegCorpusTest, DecodesToThePeerPixels)
{
    const CorpusReference& reference = GetParam();
    const ByteVector stream =
        ReadJpegStreamOfFile(std::string(SUITE_CORPUS_DIR) + "/" + reference.pFile);
    ASSERT_FALSE(stream.empty()) << reference.pFile;
    const QuorexCaller quorex;
    ASSERT_TRUE(quorex.IsLoaded());

    const DecodeResult result = quorex.Decode(reference.pEntry, stream);

    ASSERT_TRUE(result.bReturned);
    EXPECT_EQ(result.nRows, reference.nRows);
    EXPECT_EQ(result.nColumns, reference.nColumns);
    ASSERT_EQ(result.pixels.size(), reference.nLength);
    EXPECT_EQ(ComputeCrc32(result.pixels.data(), result.pixels.size()), reference.nCrc);
}

std::string GetCaseName(const ::testing::TestParamInfo<CorpusReference>& info)
{
    return GetCorpusTestName(info.param.pFile);
}

INSTANTIATE_TEST_SUITE_P(Corpus, JpegCorpusTest, ::testing::ValuesIn(kCorpusReferences),
                         GetCaseName);
} // namespace
