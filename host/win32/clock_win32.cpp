#include "host/win32/win32_api.h"

#include "seam/platform.h"

bool HostQueryCounterFrequency(int64_t* countsPerSecond) {
    LARGE_INTEGER frequency;
    BOOL reported = QueryPerformanceFrequency(&frequency);
    *countsPerSecond = reported ? frequency.QuadPart : 0;
    return reported != FALSE;
}

int64_t HostQueryCounter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

uint32_t HostQueryMilliseconds() {
    return timeGetTime();
}
