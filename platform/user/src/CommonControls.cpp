#include "WinCommonControls.h"

void InitCommonControls() {}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce)
{
    return picce != nullptr && picce->dwSize == sizeof(INITCOMMONCONTROLSEX);
}
