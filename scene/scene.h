// The Scene: one timed section of the production with its Shapes, light, shader and outro.
#pragma once

#include <cstdint>
#include <vector>

#include "clock/demo_clock.h"
#include "shaders/shader_program.h"
#include "shapes/route.h"
#include "shapes/shape.h"

// An outro takes the window's width and height and returns true while it still runs.
using OutroFn = bool (*)(int width, int height);
// Called at the end of every Scene update; shader Scenes advance their uniforms here.
using FrameHook = void (*)();

// When a 60 fps run draws the first frame of the Scene started last, one frame after its start:
// the frame hooks of shader Scenes count their steps from there.
DemoClock::Ticks latestSceneFirstFrame();

struct Scene {
    Scene() = default;
    explicit Scene(float playTime) : duration(playTime), width(640), height(480) {}

    Scene(Scene&&) = default;
    Scene& operator=(Scene&&) = default;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Copies the Shapes, their start times and the light in; clears the hook and the shader flag.
    void setContent(const std::vector<Shape>& newShapes, const std::vector<float>& newStartTimes,
                    const LightRoute& light);

    // Starts the Scene's clock and light, and activates the Shapes whose start time is 0.
    void start();
    // Activates every waiting Shape whose start time is strictly less than the elapsed time.
    void activateShapes();
    // Sets the light and material, binds the shader or none, and draws the active Shapes.
    void draw();
    // Moves the light while its route runs, steps the active Shapes, then runs the frame hook.
    void update();

    float duration = 0.0f;
    std::vector<Shape> shapes;
    std::vector<float> startTimes;
    std::vector<bool> active;
    DemoClock::Ticks startTicks = 0;
    int width = 0;
    int height = 0;
    OutroFn outro = nullptr;
    LightRoute lighting;
    std::uint32_t outroFrames = 0;
    FrameHook frameHook = nullptr;
    bool hasShader = false;
    ShaderProgram shader;

  private:
    void activate(std::size_t index);
};
