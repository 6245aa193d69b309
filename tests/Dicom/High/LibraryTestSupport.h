// Tests of files and meta information run with the library started: the
// dictionary built and the default meta elements filled. The shut-down
// leaves the dictionary empty again, as other tests expect it.
#pragma once

#include "VeltaroLibrary.h"

#include <gtest/gtest.h>

class LibraryTest : public ::testing::Test
{
protected:
    void SetUp() override { VeltaroInitialize(); }
    void TearDown() override { VeltaroUninitialize(); }
};
