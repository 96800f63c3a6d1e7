// The offline renderer's frame lists: which frames they hold, and what they refuse.
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "tools/capture/frame_list.h"

namespace {

TEST(FrameList, HoldsSingleFramesAndInclusiveRangesInAnyOrderAndEveryFrameWithoutAList) {
    const FrameList list = FrameList::parse("352,40-45,7,10-20,15-25,3-3");
    for (FrameList::Frame frame = 0; frame < 400; ++frame) {
        const bool held = frame == 3 || frame == 7 || (frame >= 10 && frame <= 25) ||
                          (frame >= 40 && frame <= 45) || frame == 352;
        EXPECT_EQ(list.contains(frame), held) << frame;
    }
    EXPECT_EQ(list.last(), 352u);
    EXPECT_EQ(FrameList::parse(std::to_string(FrameList::largestFrame)).last(),
              FrameList::largestFrame);

    EXPECT_TRUE(FrameList().contains(123456)); // without a list every frame is wanted
    EXPECT_FALSE(FrameList().last().has_value());
}

TEST(FrameList, RefusesMalformedListsNamingTheBadItem) {
    const std::string tooLarge = std::to_string(FrameList::largestFrame + 1);
    for (const char* text : {"", ",", "1,", "1,,2", "1a", "-1", "5-", "5-3", "1-2-3", " 1", "+1",
                             "1.5", "18446744073709551617", tooLarge.c_str()}) {
        EXPECT_THROW(FrameList::parse(text), std::invalid_argument) << "\"" << text << "\"";
    }
    try {
        FrameList::parse("0,12-7,30");
        FAIL() << "a descending range was accepted";
    } catch (const std::invalid_argument& error) {
        EXPECT_NE(std::string(error.what()).find("12-7"), std::string::npos) << error.what();
    }
}

} // namespace
