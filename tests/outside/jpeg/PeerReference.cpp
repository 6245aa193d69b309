#include "PeerReference.h"

#include "Crc32.h"

#include <gtest/gtest.h>

void PrintTo(const PeerReference& reference, std::ostream* pStream)
{
    *pStream << reference.pName << " through " << reference.pEntry;
}

void ExpectPeerPixels(const DecodeResult& result, const PeerReference& reference)
{
    ASSERT_TRUE(result.bReturned);
    EXPECT_EQ(result.nRows, reference.nRows);
    EXPECT_EQ(result.nColumns, reference.nColumns);
    ASSERT_EQ(result.pixels.size(), reference.nLength);
    EXPECT_EQ(ComputeCrc32(result.pixels.data(), result.pixels.size()), reference.nCrc);
}
