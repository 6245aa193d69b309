// What the codec calls write to the library log: nothing for a missing
// library, the exception filter and a fatal line naming the routine for an
// exception in a JPEG 2000 or RLE call, nothing for one in a JPEG call.
#include "../Base/FakeCodecLibrary.h"
#include "J2kCodecCall.h"
#include "JpegCodecCall.h"
#include "LoggedTest.h"
#include "RleCodecCall.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

class CodecCallLog : public LoggedTest<FakeCodecTest>
{
};

std::string ExceptionLines(const char* routine)
{
    return std::string(
               "\r\n\r\n00:00:00  Enter ExceptionFilter.\r\n00:00:00  Error of exception at ") +
           routine + "\r\n";
}

TEST_F(CodecCallLog, WithoutTheLibraryEveryJpeg2000RoutineFailsSilently)
{
    RegisterAbsentModule("Quoral2K.dll");
    const Bytes data(4 * 4 * 3, 0);
    for (const enJ2kCoding coding : {enJ2kCoding::Lossless, enJ2kCoding::Lossy})
    {
        for (const enCodecLayout layout :
             {enCodecLayout::Bits8, enCodecLayout::Bits16, enCodecLayout::RGB})
        {
            CollectedOutput output;
            int rows = 0;
            int columns = 0;
            bool encoded = true;
            bool decoded = true;
            EXPECT_EQ(Appended(
                          [&]
                          {
                              encoded = J2kCodecCall::Encode(coding, layout, data, output.GetSink(),
                                                             4, 4, false);
                              decoded = J2kCodecCall::Decode(coding, layout, data, output.GetSink(),
                                                             rows, columns);
                          }),
                      "");
            EXPECT_FALSE(encoded);
            EXPECT_FALSE(decoded);
        }
    }
}

TEST_F(CodecCallLog, AnExceptionInAJpeg2000CallIsLoggedWithTheRoutine)
{
    const FakeModuleEntry entries[] = {
        MakeFakeModuleEntry("JP2_16BitDecode", &FakeDecode<enFakeLibrary::Quoral2K>),
        MakeFakeModuleEntry("JPC_RGBEncode", &FakeJ2kEncode<enFakeLibrary::Quoral2K>),
        MakeFakeModuleEntry("JPGDEL", &FakeFree<enFakeLibrary::Quoral2K>)};
    RegisterFakeModule("Quoral2K.dll", entries);
    int rows = 0;
    int columns = 0;
    EXPECT_EQ(Appended(
                  [&]
                  {
                      EXPECT_FALSE(J2kCodecCall::Decode(enJ2kCoding::Lossless,
                                                        enCodecLayout::Bits16, Bytes(9, 0),
                                                        GetThrowingSink(), rows, columns));
                  }),
              ExceptionLines("JP2KLossless_16BitDecode"));
    GetFakeState().answer = enFakeAnswer::Throw;
    CollectedOutput output;
    EXPECT_EQ(Appended(
                  [&]
                  {
                      EXPECT_FALSE(J2kCodecCall::Encode(enJ2kCoding::Lossy, enCodecLayout::RGB,
                                                        Bytes(12, 0), output.GetSink(), 2, 2,
                                                        false));
                  }),
              ExceptionLines("JP2KLossy_RGBEncode"));
}

TEST_F(CodecCallLog, AnExceptionInTheRleCallIsLoggedWithTheRoutine)
{
    const FakeModuleEntry entries[] = {
        MakeFakeModuleEntry("RLE_Dec", &FakeRleDecode<enFakeLibrary::Vennet>),
        MakeFakeModuleEntry("Vennet_DEL", &FakeFree<enFakeLibrary::Vennet>)};
    RegisterFakeModule("Vennet.dll", entries);
    GetFakeState().answer = enFakeAnswer::Throw;
    CollectedOutput output;
    EXPECT_EQ(Appended([&] { EXPECT_FALSE(RleCodecCall::Decode(Bytes(70, 0), output.GetSink())); }),
              ExceptionLines("RLE_Decode"));
}

TEST_F(CodecCallLog, AnExceptionInAJpegCallIsNotLogged)
{
    const FakeModuleEntry entries[] = {
        MakeFakeModuleEntry("JPEGBaseline_8BitDecode", &FakeDecode<enFakeLibrary::Quorex>),
        MakeFakeModuleEntry("jpgdel", &FakeFree<enFakeLibrary::Quorex>)};
    RegisterFakeModule("Quorex.dll", entries);
    GetFakeState().answer = enFakeAnswer::Throw;
    CollectedOutput output;
    int rows = 0;
    int columns = 0;
    EXPECT_EQ(Appended(
                  [&]
                  {
                      EXPECT_FALSE(JpegCodecCall::Decode(enJpegProcess::Baseline,
                                                         enCodecLayout::Bits8, Bytes(8, 0),
                                                         output.GetSink(), rows, columns));
                  }),
              "");
}

TEST_F(CodecCallLog, ShortRawInputIsRefusedWithAWarning)
{
    CollectedOutput output;
    EXPECT_EQ(Appended(
                  [&]
                  {
                      EXPECT_FALSE(J2kCodecCall::Encode(enJ2kCoding::Lossless,
                                                        enCodecLayout::Bits16, Bytes(7, 0),
                                                        output.GetSink(), 2, 2, false));
                  }),
              "00:00:00  Enter JP2KLossless_16BitEncode, 7 bytes of raw pixels do not hold 2 rows "
              "of 2 columns\r\n");
}

} // namespace
