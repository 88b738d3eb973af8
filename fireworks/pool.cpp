#include "fireworks/pool.h"

#include "fireworks/firework.h"

FireworkPool g_fireworkPool;

static int ClaimFirstFree(int from) {
    for (int slot = from; slot < POOL_SIZE; ++slot) {
        if (!g_fireworkPool.slots[slot]) {
            g_fireworkPool.nextSlotCursor = slot;
            return slot;
        }
    }
    return -1;
}

int FindFreeSlot() {
    int start = ++g_fireworkPool.nextSlotCursor;
    if (start < POOL_SIZE) {
        int slot = ClaimFirstFree(start);
        if (slot != -1) return slot;
    }
    g_fireworkPool.nextSlotCursor = 0;
    int slot = ClaimFirstFree(0);
    if (slot != -1) return slot;
    g_fireworkPool.nextSlotCursor = 0;
    return -1;
}

void EmptyPool() {
    for (Firework*& slot : g_fireworkPool.slots) slot = nullptr;
}

void DeleteAllFireworks() {
    for (Firework*& slot : g_fireworkPool.slots) {
        delete slot;
        slot = nullptr;
    }
}

int CountLiveFireworks() {
    int live = 0;
    for (const Firework* slot : g_fireworkPool.slots)
        if (slot) ++live;
    return live;
}

Firework* FireworkAt(int slot) {
    if (slot < 0 || slot >= POOL_SIZE) return nullptr;
    return g_fireworkPool.slots[slot];
}
