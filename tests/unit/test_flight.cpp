#include <cmath>

#include <gtest/gtest.h>

#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "tests/unit/burst_support.h"

// A record with no drag and no gravity unless a test adds them.
static Firework* Frictionless(int slot, const Vec3& position, const Vec3& velocity) {
    Firework* f = PlaceRecord(slot, position, velocity, 0);
    f->SetDrag(0);
    f->SetGravityScale(0);
    return f;
}

TEST_F(SimTest, ThrustPushesAlongTheHeadingForTheWholeStepInTheUprightPlane) {
    Firework* f = Frictionless(10, Vec3(1, 3, 2), Vec3(0.5, 4, 0));
    f->SetHeading(0.5, 0);
    f->SetThrust(20, 0.01);  // less burn time left than the step: the whole step is still thrust
    f->Update(0.1);
    EXPECT_DOUBLE_EQ(0.5 + std::cos(0.5) * 20 * 0.1, f->velocity.x);
    EXPECT_DOUBLE_EQ(std::sin(0.5) * 20 * 0.1, f->velocity.z);
    // The step moves by the new velocity.
    EXPECT_DOUBLE_EQ(1 + 0.1 * f->velocity.x, f->position.x);
    EXPECT_DOUBLE_EQ(2 + 0.1 * f->velocity.z, f->position.z);
    f->Update(0.1);  // burnt out: no more thrust
    EXPECT_DOUBLE_EQ(0.5 + std::cos(0.5) * 20 * 0.1, f->velocity.x);
    // Nothing moves in y, although its velocity counts in the speed.
    EXPECT_EQ(3.0, f->position.y);
    EXPECT_EQ(4.0, f->velocity.y);
}

TEST_F(SimTest, DragIsSquareOfTheFullSpeedAndStopsAComponentWithoutReversingIt) {
    Firework* f = Frictionless(10, Vec3(), Vec3(6, 8, 0));
    f->SetDrag(0.01);
    f->Update(0.1);
    EXPECT_DOUBLE_EQ(6 - 0.01 * 100 * 0.1, f->velocity.x);  // speed 10, the y component included
    EXPECT_EQ(0.0, f->velocity.z);

    Firework* g = Frictionless(11, Vec3(), Vec3(0, 0, -10));
    g->SetDrag(0.02);
    g->Update(0.1);
    EXPECT_NEAR(-10 + 0.02 * 100 * 0.1, g->velocity.z, 1e-9);  // sin(4.712385) is not quite -1

    Firework* h = Frictionless(12, Vec3(), Vec3(-3, 0, 4));
    h->SetDrag(50);
    h->Update(0.1);
    EXPECT_EQ(0.0, h->velocity.x);
    EXPECT_EQ(0.0, h->velocity.z);
}

TEST_F(SimTest, GravityActsBeforeTheFlightAngleIsTakenAndSteeringFollowsIt) {
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

    Firework* up = Frictionless(11, Vec3(), Vec3(0, 0, 5));
    up->SetHeading(0, 10);
    up->Update(0.05);
    EXPECT_DOUBLE_EQ(1.570795 * 0.5, up->heading);
    Firework* still = Frictionless(12, Vec3(), Vec3(0, 0, 5));
    still->SetHeading(0.3, 0);
    still->Update(0.05);
    EXPECT_EQ(0.3, still->heading);
}

