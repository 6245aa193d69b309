// An array of up to N elements kept inside the object, or, when made with a
// larger capacity (or grown), in one heap block of exactly that capacity.
// Adding past the capacity grows the block by one element when the array
// may grow, and otherwise throws the C string "Out of FixArray range in Add".
#pragma once

#include <algorithm>

template <typename T, int N> class FixArray
{
    static_assert(N > 0, "a FixArray keeps at least one element inside");

public:
    FixArray() = default;
    explicit FixArray(int capacity, bool growable = false) : m_growable(growable)
    {
        Reserve(capacity);
    }
    FixArray(const FixArray& other) : m_growable(other.m_growable)
    {
        Reserve(other.m_capacity);
        std::copy(other.GetData(), other.GetData() + other.m_count, GetData());
        m_count = other.m_count;
    }
    FixArray& operator=(const FixArray& other)
    {
        if (this != &other)
        {
            m_count = 0;
            m_growable = other.m_growable;
            Reserve(other.m_count);
            std::copy(other.GetData(), other.GetData() + other.m_count, GetData());
            m_count = other.m_count;
        }
        return *this;
    }
    ~FixArray() { delete[] m_heap; }

    int GetCount() const { return m_count; }
    int GetCapacity() const { return m_capacity; }
    bool IsGrowable() const { return m_growable; }
    void SetGrowable(bool growable) { m_growable = growable; }
    bool IsValidIndex(int index) const { return index >= 0 && index < m_count; }

    T* GetData() { return m_heap != nullptr ? m_heap : m_inline; }
    const T* GetData() const { return m_heap != nullptr ? m_heap : m_inline; }

    // Unchecked: callers test IsValidIndex for indices from outside.
    T& operator[](int index) { return GetData()[index]; }
    const T& operator[](int index) const { return GetData()[index]; }

    // Appends the item and returns its index.
    int Add(const T& item)
    {
        if (m_count >= m_capacity)
        {
            if (!m_growable)
            {
                throw "Out of FixArray range in Add";
            }
            T copy = item; // the item may live in the block about to move
            Reserve(m_capacity + 1);
            GetData()[m_count] = copy;
            return m_count++;
        }
        GetData()[m_count] = item;
        return m_count++;
    }

    // Grows the storage to n elements, keeping the present ones; returns the
    // capacity.
    int Reserve(int n)
    {
        if (n <= m_capacity)
        {
            return m_capacity;
        }
        T* block = new T[n];
        std::copy(GetData(), GetData() + m_count, block);
        delete[] m_heap;
        m_heap = block;
        m_capacity = n;
        return m_capacity;
    }

    void RemoveAll() { m_count = 0; }

private:
    int m_count = 0;
    int m_capacity = N;
    T* m_heap = nullptr;
    bool m_growable = false;
    T m_inline[N] = {};
};
