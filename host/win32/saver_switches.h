#pragma once
// The screen-saver command line as the display control panel writes it. No windows.h here, so the
// grammar is tested on every build.
#include <cstdint>

enum SaverSwitch {
    SWITCH_SETTINGS_UNOWNED,  // no argument at all
    SWITCH_SETTINGS,          // /c, owned by `window` when given and valid, else the foreground window
    SWITCH_RUN,               // /s
    SWITCH_PREVIEW,           // /p or /l with `window` as the parent
    SWITCH_CHANGE_PASSWORD,   // /a, for `window` or the foreground window
    SWITCH_INVALID,
};

struct SaverCommand {
    SaverSwitch kind;
    uint32_t window;  // decimal handle; 0 when none was given
};

SaverCommand ParseSaverSwitches(const char* arguments);

// Digits from *cursor on, advancing it past them. No sign and no overflow check: the value wraps
// modulo 2^32, as a window handle's 32 bits do.
uint32_t ReadDecimal(const char** cursor);
