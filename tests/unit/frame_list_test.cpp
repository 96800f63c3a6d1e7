// The renderer's frame lists: items in any order, repeated, overlapping, nested or touching.
#include <gtest/gtest.h>

#include "tools/capture/frame_list.h"

namespace {

TEST(FrameList, HoldsEveryFrameOfItsItemsAndNoOther) {
    const FrameList list = FrameList::parse("30-40,5,32-35,38-50,61,5,3-4,60-60,0-0");
    std::vector<FrameList::Frame> expected{0, 3, 4, 5};
    for (FrameList::Frame frame = 30; frame <= 50; ++frame) {
        expected.push_back(frame);
    }
    expected.insert(expected.end(), {60, 61});
    std::vector<FrameList::Frame> held;
    for (FrameList::Frame frame = 0; frame < 100; ++frame) {
        if (list.contains(frame)) {
            held.push_back(frame);
        }
    }
    EXPECT_EQ(held, expected);
    EXPECT_EQ(list.first(), 0u);
    EXPECT_EQ(list.last(), 61u);
}

} // namespace
