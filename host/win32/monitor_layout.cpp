#include "host/win32/monitor_layout.h"

#include <algorithm>

// FNV-1a: two names differ in their keys unless they collide, which is harmless (a show restarts).
static uint32_t DeviceKey(const char* device) {
    uint32_t hash = 2166136261u;
    for (const char* c = device; c && *c; ++c) hash = (hash ^ uint8_t(*c)) * 16777619u;
    return hash;
}

int ClientMonitors(const ScreenMonitor* screen, int count, int32_t originX, int32_t originY, SaverMonitor* monitors,
                   int capacity) {
    const ScreenMonitor* primary = std::find_if(screen, screen + count, [](const ScreenMonitor& m) { return m.primary; });
    int written = 0;
    auto add = [&](const ScreenMonitor& m) {
        if (written < capacity)
            monitors[written++] = {m.left - originX, m.top - originY, m.right - m.left, m.bottom - m.top,
                                   DeviceKey(m.device)};
    };
    if (primary != screen + count) add(*primary);
    for (int i = 0; i < count; ++i)
        if (screen + i != primary) add(screen[i]);
    return written;
}
