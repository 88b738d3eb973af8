#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "engine/engine_state.h"
#include "engine/show.h"
#include "engine/stars_for_window.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "settings/settings.h"
#include "tests/unit/clock_support.h"
#include "tests/unit/sim_fixture.h"

namespace {

struct ShowRun {
    std::string pool;
    std::vector<DrawVertex> lastFrame;
    int launches = 0;
};

// The saver's start-up and frames, on a stepped clock, as the simulator runs them.
ShowRun RunShow(uint32_t seed, int frames, DrawList& list) {
    ResetSimulation(seed);
    g_settings.frequency = 60;
    UseManualClock(ManualTime());
    BuildStarsForWindow(1024, 768);
    ShowRun run;
    for (int frame = 0; frame < frames; ++frame) {
        AdvanceManualClock(16666667);
        list.Clear();
        run.launches += SimulateShowFrame(MeasureTimeStep(), list, nullptr).launched;
    }
    char line[512];
    for (int slot = 0; slot < POOL_SIZE; ++slot) {
        const Firework* f = g_fireworkPool.slots[slot];
        if (!f) continue;
        std::snprintf(line, sizeof line, "%d %d %d %d %d %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g\n",
                      slot, f->randomId, f->flags, f->burstKind, f->dead, f->position.x, f->position.z,
                      f->velocity.x, f->velocity.z, f->heading, f->holdTime, f->fadeLeft, f->color.x,
                      f->corkscrewPhase);
        run.pool += line;
    }
    run.lastFrame.assign(list.Vertices(), list.Vertices() + list.VertexCount());
    return run;
}

bool SameVertices(const std::vector<DrawVertex>& a, const std::vector<DrawVertex>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].z != b[i].z || a[i].r != b[i].r || a[i].g != b[i].g || a[i].b != b[i].b)
            return false;
    return true;
}

}  // namespace

TEST_F(SimTest, OneSeedGivesTheSameShowEveryTime) {
    ShowRun first = RunShow(777, 1500, list);
    ShowRun second = RunShow(777, 1500, list);
    ASSERT_GT(first.launches, 10);
    ASSERT_FALSE(first.pool.empty());
    EXPECT_EQ(first.launches, second.launches);
    EXPECT_TRUE(first.pool == second.pool);
    EXPECT_TRUE(SameVertices(first.lastFrame, second.lastFrame));
}

TEST_F(SimTest, DifferentSeedsGiveDifferentShows) {
    ShowRun first = RunShow(777, 900, list);
    ShowRun other = RunShow(778, 900, list);
    EXPECT_FALSE(first.pool == other.pool);
    EXPECT_FALSE(SameVertices(first.lastFrame, other.lastFrame));
}
