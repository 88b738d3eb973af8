#pragma once
#include "fireworks/vec3.h"

struct Firework;
struct FireworkWorld;

Vec3 RandomBurstColor(FireworkWorld& world);

// Creates one burst particle in a free slot; null when the pool is full, which ends the burst.
Firework* SpawnBurstParticle(FireworkWorld& world, const Vec3& position, const Vec3& parentVelocity, double angle,
                             double speed, int flags);

// The next of count evenly spaced angles, each with a small forward jitter.
double NextEvenAngle(FireworkWorld& world, double& phi, int count);

// With probability one half, ten rocket sparks in the burst's first colour.
void ClosingVolley(FireworkWorld& world, const Vec3& position, const Vec3& velocity, double maxSpeed,
                   double timeOffset, const Vec3& color);

// Every burst takes its position and its parent's velocity; the launch rate it times itself by is
// the world's.
void SphericalBurst(FireworkWorld& world, Vec3 position, Vec3 velocity, int colorMode);
void BlastBurst(FireworkWorld& world, Vec3 position, Vec3 velocity, bool small);
void WillowBurst(FireworkWorld& world, Vec3 position, Vec3 velocity, const Vec3 colors[2], bool corkscrew);
void CorkScrewBurst(FireworkWorld& world, Vec3 position, Vec3 velocity, const Vec3 colors[2]);
void ChainReactionBurst(FireworkWorld& world, Vec3 position, Vec3 velocity);
void WaverBurst(FireworkWorld& world, Vec3 position, Vec3 velocity);
void OpeningBurst(FireworkWorld& world, Vec3 position, Vec3 velocity);
