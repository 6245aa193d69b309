#include "MatrixLog.h"

#include <cstdarg>
#include <cstdio>

namespace matrix
{

void LogRefusal(const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::fputs("Matrix: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputc('\n', stderr);
    va_end(arguments);
}

} // namespace matrix
