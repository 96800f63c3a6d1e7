// The offline renderer's frame lists: which frames they hold, and what they refuse.
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "app/frame_list.h"

namespace {

TEST(FrameList, WithoutAListEveryFrameIsWantedAndNoneIsLast) {
    const FrameList every;
    EXPECT_TRUE(every.contains(0));
    EXPECT_TRUE(every.contains(123456));
    EXPECT_FALSE(every.last().has_value());
}

TEST(FrameList, HoldsSingleFramesAndInclusiveRanges) {
    const FrameList list = FrameList::parse("0,180,349-352");
    for (const FrameList::Frame frame : {0, 180, 349, 350, 351, 352}) {
        EXPECT_TRUE(list.contains(frame)) << frame;
    }
    for (const FrameList::Frame frame : {1, 179, 181, 348, 353, 100000}) {
        EXPECT_FALSE(list.contains(frame)) << frame;
    }
    EXPECT_EQ(list.last(), 352u);
}

TEST(FrameList, AcceptsItemsInAnyOrderOverlappingOrTouching) {
    const FrameList list = FrameList::parse("40-45,7,10-20,15-25,26,3-3,44");
    for (const FrameList::Frame frame : {3, 7, 10, 20, 21, 25, 26, 40, 45}) {
        EXPECT_TRUE(list.contains(frame)) << frame;
    }
    for (const FrameList::Frame frame : {0, 2, 4, 6, 8, 9, 27, 39, 46}) {
        EXPECT_FALSE(list.contains(frame)) << frame;
    }
    EXPECT_EQ(list.last(), 45u);
    EXPECT_EQ(FrameList::parse("9,2").last(), 9u);
}

TEST(FrameList, AcceptsFrameNumbersUpToTheLargest) {
    const std::string largest = std::to_string(FrameList::largestFrame);
    EXPECT_EQ(FrameList::parse(largest).last(), FrameList::largestFrame);
    EXPECT_THROW(FrameList::parse(std::to_string(FrameList::largestFrame + 1)),
                 std::invalid_argument);
}

TEST(FrameList, RefusesMalformedListsNamingTheBadItem) {
    const char* const malformed[] = {"",   ",",  "1,", ",1",   "1,,2", "a",
                                     "1a", "-1", "5-", "-",    "5-3",  "1-2-3",
                                     " 1", "1 ", "+1", "0x10", "1.5",  "18446744073709551617"};
    for (const char* text : malformed) {
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
