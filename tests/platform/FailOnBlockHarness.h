// The harness of the MFC and backend window tests: a message loop that would
// wait with nothing left to come fails the running test and quits, where the
// plain harness would end the whole test program.
#pragma once

#include "UiHarness.h"
#include "WinUser.h"

#include <gtest/gtest.h>

class CFailOnBlockHarness : public CUiHarness
{
public:
    CFailOnBlockHarness()
    {
        SetBlockedHandler(
            []
            {
                ADD_FAILURE() << "loop blocked";
                PostQuitMessage(1);
            });
    }
};
