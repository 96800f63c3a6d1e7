// The keyboard: Esc ends the run, lower-case r prints the music position.
#pragma once

// GLUT keyboard callback.
void onKey(unsigned char key, int x, int y);
