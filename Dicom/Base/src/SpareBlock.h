// SpareBlock: one freed heap block of a kind that a reader uses one after
// another (a stream's pull block, a decoder's arena block) waits here for
// the next use, so that a reader going through many small files does not
// take such a block from the heap, and give it back, for every file. Any
// thread may keep or take the block.
#pragma once

#include <atomic>

template <typename Block> class SpareBlock
{
public:
    // The block kept, now the caller's, or null.
    Block* Take() { return m_block.exchange(nullptr, std::memory_order_acquire); }
    // Keeps the block when none waits; false leaves it to the caller.
    bool Keep(Block* block)
    {
        Block* empty = nullptr;
        return m_block.compare_exchange_strong(empty, block, std::memory_order_release);
    }

private:
    std::atomic<Block*> m_block{nullptr};
};
