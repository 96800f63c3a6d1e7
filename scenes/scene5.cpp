// Scene 5: not built yet; it plays its time on a black screen and hands over to its outro.
#include "scenes/scene_builders.h"
#include "transitions/outros.h"

Scene buildScene5() {
    Scene scene(31.65f);
    scene.setContent({}, {}, LightRoute());
    scene.outro = scene5Outro;
    return scene;
}
