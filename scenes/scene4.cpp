// Scene 4: not built yet; it plays its time on a black screen and hands over to its outro.
#include "scenes/scene_builders.h"
#include "transitions/outros.h"

Scene buildScene4() {
    Scene scene(31.05f);
    scene.setContent({}, {}, LightRoute());
    scene.outro = scene4Outro;
    return scene;
}
