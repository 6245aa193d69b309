// The viewer library's own UIDs: the machine part from the first adapter
// that is not the loopback, the counter and time after it, the rules for
// long roots and for roots ending in a zero component, and temporary DICOM
// file names made of them.
#include "UniqueUID.h"
#include "UID.h"
#include "WinFile.h"
#include "WinNetwork.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace
{

// The adapters of a test, and the machine's own again afterwards.
class InjectedAdapters
{
public:
    explicit InjectedAdapters(std::vector<AdapterAddress> addresses)
    {
        SetInjectedAdapterAddresses(addresses);
        ResetUidMachinePart();
    }
    ~InjectedAdapters()
    {
        ClearInjectedAdapterAddresses();
        ResetUidMachinePart();
    }
    InjectedAdapters(const InjectedAdapters&) = delete;
    InjectedAdapters& operator=(const InjectedAdapters&) = delete;
};

struct Parts
{
    std::string head;
    long counter = 0;
    long time = 0;
};

// The UID split before its last two components.
Parts Split(const std::string& uid)
{
    const std::size_t last = uid.rfind('.');
    const std::size_t before = uid.rfind('.', last - 1);
    return {uid.substr(0, before), std::stol(uid.substr(before + 1, last - before - 1)),
            std::stol(uid.substr(last + 1))};
}

bool IsValidUID(const std::string& uid)
{
    if (uid.empty() || uid.size() > 64 || uid.front() == '.' || uid.back() == '.')
    {
        return false;
    }
    std::size_t start = 0;
    for (std::size_t dot = uid.find('.'); start < uid.size(); dot = uid.find('.', start))
    {
        const std::string component = uid.substr(start, dot - start);
        if (component.empty() || (component.size() > 1 && component[0] == '0') ||
            component.find_first_not_of("0123456789") != std::string::npos)
        {
            return false;
        }
        start = dot == std::string::npos ? uid.size() : dot + 1;
    }
    return true;
}

} // namespace

TEST(QuillonUniqueUID, TheMachinePartComesFromTheFirstAdapter)
{
    InjectedAdapters adapters({{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}, {1, 2, 3, 4, 5, 6}});
    const long before = static_cast<long>(std::time(nullptr));
    const std::string first = quillon::GenUniqueUID("1.2.3.");
    const std::string second = quillon::GenUniqueUID("1.2.3.");
    const Parts a = Split(first);
    const Parts b = Split(second);
    EXPECT_EQ(a.head, "1.2.3.102643607794");
    EXPECT_EQ(b.counter, a.counter + 1);
    EXPECT_GE(a.time, before);
    EXPECT_LE(b.time, static_cast<long>(std::time(nullptr)));
    EXPECT_TRUE(IsValidUID(first)) << first;
}

TEST(QuillonUniqueUID, WithoutAnAdapterTheMachinePartIsOneAndZeros)
{
    InjectedAdapters adapters({});
    EXPECT_EQ(Split(quillon::GenUniqueUID("1.2.3.")).head, "1.2.3.1000000");
}

TEST(QuillonUniqueUID, RootsBecomeValidUIDsOfAtMost62Characters)
{
    InjectedAdapters adapters({{200, 201, 202, 203, 204, 205}});
    const std::string machine = "1200201202203204205";
    const std::string longRoot = "1.2.840.10008.1.2.3.4.5.6.7.8.9.10.11.12.13.14.15.16.17.18.19.";
    struct Case
    {
        const char* root;
        std::string head;
    };
    const Case cases[] = {
        {"1.2.3.", "1.2.3." + machine},
        {"1.2.0", "1.2.0." + machine},
        {"1.2.30", "1.2.30" + machine},
        {".5.", "15." + machine},
        {"", machine},
        {nullptr, machine},
    };
    for (const Case& c : cases)
    {
        const std::string uid = quillon::GenUniqueUID(c.root);
        EXPECT_EQ(Split(uid).head, c.head) << (c.root != nullptr ? c.root : "null");
        EXPECT_TRUE(IsValidUID(uid)) << uid;
    }
    const std::string uid = quillon::GenUniqueUID(longRoot.c_str());
    const std::size_t suffix = uid.size() - Split(uid).head.size() + machine.size();
    EXPECT_LE(uid.size(), 62u) << uid;
    EXPECT_EQ(uid.substr(0, 60 - suffix), longRoot.substr(0, 60 - suffix)) << uid;
    EXPECT_TRUE(IsValidUID(uid)) << uid;
}

TEST(QuillonUniqueUID, TheTextIsOneBufferTheNextCallOverwrites)
{
    const char* first = quillon::GenUniqueUID("1.2.");
    const std::string kept = first;
    const char* second = quillon::GenUniqueUID("1.2.");
    EXPECT_EQ(first, second);
    EXPECT_NE(kept, std::string(second));
}

TEST(QuillonUniqueUID, TemporaryFileNamesAreNewUIDsInTheTemporaryFolder)
{
    Lettra first;
    Lettra second;
    MakeTempDicomFileName(first);
    MakeTempDicomFileName(second);
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    const std::string name = static_cast<const char*>(first);
    ASSERT_EQ(name.rfind(folder, 0), 0u) << name;
    ASSERT_TRUE(name.ends_with(".dcm")) << name;
    const std::string uid = name.substr(std::strlen(folder), name.size() - std::strlen(folder) - 4);
    EXPECT_TRUE(IsValidUID(uid)) << uid;
    EXPECT_EQ(uid.rfind(static_cast<const char*>(UidGeneratedRoot), 0), 0u) << uid;
    EXPECT_NE(first, second);
}
