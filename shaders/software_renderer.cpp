// Telling a software renderer by the name it gives itself.
#include "shaders/software_renderer.h"

#include <cstring>
#include <initializer_list>

#include <GL/glew.h>

bool renderingInSoftware() {
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (!renderer) {
        return false;
    }
    for (const char* name : {"llvmpipe", "softpipe", "Software", "GDI Generic"}) {
        if (std::strstr(renderer, name)) {
            return true;
        }
    }
    return false;
}
