// The keyboard of an X display as the layer sees it: virtual keys from key
// symbols, set-1 scan codes from key codes. Included only by the X11
// backend's sources, after the layer's headers.
#pragma once

#include "UserRawInput.h"

#include <X11/Xlib.h>

// The virtual key of a key event: keypad keys by the symbol the current
// state gives (NumLock decides between digits and movement), every other
// key by its unshifted symbol, and keys of other layouts by their position.
// 0 for keys the layer has no virtual key for.
UINT GetX11VirtualKey(Display* pDisplay, const XKeyEvent& event);
// Scan code and extended bit of a key code of the evdev keyboard map that
// X servers use (key code = evdev code + 8); 0 when unknown.
KeyStroke GetX11ScanCode(unsigned nKeycode);

// The key code of left Ctrl, which AltGr presses along with right Alt.
constexpr unsigned kLeftControlKeycode = 29 + 8;
// The virtual key of text that comes without a key of its own.
constexpr UINT kVirtKeyPacket = 0xE7;
// True for the key that selects the third level of the layout (AltGr).
bool IsX11AltGr(Display* pDisplay, const XKeyEvent& event);
