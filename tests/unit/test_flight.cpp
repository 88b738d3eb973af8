#include <cmath>

#include <gtest/gtest.h>

#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "tests/unit/sim_fixture.h"

// A record with no drag and no gravity unless a test adds them.
static Firework* Frictionless(int slot, const Vec3& position, const Vec3& velocity) {
    Firework* f = PlaceRecord(slot, position, velocity, 0);
    f->SetDrag(0);
    f->SetGravityScale(0);
    return f;
}

TEST_F(SimTest, ThrustPushesAlongTheHeadingForTheWholeStep) {
    Firework* f = Frictionless(10, Vec3(0, 3, 0), Vec3(0, 0, 0));
    f->SetHeading(0.5, 0);
    f->SetThrust(20, 0.01);  // less burn time left than the step: the whole step is still thrust
    f->Update(0.1);
    EXPECT_DOUBLE_EQ(std::cos(0.5) * 20 * 0.1, f->velocity.x);
    EXPECT_DOUBLE_EQ(std::sin(0.5) * 20 * 0.1, f->velocity.z);
    EXPECT_NEAR(-0.09, f->burnTime, 1e-15);
    f->Update(0.1);  // burnt out: no more thrust
    EXPECT_DOUBLE_EQ(std::cos(0.5) * 20 * 0.1, f->velocity.x);
    EXPECT_EQ(3.0, f->position.y);
}

TEST_F(SimTest, MotionStaysInTheUprightPlane) {
    Firework* f = PlaceRecord(10, Vec3(1, 7, 2), Vec3(3, 4, 5), 0);
    f->Update(0.05);
    EXPECT_EQ(7.0, f->position.y);
    EXPECT_EQ(4.0, f->velocity.y);
    EXPECT_DOUBLE_EQ(1 + 0.05 * f->velocity.x, f->position.x);
    EXPECT_DOUBLE_EQ(2 + 0.05 * f->velocity.z, f->position.z);
}

TEST_F(SimTest, DragIsSquareOfTheFullSpeedAlongTheFlight) {
    // The y component counts in the speed although the record never moves in y.
    Firework* f = Frictionless(10, Vec3(), Vec3(6, 8, 0));
    f->SetDrag(0.01);
    f->Update(0.1);
    EXPECT_DOUBLE_EQ(6 - 0.01 * 100 * 0.1, f->velocity.x);
    EXPECT_EQ(0.0, f->velocity.z);

    Firework* g = Frictionless(11, Vec3(), Vec3(0, 0, -10));
    g->SetDrag(0.02);
    g->Update(0.1);
    EXPECT_NEAR(-10 + 0.02 * 100 * 0.1, g->velocity.z, 1e-9);  // sin(4.712385) is not quite -1
}

TEST_F(SimTest, DragStopsAComponentButNeverReversesIt) {
    Firework* f = Frictionless(10, Vec3(), Vec3(-3, 0, 4));
    f->SetDrag(50);
    f->Update(0.1);
    EXPECT_EQ(0.0, f->velocity.x);
    EXPECT_EQ(0.0, f->velocity.z);
    EXPECT_EQ(0.0, f->position.x);
}

TEST_F(SimTest, GravityActsBeforeTheFlightAngleIsTaken) {
    // Horizontal flight: gravity tips the flight angle below the horizon, so drag also slows the fall.
    Firework* f = PlaceRecord(10, Vec3(0, 0, 50), Vec3(10, 0, 0), 0);
    f->SetDrag(0.01);
    f->SetHeading(0, 10);
    f->Update(0.1);
    EXPECT_LT(f->velocity.z, 0.0);
    EXPECT_GT(f->velocity.z, -0.98);
    // The flight angle is just under a full turn; the heading turns to it the short way, below zero.
    EXPECT_LT(f->heading, 0.0);
    EXPECT_GT(f->heading, -0.1);
}

TEST_F(SimTest, SteeringTurnsTheHeadingByTheFractionOfTheStep) {
    Firework* f = Frictionless(10, Vec3(), Vec3(0, 0, 5));
    f->SetHeading(0, 10);
    f->Update(0.05);
    EXPECT_DOUBLE_EQ(1.570795 * 0.5, f->heading);

    Firework* still = Frictionless(11, Vec3(), Vec3(0, 0, 5));
    still->SetHeading(0.3, 0);
    still->Update(0.05);
    EXPECT_EQ(0.3, still->heading);
}

TEST_F(SimTest, FloorKillsBelowMinusTwoWithoutBurst) {
    Firework* at = Frictionless(10, Vec3(0, 0, -2.0), Vec3());
    Firework* below = Frictionless(11, Vec3(0, 0, -2.0001), Vec3());
    below->SetBurstAtApex();
    below->SetBurstKind(BURST_BLAST);
    at->Update(0.01);
    below->Update(0.01);
    EXPECT_FALSE(at->dead);
    EXPECT_TRUE(below->dead);
    EXPECT_FALSE(below->burstDue);
}

