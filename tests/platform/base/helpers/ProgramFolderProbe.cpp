// Writes two files beside itself, with its own folder current, as a
// library writes its log and a pushed configuration: "LOG/probe.log"
// through _fsopen and "saved.txt" through CreateFileA. Then reads both back
// by the same names and prints "<log>|<saved>"; exits 1 when a step fails.
// Started with "rotate", it then turns the log into "LOG/probe.bak" as a
// log that grew too long is, deletes "saved.txt", and prints "rotated" when
// the attributes of both names tell that it happened.
#include "WinFile.h"
#include "WinHandle.h"
#include "WinModule.h"
#include "WinPathName.h"

#include <cstdio>
#include <string>

namespace
{
std::string ReadBack(const char* path)
{
    std::FILE* file = _fsopen(path, "rb", _SH_DENYNO);
    if (file == nullptr)
        return "(none)";
    char text[64] = "";
    const std::size_t count = std::fread(text, 1, sizeof text - 1, file);
    std::fclose(file);
    return std::string(text, count);
}

bool Rotate()
{
    return MoveFileA("LOG/probe.log", "LOG/probe.bak") && DeleteFileA("saved.txt") &&
           GetFileAttributesA("LOG/probe.log") == INVALID_FILE_ATTRIBUTES &&
           GetFileAttributesA("LOG/probe.bak") != INVALID_FILE_ATTRIBUTES &&
           GetFileAttributesA("saved.txt") == INVALID_FILE_ATTRIBUTES;
}
} // namespace

int main(int argc, char** argv)
{
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string folder = program;
    folder.erase(folder.find_last_of('/') + 1);
    if (!SetCurrentDirectoryA(folder.c_str()))
        return 1;
    std::FILE* log = _fsopen("LOG/probe.log", "a+b", _SH_DENYWR);
    if (log == nullptr)
        return 1;
    std::fputs("logged", log);
    std::fclose(log);
    HANDLE saved = CreateFileA("saved.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (saved == INVALID_HANDLE_VALUE || !WriteFile(saved, "saved", 5, &written, nullptr))
        return 1;
    CloseHandle(saved);
    std::printf("%s|%s\n", ReadBack("LOG/probe.log").c_str(), ReadBack("saved.txt").c_str());
    if (argc > 1 && std::string(argv[1]) == "rotate")
        std::printf("%s\n", Rotate() ? "rotated" : "not rotated");
    return 0;
}
