// The picture's rows in WebGL 2: a framebuffer keeps them as the canvas does, bottom row first,
// and WebGL offers no way to turn them.
#include "app/picture_rows.h"

void keepRowsAsTheWindow() {}
