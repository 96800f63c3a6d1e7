// The figures `ombra --stats` prints at the end of a run: how many frames were shown and how
// evenly, and how far the music drifted from the time played.
#pragma once

#include <optional>
#include <string>
#include <vector>

class FrameStats {
  public:
    // A frame was shown `seconds` after the run's first frame began (one per buffer swap).
    void frameShown(double seconds);
    // The music position heard, less the time since the music started, in seconds.
    void musicDrift(double seconds);

    // One line: frames, seconds, average rate, median / 95th percentile / worst interval between
    // shown frames, how many came later than 1.5 refresh periods after the one before, and the
    // music's drift (the last and the largest) where there was sound.
    std::string summary(double refreshRate) const;

  private:
    std::vector<double> shown_;
    std::optional<double> lastDrift_, largestDrift_;
};
