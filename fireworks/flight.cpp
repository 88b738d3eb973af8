#include <cmath>

#include "fireworks/angles.h"
#include "fireworks/firework.h"
#include "fireworks/world.h"

const double FLIGHT_GRAVITY = 9.8;
const double FLIGHT_FLOOR = -2.0;
const double FLIGHT_MINIMUM_TRAIL_AGE = 0.0001;
const double FLIGHT_CORKSCREW_PHASE_FACTOR = 10.0;
const double FLIGHT_SPARK_DRAG = 0.6;
const double FLIGHT_FADE_MARKER = -1.0;

// Drag slows a component towards zero but never carries it past.
static void ApplyDrag(double& component, double deceleration) {
    bool wasPositive = component > 0;
    component -= deceleration;
    if ((component > 0) != wasPositive) component = 0;
}

void Firework::Update(FireworkWorld& world, double dt) {
    trailAge += dt;
    if (trailAge < FLIGHT_MINIMUM_TRAIL_AGE) trailAge = FLIGHT_MINIMUM_TRAIL_AGE;
    while (double(sparksEmitted) / trailAge < trailRate) EmitTrailSpark(world);

    if (burnTime > 0) {
        velocity.x += std::cos(heading) * thrust * dt;
        velocity.z += std::sin(heading) * thrust * dt;
        burnTime -= dt;
    }

    // Drag grows with the square of the speed; written as a product, since pow may round it differently.
    double speed = velocity.Length();
    double dragStrength = drag * (speed * speed);
    velocity.z -= dt * gravityScale * FLIGHT_GRAVITY;
    double flightAngle = DirectionAngle(0, 0, velocity.x, velocity.z);
    ApplyDrag(velocity.x, std::cos(flightAngle) * dragStrength * dt);
    ApplyDrag(velocity.z, std::sin(flightAngle) * dragStrength * dt);

    if (turnRate > 0) heading = TurnTowards(heading, flightAngle, dt * turnRate);

    position.x += dt * velocity.x;
    position.z += dt * velocity.z;
    if (corkscrew) corkscrewPhase += dt * corkscrewRate * FLIGHT_CORKSCREW_PHASE_FACTOR;

    if (burstAtHeight && position.z > burstHeight) dead = burstDue = true;
    if (fuseLit) {
        fuseTime -= dt;
        if (fuseTime < 0) dead = burstDue = true;
    }
    if (burstAtApex && velocity.z < 0) dead = burstDue = true;
    if (position.z < FLIGHT_FLOOR) dead = true;

    if (holdTime > 0) {
        holdTime -= dt;
        if (holdTime <= 0) holdTime = FLIGHT_FADE_MARKER;
    } else {
        fadeLeft -= dt;
        holdTime = FLIGHT_FADE_MARKER;
    }
    if (holdTime < 0 && fadeLeft < 0) dead = true;
}

void Firework::EmitTrailSpark(FireworkWorld& world) {
    sparksEmitted += 1;
    int slot = world.pool.FindFreeSlot();
    if (slot == -1) return;
    Firework* spark = world.Create(slot, GetDrawPosition(), Vec3(0, 0, 0), FF_TRAIL);
    if (!spark) return;

    spark->SetDrag(FLIGHT_SPARK_DRAG);
    spark->SetTrailLink(newestSpark, newestSparkId);
    if (flipTrailOffset == 1) spark->flipTrailOffset = 1;
    Vec3 sparkColor = trailColor;
    if (holdTime <= 0) sparkColor = trailColor * (fadeTime != 0 ? fadeLeft / fadeTime : 0.0);
    spark->SetColor(sparkColor, sparkHoldTime, sparkFadeTime, COLOR_STEADY);

    SetTrailLink(slot, spark->randomId);
    newestSpark = slot;
    newestSparkId = spark->randomId;
}

Vec3 Firework::GetDrawPosition() const {
    if (!corkscrew) return position;
    double offset = std::sin(corkscrewPhase) * corkscrewRadius;
    double across = heading + ANGLE_QUARTER_TURN;
    return Vec3(position.x + offset * std::cos(across), position.y, position.z + offset * std::sin(across));
}
