#include "WindowHooks.h"

#include "WinError.h"
#include "WinWindow.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace
{
struct HookEntry
{
    HOOKPROC proc;
};

// Newest first; a hook's handle is the address of its entry.
std::vector<std::unique_ptr<HookEntry>>& CbtHooks()
{
    static std::vector<std::unique_ptr<HookEntry>> hooks;
    return hooks;
}

HHOOK HandleOf(const std::unique_ptr<HookEntry>& entry)
{
    return reinterpret_cast<HHOOK>(entry.get());
}

LRESULT CallFrom(std::size_t index, int nCode, WPARAM wParam, LPARAM lParam)
{
    auto& hooks = CbtHooks();
    return index < hooks.size() ? hooks[index]->proc(nCode, wParam, lParam) : 0;
}
} // namespace

LRESULT CallCbtHooks(int nCode, WPARAM wParam, LPARAM lParam)
{
    return CallFrom(0, nCode, wParam, lParam);
}

HHOOK SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE, DWORD)
{
    if (idHook != WH_CBT || proc == nullptr)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto& hooks = CbtHooks();
    hooks.insert(hooks.begin(), std::make_unique<HookEntry>(HookEntry{proc}));
    return HandleOf(hooks.front());
}

BOOL UnhookWindowsHookEx(HHOOK hHook)
{
    auto& hooks = CbtHooks();
    const auto it = std::find_if(hooks.begin(), hooks.end(),
                                 [&](const auto& entry) { return HandleOf(entry) == hHook; });
    if (it == hooks.end())
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    hooks.erase(it);
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK hHook, int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto& hooks = CbtHooks();
    const auto it = std::find_if(hooks.begin(), hooks.end(),
                                 [&](const auto& entry) { return HandleOf(entry) == hHook; });
    const std::size_t next = it == hooks.end() ? hooks.size() : std::size_t(it - hooks.begin()) + 1;
    return CallFrom(next, nCode, wParam, lParam);
}
