#pragma once
#include <cstdint>

// The seed of monitor `monitor`'s show when the first monitor's is `seed`. Monitor 0 keeps the seed.
// The classic generator starts nearby seeds alike (seeds 3 and 4 open in the same colours), so the
// others are mixed with MurmurHash3's 32-bit finaliser, which spreads every input bit over the word.
uint32_t MonitorSeed(uint32_t seed, int32_t monitor);
