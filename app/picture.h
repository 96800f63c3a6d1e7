// The production's picture: 640x480 pixels drawn off screen, then shown on a window or a
// frame of any size by the present step.
#pragma once

#include <GL/glew.h>

#include "app/letterbox.h"

constexpr Size pictureSize{640, 480};

// Makes the off-screen picture (colour and depth); needs a current OpenGL context.
void createPicture();

// Directs drawing and reading to the picture, with a 640x480 viewport. Every frame of the
// production is drawn here, and the outros read it back and draw over it here.
void usePicture();

// Directs drawing and reading to the window's back buffer, with a 640x480 viewport: the picture
// for a window of exactly its size, where the present step would copy it unchanged.
void useWindowAsPicture();

// Shows the picture on `target` (0 for the window), a framebuffer of `size`: scaled to the largest
// size that fits with its shape kept, centred, black elsewhere. Nearest neighbour keeps the
// pixels crisp; `smooth` filters linearly. Drawing and reading stay with the target afterwards.
void presentPicture(GLuint target, Size size, bool smooth);
