// The keyboard: Esc ends the run, lower-case r prints the music position.
#pragma once

// GLUT keyboard callback.
void onKey(unsigned char key, int x, int y);

// What `r` prints: the music position in thousands of bytes and a space, on standard output.
void printMusicPosition();
