// Which OpenGL a context is, read from its version text: what decides the layer's GLSL flavour
// and whether vertex array objects are there. GLEW's own version flags can't tell, because they
// report a version as present wherever the driver merely exports its entry points, as Mesa does
// for every version on a 2.1 context.
#pragma once

#include "gfx/shader_text.h"

namespace gfx {

struct ContextVersion {
    int major = 0;
    int minor = 0;
    bool embedded = false; // OpenGL ES, WebGL
};

// Reads "3.3 (Core Profile) Mesa 22.3.6", "2.1 Mesa 22.3.6", "4.6.0 NVIDIA 535.1" or
// "OpenGL ES 3.0 (WebGL 2.0)"; {0, 0} where the text starts with no version.
ContextVersion parseContextVersion(const char* versionText);

// GLSL 3.30 from OpenGL 3.3 on, GLSL ES 3.00 on OpenGL ES 3.0 and later, else GLSL 1.20.
Flavour flavourOf(ContextVersion version);

// The version of the current context, from glGetString(GL_VERSION).
ContextVersion currentContextVersion();

// Whether a space-separated extension list (OpenGL's, GLX's, WGL's) names the extension as a
// whole word.
bool listsExtension(const char* list, const char* name);

// Whether the current context's own list names it (a context older than 3.0 lists its extensions
// in one text).
bool contextOffersExtension(const char* name);

} // namespace gfx
