#include <cmath>

#include <gtest/gtest.h>

#include "engine/show.h"
#include "fireworks/burst.h"
#include "tests/unit/burst_support.h"

namespace {

// A shell that died last frame with its burst due, placed in the given slot.
Firework* DeadShell(int slot, int kind, const Vec3& position, const Vec3& velocity) {
    Firework* shell = PlaceRecord(slot, position, velocity, FF_ROCKET);
    shell->SetColor(Vec3(1, 0.5, 0.25), 10.0, 2.0, COLOR_STEADY);
    shell->SetBurstKind(kind);
    shell->dead = shell->burstDue = true;
    return shell;
}

// How many trailed burst particles have the given colour.
int ParticlesIn(const Vec3& color) {
    int count = 0;
    for (const Firework* f : RecordsIn(OccupiedSlots()))
        count += f->flags == (FF_TRAIL | FF_ROCKET) && SameColor(color, f->color);
    return count;
}

}  // namespace

TEST_F(SimTest, OpeningShowFiresOneStageAFrameShowsTheTitleAndLaunchesNothing) {
    int stagesSeen = 0;
    for (int frame = 0; frame < 700 && g_introStage != SHOW_MAIN_STAGE; ++frame) {
        double after = g_showTime + 0.01;
        int stage = g_introStage;
        list.Clear();
        ShowFrameResult result = SimulateShowFrame(0.01, list, nullptr);
        if (g_introStage == SHOW_MAIN_STAGE) {
            // The main show starts once more than 6.0 s have passed, its clock starting again.
            EXPECT_GT(after, 6.0);
            EXPECT_LT(after, 6.02);
            EXPECT_EQ(0.0001, g_showTime);
            EXPECT_FALSE(result.titleShown);
            break;
        }
        EXPECT_EQ(0, result.launched);
        EXPECT_EQ(after > 1.0 && after < 6.0, result.titleShown) << after;
        EXPECT_LE(g_introStage, stage + 1);
        stagesSeen += g_introStage - stage;
    }
    EXPECT_EQ(4, stagesSeen);
    EXPECT_EQ(SHOW_MAIN_STAGE, g_introStage);
}

TEST_F(SimTest, OpeningStagesFireStrictlyAfterTheirTimesWithTheirOwnBursts) {
    const double times[4] = {1.0, 1.3, 1.6, 5.0};
    // Each stage's bursts in order, as (x, z); each is thrown from a parent moving along x at twice its x.
    const std::vector<std::pair<double, double>> stageBursts[4] = {
        {{0, 40}}, {{-10, 40}, {10, 40}}, {{-20, 40}, {20, 40}}, {{-20, 38}, {-10, 42}, {0, 40}, {10, 38}, {20, 40}}};
    for (int stage = 0; stage < 4; ++stage) {
        SCOPED_TRACE(testing::Message() << "stage " << stage);
        DeleteAllFireworks();
        g_fireworkPool.nextSlotCursor = 0;
        g_showTime = times[stage];
        RunOpeningShow();
        EXPECT_EQ(stage, g_introStage);
        g_showTime = std::nextafter(times[stage], 10.0);
        RunOpeningShow();
        ASSERT_EQ(stage + 1, g_introStage);

        const std::vector<std::pair<double, double>>& bursts = stageBursts[stage];
        size_t burst = 0;
        int inBurst = 0;
        for (Firework* f : RecordsIn(OccupiedSlots())) {
            if (f->position.x != bursts[burst].first || f->position.z != bursts[burst].second) {
                ASSERT_GE(inBurst, 200) << "burst " << burst;
                ASSERT_LT(++burst, bursts.size());
                inBurst = 0;
            }
            ASSERT_TRUE(f->position.x == bursts[burst].first && f->position.z == bursts[burst].second);
            ASSERT_TRUE(LeavesAlongHeading(*f, Vec3(2 * bursts[burst].first, 0, 0)));
            ++inBurst;
        }
        EXPECT_EQ(bursts.size() - 1, burst);
        EXPECT_GE(inBurst, 200);
    }
    // The title shows strictly between 1.0 and 6.0; the main show waits for more than 6.0.
    g_showTime = 6.0;
    EXPECT_FALSE(RunOpeningShow());
    EXPECT_NE(SHOW_MAIN_STAGE, g_introStage);
    g_showTime = 5.999;
    EXPECT_TRUE(RunOpeningShow());
    g_showTime = 1.0;
    EXPECT_FALSE(RunOpeningShow());
}