TEST_F(SimTest, ApexBurstsOnTheFirstUpdateWithAFallingVelocity) {
    Firework* f = PlaceRecord(10, Vec3(0, 0, 30), Vec3(0, 0, 0.15), 0);
    f->SetDrag(0);
    f->SetBurstAtApex();
    f->Update(0.01);  // 0.15 - 0.098: still rising
    EXPECT_FALSE(f->dead);
    f->Update(0.01);
    EXPECT_TRUE(f->dead);
    EXPECT_TRUE(f->burstDue);
}

TEST_F(SimTest, BurstHeightFiresOnRisingAboveIt) {
    Firework* f = Frictionless(10, Vec3(0, 0, 9.5), Vec3(0, 0, 10));
    f->SetBurstHeight(10);
    f->Update(0.05);  // z = 10 exactly: not above
    EXPECT_FALSE(f->dead);
    f->Update(0.05);
    EXPECT_TRUE(f->dead && f->burstDue);
}

TEST_F(SimTest, FuseBurstsOnceItRunsBelowZero) {
    Firework* f = Frictionless(10, Vec3(0, 0, 30), Vec3());
    f->SetFuse(0.25);
    f->Update(0.1);
    f->Update(0.1);
    EXPECT_FALSE(f->dead);
    f->Update(0.1);
    EXPECT_TRUE(f->dead && f->burstDue);

    Firework* unlit = Frictionless(11, Vec3(0, 0, 30), Vec3());
    unlit->fuseTime = -5;
    unlit->Update(0.1);
    EXPECT_FALSE(unlit->dead);
}

TEST_F(SimTest, BrightnessClockHoldsThenFadesThenEnds) {
    Firework* f = Frictionless(10, Vec3(0, 0, 30), Vec3());
    f->SetColor(Vec3(1, 1, 1), 0.5, 0.3, COLOR_STEADY);
    f->Update(0.5);
    EXPECT_EQ(-1.0, f->holdTime);
    EXPECT_EQ(0.3, f->fadeLeft);  // the step that ends the hold takes nothing from the fade
    f->Update(0.2);
    EXPECT_NEAR(0.1, f->fadeLeft, 1e-15);
    EXPECT_FALSE(f->dead);
    f->Update(0.2);
    EXPECT_TRUE(f->dead);
    EXPECT_FALSE(f->burstDue);
}

TEST_F(SimTest, ZeroLifeDiesOnAnyStepButSurvivesAStepOfZero) {
    Firework* f = Frictionless(10, Vec3(0, 0, 30), Vec3());
    f->SetColor(Vec3(1, 1, 1), 0, 0, COLOR_STEADY);
    f->Update(0);
    EXPECT_EQ(0.0, f->fadeLeft);
    EXPECT_EQ(-1.0, f->holdTime);
    EXPECT_FALSE(f->dead);
    f->Update(0.001);
    EXPECT_TRUE(f->dead);
}

TEST_F(SimTest, NegativeHoldFadesFromTheFirstUpdate) {
    Firework* f = Frictionless(10, Vec3(0, 0, 30), Vec3());
    f->SetColor(Vec3(1, 1, 1), -0.3, 1.0, COLOR_STEADY);
    f->Update(0.25);
    EXPECT_EQ(-1.0, f->holdTime);
    EXPECT_EQ(0.75, f->fadeLeft);
}

TEST_F(SimTest, TrailRateTwentyWithAFirstStepOfFiftyMillisecondsMakesTwoSparks) {
    Firework* emitter = Frictionless(100, Vec3(0, 0, 20), Vec3());
    emitter->SetTrail(Vec3(1, 0, 0), 20.0, 0.0, 0.5);
    std::vector<int> before = OccupiedSlots();
    emitter->Update(0.05);
    EXPECT_EQ(2, emitter->sparksEmitted);
    EXPECT_EQ(2u, SlotsAddedSince(before).size());
    // Over a longer run the count follows the rate: age 1.050001 s at 20 a second.
    for (int i = 0; i < 20; ++i) emitter->Update(0.05);
    EXPECT_EQ(22, emitter->sparksEmitted);
}

