// Scene 6: not built yet; it plays its time on a black screen and hands over to its outro.
#include "scenes/scene_builders.h"
#include "transitions/outros.h"

Scene buildScene6() {
    Scene scene(10.55f);
    scene.setContent({}, {}, LightRoute());
    scene.outro = scene6Outro;
    return scene;
}
