// Every line of words the production shows.
#pragma once

#include <string>

extern std::string titleWord;
extern std::string signOffLine;

extern std::string creditCodeTitle;
extern std::string creditCodeName;
extern std::string creditMusicTitle;
extern std::string creditMusicName;
extern std::string creditGraphicsTitle;
extern std::string creditGraphicsName;

// Display strings of the revealed credits; they start as placeholders.
extern std::string shownCodeTitle;
extern std::string shownCodeName;
extern std::string shownMusicTitle;
extern std::string shownMusicName;
extern std::string shownGraphicsTitle;
extern std::string shownGraphicsName;

extern std::string respectHeading;
extern std::string greetGroup1;
extern std::string greetGroup2;
extern std::string greetGroup3;
extern std::string greetGroup4;
extern std::string greetGroup5;
extern std::string greetGroup6;
extern std::string greetGroup7;
extern std::string greetGroup8;

extern std::string releaseLine;
extern std::string personalGreetHeading;
extern std::string personalGreetLine1;
extern std::string personalGreetLine2;
