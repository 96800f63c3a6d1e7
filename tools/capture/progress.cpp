// Writing the render's progress: rewritten in place on a terminal, occasional lines elsewhere.
#include "tools/capture/progress.h"

#include <algorithm>

#include <unistd.h>

namespace {

// A terminal is redrawn a few times a second, not for every frame.
constexpr std::chrono::milliseconds terminalInterval(250);
// A log gets a line at every tenth of the total, and at least this often.
constexpr std::chrono::seconds logInterval(30);

double secondsBetween(std::chrono::steady_clock::time_point from,
                      std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// "0:07", "3:39", "1:02:03".
std::string clockText(double seconds) {
    const auto whole = static_cast<unsigned long long>(std::max(0.0, seconds) + 0.5);
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%llu:%02llu:%02llu", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%llu:%02llu", whole / 60, whole % 60);
    }
    return text;
}

} // namespace

RenderProgress::RenderProgress(const std::vector<ProductionPhase>& phases, FrameUse use,
                               std::FILE* output)
    : stream(output), inPlace(isatty(fileno(output)) != 0), timeLeft(phases, use),
      total(std::max<std::uint64_t>(1, timeLeft.framesLeft())), start(Clock::now()),
      lastFrame(start), lastShown(start) {}

RenderProgress::~RenderProgress() {
    if (openLineLength > 0) {
        std::fputc('\n', stream);
        std::fflush(stream);
    }
}

void RenderProgress::frameRendered(const FrameInfo& info) {
    const Clock::time_point now = Clock::now();
    timeLeft.add(phaseIndex(info.scene, info.outro), secondsBetween(lastFrame, now));
    lastFrame = now;
    ++rendered;
    if (inPlace) {
        // The first frame shows at once that the render is under way.
        if (rendered == 1 || now - lastShown >= terminalInterval) {
            show(status(now), now);
        }
        return;
    }
    // The tenths before the last: finish() reports the end.
    const std::uint64_t tenths = std::min<std::uint64_t>(rendered * 10 / total, 9);
    if (tenths > tenthsShown || now - lastShown >= logInterval) {
        tenthsShown = std::max(tenths, tenthsShown);
        show(status(now), now);
    }
}

void RenderProgress::finish() {
    const Clock::time_point now = Clock::now();
    const double seconds = secondsBetween(start, now);
    char rate[64] = "";
    if (seconds > 0) {
        std::snprintf(rate, sizeof rate, ", %.1f frames/s",
                      static_cast<double>(rendered) / seconds);
    }
    show("rendered " + std::to_string(rendered) + " frames in " + clockText(seconds) + rate, now);
    if (inPlace) {
        std::fputc('\n', stream);
        std::fflush(stream);
        openLineLength = 0;
    }
}

// "frame 600 / 8230 (7%), 34.8 frames/s, about 3:39 left"
std::string RenderProgress::status(Clock::time_point now) const {
    std::string text = "frame " + std::to_string(rendered) + " / " + std::to_string(total) + " (" +
                       std::to_string(rendered * 100 / total) + "%)";
    const double seconds = secondsBetween(start, now);
    if (rendered > 0 && seconds > 0) {
        char rate[96];
        std::snprintf(rate, sizeof rate, ", %.1f frames/s, about %s left",
                      static_cast<double>(rendered) / seconds,
                      clockText(timeLeft.secondsLeft()).c_str());
        text += rate;
    }
    return text;
}

void RenderProgress::show(const std::string& text, Clock::time_point now) {
    lastShown = now;
    if (!inPlace) {
        std::fprintf(stream, "%s\n", text.c_str());
        std::fflush(stream);
        return;
    }
    // Spaces cover what is left of a longer line before it.
    const std::size_t padding = openLineLength > text.size() ? openLineLength - text.size() : 0;
    std::fprintf(stream, "\r%s%s", text.c_str(), std::string(padding, ' ').c_str());
    std::fflush(stream);
    openLineLength = text.size();
}
