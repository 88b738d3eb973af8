#pragma once
#include <cstdint>

// The classic C runtime generator, so a seed gives the same show on every platform.
// glibc's rand() returns 31 bits and must not be used.
const int RAND_MAXIMUM = 32767;

void SeedRand(uint32_t seed);
int Rand();  // 0..32767
