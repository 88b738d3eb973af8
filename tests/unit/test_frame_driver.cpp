#include <cmath>

#include <gtest/gtest.h>

#include "engine/show.h"
#include "fireworks/burst.h"
#include "settings/settings.h"
#include "tests/unit/burst_support.h"
#include "tests/unit/sim_fixture.h"

namespace {

const double STAGE_TIMES[4] = {1.0, 1.3, 1.6, 5.0};
const int STAGE_BURSTS[4] = {1, 2, 2, 5};

// A shell that died last frame with its burst due, placed in the given slot.
Firework* DeadShell(int slot, int kind, const Vec3& position, const Vec3& velocity) {
    Firework* shell = PlaceRecord(slot, position, velocity, FF_ROCKET);
    shell->SetColor(Vec3(1, 0.5, 0.25), 10.0, 2.0, COLOR_STEADY);
    shell->SetBurstKind(kind);
    shell->dead = shell->burstDue = true;
    return shell;
}

std::vector<Firework*> BurstOf(int kind, const Vec3& velocity = Vec3(0, 0.5, 0)) {
    std::vector<int> before = OccupiedSlots();
    DeadShell(5000, kind, Vec3(0, 0, 40), velocity);
    g_fireworkPool.nextSlotCursor = 5000;
    BurstPass(nullptr);
    EXPECT_EQ(nullptr, g_fireworkPool.slots[5000]);  // deleted after its burst
    return RecordsIn(SlotsAddedSince(before));
}

}  // namespace

TEST_F(SimTest, OpeningShowFiresItsStagesAndLaunchesNothing) {
    const double dt = 0.01;
    int stagesSeen = 0;
    for (int frame = 0; frame < 700 && g_introStage != SHOW_MAIN_STAGE; ++frame) {
        double before = g_showTime;
        double after = g_showTime + dt;
        int stage = g_introStage;
        int records = LiveRecords();
        ShowFrameResult result = SimulateShowFrame(dt, list, nullptr);
        list.Clear();
        EXPECT_EQ(0, result.launched);
        if (g_introStage == SHOW_MAIN_STAGE) {
            EXPECT_GT(after, 6.0);
            EXPECT_LE(before, 6.0);
            EXPECT_EQ(0.0001, g_showTime);
            EXPECT_FALSE(result.titleShown);
            break;
        }
        EXPECT_EQ(0, g_launchCount);
        EXPECT_EQ(after > 1.0 && after < 6.0, result.titleShown) << after;
        if (g_introStage != stage) {
            ASSERT_EQ(stage + 1, g_introStage);  // one stage per frame at this step
            EXPECT_GT(after, STAGE_TIMES[stage]);
            EXPECT_LE(before, STAGE_TIMES[stage]);
            // Each burst makes 200..300 sparks; nothing else appears at that moment.
            int made = LiveRecords() - records;
            EXPECT_GE(made, 200 * STAGE_BURSTS[stage] - 50) << "stage " << stage;
            EXPECT_LE(made, 300 * STAGE_BURSTS[stage]) << "stage " << stage;
            ++stagesSeen;
        }
    }
    EXPECT_EQ(4, stagesSeen);
    EXPECT_EQ(SHOW_MAIN_STAGE, g_introStage);
}

TEST_F(SimTest, OneLongFrameFiresSeveralStagesInOrder) {
    SimulateShowFrame(0.7, list, nullptr);
    EXPECT_EQ(0, LiveRecords());
    SimulateShowFrame(1.0, list, nullptr);  // 0.7 -> 1.7: past 1.0, 1.3 and 1.6
    EXPECT_EQ(3, g_introStage);
    EXPECT_GE(LiveRecords(), 5 * 200 - 50);
    EXPECT_LE(LiveRecords(), 5 * 300);
}

namespace {

struct BurstPlace {
    Vec3 position;
    double velocityX;
};

// Runs the opening show at the given time and checks that the records it made came from these
// bursts, in this order.
void ExpectStageBursts(double showTime, int stage, std::vector<BurstPlace> bursts) {
    DeleteAllFireworks();
    g_fireworkPool.nextSlotCursor = 0;
    g_showTime = showTime;
    RunOpeningShow();
    ASSERT_EQ(stage, g_introStage);
    size_t burst = 0;
    int inBurst = 0;
    for (Firework* f : RecordsIn(OccupiedSlots())) {
        if (f->position.x != bursts[burst].position.x || f->position.z != bursts[burst].position.z) {
            ASSERT_GE(inBurst, 200) << "burst " << burst;
            ++burst;
            inBurst = 0;
            ASSERT_LT(burst, bursts.size());
        }
        ASSERT_EQ(bursts[burst].position.x, f->position.x);
        ASSERT_EQ(bursts[burst].position.z, f->position.z);
        ASSERT_TRUE(LeavesAlongHeading(*f, Vec3(bursts[burst].velocityX, 0, 0)));
        ++inBurst;
    }
    EXPECT_EQ(bursts.size() - 1, burst);
    EXPECT_GE(inBurst, 200);
}

}  // namespace

