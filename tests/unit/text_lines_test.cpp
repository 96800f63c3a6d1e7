// The production's words and the credits' placeholders, letter for letter.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "text/lines.h"

namespace {

TEST(TextLines, EveryLineHoldsItsExactWords) {
    const std::pair<const std::string&, const char*> lines[] = {
        {titleWord, "OMBRA"},
        {signOffLine, "A demo by VELTRANO"},
        {creditCodeTitle, "CODE"},
        {creditCodeName, "quorl"},
        {creditMusicTitle, "MUSIC"},
        {creditMusicName, "quorl"},
        {creditGraphicsTitle, "GRAPHICS (IF ANY)"},
        {creditGraphicsName, "quorl"},
        {shownCodeTitle, "ACDF"},
        {shownCodeName, "gjdsf"},
        {shownMusicTitle, "ABCDE"},
        {shownMusicName, "gjdsf"},
        {shownGraphicsTitle, "ABCDEFGH (AB CDE)"},
        {shownGraphicsName, "quorl"},
        {respectHeading, "WE RESPECT"},
        {greetGroup1, "Kordo"},
        {greetGroup2, "Semprovant"},
        {greetGroup3, "Tulmor"},
        {greetGroup4, "Moskelan"},
        {greetGroup5, "Plimb"},
        {greetGroup6, "Ostek"},
        {greetGroup7, "ZUM"},
        {greetGroup8, "Vindalor"},
        {releaseLine, "TARN 2022"},
    };
    for (const auto& [line, text] : lines) {
        EXPECT_EQ(line, text);
    }
    EXPECT_EQ(personalGreetHeading, "Personal greetings go to, for their support:");
    EXPECT_EQ(personalGreetLine1, "morvelting, ulphar, sorvandil, trakken, bexomira,");
    EXPECT_EQ(personalGreetLine2, "dulvis, hemptoka and grawix.");
}

} // namespace
