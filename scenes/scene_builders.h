// The six SceneBuilders, in playing order.
#pragma once

#include "scene/scene.h"

using SceneBuilder = Scene (*)();

Scene buildScene1();
Scene buildScene2();
Scene buildScene3();
Scene buildScene4();
Scene buildScene5();
Scene buildScene6();

// Seconds each Scene plays before its outro, in playing order.
constexpr float scenePlayTimes[] = {5.815f, 11.0f, 21.25f, 31.05f, 31.65f, 10.55f};

constexpr SceneBuilder sceneBuilders[] = {buildScene1, buildScene2, buildScene3,
                                          buildScene4, buildScene5, buildScene6};