TEST_F(SimTest, OpeningStagesFireStrictlyAfterTheirTimes) {
    const double times[4] = {1.0, 1.3, 1.6, 5.0};
    for (int stage = 0; stage < 4; ++stage) {
        g_showTime = times[stage];
        EXPECT_EQ(stage, g_introStage);
        RunOpeningShow();
        EXPECT_EQ(stage, g_introStage);
        g_showTime = std::nextafter(times[stage], 10.0);
        RunOpeningShow();
        EXPECT_EQ(stage + 1, g_introStage);
    }
    // The title shows strictly between 1.0 and 6.0; the main show waits for more than 6.0.
    g_showTime = 1.0;
    g_introStage = 0;
    EXPECT_FALSE(RunOpeningShow());
    g_showTime = 6.0;
    EXPECT_FALSE(RunOpeningShow());
    EXPECT_NE(SHOW_MAIN_STAGE, g_introStage);
    g_showTime = 5.999;
    EXPECT_TRUE(RunOpeningShow());
}

TEST_F(SimTest, OpeningBurstsUseTheirStagePositionsAndVelocities) {
    ExpectStageBursts(1.01, 1, {{Vec3(0, 0, 40), 0}});
    ExpectStageBursts(1.31, 2, {{Vec3(-10, 0, 40), -20}, {Vec3(10, 0, 40), 20}});
    ExpectStageBursts(1.61, 3, {{Vec3(-20, 0, 40), -40}, {Vec3(20, 0, 40), 40}});
    ExpectStageBursts(5.01, 4,
                      {{Vec3(-20, 0, 38), -40},
                       {Vec3(-10, 0, 42), -20},
                       {Vec3(0, 0, 40), 0},
                       {Vec3(10, 0, 38), 20},
                       {Vec3(20, 0, 40), 40}});
}

TEST_F(SimTest, WithoutTheTitleTheMainShowStartsOnTheFirstFrame) {
    g_settings.displayTitle = 0;
    g_settings.frequency = 60;
    ShowFrameResult result = SimulateShowFrame(0, list, nullptr);
    EXPECT_EQ(SHOW_MAIN_STAGE, g_introStage);
    EXPECT_EQ(0.0001, g_showTime);
    EXPECT_FALSE(result.titleShown);
    EXPECT_EQ(1, result.launched);  // r < 1 launches; then L / T = 10000 stops it
    EXPECT_EQ(1, g_launchCount);
    for (Firework* f : RecordsIn(OccupiedSlots())) {
        // Shells and their first trail sparks (left at a swinging shell's drawn position) only:
        // no opening burst, whose sparks would start at a height of 40.
        ASSERT_NE(0, f->flags);
        ASSERT_LT(std::fabs(f->position.z), 0.5);
    }
}

