// The six outros: five particle dissolves, each a table of rules over the shared machinery, and
// the closing curtain.
#include "transitions/outros.h"

#include <ctime>

#include "transitions/curtain.h"
#include "transitions/outro_rules.h"
#include "transitions/particle_outro.h"

namespace {

constexpr ParticleDissolve scene1Dissolve{edgeTarget, randomDuration, nullptr, 5.51f};
constexpr ParticleDissolve scene2Dissolve{cornerTarget, randomDuration, nullptr, 5.0f};
constexpr ParticleDissolve scene3Dissolve{leftEdgeTarget, randomDuration, nullptr, 3.0f};
constexpr ParticleDissolve scene4Dissolve{gridTarget, randomDuration, nullptr, 2.91f};
constexpr ParticleDissolve scene5Dissolve{gridTarget, coarseDuration, bendControlPoint, 3.91f};

std::optional<unsigned> chosenSeed;

// The wall clock makes every run's dissolve different unless a seed was chosen.
unsigned startingSeed() {
    return chosenSeed ? *chosenSeed : static_cast<unsigned>(std::time(nullptr));
}

} // namespace

// Each outro makes its state on its first call, when its function-local object is built.

bool scene1Outro(int width, int height) {
    static ParticleOutro outro(width, height);
    return playParticleOutro(outro, scene1Dissolve, width, height, startingSeed);
}

bool scene2Outro(int width, int height) {
    static ParticleOutro outro(width, height);
    return playParticleOutro(outro, scene2Dissolve, width, height, startingSeed);
}

bool scene3Outro(int width, int height) {
    static ParticleOutro outro(width, height);
    return playParticleOutro(outro, scene3Dissolve, width, height, startingSeed);
}

bool scene4Outro(int width, int height) {
    static ParticleOutro outro(width, height);
    return playParticleOutro(outro, scene4Dissolve, width, height, startingSeed);
}

bool scene5Outro(int width, int height) {
    static ParticleOutro outro(width, height);
    return playParticleOutro(outro, scene5Dissolve, width, height, startingSeed);
}

bool scene6Outro(int width, int height) {
    static Curtain curtain(width, height);
    return playCurtain(curtain, width, height);
}

void setOutroSeed(std::optional<unsigned> seed) {
    chosenSeed = seed;
}
