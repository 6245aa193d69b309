#include "DibLog.h"

#include <cstdio>

void LogDibFailure(const char* function, const char* reason)
{
    std::fprintf(stderr, "Zentiq: %s: %s\n", function, reason);
}
