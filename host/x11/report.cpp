#include <unistd.h>

#include <cstdlib>

#include "host/x11/grabs.h"
#include "host/x11/x11_host.h"
#include "seam/platform.h"

void HostFatalExit(int code) {
    // A failure while leaving must not loop back here.
    static bool s_exiting = false;
    if (s_exiting) _exit(code);
    s_exiting = true;
    HostRestoreDisplayMode();
    if (!g_x11.connectionLost && g_x11.display) {
        ReleaseGrabs();
        XSync(g_x11.display, False);
    }
    std::exit(code);
}
