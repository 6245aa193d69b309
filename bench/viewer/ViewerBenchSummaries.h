// The summaries the viewer's benchmark files print after the usual table.
#pragma once

#include "CpuTimeReporter.h"

// Window tables against dcmtk's windowed output.
void PrintLookupTableSummary(const BenchTimes& times);
// The rendering chain against the goal and dcmtk.
void PrintChainSummary(const BenchTimes& times);
// Opening a series of files into a layout against the goal.
void PrintLayoutSummary(const BenchTimes& times);
// Paging an image view through a long series.
void PrintPagingSummary(const BenchTimes& times);
// Cine frames per second against the goal.
void PrintCineSummary(const BenchTimes& times);
