// The particle dissolve behind five outros: every non-black pixel of the finished picture becomes
// a one-pixel particle that flies along its own route and vanishes when it arrives.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "clock/demo_clock.h"
#include "shapes/geometry.h"
#include "shapes/route.h"
#include "transitions/window_pixels.h"

// Where a particle at pixel (x, y), y down from the top row, flies to.
using DestinationRule = Vec2 (*)(int x, int y, int width, int height);
// How long a particle flies, below the transition's time.
using FlightTimeRule = float (*)(float time);
// The control point of a bent flight from start to end.
using BendRule = Vec2 (*)(Vec2 start, Vec2 end);

// One dissolve: its three rules and its time T, which bounds every flight and the transition.
struct ParticleDissolve {
    DestinationRule destination;
    FlightTimeRule flightTime;
    BendRule bend; // nullptr: particles fly straight
    float time;
};

// A particle's colour: the captured byte levels 0 to 255, held as floats.
struct ParticleColour {
    float r, g, b;
};

// One outro's state, made on its first call and kept for the run.
struct ParticleOutro {
    // A black picture, no particles, and the outro's clock started now.
    ParticleOutro(int width, int height);

    std::int32_t calls = 0;
    DemoClock::Ticks startTicks = 0;
    PixelBuffer pixels;
    // Parallel lists in creation order; each route is owned by its particle.
    std::vector<ParticleColour> colours;
    std::vector<std::unique_ptr<BaseRoute>> routes;
};

// Where the generator's seed comes from when the outro starts.
using SeedSource = unsigned (*)();

// One frame of a particle outro: the first call seeds Random, captures the picture as particles
// and draws nothing; every later call draws a frame. Returns false on the call at or after the
// dissolve's time, which shows black and releases the particles.
bool playParticleOutro(ParticleOutro& outro, const ParticleDissolve& dissolve, int width,
                       int height, SeedSource seed);

// Reads the back buffer into the outro's picture and makes its particles.
void captureParticles(ParticleOutro& outro, const ParticleDissolve& dissolve, int width,
                      int height);
// Makes one started particle per non-black pixel of the outro's picture, column by column from
// the left and each column from the top; per particle a random number is drawn by the destination,
// then the flight time, then the bend.
void makeParticles(ParticleOutro& outro, const ParticleDissolve& dissolve, int width, int height);

// Composes the frame and draws it over the window; false once the dissolve's time is up.
bool drawParticles(ParticleOutro& outro, int width, int height, float time);
// Composes the frame in the outro's picture: each live particle is plotted where its route's
// last update left it, then moved on. Once the time is up the picture is black, the particles
// are released and the result is false.
bool composeParticles(ParticleOutro& outro, int width, int height, float time);
