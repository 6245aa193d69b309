#include "RleCodecCall.h"
#include "FakeCodecLibrary.h"
#include "InBuffer.h"
#include "OutBuffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;
constexpr enFakeLibrary Vennet = enFakeLibrary::Vennet;

void RegisterVennet(bool withEntry, bool withFree)
{
    std::vector<FakeModuleEntry> entries;
    if (withEntry)
    {
        entries.push_back(MakeFakeModuleEntry("RLE_Dec", &FakeRleDecode<Vennet>));
    }
    if (withFree)
    {
        entries.push_back(MakeFakeModuleEntry("Vennet_DEL", &FakeFree<Vennet>));
    }
    RegisterFakeModule("Vennet.dll", entries);
}

class RleCodecCallTest : public FakeCodecTest
{
};

TEST_F(RleCodecCallTest, TheWholeFrameGoesToTheEntryAndItsPixelsToTheSink)
{
    RegisterVennet(true, true);
    GetFakeState().reportedLength = 11;
    Bytes frame(64, 0);
    frame[0] = 2;
    frame.insert(frame.end(), {0x01, 0x7F, 0x00, 0x01, 0x80, 0x01});
    CollectedOutput output;
    ASSERT_TRUE(RleCodecCall::Decode(frame, output.GetSink()));
    EXPECT_EQ(GetFakeState().input, frame);
    EXPECT_EQ(output.bytes.size(), 11u);
    EXPECT_TRUE(output.IsAll(GetFakeMarker(Vennet)));
    EXPECT_EQ(GetFakeState().frees, std::vector<enFakeLibrary>{Vennet});
    EXPECT_EQ(GetFakeModuleLoadCount("Vennet.dll"), 0);
}

TEST_F(RleCodecCallTest, FailuresGiveFalseAndLeaveTheSinkAlone)
{
    struct Case
    {
        const char* name;
        void (*stage)();
        std::size_t expectedCalls;
    };
    const Case cases[] = {
        {"absent library", [] { RegisterAbsentModule("Vennet.dll"); }, 0},
        {"absent entry", [] { RegisterVennet(false, true); }, 0},
        {"absent free function", [] { RegisterVennet(true, false); }, 0},
        {"null result",
         []
         {
             RegisterVennet(true, true);
             GetFakeState().answer = enFakeAnswer::Null;
         },
         1},
        {"exception",
         []
         {
             RegisterVennet(true, true);
             GetFakeState().answer = enFakeAnswer::Throw;
         },
         1},
        {"negative length",
         []
         {
             RegisterVennet(true, true);
             GetFakeState().reportedLength = -3;
         },
         1},
    };
    for (const Case& c : cases)
    {
        ResetFakes();
        c.stage();
        CollectedOutput output;
        EXPECT_FALSE(RleCodecCall::Decode(Bytes(70, 1), output.GetSink())) << c.name;
        EXPECT_EQ(GetFakeState().calls.size(), c.expectedCalls) << c.name;
        EXPECT_EQ(output.appends, 0) << c.name;
        EXPECT_TRUE(GetFakeState().outstanding.empty()) << c.name;
        EXPECT_LE(GetFakeModuleLoadCount("Vennet.dll"), 0) << c.name;
    }
}

} // namespace

namespace
{

// The stream form gathers the unread input, however it is chunked, and
// writes after what the output already holds.
TEST_F(RleCodecCallTest, StreamsAreGatheredAndAppendedTo)
{
    RegisterVennet(true, true);
    GetFakeState().reportedLength = 4;
    const Bytes head(64, 0x11);
    const Bytes tail = {1, 2, 3};
    MemInBuffer input;
    input.Attach(head.data(), static_cast<std::uint32_t>(head.size()));
    input.Attach(tail.data(), static_cast<std::uint32_t>(tail.size()));
    std::uint8_t skipped = 0;
    input.Get1(skipped);
    MemOutBuffer output;
    output.Put2(0xBEEF);
    ASSERT_TRUE(RleCodecCall::Decode(input, output));
    Bytes expectedInput(head.begin() + 1, head.end());
    expectedInput.insert(expectedInput.end(), tail.begin(), tail.end());
    EXPECT_EQ(GetFakeState().input, expectedInput);
    EXPECT_EQ(input.GetAvailable(), 0u);
    ASSERT_EQ(output.GetTotal(), 6u);
    Bytes written(6);
    output.CopyOut(written.data());
    const std::uint8_t marker = GetFakeMarker(Vennet);
    EXPECT_EQ(written, (Bytes{0xEF, 0xBE, marker, marker, marker, marker}));
}

} // namespace
