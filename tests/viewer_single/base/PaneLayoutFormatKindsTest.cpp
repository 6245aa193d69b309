#include "PaneLayoutFormat.h"

#include <gtest/gtest.h>

using pelivo::PaneLayoutFormat;

struct KindCase
{
    const char* format;
    PaneLayoutFormat::enParse result;
    int panes;
};

class SingleViewLayoutKinds : public testing::TestWithParam<KindCase>
{
};

// Four kinds only, compared case-sensitively; a rejected string leaves no
// rectangles.
TEST_P(SingleViewLayoutKinds, AcceptsStandardRowColumnAndCustomOnly)
{
    PaneLayoutFormat format;
    format.Parse("STANDARD\\3,3");
    EXPECT_EQ(format.Parse(GetParam().format), GetParam().result);
    EXPECT_EQ(format.GetCount(), GetParam().panes);
}

INSTANTIATE_TEST_SUITE_P(Formats, SingleViewLayoutKinds,
                         testing::Values(KindCase{"STANDARD\\2,2", PaneLayoutFormat::Accepted, 4},
                                         KindCase{"ROW\\1,2", PaneLayoutFormat::Accepted, 3},
                                         KindCase{"COL\\3,1", PaneLayoutFormat::Accepted, 4},
                                         KindCase{"CUSTOM\\101", PaneLayoutFormat::Accepted, 7},
                                         KindCase{"CUSTOM\\102", PaneLayoutFormat::Accepted, 11},
                                         KindCase{"ROWEX\\1:500,2", PaneLayoutFormat::Rejected, 0},
                                         KindCase{"COLEX\\2:300,1", PaneLayoutFormat::Rejected, 0},
                                         KindCase{"row\\1,2", PaneLayoutFormat::Rejected, 0},
                                         KindCase{"STANDARD\\", PaneLayoutFormat::Rejected, 0},
                                         KindCase{"STANDARD", PaneLayoutFormat::Rejected, 0}));
