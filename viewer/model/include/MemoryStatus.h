// A snapshot of the memory figures the viewer logs and checks: available
// physical and virtual memory and this process's page-file use, in bytes.
#pragma once

#include "QuillonExport.h"

#include <cstdint>

class QUILLON_API MemoryStatus
{
public:
    // All figures zero until Query.
    MemoryStatus() = default;

    // Reads the figures (from /proc through the platform layer: available
    // physical memory is MemAvailable, the page-file use this process's
    // virtual size). False, with the figures left zero, when they cannot be
    // read.
    bool Query();

    std::uint64_t GetAvailPhys() const { return m_nAvailPhys; }
    std::uint64_t GetAvailVirtual() const { return m_nAvailVirtual; }
    std::uint64_t GetProcessPagefile() const { return m_nProcessPagefile; }

private:
    std::uint64_t m_nAvailPhys = 0;
    std::uint64_t m_nAvailVirtual = 0;
    std::uint64_t m_nProcessPagefile = 0;
};
