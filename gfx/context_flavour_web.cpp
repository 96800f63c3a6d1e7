// The flavour of the browser's context: the page asks for WebGL 2, which is OpenGL ES 3.0.
#include "gfx/program.h"

namespace gfx {

Flavour contextFlavour() {
    return Flavour::Embedded30;
}

} // namespace gfx
