#include "ResampleCall.h"
#include "FakeCodecLibrary.h"
#include "WinError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace
{

constexpr enFakeLibrary Pemsola = enFakeLibrary::Pemsola;
constexpr enFakeLibrary Emsola = enFakeLibrary::Emsola;

template <enFakeLibrary Library> std::vector<FakeModuleEntry> MakeResampleEntries()
{
    return {MakeFakeModuleEntry("ResampleU8", &FakeResample<Library, std::uint8_t>),
            MakeFakeModuleEntry("ResampleS8", &FakeResample<Library, std::int8_t>),
            MakeFakeModuleEntry("ResampleU16", &FakeResample<Library, std::uint16_t>),
            MakeFakeModuleEntry("ResampleS16", &FakeResample<Library, std::int16_t>),
            MakeFakeModuleEntry("ResampleColor24", &FakeResample<Library, std::uint8_t, 3>)};
}

class ResampleCallTest : public FakeCodecTest
{
protected:
    void SetUp() override
    {
        FakeCodecTest::SetUp();
        RegisterAbsentModule("Emsola.dll");
    }
};

// Scales a 4 x 3 image of the sample type to 6 x 5 through one entry.
template <class Sample, class Call>
void ExpectScaled(Call call, int samplesPerPixel, enFakeLibrary library)
{
    const std::vector<Sample> source(4 * 3 * samplesPerPixel, Sample(7));
    std::unique_ptr<Sample[]> scaled;
    ASSERT_EQ(call(source.data(), 4, 3, 6, 5, 1, scaled), enResampleOutcome::Done);
    ASSERT_NE(scaled, nullptr);
    const auto* pBytes = reinterpret_cast<const std::uint8_t*>(scaled.get());
    const std::size_t length = 6 * 5 * samplesPerPixel * sizeof(Sample);
    EXPECT_EQ(std::count(pBytes, pBytes + length, GetFakeMarker(library)),
              static_cast<std::ptrdiff_t>(length));
    EXPECT_EQ(GetFakeState().resampleArguments,
              (std::vector<int>{4, 3, 0, 0, 4, 3, 6, 5, 0, 0, 6, 5}));
    EXPECT_EQ(GetFakeState().mode, 1);
}

TEST_F(ResampleCallTest, EveryEntryScalesTheWholeImage)
{
    RegisterFakeModule("Pemsola.dll", MakeResampleEntries<Pemsola>());
    ExpectScaled<std::uint8_t>(&ResampleCall::ResampleU8, 1, Pemsola);
    ExpectScaled<std::int8_t>(&ResampleCall::ResampleS8, 1, Pemsola);
    ExpectScaled<std::uint16_t>(&ResampleCall::ResampleU16, 1, Pemsola);
    ExpectScaled<std::int16_t>(&ResampleCall::ResampleS16, 1, Pemsola);
    ExpectScaled<std::uint8_t>(&ResampleCall::ResampleColor24, 3, Pemsola);
    EXPECT_EQ(GetFakeState().calls.size(), 5u);
}

TEST_F(ResampleCallTest, TheLibraryStaysLoadedAfterASuccessfulCall)
{
    RegisterFakeModule("Pemsola.dll", MakeResampleEntries<Pemsola>());
    ExpectScaled<std::uint16_t>(&ResampleCall::ResampleU16, 1, Pemsola);
    EXPECT_EQ(GetFakeModuleLoadCount("Pemsola.dll"), 1);
}

TEST_F(ResampleCallTest, WithoutPemsolaEmsolaScales)
{
    RegisterAbsentModule("Pemsola.dll");
    RegisterFakeModule("Emsola.dll", MakeResampleEntries<Emsola>());
    ExpectScaled<std::int16_t>(&ResampleCall::ResampleS16, 1, Emsola);
    EXPECT_EQ(GetFakeState().calls, std::vector<enFakeLibrary>{Emsola});
}

TEST_F(ResampleCallTest, WithNeitherLibraryNothingChanges)
{
    RegisterAbsentModule("Pemsola.dll");
    const std::vector<std::uint8_t> source(4, 1);
    std::unique_ptr<std::uint8_t[]> scaled;
    SetLastError(0);
    EXPECT_EQ(ResampleCall::ResampleU8(source.data(), 2, 2, 4, 4, 0, scaled),
              enResampleOutcome::NoLibrary);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(scaled, nullptr);
}

TEST_F(ResampleCallTest, AMissingEntryFreesTheLibrary)
{
    const FakeModuleEntry onlyU8[] = {
        MakeFakeModuleEntry("ResampleU8", &FakeResample<Pemsola, std::uint8_t>)};
    RegisterFakeModule("Pemsola.dll", onlyU8);
    const std::vector<std::uint16_t> source(4, 1);
    std::unique_ptr<std::uint16_t[]> scaled;
    EXPECT_EQ(ResampleCall::ResampleU16(source.data(), 2, 2, 4, 4, 0, scaled),
              enResampleOutcome::NoEntry);
    EXPECT_EQ(scaled, nullptr);
    EXPECT_EQ(GetFakeModuleLoadCount("Pemsola.dll"), 0);
}

TEST_F(ResampleCallTest, ARefusedCallKeepsTheImageAsItWas)
{
    RegisterFakeModule("Pemsola.dll", MakeResampleEntries<Pemsola>());
    GetFakeState().resampleResult = 0;
    const std::vector<std::uint8_t> source(4, 1);
    auto scaled = std::make_unique<std::uint8_t[]>(1);
    const std::uint8_t* pBefore = scaled.get();
    EXPECT_EQ(ResampleCall::ResampleU8(source.data(), 2, 2, 4, 4, 0, scaled),
              enResampleOutcome::Refused);
    EXPECT_EQ(scaled.get(), pBefore);
    EXPECT_EQ(GetFakeModuleLoadCount("Pemsola.dll"), 0);
}

TEST_F(ResampleCallTest, SizesThatCannotBeScaledAreRefusedBeforeLoading)
{
    RegisterFakeModule("Pemsola.dll", MakeResampleEntries<Pemsola>());
    const std::vector<std::uint8_t> source(4, 1);
    struct Case
    {
        const std::uint8_t* source;
        int width, height, newWidth, newHeight;
    };
    const Case cases[] = {{nullptr, 2, 2, 4, 4},        {source.data(), 0, 2, 4, 4},
                          {source.data(), 2, -1, 4, 4}, {source.data(), 2, 2, 0, 4},
                          {source.data(), 2, 2, 4, -4}, {source.data(), 2, 2, 70000, 70000}};
    for (const Case& c : cases)
    {
        std::unique_ptr<std::uint8_t[]> scaled;
        EXPECT_EQ(ResampleCall::ResampleColor24(c.source, c.width, c.height, c.newWidth,
                                                c.newHeight, 0, scaled),
                  enResampleOutcome::Refused);
        EXPECT_EQ(scaled, nullptr);
    }
    EXPECT_TRUE(GetFakeState().calls.empty());
    EXPECT_EQ(GetFakeModuleLoadCount("Pemsola.dll"), 0);
}

} // namespace
