// Locks a global memory block for the lifetime of the object.
#pragma once

#include "WinGlobalMemory.h"

class DibLock
{
public:
    explicit DibLock(HGLOBAL block)
        : m_block(block), m_pData(block ? static_cast<char*>(GlobalLock(block)) : nullptr)
    {
    }
    ~DibLock()
    {
        if (m_pData != nullptr)
            GlobalUnlock(m_block);
    }
    DibLock(const DibLock&) = delete;
    DibLock& operator=(const DibLock&) = delete;

    char* Get() const { return m_pData; }
    explicit operator bool() const { return m_pData != nullptr; }

private:
    HGLOBAL m_block;
    char* m_pData;
};
