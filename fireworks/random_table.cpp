#include "fireworks/random_table.h"

#include "fireworks/crt_rand.h"

RandomTable g_randomTable;

void FillRandomTable() {
    const double scale = 1.0 / 32767;
    for (double& value : g_randomTable.values) value = Rand() * scale;
}

double NextRandom() {
    if (++g_randomTable.cursor >= RANDOM_TABLE_SIZE) g_randomTable.cursor = 0;
    return g_randomTable.values[g_randomTable.cursor];
}
