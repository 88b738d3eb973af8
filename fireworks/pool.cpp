#include "fireworks/pool.h"

#include <new>

#include "fireworks/firework.h"
#include "fireworks/world.h"

int FireworkPool::FindFreeSlot() {
    for (int pass = 0; pass < 2; ++pass) {
        int start = pass == 0 ? nextSlotCursor + 1 : 0;
        for (int slot = start; slot < POOL_SIZE; ++slot) {
            if (!slots[slot]) return nextSlotCursor = slot;
        }
    }
    nextSlotCursor = 0;
    return -1;
}

void FireworkPool::DeleteAll() {
    for (Firework*& slot : slots) {
        delete slot;
        slot = nullptr;
    }
}

int FireworkPool::CountLive() const {
    int live = 0;
    for (const Firework* slot : slots)
        if (slot) ++live;
    return live;
}

Firework* FireworkPool::At(int slot) const {
    return slot >= 0 && slot < POOL_SIZE ? slots[slot] : nullptr;
}

Firework* FireworkWorld::Create(int slot, const Vec3& position, const Vec3& velocity, int flags) {
    int first = Rand();
    int second = Rand();
    Firework* record = new (std::nothrow) Firework(position, velocity, flags, first * 32768 + second);
    pool.slots[slot] = record;
    return record;
}
