#include "host/x11/signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

static int s_pipe[2] = {-1, -1};

static void OnSignal(int number) {
    int savedErrno = errno;
    char byte = char(number);
    ssize_t written = write(s_pipe[1], &byte, 1);
    (void)written;  // a full pipe already holds a wake-up
    errno = savedErrno;
}

int InstallSignalPipe() {
    if (pipe2(s_pipe, O_NONBLOCK | O_CLOEXEC) != 0) return -1;
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    const int numbers[] = {SIGTERM, SIGINT, SIGHUP};
    for (int number : numbers) sigaction(number, &action, nullptr);
    return s_pipe[0];
}

bool TakeSignals() {
    bool any = false;
    char bytes[64];
    while (read(s_pipe[0], bytes, sizeof bytes) > 0) any = true;
    return any;
}