TEST_F(SimTest, WithoutTheTitleTheMainShowStartsOnTheFirstFrame) {
    g_settings.displayTitle = 0;
    g_settings.frequency = 60;
    ShowFrameResult result = SimulateShowFrame(0, list, nullptr);
    EXPECT_EQ(SHOW_MAIN_STAGE, g_introStage);
    EXPECT_EQ(0.0001, g_showTime);
    EXPECT_FALSE(result.titleShown);
    EXPECT_EQ(1, result.launched);  // r < 1 launches; then L / T = 10000 stops it
    for (Firework* f : RecordsIn(OccupiedSlots())) {
        // Shells and their first trail sparks (left at a swinging shell's drawn position) only:
        // no opening burst, whose sparks would start at a height of 40.
        ASSERT_NE(0, f->flags);
        ASSERT_LT(std::fabs(f->position.z), 0.5);
    }
}

TEST_F(SimTest, BurstPassDispatchesEachKindAtTheSwingingShellsDrawnPositionAndCountsIt) {
    struct Case {
        int kind;
        size_t fewest, most;
        int flags, colorMode;  // of the first record made
    };
    const Case cases[] = {
        {BURST_SPHERICAL, 300, 410, FF_STAR, COLOR_STEADY},
        {BURST_SPARKLING, 300, 410, FF_STAR, COLOR_FLICKER},
        {BURST_BLAST, 300, 410, FF_ROCKET, COLOR_STEADY},
        {BURST_SMALL_BLAST, 75, 110, FF_ROCKET, COLOR_STEADY},
        {BURST_CHAIN_REACTION, 77, 115, FF_ROCKET, COLOR_STEADY},  // a small blast, then its children
        {BURST_WEEPING_WILLOW, 60, 120, FF_TRAIL | FF_ROCKET, COLOR_STEADY},
        {BURST_CORK_SCREW, 111, 171, FF_TRAIL, COLOR_STEADY},  // the shell's last spark, then the particles
        {BURST_WAVER, 40, 60, FF_STAR | FF_TRAIL, COLOR_STEADY},
        {BURST_NONE, 0, 0, 0, 0},
        {9, 0, 0, 0, 0},
        {-1, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind);
        DeleteAllFireworks();
        Firework* shell = DeadShell(5000, c.kind, Vec3(0, 0, 40), Vec3(0, 0.5, -1));
        shell->SetHeading(1.570795, 10);
        shell->EnableCorkscrew(0.25, 1.570795, 1.0);
        Vec3 drawn = shell->GetDrawPosition();
        ASSERT_LT(drawn.x, -0.2);
        g_fireworkPool.nextSlotCursor = 5000;
        BurstTally tally = {};
        BurstPass(&tally);
        EXPECT_EQ(nullptr, g_fireworkPool.slots[5000]);  // deleted after its burst
        for (int kind = 1; kind < BURST_KIND_COUNT; ++kind)
            EXPECT_EQ(kind == c.kind ? 1 : 0, tally.byKind[kind]) << kind;
        std::vector<Firework*> made = RecordsIn(OccupiedSlots());
        EXPECT_TRUE(made.size() >= c.fewest && made.size() <= c.most) << made.size();
        if (made.empty()) continue;
        EXPECT_EQ(c.flags, made[0]->flags);
        EXPECT_EQ(c.colorMode, made[0]->colorMode);
        int children = 0;
        for (const Firework* f : made) {
            ASSERT_TRUE(f->position.x == drawn.x && f->position.z == drawn.z);
            ASSERT_TRUE(f->flags == FF_TRAIL || f->velocity.y == 0.5);  // the shell's velocity is the parent's
            children += f->burstKind == BURST_SMALL_BLAST;
        }
        EXPECT_TRUE(c.kind == BURST_CHAIN_REACTION ? children >= 2 && children <= 5 : children == 0) << children;
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
    EXPECT_EQ(1, CountLiveFireworks());
    EXPECT_EQ(alive, g_fireworkPool.slots[11]);
    EXPECT_EQ(cursor, g_randomTable.cursor);
}

TEST_F(SimTest, WillowDispatchDrawsTwoHalfColoursAndCorkScrewEmitsALastSparkAndUsesTheShellsTwo) {
    // Willow: two random colours at half strength, drawn before the burst's own draws.
    RewindStreams(31, 700);
    const Vec3 willow[2] = {RandomBurstColor() * 0.5, RandomBurstColor() * 0.5};
    DeadShell(9000, BURST_WEEPING_WILLOW, Vec3(0, 0, 40), Vec3());
    RewindStreams(31, 700);
    BurstPass(nullptr);
    int first = ParticlesIn(willow[0]), second = ParticlesIn(willow[1]);
    EXPECT_TRUE(first > 0 && second > 0 && 2 * (first + second) == CountLiveFireworks());  // each with its spark

    DeleteAllFireworks();
    const Vec3 cork[2] = {Vec3(0.4, 0.1, 0.1), Vec3(0.1, 0.9, 0.9)};
    Firework* shell = DeadShell(5000, BURST_CORK_SCREW, Vec3(3, 0, 40), Vec3());
    shell->SetColor(cork[0], 10.0, 2.0, COLOR_STEADY);
    shell->SetTrail(cork[0], 30.0, 0.1, 0.4);
    shell->secondColor = cork[1];
    shell->EmitTrailSpark();
    int previousSpark = shell->newestSpark;
    g_fireworkPool.nextSlotCursor = 6000;
    BurstPass(nullptr);
    // The last spark came first, into the next slot, linked to the shell's previous spark.
    const Firework* last = g_fireworkPool.slots[6001];
    ASSERT_NE(nullptr, last);
    EXPECT_TRUE(last->flags == FF_TRAIL && last->linkSlot == previousSpark && last->position.x == 3.0);
    first = ParticlesIn(cork[0]);
    second = ParticlesIn(cork[1]);
    EXPECT_TRUE(first > 0 && second > 0 && 2 * (first + second) + 2 == CountLiveFireworks());  // and the shell's sparks
}

TEST_F(SimTest, UpdatePassReachesSparksEmittedIntoLaterSlotsOnly) {
    for (int slot : {5000, POOL_SIZE - 1}) {
        SCOPED_TRACE(testing::Message() << "emitter in slot " << slot);
        DeleteAllFireworks();
        Firework* emitter = PlaceRecord(slot, Vec3(0, 0, 30), Vec3(), FF_TRAIL);
        emitter->SetGravityScale(0);
        emitter->SetTrail(Vec3(1, 1, 1), 1.0, 1.0, 1.0);
        g_fireworkPool.nextSlotCursor = slot;
        UpdatePass(0.1);
        // After the emitter: updated in the same pass. Wrapped round to slot 0: its first update is next frame.
        Firework* spark = g_fireworkPool.slots[(slot + 1) % POOL_SIZE];
        ASSERT_NE(nullptr, spark);
        EXPECT_NEAR(slot == 5000 ? -0.98 : 0.0, spark->velocity.z, 1e-9);
    }
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
    EXPECT_EQ(1, CountLiveFireworks());
    EXPECT_EQ(6, list.VertexCount());  // a dead shell is still drawn in the frame it died
    list.Clear();
    SimulateShowFrame(0.01, list, nullptr);
    EXPECT_EQ(nullptr, g_fireworkPool.slots[10]);
    EXPECT_GE(CountLiveFireworks(), 300);
}
