// The renderer's display on Windows: windows are drawn by the system itself, always there.
#include "tools/capture/display_watch.h"

DisplayHold::DisplayHold(const char*) {}

DisplayHold::~DisplayHold() {}

void whenDisplayLost(void (*)()) {}
