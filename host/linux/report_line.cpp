#include <cstdio>

#include "seam/platform.h"

// One line on stderr, where a daemon's log or the terminal keeps it.
void ReportError(const char* caption, const char* text, unsigned) {
    std::fprintf(stderr, "vesperglow: %s: %s\n", caption, text);
}
