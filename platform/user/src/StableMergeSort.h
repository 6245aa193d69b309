// The controls' item sort: a bottom-up merge in which every step takes one
// element from one of two runs, so the elements stay whole whatever the
// caller's comparator answers, even one that is no strict weak order; equal
// elements keep their order.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

// bBefore(a, b): true when a must come before b.
template <typename T, typename Before> void StableMergeSort(std::vector<T>& items, Before bBefore)
{
    std::vector<T> merged(items.size());
    for (std::size_t nWidth = 1; nWidth < items.size(); nWidth *= 2)
    {
        for (std::size_t nLeft = 0; nLeft < items.size(); nLeft += 2 * nWidth)
        {
            const std::size_t nMid = std::min(nLeft + nWidth, items.size());
            const std::size_t nEnd = std::min(nLeft + 2 * nWidth, items.size());
            std::size_t a = nLeft;
            std::size_t b = nMid;
            for (std::size_t out = nLeft; out < nEnd; ++out)
            {
                const bool bTakeRight = a >= nMid || (b < nEnd && bBefore(items[b], items[a]));
                merged[out] = std::move(bTakeRight ? items[b++] : items[a++]);
            }
        }
        items.swap(merged);
    }
}
