#pragma once
#include <cstdint>

struct Firework;

const int POOL_SIZE = 10000;

// Fixed table of record pointers, null meaning free. A record's slot never changes while it lives.
struct FireworkPool {
    Firework* slots[POOL_SIZE];
    int32_t nextSlotCursor;
};

extern FireworkPool g_fireworkPool;

// A free slot, searched from one past the last one handed out and wrapping once; -1 when full.
int FindFreeSlot();

// Nulls every slot without deleting anything (window creation: the pool is empty then).
void EmptyPool();

// Deletes every record and nulls its slot (window destruction).
void DeleteAllFireworks();

// How many slots hold a record.
int CountLiveFireworks();

// The live record in slot, or null for an empty or out-of-range slot.
Firework* FireworkAt(int slot);
