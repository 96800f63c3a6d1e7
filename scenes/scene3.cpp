// Scene 3: not built yet; it plays its time on a black screen and hands over to its outro.
#include "scenes/scene_builders.h"
#include "transitions/outros.h"

Scene buildScene3() {
    Scene scene(21.25f);
    scene.setContent({}, {}, LightRoute());
    scene.outro = scene3Outro;
    return scene;
}
