#pragma once
#include <cstdint>

#include "fireworks/vec3.h"

class DrawList;
struct FireworkWorld;

// Flag bits: which shapes a record draws.
const int FF_STAR = 1;    // a filled octagon
const int FF_TRAIL = 2;   // a quad to the record in linkSlot
const int FF_ROCKET = 4;  // an arrowhead with a tail streak

const int COLOR_STEADY = 0;
const int COLOR_FLICKER = 1;

const int BURST_NONE = 0;
const int BURST_SPHERICAL = 1;
const int BURST_WEEPING_WILLOW = 2;
const int BURST_BLAST = 3;
const int BURST_SPARKLING = 4;
const int BURST_CHAIN_REACTION = 5;
const int BURST_SMALL_BLAST = 6;
const int BURST_WAVER = 7;
const int BURST_CORK_SCREW = 8;
const int BURST_KIND_COUNT = 9;

// One shell, burst star or trail spark. Records refer to each other only by (slot, randomId).
struct Firework {
    Vec3 position;
    Vec3 velocity;
    int32_t flags;
    int32_t randomId;
    double heading = 0;
    double turnRate = 0;
    double thrust = 0;
    double burnTime = 0;
    double drag = 0.01;
    bool burstAtHeight = false;
    double burstHeight = 0;
    double gravityScale = 1.0;
    bool fuseLit = false;
    double fuseTime = 0;
    bool burstAtApex = false;
    bool dead = false;
    bool burstDue = false;
    int32_t burstKind = BURST_NONE;
    bool corkscrew = false;
    double corkscrewRadius = 0;
    double corkscrewPhase = 0;
    double corkscrewRate = 0;
    Vec3 color;
    double holdTime = 0;
    double fadeTime = 0;
    double fadeLeft = 0;
    int32_t colorMode = COLOR_STEADY;  // every creator calls SetColor before first use
    Vec3 trailColor;
    double trailRate = 0;
    double trailAge = 0;
    double sparkHoldTime = 0;
    double sparkFadeTime = 0;
    int32_t sparksEmitted = 0;
    int32_t newestSpark = -1;
    int32_t newestSparkId = 0;
    int32_t linkSlot = -1;
    int32_t linkId = 0;
    double starSize = 0.1;
    int32_t flipTrailOffset = 0;
    Vec3 secondColor;

    Firework(const Vec3& position, const Vec3& velocity, int flags, int32_t randomId);

    void SetFlags(int flags);
    void SetHeading(double heading, double turnRate);
    void SetThrust(double thrust, double burnTime);
    void SetDrag(double drag);
    void EnableCorkscrew(double radius, double phase, double rate);
    void SetBurstHeight(double z);
    void SetFuse(double seconds);
    void SetBurstAtApex();
    void SetBurstKind(int kind);
    void SetColor(const Vec3& color, double holdTime, double fadeTime, int colorMode);
    void SetTrail(const Vec3& trailColor, double trailRate, double sparkHoldTime, double sparkFadeTime);
    void SetTrailLink(int slot, int id);
    void SetGravityScale(double scale);

    Vec3 GetDrawPosition() const;
    Vec3 GetVelocity() const { return velocity; }
    Vec3 GetColor() const { return color; }
    int32_t GetRandomId() const { return randomId; }
    bool IsDead() const { return dead; }
    bool IsBurstDue() const { return burstDue; }
    int32_t GetBurstKind() const { return burstKind; }

    void Update(FireworkWorld& world, double dt);
    void EmitTrailSpark(FireworkWorld& world);
    void Draw(FireworkWorld& world, DrawList& list);
};
