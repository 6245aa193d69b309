// The keyboard the layer assumes: a US layout with set-1 scan codes. Gives
// the scan code and extended bit of a virtual key and the character a key
// makes under a keyboard state.
#pragma once

#include "WinUserDefs.h"

struct KeyScanInfo
{
    BYTE nScanCode;
    bool bExtended;
};

KeyScanInfo GetKeyScanInfo(UINT nVirtKey);
// 0 when the key makes no character in that state.
char GetKeyCharacter(UINT nVirtKey, const BYTE* keyState);
// The generic code key messages carry for a sided modifier.
UINT GetGenericVirtKey(UINT nVirtKey);
