// Scene 1: not built yet; it plays its time on a black screen and hands over to its outro.
#include "scenes/scene_builders.h"
#include "transitions/outros.h"

Scene buildScene1() {
    Scene scene(5.815f);
    scene.setContent({}, {}, LightRoute());
    scene.outro = scene1Outro;
    return scene;
}
