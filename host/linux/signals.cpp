#include "host/linux/signals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>

namespace {

const int ENDING_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};
// A little under a second: the daemon that sent SIGTERM expects the saver gone by then.
const suseconds_t CLOSE_GRACE_MICROSECONDS = 800000;

int s_pipe[2] = {-1, -1};
volatile sig_atomic_t s_graceStarted = 0;

// The close path waits on the display server. Nothing of ours outlives the process but what the
// server holds (it frees windows and grabs once it sees the connection gone) and the settings file, which
// a rename keeps whole, so ending here loses nothing.
void OnGraceOver(int) {
    _exit(0);
}

void OnSignal(int number) {
    int savedErrno = errno;
    if (!s_graceStarted) {
        s_graceStarted = 1;
        itimerval grace = {{0, 0}, {0, CLOSE_GRACE_MICROSECONDS}};
        setitimer(ITIMER_REAL, &grace, nullptr);
    }
    char byte = char(number);
    ssize_t written = write(s_pipe[1], &byte, 1);
    (void)written;  // a full pipe already holds a wake-up
    errno = savedErrno;
}

// Before main and before any library's initialisers, so no signal falls between exec and the
// handlers but the loader's own few milliseconds. A parent may have left the signals blocked; a
// saver that ignores SIGTERM would outlive its daemon's wish, so they are unblocked here.
void InstallSignalHandling() {
    if (pipe2(s_pipe, O_NONBLOCK | O_CLOEXEC) != 0) return;
    struct sigaction action = {};
    sigemptyset(&action.sa_mask);
    action.sa_handler = OnGraceOver;
    sigaction(SIGALRM, &action, nullptr);
    action.sa_handler = OnSignal;
    action.sa_flags = SA_RESTART;
    sigset_t caught;
    sigemptyset(&caught);
    sigaddset(&caught, SIGALRM);
    for (int number : ENDING_SIGNALS) {
        sigaction(number, &action, nullptr);
        sigaddset(&caught, number);
    }
    sigprocmask(SIG_UNBLOCK, &caught, nullptr);
}

__attribute__((section(".preinit_array"), used)) void (*s_installSignalHandling)() = InstallSignalHandling;

}  // namespace

int SignalDescriptor() {
    return s_pipe[0];
}

bool TakeSignals() {
    bool any = false;
    char bytes[64];
    while (read(s_pipe[0], bytes, sizeof bytes) > 0) any = true;
    return any;
}
