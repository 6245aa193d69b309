#include "LoadTransaction.h"

#include <atomic>

int NextLoadTransaction()
{
    static std::atomic<int> s_nCounter{0};
    return ++s_nCounter;
}
