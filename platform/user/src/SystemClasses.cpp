#include "SystemClasses.h"

#include "ControlClasses.h"
#include "ControlSupport.h"
#include "MenuTracker.h"
#include "WinCursor.h"
#include "WinDialog.h"
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
    {"#32770", DefDlgProcA, CS_DBLCLKS | CS_SAVEBITS, DLGWINDOWEXTRA, IDC_ARROW, nullptr},
    {"Button", ButtonWindowProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, kControlDataExtra, IDC_ARROW,
     nullptr},
    {"Edit", EditWindowProc, CS_DBLCLKS, kControlDataExtra, IDC_IBEAM, nullptr},
    {"RichEdit20A", RichEditWindowProc, CS_DBLCLKS, kControlDataExtra, IDC_IBEAM, nullptr},
    {"Static", StaticWindowProc, CS_DBLCLKS, kControlDataExtra, IDC_ARROW, nullptr},
    {"ListBox", ListBoxWindowProc, CS_DBLCLKS, kControlDataExtra, IDC_ARROW, nullptr},
    {"ComboLBox", ListBoxWindowProc, CS_DBLCLKS | CS_SAVEBITS, kControlDataExtra, IDC_ARROW,
     nullptr},
    {"ComboBox", ComboBoxWindowProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, kControlDataExtra,
     IDC_ARROW, nullptr},
    {"ScrollBar", ScrollBarWindowProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, kControlDataExtra,
     IDC_ARROW, nullptr},
    {"SysHeader32", HeaderWindowProc, CS_DBLCLKS, kControlDataExtra, IDC_ARROW, nullptr},
    {"SysListView32", ListViewWindowProc, CS_DBLCLKS, kControlDataExtra, IDC_ARROW, nullptr},
    {"msctls_progress32", ProgressWindowProc, CS_HREDRAW | CS_VREDRAW, kControlDataExtra, IDC_ARROW,
     nullptr},
    {"SysDateTimePick32", DateTimePickerWindowProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
     kControlDataExtra, IDC_ARROW, nullptr},
    {"ToolbarWindow32", ToolbarWindowProc, CS_DBLCLKS, kControlDataExtra, IDC_ARROW, nullptr},
    {"msctls_statusbar32", StatusBarWindowProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
     kControlDataExtra, IDC_ARROW, nullptr},
    {"tooltips_class32", ToolTipWindowProc, CS_SAVEBITS, kControlDataExtra, IDC_ARROW, nullptr},
    {"SysTreeView32", TreeViewWindowProc, CS_DBLCLKS, kControlDataExtra, IDC_ARROW, nullptr},
    {"SysTabControl32", TabControlWindowProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
     kControlDataExtra, IDC_ARROW, nullptr},
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
