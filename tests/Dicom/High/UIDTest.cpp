#include "UID.h"
#include "WinNetwork.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

std::vector<std::string> Components(const std::string& uid)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t dot = uid.find('.'); dot != std::string::npos; dot = uid.find('.', start))
    {
        parts.push_back(uid.substr(start, dot - start));
        start = dot + 1;
    }
    parts.push_back(uid.substr(start));
    return parts;
}

// A UID of digits and dots, at most 64 characters, no empty component and
// no component with a leading zero.
::testing::AssertionResult IsWellFormed(const std::string& uid)
{
    if (uid.empty() || uid.size() > 64)
    {
        return ::testing::AssertionFailure() << uid << " has length " << uid.size();
    }
    for (const std::string& part : Components(uid))
    {
        if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos ||
            (part.size() > 1 && part[0] == '0'))
        {
            return ::testing::AssertionFailure() << uid << " has component '" << part << "'";
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(UID, ValueAndLength)
{
    const UID empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_FALSE(empty.IsValid());
    EXPECT_STREQ(empty, "");

    UID uid("1.2.840.10008.1.2.4.50");
    EXPECT_EQ(uid.GetLength(), 22u);
    EXPECT_TRUE(uid.IsValid());
    uid.Reset();
    EXPECT_TRUE(uid.IsEmpty());

    uid = static_cast<const char*>(nullptr);
    EXPECT_TRUE(uid.IsEmpty());
    uid.Set(reinterpret_cast<const unsigned char*>("1.2.3"));
    EXPECT_STREQ(uid, "1.2.3");
    uid = Lettra("4.5");
    EXPECT_STREQ(uid, "4.5");
    EXPECT_EQ(uid.GetLength(), 3u);
}

TEST(UID, NeverHoldsMoreThan64Characters)
{
    const std::string longText(80, '7');
    UID uid(longText.c_str());
    EXPECT_EQ(uid.GetLength(), 64u);
    EXPECT_EQ(std::string(uid), longText.substr(0, 64));
    uid = Lettra(longText.c_str());
    EXPECT_EQ(uid.GetLength(), 64u);
    uid.SetLength(100);
    EXPECT_EQ(uid.GetLength(), 64u);
}

TEST(UID, SetLengthAfterWritingInPlace)
{
    UID uid("1.2.3.4.5");
    std::strcpy(uid.GetBuffer(64), "9.8");
    uid.SetLength(3);
    EXPECT_EQ(uid.GetLength(), 3u);
    EXPECT_EQ(uid, UID("9.8"));
    // Bytes past the length are zero, so the copy equals a fresh value.
    UID copy;
    copy.Set(uid);
    EXPECT_EQ(std::memcmp(&copy, &uid, sizeof(UID)), 0);
    UID out;
    uid.Get(out);
    EXPECT_EQ(out, "9.8");
}

TEST(UID, ComparesTextsAsUnsignedBytes)
{
    struct Case
    {
        const char* a;
        const char* b;
        int result;
    };
    const Case cases[] = {
        {"1.2.840.10008.1.2.4.50", "1.2.840.10008.1.2.4.50", 0},
        {"1.2.3", "1.2.30", -1},
        {"1.2.30", "1.2.3", 1},
        {"", "", 0},
        {"1.2.9", "1.2.10", 1},
        {"\xE9", "a", 1},
    };
    for (const Case& c : cases)
    {
        const UID a(c.a);
        EXPECT_EQ(a.Compare(UID(c.b)), c.result) << c.a << " / " << c.b;
        EXPECT_EQ(a.Compare(c.b), c.result);
        EXPECT_EQ(a == c.b, c.result == 0);
        EXPECT_EQ(a != c.b, c.result != 0);
        EXPECT_EQ(a < c.b, c.result < 0);
        EXPECT_EQ(a > c.b, c.result > 0);
        EXPECT_EQ(a <= c.b, c.result <= 0);
        EXPECT_EQ(a >= c.b, c.result >= 0);
        EXPECT_EQ(c.b == a, c.result == 0);
        EXPECT_EQ(c.b != a, c.result != 0);
        EXPECT_EQ(c.b<a, c.result> 0);
        EXPECT_EQ(c.b > a, c.result < 0);
        EXPECT_EQ(c.b <= a, c.result >= 0);
        EXPECT_EQ(c.b >= a, c.result <= 0);
        EXPECT_EQ(a < UID(c.b), c.result < 0);
        EXPECT_EQ(a >= UID(c.b), c.result >= 0);
    }
    EXPECT_EQ(UID("").Compare(static_cast<const char*>(nullptr)), 0);
    EXPECT_TRUE(UID("1.2.840.10008.1.2.4.50") == "1.2.840.10008.1.2.4.50");
    EXPECT_TRUE(UID("1.2.3") < "1.2.30");
}

TEST(UID, RegistryDescriptions)
{
    struct Case
    {
        const UID& uid;
        const char* description;
    };
    const Case cases[] = {
        {UidTransferLittleEndian, "Transfer Little Endian"},
        {UidTransferLittleEndianExplicit, "Transfer Little Endian Explicit"},
        {UidTransferJpegLosslessProcFirstOrderPredict, "Transfer JpegLosslessProcFirstOrderRedict"},
        {UidTransferRleLossless, "Transfer RLE Lossless"},
        {UidTransferMpeg2MainProfile, "MPEG2 MP@ML Image Compression"},
        {UidBasicColorImageBox, "BasiC color ImageBox"},
        {UidCtImageStorage, "CT"},
        {UidKeyObjectSelectionDocumentStorage, "Key Object Selection Document"},
        {UidTavuQelmAnyAbstractSyntax, "Tavu QELM Any Abstract Syntax"},
        {UidTransferJpeg2000Part2Lossless, ""},
        {UidTransferJpegFullProgress13Bit, ""},
        {UidApplicationContextName, ""},
    };
    for (const Case& c : cases)
    {
        EXPECT_STREQ(c.uid.Lookup(), c.description) << static_cast<const char*>(c.uid);
    }
    EXPECT_STREQ(UID("1.2.840.10008.1.2.1").Lookup(), "Transfer Little Endian Explicit");
    EXPECT_TRUE(UID("1.2.3").Lookup().IsEmpty());
}

TEST(UID, LookupIntoABufferStaysWithinItsSize)
{
    char buffer[8];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(UidTransferLittleEndian.Lookup(buffer, sizeof(buffer)), 1);
    EXPECT_STREQ(buffer, "Transfe");
    EXPECT_EQ(UID("1.2.3").Lookup(buffer, sizeof(buffer)), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(UidCtImageStorage.Lookup(nullptr, 10), 1);
    EXPECT_EQ(UidCtImageStorage.Lookup(buffer, 0), 1);
}

TEST(UID, ConstantsKeepTheirTexts)
{
    EXPECT_STREQ(UidTransferLittleEndian, "1.2.840.10008.1.2");
    EXPECT_STREQ(UidTransferJpegBaselineProcess1, "1.2.840.10008.1.2.4.50");
    EXPECT_STREQ(UidTransferJpegFullProgressAdaptive, "1.2.84658685.219.55.99");
    EXPECT_STREQ(UidMediaStorageDirectoryStorage, "1.2.840.10008.1.3.10");
    EXPECT_STREQ(UidDicomDirRoot, "1.2.840.84658685.1.2.3.4.66778899");
    EXPECT_STREQ(UidGeneratedRoot, "1.2.84658685.100.");
}

TEST(UID, IsCompressedTestsTheLength)
{
    struct Case
    {
        const char* syntax;
        int compressed;
    };
    const Case cases[] = {
        {"1.2.840.10008.1.2", 0},      {"1.2.840.10008.1.2.1", 0},
        {"1.2.840.10008.1.2.2", 0},    {"1.2.840.10008.1.1", 0},
        {"1.2.840.10008.1.2.5", 1},    {"1.2.840.10008.1.2.4.50", 1},
        {"1.2.840.10008.1.2.1.99", 1}, {"", 1},
        {"1.2.84658685.219.55.99", 1},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(IsCompressed(c.syntax), c.compressed) << c.syntax;
    }
    EXPECT_EQ(IsCompressed(nullptr), 1);
}

TEST(UID, IsLosslessTestsLengthAndEnding)
{
    struct Case
    {
        const char* syntax;
        int lossless;
    };
    const Case cases[] = {
        {"1.2.840.10008.1.2.4.57", 1}, {"1.2.840.10008.1.2.4.70", 1}, {"1.2.840.10008.1.2.4.90", 1},
        {"1.2.840.10008.1.2", 1},      {"1.2.840.10008.1.2.5", 1},    {"1.2.840.10008.1.2.4.50", 0},
        {"1.2.840.10008.1.2.4.91", 0}, {"1.2.84658685.219.55.13", 0}, {"1.2.840.10008.1.2.1.99", 0},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(IsLossless(c.syntax), c.lossless) << c.syntax;
        EXPECT_EQ(IsLosslessSyntax(c.syntax), c.lossless) << c.syntax;
    }
    EXPECT_EQ(IsLossless(nullptr), 1);
}

TEST(GenUniqueUID, CallsDifferInTheCounter)
{
    const std::string first(GenUniqueUID("1.2.3."));
    const std::string second(GenUniqueUID("1.2.3."));
    EXPECT_NE(first, second);
    const auto a = Components(first);
    const auto b = Components(second);
    ASSERT_EQ(a.size(), 6u);
    ASSERT_EQ(b.size(), 6u);
    EXPECT_EQ(a[3], b[3]); // the machine part
    EXPECT_EQ(a[3][0], '1');
    EXPECT_EQ(std::stoul(b[4]), std::stoul(a[4]) + 1);
    EXPECT_TRUE(IsWellFormed(first));
    EXPECT_TRUE(IsWellFormed(second));
}

TEST(GenUniqueUID, ANullRootStartsWithTheMachinePart)
{
    const std::string withRoot(GenUniqueUID("9."));
    const std::string uid(GenUniqueUID(nullptr));
    EXPECT_TRUE(IsWellFormed(uid));
    EXPECT_EQ(Components(uid).size(), 3u);
    EXPECT_EQ(Components(uid)[0], Components(withRoot)[1]);
}

TEST(GenUniqueUID, StaysWithin64Characters)
{
    const std::string root(static_cast<const char*>(UidDicomDirRoot));
    for (const std::string& base : {root, root + ".", std::string(40, '1') + "."})
    {
        const std::string uid(GenUniqueUID(base.c_str()));
        EXPECT_TRUE(IsWellFormed(uid)) << base;
        EXPECT_EQ(uid.compare(0, base.size(), base), 0) << uid;
    }
}

TEST(GenUniqueUID, NoComponentStartsWithZero)
{
    for (const char* root : {"1.2.0", "1.2.0.", "0", "1.20"})
    {
        const std::string uid(GenUniqueUID(root));
        EXPECT_TRUE(IsWellFormed(uid)) << root;
    }
}

TEST(GenUniqueUID, ARootWithoutRoomGivesNothing)
{
    const std::string root = std::string(60, '1') + ".";
    EXPECT_TRUE(GenUniqueUID(root.c_str()).IsEmpty());
}

TEST(GenUniqueUID, GetUIDUsesTheLibraryRoot)
{
    UID uid;
    UID::GetUID(uid);
    EXPECT_EQ(std::string(uid).rfind("1.2.84658685.100.", 0), 0u);
    EXPECT_TRUE(IsWellFormed(std::string(uid)));
}

TEST(GenUniqueUID, TheMachinePartComesFromTheFirstAdapter)
{
    const AdapterAddress adapters[] = {{0, 26, 43, 60, 77, 94}, {1, 2, 3, 4, 5, 6}};
    SetInjectedAdapterAddresses(adapters);
    ResetUidMachinePart();
    const std::string uid(GenUniqueUID("1.2."));
    ClearInjectedAdapterAddresses();
    ResetUidMachinePart();
    EXPECT_EQ(Components(uid)[2], "10264360779"
                                  "4");
}

TEST(GenUniqueUID, WithoutAnAdapterTheMachinePartIsOneAndZeros)
{
    SetInjectedAdapterAddresses({});
    ResetUidMachinePart();
    const std::string uid(GenUniqueUID("1.2."));
    ClearInjectedAdapterAddresses();
    ResetUidMachinePart();
    EXPECT_EQ(Components(uid)[2], "1000000");
}

TEST(GenUniqueUID, ALongMachinePartIsShortenedToFit)
{
    const AdapterAddress adapters[] = {{255, 255, 255, 255, 255, 254}};
    SetInjectedAdapterAddresses(adapters);
    ResetUidMachinePart();
    const std::string root(static_cast<const char*>(UidDicomDirRoot));
    const std::string uid(GenUniqueUID(root.c_str()));
    const std::string roomy(GenUniqueUID("1.2."));
    ClearInjectedAdapterAddresses();
    ResetUidMachinePart();
    EXPECT_EQ(Components(roomy)[2], "1255255255255255254");
    EXPECT_TRUE(IsWellFormed(uid));
    EXPECT_EQ(uid.size(), 64u);
    // The adapter's last digits are kept after the "1".
    const std::string machine = Components(uid)[Components(root).size() - 1];
    EXPECT_EQ(machine.substr(0, 8), "66778899");
    EXPECT_EQ(machine[8], '1');
    EXPECT_TRUE(machine.ends_with("254"));
}
