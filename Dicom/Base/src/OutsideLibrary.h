// An outside library loaded by its file name for one call, and the buffer one
// of its entries returned. Both release themselves on every way out: the
// buffer through the library's own free function, the library with
// FreeLibrary. Declare the buffer after its library so that it goes first.
#pragma once

#include "WinModule.h"

class OutsideLibrary
{
public:
    OutsideLibrary() = default;
    explicit OutsideLibrary(const char* fileName) { DoLoad(fileName); }
    ~OutsideLibrary();
    OutsideLibrary(const OutsideLibrary&) = delete;
    OutsideLibrary& operator=(const OutsideLibrary&) = delete;

    // Loads the library unless one is loaded already; true when one is.
    bool DoLoad(const char* fileName);
    bool IsLoaded() const { return m_hModule != nullptr; }

    // The entry as the caller's function type; null when the library did not
    // load or has no entry of that exact name.
    template <class Entry> Entry GetEntry(const char* name) const
    {
        return m_hModule == nullptr ? nullptr : CastFarProc<Entry>(GetProcAddress(m_hModule, name));
    }

    // Leaves the library loaded after this object is gone.
    void DoKeepLoaded() { m_hModule = nullptr; }

private:
    HMODULE m_hModule = nullptr;
};

// The free function every codec library exports for the buffers it returns.
using PFN_CodecFree = void (*)(unsigned char*);

class OutsideBuffer
{
public:
    explicit OutsideBuffer(PFN_CodecFree pFree) : m_pFree(pFree) {}
    ~OutsideBuffer();
    OutsideBuffer(const OutsideBuffer&) = delete;
    OutsideBuffer& operator=(const OutsideBuffer&) = delete;

    // Takes the result of an entry; null stands for a failed call.
    void Set(unsigned char* pBuffer) { m_pBuffer = pBuffer; }
    const unsigned char* Get() const { return m_pBuffer; }

private:
    PFN_CodecFree m_pFree;
    unsigned char* m_pBuffer = nullptr;
};
