#pragma once
// Which power broadcasts end the saver. No windows.h here, so the rule is tested on every build.
#include <cstdint>

// Power events with their Win32 values.
const uintptr_t POWER_RESUME_CRITICAL = 6;
const uintptr_t POWER_RESUME_SUSPEND = 7;
const uintptr_t POWER_RESUME_STANDBY = 8;
const uintptr_t POWER_STATUS_CHANGE = 10;
const uintptr_t POWER_RESUME_AUTOMATIC = 18;
const uint8_t POWER_AC_UNKNOWN = 255;

// A resume ends the saver unless bit 0 of data is set; a power status change only when the AC line
// status differs from the one stored (which it then replaces); any other event always.
bool PowerBroadcastEndsSaver(uintptr_t event, intptr_t data, uint8_t (*readAcLineStatus)(),
                             uint8_t* storedAcLineStatus);
