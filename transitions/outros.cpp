// Placeholder outros: each finishes at once.
#include "transitions/outros.h"

bool scene1Outro(int, int) {
    return false;
}
bool scene2Outro(int, int) {
    return false;
}
bool scene3Outro(int, int) {
    return false;
}
bool scene4Outro(int, int) {
    return false;
}
bool scene5Outro(int, int) {
    return false;
}
bool scene6Outro(int, int) {
    return false;
}
void setOutroSeed(std::optional<unsigned>) {}
