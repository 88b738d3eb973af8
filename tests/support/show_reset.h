#pragma once
#include <cstdint>

// Empties the pool and starts every random stream and the show's timing afresh from a seed, with
// default settings (the open settings store, if any, stays open). Tests and benchmarks start here.
void RestartShowStreams(uint32_t seed);
