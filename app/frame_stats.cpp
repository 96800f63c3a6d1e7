// The --stats summary line.
#include "app/frame_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The value below which a `share` of the sorted values lie, the nearest rank.
double percentile(const std::vector<double>& sorted, double share) {
    const auto rank = static_cast<std::size_t>(std::ceil(share * sorted.size()));
    return sorted[std::max<std::size_t>(rank, 1) - 1];
}

std::string format(const char* pattern, double a, double b = 0, double c = 0, double d = 0) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, a, b, c, d);
    return text;
}

} // namespace

void FrameStats::frameShown(double seconds) {
    shown_.push_back(seconds);
}

void FrameStats::musicDrift(double seconds) {
    lastDrift_ = seconds;
    if (!largestDrift_ || std::fabs(seconds) > std::fabs(*largestDrift_)) {
        largestDrift_ = seconds;
    }
}

std::string FrameStats::summary(double refreshRate) const {
    const double seconds = shown_.empty() ? 0.0 : shown_.back();
    std::string line = format("ombra: %.0f frames in %.2f s, %.2f a second", double(shown_.size()),
                              seconds, seconds > 0 ? shown_.size() / seconds : 0.0);
    std::vector<double> intervals;
    for (std::size_t i = 1; i < shown_.size(); ++i) {
        intervals.push_back(shown_[i] - shown_[i - 1]);
    }
    if (!intervals.empty()) {
        std::sort(intervals.begin(), intervals.end());
        const double late = 1.5 / refreshRate;
        const auto lateFrames =
            intervals.end() - std::upper_bound(intervals.begin(), intervals.end(), late);
        line += format("; frame interval median %.1f ms, 95th percentile %.1f ms, worst %.1f ms",
                       percentile(intervals, 0.5) * 1e3, percentile(intervals, 0.95) * 1e3,
                       intervals.back() * 1e3);
        line += format("; %.0f later than %.1f ms (1.5 refresh periods at %.0f Hz)",
                       double(lateFrames), late * 1e3, refreshRate);
    }
    if (lastDrift_) {
        line += format("; music drift %+.0f ms at the end, %+.0f ms at most", *lastDrift_ * 1e3,
                       *largestDrift_ * 1e3);
    } else {
        line += "; no sound";
    }
    return line + "\n";
}
