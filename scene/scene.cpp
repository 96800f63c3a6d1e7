// The Scene's start, activation, drawing and per-frame update.
#include "scene/scene.h"

#include "clock/step_clock.h"

#include <GL/glew.h>

#include "gfx/immediate.h"
#include "shapes/shape_draw.h"

void Scene::setContent(const std::vector<Shape>& newShapes, const std::vector<float>& newStartTimes,
                       const LightRoute& light) {
    shapes = newShapes;
    startTimes = newStartTimes;
    active.assign(shapes.size(), false);
    lighting = light; // the light always moves as a straight Route
    frameHook = nullptr;
    hasShader = false;
}

void Scene::activate(std::size_t index) {
    active[index] = true;
    if (shapes[index].kind != ShapeKind::Callback) {
        shapes[index].routes[0].start();
    }
}

namespace {

static struct { DemoClock::Ticks latestStart = 0; } state;

} // namespace

DemoClock::Ticks latestSceneFirstFrame() {
    return state.latestStart + StepClock::stepTicks(1);
}

void Scene::start() {
    startTicks = DemoClock::now();
    state.latestStart = startTicks;
    lighting.route.start();
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        if (startTimes[i] == 0.0f) {
            activate(i);
        }
    }
}

void Scene::activateShapes() {
    const float elapsed = DemoClock::secondsSince(startTicks);
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        if (!active[i] && startTimes[i] < elapsed) {
            activate(i);
        }
    }
}

void Scene::draw() {
    gfx::setShading(lighting.shadeModel == GL_FLAT ? gfx::Shading::Flat : gfx::Shading::Smooth);
    // The material's ambient and diffuse colours follow the vertex colours, so the Scene's
    // material colour is never seen; it reflects nothing specular, so the shininess neither.
    // w = 3: a positional light at eye coordinates (x/3, y/3, 1/3).
    gfx::setLighting(true, {lighting.route.currentX, lighting.route.currentY, 1.0f, 3.0f});
    glEnable(GL_DEPTH_TEST);
    if (hasShader) {
        shader.use();
    } else {
        glUseProgram(0);
        gfx::useSceneProgram(0);
    }
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        if (active[i]) {
            drawShape(shapes[i]);
        }
    }
}

void Scene::update() {
    if (!(lighting.route.elapsed() > lighting.route.duration)) {
        lighting.route.update();
    }
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        if (active[i]) {
            stepShape(shapes[i]);
        }
    }
    if (frameHook) {
        frameHook();
    }
}
