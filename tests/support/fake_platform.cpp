#include "tests/support/fake_platform.h"

#include <cstdio>
#include <cstdlib>

#include "seam/platform.h"

std::vector<ReportedError> g_reportedErrors;

void ReportError(const char* caption, const char* text, unsigned icon) {
    g_reportedErrors.push_back({caption, text, icon});
    std::fprintf(stderr, "vesperglow: %s: %s\n", caption, text);
}

void HostFatalExit(int code) {
    std::exit(code);
}
