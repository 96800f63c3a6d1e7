// The production's words, letter for letter, and placeholders shaped like their credits.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "text/lines.h"

namespace {

struct LineText {
    const char* name;
    const std::string& line;
    const char* text;
};

TEST(TextLines, EveryLineHoldsItsExactWords) {
    const LineText lines[] = {
        {"titleWord", titleWord, "OMBRA"},
        {"signOffLine", signOffLine, "A demo by VELTRANO"},
        {"creditCodeTitle", creditCodeTitle, "CODE"},
        {"creditCodeName", creditCodeName, "quorl"},
        {"creditMusicTitle", creditMusicTitle, "MUSIC"},
        {"creditMusicName", creditMusicName, "quorl"},
        {"creditGraphicsTitle", creditGraphicsTitle, "GRAPHICS (IF ANY)"},
        {"creditGraphicsName", creditGraphicsName, "quorl"},
        {"shownCodeTitle", shownCodeTitle, "ACDF"},
        {"shownCodeName", shownCodeName, "gjdsf"},
        {"shownMusicTitle", shownMusicTitle, "ABCDE"},
        {"shownMusicName", shownMusicName, "gjdsf"},
        {"shownGraphicsTitle", shownGraphicsTitle, "ABCDEFGH (AB CDE)"},
        {"shownGraphicsName", shownGraphicsName, "quorl"},
        {"respectHeading", respectHeading, "WE RESPECT"},
        {"greetGroup1", greetGroup1, "Kordo"},
        {"greetGroup2", greetGroup2, "Semprovant"},
        {"greetGroup3", greetGroup3, "Tulmor"},
        {"greetGroup4", greetGroup4, "Moskelan"},
        {"greetGroup5", greetGroup5, "Plimb"},
        {"greetGroup6", greetGroup6, "Ostek"},
        {"greetGroup7", greetGroup7, "ZUM"},
        {"greetGroup8", greetGroup8, "Vindalor"},
        {"releaseLine", releaseLine, "TARN 2022"},
        {"personalGreetHeading", personalGreetHeading,
         "Personal greetings go to, for their support:"},
        {"personalGreetLine1", personalGreetLine1,
         "morvelting, ulphar, sorvandil, trakken, bexomira,"},
        {"personalGreetLine2", personalGreetLine2, "dulvis, hemptoka and grawix."},
    };
    for (const LineText& entry : lines) {
        EXPECT_EQ(entry.line, entry.text) << entry.name;
    }
}

// A placeholder shows for one frame where its credit will flicker: same length, same
// non-letters in the same places.
TEST(TextLines, PlaceholdersHaveTheShapeOfTheirCredits) {
    const std::pair<const std::string&, const std::string&> pairs[] = {
        {shownCodeTitle, creditCodeTitle},         {shownCodeName, creditCodeName},
        {shownMusicTitle, creditMusicTitle},       {shownMusicName, creditMusicName},
        {shownGraphicsTitle, creditGraphicsTitle}, {shownGraphicsName, creditGraphicsName},
    };
    for (const auto& [placeholder, credit] : pairs) {
        ASSERT_EQ(placeholder.size(), credit.size()) << credit;
        for (std::size_t i = 0; i < credit.size(); ++i) {
            if (!std::isalpha(static_cast<unsigned char>(credit[i]))) {
                EXPECT_EQ(placeholder[i], credit[i]) << credit << " at " << i;
            }
        }
    }
}

} // namespace
