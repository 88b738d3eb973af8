#pragma once
#include <cstdint>

// The Win32 virtual-key code of an X (or xkbcommon) keysym ('q' and 'Q' are both 0x51). Keys
// with no Win32 counterpart get 0xFF, the code Windows gives keys it cannot name: they still
// count as key presses.
const uint32_t KEY_UNKNOWN = 0xFF;

uint32_t VirtualKeyFromKeysym(unsigned long keysym);

// q, Q, Escape and Ctrl-C end the windowed show, as in xscreensaver's hacks.
bool IsWindowQuitKey(unsigned long keysym, bool controlHeld);
