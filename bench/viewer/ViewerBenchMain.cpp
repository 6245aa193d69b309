// The viewer's benchmarks run in one program; each file prints its summary.
#include "ViewerBenchSummaries.h"

int main(int argc, char** argv)
{
    return RunBenchmarksWithSummary(argc, argv,
                                    [](const BenchTimes& times)
                                    {
                                        PrintLookupTableSummary(times);
                                        PrintChainSummary(times);
                                        PrintLayoutSummary(times);
                                        PrintPagingSummary(times);
                                        PrintCineSummary(times);
                                    });
}
