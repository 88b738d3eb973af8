#pragma once
#include "fireworks/vec3.h"

struct Firework;

Vec3 RandomBurstColor();

// Creates one burst particle in a free slot; null when the pool is full, which ends the burst.
Firework* SpawnBurstParticle(const Vec3& position, const Vec3& parentVelocity, double angle, double speed,
                             int flags);

// The next of count evenly spaced angles, each with a small forward jitter.
double NextEvenAngle(double& phi, int count);

// With probability one half, ten rocket sparks in the burst's first colour.
void ClosingVolley(const Vec3& position, const Vec3& velocity, double maxSpeed, double timeOffset,
                   const Vec3& color);

// The launch rate in fireworks per minute, read as each burst starts.
double BurstLaunchRate();

void SphericalBurst(Vec3 position, Vec3 velocity, int colorMode);
void BlastBurst(Vec3 position, Vec3 velocity, bool small);
void WillowBurst(Vec3 position, Vec3 velocity, const Vec3 colors[2], bool corkscrew);
void CorkScrewBurst(Vec3 position, Vec3 velocity, const Vec3 colors[2]);
void ChainReactionBurst(Vec3 position, Vec3 velocity);
void WaverBurst(Vec3 position, Vec3 velocity);
void OpeningBurst(Vec3 position, Vec3 velocity);