TEST_F(SimTest, EachEndOfFlightFiresOnTheStepThatCrossesItsEdge) {
    struct Case {
        const char* name;
        double z, vz;
        void (*arm)(Firework&);
        int stepsAlive;  // steps of 0.05 s it survives; the next one ends it (-1: it never ends)
        bool bursts;
    };
    const Case cases[] = {
        {"on the floor", -2.0, 0, [](Firework&) {}, -1, false},
        {"below the floor, armed", -2.0001, 0, [](Firework& f) { f.SetBurstAtApex(); }, 0, false},
        {"apex", 30, 1.13, [](Firework& f) { f.SetBurstAtApex(); f.SetGravityScale(1); }, 2, true},
        {"height", 9, 10, [](Firework& f) { f.SetBurstHeight(10); }, 2, true},  // reaching 10 is not above it
        {"fuse", 30, 0, [](Firework& f) { f.SetFuse(0.1); }, 2, true},            // reaching 0 is not below it
        {"unlit fuse", 30, 0, [](Firework& f) { f.fuseTime = -5; }, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Firework* f = Frictionless(10, Vec3(0, 0, c.z), Vec3(0, 0, c.vz));
        c.arm(*f);
        for (int step = 0; step < (c.stepsAlive < 0 ? 20 : c.stepsAlive); ++step) {
            f->Update(0.05);
            ASSERT_FALSE(f->dead) << "step " << step;
        }
        if (c.stepsAlive < 0) continue;
        f->Update(0.05);
        EXPECT_TRUE(f->dead);
        EXPECT_EQ(c.bursts, f->burstDue);
    }
}

TEST_F(SimTest, BrightnessClockHoldsThenFadesThenEnds) {
    struct Case {
        double hold, fade;
        double steps[3];
        double fadeLeftAfter[3];
        bool deadAfter[3];
    };
    const Case cases[] = {
        // The step that ends the hold takes nothing from the fade.
        {0.5, 0.3, {0.5, 0.2, 0.2}, {0.3, 0.1, -0.1}, {false, false, true}},
        // A negative hold fades from the first update.
        {-0.3, 1.0, {0.25, 0.25, 0.25}, {0.75, 0.5, 0.25}, {false, false, false}},
        // No life at all: a step of zero survives, any other ends it.
        {0, 0, {0, 0, 0.001}, {0, 0, -0.001}, {false, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "hold " << c.hold << " fade " << c.fade);
        Firework* f = Frictionless(10, Vec3(0, 0, 30), Vec3());
        f->SetColor(Vec3(1, 1, 1), c.hold, c.fade, COLOR_STEADY);
        for (int i = 0; i < 3; ++i) {
            f->Update(c.steps[i]);
            EXPECT_EQ(-1.0, f->holdTime) << i;
            EXPECT_NEAR(c.fadeLeftAfter[i], f->fadeLeft, 1e-15) << i;
            EXPECT_EQ(c.deadAfter[i], f->dead) << i;
        }
        EXPECT_FALSE(f->burstDue);
    }
}

TEST_F(SimTest, TrailRateTwentyWithAFirstStepOfFiftyMillisecondsMakesTwoLinkedSparks) {
    Firework* emitter = Frictionless(100, Vec3(0, 0, 20), Vec3());
    emitter->SetTrail(Vec3(0.5, 0.5, 0), 20.0, 0.25, 0.4);
    emitter->flipTrailOffset = 1;
    emitter->Update(0.05);
    EXPECT_EQ(2, emitter->sparksEmitted);
    EXPECT_EQ(3, CountLiveFireworks());

    // The sparks form a chain back from the emitter.
    const Firework* newest = FireworkAt(emitter->newestSpark);
    ASSERT_NE(nullptr, newest);
    EXPECT_TRUE(emitter->linkSlot == emitter->newestSpark && emitter->linkId == newest->randomId);
    EXPECT_EQ(newest->randomId, emitter->newestSparkId);
    const Firework* older = FireworkAt(newest->linkSlot);
    ASSERT_NE(nullptr, older);
    EXPECT_TRUE(newest->linkId == older->randomId && older->linkSlot == -1);
    EXPECT_TRUE(newest->flags == FF_TRAIL && newest->flipTrailOffset == 1);
    EXPECT_TRUE(AllWithin({{"drag", newest->drag, 0.6},
                           {"hold", newest->holdTime, 0.25},
                           {"fade", newest->fadeTime, 0.4},
                           {"red", newest->color.x, 0.5},
                           {"speed", newest->velocity.Length(), 0}}));

    // Over a longer run the count follows the rate: age 1.050001 s at 20 a second.
    for (int i = 0; i < 20; ++i) emitter->Update(0.05);
    EXPECT_EQ(22, emitter->sparksEmitted);

    // A restarted trail does not link to the sparks of the earlier one.
    emitter->SetTrail(Vec3(0, 1, 0), 10.0, 1.0, 0.4);
    emitter->EmitTrailSpark();
    EXPECT_EQ(1, emitter->sparksEmitted);
    EXPECT_EQ(-1, FireworkAt(emitter->newestSpark)->linkSlot);
}

TEST_F(SimTest, AFadingEmitterLeavesAFadingTrail) {
    Firework* emitter = Frictionless(100, Vec3(0, 0, 20), Vec3());
    emitter->SetTrail(Vec3(0.8, 0.4, 0.2), 1.0, 0.0, 0.5);
    emitter->SetColor(Vec3(1, 1, 1), -1.0, 2.0, COLOR_STEADY);
    emitter->fadeLeft = 0.5;
    emitter->EmitTrailSpark();
    EXPECT_DOUBLE_EQ(0.2, FireworkAt(emitter->newestSpark)->color.x);
    EXPECT_DOUBLE_EQ(0.05, FireworkAt(emitter->newestSpark)->color.z);

    emitter->SetColor(Vec3(1, 1, 1), 0.0, 0.0, COLOR_STEADY);
    emitter->EmitTrailSpark();
    EXPECT_EQ(0.0, FireworkAt(emitter->newestSpark)->color.x);
}

TEST_F(SimTest, CorkscrewSwingsTheDrawnPositionAcrossTheHeadingAndSparksLeaveFromIt) {
    Firework* f = Frictionless(100, Vec3(5, 2, 20), Vec3());
    f->SetHeading(1.570795, 0);
    f->EnableCorkscrew(1.0, 0.0, 0.3);
    f->Update(0.5);
    EXPECT_DOUBLE_EQ(0.5 * 0.3 * 10.0, f->corkscrewPhase);
    // Heading up: the swing runs across it, along -x.
    EXPECT_NEAR(5 - std::sin(1.5), f->GetDrawPosition().x, 1e-5);
    EXPECT_NEAR(20.0, f->GetDrawPosition().z, 1e-5);

    f->SetTrail(Vec3(1, 1, 1), 1.0, 0.0, 0.5);
    f->EmitTrailSpark();
    const Firework* spark = FireworkAt(f->newestSpark);
    EXPECT_NEAR(5 - std::sin(1.5), spark->position.x, 1e-5);
    EXPECT_EQ(2.0, spark->position.y);
    EXPECT_EQ(5.0, f->position.x);  // the true position is not moved
}

TEST_F(SimTest, FullPoolDuringEmissionCountsAttemptsAndMakesNoSpark) {
    FillPoolExcept(0);
    Firework* emitter = g_fireworkPool.slots[9999];
    emitter->SetTrail(Vec3(1, 1, 1), 20.0, 0.0, 0.5);
    emitter->Update(0.05);
    EXPECT_EQ(2, emitter->sparksEmitted);
    EXPECT_EQ(-1, emitter->newestSpark);

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
