// Scene 2: not built yet; it plays its time on a black screen and hands over to its outro.
#include "scenes/scene_builders.h"
#include "transitions/outros.h"

Scene buildScene2() {
    Scene scene(11.0f);
    scene.setContent({}, {}, LightRoute());
    scene.outro = scene2Outro;
    return scene;
}
