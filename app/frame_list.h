// The frames an offline capture writes: every frame, or a list such as "0,180,349-352".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class FrameList {
  public:
    using Frame = std::uint64_t;

    // Frame numbers above this are refused: at 60 frames a second it is half a year of picture.
    static constexpr Frame largestFrame = 999'999'999;

    // Every frame.
    FrameList() = default;

    // Comma-separated frame numbers and inclusive ranges "first-last", in any order, overlaps
    // allowed. Throws std::invalid_argument naming the offending item for anything else: empty
    // items, signs, spaces, a range whose end comes before its start, numbers beyond
    // largestFrame.
    static FrameList parse(const std::string& text);

    bool contains(Frame frame) const;

    // The first and the last frame listed; empty when every frame is wanted.
    std::optional<Frame> first() const;
    std::optional<Frame> last() const;

  private:
    struct Range {
        Frame first, last;
    };
    // Sorted by start, merged where they touch or overlap; empty means every frame.
    std::vector<Range> ranges;
};
