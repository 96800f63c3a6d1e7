// The flavour of a desktop OpenGL context, as GLEW found it.
#include "gfx/program.h"

namespace gfx {

Flavour contextFlavour() {
    return GLEW_VERSION_3_3 ? Flavour::Desktop33 : Flavour::Desktop21;
}

} // namespace gfx
