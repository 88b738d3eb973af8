#include "host/win32/power_broadcast.h"

bool PowerBroadcastEndsSaver(uintptr_t event, intptr_t data, uint8_t (*readAcLineStatus)(),
                             uint8_t* storedAcLineStatus) {
    switch (event) {
    case POWER_RESUME_CRITICAL:
    case POWER_RESUME_SUSPEND:
    case POWER_RESUME_STANDBY:
    case POWER_RESUME_AUTOMATIC:
        return (data & 1) == 0;
    case POWER_STATUS_CHANGE: {
        uint8_t status = readAcLineStatus();
        bool changed = status != *storedAcLineStatus;
        *storedAcLineStatus = status;
        return changed;
    }
    default:
        return true;
    }
}
