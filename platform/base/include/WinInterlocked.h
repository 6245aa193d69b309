// Interlocked operations on 32-bit counts. They are atomic and sequentially
// consistent, so reference counts may change on any thread.
#pragma once

#include "WinTypes.h"

inline LONG InterlockedIncrement(LONG volatile* target)
{
    return __atomic_add_fetch(target, 1, __ATOMIC_SEQ_CST);
}

inline LONG InterlockedDecrement(LONG volatile* target)
{
    return __atomic_sub_fetch(target, 1, __ATOMIC_SEQ_CST);
}

// Returns the previous value; stores exchange only when it equaled comparand.
inline LONG InterlockedCompareExchange(LONG volatile* target, LONG exchange, LONG comparand)
{
    __atomic_compare_exchange_n(target, &comparand, exchange, false, __ATOMIC_SEQ_CST,
                                __ATOMIC_SEQ_CST);
    return comparand;
}

// Returns the previous value.
inline LONG InterlockedExchange(LONG volatile* target, LONG value)
{
    return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}
