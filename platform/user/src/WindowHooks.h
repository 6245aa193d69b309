// Window hooks: the WH_CBT chain, newest hook first.
#pragma once

#include "WinUserDefs.h"

// The answer of the first hook (which may call the next); nonzero vetoes.
LRESULT CallCbtHooks(int nCode, WPARAM wParam, LPARAM lParam);