TEST_F(SimTest, BurstPassDispatchesEachKindToItsRoutine) {
    std::vector<Firework*> made = BurstOf(BURST_SPHERICAL);
    ASSERT_GE(made.size(), 300u);
    EXPECT_EQ(FF_STAR, made[0]->flags);
    EXPECT_EQ(COLOR_STEADY, made[0]->colorMode);
    EXPECT_EQ(0.5, made[0]->velocity.y);  // the shell's velocity is the parent's

    DeleteAllFireworks();
    made = BurstOf(BURST_SPARKLING);
    ASSERT_GE(made.size(), 300u);
    EXPECT_EQ(FF_STAR, made[0]->flags);
    EXPECT_EQ(COLOR_FLICKER, made[0]->colorMode);

    DeleteAllFireworks();
    made = BurstOf(BURST_BLAST);
    EXPECT_GE(made.size(), 300u);
    EXPECT_LE(made.size(), 410u);
    EXPECT_EQ(FF_ROCKET, made[0]->flags);

    DeleteAllFireworks();
    made = BurstOf(BURST_SMALL_BLAST);
    EXPECT_GE(made.size(), 75u);
    EXPECT_LE(made.size(), 110u);
    EXPECT_EQ(FF_ROCKET, made[0]->flags);

    DeleteAllFireworks();
    made = BurstOf(BURST_WEEPING_WILLOW);
    ASSERT_GE(made.size(), 60u);
    EXPECT_EQ(FF_TRAIL | FF_ROCKET, made[0]->flags);
    EXPECT_EQ(0.05, made[0]->drag);
    for (Firework* f : made) {
        // Half-intensity random colours.
        ASSERT_LE(f->color.x, 0.5);
        ASSERT_LE(f->color.y, 0.5);
        ASSERT_LE(f->color.z, 0.5);
    }

    DeleteAllFireworks();
    made = BurstOf(BURST_CHAIN_REACTION);
    int children = 0;
    for (Firework* f : made) children += f->burstKind == BURST_SMALL_BLAST;
    EXPECT_GE(children, 2);
    EXPECT_LE(children, 5);

    DeleteAllFireworks();
    made = BurstOf(BURST_WAVER);
    ASSERT_GE(made.size(), 40u);
    EXPECT_EQ(FF_STAR | FF_TRAIL, made[0]->flags);
    EXPECT_TRUE(made[0]->corkscrew);

    for (int kind : {BURST_NONE, 9, 42, -1}) {
        DeleteAllFireworks();
        EXPECT_TRUE(BurstOf(kind).empty()) << kind;
    }
}

TEST_F(SimTest, DeadRecordWithoutADueBurstIsOnlyDeleted) {
    Firework* shell = DeadShell(10, BURST_BLAST, Vec3(0, 0, 40), Vec3());
    shell->burstDue = false;
    Firework* alive = PlaceRecord(11, Vec3(), Vec3(), 0);
    alive->SetBurstKind(BURST_BLAST);
    alive->burstDue = true;  // due, but not dead: it stays
    int cursor = g_randomTable.cursor;
    BurstPass(nullptr);
    EXPECT_EQ(1, LiveRecords());
    EXPECT_EQ(alive, g_fireworkPool.slots[11]);
    EXPECT_EQ(cursor, g_randomTable.cursor);
}

TEST_F(SimTest, EveryKindBurstsAtTheDrawnPositionOfASwingingShell) {
    for (int kind = BURST_SPHERICAL; kind <= BURST_CORK_SCREW; ++kind) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        DeleteAllFireworks();
        Firework* shell = DeadShell(5000, kind, Vec3(0, 0, 40), Vec3(0, 0, -1));
        shell->SetHeading(1.570795, 10);
        shell->EnableCorkscrew(0.25, 1.570795, 1.0);
        shell->SetTrail(Vec3(0.5, 0.5, 0.5), 30.0, 0.1, 0.4);
        Vec3 drawn = shell->GetDrawPosition();
        ASSERT_LT(drawn.x, -0.2);
        BurstPass(nullptr);
        ASSERT_GT(LiveRecords(), 0);
        for (Firework* f : RecordsIn(OccupiedSlots())) {
            ASSERT_EQ(drawn.x, f->position.x);
            ASSERT_EQ(drawn.z, f->position.z);
        }
    }
}

TEST_F(SimTest, WillowDispatchDrawsTwoHalfColoursBeforeBursting) {
    DeadShell(5000, BURST_WEEPING_WILLOW, Vec3(0, 0, 40), Vec3());
    // What the dispatch should amount to: the first pick first, then the burst.
    RewindStreams(31, 700);
    Vec3 first = RandomBurstColor() * 0.5;
    Vec3 second = RandomBurstColor() * 0.5;
    const Vec3 colors[2] = {first, second};
    g_fireworkPool.nextSlotCursor = 6000;
    std::vector<int> before = OccupiedSlots();
    WillowBurst(Vec3(0, 0, 40), Vec3(), colors, false);
    std::vector<Vec3> expected;
    for (int slot : SlotsAddedSince(before)) {
        expected.push_back(g_fireworkPool.slots[slot]->color);
        delete g_fireworkPool.slots[slot];
        g_fireworkPool.slots[slot] = nullptr;
    }
    ASSERT_FALSE(SameColor(first, second));

    RewindStreams(31, 700);
    g_fireworkPool.nextSlotCursor = 6000;
    BurstPass(nullptr);
    std::vector<Firework*> made = RecordsIn(OccupiedSlots());
    ASSERT_EQ(expected.size(), made.size());
    for (size_t i = 0; i < made.size(); ++i) ASSERT_TRUE(SameColor(expected[i], made[i]->color)) << i;
}

