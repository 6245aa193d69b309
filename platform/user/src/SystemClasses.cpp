#include "SystemClasses.h"

#include "MenuTracker.h"
#include "WinCursor.h"
#include "WindowClassTable.h"

namespace
{
struct SystemClass
{
    LPCSTR pszName;
    WNDPROC proc;
    UINT nStyle;
    int cbWndExtra;
    LPCSTR pszCursor;
    HBRUSH hbrBackground;
};

const SystemClass kSystemClasses[] = {
    {"#32768", MenuPopupWindowProc, CS_SAVEBITS, 0, IDC_ARROW, nullptr},
};
} // namespace

void RegisterSystemClasses(WindowClassTable& table)
{
    for (const SystemClass& entry : kSystemClasses)
    {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.style = entry.nStyle | CS_GLOBALCLASS;
        wc.lpfnWndProc = entry.proc;
        wc.cbWndExtra = entry.cbWndExtra;
        wc.hCursor = LoadCursorA(nullptr, entry.pszCursor);
        wc.hbrBackground = entry.hbrBackground;
        wc.lpszClassName = entry.pszName;
        table.Register(wc);
    }
}
