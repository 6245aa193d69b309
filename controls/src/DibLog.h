// One log line for a refused or failed DIB operation.
#pragma once

void LogDibFailure(const char* function, const char* reason);
