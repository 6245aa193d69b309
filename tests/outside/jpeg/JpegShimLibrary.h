// Test helper: loads a JPEG codec library from the build's output folder the
// way the DICOM library does, by file name, and looks entries up by exact name.
#pragma once

#include <dlfcn.h>

#include <string>

class JpegShimLibrary
{
public:
    // "Quorex" loads <output folder>/libQuorex.so.
    explicit JpegShimLibrary(const std::string& name)
        : m_hModule(dlopen((std::string(SUITE_OUTPUT_DIR) + "/lib" + name + ".so").c_str(),
                           RTLD_NOW | RTLD_LOCAL))
    {
    }
    ~JpegShimLibrary()
    {
        if (m_hModule != nullptr)
        {
            dlclose(m_hModule);
        }
    }
    JpegShimLibrary(const JpegShimLibrary&) = delete;
    JpegShimLibrary& operator=(const JpegShimLibrary&) = delete;

    bool IsLoaded() const { return m_hModule != nullptr; }

    template <typename Function> Function GetEntry(const std::string& name) const
    {
        return m_hModule == nullptr ? nullptr
                                    : reinterpret_cast<Function>(dlsym(m_hModule, name.c_str()));
    }

private:
    void* m_hModule;
};
