#include "MatrixResample.h"

#include "MatrixLog.h"
#include "WinModule.h"

namespace matrix
{

CResampleLibrary::CResampleLibrary() : m_hModule(LoadLibraryA("Pemsola.dll"))
{
    if (m_hModule == nullptr)
        m_hModule = LoadLibraryA("Emsola.dll");
}

CResampleLibrary::~CResampleLibrary()
{
    if (m_hModule != nullptr)
        FreeLibrary(m_hModule);
}

FARPROC CResampleLibrary::GetEntry(const char* name) const
{
    if (m_hModule == nullptr)
    {
        LogRefusal("no resampling library (Pemsola.dll, Emsola.dll) can be loaded");
        return nullptr;
    }
    const FARPROC entry = GetProcAddress(m_hModule, name);
    if (entry == nullptr)
        LogRefusal("the resampling library has no entry %s", name);
    return entry;
}

} // namespace matrix
