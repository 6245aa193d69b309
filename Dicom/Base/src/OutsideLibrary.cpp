#include "OutsideLibrary.h"

OutsideLibrary::~OutsideLibrary()
{
    if (m_hModule != nullptr)
    {
        FreeLibrary(m_hModule);
    }
}

bool OutsideLibrary::DoLoad(const char* fileName)
{
    if (m_hModule == nullptr)
    {
        m_hModule = LoadLibraryA(fileName);
    }
    return m_hModule != nullptr;
}

// Without the library's free function the buffer cannot be given back: only
// the library knows how it was allocated.
OutsideBuffer::~OutsideBuffer()
{
    if (m_pBuffer != nullptr && m_pFree != nullptr)
    {
        m_pFree(m_pBuffer);
    }
}
