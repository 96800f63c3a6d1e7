// Opening the drawing surface and the OpenGL entry points.
#pragma once

#include "app/letterbox.h"

constexpr int pictureWidth = 640;
constexpr int pictureHeight = 480;

enum class SurfaceKind {
    // 640x480 full screen in game mode where the display allows the mode switch, else a
    // 640x480 window.
    GameMode,
    // A borderless window over the whole screen at the display's own resolution.
    FullScreen,
    // An ordinary resizable window of the requested size.
    Window,
};

struct SurfaceRequest {
    SurfaceKind kind = SurfaceKind::GameMode;
    Size windowSize{pictureWidth, pictureHeight}; // for a window
    // An OpenGL 3.3 core context even where the probe finds none (the driver must offer it). By
    // default the surface gets one wherever the display gives it, else GLUT's default context.
    bool coreProfile = false;
};

// Initialises GLUT with the command line (it takes its own options out of it), asks for a
// double-buffered RGBA surface with a depth buffer and opens the requested surface, titled
// "OMBRA" where it is a window. Then initialises GLEW and throws std::runtime_error("glewInit
// failed") when no usable OpenGL is there.
void openSurface(int* argc, char** argv, const SurfaceRequest& request = {});

// The surface's present size in pixels; it follows the window as it is resized.
Size surfaceSize();
