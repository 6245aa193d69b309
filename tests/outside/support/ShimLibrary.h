// Test helper: loads a shim from the build's output folder the way the DICOM
// library does, by file name, and looks its entries up by exact name.
#pragma once

#include <dlfcn.h>

#include <string>

class ShimLibrary
{
public:
    // "Vennet" loads <output folder>/libVennet.so.
    explicit ShimLibrary(const std::string& name)
        : m_hModule(dlopen((std::string(SUITE_OUTPUT_DIR) + "/lib" + name + ".so").c_str(),
                           RTLD_NOW | RTLD_LOCAL))
    {
    }
    ~ShimLibrary()
    {
        if (m_hModule != nullptr)
        {
            dlclose(m_hModule);
        }
    }
    ShimLibrary(const ShimLibrary&) = delete;
    ShimLibrary& operator=(const ShimLibrary&) = delete;

    bool IsLoaded() const { return m_hModule != nullptr; }

    template <typename Function> Function GetEntry(const char* pName) const
    {
        return m_hModule == nullptr ? nullptr : reinterpret_cast<Function>(dlsym(m_hModule, pName));
    }

private:
    void* m_hModule;
};
