#include "fireworks/firework.h"

Firework::Firework(const Vec3& position, const Vec3& velocity, int flags, int32_t randomId)
    : position(position), velocity(velocity), flags(flags), randomId(randomId) {}

void Firework::SetFlags(int newFlags) {
    flags = newFlags;
}

void Firework::SetHeading(double newHeading, double newTurnRate) {
    heading = newHeading;
    turnRate = newTurnRate;
}

void Firework::SetThrust(double newThrust, double newBurnTime) {
    thrust = newThrust;
    burnTime = newBurnTime;
}

void Firework::SetDrag(double newDrag) {
    drag = newDrag;
}

void Firework::EnableCorkscrew(double radius, double phase, double rate) {
    corkscrewRadius = radius;
    corkscrewPhase = phase;
    corkscrewRate = rate;
    corkscrew = true;
}

void Firework::SetBurstHeight(double z) {
    burstHeight = z;
    burstAtHeight = true;
}

void Firework::SetFuse(double seconds) {
    fuseTime = seconds;
    fuseLit = true;
}

void Firework::SetBurstAtApex() {
    burstAtApex = true;
}

void Firework::SetBurstKind(int kind) {
    burstKind = kind;
}

void Firework::SetColor(const Vec3& newColor, double newHoldTime, double newFadeTime, int newColorMode) {
    color = newColor;
    holdTime = newHoldTime;
    fadeTime = newFadeTime;
    fadeLeft = newFadeTime;
    colorMode = newColorMode;
}

void Firework::SetTrail(const Vec3& newTrailColor, double newTrailRate, double newSparkHoldTime,
                        double newSparkFadeTime) {
    trailColor = newTrailColor;
    trailRate = newTrailRate;
    sparkHoldTime = newSparkHoldTime;
    sparkFadeTime = newSparkFadeTime;
    trailAge = 0.000001;
    sparksEmitted = 0;
    newestSpark = -1;
    newestSparkId = 0;
    linkSlot = -1;
}

void Firework::SetTrailLink(int slot, int id) {
    linkSlot = slot;
    linkId = id;
}

void Firework::SetGravityScale(double scale) {
    gravityScale = scale;
}
