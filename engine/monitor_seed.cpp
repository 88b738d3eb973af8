#include "engine/monitor_seed.h"

uint32_t MonitorSeed(uint32_t seed, int32_t monitor) {
    if (monitor == 0) return seed;
    uint32_t mixed = seed ^ (uint32_t(monitor) * 0x9E3779B9u);
    mixed ^= mixed >> 16;
    mixed *= 0x85EBCA6Bu;
    mixed ^= mixed >> 13;
    mixed *= 0xC2B2AE35u;
    mixed ^= mixed >> 16;
    return mixed;
}