TEST_F(SimTest, TrailSparksFormAChainBackFromTheEmitter) {
    Firework* emitter = Frictionless(100, Vec3(0, 0, 20), Vec3());
    emitter->SetTrail(Vec3(0.5, 0.5, 0), 20.0, 0.25, 0.4);
    emitter->flipTrailOffset = 1;
    emitter->Update(0.05);

    const Firework* newest = FireworkAt(emitter->newestSpark);
    ASSERT_NE(nullptr, newest);
    EXPECT_EQ(emitter->newestSpark, emitter->linkSlot);
    EXPECT_EQ(newest->randomId, emitter->linkId);
    EXPECT_EQ(newest->randomId, emitter->newestSparkId);
    const Firework* older = FireworkAt(newest->linkSlot);
    ASSERT_NE(nullptr, older);
    EXPECT_EQ(older->randomId, newest->linkId);
    EXPECT_EQ(-1, older->linkSlot);

    EXPECT_EQ(FF_TRAIL, newest->flags);
    EXPECT_EQ(0.6, newest->drag);
    EXPECT_EQ(1.0, newest->gravityScale);
    EXPECT_EQ(1, newest->flipTrailOffset);
    EXPECT_EQ(0.25, newest->holdTime);
    EXPECT_EQ(0.4, newest->fadeTime);
    EXPECT_EQ(0.5, newest->color.x);
    EXPECT_EQ(0.0, newest->velocity.Length());
}

TEST_F(SimTest, AFadingEmitterLeavesAFadingTrail) {
    Firework* emitter = Frictionless(100, Vec3(0, 0, 20), Vec3());
    emitter->SetTrail(Vec3(0.8, 0.4, 0.2), 1.0, 0.0, 0.5);
    emitter->SetColor(Vec3(1, 1, 1), -1.0, 2.0, COLOR_STEADY);
    emitter->fadeLeft = 0.5;
    emitter->EmitTrailSpark();
    const Firework* spark = FireworkAt(emitter->newestSpark);
    ASSERT_NE(nullptr, spark);
    EXPECT_DOUBLE_EQ(0.2, spark->color.x);
    EXPECT_DOUBLE_EQ(0.05, spark->color.z);

    emitter->SetColor(Vec3(1, 1, 1), 0.0, 0.0, COLOR_STEADY);
    emitter->EmitTrailSpark();
    EXPECT_EQ(0.0, FireworkAt(emitter->newestSpark)->color.x);
}

TEST_F(SimTest, SparksLeaveFromTheDrawnPosition) {
    Firework* emitter = Frictionless(100, Vec3(5, 2, 20), Vec3());
    emitter->SetHeading(0, 0);
    emitter->EnableCorkscrew(0.5, 1.570795, 1.0);
    emitter->SetTrail(Vec3(1, 1, 1), 1.0, 0.0, 0.5);
    emitter->EmitTrailSpark();
    const Firework* spark = FireworkAt(emitter->newestSpark);
    ASSERT_NE(nullptr, spark);
    EXPECT_NEAR(20.5, spark->position.z, 1e-9);  // heading along +x: the swing is along +z
    EXPECT_NEAR(5.0, spark->position.x, 1e-5);
    EXPECT_EQ(2.0, spark->position.y);
    EXPECT_EQ(20.0, emitter->position.z);  // the true position is not moved
}

TEST_F(SimTest, CorkscrewPhaseAdvancesTenTimesItsRate) {
    Firework* f = Frictionless(100, Vec3(0, 0, 20), Vec3());
    f->SetHeading(1.570795, 0);
    f->EnableCorkscrew(1.0, 0.0, 0.3);
    f->Update(0.5);
    EXPECT_DOUBLE_EQ(0.5 * 0.3 * 10.0, f->corkscrewPhase);
    Vec3 drawn = f->GetDrawPosition();
    // Heading up: the swing runs across it, along -x.
    EXPECT_NEAR(-std::sin(1.5), drawn.x, 1e-5);
    EXPECT_NEAR(20.0, drawn.z, 1e-5);
}

TEST_F(SimTest, FullPoolDuringEmissionCountsAttemptsAndMakesNoSpark) {
    FillPoolExcept(0);
    Firework* emitter = g_fireworkPool.slots[9999];
    emitter->SetTrail(Vec3(1, 1, 1), 20.0, 0.0, 0.5);
    emitter->Update(0.05);
    EXPECT_EQ(2, emitter->sparksEmitted);
    EXPECT_EQ(-1, emitter->newestSpark);
    EXPECT_EQ(POOL_SIZE, LiveRecords());

    // A gap, not a backlog: once a slot is free the trail goes on at its rate.
    delete g_fireworkPool.slots[5];
    g_fireworkPool.slots[5] = nullptr;
    emitter->Update(0.05);
    EXPECT_EQ(3, emitter->sparksEmitted);
    EXPECT_EQ(5, emitter->newestSpark);
}

TEST_F(SimTest, AStepOfZeroStillStartsATrail) {
    Firework* emitter = Frictionless(100, Vec3(0, 0, 20), Vec3());
    emitter->SetTrail(Vec3(1, 1, 1), 30.0, 0.0, 0.4);
    emitter->Update(0);
    EXPECT_EQ(0.0001, emitter->trailAge);
    EXPECT_EQ(1, emitter->sparksEmitted);  // 1 / 0.0001 is far above the rate
    emitter->Update(0);
    EXPECT_EQ(1, emitter->sparksEmitted);
}
