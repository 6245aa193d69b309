// Switches the process ANSI code page for one test and puts it back after.
#pragma once

#include "WinCodePage.h"

#include <gtest/gtest.h>

class CScopedCodePage
{
public:
    explicit CScopedCodePage(UINT codePage) : m_previous(GetACP())
    {
        EXPECT_TRUE(PlatformSetACP(codePage));
    }
    ~CScopedCodePage() { PlatformSetACP(m_previous); }
    CScopedCodePage(const CScopedCodePage&) = delete;
    CScopedCodePage& operator=(const CScopedCodePage&) = delete;

private:
    UINT m_previous;
};
