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

constexpr SceneBuilder sceneBuilders[] = {buildScene1, buildScene2, buildScene3,
                                          buildScene4, buildScene5, buildScene6};
