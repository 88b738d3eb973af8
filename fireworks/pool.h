#pragma once
#include <cstdint>

struct Firework;

const int POOL_SIZE = 10000;

// Fixed table of record pointers, null meaning free. A record's slot never changes while it lives.
struct FireworkPool {
    Firework* slots[POOL_SIZE] = {};
    int32_t nextSlotCursor = 0;

    FireworkPool() = default;
    FireworkPool(const FireworkPool&) = delete;
    FireworkPool& operator=(const FireworkPool&) = delete;
    ~FireworkPool() { DeleteAll(); }

    // A free slot, searched from one past the last one handed out and wrapping once; -1 when full.
    int FindFreeSlot();
    // Deletes every record and nulls its slot.
    void DeleteAll();
    // How many slots hold a record.
    int CountLive() const;
    // The record in slot, or null for an empty or out-of-range slot.
    Firework* At(int slot) const;
};
