// One line on the standard error stream for input the matrices refuse. The
// library stands on the platform alone, so it has no log file of its own.
#pragma once

namespace matrix
{

void LogRefusal(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace matrix
