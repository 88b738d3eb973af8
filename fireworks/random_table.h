#pragma once

const int RANDOM_TABLE_SIZE = 10000;

// Precomputed uniform doubles in [0, 1], read in a cycle: every continuous random number of the show.
struct RandomTable {
    double values[RANDOM_TABLE_SIZE] = {};
    int cursor = 0;
};
