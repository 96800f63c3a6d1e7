// A run of the production on the simulated clock.
#include "app/simulated_run.h"

#include "app/frame_time.h"
#include "app/picture.h"
#include "audio/soundtrack.h"
#include "clock/demo_clock.h"
#include "transitions/outros.h"

void prepareSimulatedRun(int framesPerSecond, std::optional<unsigned> outroSeed,
                         const MusicChoice& music) {
    DemoClock::setManualTime(frameTicks(0, framesPerSecond));
    setOutroSeed(outroSeed);
    Soundtrack::forceSilent(assumedSoundtrackByteRate);
    MusicChoice unannounced = music;
    unannounced.notFound.clear();
    setMusic(unannounced);
}

bool runSimulatedFrame(std::uint64_t frame, int framesPerSecond, FrameInfo* info) {
    DemoClock::setManualTime(frameTicks(frame, framesPerSecond));
    usePicture();
    return runFrame(info);
}
