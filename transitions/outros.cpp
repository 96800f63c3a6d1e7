// The six outros: five particle dissolves, each a table of rules over the shared machinery, and
// the closing curtain.
#include "transitions/outros.h"

#include <ctime>

#include "transitions/curtain.h"
#include "transitions/outro_rules.h"
#include "transitions/particle_outro.h"

namespace {

constexpr ParticleDissolve scene1Dissolve{edgeTarget, randomDuration, nullptr, outroRunTimes[0]};
constexpr ParticleDissolve scene2Dissolve{cornerTarget, randomDuration, nullptr, outroRunTimes[1]};
constexpr ParticleDissolve scene3Dissolve{leftEdgeTarget, randomDuration, nullptr,
                                          outroRunTimes[2]};
constexpr ParticleDissolve scene4Dissolve{gridTarget, randomDuration, nullptr, outroRunTimes[3]};
constexpr ParticleDissolve scene5Dissolve{gridTarget, coarseDuration, bendControlPoint,
                                          outroRunTimes[4]};

std::optional<unsigned> chosenSeed;

// The wall clock makes every run's dissolve different unless a seed was chosen.
unsigned startingSeed() {
    return chosenSeed ? *chosenSeed : static_cast<unsigned>(std::time(nullptr));
}

// A dissolve makes its state on its first call, when its function-local object is built; each
// rule table gets an instance, and so a state, of its own.
template <const ParticleDissolve& dissolve> bool playDissolve(int width, int height) {
    static ParticleOutro outro(width, height);
    return playParticleOutro(outro, dissolve, width, height, startingSeed);
}

} // namespace

bool scene1Outro(int width, int height) {
    return playDissolve<scene1Dissolve>(width, height);
}
bool scene2Outro(int width, int height) {
    return playDissolve<scene2Dissolve>(width, height);
}
bool scene3Outro(int width, int height) {
    return playDissolve<scene3Dissolve>(width, height);
}
bool scene4Outro(int width, int height) {
    return playDissolve<scene4Dissolve>(width, height);
}
bool scene5Outro(int width, int height) {
    return playDissolve<scene5Dissolve>(width, height);
}

bool scene6Outro(int width, int height) {
    static Curtain curtain(width, height);
    return playCurtain(curtain, width, height);
}

void setOutroSeed(std::optional<unsigned> seed) {
    chosenSeed = seed;
}
