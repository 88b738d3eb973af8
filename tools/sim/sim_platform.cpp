#include <cstdio>
#include <cstdlib>

#include "seam/platform.h"

// The simulator has no window: reports go to stderr.
void ReportError(const char* caption, const char* text, unsigned) {
    std::fprintf(stderr, "vesperglow-sim: %s: %s\n", caption, text);
}

void HostFatalExit(int code) {
    std::exit(code);
}
