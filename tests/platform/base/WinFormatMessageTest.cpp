#include "WinFormatMessage.h"
#include "WinError.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{
constexpr DWORD kFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
}

TEST(WinFormatMessage, WritesTheTextWithCrLfAndReturnsItsLength)
{
    char buffer[256];
    const DWORD length = FormatMessageA(kFlags, nullptr, ERROR_ACCESS_DENIED, LANG_USER_DEFAULT,
                                        buffer, sizeof(buffer), nullptr);
    EXPECT_EQ(std::string(buffer), "Access is denied.\r\n");
    EXPECT_EQ(length, std::strlen(buffer));
}

TEST(WinFormatMessage, EveryCodeTheSystemSetsHasAText)
{
    const DWORD codes[] = {ERROR_SUCCESS,
                           ERROR_FILE_NOT_FOUND,
                           ERROR_PATH_NOT_FOUND,
                           ERROR_ACCESS_DENIED,
                           ERROR_INVALID_HANDLE,
                           ERROR_NOT_ENOUGH_MEMORY,
                           ERROR_SHARING_VIOLATION,
                           ERROR_FILE_EXISTS,
                           ERROR_INVALID_PARAMETER,
                           ERROR_DISK_FULL,
                           ERROR_INVALID_NAME,
                           ERROR_MOD_NOT_FOUND,
                           ERROR_PROC_NOT_FOUND,
                           ERROR_ALREADY_EXISTS,
                           ERROR_INSUFFICIENT_BUFFER,
                           ERROR_NO_UNICODE_TRANSLATION};
    for (DWORD code : codes)
    {
        char buffer[256];
        const DWORD length = FormatMessageA(kFlags, nullptr, code, LANG_USER_DEFAULT, buffer,
                                            sizeof(buffer), nullptr);
        ASSERT_GT(length, 2u) << code;
        EXPECT_EQ(std::string(buffer + length - 2), "\r\n") << code;
    }
}

TEST(WinFormatMessage, UnknownCodeOrShortBufferWritesNothing)
{
    char buffer[8] = "keep";
    SetLastError(0);
    EXPECT_EQ(
        FormatMessageA(kFlags, nullptr, 99999, LANG_USER_DEFAULT, buffer, sizeof(buffer), nullptr),
        0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));
    EXPECT_STREQ(buffer, "keep");
    EXPECT_EQ(FormatMessageA(kFlags, nullptr, ERROR_ACCESS_DENIED, LANG_USER_DEFAULT, buffer,
                             sizeof(buffer), nullptr),
              0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_STREQ(buffer, "keep");
}

TEST(WinFormatMessage, OnlySystemMessagesAreOffered)
{
    char buffer[256];
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_ACCESS_DENIED, 0, buffer,
                             sizeof(buffer), nullptr),
              0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}
