// Opening the 640×480 drawing surface and the OpenGL entry points.
#pragma once

constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;

// Initialises GLUT with the command line, asks for a double-buffered RGBA surface with a depth
// buffer, and enters the 640x480 full-screen game mode. Where the display refuses the mode
// switch, opens an ordinary 640x480 window titled "OMBRA" instead. Then initialises GLEW and
// throws std::runtime_error("glewInit failed") when no usable OpenGL is there.
void openSurface(int* argc, char** argv, bool tryGameMode = true);