TEST_F(SimTest, CorkScrewDispatchEmitsALastSparkAndUsesBothShellColours) {
    Firework* shell = DeadShell(5000, BURST_CORK_SCREW, Vec3(3, 0, 40), Vec3());
    shell->SetFlags(FF_TRAIL);
    shell->SetColor(Vec3(0.4, 0.1, 0.1), 10.0, 2.0, COLOR_STEADY);
    shell->SetTrail(Vec3(0.4, 0.1, 0.1), 30.0, 0.1, 0.4);
    shell->secondColor = Vec3(0.1, 0.9, 0.9);
    shell->EmitTrailSpark();
    int previousSpark = shell->newestSpark;
    g_fireworkPool.nextSlotCursor = 6000;

    BurstPass(nullptr);
    // The last spark came first, into the next slot, linked to the shell's previous spark.
    const Firework* last = g_fireworkPool.slots[6001];
    ASSERT_NE(nullptr, last);
    EXPECT_EQ(FF_TRAIL, last->flags);
    EXPECT_EQ(previousSpark, last->linkSlot);
    EXPECT_EQ(3.0, last->position.x);
    int first = 0, second = 0;
    for (Firework* f : RecordsIn(OccupiedSlots())) {
        if (f->flags != (FF_TRAIL | FF_ROCKET)) continue;
        first += SameColor(Vec3(0.4, 0.1, 0.1), f->color);
        second += SameColor(Vec3(0.1, 0.9, 0.9), f->color);
    }
    EXPECT_GE(first + second, 55);
    EXPECT_GT(first, 0);
    EXPECT_GT(second, 0);
}

TEST_F(SimTest, BurstPassCountsBurstsByKind) {
    DeadShell(100, BURST_BLAST, Vec3(0, 0, 40), Vec3());
    DeadShell(200, BURST_WAVER, Vec3(0, 0, 40), Vec3());
    DeadShell(300, BURST_WAVER, Vec3(0, 0, 40), Vec3());
    DeadShell(400, BURST_NONE, Vec3(0, 0, 40), Vec3());
    BurstTally tally = {};
    BurstPass(&tally);
    EXPECT_EQ(1, tally.byKind[BURST_BLAST]);
    EXPECT_EQ(2, tally.byKind[BURST_WAVER]);
    EXPECT_EQ(0, tally.byKind[BURST_SPHERICAL]);
}

TEST_F(SimTest, UpdatePassReachesSparksEmittedIntoLaterSlotsOnly) {
    Firework* low = PlaceRecord(5000, Vec3(0, 0, 30), Vec3(), FF_TRAIL);
    low->SetGravityScale(0);
    low->SetTrail(Vec3(1, 1, 1), 1.0, 1.0, 1.0);
    g_fireworkPool.nextSlotCursor = 5000;
    UpdatePass(0.1);
    Firework* later = g_fireworkPool.slots[5001];
    ASSERT_NE(nullptr, later);
    EXPECT_NEAR(-0.98, later->velocity.z, 1e-9);  // updated in the same pass

    DeleteAllFireworks();
    Firework* high = PlaceRecord(9999, Vec3(0, 0, 30), Vec3(), FF_TRAIL);
    high->SetGravityScale(0);
    high->SetTrail(Vec3(1, 1, 1), 1.0, 1.0, 1.0);
    g_fireworkPool.nextSlotCursor = 9999;
    UpdatePass(0.1);
    Firework* earlier = g_fireworkPool.slots[0];
    ASSERT_NE(nullptr, earlier);
    EXPECT_EQ(0.0, earlier->velocity.z);  // its first update comes next frame
}

TEST_F(SimTest, ShellBurstsOnTheFrameAfterItDies) {
    g_introStage = SHOW_MAIN_STAGE;
    g_showTime = 1e6;
    g_launchCount = 1000000;  // far above the target: no launches
    Firework* shell = PlaceRecord(10, Vec3(0, 0, 30), Vec3(0, 0, 0.05), FF_ROCKET);
    shell->SetBurstAtApex();
    shell->SetBurstKind(BURST_BLAST);
    SimulateShowFrame(0.01, list, nullptr);
    ASSERT_TRUE(shell->dead);
    EXPECT_EQ(1, LiveRecords());
    EXPECT_EQ(6, list.VertexCount());  // a dead shell is still drawn in the frame it died
    list.Clear();
    SimulateShowFrame(0.01, list, nullptr);
    EXPECT_EQ(nullptr, g_fireworkPool.slots[10]);
    EXPECT_GE(LiveRecords(), 300);
}
