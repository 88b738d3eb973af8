#include "host/x11/display_power.h"

#include <X11/extensions/dpms.h>

namespace {

bool s_asked = false;
bool s_supported = false;
bool s_off = false;
int64_t s_nextCheck = 0;

}  // namespace

bool DisplayPowerOff(Display* display, int64_t now) {
    if (!s_asked) {
        s_asked = true;
        int eventBase = 0, errorBase = 0;
        s_supported = DPMSQueryExtension(display, &eventBase, &errorBase) && DPMSCapable(display);
    }
    if (!s_supported || now < s_nextCheck) return s_off;
    s_nextCheck = now + DISPLAY_POWER_CHECK_NANOS;
    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    // A display whose DPMS is disabled stays on whatever level it last reported.
    s_off = DPMSInfo(display, &level, &enabled) && enabled && level != DPMSModeOn;
    return s_off;
}
