// Parsing and querying the list of frames an offline capture writes.
#include "app/frame_list.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace {

std::invalid_argument badItem(const std::string& item, const char* why) {
    return std::invalid_argument("bad frame list item \"" + item + "\": " + why);
}

FrameList::Frame parseFrameNumber(const std::string& digits, const std::string& item) {
    if (digits.empty()) {
        throw badItem(item, "expected a frame number");
    }
    FrameList::Frame value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            throw badItem(item, "expected a frame number or a range such as 10-20");
        }
        value = value * 10 + static_cast<FrameList::Frame>(c - '0');
        if (value > FrameList::largestFrame) {
            throw badItem(item, "frame number too large");
        }
    }
    return value;
}

std::vector<std::string> splitAtCommas(const std::string& text) {
    std::vector<std::string> items;
    std::string::size_type begin = 0;
    while (true) {
        const auto comma = text.find(',', begin);
        items.push_back(text.substr(begin, comma - begin));
        if (comma == std::string::npos) {
            return items;
        }
        begin = comma + 1;
    }
}

} // namespace

FrameList FrameList::parse(const std::string& text) {
    if (text.empty()) {
        throw std::invalid_argument("empty frame list");
    }
    FrameList list;
    for (const std::string& item : splitAtCommas(text)) {
        if (item.empty()) {
            throw std::invalid_argument("empty item in frame list \"" + text + "\"");
        }
        const auto dash = item.find('-');
        Range range{};
        if (dash == std::string::npos) {
            range.first = range.last = parseFrameNumber(item, item);
        } else {
            range.first = parseFrameNumber(item.substr(0, dash), item);
            range.last = parseFrameNumber(item.substr(dash + 1), item);
            if (range.last < range.first) {
                throw badItem(item, "the range ends before it starts");
            }
        }
        list.ranges.push_back(range);
    }

    std::sort(list.ranges.begin(), list.ranges.end(),
              [](const Range& a, const Range& b) { return a.first < b.first; });
    std::vector<Range> merged;
    for (const Range& range : list.ranges) {
        if (!merged.empty() && range.first <= merged.back().last + 1) {
            merged.back().last = std::max(merged.back().last, range.last);
        } else {
            merged.push_back(range);
        }
    }
    list.ranges = std::move(merged);
    return list;
}

bool FrameList::contains(Frame frame) const {
    if (ranges.empty()) {
        return true;
    }
    // The first range starting after the frame; the one before it is the only candidate.
    const auto after = std::upper_bound(ranges.begin(), ranges.end(), frame,
                                        [](Frame f, const Range& r) { return f < r.first; });
    return after != ranges.begin() && frame <= std::prev(after)->last;
}

std::optional<FrameList::Frame> FrameList::first() const {
    if (ranges.empty()) {
        return std::nullopt;
    }
    return ranges.front().first;
}

std::optional<FrameList::Frame> FrameList::last() const {
    if (ranges.empty()) {
        return std::nullopt;
    }
    return ranges.back().last;
}
