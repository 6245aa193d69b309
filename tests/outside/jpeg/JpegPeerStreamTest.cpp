// Streams made by peer encoders (tests/data/jpeg, tools/jpeg/make_peer_streams.py)
// decode to the pixels dcmtk gives, through Quorex and, for the 16-bit lossless
// decode, through Quoral as well.
#include "DicomJpegStream.h"
#include "PeerReference.h"
#include "QuorexCaller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
const PeerReference kPeerReferences[] = {
#include "JpegPeerReferences.inc"
};

ByteVector ReadStream(const PeerReference& reference)
{
    return ReadWholeFile(std::string(SUITE_TEST_DATA_DIR) + "/jpeg/" + reference.pName + ".jpg");
}

// The streams for the one entry "Quoral.dll" offers.
std::vector<PeerReference> GetQuoralReferences()
{
    std::vector<PeerReference> references;
    for (const PeerReference& reference : kPeerReferences)
    {
        if (std::string(reference.pEntry) == "JPEGProc14_16BitDecode")
        {
            references.push_back(reference);
        }
    }
    return references;
}

std::string GetCaseName(const ::testing::TestParamInfo<PeerReference>& info)
{
    return info.param.pName;
}

class JpegPeerStreamTest : public ::testing::TestWithParam<PeerReference>
{
};

TEST_P(JpegPeerStreamTest, QuorexDecodesToThePeerPixels)
{
    const ByteVector stream = ReadStream(GetParam());
    ASSERT_FALSE(stream.empty());
    ExpectPeerPixels(QuorexCaller("Quorex").Decode(GetParam().pEntry, stream), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Peers, JpegPeerStreamTest, ::testing::ValuesIn(kPeerReferences),
                         GetCaseName);

class QuoralPeerStreamTest : public ::testing::TestWithParam<PeerReference>
{
};

TEST_P(QuoralPeerStreamTest, QuoralDecodesToThePeerPixels)
{
    const ByteVector stream = ReadStream(GetParam());
    ASSERT_FALSE(stream.empty());
    ExpectPeerPixels(QuorexCaller("Quoral").Decode(GetParam().pEntry, stream), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Peers, QuoralPeerStreamTest, ::testing::ValuesIn(GetQuoralReferences()),
                         GetCaseName);
} // namespace
