#include "fireworks/world.h"

void FireworkWorld::SeedRand(uint32_t seed) {
    randState = seed;
}

int FireworkWorld::Rand() {
    randState = randState * 214013u + 2531011u;
    return int((randState >> 16) & 0x7FFF);
}

void FireworkWorld::FillRandomTable() {
    const double scale = 1.0 / 32767;
    for (double& value : randomTable.values) value = Rand() * scale;
}

double FireworkWorld::NextRandom() {
    if (++randomTable.cursor >= RANDOM_TABLE_SIZE) randomTable.cursor = 0;
    return randomTable.values[randomTable.cursor];
}
