// Test helper: fake codec and resampling libraries for the fake-module
// registry. Every fake entry records its call in one shared state, answers
// as the state tells it (a buffer, null, or an exception), and marks the
// buffers it returns with its library, so that a test can see which library
// decoded and whether the right free function gave the buffer back.
#pragma once

#include "CodecCall.h"
#include "CodecOutputSupport.h"
#include "WinModule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <new>
#include <stdexcept>
#include <vector>

enum class enFakeLibrary
{
    Quorex,
    Quoral,
    Quoral2K,
    Vennet,
    Pemsola,
    Emsola
};

enum class enFakeAnswer
{
    Buffer,
    Null,
    Throw
};

struct FakeCodecState
{
    enFakeAnswer answer = enFakeAnswer::Buffer;
    int reportedRows = 2;    // what decoders report
    int reportedColumns = 3; // what decoders report
    int reportedLength = 5;  // what encoders and the RLE decoder report
    int resampleResult = 1;  // what resampling entries return

    std::vector<enFakeLibrary> calls; // libraries whose entries ran, in order
    std::vector<std::uint8_t> input;  // the bytes the last entry was given
    int rows = -1, columns = -1, quality = -1, isSigned = -1, mode = -1;
    std::vector<int> resampleArguments; // the sizes and rectangles of the last resampling call

    std::map<const unsigned char*, enFakeLibrary> outstanding; // returned, not yet freed
    std::vector<enFakeLibrary> frees;                          // free functions that ran
    int wrongFrees = 0; // buffers given to the free function of another library
};

inline FakeCodecState& GetFakeState()
{
    static FakeCodecState state;
    return state;
}

// Starts a test from a clean state and no fake modules.
inline void ResetFakes()
{
    for (const auto& [pBuffer, library] : GetFakeState().outstanding)
    {
        delete[] pBuffer;
    }
    GetFakeState() = FakeCodecState{};
    ClearFakeModules();
}

// The marker byte every returned buffer of a library is filled with.
constexpr std::uint8_t GetFakeMarker(enFakeLibrary library)
{
    return static_cast<std::uint8_t>(0xA0 + static_cast<int>(library));
}

template <enFakeLibrary Library>
unsigned char* AnswerFake(const unsigned char* pInput, std::size_t inputLength,
                          std::int64_t outLength)
{
    FakeCodecState& state = GetFakeState();
    state.calls.push_back(Library);
    state.input.assign(pInput, pInput + inputLength);
    if (state.answer == enFakeAnswer::Throw)
    {
        throw std::runtime_error("fake entry fails");
    }
    if (state.answer == enFakeAnswer::Null || outLength < 0)
    {
        return nullptr;
    }
    unsigned char* pBuffer = new unsigned char[static_cast<std::size_t>(outLength) + 1];
    std::fill_n(pBuffer, outLength + 1, GetFakeMarker(Library));
    state.outstanding[pBuffer] = Library;
    return pBuffer;
}

template <enFakeLibrary Library> void FakeFree(unsigned char* pBuffer)
{
    FakeCodecState& state = GetFakeState();
    state.frees.push_back(Library);
    const auto found = state.outstanding.find(pBuffer);
    if (found == state.outstanding.end())
    {
        return;
    }
    if (found->second != Library)
    {
        ++state.wrongFrees;
    }
    state.outstanding.erase(found);
    delete[] pBuffer;
}

template <enFakeLibrary Library>
unsigned char* FakeDecode(const unsigned char* pData, int* pRows, int* pColumns, int nLength)
{
    FakeCodecState& state = GetFakeState();
    *pRows = state.reportedRows;
    *pColumns = state.reportedColumns;
    const std::int64_t pixels = static_cast<std::int64_t>(state.reportedRows) *
                                state.reportedColumns * 3; // enough for every layout
    return AnswerFake<Library>(pData, static_cast<std::size_t>(nLength), pixels);
}

template <enFakeLibrary Library>
unsigned char* FakeLosslessEncode(const unsigned char* pRaw, int nRows, int nColumns, int* pLength)
{
    FakeCodecState& state = GetFakeState();
    state.rows = nRows;
    state.columns = nColumns;
    *pLength = state.reportedLength;
    return AnswerFake<Library>(pRaw, 0, state.reportedLength);
}

template <enFakeLibrary Library>
unsigned char* FakeLossyEncode(const unsigned char* pRaw, int nRows, int nColumns, int nQuality,
                               int* pLength)
{
    GetFakeState().quality = nQuality;
    return FakeLosslessEncode<Library>(pRaw, nRows, nColumns, pLength);
}

template <enFakeLibrary Library>
unsigned char* FakeJ2kEncode(const unsigned char* pRaw, int nRows, int nColumns, int* pLength,
                             int nSigned)
{
    GetFakeState().isSigned = nSigned;
    return FakeLosslessEncode<Library>(pRaw, nRows, nColumns, pLength);
}

template <enFakeLibrary Library>
unsigned char* FakeRleDecode(const unsigned char* pData, int nLength, int* pOutLength)
{
    *pOutLength = GetFakeState().reportedLength;
    return AnswerFake<Library>(pData, static_cast<std::size_t>(nLength),
                               GetFakeState().reportedLength);
}

// Fills the destination with the library's marker; returns the state's result.
template <enFakeLibrary Library, class Sample, int SamplesPerPixel = 1>
int FakeResample(const Sample*, int nSrcWidth, int nSrcHeight, int nSrcX, int nSrcY, int nSrcW,
                 int nSrcH, Sample* pDst, int nDstWidth, int nDstHeight, int nDstX, int nDstY,
                 int nDstW, int nDstH, int nMode)
{
    FakeCodecState& state = GetFakeState();
    state.calls.push_back(Library);
    state.mode = nMode;
    state.resampleArguments = {nSrcWidth, nSrcHeight, nSrcX, nSrcY, nSrcW, nSrcH,
                               nDstWidth, nDstHeight, nDstX, nDstY, nDstW, nDstH};
    if (state.resampleResult != 0)
    {
        auto* pBytes = reinterpret_cast<std::uint8_t*>(pDst);
        std::fill_n(pBytes,
                    static_cast<std::size_t>(nDstW) * nDstH * SamplesPerPixel * sizeof(Sample),
                    GetFakeMarker(Library));
    }
    return state.resampleResult;
}

// A sink that fails as a full stream would.
inline CodecSink GetThrowingSink()
{
    return [](const std::uint8_t*, std::uint32_t) { throw std::bad_alloc(); };
}

// Every test starts and ends without fakes and with a clean state.
class FakeCodecTest : public ::testing::Test
{
protected:
    void SetUp() override { ResetFakes(); }
    void TearDown() override { ResetFakes(); }
};
