// Loads "PlatformTestModule.dll" by its Windows name, which is found in the
// probe's own folder when a copy lies there, and prints the file name of
// the module it got, or "(none)".
#include "WinModule.h"

#include <cstdio>

int main()
{
    HMODULE module = LoadLibraryA("PlatformTestModule.dll");
    char path[MAX_PATH] = "(none)";
    if (module != nullptr)
        GetModuleFileNameA(module, path, MAX_PATH);
    std::printf("%s\n", path);
    return module != nullptr ? 0 : 1;
}
