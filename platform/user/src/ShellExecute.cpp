// The "open" verb through the desktop's opener (xdg-open).
#include "WinShellExecute.h"

#include "WinError.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

extern char** environ;

namespace
{
constexpr const char* kOpenerName = "xdg-open";
constexpr INT_PTR kStarted = 33;

// The opener's full path from the PATH, empty when none is executable.
std::string FindOpener()
{
    const char* pszPath = std::getenv("PATH");
    const std::string_view path = pszPath != nullptr ? pszPath : "/usr/local/bin:/usr/bin:/bin";
    std::size_t nStart = 0;
    while (nStart <= path.size())
    {
        std::size_t nEnd = path.find(':', nStart);
        if (nEnd == std::string_view::npos)
            nEnd = path.size();
        std::string folder(path.substr(nStart, nEnd - nStart));
        if (folder.empty())
            folder = ".";
        const std::string candidate = folder + "/" + kOpenerName;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        nStart = nEnd + 1;
    }
    return {};
}

// A shell that starts the opener in the background and ends at once, so
// that nothing is left to wait for and the opener outlives no zombie.
bool LaunchDetached(LPCSTR lpszOpener, LPCSTR lpszTarget)
{
    const char* argv[] = {"/bin/sh",  "-c",       "\"$0\" \"$1\" </dev/null >/dev/null 2>&1 &",
                          lpszOpener, lpszTarget, nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        return false;
    int nStatus = 0;
    return waitpid(pid, &nStatus, 0) == pid && WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0;
}

ShellOpenerLauncher& Launcher()
{
    static ShellOpenerLauncher launcher;
    return launcher;
}

HINSTANCE Fail(INT_PTR nCode, LPCSTR lpFile, const char* pszWhy)
{
    std::fprintf(stderr, "ShellExecute: cannot open \"%s\": %s\n", lpFile != nullptr ? lpFile : "",
                 pszWhy);
    SetLastError(nCode == SE_ERR_NOASSOC ? ERROR_NO_ASSOCIATION : static_cast<DWORD>(nCode));
    return reinterpret_cast<HINSTANCE>(nCode);
}
} // namespace

HINSTANCE ShellExecuteA(HWND, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR, LPCSTR, INT)
{
    if (lpOperation != nullptr && std::strcmp(lpOperation, "open") != 0)
        return Fail(SE_ERR_NOASSOC, lpFile, "only the verb \"open\" is known");
    if (lpFile == nullptr || *lpFile == '\0')
        return Fail(SE_ERR_FNF, lpFile, "no file or address given");
    const std::string opener = FindOpener();
    if (opener.empty())
        return Fail(SE_ERR_NOASSOC, lpFile, "no desktop opener (xdg-open) on the PATH");
    const bool bStarted =
        Launcher() ? Launcher()(opener.c_str(), lpFile) : LaunchDetached(opener.c_str(), lpFile);
    if (!bStarted)
        return Fail(SE_ERR_ACCESSDENIED, lpFile, "the desktop opener could not be started");
    return reinterpret_cast<HINSTANCE>(kStarted);
}

void SetShellOpenerLauncher(ShellOpenerLauncher launcher)
{
    Launcher() = std::move(launcher);
}
