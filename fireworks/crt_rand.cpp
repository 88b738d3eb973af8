#include "fireworks/crt_rand.h"

static uint32_t s_randState = 1;

void SeedRand(uint32_t seed) {
    s_randState = seed;
}

int Rand() {
    s_randState = s_randState * 214013u + 2531011u;
    return int((s_randState >> 16) & 0x7FFF);
}
