// The words of the production: titles, credits with their placeholders, greetings, release.
#include "text/lines.h"

std::string titleWord = "OMBRA";
std::string signOffLine = "A demo by VELTRANO";

std::string creditCodeTitle = "CODE";
std::string creditCodeName = "quorl";
std::string creditMusicTitle = "MUSIC";
std::string creditMusicName = "quorl";
std::string creditGraphicsTitle = "GRAPHICS (IF ANY)";
std::string creditGraphicsName = "quorl";

// Each placeholder has its source's length and non-letters; it shows for one frame only.
std::string shownCodeTitle = "ACDF";
std::string shownCodeName = "gjdsf";
std::string shownMusicTitle = "ABCDE";
std::string shownMusicName = "gjdsf";
std::string shownGraphicsTitle = "ABCDEFGH (AB CDE)";
std::string shownGraphicsName = "quorl";

std::string respectHeading = "WE RESPECT";
std::string greetGroup1 = "Kordo";
std::string greetGroup2 = "Semprovant";
std::string greetGroup3 = "Tulmor";
std::string greetGroup4 = "Moskelan";
std::string greetGroup5 = "Plimb";
std::string greetGroup6 = "Ostek";
std::string greetGroup7 = "ZUM";
std::string greetGroup8 = "Vindalor";

std::string releaseLine = "TARN 2022";
std::string personalGreetHeading = "Personal greetings go to, for their support:";
std::string personalGreetLine1 = "morvelting, ulphar, sorvandil, trakken, bexomira,";
std::string personalGreetLine2 = "dulvis, hemptoka and grawix.";
