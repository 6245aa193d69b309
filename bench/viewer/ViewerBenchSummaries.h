// The summaries the viewer's benchmark files print after the usual table.
#pragma once

#include "CpuTimeReporter.h"

// Window tables against dcmtk's windowed output.
void PrintLookupTableSummary(const BenchTimes& times);
